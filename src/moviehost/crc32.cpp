#include "crc32.h"

#include <array>
#include <cstdio>

namespace sumbrook {

namespace {

// Eight tables, so that eight bytes are folded in per step ("slicing by 8"): the movie is
// checksummed at every start, and byte by byte that alone took several milliseconds.
using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr Tables makeTables() {
    Tables tables{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        tables[0][n] = c;
    }
    for (std::uint32_t n = 0; n < 256; ++n) {
        for (std::size_t t = 1; t < 8; ++t) {
            const std::uint32_t previous = tables[t - 1][n];
            tables[t][n] = tables[0][previous & 0xFF] ^ (previous >> 8);
        }
    }
    return tables;
}

constexpr Tables kTables = makeTables();

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t start) {
    std::uint32_t c = ~start;
    const std::uint8_t* p = bytes.data();
    std::size_t left = bytes.size();
    for (; left >= 8; left -= 8, p += 8) {
        const std::uint32_t low = c ^ (std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                                       std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24);
        c = kTables[7][low & 0xFF] ^ kTables[6][(low >> 8) & 0xFF] ^
            kTables[5][(low >> 16) & 0xFF] ^ kTables[4][low >> 24] ^ kTables[3][p[4]] ^
            kTables[2][p[5]] ^ kTables[1][p[6]] ^ kTables[0][p[7]];
    }
    for (; left > 0; --left, ++p) {
        c = kTables[0][(c ^ *p) & 0xFF] ^ (c >> 8);
    }
    return ~c;
}

std::string Crc32Name(std::span<const std::uint8_t> bytes) {
    char text[9];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(Crc32(bytes)));
    return text;
}

}  // namespace sumbrook
