#include "graph/RateGraph.h"

#include "core/DateTime.h"
#include "support/Contacts.h"

#include <gtest/gtest.h>
#include <vector>

using namespace corvane;

namespace {

QsoRecord contactAt(const DateTime& dt) {
    return test::Contact().date(formatDateSlash(dt)).time(formatTimeHms(dt));
}

// Moments chosen so that one slot is one second (the last contact 1500 s after the first).
const std::vector<std::int64_t> kGapMoments{0, 300, 700, 716, 1400, 1417, 1500};

} // namespace

TEST(RateGraph, SevenContactsDrawAndSixRefuse) {
    const std::vector<std::int64_t> seven{0, 60, 120, 180, 240, 300, 3600};
    EXPECT_EQ(computeRateGraph(seven).status, RateGraph::Status::Ready);
    const std::vector<std::int64_t> six(seven.begin(), seven.end() - 1);
    const RateGraph refused = computeRateGraph(six);
    EXPECT_EQ(refused.status, RateGraph::Status::NotEnoughContacts);
    EXPECT_TRUE(refused.timeLabels[0].empty());
    EXPECT_TRUE(rateGraphSegments(refused, PlotArea{0, 1500, 400, 0}).empty());
}

TEST(RateGraph, TenMinuteWindowExcludesAContactExactlyTenMinutesBack) {
    std::vector<std::int64_t> moments;
    for (int i = 0; i <= 10; ++i) {
        moments.push_back(1'000'000 + i * 60);
    }
    const std::vector<int> counts = tenMinuteCounts(moments);
    EXPECT_EQ(counts[0], 1);
    EXPECT_EQ(counts[9], 10);
    EXPECT_EQ(counts[10], 10); // the first is exactly 600 s back

    const RateGraph graph = computeRateGraph(moments);
    ASSERT_EQ(graph.status, RateGraph::Status::Ready);
    EXPECT_FLOAT_EQ(graph.rate[1350], 60.0f); // tenth contact: 540 s of 600 at 0.4 s per slot
    EXPECT_FLOAT_EQ(graph.rate[1500], 60.0f);
}

TEST(RateGraph, LaterContactInTheSameSlotStands) {
    // 10 s per slot: contacts at 5000 s and 5004 s both fall in slot 500.
    const std::vector<std::int64_t> moments{0, 1000, 2000, 3000, 5000, 5004, 15000};
    EXPECT_EQ(rateGraphSlot(5000, 10.0), 500);
    EXPECT_EQ(rateGraphSlot(5004, 10.0), 500);
    const RateGraph graph = computeRateGraph(moments);
    EXPECT_FLOAT_EQ(graph.rate[500], 12.0f);
}

TEST(RateGraph, SlotsRoundHalfToEvenAndStayInsideTheGraph) {
    EXPECT_EQ(rateGraphSlot(0, 2.0), 1);
    EXPECT_EQ(rateGraphSlot(1, 2.0), 1);   // half a slot rounds to 0: the first slot
    EXPECT_EQ(rateGraphSlot(3, 2.0), 2);   // 1.5 rounds to 2
    EXPECT_EQ(rateGraphSlot(5, 2.0), 2);   // 2.5 rounds to 2
    EXPECT_EQ(rateGraphSlot(-10, 2.0), 0); // out of time order: left out
    EXPECT_EQ(rateGraphSlot(3002, 2.0), 0);
}

TEST(RateGraph, FifteenSlotGapIsRampedAndSixteenDropsToZero) {
    const RateGraph graph = computeRateGraph(kGapMoments);
    ASSERT_EQ(graph.status, RateGraph::Status::Ready);
    const auto& r = graph.rate;
    EXPECT_FLOAT_EQ(r[700], 12.0f);
    EXPECT_FLOAT_EQ(r[716], 18.0f);
    // Slots 701..715 rise from the value before the gap by (18 - 12) / 15 a slot.
    for (int slot = 701; slot <= 715; ++slot) {
        EXPECT_NEAR(r[slot], 12.0f + 0.4f * static_cast<float>(slot - 701), 1e-4) << slot;
    }
    EXPECT_FLOAT_EQ(r[1400], 6.0f);
    EXPECT_FLOAT_EQ(r[1417], 12.0f);
    // Slots 1401..1416: too long to bridge from 1400, so they fall to zero and ramp up again.
    EXPECT_FLOAT_EQ(r[1401], 0.0f);
    EXPECT_FLOAT_EQ(r[1402], 0.0f);
    EXPECT_NEAR(r[1403], 0.8f, 1e-4);
    EXPECT_NEAR(r[1416], 11.2f, 1e-4);
    // Far from any contact the rate is zero.
    EXPECT_FLOAT_EQ(r[1000], 0.0f);
}

