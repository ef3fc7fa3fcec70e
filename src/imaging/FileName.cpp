#include "imaging/FileName.h"

#include <algorithm>
#include <array>
#include <type_traits>

namespace korvan::imaging {
namespace {

using Char = std::filesystem::path::value_type;
using Text = std::filesystem::path::string_type;

constexpr size_t kMaxNameLength = 255;  // UTF-16 units

// Length as Windows counts it, in UTF-16 units, whatever the native encoding.
size_t Utf16Length(const Text& name) {
    if constexpr (sizeof(Char) == 2) {
        return name.size();
    } else {
        size_t length = 0;
        for (Char c : name) {
            auto byte = static_cast<unsigned char>(c);
            if ((byte & 0xC0) != 0x80) ++length;  // not a continuation byte
            if (byte >= 0xF0) ++length;           // beyond the basic plane: a surrogate pair
        }
        return length;
    }
}

Text Upper(Text text) {
    for (Char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<Char>(c - 'a' + 'A');
    return text;
}

Text Native(const char8_t* text) { return std::filesystem::path(text).native(); }

bool IsDeviceName(const Text& name) {
    // The part before the first dot, without trailing spaces, names the device.
    Text base = Upper(name.substr(0, name.find('.')));
    base.erase(base.find_last_not_of(' ') + 1);
    static const std::array<Text, 6> kDevices = {Native(u8"CON"), Native(u8"PRN"),    Native(u8"AUX"),
                                                 Native(u8"NUL"), Native(u8"CONIN$"), Native(u8"CONOUT$")};
    if (std::find(kDevices.begin(), kDevices.end(), base) != kDevices.end()) return true;
    static const std::array<Text, 13> kPortNumbers = {
        Native(u8"0"), Native(u8"1"), Native(u8"2"), Native(u8"3"), Native(u8"4"),      Native(u8"5"),     Native(u8"6"),
        Native(u8"7"), Native(u8"8"), Native(u8"9"), Native(u8"\u00B9"), Native(u8"\u00B2"), Native(u8"\u00B3")};
    for (const Text& port : {Native(u8"COM"), Native(u8"LPT")})
        if (base.size() > 3 && base.compare(0, 3, port) == 0 &&
            std::find(kPortNumbers.begin(), kPortNumbers.end(), base.substr(3)) != kPortNumbers.end())
            return true;
    return false;
}

} // namespace

bool IsValidFileName(const std::filesystem::path& file) {
    // Split by hand: natively a backslash is no separator, but it is one in the program's
    // Windows paths; a drive ("C:name") is no part of the name.
    Text name = file.native();
    if (size_t slash = name.find_last_of(Native(u8"/\\")); slash != Text::npos) {
        name.erase(0, slash + 1);
    } else if (name.size() >= 2 && name[1] == ':' && ((name[0] | 0x20) >= 'a' && (name[0] | 0x20) <= 'z')) {
        name.erase(0, 2);
    }
    if (name.empty() || Utf16Length(name) > kMaxNameLength) return false;
    static const Text kRefused = Native(u8"<>:\"/\\|?*");
    for (Char c : name)
        if (static_cast<std::make_unsigned_t<Char>>(c) < 32 || kRefused.find(c) != Text::npos) return false;
    if (name.back() == '.' || name.back() == ' ') return false;
    return !IsDeviceName(name);
}

} // namespace korvan::imaging
