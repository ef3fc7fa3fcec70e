#pragma once
// The colours of the program's own windows. In the normal theme they have the program's
// look: the orange window colour behind dark texts and a dark blue link, silver around a
// previewed image. In a high-contrast theme the user chose colours that they can read, so
// every fixed colour gives way to the system's: window and window-text colours, the
// hyperlink colour, the selection colour for the frame's ring.
#include <cstdint>

namespace korvan {

struct Colour {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

// The window colour of the program: background of the options dialog, the info window,
// the preview's band and the grabber frame's ring.
inline constexpr Colour kOrange{251, 167, 76};
inline constexpr Colour kSilver{192, 192, 192};
// The link on orange: 7.35 to 1 against it (black texts 10.7 to 1; the active-caption
// colour the link once had read at about 1.1 to 1).
inline constexpr Colour kLinkBlue{0, 0, 153};
inline constexpr Colour kBlack{0, 0, 0};

// The system's colours that the program's windows may take.
struct SystemColours {
    Colour window;      // window background
    Colour windowText;  // text on it
    Colour hyperlink;   // the hot-tracking colour, which high-contrast themes use for links
    Colour highlight;   // selected items
};

struct WindowPalette {
    Colour background;   // behind the texts of the info window, around the options' pages
    Colour text;         // texts on that background
    Colour link;         // the info window's link
    Colour ring;         // the grabber frame's ring
    Colour imageMargin;  // the preview around the image
    friend bool operator==(const WindowPalette&, const WindowPalette&) = default;
};

WindowPalette ChoosePalette(bool highContrast, const SystemColours& system);

// Whether the user's high-contrast theme is on.
class IHighContrastSetting {
public:
    virtual ~IHighContrastSetting() = default;
    virtual bool On() const = 0;
};

} // namespace korvan
