#include "app/MainWindow.h"

#include "core/Clock.h"
#include "core/DurableFile.h"
#include "log/ui/ClockPanel.h"
#include "log/ui/ContactListPanel.h"
#include "log/ui/EntryLine.h"
#include "log/ui/GridMapPanel.h"
#include "log/ui/HelpWindow.h"
#include "log/ui/LogActions.h"
#include "log/ui/LogFileMenu.h"
#include "log/ui/ScorePanel.h"
#include "platform/Dialogs.h"
#include "platform/PortBroker.h"
#include "platform/parallel/ParallelPort.h"
#include "ui/AppContext.h"
#include "ui/FormScaler.h"
#include "ui/ModalWindows.h"
#include "ui/WidgetText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>

namespace corvane {

namespace {

// Where a settings file went wrong, for the operator.
std::string settingsFault(const std::string& name, int line) {
    return name + ", line " + std::to_string(line) + ": the setting there is missing or cannot be read.";
}

} // namespace

// Sees every key typed anywhere in the main window before the field that has the focus, and
// notices when another of the program's windows closes, to give the keyboard back.
class MainWindow::WindowKeys : public QObject {
public:
    explicit WindowKeys(MainWindow& window) : QObject(&window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide || event->type() == QEvent::Close) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->isWindow() && widget != &m_window && !(widget->windowType() == Qt::Popup) &&
                !(widget->windowType() == Qt::ToolTip)) {
                // A box of another of the program's windows gives the keyboard back to that
                // window, which comes to the front again; anything else to the entry line.
                QPointer<QWidget> owner =
                    widget->parentWidget() != nullptr ? widget->parentWidget()->window() : nullptr;
                QTimer::singleShot(0, &m_window, [this, owner] {
                    if (owner && owner != &m_window && owner->isVisible() && !m_window.m_shutDown &&
                        QApplication::activeModalWidget() == nullptr) {
                        owner->raise();
                        owner->activateWindow();
                        return;
                    }
                    m_window.giveFocusBack();
                });
            }
            return false;
        }
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != &m_window) {
            return false;
        }
        // A key a field ignores travels on to the field's parents as the same event: it
        // is handled once, where it arrived first.
        if (event == m_lastEvent && m_lastTarget && m_lastTarget != widget && widget->isAncestorOf(m_lastTarget)) {
            return false;
        }
        m_lastEvent = event;
        m_lastTarget = widget;
        return m_window.routeKey(static_cast<QKeyEvent*>(event));
    }

private:
    MainWindow& m_window;
    const QEvent* m_lastEvent = nullptr;
    QPointer<QWidget> m_lastTarget;
};

