// Every text on every window reads, in the normal theme and in a high-contrast one: each
// text control is measured in a picture of its window at 4.5 to 1 or better against its
// background. The pictures stay in the artifacts, the numbers in contrast-<theme>.txt.
#include "app/ToolbarLayout.h"
#include "e2e/Driver.h"
#include "support/TextContrast.h"
#include "support/win32/HighContrastColours.h"
#include "support/win32/WinePath.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace korvan::e2e {
namespace {

constexpr double kLeast = 4.5;

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c == L'\n' ? ' ' : (c < 0x80 ? static_cast<char>(c) : '?');
    return narrow.substr(0, 40);
}

// What of a control shows text: its whole rectangle, but for a check box or radio button
// only the caption beside the box, for a group box only its caption's line (the controls
// inside it are measured on their own), and for a tab control the strip of tab titles.
RECT TextArea(HWND control) {
    RECT rect = WindowRect(control);
    std::wstring name = ClassOf(control);
    LONG_PTR type = ::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    if (name == L"Button" && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || type == BS_AUTORADIOBUTTON ||
                              type == BS_RADIOBUTTON))
        rect.left += ::GetSystemMetrics(SM_CXMENUCHECK) + 4;
    if (name == L"Button" && type == BS_GROUPBOX) {  // the frame's corners and sides left out
        rect.bottom = std::min<LONG>(rect.bottom, rect.top + 16);
        rect.left += 10;
        rect.right -= 10;
    }
    if (name == WC_TABCONTROLW) rect.bottom = std::min<LONG>(rect.bottom, rect.top + 24);
    return rect;
}

// Controls whose text the user reads; hidden ones and pictures left out. Disabled
// controls are measured apart: the guidelines leave inactive controls out of the rule.
bool ShowsText(HWND control) {
    if (!::IsWindowVisible(control)) return false;
    std::wstring name = ClassOf(control);
    LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
    if (name == L"Static") {
        LONG_PTR type = style & SS_TYPEMASK;
        if (type == SS_ICON || type == SS_BITMAP || type == SS_ETCHEDHORZ || type == SS_ETCHEDVERT ||
            type == SS_ETCHEDFRAME || type == SS_BLACKRECT || type == SS_GRAYRECT || type == SS_WHITERECT)
            return false;
        return ::GetWindowTextLengthW(control) > 0;
    }
    if (name == L"Button") return ::GetWindowTextLengthW(control) > 0;
    return name == L"Edit" || name == HOTKEY_CLASSW || name == WC_TABCONTROLW || _wcsicmp(name.c_str(), L"RichEdit50W") == 0 ||
           name == WC_LISTVIEWW;
}

class ContrastLog {
public:
    explicit ContrastLog(std::string theme) : theme_(std::move(theme)) {}
    ~ContrastLog() {
        std::wstring folder = test::PathFromEnvironment(L"KORVAN_ARTIFACTS");
        if (folder.empty()) return;
        std::ofstream file(std::filesystem::path(folder) / ("contrast-" + theme_ + ".txt"));
        file << lines_;
    }

    // Pictures the window and measures every text control in it.
    void Window(HWND window, const std::string& name) {
        std::string picture = name + "-" + theme_;
        SaveArtifact(window, picture);
        imaging::Bitmap shot = SteadyPicture(window);
        RECT origin = WindowRect(window);
        std::vector<HWND> controls = Descendants(window);
        if (ClassOf(window) == TOOLTIPS_CLASSW) controls = {window};
        for (HWND control : controls) {
            if (!ShowsText(control) && control != window) continue;
            RECT area = TextArea(control);
            std::optional<test::TextContrast> measured =
                test::MeasureText(shot, area.left - origin.left, area.top - origin.top, area.right - area.left,
                                  area.bottom - area.top);
            std::wstring text(256, L'\0');
            text.resize(static_cast<size_t>(::SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
            bool enabled = ::IsWindowEnabled(control) != FALSE;
            bool hasText = !text.empty() && ClassOf(control) != L"Edit";
            double ratio = measured ? measured->ratio : 1.0;
            char line[256];
            std::snprintf(line, sizeof(line), "%-16s %-18s %-40s %6.2f%s\n", name.c_str(), Narrow(ClassOf(control)).c_str(),
                          Narrow(text).c_str(), ratio, enabled ? "" : "  (disabled)");
            lines_ += line;
            if (!measured && !hasText) continue;  // an empty field
            if (enabled) {
                EXPECT_GE(ratio, kLeast) << name << ": " << Narrow(text) << " (" << Narrow(ClassOf(control)) << ")";
                ++measuredTexts_;
            }
        }
    }
    int MeasuredTexts() const { return measuredTexts_; }

private:
    std::string theme_;
    std::string lines_;
    int measuredTexts_ = 0;
};

HWND VisibleDialogOf(DWORD processId) {
    for (HWND window = ::GetTopWindow(nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        if (process == processId && ClassOf(window) == L"#32770" && ::IsWindowVisible(window)) return window;
    }
    return nullptr;
}

// Opens every window of the program in turn and measures it.
void MeasureEveryWindow(Program& program, ContrastLog& log) {
    HWND main = program.MainWindow();
    program.Activate();
    log.Window(main, "main-window");
    RECT desktop = program.ButtonRect(Id(Command::Desktop));
    MovePointerTo((desktop.left + desktop.right) / 2, (desktop.top + desktop.bottom) / 2);
    HWND hint = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (hint = ShownHint(program.ProcessId())) != nullptr; }));
    log.Window(hint, "hint");
    MovePointerAway();

