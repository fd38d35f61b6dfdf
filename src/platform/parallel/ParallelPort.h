#pragma once
// Byte writes to the parallel printer port. The keyer writes the control register at base
// address + 2, as the I/O-port write of the original hardware does; on Linux the register
// is reached through the ppdev device (/dev/parportN) of the port at that base address.

#include <cstdint>
#include <mutex>
#include <string>

namespace corvane::cw {

class ParallelOutput {
public:
    virtual ~ParallelOutput() = default;
    // Writes value to the I/O address (base + 2 for the control register); false on failure.
    virtual bool write(int address, std::uint8_t value) = 0;
};

// The ppdev device of a base address: the parport listed with that base under
// procRoot (/proc/sys/dev/parport/parportN/base-addr), else the usual numbering
// (0x378 parport0, 0x278 parport1, 0x3BC parport2); "" when there is none.
std::string parportDeviceFor(int baseAddress, const std::string& procRoot = "/proc/sys/dev/parport");

// Writes through ppdev: claims the device on first use and keeps it until the address changes.
class PpdevOutput final : public ParallelOutput {
public:
    explicit PpdevOutput(std::string procRoot = "/proc/sys/dev/parport") : m_procRoot(std::move(procRoot)) {}
    ~PpdevOutput() override;

    bool write(int address, std::uint8_t value) override;
    // The device used for the last write (or "" before the first), for the setup window.
    std::string deviceInUse() const;
    // A device chosen by the operator instead of the mapping ("" to map again).
    void setDeviceOverride(std::string device);
    std::string lastError() const;

private:
    void release();

    std::string m_procRoot;
    mutable std::mutex m_mutex;
    std::string m_override;
    std::string m_device;
    std::string m_error;
    int m_fd = -1;
};

} // namespace corvane::cw
