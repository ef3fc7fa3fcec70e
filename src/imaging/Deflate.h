#pragma once
// A deflate compressor (raw blocks, no zlib wrapper) made for filtered screen pictures:
// long runs, rows that repeat, text that repeats at short and long distances, and photo
// areas where short matches cost more than the literals they replace.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvan::imaging::deflate {

// Compresses data[history, size) and appends the deflate blocks to out. The first
// `history` bytes (at most 32 KiB are used) were compressed elsewhere: matches may refer to
// them, so pieces of one stream compressed apart join almost as tightly as one piece.
// With `last` the final block ends the stream; otherwise an empty stored block brings the
// output to a byte boundary, so the next piece's blocks can simply follow. The bytes
// depend only on the input.
void Compress(const uint8_t* data, size_t size, size_t history, bool last, std::vector<uint8_t>& out);

// Code lengths of a length-limited prefix code for the frequencies, zero for unused symbols;
// a lone used symbol gets length 1. Exposed so the limit can be checked.
void CodeLengths(const uint32_t* frequencies, int count, int maxBits, uint8_t* lengths);

} // namespace korvan::imaging::deflate
