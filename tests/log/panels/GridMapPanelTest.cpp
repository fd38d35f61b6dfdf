// The grid map: captions around the own square, worked colours, hover counts, clicks and
// the arrow buttons.

#include "log/ui/GridMapPanel.h"

#include "PanelsTestLog.h"
#include "log/score/Grid.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

constexpr TwipRect kArea{4800, 3600, 4700, 3400};
constexpr long kRedBgr = 0x000000FF;
constexpr long kBlueBgr = 0x00FF0000;

QLabel* gridLabel(GridMapPanel& panel, int n) {
    return panel.findChild<QLabel*>(QStringLiteral("lblGrid%1").arg(n));
}

std::vector<QString> captionsOf(GridMapPanel& panel) {
    std::vector<QString> out;
    for (int n = 0; n < kGridLabelCount; ++n) {
        out.push_back(gridLabel(panel, n)->text());
    }
    return out;
}

QColor textColour(QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

GeoPosition fn20() {
    return *gridCorner("FN20");
}

} // namespace

TEST(GridMapPanel, FillsCaptionsAroundTheOwnSquareAndKeepsThemForAStationOutsideTheQuadrant) {
    const ContactLog log;
    GridMapPanel panel(log, kArea);
    panel.refill(fn20().latitude, fn20().longitudeWest);
    EXPECT_EQ(gridLabel(panel, 0)->text(), QStringLiteral("EN68"));
    EXPECT_EQ(gridLabel(panel, 11)->text(), QStringLiteral("FN78"));
    EXPECT_EQ(gridLabel(panel, 12)->text(), QStringLiteral("EN67"));
    EXPECT_EQ(gridLabel(panel, kOwnGridLabel)->text(), QStringLiteral("FN20"));
    EXPECT_EQ(gridLabel(panel, 203)->text(), QStringLiteral("FM72"));
    ASSERT_NE(gridLabel(panel, 203)->property("index"), QVariant());
    EXPECT_EQ(gridLabel(panel, 203)->property("index").toInt(), 203);

    const auto before = captionsOf(panel);
    panel.refill(-33.0, 70.0); // south of the equator
    EXPECT_EQ(captionsOf(panel), before);
}

TEST(GridMapPanel, PaintsWorkedGridsAndMarksOneLabelPerContact) {
    ContactLog log = logOf({qso("K1ABC", "FN31"), qso("K2ABC", "fn31"), qso("K3ABC", "ZZ99")});
    GridMapPanel panel(log, kArea);
    panel.setColours(kRedBgr, kBlueBgr);
    panel.refill(fn20().latitude, fn20().longitudeWest);

    int fn31 = -1;
    for (int n = 0; n < kGridLabelCount; ++n) {
        if (panel.caption(n) == QStringLiteral("FN31")) {
            fn31 = n;
        }
    }
    ASSERT_GE(fn31, 0);
    for (int n = 0; n < kGridLabelCount; ++n) {
        EXPECT_EQ(panel.isWorked(n), n == fn31) << n;
        // What the colour tells the eye, the name tells a screen reader.
        EXPECT_EQ(gridLabel(panel, n)->accessibleName(),
                  panel.caption(n) + (n == fn31 ? QStringLiteral(" worked") : QStringLiteral(" not worked")))
            << n;
        EXPECT_EQ(textColour(gridLabel(panel, n)), n == fn31 ? QColor(255, 0, 0) : QColor(0, 0, 255)) << n;
    }

    // One logged contact changes its own label only; case does not matter.
    panel.markWorked("fn42");
    int fn42 = 0;
    while (panel.caption(fn42) != QStringLiteral("FN42")) {
        ++fn42;
    }
    EXPECT_TRUE(panel.isWorked(fn42));
    EXPECT_EQ(gridLabel(panel, fn42)->accessibleName(), QStringLiteral("FN42 worked"));
    panel.markWorked("AA00"); // not on the map
    int worked = 0;
    for (int n = 0; n < kGridLabelCount; ++n) {
        worked += panel.isWorked(n) ? 1 : 0;
    }
    EXPECT_EQ(worked, 2);

    // New colours repaint from the log, so the label marked without a record goes back.
    panel.setColours(kBlueBgr, kRedBgr);
    EXPECT_FALSE(panel.isWorked(fn42));
    EXPECT_EQ(textColour(gridLabel(panel, fn31)), QColor(0, 0, 255));
}

TEST(GridMapPanel, HoverShowsTheCountAndAClickHandsOverTheCaption) {
    ContactLog log = logOf({qso("K1ABC", "FN31"), qso("K2ABC", "fn31"), qso("K3ABC", "FN20")});
    GridMapPanel panel(log, kArea);
    panel.refill(fn20().latitude, fn20().longitudeWest);
    panel.show();
    QSignalSpy hover(&panel, &GridMapPanel::hoverText);
    QSignalSpy clicked(&panel, &GridMapPanel::gridClicked);

    QLabel* own = gridLabel(panel, kOwnGridLabel);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(own, &enter);
    ASSERT_EQ(hover.count(), 1);
    EXPECT_EQ(hover.at(0).at(0).toString(), QStringLiteral("FN20  Total = 1"));

    int fn31 = 0;
    while (panel.caption(fn31) != QStringLiteral("FN31")) {
        ++fn31;
    }
    QTest::mouseMove(gridLabel(panel, fn31));
    QEvent enter31(QEvent::Enter);
    QApplication::sendEvent(gridLabel(panel, fn31), &enter31);
    EXPECT_EQ(hover.last().at(0).toString(), QStringLiteral("FN31  Total = 2"));

    QTest::mouseClick(gridLabel(panel, fn31), Qt::LeftButton);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toString(), QStringLiteral("FN31"));
    QTest::mouseClick(gridLabel(panel, fn31), Qt::RightButton);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(GridMapPanel, ArrowsMoveThePageRepaintAndNorthThenSouthRestores) {
    ContactLog log = logOf({qso("K1ABC", "FN20"), qso("K2ABC", "EN79")});
    GridMapPanel panel(log, kArea);
    panel.refill(fn20().latitude, fn20().longitudeWest);
    const auto first = captionsOf(panel);
    QSignalSpy focus(&panel, &GridMapPanel::focusCallRequested);

    auto* north = panel.findChild<QPushButton*>(QStringLiteral("cmdGridNorth"));
    auto* south = panel.findChild<QPushButton*>(QStringLiteral("cmdGridSouth"));
    auto* west = panel.findChild<QPushButton*>(QStringLiteral("cmdGridWest"));
    auto* east = panel.findChild<QPushButton*>(QStringLiteral("cmdGridEast"));
    ASSERT_TRUE(north && south && west && east);

    north->click();
    EXPECT_EQ(panel.page().latitude, 1);
    // One degree north: the row that was second from the top is now the third.
    EXPECT_EQ(gridLabel(panel, 24)->text(), first[12]);
    EXPECT_EQ(gridLabel(panel, 0)->text(), QStringLiteral("EN69"));
    // EN79 came onto the map: painted worked after the move.
    int en79 = 0;
    while (panel.caption(en79) != QStringLiteral("EN79")) {
        ++en79;
    }
    EXPECT_TRUE(panel.isWorked(en79));
    south->click();
    EXPECT_EQ(captionsOf(panel), first);
    EXPECT_TRUE(panel.isWorked(kOwnGridLabel));

    west->click();
    EXPECT_EQ(gridLabel(panel, 1)->text(), first[0]);
    east->click();
    EXPECT_EQ(captionsOf(panel), first);
    EXPECT_EQ(focus.count(), 4);
}
