#pragma once
// Deterministic pictures for the writers' tests: screen-like (flat areas, text strokes,
// a gradient), few-coloured, two-coloured and photograph-like.
#include "imaging/Bitmap.h"
#include "imaging/Status.h"

#include <cstdint>
#include <cmath>
#include <stdexcept>

namespace korvan::test {

inline uint32_t Hash(uint32_t x) {
    x ^= x >> 16; x *= 0x7feb352dU; x ^= x >> 15; x *= 0x846ca68bU; x ^= x >> 16;
    return x;
}

inline imaging::Bitmap Blank(int w, int h, int bits = 24) {
    imaging::Bitmap b;
    if (imaging::Bitmap::Create(b, w, h, bits) != imaging::kSuccess) throw std::runtime_error("bitmap");
    return b;
}

// A desktop: background, two windows with title bars, text strokes and a gradient strip.
inline imaging::Bitmap Screen(int w, int h, int bits = 24) {
    imaging::Bitmap b = Blank(w, h, bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            imaging::Rgb c{58, 110, 165};
            bool inWindow = x > w / 10 && x < w * 7 / 10 && y > h / 8 && y < h * 6 / 8;
            if (inWindow) {
                c = y < h / 8 + 4 + h / 40 ? imaging::Rgb{0, 84, 227} : imaging::Rgb{255, 255, 255};
                bool text = (y / 2) % 7 < 3 && (Hash(static_cast<uint32_t>(x / 3 + (y / 14) * 977)) & 3) != 0 && y > h / 8 + 8 + h / 40;
                if (text && x % 3 != 2) c = ((x + y) % 5 == 0) ? imaging::Rgb{120, 120, 130} : imaging::Rgb{0, 0, 0};
            } else if (y > h * 7 / 8) {
                auto v = static_cast<uint8_t>(x * 255 / (w > 1 ? w - 1 : 1));
                c = {v, static_cast<uint8_t>(255 - v), 128};
            }
            b.SetPixel(x, y, c);
        }
    return b;
}

// At most `colors` distinct colours in blocks and stripes.
inline imaging::Bitmap FewColors(int w, int h, int colors, int bits = 24) {
    imaging::Bitmap b = Blank(w, h, bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t k = Hash(static_cast<uint32_t>((x / 5) * 7919 + (y / 3) * 104729)) % static_cast<uint32_t>(colors);
            b.SetPixel(x, y, {static_cast<uint8_t>(Hash(k) & 0xFF), static_cast<uint8_t>(Hash(k + 99) & 0xFF), static_cast<uint8_t>(k * 37)});
        }
    return b;
}

// Smooth colour fields with mild grain, like a photograph.
inline imaging::Bitmap Photo(int w, int h, int bits = 24) {
    imaging::Bitmap b = Blank(w, h, bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double fx = x / 97.0, fy = y / 61.0;
            int grain = static_cast<int>(Hash(static_cast<uint32_t>(y * 65537 + x)) % 9) - 4;
            auto ch = [&](double v) { return static_cast<uint8_t>(std::lround(std::fmin(255.0, std::fmax(0.0, v + grain)))); };
            b.SetPixel(x, y, {ch(128 + 100 * std::sin(fx + 0.3 * fy)), ch(128 + 90 * std::cos(fy * 1.3 - fx * 0.4)),
                              ch(110 + 80 * std::sin(0.7 * fx * fy / 10 + 1))});
        }
    return b;
}

// A camera picture: a sky gradient over hills with a sharp ridge, fine grain of each
// channel's own, as a sensor leaves it.
inline imaging::Bitmap CameraPhoto(int w, int h, int bits = 24) {
    imaging::Bitmap b = Blank(w, h, bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool hill = y > h / 2 + 40 * std::sin(x / 53.0) + 15 * std::sin(x / 11.0);
            double t = double(y) / h, shade = hill ? 20 * std::sin(x / 7.0 + y / 5.0) : 0;
            double base[3] = {hill ? 70 + shade : 60 + 150 * t, hill ? 95 + shade : 110 + 110 * t, hill ? 40 + shade : 190 + 40 * t};
            uint8_t c[3];
            for (uint32_t k = 0; k < 3; ++k) {
                uint32_t seed = (static_cast<uint32_t>(y) * 65537u + static_cast<uint32_t>(x)) * 3u + k;
                int grain = static_cast<int>(Hash(seed) % 3 + Hash(seed ^ 0x9E3779B9u) % 3) - 2;
                c[k] = static_cast<uint8_t>(std::lround(std::fmin(255.0, std::fmax(0.0, base[k] + grain))));
            }
            b.SetPixel(x, y, {c[0], c[1], c[2]});
        }
    return b;
}

} // namespace korvan::test
