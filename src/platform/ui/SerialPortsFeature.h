#pragma once
// Setup > "Serial &Ports": the window where each serial port number is given its device.

#include "platform/ui/SerialPortsWindow.h"
#include "ui/Feature.h"

#include <QPointer>

namespace corvane {

class SerialPortsFeature final : public Feature {
public:
    explicit SerialPortsFeature(FeatureContext& context) : m_ctx(context) {}
    ~SerialPortsFeature() override;

    void addMenus(MainMenus& menus) override;
    // Shows the window (made on first use), listing the devices present now.
    void showWindow();
    SerialPortsWindow* window() const { return m_window.data(); }

private:
    FeatureContext& m_ctx;
    QPointer<SerialPortsWindow> m_window;
};

} // namespace corvane
