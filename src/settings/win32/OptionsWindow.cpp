#include "settings/win32/OptionsWindow.h"

#include "platform/HotKeyValue.h"
#include "platform/win32/Text.h"

#include <commctrl.h>
#include <commdlg.h>

#include <array>

namespace korvan::win {
namespace {

constexpr wchar_t kClassName[] = L"Toptionfrm";
constexpr int kClientWidth = 418, kClientHeight = 376;
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// Entries of the control table, in tab order.
enum : int {
    kPages,
    kTabSheet2, kToolbarViews, kLargeToolbar, kSmallToolbar, kGroupBox6, kCopyToClipboard, kPasteDirectly, kPasteTarget,
    kHideTarget, kGroupBox8, kShowPreviewWindow, kHintsGroup, kEnableHints,
    kTabSheet4, kGroupBox7, kLabel24, kAreaShape,
    kTabSheet1, kEnableFrameKeys,
    kGroupBox1, kLabel1, kHotKey1, kLabel2, kHotKey2, kLabel3, kHotKey3, kLabel4, kHotKey4,
    kButton3,
    kGroupBox2, kLabel5, kHotKey5, kLabel6, kHotKey6, kLabel7, kHotKey7, kLabel8, kHotKey8,
    kGroupBox3, kLabel9, kHotKey9, kLabel10, kHotKey10, kLabel11, kHotKey11, kLabel12, kHotKey12,
    kGroupBox4, kLabel13, kHotKey13, kLabel14, kHotKey14, kLabel15, kHotKey15, kLabel16, kHotKey16,
    kKeepEnabled,
    kTabSheet3, kGroupBox5, kAutoSave, kEditSavingOptions,
    kButton1, kButton2,
    kControlCount
};

// Ok and Cancel answer Enter and Escape as in any dialog.
constexpr int kOkId = IDOK, kCancelId = IDCANCEL;
constexpr int Id(int index) { return 1000 + index; }

using K = ControlKind;

// One group of four direction rows (labels 37 to 40 beside four hot key fields).
#define KORVAN_KEY_ROWS(group, first)                                                                              \
    {K::Label, "Label" #first, 37, L"left", nullptr, {8, 21, 40, 16}, group, 0},                                  \
    {K::HotKey, "HotKey" #first, 0, nullptr, nullptr, {50, 18, 115, 21}, group, Id(group + 2)},                     \
    {K::Label, "Label", 38, L"right", nullptr, {8, 43, 40, 16}, group, 0},                                        \
    {K::HotKey, "HotKey", 0, nullptr, nullptr, {50, 40, 115, 21}, group, Id(group + 4)},                            \
    {K::Label, "Label", 39, L"up", nullptr, {8, 65, 40, 16}, group, 0},                                           \
    {K::HotKey, "HotKey", 0, nullptr, nullptr, {50, 62, 115, 21}, group, Id(group + 6)},                            \
    {K::Label, "Label", 40, L"down", nullptr, {8, 87, 40, 16}, group, 0},                                         \
    {K::HotKey, "HotKey", 0, nullptr, nullptr, {50, 84, 115, 21}, group, Id(group + 8)}

const ControlDesign kControls[] = {
    {K::PageControl, "PageControl1", 0, nullptr, nullptr, {20, 20, 365, 325}, kOnWindow, Id(kPages)},
    // General
    {K::TabSheet, "TabSheet2", 12, L"General", L"Select your personal general capture options", {}, kPages, 0},
    {K::RadioGroup, "ToolbarViews", 13, L"Toolbar Views:", L"Rezise the control bar  ", {8, 8, 200, 72}, kTabSheet2, 0},
    {K::RadioButton, "Bigtoolbar", 14, L"Toolbarsize 32 x 32", L"Rezise the control bar to 32 x 32 pixels",
     {12, 20, 180, 20}, kToolbarViews, Id(kLargeToolbar), WS_GROUP},
    {K::RadioButton, "Smalltoolbar", 15, L"Toolbarsize 19 x 19", L"Rezise the control bar to 19 x 19 pixels",
     {12, 44, 180, 20}, kToolbarViews, Id(kSmallToolbar)},
    {K::GroupBox, "GroupBox6", 20, L"Capture to:", L"Choose where you want to capture to", {8, 140, 341, 130},
     kTabSheet2, 0, WS_GROUP},
    {K::CheckBox, "CopytoClipboard", 21, L"Clipboard", L"Capture directly to your clipboard.\r\nOther content will be removed",
     {12, 20, 320, 20}, kGroupBox6, Id(kCopyToClipboard)},
    {K::CheckBox, "Pastedirect", 22, L"Paste directly to:",
     L"Paste the image directly to an \r\napplication you can choose below", {28, 44, 300, 20}, kGroupBox6,
     Id(kPasteDirectly)},
    {K::ComboBox, "OtherApps", 0, L"Word", L"Choose the application you want to send to.", {28, 68, 180, 150},
     kGroupBox6, Id(kPasteTarget)},
    {K::CheckBox, "HideApp", 23, L"Minimize application if capture is active",
     L"Often it make sense to minimize \r\nthe application befor starting the \r\ncapture process. ",
     {28, 100, 305, 20}, kGroupBox6, Id(kHideTarget)},
    {K::GroupBox, "GroupBox8", 18, L"Preview:", L"Enable or disable the preview window", {8, 86, 341, 48}, kTabSheet2, 0},
    {K::CheckBox, "Showpreviewwindow", 19, L"Show Preview Window", L"Enable or disable the preview window",
     {12, 20, 320, 20}, kGroupBox8, Id(kShowPreviewWindow)},
    {K::GroupBox, "NintBox", 16, L"Hints", L"Enable or disable hints", {216, 8, 133, 72}, kTabSheet2, 0},
    {K::CheckBox, "EnableHints", 17, L"Enable Hints", nullptr, {12, 20, 115, 20}, kHintsGroup, Id(kEnableHints)},
    // Capture Options
    {K::TabSheet, "TabSheet4", 26, L"Capture Options", nullptr, {}, kPages, 0},
    {K::GroupBox, "GroupBox7", 27, L"Area Options", L"Choose the mouse capture area below.", {8, 8, 341, 92}, kTabSheet4, 0},
    {K::Label, "Label24", 28, L"Choose the area form", nullptr, {12, 24, 300, 16}, kGroupBox7, 0},
    {K::ComboBox, "AreaOptions", 0, L"options", nullptr, {12, 46, 200, 160}, kGroupBox7, Id(kAreaShape)},
    // Cursor Key Option: a 2 x 2 grid of groups, the switches below it
    {K::TabSheet, "TabSheet1", 29, L"Cursor Key Option",
     L"If you want to move the static \r\ngrabber frame by your keyboard you can choose\r\nhere your hotkeys for that "
     L"operation", {}, kPages, 0},
    {K::CheckBox, "EnableHotkeys", 34, L"Enable", L"Enable the hotkeys", {10, 234, 220, 18}, kTabSheet1, Id(kEnableFrameKeys)},
    {K::GroupBox, "GroupBox1", 30, L"Fast move", L"5 pixel fast move", {6, 4, 172, 110}, kTabSheet1, 0},
    KORVAN_KEY_ROWS(kGroupBox1, 1),
    {K::Button, "Button3", 36, L"Default", nullptr, {269, 240, 80, 24}, kTabSheet1, Id(kButton3)},
    {K::GroupBox, "GroupBox2", 31, L"Slow move", L"1 pixel slow move", {181, 4, 172, 110}, kTabSheet1, 0},
    KORVAN_KEY_ROWS(kGroupBox2, 5),
    {K::GroupBox, "GroupBox3", 32, L"Fast resize", L"5 pixel fast resize", {6, 118, 172, 110}, kTabSheet1, 0},
    KORVAN_KEY_ROWS(kGroupBox3, 9),
    {K::GroupBox, "GroupBox4", 33, L"Slow resize", L"1 pixel slow resize", {181, 118, 172, 110}, kTabSheet1, 0},
    KORVAN_KEY_ROWS(kGroupBox4, 13),
    {K::CheckBox, "StoreFurther", 35, L"Store for further session",
     L"If you want to use the hotkeys next session again use this option ", {10, 254, 250, 18}, kTabSheet1,
     Id(kKeepEnabled)},
    // Automatic
    {K::TabSheet, "TabSheet3", 50, L"Automatic", nullptr, {}, kPages, 0},
    {K::GroupBox, "GroupBox5", 53, L"Saving Settings", nullptr, {8, 8, 341, 92}, kTabSheet3, 0},
    {K::CheckBox, "CheckBox1", 51, L"Save images automatically", nullptr, {12, 22, 320, 20}, kGroupBox5, Id(kAutoSave)},
    {K::BitmapButton, "BitBtn1", 52, L"Edit saving options", nullptr, {12, 52, 180, 26}, kGroupBox5, Id(kEditSavingOptions)},
    // Below the pages
    {K::Button, "Button1", 24, L"Ok", nullptr, {225, 350, 75, 23}, kOnWindow, kOkId, BS_DEFPUSHBUTTON},
    {K::Button, "Button2", 25, L"Cancel", nullptr, {310, 350, 75, 23}, kOnWindow, kCancelId},
};
#undef KORVAN_KEY_ROWS
static_assert(std::size(kControls) == kControlCount);

constexpr std::array<int, 16> kHotKeyFields{kHotKey1,  kHotKey2,  kHotKey3,  kHotKey4,  kHotKey5,  kHotKey6,
                                            kHotKey7,  kHotKey8,  kHotKey9,  kHotKey10, kHotKey11, kHotKey12,
                                            kHotKey13, kHotKey14, kHotKey15, kHotKey16};

struct Binding {
    OptionControl control;
    int index;
    bool checkable;
};
constexpr Binding kBindings[] = {
    {OptionControl::ShowPreviewWindow, kShowPreviewWindow, true}, {OptionControl::CopyToClipboard, kCopyToClipboard, true},
    {OptionControl::PasteDirectly, kPasteDirectly, true},             {OptionControl::PasteTarget, kPasteTarget, false},
    {OptionControl::HideTarget, kHideTarget, true},                     {OptionControl::LargeToolbar, kLargeToolbar, true},
    {OptionControl::SmallToolbar, kSmallToolbar, true},           {OptionControl::EnableHints, kEnableHints, true},
    {OptionControl::AreaShape, kAreaShape, false},            {OptionControl::EnableFrameKeys, kEnableFrameKeys, true},
    {OptionControl::KeepEnabled, kKeepEnabled, true},           {OptionControl::AutoSave, kAutoSave, true},
};

const Binding* BindingOf(int index) {
    for (const Binding& binding : kBindings)
        if (binding.index == index) return &binding;
    return nullptr;
}

bool IsExtendedKey(unsigned vk) {
    return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE || vk == VK_DIVIDE ||
           vk == VK_NUMLOCK;
}

// Hot key values and the key-combination fields' own encoding.
WPARAM ToField(uint16_t value) {
    unsigned vk = HotKeyCode(value) & 0xFF;
    if (!vk) return 0;
    BYTE modifiers = static_cast<BYTE>(((value & kHotKeyShift) ? HOTKEYF_SHIFT : 0) |
                                       ((value & kHotKeyCtrl) ? HOTKEYF_CONTROL : 0) |
                                       ((value & kHotKeyAlt) ? HOTKEYF_ALT : 0) | (IsExtendedKey(vk) ? HOTKEYF_EXT : 0));
    return MAKEWORD(vk, modifiers);
}

uint16_t FromField(LRESULT field) {
    unsigned vk = LOBYTE(LOWORD(field)), modifiers = HIBYTE(LOWORD(field));
    if (!vk) return 0;
    return static_cast<uint16_t>(vk | ((modifiers & HOTKEYF_SHIFT) ? kHotKeyShift : 0) |
                                 ((modifiers & HOTKEYF_CONTROL) ? kHotKeyCtrl : 0) |
                                 ((modifiers & HOTKEYF_ALT) ? kHotKeyAlt : 0));
}

// While a key field has the focus the frame keys are off, so the keys typed reach the
// field instead of moving the frame.
LRESULT CALLBACK HotKeyFieldProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* options = reinterpret_cast<FrameKeyOptions*>(data);
    if (message == WM_SETFOCUS) options->SwitchOff();
    if (message == WM_KILLFOCUS) {
        DWORD foregroundProcess = 0;
        ::GetWindowThreadProcessId(::GetForegroundWindow(), &foregroundProcess);
        if (foregroundProcess == ::GetCurrentProcessId()) options->SwitchOnIfEnabled();
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

BOOL CALLBACK EnumerateWindow(HWND window, LPARAM dialog) {
    UINT message = ::RegisterWindowMessageA("Enumerate this Window");
    ::SendMessageA(reinterpret_cast<HWND>(dialog), message, 0, reinterpret_cast<LPARAM>(window));
    return TRUE;
}

RECT CenteredForDpi(UINT dpi) {
    RECT frame{0, 0, ::MulDiv(kClientWidth, static_cast<int>(dpi), 96), ::MulDiv(kClientHeight, static_cast<int>(dpi), 96)};
    ::AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, dpi);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2, top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return {left, top, left + width, top + height};
}

} // namespace

OptionsWindow::OptionsWindow(IOptionsHost& host, FrameKeys& frameKeys, IRegistry& registry)
    : frameKeys_(registry, frameKeys, [](const std::string& error) { ShowErrorBox(nullptr, Widen(error)); }),
      dialog_(*this, host, processes_, frameKeys_.Fields) {
    background_.reset(::CreateSolidBrush(kWindowColour));
    RegisterClassOnce(kClassName, 0, static_cast<HBRUSH>(background_.get()), ProgramIcon());
    RECT place = CenteredForDpi(::GetDpiForSystem());
    CreateWindowOf(kClassName, kExStyle, kStyle, L"Options", place.left, place.top, place.right - place.left,
                   place.bottom - place.top);
    controls_.Create(Hwnd(), kControls);
    for (int field : kHotKeyFields)
        ::SetWindowSubclass(controls_[field], HotKeyFieldProc, 1, reinterpret_cast<DWORD_PTR>(&frameKeys_));
    CreateContents();
}

void OptionsWindow::CreateContents() {
    ApplyLanguageTables();
    // The window colour is the class background.
    dialog_.Create();
    for (OptionControl list : {OptionControl::AreaShape, OptionControl::PasteTarget}) {
        HWND combo = controls_[list == OptionControl::AreaShape ? kAreaShape : kPasteTarget];
        ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
        for (const std::wstring& item : dialog_.Items(list))
            ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(dialog_.Selected(list)), 0);
    }
    discoveryMessage_ = ::RegisterWindowMessageA("Enumerate this Window");
    Refresh();
    frameKeys_.Load([this] { OkClick(); });
    ShowHotKeys();
    Refresh();
}

LRESULT OptionsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (discoveryMessage_ != 0 && message == discoveryMessage_) {
        dialog_.ExamineWindow(static_cast<WindowHandle>(lParam));
        return 0;
    }
    switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_NOTIFY: controls_.HandleNotify(reinterpret_cast<NMHDR*>(lParam)); return 0;
    case WM_DPICHANGED: OnDpiChanged(*reinterpret_cast<RECT*>(lParam)); return 0;
    case WM_CLOSE: return HandleClose();
    default: return Default(message, wParam, lParam);
    }
}

