// The program on a busy desktop: a paste target that stops answering while it is
// restored, another window that takes the foreground from it, a clipboard reader that
// reads every new clipboard at once, Windows ending the session, and a DLL of a system
// DLL's name planted beside the program.
#include "app/ToolbarLayout.h"
#include "e2e/Driver.h"
#include "saving/win32/SaveDialog.h"
#include "support/win32/WinePath.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace korvan::e2e {
namespace {

using namespace std::chrono_literals;

const wchar_t kNotPasted[] = L"Not pasted: the target application did not come to the front.";

using test::WindowsPath;

// The top-level window of that class that the process shows.
HWND WindowOf(DWORD processId, const wchar_t* className) {
    for (HWND window = ::FindWindowExW(nullptr, nullptr, className, nullptr); window;
         window = ::FindWindowExW(nullptr, window, className, nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId) return window;
    }
    return nullptr;
}

// Runs a command of the Linux side through the shell and waits until it is done (the
// shell leaves a file behind then).
void Shell(const std::string& command) {
    static int run = 0;
    std::string done = "/tmp/korvan-busy-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++run);
    std::string script = command + "; touch " + done;
    std::wstring line = L"sh -c \"" + std::wstring(script.begin(), script.end()) + L"\"";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &process));
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    std::wstring marker = WindowsPath(std::wstring(done.begin(), done.end()));
    EXPECT_TRUE(WaitFor([&] { return ::GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; })) << command;
    ::DeleteFileW(marker.c_str());
}

// The paint program's stand-in, started with the given options; stopped and continued
// from the Linux side as a debugger or a frozen program would be.
class PasteTarget {
public:
    explicit PasteTarget(const std::wstring& options = L"") {
        std::wstring exe = WindowsPath(Env(L"KORVAN_PASTE_TARGET"));
        std::wstring line = L"\"" + exe + L"\" " + options;
        STARTUPINFOW startup{sizeof(startup)};
        if (!::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &process_))
            return;
        WaitFor([&] {
            window_ = WindowOf(process_.dwProcessId, L"KorvanPasteTarget");
            return window_ && ::IsWindowVisible(window_) && ::GetPropW(window_, L"KorvanUnixPid");
        });
    }
    ~PasteTarget() {
        if (stopped_) Continue();
        ::TerminateProcess(process_.hProcess, 0);
        ::WaitForSingleObject(process_.hProcess, 5000);
        ::CloseHandle(process_.hProcess);
        ::CloseHandle(process_.hThread);
    }
    PasteTarget(const PasteTarget&) = delete;
    PasteTarget& operator=(const PasteTarget&) = delete;

    HWND Window() const { return window_; }
    std::wstring Title() const { return WindowText(window_); }
    void Stop() {
        Signal("STOP");
        stopped_ = true;
    }
    void Continue() {
        Signal("CONT");
        stopped_ = false;
    }

private:
    // The Unix process of this test's paste target: the one of that name in this test's
    // own Wine prefix.
    void Signal(const std::string& name) {
        std::wstring prefix = Env(L"WINEPREFIX");
        ASSERT_FALSE(prefix.empty());
        Shell("for p in $(pgrep -f '^Z:.*MSPAINT.exe'); do grep -qzx 'WINEPREFIX=" +
              std::string(prefix.begin(), prefix.end()) + "' /proc/$p/environ && kill -" + name + " $p; done");
    }

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    bool stopped_ = false;
};

HWND OpenOptions(Program& program) {
    program.ClickButton(Id(Command::Options));
    HWND options = program.FindForm(L"Toptionfrm");
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) != 0; }));
    return options;
}

void Check(HWND box) {
    if (::SendMessageW(box, BM_GETCHECK, 0, 0) != BST_CHECKED) ::SendMessageW(box, BM_CLICK, 0, 0);
}

// Options: paste directly into "MSPaint" (found by OK), minimising it during captures
// when asked.
void PasteIntoPaint(Program& program, bool minimiseWhileCapturing) {
    HWND options = OpenOptions(program);
    Check(ChildWithText(options, L"Paste directly to:"));
    if (minimiseWhileCapturing) Check(ChildWithText(options, L"Minimize application if capture is active"));
    HWND list = ChildWithText(options, L"< Applications >");
    ASSERT_TRUE(list && ::IsWindowEnabled(list));
    ::SendMessageW(list, CB_SETCURSEL, 4, 0);
    ::SendMessageW(options, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    ::PostMessageW(options, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) == 0; }));
    EXPECT_FALSE(FindMessageBox(program.ProcessId(), L"application"));
}

