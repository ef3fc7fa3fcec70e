#include "settings/win32/OptionsWindow.h"

#include "platform/HotKeyValue.h"
#include "platform/win32/MonitorWorkArea.h"
#include "platform/win32/Text.h"
#include "settings/win32/OptionsControls.h"

#include <commctrl.h>
#include <commdlg.h>

#include <array>

namespace korvan::win {
namespace {

using namespace options;

constexpr wchar_t kClassName[] = L"Toptionfrm";
constexpr int kClientWidth = 418, kClientHeight = 376;
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
// The registered message that hands the dialog one window to examine during discovery.
constexpr char kDiscoveryMessage[] = "Enumerate this Window";

// The option each control shows and sets.
struct Binding {
    OptionControl control;
    int index;
};
constexpr Binding kBindings[] = {
    {OptionControl::ShowPreviewWindow, kShowPreviewWindow}, {OptionControl::CopyToClipboard, kCopyToClipboard},
    {OptionControl::PasteDirectly, kPasteDirectly},         {OptionControl::PasteTarget, kPasteTarget},
    {OptionControl::HideTarget, kHideTarget},               {OptionControl::LargeToolbar, kLargeToolbar},
    {OptionControl::SmallToolbar, kSmallToolbar},           {OptionControl::EnableHints, kEnableHints},
    {OptionControl::AreaShape, kAreaShape},                 {OptionControl::EnableFrameKeys, kEnableFrameKeys},
    {OptionControl::KeepEnabled, kKeepEnabled},             {OptionControl::AutoSave, kAutoSave},
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
    auto* frameKeys = reinterpret_cast<FrameKeyOptions*>(data);
    if (message == WM_SETFOCUS) frameKeys->SwitchOff();
    if (message == WM_KILLFOCUS) {
        DWORD foregroundProcess = 0;
        ::GetWindowThreadProcessId(::GetForegroundWindow(), &foregroundProcess);
        if (foregroundProcess == ::GetCurrentProcessId()) frameKeys->SwitchOnIfEnabled();
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

// The window the OK step's enumeration hands over right now: the discovery message is
// taken only for it, and only from this thread.
HWND g_enumerated = nullptr;

BOOL CALLBACK EnumerateWindow(HWND window, LPARAM dialog) {
    UINT message = ::RegisterWindowMessageA(kDiscoveryMessage);
    g_enumerated = window;
    ::SendMessageA(reinterpret_cast<HWND>(dialog), message, 0, reinterpret_cast<LPARAM>(window));
    g_enumerated = nullptr;
    return TRUE;
}

// Any program may send a registered message: one from another thread or process, or for
// a window the enumeration is not at, is not ours.
bool SentByOurEnumeration(LPARAM window) {
    return g_enumerated != nullptr && window == reinterpret_cast<LPARAM>(g_enumerated) &&
           (::InSendMessageEx(nullptr) & ISMEX_SEND) == 0;
}

RECT CenteredForDpi(UINT dpi) {
    RECT frame{0, 0, ::MulDiv(kClientWidth, static_cast<int>(dpi), 96), ::MulDiv(kClientHeight, static_cast<int>(dpi), 96)};
    ::AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, dpi);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2, top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return {left, top, left + width, top + height};
}

} // namespace

OptionsWindow::OptionsWindow(HWND mainWindow, IOptionsHost& host, FrameKeys& frameKeys, IRegistry& registry)
    : mainWindow_(mainWindow),
      frameKeys_(registry, frameKeys, [](const std::string& error) { ShowErrorBox(nullptr, Widen(error)); }),
      dialog_(*this, host, processes_, frameKeys_.Fields) {
    RegisterClassOnce(kClassName, 0, nullptr, ProgramIcon());
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
    // The window colour shows around the pages (WM_ERASEBKGND).
    dialog_.Create();
    for (OptionControl list : {OptionControl::AreaShape, OptionControl::PasteTarget}) {
        HWND combo = controls_[list == OptionControl::AreaShape ? kAreaShape : kPasteTarget];
        ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
        for (const std::wstring& item : dialog_.Items(list))
            ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(dialog_.Selected(list)), 0);
    }
    discoveryMessage_ = ::RegisterWindowMessageA(kDiscoveryMessage);
    Refresh();
    frameKeys_.Load([this] { OkClick(); });
    ShowHotKeys();
    Refresh();
}

LRESULT OptionsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (discoveryMessage_ != 0 && message == discoveryMessage_) {
        if (SentByOurEnumeration(lParam)) dialog_.ExamineWindow(static_cast<WindowHandle>(lParam));
        return 0;
    }
    switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_NOTIFY: controls_.HandleNotify(reinterpret_cast<NMHDR*>(lParam)); return 0;
    case WM_DPICHANGED: OnDpiChanged(*reinterpret_cast<RECT*>(lParam)); return 0;
    case WM_CLOSE: return HandleClose();
    case WM_ERASEBKGND: return EraseWithWindowColour(wParam);
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
    if (index == kDefaultKeys && code == BN_CLICKED) {
        dialog_.DefaultClick();
        ShowHotKeys();
    } else if (index == kEditSavingOptions && code == BN_CLICKED) {
        dialog_.EditSavingOptionsClick();
    } else if (const Binding* binding = index >= 0 ? BindingOf(index) : nullptr) {
        bool list = IsList(binding->control);
        if (!list && code == BN_CLICKED) {
            dialog_.SetChecked(binding->control, controls_.Checked(index));
        } else if (list && code == CBN_SELCHANGE) {
            dialog_.Select(binding->control, static_cast<int>(::SendMessageW(controls_[index], CB_GETCURSEL, 0, 0)));
        } else if (list && code == CBN_EDITCHANGE) {
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
        if (!IsList(binding.control) && controls_.Checked(binding.index) != dialog_.Checked(binding.control))
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

void OptionsWindow::OnShow() {
    // Before the dialog's own show step puts the main window aside.
    CentreOnMonitorOf(Hwnd(), mainWindow_);
    dialog_.OnShow();
}

void OptionsWindow::ShowMessage(const std::string& text, const std::string& caption, unsigned flags) {
    ::MessageBoxW(Hwnd(), Widen(text).c_str(), Widen(caption).c_str(), flags);
}

void OptionsWindow::SetHintsShown(bool shown) { win::SetHintsShown(shown); }

void OptionsWindow::EnumerateTopLevelWindows() { ::EnumWindows(EnumerateWindow, reinterpret_cast<LPARAM>(Hwnd())); }

} // namespace korvan::win
