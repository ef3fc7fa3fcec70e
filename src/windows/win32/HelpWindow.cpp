#include "windows/win32/HelpWindow.h"

#include "resource.h"
#include "platform/win32/MonitorWorkArea.h"
#include "platform/win32/SystemLibrary.h"
#include "windows/HelpFile.h"

#include <commctrl.h>
#include <commdlg.h>
#include <richedit.h>

#include <algorithm>

namespace korvan::win {
namespace {

constexpr wchar_t kClassName[] = L"Thelpfrm";
constexpr int kPanelEdge = 2;  // the lowered edge of the panel around the editor
constexpr int kPopupSave = 1, kPopupFormat = 2;

bool GermanSystem() { return IsGermanSystem(::GetSystemDefaultLangID()); }

HWND CreateRichEdit(HWND parent) {
    static HMODULE library = LoadSystemLibrary(L"Msftedit.dll");
    if (!library) return nullptr;
    return ::CreateWindowExW(0, MSFTEDIT_CLASS, L"",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE |
                                 ES_AUTOVSCROLL | ES_NOHIDESEL | ES_WANTRETURN,
                             0, 0, 10, 10, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

struct ReadCursor {
    const char* data;
    size_t left;
};

DWORD CALLBACK ReadFromMemory(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* read) {
    auto cursor = reinterpret_cast<ReadCursor*>(cookie);
    size_t count = std::min(cursor->left, static_cast<size_t>(wanted));
    std::copy_n(cursor->data, count, buffer);
    cursor->data += count;
    cursor->left -= count;
    *read = static_cast<LONG>(count);
    return 0;
}

DWORD CALLBACK AppendToString(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
    *written = count;
    return 0;
}

// The system's message font at the DPI, named by the face that is really used (an alias
// such as "MS Shell Dlg" is resolved, so the font dialog finds it in its list).
LOGFONTW MessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    LOGFONTW font{};
    if (::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
        font = metrics.lfMessageFont;
    } else {
        font.lfHeight = -Scale(11, dpi);
        font.lfWeight = FW_NORMAL;
        font.lfCharSet = DEFAULT_CHARSET;
        wcscpy_s(font.lfFaceName, L"Tahoma");
    }
    GdiObject created(::CreateFontIndirectW(&font));
    WindowDc screen(nullptr);
    HGDIOBJ old = ::SelectObject(screen.get(), created.get());
    ::GetTextFaceW(screen.get(), LF_FACESIZE, font.lfFaceName);
    ::SelectObject(screen.get(), old);
    return font;
}

} // namespace

HelpWindow::HelpWindow(HWND mainWindow) : mainWindow_(mainWindow) {
    RegisterClassOnce(kClassName, CS_HREDRAW | CS_VREDRAW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                      ProgramIcon());
    UINT dpi = DpiOf(mainWindow);
    CreateWindowOf(kClassName, 0, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, L"Small Help", Scale(397, dpi),
                   Scale(290, dpi), Scale(317, dpi), Scale(349, dpi));
    CreateContents();
}

void HelpWindow::CreateContents() {
    editor_ = CreateRichEdit(Hwnd());
    if (!editor_) return;
    // The editor needs a font before any text, or it shows everything bold.
    baseFont_ = MessageFont(DpiOf(Hwnd()));
    font_.reset(::CreateFontIndirectW(&baseFont_));
    ::SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    ::SendMessageW(editor_, EM_EXLIMITTEXT, 0, 16 * 1024 * 1024);
    ::SendMessageW(editor_, EM_SETTARGETDEVICE, 0, 0);  // lines wrap at the window's edge
    int margin = Scale(4, DpiOf(Hwnd()));
    ::SendMessageW(editor_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
    LoadHelpText();
    ArrangePanel();
}

// The help text is part of the program, in the system's language.
void HelpWindow::LoadHelpText() {
    HMODULE module = ::GetModuleHandleW(nullptr);
    int id = GermanSystem() ? IDR_HELP_DE : IDR_HELP_EN;
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) return;
    ReadCursor cursor{static_cast<const char*>(data), ::SizeofResource(module, resource)};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&cursor), 0, &ReadFromMemory};
    ::SendMessageW(editor_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    ::SendMessageW(editor_, EM_SETSEL, 0, 0);
    ::SendMessageW(editor_, WM_VSCROLL, SB_TOP, 0);
    ::SendMessageW(editor_, EM_SETMODIFY, FALSE, 0);
}

std::string HelpWindow::RichText() const {
    std::string text;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&text), 0, &AppendToString};
    ::SendMessageW(editor_, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    // Some editors end the stream with a zero byte, which is no part of the text.
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

LRESULT HelpWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE: return HandleClose();
    case WM_SIZE: ArrangePanel(); return 0;
    case WM_PAINT: PaintPanel(); return 0;
    case WM_SETFOCUS:
        if (editor_) ::SetFocus(editor_);
        return 0;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) != editor_) return Default(message, wParam, lParam);
        ShowContextMenu(lParam);
        return 0;
    case WM_DPICHANGED: {
        auto suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(Hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default: return Default(message, wParam, lParam);
    }
}

