#include "windows/win32/AboutForm.h"

#include "platform/win32/ControlTable.h"
#include "resource.h"
#include "windows/HelpFile.h"
#include "windows/win32/MessageFont.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <string>

namespace korvan::win {
namespace {

constexpr wchar_t kClassName[] = L"TAboutfrm";
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
constexpr int kFirstControlId = 100;
constexpr int kCaptionBaseGerman = 0, kCaptionBaseEnglish = 1000;

bool GermanSystem() { return IsGermanSystem(::GetSystemDefaultLangID()); }

DWORD StyleOf(AboutKind kind) {
    switch (kind) {
    case AboutKind::Label:
    case AboutKind::Title: return SS_LEFT | SS_NOPREFIX;
    case AboutKind::Picture: return SS_ICON | SS_REALSIZECONTROL;
    case AboutKind::Rule: return SS_ETCHEDHORZ;
    case AboutKind::Link: return SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
    case AboutKind::Button: return BS_DEFPUSHBUTTON | WS_TABSTOP;
    }
    return 0;
}

// The whole text of a string-table entry; an id without a text gives an empty text.
std::wstring LoadText(int id) {
    const wchar_t* text = nullptr;
    int length = ::LoadStringW(::GetModuleHandleW(nullptr), static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

// Escape and Enter close the info window from its button, as in a dialog box.
LRESULT CALLBACK ButtonKeys(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_GETDLGCODE) return DLGC_WANTALLKEYS | DLGC_DEFPUSHBUTTON;
    if (message == WM_KEYDOWN && (wParam == VK_ESCAPE || wParam == VK_RETURN)) {
        ::SendMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
        return 0;
    }
    return ::DefSubclassProc(button, message, wParam, lParam);
}

} // namespace

TAboutfrm::TAboutfrm() {
    background_.reset(::CreateSolidBrush(kWindowColour));
    RegisterClassOnce(kClassName, 0, static_cast<HBRUSH>(background_.get()), ProgramIcon());
    CreateWindowOf(kClassName, kExStyle, kStyle, L"Info", 0, 0, 100, 100);
    FormCreate();
}

void TAboutfrm::FormCreate() {
    CreateControls();
    // The passes once more over every window made so far (their texts stay as they are).
    ApplyLanguageTables();
    ApplyCaptions(GermanSystem() ? kCaptionBaseGerman : kCaptionBaseEnglish);
    Arrange(DpiOf(Hwnd()));
    // Centred on the desktop.
    RECT window{};
    ::GetWindowRect(Hwnd(), &window);
    int width = window.right - window.left, height = window.bottom - window.top;
    ::SetWindowPos(Hwnd(), nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TAboutfrm::CreateControls() {
    for (size_t i = 0; i < kAboutControls.size(); ++i) {
        const AboutControl& design = kAboutControls[i];
        const wchar_t* windowClass = design.kind == AboutKind::Button ? L"BUTTON" : L"STATIC";
        controls_[i] = ::CreateWindowExW(0, windowClass, design.caption, WS_CHILD | WS_VISIBLE | StyleOf(design.kind),
                                         0, 0, 0, 0, Hwnd(),
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)),
                                         ::GetModuleHandleW(nullptr), nullptr);
    }
    ::SetWindowSubclass(Control("Button1"), ButtonKeys, 1, 0);
}

HFONT TAboutfrm::FontOf(AboutKind kind) const {
    switch (kind) {
    case AboutKind::Link: return static_cast<HFONT>(linkFont_.get());
    case AboutKind::Title: return static_cast<HFONT>(titleFont_.get());
    default: return static_cast<HFONT>(font_.get());
    }
}

void TAboutfrm::ApplyCaptions(int captionBase) {
    for (size_t i = 0; i < kAboutControls.size(); ++i)
        if (kAboutControls[i].tag != 0)
            ::SetWindowTextW(controls_[i], LoadText(captionBase + kAboutControls[i].tag).c_str());
}

// Places the controls and sizes the window for the DPI; labels are as wide as their text.
void TAboutfrm::Arrange(UINT dpi) {
    LOGFONTW font = MessageFont(dpi);
    font.lfHeight = -Scale(11, dpi);
    font_.reset(::CreateFontIndirectW(&font));
    font.lfUnderline = TRUE;
    linkFont_.reset(::CreateFontIndirectW(&font));
    font.lfUnderline = FALSE;
    font.lfWeight = FW_BOLD;
    font.lfHeight = -Scale(16, dpi);
    titleFont_.reset(::CreateFontIndirectW(&font));
    Icon icon(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON,
                                              Scale(32, dpi), Scale(32, dpi), LR_DEFAULTCOLOR)));
    ::SendMessageW(Control("Image1"), STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
    icon_ = std::move(icon);
    WindowDc dc(Hwnd());
    for (size_t i = 0; i < kAboutControls.size(); ++i) {
        const AboutControl& design = kAboutControls[i];
        HFONT controlFont = FontOf(design.kind);
        ::SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(controlFont), FALSE);
        int width = Scale(design.width, dpi), height = Scale(design.height, dpi);
        if (design.kind == AboutKind::Label || design.kind == AboutKind::Title || design.kind == AboutKind::Link) {
            wchar_t text[256] = L"";
            int length = ::GetWindowTextW(controls_[i], text, 256);
            HGDIOBJ old = ::SelectObject(dc.get(), controlFont);
            SIZE extent{};
            ::GetTextExtentPoint32W(dc.get(), text, length, &extent);
            ::SelectObject(dc.get(), old);
            width = extent.cx + 1;
            height = extent.cy;
        }
        ::MoveWindow(controls_[i], Scale(design.left, dpi), Scale(design.top, dpi), width, height, TRUE);
    }
    RECT frame{0, 0, Scale(kAboutClientWidth, dpi), Scale(kAboutClientHeight, dpi)};
    ::AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, dpi);
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND TAboutfrm::Control(const char* name) const {
    for (size_t i = 0; i < kAboutControls.size(); ++i)
        if (std::strcmp(kAboutControls[i].name, name) == 0) return controls_[i];
    return nullptr;
}

LRESULT TAboutfrm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE: return HandleClose();
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) ::SetFocus(Control("Button1"));
        return 0;
    case WM_COMMAND: {
        auto control = reinterpret_cast<HWND>(lParam);
        if (control && control == Control("wwwadd") && HIWORD(wParam) == STN_CLICKED) wwwaddClick();
        else if (control && control == Control("Button1") && HIWORD(wParam) == BN_CLICKED) Button1Click();
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return ColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && SetLinkCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
        return Default(message, wParam, lParam);
    case WM_DPICHANGED: {
        auto suggested = reinterpret_cast<const RECT*>(lParam);
        Arrange(HIWORD(wParam));
        ::SetWindowPos(Hwnd(), nullptr, suggested->left, suggested->top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default: return Default(message, wParam, lParam);
    }
}

// Texts stand on the window colour; the link has the colour of an active caption.
LRESULT TAboutfrm::ColourStatic(HDC dc, HWND control) {
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(control == Control("wwwadd") ? COLOR_ACTIVECAPTION : COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(background_.get());
}

bool TAboutfrm::SetLinkCursor(HWND under) {
    if (under != Control("wwwadd")) return false;
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return true;
}

// Opens the product's page in the user's browser; a failed launch shows nothing.
void TAboutfrm::wwwaddClick() {
    std::wstring page(ProductPage(GermanSystem()));
    ::ShellExecuteW(Hwnd(), L"open", page.c_str(), nullptr, nullptr, SW_SHOW);
}

void TAboutfrm::Button1Click() { Close(); }

} // namespace korvan::win
