#pragma once
// The CW send state of the main window and the loop that empties the send buffer into the
// keyer, one character at a time.
//
// The loop is driven by events instead of waiting: a message or a typed character starts
// it, every "character done" from the keyer moves it on, and everything the operator does
// in between (Esc, typing, a function key, the arrows) acts on the buffer, so that it takes
// effect after the character on the air.
//
//   idle ──loopThroughBuffer()──▶ sending ──transmit(c)──▶ on the air
//    ▲                             │  ▲                        │
//    │    buffer empty: repeat     │  └──characterDone()───────┘
//    └──── timer, message area ◀───┘      ('!' logs the contact without keying)
//
// The keyer reports a character during its last gap unit, so that the next one starts on
// time; the F1 repeat pause is counted from the end of that unit (lineQuiet()).

#include "core/Listeners.h"
#include "cw/CwHost.h"
#include "cw/CwSettings.h"
#include "cw/Keyer.h"

#include <functional>
#include <string>
#include <vector>

namespace corvane::cw {

// The keys of the main window's key-down handling that concern CW.
enum class CwKey { F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12, Up, Down, Other };

inline constexpr char kEscape = '\x1b';
inline constexpr char kBackspace = '\b';

inline constexpr std::string_view kKeyboardModeOn = "Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode.";
inline constexpr std::string_view kKeyboardModeStillOn = "Keyboard CW Mode is on.  Press F12 to exit.";
inline constexpr std::string_view kNoSpeedMessage = "CW not sent: set a speed above 0 WPM.";
// Followed by the line, the device and the reason.
inline constexpr std::string_view kLineFailedPrefix = "CW not sent: ";

class CwSendController {
public:
    CwSendController(CwHost& host, CharacterKeyer& keyer, RepeatTimer& repeatTimer, WinKeyerLink* winKeyer = nullptr);

    // The WinKeyer (nullptr: "WinKey" sends nothing).
    void setWinKeyer(WinKeyerLink* winKeyer) { m_winKeyer = winKeyer; }
    // The send buffer (CWBuffer), as the WinKeyer's send loop takes its characters from it.
    std::string& sendBuffer() { return m_buffer; }

    // The settings of the CW setup window (cw.txt) and its timing options (settings store).
    const CwSettings& settings() const { return m_settings; }
    CwSettings& settings() { return m_settings; }
    // Replaces every setting, as loading cw.txt does; the repeat interval follows.
    void setSettings(const CwSettings& settings);
    KeyingOption keyingOption() const { return m_settings.keyingOption; }
    void setKeyingOption(KeyingOption option) { m_settings.keyingOption = option; }
    void setTimingOptions(TimingMethod method, double loopOffset);
    TimingMethod timingMethod() const { return m_method; }
    double loopOffset() const { return m_loopOffset; }
    // The "Loop (Sec)" field left: a number from 0 to under 60 sets the interval; anything
    // else sets the field to "0" and the interval to 0 and returns false (the window beeps).
    bool applyRepeatSeconds(const std::string& field);
    int repeatIntervalMs() const { return m_repeatIntervalMs; }
    // The speed plus or minus whole words per minute (an unreadable speed counts as 0); the
    // keyer uses it from its next unit on. Returns the new speed text.
    std::string changeSpeed(int deltaWpm);
    // Tells the keyer about a speed, word space or timing change made in the setup window.
    void timingChanged();
    KeyTiming keyTiming() const;

    // The send state.
    const std::string& buffer() const { return m_buffer; }
    bool sending() const { return m_sending; }
    bool characterOnAir() const { return m_onAir; }
    bool keyboardMode() const { return m_keyboardMode; }
    bool repeating() const { return m_repeat; }

    // Sends the message of F1 .. F11 (FKeyCW); a message sent while another is going out
    // replaces the rest of it after the character on the air.
    void fKey(int key);
    // Starts emptying the buffer (LoopThroughCWBuffer); nothing when it is already running.
    void loopThroughBuffer();
    // The buffer as the code practice window uses it.
    void replaceBuffer(std::string text);
    void appendToBuffer(char character);
    bool removeLastFromBuffer();
    void clearBuffer() { m_buffer.clear(); }
    // Ends the sending after the character on the air: the buffer is emptied, and with the
    // WinKeyer keying, the keyer's own buffer as well (it may hold many characters).
    void stopSending();
    // The last WinKeyer sending ended with its text dropped: no keyer could be opened, or
    // it was lost on the way.
    bool sendingDropped() const { return m_sendingDropped; }

    // Events from the keyer, the WinKeyer and the repeat timer. lineQuiet: the last unit of
    // the last character handed over has ended and nothing else is on the air.
    void characterDone(CharacterOutcome outcome);
    void lineQuiet();
    // The WinKeyer's send loop has handed the whole buffer over (or found it emptied): the
    // idle listeners hear of it, and a calling loop waits for the keyer to go quiet.
    void winKeyerHandedOver();
    // The WinKeyer has sent everything it was handed and reports idle: the pause of a
    // calling loop starts now, as it does when the own keyer's line goes quiet.
    void winKeyerIdle();
    void repeatTimerFired();

    // The main window's key handling; true when the key is consumed.
    bool keyDown(CwKey key);
    bool keyPress(char character);
    // Closing the main window: the buffer is emptied; refused while a character is on the air.
    bool mayClose();

    // Called every time the send loop ends (the "Test" label, code practice), until the
    // subscription returned is released.
    Subscription addIdleListener(std::function<void()> listener);
    std::size_t idleListenerCount() const { return m_idleListeners.size(); }

private:
    void pump();
    void afterCharacter();
    void finishLoop();
    void startRepeatPause();
    void refuseSpeed();
    void stopOnLineFailure();
    void sendToWinKeyer();
    bool winKeyerOpen() const { return m_winKeyer != nullptr && m_winKeyer->isOpen(); }
    void coupleSpeed();

    CwHost& m_host;
    CharacterKeyer& m_keyer;
    RepeatTimer& m_repeatTimer;
    WinKeyerLink* m_winKeyer;

    CwSettings m_settings;
    TimingMethod m_method = TimingMethod::Timer;
    double m_loopOffset = 0.0;
    int m_repeatIntervalMs = 0;

    std::string m_buffer;
    bool m_sending = false;
    bool m_onAir = false;
    bool m_lineBusy = false;             // a character was handed to the keyer and the line is not quiet yet
    bool m_repeatAfterQuiet = false;     // the F1 pause starts when the line is quiet
    bool m_repeatAfterKeyerIdle = false; // ... or when the WinKeyer has sent it all
    bool m_speedRefused = false;         // this sending ended on "no speed" or a failed line: its message stays
    bool m_keyboardMode = false;
    bool m_repeat = false;
    bool m_inPump = false;
    int m_lastWinKeyerStatus = 0;
    bool m_winKeyerLoop = false; // a send loop of ours feeds the WinKeyer
    bool m_sendingDropped = false;
    std::string m_coupledSpeed; // the speed text the WinKeyer was last told about
    Listeners<> m_idleListeners;
};

} // namespace corvane::cw
