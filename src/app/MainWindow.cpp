#include "app/MainWindow.h"

#include "cw/ui/CwController.h"
#include "cw/CwSettings.h"
#include "export/ui/CabrilloWindow.h"
#include "export/ui/ExportActions.h"
#include "graph/ui/GraphWindow.h"
#include "log/ui/ColourWindow.h"
#include "log/ui/ContactListPanel.h"
#include "log/ui/EditContactWindow.h"
#include "log/Entry.h"
#include "log/ui/GridMapPanel.h"
#include "log/ui/HelpWindow.h"
#include "log/ui/LogFileMenu.h"
#include "core/NumberText.h"
#include "log/score/Backup.h"
#include "log/score/Dupes.h"
#include "log/score/Stats.h"
#include "log/ui/StationWindow.h"
#include "log/station/UtcOffset.h"
#include "core/Clock.h"
#include "platform/Dialogs.h"
#include "core/DurableFile.h"
#include "ui/FormScaler.h"
#include "ui/KeyText.h"
#include "voice/VoiceSettings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>

namespace corvane {

namespace {

const QColor kTeal(0, 192, 192);
const QColor kRed(255, 0, 0);
const QColor kLightYellow(255, 255, 192);

QString fromLatin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
std::string toLatin1(const QString& s) {
    return s.toLatin1().toStdString();
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const TwipRect& at, double font,
                  bool bold = false) {
    auto* label = new QLabel(text, parent);
    if (name) {
        label->setObjectName(QString::fromLatin1(name));
    }
    FormScaler::place(label, at, font);
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    return label;
}

void paint(QWidget* w, const QColor& background, const QColor& text = QColor()) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, background);
    if (text.isValid()) {
        p.setColor(QPalette::WindowText, text);
    }
    w->setAutoFillBackground(true);
    w->setPalette(p);
}

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

// Sees every key typed anywhere in the main window before the field that has the focus:
// the Ctrl shortcuts and the CW keys come first.
class MainWindow::WindowKeys : public QObject {
public:
    explicit WindowKeys(MainWindow& window) : QObject(&window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
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
        return m_window.windowKeyPress(static_cast<QKeyEvent*>(event));
    }

private:
    MainWindow& m_window;
    const QEvent* m_lastEvent = nullptr;
    QPointer<QWidget> m_lastTarget;
};

MainWindow::MainWindow(AppContext& context, QWidget* parent)
    : QMainWindow(parent), m_ctx(context), m_store(context.workingFile("log.txt")) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(kTitle));
    buildControls();
    m_cw = std::make_unique<cw::CwController>(*this, m_ctx, this);
    buildMenus();
    qApp->installEventFilter(new WindowKeys(*this));

    m_clockTimer.setInterval(1000);
    connect(&m_clockTimer, &QTimer::timeout, this, &MainWindow::clockTick);
    m_rateTimer.setInterval(60000);
    connect(&m_rateTimer, &QTimer::timeout, this, &MainWindow::rateTick);
    m_holdTimer.setSingleShot(true);
    connect(&m_holdTimer, &QTimer::timeout, this, &MainWindow::replayHeldKeys);
}

MainWindow::~MainWindow() {
    // The panels read the log while they are torn down; let them go while it still lives.
    delete takeCentralWidget();
    for (QKeyEvent* key : m_heldKeys) {
        delete key;
    }
}