TEST(RateGraph, CurveAveragesTheNonEmptySlotsOfSeven) {
    const RateGraph graph = computeRateGraph(kGapMoments);
    EXPECT_FLOAT_EQ(graph.curve[1], 6.0f);
    EXPECT_NEAR(graph.curve[707], 13.2f, 1e-4); // mean of 12.0 .. 14.4
    EXPECT_FLOAT_EQ(graph.curve[1000], 0.0f);   // nothing in reach keeps the slot empty
    // Slots 1397..1403 hold 4.8, 5.2, 5.6, 6.0, 0, 0, 0.8: the two empty slots do not count.
    EXPECT_NEAR(graph.curve[1403], 4.48f, 1e-4);
}

TEST(RateGraph, ValueLabelsSpanMinimumToMaximum) {
    const RateGraph graph = computeRateGraph(kGapMoments);
    EXPECT_FLOAT_EQ(graph.minimum, 0.0f);
    EXPECT_EQ(graph.valueLabels[0], "0.0");
    EXPECT_EQ(graph.valueLabels[16], "18.0");
    EXPECT_EQ(graph.valueLabels[8], "9.0");
    EXPECT_EQ(graph.valueLabels[1], "1.1"); // 1.125
    // Halves round away from zero, as "###0.0" does ("%.1f" would give 2.2 and 6.8).
    EXPECT_EQ(graph.valueLabels[2], "2.3");   // 2.25
    EXPECT_EQ(graph.valueLabels[6], "6.8");   // 6.75
    EXPECT_EQ(graph.valueLabels[10], "11.3"); // 11.25
}

TEST(RateGraph, ValueTextRoundsHalvesAwayFromZero) {
    EXPECT_EQ(rateValueText(5.25), "5.3");
    EXPECT_EQ(rateValueText(5.35f), "5.4"); // a single just below 5.35 still shows as 5.35
    EXPECT_EQ(rateValueText(5.249), "5.2");
    EXPECT_EQ(rateValueText(0.05), "0.1");
    EXPECT_EQ(rateValueText(0.04), "0.0");
    EXPECT_EQ(rateValueText(9.95), "10.0");
    EXPECT_EQ(rateValueText(99.96f), "100.0");
    EXPECT_EQ(rateValueText(0.0), "0.0");
    EXPECT_EQ(rateValueText(18.0), "18.0");
    EXPECT_EQ(rateValueText(100000.0), "100000.0");
    EXPECT_EQ(rateValueText(-5.25), "-5.3");
    EXPECT_EQ(rateValueText(-0.04), "0.0");
}

TEST(RateGraph, TimeAndDateLabelsCrossMidnight) {
    std::vector<QsoRecord> records;
    const DateTime start{2012, 12, 29, 23, 0, 0};
    for (int i = 0; i < 6; ++i) {
        records.push_back(contactAt(addSeconds(start, i * 120)));
    }
    records.push_back(contactAt(addSeconds(start, 14 * 3600)));
    const RateGraph graph = computeRateGraph(records);
    ASSERT_EQ(graph.status, RateGraph::Status::Ready);
    EXPECT_EQ(graph.timeLabels[0], "23:00");
    EXPECT_EQ(graph.dateLabels[0], "12/29");
    EXPECT_EQ(graph.timeLabels[1], "00:00");
    EXPECT_EQ(graph.dateLabels[1], "12/30");
    EXPECT_EQ(graph.timeLabels[14], "13:00");
}

TEST(RateGraph, NoCurveWhenAllContactsShareOneSecondOrAMomentIsBad) {
    std::vector<QsoRecord> records(7, contactAt(DateTime{2012, 12, 29, 23, 15, 2}));
    RateGraph graph = computeRateGraph(records);
    EXPECT_EQ(graph.status, RateGraph::Status::NoSpan);
    EXPECT_EQ(graph.timeLabels[14], "23:15");
    EXPECT_TRUE(graph.valueLabels[0].empty());
    EXPECT_TRUE(rateGraphSegments(graph, PlotArea{0, 1500, 400, 0}).empty());

    records[3].qsoTime = "25:99";
    graph = computeRateGraph(records);
    EXPECT_EQ(graph.status, RateGraph::Status::BadMoment);
    EXPECT_EQ(graph.badRecord, 4);
}

TEST(RateGraph, SegmentsJoinEachSlotToThePreviousOne) {
    const RateGraph graph = computeRateGraph(kGapMoments);
    const PlotArea area{100.0, 1600.0, 500.0, 100.0}; // one unit a slot, 400 high
    const auto segments = rateGraphSegments(graph, area);
    ASSERT_EQ(segments.size(), 1500u);
    const double scale = 400.0 / 18.0 * 0.995;
    const double lift = 1.0;
    const GraphSegment& s = segments[715]; // slot 716
    EXPECT_DOUBLE_EQ(s.x1, 100.0 + 714.0 + 10.0);
    EXPECT_DOUBLE_EQ(s.x2, 100.0 + 713.0 + 10.0);
    EXPECT_NEAR(s.y1, 500.0 - scale * graph.curve[716] - lift, 1e-9);
    EXPECT_NEAR(s.y2, 500.0 - scale * graph.curve[715] - lift, 1e-9);
    EXPECT_NEAR(segments[0].y2, 500.0 - lift, 1e-9); // slot 0 is zero
}
