#include "unit/capture/FakeInteractiveCapture.h"

#include "capture/ShotCapture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace korvan {
namespace {

using fakes::FakeDisplay;
using fakes::FakeInteractiveCapture;
using Log = std::vector<std::string>;

struct Component {
    FakeInteractiveCapture layer;
    FakeDisplay display;
    std::unique_ptr<TShotCapture> capture;
    Component() { Make(); }
    void Make() {
        capture.reset();
        layer.log.clear();
        capture = std::make_unique<TShotCapture>(layer, display);
    }
    TShotCapture& operator*() { return *capture; }
    TShotCapture* operator->() { return capture.get(); }
};

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EShotCaptureError& error) {
        return error.what();
    }
    return "no error";
}

TEST(ShotCaptureConstruction, AsksTheLayerInOrderPushesNothingAndHoldsTheDefaults) {
    Component c;
    EXPECT_EQ(c.layer.log, (Log{"ImgCaptureSetHotKeyCallback", "ImgGetDefaultAreaOption",
                                "ImgGetDefaultObjectOption", "ImgGetCaptureOption"}));
    EXPECT_EQ(c.layer.hotKeyUserData, c.capture.get());
    EXPECT_EQ(c->Bitmap(), nullptr);
    EXPECT_EQ(c->LastResult(), 1);
    EXPECT_EQ(c->CaptureInfo().text, c->CaptureText());
    EXPECT_EQ(c->CaptureInfo().textSize, 260);

    TShotCapture& s = *c;
    EXPECT_TRUE(s.CaptureAreaBitmapWithRegion());
    EXPECT_EQ(s.CaptureAreaDrawCursor(), -1);
    EXPECT_EQ(s.CaptureAreaDrawEllipseHeight(), 100);
    EXPECT_EQ(s.CaptureAreaDrawEllipseWidth(), 100);
    EXPECT_EQ(s.CaptureAreaDrawLineColor(), clWhite);
    EXPECT_EQ(s.CaptureAreaDrawLineStyle(), TPenStyle::psDash);
    EXPECT_TRUE(s.CaptureAreaEnableKeyboard());
    EXPECT_EQ(s.CaptureAreaFillBackColor(), clWhite);
    EXPECT_EQ(s.CaptureAreaFillForeColor(), clBlack);
    EXPECT_EQ(s.CaptureAreaFillPattern(), TBrushStyle::bsSolid);
    EXPECT_FALSE(s.CaptureAreaIncludeCursor());
    EXPECT_TRUE(s.CaptureAreaSensitiveInfoWindow());
    EXPECT_TRUE(s.CaptureAreaShowAreaSize());
    EXPECT_TRUE(s.CaptureAreaShowCursorPosition());
    EXPECT_TRUE(s.CaptureAreaShowDrawCursor());
    EXPECT_TRUE(s.CaptureAreaShowInfoWindow());
    EXPECT_TRUE(s.CaptureAreaShowOpaqueText());
    EXPECT_EQ(s.CaptureAreaTextBackColor(), clWhite);
    EXPECT_EQ(s.CaptureAreaTextForeColor(), clBlack);
    EXPECT_TRUE(s.CaptureAreaUseCrossLinesCursor());
    EXPECT_EQ(s.CaptureAreaZoomFactor(), 2);
    EXPECT_EQ(s.CaptureCancelKey(), 27);
    EXPECT_EQ(s.CaptureCount(), 1);
    EXPECT_EQ(s.CaptureCursor(), -1);
    EXPECT_EQ(s.CaptureDelay(), 0);
    EXPECT_EQ(s.CaptureHotKey(), 122);
    EXPECT_EQ(s.CaptureHotKeyModifiers(), 0);
    EXPECT_EQ(s.CaptureInterval(), 10);
    EXPECT_EQ(s.CaptureObjectBorderWidth(), 5);
    EXPECT_TRUE(s.CaptureObjectEnableKeyboard());
    EXPECT_FALSE(s.CaptureObjectInvert());
    EXPECT_EQ(s.CaptureObjectSelectCursor(), -1);
    EXPECT_EQ(s.CaptureStatusCursor(), -1);
    EXPECT_TRUE(s.EnableMethodErrors());
    EXPECT_EQ(s.TransparentColor(), clWhite);
    EXPECT_EQ(s.AreaOptions().areaType, imaging::kAreaRectangle);
    EXPECT_EQ(s.AreaOptions().flags, 0x21FD);  // all flags but IncludeCursor, zoom 2
    EXPECT_EQ(s.ObjectOptions().flags, 2);
}

