#include "capture/ZoomFactor.h"

#include "imaging/Rounding.h"

namespace korvan {
namespace {

constexpr int kMargin = 60;

long long AxisRatio(int displayed, int control) {
    int room = control - kMargin;
    if (room == 0) return 0;
    return RoundHalfEven(static_cast<double>(displayed) / room);
}

} // namespace

int ComputeZoomPercent(int displayedWidth, int displayedHeight, int controlWidth, int controlHeight) {
    long long rw = AxisRatio(displayedWidth, controlWidth);
    long long rh = AxisRatio(displayedHeight, controlHeight);
    if (rw <= 0 && rh <= 0) return 100;
    long long n = rw < rh ? rh : rw;
    return static_cast<int>(100 / n);
}

} // namespace korvan
