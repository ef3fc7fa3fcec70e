#pragma once
// An in-memory HKEY_CURRENT_USER for tests. Key paths and value names compare without
// case, as in the real registry; a leading backslash is allowed. Every call is recorded:
//   "Open(<path>,true|false)"  "Read(<path>\<name>)"  "Write(<path>\<name>=<value>)"
// where a string value is written as its text, a DWORD as "dword:<decimal>", any other
// type as "other". Tests plant values of any type and can make key creation fail.
#include "platform/Registry.h"

#include <algorithm>
#include <cwctype>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace korvan::test {

class FakeRegistry final : public IRegistry {
public:
    bool OpenKey(const std::wstring& path, bool create) override {
        calls_.push_back(L"Open(" + Trim(path) + (create ? L",true)" : L",false)"));
        if (HasKey(path)) return true;
        if (!create || failCreate_.count(Fold(path))) return false;
        MakeKey(path);
        return true;
    }

    std::optional<RegistryValue> ReadValue(const std::wstring& path, const std::wstring& name) override {
        calls_.push_back(L"Read(" + Trim(path) + L"\\" + name + L")");
        return Value(path, name);
    }

    bool WriteValue(const std::wstring& path, const std::wstring& name, const RegistryValue& value) override {
        calls_.push_back(L"Write(" + Trim(path) + L"\\" + name + L"=" + Render(value) + L")");
        if (!HasKey(path) || failWrite_) return false;
        Store(path, name, value);
        return true;
    }

    // Test set-up: values of any type, created with their keys, without recording a call.
    void Plant(const std::wstring& path, const std::wstring& name, const RegistryValue& value) {
        MakeKey(path);
        Store(path, name, value);
    }
    void PlantString(const std::wstring& path, const std::wstring& name, const std::wstring& text) {
        Plant(path, name, RegistryValue::String(text));
    }
    void PlantKey(const std::wstring& path) { MakeKey(path); }
    void FailCreate(const std::wstring& path) { failCreate_.insert(Fold(path)); }
    void AllowCreate(const std::wstring& path) { failCreate_.erase(Fold(path)); }
    void FailWrites(bool fail) { failWrite_ = fail; }

    // Inspection.
    bool HasKey(const std::wstring& path) const { return keys_.count(Fold(path)) != 0; }
    std::optional<RegistryValue> Value(const std::wstring& path, const std::wstring& name) const {
        auto key = keys_.find(Fold(path));
        if (key == keys_.end()) return std::nullopt;
        for (const auto& [stored, value] : key->second)
            if (Fold(stored) == Fold(name)) return value;
        return std::nullopt;
    }
    std::wstring Text(const std::wstring& path, const std::wstring& name) const {
        auto value = Value(path, name);
        return value ? Render(*value) : L"<missing>";
    }
    // Value names of a key in the order they were first written.
    std::vector<std::wstring> ValueNames(const std::wstring& path) const {
        std::vector<std::wstring> names;
        auto key = keys_.find(Fold(path));
        if (key != keys_.end())
            for (const auto& entry : key->second) names.push_back(entry.first);
        return names;
    }
    const std::vector<std::wstring>& Calls() const { return calls_; }
    // The recorded calls whose text starts with prefix ("Write(", "Read(", "Open(").
    std::vector<std::wstring> CallsOf(const std::wstring& prefix) const {
        std::vector<std::wstring> found;
        for (const auto& call : calls_)
            if (call.rfind(prefix, 0) == 0) found.push_back(call);
        return found;
    }
    void ClearCalls() { calls_.clear(); }

    static std::wstring Render(const RegistryValue& value) {
        switch (value.type) {
        case RegistryValue::Type::String: return value.text;
        case RegistryValue::Type::Dword: return L"dword:" + std::to_wstring(value.dword);
        default: return L"other";
        }
    }

private:
    static std::wstring Trim(const std::wstring& path) {
        size_t first = path.find_first_not_of(L'\\');
        if (first == std::wstring::npos) return {};
        return path.substr(first, path.find_last_not_of(L'\\') - first + 1);
    }
    static std::wstring Fold(const std::wstring& text) {
        std::wstring folded = Trim(text);
        std::transform(folded.begin(), folded.end(), folded.begin(),
                       [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
        return folded;
    }
    void MakeKey(const std::wstring& path) {
        std::wstring trimmed = Trim(path);
        for (size_t end = trimmed.find(L'\\'); end != std::wstring::npos; end = trimmed.find(L'\\', end + 1))
            keys_[Fold(trimmed.substr(0, end))];
        keys_[Fold(trimmed)];
    }
    void Store(const std::wstring& path, const std::wstring& name, const RegistryValue& value) {
        auto& entries = keys_[Fold(path)];
        for (auto& entry : entries)
            if (Fold(entry.first) == Fold(name)) {
                entry.second = value;
                return;
            }
        entries.emplace_back(name, value);
    }

    std::map<std::wstring, std::vector<std::pair<std::wstring, RegistryValue>>> keys_;
    std::set<std::wstring> failCreate_;
    bool failWrite_ = false;
    std::vector<std::wstring> calls_;
};

} // namespace korvan::test
