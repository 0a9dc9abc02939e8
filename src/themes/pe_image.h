#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sumbrook {

// The headers of a Windows image held in bytes: PE32 for i386 or PE32+ for x86-64. Every
// offset and size is checked against the buffer and against the image's own extent before
// it is used, so a malformed or truncated image is refused with a reason instead of being
// read out of bounds.
struct PeImage {
    struct Section {
        std::uint32_t virtualAddress = 0;
        std::uint32_t virtualSize = 0;
        std::uint32_t sizeOfRawData = 0;
        std::uint32_t pointerToRawData = 0;
    };
    struct Directory {
        std::uint32_t virtualAddress = 0;
        std::uint32_t size = 0;
        std::uint64_t end() const { return std::uint64_t{virtualAddress} + size; }
    };
    enum DirectoryIndex { kExports = 0, kImports = 1, kBaseRelocations = 5 };

    // The machines an image may be built for; each has its own optional header form.
    static constexpr std::uint16_t kMachineI386 = 0x014C;   // PE32
    static constexpr std::uint16_t kMachineAmd64 = 0x8664;  // PE32+
    static constexpr std::uint16_t kRelocsStripped = 0x0001;
    static constexpr std::uint16_t kExecutableImage = 0x0002;
    static constexpr std::uint16_t kDll = 0x2000;
    // A corrupted header must not make the loader commit gigabytes.
    static constexpr std::uint32_t kMaxImageSize = 256u << 20;

    // The headers of `bytes`, or nullopt with `reason` set.
    static std::optional<PeImage> parse(std::span<const std::uint8_t> bytes, std::string& reason);

    // Bounded little-endian reads; nullopt when the value does not lie wholly inside `bytes`.
    static std::optional<std::uint16_t> read16(std::span<const std::uint8_t> bytes,
                                               std::uint64_t offset);
    static std::optional<std::uint32_t> read32(std::span<const std::uint8_t> bytes,
                                               std::uint64_t offset);
    static std::optional<std::uint64_t> read64(std::span<const std::uint8_t> bytes,
                                               std::uint64_t offset);
    // The zero-terminated text at `offset`; nullopt when it has no terminator inside `bytes`.
    static std::optional<std::string_view> readText(std::span<const std::uint8_t> bytes,
                                                    std::uint64_t offset);

    // "i386", "x86-64", or the number of any other machine.
    static std::string MachineName(std::uint16_t machine);

    bool isDll() const { return (characteristics & kDll) != 0; }
    // PE32+: 64-bit image base, 8-byte import thunks, 64-bit relocations.
    bool is64() const { return machine == kMachineAmd64; }
    const Directory& directory(DirectoryIndex index) const { return directories[index]; }

    std::uint16_t machine = 0;
    std::uint16_t characteristics = 0;
    std::uint32_t addressOfEntryPoint = 0;
    std::uint64_t imageBase = 0;
    std::uint32_t sectionAlignment = 0;
    // Raised to cover the headers and every section's raw and virtual extent.
    std::uint32_t sizeOfImage = 0;
    // Bytes from the start of the file to the end of the section table: what is mapped as headers.
    std::uint32_t headersSize = 0;
    std::vector<Section> sections;
    std::array<Directory, 16> directories{};
};

}  // namespace sumbrook
