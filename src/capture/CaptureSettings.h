#pragma once
// How an area or object capture looks and behaves. The defaults are the program's: every
// capture runs with them, only the shape follows the options dialog.
#include "imaging/Bitmap.h"

namespace korvan {

// The shapes the user can draw.
enum class AreaShape { Triangle, Rectangle, RoundRectangle, Ellipse, Polygon, Freehand };

enum class LineStyle { Solid, Dash, Dot, DashDot, DashDotDot };

struct CaptureSettings {
    AreaShape shape = AreaShape::Rectangle;

    // The outline being drawn, and the lines across the whole screen through the pointer
    // (without them the pointer is the system's cross).
    imaging::Rgb lineColour{255, 0, 0};
    LineStyle lineStyle = LineStyle::Solid;
    bool crossLines = true;
    // A round rectangle's corners are quarters of an ellipse of this size, at most the
    // rectangle's own.
    int cornerWidth = 100;
    int cornerHeight = 100;

    // Beside the pointer: the magnifier (each screen pixel this many times; below 2 none),
    // and under it the pointer's position and the size of the shape drawn so far.
    int magnifierZoom = 2;
    bool showPosition = true;
    bool showSize = true;
    imaging::Rgb textColour{0, 0, 0};
    imaging::Rgb textBackground{255, 255, 255};
    bool opaqueText = true;

    // The image is the shape's box; cut to the shape, the pixels outside it get this colour.
    bool cutToShape = true;
    imaging::Rgb outsideColour{255, 255, 255};

    // Arrow keys move the pointer by one pixel; Enter and Space act as the mouse button.
    bool keyboard = true;
    // The frame around the window or control an object capture would take.
    int objectBorder = 5;
    // The key that calls a capture off (Escape); the right mouse button does too.
    int cancelKey = 0x1B;
};

} // namespace korvan
