#include "app/ToolbarArt.h"

#include "app/ArtCanvas.h"

#include <algorithm>

namespace korvan {
namespace {

constexpr ArtColor kInk{40, 48, 64};
constexpr ArtColor kWhite{255, 255, 255};
constexpr ArtColor kBlue{52, 120, 200};
constexpr ArtColor kLightBlue{150, 200, 240};
constexpr ArtColor kRed{210, 48, 40};
constexpr ArtColor kOrange{251, 167, 76};   // the window colour of the program
constexpr ArtColor kGreen{60, 160, 80};
constexpr ArtColor kGrey{150, 150, 150};

void Pointer(ArtCanvas& c, float x, float y, float s) {
    c.FillPolygon({{x, y}, {x, y + 13 * s}, {x + 3.5f * s, y + 10 * s}, {x + 6 * s, y + 15 * s},
                   {x + 8 * s, y + 14 * s}, {x + 5.5f * s, y + 9 * s}, {x + 10 * s, y + 9 * s}},
                  kInk);
    c.FillPolygon({{x + 1.2f * s, y + 2.8f * s}, {x + 1.2f * s, y + 10.2f * s}, {x + 3.8f * s, y + 8 * s},
                   {x + 6.4f * s, y + 12.8f * s}, {x + 6.9f * s, y + 12.5f * s}, {x + 4.3f * s, y + 7.8f * s},
                   {x + 7.3f * s, y + 7.8f * s}},
                  kWhite);
}

void Window(ArtCanvas& c, float x0, float y0, float x1, float y1) {
    c.FillRect(x0, y0, x1, y1, kWhite);
    c.FillRect(x0, y0, x1, y0 + 5, kBlue);
    c.StrokeRect(x0, y0, x1, y1, 1.5f, kInk);
}

void Dashes(ArtCanvas& c, float x0, float y0, float x1, float y1, ArtColor color) {
    for (float x = x0; x < x1; x += 4) {
        c.FillRect(x, y0, std::min(x + 2.5f, x1), y0 + 1.5f, color);
        c.FillRect(x, y1 - 1.5f, std::min(x + 2.5f, x1), y1, color);
    }
    for (float y = y0; y < y1; y += 4) {
        c.FillRect(x0, y, x0 + 1.5f, std::min(y + 2.5f, y1), color);
        c.FillRect(x1 - 1.5f, y, x1, std::min(y + 2.5f, y1), color);
    }
}

void FrameRing(ArtCanvas& c) {
    c.FillRect(3, 7, 29, 11, kOrange);
    c.FillRect(3, 21, 29, 25, kOrange);
    c.FillRect(3, 11, 7, 21, kOrange);
    c.FillRect(25, 11, 29, 21, kOrange);
    c.StrokeRect(3, 7, 29, 25, 1.2f, kInk);
    c.StrokeRect(7, 11, 25, 21, 1.2f, kInk);
}

void DrawArea(ArtCanvas& c) {
    Dashes(c, 3, 4, 24, 21, kRed);
    c.FillRect(8, 9, 19, 16, kLightBlue);
    Pointer(c, 17, 15, 0.95f);
}

void DrawInfo(ArtCanvas& c) {
    c.FillCircle(16, 16, 13, kBlue);
    c.Ring(16, 16, 13, 1.2f, kInk);
    c.FillCircle(16, 9.5f, 2.2f, kWhite);
    c.FillRect(14, 13, 18, 24, kWhite);
    c.FillRect(12.5f, 22.5f, 19.5f, 24.5f, kWhite);
}

void DrawWindowCapture(ArtCanvas& c) {
    Window(c, 2, 4, 24, 22);
    c.FillRect(5, 12, 21, 13.5f, kGrey);
    c.FillRect(5, 16, 17, 17.5f, kGrey);
    Pointer(c, 18, 15, 1.0f);
}

void DrawSave(ArtCanvas& c) {
    c.FillPolygon({{4, 4}, {25, 4}, {28, 7}, {28, 28}, {4, 28}}, kBlue);
    c.FillRect(8, 4, 22, 13, kWhite);
    c.FillRect(17, 6, 20, 11, kInk);
    c.FillRect(8, 17, 24, 28, ArtColor{230, 230, 230});
    c.FillRect(10, 20, 22, 21.2f, kGrey);
    c.FillRect(10, 23.5f, 22, 24.7f, kGrey);
}

void DrawExit(ArtCanvas& c) {
    c.FillRect(6, 3, 20, 29, ArtColor{120, 80, 50});
    c.FillPolygon({{6, 3}, {15, 6}, {15, 29}, {6, 29}}, ArtColor{170, 115, 70});
    c.FillCircle(13, 17, 1.2f, kInk);
    c.Line(19, 16, 29, 16, 3, kRed);
    c.FillPolygon({{24, 10}, {30, 16}, {24, 22}}, kRed);
}

void DrawOptions(ArtCanvas& c) {
    const float rows[3] = {8, 16, 24};
    const float knobs[3] = {11, 21, 15};
    for (int i = 0; i < 3; ++i) {
        c.FillRect(4, rows[i] - 1.2f, 28, rows[i] + 1.2f, kInk);
        c.FillCircle(knobs[i], rows[i], 3.6f, kGreen);
        c.Ring(knobs[i], rows[i], 3.6f, 1.1f, kInk);
    }
}

void DrawDesktop(ArtCanvas& c) {
    c.FillRect(3, 5, 29, 23, kInk);
    c.FillRect(5, 7, 27, 21, kBlue);
    c.FillPolygon({{5, 21}, {14, 13}, {19, 17}, {23, 14}, {27, 18}, {27, 21}}, kGreen);
    c.FillCircle(22, 10.5f, 2, ArtColor{250, 220, 90});
    c.FillRect(13, 23, 19, 26, kInk);
    c.FillRect(9, 26, 23, 28, kInk);
}

void DrawObject(ArtCanvas& c) {
    c.FillRect(3, 9, 25, 21, ArtColor{225, 225, 225});
    c.StrokeRect(3, 9, 25, 21, 1.3f, kInk);
    c.FillRect(6, 14, 17, 15.5f, kInk);
    Dashes(c, 1, 7, 27, 23, kRed);
    c.Ring(24, 22, 5.5f, 1.5f, kRed);
    c.Line(24, 14, 24, 30, 1.3f, kRed);
    c.Line(16, 22, 31, 22, 1.3f, kRed);
}

void DrawHideFrame(ArtCanvas& c) {
    FrameRing(c);
    c.Line(5, 28, 27, 4, 3.2f, kRed);
}

void Draw(ArtCanvas& c, int index) {
    switch (index) {
    case 0: DrawArea(c); break;
    case 1: DrawInfo(c); break;
    case 2: DrawWindowCapture(c); break;
    case 3: DrawSave(c); break;
    case 4: DrawExit(c); break;
    case 5: DrawOptions(c); break;
    case 6: FrameRing(c); break;
    case 7: DrawDesktop(c); break;
    case 8: DrawObject(c); break;
    case 9: DrawHideFrame(c); break;
    default: break;
    }
}

void Greyed(imaging::Bitmap& image) {
    for (int y = 0; y < image.Height(); ++y) {
        uint8_t* p = image.Row(y);
        for (int x = 0; x < image.Width(); ++x, p += 4) {
            auto grey = static_cast<uint8_t>(160 + (p[0] * 11 + p[1] * 59 + p[2] * 30) / 100 * 80 / 255);
            p[0] = p[1] = p[2] = grey;
            p[3] = static_cast<uint8_t>(p[3] * 3 / 4);
        }
    }
}

} // namespace

imaging::Bitmap ToolbarImage(int index, int pixelSize, bool disabled) {
    ArtCanvas canvas(pixelSize);
    Draw(canvas, index);
    imaging::Bitmap image = canvas.Resolve();
    if (disabled) Greyed(image);
    return image;
}

imaging::Bitmap ProgramIconImage(int pixelSize) {
    ArtCanvas c(pixelSize);
    c.FillRect(2, 9, 30, 27, kOrange);
    c.FillRect(10, 5, 20, 9, kOrange);
    c.StrokeRect(2, 9, 30, 27, 1.6f, kInk);
    c.FillCircle(16, 18, 7.5f, kInk);
    c.FillCircle(16, 18, 5.5f, kBlue);
    c.FillCircle(14, 16, 1.8f, kLightBlue);
    c.FillRect(24, 11.5f, 28, 14, kWhite);
    return c.Resolve();
}

imaging::Bitmap WindowPickImage(int pixelSize) {
    ArtCanvas c(pixelSize);
    Window(c, 19, 19, 31, 30);
    Pointer(c, 16, 16, 1.3f);  // tip at the centre, where an icon's hot spot lies
    return c.Resolve();
}

} // namespace korvan
