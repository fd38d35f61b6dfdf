#pragma once
// The QSO rate curve of the activity graph: for every contact, six times the number of
// contacts in the ten minutes up to it, spread over 1500 time slots from the first
// contact to the last, short gaps bridged by ramps, then smoothed over seven slots.

#include "core/QsoRecord.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr int kGraphSlots = 1500;
inline constexpr int kGraphSlotStorage = 1600;
inline constexpr int kGraphMinimumContacts = 7;
inline constexpr int kGraphBridgeSlots = 15;
inline constexpr int kGraphSmoothingSlots = 7;
inline constexpr std::int64_t kRateWindowSeconds = 600;

struct RateGraph {
    enum class Status {
        NotEnoughContacts, // fewer than 7 contacts: nothing is computed
        BadMoment,         // a contact's date or time is not a moment; badRecord names it
        NoSpan,            // every contact in the same second: time labels only
        Flat,              // the curve is one level: labels only
        Ready,             // a curve to draw
    };
    Status status = Status::NotEnoughContacts;
    int badRecord = 0; // 1-based record number for BadMoment

    std::array<std::string, 15> timeLabels;  // "hh:mm"
    std::array<std::string, 15> dateLabels;  // "MM/DD"
    std::array<std::string, 17> valueLabels; // "###0.0", index 0 the minimum, 16 the maximum

    // Indexed by slot 0..kGraphSlotStorage-1; slots 1..kGraphSlots carry the graph.
    std::vector<float> rate;  // raw rate per slot, with the bridged gaps filled in
    std::vector<float> curve; // the smoothed curve that is drawn
    float minimum = 100000.0f;
    float maximum = -1.0f;
};

// For each contact, how many contacts (itself included) lie less than ten minutes before
// it, counting back in log order until the first one that does not.
std::vector<int> tenMinuteCounts(std::span<const std::int64_t> momentsSeconds);

// The slot of a moment, 1 to kGraphSlots, or 0 when it lies outside the graph.
int rateGraphSlot(std::int64_t secondsFromFirst, double secondsPerSlot);

// A value label, format "###0.0": at least one whole digit and one decimal, halves
// rounded away from zero (5.25 shows 5.3).
std::string rateValueText(double value);

// The graph from contact moments in seconds of one clock, in log order.
RateGraph computeRateGraph(std::span<const std::int64_t> momentsSeconds);
// The graph of the log: each record's date and time joined give its moment.
RateGraph computeRateGraph(std::span<const QsoRecord> records);

// The window area the curve is drawn in, in window coordinates (y grows downwards).
struct PlotArea {
    double leftX = 0.0;
    double rightX = 0.0;
    double bottomY = 0.0;
    double topY = 0.0;
};

struct GraphSegment {
    double x1;
    double y1;
    double x2;
    double y2;
};

// The straight lines of the curve, one per slot 1..kGraphSlots; empty unless Ready.
std::vector<GraphSegment> rateGraphSegments(const RateGraph& graph, const PlotArea& area);

namespace graph::text {
inline constexpr std::string_view kWindowCaption =
    " Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)";
inline constexpr std::string_view kNotEnoughTitle = "Not Enough Contacts to Graph.";
inline constexpr std::string_view kNotEnoughText =
    "The graph will not display with less than 7 contacts.  The graph becomes more meaningful as several hours of "
    "contest logging are accumulated.";
inline constexpr std::string_view kBlackBackground = "Black Background";
inline constexpr std::string_view kWhiteBackground = "White Background";
inline constexpr std::uint32_t kCurveColourBgr = 0xFF0000; // blue, in 0x00BBGGRR
} // namespace graph::text

} // namespace corvane
