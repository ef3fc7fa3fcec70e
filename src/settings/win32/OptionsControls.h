#pragma once
// The options dialog's controls as designed, in tab order: three pages of options and
// the OK and Cancel buttons below them. Tagged controls take their captions and hints
// from the string table (resources/strings.rc); the texts here are those of untagged ones.
#include "platform/win32/ControlTable.h"

#include <array>
#include <iterator>

namespace korvan::win::options {

// Each group of frame keys: a label and a key field for left, right, up and down.
inline constexpr int kKeyRowEntries = 8;

// Entries of the control table.
enum : int {
    kPages,
    kGeneralPage, kToolbarViewsGroup, kLargeToolbar, kSmallToolbar, kCaptureToGroup, kCopyToClipboard,
    kPasteDirectly, kPasteTarget, kHideTarget, kPreviewGroup, kShowPreviewWindow, kHintsGroup, kEnableHints,
    kCaptureOptionsPage, kAreaOptionsGroup, kAreaShapeLabel, kAreaShape,
    kFrameKeysPage, kEnableFrameKeys,
    kFastMoveGroup, kDefaultKeys = kFastMoveGroup + 1 + kKeyRowEntries,
    kSlowMoveGroup,
    kFastResizeGroup = kSlowMoveGroup + 1 + kKeyRowEntries,
    kSlowResizeGroup = kFastResizeGroup + 1 + kKeyRowEntries,
    kKeepEnabled = kSlowResizeGroup + 1 + kKeyRowEntries,
    kAutomaticPage, kSavingGroup, kAutoSave, kEditSavingOptions,
    kOk, kCancel,
    kControlCount
};

// Ok and Cancel answer Enter and Escape as in any dialog.
inline constexpr int kOkId = IDOK, kCancelId = IDCANCEL;
constexpr int IdOf(int index) { return 1000 + index; }

// The key field of a group's row: 0 left, 1 right, 2 up, 3 down.
constexpr int KeyField(int group, int row) { return group + 2 + 2 * row; }

// One group of four direction rows: the labels (tags 37 to 40) beside the key fields.
#define KORVAN_KEY_ROWS(group)                                                                            \
    {ControlKind::Label, 37, nullptr, nullptr, {8, 21, 40, 16}, group, 0},                                \
    {ControlKind::HotKey, 0, nullptr, nullptr, {50, 18, 115, 21}, group, IdOf(KeyField(group, 0))},      \
    {ControlKind::Label, 38, nullptr, nullptr, {8, 43, 40, 16}, group, 0},                                \
    {ControlKind::HotKey, 0, nullptr, nullptr, {50, 40, 115, 21}, group, IdOf(KeyField(group, 1))},      \
    {ControlKind::Label, 39, nullptr, nullptr, {8, 65, 40, 16}, group, 0},                                \
    {ControlKind::HotKey, 0, nullptr, nullptr, {50, 62, 115, 21}, group, IdOf(KeyField(group, 2))},      \
    {ControlKind::Label, 40, nullptr, nullptr, {8, 87, 40, 16}, group, 0},                                \
    {ControlKind::HotKey, 0, nullptr, nullptr, {50, 84, 115, 21}, group, IdOf(KeyField(group, 3))}

using K = ControlKind;
inline const ControlDesign kControls[] = {
    // kind, tag, caption, hint, x, y, width, height at 96 DPI, parent, id, extra style
    {K::PageControl, 0, nullptr, nullptr, {20, 20, 365, 325}, kOnWindow, IdOf(kPages)},
    // General
    {K::TabSheet, 12, nullptr, nullptr, {}, kPages, 0},
    {K::RadioGroup, 13, nullptr, nullptr, {8, 8, 200, 72}, kGeneralPage, 0},
    {K::RadioButton, 14, nullptr, nullptr, {12, 20, 180, 20}, kToolbarViewsGroup, IdOf(kLargeToolbar), WS_GROUP},
    {K::RadioButton, 15, nullptr, nullptr, {12, 44, 180, 20}, kToolbarViewsGroup, IdOf(kSmallToolbar)},
    {K::GroupBox, 20, nullptr, nullptr, {8, 140, 341, 130}, kGeneralPage, 0, WS_GROUP},
    {K::CheckBox, 21, nullptr, nullptr, {12, 20, 320, 20}, kCaptureToGroup, IdOf(kCopyToClipboard)},
    {K::CheckBox, 22, nullptr, nullptr, {28, 44, 300, 20}, kCaptureToGroup, IdOf(kPasteDirectly)},
    {K::ComboBox, 0, L"Word", L"Choose the application you want to send to.", {28, 68, 180, 150}, kCaptureToGroup,
     IdOf(kPasteTarget)},
    {K::CheckBox, 23, nullptr, nullptr, {28, 100, 305, 20}, kCaptureToGroup, IdOf(kHideTarget)},
    {K::GroupBox, 18, nullptr, nullptr, {8, 86, 341, 48}, kGeneralPage, 0},
    {K::CheckBox, 19, nullptr, nullptr, {12, 20, 320, 20}, kPreviewGroup, IdOf(kShowPreviewWindow)},
    {K::GroupBox, 16, nullptr, nullptr, {216, 8, 133, 72}, kGeneralPage, 0},
    {K::CheckBox, 17, nullptr, nullptr, {12, 20, 115, 20}, kHintsGroup, IdOf(kEnableHints)},
    // Capture Options
    {K::TabSheet, 26, nullptr, nullptr, {}, kPages, 0},
    {K::GroupBox, 27, nullptr, nullptr, {8, 8, 341, 92}, kCaptureOptionsPage, 0},
    {K::Label, 28, nullptr, nullptr, {12, 24, 300, 16}, kAreaOptionsGroup, 0},
    {K::ComboBox, 0, L"options", nullptr, {12, 46, 200, 160}, kAreaOptionsGroup, IdOf(kAreaShape)},
    // Cursor Key Option: a 2 x 2 grid of groups, the switches below it
    {K::TabSheet, 29, nullptr, nullptr, {}, kPages, 0},
    {K::CheckBox, 34, nullptr, nullptr, {10, 234, 220, 18}, kFrameKeysPage, IdOf(kEnableFrameKeys)},
    {K::GroupBox, 30, nullptr, nullptr, {6, 4, 172, 110}, kFrameKeysPage, 0},
    KORVAN_KEY_ROWS(kFastMoveGroup),
    {K::Button, 36, nullptr, nullptr, {269, 240, 80, 24}, kFrameKeysPage, IdOf(kDefaultKeys)},
    {K::GroupBox, 31, nullptr, nullptr, {181, 4, 172, 110}, kFrameKeysPage, 0},
    KORVAN_KEY_ROWS(kSlowMoveGroup),
    {K::GroupBox, 32, nullptr, nullptr, {6, 118, 172, 110}, kFrameKeysPage, 0},
    KORVAN_KEY_ROWS(kFastResizeGroup),
    {K::GroupBox, 33, nullptr, nullptr, {181, 118, 172, 110}, kFrameKeysPage, 0},
    KORVAN_KEY_ROWS(kSlowResizeGroup),
    {K::CheckBox, 35, nullptr, nullptr, {10, 254, 250, 18}, kFrameKeysPage, IdOf(kKeepEnabled)},
    // Automatic
    {K::TabSheet, 50, nullptr, nullptr, {}, kPages, 0},
    {K::GroupBox, 53, nullptr, nullptr, {8, 8, 341, 92}, kAutomaticPage, 0},
    {K::CheckBox, 51, nullptr, nullptr, {12, 22, 320, 20}, kSavingGroup, IdOf(kAutoSave)},
    {K::BitmapButton, 52, nullptr, nullptr, {12, 52, 180, 26}, kSavingGroup, IdOf(kEditSavingOptions)},
    // Below the pages
    {K::Button, 24, nullptr, nullptr, {225, 350, 75, 23}, kOnWindow, kOkId, BS_DEFPUSHBUTTON},
    {K::Button, 25, nullptr, nullptr, {310, 350, 75, 23}, kOnWindow, kCancelId},
};
#undef KORVAN_KEY_ROWS
static_assert(std::size(kControls) == kControlCount);

// HotKey1 .. HotKey16: fast move, slow move, fast resize, slow resize; each left, right, up, down.
inline constexpr std::array<int, 16> kHotKeyFields{
    KeyField(kFastMoveGroup, 0),   KeyField(kFastMoveGroup, 1),   KeyField(kFastMoveGroup, 2),   KeyField(kFastMoveGroup, 3),
    KeyField(kSlowMoveGroup, 0),   KeyField(kSlowMoveGroup, 1),   KeyField(kSlowMoveGroup, 2),   KeyField(kSlowMoveGroup, 3),
    KeyField(kFastResizeGroup, 0), KeyField(kFastResizeGroup, 1), KeyField(kFastResizeGroup, 2), KeyField(kFastResizeGroup, 3),
    KeyField(kSlowResizeGroup, 0), KeyField(kSlowResizeGroup, 1), KeyField(kSlowResizeGroup, 2), KeyField(kSlowResizeGroup, 3)};

} // namespace korvan::win::options
