#pragma once

namespace korvan {

// A screen's size in pixels.
struct ScreenSize {
    int width = 0;
    int height = 0;
};

} // namespace korvan
