#include "imaging/PackBits.h"

namespace korvan::imaging {

size_t PackBits(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
    const size_t start = out.size();
    size_t i = 0;
    while (i < size) {
        size_t run = 1;
        while (i + run < size && run < 128 && data[i + run] == data[i]) ++run;
        if (run >= 2) {
            out.push_back(static_cast<uint8_t>(257 - run));  // -(run - 1)
            out.push_back(data[i]);
            i += run;
            continue;
        }
        // Literal bytes up to the next run of three (a run of two costs as much either way).
        size_t literal = 1;
        while (i + literal < size && literal < 128) {
            size_t j = i + literal;
            if (j + 2 < size && data[j] == data[j + 1] && data[j] == data[j + 2]) break;
            ++literal;
        }
        out.push_back(static_cast<uint8_t>(literal - 1));
        out.insert(out.end(), data + i, data + i + literal);
        i += literal;
    }
    return out.size() - start;
}

bool UnpackBits(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
    size_t i = 0;
    while (i < size) {
        int n = static_cast<int8_t>(data[i++]);
        if (n >= 0) {
            if (size - i < static_cast<size_t>(n) + 1) return false;
            out.insert(out.end(), data + i, data + i + n + 1);
            i += static_cast<size_t>(n) + 1;
        } else if (n != -128) {
            if (i >= size) return false;
            out.insert(out.end(), static_cast<size_t>(1 - n), data[i++]);
        }
    }
    return true;
}

} // namespace korvan::imaging
