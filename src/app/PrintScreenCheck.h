#pragma once
// Windows 11 opens its Snipping Tool on Print Screen unless the user has switched that
// off; the program's own Print Screen key then never fires, and nothing tells why. At
// start the program looks at that setting once and, when it is on, offers to switch it
// off for the user (a per-user setting: no administrator rights needed). Earlier Windows
// versions are left alone, whatever the value says.
#include "platform/Registry.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace korvan {

// The setting as Windows keeps it, per user.
inline constexpr wchar_t kKeyboardSettingsKey[] = L"Control Panel\\Keyboard";
inline constexpr wchar_t kSnippingOnPrintScreenValue[] = L"PrintScreenKeyForSnippingEnabled";
// The user's "do not ask again", under the program's own key (DWORD 1).
inline constexpr wchar_t kProgramSettingsKey[] = L"Software\\KorvanScreenshot";
inline constexpr wchar_t kPrintScreenQuestionOffValue[] = L"PrintScreenQuestionOff";

struct WindowsVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
};

// The version of the running system, as the kernel reports it (not the compatibility
// version a program without a manifest entry would be told).
class ISystemVersion {
public:
    virtual ~ISystemVersion() = default;
    virtual WindowsVersion Read() const = 0;
};

// Windows 11 keeps the major version 10; its builds start at 22000.
inline constexpr uint32_t kFirstWindows11Build = 22000;
// Build 22621 (Windows 11 22H2) is where the Snipping Tool took Print Screen by default:
// its update of spring 2023 made a missing value mean "on", and every later build kept
// that. On 21H2 (22000) a missing value still means "off". The few 22H2 systems that
// never got that update are counted as "on" too: switching off a setting that is already
// off changes nothing.
inline constexpr uint32_t kFirstSnippingByDefaultBuild = 22621;

bool IsWindows11OrLater(const WindowsVersion& version);
// Whether the system takes Print Screen for itself, given the stored value (nothing when
// missing or not a DWORD). False before Windows 11.
bool SystemTakesPrintScreen(const WindowsVersion& version, const std::optional<RegistryValue>& value);

enum class PrintScreenAnswer {
    SwitchOff,        // the system lets go of the key; asked again only if it takes it back
    LeaveOn,          // asked again at the next start
    LeaveOnForGood,   // never asked again
};

// Asks the user, in the program's language, whether to switch the setting off.
class IPrintScreenQuestion {
public:
    virtual ~IPrintScreenQuestion() = default;
    virtual PrintScreenAnswer Ask() = 0;
};

struct PrintScreenCheckPorts {
    const ISystemVersion& version;
    IRegistry& registry;
    IPrintScreenQuestion& question;
    std::function<void()> registerPrintScreenAgain;  // after the system let go of the key
};

// Once at start: asks when the system takes Print Screen and the user has not said "do
// not ask again"; switches it off and registers Print Screen again when the user agrees.
// Before Windows 11 it reads and writes nothing.
void CheckPrintScreenAtStart(const PrintScreenCheckPorts& ports);

} // namespace korvan
