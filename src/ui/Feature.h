#pragma once
// How a subsystem plugs into the main window. Each subsystem (CW keying, voice, rig, spots
// ...) is one Feature, registered in one place (app/Features.cpp). The main window asks the
// features, in the order they were registered, for their menus, their Ctrl shortcuts and
// their keys; it tells them what happens on the entry line, asks them whether it may close,
// and shuts every one of them down on every way out of the program.

#include "core/EntryHost.h"
#include "core/QsoRecord.h"
#include "core/SpotWorth.h"
#include "core/Tuner.h"

#include <functional>
#include <string>
#include <vector>

class QKeyEvent;
class QMenu;
class QMenuBar;
class QWidget;

namespace corvane {

namespace cw {
class ParallelOutput;
}
struct AppContext;
class PortBroker;
class Session;

enum class EntryField { Call, Grid };

// Routes a key as the main window does (Ctrl table, then the features' keys). Windows that
// pass their keys on to the main window (CW Strings) go through it.
class KeyRouter {
public:
    virtual ~KeyRouter() = default;
    virtual bool routeKey(QKeyEvent* key) = 0;
};

struct FeatureContext {
    AppContext& app;
    Session& session;
    EntryHost& entry;
    TunerSlot& tuner;
    PortBroker& ports;
    KeyRouter& keys;
    QWidget* mainWindow = nullptr;
    QMenuBar* menuBar = nullptr;
    QWidget* centralArea = nullptr;
    // The main window's SavePref: cvnpref.txt from the session's preferences. False when it
    // could not be written (the main window has told the operator).
    std::function<bool()> savePreferences = {};
    // The parallel port, one for every feature that keys it: a second claim on the device
    // would wait for the first to let go.
    cw::ParallelOutput* parallel = nullptr;
    // What a spotted call is worth to this log (the call history provides it; the spot
    // windows ask it and listen for changes).
    SpotWorthSlot* spotWorth = nullptr;
};

struct CtrlShortcut {
    int key = 0; // Qt::Key_R ...
    std::function<void()> action;
};

// The menu of the main window's menu bar with this object name ("mnuFile", "mnuOptions",
// "mnuTransmit", "mnuSetupMenu" ...), or null.
QMenu* findMenu(QMenuBar* menuBar, const char* objectName);

class Feature {
public:
    virtual ~Feature() = default;

    virtual void addMenus(QMenuBar& /*menuBar*/) {}
    virtual std::vector<CtrlShortcut> ctrlShortcuts() { return {}; }
    // A key typed anywhere in the main window before the focused field sees it; true when
    // consumed. Ctrl keys reach here too (after the Ctrl table), so that they can stop a
    // calling loop; they never reach the fields.
    virtual bool keyPress(QKeyEvent* /*key*/) { return false; }
    // The start-up load step, after the log was read. False when the feature could not load.
    virtual bool load() { return true; }

    virtual void entryFieldEntered(EntryField /*field*/) {}
    virtual void duplicateRefused() {}
    virtual void callTextChanged(const std::string& /*call*/) {}
    virtual void contactLogged(const QsoRecord& /*record*/) {}
    // The log was read again: contacts may have been edited, deleted or replaced, and the
    // own station may have changed.
    virtual void logReloaded() {}

    // False refuses the main window's close (a character on the air).
    virtual bool mayClose() { return true; }
    // Every way out of the program: stop what runs, drop key and push-to-talk lines, close ports.
    virtual void shutdown() {}
};

} // namespace corvane
