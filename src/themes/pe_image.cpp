#include "pe_image.h"

#include <algorithm>
#include <cstring>

namespace sumbrook {

namespace {

constexpr std::uint16_t kDosMagic = 0x5A4D;         // "MZ"
constexpr std::uint32_t kNtSignature = 0x00004550;  // "PE\0\0"
constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr std::uint16_t kPe32Magic = 0x010B;
constexpr std::uint64_t kDosHeaderSize = 64;
constexpr std::uint64_t kFileHeaderOffset = 4;       // after the signature
constexpr std::uint64_t kOptionalHeaderOffset = 24;  // signature + file header
constexpr std::uint64_t kDirectoriesOffset = 96;     // inside the optional header
constexpr std::uint64_t kSectionHeaderSize = 40;

std::uint64_t alignUp(std::uint64_t value, std::uint64_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

// The fields this loader uses, read after the whole header range has been bounds-checked.
std::optional<PeImage> parseChecked(std::span<const std::uint8_t> bytes, std::string& reason) {
    auto fail = [&reason](std::string why) {
        reason = std::move(why);
        return std::optional<PeImage>{};
    };
    const auto r16 = [&bytes](std::uint64_t offset) { return *PeImage::read16(bytes, offset); };
    const auto r32 = [&bytes](std::uint64_t offset) { return *PeImage::read32(bytes, offset); };

    if (bytes.size() < kDosHeaderSize) {
        return fail("shorter than a DOS header");
    }
    if (r16(0) != kDosMagic) {
        return fail("no MZ signature");
    }
    const std::uint64_t nt = r32(0x3C);
    const std::uint64_t optional = nt + kOptionalHeaderOffset;
    if (optional + kDirectoriesOffset > bytes.size()) {
        return fail("NT headers lie beyond the end of the data");
    }
    if (r32(nt) != kNtSignature) {
        return fail("no PE signature");
    }
    const std::uint64_t file = nt + kFileHeaderOffset;
    if (r16(file) != kMachineI386) {
        return fail("not an i386 image");
    }
    PeImage image;
    image.characteristics = r16(file + 18);
    if ((image.characteristics & PeImage::kExecutableImage) == 0) {
        return fail("not marked as an executable image");
    }
    if (r16(optional) != kPe32Magic) {
        return fail("optional header is not PE32");
    }
    const std::uint64_t optionalSize = r16(file + 16);
    const std::uint64_t directoryCount =
        std::min<std::uint64_t>(r32(optional + 92), image.directories.size());
    if (optionalSize < kDirectoriesOffset + 8 * directoryCount) {
        return fail("optional header too small for its data directories");
    }
    const std::uint64_t sectionTable = optional + optionalSize;
    const std::uint64_t sectionCount = r16(file + 2);
    const std::uint64_t headersEnd = sectionTable + kSectionHeaderSize * sectionCount;
    if (headersEnd > bytes.size()) {
        return fail("section table lies beyond the end of the data");
    }
    image.headersSize = static_cast<std::uint32_t>(headersEnd);
    image.addressOfEntryPoint = r32(optional + 16);
    image.imageBase = r32(optional + 28);
    image.sectionAlignment = r32(optional + 32);
    if (image.sectionAlignment == 0) {
        return fail("section alignment is 0");
    }
    for (std::uint64_t i = 0; i < directoryCount; ++i) {
        image.directories[i] = {r32(optional + kDirectoriesOffset + 8 * i),
                                r32(optional + kDirectoriesOffset + 8 * i + 4)};
    }

    std::uint64_t extent = r32(optional + 56);
    for (std::uint64_t i = 0; i < sectionCount; ++i) {
        const std::uint64_t at = sectionTable + kSectionHeaderSize * i;
        PeImage::Section section{r32(at + 12), r32(at + 8), r32(at + 16), r32(at + 20)};
        const std::uint64_t end = std::uint64_t{section.virtualAddress} +
                                  std::max(section.sizeOfRawData, section.virtualSize);
        extent = std::max(extent, alignUp(end, image.sectionAlignment));
        if (section.sizeOfRawData > 0 && section.virtualAddress != 0 &&
            std::uint64_t{section.pointerToRawData} + section.sizeOfRawData > bytes.size()) {
            return fail("raw data of section " + std::to_string(i) + " lies beyond the file");
        }
        image.sections.push_back(section);
    }
    if (extent == 0) {
        return fail("image size is 0");
    }
    extent = std::max(extent, alignUp(headersEnd, image.sectionAlignment));
    if (extent > PeImage::kMaxImageSize) {
        return fail("image size " + std::to_string(extent) + " is implausibly large");
    }
    image.sizeOfImage = static_cast<std::uint32_t>(extent);

    if (image.addressOfEntryPoint >= image.sizeOfImage) {
        return fail("entry point lies outside the image");
    }
    for (const auto index : {PeImage::kExports, PeImage::kImports, PeImage::kBaseRelocations}) {
        const PeImage::Directory& directory = image.directories[index];
        if (directory.size > 0 && directory.virtualAddress == 0) {
            return fail("data directory " + std::to_string(index) + " has a size but no address");
        }
        if (directory.end() > image.sizeOfImage) {
            return fail("data directory " + std::to_string(index) + " lies outside the image");
        }
    }
    return image;
}

}  // namespace

std::optional<PeImage> PeImage::parse(std::span<const std::uint8_t> bytes, std::string& reason) {
    reason.clear();
    return parseChecked(bytes, reason);
}

std::optional<std::uint16_t> PeImage::read16(std::span<const std::uint8_t> bytes,
                                             std::uint64_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 2) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::optional<std::uint32_t> PeImage::read32(std::span<const std::uint8_t> bytes,
                                             std::uint64_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 4) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

std::optional<std::string_view> PeImage::readText(std::span<const std::uint8_t> bytes,
                                                  std::uint64_t offset) {
    if (offset >= bytes.size()) {
        return std::nullopt;
    }
    const std::uint8_t* start = bytes.data() + offset;
    const void* terminator = std::memchr(start, 0, bytes.size() - offset);
    if (terminator == nullptr) {
        return std::nullopt;
    }
    return std::string_view(reinterpret_cast<const char*>(start),
                            static_cast<const std::uint8_t*>(terminator) - start);
}

}  // namespace sumbrook
