#include "graph/RateGraph.h"

#include "core/DateTime.h"
#include "core/NumberText.h"

#include <cmath>
#include <cstdio>

namespace corvane {

namespace {

std::string twoDigits(int value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

void setAxisLabels(RateGraph& graph, std::int64_t first, std::int64_t span) {
    const int last = static_cast<int>(graph.timeLabels.size()) - 1;
    for (int k = 0; k <= last; ++k) {
        const auto offset = roundHalfEven(static_cast<double>(k) * static_cast<double>(span) / last);
        const DateTime at = fromEpochSeconds(first + offset);
        graph.timeLabels[static_cast<std::size_t>(k)] = formatTimeHm(at);
        graph.dateLabels[static_cast<std::size_t>(k)] = twoDigits(at.month) + "/" + twoDigits(at.day);
    }
}

// Fills each run of empty slots that ends within kGraphBridgeSlots with a straight ramp
// from the slot before it; the filled slots then count as data. Longer runs stay empty.
void bridgeGaps(std::vector<float>& rate, std::vector<float>& curve) {
    for (int i = 2; i <= kGraphSlots; ++i) {
        if (rate[i] != 0.0f) {
            curve[i] = rate[i];
            continue;
        }
        int k = 0;
        for (int j = i + 1; j <= i + kGraphBridgeSlots; ++j) {
            if (rate[j] > 0.0f) {
                k = j;
                break;
            }
        }
        if (k == 0) {
            continue;
        }
        const float before = rate[i - 1];
        const float step = (rate[k] - before) / static_cast<float>(k - i);
        for (int m = i; m < k; ++m) {
            rate[m] = before + static_cast<float>(m - i) * step;
            curve[m] = rate[m];
        }
    }
}

// Each slot from the seventh on becomes the mean of the non-empty slots among itself and
// the six before it.
void smooth(const std::vector<float>& rate, std::vector<float>& curve) {
    for (int i = kGraphSmoothingSlots; i <= kGraphSlots; ++i) {
        float sum = 0.0f;
        int count = 0;
        for (int j = i - (kGraphSmoothingSlots - 1); j <= i; ++j) {
            if (rate[j] > 0.0f) {
                sum += rate[j];
                ++count;
            }
        }
        if (count > 0) {
            curve[i] = sum / static_cast<float>(count);
        }
    }
}

} // namespace

std::string rateValueText(double value) {
    // The decimal digits of the value as a single holds it (7 significant digits), then
    // rounded on those digits: binary noise never decides a half.
    std::string digits = formatSingle(value);
    const bool negative = !digits.empty() && digits[0] == '-';
    if (negative) {
        digits.erase(0, 1);
    }
    const std::size_t point = digits.find('.');
    std::string whole = point == std::string::npos ? digits : digits.substr(0, point);
    const std::string fraction = point == std::string::npos ? std::string() : digits.substr(point + 1);
    if (whole.empty()) {
        whole = "0";
    }
    // Tenths as a whole number of tenths, rounded up in size when the hundredths are 5 or more.
    std::string tenths = whole + (fraction.empty() ? '0' : fraction[0]);
    if (fraction.size() > 1 && fraction[1] >= '5') {
        int i = static_cast<int>(tenths.size()) - 1;
        while (i >= 0 && tenths[static_cast<std::size_t>(i)] == '9') {
            tenths[static_cast<std::size_t>(i--)] = '0';
        }
        if (i < 0) {
            tenths.insert(tenths.begin(), '1');
        } else {
            ++tenths[static_cast<std::size_t>(i)];
        }
    }
    std::string text = tenths.substr(0, tenths.size() - 1) + "." + tenths.back();
    const bool zero = text.find_first_not_of("0.") == std::string::npos;
    return negative && !zero ? "-" + text : text;
}

std::vector<int> tenMinuteCounts(std::span<const std::int64_t> moments) {
    std::vector<int> counts(moments.size(), 0);
    for (std::size_t i = 0; i < moments.size(); ++i) {
        int count = 0;
        for (std::size_t j = i + 1; j-- > 0;) {
            if (moments[i] - moments[j] >= kRateWindowSeconds) {
                break;
            }
            ++count;
        }
        counts[i] = count;
    }
    return counts;
}

int rateGraphSlot(std::int64_t secondsFromFirst, double secondsPerSlot) {
    const long long slot = roundHalfEven(static_cast<double>(secondsFromFirst) / secondsPerSlot);
    if (slot < 0 || slot > kGraphSlots) {
        return 0; // out of time order: before the first contact or after the last
    }
    // The first half slot belongs to the first contact's slot.
    return slot == 0 ? 1 : static_cast<int>(slot);
}

RateGraph computeRateGraph(std::span<const std::int64_t> moments) {
    RateGraph graph;
    const int n = static_cast<int>(moments.size());
    if (n < kGraphMinimumContacts) {
        graph.status = RateGraph::Status::NotEnoughContacts;
        return graph;
    }
    graph.rate.assign(kGraphSlotStorage, 0.0f);
    graph.curve.assign(kGraphSlotStorage, 0.0f);

    const std::int64_t first = moments.front();
    const std::int64_t span = moments.back() - first;
    setAxisLabels(graph, first, span);
    if (span <= 0) {
        graph.status = RateGraph::Status::NoSpan;
        return graph;
    }

    const double secondsPerSlot = static_cast<double>(span) / kGraphSlots;
    graph.rate[1] = 6.0f;
    graph.curve[1] = 6.0f;
    const std::vector<int> counts = tenMinuteCounts(moments);
    for (int i = 0; i < n; ++i) {
        const int slot = rateGraphSlot(moments[static_cast<std::size_t>(i)] - first, secondsPerSlot);
        if (slot > 0) {
            graph.rate[static_cast<std::size_t>(slot)] = 6.0f * static_cast<float>(counts[static_cast<std::size_t>(i)]);
        }
    }

    bridgeGaps(graph.rate, graph.curve);
    smooth(graph.rate, graph.curve);

    for (int i = 1; i <= kGraphSlots; ++i) {
        graph.minimum = std::min(graph.minimum, graph.curve[static_cast<std::size_t>(i)]);
        graph.maximum = std::max(graph.maximum, graph.curve[static_cast<std::size_t>(i)]);
    }
    const int lastLabel = static_cast<int>(graph.valueLabels.size()) - 1;
    const double range = static_cast<double>(graph.maximum) - graph.minimum;
    graph.valueLabels[0] = rateValueText(graph.minimum);
    graph.valueLabels[static_cast<std::size_t>(lastLabel)] = rateValueText(graph.maximum);
    for (int k = 1; k < lastLabel; ++k) {
        graph.valueLabels[static_cast<std::size_t>(k)] = rateValueText(graph.minimum + k * range / (lastLabel));
    }
    graph.status = graph.maximum == graph.minimum ? RateGraph::Status::Flat : RateGraph::Status::Ready;
    return graph;
}

RateGraph computeRateGraph(std::span<const QsoRecord> records) {
    if (static_cast<int>(records.size()) < kGraphMinimumContacts) {
        return RateGraph{};
    }
    std::vector<std::int64_t> moments;
    moments.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto moment = parseRecordDateTime(records[i].qsoDate, records[i].qsoTime);
        if (!moment) {
            RateGraph graph;
            graph.status = RateGraph::Status::BadMoment;
            graph.badRecord = static_cast<int>(i) + 1;
            return graph;
        }
        moments.push_back(toEpochSeconds(*moment));
    }
    return computeRateGraph(moments);
}

std::vector<GraphSegment> rateGraphSegments(const RateGraph& graph, const PlotArea& area) {
    std::vector<GraphSegment> segments;
    if (graph.status != RateGraph::Status::Ready) {
        return segments;
    }
    const double height = area.bottomY - area.topY;
    const double slotWidth = (area.rightX - area.leftX) / kGraphSlots;
    const double scale = height / (static_cast<double>(graph.maximum) - graph.minimum) * 0.995;
    const double lift = 0.0025 * height;
    auto y = [&](float value) { return area.bottomY - scale * (static_cast<double>(value) - graph.minimum) - lift; };
    segments.reserve(kGraphSlots);
    for (int i = 1; i <= kGraphSlots; ++i) {
        segments.push_back(GraphSegment{area.leftX + slotWidth * (i - 2) + 10.0, y(graph.curve[i]),
                                        area.leftX + slotWidth * (i - 3) + 10.0, y(graph.curve[i - 1])});
    }
    return segments;
}

} // namespace corvane
