#include "platform/serial/SerialDevices.h"

#include "platform/serial/SerialSettings.h"

#include <filesystem>
#include <system_error>

namespace corvane {

namespace fs = std::filesystem;

std::map<std::string, std::string> stableNamesIn(const std::string& folder) {
    std::map<std::string, std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code linkError;
        if (!it->is_symlink(linkError) || linkError) {
            continue;
        }
        const fs::path target = fs::canonical(it->path(), linkError);
        if (linkError) {
            continue; // a link to a device that is gone
        }
        const std::string link = it->path().string();
        auto [slot, added] = names.emplace(target.string(), link);
        if (!added && link < slot->second) {
            slot->second = link; // several links: always the same one
        }
    }
    return names;
}

std::string storedNameOf(const SerialDeviceInfo& device) {
    return device.stableName.empty() ? device.path : device.stableName;
}

const SerialDeviceInfo* deviceNamed(const std::vector<SerialDeviceInfo>& devices, std::string_view stored) {
    if (stored.empty()) {
        return nullptr;
    }
    for (const SerialDeviceInfo& d : devices) {
        if (d.path == stored || (!d.stableName.empty() && d.stableName == stored)) {
            return &d;
        }
    }
    std::error_code ec;
    const fs::path target = fs::canonical(fs::path(stored), ec);
    if (ec) {
        return nullptr;
    }
    for (const SerialDeviceInfo& d : devices) {
        if (d.path == target.string()) {
            return &d;
        }
    }
    return nullptr;
}

std::string describeDevice(const SerialDeviceInfo& device) {
    std::string text = fs::path(device.path).filename().string();
    std::string details;
    for (const std::string* part : {&device.description, &device.manufacturer}) {
        if (!part->empty()) {
            details += (details.empty() ? "" : ", ") + *part;
        }
    }
    if (!device.serialNumber.empty()) {
        details += (details.empty() ? "serial " : ", serial ") + device.serialNumber;
    }
    return details.empty() ? text : text + ": " + details;
}

bool serialDevicePresent(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(fs::path(path), ec) && !ec;
}

PortDeviceState portDeviceState(int port, const SettingsStore* store,
                                const std::function<bool(const std::string&)>& present) {
    PortDeviceState state;
    state.device = serialDevicePath(port, store);
    if (state.device.empty()) {
        return state;
    }
    state.present = present ? present(state.device) : serialDevicePresent(state.device);
    state.text = state.present ? state.device : state.device + " (not plugged in)";
    return state;
}

std::string absentDeviceMessage(int port, std::string_view device) {
    const std::string n = std::to_string(port);
    return "Serial port " + n + " is set to " + std::string(device) +
           ", which is not plugged in. Plug it in, or choose another device for port " + n +
           " in Setup > Serial Ports.";
}

} // namespace corvane
