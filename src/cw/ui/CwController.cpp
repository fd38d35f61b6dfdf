#include "cw/ui/CwController.h"

#include "core/DurableFile.h"
#include "core/NumberText.h"
#include "core/SettingsStore.h"
#include "cw/ui/CwSetupWindow.h"
#include "cw/ui/CwStringsWindow.h"
#include "cw/winkey/ui/WinKeyerService.h"
#include "platform/Dialogs.h"
#include "platform/serial/SerialSettings.h"
#include "ui/AppContext.h"
#include "ui/NoticeBoxes.h"

#include <QKeyEvent>
#include <QWidget>

namespace corvane::cw {

namespace {
constexpr const char* kMethodKey = "UserCWSelection";
constexpr const char* kLoopOffsetKey = "UserCWLoopOffset";
} // namespace

// Hands characters from the send controller to the keyer thread, opening the serial keying
// port first when RTS or DTR is selected and it is closed, and the parallel device when
// "Printer" is selected and it is not open for the address.
class CwController::KeyerPort final : public CharacterKeyer {
public:
    explicit KeyerPort(CwController& owner) : m_owner(owner) {}
    void setTiming(const KeyTiming& timing) override {
        if (m_owner.m_keyer) {
            m_owner.m_keyer->setTiming(timing);
        }
    }
    void transmit(char character) override {
        const KeyingOption option = m_owner.keyingOption();
        if ((option == KeyingOption::Rts || option == KeyingOption::Dtr) && !m_owner.m_serial.isOpen() &&
            !m_owner.m_setupFailedThisLoop) {
            if (m_owner.cwSetup() == KeyingPortResult::Invalid) {
                m_owner.m_setupFailedThisLoop = true; // one box per sending, not one per character
            }
        }
        m_owner.m_line.setOption(option);
        if (option == KeyingOption::Printer && !m_owner.m_setupFailedThisLoop && !m_owner.m_line.prepare()) {
            m_owner.m_setupFailedThisLoop = true; // tried once per sending; the characters fail quietly
        }
        if (!m_owner.m_keyer->transmit(character)) {
            QMetaObject::invokeMethod(
                &m_owner,
                [o = &m_owner] {
                    o->characterDone(CharacterOutcome::LineFailed);
                    o->lineQuiet();
                },
                Qt::QueuedConnection);
        }
    }
    std::string lineFailure() const override { return m_owner.m_line.failure(); }

private:
    CwController& m_owner;
};

class CwController::Timer final : public RepeatTimer {
public:
    explicit Timer(CwController& owner) {
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer); // a coarse timer may end the pause up to 5 % early
        QObject::connect(&m_timer, &QTimer::timeout, &owner, [&owner] { owner.m_send.repeatTimerFired(); });
    }
    void start(int intervalMs) override { m_timer.start(intervalMs); }
    void stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
};

CwController::CwController(CwHost& host, AppContext& context, QWidget* mainWindow, PortBroker* broker,
                           const CwDevices& devices)
    : m_host(host), m_ctx(context), m_mainWindow(mainWindow),
      m_ownBroker(broker == nullptr ? std::make_unique<PortBroker>() : nullptr),
      m_broker(broker == nullptr ? m_ownBroker.get() : broker),
      m_ownSerial([store = &context.settings](int port) { return serialDevicePath(port, store); }),
      m_serial(devices.serial != nullptr ? *devices.serial : m_ownSerial),
      m_parallel(devices.parallel != nullptr ? *devices.parallel : m_ownParallel), m_line(m_serial, m_parallel),
      m_keyingPort(m_serial, *m_broker, [this] { releaseKeyingPort(); }),
      m_clock(devices.clock != nullptr ? *devices.clock : m_steadyClock),
      m_keyerPort(std::make_unique<KeyerPort>(*this)), m_repeatTimer(std::make_unique<Timer>(*this)),
      m_sendOwner(std::make_unique<CwSendController>(host, *m_keyerPort, *m_repeatTimer)), m_send(*m_sendOwner) {
    startKeyer();
    m_idle = m_send.addIdleListener([this] { m_setupFailedThisLoop = false; });

    // The timing options of the settings store.
    const TimingMethod method = parseTimingMethod(m_ctx.settings.get(kMethodKey));
    double loopOffset = parseNumber(m_ctx.settings.get(kLoopOffsetKey)).value_or(0.0);
    if (method == TimingMethod::Loop && loopOffset == 0.0) {
        loopOffset = static_cast<double>(calibrateLoop()); // selecting "Loop" with no count calibrates
    }
    m_send.setTimingOptions(method, loopOffset);
    m_line.setPrinterAddress(m_send.settings().parallelAddress);

    m_winKeyer = std::make_unique<WinKeyerService>(WinKeyerService::Context{
        m_ctx.dialogs, m_ctx.settings, *m_broker, m_host, m_send, m_ctx.folders.userDataFolder, mainWindow});

    m_setup = new CwSetupWindow(*this, mainWindow);
    m_notices = std::make_unique<NoticeBoxes>(m_ctx.dialogs, [this] { return static_cast<QWidget*>(m_setup.data()); });
    m_strings = new CwStringsWindow(*this, mainWindow);
}

