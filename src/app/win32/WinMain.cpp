// Program entry: creates the six windows once, in order, shows the main window and runs
// the message loop until the main window is closed. A second start only brings the
// running copy forward.
#include "app/win32/Application.h"
#include "app/win32/InstanceLock.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything loads: DLLs come from the system folder only, never from the
    // program's folder or the current one, where a planted file of the same name may lie.
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Nothing ends the program silently: what no window caught is shown first.
    try {
        // Before anything else: a second copy must not register keys or repair cursors.
        korvan::win::InstanceLock lock;
        if (!lock.First()) {
            lock.BringFirstForward();
            return 0;
        }
        korvan::win::Application application;
        return application.Run([&lock](HWND window) { lock.Publish(window); });
    } catch (...) {
        korvan::win::ShowCurrentException(nullptr);
        return 1;
    }
}
