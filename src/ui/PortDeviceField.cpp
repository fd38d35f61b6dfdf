#include "ui/PortDeviceField.h"

#include "core/NumberText.h"
#include "core/SettingsStore.h"
#include "platform/serial/SerialDeviceList.h"
#include "platform/serial/SerialSettings.h"

#include <QPalette>

namespace corvane {

namespace {
constexpr int kLookAgainMs = 2000;
} // namespace

PortDeviceField::PortDeviceField(SettingsStore& settings, QWidget* parent) : QLineEdit(parent), m_settings(settings) {
    setReadOnly(true);
    setFocusPolicy(Qt::ClickFocus);
    setAccessibleName(QStringLiteral("Serial device"));
    setAccessibleDescription(
        QStringLiteral("The device the port number stands for. Type another device here to give the number to it."));
    m_look.setInterval(kLookAgainMs);
    connect(&m_look, &QTimer::timeout, this, [this] {
        if (!hasFocus()) {
            refresh();
        }
    });
    connect(this, &QLineEdit::editingFinished, this, &PortDeviceField::edited);
    refresh();
}

int PortDeviceField::portOf(const QString& text) {
    const auto number = parseNumber(text.trimmed().toStdString());
    if (!number || *number < 1 || *number > 1e6) {
        return 0;
    }
    return static_cast<int>(roundHalfEven(*number));
}

void PortDeviceField::follow(QLineEdit* portField) {
    if (m_portField) {
        disconnect(m_portField, nullptr, this, nullptr);
    }
    m_portField = portField;
    if (portField != nullptr) {
        connect(portField, &QLineEdit::textChanged, this, [this](const QString& text) { setPort(portOf(text)); });
        setPort(portOf(portField->text()));
    }
}

void PortDeviceField::setPort(int port) {
    m_port = port;
    m_looked = false;
    refresh();
}

void PortDeviceField::setEditable(bool editable) {
    setReadOnly(!editable);
    setFocusPolicy(editable ? Qt::StrongFocus : Qt::ClickFocus);
}

void PortDeviceField::refresh() {
    const PortDeviceState state = portDeviceState(m_port, &m_settings);
    if (m_looked && state.device == m_device && state.present == m_present) {
        return; // nothing changed: the system's device list is not asked again
    }
    m_looked = true;
    m_device = state.device;
    m_present = state.present;
    setEnabled(m_port >= 1);
    const QString device = QString::fromStdString(state.device);
    if (text() != device) {
        setText(device);
        setCursorPosition(0);
    }
    QPalette colours = palette();
    colours.setColor(QPalette::Text, state.device.empty() || state.present ? QColor(Qt::black) : QColor(192, 0, 0));
    setPalette(colours);
    if (state.device.empty()) {
        setToolTip(QStringLiteral("No serial port"));
        return;
    }
    if (!state.present) {
        setToolTip(QString::fromStdString(absentDeviceMessage(m_port, state.device)));
        return;
    }
    QString tip = QStringLiteral("Serial port %1: %2").arg(m_port).arg(device);
    const auto devices = presentSerialDevices();
    if (const SerialDeviceInfo* info = deviceNamed(devices, state.device)) {
        tip += QStringLiteral("\n") + QString::fromStdString(describeDevice(*info));
    }
    setToolTip(tip);
}

void PortDeviceField::edited() {
    if (isReadOnly() || m_port < 1) {
        return;
    }
    const QString device = text().trimmed();
    m_settings.set(serialDeviceKey(m_port), device.toStdString());
    emit deviceChosen(m_port, device);
    m_looked = false;
    refresh();
}

void PortDeviceField::showEvent(QShowEvent* event) {
    QLineEdit::showEvent(event);
    m_looked = false; // the mapping may have changed while hidden
    refresh();
    m_look.start();
}

void PortDeviceField::hideEvent(QHideEvent* event) {
    m_look.stop();
    QLineEdit::hideEvent(event);
}

} // namespace corvane
