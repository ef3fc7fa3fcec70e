// The help window and the info window as a user meets them, in English and, with the
// system language German, in German.
#include "app/ToolbarLayout.h"
#include "e2e/Driver.h"
#include "imaging/Bitmap.h"
#include "support/win32/WinePath.h"

#include <gtest/gtest.h>

#include <richedit.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace korvan::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kFontSizeCombo = 0x472, kFontStyleCombo = 0x471, kFontNameCombo = 0x470;

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

struct VisibleSearch {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* title;
    HWND found = nullptr;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM lParam) {
    auto search = reinterpret_cast<VisibleSearch*>(lParam);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    wchar_t name[64];
    if (processId != search->processId || !::IsWindowVisible(window) || !::GetClassNameW(window, name, 64) ||
        wcscmp(name, search->className) != 0 || (search->title && WindowText(window) != search->title))
        return TRUE;
    search->found = window;
    return FALSE;
}

// A visible top-level window of the program: a context menu ("#32768") or a dialog.
HWND WaitForVisible(const Program& program, const wchar_t* className, const wchar_t* title = nullptr) {
    VisibleSearch search{program.ProcessId(), className, title};
    WaitFor([&] {
        ::EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

// The help window, opened by F1 while the main window is active.
HWND OpenHelp(Program& program) {
    program.Activate();
    ::SetForegroundWindow(program.MainWindow());
    PressKey(VK_F1);
    HWND help = program.FindForm(L"Thelpfrm");
    return WaitFor([&] { return ::IsWindowVisible(help) != 0; }) ? help : nullptr;
}

HWND EditorOf(HWND help) { return ::FindWindowExW(help, nullptr, MSFTEDIT_CLASS, nullptr); }

// Chooses an item of the editor's context menu with the mouse.
void ChooseFromContextMenu(const Program& program, HWND editor, int item) {
    RECT rect = WindowRect(editor);
    ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    HWND menu = WaitForVisible(program, L"#32768");
    ASSERT_NE(menu, nullptr) << "no context menu";
    RECT box = WindowRect(menu);
    int itemHeight = (box.bottom - box.top) / 2;  // two items
    ClickAt((box.left + box.right) / 2, box.top + itemHeight * item + itemHeight / 2);
}

// The program starts in the given folder, where the help window saves its file.
struct WorkingFolder {
    explicit WorkingFolder(const fs::path& folder) {
        fs::create_directories(folder);
        wchar_t old[MAX_PATH];
        ::GetCurrentDirectoryW(MAX_PATH, old);
        previous = old;
        ::SetCurrentDirectoryW(folder.c_str());
    }
    ~WorkingFolder() { ::SetCurrentDirectoryW(previous.c_str()); }
    fs::path previous;
};

fs::path TempFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    return fs::path(temp) / name;
}

// Registers a stand-in browser for https addresses that writes the address it is given
// to a file, and answers that file.
fs::path RegisterTestBrowser() {
    fs::path opened = TempFolder(L"opened-address.txt");
    fs::remove(opened);
    std::wstring command = L"C:\\windows\\system32\\cmd.exe /c echo %1>\"" + opened.wstring() + L"\"";
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_CLASSES_ROOT, L"https\\shell\\open\\command", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                      nullptr);
    ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                     static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    return opened;
}

// The address the stand-in browser was asked to open, once it has been.
std::string OpenedAddress(const fs::path& opened) {
    std::string address;
    WaitFor([&] {
        address = ReadAll(opened);
        return address.find('\n') != std::string::npos;
    });
    while (!address.empty() && (address.back() == '\n' || address.back() == '\r' || address.back() == ' '))
        address.pop_back();
    return address;
}

HWND OpenInfo(Program& program) {
    program.ClickButton(Id(Command::Info));
    HWND info = program.FindForm(L"TAboutfrm");
    return WaitFor([&] { return ::IsWindowVisible(info) != 0; }) ? info : nullptr;
}

std::vector<std::wstring> ChildTexts(HWND window) {
    std::vector<std::wstring> texts;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        texts.push_back(WindowText(child));
    return texts;
}

void ClickCentre(HWND window) {
    RECT rect = WindowRect(window);
    ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// A copy of a saved file beside the pictures, for other readers.
void KeepAsArtifact(const fs::path& file) {
    std::wstring folder = test::PathFromEnvironment(L"KORVAN_ARTIFACTS");
    if (folder.empty()) return;
    std::error_code ec;
    fs::copy_file(file, fs::path(folder) / file.filename(), fs::copy_options::overwrite_existing, ec);
}

// Rich text as another reader sees it: a complete group that starts with the header.
void ExpectWellFormedRtf(const std::string& rtf) {
    ASSERT_EQ(rtf.rfind("{\\rtf1", 0), 0u) << rtf.substr(0, 40);
    int depth = 0;
    size_t closedAt = std::string::npos;
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') ++i;
        else if (rtf[i] == '{') ++depth;
        else if (rtf[i] == '}' && --depth == 0 && closedAt == std::string::npos) closedAt = i;
    }
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(rtf.find_first_not_of("\r\n", closedAt + 1), std::string::npos) << "text after the outer group";
}

TEST(HelpWindow, F1OpensTheHelpTextCentredOnTheMainWindow) {
    Program program;
    HWND help = OpenHelp(program);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(WindowText(help), L"Small Help");
    EXPECT_TRUE(::GetWindowLongPtrW(help, GWL_STYLE) & WS_THICKFRAME);
    RECT rect = WindowRect(help), main = WindowRect(program.MainWindow());
    EXPECT_EQ(rect.right - rect.left, 317);
    EXPECT_EQ(rect.bottom - rect.top, 349);
    EXPECT_NEAR(rect.left + rect.right, main.left + main.right, 2);
    EXPECT_NEAR(rect.top + rect.bottom, main.top + main.bottom, 2);

    HWND editor = EditorOf(help);
    ASSERT_NE(editor, nullptr);
    // Lines wrap at the edge, so only the vertical scroll bar is needed.
    EXPECT_TRUE(::GetWindowLongPtrW(editor, GWL_STYLE) & WS_VSCROLL);
    std::wstring text = WindowText(editor);
    EXPECT_EQ(text.find(L"RichEdit1"), std::wstring::npos);
    for (const wchar_t* part : {L"Print Screen", L"Alt+F5", L"Desktop", L"Options", L"help_us.rtf"})
        EXPECT_NE(text.find(part), std::wstring::npos) << "missing " << part;
    SaveArtifact(help, "help-window");

    // The context menu comes from the keyboard too.
    PressKey(VK_F10, {VK_SHIFT});
    HWND menu = WaitForVisible(program, L"#32768");
    EXPECT_NE(menu, nullptr);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(menu); }));

    // Shown again after closing, it comes back in the same place.
    ::PostMessageW(help, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(help) == 0; }));
    ::SendMessageW(program.MainWindow(), WM_COMMAND, Id(Command::Help), 0);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(help) != 0; }));
    EXPECT_EQ(WindowRect(help).left, rect.left);
}