void MainWindow::buildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralArea"));
    central->setMouseTracking(true);
    setMouseTracking(true);
    setCentralWidget(central);

    m_ownCall = makeLabel(central, "Label2", QString(), {120, 120, 2000, 520}, 14, true);
    m_ownGrid = makeLabel(central, "Label4", QString(), {2200, 120, 1100, 520}, 14, true);

    makeLabel(central, "lblUtcCaption", QStringLiteral("UTC"), {3500, 60, 1200, 240}, 8.25);
    m_utcClock = makeLabel(central, "lblutctime", QStringLiteral("00:00:00"), {3500, 300, 1200, 380}, 10, true);
    makeLabel(central, "lblLocalCaption", QStringLiteral("Local"), {4800, 60, 1100, 240}, 8.25);
    m_localClock = makeLabel(central, "lblCurTime", QString(), {4800, 300, 1100, 380}, 10);
    m_amPm = makeLabel(central, "Label16", QString(), {5900, 300, 520, 380}, 10);

    m_logOn = new QPushButton(QStringLiteral("&Log \"Time On\""), central);
    m_logOn->setObjectName(QStringLiteral("cmdLogOn"));
    m_logOn->setToolTip(QStringLiteral("Records On/Off times and controls duration clock."));
    m_logOn->setFocusPolicy(Qt::NoFocus);
    FormScaler::place(m_logOn, {6500, 120, 1800, 480}, 8.25);
    connect(m_logOn, &QPushButton::clicked, this, &MainWindow::toggleTimeOn);
    m_timeOnClock = makeLabel(central, "lblttrack", QStringLiteral("00:00:00"), {8400, 120, 1100, 480}, 10, true);

    makeLabel(central, "lblCallCaption", QStringLiteral("Call"), {120, 800, 2280, 240}, 8.25);
    makeLabel(central, "lblGridCaption", QStringLiteral("Grid"), {2520, 800, 1080, 240}, 8.25);
    makeLabel(central, "lblKmCaption", QStringLiteral("Kilometers"), {3720, 800, 1080, 240}, 8.25);
    makeLabel(central, "lblBearingCaption", QStringLiteral("Bearing"), {4920, 800, 880, 240}, 8.25);
    makeLabel(central, "lblPointsCaption", QStringLiteral("Points"), {5920, 800, 880, 240}, 8.25);
    m_postTimeCaption = makeLabel(central, "lblPostConTime", QStringLiteral("Time"), {6920, 800, 780, 240}, 8.25);
    m_postDateCaption = makeLabel(central, "lblPostConDate", QStringLiteral("Date"), {7820, 800, 1400, 240}, 8.25);

    m_call = new QLineEdit(central);
    m_call->setObjectName(QStringLiteral("txtCall"));
    m_call->setMaxLength(13);
    m_call->setAccessibleName(QStringLiteral("Call"));
    FormScaler::place(m_call, {120, 1040, 2280, 480}, 13);
    m_grid = new QLineEdit(central);
    m_grid->setObjectName(QStringLiteral("txtSec"));
    m_grid->setMaxLength(4);
    m_grid->setAccessibleName(QStringLiteral("Grid"));
    FormScaler::place(m_grid, {2520, 1040, 1080, 480}, 13);
    m_kilometres = makeLabel(central, "Label24", QString(), {3720, 1040, 1080, 480}, 12, true);
    m_bearing = makeLabel(central, "Label23", QString(), {4920, 1040, 880, 480}, 12, true);
    m_points = makeLabel(central, "Label5", QString(), {5920, 1040, 880, 480}, 12, true);
    m_points->setAlignment(Qt::AlignCenter);
    m_postTime = new QLineEdit(central);
    m_postTime->setObjectName(QStringLiteral("txtPostConTime"));
    m_postTime->setMaxLength(5);
    m_postTime->setAccessibleName(QStringLiteral("Time"));
    FormScaler::place(m_postTime, {6920, 1040, 780, 480}, 10);
    m_postDate = new QLineEdit(central);
    m_postDate->setObjectName(QStringLiteral("txtPostConDate"));
    m_postDate->setMaxLength(10);
    m_postDate->setAccessibleName(QStringLiteral("Date"));
    FormScaler::place(m_postDate, {7820, 1040, 1400, 480}, 10);
    for (QWidget* w : {static_cast<QWidget*>(m_postTime), static_cast<QWidget*>(m_postDate),
                       static_cast<QWidget*>(m_postTimeCaption), static_cast<QWidget*>(m_postDateCaption)}) {
        w->setVisible(false);
    }
    setTabOrder(m_call, m_grid);
    setTabOrder(m_grid, m_postTime);
    setTabOrder(m_postTime, m_postDate);

    m_dialog = makeLabel(central, "lblDialog", QString(), {120, 1640, 7800, 400}, 10, true);
    m_dialog->setAccessibleName(QStringLiteral("Message"));
    paint(m_dialog, kTeal);
    m_clear = new QPushButton(QStringLiteral("&Clear"), central);
    m_clear->setObjectName(QStringLiteral("cmdClear"));
    m_clear->setToolTip(QStringLiteral("Click to clear entry fields or press ALT C"));
    m_clear->setFocusPolicy(Qt::NoFocus);
    FormScaler::place(m_clear, {8040, 1640, 1200, 400}, 8.25);
    connect(m_clear, &QPushButton::clicked, this, &MainWindow::clearEntry);

    makeLabel(central, "lblDupeCaption", QString::fromLatin1(kPossibleDuplicatesCaption.data()), {120, 2160, 4600, 260},
              8.25);
    m_dupe = makeLabel(central, "lblDupe", QString(), {120, 2420, 4600, 700}, 8.25);
    m_dupe->setWordWrap(true);
    m_dupe->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_dupe->setAutoFillBackground(true);
    m_dupToggle = new QPushButton(QStringLiteral("On"), central);
    m_dupToggle->setObjectName(QStringLiteral("cmdDup"));
    m_dupToggle->setToolTip(QStringLiteral("Displaying partial dupes slows the program on older pc's."));
    m_dupToggle->setFocusPolicy(Qt::NoFocus);
    FormScaler::place(m_dupToggle, {4760, 2420, 600, 360}, 8.25);
    connect(m_dupToggle, &QPushButton::clicked, this, [this] {
        setDupeList(m_dupe->text(), false);
        m_partialDupesOn = !m_partialDupesOn;
        m_dupToggle->setText(m_partialDupesOn ? QStringLiteral("On") : QStringLiteral("Off"));
        m_call->setFocus();
    });

    auto* stats = new QGroupBox(QStringLiteral("Score Statistics"), central);
    stats->setObjectName(QStringLiteral("frameScore"));
    FormScaler::place(stats, {5600, 2160, 3700, 1260}, 8.25);
    const char* const captions[] = {"Total QSO Points ........", "Total Score..................",
                                    "QSOs / Hr (last 20 min)", "QSOs / Hr (last 60 min)"};
    const char* const names[] = {"lblTotSec", "lblTotScore", "lblAQSO20", "lblAQSO60"};
    QLabel** values[] = {&m_totalPoints, &m_totalScore, &m_rate20, &m_rate60};
    for (int i = 0; i < 4; ++i) {
        makeLabel(stats, nullptr, QString::fromLatin1(captions[i]), {120, 280.0 + i * 230, 2300, 230}, 8.25);
        *values[i] = makeLabel(stats, names[i], QStringLiteral("0"), {2500, 280.0 + i * 230, 1100, 230}, 8.25, true);
    }

    m_contactList = new ContactListPanel(m_store.log(), {120, 3440, 5400, 3300}, central);
    connect(m_contactList, &ContactListPanel::editRequested, this, &MainWindow::editContact);
    connect(m_contactList, &ContactListPanel::deleteRequested, this, &MainWindow::deleteContact);
    connect(m_contactList, &ContactListPanel::focusCallRequested, this, [this] { m_call->setFocus(); });
    m_gridMap = new GridMapPanel(m_store.log(), {5640, 3440, 3840, 3300}, central);
    connect(m_gridMap, &GridMapPanel::gridClicked, this, [this](const QString& caption) { m_grid->setText(caption); });
    connect(m_gridMap, &GridMapPanel::hoverText, this, [this](const QString& text) { m_dupe->setText(text); });
    connect(m_gridMap, &GridMapPanel::focusCallRequested, this, [this] { m_call->setFocus(); });

    for (QLineEdit* field : {m_call, m_grid, m_postTime, m_postDate}) {
        field->installEventFilter(this);
    }
    connect(m_grid, &QLineEdit::textChanged, this, &MainWindow::refreshGridDisplay);
    // Pasted text obeys the same rules as typed text: upper case, no double quote.
    for (QLineEdit* field : {m_call, m_grid}) {
        connect(field, &QLineEdit::textEdited, this, [field](const QString& text) {
            QString clean = text.toUpper();
            clean.remove(QLatin1Char('"'));
            if (clean != text) {
                const int cursor = field->cursorPosition();
                field->setText(clean);
                field->setCursorPosition(std::min<int>(cursor, clean.size()));
            }
        });
    }
    setPointsText(QString());
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction* newLogAction = file->addAction(QStringLiteral("&New"), this, &MainWindow::newLog);
    newLogAction->setObjectName(QStringLiteral("mnuNew"));
    QAction* archive = file->addAction(QString::fromLatin1(kArchiveMenuText), this, [this] {
        archiveCurrentLog(this, m_ctx.dialogs, m_ctx.folders, m_store.path(), m_prefs.ownCall, m_ctx.clock.localNow());
    });
    archive->setObjectName(QStringLiteral("mnuArchive"));
    QAction* restore = file->addAction(QString::fromLatin1(kRestoreMenuText), this, [this] {
        if (restoreFromArchive(this, m_ctx.dialogs, m_ctx.folders, m_store.path(), m_ctx.clock.localNow(),
                               m_store.log().qsoCount()) == RestoreOutcome::Restored) {
            loadLog();
        }
    });
    restore->setObjectName(QStringLiteral("mnuRestore"));
    file->addSeparator();
    QAction* cabrillo = file->addAction(QStringLiteral("&Write Cabrillo File"), this, [this] {
        CabrilloWindow window(m_ctx.dialogs, m_ctx.settings, m_ctx.sharedPrefs, m_store.log(), m_prefs,
                              m_totalScore->text(), QString::fromStdString(m_ctx.folders.userDataFolder), this);
        window.exec();
    });
    cabrillo->setObjectName(QStringLiteral("mnuCabrillo"));
    QAction* adif = file->addAction(QStringLiteral("Export &ADIF Format"), this, [this] {
        exportAdif(m_ctx.dialogs, m_ctx.clock, m_store.log(), QString::fromStdString(m_ctx.folders.userDataFolder),
                   this);
    });
    adif->setObjectName(QStringLiteral("mnuAdif"));
    QAction* copyList =
        file->addAction(QStringLiteral("&Copy Listed Items to Clipboard"), this, &MainWindow::copyListedItems);
    copyList->setObjectName(QStringLiteral("mnuCopyList"));
    file->addSeparator();
    QAction* exitAction = file->addAction(QStringLiteral("E&xit"), this, &MainWindow::exitProgram);
    exitAction->setObjectName(QStringLiteral("mnuExit"));

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    m_postContestAction =
        options->addAction(QStringLiteral("&Post Contest Mode"), this, &MainWindow::togglePostContest);
    m_postContestAction->setObjectName(QStringLiteral("mnuPostContest"));
    m_postContestAction->setCheckable(true);
    QMenu* appearance = options->addMenu(QStringLiteral("&Appearance"));
    appearance->setObjectName(QStringLiteral("mnuAppearance"));
    QAction* formSize = appearance->addAction(QStringLiteral("&Form Size"), this, &MainWindow::askFormSize);
    formSize->setObjectName(QStringLiteral("mnuFormSize"));
    m_taskbarAction = appearance->addAction(QStringLiteral("&Taskbar"), this, &MainWindow::toggleTaskbar);
    m_taskbarAction->setObjectName(QStringLiteral("mnuTaskbar"));
    m_taskbarAction->setCheckable(true);
    QMenu* transmit = options->addMenu(QStringLiteral("&Transmit"));
    transmit->setObjectName(QStringLiteral("mnuTransmit"));
    QAction* cwSetup = transmit->addAction(QStringLiteral("&CW Setup"), this, [this] { m_cw->showSetupWindow(true); });
    cwSetup->setObjectName(QStringLiteral("mnuCWSetup"));
    QAction* colours = appearance->addAction(QStringLiteral("&Colors"), this, &MainWindow::chooseColours);
    colours->setObjectName(QStringLiteral("mnuColors"));
    // Kept for the settings they mirror; no visible control uses them.
    m_listPreviousAction = new QAction(QStringLiteral("List Previous Contacts"), this);
    m_listPreviousAction->setObjectName(QStringLiteral("mnuListPrevious"));
    m_listPreviousAction->setCheckable(true);
    m_cwModeAction = new QAction(QStringLiteral("CW"), this);
    m_cwModeAction->setObjectName(QStringLiteral("mnuCW"));
    m_cwModeAction->setCheckable(true);
    m_recordRstAction = new QAction(QStringLiteral("Record RST"), this);
    m_recordRstAction->setObjectName(QStringLiteral("mnuRecordRst"));
    m_recordRstAction->setCheckable(true);

    QAction* setup = menuBar()->addAction(QStringLiteral("&Setup"), this, &MainWindow::stationSetup);
    setup->setObjectName(QStringLiteral("mnuSetup"));
    QAction* graph = menuBar()->addAction(QStringLiteral("&Graph"), this, [this] {
        GraphWindow window(m_ctx.dialogs, m_store.log(), this);
        window.exec();
    });
    graph->setObjectName(QStringLiteral("mnuGraph"));
    QAction* help = menuBar()->addAction(QStringLiteral("&Help"), this, &MainWindow::showHelp);
    help->setObjectName(QStringLiteral("mnuHelp"));
}

