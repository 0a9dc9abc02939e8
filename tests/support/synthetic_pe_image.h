#pragma once

// A small, well-formed i386 DLL image built in memory, for the module loader's tests and
// its fuzz target: relocations, imports by name and ordinal, exports with an ordinal base.
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace sumbrook::pe_sample {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kPreferredBase = 0x10000000;
constexpr std::uint32_t kImageSize = 0x3000;
// Where the parts of the synthetic image lie (RVAs).
constexpr std::uint32_t kNt = 0x80;
constexpr std::uint32_t kFileHeader = kNt + 4;
constexpr std::uint32_t kOptional = kNt + 24;
constexpr std::uint32_t kSections = kNt + 248;
constexpr std::uint32_t kEntry = 0x1000;
constexpr std::uint32_t kRelocated1 = 0x1010;
constexpr std::uint32_t kRelocated2 = 0x1014;
constexpr std::uint32_t kNotRelocated = 0x1018;  // named by an ABSOLUTE (padding) entry
constexpr std::uint32_t kRelocated3 = 0x25F0;
constexpr std::uint32_t kRelocs = 0x2000;
constexpr std::uint32_t kImports = 0x2100;
constexpr std::uint32_t kUserLookup = 0x2180;
constexpr std::uint32_t kUserIat = 0x2190;
constexpr std::uint32_t kKernelIat = 0x21B0;
constexpr std::uint32_t kExports = 0x2300;
constexpr std::uint32_t kFunctions = 0x2330;
constexpr std::uint32_t kNames = 0x2340;
constexpr std::uint32_t kOrdinals = 0x2348;

constexpr std::uint32_t kGetDC = 0x7E001000;
constexpr std::uint32_t kUserOrdinal17 = 0x7E001700;
constexpr std::uint32_t kSleep = 0x7C002000;

// A small i386 DLL written by RVA in its mapped form; file() lays it out as a linker would
// (headers, .text at file offset 0x200, .data at 0x600), whatever the headers say.
struct SyntheticImage {
    Bytes memory = Bytes(kImageSize);

    void put16(std::uint32_t rva, std::uint16_t value) {
        memory[rva] = static_cast<std::uint8_t>(value);
        memory[rva + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    void put32(std::uint32_t rva, std::uint32_t value) {
        put16(rva, static_cast<std::uint16_t>(value));
        put16(rva + 2, static_cast<std::uint16_t>(value >> 16));
    }
    void putText(std::uint32_t rva, std::string_view text) {
        std::copy(text.begin(), text.end(), memory.begin() + rva);
    }
    std::uint32_t get32(std::uint32_t rva) const {
        return memory[rva] | memory[rva + 1] << 8 | memory[rva + 2] << 16 |
               static_cast<std::uint32_t>(memory[rva + 3]) << 24;
    }
    Bytes file() const {
        Bytes out(0x200 + 0x400 + 0x600);
        const auto next = std::copy(memory.begin(), memory.begin() + 0x200, out.begin());
        std::copy(memory.begin() + 0x2000, memory.begin() + 0x2600,
                  std::copy(memory.begin() + 0x1000, memory.begin() + 0x1400, next));
        return out;
    }
};

inline SyntheticImage makeImage() {
    SyntheticImage m;
    m.put16(0, 0x5A4D);
    m.put32(0x3C, kNt);
    m.put32(kNt, 0x4550);
    m.put16(kFileHeader, 0x14C);
    m.put16(kFileHeader + 2, 2);
    m.put16(kFileHeader + 16, 224);
    m.put16(kFileHeader + 18, 0x2102);  // DLL, 32-bit, executable
    m.put16(kOptional, 0x10B);
    m.put32(kOptional + 16, kEntry);
    m.put32(kOptional + 28, kPreferredBase);
    m.put32(kOptional + 32, 0x1000);
    m.put32(kOptional + 36, 0x200);
    m.put32(kOptional + 56, kImageSize);
    m.put32(kOptional + 60, 0x200);
    m.put32(kOptional + 92, 16);
    const auto directory = [&m](int index, std::uint32_t rva, std::uint32_t size) {
        m.put32(kOptional + 96 + 8 * index, rva);
        m.put32(kOptional + 100 + 8 * index, size);
    };
    directory(0, kExports, 0x90);
    directory(1, kImports, 60);
    directory(5, kRelocs, 28);
    const auto section = [&m](int i, std::string_view name, std::uint32_t rva, std::uint32_t size,
                              std::uint32_t raw, std::uint32_t pointer) {
        const std::uint32_t at = kSections + 40 * i;
        m.putText(at, name);
        m.put32(at + 8, size);
        m.put32(at + 12, rva);
        m.put32(at + 16, raw);
        m.put32(at + 20, pointer);
    };
    section(0, ".text", 0x1000, 0x400, 0x400, 0x200);
    section(1, ".data", 0x2000, 0x1000, 0x600, 0x600);

    m.memory[kEntry] = 0xC3;
    m.put32(kRelocated1, kPreferredBase + 0x1100);
    m.put32(kRelocated2, kPreferredBase + 0x2000);
    m.put32(kNotRelocated, 0xAABBCCDD);
    m.put32(kRelocated3, kPreferredBase + 0x1300);
    // Two relocation blocks: .text (HIGHLOW, ABSOLUTE naming 0x18, HIGHLOW, padding), .data.
    m.put32(kRelocs, 0x1000);
    m.put32(kRelocs + 4, 16);
    m.put16(kRelocs + 8, 0x3010);
    m.put16(kRelocs + 10, 0x0018);
    m.put16(kRelocs + 12, 0x3014);
    m.put16(kRelocs + 14, 0x0000);
    m.put32(kRelocs + 16, 0x2000);
    m.put32(kRelocs + 20, 12);
    m.put16(kRelocs + 24, 0x35F0);

    // user32.dll: GetDC by name, ordinal 17; kernel32.dll: Sleep by name; then a zero descriptor.
    m.put32(kImports, kUserLookup);
    m.put32(kImports + 12, 0x2200);
    m.put32(kImports + 16, kUserIat);
    m.put32(kImports + 20, 0x21A0);
    m.put32(kImports + 32, 0x2210);
    m.put32(kImports + 36, kKernelIat);
    for (const std::uint32_t table : {kUserLookup, kUserIat}) {
        m.put32(table, 0x2220);
        m.put32(table + 4, 0x80000011);
    }
    m.put32(0x21A0, 0x2230);
    m.put32(kKernelIat, 0x2230);
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
