#pragma once
// The system's process services for target discovery. The process-status library and
// the tool-help functions are looked up on first use; when one is missing its
// operations answer nothing, so no window matches.
#include "settings/TargetDiscovery.h"

namespace korvan::win {

class ProcessLookupWin32 final : public IProcessLookup {
public:
    SystemVersion Version() const override;
    uint32_t ProcessIdOf(WindowHandle window) const override;
    bool IsVisible(WindowHandle window) const override;
    std::string ModuleBaseName(uint32_t processId) const override;
    std::vector<ProcessEntry> Processes() const override;
    std::wstring ImagePath(uint32_t processId) const override;
};

} // namespace korvan::win
