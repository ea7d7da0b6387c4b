#include "qevhost/record_buffer.h"

#include <algorithm>
#include <cstring>

#include "qevhost/record_layout.h"

namespace qevhost {

namespace {

template <typename T>
T load(const std::vector<uint8_t>& bytes, std::size_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

template <typename T>
void store(std::vector<uint8_t>& bytes, std::size_t offset, T value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

}  // namespace

RecordBuffer::RecordBuffer(std::size_t size) : bytes_(size, kSentinel) {}

void RecordBuffer::reset() {
    std::fill(bytes_.begin(), bytes_.end(), kSentinel);
}

int32_t RecordBuffer::int32At(std::size_t offset) const {
    return load<int32_t>(bytes_, offset);
}
float RecordBuffer::floatAt(std::size_t offset) const {
    return load<float>(bytes_, offset);
}
intptr_t RecordBuffer::pointerAt(std::size_t offset) const {
    return load<intptr_t>(bytes_, offset);
}
void RecordBuffer::setInt32(std::size_t offset, int32_t value) {
    store(bytes_, offset, value);
}
void RecordBuffer::setFloat(std::size_t offset, float value) {
    store(bytes_, offset, value);
}
void RecordBuffer::setPointer(std::size_t offset, intptr_t value) {
    store(bytes_, offset, value);
}

bool RecordBuffer::isSentinel(ByteSpan span) const {
    const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(span.offset);
    return std::all_of(begin, begin + static_cast<std::ptrdiff_t>(span.length),
                       [](uint8_t b) { return b == kSentinel; });
}

std::optional<int32_t> RecordBuffer::writtenInt32(std::size_t offset) const {
    if (isSentinel({offset, 4})) return std::nullopt;
    return int32At(offset);
}

std::optional<float> RecordBuffer::writtenFloat(std::size_t offset) const {
    if (isSentinel({offset, 4})) return std::nullopt;
    return floatAt(offset);
}

std::optional<std::string> RecordBuffer::writtenText(std::size_t offset) const {
    if (isSentinel({offset, sizeof(void*)})) return std::nullopt;
    const auto* text = reinterpret_cast<const char*>(pointerAt(offset));
    if (text == nullptr) return std::nullopt;
    return std::string(text);
}

std::vector<std::size_t> RecordBuffer::changedOutside(const std::vector<ByteSpan>& allowed,
                                                      const RecordBuffer& before) const {
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        if (i < before.bytes_.size() && bytes_[i] == before.bytes_[i]) continue;
        const bool inField = std::any_of(allowed.begin(), allowed.end(), [i](ByteSpan s) {
            return i >= s.offset && i < s.offset + s.length;
        });
        if (!inField) changed.push_back(i);
    }
    return changed;
}

std::vector<ByteSpan> moduleInfoFields(const RecordLayout& layout) {
    const auto& f = layout.moduleInfo;
    const std::size_t p = layout.pointerSize;
    return {{f.name, p},           {f.description, p}, {f.moduleType, 4}, {f.hostLookup, 4},
            {f.numberOfParams, 4}, {f.optionCode, 4},  {f.version, p}};
}

std::vector<ByteSpan> paramInfoFields(const RecordLayout& layout) {
    const auto& f = layout.paramInfo;
    const std::size_t p = layout.pointerSize;
    return {{f.paramType, 4},   {f.caption, p},   {f.isInput, 4},  {f.commonFlag, 4},
            {f.settingFlag, 4}, {f.minValue, 4},  {f.maxValue, 4}, {f.defaultValue, 4},
            {f.format, p},      {f.listItems, p}, {f.isOutput, 4}, {f.modeCode, 4},
            {f.startsGroup, 4}};
}

}  // namespace qevhost
