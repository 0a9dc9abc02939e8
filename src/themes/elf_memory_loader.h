#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace sumbrook {

// Loads a shared object of this machine from bytes without writing it to disk: the bytes go
// into an anonymous, sealed memory file, which the dynamic loader opens through its
// /proc/self/fd path. The only unit with the platform's own loader calls; on a system
// without them every load is refused with a reason.
class ElfMemoryLoader {
  public:
    ElfMemoryLoader() = default;
    ~ElfMemoryLoader();
    ElfMemoryLoader(const ElfMemoryLoader&) = delete;
    ElfMemoryLoader& operator=(const ElfMemoryLoader&) = delete;
    ElfMemoryLoader(ElfMemoryLoader&& other) noexcept;
    ElfMemoryLoader& operator=(ElfMemoryLoader&& other) noexcept;

    // True when `bytes` start like a shared object this process could load: the ELF magic,
    // this machine's class (32/64-bit) and byte order.
    static bool Recognizes(std::span<const std::uint8_t> bytes);
    // Loads `bytes`, replacing any held object; on failure `reason` says why.
    bool Load(std::span<const std::uint8_t> bytes, std::string& reason);
    // Closes the held object and its memory file; true when nothing is held afterwards.
    bool Unload();
    bool IsLoaded() const { return handle_ != nullptr; }
    // The address of a defined symbol, or 0.
    std::uintptr_t FindSymbol(std::string_view name) const;
    // Where the loader placed the object (its link-map base), or 0 when nothing is held.
    std::uintptr_t BaseAddress() const;

  private:
    void* handle_ = nullptr;
    int fd_ = -1;
};

}  // namespace sumbrook
