#pragma once
// The WinKeyer link: the twelve keyer operations (open, close, character, clear buffer,
// backspace, status, speed, weight, dit/dah ratio, PTT lead/tail, pin configuration, mode)
// over one serial port, speaking the keyer's host protocol.
//
// Nothing here waits. Opening writes the echo test and host open at once and comes back
// through a callback when the replies came or a wait of about a second ran out:
//
//   closed ──open()──▶ echo ──0x55──▶ version ──byte──▶ open ──close()──▶ closed
//                        │ other byte: -2  │ no byte: -3     │ port error, write failure,
//                        │ no byte: -1     │                 │ no answer to a status request:
//                        ▼                 ▼                 ▼ lost
//                      closed (host close sent, port closed)
//
// While open, the keyer reports every change of its status unasked; the link keeps the last
// one for status(). When the keyer should be talking (sending, XOFF, or characters handed
// over since it last spoke) and has been quiet for a while, the link asks for the status
// and takes no answer within a second as a lost keyer.
//
// The link hears from the port when bytes arrive or the device fails (dataArrived(), which
// a port that cannot report leaves to its owner to call). Every operation on a closed link
// does nothing and returns NotOpen.

#include "core/OneShotTimer.h"
#include "cw/winkey/WinKeyerProtocol.h"
#include "platform/serial/SerialPort.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::cw {

enum class WinKeyerResult : int {
    Success = 0,
    NoEchoResponse = -1,
    EchoMismatch = -2,
    NoOpenResponse = -3,
    ComOpenFailed = -4,
    GetComStateFailed = -5,
    SetComStateFailed = -6,
    AlreadyOpen = -8,
    NotOpen = -9,
    NotACharacter = -10, // a byte the keyer would take as a command: not sent
};

inline constexpr int resultCode(WinKeyerResult result) {
    return static_cast<int>(result);
}

// "WK Success!", "No Echo Response", ... for the results the operator is shown; nothing
// for any other number.
std::optional<std::string_view> winKeyerResultText(int result);

inline constexpr std::string_view kWinKeyerLineSettings = "1200,N,8,2";
inline constexpr int kReplyTimeoutMs = 1000; // for each of the echo and the version byte
inline constexpr int kQuietKeyerMs = 2000;   // silence before the link asks for the status
inline constexpr int kStatusReplyTimeoutMs = 1000;

class WinKeyer {
public:
    using OpenDone = std::function<void(int result, std::uint8_t version)>;
    // Asked before the port opens, with the device it stands for: true to go on; false with
    // the reason in *refusal when the device may not be taken.
    using PortGate = std::function<bool(const std::string& device, std::string* refusal)>;

    WinKeyer(SerialPort& port, OneShotTimer& timer);
    ~WinKeyer();
    WinKeyer(const WinKeyer&) = delete;
    WinKeyer& operator=(const WinKeyer&) = delete;

    void setPortGate(PortGate gate) { m_gate = std::move(gate); }
    // Called after the link closed its port itself (close, a failed open, a lost keyer).
    void setPortReleased(std::function<void()> released) { m_released = std::move(released); }
    // Called when an open keyer is lost; the link is closed by then.
    void setLostHandler(std::function<void(const std::string& reason)> lost) { m_lost = std::move(lost); }
    // Called when the status value changes.
    void setStatusHandler(std::function<void(int status)> changed) { m_statusChanged = std::move(changed); }

    // wk_open: opens serial port `portNumber` and the keyer on it. `done` runs once, later or
    // at once, with the result and the version (0 unless the keyer answered host open).
    // AlreadyOpen at once while open or opening; NotOpen when close() ends an open early.
    void open(int portNumber, OpenDone done);
    // wk_close: host close, then the port is closed.
    int close();
    // wk_char: queues one character in the keyer.
    int sendCharacter(char character);
    // wk_clearbuf, wk_backspace.
    int clearBuffer();
    int backspace();
    // wk_getstatus: 0 idle, above 0 sending, kHoldStatus or more when the keyer wants no
    // more characters yet; NotOpen when closed.
    int status() const;
    // wk_wpm, wk_weight, wk_ditdah_ratio, wk_ptt_leadtail, wk_pincfg, wk_setmode.
    int setSpeed(std::uint8_t wordsPerMinute);
    int setWeight(std::uint8_t weight);
    int setDitDahRatio(std::uint8_t ratio);
    int setPttLeadTail(std::uint8_t leadIn10Ms, std::uint8_t tail10Ms);
    int setPinConfig(std::uint8_t pins);
    int setMode(std::uint8_t mode);

    // The port has bytes, or reported an error.
    void dataArrived();

    bool isOpen() const { return m_state == State::Open; }
    bool isOpening() const { return m_state == State::AwaitingEcho || m_state == State::AwaitingVersion; }
    std::uint8_t version() const { return m_version; }
    KeyerStatus keyerStatus() const { return m_status; }
    // The speed pot's last report, in words per minute above the pot's minimum.
    std::optional<int> speedPot() const { return m_speedPot; }
    // Characters the keyer echoed since the last call (when its mode asks for echoing).
    std::string takeEchoed();
    // Why the last open could not open the port: the port gate's refusal or the port's own
    // error, such as a device that is not plugged in ("" when the port opened).
    const std::string& lastRefusal() const { return m_lastRefusal; }

private:
    enum class State { Closed, AwaitingEcho, AwaitingVersion, Open };

    int sendCommand(std::string_view bytes);
    void handle(const KeyerEvent& event);
    void replyArrived(std::uint8_t byte);
    void replyTimedOut();
    void finishOpen(int result);
    void shutPort(bool sayGoodbye);
    void lose(const std::string& reason);
    void setStatus(KeyerStatus status);
    void watch();
    void quietTooLong();
    void statusRequestUnanswered();

    SerialPort& m_port;
    OneShotTimer& m_timer;
    PortGate m_gate;
    std::function<void()> m_released;
    std::function<void(const std::string&)> m_lost;
    std::function<void(int)> m_statusChanged;

    State m_state = State::Closed;
    OpenDone m_openDone;
    KeyerByteDecoder m_decoder;
    std::uint8_t m_version = 0;
    KeyerStatus m_status;
    std::optional<int> m_speedPot;
    std::string m_echoed;
    std::string m_lastRefusal;
    bool m_unconfirmedCharacters = false; // handed over since the keyer last spoke
    bool m_statusRequested = false;
};

} // namespace corvane::cw
