#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sumbrook {

// Files served from memory: each entry holds an owned copy of its bytes under its CRC-32
// name. Entries are only ever added. The table may be read from any thread that opens a
// file (the redirected open consults it), so it is guarded; an entry, once handed out,
// stays valid for as long as the caller holds it.
class MemoryFileTable {
  public:
    struct Entry {
        std::string name;
        std::vector<std::uint8_t> bytes;
    };

    // Adds a copy of `bytes` under its CRC-32 name and returns the name. When an entry of
    // that name exists it is kept as it is: equal names share one entry, even for
    // different bytes.
    std::string AddMemoryFile(std::span<const std::uint8_t> bytes);

    // The entry served at `path`: the one whose `directory` + `separator` + name equals
    // `path` exactly, byte for byte (another letter case or spelling of the directory is
    // not served). Null when none.
    std::shared_ptr<const Entry> Find(std::string_view path, std::string_view directory,
                                      char separator) const;

    std::size_t size() const;

  private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<const Entry>> entries_;
};

}  // namespace sumbrook
