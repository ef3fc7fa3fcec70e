#include "platform/win32/ControlTable.h"

#include "platform/win32/StringTableWin32.h"
#include "platform/win32/WindowBase.h"

#include <commctrl.h>

#include <algorithm>

namespace korvan::win {
namespace {

constexpr wchar_t kPageClass[] = L"KorvanPage";
constexpr int kHintWidth = 420;

struct HintSwitch {
    bool shown = true;
    std::vector<HWND> tooltips;
};

HintSwitch& Hints() {
    static HintSwitch hints;
    return hints;
}

// Tab sheets and panels pass their controls' messages on to the window that owns the table.
LRESULT CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (HWND owner = reinterpret_cast<HWND>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
            return ::SendMessageW(owner, message, wParam, lParam);
        return 0;
    default: return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void RegisterPageClass() {
    WNDCLASSEXW wc{sizeof(wc)};
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), kPageClass, &wc)) return;
    wc = {sizeof(wc)};
    wc.lpfnWndProc = PageProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kPageClass;
    ::RegisterClassExW(&wc);
}

struct WindowKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

WindowKind KindOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label: return {L"STATIC", SS_LEFT | SS_NOTIFY, 0};
    case ControlKind::Button:
    case ControlKind::BitmapButton:
    case ControlKind::SpeedButton: return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::RadioButton: return {L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 0};
    case ControlKind::CheckBox: return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case ControlKind::GroupBox:
    case ControlKind::RadioGroup: return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::ComboBox: return {WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlKind::HotKey: return {HOTKEY_CLASSW, WS_TABSTOP, 0};
    case ControlKind::Edit: return {WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::TrackBar: return {TRACKBAR_CLASSW, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 0};
    case ControlKind::PageControl:
        return {WC_TABCONTROLW, TCS_MULTILINE | TCS_HOTTRACK | WS_CLIPCHILDREN | WS_TABSTOP, 0};
    case ControlKind::TabSheet:
    case ControlKind::Panel: return {kPageClass, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT};
    default: return {nullptr, 0, 0};
    }
}

bool IsContainerWindow(ControlKind kind) {
    return kind == ControlKind::TabSheet || kind == ControlKind::Panel || kind == ControlKind::PageControl;
}

bool IsFrameOnly(ControlKind kind) { return kind == ControlKind::GroupBox || kind == ControlKind::RadioGroup; }

int ScaleBy(int value, UINT dpi) { return ::MulDiv(value, static_cast<int>(dpi), 96); }

} // namespace

void SetHintsShown(bool shown) {
    Hints().shown = shown;
    for (HWND tooltip : Hints().tooltips) ::SendMessageW(tooltip, TTM_ACTIVATE, shown, 0);
}

bool HintsShown() { return Hints().shown; }

void FollowHintSwitch(HWND tooltip) {
    if (!tooltip) return;
    Hints().tooltips.push_back(tooltip);
    ::SendMessageW(tooltip, TTM_ACTIVATE, Hints().shown, 0);
}

LanguageTables& ProgramLanguage() {
    static StringTableWin32 strings;
    static LanguageTables tables(strings);
    return tables;
}

void ApplyLanguageTables() { ProgramLanguage().Apply(LanguageBases::For(::GetSystemDefaultLangID())); }

std::wstring StringTableWin32::Text(int id) const {
    // With no buffer the call hands out the resource's own text, whatever its length.
    const wchar_t* text = nullptr;
    int length = ::LoadStringW(module_, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) return {};
    return std::wstring(text, static_cast<size_t>(length));
}

ControlTable::~ControlTable() {
    ProgramLanguage().Unregister(set_);
    if (tooltip_) {
        std::erase(Hints().tooltips, tooltip_);
        ::DestroyWindow(tooltip_);
    }
    if (font_) ::DeleteObject(font_);
}

void ControlTable::Create(HWND owner, std::span<const ControlDesign> designs) {
    RegisterPageClass();
    owner_ = owner;
    dpi_ = DpiOf(owner);
    designs_.assign(designs.begin(), designs.end());
    hwnds_.assign(designs_.size(), nullptr);
    set_.components.clear();
    for (const ControlDesign& design : designs_)
        set_.components.push_back(
            {design.kind, design.tag, design.caption ? design.caption : L"", design.hint ? design.hint : L""});
    MakeFont();
    tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, kHintHidePauseMs);
    ::SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, ScaleBy(kHintWidth, dpi_));
    FollowHintSwitch(tooltip_);
    for (int index = 0; index < Count(); ++index) hwnds_[static_cast<size_t>(index)] = CreateOne(index);
    for (int index = 0; index < Count(); ++index)
        if (designs_[static_cast<size_t>(index)].kind == ControlKind::PageControl) PlacePages(index);
    set_.textsChanged = [this] { ApplyTexts(); };
    ProgramLanguage().Register(set_);
    UpdateTools();
}

