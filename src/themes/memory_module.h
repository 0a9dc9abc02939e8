#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "themes/elf_memory_loader.h"
#include "themes/module_platform.h"

namespace sumbrook {

// Maps a PE DLL from bytes into memory obtained from the platform, so that the skin library
// runs without ever being written to disk: a PE32 image for i386 or a PE32+ image for x86-64,
// whichever the platform runs. All arithmetic is in the image's own addresses (32 or 64 bits
// wide); the platform's block translates them to host memory. The instance owns
// its mapping: destruction unloads, and it is movable but not copyable, because two copies
// of one base would each detach and release the same image.
// Bytes that begin with the ELF magic instead are a shared object of this machine (the skin
// module's form on Linux): they are loaded from an anonymous memory file by the system's
// dynamic loader, never written to disk, and their exports are host addresses.
class MemoryModule {
  public:
    // Supplies an import before the platform is asked: (library name, procedure name or the
    // decimal text of its ordinal) -> address, or 0 to fall back to the platform's lookup.
    using ImportResolver = std::function<ModulePlatform::Address(std::string_view library,
                                                                 std::string_view procedure)>;

    explicit MemoryModule(ModulePlatform& platform) : platform_(&platform) {}
    ~MemoryModule();
    MemoryModule(const MemoryModule&) = delete;
    MemoryModule& operator=(const MemoryModule&) = delete;
    MemoryModule(MemoryModule&& other) noexcept;
    MemoryModule& operator=(MemoryModule&& other) noexcept;

    // Maps, relocates and binds `image` and runs its entry point, replacing any held image;
    // or loads an ELF shared object of this machine from memory. Anything else is refused.
    // True when an image is held afterwards.
    bool Load(std::span<const std::uint8_t> image, const ImportResolver& resolver = {});
    // Detaches and releases the held image; true when no image is held afterwards.
    bool Unload();
    // The address of an export, by name or, for a canonical decimal text such as "5" (not
    // "05"), by ordinal; 0 when absent, forwarded, or when no image is held. For a PE image
    // this is the image's own address; for an ELF object, the host address of the
    // defined symbol (by name only), ready to be called.
    std::uintptr_t FindExport(std::string_view name) const;
    // The image's entry-point address; 0 when no image is held or the image has none (always
    // for an ELF object, whose initialisers the dynamic loader runs).
    ModulePlatform::Address EntryPoint() const;
    // The base address the image was mapped at; 0 when no image is held, and always 0 for an
    // ELF object, whose link-map base is a host address (see ElfBaseAddress).
    ModulePlatform::Address BaseAddress() const { return block_.address; }
    // The link-map base of a held ELF object; 0 when none is held.
    std::uintptr_t ElfBaseAddress() const { return elf_.BaseAddress(); }
    // Why the last Load failed; empty after a successful one.
    const std::string& LastError() const { return error_; }

  private:
    bool fail(std::string reason);
    std::span<std::uint8_t> mapped() const { return {block_.data, size_}; }

    ModulePlatform* platform_;
    ModulePlatform::Block block_;
    std::uint32_t size_ = 0;
    std::uint32_t entryRva_ = 0;
    bool isDll_ = false;
    std::uint32_t exportRva_ = 0;
    std::uint32_t exportSize_ = 0;
    std::string error_;
    ElfMemoryLoader elf_;
};

}  // namespace sumbrook
