#include "code_patch_hook.h"

namespace sumbrook {

std::array<std::uint8_t, CodePatchHook::kPatchSize> CodePatchHook::JumpPatch(
    std::uint32_t address) {
    return {0xB8,
            static_cast<std::uint8_t>(address),
            static_cast<std::uint8_t>(address >> 8),
            static_cast<std::uint8_t>(address >> 16),
            static_cast<std::uint8_t>(address >> 24),
            0xFF,
            0xE0};
}

}  // namespace sumbrook
