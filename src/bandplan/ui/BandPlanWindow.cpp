#include "bandplan/ui/BandPlanWindow.h"

#include "core/DurableFile.h"
#include "platform/Dialogs.h"
#include "ui/FormScaler.h"

#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <algorithm>

namespace corvane::bandplan {

namespace {

constexpr TwipRect kDesign{0, 0, 9600, 7200};
constexpr double kFont = 8.25;
constexpr double kRuleTwips = 720;
constexpr int kSegmentTextMarginPx = 2; // the box line and a pixel of air on each side

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The capped text factor: the screen's width against the 9600-twip design, at most 1.5.
double textFactor(const QWidget* window) {
    return std::min(1.5, FormScaler::screenOf(window).screenWidth / kDesign.width);
}

} // namespace

BandPlanWindow::BandPlanWindow(Dialogs& dialogs, std::string workingDirectory, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_workingDirectory(std::move(workingDirectory)) {
    setObjectName(QStringLiteral("frmBandPlan"));
    setWindowTitle(QStringLiteral("Frequency Privileges"));

    double left = 120;
    for (const LicenceClass& licence : licenceClasses()) {
        auto* button = new QPushButton(latin1(licence.button), this);
        button->setObjectName(QStringLiteral("cmdClass%1").arg(latin1(licence.letter)));
        button->setAutoDefault(false);
        FormScaler::place(button, {left, 90, 1000, 330}, kFont);
        const std::string letter(licence.letter);
        connect(button, &QPushButton::clicked, this, [this, letter] { chooseClass(letter); });
        left += 1060;
    }
    m_heading = new QLabel(QStringLiteral("Privelages"), this);
    m_heading->setObjectName(QStringLiteral("lblHeading"));
    m_heading->setStyleSheet(QStringLiteral("font-weight: bold;"));
    // Two lines when the screen is narrow: "Technician Plus Frequency Privileges" is long.
    m_heading->setWordWrap(true);
    m_heading->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    FormScaler::place(m_heading, {left + 90, 30, 9600 - left - 150, 400}, 9);
    m_effective = new QLabel(QStringLiteral("Frequencies Effective"), this);
    m_effective->setObjectName(QStringLiteral("lblEffective"));
    FormScaler::place(m_effective, {120, 450, 5000, 250}, kFont);
    auto* cw = new QLabel(QStringLiteral("CW"), this);
    cw->setObjectName(QStringLiteral("lblCW"));
    cw->setAlignment(Qt::AlignCenter);
    cw->setStyleSheet(QStringLiteral("background-color: rgb(0, 0, 255); color: white;"));
    FormScaler::place(cw, {7000, 440, 1000, 240}, kFont);
    auto* phone = new QLabel(QStringLiteral("Phone"), this);
    phone->setObjectName(QStringLiteral("lblPhone"));
    phone->setAlignment(Qt::AlignCenter);
    phone->setStyleSheet(QStringLiteral("background-color: rgb(0, 255, 0); color: black;"));
    FormScaler::place(phone, {8100, 440, 1000, 240}, kFont);
    m_rule = new QFrame(this);
    m_rule->setObjectName(QStringLiteral("linRule"));
    m_rule->setFrameShape(QFrame::HLine);
    FormScaler::place(m_rule, {120, kRuleTwips, 9240, 30}, kFont);

    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("cmdDone"));
    done->setAutoDefault(false);
    // Clear of the bottom edge, which a window frame may take.
    FormScaler::place(done, {4200, 6420, 1200, 380}, kFont);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);

    FormScaler::scale(this, ScaleVariant::WorkAreaFilled, kDesign);
}

