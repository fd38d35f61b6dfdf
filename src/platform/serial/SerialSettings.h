#pragma once
// The settings string of a serial port ("9600,N,8,1") and the device path of a port number.

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

class SettingsStore;

struct SerialLineSettings {
    int baud = 9600;
    char parity = 'N'; // N, O, E, M or S
    int dataBits = 8;
    int stopBitsTimesTwo = 2; // 2 = one stop bit, 3 = one and a half, 4 = two

    bool operator==(const SerialLineSettings&) const = default;
};

// Reads "9600,N,8,1"; blanks around the parts are allowed, the parity letter in any case.
std::optional<SerialLineSettings> parseSerialSettings(std::string_view text);
std::string formatSerialSettings(const SerialLineSettings& settings);

// Port n is /dev/ttyUSB(n-1) unless the settings store key SerialPortDevice<n> names another
// device; nothing for a port number below 1.
std::string defaultSerialDevice(int port);
std::string serialDeviceKey(int port); // "SerialPortDevice<n>"
std::string serialDevicePath(int port, const SettingsStore* store);

} // namespace corvane
