// The main window's band map and spot list and the HF spectrum map: what is drawn where, in
// which colour, and what a click does.

#include "SpotsTestFixture.h"
#include "spots/ui/SpectrumMapWindow.h"
#include "spots/ui/SpotLabel.h"
#include "support/SpotLines.h"

#include <QLabel>
#include <QTreeWidget>

using namespace corvane;
using namespace corvane::test;
using corvane::spots::testing::clusterLine;

namespace {

void spot(SpotsFixture& f, const std::string& kHz, const std::string& call) {
    const std::string line = clusterLine("K1ABC", kHz, call);
    f.feature().bandMapSpots({kHz, call, spots::spotRecord(line)});
}

void press(QWidget* w, Qt::MouseButton button) {
    QTest::mousePress(w, button, Qt::NoModifier, QPoint(2, 2));
}

} // namespace

TEST(SpotMaps, BandMapScaleLabelsColoursAndClicks) {
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    spots::SpotArea& area = f.feature().area();
    area.layout(false, spots::SpotSource::Telnet);
    ASSERT_EQ(area.state(), spots::SpotArea::State::BandMap);
    EXPECT_EQ(area.scaleLabels()[0]->text(), QStringLiteral("1.800"));
    EXPECT_EQ(area.scaleLabels()[2]->text(), QStringLiteral("1.900"));

    spot(f, "1822.5", "W1AW");
    spot(f, "1840.0", "VP2/K1ABC");
    spot(f, "7025.5", "JA1ABC"); // another band: listed, not drawn
    EXPECT_EQ(area.scaleLabels()[0]->text(), QStringLiteral("1.821"));
    EXPECT_EQ(area.scaleLabels()[4]->text(), QStringLiteral("1.841"));
    spots::SpotLabel* w1aw = area.spotLabel(47);
    spots::SpotLabel* vp2 = area.spotLabel(48);
    ASSERT_TRUE(w1aw->isVisible());
    EXPECT_EQ(w1aw->text(), QStringLiteral("W1"));
    EXPECT_EQ(vp2->text(), QStringLiteral("VP2"));
    EXPECT_FALSE(area.spotLabel(49)->isVisible());
    EXPECT_LT(w1aw->geometry().center().x(), vp2->geometry().center().x());
    EXPECT_TRUE(w1aw->toolTip().startsWith(QStringLiteral("W1AW  1.822  ")));
    auto* list = f.main.window->findChild<QTreeWidget*>(QStringLiteral("txtDX"));
    EXPECT_EQ(list->topLevelItemCount(), 3);

    // Ten minutes on the label turns white; an hour on it is gone.
    EXPECT_EQ(spots::textColour(w1aw), (Rgb{255, 255, 128}));
    f.main.clock.advanceSeconds(600);
    area.redraw();
    EXPECT_EQ(spots::textColour(w1aw), (Rgb{255, 255, 255}));
    f.main.clock.advanceSeconds(1200);
    area.redraw();
    EXPECT_EQ(spots::textColour(w1aw), (Rgb{192, 192, 192}));
    f.main.clock.advanceSeconds(-1200);
    f.main.clock.advanceSeconds(3000);
    area.redraw();
    EXPECT_FALSE(w1aw->isVisible());
    f.main.clock.advanceSeconds(-3600);
    area.redraw();

    // Hovering shows the label's details; a right click tunes and takes the call, then the
    // call field's exit runs (Tab): the cursor is in the grid field.
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(w1aw, &enter);
    EXPECT_EQ(f.main.labelText("lblDupe"), w1aw->toolTip());
    press(w1aw, Qt::RightButton);
    ASSERT_EQ(f.tuner.frequencies.size(), 1u);
    EXPECT_FLOAT_EQ(f.tuner.frequencies[0], 1.8225f);
    EXPECT_EQ(f.main.call()->text(), QStringLiteral("W1AW"));
    EXPECT_TRUE(f.main.grid()->hasFocus());

    // A left click takes the spot off the map; the list keeps its row.
    press(vp2, Qt::LeftButton);
    EXPECT_FLOAT_EQ(f.feature().store().slot(48).frequencyMHz, 0.0f);
    EXPECT_FALSE(vp2->isVisible());
    EXPECT_EQ(list->topLevelItemCount(), 3);
}

