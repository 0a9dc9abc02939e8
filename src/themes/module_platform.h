#pragma once

#include <cstdint>
#include <string_view>
#include <variant>

namespace sumbrook {

// The system services the in-memory module loader needs, behind one interface so that the
// same PE mapping code runs against the real system, under wine, and against a recording
// fake on a test host where the image's addresses are not host pointers.
class ModulePlatform {
  public:
    // An address as the image sees it: 32 bits wide for an i386 image, 64 for x86-64.
    using Address = std::uint64_t;

    // Committed, zero-filled memory. `address` is where the image sees the block start (its
    // base); `data` is where this process reads and writes it. On Windows the two are the
    // same number; on a test host they differ. `data` is null when refused.
    struct Block {
        std::uint8_t* data = nullptr;
        Address address = 0;
    };

    using LibraryHandle = void*;
    // An import is asked for by its name or by its 16-bit ordinal.
    using Procedure = std::variant<std::string_view, std::uint16_t>;

    enum class EntryReason : std::uint32_t { ProcessDetach = 0, ProcessAttach = 1 };

    virtual ~ModulePlatform();

    // The PE machine type whose images run here (PeImage::kMachineI386 or kMachineAmd64);
    // the loader refuses an image built for any other.
    virtual std::uint16_t machine() const = 0;
    // `size` bytes at `addressHint`, or anywhere when the hint is 0.
    virtual Block allocate(Address addressHint, std::uint32_t size) = 0;
    virtual bool free(const Block& block) = 0;
    // Null when the library cannot be loaded.
    virtual LibraryHandle loadLibrary(std::string_view name) = 0;
    // 0 when the library has no such procedure.
    virtual Address findProcedure(LibraryHandle library, const Procedure& procedure) = 0;
    // Calls the image's DLL entry point as (instance = base, reason, reserved = 0).
    virtual int callEntryPoint(Address entry, Address base, EntryReason reason) = 0;
};

}  // namespace sumbrook
