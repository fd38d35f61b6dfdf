#include "cw/ui/CwFeature.h"

#include "core/DurableFile.h"
#include "cw/CwSettings.h"
#include "cw/ui/CwController.h"
#include "ui/AppContext.h"

namespace corvane::cw {

namespace {
// The program's one parallel port, unless the caller gave one of its own.
CwDevices withSharedParallel(CwDevices devices, const FeatureContext& context) {
    if (devices.parallel == nullptr) {
        devices.parallel = context.parallel;
    }
    return devices;
}
} // namespace

CwFeature::CwFeature(FeatureContext& context, const CwDevices& devices)
    : m_ctx(context), m_cw(std::make_unique<CwController>(static_cast<CwHost&>(*this), context.app, context.mainWindow,
                                                          &context.ports, withSharedParallel(devices, context))) {
    m_cw->setKeyRouter([this](QKeyEvent* key) { return m_ctx.keys.routeKey(key); });
}

CwFeature::~CwFeature() {
    shutdown();
}

void CwFeature::addMenus(MainMenus& menus) {
    menus.add(MenuPlace::Transmit, QStringLiteral("&CW Setup"), "mnuCWSetup", m_cw.get(),
              [this] { m_cw->showSetupWindow(true); });
}

std::vector<CtrlShortcut> CwFeature::ctrlShortcuts() {
    const auto setup = [this] { m_cw->showSetupWindow(); };
    return {{Qt::Key_C, setup}, {Qt::Key_S, setup}, {Qt::Key_W, [this] { m_cw->showStringsWindow(); }}};
}

bool CwFeature::keyPress(QKeyEvent* key) {
    return m_cw->handleKeyDown(key) || m_cw->handleKeyPress(key);
}

bool CwFeature::load() {
    // A missing or short cw.txt is read quietly: what it holds is taken, the rest keeps
    // its defaults.
    const auto bytes = readWholeFile(m_ctx.app.workingFile("cw.txt"));
    m_cw->loadSettings(parseCwSettings(bytes ? std::string_view(*bytes) : std::string_view()));
    return true;
}

bool CwFeature::mayClose() {
    return m_cw->mayClose();
}

void CwFeature::shutdown() {
    m_cw->shutdown();
}

} // namespace corvane::cw
