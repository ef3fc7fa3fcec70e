#pragma once
// Base of every window of the program: registers the class once, binds the object to
// its HWND at WM_NCCREATE and forwards messages to the derived class's HandleMessage.
// No exception leaves a window procedure: it is shown to the user and the program goes on.
#include <windows.h>

#include <string>

namespace korvan::win {

// Shows an error that no handler caught, as the application's error box.
void ShowErrorBox(HWND owner, const std::wstring& message);
void ShowCurrentException(HWND owner);

// The program's icon, for every window's caption.
HICON ProgramIcon();

// The application's task-bar window, owner of every other top-level window of the
// program (none until the application creates it).
HWND ApplicationHandle();
void SetApplicationHandle(HWND window);

// Scales a length designed at 96 dots per inch to the window's DPI.
int Scale(int designed, UINT dpi);
UINT DpiOf(HWND window);

template <typename Derived> class WindowBase {
public:
    WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    virtual ~WindowBase() {
        if (hwnd_) {
            ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            ::DestroyWindow(hwnd_);
        }
    }

    HWND Hwnd() const { return hwnd_; }

protected:
    static void RegisterClassOnce(const wchar_t* className, UINT style, HBRUSH background, HICON icon) {
        WNDCLASSEXW wc{sizeof(wc)};
        if (::GetClassInfoExW(::GetModuleHandleW(nullptr), className, &wc)) return;
        wc = {sizeof(wc)};
        wc.style = style;
        wc.lpfnWndProc = &WindowBase::Procedure;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        wc.lpszClassName = className;
        wc.hIcon = icon;
        wc.hIconSm = icon;
        ::RegisterClassExW(&wc);
    }

    // A top-level window without a parent is owned by the application's window, so the
    // program has one task-bar entry however many windows it shows.
    HWND CreateWindowOf(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* title, int x, int y,
                        int width, int height, HWND parent = nullptr) {
        if (!parent && !(style & WS_CHILD)) parent = ApplicationHandle();
        return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                                 ::GetModuleHandleW(nullptr), this);
    }

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        WindowBase* self = nullptr;
        if (message == WM_NCCREATE) {
            auto create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            self = static_cast<WindowBase*>(create->lpCreateParams);
            self->hwnd_ = hwnd;
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
        try {
            LRESULT result = static_cast<Derived*>(self)->HandleMessage(message, wParam, lParam);
            if (message == WM_NCDESTROY) {
                ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
                self->hwnd_ = nullptr;
            }
            return result;
        } catch (...) {
            ShowCurrentException(hwnd);
            return 0;
        }
    }

    HWND hwnd_ = nullptr;
};

} // namespace korvan::win
