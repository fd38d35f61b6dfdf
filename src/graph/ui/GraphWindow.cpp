#include "graph/ui/GraphWindow.h"

#include "log/ContactLog.h"
#include "platform/Dialogs.h"
#include "ui/FormScaler.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace corvane {

namespace {

constexpr TwipRect kDesign{0, 0, 9600, 7200};
// The axis lines: the time origin and end on x, the minimum and maximum on y (twips).
constexpr double kLeftX = 1080;
constexpr double kRightX = 9240;
constexpr double kTopY = 840;
constexpr double kBottomY = 5400;
constexpr double kFontPoints = 8.25;

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QColor fromBgr(std::uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QFrame* axisLine(QWidget* parent, const char* name, const TwipRect& at) {
    auto* line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    FormScaler::place(line, at);
    return line;
}

} // namespace

GraphWindow::GraphWindow(Dialogs& dialogs, const ContactLog& log, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_log(log) {
    setObjectName(QStringLiteral("GraphQSO"));
    setWindowTitle(latin1(graph::text::kWindowCaption));
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(true);

    m_caption = new QLabel(QStringLiteral("QSOs per Hour"), this);
    m_caption->setObjectName(QStringLiteral("lblCaption"));
    FormScaler::place(m_caption, {kLeftX, 240, 4000, 360}, 12);

    m_axis[0] = axisLine(this, "LineLeft", {kLeftX, kTopY, 15, kBottomY - kTopY});
    m_axis[1] = axisLine(this, "LineRight", {kRightX, kTopY, 15, kBottomY - kTopY});
    m_axis[2] = axisLine(this, "LineBottom", {kLeftX, kBottomY, kRightX - kLeftX, 15});
    m_axis[3] = axisLine(this, "LineTop", {kLeftX, kTopY, kRightX - kLeftX, 15});

    // Each time and date label is centred under its moment and as wide as the step between
    // two moments; they start below the lowest value label.
    const double slotOfLabel = (kRightX - kLeftX) / 14.0;
    for (int k = 0; k < 15; ++k) {
        const double x = kLeftX + k * slotOfLabel - slotOfLabel / 2;
        m_time[k] = new QLabel(this);
        m_time[k]->setObjectName(QStringLiteral("lblTime%1").arg(k));
        m_time[k]->setAlignment(Qt::AlignHCenter);
        FormScaler::place(m_time[k], {x, kBottomY + 150, slotOfLabel, 260}, kFontPoints);
        m_date[k] = new QLabel(this);
        m_date[k]->setObjectName(QStringLiteral("lblDate%1").arg(k));
        m_date[k]->setAlignment(Qt::AlignHCenter);
        FormScaler::place(m_date[k], {x, kBottomY + 410, slotOfLabel, 260}, kFontPoints);
    }
    const double valueStep = (kBottomY - kTopY) / 16.0;
    for (int k = 0; k < 17; ++k) {
        m_value[k] = new QLabel(this);
        m_value[k]->setObjectName(QStringLiteral("lblY%1").arg(k));
        m_value[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        FormScaler::place(m_value[k], {120, kBottomY - k * valueStep - 130, kLeftX - 200, 260}, kFontPoints);
    }

    m_bandCaption = new QLabel(QStringLiteral("Band "), this);
    m_bandCaption->setObjectName(QStringLiteral("lblBand"));
    FormScaler::place(m_bandCaption, {kLeftX, 6420, 600, 300}, kFontPoints);
    m_bandLabel = new QLabel(QStringLiteral("160M"), this);
    m_bandLabel->setObjectName(QStringLiteral("lblBand160"));
    FormScaler::place(m_bandLabel, {kLeftX + 600, 6420, 700, 300}, kFontPoints);

    m_background = new QPushButton(latin1(graph::text::kBlackBackground), this);
    m_background->setObjectName(QStringLiteral("Command1"));
    m_background->setAutoDefault(false);
    FormScaler::place(m_background, {7320, 6360, 1920, 420}, kFontPoints);
    connect(m_background, &QPushButton::clicked, this, &GraphWindow::toggleBackground);

    applyScheme();
    FormScaler::scale(this, ScaleVariant::WorkAreaCapped, kDesign);
    redraw();
}

void GraphWindow::applyScheme() {
    const QColor back = m_black ? Qt::black : Qt::white;
    const QColor fore = m_black ? Qt::white : Qt::black;
    QPalette window = palette();
    window.setColor(QPalette::Window, back);
    setPalette(window);
    auto paintText = [&fore](QLabel* label) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, fore);
        label->setPalette(p);
    };
    for (QLabel* label : m_time) {
        paintText(label);
    }
    for (QLabel* label : m_date) {
        paintText(label);
    }
    for (QLabel* label : m_value) {
        paintText(label);
    }
    paintText(m_caption);
    paintText(m_bandCaption);
    QPalette band = m_bandLabel->palette();
    band.setColor(QPalette::WindowText, fromBgr(graph::text::kCurveColourBgr));
    m_bandLabel->setPalette(band);
    for (QFrame* line : m_axis) {
        QPalette p = line->palette();
        p.setColor(QPalette::Window, fore);
        line->setPalette(p);
    }
}

void GraphWindow::toggleBackground() {
    m_black = m_background->text() != latin1(graph::text::kBlackBackground);
    m_background->setText(latin1(m_black ? graph::text::kBlackBackground : graph::text::kWhiteBackground));
    applyScheme();
    redraw();
}

void GraphWindow::redraw() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_graph = computeRateGraph(m_log.records());
    QApplication::restoreOverrideCursor();
    if (m_graph.status == RateGraph::Status::NotEnoughContacts) {
        m_dialogs.message(this, latin1(graph::text::kNotEnoughTitle), latin1(graph::text::kNotEnoughText));
        update();
        return;
    }
    // Labels the computation did not reach keep what they showed.
    auto show = [](QLabel* label, const std::string& text) {
        if (!text.empty()) {
            label->setText(QString::fromStdString(text));
        }
    };
    for (std::size_t k = 0; k < m_time.size(); ++k) {
        show(m_time[k], m_graph.timeLabels[k]);
        show(m_date[k], m_graph.dateLabels[k]);
    }
    for (std::size_t k = 0; k < m_value.size(); ++k) {
        show(m_value[k], m_graph.valueLabels[k]);
    }
    update();
}

PlotArea GraphWindow::plotAreaPixels() const {
    PlotArea area;
    area.leftX = m_axis[0]->geometry().left();
    area.rightX = m_axis[1]->geometry().left();
    area.bottomY = m_axis[2]->geometry().top();
    area.topY = m_axis[3]->geometry().top();
    return area;
}

void GraphWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (m_graph.status != RateGraph::Status::Ready) {
        return;
    }
    // The curve's arithmetic works in twips, as the window was designed.
    const PlotArea pixels = plotAreaPixels();
    const PlotArea twips{pixels.leftX * kTwipsPerPixel, pixels.rightX * kTwipsPerPixel, pixels.bottomY * kTwipsPerPixel,
                         pixels.topY * kTwipsPerPixel};
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
    QPen pen(fromBgr(graph::text::kCurveColourBgr));
    pen.setCosmetic(true);
    painter.setPen(pen);
    for (const GraphSegment& s : rateGraphSegments(m_graph, twips)) {
        painter.drawLine(QPointF(s.x1, s.y1), QPointF(s.x2, s.y2));
    }
}

} // namespace corvane
