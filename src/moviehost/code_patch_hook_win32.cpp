// CodePatchHook on Windows: the function's first bytes are overwritten in place.

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "moviehost/code_patch_hook.h"

namespace sumbrook {

namespace {

using Code = std::array<std::uint8_t, CodePatchHook::kSavedSize>;

void flush(std::uintptr_t target, std::size_t size) {
    FlushInstructionCache(GetCurrentProcess(), reinterpret_cast<const void*>(target), size);
}

#if defined(_WIN64)

static_assert(sizeof(void*) == sizeof(std::uint64_t), "the jump patch holds a 64-bit address");

// The 12-byte jump does not fit one 8-byte store, and a 16-byte store (cmpxchg16b) would
// need the function to start on a 16-byte boundary, which nothing promises. Instead the
// code is rewritten behind a 2-byte spin: the first two bytes become "jmp $" (EB FE) in one
// atomic store, so a thread entering the function from then on loops at its first byte;
// bytes 2 onwards are rewritten while nothing can reach them from the entry; then the
// first two bytes get their final value in a second atomic store, which releases the
// waiting threads into complete code. A thread entering at any moment thus runs the whole
// old code, waits, or runs the whole new code. (A thread that had already run past the
// first bytes before the spin went in sees the new bytes further on, as with any patch made
// in place; the function's callers here only enter it.)

// The two bytes lie in one aligned 8-byte word unless the target is the word's last byte.
bool canStoreFirstTwo(std::uintptr_t target) {
    return target % sizeof(std::uint64_t) != sizeof(std::uint64_t) - 1;
}

// Replaces the two bytes at `target` in one store: a compare-and-swap of the aligned
// 8-byte word that holds them, the other six bytes kept as they are.
void storeFirstTwo(std::uintptr_t target, std::uint8_t first, std::uint8_t second) {
    const std::uintptr_t wordAddress = target & ~std::uintptr_t{7};
    auto* const word = reinterpret_cast<std::uint64_t*>(wordAddress);
    const unsigned shift = static_cast<unsigned>(target - wordAddress) * 8;
    const std::uint64_t mask = std::uint64_t{0xFFFF} << shift;
    const std::uint64_t value = (std::uint64_t{second} << 8 | first) << shift;
    std::uint64_t expected = __atomic_load_n(word, __ATOMIC_SEQ_CST);
    while (!__atomic_compare_exchange_n(word, &expected, (expected & ~mask) | value, false,
                                        __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST)) {
    }
    flush(wordAddress, sizeof *word);
}

void writeCode(std::uintptr_t target, const Code& code) {
    auto* const bytes = reinterpret_cast<std::uint8_t*>(target);
    const Code current = [bytes] {
        Code now{};
        std::memcpy(now.data(), bytes, now.size());
        return now;
    }();
    for (const CodePatchHook::CodeWrite& write : CodePatchHook::RewriteBehindSpin(current, code)) {
        if (write.atomic) {
            storeFirstTwo(target + write.offset, write.bytes[0], write.bytes[1]);
        } else {
            std::memcpy(bytes + write.offset, write.bytes.data(), write.bytes.size());
            flush(target + write.offset, write.bytes.size());
        }
    }
}

Code patchedCode(const Code& saved, const void* replacement) {
    const auto patch = CodePatchHook::JumpPatch64(reinterpret_cast<std::uintptr_t>(replacement));
    Code code = saved;  // the bytes after the jump stay as they were
    std::copy(patch.begin(), patch.end(), code.begin());
    return code;
}

#else

static_assert(sizeof(void*) == sizeof(std::uint32_t), "the jump patch holds a 32-bit address");

bool canStoreFirstTwo(std::uintptr_t) {
    return true;
}

// Writes all eight bytes at once where the function starts on an 8-byte boundary (the
// system's functions do), so that a thread entering it meanwhile runs either the old or the
// new code, never a mix of both.
void writeCode(std::uintptr_t target, const Code& code) {
    if (target % sizeof(std::uint64_t) == 0) {
        std::uint64_t value = 0;
        std::memcpy(&value, code.data(), code.size());
        __atomic_store_n(reinterpret_cast<std::uint64_t*>(target), value, __ATOMIC_SEQ_CST);
    } else {
        std::memcpy(reinterpret_cast<void*>(target), code.data(), code.size());
    }
    flush(target, code.size());
}

Code patchedCode(const Code& saved, const void* replacement) {
    const auto patch = CodePatchHook::JumpPatch(
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(replacement)));
    Code code = saved;  // the eighth byte stays as it was
    std::copy(patch.begin(), patch.end(), code.begin());
    return code;
}

#endif

}  // namespace

bool CodePatchHook::install(std::string_view module, std::string_view function,
                            const void* replacement) {
    if (installed()) {
        return false;
    }
    const std::string moduleName(module);
    const std::string functionName(function);
    // Only a module that is already loaded: loading one here would pin it in the process.
    const HMODULE handle = GetModuleHandleA(moduleName.c_str());
    if (handle == nullptr) {
        return false;
    }
    const auto target =
        reinterpret_cast<std::uintptr_t>(GetProcAddress(handle, functionName.c_str()));
    // A function whose first two bytes cannot be replaced in one store is left alone.
    if (target == 0 || !canStoreFirstTwo(target)) {
        return false;
    }
    auto* const code = reinterpret_cast<std::uint8_t*>(target);
    DWORD previous = 0;
    if (VirtualProtect(code, kSavedSize, PAGE_EXECUTE_READWRITE, &previous) == 0) {
        return false;
    }
    std::memcpy(saved_.data(), code, kSavedSize);
    target_ = target;
    savedProtection_ = previous;
    patchSize_ = kPatchSize;
    label_ = moduleName + "|" + functionName;
    writeCode(target, patchedCode(saved_, replacement));
    return true;
}

void CodePatchHook::remove() {
    if (target_ != 0) {
        writeCode(target_, saved_);
        DWORD ignored = 0;
        VirtualProtect(reinterpret_cast<void*>(target_), kSavedSize, savedProtection_, &ignored);
    }
    target_ = 0;
    savedProtection_ = 0;
    patchSize_ = 0;
    saved_ = {};
    label_.clear();
}

}  // namespace sumbrook
