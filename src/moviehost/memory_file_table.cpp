#include "memory_file_table.h"

#include "moviehost/crc32.h"

namespace sumbrook {

std::string MemoryFileTable::AddMemoryFile(std::span<const std::uint8_t> bytes) {
    std::string name = Crc32Name(bytes);
    const std::lock_guard lock(mutex_);
    for (const auto& entry : entries_) {
        if (entry->name == name) {
            return name;
        }
    }
    entries_.push_back(std::make_shared<const Entry>(
        Entry{name, std::vector<std::uint8_t>(bytes.begin(), bytes.end())}));
    return name;
}

std::shared_ptr<const MemoryFileTable::Entry> MemoryFileTable::Find(std::string_view path,
                                                                    std::string_view directory,
                                                                    char separator) const {
    if (path.size() <= directory.size() + 1 || !path.starts_with(directory) ||
        path[directory.size()] != separator) {
        return nullptr;
    }
    const std::string_view name = path.substr(directory.size() + 1);
    const std::lock_guard lock(mutex_);
    for (const auto& entry : entries_) {
        if (entry->name == name) {
            return entry;
        }
    }
    return nullptr;
}

std::size_t MemoryFileTable::size() const {
    const std::lock_guard lock(mutex_);
    return entries_.size();
}

}  // namespace sumbrook
