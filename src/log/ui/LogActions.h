#pragma once
// What the main window's menus and panels do with the log: load it, log on the station,
// start a new log, back it up, edit and delete contacts, colours, the clipboard copy, and
// refresh every display after a change. The main window shell only wires them to menus.

#include "log/station/Preferences.h"

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace corvane {

struct AppContext;
class ClockPanel;
class ContactListPanel;
class EntryLine;
class GridMapPanel;
class ScorePanel;
class Session;
struct QsoRecord;

struct LogPanels {
    EntryLine& entry;
    ClockPanel& clocks;
    ScorePanel& score;
    GridMapPanel& gridMap;
    ContactListPanel& contactList;
};

class LogActions : public QObject {
    Q_OBJECT
public:
    LogActions(AppContext& context, Session& session, LogPanels panels, QWidget* window);

    // Reads log.txt; on a damaged file tells the operator and ends the program (false).
    bool loadLog();
    // Writes cvnpref.txt; false (after a message) when it could not be written. A
    // preferences file that could not be read at start is never overwritten.
    bool savePreferences();
    // The items the other subsystems keep in cvnpref.txt, gathered when it is written.
    void setFeaturePreferences(std::function<FeaturePreferences()> gather) { m_featurePreferences = std::move(gather); }
    void setPrefsDamaged(bool damaged) { m_prefsDamaged = damaged; }
    bool prefsDamaged() const { return m_prefsDamaged; }
    // The station window, then the log is read again.
    void stationSetup();
    // File > New: the typed confirmation, a backup of any contacts, then an empty log.
    void newLog();
    // Backup on close, when the log changed during the run.
    void backup();
    void archive();
    void restore();
    void editContact(int recordIndex);
    void deleteContact(int recordIndex);
    void chooseColours();
    void copyListedItems();
    void utcOffsetCheck();
    void askFormSize();

    // Every display after a contact was logged.
    void contactLogged(const QsoRecord& record);
    void showTotals();
    void rateTick();
    void timeOnStopped();

signals:
    // The log was read again (at start, after an edit, a delete, New, Restore or Station).
    void logReloaded();

private:
    // False, after telling the operator, when the log was not read this run.
    bool requireLoadedLog(const QString& what);

    AppContext& m_ctx;
    Session& m_session;
    LogPanels m_panels;
    QWidget* m_window;
    bool m_prefsDamaged = false;
    std::function<FeaturePreferences()> m_featurePreferences;
};

} // namespace corvane
