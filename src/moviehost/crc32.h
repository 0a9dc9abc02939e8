#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace sumbrook {

// The CRC-32 of IEEE 802.3 (reflected, polynomial 0xEDB88320, initial value and final
// exclusive-or all ones), continued from `start` (the CRC of the bytes before these).
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t start = 0);

// The name a memory file is served under: the CRC-32 in upper-case hexadecimal without
// leading zeros ("123456789" -> "CBF43926").
std::string Crc32Name(std::span<const std::uint8_t> bytes);

}  // namespace sumbrook
