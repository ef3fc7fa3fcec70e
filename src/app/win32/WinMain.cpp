// Program entry: creates the six windows once, in order, shows the main window and runs
// the message loop until the main window is closed.
#include "app/win32/Application.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Nothing ends the program silently: what no window caught is shown first.
    try {
        korvan::win::Application application;
        return application.Run();
    } catch (...) {
        korvan::win::ShowCurrentException(nullptr);
        return 1;
    }
}