TEST(ShotCaptureConstruction, TakesTheProcessWideOptionsOfTheLayer) {
    Component c;
    c.layer.options = {0, 0, 65, 2, 66, 3000, 7, 250};
    c.Make();
    EXPECT_EQ(c->CaptureHotKey(), 65);
    EXPECT_EQ(c->CaptureHotKeyModifiers(), 2);
    EXPECT_EQ(c->CaptureCancelKey(), 66);
    EXPECT_EQ(c->CaptureDelay(), 3000);
    EXPECT_EQ(c->CaptureCount(), 7);
    EXPECT_EQ(c->CaptureInterval(), 250);
}

// Each flag property owns one bit of the area or object flags.
TEST(ShotCaptureProperties, FlagsOwnTheirBits) {
    struct Row {
        std::function<void(TShotCapture&, bool)> set;
        std::function<int32_t(TShotCapture&)> flags;
        int32_t bit;
    };
    auto area = [](TShotCapture& s) { return s.AreaOptions().flags; };
    auto object = [](TShotCapture& s) { return s.ObjectOptions().flags; };
    const Row rows[] = {
        {&TShotCapture::SetCaptureAreaShowDrawCursor, area, 1},
        {&TShotCapture::SetCaptureAreaIncludeCursor, area, 2},
        {&TShotCapture::SetCaptureAreaEnableKeyboard, area, 4},
        {&TShotCapture::SetCaptureAreaShowOpaqueText, area, 8},
        {&TShotCapture::SetCaptureAreaShowCursorPosition, area, 16},
        {&TShotCapture::SetCaptureAreaShowAreaSize, area, 32},
        {&TShotCapture::SetCaptureAreaShowInfoWindow, area, 64},
        {&TShotCapture::SetCaptureAreaSensitiveInfoWindow, area, 128},
        {&TShotCapture::SetCaptureAreaBitmapWithRegion, area, 256},
        {&TShotCapture::SetCaptureObjectInvert, object, 1},
        {&TShotCapture::SetCaptureObjectEnableKeyboard, object, 2},
    };
    for (const Row& row : rows) {
        Component c;
        int32_t before = row.flags(*c);
        row.set(*c, false);
        EXPECT_EQ(row.flags(*c), before & ~row.bit) << row.bit;
        row.set(*c, true);
        EXPECT_EQ(row.flags(*c), before | row.bit) << row.bit;
    }
}

// Range checks: the edges are accepted, one beyond is refused with the setter's text,
// the value stays and the last result becomes 0.
TEST(ShotCaptureProperties, RangesAndTheirMessages) {
    struct Row {
        const char* name;
        std::function<void(TShotCapture&, int)> set;
        std::function<int(TShotCapture&)> get;
        int low, high;
        bool unbounded;  // no upper limit
        const char* text;
    };
    const Row rows[] = {
        {"CaptureAreaZoomFactor", &TShotCapture::SetCaptureAreaZoomFactor, &TShotCapture::CaptureAreaZoomFactor, 1, 15, false, "Invalid property Value"},
        {"CaptureCount", &TShotCapture::SetCaptureCount, &TShotCapture::CaptureCount, 0, 120, false, "Invalid property Value"},
        {"CaptureDelay", &TShotCapture::SetCaptureDelay, &TShotCapture::CaptureDelay, 0, 60999, false, "Invalid property Value"},
        {"CaptureHotKey", &TShotCapture::SetCaptureHotKey, &TShotCapture::CaptureHotKey, 0, 255, false, "Invalid property Value"},
        {"CaptureCancelKey", &TShotCapture::SetCaptureCancelKey, &TShotCapture::CaptureCancelKey, 0, 255, false, "Invalid property value"},
        {"CaptureHotKeyModifiers", &TShotCapture::SetCaptureHotKeyModifiers, &TShotCapture::CaptureHotKeyModifiers, 0, 7, false, "Invalid property value"},
        {"CaptureInterval", &TShotCapture::SetCaptureInterval, &TShotCapture::CaptureInterval, 0, 60999, false, "Invalid property value"},
        {"CaptureObjectBorderWidth", &TShotCapture::SetCaptureObjectBorderWidth, &TShotCapture::CaptureObjectBorderWidth, 0, 0, true, "Invalid property value"},
    };
    for (const Row& row : rows) {
        Component c;
        c->SetCaptureHotKeyModifiers(1);  // keeps hot key and cancel key from meeting
        row.set(*c, row.low);
        EXPECT_EQ(row.get(*c), row.low) << row.name;
        if (!row.unbounded) {
            row.set(*c, row.high);
            EXPECT_EQ(row.get(*c), row.high) << row.name;
        }
        int kept = row.get(*c);
        const std::string expected = std::string("ShotCapture\n") + row.name + ": " + row.text;
        EXPECT_EQ(MessageOf([&] { row.set(*c, row.low - 1); }), expected);
        EXPECT_EQ(c->LastResult(), 0) << row.name;
        if (!row.unbounded) {
            EXPECT_EQ(MessageOf([&] { row.set(*c, row.high + 1); }), expected);
        }
        EXPECT_EQ(row.get(*c), kept) << row.name;
    }
}

