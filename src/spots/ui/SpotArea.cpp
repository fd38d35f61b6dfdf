#include "spots/ui/SpotArea.h"

#include "spots/ui/SpotLabel.h"
#include "spots/ui/SpotWorthMarks.h"
#include "ui/FormScaler.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

namespace corvane::spots {

namespace {

const char* const kSavedDesign = "corvaneSpotAreaSaved";
constexpr double kShrink = 0.9;
constexpr int kParkTwips = 1000;
constexpr double kFont = 8.25;

} // namespace

void setTextColour(QWidget* label, const Rgb& colour) {
    const QColor wanted(colour.red, colour.green, colour.blue);
    QPalette p = label->palette();
    if (p.color(QPalette::WindowText) != wanted) {
        p.setColor(QPalette::WindowText, wanted);
        label->setPalette(p);
    }
}

Rgb textColour(const QWidget* label) {
    const QColor c = label->palette().color(QPalette::WindowText);
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
}

SpotArea::SpotArea(QWidget* central, RecentSpots& store, std::function<DateTime()> now,
                   std::function<double()> utcOffsetHours)
    : QObject(central), m_central(central), m_store(store), m_now(std::move(now)),
      m_utcOffset(std::move(utcOffsetHours)) {
    m_list = new QTreeWidget(central);
    m_list->setObjectName(QStringLiteral("txtDX"));
    m_list->setRootIsDecorated(false);
    m_list->setColumnCount(8);
    m_list->setHeaderLabels({QStringLiteral("Call"), QStringLiteral("Frequency"), QStringLiteral("QTH"),
                             QStringLiteral("Status"), QStringLiteral("Comments"), QStringLiteral("Prefix"),
                             QStringLiteral("Time"), QStringLiteral("From")});
    m_list->setColumnHidden(3, true);
    m_list->setAccessibleName(QStringLiteral("Spot list"));
    m_list->setAccessibleDescription(QStringLiteral(
        "Spots from the cluster, newest first: call, frequency, place, comments, prefix, time, spotter and what the "
        "call is worth. A click tunes the radio to the spot and puts the call in the Call field."));
    m_list->viewport()->installEventFilter(this);
    FormScaler::place(m_list, {96, kParkTwips, 9312, 600}, kFont);
    FormScaler::setColumnWidths(m_list, {1040, 880, 2000, 0, 3400, 520, 600, 520});
    m_list->hide();

    m_panel = new QWidget(central);
    m_panel->setObjectName(QStringLiteral("lblDX"));
    m_panel->setAccessibleName(QStringLiteral("Band map"));
    m_panel->setAccessibleDescription(
        QStringLiteral("The spots of the last hour along the band, by frequency. A click opens the spotting setup; a "
                       "double click the spectrum map."));
    m_panel->setAutoFillBackground(true);
    m_panel->setStyleSheet(QStringLiteral("QWidget#lblDX { background: #000080; }"));
    m_panel->setAttribute(Qt::WA_StyledBackground, true);
    m_panel->installEventFilter(this);
    FormScaler::place(m_panel, {96, kParkTwips, 9312, 600}, kFont);
    m_panel->hide();
    m_line = new QFrame(m_panel);
    m_line->setObjectName(QStringLiteral("LineDX"));
    m_line->setFrameShape(QFrame::NoFrame);
    m_line->setStyleSheet(QStringLiteral("background: white;"));
    for (std::size_t i = 0; i < m_scale.size(); ++i) {
        m_scale[i] = new QLabel(m_panel);
        m_scale[i]->setObjectName(QStringLiteral("lblFreqSpot%1").arg(i));
        m_scale[i]->setStyleSheet(QStringLiteral("color: white;"));
        m_scale[i]->setAlignment(Qt::AlignCenter);
    }
    for (int i = 0; i < kSpotSlots; ++i) {
        auto* label = new SpotLabel(i, m_panel);
        m_labels[static_cast<std::size_t>(i)] = label;
        connect(label, &SpotLabel::hovered, this, &SpotArea::labelHovered);
        connect(label, &SpotLabel::rightPressed, this, &SpotArea::labelRightPressed);
        connect(label, &SpotLabel::otherPressed, this, [this](int slot) {
            m_store.remove(slot);
            redraw();
        });
    }
}

SpotArea::~SpotArea() {
    setWorth(nullptr);
}

void SpotArea::setWorth(SpotWorthSlot* worth) {
    if (m_worth != nullptr) {
        m_worth->unlisten(m_worthListener);
    }
    m_worth = worth;
    if (m_worth != nullptr) {
        m_worthListener = m_worth->listen([this] { remark(); });
        remark();
    }
}

void SpotArea::remark() {
    if (m_worth == nullptr || !m_worth->attached()) {
        return;
    }
    if (m_list->isColumnHidden(kPointsColumn)) {
        showPointsColumn(m_list);
    }
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = m_list->topLevelItem(i);
        markRow(row, m_worth->worthOf(row->text(0).toLatin1().toStdString()));
    }
    redraw();
}

