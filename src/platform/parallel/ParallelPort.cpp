#include "platform/parallel/ParallelPort.h"

#include "core/NumberText.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace corvane::cw {

std::optional<int> parseParallelAddress(std::string_view field) {
    while (!field.empty() && field.front() == ' ') {
        field.remove_prefix(1);
    }
    while (!field.empty() && field.back() == ' ') {
        field.remove_suffix(1);
    }
    long long value = 0;
    if (field.size() > 2 && field[0] == '&' && (field[1] == 'H' || field[1] == 'h')) {
        for (const char c : field.substr(2)) {
            int digit = 0;
            if (c >= '0' && c <= '9') {
                digit = c - '0';
            } else if (c >= 'A' && c <= 'F') {
                digit = c - 'A' + 10;
            } else if (c >= 'a' && c <= 'f') {
                digit = c - 'a' + 10;
            } else {
                return std::nullopt;
            }
            value = value * 16 + digit;
            if (value > 0xFFFF) {
                return std::nullopt;
            }
        }
    } else {
        const auto number = parseNumber(field);
        // The range first: a number too big for a whole type cannot be converted to one.
        if (!number || *number < 0.0 || *number > 0xFFFF || *number != std::floor(*number)) {
            return std::nullopt;
        }
        value = static_cast<long long>(*number);
    }
    if (value < 0 || value > 32765) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::string parportDeviceFor(int baseAddress, const std::string& procRoot) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(procRoot, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("parport", 0) != 0) {
            continue;
        }
        std::ifstream in(entry.path() / "base-addr");
        long base = -1;
        if (in >> base && base == baseAddress) {
            return "/dev/" + name;
        }
    }
    switch (baseAddress) {
    case 0x378:
        return "/dev/parport0";
    case 0x278:
        return "/dev/parport1";
    case 0x3BC:
        return "/dev/parport2";
    default:
        return {};
    }
}

PpdevOutput::~PpdevOutput() {
    std::lock_guard lock(m_mutex);
    release();
}

void PpdevOutput::release() {
    if (m_fd >= 0) {
        releaseDevice(m_fd);
        m_fd = -1;
    }
    m_address = -1;
}

bool PpdevOutput::open(int address) {
    std::lock_guard lock(m_mutex);
    if (m_fd >= 0 && address == m_address) {
        return true;
    }
    release();
    const std::string device = m_override.empty() ? resolveDevice(address - 2) : m_override;
    m_device = device;
    if (device.empty()) {
        m_error = "No parallel port at this address.";
        return false;
    }
    const int fd = openDevice(device);
    if (fd < 0) {
        m_error = device + ": " + std::strerror(errno);
        return false;
    }
    if (!claimDevice(fd)) {
        m_error = device + ": " + std::strerror(errno);
        releaseDevice(fd);
        return false;
    }
    m_fd = fd;
    m_address = address;
    m_error.clear();
    return true;
}

void PpdevOutput::close() {
    std::lock_guard lock(m_mutex);
    release();
}

bool PpdevOutput::isOpenFor(int address) const {
    std::lock_guard lock(m_mutex);
    return m_fd >= 0 && address == m_address;
}

bool PpdevOutput::write(int address, std::uint8_t value) {
    std::lock_guard lock(m_mutex);
    if (m_fd < 0 || address != m_address) {
        m_error = "The parallel port is not open.";
        return false;
    }
    if (!writeControl(m_fd, value)) {
        m_error = m_device + ": " + std::strerror(errno);
        release(); // the next open finds the device again
        return false;
    }
    return true;
}

std::string PpdevOutput::resolveDevice(int baseAddress) {
    return parportDeviceFor(baseAddress, m_procRoot);
}

int PpdevOutput::openDevice(const std::string& device) {
    return ::open(device.c_str(), O_RDWR | O_CLOEXEC);
}

bool PpdevOutput::claimDevice(int fd) {
    return ::ioctl(fd, PPCLAIM) == 0;
}

bool PpdevOutput::writeControl(int fd, std::uint8_t value) {
    unsigned char byte = value;
    return ::ioctl(fd, PPWCONTROL, &byte) == 0;
}

void PpdevOutput::releaseDevice(int fd) {
    ::ioctl(fd, PPRELEASE);
    ::close(fd);
}

std::string PpdevOutput::deviceInUse() const {
    std::lock_guard lock(m_mutex);
    return m_device;
}

void PpdevOutput::setDeviceOverride(std::string device) {
    std::lock_guard lock(m_mutex);
    if (device != m_override) {
        release();
    }
    m_override = std::move(device);
}

std::string PpdevOutput::lastError() const {
    std::lock_guard lock(m_mutex);
    return m_error;
}

} // namespace corvane::cw
