#include "app/ArtCanvas.h"

#include <algorithm>
#include <cmath>

namespace korvan {

ArtCanvas::ArtCanvas(int pixelSize)
    : size_(pixelSize), grid_(pixelSize * kSupersample), unit_(grid_ / 32.0f),
      rgba_(static_cast<size_t>(grid_) * static_cast<size_t>(grid_) * 4, 0.0f) {}

template <typename Inside> void ArtCanvas::Paint(float x0, float y0, float x1, float y1, ArtColor c, Inside inside) {
    int gx0 = std::max(0, static_cast<int>(std::floor(std::min(x0, x1) * unit_)));
    int gy0 = std::max(0, static_cast<int>(std::floor(std::min(y0, y1) * unit_)));
    int gx1 = std::min(grid_, static_cast<int>(std::ceil(std::max(x0, x1) * unit_)) + 1);
    int gy1 = std::min(grid_, static_cast<int>(std::ceil(std::max(y0, y1) * unit_)) + 1);
    float alpha = c.a / 255.0f;
    for (int gy = gy0; gy < gy1; ++gy) {
        for (int gx = gx0; gx < gx1; ++gx) {
            float x = (gx + 0.5f) / unit_, y = (gy + 0.5f) / unit_;
            if (!inside(x, y)) continue;
            float* p = &rgba_[(static_cast<size_t>(gy) * static_cast<size_t>(grid_) + static_cast<size_t>(gx)) * 4];
            // Source over destination, premultiplied internally.
            p[0] = c.r / 255.0f * alpha + p[0] * (1 - alpha);
            p[1] = c.g / 255.0f * alpha + p[1] * (1 - alpha);
            p[2] = c.b / 255.0f * alpha + p[2] * (1 - alpha);
            p[3] = alpha + p[3] * (1 - alpha);
        }
    }
}

void ArtCanvas::FillRect(float x0, float y0, float x1, float y1, ArtColor c) {
    Paint(x0, y0, x1, y1, c, [=](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; });
}

void ArtCanvas::StrokeRect(float x0, float y0, float x1, float y1, float w, ArtColor c) {
    Paint(x0, y0, x1, y1, c, [=](float x, float y) {
        bool outer = x >= x0 && x < x1 && y >= y0 && y < y1;
        bool inner = x >= x0 + w && x < x1 - w && y >= y0 + w && y < y1 - w;
        return outer && !inner;
    });
}

void ArtCanvas::Line(float x0, float y0, float x1, float y1, float width, ArtColor c) {
    float half = width / 2;
    float dx = x1 - x0, dy = y1 - y0;
    float length2 = dx * dx + dy * dy;
    Paint(std::min(x0, x1) - half, std::min(y0, y1) - half, std::max(x0, x1) + half, std::max(y0, y1) + half, c,
          [=](float x, float y) {
              float t = length2 > 0 ? std::clamp(((x - x0) * dx + (y - y0) * dy) / length2, 0.0f, 1.0f) : 0.0f;
              float px = x0 + t * dx - x, py = y0 + t * dy - y;
              return px * px + py * py <= half * half;
          });
}

void ArtCanvas::FillCircle(float cx, float cy, float radius, ArtColor c) {
    Paint(cx - radius, cy - radius, cx + radius, cy + radius, c, [=](float x, float y) {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    });
}

void ArtCanvas::Ring(float cx, float cy, float radius, float width, ArtColor c) {
    float inner = radius - width;
    Paint(cx - radius, cy - radius, cx + radius, cy + radius, c, [=](float x, float y) {
        float d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        return d <= radius * radius && d >= inner * inner;
    });
}

void ArtCanvas::FillPolygon(const std::vector<std::pair<float, float>>& points, ArtColor c) {
    if (points.size() < 3) return;
    float x0 = points[0].first, x1 = x0, y0 = points[0].second, y1 = y0;
    for (auto [x, y] : points) {
        x0 = std::min(x0, x); x1 = std::max(x1, x);
        y0 = std::min(y0, y); y1 = std::max(y1, y);
    }
    Paint(x0, y0, x1, y1, c, [&points](float x, float y) {
        bool inside = false;  // even-odd rule
        for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            auto [xi, yi] = points[i];
            auto [xj, yj] = points[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
        }
        return inside;
    });
}

imaging::Bitmap ArtCanvas::Resolve() const {
    imaging::Bitmap out;
    if (imaging::Bitmap::Create(out, size_, size_, 32) != 1) return out;
    const float samples = kSupersample * kSupersample;
    for (int y = 0; y < size_; ++y) {
        uint8_t* row = out.Row(y);
        for (int x = 0; x < size_; ++x) {
            float sum[4] = {0, 0, 0, 0};
            for (int sy = 0; sy < kSupersample; ++sy)
                for (int sx = 0; sx < kSupersample; ++sx) {
                    size_t index = (static_cast<size_t>(y * kSupersample + sy) * static_cast<size_t>(grid_) +
                                    static_cast<size_t>(x * kSupersample + sx)) * 4;
                    for (int k = 0; k < 4; ++k) sum[k] += rgba_[index + static_cast<size_t>(k)];
                }
            float a = sum[3] / samples;
            auto channel = [&](float premultiplied) {
                return static_cast<uint8_t>(a > 0 ? std::lround(std::clamp(premultiplied / samples / a, 0.0f, 1.0f) * 255) : 0);
            };
            row[4 * x] = channel(sum[2]);
            row[4 * x + 1] = channel(sum[1]);
            row[4 * x + 2] = channel(sum[0]);
            row[4 * x + 3] = static_cast<uint8_t>(std::lround(a * 255));
        }
    }
    return out;
}

} // namespace korvan
