#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sumbrook {

// Redirects one entry point of the process to a replacement until removed.
// On Windows it overwrites the first bytes of a loaded module's exported function with a
// jump to the replacement and writes the saved bytes back on removal: on 32-bit Windows a
// 7-byte jump (mov eax, replacement; jmp eax) over 8 saved bytes, on 64-bit Windows a
// 12-byte one (mov rax, replacement; jmp rax) over 16 saved bytes. Elsewhere the
// redirectable entry points are the process's own function slots (see file_open_entry.h),
// named by module and function in the same way, which install swaps atomically. It does
// not chain: a second install while installed is refused.
class CodePatchHook {
  public:
    CodePatchHook() = default;
    ~CodePatchHook() = default;  // the owner removes it first (the shutdown routine does)
    CodePatchHook(const CodePatchHook&) = default;
    CodePatchHook& operator=(const CodePatchHook&) = default;

    // Redirects `function` of `module` to `replacement`; false when already installed, when
    // the module or function cannot be found, or (64-bit Windows) when the function's first
    // two bytes straddle an 8-byte word and so cannot be replaced in one store.
    bool install(std::string_view module, std::string_view function, const void* replacement);
    // Puts the original back; does nothing when not installed.
    void remove();
    // "module|function" while installed, empty otherwise.
    const std::string& label() const { return label_; }
    bool installed() const { return patchSize_ != 0; }

    static constexpr std::size_t kPatchSize32 = 7;
    static constexpr std::size_t kPatchSize64 = 12;
#if defined(_WIN64)
    static constexpr std::size_t kPatchSize = kPatchSize64;
    static constexpr std::size_t kSavedSize = 16;
#else
    static constexpr std::size_t kPatchSize = kPatchSize32;
    static constexpr std::size_t kSavedSize = 8;
#endif
    // The 7-byte jump to `address`: B8 imm32, FF E0.
    static std::array<std::uint8_t, kPatchSize32> JumpPatch(std::uint32_t address);
    // The 12-byte jump to `address`: 48 B8 imm64, FF E0.
    static std::array<std::uint8_t, kPatchSize64> JumpPatch64(std::uint64_t address);

    // One store of a rewrite of code in place: `bytes` at `offset` from the function's start;
    // `atomic` ones must reach memory in one store.
    struct CodeWrite {
        std::size_t offset = 0;
        std::vector<std::uint8_t> bytes;
        bool atomic = false;
        bool operator==(const CodeWrite&) const = default;
    };
    // The stores that turn the code `from` into `to` (of one length, at least 2 bytes) when
    // one store cannot: the first two bytes become a "jmp $" spin (EB FE) atomically, the
    // rest is written behind it, then the first two bytes get their final value atomically.
    // Between any two stores a thread entering at the first byte runs all of `from`, waits
    // in the spin, or runs all of `to`.
    static std::vector<CodeWrite> RewriteBehindSpin(std::span<const std::uint8_t> from,
                                                    std::span<const std::uint8_t> to);

  private:
    std::uintptr_t target_ = 0;
    std::uint32_t savedProtection_ = 0;
    std::size_t patchSize_ = 0;
    std::array<std::uint8_t, kSavedSize> saved_{};
    std::string label_;
};

}  // namespace sumbrook
