#include "saving/AutoSaveName.h"

#include <cwctype>

namespace korvan {
namespace {

bool EndsWithNoCase(const std::wstring& text, const std::wstring& suffix) {
    if (suffix.size() > text.size()) return false;
    size_t offset = text.size() - suffix.size();
    for (size_t i = 0; i < suffix.size(); ++i)
        if (std::towlower(text[offset + i]) != std::towlower(suffix[i])) return false;
    return true;
}

} // namespace

std::wstring AutoSaveStem(const std::wstring& base, const std::wstring& defaultExt) {
    if (!defaultExt.empty() && EndsWithNoCase(base, L"." + defaultExt))
        return base.substr(0, base.size() - defaultExt.size() - 1);
    size_t nameStart = base.find_last_of(L"\\/:");
    nameStart = nameStart == std::wstring::npos ? 0 : nameStart + 1;
    size_t dot = base.rfind(L'.');
    // A leading dot names a file ("\.profile"), it does not start an extension.
    if (dot != std::wstring::npos && dot > nameStart) return base.substr(0, dot);
    return base;
}

std::wstring AutoSaveFileName(const std::wstring& base, const std::wstring& defaultExt, int counter) {
    return AutoSaveStem(base, defaultExt) + std::to_wstring(counter) + L"." + defaultExt;
}

} // namespace korvan
