#pragma once
// What the CW send controller needs from the main window and the other parts around it.

#include "core/EntryHost.h"
#include "cw/Keyer.h"

#include <cstdint>
#include <string>

namespace corvane::cw {

using corvane::Rgb;

inline constexpr Rgb kKeyboardModeBackground{255, 255, 192}; // light yellow
inline constexpr Rgb kMessageAreaBackground{0, 192, 192};    // the usual teal

// Implemented by the main window.
class CwHost {
public:
    virtual ~CwHost() = default;
    // The text of the call field (txtCall) as of its last change.
    virtual std::string callText() const = 0;
    // Logs the contact of the entry fields (Mains).
    virtual void logContact() = 0;
    // Clears the entry fields (cmdClear).
    virtual void clearEntry() = 0;
    // The message area (lblDialog): its text and its background.
    virtual void showMessage(const std::string& text) = 0;
    // The same, for news the operator must act on: a screen reader also speaks it at once.
    virtual void showNews(const std::string& text) { showMessage(text); }
    virtual void setMessageBackground(Rgb colour) = 0;
    // The voice keyer's repeat loop: stopped by any key on the main window.
    virtual void stopVoiceRepeat() {}
    // The station's own call (the WinKeyer's "Test" sends it).
    virtual std::string ownCall() const { return {}; }
};

// The one-shot repeat timer of the F1 calling loop (tmrRepeat).
class RepeatTimer {
public:
    virtual ~RepeatTimer() = default;
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
};

// The external WinKeyer, which times its own elements. Its send loop (WKTransmit) takes the
// characters one at a time from the front of the controller's send buffer (sendBuffer()),
// so that Esc, a new message or typing act on what has not been handed over yet; when the
// buffer is empty the owner calls CwSendController::winKeyerHandedOver().
class WinKeyerLink {
public:
    virtual ~WinKeyerLink() = default;
    virtual bool isOpen() const = 0;
    // Starts the send loop (opening the keyer first when it is closed); nothing when it runs.
    virtual void transmit() = 0;
    virtual void clearBuffer() = 0; // the keyer's own buffer
    virtual void backspace() = 0;   // drops the keyer's last character not yet sent
    virtual int status() = 0;       // above 0 while it is sending
    // The CW speed field changed (the setup window or the arrows); `keying`: "WinKey" is the
    // keying option, so the keyer takes the new speed at once when it is open.
    virtual void speedChanged(const std::string& speedWpm, bool keying) = 0;
};

// Where the controller sends its characters one at a time; the owner reports the end of
// each with CwSendController::characterDone.
class CharacterKeyer {
public:
    virtual ~CharacterKeyer() = default;
    // The timing to use from the next unit on (also while a character is on the air).
    virtual void setTiming(const KeyTiming& timing) = 0;
    virtual void transmit(char character) = 0;
    // After a character ended with LineFailed: which line of which device failed and why.
    virtual std::string lineFailure() const { return {}; }
};

} // namespace corvane::cw
