// Reads a fuzzer's byte string as a stream of small decisions; past the end every read is 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace qev::fuzz {

class ByteReader {
  public:
    ByteReader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool done() const { return position_ >= size_; }

    uint8_t byte() { return position_ < size_ ? data_[position_++] : 0; }

    float floatBits() {
        uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(byte()) << (8 * i);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

  private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace qev::fuzz
