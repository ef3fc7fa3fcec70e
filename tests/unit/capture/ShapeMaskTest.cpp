#include "capture/ShapeMask.h"
#include "imaging/Status.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvan {
namespace {

// The mask as rows of '#' (inside) and '.' (outside).
std::vector<std::string> Picture(const ShapeMask& mask) {
    std::vector<std::string> rows;
    for (int y = 0; y < mask.Bounds().Height(); ++y) {
        std::string row;
        for (int x = 0; x < mask.Bounds().Width(); ++x) row += mask.Inside(x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

struct Case {
    const char* name;
    Shape shape;
    Rect bounds;
    std::vector<std::string> picture;
};

TEST(ShapeMask, SmallShapesPixelByPixel) {
    const Case cases[] = {
        {"rectangle dragged up and left", {AreaShape::Rectangle, {{14, 13}, {10, 10}}}, {10, 10, 14, 13},
         {"####", "####", "####"}},
        {"ellipse", {AreaShape::Ellipse, {{0, 0}, {8, 6}}}, {0, 0, 8, 6},
         {"..####..", ".######.", "########", "########", ".######.", "..####.."}},
        {"round rectangle", {AreaShape::RoundRectangle, {{-5, -5}, {3, 1}}, 4, 4}, {-5, -5, 3, 1},
         {".######.", "########", "########", "########", "########", ".######."}},
        {"round rectangle with a corner as big as itself", {AreaShape::RoundRectangle, {{0, 0}, {8, 6}}, 100, 100}, {0, 0, 8, 6},
         {"..####..", ".######.", "########", "########", ".######.", "..####.."}},
        {"triangle, apex at the top centre", {AreaShape::Triangle, {{0, 0}, {8, 4}}}, {0, 0, 8, 4},
         {"...#....", "..###...", ".#####..", "#######."}},  // centres on an edge count on its left only
        {"polygon of four corners", {AreaShape::Polygon, {{2, 0}, {4, 2}, {2, 4}, {0, 2}}}, {0, 0, 4, 4},
         {".#..", "###.", "###.", ".#.."}},
        {"freehand crossing itself keeps both loops", {AreaShape::Freehand, {{0, 0}, {4, 4}, {4, 0}, {0, 4}}}, {0, 0, 4, 4},
         {"...#", "#.##", "#.##", "...#"}},
        {"concave polygon", {AreaShape::Polygon, {{0, 0}, {6, 0}, {6, 4}, {4, 4}, {4, 2}, {2, 2}, {2, 4}, {0, 4}}}, {0, 0, 6, 4},
         {"######", "######", "##..##", "##..##"}},
    };
    for (const Case& c : cases) {
        ShapeMask mask(c.shape);
        EXPECT_EQ(mask.Bounds(), c.bounds) << c.name;
        EXPECT_EQ(Picture(mask), c.picture) << c.name;
    }
}

TEST(ShapeMask, ZeroSizeShapesAreEmpty) {
    const Shape shapes[] = {
        {AreaShape::Rectangle, {{5, 5}, {5, 20}}}, {AreaShape::Ellipse, {{5, 5}, {30, 5}}}, {AreaShape::Triangle, {{1, 1}}},
        {AreaShape::Polygon, {}},                  {AreaShape::Freehand, {{3, 3}, {3, 9}, {3, 4}}},
    };
    for (const Shape& shape : shapes) EXPECT_TRUE(ShapeMask(shape).Bounds().Empty());
}

// Large shapes: the area inside is close to the shape's geometric area.
TEST(ShapeMask, AreasOfLargeShapes) {
    struct Row {
        Shape shape;
        double area;
    };
    const Row rows[] = {
        {{AreaShape::Ellipse, {{-400, -300}, {400, 300}}}, 3.14159265 * 400 * 300},
        {{AreaShape::Triangle, {{100, 100}, {700, 500}}}, 600.0 * 400 / 2},
        {{AreaShape::RoundRectangle, {{0, 0}, {600, 400}}, 100, 80}, 600.0 * 400 - (100.0 * 80 - 3.14159265 * 50 * 40)},
        {{AreaShape::Polygon, {{0, 0}, {500, 0}, {0, 500}}}, 500.0 * 500 / 2},
    };
    for (const Row& row : rows) {
        double count = ShapeMask(row.shape).CountInside();
        EXPECT_NEAR(count / row.area, 1.0, 0.003) << static_cast<int>(row.shape.type);
    }
}

TEST(ShapeCorners, TriangleApexAndDragShapes) {
    EXPECT_EQ(ShapeCorners({AreaShape::Triangle, {{10, 50}, {30, 20}}}), (std::vector<Point>{{20, 20}, {30, 50}, {10, 50}}));
    EXPECT_EQ(ShapeCorners({AreaShape::Rectangle, {{4, 3}, {1, 1}}}), (std::vector<Point>{{1, 1}, {4, 1}, {4, 3}, {1, 3}}));
    EXPECT_TRUE(IsDragShape(AreaShape::Ellipse));
    EXPECT_FALSE(IsDragShape(AreaShape::Freehand));
}

TEST(VirtualScreen, NegativeOriginsMapToTheGrab) {
    // Primary 1920x1080 at 0,0; a monitor left of it at 125 % and one above it.
    const std::vector<Rect> monitors = {{0, 0, 1920, 1080}, {-2560, -200, 0, 1240}, {200, -1080, 2120, 0}};
    Rect bounds = Union(monitors);
    EXPECT_EQ(bounds, (Rect{-2560, -1080, 2120, 1240}));
    VirtualScreen screen(bounds);
    struct Row {
        Point screen, grab;
    };
    const Row rows[] = {{{-2560, -1080}, {0, 0}}, {{0, 0}, {2560, 1080}}, {{-1, -1}, {2559, 1079}}, {{2119, 1239}, {4679, 2319}}};
    for (const Row& row : rows) {
        EXPECT_EQ(screen.ToGrab(row.screen), row.grab);
        EXPECT_EQ(screen.ToScreen(row.grab), row.screen);
    }
    EXPECT_EQ(screen.ToGrab(Rect{-10, -10, 10, 10}), (Rect{2550, 1070, 2570, 1090}));
    EXPECT_EQ(screen.Clip({-3000, 1200, -2500, 1300}), (Rect{-2560, 1200, -2500, 1240}));
    EXPECT_TRUE(screen.Clip({-3000, 0, -2600, 10}).Empty());
    EXPECT_EQ(screen.Clamp({-3000, 5000}), (Point{-2560, 1239}));
    EXPECT_EQ(screen.MonitorAt({-5, 3}, monitors), monitors[1]);
    EXPECT_EQ(screen.MonitorAt({2119, 1200}, monitors), bounds);  // in the union's corner, on no monitor
}

TEST(PlaceBeside, FlipsAtTheEdgesOfTheArea) {
    const Rect area{-1000, 0, 1000, 800};
    EXPECT_EQ(PlaceBeside({0, 0}, 100, 50, 20, area), (Rect{20, 20, 120, 70}));
    EXPECT_EQ(PlaceBeside({950, 790}, 100, 50, 20, area), (Rect{830, 720, 930, 770}));
    EXPECT_EQ(PlaceBeside({-1000, 790}, 100, 50, 20, area), (Rect{-980, 720, -880, 770}));
    // Dragging up and left: the box goes above left of the pointer, off the shape.
    EXPECT_EQ(PlaceBeside({500, 400}, 100, 50, 20, area, {700, 600}), (Rect{380, 330, 480, 380}));
    EXPECT_EQ(PlaceBeside({-990, 10}, 100, 50, 20, area, {0, 600}), (Rect{-970, 30, -870, 80}));
}

} // namespace
} // namespace korvan

namespace korvan {
namespace {

// A 6 x 4 screen at (-3, -2) whose pixel (x, y) is B = x + 10, G = y + 20, R = 7.
struct Screen {
    std::vector<uint8_t> bits;
    PixelSource source;
    Screen() : bits(6 * 4 * 4) {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) {
                uint8_t* p = &bits[(y * 6 + x) * 4];
                p[0] = static_cast<uint8_t>(x - 3 + 10), p[1] = static_cast<uint8_t>(y - 2 + 20), p[2] = 7;
            }
        source = {bits.data(), 6 * 4, {-3, -2, 3, 2}};
    }
};

TEST(CutImage, CopiesTheRectangleAndFillsOutsideTheShape) {
    Screen screen;
    imaging::Bitmap out;
    ASSERT_EQ(CutImage(screen.source, {-1, -2, 2, 1}, nullptr, {}, out), imaging::kSuccess);
    EXPECT_EQ(out.Width(), 3);
    EXPECT_EQ(out.Height(), 3);
    EXPECT_EQ(out.PixelAt(0, 0), (imaging::Rgb{7, 20 - 2, 10 - 1}));
    EXPECT_EQ(out.PixelAt(2, 2), (imaging::Rgb{7, 20, 10 + 1}));

    ShapeMask diamond({AreaShape::Polygon, {{-1, -2}, {3, 0}, {-1, 2}, {-3, 0}}});
    const imaging::Rgb outside{200, 100, 50};
    ASSERT_EQ(CutImage(screen.source, diamond.Bounds(), &diamond, outside, out), imaging::kSuccess);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            imaging::Rgb expected = diamond.Inside(x, y) ? imaging::Rgb{7, uint8_t(y - 2 + 20), uint8_t(x - 3 + 10)} : outside;
            EXPECT_EQ(out.PixelAt(x, y), expected) << x << "," << y;
        }
}

TEST(CutImage, RefusesEmptyOutsideAndMismatchedMasks) {
    Screen screen;
    imaging::Bitmap out;
    ShapeMask nothing({AreaShape::Polygon, {{-3, -2}, {3, -2}, {3, 2}, {-3, 2}, {-3, -2}, {3, 2}}});  // thin sliver
    EXPECT_EQ(CutImage(screen.source, {0, 0, 0, 5}, nullptr, {}, out), imaging::kZeroAreaSize);
    EXPECT_EQ(CutImage(screen.source, {0, 0, 4, 1}, nullptr, {}, out), imaging::kCaptureAreaOutsideScreen);
    EXPECT_EQ(CutImage(screen.source, {0, 0, 1, 1}, &nothing, {}, out), imaging::kInvalidParameter);
}

} // namespace
} // namespace korvan
