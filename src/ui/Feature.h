#pragma once
// How a subsystem plugs into the main window. Each subsystem (CW keying, voice, rig, spots
// ...) is one Feature, listed in one place (app/Features.cpp); each declares its key priority.
// The main window asks the features for their menu items, their Ctrl shortcuts and their
// keys; it tells them what happens on the entry line, asks them whether it may close, and
// shuts every one of them down on every way out of the program.

#include "core/EntryHost.h"
#include "core/QsoRecord.h"
#include "core/SpotWorth.h"
#include "core/Tuner.h"

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QKeyEvent;
class QMenu;
class QMenuBar;
class QObject;
class QWidget;

namespace corvane {

namespace cw {
class ParallelOutput;
}
struct AppContext;
class PortBroker;
class Session;
struct FeaturePreferences;

enum class EntryField { Call, Grid };

// Routes a key as the main window does (Ctrl table, then the features' keys). Windows that
// pass their keys on to the main window (CW Strings) go through it.
class KeyRouter {
public:
    virtual ~KeyRouter() = default;
    virtual bool routeKey(QKeyEvent* key) = 0;
};

// The places of the main window's menus where items go. Each place is a group of its menu;
// an item goes to the end of its group, so items keep the order they were added in.
enum class MenuPlace {
    FileLog,      // New, Archive, Restore ... the log's own files
    FileExchange, // the log written for submission and exchange: Cabrillo, ADIF
    FileCopies,   // what the log shows, copied or pictured: the clipboard copy, the report
    FileEnd,      // Exit
    EntryModes,   // Options, above its submenus: how contacts are entered (Post Contest Mode)
    Options,      // Options, below its submenus: the windows of the subsystems
    Appearance,   // Options > Appearance
    Transmit,     // Options > Transmit
    Setup,        // Setup: the station, then the devices
    MenuBar,      // an item on the menu bar itself (Graph, Help)
};

// The main window's menus as the features see them. Every place exists: an item always
// lands where it was meant to go.
class MainMenus {
public:
    virtual ~MainMenus() = default;
    // Adds an item named `objectName` that runs `action` while `context` lives (as long as the
    // item when null).
    virtual QAction& add(MenuPlace place, const QString& text, const char* objectName, QObject* context,
                         std::function<void()> action) = 0;
};

// The menus of a menu bar laid out as the main window has them (File, Options with its
// Appearance and Transmit submenus, Setup), with the places of MainMenus.
class MenuBarMenus final : public MainMenus {
public:
    explicit MenuBarMenus(QMenuBar& menuBar);
    QAction& add(MenuPlace place, const QString& text, const char* objectName, QObject* context,
                 std::function<void()> action) override;
    QMenu& menu(MenuPlace place) const;

private:
    struct Group {
        QMenu* menu = nullptr;
        QAction* end = nullptr; // items go before this separator; at the menu's end when null
    };
    QMenuBar& m_menuBar;
    std::map<MenuPlace, Group> m_groups;
};

// The frequency the rig link polled last, waiting for the next contact (RigFrequencyText).
class PolledFrequency {
public:
    virtual ~PolledFrequency() = default;
    // The text the next contact takes; empty drops it (the contact goes without one).
    virtual void hand(std::string text) = 0;
    virtual bool waiting() const = 0;
};

// What the main window's log shows, for the features that write it out.
class LogView {
public:
    virtual ~LogView() = default;
    // The total score as the score panel shows it.
    virtual std::string totalScoreText() const = 0;
};

struct FeatureContext {
    AppContext& app;
    // The log and the station, to read; the log's own windows change them.
    const Session& session;
    EntryHost& entry;
    TunerSlot& tuner;
    PortBroker& ports;
    KeyRouter& keys;
    PolledFrequency& polledFrequency;
    LogView& logView;
    // The window the features' windows and boxes belong to.
    QWidget* mainWindow = nullptr;
    // Where features place their panels (at design coordinates, see ui/FormScaler.h).
    QWidget* centralArea = nullptr;
    // Writes cvnpref.txt, with the items the features keep there. False when it could not be
    // written (the operator has been told).
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

// Who sees a key first. Lower goes first; the order is part of what the program does (the
// voice keyer's calling loop ends on any key before the CW keys act on it).
enum class KeyPriority {
    EndsVoiceLoop = 0,
    CwKeys = 10,
    Others = 100,
};

class Feature {
public:
    virtual ~Feature() = default;

    // Where the feature stands when keys are handed round (see keyOrder).
    virtual KeyPriority keyPriority() const { return KeyPriority::Others; }

    virtual void addMenus(MainMenus& /*menus*/) {}
    virtual std::vector<CtrlShortcut> ctrlShortcuts() { return {}; }
    // A key typed anywhere in the main window before the focused field sees it; true when
    // consumed. Ctrl keys reach here too (after the Ctrl table), so that they can stop a
    // calling loop; they never reach the fields.
    virtual bool keyPress(QKeyEvent* /*key*/) { return false; }
    // The start-up load step, after the log was read. False when the feature could not load.
    virtual bool load() { return true; }

    // The items this feature keeps in cvnpref.txt: taken when the file is read, and handed
    // back each time it is written.
    virtual void readPreferences(const FeaturePreferences& /*stored*/) {}
    virtual void writePreferences(FeaturePreferences& /*into*/) const {}

    virtual void entryFieldEntered(EntryField /*field*/) {}
    // The entry line went into or out of post-contest mode (EntryHost::postContestMode).
    virtual void entryModeChanged() {}
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

// The features in the order they see keys: by key priority, in the list's order where two
// share one.
std::vector<Feature*> keyOrder(const std::vector<std::unique_ptr<Feature>>& features);

} // namespace corvane
