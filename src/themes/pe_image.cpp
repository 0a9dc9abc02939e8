#include "pe_image.h"

#include <algorithm>
#include <cstring>

namespace sumbrook {

namespace {

constexpr std::uint16_t kDosMagic = 0x5A4D;         // "MZ"
constexpr std::uint32_t kNtSignature = 0x00004550;  // "PE\0\0"
constexpr std::uint16_t kPe32Magic = 0x010B;
constexpr std::uint16_t kPe32PlusMagic = 0x020B;
constexpr std::uint64_t kDosHeaderSize = 64;
constexpr std::uint64_t kFileHeaderOffset = 4;       // after the signature
constexpr std::uint64_t kOptionalHeaderOffset = 24;  // signature + file header
// Inside the optional header, where the two forms differ: PE32+ has no BaseOfData and a
// 64-bit ImageBase, and its stack and heap sizes are 64-bit too.
struct OptionalLayout {
    std::uint16_t magic;
    std::uint64_t imageBase;
    std::uint64_t directoryCount;
    std::uint64_t directories;
};
constexpr OptionalLayout kPe32{kPe32Magic, 28, 92, 96};
constexpr OptionalLayout kPe32Plus{kPe32PlusMagic, 24, 108, 112};
// Enough of the optional header to read its magic, entry point, alignment and sizes.
constexpr std::uint64_t kOptionalHeaderMinimum = 96;
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
    if (optional + kOptionalHeaderMinimum > bytes.size()) {
        return fail("NT headers lie beyond the end of the data");
    }
    if (r32(nt) != kNtSignature) {
        return fail("no PE signature");
    }
    const std::uint64_t file = nt + kFileHeaderOffset;
    PeImage image;
    image.machine = r16(file);
    if (image.machine != PeImage::kMachineI386 && image.machine != PeImage::kMachineAmd64) {
        return fail("not an i386 or x86-64 image (machine " + PeImage::MachineName(image.machine) +
                    ")");
    }
    image.characteristics = r16(file + 18);
    if ((image.characteristics & PeImage::kExecutableImage) == 0) {
        return fail("not marked as an executable image");
    }
    const OptionalLayout& layout = image.is64() ? kPe32Plus : kPe32;
    if (r16(optional) != layout.magic) {
        return fail(image.is64() ? "x86-64 image without a PE32+ optional header"
                                 : "i386 image without a PE32 optional header");
    }
    if (optional + layout.directories > bytes.size()) {
        return fail("NT headers lie beyond the end of the data");
    }
    const std::uint64_t optionalSize = r16(file + 16);
    const std::uint64_t directoryCount =
        std::min<std::uint64_t>(r32(optional + layout.directoryCount), image.directories.size());
    if (optionalSize < layout.directories + 8 * directoryCount) {
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
    image.imageBase = image.is64() ? *PeImage::read64(bytes, optional + layout.imageBase)
                                   : r32(optional + layout.imageBase);
    image.sectionAlignment = r32(optional + 32);
    if (image.sectionAlignment == 0) {
        return fail("section alignment is 0");
    }
    for (std::uint64_t i = 0; i < directoryCount; ++i) {
        image.directories[i] = {r32(optional + layout.directories + 8 * i),
                                r32(optional + layout.directories + 8 * i + 4)};
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

std::optional<std::uint64_t> PeImage::read64(std::span<const std::uint8_t> bytes,
                                             std::uint64_t offset) {
    const std::optional<std::uint32_t> low = read32(bytes, offset);
    const std::optional<std::uint32_t> high = read32(bytes, offset + 4);
    if (!low || !high) {
        return std::nullopt;
    }
    return std::uint64_t{*high} << 32 | *low;
}

std::string PeImage::MachineName(std::uint16_t machine) {
    switch (machine) {
        case kMachineI386:
            return "i386";
        case kMachineAmd64:
            return "x86-64";
        default: {
            static const char digits[] = "0123456789ABCDEF";
            std::string text = "0x";
            for (int shift = 12; shift >= 0; shift -= 4) {
                text += digits[(machine >> shift) & 0xF];
            }
            return text;
        }
    }
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
