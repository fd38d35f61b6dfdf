// The "Serial Ports" window, the device shown beside every port number field, and the Setup
// menu entry that opens the window.

#include "platform/ui/SerialPortsWindow.h"

#include "cw/ui/CwSetupWindow.h"
#include "platform/serial/SerialSettings.h"
#include "support/MainWindowFixture.h"
#include "ui/PortDeviceField.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QMenu>
#include <QTableWidget>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;
namespace fs = std::filesystem;

namespace {

// Two devices in a temporary folder standing in for /dev: one with a stable name, one without.
struct Devices {
    TempDir dir;
    std::unique_ptr<SettingsStore> settings = makeFileSettingsStore(dir.file("settings.ini"));
    std::string usb0 = dir.file("ttyUSB0");
    std::string acm0 = dir.file("ttyACM0");
    std::string stable = dir.file("usb-FTDI_FT232R_USB_UART_A1B2-if00-port0");
    std::vector<SerialDeviceInfo> list;
    Devices() {
        std::ofstream(usb0).put('x');
        std::ofstream(acm0).put('x');
        fs::create_symlink(usb0, stable);
        list = {{acm0, "", "Arduino Uno", "Arduino", "7543"}, {usb0, stable, "FT232R USB UART", "FTDI", "A1B2"}};
    }
    SerialPortsWindow::DeviceLister lister() {
        return [this] { return list; };
    }
};

QComboBox* portChoice(QWidget& w, int port) {
    return w.findChild<QComboBox*>(QStringLiteral("cboPort%1").arg(port));
}
QString portState(QWidget& w, int port) {
    return w.findChild<QLabel*>(QStringLiteral("lblPortState%1").arg(port))->text();
}

} // namespace

TEST(SerialPortsWindow, ListsTheDevicesPresentWithTheirNamesAndMakers) {
    Devices d;
    SerialPortsWindow window(*d.settings, d.lister());
    auto* table = window.findChild<QTableWidget*>(QStringLiteral("lstDevices"));
    ASSERT_EQ(table->rowCount(), 2);
    const QStringList row0{QString::fromStdString(d.acm0), "", "Arduino Uno", "Arduino", "7543"};
    const QStringList row1{QString::fromStdString(d.usb0), QString::fromStdString(d.stable), "FT232R USB UART", "FTDI",
                           "A1B2"};
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(table->item(0, column)->text(), row0[column]);
        EXPECT_EQ(table->item(1, column)->text(), row1[column]);
    }
    // Every port number offers the default device and each device present.
    for (int port = 1; port <= kSerialPortCount; ++port) {
        QComboBox* choice = portChoice(window, port);
        ASSERT_NE(choice, nullptr) << port;
        ASSERT_EQ(choice->count(), 3);
        EXPECT_EQ(choice->currentIndex(), 0);
        EXPECT_EQ(choice->itemText(0), QStringLiteral("Default: /dev/ttyUSB%1").arg(port - 1));
    }
    EXPECT_TRUE(portChoice(window, 1)->itemText(2).startsWith(QString::fromStdString(d.stable)));
    EXPECT_TRUE(portChoice(window, 1)->itemText(2).contains(QStringLiteral("FT232R USB UART, FTDI, serial A1B2")));

    // A device plugged in later shows after Refresh.
    d.list.push_back({d.dir.file("ttyUSB1"), "", "", "", ""});
    window.findChild<QPushButton*>(QStringLiteral("cmdRefresh"))->click();
    EXPECT_EQ(table->rowCount(), 3);
    EXPECT_EQ(portChoice(window, 1)->count(), 4);
}

