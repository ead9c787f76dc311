#include "controls/rzcommon.h"

#include <QApplication>
#include <QPalette>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr TColor rgb(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}

// Restores the application palette a test changes.
struct PaletteGuard {
    QPalette saved = QApplication::palette();
    ~PaletteGuard() { QApplication::setPalette(saved); }
};

TEST(RzCommonColors, SystemColoursResolveThroughTheApplicationPalette) {
    PaletteGuard guard;
    QPalette p = QApplication::palette();
    p.setColor(QPalette::Base, QColor(1, 2, 3));
    p.setColor(QPalette::Button, QColor(10, 20, 30));
    p.setColor(QPalette::Dark, QColor(40, 50, 60));
    p.setColor(QPalette::Highlight, QColor(70, 80, 90));
    p.setColor(QPalette::ToolTipBase, QColor(100, 110, 120));
    QApplication::setPalette(p);
    EXPECT_EQ(ColorToRGB(clWindow), rgb(1, 2, 3));
    EXPECT_EQ(ColorToRGB(clBtnFace), rgb(10, 20, 30));
    EXPECT_EQ(ColorToRGB(clBtnShadow), rgb(40, 50, 60));
    EXPECT_EQ(ColorToRGB(clHighlight), rgb(70, 80, 90));
    EXPECT_EQ(ColorToRGB(clInfoBk), rgb(100, 110, 120));
    // Plain colours pass through; colours without a palette role keep their classic value.
    EXPECT_EQ(ColorToRGB(0x00123456), 0x00123456);
    EXPECT_EQ(ColorToRGB(clActiveCaption), rgb(10, 36, 106));
    EXPECT_FALSE(ColorToQColor(clNone).isValid());
    EXPECT_EQ(ColorToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(QColorToColor(QColor(0x12, 0x34, 0x56, 7)), 0x00563412);
}

TEST(RzCommonHsl, PrimaryAndGreyColoursOnThe240Scale) {
    EXPECT_EQ(RgbToHsl(clBlack), (THsl{0, 0, 0}));
    EXPECT_EQ(RgbToHsl(clWhite), (THsl{0, 0, 240}));
    EXPECT_EQ(RgbToHsl(clRed), (THsl{0, 240, 120}));
    EXPECT_EQ(RgbToHsl(clLime), (THsl{80, 240, 120}));
    EXPECT_EQ(RgbToHsl(clBlue), (THsl{160, 240, 120}));
    EXPECT_EQ(RgbToHsl(clFuchsia), (THsl{200, 240, 120}));
    // 128 / 255 * 240 = 120.47.
    EXPECT_EQ(RgbToHsl(clGray), (THsl{0, 0, 120}));
    // Lighter than half: saturation uses 2 - max - min. #FF8080: d = 0.498, 2 - 1.502.
    EXPECT_EQ(RgbToHsl(rgb(255, 128, 128)), (THsl{0, 240, 180}));
    // A negative hue wraps: #FF0080 has hue (0 - 0.502) / 1 / 6 + 1.
    EXPECT_EQ(RgbToHsl(rgb(255, 0, 128)).h, 220);
}

TEST(RzCommonHsl, HueScaledBy239ShiftsTheWayBack) {
    EXPECT_EQ(HslToRgb(0, 240, 120), clRed);
    // 80 / 239 * 6 is a little over 2, 160 / 239 * 6 a little over 4.
    EXPECT_EQ(HslToRgb(80, 240, 120), rgb(0, 255, 2));
    EXPECT_EQ(HslToRgb(160, 240, 120), rgb(4, 0, 255));
    // Hue 240 gives sextant 6, handled like sextant 0.
    EXPECT_EQ(HslToRgb(240, 240, 120), rgb(255, 6, 0));
    EXPECT_EQ(HslToRgb(120, 0, 0), clBlack);
    EXPECT_EQ(HslToRgb(0, 0, 240), clWhite);
}

TEST(RzCommonHsl, RoundTripsStayCloseForEveryHue) {
    for (int h = 0; h < 240; ++h) {
        const TColor c = HslToRgb(h, 240, 120);
        const THsl back = RgbToHsl(c);
        // Hue is circular: 239 / 239 * 6 is sextant 6, which comes back as red (0).
        const int dh = std::abs(back.h - h);
        EXPECT_LE(std::min(dh, 240 - dh), 1) << "hue " << h;
        EXPECT_EQ(back.s, 240) << "hue " << h;
        EXPECT_EQ(back.l, 120) << "hue " << h;
    }
    for (int v = 0; v < 256; ++v) {
        const TColor grey = rgb(v, v, v);
        const TColor back = HslToRgb(RgbToHsl(grey));
        EXPECT_LE(std::abs((back & 0xFF) - v), 1) << v;
        EXPECT_EQ(back, rgb(back & 0xFF, back & 0xFF, back & 0xFF)) << v;
    }
}

TEST(RzCommonHsl, DarkenAndLightenSaturateInsteadOfWrapping) {
    EXPECT_EQ(HslDarken(clWhite, 20), rgb(234, 234, 234));
    EXPECT_EQ(HslDarken(clBlack, 20), clBlack);
    EXPECT_EQ(HslDarken(clRed, 500), clBlack);
    EXPECT_EQ(HslLighten(clBlack, 10), rgb(11, 11, 11));
    // Lightness may climb to 255; anything from 240 up comes back white, never wrapped.
    EXPECT_EQ(HslLighten(clWhite, 10), clWhite);
    EXPECT_EQ(HslLighten(clRed, 130), clWhite);
    EXPECT_EQ(HslLighten(rgb(200, 100, 50), 1000), clWhite);
    // System colours are resolved before the conversion.
    EXPECT_EQ(HslDarken(clBtnFace, 20), HslDarken(ColorToRGB(clBtnFace), 20));
    EXPECT_EQ(HslLighten(clBtnFace, 10), HslLighten(ColorToRGB(clBtnFace), 10));
}

TEST(RzCommonHsl, NearNeedsCloseHueAndLightness) {
    EXPECT_TRUE(HslNear(clBlack, rgb(60, 60, 60)));  // L 56
    EXPECT_FALSE(HslNear(clBlack, rgb(64, 64, 64))); // L 60, not below 60
    EXPECT_TRUE(HslNear(clRed, rgb(255, 60, 0)));    // hue 9
    EXPECT_FALSE(HslNear(clRed, rgb(255, 128, 0)));  // hue 20
    EXPECT_FALSE(HslNear(clRed, clBlue));
    EXPECT_TRUE(HslNear(clWindow, ColorToRGB(clWindow)));
}

TEST(RzCommonLook, DefaultFollowsTheApplicationWideChoice) {
    const TRzLook saved = vq::defaultLook();
    vq::setDefaultLook(TRzLook::Classic);
    EXPECT_EQ(vq::resolvedLook(TRzLook::Default), TRzLook::Classic);
    EXPECT_EQ(vq::resolvedLook(TRzLook::Themed), TRzLook::Themed);
    vq::setDefaultLook(TRzLook::Themed);
    EXPECT_EQ(vq::resolvedLook(TRzLook::Default), TRzLook::Themed);
    EXPECT_EQ(vq::resolvedLook(TRzLook::Classic), TRzLook::Classic);
    vq::setDefaultLook(saved);
}

} // namespace
