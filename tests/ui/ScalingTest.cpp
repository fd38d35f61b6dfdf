#include "ui/Scaling.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

ScreenTwips screen(double widthPx, double heightPx, double workHeightPx = 0) {
    ScreenTwips s;
    s.screenWidth = widthPx * kTwipsPerPixel;
    s.screenHeight = heightPx * kTwipsPerPixel;
    s.workWidth = s.screenWidth;
    s.workHeight = (workHeightPx ? workHeightPx : heightPx) * kTwipsPerPixel;
    return s;
}

} // namespace

TEST(Scaling, ScaleToScreenKeepsTheShareAndSitsAboveCentre) {
    const ScalePlan plan = planScale(ScaleVariant::ScaleToScreen, {0, 0, 4800, 3600}, screen(1024, 768));
    EXPECT_DOUBLE_EQ(plan.window.width, 7680);
    EXPECT_DOUBLE_EQ(plan.window.height, 5760);
    EXPECT_DOUBLE_EQ(plan.window.left, 3840);
    EXPECT_DOUBLE_EQ(plan.window.top, 2710);
    EXPECT_DOUBLE_EQ(plan.controlX, 1.6);
    EXPECT_DOUBLE_EQ(plan.controlText, 1.6);
}

TEST(Scaling, CappedVariantsLimitTextToOneAndAHalf) {
    const ScreenTwips wide = screen(1920, 1080);
    EXPECT_DOUBLE_EQ(planScale(ScaleVariant::ScreenCapped, {0, 0, 4800, 3600}, wide).controlText, 1.5);
    EXPECT_DOUBLE_EQ(planScale(ScaleVariant::WorkAreaCapped, {0, 0, 4800, 3600}, wide).controlText, 1.5);
    EXPECT_DOUBLE_EQ(planScale(ScaleVariant::ScreenUncapped, {0, 0, 4800, 3600}, wide).controlText, 3.0);
    const ScalePlan work = planScale(ScaleVariant::WorkAreaCapped, {0, 0, 4800, 3600}, screen(1920, 1080, 1040));
    EXPECT_DOUBLE_EQ(work.window.height, 3600.0 / 7200 * 1040 * kTwipsPerPixel);
    EXPECT_DOUBLE_EQ(work.controlY, work.window.height / 3600);
}

TEST(Scaling, MainWindowLayouts) {
    const ScreenTwips s = screen(1280, 1024, 984);
    const ScalePlan full = planScale(ScaleVariant::MainFullScreen, {}, s);
    EXPECT_DOUBLE_EQ(full.window.width, 19200);
    EXPECT_DOUBLE_EQ(full.controlText, 2.0);
    const ScalePlan ninety = planPercentage(90, s);
    EXPECT_DOUBLE_EQ(ninety.window.width, 17280);
    EXPECT_DOUBLE_EQ(ninety.window.left, 960);
    EXPECT_DOUBLE_EQ(ninety.controlText, 0.9);
    const ScalePlan taskbar = planTaskbar(true, full.window, s);
    EXPECT_DOUBLE_EQ(taskbar.window.height, 984 * kTwipsPerPixel);
    EXPECT_DOUBLE_EQ(taskbar.controlY, 984.0 / 1024);
    EXPECT_DOUBLE_EQ(planTaskbar(false, full.window, s).window.height, 1024 * kTwipsPerPixel);
}

TEST(Scaling, FormSizeAnswers) {
    EXPECT_EQ(formSizeFromAnswer("120"), 100);
    EXPECT_EQ(formSizeFromAnswer("10"), 30);
    EXPECT_EQ(formSizeFromAnswer("87.5"), 88);
    EXPECT_EQ(formSizeFromAnswer("86.5"), 86);
    EXPECT_EQ(formSizeFromAnswer("abc"), std::nullopt);
    EXPECT_EQ(formSizeFromAnswer(""), std::nullopt);
}