TEST(ShotCaptureProperties, ZoomFactorFillsBitsTwelveToFifteen) {
    Component c;
    int32_t others = c->AreaOptions().flags & 0x0FFF;
    c->SetCaptureAreaZoomFactor(15);
    EXPECT_EQ(c->AreaOptions().flags, others | 0xF000);
    EXPECT_NE(MessageOf([&] { c->SetCaptureAreaZoomFactor(16); }), "no error");
    EXPECT_EQ(c->AreaOptions().flags, others | 0xF000);
}

TEST(ShotCaptureProperties, HotKeyMustDifferFromTheCancelKeyWithoutModifiers) {
    Component c;
    EXPECT_EQ(MessageOf([&] { c->SetCaptureHotKey(27); }), "ShotCapture\nCaptureHotKey: Invalid property Value");
    EXPECT_EQ(MessageOf([&] { c->SetCaptureCancelKey(122); }), "ShotCapture\nCaptureCancelKey: Invalid property value");
    EXPECT_EQ(c->CaptureHotKey(), 122);
    EXPECT_EQ(c->CaptureCancelKey(), 27);
    c->SetCaptureHotKey(0);
    c->SetCaptureCancelKey(0);  // hot key 0 never conflicts
    c->SetCaptureHotKeyModifiers(4);
    c->SetCaptureHotKey(0);
    c->SetCaptureCancelKey(27);
    c->SetCaptureHotKey(27);  // with a modifier the same key is allowed
    EXPECT_EQ(c->CaptureHotKey(), 27);
}

TEST(ShotCaptureProperties, EachPushingSetterFillsAllEightFields) {
    Component c;
    c->SetCaptureCursor(3);
    c->SetCaptureStatusCursor(50);
    c->SetCaptureHotKey(65);
    c->SetCaptureHotKeyModifiers(6);
    c->SetCaptureCancelKey(88);
    c->SetCaptureDelay(1500);
    c->SetCaptureCount(4);
    c->SetCaptureInterval(300);
    ASSERT_EQ(c.layer.pushed.size(), 8u);
    EXPECT_EQ(c.layer.pushed.back(), (imaging::CaptureOptions{1003, 999, 65, 6, 88, 1500, 4, 300}));
    EXPECT_EQ(c.layer.pushed.front(), (imaging::CaptureOptions{1003, 0, 122, 0, 27, 0, 1, 10}));
    c->SetCaptureAreaZoomFactor(3);  // area and object properties do not push
    c->SetCaptureObjectBorderWidth(2);
    c->SetTransparentColor(clRed);
    EXPECT_EQ(c.layer.pushed.size(), 8u);
}

TEST(ShotCaptureProperties, LineStylesAndFillPatternsMapToCodes) {
    Component c;
    const std::pair<TPenStyle, int> styles[] = {{TPenStyle::psSolid, 0}, {TPenStyle::psDash, 1}, {TPenStyle::psDot, 2},
                                                {TPenStyle::psDashDot, 3}, {TPenStyle::psDashDotDot, 4}};
    for (auto [style, code] : styles) {
        c->SetCaptureAreaDrawLineStyle(style);
        EXPECT_EQ(c->AreaOptions().lineStyle, code);
        EXPECT_EQ(c->CaptureAreaDrawLineStyle(), style);
    }
    for (TPenStyle bad : {TPenStyle::psClear, TPenStyle::psInsideFrame, TPenStyle::psUserStyle, TPenStyle::psAlternate})
        EXPECT_EQ(MessageOf([&] { c->SetCaptureAreaDrawLineStyle(bad); }),
                  "ShotCapture\nCaptureAreaDrawLineStyle: Invalid property value");
    const std::pair<TBrushStyle, int> patterns[] = {
        {TBrushStyle::bsHorizontal, 0}, {TBrushStyle::bsVertical, 1}, {TBrushStyle::bsFDiagonal, 2},
        {TBrushStyle::bsBDiagonal, 3},  {TBrushStyle::bsCross, 4},    {TBrushStyle::bsDiagCross, 5},
        {TBrushStyle::bsSolid, 6}};
    for (auto [pattern, code] : patterns) {
        c->SetCaptureAreaFillPattern(pattern);
        EXPECT_EQ(c->AreaOptions().fillPattern, code);
        EXPECT_EQ(c->CaptureAreaFillPattern(), pattern);
    }
    EXPECT_EQ(MessageOf([&] { c->SetCaptureAreaFillPattern(TBrushStyle::bsClear); }),
              "ShotCapture\nCaptureAreaFillPattern: Invalid property value");
    EXPECT_EQ(c->AreaOptions().fillPattern, 6);

    // Codes outside the tables, as the layer may hand them over, read as solid.
    c.layer.areaDefaults.lineStyle = 9;
    c.layer.areaDefaults.fillPattern = -1;
    c.Make();
    EXPECT_EQ(c->CaptureAreaDrawLineStyle(), TPenStyle::psSolid);
    EXPECT_EQ(c->AreaOptions().lineStyle, 0);
    EXPECT_EQ(c->CaptureAreaFillPattern(), TBrushStyle::bsSolid);
    EXPECT_EQ(c->AreaOptions().fillPattern, 6);
}

