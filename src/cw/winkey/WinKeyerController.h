#pragma once
// What the WinKeyer window does, without the window: its settings and WK.txt, Open and
// Close with their status texts, sending the settings, the field checks, and the send loop
// that feeds the CW send buffer to the keyer (WKTransmit).
//
// The send loop runs on timers instead of sleeping, so the operator's keys act while it
// runs (Esc and Stop empty the buffer, a function key replaces its text, typing adds to it):
//
//   transmit() ──keyer closed──▶ open ──failed──▶ buffer emptied ─────────┐
//      │                          │ opened                                ▼
//      └──────────────────────────┴──▶ step: buffer empty? ──yes──▶ handed over (callback)
//                                        │ no
//                                        ├─ status 5 or more: again in 10 ms
//                                        └─ hand the first character over, again in 10 ms
//
// Handing over is quick; the keyer sends long after. It reports busy when it starts on the
// characters and idle when its buffer has run empty, so "keyer idle" (the end of the
// sending on the air) is the first idle report after a busy one that came after the last
// character was handed over, or the hand-over itself when the keyer had nothing to send.

#include "core/OneShotTimer.h"
#include "cw/CwHost.h"
#include "cw/winkey/WinKeyer.h"
#include "cw/winkey/WinKeyerSettings.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::cw {

inline constexpr std::string_view kWinKeyerTitle = " WinKey Setup";
inline constexpr std::string_view kStatusClosed = "Closed";
inline constexpr std::string_view kVersionUnknown = "Version #";
inline constexpr std::string_view kVersionPrefix = "Version # ";
inline constexpr std::string_view kNoConnectionTitle = "Unable to establish connection with Winkey.";
inline constexpr std::string_view kNoConnectionText = "Unable to establish connection with WinKey on com port ";
inline constexpr std::string_view kNoConnectionAdvice =
    ".  Please check to make sure that you have specified the correct port and that the Winkey device is properly "
    "connected.";
inline constexpr std::string_view kErrorTitle = "Error!";
inline constexpr std::string_view kTestText = "VVV TEST DE ";
inline constexpr std::string_view kConnectionLostStatus = "WK Connection Lost";
inline constexpr std::string_view kConnectionLostMessage = "WinKey connection lost; the CW text was dropped. ";
inline constexpr int kSendStepMs = 10;

// The text of the message box shown when no keyer answered on `port`.
std::string noConnectionText(int port);
// "ABCDEFGHIJKLMNOPQRSTUVWXYZ " three times over.
std::string bufferTestText();

// What the window shows; the controller keeps it up to date.
class WinKeyerView {
public:
    virtual ~WinKeyerView() = default;
    virtual void showStatus(const std::string& text) = 0;  // "WinKey Status:"
    virtual void showVersion(const std::string& text) = 0; // "WinKey Version:"
    virtual void showFields() = 0;                         // a check changed a field
    virtual bool isShown() const = 0;
    virtual void focusDone() = 0;
};

// What the controller needs from around it.
class WinKeyerHost {
public:
    virtual ~WinKeyerHost() = default;
    // A failure for a message box. Called from the link's callbacks with the controller's state
    // already settled; the host shows the box after the call has returned (never inside it,
    // where the link's timers and bytes would run under the box).
    virtual void reportFailure(const std::string& title, const std::string& text) = 0;
    // The main window's message area (a lost keyer is reported there as well).
    virtual void showMessage(const std::string& text) = 0;
};

class WinKeyerController final : public WinKeyerLink {
public:
    // `cwBuffer`: the CW send buffer (CWBuffer) that the send loop empties.
    WinKeyerController(WinKeyer& keyer, OneShotTimer& sendTimer, std::string& cwBuffer, WinKeyerHost& host);
    ~WinKeyerController() override;
    WinKeyerController(const WinKeyerController&) = delete;
    WinKeyerController& operator=(const WinKeyerController&) = delete;

