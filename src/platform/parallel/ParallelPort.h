#pragma once
// Byte writes to the parallel printer port. The keyer writes the control register at base
// address + 2, as the I/O-port write of the original hardware does; on Linux the register
// is reached through the ppdev device (/dev/parportN) of the port at that base address.
//
// The device is found and claimed once, by open() on the window thread; write() on the keyer
// thread only writes the register: no directory scan, no open, while a character is keyed.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::cw {

class ParallelOutput {
public:
    virtual ~ParallelOutput() = default;
    // Finds and claims the device of the I/O address (base + 2 for the control register);
    // false when there is none or it cannot be claimed. Opening the address already open does
    // nothing.
    virtual bool open(int address) = 0;
    virtual void close() = 0;
    virtual bool isOpenFor(int address) const = 0;
    // Writes value to the I/O address; false when that address is not open or the write failed.
    virtual bool write(int address, std::uint8_t value) = 0;
    // Why the last open or write failed, naming the device; "" when nothing failed.
    virtual std::string lastError() const { return {}; }
};

// The parallel port base address of the address field: decimal, or hexadecimal after "&H".
// Its control register (base + 2) travels as a signed 16-bit number, so the base is at most
// 32765; nullopt for anything else.
std::optional<int> parseParallelAddress(std::string_view field);

// The ppdev device of a base address: the parport listed with that base under
// procRoot (/proc/sys/dev/parport/parportN/base-addr), else the usual numbering
// (0x378 parport0, 0x278 parport1, 0x3BC parport2); "" when there is none.
std::string parportDeviceFor(int baseAddress, const std::string& procRoot = "/proc/sys/dev/parport");

// Writes through ppdev, holding the device claimed from open() to close().
class PpdevOutput : public ParallelOutput {
public:
    explicit PpdevOutput(std::string procRoot = "/proc/sys/dev/parport") : m_procRoot(std::move(procRoot)) {}
    ~PpdevOutput() override;

    bool open(int address) override;
    void close() override;
    bool isOpenFor(int address) const override;
    bool write(int address, std::uint8_t value) override;
    // The device of the last open (or "" before the first), for the setup window.
    std::string deviceInUse() const;
    // A device chosen by the operator instead of the mapping ("" to map again); a device open
    // under the old choice is let go, the next open uses the new one.
    void setDeviceOverride(std::string device);
    std::string lastError() const override;

protected:
    // The system calls, one each, so that a test can stand in for a parallel port.
    virtual std::string resolveDevice(int baseAddress);    // parportDeviceFor under the proc root
    virtual int openDevice(const std::string& device);     // a descriptor, or -1 with errno set
    virtual bool claimDevice(int fd);                      // PPCLAIM
    virtual bool writeControl(int fd, std::uint8_t value); // PPWCONTROL
    virtual void releaseDevice(int fd);                    // PPRELEASE and close

private:
    void release(); // with m_mutex held

    std::string m_procRoot;
    mutable std::mutex m_mutex;
    std::string m_override;
    std::string m_device;
    std::string m_error;
    int m_fd = -1;
    int m_address = -1;
};

} // namespace corvane::cw
