#include "platform/win32/RegistryWin32.h"

#include "platform/ReportingRegistry.h"
#include "platform/win32/Text.h"
#include "platform/win32/WindowBase.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <vector>

namespace korvan::win {
namespace {

std::wstring Relative(const std::wstring& path) {
    size_t start = path.find_first_not_of(L'\\');
    return start == std::wstring::npos ? std::wstring() : path.substr(start);
}

class Key {
public:
    Key(const std::wstring& path, bool create, REGSAM access) {
        std::wstring relative = Relative(path);
        LONG status = create ? ::RegCreateKeyExW(HKEY_CURRENT_USER, relative.c_str(), 0, nullptr, 0, access, nullptr,
                                                 &key_, nullptr)
                             : ::RegOpenKeyExW(HKEY_CURRENT_USER, relative.c_str(), 0, access, &key_);
        if (status != ERROR_SUCCESS) key_ = nullptr;
    }
    ~Key() { if (key_) ::RegCloseKey(key_); }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

} // namespace

bool RegistryWin32::OpenKey(const std::wstring& path, bool create) {
    return Key(path, create, KEY_READ | (create ? KEY_WRITE : 0)).get() != nullptr;
}

std::optional<RegistryValue> RegistryWin32::ReadValue(const std::wstring& path, const std::wstring& name) {
    Key key(path, false, KEY_READ);
    if (!key.get()) return std::nullopt;
    DWORD type = 0, size = 0;
    std::vector<wchar_t> data;
    for (LONG status = ERROR_MORE_DATA; status != ERROR_SUCCESS;) {  // again if the value grew meanwhile
        if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        // Room for every stored byte, an odd one included, and a null after them.
        data.assign(size / sizeof(wchar_t) + 2, L'\0');
        status = ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return std::nullopt;
    }
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD value;
        std::memcpy(&value, data.data(), sizeof value);
        return RegistryValue::Dword(value);
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        // Whole characters up to the first null: a string's stored length may be odd, and
        // it need not end in a null.
        std::wstring text(data.data(), size / sizeof(wchar_t));
        text.resize(std::wcslen(text.c_str()));
        return RegistryValue::String(std::move(text));
    }
    return RegistryValue{};
}

bool RegistryWin32::WriteValue(const std::wstring& path, const std::wstring& name, const RegistryValue& value) {
    Key key(path, false, KEY_WRITE);
    if (!key.get()) return false;
    if (value.type == RegistryValue::Type::Dword) {
        DWORD v = value.dword;
        return ::RegSetValueExW(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof(v)) ==
               ERROR_SUCCESS;
    }
    if (value.type == RegistryValue::Type::String) {
        auto bytes = static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t));
        return ::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                                bytes) == ERROR_SUCCESS;
    }
    return false;
}

IRegistry& ProgramRegistry() {
    static RegistryWin32 registry;
    static ReportingRegistry reporting(registry, [](const std::string& message) {
        ShowErrorBox(ApplicationHandle(), Widen(message));
    });
    return reporting;
}

} // namespace korvan::win
