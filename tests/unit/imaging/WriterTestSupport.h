#pragma once
// Small readers for checking the bytes our writers produce.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korvan::test {

inline uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}
inline uint16_t Be16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] << 8 | b[at + 1]); }
inline uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 3]} << 24;
}
inline uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }
inline std::string Text(const std::vector<uint8_t>& b, size_t at, size_t n) { return std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + n)); }

} // namespace korvan::test
