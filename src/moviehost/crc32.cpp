#include "crc32.h"

#include <array>
#include <cstdio>

namespace sumbrook {

namespace {

constexpr std::array<std::uint32_t, 256> makeTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kTable = makeTable();

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t start) {
    std::uint32_t c = ~start;
    for (const std::uint8_t b : bytes) {
        c = kTable[(c ^ b) & 0xFF] ^ (c >> 8);
    }
    return ~c;
}

std::string Crc32Name(std::span<const std::uint8_t> bytes) {
    char text[9];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(Crc32(bytes)));
    return text;
}

}  // namespace sumbrook
