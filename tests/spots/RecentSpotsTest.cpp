#include "spots/RecentSpots.h"

#include "core/DateTime.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::spots;

namespace {

const DateTime kNow{2026, 12, 9, 13, 0, 0};

} // namespace

TEST(RecentSpots, FiftySlotsTheFirstOfFiftyOneSpotsIsGone) {
    RecentSpots store;
    for (int i = 0; i < 51; ++i) {
        const std::string call = "K" + std::to_string(i) + "AA";
        const auto r = store.add(call, std::to_string(1801 + i) + ".0", "rec", "W1AW", addSeconds(kNow, i));
        ASSERT_TRUE(r.stored);
    }
    EXPECT_EQ(store.slot(0).call, "K1AA");
    EXPECT_EQ(store.slot(49).call, "K50AA");
    EXPECT_FLOAT_EQ(store.slot(49).frequencyMHz, 1.851f);
    EXPECT_EQ(store.slot(49).label, "K50");
    EXPECT_EQ(store.slot(49).time, addSeconds(kNow, 50));
    for (int i = 0; i < kSpotSlots; ++i) {
        EXPECT_NE(store.slot(i).call, "K0AA");
    }
}

TEST(RecentSpots, ACallSpottedAgainLeavesTheMapsFromItsOlderSlot) {
    RecentSpots store;
    store.add("W1AW", "1825.5", "", "", kNow);
    store.add("K2XX", "1830", "", "", kNow);
    const auto r = store.add("w1aw", "1827.0", "", "", kNow);
    EXPECT_TRUE(r.stored);
    EXPECT_FLOAT_EQ(store.slot(47).frequencyMHz, 0.0f); // the first W1AW
    EXPECT_FLOAT_EQ(store.slot(48).frequencyMHz, 1.83f);
    EXPECT_FLOAT_EQ(store.slot(49).frequencyMHz, 1.827f);

    // A sighting that has reached slot 0 is not searched.
    RecentSpots edge;
    edge.add("W1AW", "1825.5", "", "", kNow);
    for (int i = 0; i < 48; ++i) {
        edge.add("K" + std::to_string(i) + "ZZ", "1830", "", "", kNow);
    }
    ASSERT_EQ(edge.slot(1).call, "W1AW");
    edge.add("W1AW", "1826", "", "", kNow);
    ASSERT_EQ(edge.slot(0).call, "W1AW");
    EXPECT_FLOAT_EQ(edge.slot(0).frequencyMHz, 1.8255f);

    store.remove(49);
    EXPECT_FLOAT_EQ(store.slot(49).frequencyMHz, 0.0f);
    store.remove(50); // ignored
    store.remove(-1);
}

TEST(RecentSpots, OwnCallIsFlaggedEvenWhenTheFrequencyIsNotANumber) {
    RecentSpots store;
    const auto bad = store.add("W1AW", "abc", "de K1ABC: abc W1AW", "w1aw ", kNow);
    EXPECT_TRUE(bad.ownCall);
    EXPECT_FALSE(bad.stored);
    EXPECT_TRUE(store.slot(49).call.empty());

    const auto good = store.add("W1AW", "1825.5", "de K1ABC\rtail", "W1AW", kNow);
    EXPECT_TRUE(good.ownCall);
    EXPECT_TRUE(good.stored);
    EXPECT_EQ(good.record, "de K1ABC");

    EXPECT_FALSE(store.add("K2XX", "1825", "", "W1AW", kNow).ownCall);
    // No station call yet: a line too short to hold a call is not "spotted".
    EXPECT_FALSE(store.add("", "1825", "", "", kNow).ownCall);
}
