#include "log/ui/ColourWindow.h"

#include "log/ui/GridMapPanel.h"
#include "platform/Dialogs.h"
#include "ui/FormScaler.h"

#include <QLabel>
#include <QPushButton>

namespace corvane {

namespace {

constexpr TwipRect kDesign{0, 0, 6240, 3000};
constexpr double kFont = 8.25;
// The chooser opens on black.
constexpr long kChooserStartBgr = 0x000000;

} // namespace

ColourWindow::ColourWindow(Dialogs& dialogs, long workedBgr, long remainingBgr, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_worked(workedBgr), m_remaining(remainingBgr) {
    setObjectName(QStringLiteral("frmColors"));
    setWindowTitle(QStringLiteral(" Modify Multiplier Color Selections"));
    setModal(true);

    m_workedSample = new QLabel(QStringLiteral("Appearance of multiplier worked"), this);
    m_workedSample->setObjectName(QStringLiteral("lblWorkedSample"));
    FormScaler::place(m_workedSample, {240, 240, 3120, 400}, kFont);
    m_remainingSample = new QLabel(QStringLiteral("Appearance of multiplier remaining"), this);
    m_remainingSample->setObjectName(QStringLiteral("lblRemainingSample"));
    FormScaler::place(m_remainingSample, {240, 1000, 3120, 400}, kFont);
    paintSample(m_workedSample, m_worked);
    paintSample(m_remainingSample, m_remaining);

    auto* worked = new QPushButton(QStringLiteral("Change \"Worked\" Color"), this);
    worked->setObjectName(QStringLiteral("cmdWorked"));
    FormScaler::place(worked, {3480, 200, 2520, 480}, kFont);
    connect(worked, &QPushButton::clicked, this, [this] { change(m_worked, m_workedSample); });

    auto* remaining = new QPushButton(QStringLiteral("Change \"Remaining\" Color"), this);
    remaining->setObjectName(QStringLiteral("cmdRemaining"));
    FormScaler::place(remaining, {3480, 960, 2520, 480}, kFont);
    connect(remaining, &QPushButton::clicked, this, [this] { change(m_remaining, m_remainingSample); });

    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("cmdDone"));
    done->setAutoDefault(false);
    FormScaler::place(done, {2520, 2040, 1200, 480}, kFont);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);

    FormScaler::scale(this, ScaleVariant::ScreenUncapped, kDesign);
}

void ColourWindow::change(long& colour, QLabel* sample) {
    // A cancelled chooser leaves the colour as it was.
    if (const auto chosen = m_dialogs.chooseColour(this, kChooserStartBgr)) {
        colour = *chosen;
        paintSample(sample, colour);
    }
}

void ColourWindow::paintSample(QLabel* sample, long colour) {
    QPalette p = sample->palette();
    p.setColor(QPalette::WindowText, GridMapPanel::colourOf(colour));
    sample->setPalette(p);
}

} // namespace corvane
