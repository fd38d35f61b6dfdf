#include "rig/ui/FrequencyTestWindow.h"

#include "rig/HexText.h"
#include "rig/TuneSteps.h"
#include "rig/ui/RigLink.h"
#include "ui/FormScaler.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace corvane::rig {

namespace {

constexpr TwipRect kDesign{0, 0, 6000, 3300};
constexpr double kFont = 8.25;

std::string bytesOf(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace

FrequencyTestWindow::FrequencyTestWindow(RigLink& link, QWidget* parent) : QDialog(parent), m_link(link) {
    setObjectName(QStringLiteral("frmFrequencyTest"));
    setWindowTitle(QStringLiteral("Test Change Frequency Function"));

    const auto label = [this](const QString& text, double left, double top, double width) {
        auto* l = new QLabel(text, this);
        l->setWordWrap(true);
        FormScaler::place(l, {left, top, width, 300}, kFont);
    };
    const auto button = [this](const char* name, double left, double top) {
        auto* b = new QPushButton(QStringLiteral("Send"), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        FormScaler::place(b, {left, top, 1000, 380}, kFont);
        return b;
    };

    label(QStringLiteral("Command to send to the rig (hex bytes as XX XX XX):"), 120, 120, 5700);
    m_command = new QLineEdit(QStringLiteral("FA00028475000;"), this);
    m_command->setObjectName(QStringLiteral("txtCommand"));
    FormScaler::place(m_command, {120, 450, 3500, 330}, kFont);
    m_hex = new QCheckBox(QStringLiteral("Convert to Hex"), this);
    m_hex->setObjectName(QStringLiteral("chkHex"));
    FormScaler::place(m_hex, {3750, 465, 1700, 300}, kFont);
    connect(button("cmdSendCommand", 120, 900), &QPushButton::clicked, this, &FrequencyTestWindow::sendCommand);

    label(QStringLiteral("Frequency in MHz to tune the rig to:"), 120, 1550, 5700);
    m_frequency = new QLineEdit(QStringLiteral("28.475"), this);
    m_frequency->setObjectName(QStringLiteral("txtFrequency"));
    FormScaler::place(m_frequency, {120, 1880, 2000, 330}, kFont);
    connect(button("cmdSendFrequency", 2300, 1850), &QPushButton::clicked, this, &FrequencyTestWindow::sendFrequency);

    label(QStringLiteral("The rig's answers show in the rig window's unprocessed data."), 120, 2600, 5700);
    FormScaler::scale(this, ScaleVariant::ScreenCapped, kDesign);
}

void FrequencyTestWindow::sendCommand() {
    std::string text = bytesOf(m_command->text().trimmed());
    if (m_hex->isChecked()) {
        const auto bytes = hexTextToBytes(text);
        if (!bytes) {
            return; // a mistyped hex command sends nothing
        }
        text = *bytes;
    }
    m_link.sendRaw(text);
}

void FrequencyTestWindow::sendFrequency() {
    if (const auto value = tuneNumber(bytesOf(m_frequency->text()))) {
        m_link.changeFrequency(static_cast<float>(*value));
    }
}

} // namespace corvane::rig
