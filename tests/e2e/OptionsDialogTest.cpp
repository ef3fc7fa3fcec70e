// The options dialog as a user meets it: its pages in the system's language, nothing
// cut off or overlapping; pasting straight into a running paint program; hot key
// fields that move the frame and come back after a restart.
#include "app/ToolbarLayout.h"
#include "e2e/Driver.h"
#include "platform/LanguageTables.h"
#include "support/win32/WinePath.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace korvan::e2e {
namespace {

const wchar_t kCursor[] = L"Software\\Snapdeck2\\keysettings\\Cursor";

// Memory in the program's process, for the tab control's messages that take pointers.
class Remote {
public:
    explicit Remote(DWORD processId)
        : process_(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)) {
        memory_ = static_cast<char*>(::VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
    }
    ~Remote() {
        ::VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        ::CloseHandle(process_);
    }
    std::wstring TabText(HWND tabs, int index) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(memory_ + 1024);
        item.cchTextMax = 256;
        ::WriteProcessMemory(process_, memory_, &item, sizeof(item), nullptr);
        ::SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(memory_));
        wchar_t text[256] = {};
        ::ReadProcessMemory(process_, memory_ + 1024, text, sizeof(text) - sizeof(wchar_t), nullptr);
        return text;
    }
    RECT TabRect(HWND tabs, int index) {
        ::SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(memory_));
        RECT rect{};
        ::ReadProcessMemory(process_, memory_, &rect, sizeof(rect), nullptr);
        ::MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

private:
    HANDLE process_;
    char* memory_;
};

HWND OpenOptions(Program& program) {
    program.ClickButton(Id(Command::Options));
    HWND options = program.FindForm(L"Toptionfrm");
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) != 0; }));
    return options;
}