// Every placed control of the main window other than the spot area takes `factor` of its
// design top and height. Shrinking remembers the design it started from, so growing again
// restores it exactly.
void SpotArea::scaleOthers(double factor) {
    for (QWidget* control : m_central->findChildren<QWidget*>()) {
        if (control == m_list || control == m_panel || m_list->isAncestorOf(control) ||
            m_panel->isAncestorOf(control)) {
            continue;
        }
        TwipRect design;
        if (!FormScaler::designOf(control, &design)) {
            continue;
        }
        if (factor < 1.0) {
            control->setProperty(kSavedDesign, QVariantList{design.left, design.top, design.width, design.height});
            design.top *= factor;
            design.height *= factor;
        } else {
            const QVariantList saved = control->property(kSavedDesign).toList();
            if (saved.size() == 4) {
                design = {saved[0].toDouble(), saved[1].toDouble(), saved[2].toDouble(), saved[3].toDouble()};
            }
            control->setProperty(kSavedDesign, QVariant());
        }
        FormScaler::redesign(control, design);
    }
}

// The list and the panel take the rest of the window below the other controls.
void SpotArea::placeArea() {
    double bottom = 0;
    for (QWidget* control : m_central->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        TwipRect design;
        if (control == m_list || control == m_panel || !FormScaler::designOf(control, &design)) {
            continue;
        }
        bottom = std::max(bottom, design.top + design.height);
    }
    const double fy = FormScaler::controlY(m_central->window());
    const double fx = FormScaler::controlX(m_central->window());
    // The area ends where the window's inside ends, or the screen's work area when the
    // window reaches beyond it.
    int visibleHeight = m_central->height();
    if (const QScreen* screen = m_central->screen(); screen != nullptr && m_central->isVisible()) {
        const int bottom = screen->availableGeometry().bottom() - m_central->mapToGlobal(QPoint(0, 0)).y();
        visibleHeight = std::clamp(bottom, 1, visibleHeight);
    }
    const double innerHeight = visibleHeight / fy * kTwipsPerPixel;
    const double innerWidth = m_central->width() / fx * kTwipsPerPixel;
    const TwipRect area{0.01 * innerWidth, bottom, 0.97 * innerWidth, std::max(300.0, innerHeight - bottom)};
    FormScaler::redesign(m_list, area);
    FormScaler::redesign(m_panel, area);
    placeLine();
}

void SpotArea::placeLine() {
    // The line's ends leave half a spot label of room, measured on the design caption: the
    // caption slot 0 shows now must not move the line.
    const int half = m_labels[0]->designWidth() / 2;
    m_x1 = half;
    m_x2 = m_panel->width() - half;
    m_lineY = m_panel->height() / 2;
    m_line->setGeometry(m_x1, m_lineY, std::max(1, m_x2 - m_x1), 1);
    const MapScale scale = mainMapScale(m_store);
    const int gap = static_cast<int>(std::lround(0.004 * m_central->window()->height()));
    for (std::size_t i = 0; i < m_scale.size(); ++i) {
        m_scale[i]->setText(QString::fromStdString(scale.captions[i]));
        m_scale[i]->adjustSize();
        const double left = scaleCaptionLeft(static_cast<int>(i), m_x1, m_x2, m_scale[i]->width());
        m_scale[i]->move(static_cast<int>(std::lround(keepInside(left, m_scale[i]->width(), 0, m_panel->width()))),
                         m_lineY + gap);
    }
}

