#include "code_patch_hook.h"

#include <algorithm>

namespace sumbrook {

std::array<std::uint8_t, CodePatchHook::kPatchSize32> CodePatchHook::JumpPatch(
    std::uint32_t address) {
    return {0xB8,
            static_cast<std::uint8_t>(address),
            static_cast<std::uint8_t>(address >> 8),
            static_cast<std::uint8_t>(address >> 16),
            static_cast<std::uint8_t>(address >> 24),
            0xFF,
            0xE0};
}

std::array<std::uint8_t, CodePatchHook::kPatchSize64> CodePatchHook::JumpPatch64(
    std::uint64_t address) {
    std::array<std::uint8_t, kPatchSize64> patch{0x48, 0xB8};
    for (std::size_t i = 0; i < 8; ++i) {
        patch[2 + i] = static_cast<std::uint8_t>(address >> (8 * i));
    }
    patch[10] = 0xFF;
    patch[11] = 0xE0;
    return patch;
}

std::vector<CodePatchHook::CodeWrite> CodePatchHook::RewriteBehindSpin(
    std::span<const std::uint8_t> from, std::span<const std::uint8_t> to) {
    if (from.size() != to.size() || to.size() < 2) {
        return {};
    }
    std::vector<CodeWrite> writes;
    if (std::equal(from.begin(), from.end(), to.begin())) {
        return writes;
    }
    writes.push_back({0, {0xEB, 0xFE}, true});
    if (!std::equal(from.begin() + 2, from.end(), to.begin() + 2)) {
        writes.push_back({2, std::vector<std::uint8_t>(to.begin() + 2, to.end()), false});
    }
    writes.push_back({0, {to[0], to[1]}, true});
    return writes;
}

}  // namespace sumbrook