void OptionsWindow::OnCommand(int id, int code) {
    if (id == kOkId && code == BN_CLICKED) {
        ReadHotKeys();
        OkClick();
        return;
    }
    if (id == kCancelId && code == BN_CLICKED) {
        dialog_.CancelClick();
        return;
    }
    int index = controls_.IndexOfId(id);
    if (index == kButton3 && code == BN_CLICKED) {
        dialog_.DefaultClick();
        ShowHotKeys();
    } else if (index == kEditSavingOptions && code == BN_CLICKED) {
        dialog_.EditSavingOptionsClick();
    } else if (const Binding* binding = index >= 0 ? BindingOf(index) : nullptr) {
        if (binding->checkable && code == BN_CLICKED) {
            dialog_.SetChecked(binding->control, controls_.Checked(index));
        } else if (!binding->checkable && code == CBN_SELCHANGE) {
            dialog_.Select(binding->control, static_cast<int>(::SendMessageW(controls_[index], CB_GETCURSEL, 0, 0)));
        } else if (!binding->checkable && code == CBN_EDITCHANGE) {
            // A typed text selects the entry it names, or none.
            wchar_t text[256] = {};
            ::GetWindowTextW(controls_[index], text, static_cast<int>(std::size(text)));
            LRESULT found = ::SendMessageW(controls_[index], CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(text));
            dialog_.Select(binding->control, found == CB_ERR ? -1 : static_cast<int>(found));
        }
    }
    Refresh();
}

