#pragma once
// The voice keyer: plays the recording of a function key while push-to-talk is keyed, on the
// RTS or DTR line of its own serial port and/or the parallel port's control register, and
// releases push-to-talk when the recording has ended. F1 can repeat after a pause.
//
//   playMessage(F1..F9)
//     close the player (a recording still playing is cut off, PTT stays as it is)
//     F1 with a pause > 0: repeat on
//     empty path: stop (nothing keyed)
//     port > 0: open the PTT port when closed; DTR on for "DTR", else RTS on
//     "Parallel": 3 to base + 2
//     a line that cannot be keyed: PTT released, nothing played, repeat off, the owner told
//     open + play; failure: PTT released at once
//     end poll every 40 ms
//   end poll: not playing -> PTT released (line off, 2 to base + 2); repeat on -> repeat timer
//   repeat timer: playMessage(F1)
//
// Every path that ends a playback releases PTT: the end poll, a file that does not open, the
// window closing (stopPlayback) and the program ending (shutdown).

#include "core/OneShotTimer.h"
#include "platform/PortBroker.h"
#include "platform/parallel/ParallelPort.h"
#include "platform/serial/SerialPort.h"
#include "voice/VoiceSettings.h"
#include "voice/WavePlayer.h"

#include <functional>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr int kEndOfPlayPollMs = 40;
inline constexpr std::string_view kPhoneInvalidPortTitle = "Invalid port.";
inline constexpr std::string_view kPhoneInvalidPortText =
    "The port you have selected for Phone keying is invalid.  Please select another or enter 0 for none.";
inline constexpr std::uint8_t kPttParallelOn = 3;
inline constexpr std::uint8_t kPttParallelOff = 2;

enum class PttPortResult { Opened, Closed, Invalid };

struct VoiceKeyerDevices {
    WavePlayer& player;
    SerialPort& serial;
    cw::ParallelOutput& parallel;
    PortBroker& broker;
    OneShotTimer& endPoll;
    OneShotTimer& repeat;
};

class VoiceKeyer {
public:
    // `invalidPort`: the owner's "Invalid port." message (with its beep) after a PTT port
    // failed to open; the reason is passed for the record. `lineFailed`: push-to-talk could not
    // be keyed on the open port or the parallel port ("RTS on /dev/ttyUSB1: Inappropriate ioctl
    // for device"); nothing is played and a calling loop ends.
    VoiceKeyer(const VoiceKeyerDevices& devices, std::function<void(const std::string&)> invalidPort,
               std::function<void(const std::string&)> lineFailed = {});
    ~VoiceKeyer();
    VoiceKeyer(const VoiceKeyer&) = delete;
    VoiceKeyer& operator=(const VoiceKeyer&) = delete;

    // The fields of the window (paths, port, line, pause, address).
    VoiceSettings& settings() { return m_settings; }
    const VoiceSettings& settings() const { return m_settings; }
    // The repeat pause in ms, from the "Loop (Sec)" field.
    void setRepeatIntervalMs(long long ms) { m_repeatMs = ms; }
    long long repeatIntervalMs() const { return m_repeatMs; }

    // Plays the recording of F1 (key 1) to F9 with push-to-talk; other keys do nothing.
    void playMessage(int key);
    // Opens the PTT port from the port field (port 0: nothing to open).
    PttPortResult openPttPort();

    bool repeatOn() const { return m_repeat; }
    // "Stop", or a key on the main window: no further repeat; what plays plays to its end.
    void stopRepeat();
    // The window is closing: the player is closed, PTT released at once and the loop ended.
    void stopPlayback();
    // The program ends: playback stopped, PTT released, repeat off, the port closed.
    void shutdown();

    bool pttKeyed() const { return m_keyed; }
    bool playing() const { return m_polling; }

private:
    // False, with the reason in *failure, when a line asked for could not be keyed.
    bool keyPtt(std::string* failure);
    void releasePtt();
    void poll();
    int parallelAddress() const; // base + 2, or -1 when the address field is not usable
    void closePort();

    VoiceKeyerDevices m_dev;
    std::function<void(const std::string&)> m_invalidPort;
    std::function<void(const std::string&)> m_lineFailed;
    VoiceSettings m_settings;
    long long m_repeatMs = 0;
    bool m_repeat = false;
    bool m_keyed = false;    // PTT is on (serial line and/or parallel)
    int m_keyedAddress = -1; // the parallel address written 3, to write 2 to on release
    bool m_keyedSerial = false;
    bool m_openedParallel = false; // the parallel device was claimed for this PTT
    bool m_keyedDtr = false;
    bool m_polling = false;
    long long m_polledMs = 0;
    long long m_limitMs = 0;
};

} // namespace corvane