// Save writes the editor's rich text to help_us.rtf in the current folder; a second
// save replaces the file.
TEST(HelpWindow, SaveWritesTheRichTextFileAndASecondSaveReplacesIt) {
    fs::path folder = TempFolder(L"help-save");
    WorkingFolder working(folder);
    Program program;
    HWND help = OpenHelp(program);
    ASSERT_NE(help, nullptr);
    HWND editor = EditorOf(help);
    ChooseFromContextMenu(program, editor, 0);
    fs::path file = folder / "help_us.rtf";
    ASSERT_TRUE(WaitFor([&] { return fs::exists(file) && fs::file_size(file) > 0; }));
    std::string first = ReadAll(file);
    ExpectWellFormedRtf(first);
    EXPECT_NE(first.find("Print Screen"), std::string::npos);
    KeepAsArtifact(file);

    ::SendMessageW(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Replaced text"));
    ChooseFromContextMenu(program, editor, 0);
    ASSERT_TRUE(WaitFor([&] { return ReadAll(file).find("Replaced text") != std::string::npos; }));
    std::string second = ReadAll(file);
    ExpectWellFormedRtf(second);
    EXPECT_EQ(second.find("Print Screen"), std::string::npos);
    EXPECT_LT(second.size(), first.size());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
}

// In a folder where no file can be created, Save shows the message with the name and
// the editor keeps its text.
TEST(HelpWindow, AFolderWhereTheFileCannotBeCreatedShowsTheMessage) {
    WorkingFolder working(L"Z:\\proc");
    Program program;
    HWND help = OpenHelp(program);
    ASSERT_NE(help, nullptr);
    HWND editor = EditorOf(help);
    std::wstring before = WindowText(editor);
    ChooseFromContextMenu(program, editor, 0);
    std::wstring message;
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindMessageBox(program.ProcessId(), L"Cannot create file", &message)); }));
    EXPECT_EQ(message, L"Cannot create file Z:\\proc\\help_us.rtf");
    SaveArtifact(box, "help-save-error");
    ::PostMessageW(box, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
    EXPECT_EQ(WindowText(editor), before);
}

