#include "history/ui/HistoryFeature.h"

#include "log/Session.h"
#include "platform/Dialogs.h"
#include "ui/AppContext.h"
#include "ui/FormScaler.h"
#include "ui/WidgetText.h"

#include <QAccessible>
#include <QAction>
#include <QMetaObject>

namespace corvane::history {

namespace {

// Violet italics: a grid the history suggests, not one that was received.
const QColor kHintColour(112, 0, 160);
constexpr const char* kHintDescription =
    "The grid the call history knows for the call being typed, with its distance and points. It comes from the "
    "history and was not received: log the grid the station sends.";

bool isLogFileName(const std::string& path) {
    const QString name = QString::fromStdString(path).section(QLatin1Char('/'), -1);
    return name.endsWith(QStringLiteral(".log"), Qt::CaseInsensitive) ||
           name.compare(QStringLiteral("log.txt"), Qt::CaseInsensitive) == 0;
}

} // namespace

HistoryFeature::HistoryFeature(FeatureContext& context) : m_ctx(context) {
    if (m_ctx.centralArea != nullptr) {
        m_caption = makeLabel(m_ctx.centralArea, "lblHistoryCaption", QStringLiteral("From history"),
                              {6920, 800, 2560, 240}, 8.25);
        m_hint = makeLabel(m_ctx.centralArea, "lblHistory", QString(), {6920, 1040, 2560, 480}, 8.25, true);
        QFont font = m_hint->font();
        font.setItalic(true);
        m_hint->setFont(font);
        paint(m_hint, m_hint->palette().color(QPalette::Window), kHintColour);
        m_hint->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_hint->setAccessibleName(QStringLiteral("From call history, not received"));
        m_hint->setAccessibleDescription(QString::fromLatin1(kHintDescription));
        m_hint->setToolTip(QString::fromLatin1(kHintDescription));
        placeHint();
    }
    if (m_ctx.spotWorth != nullptr) {
        m_ctx.spotWorth->attach(&m_worth);
    }
}

HistoryFeature::~HistoryFeature() {
    shutdown();
    if (m_ctx.spotWorth != nullptr) {
        m_ctx.spotWorth->attach(nullptr);
    }
}

void HistoryFeature::addMenus(MainMenus& menus) {
    // After Restore, with the other log files.
    m_loadAction = &menus.add(MenuPlace::FileLog, QStringLiteral("Load Call &History..."), "mnuLoadCallHistory", this,
                              [this] { chooseAndLoad(); });
}

void HistoryFeature::entryModeChanged() {
    placeHint();
}

void HistoryFeature::placeHint() {
    // The post-contest time and date take this place while they are shown.
    const bool room = !m_ctx.entry.postContestMode();
    if (m_caption) {
        m_caption->setVisible(room);
    }
    if (m_hint) {
        m_hint->setVisible(room);
    }
}

void HistoryFeature::refreshStation() {
    const Preferences& prefs = m_ctx.session.prefs();
    m_worth.setStation(prefs.ownGrid, GeoPosition{prefs.ownLatitude, prefs.ownLongitude});
    m_worth.setLog(m_ctx.session.log().records());
}

bool HistoryFeature::load() {
    refreshStation();
    HistorySources sources;
    sources.historyFile = findCallHistoryFile(m_ctx.app.workingDirectory, m_ctx.app.folders.userDataFolder);
    if (!m_ctx.app.folders.userDataFolder.empty()) {
        sources.backupFolder = m_ctx.app.folders.backupFolder();
    }
    start(std::move(sources), false);
    return true; // a missing or damaged history never stops the logger
}

void HistoryFeature::chooseAndLoad() {
    const auto path = m_ctx.app.dialogs.openFile(
        m_ctx.mainWindow, QString::fromLatin1(kLoadTitle), QString::fromStdString(m_ctx.app.workingDirectory),
        QStringLiteral("Call history, logs and ADIF (*.txt *.log *.adi *.adif);;All files (*)"));
    if (!path || path->isEmpty()) {
        return;
    }
    loadFile(path->toStdString());
}

void HistoryFeature::loadFile(const std::string& path) {
    HistorySources sources;
    if (isAdifFileName(path)) {
        sources.adifFiles.push_back(path);
    } else if (isLogFileName(path)) {
        sources.logFiles.push_back(path);
    } else {
        sources.historyFile = path;
    }
    start(std::move(sources), true);
}

void HistoryFeature::start(HistorySources sources, bool chosen) {
    if (m_reader.joinable()) {
        m_ctx.app.dialogs.message(m_ctx.mainWindow, QString::fromLatin1(kLoadTitle),
                                  QStringLiteral("The call history is still being read. Try again when it is loaded."),
                                  MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    if (m_loadAction != nullptr) {
        m_loadAction->setEnabled(false);
    }
    QPointer<HistoryFeature> self(this);
    std::shared_ptr<const CallHistory> base = m_worth.sharedHistory();
    m_reader = std::thread([self, sources = std::move(sources), base = std::move(base), chosen] {
        auto load = std::make_shared<HistoryLoad>(loadHistory(sources));
        std::shared_ptr<CallHistory> merged;
        if (base) {
            // What was loaded before stays; the new file's grids join it, the newest winning.
            merged = std::make_shared<CallHistory>(*base);
            merged->add(load->history.sorted());
        } else {
            merged = std::make_shared<CallHistory>(std::move(load->history));
            load->history = CallHistory();
        }
        // Handed to the window thread; a feature gone by then joined this thread first.
        QMetaObject::invokeMethod(
            self.data(),
            [self, merged, load, chosen] {
                if (self) {
                    self->arrived(merged, *load, chosen);
                }
            },
            Qt::QueuedConnection);
    });
}

void HistoryFeature::arrived(std::shared_ptr<const CallHistory> history, const HistoryLoad& load, bool chosen) {
    if (m_reader.joinable()) {
        m_reader.join();
    }
    if (m_loadAction != nullptr) {
        m_loadAction->setEnabled(true);
    }
    m_worth.setHistory(std::move(history));
    m_lastLoadText = describeLoad(load, m_worth.history()->size());
    if (m_caption) {
        m_caption->setToolTip(QStringLiteral("Call history: %1").arg(QString::fromStdString(m_lastLoadText)));
    }
    std::string problems;
    for (const std::string& problem : load.problems) {
        problems += "\r\n" + problem;
    }
    if (chosen) {
        m_ctx.app.dialogs.message(
            m_ctx.mainWindow, QString::fromLatin1(kLoadTitle),
            QString::fromStdString("Read " + m_lastLoadText + "." +
                                   (problems.empty() ? std::string() : "\r\n\r\nNot read:" + problems)),
            MsgButtons::Ok, load.problems.empty() ? MsgIcon::Information : MsgIcon::Warning);
    } else if (!load.problems.empty() || load.skippedLines > 0 || load.skippedRecords > 0) {
        // Told without stopping anything: the logger works with whatever was read.
        m_ctx.entry.showMessage("Call history: " + (load.problems.empty() ? m_lastLoadText : load.problems.front()));
    }
    if (m_ctx.spotWorth != nullptr) {
        m_ctx.spotWorth->changed();
    }
    showHint(m_ctx.entry.callText());
    emit loaded();
}

void HistoryFeature::callTextChanged(const std::string& call) {
    showHint(call);
}

void HistoryFeature::showHint(const std::string& call) {
    if (!m_hint) {
        return;
    }
    const auto figures = call.size() >= 3 ? m_worth.figures(call) : std::nullopt;
    if (!figures) {
        m_hint->clear();
        m_hint->setAccessibleName(QStringLiteral("From call history, not received"));
        return;
    }
    QString line2;
    if (!figures->kilometres.empty()) {
        line2 = QString::fromStdString(figures->kilometres) + QStringLiteral(" km");
    }
    if (!figures->points.empty()) {
        line2 += (line2.isEmpty() ? QString() : QStringLiteral("  ")) + QString::fromStdString(figures->points) +
                 (figures->points == "1" ? QStringLiteral(" pt") : QStringLiteral(" pts"));
    }
    const QString grid = QString::fromStdString(figures->grid);
    m_hint->setText(
        QStringLiteral("%1%2\n%3").arg(grid, figures->portable ? QStringLiteral(" (base call)") : QString(), line2));
    const QString spoken =
        QStringLiteral("From call history, not received: grid %1, %2 kilometers, %3 points")
            .arg(grid, QString::fromStdString(figures->kilometres), QString::fromStdString(figures->points));
    if (m_hint->accessibleName() != spoken) {
        m_hint->setAccessibleName(spoken);
        if (QAccessible::isActive()) {
            QAccessibleEvent event(m_hint, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
        }
    }
}

void HistoryFeature::contactLogged(const QsoRecord& record) {
    // What was known before this contact joined the log's own grids.
    const HistoryEntry* known = m_worth.known(record.call);
    const std::optional<HistoryEntry> before = known != nullptr ? std::optional<HistoryEntry>(*known) : std::nullopt;
    m_worth.addLogged(record);
    if (const auto message = HistoryWorth::mismatchMessage(record, before ? &*before : nullptr)) {
        m_ctx.entry.showNews(*message);
    }
    if (m_ctx.spotWorth != nullptr) {
        m_ctx.spotWorth->changed();
    }
    showHint(m_ctx.entry.callText());
}

void HistoryFeature::logReloaded() {
    refreshStation();
    if (m_ctx.spotWorth != nullptr) {
        m_ctx.spotWorth->changed();
    }
    showHint(m_ctx.entry.callText());
}

void HistoryFeature::shutdown() {
    if (m_reader.joinable()) {
        m_reader.join();
    }
}

} // namespace corvane::history
