#pragma once
// The registry as the program writes its settings and placements: a write that fails
// (a key that cannot be made, access denied) is told to the user once per run and key,
// naming the key, and the caller goes on as if it had been written.
#include "platform/Registry.h"

#include <functional>
#include <set>
#include <string>

namespace korvan {

class ReportingRegistry final : public IRegistry {
public:
    ReportingRegistry(IRegistry& registry, std::function<void(const std::string&)> show)
        : registry_(registry), show_(std::move(show)) {}

    bool OpenKey(const std::wstring& path, bool create) override { return registry_.OpenKey(path, create); }
    std::optional<RegistryValue> ReadValue(const std::wstring& path, const std::wstring& name) override {
        return registry_.ReadValue(path, name);
    }
    bool WriteValue(const std::wstring& path, const std::wstring& name, const RegistryValue& value) override;

    // "HKEY_CURRENT_USER\Software\..." as users and the registry editor name a key.
    static std::string KeyName(const std::wstring& path);

private:
    IRegistry& registry_;
    std::function<void(const std::string&)> show_;
    std::set<std::string> told_;  // key names folded to lower case
};

} // namespace korvan