    void setView(WinKeyerView* view) { m_view = view; }
    // Runs every time the send loop has handed the whole buffer over (or emptied it).
    void setHandedOver(std::function<void()> handedOver) { m_handedOver = std::move(handedOver); }
    // Runs when the keyer has sent everything handed to it and the send loop has nothing
    // more to hand over.
    void setKeyerIdle(std::function<void()> keyerIdle) { m_keyerIdle = std::move(keyerIdle); }
    // Characters handed over that the keyer has not reported done yet.
    bool keyerHasCharacters() const { return m_charactersOnKeyer; }

    // Loading the window: the defaults, then WK.txt when there is one (`fileBytes`), then
    // the CW speed in the speed field and the port in the port field.
    void load(const std::optional<std::string>& fileBytes, const std::string& cwSpeedWpm);
    // WK.txt as "&Done" writes it.
    std::string fileBytes() const { return formatWinKeyerSettings(m_settings); }
    const WinKeyerSettings& settings() const { return m_settings; }
    const std::string& comPortField() const { return m_comPortField; }
    const std::string& statusText() const { return m_statusText; }
    const std::string& versionText() const { return m_versionText; }

    // Open and Close, as their buttons do. `then` runs when the open is over (also when an
    // open already under way ends). An unexpected failure shows its description in a box
    // titled "Error!".
    void openKeyer(std::function<void()> then = {});
    void closeKeyer();
    // The keyer was closed from outside (its device was taken by another owner).
    void displaced() { closeKeyer(); }
    // WKOpen: the keyer's version while it is open, else 0.
    std::uint8_t openVersion() const { return m_openVersion; }
    bool isOpen() const override { return m_openVersion != 0; }

    // Leaving a field (each checks and sends; see WinKeyerSettings.h).
    void speedLeft(const std::string& text);
    void weightLeft(const std::string& text);
    void ratioLeft(const std::string& text);
    void leadInLeft(const std::string& text);
    void tailLeft(const std::string& text);
    void comPortLeft(const std::string& text);
    void choosePinConfig(std::uint8_t pins);
    void chooseKeyerMode(std::uint8_t mode);
    void sendSettings();
    // The CW speed changed (the setup window's field or the arrows): the speed field takes
    // it, and the open keyer as well while "WinKey" keys (`keying`).
    void speedChanged(const std::string& speedWpm, bool keying) override;

    // WKTransmit: starts feeding the buffer to the keyer; nothing when it is already running
    // (the running loop takes whatever the buffer holds).
    void transmit() override;
    bool transmitting() const { return m_transmitting; }
    // Esc and the calling loop: the keyer's buffer is cleared (the CW buffer is the caller's).
    void clearBuffer() override;
    void backspace() override;
    int status() override;

    // The window's buttons and typing field.
    void test(const std::string& ownCall);
    void bufferTest();
    void stop();
    void typed(char character);

private:
    void opened(int result, std::uint8_t version);
    void runAfterOpen(const std::function<void()>& then);
    void step();
    void byteFieldLeft(std::string& field, const FieldCheck& check, int (WinKeyer::*send)(std::uint8_t));
    void leadTailLeft(const LeadTailCheck& check);
    void showFields();
    void finishTransmit();
    void keyerStatusChanged(int status);
    void handedToKeyer();
    void lost(const std::string& reason);
    void setStatusText(std::string_view text);
    void setVersionText(std::string_view text);
    void appendAndTransmit(std::string_view text);

    WinKeyer& m_keyer;
    OneShotTimer& m_timer;
    std::string& m_buffer;
    WinKeyerHost& m_host;
    WinKeyerView* m_view = nullptr;
    std::function<void()> m_handedOver;
    std::function<void()> m_keyerIdle;

    WinKeyerSettings m_settings;
    std::string m_comPortField = "0";
    std::string m_statusText{kStatusClosed};
    std::string m_versionText{kVersionUnknown};
    std::uint8_t m_openVersion = 0;
    bool m_transmitting = false;
    bool m_charactersOnKeyer = false;               // handed over, not yet reported done
    bool m_awaitingBusy = false;                    // handed over while the keyer was idle: its busy report is due
    std::vector<std::function<void()>> m_afterOpen; // waiting for an open under way
};

} // namespace corvane::cw
