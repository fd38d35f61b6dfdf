#include "platform/ui/SerialPortsFeature.h"

#include "platform/ui/SerialPortsWindow.h"
#include "ui/AppContext.h"

namespace corvane {

SerialPortsFeature::~SerialPortsFeature() {
    delete m_window.data();
}

void SerialPortsFeature::addMenus(MainMenus& menus) {
    menus.add(MenuPlace::Setup, QStringLiteral("Serial &Ports"), "mnuSerialPorts", m_ctx.mainWindow,
              [this] { showWindow(); });
}

void SerialPortsFeature::showWindow() {
    if (!m_window) {
        m_window = new SerialPortsWindow(m_ctx.app.settings, {}, m_ctx.mainWindow);
    } else {
        m_window->refresh();
    }
    m_window->showNormal();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace corvane
