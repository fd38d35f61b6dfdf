#include "rig/ui/RigLink.h"

#include "core/DurableFile.h"
#include "platform/PortBroker.h"
#include "platform/serial/SerialPort.h"
#include "rig/Pegasus.h"
#include "rig/RigFrequency.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <filesystem>

namespace corvane::rig {

namespace {

constexpr std::string_view kFrequencyErrorTitle = "Error Changing Frequency";
constexpr std::string_view kModeErrorTitle = "Error Changing Mode";

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

qint64 nowMs() {
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.elapsed();
}

RigCommands commandsOf(const RigLinkSettings& settings) {
    return RigCommands{settings.frequencyCommand, settings.modeCommand, settings.convertToHex};
}

} // namespace

RigLink::RigLink(Context context, std::unique_ptr<SerialPort> port)
    : m_ctx(std::move(context)), m_serial(std::move(port)), m_port(m_serial.get()) {
    m_pollTimer.setObjectName(QStringLiteral("tmrGetData"));
    m_pollTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_pollTimer, &QTimer::timeout, this, &RigLink::tick);
    m_stepTimer.setSingleShot(true);
    m_stepTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_stepTimer, &QTimer::timeout, this, &RigLink::runNextStep);
    m_serial->setArrivalHandler([this] { portEvent(); });
    m_network.setArrivalHandler([this] { gather(); });
    connect(&m_network.client(), &RigctldClient::statusChanged, this, &RigLink::statusChanged);
    connect(&m_network.client(), &RigctldClient::connectedChanged, this, [this](bool connected) {
        if (!connected) {
            dropReading(); // what the daemon said last is not what the radio shows now
        }
    });
    m_ctx.broker.join(PortOwner::Rig, [this] { displaced(); });
}

RigLink::~RigLink() {
    shutdown();
    m_serial->setArrivalHandler({});
    m_ctx.broker.leave(PortOwner::Rig);
}

// ---------------------------------------------------------------- the port

bool RigLink::openRigPort() {
    closePort();
    const RigModel* row = model();
    if (row != nullptr && row->transport == Transport::Network) {
        // rigctld over TCP: connecting goes on in the background and is retried by itself.
        m_port = &m_network;
        m_network.setAddress(m_settings.rigctldHost, m_settings.rigctldPort);
        std::string reason;
        if (!m_network.open(&reason)) {
            emit statusChanged(latin1(reason));
            return false;
        }
        return true;
    }
    m_port = m_serial.get();
    m_port->setPortNumber(m_settings.port);
    // Every line setting is applied at each open, handshaking included: a model without
    // RTS/CTS opened after one with it must not wait for a CTS its cable may not carry.
    m_port->setHandshaking(row != nullptr && row->rtsCtsHandshake ? Handshaking::RtsCts : Handshaking::None);
    std::string reason;
    bool opened = m_port->setSettings(m_settings.settingsString());
    if (!opened) {
        reason = "The line settings " + m_settings.settingsString() + " cannot be used.";
    }
    if (opened) {
        m_port->setDtr(false);
        m_port->setRts(false);
        const std::string device = m_port->devicePath();
        opened = !device.empty() && m_ctx.broker.acquire(PortOwner::Rig, device, &reason);
        if (device.empty()) {
            reason = "Port " + std::to_string(m_settings.port) + " has no device.";
        }
        if (opened) {
            opened = m_port->open(&reason);
            if (!opened) {
                m_ctx.broker.released(PortOwner::Rig);
            }
        }
    }
    if (!opened) {
        emit statusChanged(latin1(reason));
        return false; // Test stops polling and reports it
    }
    m_portHeld = true;
    if (m_settings.power == PowerLine::Rts) {
        m_port->setRts(true);
    } else if (m_settings.power == PowerLine::Dtr) {
        m_port->setDtr(true);
    }
    if (row != nullptr && !row->openBytes.empty()) {
        m_port->write(row->openBytes);
    }
    emit statusChanged(QString());
    return true;
}

void RigLink::closePort() {
    if (m_network.isOpen()) {
        m_network.close();
    }
    if (m_serial->isOpen()) {
        m_serial->close();
    }
    if (m_portHeld) {
        m_portHeld = false;
        m_ctx.broker.released(PortOwner::Rig);
    }
}

void RigLink::portEvent() {
    if (m_serial->isOpen()) {
        gather();
        return;
    }
    if (!m_portHeld) {
        return;
    }
    // The device went away under the open port (an unplugged adapter).
    const std::string why = m_serial->failure();
    closePort();
    m_job.reset();
    m_waiting.clear();
    m_stepTimer.stop();
    stopPolling();
    dropReading();
    emit statusChanged(QStringLiteral("The rig port closed: %1. Polling stopped; press Test to start again.")
                           .arg(why.empty() ? QStringLiteral("the device went away") : latin1(why)));
}