void PressOk(HWND options) { ::PostMessageW(options, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

struct PageTexts {
    const wchar_t* tab;
    std::vector<std::wstring> texts;
};

std::vector<PageTexts> Expected(bool german) {
    if (german)
        return {{L"Allgemein",
                 {L"Toolbar Ansichten:", L"Toolbargr\u00f6\u00dfe 32 x 32", L"Toolbargr\u00f6\u00dfe 19 x 19",
                  L"Bild senden:", L"Zwischenablage", L"Bild direkt einf\u00fcgen in:",
                  L"W\u00e4rend des Fotografierens verkleinern", L"Voransicht:", L"Voransicht anzeigen", L"Tipps",
                  L"Tipps anzeigen", L"< Applications >"}},
                {L"Maus-Figur", {L"Figurauswahl", L"Wahl der geometrischen Figur:", L"Rectangle"}},
                {L"Hot Cursor Keys",
                 {L"Anwenden", L"Schnells Bewegen", L"Langsames Bewegen", L"Schnelles Anpassen", L"Langsames Anpassen",
                  L"F\u00fcr sp\u00e4tere Sessions speichern", L"Standard", L"links", L"rechts", L"hoch", L"runter"}},
                {L"Automatik",
                 {L"Speicher Einstellungen", L"Bilder automatisch speichern", L"Speicheroptionen editieren"}}};
    return {{L"General",
             {L"Toolbar Views:", L"Toolbarsize 32 x 32", L"Toolbarsize 19 x 19", L"Capture to:", L"Clipboard",
              L"Paste directly to:", L"Minimize application if capture is active", L"Preview:", L"Show Preview Window",
              L"Hints", L"Enable Hints", L"< Applications >"}},
            {L"Capture Options", {L"Area Options", L"Choose the area form", L"Rectangle"}},
            {L"Cursor Key Option",
             {L"Enable", L"Fast move", L"Slow move", L"Fast resize", L"Slow resize", L"Store for further session",
              L"Default", L"left", L"right", L"up", L"down"}},
            {L"Automatic", {L"Saving Settings", L"Save images automtically", L"Edit saving options"}}};
}

bool IsGroupBox(HWND window) {
    return ClassOf(window) == L"Button" && (::GetWindowLongW(window, GWL_STYLE) & 0x0F) == BS_GROUPBOX;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Controls lie inside their page, never over each other, and either wholly inside a
// group or wholly outside it.
void ExpectTidy(HWND page) {
    RECT area{};
    ::GetWindowRect(page, &area);
    std::vector<HWND> groups, controls;
    for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        (IsGroupBox(child) ? groups : controls).push_back(child);
    for (HWND control : controls) {
        RECT rect = WindowRect(control);
        EXPECT_TRUE(Inside(rect, area)) << WindowText(control);
        for (HWND other : controls) {
            RECT overlap{}, second = WindowRect(other);
            if (other != control) {
                EXPECT_FALSE(::IntersectRect(&overlap, &rect, &second)) << WindowText(control) << " / " << WindowText(other);
            }
        }
        for (HWND group : groups) {
            RECT overlap{}, frame = WindowRect(group);
            if (::IntersectRect(&overlap, &rect, &frame)) {
                EXPECT_TRUE(Inside(rect, frame)) << WindowText(control);
            }
        }
    }
}

TEST(OptionsDialog, PagesInTheSystemLanguage) {
    bool german = IsGermanSystem(::GetSystemDefaultLangID());
    std::string language = german ? "de" : "en";
    Program program;
    HWND options = OpenOptions(program);
    HWND tabs = ::FindWindowExW(options, nullptr, WC_TABCONTROLW, nullptr);
    ASSERT_TRUE(tabs);
    Remote remote(program.ProcessId());
    std::vector<PageTexts> expected = Expected(german);
    ASSERT_EQ(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
    std::vector<HWND> pages;
    for (HWND child = ::GetWindow(tabs, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) pages.push_back(child);
    ASSERT_EQ(pages.size(), 4u);
    for (int index = 0; index < 4; ++index) {
        EXPECT_EQ(remote.TabText(tabs, index), expected[index].tab);
        RECT tab = remote.TabRect(tabs, index);
        ClickAt((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
        HWND page = pages[static_cast<size_t>(index)];
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(page) != 0; })) << index;
        MovePointerAway();
        std::set<std::wstring> shown;
        for (HWND child : Descendants(page)) shown.insert(WindowText(child));
        for (const std::wstring& text : expected[index].texts) EXPECT_TRUE(shown.count(text)) << language << " " << index;
        ExpectTidy(page);
        SaveArtifact(options, "options-page" + std::to_string(index + 1) + "-" + language);
    }
    EXPECT_TRUE(ChildWithText(options, german ? L"OK" : L"Ok"));
    EXPECT_TRUE(ChildWithText(options, german ? L"Abbruch" : L"Cancel"));
    EXPECT_EQ(WindowText(options), L"Options");
}

std::vector<HWND> Pages(HWND options) {
    std::vector<HWND> pages;
    HWND tabs = ::FindWindowExW(options, nullptr, WC_TABCONTROLW, nullptr);
    for (HWND child = ::GetWindow(tabs, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) pages.push_back(child);
    return pages;
}

void ShowPage(Program& program, HWND options, int index) {
    Remote remote(program.ProcessId());
    HWND tabs = ::FindWindowExW(options, nullptr, WC_TABCONTROLW, nullptr);
    RECT tab = remote.TabRect(tabs, index);
    ClickAt((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    HWND page = Pages(options)[static_cast<size_t>(index)];
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(page) != 0; }));
    MovePointerAway();
    PumpMessages(std::chrono::milliseconds(300));
}

TEST(OptionsDialog, ScalesAt144DotsPerInch) {
    WriteDword(L"Control Panel\\Desktop", L"LogPixels", 144);
    Program program;
    HWND options = OpenOptions(program);
    RECT client{};
    ::GetClientRect(options, &client);
    EXPECT_EQ(client.right, 627);  // 418 at 96 dots per inch
    EXPECT_EQ(client.bottom, 564);  // 376
    for (int index : {0, 2}) {
        ShowPage(program, options, index);
        ExpectTidy(Pages(options)[static_cast<size_t>(index)]);
        SaveArtifact(options, "options-page" + std::to_string(index + 1) + "-144dpi");
    }
}

// Only checking "Save images automatically" opens the save dialog; "Edit saving options" always does.
TEST(OptionsDialog, AutomaticSavingOpensTheSaveDialog) {
    Program program;
    HWND options = OpenOptions(program);
    HWND autoSave = ChildWithText(options, L"Save images automtically");
    HWND edit = ChildWithText(options, L"Edit saving options");
    ASSERT_TRUE(autoSave && edit);
    auto saveDialog = [&] {
        HWND found = nullptr;
        for (HWND window = ::GetTopWindow(nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
            DWORD process = 0;
            ::GetWindowThreadProcessId(window, &process);
            if (process == program.ProcessId() && ClassOf(window) == L"#32770" && ::IsWindowVisible(window)) found = window;
        }
        return found;
    };
    for (HWND button : {autoSave, autoSave, edit}) {
        bool checking = button == edit || ::SendMessageW(autoSave, BM_GETCHECK, 0, 0) != BST_CHECKED;
        ::PostMessageW(button, BM_CLICK, 0, 0);
        if (!checking) {
            EXPECT_TRUE(WaitFor([&] { return ::SendMessageW(autoSave, BM_GETCHECK, 0, 0) != BST_CHECKED; }));
            PumpMessages(std::chrono::milliseconds(300));
            EXPECT_FALSE(saveDialog()) << "unchecking opens nothing";
            continue;
        }
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (dialog = saveDialog()) != nullptr; }));
        SaveArtifact(dialog, "options-save-dialog");
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitFor([&] { return !saveDialog(); }));
    }
}

// While the dialog is open the preview is closed and the main window is away; Cancel
// brings both back.
TEST(OptionsDialog, ShowingPutsThePreviewAndTheMainWindowAside) {
    Program program;
    HWND preview = program.CaptureDesktop();
    ASSERT_TRUE(preview);
    int left = WindowRect(program.MainWindow()).left;
    HWND options = OpenOptions(program);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) == 0; }));
    EXPECT_LE(WindowRect(program.MainWindow()).right, VirtualScreen().left);  // on no monitor
    HWND cancel = ChildWithText(options, L"Cancel");
    if (!cancel) cancel = ChildWithText(options, L"Abbruch");
    ASSERT_TRUE(cancel);
    ::PostMessageW(cancel, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) == 0; }));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) != 0; }));
    EXPECT_EQ(WindowRect(program.MainWindow()).left, left);
}