// Options: automatic saving under the given name, chosen in the save dialog.
void SaveAutomatically(Program& program, const std::filesystem::path& name) {
    HWND options = OpenOptions(program);
    ::PostMessageW(ChildWithText(options, L"Save images automtically"), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        HWND found = ::GetForegroundWindow();
        DWORD processId = 0;
        ::GetWindowThreadProcessId(found, &processId);
        HWND panel = nullptr;
        if (processId == program.ProcessId())
            ::EnumChildWindows(
                found,
                [](HWND child, LPARAM panelOut) {
                    if (::GetDlgCtrlID(child) != win::SaveDialog::kPanelId) return TRUE;
                    *reinterpret_cast<HWND*>(panelOut) = child;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&panel));
        return (dialog = panel ? found : nullptr) != nullptr;
    }));
    constexpr int kFileNameBox = 0x47c;  // the system dialog's file name box (cmb13)
    ::SendMessageW(::GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.wstring().c_str()));
    ::PostMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
    ::PostMessageW(options, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) == 0; }));
}

std::filesystem::path FreshFolder(const std::string& name) {
    std::filesystem::path folder = std::filesystem::path(WindowsPath(Env(L"KORVAN_ARTIFACTS"))) / name;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    return folder;
}

// The "not pasted" notice, once it shows; it is closed again.
bool NotPastedToldOnce(const Program& program, const std::string& artifact) {
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = FindMessageBox(program.ProcessId(), kNotPasted)) != nullptr; })) return false;
    SaveArtifact(box, artifact);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !::IsWindow(box); });
    return FindMessageBox(program.ProcessId(), kNotPasted) == nullptr;
}

// A paste target stopped while the program restores it holds nothing up: the main window
// is back within 3 seconds, no key is typed, and the user is told once.
TEST(BusyDesktop, StoppedPasteTargetHoldsNothingUp) {
    PasteTarget target;
    ASSERT_TRUE(target.Window());
    Program program;
    PasteIntoPaint(program, false);
    ::ShowWindow(target.Window(), SW_MINIMIZE);
    ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT home = WindowRect(program.MainWindow());
    program.ClickButton(Id(Command::Desktop));
    ASSERT_TRUE(WaitFor([&] { return WindowRect(program.MainWindow()).left < home.left; }));
    target.Stop();
    auto stopped = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitFor([&] { return WindowRect(program.MainWindow()).left == home.left; }, 10s));
    EXPECT_LT(std::chrono::steady_clock::now() - stopped, 3s);
    EXPECT_TRUE(NotPastedToldOnce(program, "not-pasted-stopped-target"));
    target.Continue();
    Settle(target.Window());
    EXPECT_EQ(target.Title(), L"waiting for Ctrl+V");
}

// Another window takes the foreground as the target is restored: Ctrl+V is typed into
// neither, and the user is told once.
TEST(BusyDesktop, NoKeysForAFocusThief) {
    PasteTarget target(L"--thief");
    ASSERT_TRUE(target.Window());
    Program program;
    PasteIntoPaint(program, true);
    ASSERT_NE(program.CaptureDesktop(), nullptr);
    EXPECT_TRUE(NotPastedToldOnce(program, "not-pasted-focus-thief"));
    HWND thief = ::FindWindowW(L"KorvanFocusThief", nullptr);
    ASSERT_TRUE(thief && ::IsWindowVisible(thief));
    Settle(thief);
    Settle(target.Window());
    EXPECT_EQ(WindowText(thief), L"focus thief");
    EXPECT_EQ(target.Title(), L"waiting for Ctrl+V");
}