// ---------------------------------------------------------------- start-up

bool MainWindow::load() {
    m_loading = true;
    m_prefs.recordRst = 1;
    m_prefs.formSizePercent = 100;
    m_timeOnStart = m_ctx.clock.localNow();
    fullScreenLayout();
    setDialog(QStringLiteral("Ready to begin!"));
    m_kilometres->clear();
    m_bearing->clear();
    m_partialDupesOn = true;
    m_dupToggle->setText(QStringLiteral("On"));
    m_clockTimer.start();
    m_rateTimer.start();
    clockTick();

    const auto prefsBytes = readWholeFile(m_ctx.workingFile("cvnpref.txt"));
    const PreferencesReadResult prefs = prefsBytes ? parsePreferences(*prefsBytes) : PreferencesReadResult{};
    if (!prefs.ok) {
        startupFailed();
        return false;
    }
    m_prefs = prefs.prefs;
    m_prefs.gridViewCaption = QString::fromLatin1(m_prefs.gridViewCaption.c_str())
                                          .compare(QStringLiteral("View Bands"), Qt::CaseInsensitive) == 0
                                  ? "View Bands"
                                  : "View Grids";
    m_listPreviousAction->setChecked(m_prefs.listPrevious == 1);
    m_gridMap->setColours(m_prefs.workedColour, m_prefs.remainingColour);
    m_ownCall->setText(fromLatin1(m_prefs.ownCall));
    m_ownGrid->setText(fromLatin1(m_prefs.ownGrid));

    utcOffsetCheck();
    if (m_prefs.formSizePercent < 100) {
        percentageLayout();
    }
    m_prefs.mode = "CW";
    m_prefs.band = "160";
    m_cwModeAction->setChecked(true);
    m_recordRstAction->setChecked(m_prefs.recordRst == 1);

    stationSetup();
    if (!m_loading) {
        return false; // the log could not be loaded: the program is ending
    }

    const MsgAnswer answer = m_ctx.dialogs.message(
        this, QStringLiteral("Open existing log?"),
        QStringLiteral("Do you want to continue an existing contest? (Yes opens your existing log, No erases any "
                       "existing log and starts a new log.)"),
        MsgButtons::YesNo, MsgIcon::Question);
    if (answer == MsgAnswer::Yes) {
        if (!loadLog()) {
            return false;
        }
    } else {
        newLog();
        if (!m_loading) {
            return false;
        }
    }

    m_contactList->hideEditButtons();

    const auto voiceBytes = readWholeFile(m_ctx.workingFile("wave2.txt"));
    const auto voice = voiceBytes ? parseVoiceSettings(*voiceBytes) : std::nullopt;
    if (!voice) {
        startupFailed();
        return false;
    }
    m_voiceSettings = *voice;
    // A missing or short cw.txt is read quietly: what it holds is taken, the rest keeps
    // its defaults.
    const auto cwBytes = readWholeFile(m_ctx.workingFile("cw.txt"));
    m_cwSettings = cw::parseCwSettings(cwBytes ? std::string_view(*cwBytes) : std::string_view());
    m_cw->loadSettings(m_cwSettings);

    taskbarLayout();
    m_loading = false;
    m_call->setFocus();
    return true;
}