TEST(ShotCaptureProperties, ColoursKeepTheValueAndGiveTheRecordItsRgb) {
    struct Row {
        std::function<void(TShotCapture&, TColor)> set;
        std::function<TColor(TShotCapture&)> get;
        std::function<imaging::RgbValue(TShotCapture&)> field;
    };
    const Row rows[] = {
        {&TShotCapture::SetCaptureAreaDrawLineColor, &TShotCapture::CaptureAreaDrawLineColor, [](TShotCapture& s) { return s.AreaOptions().lineColor; }},
        {&TShotCapture::SetCaptureAreaFillForeColor, &TShotCapture::CaptureAreaFillForeColor, [](TShotCapture& s) { return s.AreaOptions().fillForeColor; }},
        {&TShotCapture::SetCaptureAreaFillBackColor, &TShotCapture::CaptureAreaFillBackColor, [](TShotCapture& s) { return s.AreaOptions().fillBackColor; }},
        {&TShotCapture::SetCaptureAreaTextForeColor, &TShotCapture::CaptureAreaTextForeColor, [](TShotCapture& s) { return s.AreaOptions().textForeColor; }},
        {&TShotCapture::SetCaptureAreaTextBackColor, &TShotCapture::CaptureAreaTextBackColor, [](TShotCapture& s) { return s.AreaOptions().textBackColor; }},
    };
    for (const Row& row : rows) {
        Component c;
        row.set(*c, clHighlight);
        EXPECT_EQ(row.get(*c), clHighlight);
        EXPECT_EQ(row.field(*c), 0x01000Du);
        row.set(*c, 0x123456);
        EXPECT_EQ(row.field(*c), 0x123456u);
    }
}

TEST(ShotCaptureOperations, PrepareStepThenTheCapture) {
    Component c;
    c->SetCaptureCursor(2);
    c->SetCaptureStatusCursor(4);
    c->SetCaptureObjectSelectCursor(5);
    c->SetCaptureAreaDrawCursor(7);
    c.layer.log.clear();
    ASSERT_EQ(c->CaptureSelectedObject(), 1);
    EXPECT_EQ(c.layer.log, (Log{"ImgStopCapture", "ImgGetCaptureOption", "ImgSetCaptureOption", "ImgCaptureSelectedObject"}));
    EXPECT_EQ(c.layer.pushed.back().captureCursor, 1002);
    EXPECT_EQ(c.layer.pushed.back().statusCursor, 1004);
    EXPECT_EQ(c.layer.lastObject.selectCursor, 1005);
    ASSERT_NE(c->Bitmap(), nullptr);

    // The next capture releases the previous image before the layer is asked.
    c.layer.log.clear();
    c.layer.status = imaging::kCaptureCancelled;
    c->SetEnableMethodErrors(false);
    EXPECT_EQ(c->CaptureActiveWindow(), imaging::kCaptureCancelled);
    EXPECT_EQ(c.layer.log, (Log{"ImgStopCapture", "ImgGetCaptureOption", "ImgSetCaptureOption", "ImgFreeBitmap",
                                "ImgInitBitmap", "ImgCaptureActiveWindow"}));
    EXPECT_EQ(c->Bitmap(), nullptr);
    EXPECT_EQ(c->LastResult(), imaging::kCaptureCancelled);
}