MainWindow::MainWindow(AppContext& context, QWidget* parent, FeatureFactory features)
    : QMainWindow(parent), m_ctx(context), m_session(context.workingDirectory), m_ports(std::make_unique<PortBroker>()),
      m_parallel(std::make_unique<cw::PpdevOutput>()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setAccessibleName(QString::fromLatin1(kTitle));
    setAccessibleDescription(QStringLiteral("Contest log: type the call and grid of each contact and press Enter"));

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralArea"));
    central->setMouseTracking(true);
    setMouseTracking(true);
    setCentralWidget(central);

    m_clocks = new ClockPanel(m_ctx, m_session, central);
    m_entry = new EntryLine(m_ctx, m_session, central, [this] { return m_clocks->timeOnRunning(); });
    m_score = new ScorePanel(central);
    // The list is as wide as its seven columns and a scroll bar; the grid map takes the rest.
    m_contactList = new ContactListPanel(m_session.log(), {120, 3440, 5760, 3200}, central);
    m_gridMap = new GridMapPanel(m_session.log(), {6000, 3440, 3540, 3200}, central);
    m_actions =
        new LogActions(m_ctx, m_session, LogPanels{*m_entry, *m_clocks, *m_score, *m_gridMap, *m_contactList}, this);

    connect(m_contactList, &ContactListPanel::editRequested, m_actions, &LogActions::editContact);
    connect(m_contactList, &ContactListPanel::deleteRequested, m_actions, &LogActions::deleteContact);
    connect(m_contactList, &ContactListPanel::focusCallRequested, m_entry, &EntryLine::focusEntry);
    connect(m_gridMap, &GridMapPanel::gridClicked, this,
            [this](const QString& caption) { m_entry->gridField()->setText(caption); });
    connect(m_gridMap, &GridMapPanel::hoverText, this,
            [this](const QString& text) { m_entry->setDupeList(text, false); });
    connect(m_gridMap, &GridMapPanel::focusCallRequested, m_entry, &EntryLine::focusEntry);
    connect(m_entry, &EntryLine::logged, m_actions, &LogActions::contactLogged);
    connect(m_entry, &EntryLine::loggingFinished, this, [this] {
        m_actions->showTotals();
        m_actions->rateTick();
    });
    connect(m_clocks, &ClockPanel::timeOnStarted, this, [this] {
        m_entry->setMessage(QStringLiteral(" "));
        m_entry->callField()->setFocus();
    });
    connect(m_clocks, &ClockPanel::timeOnStopped, this, [this] {
        m_actions->timeOnStopped();
        m_entry->callField()->setFocus();
    });
    // After the refusal's box has closed: the station window asks for the missing call or grid.
    connect(m_entry, &EntryLine::stationRequired, this, &MainWindow::stationSetup, Qt::QueuedConnection);
    connect(m_entry, &EntryLine::fieldEntered, this, [this](EntryField field) {
        if (field == EntryField::Call) {
            m_contactList->hideEditButtons();
        }
    });

    buildMenus();
    buildFeatures(features);
    qApp->installEventFilter(new WindowKeys(*this));

    m_rateTimer.setInterval(60000);
    connect(&m_rateTimer, &QTimer::timeout, this, &MainWindow::rateTick);
}

MainWindow::~MainWindow() {
    shutdown();
    m_features.clear();
    // The panels read the log while they are torn down; let them go while it still lives.
    delete takeCentralWidget();
}

void MainWindow::buildFeatures(const FeatureFactory& features) {
    m_featureContext = std::make_unique<FeatureContext>(FeatureContext{
        m_ctx, m_session, *m_entry, m_tuner, *m_ports, *this, m_polledFrequency, *this, this, centralWidget()});
    m_featureContext->savePreferences = [this] { return m_actions->savePreferences(); };
    m_featureContext->parallel = m_parallel.get();
    m_featureContext->spotWorth = &m_spotWorth;
    m_features = features(*m_featureContext);
    m_keyOrder = keyOrder(m_features);
    m_actions->setFeaturePreferences([this] { return featurePreferences(); });
    for (const auto& feature : m_features) {
        feature->addMenus(*m_menus);
        for (CtrlShortcut& shortcut : feature->ctrlShortcuts()) {
            m_ctrlKeys.emplace(shortcut.key, std::move(shortcut.action));
        }
        connect(m_entry, &EntryLine::fieldEntered, this,
                [f = feature.get()](EntryField field) { f->entryFieldEntered(field); });
        connect(m_entry, &EntryLine::duplicateRefused, this, [f = feature.get()] { f->duplicateRefused(); });
        connect(m_entry, &EntryLine::callChanged, this,
                [f = feature.get()](const QString& call) { f->callTextChanged(toLatin1(call)); });
        connect(m_entry, &EntryLine::logged, this,
                [f = feature.get()](const QsoRecord& record) { f->contactLogged(record); });
        connect(m_actions, &LogActions::logReloaded, this, [f = feature.get()] { f->logReloaded(); });
        connect(m_entry, &EntryLine::postContestModeChanged, this, [f = feature.get()] { f->entryModeChanged(); });
    }
    // Help stays last on the menu bar, after what the features put there.
    m_menus->add(MenuPlace::MenuBar, QStringLiteral("&Help"), "mnuHelp", this, [this] { showHelp(); });
}

