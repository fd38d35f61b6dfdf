#include "platform/serial/QtSerialPort.h"

#include "platform/serial/SerialDevices.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>
#include <termios.h>

namespace corvane {

namespace {
class SystemTtyLines final : public TtyLines {
public:
    bool clear(int fd, int lines) override { return ::ioctl(fd, TIOCMBIC, &lines) == 0; }
    bool raise(int fd, int lines) override { return ::ioctl(fd, TIOCMBIS, &lines) == 0; }
    bool hangUpOnClose(int fd) override {
        termios tio{};
        if (::tcgetattr(fd, &tio) != 0) {
            return false;
        }
        if ((tio.c_cflag & HUPCL) != 0) {
            return true;
        }
        tio.c_cflag |= HUPCL;
        return ::tcsetattr(fd, TCSANOW, &tio) == 0;
    }
};
constexpr int kCloseDrainMs = 50;
} // namespace

TtyLines& systemTtyLines() {
    static SystemTtyLines lines;
    return lines;
}

QtSerialPort::QtSerialPort(std::function<std::string(int)> deviceFor, TtyLines& lines)
    : m_deviceFor(std::move(deviceFor)), m_lines(lines) {
    QObject::connect(&m_port, &QSerialPort::readyRead, &m_port, [this] {
        if (m_arrived) {
            m_arrived();
        }
    });
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                     [this](QSerialPort::SerialPortError error) { failed(error); });
}

void QtSerialPort::failed(QSerialPort::SerialPortError error) {
    if (!m_open ||
        (error != QSerialPort::ReadError && error != QSerialPort::WriteError && error != QSerialPort::ResourceError)) {
        return;
    }
    m_failure = devicePath() + ": " + m_port.errorString().toStdString();
    m_open = false;
    m_fd = -1;
    m_port.close();
    if (m_arrived) {
        m_arrived();
    }
}

QtSerialPort::~QtSerialPort() {
    close();
}

bool QtSerialPort::setSettings(std::string_view settings) {
    const auto parsed = parseSerialSettings(settings);
    if (!parsed) {
        return false;
    }
    m_settings = *parsed;
    return true;
}

bool QtSerialPort::setLine(int bit, bool on) {
    const int fd = m_fd.load();
    if (fd < 0) {
        return true; // remembered for the next open
    }
    // Straight to the device: thread-safe, and it sends no Qt signal from the keyer thread.
    errno = 0;
    if (on ? m_lines.raise(fd, bit) : m_lines.clear(fd, bit)) {
        return true;
    }
    const int why = errno;
    std::lock_guard lock(m_lineErrorMutex);
    m_lineError = why != 0 ? std::strerror(why) : "the device refused the change";
    return false;
}

std::string QtSerialPort::lineError() const {
    std::lock_guard lock(m_lineErrorMutex);
    return m_lineError;
}

bool QtSerialPort::setDtr(bool on) {
    m_dtr = on;
    return setLine(TIOCM_DTR, on);
}

bool QtSerialPort::setRts(bool on) {
    m_rts = on;
    return setLine(TIOCM_RTS, on);
}

bool QtSerialPort::open(std::string* error) {
    close();
    const std::string device = devicePath();
    const auto fail = [&](const std::string& why) {
        if (error != nullptr) {
            *error = why;
        }
        return false;
    };
    if (device.empty()) {
        return fail("There is no serial port " + std::to_string(m_portNumber) + ".");
    }
    if (!serialDevicePresent(device)) {
        // Named as the operator mapped it: an unplugged adapter's stable name is gone with it.
        return fail(absentDeviceMessage(m_portNumber, device));
    }
    // The line settings go to QSerialPort before the open, which applies them itself: after it
    // returns, the first call on the device is the clearing of the lines.
    static constexpr QSerialPort::Parity parities[] = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                       QSerialPort::EvenParity, QSerialPort::MarkParity,
                                                       QSerialPort::SpaceParity};
    const auto parityIndex = std::string_view("NOEMS").find(m_settings.parity);
    const QSerialPort::StopBits stop = m_settings.stopBitsTimesTwo == 3   ? QSerialPort::OneAndHalfStop
                                       : m_settings.stopBitsTimesTwo == 4 ? QSerialPort::TwoStop
                                                                          : QSerialPort::OneStop;
    QSerialPort::FlowControl flow = QSerialPort::NoFlowControl;
    if (m_handshaking == Handshaking::XonXoff) {
        flow = QSerialPort::SoftwareControl;
    } else if (m_handshaking == Handshaking::RtsCts || m_handshaking == Handshaking::RtsCtsXonXoff) {
        flow = QSerialPort::HardwareControl; // the driver offers one or the other; RTS/CTS wins
    }
    m_port.setPortName(QFileInfo(QString::fromStdString(device)).absoluteFilePath());
    const bool configured = m_port.setBaudRate(m_settings.baud) &&
                            m_port.setDataBits(static_cast<QSerialPort::DataBits>(m_settings.dataBits)) &&
                            m_port.setParity(parities[parityIndex == std::string_view::npos ? 0 : parityIndex]) &&
                            m_port.setStopBits(stop) && m_port.setFlowControl(flow);
    if (!configured || !m_port.open(QIODevice::ReadWrite)) {
        const std::string why = device + ": " + m_port.errorString().toStdString();
        if (m_port.isOpen()) {
            m_port.close();
        }
        return fail(why);
    }
    const int fd = static_cast<int>(m_port.handle());
    // With RTS/CTS handshaking the driver owns RTS. A device without modem lines (a
    // pseudo-terminal) refuses these calls; the port is open all the same.
    const int ownLines = TIOCM_DTR | (flow == QSerialPort::HardwareControl ? 0 : TIOCM_RTS);
    const int off = ownLines & ((m_dtr ? 0 : TIOCM_DTR) | (m_rts ? 0 : TIOCM_RTS));
    const int on = ownLines & ~off;
    if (off != 0) {
        m_lines.clear(fd, off);
    }
    m_lines.hangUpOnClose(fd);
    m_fd = fd;
    m_open = true;
    m_failure.clear();
    if (on != 0) {
        m_lines.raise(fd, on); // the lines asked for before the open
    }
    return true;
}

void QtSerialPort::close() {
    if (m_open && m_port.bytesToWrite() > 0) {
        // Hands what is queued (a last command to the device) to the driver before closing;
        // the driver takes it at once unless the device is stuck.
        m_port.waitForBytesWritten(kCloseDrainMs);
    }
    m_open = false;
    const int fd = m_fd.exchange(-1);
    if (m_port.isOpen()) {
        if (fd >= 0) {
            // Both lines down before the descriptor goes, whatever HUPCL the port had before.
            m_lines.clear(fd, TIOCM_DTR | TIOCM_RTS);
        }
        m_port.close();
    }
}

bool QtSerialPort::write(std::string_view bytes) {
    if (!m_open) {
        return false;
    }
    const qint64 written = m_port.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return written == static_cast<qint64>(bytes.size());
}

std::string QtSerialPort::readAll() {
    if (!m_open) {
        return {};
    }
    if (m_port.bytesAvailable() == 0) {
        m_port.waitForReadyRead(0); // picks up what the driver holds even without an event loop
        m_port.clearError();        // nothing waiting is not a fault
    }
    const QByteArray data = m_port.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

std::int64_t QtSerialPort::outputPending() const {
    return m_open ? m_port.bytesToWrite() : 0;
}

bool QtSerialPort::flush(int timeoutMs) {
    if (!m_open) {
        return false;
    }
    while (m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(timeoutMs)) {
            return false;
        }
    }
    return true;
}

} // namespace corvane