void BandPlanWindow::load() {
    const std::string path = m_workingDirectory + "/" + std::string(kBandPlanFile);
    std::string error;
    const auto bytes = readWholeFile(path, &error);
    if (!bytes) {
        m_plan = {};
        m_dialogs.message(this, latin1(kNotAvailableTitle),
                          latin1(std::string(kNotAvailableText) + "\r\n\r\n" + path + ": " +
                                 (error.empty() ? std::string("the file cannot be read") : error)),
                          MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    m_plan = parseBandPlan(*bytes);
    // The date line is set as soon as the date is read, before any row can fail.
    if (m_plan.effectiveDateRead) {
        m_effective->setText(latin1(effectiveLine(m_plan)));
    }
    if (m_plan.error) {
        // What was read before the fault stays, and the class buttons chart it.
        m_dialogs.message(this, latin1(kNotAvailableTitle),
                          latin1(std::string(kNotAvailableText) + "\r\n\r\n" + m_plan.error->describe(path)),
                          MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    chooseClass(kExtraClass);
}

void BandPlanWindow::chooseClass(std::string_view letter) {
    const LicenceClass* licence = findLicenceClass(letter);
    if (licence == nullptr) {
        return;
    }
    m_heading->setText(latin1(licence->heading));
    m_letter = std::string(letter);
    m_chart = buildChart(m_plan, letter);
    draw();
}

void BandPlanWindow::clearChart() {
    for (QLabel* label : m_chartLabels) {
        delete label;
    }
    m_chartLabels.clear();
}

void BandPlanWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!m_letter.empty()) {
        draw();
    }
}

void BandPlanWindow::draw() {
    clearChart();
    if (m_chart.bars.empty()) {
        return;
    }
    const double width = this->width();
    const double height = this->height();
    const double ruleY = m_rule->geometry().top();
    const double spacing = 0.8 * (height - ruleY) / static_cast<double>(m_chart.bars.size());
    const double barLeft = 0.1 * width;
    const double barWidth = 0.85 * width;
    const int barHeight = std::max(1, static_cast<int>(0.04 * height));
    const double factor = textFactor(this);

    const auto addLabel = [this](const QString& name, const QString& caption, const QString& tip, const QRect& at,
                                 const QString& style, const QFont& font) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(name);
        label->setToolTip(tip);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Box);
        label->setStyleSheet(style);
        label->setFont(font);
        label->setGeometry(at);
        label->show();
        m_chartLabels.push_back(label);
        return label;
    };

    QFont tagFont(QStringLiteral("Arial"));
    tagFont.setBold(true);
    tagFont.setPointSizeF(8 * factor);
    QFont segmentFont(QStringLiteral("Arial Narrow"));
    segmentFont.setPointSizeF(7 * factor);
    int bar = 0;
    int segment = 0;
    for (const ChartBar& b : m_chart.bars) {
        ++bar;
        const int top = static_cast<int>(ruleY + bar * spacing);
        const QString caption = latin1(b.band);
        const QString tip = latin1(b.tooltip);
        addLabel(QStringLiteral("blbl%1").arg(bar), caption, tip,
                 QRect(static_cast<int>(barLeft), top, static_cast<int>(barWidth), barHeight),
                 QStringLiteral("background-color: black; color: black;"), font());
        addLabel(QStringLiteral("bnlb%1").arg(bar), caption, tip,
                 QRect(static_cast<int>(0.04 * width), top, static_cast<int>(0.05 * width), barHeight),
                 QStringLiteral("background-color: rgb(255, 255, 0); color: black;"), tagFont);
        for (const ChartSegment& s : b.segments) {
            ++segment;
            const QString style = s.cw ? QStringLiteral("background-color: rgb(0, 0, 255); color: white;")
                                       : QStringLiteral("background-color: rgb(0, 255, 0); color: black;");
            const QRect at(static_cast<int>(barLeft + barWidth * s.leftFraction), top,
                           std::max(1, static_cast<int>(barWidth * s.widthFraction)), barHeight);
            // A segment too narrow for its edges shows them in its tool tip only: a caption cut
            // short would show other numbers than the segment's.
            const QString caption = latin1(s.caption);
            const bool fits =
                QFontMetrics(segmentFont).horizontalAdvance(caption) + 2 * kSegmentTextMarginPx <= at.width();
            QLabel* label = addLabel(QStringLiteral("priv%1").arg(segment), fits ? caption : QString(),
                                     latin1(s.tooltip), at, style, segmentFont);
            label->setAccessibleName(caption);
            label->setProperty("drawnOver", true); // laid on its bar on purpose
            label->raise();
        }
    }
}

} // namespace corvane::bandplan