// Format presets the font dialog with the editor's font and gives the selection the
// chosen size and style.
TEST(HelpWindow, FormatGivesTheSelectionTheChosenFont) {
    Program program;
    HWND help = OpenHelp(program);
    ASSERT_NE(help, nullptr);
    HWND editor = EditorOf(help);
    ::SendMessageW(editor, EM_SETSEL, 0, -1);
    ChooseFromContextMenu(program, editor, 1);
    HWND dialog = WaitForVisible(program, L"#32770", L"Font");
    ASSERT_NE(dialog, nullptr);
    // The editor's font: the message font, a face the dialog lists.
    wchar_t face[LF_FACESIZE] = L"";
    HDC screen = ::GetDC(nullptr);
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT messageFont = ::CreateFontIndirectW(&metrics.lfMessageFont);
    HGDIOBJ old = ::SelectObject(screen, messageFont);
    ::GetTextFaceW(screen, LF_FACESIZE, face);
    ::SelectObject(screen, old);
    ::DeleteObject(messageFont);
    ::ReleaseDC(nullptr, screen);
    int points = ::MulDiv(-metrics.lfMessageFont.lfHeight, 72, 96);
    WaitFor([&] { return WindowText(::GetDlgItem(dialog, kFontSizeCombo)) == std::to_wstring(points); });
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, kFontNameCombo)), face);
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, kFontSizeCombo)), std::to_wstring(points));
    SaveArtifact(dialog, "help-format-dialog");

    for (auto [combo, item] : {std::pair{kFontSizeCombo, L"20"}, std::pair{kFontStyleCombo, L"Bold"}}) {
        HWND list = ::GetDlgItem(dialog, combo);
        ASSERT_NE(::SendMessageW(list, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item)),
                  CB_ERR) << "no item " << item;
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
    ::PostMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));

    // The selection's format, read in the program's memory.
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                                   program.ProcessId());
    ASSERT_NE(process, nullptr);
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    void* remote = ::VirtualAllocEx(process, nullptr, sizeof(format), MEM_COMMIT, PAGE_READWRITE);
    ::WriteProcessMemory(process, remote, &format, sizeof(format), nullptr);
    ::SendMessageW(editor, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(remote));
    ::ReadProcessMemory(process, remote, &format, sizeof(format), nullptr);
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    ::CloseHandle(process);
    EXPECT_EQ(format.yHeight, 20 * 20);  // twips
    EXPECT_TRUE(format.dwEffects & CFE_BOLD);
    ::SendMessageW(editor, EM_SETSEL, 0, 0);
    SaveArtifact(help, "help-window-formatted");
}

