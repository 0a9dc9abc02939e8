#pragma once

#include "themes/module_platform.h"

namespace sumbrook {

// The platform of a host on which a Windows image cannot run: every allocation is refused,
// so MemoryModule turns any PE image away before touching it. Shared objects of the host
// load without asking the platform for anything.
class RefusingModulePlatform : public ModulePlatform {
  public:
    // The program's own skin library is an i386 image; it gets as far as the allocation.
    std::uint16_t machine() const override { return 0x014C; }
    Block allocate(Address, std::uint32_t) override { return {}; }
    bool free(const Block&) override { return true; }
    LibraryHandle loadLibrary(std::string_view) override { return nullptr; }
    Address findProcedure(LibraryHandle, const Procedure&) override { return 0; }
    int callEntryPoint(Address, Address, EntryReason) override { return 0; }
};

// The platform the program's own modules are loaded with: the system's on Windows, a
// refusing one elsewhere. Lives as long as the process.
ModulePlatform& processModulePlatform();

}  // namespace sumbrook
