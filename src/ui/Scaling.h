#pragma once
// Window scaling arithmetic. Every window is designed on a 9600 x 7200 twip canvas (640 x
// 480 pixels at 15 twips a pixel) and stretched to the screen when it is created.

#include <optional>
#include <string_view>

namespace corvane {

inline constexpr double kDesignWidthTwips = 9600.0;
inline constexpr double kDesignHeightTwips = 7200.0;
inline constexpr double kTwipsPerPixel = 15.0;

struct TwipRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

struct ScreenTwips {
    double screenWidth = kDesignWidthTwips;
    double screenHeight = kDesignHeightTwips;
    double workLeft = 0;
    double workTop = 0;
    double workWidth = kDesignWidthTwips;
    double workHeight = kDesignHeightTwips;
};

enum class ScaleVariant {
    ScaleToScreen,  // edit, station identity, Cabrillo windows
    ScreenCapped,   // spotting setup, spectrum map, voice navigation, rig tester and tune panel, CW strings
    WorkAreaCapped, // CW setup, rate graph, voice keyer, rig interface, code practice
    WorkAreaFilled, // band plan
    ScreenUncapped, // help page, colour settings
    MainFullScreen, // the main window at start
};

// What one scaling pass does to a window and its controls: the window's new geometry,
// the factors for control geometry, and the factors for text sizes.
struct ScalePlan {
    TwipRect window;
    double controlX = 1.0;
    double controlY = 1.0;
    double windowText = 1.0;
    double controlText = 1.0;
};

ScalePlan planScale(ScaleVariant variant, const TwipRect& designWindow, const ScreenTwips& screen);

// The main window at a form size below 100 %: applied on top of the full-screen plan.
ScalePlan planPercentage(int percent, const ScreenTwips& screen);

// The taskbar layout: the window filling the work area (option 1) or the screen (0) at
// the top left corner; controls scale by new / old window size.
ScalePlan planTaskbar(bool taskbar, const TwipRect& currentWindow, const ScreenTwips& screen);

inline double cappedTextFactor(const ScreenTwips& s) {
    const double fx = s.screenWidth / kDesignWidthTwips;
    return fx < 1.5 ? fx : 1.5;
}

// The "Form Size" answer: nothing when it is not a number; otherwise clamped to 30..100
// and rounded to a whole number, halves to even.
std::optional<int> formSizeFromAnswer(std::string_view answer);

} // namespace corvane
