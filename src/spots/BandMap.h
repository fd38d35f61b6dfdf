#pragma once
// Arithmetic of the two spot maps: the main window's 160 m band map and the eleven rows of
// the HF spectrum map. Each map line has a five-point frequency scale that zooms in on the
// spots it holds (about 1 kHz beyond the outermost ones); labels stand at their frequency
// on that scale and are coloured by age; spots an hour old or older are not drawn.
//
// Positions are fractions of the line (0 = left end X1, 1 = right end X2); the window turns
// them into pixels with labelLeft.

#include "core/DateTime.h"
#include "core/Rgb.h"
#include "spots/RecentSpots.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane::spots {

// A map line's scale: the five numbers shown (rounded to 3 decimals, halves to even) and
// their captions ("#.000": 1.8 shows 1.800). values[0] and values[4] are the line's ends.
struct MapScale {
    std::array<double, 5> values{};
    std::array<std::string, 5> captions;
    double lo() const { return values[0]; }
    double hi() const { return values[4]; }
};

// "#.000": three decimals, halves to even, no leading zero below 1 (0.5 gives ".500").
std::string formatFrequency3(double valueMHz);

// Text colour by whole seconds since the spot was stored: under 600 light yellow, under 1800
// white, under 3600 silver; nullopt from 3600 (not drawn). A negative age (the clock was
// set back) counts as new.
inline constexpr std::int64_t kSpotMaxAgeSeconds = 3600;
std::optional<Rgb> ageColour(std::int64_t ageSeconds);

// The tool tip of a spot label: call, two blanks, frequency "#.000", two blanks, and the
// spot time moved by the UTC offset, "hh:mm:ss".
std::string spotToolTip(const SpotSlot& slot, double utcOffsetHours);

// A label to show: slot index, map row (always 0 on the main map), position on the line.
struct SpotMark {
    int slot = 0;
    int row = 0;
    double fraction = 0.0; // (f - lo) / (hi - lo) on the row's shown scale
    Rgb colour;
    std::string caption; // the slot's label text
    std::string toolTip;
};

// Pixel left edge of a label of the given width centred on `fraction` of the line X1..X2.
double labelLeft(double fraction, double x1, double x2, double labelWidth);
// Pixel left edge of scale caption i (0..4) of the given width.
double scaleCaptionLeft(int index, double x1, double x2, double captionWidth);
// A left edge moved just enough that the whole width lies between areaLeft and areaRight (at
// areaLeft when it is wider than the area): a caption at the line's end stays readable.
double keepInside(double left, double width, double areaLeft, double areaRight);

// ---- Main-window band map (160 m, 1.8 to 2.0 MHz)

inline constexpr double kMainMapLowMHz = 1.8;
inline constexpr double kMainMapHighMHz = 2.0;

MapScale mainMapScale(const RecentSpots& spots);
// Labels to show, newest slot first; drawing stops at the first slot an hour old. A spot is
// drawn when it lies strictly inside the shown scale.
std::vector<SpotMark> mainMapMarks(const RecentSpots& spots, const MapScale& scale, const DateTime& now,
                                   double utcOffsetHours);

// ---- HF spectrum map (eleven rows, 160 m to 2 m)

struct SpectrumRow {
    float lowMHz;
    float highMHz;
    const char* band;
};
inline constexpr int kSpectrumRows = 11;
inline constexpr std::array<SpectrumRow, kSpectrumRows> kSpectrumBands{{
    {1.8f, 2.0f, "160 m"},
    {3.5f, 4.0f, "80 m"},
    {7.0f, 7.3f, "40 m"},
    {10.1f, 10.15f, "30 m"},
    {14.0f, 14.35f, "20 m"},
    {18.068f, 18.168f, "17 m"},
    {21.0f, 21.45f, "15 m"},
    {24.89f, 24.99f, "12 m"},
    {28.0f, 29.7f, "10 m"},
    {50.0f, 54.0f, "6 m"},
    {144.0f, 148.0f, "2 m"},
}};

// Design geometry of the spectrum map in twips (the window scales it to the work area).
inline constexpr int kSpectrumDesignWidth = 9600;
inline constexpr int kSpectrumDesignHeight = 7200;
inline constexpr int kSpectrumStripLeft = 120;
inline constexpr int kSpectrumStripTop = 120; // + kSpectrumRowPitch x row
inline constexpr int kSpectrumStripWidth = 9255;
inline constexpr int kSpectrumStripHeight = 495;
inline constexpr int kSpectrumLineX1 = 360;
inline constexpr int kSpectrumLineX2 = 9120;
inline constexpr int kSpectrumLineY = 360; // + kSpectrumRowPitch x row
inline constexpr int kSpectrumRowPitch = 600;

// The row a frequency lies strictly inside (single precision), or -1.
int spectrumRowOf(float frequencyMHz);

MapScale spectrumRowScale(const RecentSpots& spots, int row);
std::array<MapScale, kSpectrumRows> spectrumScales(const RecentSpots& spots);
// Labels to show, newest slot first, each on the row whose band edges enclose it; drawing
// stops at the first slot an hour old.
std::vector<SpotMark> spectrumMarks(const RecentSpots& spots, const std::array<MapScale, kSpectrumRows>& scales,
                                    const DateTime& now, double utcOffsetHours);

} // namespace corvane::spots
