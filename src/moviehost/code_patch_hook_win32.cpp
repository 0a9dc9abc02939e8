// CodePatchHook on 32-bit Windows: the function's first bytes are overwritten in place.

#include <windows.h>

#include <cstring>
#include <string>

#include "moviehost/code_patch_hook.h"

namespace sumbrook {

static_assert(sizeof(void*) == sizeof(std::uint32_t), "the jump patch holds a 32-bit address");

namespace {

void flush(std::uintptr_t target) {
    FlushInstructionCache(GetCurrentProcess(), reinterpret_cast<const void*>(target),
                          CodePatchHook::kSavedSize);
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
    std::memcpy(code, patch.data(), patch.size());
    flush(target);
    return true;
}

void CodePatchHook::remove() {
    if (target_ != 0) {
        auto* const code = reinterpret_cast<std::uint8_t*>(target_);
        std::memcpy(code, saved_.data(), kSavedSize);
        DWORD ignored = 0;
        VirtualProtect(code, kSavedSize, savedProtection_, &ignored);
        flush(target_);
    }
    target_ = 0;
    savedProtection_ = 0;
    patchSize_ = 0;
    saved_ = {};
    label_.clear();
}

}  // namespace sumbrook