FeaturePreferences MainWindow::featurePreferences() const {
    // A feature not in this window leaves its items as the file held them.
    FeaturePreferences items = m_storedFeaturePrefs;
    for (const auto& feature : m_features) {
        feature->writePreferences(items);
    }
    return items;
}

std::string MainWindow::totalScoreText() const {
    return toLatin1(m_score->totalScoreText());
}

void MainWindow::buildMenus() {
    m_menus = std::make_unique<MenuBarMenus>(*menuBar());
    MainMenus& menus = *m_menus;
    const auto add = [this, &menus](MenuPlace place, const QString& text, const char* name, auto slot) {
        return &menus.add(place, text, name, this, slot);
    };
    add(MenuPlace::FileLog, QStringLiteral("&New"), "mnuNew", [this] { m_actions->newLog(); });
    add(MenuPlace::FileLog, QString::fromLatin1(kArchiveMenuText), "mnuArchive", [this] { m_actions->archive(); });
    add(MenuPlace::FileLog, QString::fromLatin1(kRestoreMenuText), "mnuRestore", [this] { m_actions->restore(); });
    add(MenuPlace::FileCopies, QStringLiteral("&Copy Listed Items to Clipboard"), "mnuCopyList",
        [this] { m_actions->copyListedItems(); });
    add(MenuPlace::FileEnd, QStringLiteral("E&xit"), "mnuExit", [this] { exitProgram(); });

    m_postContestAction = add(MenuPlace::EntryModes, QStringLiteral("&Post Contest Mode"), "mnuPostContest", [this] {
        m_entry->togglePostContest();
        m_postContestAction->setChecked(m_entry->postContestMode());
    });
    m_postContestAction->setCheckable(true);
    add(MenuPlace::Appearance, QStringLiteral("&Form Size"), "mnuFormSize", [this] { m_actions->askFormSize(); });
    m_taskbarAction = add(MenuPlace::Appearance, QStringLiteral("&Taskbar"), "mnuTaskbar", [this] { toggleTaskbar(); });
    m_taskbarAction->setCheckable(true);
    add(MenuPlace::Appearance, QStringLiteral("&Colors"), "mnuColors", [this] { m_actions->chooseColours(); });
    // Kept for the settings they mirror; no visible control uses them.
    const auto hidden = [this](const char* text, const char* name) {
        auto* action = new QAction(QString::fromLatin1(text), this);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        return action;
    };
    m_listPreviousAction = hidden("List Previous Contacts", "mnuListPrevious");
    m_cwModeAction = hidden("CW", "mnuCW");
    m_recordRstAction = hidden("Record RST", "mnuRecordRst");

    // The station first; the features add their setup windows (serial ports ...) below it.
    add(MenuPlace::Setup, QStringLiteral("&Station"), "mnuSetup", [this] { stationSetup(); });
}

// ---------------------------------------------------------------- start-up

