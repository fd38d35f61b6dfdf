#include "ui/Scaling.h"

#include "core/NumberText.h"

#include <algorithm>

namespace corvane {

ScalePlan planScale(ScaleVariant variant, const TwipRect& design, const ScreenTwips& s) {
    const double fx = s.screenWidth / kDesignWidthTwips;
    const double fy = s.screenHeight / kDesignHeightTwips;
    ScalePlan plan;
    switch (variant) {
    case ScaleVariant::ScaleToScreen:
        plan.window.width = design.width / kDesignWidthTwips * s.screenWidth;
        plan.window.height = design.height / kDesignHeightTwips * s.screenHeight;
        plan.window.left = (s.screenWidth - plan.window.width) / 2;
        // Slightly above the middle, but never above the top of the screen.
        plan.window.top = std::max(0.0, (s.screenHeight - plan.window.height) / 2 - 170);
        plan.windowText = fy;
        plan.controlX = fx;
        plan.controlY = fy;
        plan.controlText = std::min(fx, fy);
        break;
    case ScaleVariant::ScreenCapped:
    case ScaleVariant::ScreenUncapped:
        plan.window.width = design.width / kDesignWidthTwips * s.screenWidth;
        plan.window.height = design.height / kDesignHeightTwips * s.screenHeight;
        plan.window.left = (s.screenWidth - plan.window.width) / 2;
        plan.window.top = (s.screenHeight - plan.window.height) / 2;
        plan.windowText = plan.window.width / kDesignWidthTwips;
        plan.controlX = fx;
        plan.controlY = fy;
        plan.controlText = variant == ScaleVariant::ScreenCapped ? cappedTextFactor(s) : fx;
        break;
    case ScaleVariant::WorkAreaCapped:
        plan.window.width = design.width / kDesignWidthTwips * s.workWidth;
        plan.window.height = design.height / kDesignHeightTwips * s.workHeight;
        plan.window.left = s.workLeft + (s.workWidth - plan.window.width) / 2;
        plan.window.top = s.workTop + (s.workHeight - plan.window.height) / 2;
        plan.windowText = plan.window.width / kDesignWidthTwips;
        plan.controlX = plan.window.width / design.width;
        plan.controlY = plan.window.height / design.height;
        plan.controlText = cappedTextFactor(s);
        break;
    case ScaleVariant::WorkAreaFilled:
        plan.window = {0, 0, s.workWidth, s.workHeight};
        plan.windowText = 1.0;
        plan.controlX = plan.window.width / design.width;
        plan.controlY = plan.window.height / design.height;
        plan.controlText = cappedTextFactor(s);
        break;
    case ScaleVariant::MainFullScreen:
        plan.window = {0, 0, s.screenWidth, s.screenHeight};
        plan.windowText = plan.window.width / kDesignWidthTwips;
        plan.controlX = fx;
        plan.controlY = fy;
        plan.controlText = std::min(fx, fy);
        break;
    }
    return plan;
}

ScalePlan planPercentage(int percent, const ScreenTwips& s) {
    const double f = percent / 100.0;
    ScalePlan plan;
    plan.window.width = f * s.screenWidth;
    plan.window.height = f * s.screenHeight;
    plan.window.left = (s.screenWidth - plan.window.width) / 2;
    plan.window.top = (s.screenHeight - plan.window.height) / 2;
    plan.windowText = f;
    plan.controlX = f;
    plan.controlY = f;
    plan.controlText = f;
    return plan;
}

ScalePlan planTaskbar(bool taskbar, const TwipRect& current, const ScreenTwips& s) {
    ScalePlan plan;
    plan.window = taskbar ? TwipRect{s.workLeft, s.workTop, s.workWidth, s.workHeight}
                          : TwipRect{0, 0, s.screenWidth, s.screenHeight};
    plan.controlX = current.width > 0 ? plan.window.width / current.width : 1.0;
    plan.controlY = current.height > 0 ? plan.window.height / current.height : 1.0;
    plan.windowText = 1.0;
    plan.controlText = 1.0;
    return plan;
}

std::optional<int> formSizeFromAnswer(std::string_view answer) {
    const auto value = parseNumber(answer);
    if (!value) {
        return std::nullopt;
    }
    const double clamped = std::clamp(*value, 30.0, 100.0);
    return static_cast<int>(roundHalfEven(clamped));
}

} // namespace corvane