TEST(SpotMaps, ListClickTakesTheCallAndHoldsAtMostTwoHundredRows) {
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    spots::SpotArea& area = f.feature().area();
    area.layout(true, spots::SpotSource::Tnc);
    ASSERT_EQ(area.state(), spots::SpotArea::State::List);
    for (int i = 0; i < 201; ++i) {
        spot(f, "1830.0", "K" + std::to_string(i) + "AA");
    }
    QTreeWidget* list = area.list();
    ASSERT_EQ(list->topLevelItemCount(), 200);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("K200AA"));
    EXPECT_EQ(list->topLevelItem(199)->text(0), QStringLiteral("K1AA"));

    list->setCurrentItem(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(list->topLevelItem(1)).center());
    EXPECT_EQ(f.main.call()->text(), QStringLiteral("K199AA"));
    ASSERT_FALSE(f.tuner.frequencies.empty());
    EXPECT_FLOAT_EQ(f.tuner.frequencies.back(), 1.83f);

    // The row's spot is what it stands for, whatever its cells show.
    list->topLevelItem(2)->setText(0, QStringLiteral("XX9XX"));
    list->topLevelItem(2)->setText(1, QStringLiteral("9.999"));
    list->setCurrentItem(list->topLevelItem(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(list->topLevelItem(2)).center());
    EXPECT_EQ(f.main.call()->text(), QStringLiteral("K198AA"));
    EXPECT_FLOAT_EQ(f.tuner.frequencies.back(), 1.83f);
}

TEST(SpotMaps, SpectrumMapRowsScalesAndClicks) {
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    spot(f, "1825.5", "W1AW");
    spot(f, "7025.5", "JA1ABC");
    spot(f, "7350.0", "DL1ABC"); // above 40 m: on no row
    spot(f, "14025.5", "VK2ABC");
    spot(f, "14030.5", "ZL1ABC");
    spots::SpectrumMapWindow* map = f.feature().showSpectrumMap();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->windowTitle(), QStringLiteral(" HF Spectrum Map"));
    EXPECT_TRUE(map->isModal());
    EXPECT_TRUE(map->spotLabel(45)->isVisible());
    EXPECT_TRUE(map->spotLabel(46)->isVisible());
    EXPECT_FALSE(map->spotLabel(47)->isVisible());
    // Row 4 zooms on its two spots; row 8 keeps its band edges.
    const char* row4[] = {"14.024", "14.026", "14.028", "14.030", "14.032"};
    const char* row8[] = {"28.000", "28.425", "28.850", "29.275", "29.700"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(map->scaleLabel(20 + i)->text(), QString::fromLatin1(row4[i]));
        EXPECT_EQ(map->scaleLabel(40 + i)->text(), QString::fromLatin1(row8[i]));
    }
    // The 40 m spot stands on the 40 m row, below the 160 m one.
    EXPECT_GT(map->spotLabel(46)->y(), map->spotLabel(45)->y());

    // A new spot while the map is open is drawn at once.
    spot(f, "21025.0", "PY1ABC");
    EXPECT_TRUE(map->spotLabel(49)->isVisible());

    // A left click removes the spot from both maps; a right click tunes, takes the call and
    // closes the map.
    press(map->spotLabel(49), Qt::LeftButton);
    EXPECT_FALSE(map->spotLabel(49)->isVisible());
    EXPECT_FLOAT_EQ(f.feature().store().slot(49).frequencyMHz, 0.0f);
    QPointer<spots::SpectrumMapWindow> open(map);
    ASSERT_EQ(f.feature().store().slot(45).call, "JA1ABC"); // moved one slot by the newer spot
    press(map->spotLabel(45), Qt::RightButton);
    EXPECT_FLOAT_EQ(f.tuner.frequencies.back(), 7.0255f);
    EXPECT_EQ(f.main.call()->text(), QStringLiteral("JA1ABC"));
    QTest::qWait(10);
    EXPECT_TRUE(open.isNull()); // discarded when it closed
    // Then the call field's exit ran (the cursor went on to the grid field).
    EXPECT_TRUE(f.main.grid()->hasFocus());
}

// The map is opened while the grid field has the keyboard: a right click on a spot already in
// the log still runs the call field's exit, which refuses the duplicate.
TEST(SpotMaps, ASpectrumMapSpotRunsTheCallFieldsExit) {
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    f.main.call()->setText(QStringLiteral("JA1ABC"));
    f.main.grid()->setText(QStringLiteral("PM95"));
    QTest::keyClick(f.main.grid(), Qt::Key_Return);
    ASSERT_EQ(f.main.window->log().qsoCount(), 1);
    spot(f, "7025.5", "JA1ABC");
    f.main.grid()->setFocus();
    spots::SpectrumMapWindow* map = f.feature().showSpectrumMap();
    QApplication::setActiveWindow(map);
    press(map->spotLabel(49), Qt::RightButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.feature().spectrumMap() == nullptr; }, 2000));
    QTest::qWait(20);
    EXPECT_NE(f.main.labelText("lblDialog").indexOf(QStringLiteral("JA1ABC")), -1) << "no duplicate check";
    EXPECT_TRUE(f.main.call()->hasFocus());
}

