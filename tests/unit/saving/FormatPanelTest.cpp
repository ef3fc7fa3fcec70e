// The save dialog's format panel: what it offers per file type, which depth it
// preselects, and which save settings it stores when the dialog closes.
#include "saving/FormatPanel.h"
#include "saving/SaveFileTypes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace korvan {
namespace {

// A panel opened with the format chosen last and the held image's depth.
struct PanelRig {
    FormatPanel panel;
    SaveFormat last{L"bmp", {}};
    int heldBits = 24;

    void Open(int fileType) { panel.Open(fileType, last, heldBits); }
    SaveSettings Closed() const { return panel.Close().settings; }
    void ClickDepth(int bits) {
        const std::vector<int>& depths = panel.Depths();
        panel.ClickDepth(static_cast<int>(std::find(depths.begin(), depths.end(), bits) - depths.begin()));
    }
};

// The percent box shows Round(p x 100 / 253 + 101), halves to even; typing a percent moves
// the slider to Trunc((v - 101) x 2.53), within -255 .. -2.
TEST(SaveQuality, PercentAndSliderArithmetic) {
    struct Row { int position, percent; };
    for (Row r : {Row{-255, 0}, {-254, 1}, {-129, 50}, {-128, 50}, {-63, 76}, {-64, 76}, {-3, 100}, {-2, 100},
                  {-192, 25}, {-65, 75}})
        EXPECT_EQ(QualityPercent(r.position), r.percent) << r.position;
    // p = -192 gives 25.11..; p = -1 would give 100.6: never reached, the range ends at -2.
    struct Back { long long percent; int position; };
    for (Back b : {Back{100, -2}, {0, -255}, {50, -129}, {76, -63}, {1, -253}, {99, -5}, {101, -2}, {5000, -2},
                   {2147483647LL, -2}, {-7, -255}})
        EXPECT_EQ(SliderPositionForPercent(b.percent), b.position) << b.percent;
}

TEST(SaveQuality, ATextThatIsNotANumberCountsAsZero) {
    struct Row { const wchar_t* text; long long value; };
    for (Row r : {Row{L"76", 76}, {L" 42 ", 42}, {L"+9", 9}, {L"-3", -3}, {L"", 0}, {L"abc", 0}, {L"7a", 0},
                  {L"1.5", 0}, {L"-", 0}, {L"99999999999", 0}, {L"2147483647", 2147483647LL}})
        EXPECT_EQ(ParseQualityText(r.text), r.value) << r.text;
}

TEST(SaveQuality, EditingTheBoxMovesTheSliderAndANegativeNumberBecomesZero) {
    FormatPanel panel;
    EXPECT_FALSE(panel.EditQuality(L"50"));
    EXPECT_EQ(panel.SliderPosition(), -129);
    EXPECT_EQ(panel.QualityText(), L"50");
    EXPECT_TRUE(panel.EditQuality(L"-12"));
    EXPECT_EQ(panel.QualityText(), L"0");
    EXPECT_EQ(panel.SliderPosition(), -255);
    EXPECT_FALSE(panel.EditQuality(L"250"));  // above 100 counts as 100
    EXPECT_EQ(panel.SliderPosition(), -2);
    EXPECT_FALSE(panel.EditQuality(L"x"));
    EXPECT_EQ(panel.SliderPosition(), -255);
    panel.MoveSlider(-300);
    EXPECT_EQ(panel.SliderPosition(), -255);
    EXPECT_EQ(panel.QualityText(), L"0");
    panel.MoveSlider(0);
    EXPECT_EQ(panel.SliderPosition(), -2);
    EXPECT_EQ(panel.QualityText(), L"100");
}

// The six types: lists, quality box, default extension, depths, fallback.
TEST(SaveFileTypes, FilterAndTableOfTheSixTypes) {
    EXPECT_EQ(kSaveFilter,
              L"Windows Bitmap (*.bmp)|*.bmp|JPEG Format (*.jpg *.jpeg)|*.jpg;*.jpeg|Portable Nework Graphic "
              L"(*.png)|*.png|Macintosh Pict Format (*.pct)|*.pct|Photoshop Format (*.psd)|*.psd|Encapsulated "
              L"Postscript (*.eps)|*.eps");
    struct Row {
        int index;
        std::vector<std::wstring> subFormats;
        bool quality;
        const wchar_t* ext;
        std::vector<int> depths;
        int fallback;
    };
    const std::vector<Row> rows{
        {1, {L"uncompressed", L"RLE compression"}, false, L"bmp", {1, 4, 8, 16, 24, 32}, 24},
        {2, {L"YUV 4:4:4", L"YUV 4:2:2", L"YUV 4:1:1", L"Lossless"}, true, L"jpg", {8, 24}, 24},
        {3, {}, false, L"png", {1, 4, 8, 24}, 24},
        {4, {}, false, L"pct", {1, 4, 8, 24}, 8},
        {5, {}, false, L"psd", {1, 8, 24}, 8},
        {6, {}, false, L"eps", {8}, 8},
    };
    for (const Row& row : rows) {
        PanelRig rig;
        rig.last.settings.bitsPerPixel = 32;  // kept from BMP; the other types fall back
        rig.Open(row.index);
        EXPECT_EQ(rig.panel.SubFormats(), row.subFormats) << row.index;
        EXPECT_EQ(rig.panel.QualityEnabled(), row.quality) << row.index;
        EXPECT_EQ(rig.panel.Extension(), row.ext);
        EXPECT_EQ(rig.panel.Depths(), row.depths) << row.index;
        EXPECT_EQ(rig.panel.SelectedDepth(), row.index == 1 ? 32 : row.fallback) << row.index;
    }
    EXPECT_EQ(SaveFileTypeAt(0), nullptr);
    EXPECT_EQ(SaveFileTypeAt(7), nullptr);
}

// Opening: the depth comes from the last choice once there is one, otherwise from the
// held image; closing without a change keeps it, as BMP at the default quality.
TEST(FormatPanelOpen, PreselectsTheDepth) {
    struct Row { int lastBits, heldBits, selected; };
    for (Row r : {Row{0, 24, 24}, {0, 32, 32}, {0, 1, 1}, {0, 0, 24}, {0, 15, 24}, {8, 32, 8}, {16, 24, 16}}) {
        PanelRig rig;
        rig.last.settings = {75, r.lastBits, 0};
        rig.heldBits = r.heldBits;
        rig.Open(1);
        EXPECT_EQ(rig.panel.SelectedDepth(), r.selected) << r.lastBits << "/" << r.heldBits;
        EXPECT_EQ(rig.panel.SliderPosition(), -63);
        EXPECT_EQ(rig.panel.QualityText(), L"76");
        EXPECT_EQ(rig.Closed(), (SaveSettings{6, r.selected, 63}));
    }
}

// The depth BMP preselects is the one the other types look for: a 15-bit capture shows
// 24 for BMP, so PICT shows 24 too instead of its fallback 8.
TEST(FormatPanelOpen, OtherTypesLookForTheDepthPreselectedForBmp) {
    PanelRig rig;
    rig.heldBits = 15;
    rig.Open(1);
    rig.panel.ChangeType(4);
    EXPECT_EQ(rig.panel.SelectedDepth(), 24);
}

TEST(FormatPanelChangeType, AnIndexOutsideTheTypesChangesNothing) {
    PanelRig rig;
    rig.Open(3);
    rig.panel.ChangeType(7);
    EXPECT_EQ(rig.panel.Extension(), L"png");
    EXPECT_EQ(rig.panel.Depths(), (std::vector<int>{1, 4, 8, 24}));
    // Closing on it takes only the quality; the format is BMP's from the opening.
    EXPECT_EQ(rig.panel.Close(), (SaveFormat{L"png", {6, 24, 63}}));
}

// Closing: the settings of the type and depth shown, confirmed or cancelled alike.
TEST(FormatPanelClose, StoresFormatDepthAndQualityPerType) {
    struct Row { int type; int depth; int slider; SaveSettings expected; };
    for (Row r : {Row{1, 24, -63, {6, 24, 63}}, {1, 4, -63, {6, 4, 63}}, {2, 8, -63, {10, 8, 63}},
                  {2, 24, -2, {10, 24, 2}}, {2, 24, -255, {10, 24, 255}}, {3, 8, -2, {75, 8, 0}},
                  {4, 1, -63, {56, 1, 63}}, {5, 8, -63, {76, 8, 63}}, {6, 8, -63, {16, 8, 63}}}) {
        PanelRig rig;
        rig.Open(1);
        rig.panel.ChangeType(r.type);
        rig.ClickDepth(r.depth);
        if (r.type == 2) rig.panel.MoveSlider(r.slider);
        EXPECT_EQ(rig.Closed(), r.expected) << r.type << "/" << r.depth;
    }
}

TEST(FormatPanelEdgeCases, JpegAtHundredStoresTwoAndAtZeroStores255) {
    for (auto [percent, quality] : {std::pair{L"100", 2}, {L"0", 255}, {L"50", 129}}) {
        PanelRig rig;
        rig.Open(0);
        rig.panel.ChangeType(2);
        EXPECT_TRUE(rig.panel.QualityEnabled());
        EXPECT_EQ(rig.panel.QualityText(), L"76");
        EXPECT_EQ(rig.panel.SelectedDepth(), 24);  // preselected for BMP at opening
        rig.panel.EditQuality(percent);
        EXPECT_EQ(rig.panel.Close(), (SaveFormat{L"jpg", {10, 24, quality}})) << percent;
    }
}

// A quality moved under JPEG is not kept when the user switches on to PNG.
TEST(FormatPanelEdgeCases, PngStoresQualityZeroAfterAJpegQuality) {
    PanelRig rig;
    rig.Open(0);
    rig.panel.ChangeType(2);
    rig.panel.MoveSlider(-10);
    rig.panel.ChangeType(3);
    EXPECT_EQ(rig.panel.Close(), (SaveFormat{L"png", {75, 24, 0}}));
}

// A 32-bit capture preselects 32 for BMP; JPEG does not offer 32, so its fallback 24 is
// selected and stored instead of passing 32 bits the JPEG writer refuses.
TEST(FormatPanelEdgeCases, A32BitCaptureSavedAsJpegTakesTheFallbackDepth) {
    PanelRig rig;
    rig.heldBits = 32;
    rig.Open(0);
    EXPECT_EQ(rig.panel.SelectedDepth(), 32);
    rig.panel.ChangeType(2);
    EXPECT_EQ(rig.panel.SelectedDepth(), 24);
    EXPECT_EQ(rig.Closed(), (SaveSettings{10, 24, 63}));
}

// Index 0 is the first type, BMP, as the system dialog shows it: the first save after
// start with a 24-bit capture keeps 24 bits, the depth the user clicks there is taken,
// and the extension is BMP's.
TEST(FormatPanelEdgeCases, TypeIndexZeroIsBmp) {
    PanelRig rig;
    rig.Open(0);
    EXPECT_EQ(rig.panel.SelectedDepth(), 24);
    EXPECT_FALSE(rig.panel.QualityEnabled());
    EXPECT_EQ(rig.Closed(), (SaveSettings{6, 24, 63}));
    rig.last = {L"png", {75, 24, 0}};
    rig.Open(0);
    EXPECT_EQ(rig.panel.Extension(), L"bmp");
    rig.panel.ClickDepth(2);
    EXPECT_EQ(rig.panel.Close(), (SaveFormat{L"bmp", {6, 8, 63}}));
}

// Every opening starts afresh: the slider back at -63, the quality box off for BMP.
TEST(FormatPanelEdgeCases, OpeningAgainResetsTheSlider) {
    PanelRig rig;
    rig.Open(2);
    rig.panel.MoveSlider(-10);
    rig.Open(2);
    EXPECT_EQ(rig.panel.SliderPosition(), -63);
    EXPECT_EQ(rig.panel.QualityText(), L"76");
}

} // namespace
} // namespace korvan
