#include "log/ui/LogActions.h"

#include "core/Clock.h"
#include "core/DurableFile.h"
#include "core/NumberText.h"
#include "export/ui/ExportActions.h"
#include "log/Entry.h"
#include "log/Session.h"
#include "log/score/Backup.h"
#include "log/station/UtcOffset.h"
#include "log/ui/ClockPanel.h"
#include "log/ui/ColourWindow.h"
#include "log/ui/ContactListPanel.h"
#include "log/ui/EditContactWindow.h"
#include "log/ui/EntryLine.h"
#include "log/ui/GridMapPanel.h"
#include "log/ui/LogFileMenu.h"
#include "log/ui/ScorePanel.h"
#include "log/ui/StationWindow.h"
#include "platform/Dialogs.h"
#include "ui/AppContext.h"
#include "ui/ModalWindows.h"
#include "ui/WidgetText.h"

#include <QClipboard>
#include <QDate>
#include <QGuiApplication>
#include <QLocale>

namespace corvane {

LogActions::LogActions(AppContext& context, Session& session, LogPanels panels, QWidget* window)
    : QObject(window), m_ctx(context), m_session(session), m_panels(panels), m_window(window) {}

bool LogActions::requireLoadedLog(const QString& what) {
    if (m_session.logLoaded()) {
        return true;
    }
    m_ctx.dialogs.beep();
    m_ctx.dialogs.message(m_window, QStringLiteral("Log Not Loaded"),
                          QStringLiteral("%1 is not possible: the log %2 was not read at start-up, so the program "
                                         "does not hold its contacts. Fix or restore the log, then start the "
                                         "program again.")
                              .arg(what, fromLatin1(m_session.store().path())),
                          MsgButtons::Ok, MsgIcon::Critical);
    return false;
}

bool LogActions::loadLog() {
    const LogParseResult result = m_session.loadLog();
    if (!result.ok && result.errorLine == 0) {
        // Not a fault in the contacts: the system refused the file (its permissions, a folder
        // in its place ...). Say what it said.
        m_ctx.dialogs.message(m_window, QStringLiteral("File Error"),
                              QStringLiteral("Error opening file.  %1: %2.  Close this program, make the log readable "
                                             "(or restore it from a backup), and start the program again.")
                                  .arg(fromLatin1(m_session.store().path()), fromLatin1(result.problem)),
                              MsgButtons::Ok, MsgIcon::Critical);
        m_ctx.terminate(1);
        return false;
    }
    if (!result.ok) {
        m_ctx.dialogs.message(
            m_window, QStringLiteral("File Error"),
            QStringLiteral("Error opening file.  This error is annoying but probably correctable.  In all likelihood, "
                           "a character such as a quote got into your data or one of your entries has an invalid "
                           "date/time format.  Close this program and open log.txt in the program's working directory "
                           "with a text editor such as notepad.  Inspect the data and fix any errors you see (remove "
                           "any extra quotes and make sure your date and time entries are valid)."),
            MsgButtons::Ok, MsgIcon::Critical);
        m_ctx.terminate(1);
        return false;
    }
    m_panels.gridMap.repaintWorked(m_session.log());
    m_panels.contactList.rebuild();
    rateTick();
    showTotals();
    emit logReloaded();
    return true;
}

bool LogActions::savePreferences() {
    if (m_prefsDamaged) {
        return false; // the operator's damaged file stays as it is, to be mended by hand
    }
    const std::string path = m_session.workingFile("cvnpref.txt");
    const FeaturePreferences features = m_featurePreferences ? m_featurePreferences() : FeaturePreferences{};
    const FileResult written = replaceAtomically(path, formatPreferences(m_session.prefs(), features));
    if (!written.ok) {
        m_ctx.dialogs.message(m_window, QStringLiteral("Unable to write file."),
                              fromLatin1(path + "  " + written.error), MsgButtons::Ok, MsgIcon::Warning);
    }
    return written.ok;
}

void LogActions::stationSetup() {
    Preferences& prefs = m_session.prefs();
    StationValues current;
    current.call = fromLatin1(prefs.ownCall);
    current.grid = fromLatin1(prefs.ownGrid);
    current.offsetText = fromLatin1(formatSingle(prefs.utcOffsetHours));
    current.powerCategory = prefs.powerCategory;
    StationWindow window(m_ctx.dialogs, m_ctx.sharedPrefs, current, m_window);
    runModal(m_ctx, window);
    const StationValues chosen = window.values();

    prefs.ownCall = toLatin1(chosen.call);
    prefs.ownGrid = toLatin1(chosen.grid.trimmed());
    if (const auto offset = parseNumber(toLatin1(chosen.offsetText))) {
        prefs.utcOffsetHours = static_cast<float>(*offset);
    }
    prefs.powerCategory = chosen.powerCategory;
    m_panels.clocks.showStation();
    if (!prefs.ownGrid.empty()) {
        if (const auto corner = gridCorner(prefs.ownGrid)) {
            prefs.ownLongitude = corner->longitudeWest;
            prefs.ownLatitude = corner->latitude;
        }
    }
    m_panels.gridMap.refill(prefs.ownLatitude, prefs.ownLongitude);
    savePreferences();
    showTotals();
    if (!loadLog()) {
        return;
    }
    m_panels.entry.refreshGridDisplay();
}

void LogActions::newLog() {
    const auto answer = m_ctx.dialogs.input(m_window, QString::fromLatin1(kNewLogTitle.data()),
                                            QString::fromLatin1(kNewLogPrompt.data()), QString());
    if (answer && newLogConfirmed(toLatin1(*answer))) {
        if (!requireLoadedLog(QStringLiteral("Starting a new log"))) {
            return;
        }
        // Contacts are never erased without a copy, whether or not they changed this run.
        if (m_session.log().qsoCount() > 0) {
            const BackupResult copy =
                backupLogNow(m_session.store().path(), m_ctx.folders.backupFolder(), m_ctx.clock.localNow());
            if (copy.status == BackupResult::Status::Failed) {
                m_ctx.dialogs.message(m_window, QStringLiteral("Log Not Erased"),
                                      QStringLiteral("The log was not erased: its backup could not be written to "
                                                     "%1:\r\n%2")
                                          .arg(fromLatin1(m_ctx.folders.backupFolder()), fromLatin1(copy.error)),
                                      MsgButtons::Ok, MsgIcon::Critical);
                return;
            }
        }
        m_panels.clocks.resetTimeOn();
        const FileResult erased = m_session.store().clear();
        if (!erased.ok) {
            m_ctx.dialogs.message(m_window, QStringLiteral("Unable to write file."),
                                  fromLatin1(m_session.store().path() + "  " + erased.error), MsgButtons::Ok,
                                  MsgIcon::Warning);
        }
        savePreferences();
    }
    if (loadLog()) {
        rateTick();
    }
}

void LogActions::backup() {
    if (!m_session.logLoaded()) {
        return;
    }
    const BackupResult result =
        backupLog(m_session.store().path(), m_ctx.folders.backupFolder(), m_ctx.clock.localNow(),
                  m_session.log().qsoCount(), m_session.store().initialQsoCount());
    (void)result; // a failed backup is silent; the working log is untouched either way
}

void LogActions::archive() {
    archiveCurrentLog(m_window, m_ctx.dialogs, m_ctx.folders, m_session.store().path(), m_session.prefs().ownCall,
                      m_ctx.clock.localNow());
}

void LogActions::restore() {
    if (!requireLoadedLog(QStringLiteral("Restoring a log"))) {
        return;
    }
    if (restoreFromArchive(m_window, m_ctx.dialogs, m_ctx.folders, m_session.store().path(), m_ctx.clock.localNow(),
                           m_session.log().qsoCount()) == RestoreOutcome::Restored) {
        loadLog();
    }
}

void LogActions::editContact(int recordIndex) {
    if (requireLoadedLog(QStringLiteral("Editing a contact"))) {
        const Preferences& prefs = m_session.prefs();
        runEditFlow(m_window, m_session.store(), m_ctx.dialogs, recordIndex,
                    OwnStation{prefs.ownGrid, GeoPosition{prefs.ownLatitude, prefs.ownLongitude}});
        m_panels.contactList.hideEditButtons();
        loadLog();
    }
    m_panels.entry.focusEntry();
}

void LogActions::deleteContact(int recordIndex) {
    if (requireLoadedLog(QStringLiteral("Deleting a contact"))) {
        const EditFlowResult result = runDeleteFlow(m_window, m_session.store(), m_ctx.dialogs, recordIndex);
        m_panels.contactList.hideEditButtons();
        if (result.outcome == EditFlowResult::Outcome::Deleted) {
            loadLog();
        }
    }
    m_panels.entry.focusEntry();
}

void LogActions::chooseColours() {
    Preferences& prefs = m_session.prefs();
    ColourWindow window(m_ctx.dialogs, prefs.workedColour, prefs.remainingColour, m_window);
    runModal(m_ctx, window);
    prefs.workedColour = window.workedColour();
    prefs.remainingColour = window.remainingColour();
    m_panels.gridMap.setColours(prefs.workedColour, prefs.remainingColour);
    savePreferences();
    loadLog();
}

void LogActions::copyListedItems() {
    QStringList headers;
    for (const auto& h : ContactListPanel::headers()) {
        headers.push_back(fromLatin1(h));
    }
    QList<QStringList> rows;
    for (const auto& row : m_panels.contactList.rowsAsText()) {
        QStringList cells;
        for (const auto& cell : row) {
            cells.push_back(fromLatin1(cell));
        }
        rows.push_back(cells);
    }
    copyListToClipboard(headers, rows);
}

void LogActions::utcOffsetCheck() {
    Preferences& prefs = m_session.prefs();
    const float before = prefs.utcOffsetHours;
    const auto question = utcOffsetQuestion(prefs.utcOffsetHours, m_ctx.clock.utcNow(), m_ctx.clock.localNow());
    if (!question) {
        return;
    }
    const auto answer = m_ctx.dialogs.input(m_window, fromLatin1(question->title), fromLatin1(question->prompt),
                                            fromLatin1(question->defaultAnswer));
    if (!answer) {
        return;
    }
    const auto value = parseNumber(toLatin1(*answer));
    if (!value) {
        return;
    }
    prefs.utcOffsetHours = static_cast<float>(*value);
    if (!savePreferences()) {
        prefs.utcOffsetHours = before;
    }
}

void LogActions::askFormSize() {
    Preferences& prefs = m_session.prefs();
    const auto answer = m_ctx.dialogs.input(
        m_window, QStringLiteral("Please enter screen percentage."),
        QStringLiteral("Enter the % of the screen you would like the form to cover.  Try between 90 and 100 for best "
                       "results.  Values below 75 do not display well."),
        QString::number(prefs.formSizePercent));
    const auto percent = answer ? formSizeFromAnswer(toLatin1(*answer)) : std::nullopt;
    if (!percent) {
        m_ctx.dialogs.message(m_window, QStringLiteral("Numeric Values Required"),
                              QStringLiteral("Please enter only numeric values."), MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    prefs.formSizePercent = *percent;
    m_ctx.dialogs.message(m_window, QStringLiteral("For this setting to take effect please restart this program."),
                          QStringLiteral("This program must be closed and restarted for this setting to take effect."),
                          MsgButtons::Ok, MsgIcon::Information);
    savePreferences();
}

void LogActions::contactLogged(const QsoRecord& record) {
    m_panels.gridMap.markWorked(record.gridR);
    m_panels.contactList.contactLogged();
    if (!m_panels.clocks.timeOnRunning()) {
        m_panels.clocks.toggleTimeOn();
    }
}

void LogActions::showTotals() {
    m_panels.score.showTotals(m_session.log(), m_session.prefs().powerCategory);
}

void LogActions::rateTick() {
    m_panels.score.showRates(m_session.log(), applyUtcOffset(m_ctx.clock.localNow(), m_session.prefs().utcOffsetHours));
}

void LogActions::timeOnStopped() {
    const DateTime utc = applyUtcOffset(m_ctx.clock.localNow(), m_session.prefs().utcOffsetHours);
    const QDate date(utc.year, utc.month, utc.day);
    m_panels.entry.setMessage(QStringLiteral("Logged Off at ") + QLocale().toString(date, QLocale::ShortFormat) +
                              QStringLiteral(" ") + fromLatin1(formatTimeHms(utc)));
    savePreferences();
}

} // namespace corvane
