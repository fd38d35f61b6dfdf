#pragma once
// The "Serial Ports" window (frmSerialPorts): the serial devices present now (path, stable
// name, description, maker, serial number) and, for each port number 1 to 10, the device it
// stands for. A device chosen from the list is kept by its stable name where it has one, so a
// USB adapter that comes back as another ttyUSB after a replug is still found. "&Done" writes
// the choices to the settings store; closing the window any other way keeps the old ones.

#include "platform/serial/SerialDevices.h"

#include <QDialog>
#include <array>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QTableWidget;

namespace corvane {

class SettingsStore;

class SerialPortsWindow final : public QDialog {
    Q_OBJECT
public:
    using DeviceLister = std::function<std::vector<SerialDeviceInfo>()>;

    // `lister`: the devices present (the system's list when none is given).
    SerialPortsWindow(SettingsStore& settings, DeviceLister lister = {}, QWidget* parent = nullptr);

    // Lists the devices again and shows each port number's device from the settings.
    void refresh();
    // "&Done": every port number's device into the settings store.
    void done();

    // What port n is set to in the window now ("" for the default device).
    std::string chosenDevice(int port) const;

private:
    void showState(int port);

    SettingsStore& m_settings;
    DeviceLister m_lister;
    std::vector<SerialDeviceInfo> m_devices;
    QTableWidget* m_table = nullptr;
    std::array<QComboBox*, kSerialPortCount> m_choices{};
    std::array<QLabel*, kSerialPortCount> m_states{};
};

} // namespace corvane
