#pragma once
// The info window as designed: its controls, and the product's web pages it opens.
#include <array>
#include <string_view>

namespace korvan {

enum class AboutKind { Label, Title, Picture, Rule, Link, Button };

// One control of a window's design, in pixels at 96 dots per inch. A nonzero tag
// takes the caption from the string table; tag 0 keeps the designed caption.
struct AboutControl {
    AboutKind kind;
    const char* name;
    int tag;
    const wchar_t* caption;
    int left, top, width, height;
};

inline constexpr int kAboutClientWidth = 274;
inline constexpr int kAboutClientHeight = 213;
inline constexpr int kAboutLineTag = 60;  // the line under the version

// Between the rules the program's icon and name.
inline constexpr std::array<AboutControl, 8> kAboutControls{{
    {AboutKind::Label, "version", 0, L"Version: 2.3", 33, 20, 208, 16},
    {AboutKind::Label, "Label1", kAboutLineTag, L"The screenshot tool for Windows", 33, 39, 208, 16},
    {AboutKind::Rule, "Bevel1", 0, L"", 33, 59, 195, 2},
    {AboutKind::Picture, "Image1", 0, L"", 33, 91, 32, 32},
    {AboutKind::Title, "Label2", 0, L"Korvan Screenshot", 77, 97, 151, 20},
    {AboutKind::Rule, "Bevel2", 0, L"", 33, 156, 195, 2},
    {AboutKind::Link, "wwwadd", 0, L"korvan-screenshot.example", 91, 176, 124, 13},
    {AboutKind::Button, "Button1", 0, L"OK", 221, 189, 46, 20},
}};

// The product's web page in the system's language.
std::wstring_view ProductPage(bool germanSystem);

} // namespace korvan
