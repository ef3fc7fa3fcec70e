#pragma once
#include "platform/Registry.h"

namespace korvan::win {

class RegistryWin32 final : public IRegistry {
public:
    bool OpenKey(const std::wstring& path, bool create) override;
    std::optional<RegistryValue> ReadValue(const std::wstring& path, const std::wstring& name) override;
    bool WriteValue(const std::wstring& path, const std::wstring& name, const RegistryValue& value) override;
};

// The registry the program keeps its settings and window placements in: a write that
// fails is told in the error box, once per run and key.
IRegistry& ProgramRegistry();

} // namespace korvan::win
