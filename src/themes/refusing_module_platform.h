#pragma once

#include "themes/module_platform.h"

namespace sumbrook {

// The platform of a host on which a 32-bit Windows image cannot run: every allocation is
// refused, so MemoryModule turns any PE image away before touching it. Shared objects of the
// host load without asking the platform for anything.
class RefusingModulePlatform : public ModulePlatform {
  public:
    Block allocate(std::uint32_t, std::uint32_t) override { return {}; }
    bool free(const Block&) override { return true; }
    LibraryHandle loadLibrary(std::string_view) override { return nullptr; }
    std::uint32_t findProcedure(LibraryHandle, const Procedure&) override { return 0; }
    int callEntryPoint(std::uint32_t, std::uint32_t, EntryReason) override { return 0; }
};

// The platform the program's own modules are loaded with: the system's on 32-bit Windows,
// a refusing one elsewhere. Lives as long as the process.
ModulePlatform& processModulePlatform();

}  // namespace sumbrook
