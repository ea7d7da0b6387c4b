#include "elf_symbols.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

namespace {

// Field access for either ELF class: offsets differ, values are little-endian.
class ElfFile {
  public:
    explicit ElfFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), {});
        if (bytes_.size() < 64 || std::memcmp(bytes_.data(),
                                              "\x7f"
                                              "ELF",
                                              4) != 0) {
            throw std::runtime_error(path + " is not an ELF file");
        }
        wide_ = bytes_[4] == 2;
    }

    bool wide() const { return wide_; }
    uint64_t word(std::size_t offset, std::size_t size) const {
        if (offset + size > bytes_.size()) throw std::runtime_error("ELF read out of bounds");
        uint64_t value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            value |= static_cast<uint64_t>(static_cast<uint8_t>(bytes_[offset + i])) << (8 * i);
        }
        return value;
    }
    uint64_t address(std::size_t offset) const { return word(offset, wide_ ? 8 : 4); }
    std::string text(std::size_t offset) const {
        if (offset >= bytes_.size()) throw std::runtime_error("ELF string out of bounds");
        return std::string(bytes_.data() + offset);
    }

  private:
    std::string bytes_;
    bool wide_ = false;
};

struct Section {
    uint32_t type;
    uint64_t offset, size, entrySize;
    uint32_t link;
};

std::vector<Section> sections(const ElfFile& elf) {
    const bool w = elf.wide();
    const uint64_t table = elf.address(w ? 0x28 : 0x20);
    const auto entrySize = elf.word(w ? 0x3a : 0x2e, 2);
    const auto count = elf.word(w ? 0x3c : 0x30, 2);
    std::vector<Section> result;
    for (uint64_t i = 0; i < count; ++i) {
        const std::size_t at = table + i * entrySize;
        result.push_back({static_cast<uint32_t>(elf.word(at + 4, 4)),
                          elf.address(at + (w ? 0x18 : 0x10)), elf.address(at + (w ? 0x20 : 0x14)),
                          elf.address(at + (w ? 0x38 : 0x24)),
                          static_cast<uint32_t>(elf.word(at + (w ? 0x28 : 0x18), 4))});
    }
    return result;
}

constexpr uint32_t kSymTab = 2, kDynSym = 11, kDynamic = 6, kInitArray = 14;
constexpr uint64_t kNeeded = 1;
constexpr unsigned kBindGlobal = 1, kBindWeak = 2;

}  // namespace

ElfDynamicInfo readElfDynamicInfo(const std::string& path) {
    const ElfFile elf(path);
    const bool w = elf.wide();
    const auto all = sections(elf);
    ElfDynamicInfo info;
    for (const Section& s : all) {
        if (s.type != kDynSym && s.type != kDynamic) continue;
        const Section& strings = all.at(s.link);
        for (uint64_t at = s.offset; s.entrySize && at + s.entrySize <= s.offset + s.size;
             at += s.entrySize) {
            if (s.type == kDynSym) {
                const auto name = elf.word(at, 4);
                const auto infoByte = elf.word(at + (w ? 4 : 12), 1);
                const auto sectionIndex = elf.word(at + (w ? 6 : 14), 2);
                const unsigned bind = static_cast<unsigned>(infoByte >> 4);
                if (name != 0 && sectionIndex != 0 && (bind == kBindGlobal || bind == kBindWeak)) {
                    info.definedSymbols.insert(elf.text(strings.offset + name));
                }
            } else if (elf.address(at) == kNeeded) {
                info.needed.push_back(elf.text(strings.offset + elf.address(at + (w ? 8 : 4))));
            }
        }
    }
    return info;
}

std::vector<std::string> readElfLoadInitialisers(const std::string& path) {
    const ElfFile elf(path);
    const bool w = elf.wide();
    const auto all = sections(elf);
    std::map<uint64_t, std::string> names;  // symbol value -> name, from .symtab
    for (const Section& s : all) {
        if (s.type != kSymTab || s.entrySize == 0) continue;
        const Section& strings = all.at(s.link);
        for (uint64_t at = s.offset; at + s.entrySize <= s.offset + s.size; at += s.entrySize) {
            const auto name = elf.word(at, 4);
            const uint64_t value = w ? elf.word(at + 8, 8) : elf.word(at + 4, 4);
            if (name != 0 && value != 0) names.emplace(value, elf.text(strings.offset + name));
        }
    }
    std::vector<std::string> result;
    const std::size_t width = w ? 8 : 4;
    for (const Section& s : all) {
        if (s.type != kInitArray) continue;
        // The entries hold the addresses themselves (the relocations only add the load base).
        for (uint64_t at = s.offset; at + width <= s.offset + s.size; at += width) {
            const uint64_t target = elf.address(at);
            const auto found = names.find(target);
            result.push_back(found != names.end() ? found->second : "?" + std::to_string(target));
        }
    }
    return result;
}
