#pragma once
// The current user's registry, as the settings and the window placements use it.
// Key paths are relative to HKEY_CURRENT_USER; a leading backslash is allowed.
// The Win32 adapter opens a key for each call and closes it again.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace korvan {

struct RegistryValue {
    enum class Type { Dword, String, Other };
    Type type = Type::Other;
    uint32_t dword = 0;
    std::wstring text;

    static RegistryValue Dword(uint32_t v) { return {Type::Dword, v, {}}; }
    static RegistryValue String(std::wstring v) { return {Type::String, 0, std::move(v)}; }
};

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // Opens the key, creating it (and its parents) when create is true.
    virtual bool OpenKey(const std::wstring& path, bool create) = 0;
    // The value, or nothing when the key or the value is missing.
    virtual std::optional<RegistryValue> ReadValue(const std::wstring& path, const std::wstring& name) = 0;
    // Writes into an existing key; answers false when the key is missing or the write fails.
    virtual bool WriteValue(const std::wstring& path, const std::wstring& name, const RegistryValue& value) = 0;
};

} // namespace korvan
