#pragma once
// The serial devices present now, as the system lists them, with their stable names.

#include "platform/serial/SerialDevices.h"

#include <string>
#include <vector>

namespace corvane {

// Sorted by path. `stableFolder`: where the stable names are looked for (/dev/serial/by-id).
std::vector<SerialDeviceInfo> presentSerialDevices(const std::string& stableFolder = std::string(kStableSerialFolder));

} // namespace corvane
