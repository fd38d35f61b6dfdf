#pragma once
// The main window: the hub of the program. It owns the log, the station settings, the
// entry line, the clocks and the score displays, and opens every other window.

#include "cw/CwHost.h"
#include "cw/CwSettings.h"
#include "ui/AppContext.h"
#include "core/DateTime.h"
#include "log/LogStore.h"
#include "log/score/Grid.h"
#include "log/station/Preferences.h"
#include "voice/VoiceSettings.h"

#include <QMainWindow>
#include <QTimer>
#include <deque>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QKeyEvent;

namespace corvane {

class ContactListPanel;
class GridMapPanel;
namespace cw {
class CwController;
}

class MainWindow : public QMainWindow, public cw::CwHost {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Varkel's Corvane Contest Log 1.2";

    explicit MainWindow(AppContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The second phase of start-up: preferences, UTC check, station window, the log
    // question, the voice and CW settings and the layout. False when it stopped early.
    bool load();

    // Logs the contact in the entry fields (Enter, or the CW log marker).
    void mains();
    void clearEntry() override;

    // What the CW keying asks of the main window.
    std::string callText() const override;
    void logContact() override { mains(); }
    void showMessage(const std::string& text) override;
    void setMessageBackground(cw::Rgb colour) override;
    cw::CwController& cw() { return *m_cw; }

    const ContactLog& log() const { return m_store.log(); }
    const Preferences& preferences() const { return m_prefs; }
    const VoiceSettings& voiceSettings() const { return m_voiceSettings; }
    const cw::CwSettingsReadResult& cwSettings() const { return m_cwSettings; }
    bool timeOnRunning() const { return m_timeOnRunning; }
    bool postContestMode() const { return m_postContestMode; }
    // The rig link hands over each polled frequency here.
    void setRigFrequencyText(const std::string& text) { m_rigFrequencyText = text; }

    // Periodic work, public so tests can drive it without waiting.
    void clockTick();
    void rateTick();

    // Reads log.txt; on a damaged file tells the operator and ends the program.
    bool loadLog();
    bool savePref();
    void stationSetup();
    void newLog();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    class WindowKeys;
    bool windowKeyPress(QKeyEvent* key);
    void buildControls();
    void buildMenus();
    void fullScreenLayout();
    void percentageLayout();
    void taskbarLayout();
    void startupFailed();

    bool callKeyPress(QKeyEvent* key);
    bool gridKeyPress(QKeyEvent* key);
    bool postContestKeyPress(QLineEdit* field, QKeyEvent* key);
    void replayHeldKeys();
    bool dupcheck();
    void refreshGridDisplay();
    void setPointsText(const QString& text);
    void showTotals();
    void toggleTimeOn();
    void togglePostContest();
    void toggleTaskbar();
    void askFormSize();
    void showHelp();
    void exitProgram();
    void backup();
    void utcOffsetCheck();
    void editContact(int recordIndex);
    void deleteContact(int recordIndex);
    void chooseColours();
    void copyListedItems();

    void setDialog(const QString& text);
    void setDialogBackground(int r, int g, int b);
    void setDupeList(const QString& text, bool teal);
    DateTime utcNow() const;

    AppContext& m_ctx;
    LogStore m_store;
    Preferences m_prefs;
    VoiceSettings m_voiceSettings;
    cw::CwSettingsReadResult m_cwSettings;

    // Time On clock
    bool m_timeOnRunning = false;
    DateTime m_timeOnStart;
    float m_timeOnTotal = 0.0f;

    bool m_postContestMode = false;
    bool m_partialDupesOn = true;
    bool m_dupeFlag = false;
    std::int64_t m_dupeTimeMs = 0;
    std::deque<QKeyEvent*> m_heldKeys;
    bool m_replaying = false;
    std::string m_rigFrequencyText;
    PointsColours m_pointsColours;
    bool m_loading = false;

    QTimer m_clockTimer;
    QTimer m_rateTimer;
    QTimer m_holdTimer;

    QLabel* m_ownCall = nullptr;     // Label2
    QLabel* m_ownGrid = nullptr;     // Label4
    QLabel* m_utcClock = nullptr;    // lblutctime
    QLabel* m_localClock = nullptr;  // lblCurTime
    QLabel* m_amPm = nullptr;        // Label16
    QPushButton* m_logOn = nullptr;  // cmdLogOn
    QLabel* m_timeOnClock = nullptr; // lblttrack
    QLineEdit* m_call = nullptr;     // txtCall
    QLineEdit* m_grid = nullptr;     // txtSec
    QLineEdit* m_postTime = nullptr; // txtPostConTime
    QLineEdit* m_postDate = nullptr; // txtPostConDate
    QLabel* m_postTimeCaption = nullptr;
    QLabel* m_postDateCaption = nullptr;
    QLabel* m_kilometres = nullptr;     // Label24
    QLabel* m_bearing = nullptr;        // Label23
    QLabel* m_points = nullptr;         // Label5
    QLabel* m_dialog = nullptr;         // lblDialog
    QLabel* m_dupe = nullptr;           // lblDupe
    QPushButton* m_clear = nullptr;     // cmdClear
    QPushButton* m_dupToggle = nullptr; // cmdDup
    QLabel* m_totalPoints = nullptr;    // lblTotSec
    QLabel* m_totalScore = nullptr;     // lblTotScore
    QLabel* m_rate20 = nullptr;         // lblAQSO20
    QLabel* m_rate60 = nullptr;         // lblAQSO60
    GridMapPanel* m_gridMap = nullptr;
    ContactListPanel* m_contactList = nullptr;
    std::unique_ptr<cw::CwController> m_cw;

    QAction* m_postContestAction = nullptr;
    QAction* m_taskbarAction = nullptr;
    QAction* m_listPreviousAction = nullptr;
    QAction* m_cwModeAction = nullptr;
    QAction* m_recordRstAction = nullptr;
};

} // namespace corvane