CwController::~CwController() {
    shutdown();
    m_winKeyer.reset();
    delete m_setup.data();
    delete m_strings.data();
}

void CwController::startKeyer() {
    m_keyer = std::make_unique<Keyer>(m_line, m_clock, [this](char, CharacterOutcome outcome) {
        QMetaObject::invokeMethod(
            this, [this, outcome] { characterDone(outcome); }, Qt::QueuedConnection);
    });
    m_keyer->setIdleHandler([this] {
        QMetaObject::invokeMethod(
            this, [this] { lineQuiet(); }, Qt::QueuedConnection);
    });
    m_keyer->setTiming(m_send.keyTiming());
}

void CwController::dropLines() {
    // The keyer thread is stopped before the lines are touched here: it owns them while it runs.
    m_line.keyUp();
    if (m_serial.isOpen()) {
        m_serial.setRts(false);
        m_serial.setDtr(false);
    }
}

void CwController::releaseKeyingPort() {
    // Another owner takes the device: the keyer lets go of the line first, so it never
    // switches a line on a descriptor that is being closed or reopened as another device.
    m_send.clearBuffer();
    m_keyer->stop();
    dropLines();
    m_serial.close();
    if (!m_shutDown) {
        startKeyer();
    }
}

void CwController::shutdown() {
    if (m_shutDown) {
        return;
    }
    m_shutDown = true;
    m_repeatTimer->stop();
    m_winKeyer->shutdown();
    m_send.clearBuffer();
    m_keyer->stop();
    dropLines();
    m_serial.close();
    m_broker->released(PortOwner::CwKeying);
}

CwSetupWindow* CwController::setupWindow() const {
    return m_setup.data();
}

CwStringsWindow* CwController::stringsWindow() const {
    return m_strings.data();
}

void CwController::characterDone(CharacterOutcome outcome) {
    m_send.characterDone(outcome);
}

void CwController::lineQuiet() {
    // Queued from the keyer thread: a character handed over since then is on the air now, and
    // its own end will be reported.
    if (m_keyer && m_keyer->idle()) {
        m_send.lineQuiet();
    }
}

void CwController::loadSettings(const CwSettingsReadResult& read) {
    CwSettings settings = read.settings;
    settings.keyingOption = KeyingOption::None; // the window starts with "None"
    m_send.setSettings(settings);
    m_line.setPrinterAddress(settings.parallelAddress);
    selectKeyingOption(read.keyingOption);
    m_setup->showSettings();
}

void CwController::selectKeyingOption(KeyingOption option) {
    m_send.setKeyingOption(option);
    m_line.setOption(option);
    if (option != KeyingOption::Printer) {
        m_parallel.close(); // let go of a claimed parallel device
    }
    if (option == KeyingOption::WinKey) {
        m_winKeyer->load(); // the window and WK.txt; the keyer stays closed
    }
    if (m_setup) {
        m_setup->showKeyingOption();
    }
}

void CwController::setPrinterAddress(const QString& field) {
    m_send.settings().parallelAddress = field.toStdString();
    m_line.setPrinterAddress(m_send.settings().parallelAddress);
}

