#pragma once

#include "themes/module_platform.h"

namespace sumbrook {

// The module loader's system services on 32-bit Windows: memory from VirtualAlloc, imports
// from LoadLibraryA and GetProcAddress, and the image's entry point called as a DllMain.
// Image addresses are this process's own pointers here, so a block's `data` and `address`
// are the same number. Built only for Windows; it keeps no state of its own.
class WindowsModulePlatform : public ModulePlatform {
  public:
    // Committed PAGE_EXECUTE_READWRITE memory. A hint that is not on the 64 KiB allocation
    // granularity is refused rather than rounded down, because the system would then return
    // a block whose start is reserved but not committed.
    Block allocate(std::uint32_t addressHint, std::uint32_t size) override;
    bool free(const Block& block) override;
    LibraryHandle loadLibrary(std::string_view name) override;
    std::uint32_t findProcedure(LibraryHandle library, const Procedure& procedure) override;
    int callEntryPoint(std::uint32_t entry, std::uint32_t base, EntryReason reason) override;

    static constexpr std::uint32_t kAllocationGranularity = 0x10000;
};

}  // namespace sumbrook