bool RigLink::networkModel() const {
    const RigModel* row = model();
    return row != nullptr && row->transport == Transport::Network;
}

bool RigLink::linkUp() const {
    const RigModel* row = model();
    if (row == nullptr) {
        return false;
    }
    switch (row->transport) {
    case Transport::Serial:
        return m_port == m_serial.get() && m_serial->isOpen();
    case Transport::Network:
        return m_network.isOpen() && m_network.connected();
    case Transport::PegasusFile:
        return true;
    case Transport::None:
        break;
    }
    return false;
}

void RigLink::dropReading() {
    m_readPhasesWithoutReading = 0;
    if (!m_haveReading && m_state.frequencyMHz == 0.0F && m_state.mode.empty()) {
        return; // nothing to drop
    }
    m_haveReading = false;
    m_state.frequencyMHz = 0.0F;
    m_state.mode.clear();
    if (m_ctx.dropFrequency) {
        m_ctx.dropFrequency();
    }
    emit readingLost();
}

void RigLink::gather() {
    m_reply += m_port->readAll();
    if (m_reply.size() > kReplyCapBytes) {
        m_reply.erase(0, m_reply.size() - kReplyCapBytes);
    }
}

void RigLink::displaced() {
    // The broker closes no rig port for another owner; should that change, let go cleanly.
    m_job.reset();
    m_waiting.clear();
    m_stepTimer.stop();
    stopPolling();
    closePort();
}

// ---------------------------------------------------------------- Test and polling

bool RigLink::test() {
    const RigModel* row = model();
    if (row == nullptr || row->transport == Transport::None) {
        return false;
    }
    m_state.mode.clear();
    const bool linked = row->transport == Transport::Serial || row->transport == Transport::Network;
    if (linked && !openRigPort()) {
        m_job.reset();
        m_waiting.clear();
        m_stepTimer.stop();
        m_restartAfterJob = false;
        stopPolling();
        if (row->transport == Transport::Serial) {
            emit openFailed(); // rigctld's own status line tells why it cannot connect
        }
        return false;
    }
    if (linked && !m_port->isOpen()) {
        stopPolling();
        return false;
    }
    tick();
    startPolling();
    return true;
}

// A step that failed ends the running change and drops the waiting ones; polling stays
// stopped until the next Test.
void RigLink::abandonChanges(const std::string& title, const std::string& why) {
    const std::string titleCopy = title; // the step that holds it goes with the job
    m_waiting.clear();
    m_job.reset();
    m_restartAfterJob = false;
    emit pollingChanged(false);
    emit changeFailed(latin1(titleCopy), latin1(why));
}

void RigLink::endTest() {
    m_job.reset();
    m_waiting.clear();
    m_stepTimer.stop();
    m_restartAfterJob = false;
    stopPolling();
    closePort();
    m_reply.clear();
    m_lastReply.clear();
}

void RigLink::startPolling() {
    m_pollTimer.start(pollIntervalMs(m_settings.pollRate));
    emit pollingChanged(true);
}

void RigLink::stopPolling() {
    const bool was = m_pollTimer.isActive();
    m_pollTimer.stop();
    if (was) {
        emit pollingChanged(false);
    }
}

void RigLink::tick() {
    if (networkModel() && !linkUp()) {
        // rigctld is not connected (yet): nothing is asked or read, the socket is left alone,
        // and the client's status line says it is waiting for the daemon.
        m_state.awaitingReply = false;
        m_reply.clear();
        dropReading();
        return;
    }
    if (!m_state.awaitingReply) {
        sendPhase();
    } else {
        readPhase();
    }
}

void RigLink::sendPhase() {
    const RigModel* row = model();
    const bool linked = row != nullptr && (row->transport == Transport::Serial || row->transport == Transport::Network);
    if (linked && row->question != nullptr && linkUp() && m_port->outputPending() == 0) {
        const std::string question = row->question(commandsOf(m_settings), m_state);
        if (!question.empty()) {
            m_port->write(question);
        }
    }
    m_state.awaitingReply = true;
}

