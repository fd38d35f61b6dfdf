#include "spots/BandMap.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::spots;

namespace {

const DateTime kNow{2026, 12, 9, 13, 0, 0};

std::array<std::string, 5> captions(const MapScale& scale) {
    return scale.captions;
}

using Captions = std::array<std::string, 5>;

// Adds spots given in kHz, all stored `ageSeconds` before kNow.
void addSpots(RecentSpots& store, std::initializer_list<const char*> kHz, std::int64_t ageSeconds = 0) {
    int n = 0; // every spot a call of its own: K0ABC for the first in the store, K1ABC ...
    for (int i = 0; i < kSpotSlots; ++i) {
        n += store.slot(i).hasTime ? 1 : 0;
    }
    for (const char* f : kHz) {
        store.add("K" + std::to_string(n++) + "ABC", f, "", "", addSeconds(kNow, -ageSeconds));
    }
}

} // namespace

TEST(MainBandMap, ScaleZoomsToTheSpotsOrKeepsTheWholeBand) {
    RecentSpots store;
    EXPECT_EQ(captions(mainMapScale(store)), (Captions{"1.800", "1.850", "1.900", "1.950", "2.000"}));
    addSpots(store, {"1822.5"});
    EXPECT_EQ(captions(mainMapScale(store)), (Captions{"1.800", "1.850", "1.900", "1.950", "2.000"}));
    addSpots(store, {"1840"});
    const MapScale scale = mainMapScale(store);
    EXPECT_EQ(captions(scale), (Captions{"1.821", "1.826", "1.831", "1.836", "1.841"}));

    const auto marks = mainMapMarks(store, scale, kNow, 0.0);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].slot, 49);
    // On the shown scale 1.821 .. 1.841: 1 kHz inside the right end, 1.5 kHz inside the left.
    EXPECT_NEAR(marks[0].fraction, 0.95, 0.001);
    EXPECT_NEAR(marks[1].fraction, 0.075, 0.001);
    EXPECT_DOUBLE_EQ(labelLeft(0.5, 100.0, 300.0, 20.0), 190.0);
    EXPECT_DOUBLE_EQ(scaleCaptionLeft(4, 100.0, 300.0, 30.0), 285.0);
}

TEST(MainBandMap, OnlySpotsStrictlyInsideThe160mBandAreDrawn) {
    RecentSpots store;
    addSpots(store, {"1800", "2000", "7025", "1825.5"});
    const auto marks = mainMapMarks(store, mainMapScale(store), kNow, 0.0);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].caption, "K3");
    EXPECT_EQ(marks[0].toolTip, "K3ABC  1.826  13:00:00");
}

TEST(MainBandMap, AgeColoursAndTheHourLimit) {
    EXPECT_EQ(ageColour(599), (Rgb{255, 255, 128}));
    EXPECT_EQ(ageColour(600), (Rgb{255, 255, 255}));
    EXPECT_EQ(ageColour(1800), (Rgb{192, 192, 192}));
    EXPECT_EQ(ageColour(3600), std::nullopt);
    EXPECT_EQ(ageColour(-5), (Rgb{255, 255, 128})); // clock set back

    RecentSpots store;
    addSpots(store, {"1810"}, 3600); // an hour old: hides itself and everything older
    addSpots(store, {"1830"}, 1800);
    addSpots(store, {"1850"}, 600);
    const auto marks = mainMapMarks(store, mainMapScale(store), kNow, 0.0);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].colour, (Rgb{255, 255, 255}));
    EXPECT_EQ(marks[1].colour, (Rgb{192, 192, 192}));
}

TEST(SpectrumMap, SpotsStandOnTheRowOfTheirBand) {
    EXPECT_EQ(spectrumRowOf(1.8255f), 0);
    EXPECT_EQ(spectrumRowOf(7.0255f), 2);
    EXPECT_EQ(spectrumRowOf(7.35f), -1);
    EXPECT_EQ(spectrumRowOf(5.3f), -1);
    EXPECT_EQ(spectrumRowOf(144.5f), 10);
    EXPECT_EQ(spectrumRowOf(0.0f), -1);

    RecentSpots store;
    addSpots(store, {"1825.5", "7025.5", "7350", "5300"});
    const auto marks = spectrumMarks(store, spectrumScales(store), kNow, -5.0);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].row, 2);
    EXPECT_EQ(marks[1].row, 0);
    EXPECT_EQ(marks[1].toolTip, "K0ABC  1.826  08:00:00");
}

TEST(SpectrumMap, RowScalesZoomToTheirSpots) {
    RecentSpots store;
    addSpots(store, {"14025.5", "14030.5"});
    const auto scales = spectrumScales(store);
    EXPECT_EQ(captions(scales[4]), (Captions{"14.024", "14.026", "14.028", "14.030", "14.032"}));
    EXPECT_EQ(captions(scales[8]), (Captions{"28.000", "28.425", "28.850", "29.275", "29.700"}));
    EXPECT_EQ(captions(scales[3]), (Captions{"10.100", "10.113", "10.125", "10.137", "10.150"}));
    EXPECT_EQ(captions(scales[10]), (Captions{"144.000", "145.000", "146.000", "147.000", "148.000"}));

    // A removed spot leaves the map; a spot an hour old ends the drawing.
    store.remove(49);
    EXPECT_EQ(spectrumMarks(store, spectrumScales(store), kNow, 0.0).size(), 1u);
    addSpots(store, {"21025"}, 4000);
    EXPECT_TRUE(spectrumMarks(store, spectrumScales(store), kNow, 0.0).empty());
}

TEST(SpectrumMap, ThreeDecimalCaptions) {
    EXPECT_EQ(formatFrequency3(1.8), "1.800");
    EXPECT_EQ(formatFrequency3(0.5), ".500");
    EXPECT_EQ(formatFrequency3(2.0625), "2.062"); // a half rounds to the even digit
    EXPECT_EQ(formatFrequency3(2.1875), "2.188");
    EXPECT_EQ(formatFrequency3(1e300), "");
}
