#include "platform/ReportingRegistry.h"

#include <algorithm>
#include <cctype>

namespace korvan {

std::string ReportingRegistry::KeyName(const std::wstring& path) {
    std::string name = "HKEY_CURRENT_USER";
    size_t first = path.find_first_not_of(L'\\');
    if (first == std::wstring::npos) return name;
    name += '\\';
    // Key names are ASCII here; anything else is shown as '?' rather than garbled.
    for (size_t i = first; i < path.size(); ++i) name += path[i] < 0x80 ? static_cast<char>(path[i]) : '?';
    return name;
}

bool ReportingRegistry::WriteValue(const std::wstring& path, const std::wstring& name, const RegistryValue& value) {
    if (registry_.WriteValue(path, name, value)) return true;
    std::string key = KeyName(path);
    std::string folded = key;
    std::transform(folded.begin(), folded.end(), folded.begin(), [](unsigned char c) { return std::tolower(c); });
    if (told_.insert(folded).second && show_)
        show_("Could not write to the registry key\n\n    " + key +
              "\n\nThe program goes on, but what it stores there will not be remembered.");
    return false;
}

} // namespace korvan
