#include "platform/parallel/ParallelPort.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace corvane::cw {

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
    release();
}

void PpdevOutput::release() {
    if (m_fd >= 0) {
        ::ioctl(m_fd, PPRELEASE);
        ::close(m_fd);
        m_fd = -1;
    }
}

bool PpdevOutput::write(int address, std::uint8_t value) {
    std::lock_guard lock(m_mutex);
    const std::string device = m_override.empty() ? parportDeviceFor(address - 2, m_procRoot) : m_override;
    if (device.empty()) {
        m_error = "No parallel port at this address.";
        return false;
    }
    if (device != m_device || m_fd < 0) {
        release();
        m_device = device;
        m_fd = ::open(device.c_str(), O_RDWR | O_CLOEXEC);
        if (m_fd < 0) {
            m_error = device + ": " + std::strerror(errno);
            return false;
        }
        if (::ioctl(m_fd, PPCLAIM) != 0) {
            m_error = device + ": " + std::strerror(errno);
            release();
            return false;
        }
    }
    unsigned char byte = value;
    if (::ioctl(m_fd, PPWCONTROL, &byte) != 0) {
        m_error = device + ": " + std::strerror(errno);
        release();
        return false;
    }
    return true;
}

std::string PpdevOutput::deviceInUse() const {
    std::lock_guard lock(m_mutex);
    return m_device;
}

void PpdevOutput::setDeviceOverride(std::string device) {
    std::lock_guard lock(m_mutex);
    m_override = std::move(device);
}

std::string PpdevOutput::lastError() const {
    std::lock_guard lock(m_mutex);
    return m_error;
}

} // namespace corvane::cw