// The band map's line keeps its ends whatever caption the oldest slot shows, and every scale
// caption stands whole inside the panel, at every screen size.
TEST(SpotMaps, TheBandLineAndItsCaptionsStayInsideThePanel) {
    for (const QSize screen : {QSize(1024, 768), QSize(1280, 1024), QSize(1920, 1080)}) {
        SpotsFixture f;
        ASSERT_TRUE(f.start());
        f.main.window->resize(screen);
        spots::SpotArea& area = f.feature().area();
        area.layout(false, spots::SpotSource::Telnet);
        const QRect line = area.panel()->findChild<QWidget*>(QStringLiteral("LineDX"))->geometry();
        // The oldest slot (label 0) stands mid-band with a short caption; the others spread out.
        spot(f, "1900.0", "W1AW");
        for (int i = 1; i < 50; ++i) {
            spot(f, std::to_string(1831 + 2 * i) + ".0", "VP2V/K" + std::to_string(i) + "WWW");
        }
        ASSERT_TRUE(area.spotLabel(0)->isVisible());
        ASSERT_EQ(area.spotLabel(0)->text(), QStringLiteral("W1"));
        EXPECT_EQ(area.panel()->findChild<QWidget*>(QStringLiteral("LineDX"))->geometry(), line);
        for (QLabel* caption : area.scaleLabels()) {
            SCOPED_TRACE(caption->text().toStdString());
            EXPECT_GE(caption->x(), 0);
            EXPECT_LE(caption->geometry().right(), area.panel()->width() - 1);
            EXPECT_GE(caption->width(), caption->sizeHint().width());
        }
    }
}

// At 1024 x 768 a spot at the very start of a row stays clear of the band's name, and every
// scale caption stands whole inside its row.
TEST(SpotMaps, SpectrumMapNamesAndCaptionsStayClear) {
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    spot(f, "1800.5", "VK6ABC");
    spot(f, "1999.5", "VK6XYZ");
    spot(f, "3500.5", "VK6AAA");
    spots::SpectrumMapWindow* map = f.feature().showSpectrumMap();
    map->resize(1024, 738);
    map->redraw();
    ASSERT_TRUE(map->spotLabel(49)->isVisible());
    for (int row = 0; row < spots::kSpectrumRows; ++row) {
        auto* strip = map->findChild<QLabel*>(QStringLiteral("lblHFSpots%1").arg(row));
        const auto names = strip->findChildren<QLabel*>();
        ASSERT_EQ(names.size(), 1);
        const QRect name(strip->mapTo(map, names.front()->pos()), names.front()->size());
        EXPECT_TRUE(strip->geometry().contains(name)) << row;
        for (QLabel* other : map->findChildren<QLabel*>()) {
            if (other->parentWidget() == map && other->isVisible() &&
                !other->objectName().startsWith(QStringLiteral("lblHFSpots"))) {
                EXPECT_FALSE(other->geometry().intersects(name))
                    << names.front()->text().toStdString() << " under " << other->text().toStdString();
            }
        }
    }
    for (int i = 0; i < 5 * spots::kSpectrumRows; ++i) {
        const QRect strip = map->findChild<QLabel*>(QStringLiteral("lblHFSpots%1").arg(i / 5))->geometry();
        EXPECT_TRUE(strip.contains(map->scaleLabel(i)->geometry())) << map->scaleLabel(i)->text().toStdString();
    }
}

TEST(SpotMaps, CtrlKeysAndPanelClicksOpenTheWindows) {
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    QTest::keyClick(f.main.call(), Qt::Key_D, Qt::ControlModifier);
    ASSERT_NE(f.feature().existingSetupWindow(), nullptr);
    EXPECT_TRUE(f.setup().isVisible());
    EXPECT_EQ(f.setup().windowTitle(), QStringLiteral(" DX Spotting Setup"));
    f.setup().hide();

    QTest::keyClick(f.main.call(), Qt::Key_B, Qt::ControlModifier);
    ASSERT_NE(f.feature().spectrumMap(), nullptr);
    EXPECT_TRUE(f.feature().spectrumMap()->isVisible());
    f.feature().spectrumMap()->close();
    QTest::qWait(10);
    EXPECT_EQ(f.feature().spectrumMap(), nullptr);

    // The band-map panel: a click shows the setup window, a double click the spectrum map.
    spots::SpotArea& area = f.feature().area();
    area.layout(false, spots::SpotSource::Telnet);
    QTest::mouseClick(area.panel(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(f.setup().isVisible());
    QTest::mouseDClick(area.panel(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    ASSERT_NE(f.feature().spectrumMap(), nullptr);
    EXPECT_TRUE(f.feature().spectrumMap()->isModal());
}
