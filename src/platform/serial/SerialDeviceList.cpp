#include "platform/serial/SerialDeviceList.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace corvane {

std::vector<SerialDeviceInfo> presentSerialDevices(const std::string& stableFolder) {
    const auto stable = stableNamesIn(stableFolder);
    std::vector<SerialDeviceInfo> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDeviceInfo d;
        d.path = info.systemLocation().toStdString();
        if (const auto it = stable.find(d.path); it != stable.end()) {
            d.stableName = it->second;
        }
        d.description = info.description().toStdString();
        d.manufacturer = info.manufacturer().toStdString();
        d.serialNumber = info.serialNumber().toStdString();
        devices.push_back(std::move(d));
    }
    std::sort(devices.begin(), devices.end(),
              [](const SerialDeviceInfo& a, const SerialDeviceInfo& b) { return a.path < b.path; });
    return devices;
}

} // namespace corvane