void MainWindow::startupFailed() {
    m_loading = false;
    m_ctx.dialogs.beep();
    m_ctx.dialogs.message(this, QStringLiteral("Error opening default data."),
                          QStringLiteral("Error loading default data .  Check to make sure cvnpref.txt is in your "
                                         "working directory."),
                          MsgButtons::Ok, MsgIcon::Critical);
}

void MainWindow::utcOffsetCheck() {
    const float before = m_prefs.utcOffsetHours;
    const auto question = utcOffsetQuestion(m_prefs.utcOffsetHours, m_ctx.clock.utcNow(), m_ctx.clock.localNow());
    if (!question) {
        return;
    }
    const auto answer = m_ctx.dialogs.input(this, fromLatin1(question->title), fromLatin1(question->prompt),
                                            fromLatin1(question->defaultAnswer));
    if (!answer) {
        return;
    }
    const auto value = parseNumber(toLatin1(*answer));
    if (!value) {
        return;
    }
    m_prefs.utcOffsetHours = static_cast<float>(*value);
    if (!savePref()) {
        m_prefs.utcOffsetHours = before;
    }
}

// ---------------------------------------------------------------- log file

bool MainWindow::loadLog() {
    const LogParseResult result = m_store.load();
    if (!result.ok) {
        m_loading = false;
        m_ctx.dialogs.message(
            this, QStringLiteral("File Error"),
            QStringLiteral("Error opening file.  This error is annoying but probably correctable.  In all likelihood, "
                           "a character such as a quote got into your data or one of your entries has an invalid "
                           "date/time format.  Close this program and open log.txt in the program's working directory "
                           "with a text editor such as notepad.  Inspect the data and fix any errors you see (remove "
                           "any extra quotes and make sure your date and time entries are valid)."),
            MsgButtons::Ok, MsgIcon::Critical);
        m_ctx.terminate(1);
        return false;
    }
    m_gridMap->repaintWorked(m_store.log());
    m_contactList->rebuild();
    rateTick();
    showTotals();
    return true;
}

