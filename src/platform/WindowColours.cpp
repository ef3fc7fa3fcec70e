#include "platform/WindowColours.h"

namespace korvan {

WindowPalette ChoosePalette(bool highContrast, const SystemColours& system) {
    if (highContrast) return {system.window, system.windowText, system.hyperlink, system.highlight, system.window};
    return {kOrange, kBlack, kLinkBlue, kOrange, kSilver};
}

} // namespace korvan
