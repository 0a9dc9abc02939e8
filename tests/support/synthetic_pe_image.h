#pragma once

// A small, well-formed DLL image built in memory, for the module loader's tests and its fuzz
// target: relocations, imports by name and ordinal, exports with an ordinal base. It comes
// in both forms the loader maps: PE32 for i386 and PE32+ for x86-64, laid out alike so that
// one table of cases serves both.
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace sumbrook::pe_sample {

using Bytes = std::vector<std::uint8_t>;

enum class Format { Pe32, Pe32Plus };

// What differs between the two forms: the optional header's fields after the entry point,
// the width of addresses in the image (thunks, relocated values), the ordinal flag.
struct Layout {
    Format format;
    const char* name;
    std::uint16_t machine;
    std::uint16_t magic;
    std::uint16_t optionalSize;
    std::uint32_t imageBaseField;    // offset in the optional header
    std::uint32_t directoryCount;    // offset of NumberOfRvaAndSizes
    std::uint32_t directoriesField;  // offset of the first data directory
    unsigned width;                  // bytes of a thunk and of an address
    std::uint64_t ordinalFlag;
    std::uint16_t relocType;  // HIGHLOW (3) or DIR64 (10)
    std::uint64_t preferredBase;
    std::uint64_t high;  // added to every import's address
};

constexpr Layout kPe32Layout{Format::Pe32, "PE32", 0x14C,       0x10B, 224,        28, 92,
                             96,           4,      0x80000000u, 3,     0x10000000, 0};
constexpr Layout kPe32PlusLayout{
    Format::Pe32Plus,       "PE32+", 0x8664,      0x20B,         240, 24, 108, 112, 8,
    std::uint64_t{1} << 63, 10,      0x180000000, 0x7FF800000000};

constexpr const Layout& layoutOf(Format format) {
    return format == Format::Pe32 ? kPe32Layout : kPe32PlusLayout;
}

constexpr std::uint32_t kPreferredBase = 0x10000000;  // of the PE32 form
constexpr std::uint32_t kImageSize = 0x3000;
// Where the parts of the synthetic image lie (RVAs).
constexpr std::uint32_t kNt = 0x80;
constexpr std::uint32_t kFileHeader = kNt + 4;
constexpr std::uint32_t kOptional = kNt + 24;
constexpr std::uint32_t kEntry = 0x1000;
constexpr std::uint32_t kRelocated1 = 0x1010;
constexpr std::uint32_t kRelocated2 = 0x1020;
constexpr std::uint32_t kNotRelocated = 0x1030;  // named by an ABSOLUTE (padding) entry
constexpr std::uint32_t kRelocated3 = 0x25F0;
constexpr std::uint32_t kRelocs = 0x2000;
constexpr std::uint32_t kImports = 0x2100;
constexpr std::uint32_t kUserLookup = 0x2140;
constexpr std::uint32_t kUserIat = 0x2160;
constexpr std::uint32_t kKernelLookup = 0x2180;
constexpr std::uint32_t kKernelIat = 0x21B0;
constexpr std::uint32_t kExports = 0x2300;
constexpr std::uint32_t kFunctions = 0x2330;
constexpr std::uint32_t kNames = 0x2340;
constexpr std::uint32_t kOrdinals = 0x2348;

// Imported addresses (plus the layout's `high`).
constexpr std::uint32_t kGetDC = 0x7E001000;
constexpr std::uint32_t kUserOrdinal17 = 0x7E001700;
constexpr std::uint32_t kSleep = 0x7C002000;

// Where a form's fields lie.
constexpr std::uint32_t sectionsOf(const Layout& layout) {
    return kOptional + layout.optionalSize;
}
constexpr std::uint32_t directoryOf(const Layout& layout, int index) {
    return kOptional + layout.directoriesField + 8 * index;
}

// A small DLL written by RVA in its mapped form; file() lays it out as a linker would
// (headers, .text at file offset 0x200, .data at 0x600), whatever the headers say.
struct SyntheticImage {
    Bytes memory = Bytes(kImageSize);
    Layout layout = kPe32Layout;

    void put16(std::uint32_t rva, std::uint16_t value) {
        memory[rva] = static_cast<std::uint8_t>(value);
        memory[rva + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    void put32(std::uint32_t rva, std::uint32_t value) {
        put16(rva, static_cast<std::uint16_t>(value));
        put16(rva + 2, static_cast<std::uint16_t>(value >> 16));
    }
    void put64(std::uint32_t rva, std::uint64_t value) {
        put32(rva, static_cast<std::uint32_t>(value));
        put32(rva + 4, static_cast<std::uint32_t>(value >> 32));
    }
    // An address or thunk, as wide as the form's.
    void putWide(std::uint32_t rva, std::uint64_t value) {
        if (layout.width == 8) {
            put64(rva, value);
        } else {
            put32(rva, static_cast<std::uint32_t>(value));
        }
    }
    void putText(std::uint32_t rva, std::string_view text) {
        std::copy(text.begin(), text.end(), memory.begin() + rva);
    }
    std::uint32_t get32(std::uint32_t rva) const {
        return memory[rva] | memory[rva + 1] << 8 | memory[rva + 2] << 16 |
               static_cast<std::uint32_t>(memory[rva + 3]) << 24;
    }
    std::uint64_t getWide(std::uint32_t rva) const {
        const std::uint64_t low = get32(rva);
        return layout.width == 8 ? low | std::uint64_t{get32(rva + 4)} << 32 : low;
    }
    Bytes file() const {
        Bytes out(0x200 + 0x400 + 0x600);
        const auto next = std::copy(memory.begin(), memory.begin() + 0x200, out.begin());
        std::copy(memory.begin() + 0x2000, memory.begin() + 0x2600,
                  std::copy(memory.begin() + 0x1000, memory.begin() + 0x1400, next));
        return out;
    }
};

inline SyntheticImage makeImage(Format format = Format::Pe32) {
    SyntheticImage m;
    m.layout = layoutOf(format);
    const Layout& l = m.layout;
    const std::uint64_t base = l.preferredBase;
    m.put16(0, 0x5A4D);
    m.put32(0x3C, kNt);
    m.put32(kNt, 0x4550);
    m.put16(kFileHeader, l.machine);
    m.put16(kFileHeader + 2, 2);
    m.put16(kFileHeader + 16, l.optionalSize);
    // DLL, executable; the PE32 form also says "32-bit machine", the PE32+ one "large address".
    m.put16(kFileHeader + 18, format == Format::Pe32 ? 0x2102 : 0x2022);
    m.put16(kOptional, l.magic);
    m.put32(kOptional + 16, kEntry);
    if (l.width == 8) {
        m.put64(kOptional + l.imageBaseField, base);
    } else {
        m.put32(kOptional + l.imageBaseField, static_cast<std::uint32_t>(base));
    }
    m.put32(kOptional + 32, 0x1000);
    m.put32(kOptional + 36, 0x200);
    m.put32(kOptional + 56, kImageSize);
    m.put32(kOptional + 60, 0x200);
    m.put32(kOptional + l.directoryCount, 16);
    const auto directory = [&m, &l](int index, std::uint32_t rva, std::uint32_t size) {
        m.put32(directoryOf(l, index), rva);
        m.put32(directoryOf(l, index) + 4, size);
    };
    directory(0, kExports, 0x90);
    directory(1, kImports, 60);
    directory(5, kRelocs, 28);
    const auto section = [&m, &l](int i, std::string_view name, std::uint32_t rva,
                                  std::uint32_t size, std::uint32_t raw, std::uint32_t pointer) {
        const std::uint32_t at = sectionsOf(l) + 40 * i;
        m.putText(at, name);
        m.put32(at + 8, size);
        m.put32(at + 12, rva);
        m.put32(at + 16, raw);
        m.put32(at + 20, pointer);
    };
    section(0, ".text", 0x1000, 0x400, 0x400, 0x200);
    section(1, ".data", 0x2000, 0x1000, 0x600, 0x600);

    m.memory[kEntry] = 0xC3;
    m.putWide(kRelocated1, base + 0x1100);
    m.putWide(kRelocated2, base + 0x2000);
    m.putWide(kNotRelocated, 0xAABBCCDD);
    m.putWide(kRelocated3, base + 0x1300);
    // Two relocation blocks: .text (value, ABSOLUTE naming 0x30, value, padding), .data.
    const auto entry = [&l](std::uint16_t offset) {
        return static_cast<std::uint16_t>(l.relocType << 12 | offset);
    };
    m.put32(kRelocs, 0x1000);
    m.put32(kRelocs + 4, 16);
    m.put16(kRelocs + 8, entry(0x010));
    m.put16(kRelocs + 10, 0x0030);
    m.put16(kRelocs + 12, entry(0x020));
    m.put16(kRelocs + 14, 0x0000);
    m.put32(kRelocs + 16, 0x2000);
    m.put32(kRelocs + 20, 12);
    m.put16(kRelocs + 24, entry(0x5F0));

    // user32.dll: GetDC by name, ordinal 17; kernel32.dll: Sleep by name; then a zero descriptor.
    m.put32(kImports, kUserLookup);
    m.put32(kImports + 12, 0x2200);
    m.put32(kImports + 16, kUserIat);
    m.put32(kImports + 20, kKernelLookup);
    m.put32(kImports + 32, 0x2210);
    m.put32(kImports + 36, kKernelIat);
    for (const std::uint32_t table : {kUserLookup, kUserIat}) {
        m.putWide(table, 0x2220);
        m.putWide(table + l.width, l.ordinalFlag | 17);
    }
    m.putWide(kKernelLookup, 0x2230);
    m.putWide(kKernelIat, 0x2230);
    m.putText(0x2200, "user32.dll");
    m.putText(0x2210, "kernel32.dll");
    m.putText(0x2222, "GetDC");
    m.putText(0x2232, "Sleep");

    // Ordinal base 5: 5 and 6 named, 7 ordinal-only, 8 an empty slot.
    m.put32(kExports + 12, 0x2380);
    m.put32(kExports + 16, 5);
    m.put32(kExports + 20, 4);
    m.put32(kExports + 24, 2);
    m.put32(kExports + 28, kFunctions);
    m.put32(kExports + 32, kNames);
    m.put32(kExports + 36, kOrdinals);
    m.put32(kFunctions, 0x1100);
    m.put32(kFunctions + 4, 0x1200);
    m.put32(kFunctions + 8, 0x1300);
    m.put32(kNames, 0x2350);
    m.put32(kNames + 4, 0x2360);
    m.put16(kOrdinals, 0);
    m.put16(kOrdinals + 2, 1);
    m.putText(0x2350, "SkinH_AttachRes");
    m.putText(0x2360, "SkinH_Detach");
    m.putText(0x2380, "skin.dll");
    return m;
}

}  // namespace sumbrook::pe_sample