KeyingPortResult CwController::cwSetup() {
    std::string error;
    const KeyingPortResult result = m_keyingPort.setup(m_send.settings().serialPort, &error);
    if (result == KeyingPortResult::Invalid) {
        if (!error.empty()) {
            // Why, naming the device (not plugged in, held by another owner, no permission).
            m_host.showMessage(error);
        }
        // The box waits for the send loop to be back in the event loop: the port is closed and
        // this sending knows it failed before anything runs under the box.
        m_notices->post({QString::fromLatin1(kInvalidPortTitle.data(), kInvalidPortTitle.size()),
                         QString::fromLatin1(kInvalidPortText.data(), kInvalidPortText.size()), MsgIcon::None, true,
                         [this] {
                             if (m_setup && !m_setup->isVisible()) {
                                 // Shown for correction without stopping the window thread.
                                 m_setup->setWindowModality(Qt::ApplicationModal);
                                 m_setup->show();
                             }
                         }});
    }
    return result;
}

bool CwController::saveSettings(std::string* error) {
    const std::string bytes = formatCwSettings(m_send.settings());
    const std::string path = m_ctx.workingFile("cw.txt");
    if (const FileResult written = replaceAtomically(path, bytes); !written.ok) {
        if (error != nullptr) {
            *error = path + "  " + written.error;
        }
        return false;
    }
    m_ctx.settings.set(kMethodKey, std::string(timingMethodName(m_send.timingMethod())));
    m_ctx.settings.set(kLoopOffsetKey, std::to_string(static_cast<long long>(m_send.loopOffset())));
    return true;
}

QString CwController::serialDeviceFor(int port) const {
    return QString::fromStdString(serialDevicePath(port, &m_ctx.settings));
}

void CwController::setSerialDevice(int port, const QString& device) {
    if (port >= 1) {
        m_ctx.settings.set(serialDeviceKey(port), device.trimmed().toStdString());
    }
}

namespace {

CwKey cwKeyOf(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_F1:
        return CwKey::F1;
    case Qt::Key_F2:
        return CwKey::F2;
    case Qt::Key_F3:
        return CwKey::F3;
    case Qt::Key_F4:
        return CwKey::F4;
    case Qt::Key_F5:
        return CwKey::F5;
    case Qt::Key_F6:
        return CwKey::F6;
    case Qt::Key_F7:
        return CwKey::F7;
    case Qt::Key_F8:
        return CwKey::F8;
    case Qt::Key_F9:
        return CwKey::F9;
    case Qt::Key_F10:
        return CwKey::F10;
    case Qt::Key_F11:
        return CwKey::F11;
    case Qt::Key_F12:
        return CwKey::F12;
    case Qt::Key_Up:
        return CwKey::Up;
    case Qt::Key_Down:
        return CwKey::Down;
    default:
        return CwKey::Other;
    }
}

// The character a key types, as one byte: Esc, backspace and Enter included; 0 for none.
char typedCharacter(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        return kEscape;
    case Qt::Key_Backspace:
        return kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return '\r';
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() != 1 || text[0].unicode() > 0xFF || text[0].unicode() < 0x20) {
        return 0;
    }
    return static_cast<char>(text[0].unicode());
}

} // namespace

bool CwController::handleKeyDown(QKeyEvent* event) {
    // Ctrl keys reach here only when the main window has no window to open for them: they
    // still stop a calling loop.
    const QString speedBefore = QString::fromStdString(m_send.settings().speedWpm);
    const bool consumed = m_send.keyDown(cwKeyOf(event));
    const QString speedAfter = QString::fromStdString(m_send.settings().speedWpm);
    if (speedAfter != speedBefore) {
        emit speedChanged(speedAfter);
    }
    return consumed;
}

bool CwController::handleKeyPress(QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    const char c = typedCharacter(event);
    if (c == 0) {
        return false;
    }
    return m_send.keyPress(c);
}

bool CwController::routeKey(QKeyEvent* event) {
    if (m_router) {
        return m_router(event);
    }
    return handleKeyDown(event) || handleKeyPress(event);
}

bool CwController::mayClose() {
    return m_send.mayClose();
}

void CwController::showSetupWindow(bool modal) {
    m_setup->showSettings();
    if (modal) {
        m_setup->setWindowModality(Qt::ApplicationModal);
    } else {
        m_setup->setWindowModality(Qt::NonModal);
    }
    m_setup->showNormal();
    m_setup->raise();
    m_setup->activateWindow();
}

void CwController::showWinKeyerWindow() {
    m_winKeyer->showWindow();
}

void CwController::showStringsWindow(bool minimized) {
    m_strings->refresh();
    if (minimized) {
        m_strings->showMinimized();
    } else {
        m_strings->showNormal();
        m_strings->raise();
        m_strings->activateWindow();
    }
}

} // namespace corvane::cw