std::wstring HintText(HWND tooltip) {
    std::wstring text(1024, L'\0');
    text.resize(static_cast<size_t>(
        ::SendMessageW(tooltip, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

// The frame button's hint in the system's language, whole; none once "Enable Hints" is unchecked.
TEST(OptionsDialog, HintsFollowTheEnableHintsBox) {
    bool german = IsGermanSystem(::GetSystemDefaultLangID());
    Program program;
    RECT button = program.ButtonRect(Id(Command::Frame));
    ::SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    HWND hint = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (hint = ShownHint(program.ProcessId())) != nullptr; }));
    std::wstring text = HintText(hint);
    // The designed hint, then the key that does the button's work.
    if (german) {
        EXPECT_TRUE(text.starts_with(L"Zeigt einen statischen, fensterunabh\u00e4ngigen Rahmen.\n\n")) << text;
        EXPECT_TRUE(text.ends_with(L"benutzen. \n\nTastenk\u00fcrzel: Druck (bei sichtbarem Rahmen)"));
    } else {
        const std::wstring key = L"\n\nShortcut: Print Screen (while the frame is shown)";
        EXPECT_EQ(text.size(), 354u + key.size());
        EXPECT_TRUE(text.ends_with(L"otherwise the 'print screen' button\ncapture the desktop. \n\nUse 'ctrl+v' in "
                                   L"your application to insert the captured image!" + key));
    }
    SaveArtifact(hint, german ? "hint-frame-button-de" : "hint-frame-button-en");
    MovePointerAway();
    ASSERT_TRUE(WaitFor([&] { return ShownHint(program.ProcessId()) == nullptr; }));

    HWND options = OpenOptions(program);
    HWND enableHints = ChildWithText(options, german ? L"Tipps anzeigen" : L"Enable Hints");
    ASSERT_TRUE(enableHints);
    ::SendMessageW(enableHints, BM_CLICK, 0, 0);
    PressOk(options);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) == 0; }));
    ASSERT_TRUE(WaitFor([&] { return WindowRect(program.MainWindow()).left >= 0; }));
    button = program.ButtonRect(Id(Command::Frame));
    ::SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    PumpMessages(std::chrono::milliseconds(1500));
    hint = ShownHint(program.ProcessId());
    EXPECT_FALSE(hint) << (hint ? HintText(hint) : L"");
    MovePointerAway();

    // The dialog's own controls: no hint while switched off, their hint once on again.
    options = OpenOptions(program);
    HWND clipboard = ChildWithText(options, german ? L"Zwischenablage" : L"Clipboard");
    ASSERT_TRUE(clipboard);
    RECT box = WindowRect(clipboard);
    ::SetCursorPos(box.left + 30, (box.top + box.bottom) / 2);
    PumpMessages(std::chrono::milliseconds(1500));
    hint = ShownHint(program.ProcessId());
    EXPECT_FALSE(hint) << (hint ? HintText(hint) : L"");
    ::SendMessageW(enableHints, BM_CLICK, 0, 0);
    ::SetCursorPos(box.left + 32, (box.top + box.bottom) / 2 + 1);
    ASSERT_TRUE(WaitFor([&] { return (hint = ShownHint(program.ProcessId())) != nullptr; }));
    EXPECT_EQ(HintText(hint), german ? L"Direkt in die Zwischenablage kopieren.\nDadurch wird der bereits enthaltene "
                                       L"Inhalt gel\u00f6scht."
                                     : L"Capture directly to your clipboard.\nOther content will be removed");
    SaveArtifact(options, german ? "options-hint-de" : "options-hint-en");
    MovePointerAway();
}