void RigLink::readPhase() {
    const RigModel* row = model();
    const bool pegasus = row != nullptr && row->transport == Transport::PegasusFile;
    std::string reply;
    if (pegasus) {
        reply = readPegasusFile();
    } else {
        if (linkUp()) {
            gather();
        }
        reply = m_reply;
    }
    bool fresh = false;
    if (row != nullptr && (pegasus || !reply.empty())) {
        DecodeResult result;
        result.status = DecodeStatus::NoDecoder;
        if (row->decode != nullptr) {
            result = row->decode(commandsOf(m_settings), m_state, reply);
        }
        if (result.status == DecodeStatus::NeedMore && !m_keptPartial) {
            // The rest of the reply is still on its way: read it with the next read phase.
            m_keptPartial = true;
            m_state.awaitingReply = false;
            return;
        }
        fresh = result.frequencyMHz.has_value() || result.mode.has_value();
        result.applyTo(m_state);
        if (fresh) {
            m_haveReading = true;
        }
        if (m_settings.modeSource == ModeSource::Frequency) {
            m_state.mode = modeByFrequency(m_state.frequencyMHz, m_state.mode);
        }
        m_lastReply = std::move(reply);
        if (!result.error.empty()) {
            emit statusChanged(latin1(result.error));
        }
        emit replyRead();
        // A radio whose replies cannot be read hands nothing on: no frequency beats a made-up
        // one. A model without a decoder ("Other") hands on what the link holds.
        if (m_settings.useFrequency && m_ctx.handFrequency && (m_haveReading || row->decode == nullptr)) {
            m_ctx.handFrequency(m_state.frequencyMHz);
        }
        if (m_settings.modeSource != ModeSource::DontUse && m_ctx.handMode) {
            m_ctx.handMode(m_state.mode);
        }
    }
    if (fresh) {
        m_readPhasesWithoutReading = 0;
    } else if (++m_readPhasesWithoutReading >= kStaleReadPhases) {
        dropReading(); // the radio has not answered for a while: its last reading is stale
    }
    m_keptPartial = false;
    m_reply.clear();
    m_state.awaitingReply = false;
}

// ---------------------------------------------------------------- the Pegasus files

std::string RigLink::readPegasusFile() const {
    const std::string folder = m_ctx.pegasusFolder ? m_ctx.pegasusFolder() : std::string();
    const auto bytes = readWholeFile(folder + "/" + std::string(kPegasusOutFile));
    return bytes ? *bytes : std::string();
}

bool RigLink::writePegasusFile(const std::string& text, std::string* error) const {
    const std::string folder = m_ctx.pegasusFolder ? m_ctx.pegasusFolder() : std::string();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const FileResult written = replaceAtomically(folder + "/" + std::string(kPegasusInFile), text);
    if (!written.ok && error != nullptr) {
        *error = written.error;
    }
    return written.ok;
}

// ---------------------------------------------------------------- tuning

bool RigLink::changeFrequency(float frequencyMHz) {
    if (!polling() && !busy()) {
        return false;
    }
    auto job = frequencyJob(frequencyMHz);
    if (!job) {
        return false;
    }
    queue(std::move(*job));
    return true;
}

bool RigLink::changeMode(float frequencyMHz, std::string mode) {
    const RigModel* row = model();
    if (row == nullptr || row->transport == Transport::None || (!polling() && !busy())) {
        return false;
    }
    Job job;
    appendModeSteps(job.steps, frequencyMHz, std::move(mode));
    if (job.steps.empty()) {
        return false;
    }
    queue(std::move(job));
    return true;
}

std::optional<RigLink::Job> RigLink::frequencyJob(float frequencyMHz) {
    const RigModel* row = model();
    if (row == nullptr || row->transport == Transport::None) {
        return std::nullopt;
    }
    Job job;
    job.frequency = true;
    job.frequencyMHz = frequencyMHz;
    return job; // the steps are built when the job starts, from the state of that moment
}

void RigLink::appendModeSteps(std::deque<Step>& steps, float frequencyMHz, std::string mode) {
    const RigModel* row = model();
    if (row == nullptr || row->transport == Transport::None) {
        return;
    }
    if (mode.empty() && m_modeFromBandPlan) {
        mode = m_modeFromBandPlan(frequencyMHz);
    }
    if (mode.empty() || row->modeCommandFor == nullptr) {
        return;
    }
    const BuiltCommand built = row->modeCommandFor(commandsOf(m_settings), mode);
    if (built.kind != BuiltCommand::Kind::Bytes || built.command.bytes.empty()) {
        return; // no code for this mode on this radio: nothing is sent
    }
    steps.push_back(Step::waitForSend());
    steps.push_back(Step::pause(kModeCommandPauseMs));
    steps.push_back(Step::send(built.command.bytes, std::string(kModeErrorTitle), mode));
    steps.push_back(Step::waitForSend());
}

void RigLink::queue(Job job) {
    if (job.frequency) {
        // A newer frequency replaces one still waiting: the radio goes where it was last sent.
        for (auto it = m_waiting.begin(); it != m_waiting.end(); ++it) {
            if (it->frequency) {
                *it = std::move(job);
                return;
            }
        }
    }
    m_waiting.push_back(std::move(job));
    if (!m_job) {
        finishJob();
    }
}

