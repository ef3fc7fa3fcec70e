// The program as it runs while the system's high-contrast theme is on. This Wine cannot
// switch high contrast on (SPI_SETHIGHCONTRAST fails with error 1439 and
// SPI_GETHIGHCONTRAST always answers off), so this build of the same application is told
// "on" through the theme's port; the tests give the session a high-contrast theme's system
// colours with SetSysColors.
#include "app/win32/Application.h"
#include "platform/win32/ThemeWin32.h"

#include <windows.h>

namespace {

class HighContrastOn final : public korvan::IHighContrastSetting {
public:
    bool On() const override { return true; }
};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    static HighContrastOn highContrast;
    korvan::win::Theme().UseHighContrastSetting(&highContrast);
    try {
        korvan::win::Application application;
        return application.Run();
    } catch (...) {
        korvan::win::ShowCurrentException(nullptr);
        return 1;
    }
}
