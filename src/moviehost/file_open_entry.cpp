#include "moviehost/file_open_entry.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace sumbrook {

namespace {

std::atomic<OpenForReadingFunction>& slot() {
    static std::atomic<OpenForReadingFunction> entry{&FileOpenEntry::SystemOpenForReading};
    return entry;
}

}  // namespace

std::atomic<OpenForReadingFunction>* FileOpenEntry::Find(std::string_view module,
                                                         std::string_view function) {
    if (module != kModule || function != kFunction) {
        return nullptr;
    }
    return &slot();
}

int FileOpenEntry::SystemOpenForReading(const char* path) {
    if (path == nullptr) {
        errno = EFAULT;
        return -1;
    }
    int fd;
    do {
        fd = ::open(path, O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int OpenFileForReading(const char* path) {
    return slot().load(std::memory_order_acquire)(path);
}

}  // namespace sumbrook
