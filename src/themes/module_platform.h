#pragma once

#include <cstdint>
#include <string_view>
#include <variant>

namespace sumbrook {

// The system services the in-memory module loader needs, behind one interface so that the
// same PE mapping code runs against the real system, under wine, and against a recording
// fake on a 64-bit test host where the image's 32-bit addresses are not host pointers.
class ModulePlatform {
  public:
    // Committed, zero-filled memory. `address` is where the 32-bit image sees the block
    // start (its base); `data` is where this process reads and writes it. On 32-bit Windows
    // the two are the same number; on a test host they differ. `data` is null when refused.
    struct Block {
        std::uint8_t* data = nullptr;
        std::uint32_t address = 0;
    };

    using LibraryHandle = void*;
    // An import is asked for by its name or by its 16-bit ordinal.
    using Procedure = std::variant<std::string_view, std::uint16_t>;

    enum class EntryReason : std::uint32_t { ProcessDetach = 0, ProcessAttach = 1 };

    virtual ~ModulePlatform();

    // `size` bytes at `addressHint`, or anywhere when the hint is 0.
    virtual Block allocate(std::uint32_t addressHint, std::uint32_t size) = 0;
    virtual bool free(const Block& block) = 0;
    // Null when the library cannot be loaded.
    virtual LibraryHandle loadLibrary(std::string_view name) = 0;
    // 0 when the library has no such procedure.
    virtual std::uint32_t findProcedure(LibraryHandle library, const Procedure& procedure) = 0;
    // Calls the image's DLL entry point as (instance = base, reason, reserved = 0).
    virtual int callEntryPoint(std::uint32_t entry, std::uint32_t base, EntryReason reason) = 0;
};

}  // namespace sumbrook
