#include "platform/WindowColours.h"
#include "imaging/Status.h"
#include "support/TextContrast.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

imaging::Rgb AsRgb(Colour c) { return {c.r, c.g, c.b}; }

// The measure itself: the guidelines' end points and a known pair.
TEST(TextContrast, RatiosAsTheGuidelinesDefineThem) {
    EXPECT_DOUBLE_EQ(test::ContrastRatio({0, 0, 0}, {255, 255, 255}), 21.0);
    EXPECT_DOUBLE_EQ(test::ContrastRatio({119, 119, 119}, {119, 119, 119}), 1.0);
    EXPECT_NEAR(test::ContrastRatio({118, 118, 118}, {255, 255, 255}), 4.54, 0.01);
    EXPECT_NEAR(test::ContrastRatio({255, 255, 255}, {118, 118, 118}), 4.54, 0.01) << "either order";
}

// In a picture region the most frequent colour is the background; the text is the colour
// that differs most from it among those with a few pixels; a lone stray pixel and a long
// line (a border, a frame) are no text.
TEST(TextContrast, MeasuresTheTextAgainstItsBackground) {
    imaging::Bitmap picture;
    ASSERT_EQ(imaging::Bitmap::Create(picture, 40, 20, 24), imaging::kSuccess);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) picture.SetPixel(x, y, AsRgb(kOrange));
    for (int x = 2; x < 8; ++x) picture.SetPixel(x, 4, {0, 0, 153});      // the text
    for (int x = 2; x < 8; ++x) picture.SetPixel(x, 5, {120, 80, 110});   // its smoothed edge
    picture.SetPixel(30, 8, {255, 255, 255});                             // one stray pixel
    for (int x = 0; x < 40; ++x) picture.SetPixel(x, 0, {0, 0, 0});       // a border
    for (int y = 0; y < 20; ++y) picture.SetPixel(39, y, {0, 0, 0});
    std::optional<test::TextContrast> measured = test::MeasureText(picture, 0, 0, 40, 20);
    ASSERT_TRUE(measured.has_value());
    EXPECT_EQ(measured->background, AsRgb(kOrange));
    EXPECT_EQ(measured->text, (imaging::Rgb{0, 0, 153}));
    EXPECT_FALSE(test::MeasureText(picture, 20, 0, 20, 20).has_value()) << "only background, border and stray pixel";
    EXPECT_EQ(test::MeasureText(picture, 0, 0, 40, 20, 3, 40)->text, (imaging::Rgb{0, 0, 0}))
        << "lines count when no longer than a stroke";
}

// The normal theme's texts read at 4.5 to 1 or better on the window colour; high contrast
// takes the system's colours for everything.
TEST(WindowColours, NormalTextsReadAndHighContrastTakesTheSystemColours) {
    SystemColours system{{0, 0, 0}, {255, 255, 255}, {255, 255, 0}, {26, 235, 255}};
    WindowPalette normal = ChoosePalette(false, system);
    EXPECT_EQ(normal.background, kOrange);
    EXPECT_EQ(normal.ring, kOrange);
    EXPECT_EQ(normal.imageMargin, kSilver);
    EXPECT_GE(test::ContrastRatio(AsRgb(normal.text), AsRgb(normal.background)), 4.5);
    EXPECT_GE(test::ContrastRatio(AsRgb(normal.link), AsRgb(normal.background)), 4.5);
    EXPECT_LT(test::ContrastRatio({153, 180, 209}, AsRgb(kOrange)), 1.2) << "the active-caption link it replaces";

    WindowPalette high = ChoosePalette(true, system);
    EXPECT_EQ(high.background, system.window);
    EXPECT_EQ(high.text, system.windowText);
    EXPECT_EQ(high.link, system.hyperlink);
    EXPECT_EQ(high.ring, system.highlight);
    EXPECT_EQ(high.imageMargin, system.window);
}

} // namespace
} // namespace korvan
