#include "windows/win32/InfoWindow.h"

#include "platform/LanguageTables.h"
#include "platform/win32/MonitorWorkArea.h"
#include "resource.h"
#include "windows/InfoDesign.h"
#include "windows/win32/InfoControls.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

namespace korvan::win {
namespace {

using namespace info;

constexpr wchar_t kClassName[] = L"TAboutfrm";
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
bool GermanSystem() { return IsGermanSystem(::GetSystemDefaultLangID()); }

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

InfoWindow::InfoWindow(HWND mainWindow) : mainWindow_(mainWindow) {
    RegisterClassOnce(kClassName, 0, nullptr, ProgramIcon());
    CreateWindowOf(kClassName, kExStyle, kStyle, L"Info", 0, 0, 100, 100);
    CreateContents();
}

void InfoWindow::CreateContents() {
    controls_.Create(Hwnd(), kControls);
    // The icon is a picture, not a text: it stays out of the language passes.
    iconView_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL, 0, 0, 0, 0,
                                Hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowSubclass(controls_[kOk], ButtonKeys, 1, 0);
    // The passes once more over every window made so far, this one included.
    ApplyLanguageTables();
    Arrange();
    OnShow();
}

void InfoWindow::OnShow() { CentreOnMonitorOf(Hwnd(), mainWindow_); }

// The window, the link and the title for the current DPI; the table places the rest.
void InfoWindow::Arrange() {
    UINT dpi = DpiOf(Hwnd());
    LOGFONTW font{};
    ::GetObjectW(controls_.Font(), sizeof(font), &font);
    font.lfUnderline = TRUE;
    linkFont_.reset(::CreateFontIndirectW(&font));
    font.lfUnderline = FALSE;
    font.lfWeight = FW_BOLD;
    font.lfHeight = -Scale(16, dpi);
    titleFont_.reset(::CreateFontIndirectW(&font));
    ::SendMessageW(controls_[kLink], WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), TRUE);
    ::SendMessageW(controls_[kProgramName], WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), TRUE);

    // The link is as wide as its text, so the hand shows only over the address.
    HWND link = controls_[kLink];
    RECT place = controls_.ScaledRect(kLink);
    WindowDc dc(link);
    HGDIOBJ old = ::SelectObject(dc.get(), linkFont_.get());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), kProductDomain.data(), static_cast<int>(kProductDomain.size()), &extent);
    ::SelectObject(dc.get(), old);
    ::SetWindowPos(link, nullptr, place.left, place.top, extent.cx + 1, extent.cy, SWP_NOZORDER | SWP_NOACTIVATE);

    Icon icon(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON,
                                              Scale(32, dpi), Scale(32, dpi), LR_DEFAULTCOLOR)));
    ::SendMessageW(iconView_, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
    icon_ = std::move(icon);
    ::SetWindowPos(iconView_, nullptr, Scale(kIconPlace.left, dpi), Scale(kIconPlace.top, dpi), Scale(32, dpi),
                   Scale(32, dpi), SWP_NOZORDER | SWP_NOACTIVATE);

    RECT frame{0, 0, Scale(kInfoClientWidth, dpi), Scale(kInfoClientHeight, dpi)};
    ::AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, dpi);
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT InfoWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE: return HandleClose();
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) ::SetFocus(controls_[kOk]);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kLinkId && HIWORD(wParam) == STN_CLICKED) OpenProductPage();
        else if (LOWORD(wParam) == kOkId && HIWORD(wParam) == BN_CLICKED) OkClick();
        return 0;
    case WM_ERASEBKGND: return EraseWithWindowColour(wParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return ColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == controls_[kLink]) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        return Default(message, wParam, lParam);
    case WM_DPICHANGED: {
        auto suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(Hwnd(), nullptr, suggested->left, suggested->top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        controls_.Rescale();
        Arrange();
        return 0;
    }
    default: return Default(message, wParam, lParam);
    }
}

// Texts stand on the window colour, the link in its own colour: both as the theme has them.
LRESULT InfoWindow::ColourStatic(HDC dc, HWND control) {
    ::SetBkMode(dc, TRANSPARENT);
    const WindowPalette& palette = Theme().Palette();
    ::SetTextColor(dc, ColourRef(control == controls_[kLink] ? palette.link : palette.text));
    return reinterpret_cast<LRESULT>(Theme().Background());
}

// Opens the product's page in the user's browser. A failed launch shows nothing: no
// error box of the shell either.
void InfoWindow::OpenProductPage() {
    std::wstring page(ProductPage(GermanSystem()));
    SHELLEXECUTEINFOW open{sizeof(open)};
    open.fMask = SEE_MASK_FLAG_NO_UI;
    open.hwnd = Hwnd();
    open.lpVerb = L"open";
    open.lpFile = page.c_str();
    open.nShow = SW_SHOW;
    ::ShellExecuteExW(&open);
}

void InfoWindow::OkClick() { Close(); }

} // namespace korvan::win
