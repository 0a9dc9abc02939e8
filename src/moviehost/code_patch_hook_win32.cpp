// CodePatchHook on 32-bit Windows: the function's first bytes are overwritten in place.

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "moviehost/code_patch_hook.h"

namespace sumbrook {

static_assert(sizeof(void*) == sizeof(std::uint32_t), "the jump patch holds a 32-bit address");

namespace {

// Writes all eight bytes at once where the function starts on an 8-byte boundary (the
// system's functions do), so that a thread entering it meanwhile runs either the old or the
// new code, never a mix of both.
void writeCode(std::uintptr_t target,
               const std::array<std::uint8_t, CodePatchHook::kSavedSize>& code) {
    if (target % sizeof(std::uint64_t) == 0) {
        std::uint64_t value = 0;
        std::memcpy(&value, code.data(), code.size());
        __atomic_store_n(reinterpret_cast<std::uint64_t*>(target), value, __ATOMIC_SEQ_CST);
    } else {
        std::memcpy(reinterpret_cast<void*>(target), code.data(), code.size());
    }
    FlushInstructionCache(GetCurrentProcess(), reinterpret_cast<const void*>(target), code.size());
}

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
    if (target == 0) {
        return false;
    }
    auto* const code = reinterpret_cast<std::uint8_t*>(target);
    DWORD previous = 0;
    if (VirtualProtect(code, kSavedSize, PAGE_EXECUTE_READWRITE, &previous) == 0) {
        return false;
    }
    const auto patch =
        JumpPatch(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(replacement)));
    std::memcpy(saved_.data(), code, kSavedSize);
    target_ = target;
    savedProtection_ = previous;
    patchSize_ = patch.size();
    label_ = moduleName + "|" + functionName;
    std::array<std::uint8_t, kSavedSize> patched = saved_;  // the eighth byte stays as it was
    std::copy(patch.begin(), patch.end(), patched.begin());
    writeCode(target, patched);
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