HWND StartPasteTarget(PROCESS_INFORMATION& process) {
    std::wstring exe = test::PathFromEnvironment(L"KORVAN_PASTE_TARGET");
    STARTUPINFOW startup{sizeof(startup)};
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return nullptr;
    HWND window = nullptr;
    WaitFor([&] { return (window = ::FindWindowW(L"KorvanPasteTarget", nullptr)) && ::IsWindowVisible(window); });
    return window;
}

// The user's way through the "Capture to" group: check, pick from the list, OK.
void ChoosePasteTarget(HWND options, int entry) {
    HWND paste = ChildWithText(options, L"Paste directly to:");
    if (!paste) paste = ChildWithText(options, L"Bild direkt einf\u00fcgen in:");
    ASSERT_TRUE(paste);
    if (::SendMessageW(paste, BM_GETCHECK, 0, 0) != BST_CHECKED) ::SendMessageW(paste, BM_CLICK, 0, 0);
    HWND list = ChildWithText(options, L"< Applications >");
    ASSERT_TRUE(list);
    ASSERT_TRUE(::IsWindowEnabled(list));
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    // What the list tells its window when the user picks an entry.
    ::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
}

// The system version the program is told (Wine's per-program setting), which chooses
// how the paint program's executable name is found.
void ReportVersion(const wchar_t* version) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\KorvanScreenshot.exe", L"Version", REG_SZ,
                      version, static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t)));
}

void PastesDirectly();

// 6.1: the module name of the window's process.
TEST(OptionsDialog, PastesDirectlyIntoTheChosenApplication) {
    ReportVersion(L"win7");
    PastesDirectly();
}

// 6.3: a snapshot of the running processes.
TEST(OptionsDialog, PastesDirectlyFoundThroughTheProcessSnapshot) {
    ReportVersion(L"win81");
    PastesDirectly();
}