HWND ControlTable::CreateOne(int index) {
    const ControlDesign& design = designs_[static_cast<size_t>(index)];
    WindowKind kind = KindOf(design.kind);
    if (!kind.className) return nullptr;
    HWND parent = WindowParent(index);
    RECT place = ScaledRect(index);
    bool hidden = design.kind == ControlKind::TabSheet;  // shown when its tab is selected
    DWORD style = WS_CHILD | (hidden ? 0 : WS_VISIBLE) | kind.style | design.style;
    const wchar_t* text = (design.caption && !IsContainerWindow(design.kind)) ? design.caption : L"";
    HWND hwnd = ::CreateWindowExW(kind.exStyle, kind.className, text, style, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return nullptr;
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (design.kind == ControlKind::TabSheet || design.kind == ControlKind::Panel)
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner_));
    if (design.kind == ControlKind::TabSheet) {
        HWND tabs = hwnds_[static_cast<size_t>(design.parent)];
        int position = static_cast<int>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(design.caption ? design.caption : L"");
        ::SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&item));
        if (position == 0) ::ShowWindow(hwnd, SW_SHOW);
    }
    if (design.kind == ControlKind::HotKey) ::SendMessageW(hwnd, HKM_SETRULES, 0, 0);
    return hwnd;
}

HWND ControlTable::WindowParent(int index) const {
    int parent = designs_[static_cast<size_t>(index)].parent;
    while (parent != kOnWindow && IsFrameOnly(designs_[static_cast<size_t>(parent)].kind))
        parent = designs_[static_cast<size_t>(parent)].parent;
    return parent == kOnWindow ? owner_ : hwnds_[static_cast<size_t>(parent)];
}

POINT ControlTable::Origin(int index) const {
    POINT origin{designs_[static_cast<size_t>(index)].bounds.x, designs_[static_cast<size_t>(index)].bounds.y};
    for (int parent = designs_[static_cast<size_t>(index)].parent;
         parent != kOnWindow && IsFrameOnly(designs_[static_cast<size_t>(parent)].kind);
         parent = designs_[static_cast<size_t>(parent)].parent) {
        origin.x += designs_[static_cast<size_t>(parent)].bounds.x;
        origin.y += designs_[static_cast<size_t>(parent)].bounds.y;
    }
    return origin;
}

RECT ControlTable::ScaledRect(int index) const {
    POINT origin = Origin(index);
    const DesignRect& size = designs_[static_cast<size_t>(index)].bounds;
    int left = ScaleBy(origin.x, dpi_), top = ScaleBy(origin.y, dpi_);
    return {left, top, left + ScaleBy(size.width, dpi_), top + ScaleBy(size.height, dpi_)};
}

