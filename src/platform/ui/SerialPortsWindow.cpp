#include "platform/ui/SerialPortsWindow.h"

#include "core/SettingsStore.h"
#include "platform/serial/SerialDeviceList.h"
#include "platform/serial/SerialSettings.h"
#include "ui/FormScaler.h"
#include "ui/WidgetText.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace corvane {

namespace {

constexpr TwipRect kDesign{0, 0, 8520, 6480};
constexpr double kFont = 8.25;
constexpr double kFirstRow = 2050;
constexpr double kRow = 340;

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

SerialPortsWindow::SerialPortsWindow(SettingsStore& settings, DeviceLister lister, QWidget* parent)
    : QDialog(parent, Qt::Window), m_settings(settings), m_lister(std::move(lister)) {
    setObjectName(QStringLiteral("frmSerialPorts"));
    setWindowTitle(QStringLiteral("Serial Ports"));
    if (!m_lister) {
        m_lister = [] { return presentSerialDevices(); };
    }

    makeLabel(this, "lblDevices", QStringLiteral("Serial devices present"), {120, 120, 4000, 280}, kFont, true);
    auto* refreshButton = new QPushButton(QStringLiteral("&Refresh"), this);
    refreshButton->setObjectName(QStringLiteral("cmdRefresh"));
    refreshButton->setAutoDefault(false);
    FormScaler::place(refreshButton, {7080, 60, 1320, 380}, kFont);
    connect(refreshButton, &QPushButton::clicked, this, &SerialPortsWindow::refresh);

    m_table = new QTableWidget(0, 5, this);
    m_table->setObjectName(QStringLiteral("lstDevices"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Device"), QStringLiteral("Stable name"),
                                        QStringLiteral("Description"), QStringLiteral("Maker"),
                                        QStringLiteral("Serial number")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAccessibleName(QStringLiteral("Serial devices found"));
    m_table->setAccessibleDescription(QStringLiteral(
        "The serial devices plugged in now: device, stable name, description, maker and serial number."));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    FormScaler::place(m_table, {120, 480, 8280, 1100}, kFont);
    FormScaler::setColumnWidths(m_table, {1300, 2600, 1800, 1100, 1400});

    makeLabel(this, "lblPorts", QStringLiteral("Port numbers and their devices"), {120, 1700, 5000, 280}, kFont, true);
    for (int i = 0; i < kSerialPortCount; ++i) {
        const int port = i + 1;
        const double top = kFirstRow + i * kRow;
        makeLabel(this, nullptr, QStringLiteral("Port %1").arg(port), {120, top + 30, 800, 280}, kFont);
        auto* choice = new QComboBox(this);
        choice->setObjectName(QStringLiteral("cboPort%1").arg(port));
        choice->setEditable(true); // a device not listed (a pseudo-terminal, a network serial port) can be typed
        choice->setInsertPolicy(QComboBox::NoInsert);
        choice->setAccessibleName(QStringLiteral("Port %1 device").arg(port));
        choice->lineEdit()->setAccessibleName(QStringLiteral("Port %1 device").arg(port)); // typed into
        choice->setAccessibleDescription(
            QStringLiteral("The device port number %1 stands for wherever the program asks for a port number. Pick "
                           "one found or type one.")
                .arg(port));
        FormScaler::place(choice, {960, top, 5160, 330}, kFont);
        m_choices[static_cast<std::size_t>(i)] = choice;
        QLabel* state = makeLabel(this, nullptr, QString(), {6240, top + 30, 2160, 280}, kFont);
        state->setObjectName(QStringLiteral("lblPortState%1").arg(port));
        m_states[static_cast<std::size_t>(i)] = state;
        connect(choice, &QComboBox::currentTextChanged, this, [this, port] { showState(port); });
    }

    auto* doneButton = new QPushButton(QStringLiteral("&Done"), this);
    doneButton->setObjectName(QStringLiteral("cmdDone"));
    doneButton->setAutoDefault(false);
    FormScaler::place(doneButton, {3660, 5580, 1200, 380}, kFont);
    connect(doneButton, &QPushButton::clicked, this, &SerialPortsWindow::done);

    refresh();
    FormScaler::scale(this, ScaleVariant::ScaleToScreen, kDesign);
}

void SerialPortsWindow::refresh() {
    m_devices = m_lister();
    m_table->setRowCount(static_cast<int>(m_devices.size()));
    for (std::size_t row = 0; row < m_devices.size(); ++row) {
        const SerialDeviceInfo& d = m_devices[row];
        const std::string* cells[] = {&d.path, &d.stableName, &d.description, &d.manufacturer, &d.serialNumber};
        for (int column = 0; column < 5; ++column) {
            auto* item = new QTableWidgetItem(text(*cells[column]));
            item->setToolTip(text(*cells[column]));
            m_table->setItem(static_cast<int>(row), column, item);
        }
    }
    for (int i = 0; i < kSerialPortCount; ++i) {
        const int port = i + 1;
        QComboBox* choice = m_choices[static_cast<std::size_t>(i)];
        const std::string stored = m_settings.get(serialDeviceKey(port));
        const QSignalBlocker quiet(choice);
        choice->clear();
        choice->addItem(QStringLiteral("Default: %1").arg(text(defaultSerialDevice(port))), QString());
        int current = 0;
        for (const SerialDeviceInfo& d : m_devices) {
            const std::string value = storedNameOf(d);
            choice->addItem(text(value + "  (" + describeDevice(d) + ")"), text(value));
            if (!stored.empty() && deviceNamed({d}, stored) != nullptr) {
                current = choice->count() - 1;
            }
        }
        if (!stored.empty() && current == 0) {
            choice->addItem(text(stored), text(stored)); // set, but not among the devices present
            current = choice->count() - 1;
        }
        choice->setCurrentIndex(current);
        showState(port);
    }
}

std::string SerialPortsWindow::chosenDevice(int port) const {
    if (port < 1 || port > kSerialPortCount) {
        return {};
    }
    const QComboBox* choice = m_choices[static_cast<std::size_t>(port - 1)];
    const QString shown = choice->currentText();
    // A listed choice stands for its device; anything else is a device typed by hand.
    const int index = choice->findText(shown);
    if (index >= 0) {
        return choice->itemData(index).toString().toStdString();
    }
    return shown.trimmed().toStdString();
}

void SerialPortsWindow::showState(int port) {
    QLabel* state = m_states[static_cast<std::size_t>(port - 1)];
    const std::string chosen = chosenDevice(port);
    const std::string device = chosen.empty() ? defaultSerialDevice(port) : chosen;
    const bool present = serialDevicePresent(device);
    state->setText(present ? QStringLiteral("present") : QStringLiteral("not plugged in"));
    paint(state, palette().color(QPalette::Window), present ? QColor(0, 128, 0) : QColor(192, 0, 0));
    state->setToolTip(present ? text(device) : text(absentDeviceMessage(port, device)));
}

void SerialPortsWindow::done() {
    for (int port = 1; port <= kSerialPortCount; ++port) {
        m_settings.set(serialDeviceKey(port), chosenDevice(port));
    }
    hide();
}

} // namespace corvane