// The info window: its size and colour, its texts, the link opening the English page,
// OK hiding it.
TEST(InfoWindow, ShowsItsTextsAndTheLinkOpensTheEnglishPage) {
    fs::path opened = RegisterTestBrowser();
    Program program;
    HWND info = OpenInfo(program);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(WindowText(info), L"Info");
    EXPECT_TRUE(::GetWindowLongPtrW(info, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    RECT client{};
    ::GetClientRect(info, &client);
    EXPECT_EQ(client.right, 274);
    EXPECT_EQ(client.bottom, 213);
    std::vector<std::wstring> texts = ChildTexts(info);
    for (const wchar_t* text : {L"Version: 2.3", L"The screenshot tool for Windows", L"korvan-screenshot.example", L"OK"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << "missing " << text;
    POINT corner{4, 4};
    ::ClientToScreen(info, &corner);
    imaging::Bitmap pixel = GrabScreen(corner.x, corner.y, 1, 1);
    EXPECT_EQ(pixel.Row(0)[2], 251);
    EXPECT_EQ(pixel.Row(0)[1], 167);
    EXPECT_EQ(pixel.Row(0)[0], 76);
    SaveArtifact(info, "info-window-en");

    ClickCentre(ChildWithText(info, L"korvan-screenshot.example"));
    EXPECT_EQ(OpenedAddress(opened), "https://korvan-screenshot.example/en/");
    ClickCentre(ChildWithText(info, L"OK"));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(info) == 0; }));
}

// On a German system the help text and the info line are German, Save writes
// help_de.rtf and the link opens the German page.
TEST(German, HelpAndInfoWindowsSpeakGerman) {
    ASSERT_EQ(::GetSystemDefaultLangID(), 0x0407) << "the test needs LC_ALL=de_DE.UTF-8";
    fs::path opened = RegisterTestBrowser();
    fs::path folder = TempFolder(L"help-save-de");
    WorkingFolder working(folder);
    Program program;
    HWND help = OpenHelp(program);
    ASSERT_NE(help, nullptr);
    HWND editor = EditorOf(help);
    std::wstring text = WindowText(editor);
    for (const wchar_t* part : {L"Druck", L"Alt+F5", L"Rahmentasten", L"Einstellungen", L"help_de.rtf"})
        EXPECT_NE(text.find(part), std::wstring::npos) << "missing " << part;
    SaveArtifact(help, "help-window-de");
    ChooseFromContextMenu(program, editor, 0);
    ASSERT_TRUE(WaitFor([&] { return fs::exists(folder / "help_de.rtf") && fs::file_size(folder / "help_de.rtf"); }));
    EXPECT_FALSE(fs::exists(folder / "help_us.rtf"));
    KeepAsArtifact(folder / "help_de.rtf");
    ::PostMessageW(help, WM_CLOSE, 0, 0);

    HWND info = OpenInfo(program);
    ASSERT_NE(info, nullptr);
    std::vector<std::wstring> texts = ChildTexts(info);
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"Bildschirmfotos f\u00fcr Windows"), texts.end());
    SaveArtifact(info, "info-window-de");
    ClickCentre(ChildWithText(info, L"korvan-screenshot.example"));
    EXPECT_EQ(OpenedAddress(opened), "https://korvan-screenshot.example/de/");
}

// At 144 dots per inch both windows grow with the screen.
TEST(Dpi, HelpAndInfoWindowsScaleAt144DotsPerInch) {
    WriteDword(L"Control Panel\\Desktop", L"LogPixels", 144);
    Program program;
    HWND info = OpenInfo(program);
    ASSERT_NE(info, nullptr);
    RECT client{};
    ::GetClientRect(info, &client);
    EXPECT_EQ(client.right, 411);
    EXPECT_EQ(client.bottom, 320);
    SaveArtifact(info, "info-window-144dpi");
    ::PostMessageW(info, WM_CLOSE, 0, 0);
    HWND help = OpenHelp(program);
    ASSERT_NE(help, nullptr);
    RECT rect = WindowRect(help);
    EXPECT_EQ(rect.right - rect.left, 476);  // 317 at 96 dots per inch
    EXPECT_EQ(rect.bottom - rect.top, 524);  // 349
    SaveArtifact(help, "help-window-144dpi");
}

} // namespace
} // namespace korvan::e2e
