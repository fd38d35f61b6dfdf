// RigCntrl.txt: whatever is read is written back as bytes that read as the same settings.
#include "rig/HexText.h"
#include "rig/RigSettings.h"
#include "support/FuzzCheck.h"

#include <cstdint>

using namespace corvane;
using namespace corvane::rig;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto read = parseRigSettings(fuzz::textOf(data, size));
    FUZZ_CHECK(read.itemsRead >= 0 && read.itemsRead <= kRigSettingsItems);
    const RigLinkSettings& s = read.settings;
    FUZZ_CHECK(s.port >= 1 && s.port <= 10);
    FUZZ_CHECK(s.rigctldPort >= 1 && s.rigctldPort <= 65535);
    const auto again = parseRigSettings(formatRigSettings(s));
    FUZZ_CHECK(again.itemsRead == kRigSettingsItems);
    if (s.frequencyCommand.find('"') == std::string::npos && s.modeCommand.find('"') == std::string::npos &&
        s.model.find('"') == std::string::npos && s.rigctldHost.find('"') == std::string::npos &&
        s.frequencyCommand.find_first_of("\r\n") == std::string::npos &&
        s.modeCommand.find_first_of("\r\n") == std::string::npos) {
        FUZZ_CHECK(again.settings == s);
    }
    (void)hexTextToBytes(s.frequencyCommand);
    (void)hexDump(s.modeCommand);
    (void)pollIntervalMs(s.pollRate);
    return 0;
}
