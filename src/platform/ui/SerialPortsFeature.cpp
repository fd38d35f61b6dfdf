#include "platform/ui/SerialPortsFeature.h"

#include "platform/ui/SerialPortsWindow.h"
#include "ui/AppContext.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace corvane {

SerialPortsFeature::~SerialPortsFeature() {
    delete m_window.data();
}

void SerialPortsFeature::addMenus(QMenuBar& menuBar) {
    QMenu* setup = findMenu(&menuBar, "mnuSetupMenu");
    if (setup == nullptr) {
        return;
    }
    QAction* action = setup->addAction(QStringLiteral("Serial &Ports"), [this] { showWindow(); });
    action->setObjectName(QStringLiteral("mnuSerialPorts"));
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