TEST(SerialPortsWindow, DoneKeepsEachChoiceStableNamesFirst) {
    Devices d;
    d.settings->set(serialDeviceKey(6), "/dev/serial/by-id/usb-gone-if00-port0");
    SerialPortsWindow window(*d.settings, d.lister());
    // Set before, but not plugged in: offered as it is and said to be missing.
    EXPECT_EQ(portChoice(window, 6)->currentText(), QStringLiteral("/dev/serial/by-id/usb-gone-if00-port0"));
    EXPECT_EQ(portState(window, 6), QStringLiteral("not plugged in"));

    portChoice(window, 3)->setCurrentIndex(2); // the FTDI adapter: kept by its stable name
    EXPECT_EQ(portState(window, 3), QStringLiteral("present"));
    portChoice(window, 4)->setCurrentIndex(1); // no stable name: kept by its path
    portChoice(window, 5)->setEditText(QString::fromStdString(d.dir.file("pts-typed")));
    EXPECT_EQ(portState(window, 5), QStringLiteral("not plugged in"));
    EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("lblPortState5"))
                    ->toolTip()
                    .contains(QStringLiteral("Serial port 5 is set to")));

    // Closed without Done: nothing is written.
    window.close();
    EXPECT_EQ(d.settings->get(serialDeviceKey(3)), "");
    window.done();
    EXPECT_EQ(d.settings->get(serialDeviceKey(3)), d.stable);
    EXPECT_EQ(d.settings->get(serialDeviceKey(4)), d.acm0);
    EXPECT_EQ(d.settings->get(serialDeviceKey(5)), d.dir.file("pts-typed"));
    EXPECT_EQ(d.settings->get(serialDeviceKey(6)), "/dev/serial/by-id/usb-gone-if00-port0");
    EXPECT_EQ(d.settings->get(serialDeviceKey(1)), ""); // the default
    EXPECT_EQ(serialDevicePath(3, d.settings.get()), d.stable);

    // Shown again, the window reads what it wrote.
    SerialPortsWindow again(*d.settings, d.lister());
    EXPECT_EQ(again.chosenDevice(3), d.stable);
    EXPECT_EQ(again.chosenDevice(4), d.acm0);
    EXPECT_EQ(again.chosenDevice(5), d.dir.file("pts-typed"));
    EXPECT_EQ(again.chosenDevice(1), "");
}

TEST(PortDeviceField, ShowsTheDeviceOfTheTypedNumberAndWhetherItIsThere) {
    Devices d;
    d.settings->set(serialDeviceKey(2), d.stable);
    QWidget parent;
    auto* number = new QLineEdit(&parent);
    PortDeviceField device(*d.settings, &parent);
    device.follow(number);
    EXPECT_EQ(device.text(), "");
    EXPECT_FALSE(device.isEnabled());

    number->setText(QStringLiteral("2"));
    EXPECT_EQ(device.text().toStdString(), d.stable);
    EXPECT_TRUE(device.devicePresent());
    EXPECT_TRUE(device.toolTip().startsWith(QStringLiteral("Serial port 2: ")));

    number->setText(QStringLiteral("9"));
    EXPECT_EQ(device.text(), QStringLiteral("/dev/ttyUSB8"));
    EXPECT_FALSE(device.devicePresent());
    EXPECT_EQ(device.toolTip().toStdString(), absentDeviceMessage(9, "/dev/ttyUSB8"));
    EXPECT_NE(device.palette().color(QPalette::Text), QColor(Qt::black));

    // Unplugged while shown: seen at the next look.
    number->setText(QStringLiteral("2"));
    fs::remove(d.stable);
    device.refresh();
    EXPECT_FALSE(device.devicePresent());

    number->setText(QStringLiteral("x"));
    EXPECT_EQ(device.port(), 0);
    EXPECT_EQ(device.text(), "");
}

TEST(PortDeviceField, AnEditableFieldMapsItsPortToTheTypedDevice) {
    Devices d;
    PortDeviceField device(*d.settings);
    device.setPort(4);
    EXPECT_TRUE(device.isReadOnly());
    device.setEditable(true);
    int chosen = 0;
    QObject::connect(&device, &PortDeviceField::deviceChosen, [&](int port, const QString&) { chosen = port; });
    device.setText(QString::fromStdString(d.acm0));
    emit device.editingFinished();
    EXPECT_EQ(chosen, 4);
    EXPECT_EQ(d.settings->get(serialDeviceKey(4)), d.acm0);
    EXPECT_TRUE(device.devicePresent());
}

