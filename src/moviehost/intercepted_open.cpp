#include "moviehost/intercepted_open.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <mutex>
#include <vector>

#include "moviehost/file_open_entry.h"
#include "moviehost/memory_file_table.h"

namespace sumbrook {

namespace {

struct Served {
    const MemoryFileTable* table;
    std::string directory;
};

std::atomic<const Served*> current{nullptr};

// An open on another thread may still be reading a replaced setting, and nothing says
// when it is done, so settings are kept to the end of the process; there is one per
// loaded movie.
std::mutex keptMutex;
std::vector<std::unique_ptr<const Served>> kept;

int failWith(int fd) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return -1;
}

}  // namespace

void InterceptedOpen::Serve(const MemoryFileTable* table, std::string directory) {
    const std::lock_guard lock(keptMutex);
    kept.push_back(std::make_unique<const Served>(Served{table, std::move(directory)}));
    current.store(kept.back().get(), std::memory_order_release);
}

int InterceptedOpen::Open(const char* path) {
    const Served* served = current.load(std::memory_order_acquire);
    if (served != nullptr && served->table != nullptr && path != nullptr) {
        if (const auto entry = served->table->Find(path, served->directory, '/')) {
            return SealedMemoryFile(entry->name.c_str(), entry->bytes.data(), entry->bytes.size());
        }
    }
    // Called directly, not by removing the hook around the call: another thread's open of
    // the served path must never find the entry unhooked.
    return FileOpenEntry::SystemOpenForReading(path);
}

int InterceptedOpen::SealedMemoryFile(const char* name, const unsigned char* data,
                                      std::size_t size) {
    const int fd = ::memfd_create(name, MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0) {
        return -1;
    }
    std::size_t written = 0;
    while (written < size) {
        const ssize_t n = ::write(fd, data + written, size - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return failWith(fd);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fcntl(fd, F_ADD_SEALS, F_SEAL_WRITE | F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_SEAL) != 0 ||
        ::lseek(fd, 0, SEEK_SET) != 0) {
        return failWith(fd);
    }
    return fd;
}

}  // namespace sumbrook