// Starts the next waiting job, or lets polling go on when none waits.
void RigLink::finishJob() {
    m_job.reset();
    if (m_waiting.empty()) {
        if (m_restartAfterJob) {
            // Polling goes on where the change paused it; the windows saw no stop.
            m_restartAfterJob = false;
            m_pollTimer.start(pollIntervalMs(m_settings.pollRate));
        }
        return;
    }
    Job job = std::move(m_waiting.front());
    m_waiting.pop_front();
    if (m_pollTimer.isActive()) {
        m_restartAfterJob = true;
        m_pollTimer.stop();
    }
    if (job.frequency) {
        // The radio's talk so far is dropped: what comes next answers this change.
        const RigModel* row = model();
        if (row != nullptr && row->transport != Transport::PegasusFile && linkUp()) {
            m_port->readAll();
        }
        m_reply.clear();
        appendModeSteps(job.steps, job.frequencyMHz, std::string());
        job.steps.push_back(Step::waitForSend());
        const BuiltCommand built = row != nullptr && row->frequency != nullptr
                                       ? row->frequency(commandsOf(m_settings), m_state, job.frequencyMHz)
                                       : BuiltCommand{};
        if (built.kind == BuiltCommand::Kind::Bytes || built.kind == BuiltCommand::Kind::PegasusFile) {
            for (int pause : built.command.pausesMs) {
                job.steps.push_back(Step::pause(pause));
            }
            if (built.kind == BuiltCommand::Kind::Bytes) {
                job.steps.push_back(Step::send(built.command.bytes, std::string(kFrequencyErrorTitle)));
            } else {
                job.steps.push_back(Step::writePegasus(built.pegasusText, std::string(kFrequencyErrorTitle)));
            }
            job.steps.push_back(Step::waitForSend());
        } else if (built.kind == BuiltCommand::Kind::Error) {
            emit statusChanged(latin1(built.error));
        }
    }
    m_job = std::move(job);
    m_waitStartedMs = -1;
    runNextStep();
}

void RigLink::runNextStep() {
    while (m_job && !m_job->steps.empty()) {
        Step& step = m_job->steps.front();
        switch (step.kind) {
        case Step::Kind::WaitForSend: {
            if (m_waitStartedMs < 0) {
                m_waitStartedMs = nowMs();
            }
            const bool drained = !linkUp() || m_port->outputPending() == 0;
            if (!drained && nowMs() - m_waitStartedMs < kWaitForSendMs) {
                m_stepTimer.start(1);
                return;
            }
            m_waitStartedMs = -1;
            break;
        }
        case Step::Kind::Pause:
            if (step.ms > 0) {
                const int ms = step.ms;
                step.ms = 0; // the pause is over when the timer fires
                m_stepTimer.start(ms);
                return;
            }
            break;
        case Step::Kind::Send: {
            const bool sent = m_port->isOpen() && m_port->write(step.bytes);
            if (!sent) {
                std::string why = m_port->isOpen() ? "The rig port refused the command." : "The rig port is not open.";
                if (const std::string failure = m_port->failure(); !failure.empty()) {
                    why = failure;
                }
                if (!step.modeName.empty()) {
                    why += " " + step.modeName;
                    const std::string title = step.errorTitle;
                    m_job->steps.pop_front();
                    emit changeFailed(latin1(title), latin1(why));
                    continue; // a frequency change carries on after a failed mode
                }
                abandonChanges(step.errorTitle, why);
                return;
            }
            break;
        }
        case Step::Kind::WritePegasus: {
            std::string why;
            if (!writePegasusFile(step.bytes, &why)) {
                abandonChanges(step.errorTitle, why);
                return;
            }
            break;
        }
        }
        if (m_job && !m_job->steps.empty()) {
            m_job->steps.pop_front();
        }
    }
    if (m_job) {
        finishJob();
    }
}

void RigLink::sendRaw(const std::string& bytes) {
    if (m_port->isOpen() && !bytes.empty()) {
        m_port->write(bytes);
    }
}

void RigLink::shutdown() {
    if (m_shutDown) {
        return;
    }
    m_shutDown = true;
    const RigModel* row = model();
    const bool wasPolling = m_pollTimer.isActive() || m_job.has_value();
    m_job.reset();
    m_waiting.clear();
    m_stepTimer.stop();
    m_pollTimer.stop();
    if (wasPolling && row != nullptr && !row->closeBytes.empty() && m_port->isOpen()) {
        m_port->write(row->closeBytes);
        m_port->flush(200); // the program is ending: let the last five bytes leave
    }
    closePort();
}

} // namespace corvane::rig
