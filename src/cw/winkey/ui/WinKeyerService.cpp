#include "cw/winkey/ui/WinKeyerService.h"

#include "core/DurableFile.h"
#include "core/SettingsStore.h"
#include "cw/CwSendController.h"
#include "cw/winkey/ui/WinKeyerWindow.h"
#include "platform/Dialogs.h"
#include "platform/PortBroker.h"
#include "platform/serial/SerialSettings.h"
#include "ui/NoticeBoxes.h"

#include <QWidget>

namespace corvane::cw {

WinKeyerService::WinKeyerService(Context context)
    : m_ctx(std::move(context)), m_port([store = &m_ctx.settings](int port) { return serialDevicePath(port, store); }),
      m_keyer(m_port, m_linkTimer), m_controller(m_keyer, m_sendTimer, m_ctx.send.sendBuffer(), *this) {
    m_notices = std::make_unique<NoticeBoxes>(m_ctx.dialogs, [this]() -> QWidget* {
        return m_window && m_window->isVisible() ? static_cast<QWidget*>(m_window.data()) : m_ctx.mainWindow;
    });
    m_keyer.setPortGate([this](const std::string& device, std::string* refusal) {
        return m_ctx.broker.acquire(PortOwner::WinKeyer, device, refusal);
    });
    m_keyer.setPortReleased([this] { m_ctx.broker.released(PortOwner::WinKeyer); });
    m_ctx.broker.join(PortOwner::WinKeyer, [this] { m_controller.displaced(); });
    m_controller.setHandedOver([this] { m_ctx.send.winKeyerHandedOver(); });
    m_controller.setKeyerIdle([this] { m_ctx.send.winKeyerIdle(); });
    m_ctx.send.setWinKeyer(&m_controller);
}

WinKeyerService::~WinKeyerService() {
    shutdown();
    m_ctx.send.setWinKeyer(nullptr);
    m_ctx.broker.leave(PortOwner::WinKeyer);
    delete m_window.data();
}

std::string WinKeyerService::filePath() const {
    return m_ctx.userDataFolder + "/" + std::string(kWinKeyerFileName);
}

void WinKeyerService::load() {
    if (m_window) {
        return;
    }
    std::optional<std::string> bytes;
    if (fileExists(filePath())) {
        bytes = readWholeFile(filePath());
    }
    m_controller.load(bytes, m_ctx.send.settings().speedWpm);
    WinKeyerWindow::Hooks hooks;
    hooks.ownCall = [this] { return m_ctx.host.ownCall(); };
    hooks.save = [this] { return save(); };
    hooks.settings = &m_ctx.settings;
    m_window = new WinKeyerWindow(m_controller, std::move(hooks), m_ctx.mainWindow);
}

void WinKeyerService::showWindow() {
    load();
    m_window->setWindowModality(Qt::ApplicationModal);
    m_window->showNormal();
    m_window->raise();
    m_window->activateWindow();
}

bool WinKeyerService::save() {
    const FileResult written = replaceAtomically(filePath(), m_controller.fileBytes());
    if (!written.ok) {
        m_ctx.dialogs.message(m_window.data(), QStringLiteral("Unable to write file."),
                              QString::fromLatin1((filePath() + "  " + written.error).c_str()), MsgButtons::Ok,
                              MsgIcon::Warning);
    }
    return written.ok;
}

void WinKeyerService::shutdown() {
    if (m_shutDown) {
        return;
    }
    m_shutDown = true;
    m_ctx.send.sendBuffer().clear();
    m_controller.closeKeyer();
}

void WinKeyerService::reportFailure(const std::string& title, const std::string& text) {
    m_notices->post({QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size())),
                     QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())),
                     MsgIcon::None,
                     false,
                     {}});
}

void WinKeyerService::showMessage(const std::string& text) {
    m_ctx.host.showMessage(text);
}

} // namespace corvane::cw
