#pragma once
// The system colours of a high-contrast black theme, as Windows' own "High Contrast Black"
// has them, for tests that look at windows in high contrast. SetSysColors holds for the
// whole Wine session (until its server ends) and tells every window.
#include <windows.h>

#include <utility>
#include <vector>

namespace korvan::test {

using SystemColourSet = std::vector<std::pair<int, COLORREF>>;

inline SystemColourSet HighContrastBlack() {
    return {
        {COLOR_WINDOW, RGB(0, 0, 0)},          {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
        {COLOR_BTNFACE, RGB(0, 0, 0)},         {COLOR_BTNTEXT, RGB(255, 255, 255)},
        {COLOR_3DLIGHT, RGB(255, 255, 255)},   {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)},
        {COLOR_BTNSHADOW, RGB(255, 255, 255)}, {COLOR_3DDKSHADOW, RGB(128, 128, 128)},
        {COLOR_HIGHLIGHT, RGB(26, 235, 255)},  {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
        {COLOR_GRAYTEXT, RGB(63, 242, 63)},    {COLOR_HOTLIGHT, RGB(255, 255, 0)},
        {COLOR_INFOBK, RGB(0, 0, 0)},          {COLOR_INFOTEXT, RGB(255, 255, 255)},
        {COLOR_MENU, RGB(0, 0, 0)},            {COLOR_MENUTEXT, RGB(255, 255, 255)},
        {COLOR_ACTIVECAPTION, RGB(0, 0, 0)},   {COLOR_GRADIENTACTIVECAPTION, RGB(0, 0, 0)},
        {COLOR_CAPTIONTEXT, RGB(255, 255, 255)}, {COLOR_INACTIVECAPTION, RGB(0, 0, 0)},
        {COLOR_GRADIENTINACTIVECAPTION, RGB(0, 0, 0)}, {COLOR_INACTIVECAPTIONTEXT, RGB(63, 242, 63)},
        {COLOR_ACTIVEBORDER, RGB(255, 255, 255)}, {COLOR_INACTIVEBORDER, RGB(255, 255, 255)},
        {COLOR_WINDOWFRAME, RGB(255, 255, 255)}, {COLOR_SCROLLBAR, RGB(0, 0, 0)},
        {COLOR_APPWORKSPACE, RGB(0, 0, 0)},    {COLOR_DESKTOP, RGB(0, 0, 0)},
    };
}

// Sets the colours; answers the ones they replaced, to put back.
inline SystemColourSet ApplySystemColours(const SystemColourSet& colours) {
    SystemColourSet previous;
    std::vector<int> elements;
    std::vector<COLORREF> values;
    for (const auto& [element, value] : colours) {
        previous.emplace_back(element, ::GetSysColor(element));
        elements.push_back(element);
        values.push_back(value);
    }
    ::SetSysColors(static_cast<int>(elements.size()), elements.data(), values.data());
    return previous;
}

} // namespace korvan::test