// The tab sheets of a page control fill its display area.
void ControlTable::PlacePages(int pageControlIndex) {
    HWND tabs = hwnds_[static_cast<size_t>(pageControlIndex)];
    if (!tabs) return;
    RECT area{};
    ::GetClientRect(tabs, &area);
    ::SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (int index = 0; index < Count(); ++index)
        if (designs_[static_cast<size_t>(index)].parent == pageControlIndex && hwnds_[static_cast<size_t>(index)])
            ::SetWindowPos(hwnds_[static_cast<size_t>(index)], nullptr, area.left, area.top, area.right - area.left,
                           area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

int ControlTable::IndexOfId(int id) const {
    if (id == 0) return -1;
    for (int index = 0; index < Count(); ++index)
        if (designs_[static_cast<size_t>(index)].id == id) return index;
    return -1;
}

bool ControlTable::Checked(int index) const {
    return ::SendMessageW((*this)[index], BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ControlTable::SetCheck(int index, bool checked) {
    ::SendMessageW((*this)[index], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool ControlTable::Enabled(int index) const { return ::IsWindowEnabled((*this)[index]) != FALSE; }

void ControlTable::SetEnabled(int index, bool enabled) { ::EnableWindow((*this)[index], enabled); }

bool ControlTable::HandleNotify(const NMHDR* header) {
    if (header->code != TCN_SELCHANGE) return false;
    for (int index = 0; index < Count(); ++index) {
        if (hwnds_[static_cast<size_t>(index)] != header->hwndFrom) continue;
        int selected = static_cast<int>(::SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0));
        int position = 0;
        for (int page = 0; page < Count(); ++page) {
            if (designs_[static_cast<size_t>(page)].parent != index) continue;
            ::ShowWindow(hwnds_[static_cast<size_t>(page)], position++ == selected ? SW_SHOW : SW_HIDE);
        }
        return true;
    }
    return false;
}

void ControlTable::MakeFont() {
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    if (!::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi_)) {
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        metrics.lfMessageFont.lfHeight = ScaleBy(metrics.lfMessageFont.lfHeight, dpi_);
    }
    HFONT old = font_;
    font_ = ::CreateFontIndirectW(&metrics.lfMessageFont);
    if (old) ::DeleteObject(old);
}

void ControlTable::Rescale() {
    dpi_ = DpiOf(owner_);
    HFONT old = font_;
    font_ = nullptr;
    MakeFont();
    for (int index = 0; index < Count(); ++index) {
        HWND hwnd = hwnds_[static_cast<size_t>(index)];
        if (!hwnd) continue;
        RECT place = ScaledRect(index);
        if (designs_[static_cast<size_t>(index)].kind != ControlKind::TabSheet)
            ::SetWindowPos(hwnd, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    }
    if (old) ::DeleteObject(old);
    for (int index = 0; index < Count(); ++index)
        if (designs_[static_cast<size_t>(index)].kind == ControlKind::PageControl) PlacePages(index);
    ::SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, ScaleBy(kHintWidth, dpi_));
    UpdateTools();
}

void ControlTable::ApplyTexts() {
    std::vector<int> tabPositions(designs_.size(), 0);
    for (int index = 0; index < Count(); ++index) {
        const ControlDesign& design = designs_[static_cast<size_t>(index)];
        const Component& texts = set_.components[static_cast<size_t>(index)];
        if (design.kind == ControlKind::TabSheet) {
            HWND tabs = hwnds_[static_cast<size_t>(design.parent)];
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<wchar_t*>(texts.caption.c_str());
            ::SendMessageW(tabs, TCM_SETITEMW, static_cast<WPARAM>(tabPositions[static_cast<size_t>(design.parent)]++),
                           reinterpret_cast<LPARAM>(&item));
        } else if (TakesCaption(design.kind) && hwnds_[static_cast<size_t>(index)]) {
            ::SetWindowTextW(hwnds_[static_cast<size_t>(index)], texts.caption.c_str());
        }
    }
    for (int index = 0; index < Count(); ++index)
        if (designs_[static_cast<size_t>(index)].kind == ControlKind::PageControl) PlacePages(index);
    UpdateTools();
}

// One tool per control with a hint; group boxes let the mouse through, so theirs is an
// area of the window beneath them.
void ControlTable::UpdateTools() {
    while (::SendMessageW(tooltip_, TTM_GETTOOLCOUNT, 0, 0) > 0) {
        TTTOOLINFOW tool{sizeof(tool)};
        if (!::SendMessageW(tooltip_, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool))) break;
        ::SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    for (int index = 0; index < Count(); ++index) {
        const ControlDesign& design = designs_[static_cast<size_t>(index)];
        const std::wstring& hint = set_.components[static_cast<size_t>(index)].hint;
        HWND hwnd = hwnds_[static_cast<size_t>(index)];
        if (hint.empty() || !hwnd) continue;
        TTTOOLINFOW tool{sizeof(tool)};
        tool.lpszText = const_cast<wchar_t*>(hint.c_str());
        if (IsFrameOnly(design.kind)) {
            tool.uFlags = TTF_SUBCLASS;
            tool.hwnd = WindowParent(index);
            tool.uId = static_cast<UINT_PTR>(index) + 1;
            tool.rect = ScaledRect(index);
            ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
            continue;
        }
        tool.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
        tool.hwnd = owner_;
        tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
        ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        if (design.kind == ControlKind::ComboBox) {
            COMBOBOXINFO info{sizeof(info)};
            if (::GetComboBoxInfo(hwnd, &info) && info.hwndItem) {
                tool.uId = reinterpret_cast<UINT_PTR>(info.hwndItem);
                ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
            }
        }
    }
}

} // namespace korvan::win
