#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace sumbrook {

// Redirects one entry point of the process to a replacement until removed.
// On 32-bit Windows it overwrites the first bytes of a loaded module's exported function
// with a 7-byte jump (mov eax, replacement; jmp eax) and writes the saved 8 bytes back on
// removal. Elsewhere the redirectable entry points are the process's own function slots
// (see file_open_entry.h), named by module and function in the same way, which install
// swaps atomically. It does not chain: a second install while installed is refused.
class CodePatchHook {
  public:
    CodePatchHook() = default;
    ~CodePatchHook() = default;  // the owner removes it first (the shutdown routine does)
    CodePatchHook(const CodePatchHook&) = default;
    CodePatchHook& operator=(const CodePatchHook&) = default;

    // Redirects `function` of `module` to `replacement`; false when already installed or
    // when the module or function cannot be found.
    bool install(std::string_view module, std::string_view function, const void* replacement);
    // Puts the original back; does nothing when not installed.
    void remove();
    // "module|function" while installed, empty otherwise.
    const std::string& label() const { return label_; }
    bool installed() const { return patchSize_ != 0; }

    static constexpr std::size_t kPatchSize = 7;
    static constexpr std::size_t kSavedSize = 8;
    // The 7-byte jump to `address`: B8 imm32, FF E0.
    static std::array<std::uint8_t, kPatchSize> JumpPatch(std::uint32_t address);

  private:
    std::uintptr_t target_ = 0;
    std::uint32_t savedProtection_ = 0;
    std::size_t patchSize_ = 0;
    std::array<std::uint8_t, kSavedSize> saved_{};
    std::string label_;
};

}  // namespace sumbrook
