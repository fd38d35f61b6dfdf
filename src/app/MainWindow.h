#pragma once
// The main window: a shell that holds the log's panels (clocks, entry line, score, contact
// list, grid map), the menus, and the features of the other subsystems (CW keying and what
// follows), routes every key typed in it, and takes the program down on every way out.

#include "core/Tuner.h"
#include "log/Session.h"
#include "log/ui/SessionFrequency.h"
#include "ui/Feature.h"
#include "voice/VoiceSettings.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QKeyEvent;

namespace corvane {

namespace cw {
class ParallelOutput;
}
class PortBroker;
class ClockPanel;
class ContactListPanel;
class EntryLine;
class GridMapPanel;
class LogActions;
class ScorePanel;

using FeatureFactory = std::function<std::vector<std::unique_ptr<Feature>>(FeatureContext&)>;
// The program's features, in the order they see keys (app/Features.cpp).
std::vector<std::unique_ptr<Feature>> makeFeatures(FeatureContext& context);

class MainWindow : public QMainWindow, private KeyRouter, private LogView {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Varkel's Corvane Contest Log 1.2";

    // `features`: how the features are made (tests give the CW keyer an instant clock).
    explicit MainWindow(AppContext& context, QWidget* parent = nullptr, FeatureFactory features = makeFeatures);
    ~MainWindow() override;

    // The second phase of start-up: preferences, UTC check, station window, the log, the
    // voice settings, every feature's load step and the layout. False when a step failed.
    bool load();

    Session& session() { return m_session; }
    const ContactLog& log() const { return m_session.log(); }
    const Preferences& preferences() const { return m_session.prefs(); }
    const VoiceSettings& voiceSettings() const { return m_voiceSettings; }
    bool timeOnRunning() const;
    bool postContestMode() const;
    EntryLine& entryLine() { return *m_entry; }
    // The rig link hands over each polled frequency here.
    void setRigFrequencyText(const std::string& text) { m_session.setRigFrequencyText(text); }
    template <typename T> T* feature() const {
        for (const auto& f : m_features) {
            if (auto* found = dynamic_cast<T*>(f.get())) {
                return found;
            }
        }
        return nullptr;
    }

    // Periodic work, public so tests can drive it without waiting.
    void clockTick();
    void rateTick();
    void stationSetup();

    // Every feature stopped (keyer, key and push-to-talk lines, ports), in reverse order of
    // registration. Safe to call more than once.
    void shutdown();
    // The program is asked to end (SIGTERM, SIGINT): everything is shut down, the log backed
    // up when it changed, and the program ends with `status`.
    void endProgram(int status);

protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    class WindowKeys;
    bool routeKey(QKeyEvent* key) override;
    std::string totalScoreText() const override;
    // What the features keep in cvnpref.txt, over what the file held.
    FeaturePreferences featurePreferences() const;
    void buildMenus();
    void buildFeatures(const FeatureFactory& features);
    void exitProgram();
    // "Error opening default data.", with the file and line that failed (`detail`).
    void startupFailed(const std::string& detail);
    void fullScreenLayout();
    void percentageLayout();
    void taskbarLayout();
    void toggleTaskbar();
    void showHelp();
    void giveFocusBack();

    AppContext& m_ctx;
    Session m_session;
    VoiceSettings m_voiceSettings;
    std::unique_ptr<PortBroker> m_ports;
    std::unique_ptr<cw::ParallelOutput> m_parallel;
    TunerSlot m_tuner;
    SpotWorthSlot m_spotWorth;
    std::unique_ptr<FeatureContext> m_featureContext;
    std::vector<std::unique_ptr<Feature>> m_features;
    std::vector<Feature*> m_keyOrder;
    std::unique_ptr<MenuBarMenus> m_menus;
    SessionFrequency m_polledFrequency{m_session};
    FeaturePreferences m_storedFeaturePrefs; // as cvnpref.txt held them
    std::map<int, std::function<void()>> m_ctrlKeys;
    bool m_shutDown = false;
    bool m_loading = false;
    QTimer m_rateTimer;

    ClockPanel* m_clocks = nullptr;
    EntryLine* m_entry = nullptr;
    ScorePanel* m_score = nullptr;
    GridMapPanel* m_gridMap = nullptr;
    ContactListPanel* m_contactList = nullptr;
    LogActions* m_actions = nullptr;

    QAction* m_postContestAction = nullptr;
    QAction* m_taskbarAction = nullptr;
    QAction* m_listPreviousAction = nullptr;
    QAction* m_cwModeAction = nullptr;
    QAction* m_recordRstAction = nullptr;
};

} // namespace corvane