// Another program sends the options dialog the discovery message with a window of its
// choice: the target stays the one the dialog's own search found.
TEST(BusyDesktop, OnlyTheOptionsOwnSearchSetsThePasteTarget) {
    PasteTarget chosen;
    ASSERT_TRUE(chosen.Window());
    Program program;
    PasteIntoPaint(program, false);
    PasteTarget other;
    ASSERT_TRUE(other.Window() && other.Window() != chosen.Window());
    HWND options = program.FindForm(L"Toptionfrm");
    ::SendMessageW(options, ::RegisterWindowMessageW(L"Enumerate this Window"), 0,
                   reinterpret_cast<LPARAM>(other.Window()));
    ASSERT_NE(program.CaptureDesktop(), nullptr);
    EXPECT_TRUE(WaitFor([&] { return chosen.Title().starts_with(L"pasted "); })) << chosen.Title().c_str();
    EXPECT_EQ(other.Title(), L"waiting for Ctrl+V");
}

// A clipboard another program keeps open through the whole capture does not cost the
// automatic save its file: it is written, then the clipboard's error is shown.
TEST(BusyDesktop, AClipboardHeldOpenStillLeavesTheSavedFile) {
    Program program;
    std::filesystem::path folder = FreshFolder("held-clipboard");
    SaveAutomatically(program, folder / "held.bmp");
    HWND holder = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(::OpenClipboard(holder));
    program.ClickButton(Id(Command::Desktop));
    std::wstring text;
    HWND box = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (box = FindMessageBox(program.ProcessId(), L"Copy:", &text)) != nullptr; }));
    ::CloseClipboard();
    ::DestroyWindow(holder);
    EXPECT_NE(text.find(L"Cannot open the clipboard (held by e2e_tests.exe)"), std::wstring::npos)
        << std::string(text.begin(), text.end());
    EXPECT_TRUE(std::filesystem::exists(folder / "held1.bmp"));
    if (box) {
        SaveArtifact(box, "clipboard-held-file-saved");
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
}

// Reads every new clipboard at once, both forms, as clipboard histories do, on a thread
// of its own.
class ClipboardReader {
public:
    ClipboardReader() {
        thread_ = std::thread([this] { Run(); });
        WaitFor([&] { return window_.load() != nullptr; });
    }
    ~ClipboardReader() {
        ::PostMessageW(window_, WM_CLOSE, 0, 0);
        thread_.join();
    }
    int PngReads() const { return pngReads_; }

private:
    void Run() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            auto* self = reinterpret_cast<ClipboardReader*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            if (message == WM_CLIPBOARDUPDATE && self) self->Read(hwnd);
            if (message == WM_CLOSE) ::PostQuitMessage(0);
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
        };
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KorvanClipboardReader";
        ::RegisterClassW(&wc);
        HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::AddClipboardFormatListener(hwnd);
        window_ = hwnd;
        MSG message;
        while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
        ::RemoveClipboardFormatListener(hwnd);
        ::DestroyWindow(hwnd);
    }
    void Read(HWND hwnd) {
        if (!::OpenClipboard(hwnd)) return;
        if (::GetClipboardData(::RegisterClipboardFormatW(L"PNG"))) ++pngReads_;
        ::GetClipboardData(CF_DIB);
        ::CloseClipboard();
    }

    std::thread thread_;
    std::atomic<HWND> window_{nullptr};
    std::atomic<int> pngReads_{0};
};

// A clipboard history reading every capture at once costs no capture its file or its
// paste: each is saved under its number and pasted, and no error shows.
TEST(BusyDesktop, EveryCaptureSavedAndPastedWhileAReaderReadsTheClipboard) {
    PasteTarget target(L"--count");
    ASSERT_TRUE(target.Window());
    ClipboardReader reader;
    Program program;
    std::filesystem::path folder = FreshFolder("busy-clipboard");
    SaveAutomatically(program, folder / "shot.bmp");
    PasteIntoPaint(program, false);
    constexpr int kCaptures = 4;
    for (int capture = 1; capture <= kCaptures; ++capture) {
        ASSERT_NE(program.CaptureDesktop(), nullptr) << capture;
        std::string suffix = " #" + std::to_string(capture);
        EXPECT_TRUE(WaitFor([&] {
            std::wstring title = target.Title();
            return title.size() > suffix.size() && title.ends_with(std::wstring(suffix.begin(), suffix.end()));
        })) << target.Title().c_str();
        EXPECT_TRUE(WaitFor([&] { return std::filesystem::exists(folder / ("shot" + std::to_string(capture) + ".bmp")); }))
            << capture;
        EXPECT_FALSE(FindMessageBox(program.ProcessId(), L"")) << capture;
    }
    EXPECT_GE(reader.PngReads(), kCaptures);
}