void OptionsWindow::Refresh() {
    for (const Binding& binding : kBindings) {
        if (binding.checkable && controls_.Checked(binding.index) != dialog_.Checked(binding.control))
            controls_.SetCheck(binding.index, dialog_.Checked(binding.control));
        if (controls_.Enabled(binding.index) != dialog_.Enabled(binding.control))
            controls_.SetEnabled(binding.index, dialog_.Enabled(binding.control));
    }
}

void OptionsWindow::ReadHotKeys() {
    for (size_t i = 0; i < kHotKeyFields.size(); ++i)
        frameKeys_.Fields.HotKey[i] = FromField(::SendMessageW(controls_[kHotKeyFields[i]], HKM_GETHOTKEY, 0, 0));
}

void OptionsWindow::ShowHotKeys() {
    for (size_t i = 0; i < kHotKeyFields.size(); ++i)
        ::SendMessageW(controls_[kHotKeyFields[i]], HKM_SETHOTKEY, ToField(frameKeys_.Fields.HotKey[i]), 0);
}

void OptionsWindow::OkClick() {
    dialog_.OkClick();
    if (Hwnd()) Refresh();
}

void OptionsWindow::OnDpiChanged(const RECT& suggested) {
    ::SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    controls_.Rescale();
}

void OptionsWindow::ShowMessage(const std::string& text, const std::string& caption, unsigned flags) {
    ::MessageBoxW(Hwnd(), Widen(text).c_str(), Widen(caption).c_str(), flags);
}

void OptionsWindow::SetHintsShown(bool shown) { win::SetHintsShown(shown); }

void OptionsWindow::EnumerateTopLevelWindows() { ::EnumWindows(EnumerateWindow, reinterpret_cast<LPARAM>(Hwnd())); }

} // namespace korvan::win
