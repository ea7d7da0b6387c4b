// A record as the host hands it to a plug-in: a byte buffer filled with a sentinel byte, read and
// written at the offsets of record_layout.h. A field still holding only sentinel bytes was not
// written by the module.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qevhost {

inline constexpr uint8_t kSentinel = 0xA5;

// A span of bytes [offset, offset + length).
struct ByteSpan {
    std::size_t offset, length;
};

class RecordBuffer {
  public:
    explicit RecordBuffer(std::size_t size);

    uint8_t* data() { return bytes_.data(); }
    const uint8_t* data() const { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }
    void reset();  // every byte back to the sentinel

    int32_t int32At(std::size_t offset) const;
    float floatAt(std::size_t offset) const;
    intptr_t pointerAt(std::size_t offset) const;  // pointer-sized, native width
    void setInt32(std::size_t offset, int32_t value);
    void setFloat(std::size_t offset, float value);
    void setPointer(std::size_t offset, intptr_t value);

    bool isSentinel(ByteSpan span) const;
    // The field's value, or nullopt while it holds only sentinel bytes.
    std::optional<int32_t> writtenInt32(std::size_t offset) const;
    std::optional<float> writtenFloat(std::size_t offset) const;
    // The text a written text pointer points at; nullopt for an unwritten or null pointer.
    std::optional<std::string> writtenText(std::size_t offset) const;

    // Offsets of bytes outside the given spans that differ from `before`.
    std::vector<std::size_t> changedOutside(const std::vector<ByteSpan>& allowed,
                                            const RecordBuffer& before) const;
    bool operator==(const RecordBuffer& other) const { return bytes_ == other.bytes_; }

  private:
    std::vector<uint8_t> bytes_;
};

// The fields of each record that a module may write, for the given layout.
struct RecordLayout;
std::vector<ByteSpan> moduleInfoFields(const RecordLayout& layout);
std::vector<ByteSpan> paramInfoFields(const RecordLayout& layout);

}  // namespace qevhost
