#pragma once

#include "themes/module_platform.h"

namespace sumbrook {

// The module loader's system services on Windows: memory from VirtualAlloc, imports from
// LoadLibraryA and GetProcAddress, and the image's entry point called as a DllMain. Image
// addresses are this process's own pointers here, so a block's `data` and `address` are the
// same number, and only images of this build's machine (i386 or x86-64) run. Built only for
// Windows; it keeps no state of its own.
class WindowsModulePlatform : public ModulePlatform {
  public:
    std::uint16_t machine() const override;
    // Committed PAGE_EXECUTE_READWRITE memory. A hint that is not on the 64 KiB allocation
    // granularity is refused rather than rounded down, because the system would then return
    // a block whose start is reserved but not committed.
    Block allocate(Address addressHint, std::uint32_t size) override;
    bool free(const Block& block) override;
    LibraryHandle loadLibrary(std::string_view name) override;
    Address findProcedure(LibraryHandle library, const Procedure& procedure) override;
    int callEntryPoint(Address entry, Address base, EntryReason reason) override;

    static constexpr std::uint32_t kAllocationGranularity = 0x10000;
};

}  // namespace sumbrook
