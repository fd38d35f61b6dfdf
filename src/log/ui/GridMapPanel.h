#pragma once
// The map of grid squares around the station: 204 labels lblGrid0..lblGrid203 (17 rows of
// 12 from the north-west corner, worked squares in the worked colour) and four arrow
// buttons that move the map. The panel shows what the scoring logic computes; the main
// window reacts to its signals (a click fills the grid field, hovering shows the count).

#include "log/ContactLog.h"
#include "log/score/Stats.h"
#include "ui/Scaling.h"

#include <QColor>
#include <QWidget>
#include <array>
#include <string_view>

class QLabel;
class QPushButton;

namespace corvane {

class GridMapPanel : public QWidget {
    Q_OBJECT
public:
    // `design` is the panel's area on the main window's 9600 x 7200 twip canvas; the
    // labels and arrows are placed inside it. `log` must outlive the panel (hover counts
    // and the repaint after an arrow read it).
    GridMapPanel(const ContactLog& log, const TwipRect& design, QWidget* parent = nullptr);

    // GridFill for the own position (longitude west-positive) and the current page. A
    // station outside the north-west quadrant keeps the old captions. The worked
    // squares are painted again for the new captions.
    void refill(double ownLatitude, double ownLongitudeWest);
    // Every label in the remaining colour, then every record's GridR in the worked colour.
    void repaintWorked(const ContactLog& log);
    // ColorChange: the first label showing the grid takes the worked colour.
    void markWorked(std::string_view grid);
    // Colours as 0x00BBGGRR; the labels are repainted from the log.
    void setColours(long workedBgr, long remainingBgr);

    // Moves the page as an arrow button does: repaint, refill, paint the worked squares,
    // then focusCallRequested().
    void move(GridArrow arrow);

    QString caption(int index) const;
    bool isWorked(int index) const { return m_worked.test(static_cast<std::size_t>(index)); }
    QLabel* label(int index) const { return m_labels[static_cast<std::size_t>(index)]; }
    GridPage page() const { return m_page; }

    static QColor colourOf(long bgr);

signals:
    void gridClicked(const QString& caption);
    void hoverText(const QString& text);
    void focusCallRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setCaptions(const GridCaptions& captions);
    void paintLabel(int index, bool worked);
    int indexOf(QObject* object) const;

    const ContactLog& m_log;
    GridCaptions m_captions;
    WorkedGrids m_worked;
    std::array<QLabel*, kGridLabelCount> m_labels{};
    GridPage m_page;
    double m_ownLatitude = 0.0;
    double m_ownLongitudeWest = 0.0;
    QColor m_workedColour{255, 0, 0};
    QColor m_remainingColour{0, 0, 0};
};

} // namespace corvane
