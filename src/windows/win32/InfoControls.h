#pragma once
// The info window's controls as designed: the version, what the program is, the icon
// and name of the program between two rules, the link to the product's page, and OK.
#include "platform/win32/ControlTable.h"
#include "windows/InfoDesign.h"

namespace korvan::win::info {

// Entries of the control table.
enum : int { kVersion, kDescription, kUpperRule, kProgramName, kLowerRule, kLink, kOk, kControlCount };

inline constexpr int kLinkId = 101, kOkId = 102;

using K = ControlKind;
inline const ControlDesign kControls[] = {
    // kind, tag, caption, hint, x, y, width, height at 96 DPI, parent, id, extra style
    {K::Label, 0, L"Version: 2.3", nullptr, {33, 20, 236, 16}, kOnWindow, 0, SS_NOPREFIX},
    {K::Label, kDescriptionTag, nullptr, nullptr, {33, 39, 236, 16}, kOnWindow, 0, SS_NOPREFIX},
    {K::Label, 0, nullptr, nullptr, {33, 59, 195, 2}, kOnWindow, 0, SS_ETCHEDHORZ},
    {K::Label, 0, L"Korvan Screenshot", nullptr, {77, 96, 190, 24}, kOnWindow, 0, SS_NOPREFIX},
    {K::Label, 0, nullptr, nullptr, {33, 156, 195, 2}, kOnWindow, 0, SS_ETCHEDHORZ},
    {K::Label, 0, kProductDomain.data(), nullptr, {91, 176, 170, 13}, kOnWindow, kLinkId, SS_NOPREFIX},
    {K::Button, 0, L"OK", nullptr, {221, 189, 46, 20}, kOnWindow, kOkId, BS_DEFPUSHBUTTON},
};
static_assert(std::size(kControls) == kControlCount);

// The program's icon stands left of its name, between the rules.
inline constexpr RECT kIconPlace{33, 91, 65, 123};

} // namespace korvan::win::info
