#include "e2e/Driver.h"

#include "imaging/ImageFile.h"
#include "imaging/Status.h"
#include "imaging/win32/ScreenGrabberWin32.h"
#include "platform/win32/Dib.h"
#include "support/win32/Artifacts.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace korvan::e2e {
namespace {

using test::WindowsPath;

struct FindContext {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM lParam) {
    auto context = reinterpret_cast<FindContext*>(lParam);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    wchar_t name[64];
    if (processId == context->processId && ::GetClassNameW(window, name, 64) && wcscmp(name, context->className) == 0) {
        context->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::wstring Env(const wchar_t* name) {
    wchar_t buffer[4096];
    DWORD length = ::GetEnvironmentVariableW(name, buffer, 4096);
    return length ? std::wstring(buffer, length) : std::wstring();
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        PumpMessages(std::chrono::milliseconds(20));
    }
}

void PumpMessages(std::chrono::milliseconds duration) {
    auto deadline = std::chrono::steady_clock::now() + duration;
    do {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(5);
    } while (std::chrono::steady_clock::now() < deadline);
}

void Settle(HWND window) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
}

namespace {

// Synthetic input goes through the display driver, which a process loads with its first
// window: the driver keeps one small window of its own from the start.
void EnsureDisplayDriver() {
    static HWND anchor = [] {
        HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, -100, -100, 1, 1, nullptr,
                                        nullptr, ::GetModuleHandleW(nullptr), nullptr);
        WaitFor([&] { return ::IsWindowVisible(window) != 0; });
        return window;
    }();
    (void)anchor;
}

bool CursorAt(int x, int y) {
    POINT cursor{};
    return ::GetCursorPos(&cursor) && cursor.x == x && cursor.y == y;
}

// Moves the pointer until it is where it should be and stays there for a few polls: the
// display server may still echo an earlier position, which would move it back.
void MovePointer(const INPUT& move, const std::function<bool()>& there) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        ::SendInput(1, const_cast<INPUT*>(&move), sizeof(INPUT));
        if (!WaitFor(there, std::chrono::seconds(2))) continue;
        bool steady = true;
        for (int poll = 0; poll < 3 && steady; ++poll) {
            PumpMessages(std::chrono::milliseconds(10));
            steady = there();
        }
        if (steady) return;
    }
}

bool KeyDown(int virtualKey) { return (::GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

// Brings a window of ours or of the program to the foreground and waits until the
// program has handled the switch (its activation handlers have run).
void ForegroundAndSettle(HWND window, HWND programWindow) {
    ::SetForegroundWindow(window);
    WaitFor([&] { return ::GetForegroundWindow() == window; });
    if (programWindow && ::IsWindow(programWindow)) Settle(programWindow);
}

} // namespace

Program::Program(const wchar_t* exeVariable) {
    EnsureDisplayDriver();
    std::wstring exe = WindowsPath(Env(exeVariable));
    if (exe.empty()) throw std::runtime_error("the program's path is not set");
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{sizeof(startup)};
    // A Wine session that is still starting its own services now and then refuses a
    // process start: try again for a while.
    DWORD error = 0;
    bool started = WaitFor([&] {
        if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process_))
            return true;
        bool first = error == 0;
        error = ::GetLastError();
        if (first) std::fprintf(stderr, "starting the program failed with error %lu; trying again\n", error);
        return false;
    }, std::chrono::seconds(5));
    if (!started) throw std::runtime_error("cannot start the program, error " + std::to_string(error));
    WaitFor([&] {
        main_ = FindForm(L"TMainfrm");
        return main_ && ::IsWindowVisible(main_);
    }, std::chrono::seconds(30));
    if (!main_) throw std::runtime_error("the main window did not appear");
    ::WaitForInputIdle(process_.hProcess, 5000);
    MovePointerAway();
    Settle(main_);
}

Program::~Program() {
    if (Running()) {
        if (main_ && ::IsWindow(main_)) ::PostMessageW(main_, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) ::TerminateProcess(process_.hProcess, 1);
    }
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
}

