// Window placements survive a "restart": saved on close and destruction as strings, and
// restored onto a real window, kept on a monitor when the stored place is off every one.
#include "platform/PlacementStore.h"
#include "platform/win32/Handles.h"
#include "platform/win32/PlacementBinding.h"
#include "platform/win32/PlacementWindowWin32.h"
#include "platform/win32/RegistryWin32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace korvan::win {
namespace {

std::wstring KeyOfThisProgram() {
    return PlacementKeyFor(PlacementWindowWin32(nullptr, nullptr, {}).ExecutablePath());
}

class TestWindow {
public:
    TestWindow(const wchar_t* className, DWORD exStyle, DWORD style) {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = &::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = className;
        ::RegisterClassExW(&wc);
        hwnd_ = ::CreateWindowExW(exStyle, className, L"Placement test", style, 200, 150, 300, 200, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
        section_ = KeyOfThisProgram() + L"\\" + className;
        ::RegDeleteTreeW(HKEY_CURRENT_USER, section_.c_str());  // a clean first run
    }
    ~TestWindow() {
        if (hwnd_) ::DestroyWindow(hwnd_);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, section_.c_str());
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND get() const { return hwnd_; }
    const std::wstring& Section() const { return section_; }
    RECT Rect() const {
        RECT rect{};
        ::GetWindowRect(hwnd_, &rect);
        return rect;
    }
    void MoveTo(int x, int y, int width, int height) {
        ::SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    std::wstring Text(const wchar_t* name) const {
        auto value = RegistryWin32().ReadValue(section_, name);
        if (!value) return L"<missing>";
        return value->type == RegistryValue::Type::String ? value->text : L"<not a string>";
    }
    void Plant(const wchar_t* name, const std::wstring& text) {
        RegistryWin32 registry;
        ASSERT_TRUE(registry.OpenKey(section_, true));
        ASSERT_TRUE(registry.WriteValue(section_, name, RegistryValue::String(text)));
    }

private:
    HWND hwnd_ = nullptr;
    std::wstring section_;
};

const PlacementSetup kSizeable{PlacementOption::Position, {BorderKind::Sizeable}};
const PlacementSetup kToolWindow{PlacementOption::Position, {BorderKind::ToolWindow}};
constexpr DWORD kSizeableStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kToolStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

std::wstring ScreenSuffix() {
    return L"(" + std::to_wstring(::GetSystemMetrics(SM_CXSCREEN)) + L"x" +
           std::to_wstring(::GetSystemMetrics(SM_CYSCREEN)) + L")";
}

// A closed window's placement is stored as strings, the screen-specific names included.
TEST(PlacementWin32, CloseStoresThePlacementAsStrings) {
    TestWindow window(L"KorvanPlacementSave", WS_EX_TOOLWINDOW, kSizeableStyle);
    ASSERT_TRUE(window.get());
    PlacementBinding binding(window.get(), nullptr, kSizeable);
    binding.OnShow();
    ::ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    window.MoveTo(123, 77, 320, 210);
    binding.OnCloseQuery();
    ::ShowWindow(window.get(), SW_HIDE);

    EXPECT_EQ(window.Text(L"NormPos"), L"123,77,443,287");
    EXPECT_EQ(window.Text((L"NormPos" + ScreenSuffix()).c_str()), L"123,77,443,287");
    EXPECT_EQ(window.Text(L"FormVersion"), L"0");
    EXPECT_EQ(window.Text(L"ShowCmd"), L"1");
    EXPECT_EQ(window.Text(L"Visible"), L"0");
    WindowDc screen(nullptr);
    EXPECT_EQ(window.Text(L"PixelsPerInch"), std::to_wstring(::GetDeviceCaps(screen.get(), LOGPIXELSY)));
    WINDOWPLACEMENT wp{sizeof(wp)};  // positions stored as the system reports them
    ::GetWindowPlacement(window.get(), &wp);
    std::wstring minMax = window.Text(L"MinMaxPos");
    EXPECT_EQ(minMax, std::to_wstring(wp.ptMinPosition.x) + L"," + std::to_wstring(wp.ptMinPosition.y) + L"," +
                          std::to_wstring(wp.ptMaxPosition.x) + L"," + std::to_wstring(wp.ptMaxPosition.y));
    EXPECT_EQ(window.Text((L"MinMaxPos" + ScreenSuffix()).c_str()), minMax);
}

// The next run's show puts a sizeable window back with its stored position and size.
TEST(PlacementWin32, NextShowRestoresPositionAndSize) {
    TestWindow window(L"KorvanPlacementRoundTrip", 0, kSizeableStyle);  // workspace coordinates
    {
        PlacementBinding firstRun(window.get(), nullptr, kSizeable);
        firstRun.OnShow();
        window.MoveTo(140, 90, 350, 240);
        firstRun.OnCloseQuery();
    }
    window.MoveTo(10, 10, 200, 100);
    PlacementBinding secondRun(window.get(), nullptr, kSizeable);
    secondRun.OnShow();
    EXPECT_FALSE(::IsWindowVisible(window.get()));  // the restore never shows the window itself
    RECT rect = window.Rect();
    EXPECT_EQ(rect.left, 140);
    EXPECT_EQ(rect.top, 90);
    EXPECT_EQ(rect.right - rect.left, 350);
    EXPECT_EQ(rect.bottom - rect.top, 240);
}

// A window without a sizeable border takes the stored position but keeps its own size.
TEST(PlacementWin32, ToolWindowKeepsItsSize) {
    TestWindow window(L"KorvanPlacementTool", WS_EX_TOOLWINDOW, kToolStyle);
    window.Plant(L"NormPos", L"60,70,61,71");
    PlacementBinding binding(window.get(), window.get(), kToolWindow);
    binding.OnShow();
    RECT rect = window.Rect();
    EXPECT_EQ(rect.left, 60);
    EXPECT_EQ(rect.top, 70);
    EXPECT_EQ(rect.right - rect.left, 300);
    EXPECT_EQ(rect.bottom - rect.top, 200);
}

// A place off every monitor comes back onto the nearest monitor, with the stored size.
TEST(PlacementWin32, OffMonitorPlacementComesBackOnScreen) {
    TestWindow window(L"KorvanPlacementOffScreen", WS_EX_TOOLWINDOW, kSizeableStyle);
    window.Plant(L"NormPos", L"-5000,-4000,-4660,-3750");
    PlacementBinding binding(window.get(), nullptr, kSizeable);
    binding.OnShow();
    RECT rect = window.Rect();
    EXPECT_EQ(rect.right - rect.left, 340);
    EXPECT_EQ(rect.bottom - rect.top, 250);
    HMONITOR nearest = ::MonitorFromPoint({-5000, -4000}, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{sizeof(info)};
    ASSERT_TRUE(::GetMonitorInfoW(nearest, &info));
    EXPECT_EQ(rect.left, info.rcWork.left);
    EXPECT_EQ(rect.top, info.rcWork.top);
    EXPECT_EQ(::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL), nearest);
}

// Destruction saves with Visible "1" unless the window was saved since it was shown.
TEST(PlacementWin32, DestructionSavesWithVisibleOne) {
    TestWindow window(L"KorvanPlacementDestroy", WS_EX_TOOLWINDOW, kSizeableStyle);
    PlacementBinding binding(window.get(), nullptr, kSizeable);
    binding.OnShow();
    binding.OnCloseQuery();
    window.MoveTo(300, 200, 300, 200);
    binding.OnDestroy();
    EXPECT_EQ(window.Text(L"Visible"), L"0");
    EXPECT_EQ(window.Text(L"NormPos"), L"200,150,500,350");

    binding.OnShow();
    window.MoveTo(310, 210, 300, 200);
    binding.OnDestroy();
    EXPECT_EQ(window.Text(L"Visible"), L"1");
    EXPECT_EQ(window.Text(L"NormPos"), L"310,210,610,410");
}

// With the window state restored too, a normal state leaves the hidden frame hidden and a
// maximised one shows it maximised, as it is being shown anyway.
TEST(PlacementWin32, FrameStateIsRestoredWithItsPlace) {
    const PlacementSetup frame{PlacementOption::State | PlacementOption::Position, {BorderKind::SizeableToolWindow}};
    TestWindow window(L"KorvanPlacementFrame", WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP | WS_THICKFRAME);
    window.Plant(L"NormPos", L"533,152,799,289");
    window.Plant(L"ShowCmd", L"1");
    HWND mainWindow = ::GetDesktopWindow();  // some other window is the main window
    PlacementBinding binding(window.get(), mainWindow, frame);
    binding.OnShow();
    EXPECT_FALSE(::IsWindowVisible(window.get()));
    RECT rect = window.Rect();
    EXPECT_EQ(rect.left, 533);
    EXPECT_EQ(rect.right - rect.left, 266);
    EXPECT_EQ(rect.bottom - rect.top, 137);

    window.Plant(L"ShowCmd", L"3");
    binding.OnShow();
    EXPECT_TRUE(::IsZoomed(window.get()));
    ::ShowWindow(window.get(), SW_HIDE);
}

// A window that is already gone saves nothing at all.
TEST(PlacementWin32, DestroyedWindowSavesNothing) {
    TestWindow window(L"KorvanPlacementGone", WS_EX_TOOLWINDOW, kSizeableStyle);
    HWND doomed = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"KorvanPlacementGone", L"", kSizeableStyle, 0, 0, 100, 100,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    PlacementBinding binding(doomed, nullptr, kSizeable);
    binding.OnShow();
    ::DestroyWindow(doomed);
    binding.OnDestroy();
    EXPECT_EQ(window.Text(L"NormPos"), L"<missing>");
}

// A stored place for another pixels-per-inch setting is not used.
TEST(PlacementWin32, OtherPixelsPerInchIsIgnored) {
    TestWindow window(L"KorvanPlacementDpi", WS_EX_TOOLWINDOW, kSizeableStyle);
    window.Plant(L"NormPos", L"50,60,450,360");
    window.Plant(L"PixelsPerInch", L"1");
    PlacementBinding binding(window.get(), nullptr, kSizeable);
    binding.OnShow();
    RECT rect = window.Rect();
    EXPECT_EQ(rect.left, 200);
    EXPECT_EQ(rect.top, 150);
}

// An error in a hook is reported, not thrown, and the window goes on.
TEST(PlacementWin32, HookErrorsAreReportedNotThrown) {
    class RefusingRegistry final : public IRegistry {
    public:
        bool OpenKey(const std::wstring&, bool) override { return false; }
        std::optional<RegistryValue> ReadValue(const std::wstring&, const std::wstring&) override { return {}; }
        bool WriteValue(const std::wstring&, const std::wstring&, const RegistryValue&) override { return false; }
    } registry;
    TestWindow window(L"KorvanPlacementError", WS_EX_TOOLWINDOW, kSizeableStyle);
    std::string reported;
    PlacementBinding binding(window.get(), nullptr, kSizeable, registry,
                             [&](HWND, const std::string& message) { reported = message; });
    binding.OnShow();
    EXPECT_NO_THROW(binding.OnCloseQuery());
    EXPECT_EQ(reported, "Failed to create key KorvanPlacementError");
}

// The main window's key is "Software\" plus this executable's name.
TEST(PlacementWin32, KeyIsNamedAfterTheExecutable) {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = path;
    name = name.substr(name.find_last_of(L'\\') + 1);
    EXPECT_EQ(KeyOfThisProgram(), L"Software\\" + name.substr(0, name.find_last_of(L'.')));
}

} // namespace
} // namespace korvan::win
