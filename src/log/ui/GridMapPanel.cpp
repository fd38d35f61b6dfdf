#include "log/ui/GridMapPanel.h"

#include "ui/FormScaler.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

namespace corvane {

namespace {

// Room kept on each side of the labels for the arrow buttons.
constexpr double kArrowTwips = 200.0;
// Room between two neighbouring captions, as a share of a cell's width.
constexpr double kCaptionGap = 0.12;

QString fromLatin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

QColor GridMapPanel::colourOf(long bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

GridMapPanel::GridMapPanel(const ContactLog& log, const TwipRect& design, QWidget* parent)
    : QWidget(parent), m_log(log) {
    setObjectName(QStringLiteral("gridMap"));
    setAccessibleName(QStringLiteral("Grid map"));
    setAccessibleDescription(QStringLiteral("The grid squares around yours; worked squares are coloured"));
    FormScaler::place(this, design, 8.25);

    const double cellWidth = std::max(1.0, (design.width - 2 * kArrowTwips) / kGridColumns);
    const double cellHeight = std::max(1.0, (design.height - 2 * kArrowTwips) / kGridRows);
    // Each caption is a little narrower than its cell, so neighbours never run together,
    // and four characters fit it.
    const double labelWidth = cellWidth * (1.0 - kCaptionGap);
    const double fontPoints = std::clamp(std::min(labelWidth / 62.0, cellHeight / 26.0), 3.0, 8.25);
    for (int n = 0; n < kGridLabelCount; ++n) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("lblGrid%1").arg(n));
        label->setProperty("index", n);
        label->setAlignment(Qt::AlignCenter);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        const int row = n / kGridColumns;
        const int column = n % kGridColumns;
        FormScaler::place(label,
                          {kArrowTwips + column * cellWidth + (cellWidth - labelWidth) / 2,
                           kArrowTwips + row * cellHeight, labelWidth, cellHeight},
                          fontPoints);
        m_labels[static_cast<std::size_t>(n)] = label;
        paintLabel(n, false);
    }

    struct Arrow {
        const char* name;
        QStyle::StandardPixmap icon;
        GridArrow arrow;
        TwipRect at;
        const char* tip;
    };
    const double midX = design.width / 2 - kArrowTwips / 2;
    const double midY = design.height / 2 - kArrowTwips / 2;
    const Arrow arrows[] = {
        {"cmdGridNorth", QStyle::SP_ArrowUp, GridArrow::North, {midX, 0, kArrowTwips, kArrowTwips}, "North"},
        {"cmdGridSouth",
         QStyle::SP_ArrowDown,
         GridArrow::South,
         {midX, design.height - kArrowTwips, kArrowTwips, kArrowTwips},
         "South"},
        {"cmdGridWest", QStyle::SP_ArrowLeft, GridArrow::West, {0, midY, kArrowTwips, kArrowTwips}, "West"},
        {"cmdGridEast",
         QStyle::SP_ArrowRight,
         GridArrow::East,
         {design.width - kArrowTwips, midY, kArrowTwips, kArrowTwips},
         "East"},
    };
    for (const Arrow& a : arrows) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(a.name));
        button->setIcon(style()->standardIcon(a.icon));
        button->setToolTip(QString::fromLatin1(a.tip));
        button->setAccessibleName(QStringLiteral("Grid map ") + QString::fromLatin1(a.tip));
        button->setAccessibleDescription(QStringLiteral("Moves the grid map one step ") + QString::fromLatin1(a.tip));
        button->setFocusPolicy(Qt::NoFocus);
        FormScaler::place(button, a.at, 8.25);
        const GridArrow arrow = a.arrow;
        connect(button, &QPushButton::clicked, this, [this, arrow] { move(arrow); });
    }
}

QString GridMapPanel::caption(int index) const {
    if (index < 0 || index >= kGridLabelCount) {
        return {};
    }
    return fromLatin1(m_captions[static_cast<std::size_t>(index)]);
}

void GridMapPanel::setCaptions(const GridCaptions& captions) {
    m_captions = captions;
    for (int n = 0; n < kGridLabelCount; ++n) {
        m_labels[static_cast<std::size_t>(n)]->setText(caption(n));
        paintLabel(n, isWorked(n));
    }
}

void GridMapPanel::refill(double ownLatitude, double ownLongitudeWest) {
    m_ownLatitude = ownLatitude;
    m_ownLongitudeWest = ownLongitudeWest;
    if (const auto captions = gridFill(ownLatitude, ownLongitudeWest, m_page.latitude, m_page.longitude)) {
        setCaptions(*captions);
    }
    repaintWorked(m_log);
}

void GridMapPanel::repaintWorked(const ContactLog& log) {
    const WorkedGrids worked = workedGrids(m_captions, log);
    for (int n = 0; n < kGridLabelCount; ++n) {
        paintLabel(n, worked.test(static_cast<std::size_t>(n)));
    }
}

void GridMapPanel::markWorked(std::string_view grid) {
    const auto index = gridLabelFor(m_captions, grid);
    if (index && !isWorked(*index)) {
        paintLabel(*index, true);
    }
}

void GridMapPanel::setColours(long workedBgr, long remainingBgr) {
    m_workedColour = colourOf(workedBgr);
    m_remainingColour = colourOf(remainingBgr);
    repaintWorked(m_log);
}

void GridMapPanel::move(GridArrow arrow) {
    moveGridPage(m_page, arrow);
    for (int n = 0; n < kGridLabelCount; ++n) {
        paintLabel(n, false);
    }
    if (const auto captions = gridFill(m_ownLatitude, m_ownLongitudeWest, m_page.latitude, m_page.longitude)) {
        setCaptions(*captions);
    }
    repaintWorked(m_log);
    emit focusCallRequested();
}

void GridMapPanel::paintLabel(int index, bool worked) {
    m_worked.set(static_cast<std::size_t>(index), worked);
    QLabel* label = m_labels[static_cast<std::size_t>(index)];
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, worked ? m_workedColour : m_remainingColour);
    label->setPalette(p);
    // The colour says it to the eye; the name says it to a screen reader.
    const QString caption = label->text();
    const QString name =
        caption.isEmpty() ? QString() : caption + (worked ? QStringLiteral(" worked") : QStringLiteral(" not worked"));
    if (label->accessibleName() != name) {
        label->setAccessibleName(name);
    }
}

int GridMapPanel::indexOf(QObject* object) const {
    const QVariant index = object->property("index");
    return index.isValid() ? index.toInt() : -1;
}

bool GridMapPanel::eventFilter(QObject* watched, QEvent* event) {
    const int index = indexOf(watched);
    if (index < 0 || index >= kGridLabelCount) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            emit gridClicked(caption(index));
            return true;
        }
        break;
    case QEvent::Enter:
    case QEvent::MouseMove:
        if (m_captions[static_cast<std::size_t>(index)].empty()) {
            break;
        }
        emit hoverText(fromLatin1(gridHoverText(m_captions[static_cast<std::size_t>(index)], m_log)));
        // Kept here: the window behind clears the hover text when the mouse moves over it.
        return event->type() == QEvent::MouseMove;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace corvane
