#pragma once
// wave2.txt: the voice keyer's recordings and push-to-talk settings, thirteen items.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

enum class PttLine { Rts = 0, Dtr = 1, Parallel = 2 };

struct VoiceSettings {
    std::array<std::string, 9> recordingPaths; // F1 to F9
    std::string pttPort = "0";
    std::optional<PttLine> pttLine; // nothing stored: the window keeps "RTS"
    std::string loopSeconds = "0";
    std::string parallelAddress = "&H378";

    // The repeat pause in whole milliseconds (halves to even); 0 when the text is no number.
    long long repeatIntervalMs() const;
};

// Reads all thirteen items; any missing or malformed item fails the whole read, and
// *faultLine then tells the line it was found on.
std::optional<VoiceSettings> parseVoiceSettings(std::string_view bytes, int* faultLine = nullptr);
std::string formatVoiceSettings(const VoiceSettings& settings);

} // namespace corvane
