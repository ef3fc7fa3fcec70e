// The hot key adapter: registration, conflicts, and the message reaching the component.
#include "platform/win32/HotKeySystemWin32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

namespace korvan::win {
namespace {

void Pump(int rounds = 20) {
    for (int i = 0; i < rounds; ++i) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        ::Sleep(10);
    }
}

TEST(HotKeySystemWin32, AnotherHolderMakesTheRegistrationFail) {
    HotKeySystemWin32 system;
    HotKeyWindow first = system.CreateHotKeyWindow({});
    HotKeyWindow second = system.CreateHotKeyWindow({});
    ASSERT_TRUE(system.RegisterHotKey(first, 0xC001, kModAlt, VK_F9));
    EXPECT_FALSE(system.RegisterHotKey(second, 0xC002, kModAlt, VK_F9));
    bool fromOtherThread = true;
    std::thread([&] {
        HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        fromOtherThread = ::RegisterHotKey(window, 7, MOD_ALT, VK_F9) != FALSE;
        ::DestroyWindow(window);
    }).join();
    EXPECT_FALSE(fromOtherThread);
    system.UnregisterHotKey(first, 0xC001);
    EXPECT_TRUE(system.RegisterHotKey(second, 0xC002, kModAlt, VK_F9));
    system.UnregisterHotKey(second, 0xC002);
    system.DestroyHotKeyWindow(first);
    system.DestroyHotKeyWindow(second);
}

TEST(HotKeySystemWin32, AKeyPressReachesTheWindowsCallback) {
    HotKeySystemWin32 system;
    int presses = 0;
    HotKeyWindow window = system.CreateHotKeyWindow([&] { ++presses; });
    ASSERT_TRUE(system.RegisterHotKey(window, 0xC003, kModControl | kModShift, 'K'));
    HWND focus = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::SetForegroundWindow(focus);
    Pump();
    for (WORD key : {WORD(VK_CONTROL), WORD(VK_SHIFT), WORD('K')}) ::keybd_event(static_cast<BYTE>(key), 0, 0, 0);
    for (WORD key : {WORD('K'), WORD(VK_SHIFT), WORD(VK_CONTROL)}) ::keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
    Pump(50);
    EXPECT_EQ(presses, 1);
    system.UnregisterHotKey(window, 0xC003);
    system.DestroyHotKeyWindow(window);
    ::DestroyWindow(focus);
}

TEST(HotKeySystemWin32, AtomsAreUniquePerText) {
    HotKeySystemWin32 system;
    uint16_t a = system.AddGlobalAtom("1234567");
    uint16_t b = system.AddGlobalAtom("7654321");
    EXPECT_NE(a, 0);
    EXPECT_NE(a, b);
    system.DeleteGlobalAtom(a);
    system.DeleteGlobalAtom(b);
}

} // namespace
} // namespace korvan::win