// What Windows sends every top-level window of a program when it ends the session (here
// as an installer's restart manager does): the question, then the answer.
void EndSession(DWORD processId) {
    std::vector<HWND> windows;
    struct Search {
        DWORD processId;
        std::vector<HWND>& windows;
    } search{processId, windows};
    ::EnumWindows(
        [](HWND window, LPARAM lParam) {
            auto s = reinterpret_cast<Search*>(lParam);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId) s->windows.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    DWORD_PTR answer = 0;
    for (HWND window : windows)
        ::SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_NORMAL, 5000, &answer);
    for (HWND window : windows)
        ::SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_NORMAL, 5000, &answer);
}

// Windows ending the session calls an armed pick off (cursors back), stores the main
// window's placement where the user had it, and ends the program as a close would.
TEST(BusyDesktop, SessionEndCallsThePickOffAndStoresThePlacement) {
    const wchar_t kPickMarker[] = L"Software\\KorvanScreenshot\\PickCursorShown";
    Program program;
    ::SetWindowPos(program.MainWindow(), HWND_TOP, 123, 77, 0, 0, SWP_NOSIZE);
    RECT home = WindowRect(program.MainWindow());
    program.ClickButton(Id(Command::Window));
    ASSERT_TRUE(WaitFor([&] { return WindowRect(program.MainWindow()).left < home.left; }));
    ASSERT_TRUE(KeyExists(kPickMarker));
    EndSession(program.ProcessId());
    EXPECT_TRUE(WaitFor([&] { return !program.Running(); }));
    EXPECT_FALSE(KeyExists(kPickMarker));
    std::optional<std::wstring> stored = ReadString(L"Software\\KorvanScreenshot\\TMainfrm", L"NormPos");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->rfind(L"123,77,", 0), 0u) << stored->c_str();
}

// A DLL named like the rich edit and process-status DLLs, beside the program, with Wine
// told to prefer such files to its own: the program loads the system's, never these.
TEST(DllSearch, DllsBesideTheProgramNeverLoad) {
    std::filesystem::path folder = FreshFolder("planted-dlls");
    std::filesystem::path exe = folder / "KorvanScreenshot.exe";
    std::filesystem::copy_file(WindowsPath(Env(L"KORVAN_EXE")), exe);
    const std::wstring planted[] = {L"Msftedit.dll", L"PSAPI.dll", L"dwmapi.dll"};
    for (const std::wstring& name : planted) std::filesystem::copy_file(WindowsPath(Env(L"KORVAN_MARKER_DLL")), folder / name);
    const wchar_t overrides[] = L"Software\\Wine\\AppDefaults\\KorvanScreenshot.exe\\DllOverrides";
    for (const wchar_t* dll : {L"msftedit", L"psapi", L"dwmapi"})
        ::RegSetKeyValueW(HKEY_CURRENT_USER, overrides, dll, REG_SZ, L"native,builtin", sizeof(L"native,builtin"));
    // The module-name search of the paste target uses the process-status DLL.
    ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\KorvanScreenshot.exe", L"Version", REG_SZ,
                      L"win7", sizeof(L"win7"));
    ::SetEnvironmentVariableW(L"KORVAN_EXE", exe.wstring().c_str());
    {
        PasteTarget target;
        Program program;
        PasteIntoPaint(program, false);  // found through the process-status DLL
        HWND help = program.FindForm(L"Thelpfrm");
        EXPECT_TRUE(help && ::FindWindowExW(help, nullptr, L"RICHEDIT50W", nullptr));  // the system's rich edit works
        program.ClickButton(Id(Command::Object));  // the window manager's DLL is asked about windows
        HWND overlay = nullptr;
        EXPECT_TRUE(WaitFor([&] {
            overlay = program.FindForm(L"KorvanCaptureOverlay");
            return overlay && ::IsWindowVisible(overlay) && ::GetForegroundWindow() == overlay;
        }));
        Shell("xdotool key Escape");
        EXPECT_TRUE(WaitFor([&] { return !overlay || !::IsWindowVisible(overlay); }));
    }
    for (const std::wstring& name : planted)
        EXPECT_FALSE(std::filesystem::exists(folder / (name + L".loaded"))) << std::string(name.begin(), name.end());
}

} // namespace
} // namespace korvan::e2e