bool MainWindow::savePref() {
    const std::string path = m_ctx.workingFile("cvnpref.txt");
    const FileResult written = replaceAtomically(path, formatPreferences(m_prefs));
    if (!written.ok) {
        m_ctx.dialogs.message(this, QStringLiteral("Unable to write file."), fromLatin1(path + "  " + written.error),
                              MsgButtons::Ok, MsgIcon::Warning);
    }
    return written.ok;
}

void MainWindow::stationSetup() {
    StationValues current;
    current.call = fromLatin1(m_prefs.ownCall);
    current.grid = fromLatin1(m_prefs.ownGrid);
    current.offsetText = fromLatin1(formatSingle(m_prefs.utcOffsetHours));
    current.powerCategory = m_prefs.powerCategory;
    StationWindow window(m_ctx.dialogs, m_ctx.sharedPrefs, current, this);
    window.exec();
    const StationValues chosen = window.values();

    m_prefs.ownCall = toLatin1(chosen.call);
    m_prefs.ownGrid = toLatin1(chosen.grid.trimmed());
    if (const auto offset = parseNumber(toLatin1(chosen.offsetText))) {
        m_prefs.utcOffsetHours = static_cast<float>(*offset);
    }
    m_prefs.powerCategory = chosen.powerCategory;
    m_ownCall->setText(fromLatin1(m_prefs.ownCall));
    m_ownGrid->setText(fromLatin1(m_prefs.ownGrid));
    if (!m_prefs.ownGrid.empty()) {
        if (const auto corner = gridCorner(m_prefs.ownGrid)) {
            m_prefs.ownLongitude = corner->longitudeWest;
            m_prefs.ownLatitude = corner->latitude;
        }
    }
    m_gridMap->refill(m_prefs.ownLatitude, m_prefs.ownLongitude);
    savePref();
    showTotals();
    if (!loadLog()) {
        return;
    }
    refreshGridDisplay();
}

void MainWindow::newLog() {
    const auto answer = m_ctx.dialogs.input(
        this, QStringLiteral("WARNING - Your existing log file will be ERASED!"),
        QStringLiteral("Are you sure that you want to start a new log file?  This function will ERASE the existing log "
                       "file!\r\n\r\nTo verify that you want to start a new log file, please type: YES"),
        QString());
    if (answer && newLogConfirmed(toLatin1(*answer))) {
        backup();
        m_timeOnTotal = 0.0f;
        m_prefs.timeOnAccumulatedSeconds = 0.0f;
        m_timeOnStart = m_ctx.clock.localNow();
        m_timeOnClock->setText(QStringLiteral("00:00:00"));
        const FileResult erased = m_store.clear();
        if (!erased.ok) {
            m_ctx.dialogs.message(this, QStringLiteral("Unable to write file."),
                                  fromLatin1(m_store.path() + "  " + erased.error), MsgButtons::Ok, MsgIcon::Warning);
        }
        savePref();
    }
    if (loadLog()) {
        rateTick();
    }
}

void MainWindow::backup() {
    const BackupResult result = backupLog(m_store.path(), m_ctx.folders.backupFolder(), m_ctx.clock.localNow(),
                                          m_store.log().qsoCount(), m_store.initialQsoCount());
    (void)result; // a failed backup is silent; the working log is untouched either way
}

// ---------------------------------------------------------------- entry line

bool MainWindow::windowKeyPress(QKeyEvent* key) {
    if (m_replaying) {
        return false; // held keys replayed after a duplicate went through here when typed
    }
    if (key->modifiers() & Qt::ControlModifier) {
        switch (key->key()) {
        case Qt::Key_C:
        case Qt::Key_S:
            m_cw->showSetupWindow();
            return true;
        case Qt::Key_W:
            m_cw->showStringsWindow();
            return true;
        default:
            break;
        }
    }
    return m_cw->handleKeyDown(key) || m_cw->handleKeyPress(key);
}

std::string MainWindow::callText() const {
    return toLatin1(m_call->text());
}

void MainWindow::showMessage(const std::string& text) {
    setDialog(fromLatin1(text));
}