void SpotArea::layout(bool listMode, SpotSource source) {
    const bool none = !opensLink(source);
    if (m_state == State::Absent) {
        if (none) {
            return;
        }
        scaleOthers(kShrink);
        placeArea();
    } else if (none) {
        scaleOthers(1.0 / kShrink);
        m_list->hide();
        m_panel->hide();
        FormScaler::redesign(m_list, {96, kParkTwips, 9312, 600});
        FormScaler::redesign(m_panel, {96, kParkTwips, 9312, 600});
        m_state = State::Absent;
        return;
    }
    if (listMode) {
        m_list->show();
        m_panel->hide();
        m_state = State::List;
    } else {
        m_list->hide();
        m_panel->show();
        m_state = State::BandMap;
        placeLine();
        redraw();
    }
}

void SpotArea::redraw() {
    if (m_state != State::BandMap) {
        return;
    }
    for (SpotLabel* label : m_labels) {
        label->hide();
    }
    placeLine();
    const MapScale scale = mainMapScale(m_store);
    const int gap = static_cast<int>(std::lround(0.004 * m_central->window()->height()));
    for (const SpotMark& mark : mainMapMarks(m_store, scale, m_now(), m_utcOffset())) {
        SpotLabel* label = m_labels[static_cast<std::size_t>(mark.slot)];
        label->setText(QString::fromLatin1(mark.caption.c_str()));
        label->setToolTip(QString::fromLatin1(mark.toolTip.c_str()));
        setTextColour(label, mark.colour);
        if (m_worth != nullptr && m_worth->attached()) {
            markLabel(label, m_worth->worthOf(m_store.slot(mark.slot).call), mark.colour);
        }
        label->adjustSize();
        label->move(static_cast<int>(std::lround(labelLeft(mark.fraction, m_x1, m_x2, label->width()))),
                    m_lineY - label->height() - gap);
        label->show();
        label->raise();
    }
}

namespace {
// Where a row keeps its spot: the call and the frequency beside the texts shown.
constexpr int kCallRole = Qt::UserRole;
constexpr int kFrequencyRole = Qt::UserRole + 1;
} // namespace

void SpotArea::addRow(const SpotListRow& row, const std::string& call, float frequencyMHz) {
    while (m_list->topLevelItemCount() > kSpotListMaxRows - 1) {
        delete m_list->takeTopLevelItem(m_list->topLevelItemCount() - 1);
    }
    auto* item = new QTreeWidgetItem(
        QStringList{QString::fromLatin1(row.call.c_str()), QString::fromLatin1(row.frequency.c_str()),
                    QString::fromLatin1(row.qth.c_str()), QString::fromLatin1(row.status.c_str()),
                    QString::fromLatin1(row.comments.c_str()), QString::fromLatin1(row.prefix.c_str()),
                    QString::fromLatin1(row.time.c_str()), QString::fromLatin1(row.from.c_str())});
    item->setData(0, kCallRole, QByteArray::fromStdString(call));
    item->setData(0, kFrequencyRole, frequencyMHz);
    if (m_worth != nullptr && m_worth->attached()) {
        markRow(item, m_worth->worthOf(row.call));
    }
    m_list->insertTopLevelItem(0, item);
}

std::optional<ListedSpot> SpotArea::selectedSpot() const {
    const QTreeWidgetItem* row = m_list->currentItem();
    if (m_list->topLevelItemCount() == 0 || row == nullptr) {
        return std::nullopt;
    }
    return ListedSpot{row->data(0, kCallRole).toByteArray().toStdString(), row->data(0, kFrequencyRole).toFloat()};
}

bool SpotArea::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool twice = event->type() == QEvent::MouseButtonDblClick;
    if (watched == m_panel) {
        if (press) {
            emit panelClicked();
        } else if (twice) {
            emit panelDoubleClicked();
            return true;
        } else if (event->type() == QEvent::Resize && m_state == State::BandMap) {
            redraw();
        }
    } else if (watched == m_list->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease) {
            emit listClicked();
        } else if (twice) {
            emit listDoubleClicked();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace corvane::spots
