#pragma once
// The entry line of the main window: the call and grid fields (with the post-contest time
// and date), distance, bearing and points as the grid is typed, the message line, the
// possible-duplicates box, the duplicate refusal with its key hold, and Mains, which logs
// the contact. Other subsystems reach it as an EntryHost.

#include "core/EntryHost.h"
#include "core/QsoRecord.h"
#include "log/score/Grid.h"
#include "ui/Feature.h"
#include "ui/FittedLabel.h"

#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace corvane {

class Announcer;

struct AppContext;
class Session;
struct DateTime;

class EntryLine : public QObject, public EntryHost {
    Q_OBJECT
public:
    // The controls are made in `central` at their design places. `timeOnRunning` tells whether
    // the Time On clock runs (the partial check and the message line depend on it).
    EntryLine(AppContext& context, Session& session, QWidget* central, std::function<bool()> timeOnRunning);
    ~EntryLine() override;

    // EntryHost
    std::string callText() const override;
    void setCallText(const std::string& call) override;
    void logContact() override { logEnteredContact(); }
    void clearEntry() override;
    void showMessage(const std::string& text) override;
    void showNews(const std::string& text) override;
    void setMessageBackground(Rgb colour) override;
    void focusEntry() override;
    void showDuplicatesText(const std::string& text, bool white) override;
    void focusCallField() override;
    void leaveCallField() override;

    // Logs the contact in the entry fields (Enter, or the CW log marker).
    void logEnteredContact();
    // Recomputes distance, bearing and points from the grid field and the own station.
    void refreshGridDisplay();
    // Announce::Yes: news the operator must act on, also spoken by a screen reader at once.
    enum class Announce { No, Yes };
    void setMessage(const QString& text, Announce announce = Announce::No);
    // What the screen reader was last asked to speak.
    QString lastAnnouncement() const;
    void setDupeList(const QString& text, bool teal);
    QString dupeListText() const;
    void resetForStart();

    bool postContestMode() const override { return m_postContestMode; }
    // True while keys held after a refused duplicate are being typed again.
    bool replaying() const { return m_replaying; }
    void togglePostContest();

    QLineEdit* callField() const { return m_call; }
    QLineEdit* gridField() const { return m_grid; }
    // The entry field that had the keyboard last (the call field at first).
    QLineEdit* lastEntryField() const;

signals:
    void logged(const QsoRecord& record);
    // After every Mains, logged or not: the totals and rates are shown again.
    void loggingFinished();
    void duplicateRefused();
    void fieldEntered(EntryField field);
    void callChanged(const QString& call);
    // A contact was refused because the own call or grid is not set: the station window is wanted.
    void stationRequired();
    // Post-contest mode was turned on or off.
    void postContestModeChanged(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(QWidget* central);
    bool callKeyPress(QKeyEvent* key);
    bool gridKeyPress(QKeyEvent* key);
    bool postContestKeyPress(QLineEdit* field, QKeyEvent* key);
    void replayHeldKeys();
    bool refuseDuplicate();
    void setPointsText(const QString& text);
    void paintMessageLine(int r, int g, int b);
    void refuseLogging(const QString& title, const QString& text);
    DateTime utcNow() const;

    AppContext& m_ctx;
    Session& m_session;
    std::function<bool()> m_timeOnRunning;

    bool m_postContestMode = false;
    bool m_partialDupesOn = true;
    bool m_dupeFlag = false;
    std::int64_t m_dupeTimeMs = 0;
    std::deque<QKeyEvent*> m_heldKeys;
    bool m_replaying = false;
    PointsColours m_pointsColours;
    // Distance, bearing and points of the grid field as last worked out: what the labels show
    // and what a logged contact takes.
    GridDisplay m_gridDisplay;
    QTimer m_holdTimer;

    QLineEdit* m_call = nullptr;     // txtCall
    QLineEdit* m_grid = nullptr;     // txtSec
    QLineEdit* m_postTime = nullptr; // txtPostConTime
    QLineEdit* m_postDate = nullptr; // txtPostConDate
    QLineEdit* m_lastField = nullptr;
    QLabel* m_postTimeCaption = nullptr;
    QLabel* m_postDateCaption = nullptr;
    QLabel* m_kilometres = nullptr;     // Label24
    QLabel* m_bearing = nullptr;        // Label23
    QLabel* m_points = nullptr;         // Label5
    FittedLabel* m_dialog = nullptr;    // lblDialog
    Announcer* m_announcer = nullptr;   // speaks refusals
    QLabel* m_dupe = nullptr;           // lblDupe
    QPushButton* m_clear = nullptr;     // cmdClear
    QPushButton* m_dupToggle = nullptr; // cmdDup
};

} // namespace corvane