void PastesDirectly() {
    PROCESS_INFORMATION paint{};
    HWND target = StartPasteTarget(paint);
    ASSERT_TRUE(target);
    {
        Program program;
        HWND options = OpenOptions(program);
        ChoosePasteTarget(options, 4);  // MSPaint
        PressOk(options);
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) == 0; }));
        EXPECT_FALSE(FindMessageBox(program.ProcessId(), L"application"));
        ::ShowWindow(target, SW_MINIMIZE);
        ASSERT_TRUE(program.CaptureDesktop());
        // Restored, brought forward, and Ctrl+V typed into it.
        EXPECT_TRUE(WaitFor([&] { return WindowText(target).starts_with(L"pasted "); }, std::chrono::seconds(10)))
            << WindowText(target);
        EXPECT_FALSE(::IsIconic(target));
        std::wstring size = std::to_wstring(::GetSystemMetrics(SM_CXSCREEN)) + L" x " +
                            std::to_wstring(::GetSystemMetrics(SM_CYSCREEN));
        EXPECT_EQ(WindowText(target), L"pasted " + size);
        ::TerminateProcess(paint.hProcess, 0);
        ::WaitForSingleObject(paint.hProcess, 5000);
        ::CloseHandle(paint.hProcess);
        ::CloseHandle(paint.hThread);

        // The program gone: OK says so, and the dialog closes all the same.
        options = OpenOptions(program);
        PressOk(options);
        std::wstring text;
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (box = FindMessageBox(program.ProcessId(), L"found the application", &text)); }));
        EXPECT_EQ(text, L"Dear User. We can\u00b4t found the application you choosed.\rBe sure that the application runs "
                        L"before you press \"OK\"!");
        wchar_t caption[64] = {};
        ::GetWindowTextW(box, caption, 64);
        EXPECT_STREQ(caption, L"Error");
        SaveArtifact(box, "options-error-message");
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) == 0; }));
    }
}

TEST(OptionsDialog, HotKeyFieldsMoveTheFrameAndSurviveARestart) {
    const WORD kCtrlAltJ = MAKEWORD('J', HOTKEYF_CONTROL | HOTKEYF_ALT);
    {
        Program program;
        HWND options = OpenOptions(program);
        std::vector<HWND> fields;
        for (HWND child : Descendants(options))
            if (ClassOf(child) == HOTKEY_CLASSW) fields.push_back(child);
        ASSERT_EQ(fields.size(), 16u);
        EXPECT_EQ(::SendMessageW(fields[0], HKM_GETHOTKEY, 0, 0), MAKEWORD(VK_LEFT, HOTKEYF_EXT)) << "fast move left";
        // Fast move, the first row: what the user types into the field.
        ::SendMessageW(fields[0], HKM_SETHOTKEY, kCtrlAltJ, 0);
        for (const wchar_t* box : {L"Enable", L"Store for further session"}) {
            HWND check = ChildWithText(options, box);
            ASSERT_TRUE(check);
            if (::SendMessageW(check, BM_GETCHECK, 0, 0) != BST_CHECKED) ::SendMessageW(check, BM_CLICK, 0, 0);
        }
        PressOk(options);
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) == 0; }));
        HWND frame = program.FindForm(L"TForm2");
        program.Activate();
        int left = WindowRect(frame).left;
        PressKey('J', {VK_CONTROL, VK_MENU});
        EXPECT_TRUE(WaitFor([&] { return WindowRect(frame).left == left - 5; }, std::chrono::seconds(3)))
            << "fast move left";
        EXPECT_EQ(ReadDword(kCursor, L"FM_L"), DWORD{0x4000u + 0x8000u + 'J'});
    }
    Program again;
    HWND options = again.FindForm(L"Toptionfrm");
    std::vector<HWND> fields;
    for (HWND child : Descendants(options))
        if (ClassOf(child) == HOTKEY_CLASSW) fields.push_back(child);
    ASSERT_EQ(fields.size(), 16u);
    EXPECT_EQ(::SendMessageW(fields[0], HKM_GETHOTKEY, 0, 0), kCtrlAltJ);
    EXPECT_EQ(ReadDword(kCursor, L"enable"), DWORD{1});
}

} // namespace
} // namespace korvan::e2e
