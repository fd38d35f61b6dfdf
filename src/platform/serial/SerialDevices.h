#pragma once
// Serial devices by name. Linux names its serial devices (/dev/ttyUSB0, /dev/ttyACM0 ...)
// and gives the USB ones a stable name under /dev/serial/by-id that survives a replug, when
// the bare name may move from ttyUSB0 to ttyUSB1. The program's port numbers 1 to 10 are
// mapped to devices in the settings store (SerialPortDevice<n>, see SerialSettings.h); a
// device chosen from the list is stored by its stable name when it has one.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class SettingsStore;

inline constexpr int kSerialPortCount = 10;
inline constexpr std::string_view kStableSerialFolder = "/dev/serial/by-id";

struct SerialDeviceInfo {
    std::string path;       // "/dev/ttyUSB0"
    std::string stableName; // "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0", or ""
    std::string description;
    std::string manufacturer;
    std::string serialNumber;
};

// The links of a by-id folder by the device each points to ("/dev/ttyUSB0" -> its link).
// Nothing when the folder is missing (no USB serial device is plugged in).
std::map<std::string, std::string> stableNamesIn(const std::string& folder);

// What the settings store keeps for a chosen device: its stable name, else its path.
std::string storedNameOf(const SerialDeviceInfo& device);
// The listed device a stored name stands for (its path, its stable name or a link to it).
const SerialDeviceInfo* deviceNamed(const std::vector<SerialDeviceInfo>& devices, std::string_view stored);

// One line for a device: "ttyUSB0: FT232R USB UART, FTDI, serial A1B2C3".
std::string describeDevice(const SerialDeviceInfo& device);

// Whether a device path is there now (a link is followed: a stable name of an unplugged
// adapter is gone with it).
bool serialDevicePresent(const std::string& path);

// The device next to a port number as an owner's window shows it.
struct PortDeviceState {
    std::string device; // what port n stands for ("" for port 0 and below)
    bool present = false;
    std::string text; // the device, or the absent message
};
PortDeviceState portDeviceState(int port, const SettingsStore* store,
                                const std::function<bool(const std::string&)>& present = serialDevicePresent);

// "Serial port 3 is set to /dev/serial/by-id/usb-..., which is not plugged in. Plug it in, or choose
// another device for port 3 in Setup > Serial Ports."
std::string absentDeviceMessage(int port, std::string_view device);

} // namespace corvane
