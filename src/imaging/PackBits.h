#pragma once
// PackBits run-length coding, as both the Macintosh picture and the Photoshop formats use it.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvan::imaging {

// Appends the packed form of size bytes to out; answers the number of bytes appended.
size_t PackBits(const uint8_t* data, size_t size, std::vector<uint8_t>& out);

// The inverse, for checks: answers false on malformed input.
bool UnpackBits(const uint8_t* data, size_t size, std::vector<uint8_t>& out);

} // namespace korvan::imaging