    HWND preview = program.CaptureDesktop();
    ASSERT_TRUE(preview);
    log.Window(preview, "preview");

    program.ClickButton(Id(Command::Options));
    HWND options = program.FindForm(L"Toptionfrm");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) != 0; }));
    HWND tabs = ::FindWindowExW(options, nullptr, WC_TABCONTROLW, nullptr);
    for (int page = 0; page < 4; ++page) {
        RECT tab = program.ItemRect(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(page));
        ClickAt((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
        MovePointerAway();
        ASSERT_TRUE(WaitFor([&] { return ::SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == page; }));
        log.Window(options, "options-page" + std::to_string(page + 1));
    }
    // The save dialog, from the automatic page.
    HWND edit = ChildWithText(options, L"Edit saving options");
    ASSERT_TRUE(edit);
    ::PostMessageW(edit, BM_CLICK, 0, 0);
    HWND save = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (save = VisibleDialogOf(program.ProcessId())) != nullptr; }));
    log.Window(save, "save-dialog");
    ::PostMessageW(save, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !VisibleDialogOf(program.ProcessId()); }));
    // A message box: pasting on with no application chosen.
    RECT first = program.ItemRect(tabs, TCM_GETITEMRECT, 0);
    ClickAt((first.left + first.right) / 2, (first.top + first.bottom) / 2);
    HWND paste = ChildWithText(options, L"Paste directly to:");
    ASSERT_TRUE(paste);
    ::SendMessageW(paste, BM_CLICK, 0, 0);
    ::PostMessageW(options, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindMessageBox(program.ProcessId(), L"Choose an application")) != nullptr; }));
    log.Window(box, "message-box");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !FindMessageBox(program.ProcessId(), L"Choose an application"); }));
    ::PostMessageW(options, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(options); }));

    program.ClickButton(Id(Command::Info));
    HWND info = program.FindForm(L"TAboutfrm");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(info) != 0; }));
    log.Window(info, "info-window");
    ::PostMessageW(info, WM_CLOSE, 0, 0);

    ::SendMessageW(main, WM_COMMAND, Id(Command::Help), 0);
    HWND help = program.FindForm(L"Thelpfrm");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(help) != 0; }));
    log.Window(help, "help-window");
    ::PostMessageW(help, WM_CLOSE, 0, 0);

    HWND frame = program.ShowFrame();

    ASSERT_TRUE(frame);
    log.Window(frame, "grabber-frame");
}

TEST(Contrast, EveryTextReadsInTheNormalTheme) {
    ContrastLog log("normal");
    Program program;
    MeasureEveryWindow(program, log);
    EXPECT_GT(log.MeasuredTexts(), 40);
}

TEST(Contrast, EveryTextReadsInHighContrast) {
    test::ApplySystemColours(test::HighContrastBlack());
    // With a high-contrast theme Windows draws controls in its colours; Wine's own visual
    // style would go on drawing themed controls (group box captions) in its black text, so
    // the prefix switches visual styles off, as Windows' classic high-contrast themes do.
    WriteString(L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", L"ThemeActive", L"0");
    ContrastLog log("high-contrast");
    Program program(L"KORVAN_HIGH_CONTRAST_EXE");
    MeasureEveryWindow(program, log);
    EXPECT_GT(log.MeasuredTexts(), 40);
}

} // namespace
} // namespace korvan::e2e
