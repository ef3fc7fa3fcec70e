#include "app/PrintScreenCheck.h"

namespace korvan {
namespace {

bool IsDword(const std::optional<RegistryValue>& value, uint32_t expected) {
    return value && value->type == RegistryValue::Type::Dword && value->dword == expected;
}

// A key that cannot be made still gets the write, so a failure is told like any other.
bool WriteDword(IRegistry& registry, const wchar_t* key, const wchar_t* name, uint32_t value) {
    registry.OpenKey(key, true);
    return registry.WriteValue(key, name, RegistryValue::Dword(value));
}

} // namespace

bool IsWindows11OrLater(const WindowsVersion& version) {
    return version.major > 10 || (version.major == 10 && version.build >= kFirstWindows11Build);
}

bool SystemTakesPrintScreen(const WindowsVersion& version, const std::optional<RegistryValue>& value) {
    if (!IsWindows11OrLater(version)) return false;
    if (value && value->type == RegistryValue::Type::Dword) return value->dword != 0;
    return version.major > 10 || version.build >= kFirstSnippingByDefaultBuild;
}

void CheckPrintScreenAtStart(const PrintScreenCheckPorts& ports) {
    WindowsVersion version = ports.version.Read();
    if (!IsWindows11OrLater(version)) return;
    if (IsDword(ports.registry.ReadValue(kProgramSettingsKey, kPrintScreenQuestionOffValue), 1)) return;
    if (!SystemTakesPrintScreen(version, ports.registry.ReadValue(kKeyboardSettingsKey, kSnippingOnPrintScreenValue)))
        return;
    switch (ports.question.Ask()) {
    case PrintScreenAnswer::SwitchOff:
        if (WriteDword(ports.registry, kKeyboardSettingsKey, kSnippingOnPrintScreenValue, 0) &&
            ports.registerPrintScreenAgain)
            ports.registerPrintScreenAgain();
        break;
    case PrintScreenAnswer::LeaveOnForGood:
        WriteDword(ports.registry, kProgramSettingsKey, kPrintScreenQuestionOffValue, 1);
        break;
    case PrintScreenAnswer::LeaveOn: break;
    }
}

} // namespace korvan