TEST(SerialPortsMenu, TheSetupMenuHoldsTheStationAndTheSerialPorts) {
    MainWindowFixture f;
    ASSERT_TRUE(f.start());
    auto* setup = f.child<QMenu>("mnuSetupMenu");
    ASSERT_NE(setup, nullptr);
    ASSERT_GE(setup->actions().size(), 2);
    EXPECT_EQ(setup->actions()[0]->objectName(), QStringLiteral("mnuSetup"));
    EXPECT_EQ(setup->title(), QStringLiteral("&Setup"));
    QAction* ports = f.child<QAction>("mnuSerialPorts");
    ASSERT_NE(ports, nullptr);
    EXPECT_EQ(ports->text(), QStringLiteral("Serial &Ports"));
    ports->trigger();
    auto* window = f.window->findChild<SerialPortsWindow*>(QStringLiteral("frmSerialPorts"));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Serial Ports"));
    window->close();
    ports->trigger(); // the same window again
    EXPECT_EQ(f.window->findChildren<SerialPortsWindow*>().size(), 1);
}

TEST(SerialPortsMenu, TheCwKeyingPortShowsItsDevice) {
    MainWindowFixture f;
    ASSERT_TRUE(f.start());
    f.settings->set(serialDeviceKey(5), f.file("no-such-adapter"));
    QTest::keyClick(f.call(), Qt::Key_S, Qt::ControlModifier);
    QWidget* cw = nullptr;
    QTRY_VERIFY((cw = f.window->findChild<QWidget*>(QStringLiteral("CWFrm"))) != nullptr && cw->isVisible());
    auto* port = cw->findChild<QLineEdit*>(QStringLiteral("Text10"));
    auto* device = cw->findChild<PortDeviceField*>(QStringLiteral("txtSerialDevice"));
    ASSERT_NE(device, nullptr);
    port->setText(QStringLiteral("5"));
    EXPECT_EQ(device->text().toStdString(), f.file("no-such-adapter"));
    EXPECT_FALSE(device->devicePresent());
    EXPECT_EQ(device->toolTip().toStdString(), absentDeviceMessage(5, f.file("no-such-adapter")));
}

TEST(SerialPortsMenu, TheWinKeyerPortShowsItsDevice) {
    MainWindowFixture f;
    ASSERT_TRUE(f.start());
    std::ofstream(f.file("ttyACM0")).put('x');
    f.settings->set(serialDeviceKey(2), f.file("ttyACM0"));
    QTest::keyClick(f.call(), Qt::Key_S, Qt::ControlModifier);
    QWidget* cw = nullptr;
    QTRY_VERIFY((cw = f.window->findChild<QWidget*>(QStringLiteral("CWFrm"))) != nullptr && cw->isVisible());
    cw->findChild<QAbstractButton*>(QStringLiteral("optWinKey"))->click();
    cw->findChild<QAbstractButton*>(QStringLiteral("cmdConfigureWinkey"))->click();
    QWidget* wk = nullptr;
    QTRY_VERIFY((wk = f.window->findChild<QWidget*>(QStringLiteral("frmWinKey"))) != nullptr && wk->isVisible());
    auto* device = wk->findChild<PortDeviceField*>(QStringLiteral("txtComDevice"));
    ASSERT_NE(device, nullptr);
    wk->findChild<QLineEdit*>(QStringLiteral("txtComPort"))->setText(QStringLiteral("2"));
    EXPECT_EQ(device->text().toStdString(), f.file("ttyACM0"));
    EXPECT_TRUE(device->devicePresent());
    EXPECT_TRUE(device->isReadOnly());
    wk->close();
}
