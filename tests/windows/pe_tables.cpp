#include "pe_tables.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

class Image {
  public:
    explicit Image(const std::string& path) : path_(path) {
        std::ifstream file(path, std::ios::binary);
        if (!file) fail("cannot open");
        bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    template <typename T>
    T at(std::size_t offset) const {
        if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T)) fail("truncated");
        T value;
        std::memcpy(&value, bytes_.data() + offset, sizeof value);
        return value;
    }

    std::string textAt(std::size_t offset) const {
        std::string text;
        while (offset < bytes_.size() && bytes_[offset] != '\0') text += bytes_[offset++];
        if (offset >= bytes_.size()) fail("unterminated name");
        return text;
    }

    [[noreturn]] void fail(const char* what) const {
        throw std::runtime_error(path_ + ": " + what);
    }

  private:
    std::string path_;
    std::vector<char> bytes_;
};

struct Section {
    uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

// File offset of a relative virtual address, through the section that holds it.
std::size_t fileOffset(const Image& image, const std::vector<Section>& sections, uint32_t rva) {
    for (const Section& s : sections) {
        const uint32_t size = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
        if (rva >= s.virtualAddress && rva - s.virtualAddress < size)
            return std::size_t{s.rawOffset} + (rva - s.virtualAddress);
    }
    image.fail("address outside every section");
}

// DLL names of a table of fixed-size descriptors ending with a zeroed one.
std::vector<std::string> dllNames(const Image& image, const std::vector<Section>& sections,
                                  uint32_t tableRva, std::size_t entrySize, std::size_t nameField) {
    std::vector<std::string> names;
    if (tableRva == 0) return names;
    for (std::size_t entry = fileOffset(image, sections, tableRva);; entry += entrySize) {
        const uint32_t nameRva = image.at<uint32_t>(entry + nameField);
        if (nameRva == 0) break;
        names.push_back(image.textAt(fileOffset(image, sections, nameRva)));
    }
    return names;
}

// Names of the COFF symbol table that the static-initialiser functions of C++ files carry.
std::vector<std::string> staticInitialisers(const Image& image, std::size_t coff) {
    constexpr std::size_t kSymbolSize = 18;
    const uint32_t table = image.at<uint32_t>(coff + 8);
    const uint32_t count = image.at<uint32_t>(coff + 12);
    const std::size_t strings = std::size_t{table} + std::size_t{count} * kSymbolSize;
    std::vector<std::string> names;
    for (uint32_t i = 0; table != 0 && i < count; ++i) {
        const std::size_t symbol = table + std::size_t{i} * kSymbolSize;
        std::string name;
        if (image.at<uint32_t>(symbol) == 0) {  // long name: an offset into the string table
            name = image.textAt(strings + image.at<uint32_t>(symbol + 4));
        } else {
            for (std::size_t c = 0; c < 8 && image.at<char>(symbol + c) != '\0'; ++c)
                name += image.at<char>(symbol + c);
        }
        if (name.find("_GLOBAL__sub_I") != std::string::npos) names.push_back(name);
        i += image.at<uint8_t>(symbol + 17);  // auxiliary records
    }
    return names;
}

}  // namespace

PeTables readPeTables(const std::string& path) {
    const Image image(path);
    if (image.at<uint16_t>(0) != 0x5a4d) image.fail("no MZ header");
    const uint32_t pe = image.at<uint32_t>(0x3c);
    if (image.at<uint32_t>(pe) != 0x00004550) image.fail("no PE signature");

    PeTables tables;
    const std::size_t coff = pe + 4;
    tables.machine = image.at<uint16_t>(coff);
    tables.staticInitialisers = staticInitialisers(image, coff);
    const uint16_t sectionCount = image.at<uint16_t>(coff + 2);
    const uint16_t optionalSize = image.at<uint16_t>(coff + 16);
    const std::size_t optional = coff + 20;
    const uint16_t magic = image.at<uint16_t>(optional);
    if (magic != 0x10b && magic != 0x20b) image.fail("unknown optional header");
    tables.pe32Plus = magic == 0x20b;
    const std::size_t directories = optional + (tables.pe32Plus ? 112 : 96);
    const auto directoryRva = [&](int index) {
        return image.at<uint32_t>(directories + 8 * index);
    };

    std::vector<Section> sections;
    for (std::size_t s = optional + optionalSize, n = 0; n < sectionCount; ++n, s += 40)
        sections.push_back({image.at<uint32_t>(s + 12), image.at<uint32_t>(s + 8),
                            image.at<uint32_t>(s + 20), image.at<uint32_t>(s + 16)});

    if (const uint32_t exportRva = directoryRva(0)) {
        const std::size_t table = fileOffset(image, sections, exportRva);
        tables.exportedFunctions = image.at<uint32_t>(table + 20);
        const uint32_t nameCount = image.at<uint32_t>(table + 24);
        const uint32_t namesRva = image.at<uint32_t>(table + 32);
        for (uint32_t i = 0; i < nameCount; ++i) {
            const uint32_t nameRva =
                image.at<uint32_t>(fileOffset(image, sections, namesRva) + 4 * std::size_t{i});
            tables.exportNames.insert(image.textAt(fileOffset(image, sections, nameRva)));
        }
    }
    tables.importedDlls = dllNames(image, sections, directoryRva(1), 20, 12);
    tables.delayLoadedDlls = dllNames(image, sections, directoryRva(13), 32, 4);
    return tables;
}