// The panel fills the client area; the editor fills the panel inside its lowered edge.
void HelpWindow::ArrangePanel() {
    if (!editor_) return;
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    int inset = Scale(kPanelEdge, DpiOf(Hwnd()));
    ::MoveWindow(editor_, inset, inset, std::max(0L, client.right - 2 * inset),
                 std::max(0L, client.bottom - 2 * inset), TRUE);
}

void HelpWindow::PaintPanel() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(Hwnd(), &paint);
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    ::DrawEdge(dc, &client, EDGE_SUNKEN, BF_RECT);
    ::EndPaint(Hwnd(), &paint);
}

void HelpWindow::ShowContextMenu(LPARAM where) {
    POINT point{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
    if (where == -1) {  // from the keyboard: at the caret
        ::GetCaretPos(&point);
        ::ClientToScreen(editor_, &point);
    }
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, kPopupSave, L"Save");
    ::AppendMenuW(menu, MF_STRING, kPopupFormat, L"Format");
    int chosen = ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, Hwnd(), nullptr);
    ::DestroyMenu(menu);
    if (chosen == kPopupSave) SaveHelpText();
    else if (chosen == kPopupFormat) ChangeSelectionFont();
}

// Saved in the current directory; an error leaves the editor and any old file as they were.
void HelpWindow::SaveHelpText() { SaveHelpFile(std::string(HelpFileName(GermanSystem())), RichText()); }

void HelpWindow::ChangeSelectionFont() {
    LOGFONTW chosen = baseFont_;
    CHOOSEFONTW dialog{sizeof(dialog)};
    dialog.hwndOwner = Hwnd();
    dialog.lpLogFont = &chosen;
    dialog.Flags = CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_SCREENFONTS;
    dialog.rgbColors = ::GetSysColor(COLOR_WINDOWTEXT);
    if (!::ChooseFontW(&dialog)) return;
    ApplyFontToSelection(chosen, dialog.iPointSize, dialog.rgbColors);
}

void HelpWindow::ApplyFontToSelection(const LOGFONTW& font, int pointSizeTenths, COLORREF colour) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE |
                    CFM_STRIKEOUT;
    format.yHeight = pointSizeTenths * 2;  // twips
    format.bCharSet = font.lfCharSet;
    format.bPitchAndFamily = font.lfPitchAndFamily;
    wcscpy_s(format.szFaceName, font.lfFaceName);
    format.crTextColor = colour;
    format.dwEffects = (font.lfWeight >= FW_BOLD ? CFE_BOLD : 0) | (font.lfItalic ? CFE_ITALIC : 0) |
                       (font.lfUnderline ? CFE_UNDERLINE : 0) | (font.lfStrikeOut ? CFE_STRIKEOUT : 0);
    ::SendMessageW(editor_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

void HelpWindow::OnShow() {
    if (!Visible()) CentreOnMainWindow();
}

// Centred on the main window, kept whole on the main window's monitor.
void HelpWindow::CentreOnMainWindow() {
    ScreenRect main = WindowRectOf(mainWindow_), own = WindowRectOf(Hwnd());
    int left = (main.left + main.right - own.Width()) / 2, top = (main.top + main.bottom - own.Height()) / 2;
    ScreenRect place = KeptWithin({left, top, left + own.Width(), top + own.Height()}, WorkAreaAt(main));
    ::SetWindowPos(Hwnd(), nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace korvan::win