void MainWindow::setMessageBackground(cw::Rgb colour) {
    setDialogBackground(colour.red, colour.green, colour.blue);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == m_call) {
            return callKeyPress(key);
        }
        if (watched == m_grid) {
            return gridKeyPress(key);
        }
        if (watched == m_postTime || watched == m_postDate) {
            return postContestKeyPress(static_cast<QLineEdit*>(watched), key);
        }
    } else if (event->type() == QEvent::FocusIn) {
        if (watched == m_call) {
            m_contactList->hideEditButtons();
        } else if (watched == m_grid && !m_call->text().isEmpty()) {
            dupcheck();
        } else if (watched == m_postDate) {
            if (m_postDate->text().isEmpty()) {
                m_postDate->setText(fromLatin1(formatDateSlash(m_ctx.clock.localNow())));
            }
            QTimer::singleShot(0, m_postDate, &QLineEdit::selectAll);
        } else if (watched == m_postTime) {
            QTimer::singleShot(0, m_postTime, &QLineEdit::selectAll);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::callKeyPress(QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    // After a refused duplicate, keystrokes wait until three seconds have passed; they
    // are kept in order and replayed then, and the window stays live meanwhile.
    if (m_dupeFlag && !m_replaying) {
        const std::int64_t remaining = dupeHoldRemainingMs(m_dupeTimeMs, m_ctx.clock.monotonicMs());
        if (remaining > 0 || !m_heldKeys.empty()) {
            m_heldKeys.push_back(static_cast<QKeyEvent*>(key->clone()));
            if (!m_holdTimer.isActive()) {
                m_holdTimer.start(static_cast<int>(std::max<std::int64_t>(remaining, 0)));
            }
            return true;
        }
        m_dupeFlag = false;
    }

    const char c = typedChar(key);
    if (m_call->text().isEmpty()) {
        setDialog(QString());
    }
    if (c == '"') {
        return true;
    }
    if (m_call->text().size() < 3 && m_timeOnRunning) {
        setDialog(QStringLiteral(" "));
    }
    if (isEnter(key)) {
        mains();
        return true;
    }
    if (c == ' ') {
        m_grid->setFocus();
        return true;
    }
    if (c == 0) {
        return false; // editing keys
    }
    if (c == '\x7f') {
        return true; // not representable in the log file
    }
    const char upper = capital(c);
    const std::string before = toLatin1(m_call->text());
    const PartialCheckResult partial =
        partialCheck(m_store.log(), PartialCheckInput{before, upper, m_partialDupesOn, m_timeOnRunning});
    setDialogBackground(kTeal.red(), kTeal.green(), kTeal.blue());
    setDupeList(fromLatin1(partial.dupeList), partial.dupeListTeal);
    if (partial.dialogText) {
        setDialog(fromLatin1(*partial.dialogText));
    }
    if (partial.beep) {
        m_ctx.dialogs.beep();
    }
    if (upper != c) {
        m_call->insert(QString(QChar::fromLatin1(upper)));
        return true;
    }
    return false;
}

void MainWindow::replayHeldKeys() {
    m_dupeFlag = false;
    m_replaying = true;
    while (!m_heldKeys.empty()) {
        QKeyEvent* key = m_heldKeys.front();
        m_heldKeys.pop_front();
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : m_call;
        QCoreApplication::sendEvent(target, key);
        delete key;
    }
    m_replaying = false;
}

bool MainWindow::gridKeyPress(QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    const char c = typedChar(key);
    if (c == '"' || c == '\x7f') {
        return true;
    }
    if (isEnter(key)) {
        mains();
        return true;
    }
    if (c == ' ') {
        focusNextChild();
        return true;
    }
    if (c >= 'a' && c <= 'z' && m_grid->cursorPosition() < 4) {
        m_grid->insert(QString(QChar::fromLatin1(capital(c))));
        return true;
    }
    return false;
}

bool MainWindow::postContestKeyPress(QLineEdit* field, QKeyEvent* key) {
    if (isEnter(key)) {
        mains();
        return true;
    }
    const char c = typedChar(key);
    if (c == ' ') {
        focusNextChild();
        return true;
    }
    if (c == 0) {
        return false; // backspace and editing keys
    }
    const char separator = field == m_postTime ? ':' : '/';
    return !((c >= '0' && c <= '9') || c == separator);
}

bool MainWindow::dupcheck() {
    m_dupeFlag = false;
    const auto hit = corvane::dupcheck(m_store.log(), toLatin1(m_call->text()));
    if (!hit) {
        return false;
    }
    setDialog(fromLatin1(hit->message));
    setDialogBackground(kRed.red(), kRed.green(), kRed.blue());
    setDupeList(QString(), false);
    m_ctx.dialogs.beep();
    m_dupeFlag = true;
    m_dupeTimeMs = m_ctx.clock.monotonicMs();
    m_call->setFocus();
    m_call->clear();
    m_grid->clear();
    return true;
}

void MainWindow::mains() {
    const CompletenessCheck check = checkCompleteness(toLatin1(m_call->text()), toLatin1(m_grid->text()));
    for (int i = 0; i < check.beeps; ++i) {
        m_ctx.dialogs.beep();
    }
    if (!check.message.empty()) {
        setDialog(fromLatin1(check.message));
    }
    if (check.focus == EntryFocus::Grid) {
        m_grid->setFocus();
    } else if (check.focus == EntryFocus::Call) {
        m_call->setFocus();
    }

    const bool duplicate = dupcheck();

    PostContestStamp stamp;
    if (m_postContestMode) {
        stamp = stampPostContest(toLatin1(m_postDate->text()), toLatin1(m_postTime->text()));
        if (stamp.error == "Invalid date format!") {
            setDialog(fromLatin1(stamp.error));
            m_ctx.dialogs.beep();
            return;
        }
        m_postDate->setText(fromLatin1(stamp.dateText));
        if (!stamp.ok) {
            setDialog(fromLatin1(stamp.error));
            m_ctx.dialogs.beep();
            return;
        }
        m_postTime->setText(fromLatin1(stamp.timeText));
    }

    if (!check.incomplete && !duplicate) {
        ContactEntry entry;
        entry.call = toLatin1(m_call->text());
        entry.grid = toLatin1(m_grid->text());
        entry.kilometers = toLatin1(m_kilometres->text());
        entry.points = toLatin1(m_points->text());
        entry.ownGrid = m_prefs.ownGrid;
        entry.frequency = m_rigFrequencyText;
        const QsoRecord record = buildRecord(entry, utcNow(), m_postContestMode ? &stamp : nullptr);
        const LogStore::AppendResult appended = m_store.append(record);
        if (appended.status != LogStore::AppendStatus::Logged) {
            // Nothing was logged: the fields stay for another try, and memory still
            // mirrors the file.
            m_ctx.dialogs.beep();
            if (appended.status == LogStore::AppendStatus::Full) {
                m_ctx.dialogs.message(this, QStringLiteral("Log Full"),
                                      QStringLiteral("The log holds %1 contacts, the most it can keep. %2 was not "
                                                     "logged.")
                                          .arg(ContactLog::kCapacity)
                                          .arg(fromLatin1(record.call)),
                                      MsgButtons::Ok, MsgIcon::Critical);
            } else {
                m_ctx.dialogs.message(
                    this, QStringLiteral("Contact Not Logged"),
                    QStringLiteral("%1 could not be written to %2:\r\n%3\r\n\r\nThe contact was not "
                                   "logged. Free the disk or fix the file, then press Enter again.")
                        .arg(fromLatin1(record.call), fromLatin1(m_store.path()), fromLatin1(appended.error)),
                    MsgButtons::Ok, MsgIcon::Critical);
            }
            setDialog(QStringLiteral("Contact NOT logged!"));
            setDialogBackground(kRed.red(), kRed.green(), kRed.blue());
            return;
        }
        m_gridMap->markWorked(record.gridR);
        m_contactList->contactLogged();
        if (!m_timeOnRunning) {
            toggleTimeOn();
        }
        m_call->clear();
        m_grid->clear();
        m_call->setFocus();
        setDialog(QString());
        setDialogBackground(kTeal.red(), kTeal.green(), kTeal.blue());
        setDupeList(QString(), false);
    }
    setDupeList(QString(), false);
    showTotals();
    rateTick();
    m_rigFrequencyText.clear();
}

void MainWindow::clearEntry() {
    m_call->clear();
    m_grid->clear();
    setDupeList(QString(), false);
    setDialog(QStringLiteral(" "));
    setDialogBackground(kTeal.red(), kTeal.green(), kTeal.blue());
    m_call->setFocus();
}

void MainWindow::refreshGridDisplay() {
    const GridDisplay display =
        computeGridDisplay(toLatin1(m_grid->text()), m_prefs.ownGrid,
                           GeoPosition{m_prefs.ownLatitude, m_prefs.ownLongitude}, toLatin1(m_points->text()));
    m_bearing->setText(fromLatin1(display.bearing));
    m_kilometres->setText(fromLatin1(display.kilometres));
    setPointsText(fromLatin1(display.points));
}

void MainWindow::setPointsText(const QString& text) {
    m_points->setText(text);
    m_pointsColours = pointsColours(toLatin1(text), m_pointsColours);
    const auto& bg = m_pointsColours.background;
    const auto& fg = m_pointsColours.text;
    paint(m_points, QColor(bg.red, bg.green, bg.blue), QColor(fg.red, fg.green, fg.blue));
}

void MainWindow::showTotals() {
    const ScoreTexts texts = labelDisplay(m_store.log().totalPoints(), m_prefs.powerCategory);
    m_totalPoints->setText(fromLatin1(texts.totalPoints));
    m_totalScore->setText(fromLatin1(texts.totalScore));
}

void MainWindow::rateTick() {
    if (const auto rates = timeStats(m_store.log(), utcNow())) {
        m_rate20->setText(QString::number(rates->perHourLast20));
        m_rate60->setText(QString::number(rates->perHourLast60));
    }
}

void MainWindow::editContact(int recordIndex) {
    runEditFlow(this, m_store, m_ctx.dialogs, recordIndex,
                OwnStation{m_prefs.ownGrid, GeoPosition{m_prefs.ownLatitude, m_prefs.ownLongitude}});
    m_contactList->hideEditButtons();
    loadLog();
    m_call->setFocus();
}

void MainWindow::deleteContact(int recordIndex) {
    const EditFlowResult result = runDeleteFlow(this, m_store, m_ctx.dialogs, recordIndex);
    m_contactList->hideEditButtons();
    if (result.outcome == EditFlowResult::Outcome::Deleted) {
        loadLog();
    }
    m_call->setFocus();
}

void MainWindow::chooseColours() {
    ColourWindow window(m_ctx.dialogs, m_prefs.workedColour, m_prefs.remainingColour, this);
    window.exec();
    m_prefs.workedColour = window.workedColour();
    m_prefs.remainingColour = window.remainingColour();
    m_gridMap->setColours(m_prefs.workedColour, m_prefs.remainingColour);
    savePref();
    loadLog();
}

void MainWindow::copyListedItems() {
    QStringList headers;
    for (const auto& h : ContactListPanel::headers()) {
        headers.push_back(fromLatin1(h));
    }
    QList<QStringList> rows;
    for (const auto& row : m_contactList->rowsAsText()) {
        QStringList cells;
        for (const auto& cell : row) {
            cells.push_back(fromLatin1(cell));
        }
        rows.push_back(cells);
    }
    copyListToClipboard(headers, rows);
}

// ---------------------------------------------------------------- clocks

DateTime MainWindow::utcNow() const {
    return applyUtcOffset(m_ctx.clock.localNow(), m_prefs.utcOffsetHours);
}

void MainWindow::clockTick() {
    const DateTime local = m_ctx.clock.localNow();
    m_utcClock->setText(fromLatin1(formatTimeHms(applyUtcOffset(local, m_prefs.utcOffsetHours))));
    m_localClock->setText(fromLatin1(formatLocalClock(local)));
    const QLocale locale;
    QString mark = local.hour < 12 ? locale.amText() : locale.pmText();
    if (mark.isEmpty()) {
        mark = local.hour < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
    }
    m_amPm->setText(mark);
    if (m_timeOnRunning) {
        m_timeOnTotal = timeOnTotalSeconds(m_timeOnStart, local, m_prefs.timeOnAccumulatedSeconds);
        m_timeOnClock->setText(fromLatin1(formatDuration(m_timeOnTotal)));
    }
}

void MainWindow::toggleTimeOn() {
    if (!m_timeOnRunning) {
        m_timeOnStart = m_ctx.clock.localNow();
        m_timeOnRunning = true;
        m_logOn->setText(QStringLiteral("&Log \"Time Off\""));
        setDialog(QStringLiteral(" "));
    } else {
        m_timeOnRunning = false;
        m_logOn->setText(QStringLiteral("&Log \"Time On\""));
        m_timeOnTotal = timeOnTotalSeconds(m_timeOnStart, m_ctx.clock.localNow(), m_prefs.timeOnAccumulatedSeconds);
        m_prefs.timeOnAccumulatedSeconds = m_timeOnTotal;
        const DateTime utc = utcNow();
        const QDate date(utc.year, utc.month, utc.day);
        setDialog(QStringLiteral("Logged Off at ") + QLocale().toString(date, QLocale::ShortFormat) +
                  QStringLiteral(" ") + fromLatin1(formatTimeHms(utc)));
        savePref();
    }
    m_call->setFocus();
}

// ---------------------------------------------------------------- menus

void MainWindow::togglePostContest() {
    m_postContestMode = !m_postContestMode;
    m_postContestAction->setChecked(m_postContestMode);
    for (QWidget* w : {static_cast<QWidget*>(m_postTime), static_cast<QWidget*>(m_postDate),
                       static_cast<QWidget*>(m_postTimeCaption), static_cast<QWidget*>(m_postDateCaption)}) {
        w->setVisible(m_postContestMode);
    }
}

void MainWindow::askFormSize() {
    const auto answer = m_ctx.dialogs.input(
        this, QStringLiteral("Please enter screen percentage."),
        QStringLiteral("Enter the % of the screen you would like the form to cover.  Try between 90 and 100 for best "
                       "results.  Values below 75 do not display well."),
        QString::number(m_prefs.formSizePercent));
    const auto percent = answer ? formSizeFromAnswer(toLatin1(*answer)) : std::nullopt;
    if (!percent) {
        m_ctx.dialogs.message(this, QStringLiteral("Numeric Values Required"),
                              QStringLiteral("Please enter only numeric values."), MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    m_prefs.formSizePercent = *percent;
    m_ctx.dialogs.message(this, QStringLiteral("For this setting to take effect please restart this program."),
                          QStringLiteral("This program must be closed and restarted for this setting to take effect."),
                          MsgButtons::Ok, MsgIcon::Information);
    savePref();
}

void MainWindow::toggleTaskbar() {
    if (m_prefs.formSizePercent != 100) {
        m_taskbarAction->setChecked(m_prefs.taskbar == 1);
        m_ctx.dialogs.message(this, QStringLiteral("Please set your form size to 100% to use this option."),
                              QStringLiteral("The form size must be set to 100% to use the taskbar display option."),
                              MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    m_prefs.taskbar = m_prefs.taskbar == 0 ? 1 : 0;
    savePref();
    taskbarLayout();
}

void MainWindow::fullScreenLayout() {
    FormScaler::apply(this, planScale(ScaleVariant::MainFullScreen, {}, FormScaler::screenOf(this)));
}

void MainWindow::percentageLayout() {
    const ScreenTwips screen = FormScaler::screenOf(this);
    const ScalePlan full = planScale(ScaleVariant::MainFullScreen, {}, screen);
    ScalePlan plan = planPercentage(m_prefs.formSizePercent, screen);
    plan.controlX *= full.controlX;
    plan.controlY *= full.controlY;
    plan.controlText *= full.controlText;
    FormScaler::apply(this, plan);
}

void MainWindow::taskbarLayout() {
    m_taskbarAction->setChecked(m_prefs.taskbar == 1);
    if (m_prefs.formSizePercent != 100) {
        return;
    }
    const ScreenTwips screen = FormScaler::screenOf(this);
    const ScalePlan full = planScale(ScaleVariant::MainFullScreen, {}, screen);
    ScalePlan plan = planTaskbar(m_prefs.taskbar == 1, full.window, screen);
    plan.controlX *= full.controlX;
    plan.controlY *= full.controlY;
    plan.controlText = full.controlText;
    const bool wasVisible = isVisible();
    hide();
    FormScaler::apply(this, plan);
    if (wasVisible) {
        show();
    }
}

void MainWindow::showHelp() {
    HelpWindow help(m_ctx.workingFile("readCVN.txt"), this);
    help.exec();
}

void MainWindow::exitProgram() {
    if (m_timeOnRunning) {
        m_timeOnTotal = timeOnTotalSeconds(m_timeOnStart, m_ctx.clock.localNow(), m_prefs.timeOnAccumulatedSeconds);
        m_prefs.timeOnAccumulatedSeconds = m_timeOnTotal;
        savePref();
        m_timeOnRunning = false;
    }
    m_ctx.terminate(0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Pending CW is dropped; while a character is on the air the window stays open.
    if (!m_cw->mayClose()) {
        event->ignore();
        return;
    }
    backup();
    event->accept();
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    setDupeList(QString(), false);
    QMainWindow::mouseMoveEvent(event);
}

// ---------------------------------------------------------------- displays

void MainWindow::setDialog(const QString& text) {
    m_dialog->setText(text);
}

void MainWindow::setDialogBackground(int r, int g, int b) {
    paint(m_dialog, QColor(r, g, b));
}

void MainWindow::setDupeList(const QString& text, bool teal) {
    m_dupe->setText(text);
    paint(m_dupe, teal ? kTeal : palette().color(QPalette::Button));
}

} // namespace corvane