TEST(ShotCaptureOperations, AreaTypeZeroKeepsThePreviousAndCrossLinesReplaceTheDrawCursor) {
    Component c;
    c->SetCaptureAreaDrawCursor(7);
    c->CaptureArea(4);
    EXPECT_EQ(c.layer.lastArea.areaType, 4);
    EXPECT_EQ(c.layer.lastArea.drawCursor, -1);
    c->SetCaptureAreaUseCrossLinesCursor(false);
    c->CaptureArea(0);
    EXPECT_EQ(c.layer.lastArea.areaType, 4);
    EXPECT_EQ(c.layer.lastArea.drawCursor, 1007);
    Component fresh;
    fresh->CaptureArea(0);
    EXPECT_EQ(fresh.layer.lastArea.areaType, imaging::kAreaRectangle);
}

// Each image of a capture counts and fires its event; the hot key callback, for this
// component only, resets the counter and fires its own event.
TEST(ShotCaptureOperations, ImagesCountAndTheHotKeyCallbackResetsTheCounter) {
    Component c;
    c.layer.imagesPerCapture = 3;
    std::vector<int> pages;
    c->OnCaptureImage = [&](TShotCapture& sender, int page) {
        EXPECT_EQ(&sender, c.capture.get());
        pages.push_back(page);
    };
    EXPECT_EQ(c->CaptureArea(2), 1);
    EXPECT_EQ(pages, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(c->CaptureCounter(), 3);
    EXPECT_EQ(c->CaptureInfo().pageNumber, 3);
    EXPECT_STREQ(c->CaptureText(), "A");
    EXPECT_EQ(c->Bitmap()->Width(), 7);

    int type = -1;
    c->OnCaptureHotKeyPressed = [&](TShotCapture&, int hotKeyType) { type = hotKeyType; };
    EXPECT_EQ(c.layer.hotKeyCallback(122, 0, nullptr), 1);
    EXPECT_EQ(type, -1);
    EXPECT_EQ(c->CaptureCounter(), 3);
    EXPECT_EQ(c.layer.hotKeyCallback(122, 0, c.layer.hotKeyUserData), 1);
    EXPECT_EQ(type, 0);
    EXPECT_EQ(c->CaptureCounter(), 0);
}

TEST(ShotCaptureOperations, FailureRaisesTheFormattedMessageOnlyWithMethodErrors) {
    const std::pair<std::function<int(TShotCapture&)>, const char*> operations[] = {
        {[](TShotCapture& s) { return s.CaptureArea(2); }, "CaptureArea"},
        {[](TShotCapture& s) { return s.CaptureSelectedObject(); }, "CaptureSelectedObject"},
        {[](TShotCapture& s) { return s.CaptureActiveWindow(); }, "CaptureActiveWindow"},
    };
    for (const auto& [operation, method] : operations) {
        Component c;
        c.layer.status = imaging::kZeroAreaSize;
        EXPECT_EQ(MessageOf([&] { operation(*c); }),
                  std::string("ShotCapture \nError code: -331\n") + method + ": Zero area size ");
        EXPECT_EQ(c->LastResult(), -331);
        c.layer.status = -777;
        EXPECT_EQ(MessageOf([&] { operation(*c); }),
                  std::string("ShotCapture \nError code: -777\n") + method + ": Undefined Error: -777 ");
        c->SetEnableMethodErrors(false);
        c.layer.status = imaging::kCaptureInProcess;
        EXPECT_EQ(operation(*c), -320);
        EXPECT_EQ(c->LastResult(), -320);
    }
}

TEST(ShotCaptureLifetime, DestructionFreesAHeldBitmapOnly) {
    Component c;
    c.capture.reset();
    EXPECT_EQ(c.layer.log.back(), "ImgGetCaptureOption");
    c.Make();
    c->CaptureArea(2);
    c.capture.reset();
    EXPECT_EQ(c.layer.log.back(), "ImgFreeBitmap");
}

TEST(ShotCaptureMainWindow, SettingsAtLoad) {
    Component c;
    c.layer.log.clear();
    ApplyMainWindowSettings(*c);
    EXPECT_EQ(c->CaptureAreaDrawLineColor(), 0x0000FF);
    EXPECT_EQ(c->AreaOptions().lineColor, 0x0000FFu);
    EXPECT_EQ(c->CaptureAreaDrawLineStyle(), TPenStyle::psSolid);
    EXPECT_FALSE(c->CaptureAreaShowInfoWindow());
    EXPECT_EQ(c->CaptureHotKey(), 0);
    EXPECT_FALSE(c->EnableMethodErrors());
    EXPECT_EQ(c.layer.log, (Log{"ImgSetCaptureOption"}));
    EXPECT_EQ(c.layer.options.hotKey, 0);
    EXPECT_TRUE(c->CaptureAreaBitmapWithRegion());
    EXPECT_EQ(c->CaptureAreaZoomFactor(), 2);
}

} // namespace
} // namespace korvan
