#pragma once
// The CAT link to the transceiver: the rig port, the polling timer tmrGetData and the commands
// that tune the radio. Everything runs on the window thread from timers; nothing here sleeps
// or spins an event loop of its own.
//
// Polling alternates two ticks of tmrGetData:
//
//     send phase --(question written, awaitingReply)--> read phase --(decoded or not)--> send phase
//
// Bytes arriving between two read phases are gathered as they come (at most kReplyCapBytes,
// the newest kept), so a radio that never stops talking costs a bounded amount of memory and a
// reply split across reads is put together. A reply the decoder calls incomplete is kept for
// the next read phase.
//
// A frequency or mode change is a job of steps run one after the other on a single-shot
// timer:
//
//     stop polling, drop what came in
//     [mode from the band plan: wait for send, pause 99 ms, mode command, wait for send]
//     wait for send, the model's pauses, frequency command, wait for send
//     polling restarts
//
// "Wait for send" waits until the port's output queue is empty, at most 2000 ms. A change asked
// for while a job runs waits its turn; a newer frequency replaces one still waiting.
//
// A reading is only as good as the link behind it. When the link is lost (the device went
// away, rigctld closed the connection) or kStaleReadPhases read phases in a row bring nothing
// the radio's decoder takes, the frequency and mode are dropped: the main window's pending
// frequency is emptied, so a contact is logged without a frequency rather than with one the
// radio may have left long ago. While rigctld is not connected polling runs on but leaves the
// socket alone.
//
// Failures are signals (openFailed, changeFailed), sent once the link's own state is settled;
// the link never opens a box itself, so ticks, steps and arriving bytes never run inside one.

#include "core/Tuner.h"
#include "platform/serial/SerialPort.h"
#include "rig/RigModels.h"
#include "rig/RigSettings.h"
#include "rig/RigTypes.h"
#include "rig/ui/RigctldPort.h"

#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvane {
class PortBroker;
} // namespace corvane

namespace corvane::rig {

class RigLink final : public QObject, public Tuner {
    Q_OBJECT
public:
    static constexpr std::size_t kReplyCapBytes = 4096;
    // Read phases in a row without a reading after which the last one is dropped.
    static constexpr int kStaleReadPhases = 4;

    struct Context {
        PortBroker& broker;
        // BandFreqConversion and ModeSelection of the main window.
        std::function<void(float)> handFrequency;
        std::function<void(const std::string&)> handMode;
        // Where PEGASUS.OUT and PEGASUS.IN are exchanged.
        std::function<std::string()> pegasusFolder;
        // The reading was dropped: the main window's pending frequency is emptied.
        std::function<void()> dropFrequency;
    };

    RigLink(Context context, std::unique_ptr<SerialPort> port);
    ~RigLink() override;

    RigLinkSettings& settings() { return m_settings; }
    const RigLinkSettings& settings() const { return m_settings; }
    // The "E" rows of the band plan the mode of a frequency comes from.
    void setModeRows(std::function<std::string(float)> modeFromBandPlan) {
        m_modeFromBandPlan = std::move(modeFromBandPlan);
    }

    // Test: opens the port (not for the Pegasus files), runs one tick and starts polling.
    // True when polling runs.
    bool test();
    // End Test: polling stops, the port closes.
    void endTest();
    bool polling() const { return m_pollTimer.isActive(); }
    // Polling runs or only pauses for a change on its way (the tester and the tune panel work).
    bool active() const { return polling() || busy(); }
    // A frequency or mode change is on its way to the radio (polling paused meanwhile).
    bool busy() const { return m_job.has_value(); }
    QTimer& pollTimer() { return m_pollTimer; }
    SerialPort& port() { return *m_port; }
    const PollState& state() const { return m_state; }
    PollState& state() { return m_state; }
    const RigModel* model() const { return findRigModel(m_settings.model); }
    // The last read phase's bytes as received (the unprocessed-data display).
    const std::string& lastReply() const { return m_lastReply; }
    // Whether the radio can be talked to now: the serial port is open, rigctld is connected,
    // or the Pegasus files are used.
    bool linkUp() const;
    // Whether the frequency and mode in state() come from the radio and are current.
    bool haveReading() const { return m_haveReading; }

