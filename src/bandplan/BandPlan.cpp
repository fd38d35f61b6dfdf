#include "bandplan/BandPlan.h"

#include "core/NumberText.h"
#include "core/QuotedFields.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <cstdio>

namespace corvane::bandplan {

namespace {

constexpr std::array<LicenceClass, 6> kClasses = {{
    {"N", "Novice", "Novice", "Novice Frequency Privileges"},
    {"T", "Technician", "Technician", "Technician Frequency Privileges"},
    {"P", "Technician Plus", "Tech +", "Technician Plus Frequency Privileges"},
    {"G", "General", "General", "General Frequency Privileges"},
    {"A", "Advanced", "Advanced", "Advanced Frequency Privileges"},
    {"E", "Extra", "Extra", "Extra Frequency Privileges"},
}};

constexpr std::array<std::string_view, 5> kItemNames = {"band", "class", "mode", "lower edge", "upper edge"};

std::optional<float> edge(const std::string& text) {
    const auto value = parseNumber(text);
    if (!value || !std::isfinite(*value) || std::fabs(*value) > FLT_MAX) {
        return std::nullopt;
    }
    return static_cast<float>(*value);
}

// Reads the plan; `keep` decides which rows join the list (all, or the "E" rows only).
template <typename Keep> BandPlan parse(std::string_view bytes, Keep keep) {
    BandPlan plan;
    FieldReader reader(bytes);
    Field field;
    FieldError error = reader.next(field);
    if (error != FieldError::None) {
        plan.error =
            BandPlanError{reader.line(), error == FieldError::EndOfData
                                             ? std::string("the file is empty")
                                             : std::string("the effective date cannot be read: ") + describe(error)};
        return plan;
    }
    plan.effectiveDate = field.text;
    plan.effectiveDateRead = true;
    for (;;) {
        std::array<Field, 5> items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            error = reader.next(items[i]);
            if (error == FieldError::EndOfData && i == 0) {
                return plan;
            }
            if (error == FieldError::EndOfData) {
                plan.error =
                    BandPlanError{reader.line(), "the file ends inside a row (no " + std::string(kItemNames[i]) + ")"};
                return plan;
            }
            if (error != FieldError::None) {
                plan.error = BandPlanError{reader.line(),
                                           "the " + std::string(kItemNames[i]) + " cannot be read: " + describe(error)};
                return plan;
            }
        }
        const auto lower = edge(items[3].text);
        if (!lower) {
            plan.error = BandPlanError{items[3].line, "the lower edge \"" + items[3].text + "\" is not a number"};
            return plan;
        }
        const auto upper = edge(items[4].text);
        if (!upper) {
            plan.error = BandPlanError{items[4].line, "the upper edge \"" + items[4].text + "\" is not a number"};
            return plan;
        }
        BandPlanRow row{items[0].text, items[1].text, items[2].text, *lower, *upper};
        if (!keep(row)) {
            continue;
        }
        if (plan.rows.size() >= kMaxBandPlanRows) {
            plan.rowsDropped = true;
            continue;
        }
        plan.rows.push_back(std::move(row));
    }
}

// Grouped with "," every three digits, three decimals, no digit before the point below 1.
std::string groupedFixed3(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f", std::fabs(value));
    std::string text = buffer;
    const auto point = text.find('.');
    std::string whole = text.substr(0, point);
    const std::string fraction = text.substr(point);
    if (whole == "0") {
        whole.clear();
    }
    std::string grouped;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += whole[i];
    }
    const bool negative = value < 0 && (grouped + fraction) != ".000";
    return (negative ? "-" : "") + grouped + fraction;
}

} // namespace

std::string BandPlanError::describe(std::string_view fileName) const {
    return std::string(fileName) + " line " + std::to_string(line) + ": " + reason;
}

BandPlan parseBandPlan(std::string_view bytes) {
    return parse(bytes, [](const BandPlanRow&) { return true; });
}

BandPlan parseExtraRows(std::string_view bytes) {
    return parse(bytes, [](const BandPlanRow& row) { return row.licence == kExtraClass; });
}

std::span<const LicenceClass> licenceClasses() {
    return kClasses;
}

const LicenceClass* findLicenceClass(std::string_view letter) {
    for (const auto& c : kClasses) {
        if (c.letter == letter) {
            return &c;
        }
    }
    return nullptr;
}

bool strictlyInside(const BandPlanRow& row, float frequencyMHz) {
    return row.lowerMHz < frequencyMHz && frequencyMHz < row.upperMHz;
}

std::string modeFromBandPlan(std::span<const BandPlanRow> rows, float frequencyMHz) {
    for (const auto& row : rows) {
        if (!strictlyInside(row, frequencyMHz)) {
            continue;
        }
        if (row.band == "160") {
            return {};
        }
        if (row.mode == "PH") {
            return (row.band == "80" || row.band == "60" || row.band == "40") ? "LSB" : "USB";
        }
        return row.mode;
    }
    return {};
}

std::string formatEdge(float frequencyMHz) {
    if (!std::isfinite(frequencyMHz)) {
        return {};
    }
    return groupedFixed3(static_cast<double>(frequencyMHz));
}

std::string effectiveLine(const BandPlan& plan) {
    return "Frequencies Effective: " + plan.effectiveDate;
}

Chart buildChart(const BandPlan& plan, std::string_view licenceLetter) {
    Chart chart;
    const auto& rows = plan.rows;
    // Bars: a band whose run after its "O" row holds a row of the class.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].licence != kBandEdgesClass) {
            continue;
        }
        bool charted = false;
        for (std::size_t j = i + 1; j < rows.size() && rows[j].band == rows[i].band; ++j) {
            if (rows[j].licence == licenceLetter) {
                charted = true;
                break;
            }
        }
        if (!charted) {
            continue;
        }
        if (chart.bars.size() >= kMaxChartBars) {
            chart.barsDropped = true;
            continue;
        }
        ChartBar bar;
        bar.band = rows[i].band;
        bar.tooltip = bar.band + "  " + formatEdge(rows[i].lowerMHz) + " - " + formatEdge(rows[i].upperMHz);
        // The band's edges: its first row in the file.
        for (const auto& first : rows) {
            if (first.band == bar.band) {
                bar.lowerMHz = first.lowerMHz;
                bar.upperMHz = first.upperMHz;
                break;
            }
        }
        chart.bars.push_back(std::move(bar));
    }
    // Segments: every row of the class on each bar of its band, wherever the row stands.
    for (const auto& row : rows) {
        if (row.licence != licenceLetter) {
            continue;
        }
        for (auto& bar : chart.bars) {
            if (bar.band != row.band) {
                continue;
            }
            const double span = static_cast<double>(bar.upperMHz) - static_cast<double>(bar.lowerMHz);
            if (!(span > 0) || !std::isfinite(span)) {
                continue; // a band without width has nothing to lay a segment on
            }
            ChartSegment segment;
            segment.lowerMHz = row.lowerMHz;
            segment.upperMHz = row.upperMHz;
            segment.cw = row.mode == "CW";
            segment.leftFraction = (static_cast<double>(row.lowerMHz) - bar.lowerMHz) / span;
            segment.widthFraction = (static_cast<double>(row.upperMHz) - row.lowerMHz) / span;
            segment.caption = formatEdge(row.lowerMHz) + " - " + formatEdge(row.upperMHz);
            segment.tooltip = (segment.cw ? "CW  " : "PH  ") + segment.caption;
            bar.segments.push_back(std::move(segment));
        }
    }
    return chart;
}

} // namespace corvane::bandplan
