#pragma once
// The device next to a serial port number: any window with a port number field puts one
// beside it. It shows the device the number stands for (the SerialPortDevice<n> setting,
// else /dev/ttyUSB<n-1>), in red with "(not plugged in)" when that device is not there, with
// the device's description in its tool tip. It follows the port field as it is typed and
// looks again every few seconds while it is shown, so plugging an adapter in shows at once.
//
//     auto* device = new PortDeviceField(settings, this);
//     device->setObjectName("txtRigDevice");
//     FormScaler::place(device, {...});
//     device->follow(portField);      // or device->setPort(n) when the number is not typed
//
// It is read-only unless setEditable(true): then typing a device path there and leaving the
// field maps the port number to it (the same setting the Serial Ports window writes).

#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <string>

namespace corvane {

class SettingsStore;

class PortDeviceField : public QLineEdit {
    Q_OBJECT
public:
    PortDeviceField(SettingsStore& settings, QWidget* parent = nullptr);

    // Follows the port number typed into `portField` (a text that is no number shows nothing).
    void follow(QLineEdit* portField);
    void setPort(int port);
    int port() const { return m_port; }
    void setEditable(bool editable);

    // Reads the mapping and the device's presence again.
    void refresh();
    bool devicePresent() const { return m_present; }

    // The port number a port field's text stands for (0 for none).
    static int portOf(const QString& text);

signals:
    // The operator typed another device for the port (editable fields only).
    void deviceChosen(int port, const QString& device);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void edited();

    SettingsStore& m_settings;
    QPointer<QLineEdit> m_portField;
    QTimer m_look;
    int m_port = 0;
    std::string m_device;
    bool m_present = false;
    bool m_looked = false;
};

} // namespace corvane
