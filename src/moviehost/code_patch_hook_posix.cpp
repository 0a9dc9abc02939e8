// The patch hook where the redirectable entry is one of the process's own function slots
// (file_open_entry.h): install swaps the slot, remove puts the saved function back. The
// 8 saved bytes hold the function pointer the slot had; the "patch" is the pointer's size.
#include <cstring>

#include "moviehost/code_patch_hook.h"
#include "moviehost/file_open_entry.h"

namespace sumbrook {

static_assert(sizeof(OpenForReadingFunction) <= CodePatchHook::kSavedSize);

bool CodePatchHook::install(std::string_view module, std::string_view function,
                            const void* replacement) {
    if (installed() || replacement == nullptr) {
        return false;
    }
    std::atomic<OpenForReadingFunction>* slot = FileOpenEntry::Find(module, function);
    if (slot == nullptr) {
        return false;
    }
    const auto redirected = reinterpret_cast<OpenForReadingFunction>(replacement);
    const OpenForReadingFunction previous = slot->exchange(redirected, std::memory_order_acq_rel);
    saved_.fill(0);
    std::memcpy(saved_.data(), &previous, sizeof previous);
    target_ = reinterpret_cast<std::uintptr_t>(slot);
    savedProtection_ = 0;
    patchSize_ = sizeof redirected;
    label_.assign(module);
    label_ += '|';
    label_ += function;
    return true;
}

void CodePatchHook::remove() {
    if (target_ != 0) {
        OpenForReadingFunction previous = nullptr;
        std::memcpy(&previous, saved_.data(), sizeof previous);
        reinterpret_cast<std::atomic<OpenForReadingFunction>*>(target_)->store(
            previous, std::memory_order_release);
    }
    target_ = 0;
    savedProtection_ = 0;
    patchSize_ = 0;
    saved_.fill(0);
    label_.clear();
}

}  // namespace sumbrook