    // One tick of tmrGetData.
    void tick();

    // ChangeFrequency: nothing unless polling runs.
    bool changeFrequency(float frequencyMHz) override;
    // ChangeMode with no frequency (the tune panel's mode buttons).
    bool changeMode(const std::string& mode) override { return changeMode(0.0F, mode); }
    // ChangeMode(frequency, mode): an empty mode is taken from the band plan for the frequency.
    bool changeMode(float frequencyMHz, std::string mode);
    // The command tester: bytes straight to the port; failures are ignored.
    void sendRaw(const std::string& bytes);

    // The program ends: a polled Yaesu is told to leave CAT mode, the port closes.
    void shutdown();
    // Another owner took the device (not expected for the rig, which is refused instead).
    void displaced();

signals:
    // A read phase decoded (or showed) a reply: refresh the displays.
    void replyRead();
    // Polling started or stopped.
    void pollingChanged(bool polling);
    // A line for the status label ("" clears it).
    void statusChanged(const QString& text);
    // The frequency and mode were dropped (link lost or no reading for a while).
    void readingLost();
    // The rig port could not be opened (Test): polling has stopped and the port is released.
    void openFailed();
    // A frequency or mode command could not be sent; what runs of the change has been settled
    // by then (a failed mode lets the frequency go on, anything else ends the change).
    void changeFailed(const QString& title, const QString& text);

private:
    struct Step {
        enum class Kind { WaitForSend, Pause, Send, WritePegasus };
        Kind kind;
        int ms = 0;
        std::string bytes;
        std::string errorTitle; // Send: the box for a failure; "" ignores failures
        std::string modeName;   // a mode command's failure names the mode

        static Step waitForSend() { return {Kind::WaitForSend, 0, {}, {}, {}}; }
        static Step pause(int ms) { return {Kind::Pause, ms, {}, {}, {}}; }
        static Step send(std::string bytes, std::string errorTitle, std::string modeName = {}) {
            return {Kind::Send, 0, std::move(bytes), std::move(errorTitle), std::move(modeName)};
        }
        static Step writePegasus(std::string text, std::string errorTitle) {
            return {Kind::WritePegasus, 0, std::move(text), std::move(errorTitle), {}};
        }
    };
    struct Job {
        std::deque<Step> steps;
        bool frequency = false;
        float frequencyMHz = 0.0F;
    };

    bool openRigPort();
    void closePort();
    void startPolling();
    void stopPolling();
    void sendPhase();
    void readPhase();
    void gather();
    void portEvent();
    bool networkModel() const;
    void dropReading();
    std::string readPegasusFile() const;
    bool writePegasusFile(const std::string& text, std::string* error) const;

    std::optional<Job> frequencyJob(float frequencyMHz);
    void appendModeSteps(std::deque<Step>& steps, float frequencyMHz, std::string mode);
    void queue(Job job);
    void runNextStep();
    void finishJob();
    void abandonChanges(const std::string& title, const std::string& why);

    Context m_ctx;
    std::unique_ptr<SerialPort> m_serial;
    RigctldPort m_network;
    SerialPort* m_port = nullptr; // the serial port, or the rigctld link for the network model
    RigLinkSettings m_settings;
    PollState m_state;
    std::function<std::string(float)> m_modeFromBandPlan;
    QTimer m_pollTimer;
    QTimer m_stepTimer;
    std::string m_reply;
    std::string m_lastReply;
    std::optional<Job> m_job;
    std::deque<Job> m_waiting;
    qint64 m_waitStartedMs = 0;
    bool m_restartAfterJob = false;
    bool m_keptPartial = false;
    bool m_haveReading = false;
    int m_readPhasesWithoutReading = 0;
    bool m_portHeld = false;
    bool m_shutDown = false;
};

} // namespace corvane::rig
