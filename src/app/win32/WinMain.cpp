// Program entry: creates the six windows once, in order, shows the main window and runs
// the message loop until the main window is closed.
#include "app/win32/Application.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    korvan::win::Application application;
    return application.Run();
}
