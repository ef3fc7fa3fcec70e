#pragma once
// A window's controls, declared in one table instead of hand-written creation code.
//
// How a window declares its controls:
//
//   enum : int { kPages, kGeneralPage, kCaptureToGroup, kCopyToClipboard, ... };  // indexes into the table
//   const ControlDesign kControls[] = {
//       // kind,                 tag, caption,  hint,  x, y, w, h,            parent,          id
//       {ControlKind::TabSheet,   12, nullptr,  nullptr, {},                  kPages,          0},
//       {ControlKind::GroupBox,   20, nullptr,  nullptr, {8, 140, 341, 130},  kGeneralPage,    0},
//       {ControlKind::CheckBox,   21, nullptr,  nullptr, {12, 20, 320, 20},   kCaptureToGroup, 1005},
//       {ControlKind::ComboBox,    0, L"Word",  L"Choose ...", {28, 68, 180, 150}, kCaptureToGroup, 1007},
//   };
//   controls_.Create(Hwnd(), kControls);   // in the window's creation
//
// Positions are in pixels at 96 dots per inch, relative to the parent entry (a group box,
// a tab sheet, a panel) or to the window's client area (parent kOnWindow). Parents come
// before their children. A control with a nonzero tag takes its caption and hint from
// the string table (resources/strings.rc) in the language passes, which run over every
// window that registered by then (ApplyLanguageTables); only untagged controls carry
// texts of their own here. Hints become tool tips, shown while hints are switched on.
// WM_COMMAND, WM_NOTIFY and scroll messages of controls on tab sheets and panels reach the
// owner window, with the id of the entry. Call HandleNotify from the owner's WM_NOTIFY (tab
// changes) and Rescale from its WM_DPICHANGED.
#include "platform/LanguageTables.h"

#include <windows.h>

#include <span>
#include <string>
#include <vector>

namespace korvan::win {

inline constexpr int kOnWindow = -1;

struct DesignRect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct ControlDesign {
    ControlKind kind;
    int tag;                 // nonzero: the texts come from the string table at base + tag
    const wchar_t* caption;  // an untagged control's caption, or nullptr
    const wchar_t* hint;     // an untagged control's hint, or nullptr
    DesignRect bounds;       // at 96 DPI; tab sheets fill their page control and ignore it
    int parent;              // index of the containing entry, or kOnWindow
    int id;                  // control id for WM_COMMAND and WM_NOTIFY, 0 if none
    DWORD style = 0;         // extra window styles (WS_GROUP, CBS_SORT, ...)
};

// The application-wide switch of hints: every tool tip of the program follows it.
void SetHintsShown(bool shown);
bool HintsShown();
// Adds a tool tip window that was not made by a control table (the toolbar's).
void FollowHintSwitch(HWND tooltip);
// How long a hint stays up.
inline constexpr int kHintHidePauseMs = 15000;

// The program's language tables: windows register here, in creation order.
LanguageTables& ProgramLanguage();
// Both passes with the bases of the system's default language, over every registered window.
void ApplyLanguageTables();

class ControlTable {
public:
    ControlTable() = default;
    ControlTable(const ControlTable&) = delete;
    ControlTable& operator=(const ControlTable&) = delete;
    ~ControlTable();

    // Creates the controls, scaled to the owner's DPI, and registers them for the passes.
    void Create(HWND owner, std::span<const ControlDesign> designs);

    HWND operator[](int index) const { return hwnds_[static_cast<size_t>(index)]; }
    int IndexOfId(int id) const;  // -1 when no entry has it

    bool Checked(int index) const;
    void SetCheck(int index, bool checked);
    bool Enabled(int index) const;
    void SetEnabled(int index, bool enabled);

    // Shows the page of the selected tab of a page control; answers whether it handled it.
    bool HandleNotify(const NMHDR* header);
    // Moves, sizes and re-fonts every control for the owner's current DPI.
    void Rescale();
    HFONT Font() const { return font_; }
    RECT ScaledRect(int index) const;  // in the coordinates of the control's window parent

private:
    int Count() const { return static_cast<int>(designs_.size()); }
    // Shows the texts the passes set (captions, tab titles, tool tips).
    void ApplyTexts();
    HWND CreateOne(int index);
    HWND WindowParent(int index) const;
    POINT Origin(int index) const;  // the entry's top left in its window parent, at 96 DPI
    void PlacePages(int pageControlIndex);
    void UpdateTools();
    void MakeFont();

    HWND owner_ = nullptr;
    UINT dpi_ = 96;
    std::vector<ControlDesign> designs_;
    std::vector<HWND> hwnds_;
    ComponentSet set_;
    HWND tooltip_ = nullptr;
    HFONT font_ = nullptr;
};

} // namespace korvan::win