bool MainWindow::load() {
    m_loading = true;
    Preferences& prefs = m_session.prefs();
    prefs.recordRst = 1;
    prefs.formSizePercent = 100;
    fullScreenLayout();
    m_entry->resetForStart();
    m_clocks->start();
    m_rateTimer.start();
    bool ok = true;

    std::string prefsError;
    const auto prefsBytes = readWholeFile(m_ctx.workingFile("cvnpref.txt"), &prefsError);
    const PreferencesReadResult read = prefsBytes ? parsePreferences(*prefsBytes) : PreferencesReadResult{};
    if (!read.ok) {
        // The damaged file is kept as it is; the log is still loaded, so that nothing is
        // logged, edited or erased against an empty memory.
        startupFailed(prefsBytes ? settingsFault("cvnpref.txt", read.itemsRead + 1) : "cvnpref.txt: " + prefsError);
        ok = false;
        m_actions->setPrefsDamaged(true);
    } else {
        prefs = read.prefs;
        m_storedFeaturePrefs = read.features;
        for (const auto& feature : m_features) {
            feature->readPreferences(read.features);
        }
        prefs.gridViewCaption = QString::fromLatin1(prefs.gridViewCaption.c_str())
                                            .compare(QStringLiteral("View Bands"), Qt::CaseInsensitive) == 0
                                    ? "View Bands"
                                    : "View Grids";
        m_listPreviousAction->setChecked(prefs.listPrevious == 1);
        m_gridMap->setColours(prefs.workedColour, prefs.remainingColour);
        m_clocks->showStation();
        m_actions->utcOffsetCheck();
        if (prefs.formSizePercent < 100) {
            percentageLayout();
        }
    }
    prefs.mode = "CW";
    prefs.band = "160";
    m_cwModeAction->setChecked(true);
    m_recordRstAction->setChecked(prefs.recordRst == 1);

    if (ok) {
        stationSetup(); // reads the log
        if (!m_session.logLoaded() || m_shutDown) {
            return false; // the log is damaged, or the program was asked to end: it is ending
        }
        const MsgAnswer answer = m_ctx.dialogs.message(
            this, QStringLiteral("Open existing log?"),
            QStringLiteral("Do you want to continue an existing contest? (Yes opens your existing log, No erases any "
                           "existing log and starts a new log.)"),
            MsgButtons::YesNo, MsgIcon::Question);
        if (m_shutDown) {
            return false;
        }
        if (answer == MsgAnswer::Yes) {
            m_actions->loadLog();
        } else {
            m_actions->newLog();
        }
    } else {
        m_actions->loadLog();
    }
    if (!m_session.logLoaded() || m_shutDown) {
        return false;
    }
    m_contactList->hideEditButtons();

    std::string voiceError;
    int voiceFaultLine = 1;
    const auto voiceBytes = readWholeFile(m_ctx.workingFile("wave2.txt"), &voiceError);
    const auto voice = voiceBytes ? parseVoiceSettings(*voiceBytes, &voiceFaultLine) : std::nullopt;
    if (voice) {
        m_voiceSettings = *voice;
    } else if (ok) {
        startupFailed(voiceBytes ? settingsFault("wave2.txt", voiceFaultLine) : "wave2.txt: " + voiceError);
        ok = false;
    }
    for (const auto& feature : m_features) {
        ok = feature->load() && ok;
    }

    // Whatever step failed, the window is laid out to fit the screen.
    taskbarLayout();
    m_loading = false;
    m_entry->callField()->setFocus();
    return ok;
}

void MainWindow::startupFailed(const std::string& detail) {
    m_ctx.dialogs.beep();
    m_ctx.dialogs.message(this, QStringLiteral("Error opening default data."),
                          QStringLiteral("Error loading default data .  Check to make sure cvnpref.txt is in your "
                                         "working directory.\r\n\r\n") +
                              fromLatin1(detail),
                          MsgButtons::Ok, MsgIcon::Critical);
}

void MainWindow::stationSetup() {
    m_actions->stationSetup();
}

bool MainWindow::timeOnRunning() const {
    return m_clocks->timeOnRunning();
}

bool MainWindow::postContestMode() const {
    return m_entry->postContestMode();
}

void MainWindow::clockTick() {
    m_clocks->tick();
}

void MainWindow::rateTick() {
    m_actions->rateTick();
}

// ---------------------------------------------------------------- keys and focus

bool MainWindow::routeKey(QKeyEvent* key) {
    if (m_entry->replaying()) {
        return false; // held keys replayed after a duplicate went through here when typed
    }
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    if (ctrl) {
        if (const auto it = m_ctrlKeys.find(key->key()); it != m_ctrlKeys.end()) {
            it->second();
            return true;
        }
    }
    for (Feature* feature : m_keyOrder) {
        if (feature->keyPress(key)) {
            return true;
        }
    }
    // A Ctrl key the program does not use never edits an entry field.
    return ctrl;
}

