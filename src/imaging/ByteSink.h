#pragma once
// Where encoders put their bytes, and a typed writer on top of it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace korvan::imaging {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Answers false once a write failed; later writes are ignored.
    virtual bool Write(const void* data, size_t size) = 0;
};

class VectorSink final : public ByteSink {
public:
    bool Write(const void* data, size_t size) override {
        auto p = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + size);
        return true;
    }
    std::vector<uint8_t> bytes;
};

// Buffered writer of little- and big-endian integers; remembers the first failure. What is
// still buffered at the end goes to the sink only through Flush: a writer that gives up,
// or whose memory ran out, writes nothing more.
class ByteWriter {
public:
    explicit ByteWriter(ByteSink& sink) : sink_(sink) {}
    ByteWriter(const ByteWriter&) = delete;
    ByteWriter& operator=(const ByteWriter&) = delete;

    void U8(uint8_t v) { Put(&v, 1); }
    void U16LE(uint16_t v) { uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)}; Put(b, 2); }
    void U32LE(uint32_t v) { uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; Put(b, 4); }
    void U16BE(uint16_t v) { uint8_t b[2] = {uint8_t(v >> 8), uint8_t(v)}; Put(b, 2); }
    void U32BE(uint32_t v) { uint8_t b[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; Put(b, 4); }
    void Bytes(const void* data, size_t size) { Put(data, size); }
    void Zeros(size_t count) { for (size_t i = 0; i < count; ++i) U8(0); }

    // Writes out what is buffered; answers whether every write so far succeeded.
    bool Flush() {
        if (!buffer_.empty()) {
            if (ok_) ok_ = sink_.Write(buffer_.data(), buffer_.size());
            buffer_.clear();
        }
        return ok_;
    }
    bool Ok() const { return ok_; }

private:
    void Put(const void* data, size_t size) {
        auto p = static_cast<const uint8_t*>(data);
        if (size >= kBufferSize) { Flush(); if (ok_) ok_ = sink_.Write(p, size); return; }
        if (buffer_.size() + size > kBufferSize) Flush();
        buffer_.insert(buffer_.end(), p, p + size);
    }
    static constexpr size_t kBufferSize = 1 << 16;
    ByteSink& sink_;
    std::vector<uint8_t> buffer_;
    bool ok_ = true;
};

} // namespace korvan::imaging
