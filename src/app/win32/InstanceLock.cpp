#include "app/win32/InstanceLock.h"

#include <chrono>
#include <cstdint>
#include <thread>

namespace korvan::win {
namespace {

constexpr auto kWaitForFirstWindows = std::chrono::seconds(10);

// Two users signed in to one session (a program started as another user) each get
// their own copy: the names carry the user.
std::wstring UserName() {
    wchar_t name[257] = {};
    DWORD length = static_cast<DWORD>(std::size(name));
    if (!::GetUserNameW(name, &length)) return L"unknown";
    return name;
}

HWND ReadPublishedWindow(const void* view) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(*static_cast<const volatile uint64_t*>(view)));
}

} // namespace

UINT BringForwardMessage() {
    static const UINT message = ::RegisterWindowMessageW(kBringForwardMessage);
    return message;
}

InstanceLock::InstanceLock() {
    std::wstring user = UserName();
    mutex_.reset(::CreateMutexW(nullptr, FALSE, (kInstanceMutexPrefix + user).c_str()));
    first_ = !mutex_ || ::GetLastError() != ERROR_ALREADY_EXISTS;
    windowBlock_.reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(uint64_t),
                                            (kInstanceWindowPrefix + user).c_str()));
    if (windowBlock_) view_ = ::MapViewOfFile(windowBlock_.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(uint64_t));
}

InstanceLock::~InstanceLock() {
    if (view_) {
        if (first_) *static_cast<volatile uint64_t*>(view_) = 0;
        ::UnmapViewOfFile(view_);
    }
}

void InstanceLock::Publish(HWND applicationWindow) {
    if (first_ && view_)
        *static_cast<volatile uint64_t*>(view_) = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(applicationWindow));
}

bool InstanceLock::BringFirstForward() const {
    if (!view_) return false;
    auto deadline = std::chrono::steady_clock::now() + kWaitForFirstWindows;
    HWND window = ReadPublishedWindow(view_);
    while (!::IsWindow(window) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        window = ReadPublishedWindow(view_);
    }
    if (!::IsWindow(window)) return false;
    // This start was the user's last action, so it may hand the foreground on.
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    ::AllowSetForegroundWindow(processId);
    return ::PostMessageW(window, BringForwardMessage(), 0, 0) != 0;
}

} // namespace korvan::win