void MainWindow::giveFocusBack() {
    if (m_shutDown || !isVisible() || QApplication::activeModalWidget() != nullptr) {
        return;
    }
    // Another of the program's windows still in front keeps the keyboard.
    if (QWidget* active = QApplication::activeWindow(); active != nullptr && active != this && active->isVisible()) {
        return;
    }
    m_entry->focusEntry();
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    m_entry->setDupeList(QString(), false);
    QMainWindow::mouseMoveEvent(event);
}

// ---------------------------------------------------------------- ways out

void MainWindow::shutdown() {
    if (m_shutDown) {
        return;
    }
    m_shutDown = true;
    for (auto it = m_features.rbegin(); it != m_features.rend(); ++it) {
        (*it)->shutdown();
    }
    m_ports->releaseAll();
}

void MainWindow::exitProgram() {
    if (m_clocks->timeOnRunning()) {
        m_clocks->settleTimeOn();
        m_actions->savePreferences();
    }
    shutdown();
    m_ctx.terminate(0);
}

void MainWindow::endProgram(int status) {
    shutdown();
    m_actions->backup();
    m_ctx.terminate(status);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Pending CW is dropped; while a character is on the air the window stays open.
    for (const auto& feature : m_features) {
        if (!feature->mayClose()) {
            event->ignore();
            return;
        }
    }
    m_actions->backup();
    shutdown();
    event->accept();
    // The program ends with its main window, whatever else is still open: a window of a
    // feature that stays on screen, a hidden one, or a box in a loop of its own.
    m_ctx.terminate(0);
}

// ---------------------------------------------------------------- layout

void MainWindow::toggleTaskbar() {
    Preferences& prefs = m_session.prefs();
    if (prefs.formSizePercent != 100) {
        m_taskbarAction->setChecked(prefs.taskbar == 1);
        m_ctx.dialogs.message(this, QStringLiteral("Please set your form size to 100% to use this option."),
                              QStringLiteral("The form size must be set to 100% to use the taskbar display option."),
                              MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    prefs.taskbar = prefs.taskbar == 0 ? 1 : 0;
    m_actions->savePreferences();
    taskbarLayout();
}

void MainWindow::fullScreenLayout() {
    FormScaler::apply(this, planScale(ScaleVariant::MainFullScreen, {}, FormScaler::screenOf(this)));
}

void MainWindow::percentageLayout() {
    const ScreenTwips screen = FormScaler::screenOf(this);
    const ScalePlan full = planScale(ScaleVariant::MainFullScreen, {}, screen);
    ScalePlan plan = planPercentage(m_session.prefs().formSizePercent, screen);
    plan.controlX *= full.controlX;
    plan.controlY *= full.controlY;
    plan.controlText *= full.controlText;
    FormScaler::apply(this, plan);
}

void MainWindow::taskbarLayout() {
    const Preferences& prefs = m_session.prefs();
    m_taskbarAction->setChecked(prefs.taskbar == 1);
    if (prefs.formSizePercent != 100) {
        return;
    }
    const ScreenTwips screen = FormScaler::screenOf(this);
    const ScalePlan full = planScale(ScaleVariant::MainFullScreen, {}, screen);
    ScalePlan plan = planTaskbar(prefs.taskbar == 1, full.window, screen);
    plan.controlX *= full.controlX;
    plan.controlY *= full.controlY;
    plan.controlText = full.controlText;
    const bool wasVisible = isVisible();
    FormScaler::rememberFrame(this);
    hide();
    FormScaler::apply(this, plan);
    if (wasVisible) {
        show();
    }
}

void MainWindow::showHelp() {
    HelpWindow help(m_ctx.workingFile("readCVN.txt"), this);
    runModal(m_ctx, help);
}

} // namespace corvane