bool Program::Running() const { return ::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

DWORD Program::ExitCode() const {
    DWORD code = 0;
    ::GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

HWND Program::FindForm(const wchar_t* className) const {
    FindContext context{process_.dwProcessId, className, nullptr};
    ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

HWND Program::ToolBar() const { return ::FindWindowExW(main_, nullptr, TOOLBARCLASSNAMEW, nullptr); }

RECT Program::ButtonRect(int commandId) const {
    HWND toolBar = ToolBar();
    auto index = static_cast<int>(::SendMessageW(toolBar, TB_COMMANDTOINDEX, static_cast<WPARAM>(commandId), 0));
    return ItemRect(toolBar, TB_GETITEMRECT, static_cast<WPARAM>(index));
}

RECT Program::ItemRect(HWND control, UINT message, WPARAM index) const {
    // The control writes the rectangle in its own process, so it gets memory there.
    RECT rect{};
    void* remote = ::VirtualAllocEx(process_.hProcess, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return rect;
    ::SendMessageW(control, message, index, reinterpret_cast<LPARAM>(remote));
    ::ReadProcessMemory(process_.hProcess, remote, &rect, sizeof(rect), nullptr);
    ::VirtualFreeEx(process_.hProcess, remote, 0, MEM_RELEASE);
    ::MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Program::ClickButton(int commandId) {
    RECT rect = ButtonRect(commandId);
    ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

std::optional<DWORD> StartAgainAndWait(std::chrono::milliseconds timeout) {
    std::wstring exe = WindowsPath(Env(L"KORVAN_EXE"));
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return std::nullopt;
    std::optional<DWORD> exitCode;
    if (::WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0) {
        DWORD code = 0;
        ::GetExitCodeProcess(process.hProcess, &code);
        exitCode = code;
    } else {
        ::TerminateProcess(process.hProcess, 1);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return exitCode;
}

int ProgramProcessCount() {
    std::wstring exe = Env(L"KORVAN_EXE");
    std::wstring name = exe.substr(exe.find_last_of(L"/\\") + 1);
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    int count = 0;
    PROCESSENTRY32W entry{sizeof(entry)};
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, name.c_str()) == 0) ++count;
    ::CloseHandle(snapshot);
    return count;
}

void MovePointerAway() {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = input.mi.dy = 65535;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    MovePointer(input, [] {
        POINT cursor{};
        return ::GetCursorPos(&cursor) && cursor.x >= ::GetSystemMetrics(SM_CXSCREEN) - 2 &&
               cursor.y >= ::GetSystemMetrics(SM_CYSCREEN) - 2;
    });
}

void Program::Activate() { ForegroundAndSettle(main_, main_); }

HWND Program::CaptureDesktop() {
    ::SetWindowPos(main_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT home = WindowRect(main_);
    ClickButton(Id(Command::Desktop));
    HWND preview = FindForm(L"TImage");
    // Done when the preview shows and the main window is back in its place.
    bool done = WaitFor([&] { return ::IsWindowVisible(preview) != 0 && WindowRect(main_).left == home.left; });
    return done ? preview : nullptr;
}

HWND Program::ShowFrame() {
    ClickButton(Id(Command::Frame));
    HWND frame = FindForm(L"TForm2");
    return WaitFor([&] { return ::IsWindowVisible(frame) != 0; }) ? frame : nullptr;
}

void ClickAt(int x, int y) { ClickAt(x, y, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }

RECT VirtualScreen() {
    int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

bool OnAnyMonitor(int x, int y) { return ::MonitorFromPoint({x, y}, MONITOR_DEFAULTTONULL) != nullptr; }

imaging::Rgb PatternWindow::SeenAt(int x, int y) {
    return OnAnyMonitor(x, y) ? ExpectedAt(x, y) : imaging::Rgb{0, 0, 0};
}

INPUT PointerEventAt(int x, int y, DWORD buttonFlags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 over the whole virtual screen, so points
    // on every monitor, left of the primary one included, can be reached.
    RECT screen = VirtualScreen();
    input.mi.dx = static_cast<LONG>(((x - screen.left) * 65536LL + 32768) / (screen.right - screen.left));
    input.mi.dy = static_cast<LONG>(((y - screen.top) * 65536LL + 32768) / (screen.bottom - screen.top));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | buttonFlags;
    return input;
}

void MovePointerTo(int x, int y) {
    MovePointer(PointerEventAt(x, y), [&] { return CursorAt(x, y); });
}

void ClickAt(int x, int y, DWORD downFlag, DWORD upFlag) {
    INPUT inputs[2]{};
    for (INPUT& input : inputs) input.type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = downFlag;
    inputs[1].mi.dwFlags = upFlag;
    const int button = downFlag == MOUSEEVENTF_RIGHTDOWN ? VK_RBUTTON : VK_LBUTTON;
    MovePointerTo(x, y);
    ::SendInput(1, &inputs[0], sizeof(INPUT));
    WaitFor([&] { return KeyDown(button); });
    ::SendInput(1, &inputs[1], sizeof(INPUT));
    WaitFor([&] { return !KeyDown(button); });
}

void PressKey(WORD virtualKey, std::initializer_list<WORD> modifiers) {
    auto send = [](WORD key, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN || key == VK_SNAPSHOT)
            input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        ::SendInput(1, &input, sizeof(input));
        WaitFor([&] { return KeyDown(key) != up; });
    };
    for (WORD modifier : modifiers) send(modifier, false);
    send(virtualKey, false);
    send(virtualKey, true);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) send(*it, true);
}

bool KeyTaken(UINT modifiers, UINT virtualKey) {
    constexpr int kProbe = 0xBF00;
    if (!::RegisterHotKey(nullptr, kProbe, modifiers | MOD_NOREPEAT, virtualKey)) return true;
    ::UnregisterHotKey(nullptr, kProbe);
    return false;
}

void ActivateDriver() {
    static HWND window = ::CreateWindowExW(0, L"STATIC", L"Driver", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr,
                                           nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ForegroundAndSettle(window, ::GetForegroundWindow());
}

std::optional<DWORD> ReadDword(const wchar_t* key, const wchar_t* name) {
    DWORD value = 0, size = sizeof(value), type = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

std::optional<std::wstring> ReadString(const wchar_t* key, const wchar_t* name) {
    wchar_t buffer[512];
    DWORD size = sizeof(buffer), type = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, &type, buffer, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return std::wstring(buffer);
}

bool KeyExists(const wchar_t* key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    ::RegCloseKey(handle);
    return true;
}

void WriteDword(const wchar_t* key, const wchar_t* name, DWORD value) {
    HKEY handle = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
    ::RegSetValueExW(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegCloseKey(handle);
}

void WriteString(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
    HKEY handle = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
    ::RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);
}

void DeleteValue(const wchar_t* key, const wchar_t* name) { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, key, name); }

namespace {

struct BoxSearch {
    DWORD processId;
    std::wstring part;
    HWND found = nullptr;
    std::wstring text;
};

BOOL CALLBACK FindBox(HWND window, LPARAM lParam) {
    auto search = reinterpret_cast<BoxSearch*>(lParam);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    wchar_t name[32];
    if (processId != search->processId || !::GetClassNameW(window, name, 32) || wcscmp(name, L"#32770") != 0)
        return TRUE;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[1024] = L"";
        ::GetWindowTextW(child, text, 1024);
        if (std::wstring(text).find(search->part) != std::wstring::npos) {
            search->found = window;
            search->text = text;
            return FALSE;
        }
    }
    return TRUE;
}

} // namespace

HWND FindMessageBox(DWORD processId, const std::wstring& part, std::wstring* text) {
    BoxSearch search{processId, part};
    ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    if (text) *text = search.text;
    return search.found;
}

// --- PatternWindow ---------------------------------------------------------------

namespace {

LRESULT CALLBACK PatternProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        RECT client{};
        ::GetClientRect(hwnd, &client);
        POINT origin{0, 0};
        ::ClientToScreen(hwnd, &origin);
        int width = client.right, height = client.bottom;
        std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                imaging::Rgb c = PatternWindow::ExpectedAt(origin.x + x, origin.y + y);
                pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                    (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
            }
        BITMAPINFO info = win::TopDownDib(width, height, 32);
        ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                            static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_ERASEBKGND) return 1;
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

imaging::Rgb PatternWindow::ExpectedAt(int x, int y) {
    // Distinct colours in every 8 x 8 cell plus a fine checker, so any offset or
    // scaling shows.
    auto r = static_cast<uint8_t>((x * 7 + y * 3) & 0xFF);
    auto g = static_cast<uint8_t>((y * 5) & 0xFF);
    auto b = static_cast<uint8_t>(((x ^ y) & 1) ? 0xF0 : (x / 8 * 16) & 0xFF);
    return {r, g, b};
}

PatternWindow::PatternWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PatternProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KorvanPattern";
    ::RegisterClassW(&wc);
    RECT screen = VirtualScreen();
    hwnd_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"KorvanPattern", L"Pattern", WS_POPUP | WS_VISIBLE, screen.left,
                              screen.top, screen.right - screen.left, screen.bottom - screen.top, nullptr, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
    ::UpdateWindow(hwnd_);
    // Shown once a few spread-out screen pixels carry the pattern.
    WaitFor([] {
        for (POINT p : {POINT{3, 5}, POINT{517, 301}, POINT{1001, 777}}) {
            imaging::Bitmap pixel = GrabScreen(p.x, p.y, 1, 1);
            if (pixel.Empty() || !(pixel.PixelAt(0, 0) == ExpectedAt(p.x, p.y))) return false;
        }
        return true;
    });
}

PatternWindow::~PatternWindow() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

// --- Clipboard and screen --------------------------------------------------------

std::optional<imaging::Bitmap> ClipboardImage() {
    if (!::OpenClipboard(nullptr)) return std::nullopt;
    std::optional<imaging::Bitmap> result;
    if (HANDLE data = ::GetClipboardData(CF_DIB)) {
        auto header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(data));
        if (header && header->biBitCount == 24 && header->biCompression == BI_RGB) {
            int width = header->biWidth, height = std::abs(header->biHeight);
            imaging::Bitmap bitmap;
            if (imaging::Bitmap::Create(bitmap, width, height, 24) == imaging::kSuccess) {
                auto bits = reinterpret_cast<const uint8_t*>(header) + header->biSize;
                for (int y = 0; y < height; ++y) {
                    int source = header->biHeight > 0 ? height - 1 - y : y;
                    std::memcpy(bitmap.Row(y), bits + static_cast<size_t>(source) * bitmap.Stride(), bitmap.Stride());
                }
                result = std::move(bitmap);
            }
        }
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return result;
}

bool ClipboardHasPng() { return ::IsClipboardFormatAvailable(::RegisterClipboardFormatW(L"PNG")); }

imaging::Bitmap GrabScreen(int left, int top, int width, int height) {
    imaging::ScreenGrabberWin32 grabber;
    imaging::Bitmap bitmap;
    (void)grabber.GrabRect(0, left, top, left + width, top + height, bitmap);
    return bitmap;
}

imaging::Bitmap GrabWindow(HWND window) {
    RECT rect{};
    // The desktop window covers the primary monitor only; its picture is the whole screen.
    if (window == ::GetDesktopWindow()) rect = VirtualScreen();
    else ::GetWindowRect(window, &rect);
    return GrabScreen(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

imaging::Bitmap SteadyPicture(HWND window) {
    Settle(window);
    // Paints whatever is still due, child windows included, before the grabs compare.
    ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    imaging::Bitmap before = GrabWindow(window), now;
    auto same = [](const imaging::Bitmap& a, const imaging::Bitmap& b) {
        return a.Width() == b.Width() && a.Height() == b.Height() && a.SizeBytes() == b.SizeBytes() &&
               std::memcmp(a.Data(), b.Data(), a.SizeBytes()) == 0;
    };
    WaitFor([&] {
        now = GrabWindow(window);
        if (!now.Empty() && same(before, now)) return true;
        before = std::move(now);
        return false;
    }, std::chrono::seconds(3));
    return before;
}

void SaveArtifact(HWND window, const std::string& name) {
    if (Env(L"KORVAN_ARTIFACTS").empty()) return;
    test::SaveArtifactPicture(SteadyPicture(window), name);
}

std::wstring WindowText(HWND window) {
    auto length = static_cast<size_t>(::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    text.resize(static_cast<size_t>(
        ::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> found;
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND ChildWithText(HWND parent, const std::wstring& text) {
    for (HWND child : Descendants(parent))
        if (WindowText(child) == text) return child;
    return nullptr;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = L"";
    ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

HWND ShownHint(DWORD processId) {
    for (HWND window = ::GetTopWindow(nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        if (process == processId && ClassOf(window) == TOOLTIPS_CLASSW && ::IsWindowVisible(window)) return window;
    }
    return nullptr;
}

} // namespace korvan::e2e
