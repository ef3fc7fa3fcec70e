#pragma once
// The info window as designed: its controls, and the product's web pages it opens.
#include <array>
#include <string_view>

namespace korvan {

enum class ControlKind { Label, Title, Picture, Rule, Link, Button };

// One control of a window's design, in pixels at 96 dots per inch. A nonzero tag
// takes the caption from the string table; tag 0 keeps the designed caption.
struct ControlDesign {
    ControlKind kind;
    const char* name;
    int tag;
    const wchar_t* caption;
    int left, top, width, height;
};

inline constexpr int kAboutClientWidth = 274;
inline constexpr int kAboutClientHeight = 213;
inline constexpr int kAboutLineTag = 60;  // the line under the version

// Between the rules the program's icon and name.
inline constexpr std::array<ControlDesign, 8> kAboutControls{{
    {ControlKind::Label, "version", 0, L"Version: 2.3", 33, 20, 208, 16},
    {ControlKind::Label, "Label1", kAboutLineTag, L"The screenshot tool for Windows", 33, 39, 208, 16},
    {ControlKind::Rule, "Bevel1", 0, L"", 33, 59, 195, 2},
    {ControlKind::Picture, "Image1", 0, L"", 33, 91, 32, 32},
    {ControlKind::Title, "Label2", 0, L"Korvan Screenshot", 77, 97, 151, 20},
    {ControlKind::Rule, "Bevel2", 0, L"", 33, 156, 195, 2},
    {ControlKind::Link, "wwwadd", 0, L"korvan-screenshot.example", 91, 176, 124, 13},
    {ControlKind::Button, "Button1", 0, L"OK", 221, 189, 46, 20},
}};

// The product's web page in the system's language.
std::wstring_view ProductPage(bool germanSystem);

} // namespace korvan
