#pragma once
// BandPlan.txt: the amateur bands and, band by band, the segments each licence class may use
// by mode. The first item is the date the plan is effective from; then rows of five items
// (band, class, mode, lower MHz, upper MHz), items separated by commas or line ends, texts
// optionally quoted. Each band starts with its "O" row carrying the band's own edges.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::bandplan {

inline constexpr std::string_view kBandPlanFile = "BandPlan.txt";
inline constexpr std::size_t kMaxBandPlanRows = 200;
inline constexpr std::size_t kMaxChartBars = 20;
inline constexpr std::string_view kBandEdgesClass = "O";
inline constexpr std::string_view kNotAvailableText = "Band data not available.";
inline constexpr std::string_view kNotAvailableTitle = "Band Data Not Available.";

struct BandPlanRow {
    std::string band;    // metres: "160", "80", ... "1.25", "70", "33", "23"
    std::string licence; // "O" for the band's edges, else a class letter (exact case)
    std::string mode;    // "CW", "PH" or another mode name
    float lowerMHz = 0.0F;
    float upperMHz = 0.0F;
    bool operator==(const BandPlanRow&) const = default;
};

// Why reading stopped: the 1-based line of the offending item and what was wrong.
struct BandPlanError {
    int line = 0;
    std::string reason;
    // "BandPlan.txt line 12: the lower edge is not a number" (with the file name given).
    std::string describe(std::string_view fileName = kBandPlanFile) const;
};

struct BandPlan {
    std::string effectiveDate;
    bool effectiveDateRead = false;     // the first item was read (the rows may still have failed)
    std::vector<BandPlanRow> rows;      // file order, at most kMaxBandPlanRows
    bool rowsDropped = false;           // the file held more rows than are kept
    std::optional<BandPlanError> error; // reading stopped early; rows holds what was read before
};

// Every row (the privileges window): at most 200, later ones dropped (rowsDropped).
BandPlan parseBandPlan(std::string_view bytes);
// The "E" rows only (the rig window): at most 200 kept rows.
BandPlan parseExtraRows(std::string_view bytes);

// Licence classes in button order.
struct LicenceClass {
    std::string_view letter;
    std::string_view name;
    std::string_view button;
    std::string_view heading;
};
std::span<const LicenceClass> licenceClasses();
const LicenceClass* findLicenceClass(std::string_view letter);
inline constexpr std::string_view kExtraClass = "E";

// The mode to set the radio to for a frequency: the first row strictly enclosing it; band
// "160" gives none (tuning on 160 m keeps the radio's mode); "PH" becomes "LSB" on "80", "60"
// and "40" and "USB" elsewhere. Empty when no row encloses the frequency.
std::string modeFromBandPlan(std::span<const BandPlanRow> rows, float frequencyMHz);

// Whether lower < frequency < upper (both edges excluded).
bool strictlyInside(const BandPlanRow& row, float frequencyMHz);

// The privileges chart for one class. Positions are fractions of the bar's width, so the
// window only scales them: left = bar left + leftFraction x bar width.
struct ChartSegment {
    float lowerMHz = 0.0F;
    float upperMHz = 0.0F;
    bool cw = false;         // blue with white text; otherwise green with black text
    double leftFraction = 0; // (lower - band lower) / (band upper - band lower)
    double widthFraction = 0;
    std::string caption; // "1.800 - 2.000"
    std::string tooltip; // "CW  1.800 - 2.000" or "PH  ..."
};
struct ChartBar {
    std::string band;      // caption of the bar and of its tag
    float lowerMHz = 0.0F; // the band's edges (its first row in the file)
    float upperMHz = 0.0F;
    std::string tooltip; // "160  1.800 - 2.000"
    std::vector<ChartSegment> segments;
};
struct Chart {
    std::vector<ChartBar> bars; // at most kMaxChartBars, in file order of the "O" rows
    bool barsDropped = false;   // more bands than bars
};
Chart buildChart(const BandPlan& plan, std::string_view licenceLetter);

// Edges in captions and tooltips: "#,###.##0" (1.8 -> "1.800", 1270 -> "1,270.000").
std::string formatEdge(float frequencyMHz);

// The effective-date line: "Frequencies Effective: " followed by the date.
std::string effectiveLine(const BandPlan& plan);

} // namespace corvane::bandplan
