#include "imaging/ScreenCoverage.h"

#include <algorithm>

namespace korvan::imaging {
namespace {

bool Empty(const ScreenRect& r) { return r.right <= r.left || r.bottom <= r.top; }

// The piece minus the cut: up to four bands (above, below, left, right of the cut).
void Subtract(const ScreenRect& piece, const ScreenRect& cut, std::vector<ScreenRect>& out) {
    ScreenRect overlap{std::max(piece.left, cut.left), std::max(piece.top, cut.top), std::min(piece.right, cut.right),
                       std::min(piece.bottom, cut.bottom)};
    if (Empty(overlap)) {
        out.push_back(piece);
        return;
    }
    const ScreenRect bands[] = {{piece.left, piece.top, piece.right, overlap.top},
                                {piece.left, overlap.bottom, piece.right, piece.bottom},
                                {piece.left, overlap.top, overlap.left, overlap.bottom},
                                {overlap.right, overlap.top, piece.right, overlap.bottom}};
    for (const ScreenRect& band : bands)
        if (!Empty(band)) out.push_back(band);
}

} // namespace

std::vector<ScreenRect> PartsOnNoMonitor(const ScreenRect& area, const std::vector<ScreenRect>& monitors) {
    std::vector<ScreenRect> parts;
    if (Empty(area)) return parts;
    parts.push_back(area);
    for (const ScreenRect& monitor : monitors) {
        std::vector<ScreenRect> left;
        for (const ScreenRect& piece : parts) Subtract(piece, monitor, left);
        parts = std::move(left);
    }
    return parts;
}

} // namespace korvan::imaging
