#include "elf_memory_loader.h"

#include <utility>

#if defined(__linux__)
#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace sumbrook {

ElfMemoryLoader::~ElfMemoryLoader() {
    Unload();
}

ElfMemoryLoader::ElfMemoryLoader(ElfMemoryLoader&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), fd_(std::exchange(other.fd_, -1)) {}

ElfMemoryLoader& ElfMemoryLoader::operator=(ElfMemoryLoader&& other) noexcept {
    if (this != &other) {
        Unload();
        handle_ = std::exchange(other.handle_, nullptr);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

#if defined(__linux__)

namespace {

#if UINTPTR_MAX > 0xFFFFFFFFu
constexpr unsigned char kOwnClass = ELFCLASS64;
#else
constexpr unsigned char kOwnClass = ELFCLASS32;
#endif
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr unsigned char kOwnByteOrder = ELFDATA2LSB;
#else
constexpr unsigned char kOwnByteOrder = ELFDATA2MSB;
#endif

std::string systemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

bool ElfMemoryLoader::Recognizes(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= EI_NIDENT && std::memcmp(bytes.data(), ELFMAG, SELFMAG) == 0 &&
           bytes[EI_CLASS] == kOwnClass && bytes[EI_DATA] == kOwnByteOrder;
}

bool ElfMemoryLoader::Load(std::span<const std::uint8_t> bytes, std::string& reason) {
    Unload();
    if (!Recognizes(bytes)) {
        reason = "not a shared object of this machine";
        return false;
    }
    const int fd = memfd_create("sumbrook-module", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0) {
        reason = systemError("memfd_create");
        return false;
    }
    for (std::size_t written = 0; written < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            reason = systemError("writing the memory file");
            ::close(fd);
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    if (fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL) != 0) {
        reason = systemError("sealing the memory file");
        ::close(fd);
        return false;
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        reason = std::string("dlopen: ") + (why != nullptr ? why : "unknown error");
        ::close(fd);
        return false;
    }
    handle_ = handle;
    fd_ = fd;
    reason.clear();
    return true;
}

bool ElfMemoryLoader::Unload() {
    if (handle_ != nullptr && dlclose(handle_) == 0) {
        handle_ = nullptr;
    }
    if (handle_ == nullptr && fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    return handle_ == nullptr;
}

std::uintptr_t ElfMemoryLoader::FindSymbol(std::string_view name) const {
    if (handle_ == nullptr) {
        return 0;
    }
    const std::string text(name);
    return reinterpret_cast<std::uintptr_t>(dlsym(handle_, text.c_str()));
}

std::uintptr_t ElfMemoryLoader::BaseAddress() const {
    link_map* map = nullptr;
    if (handle_ == nullptr || dlinfo(handle_, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) {
        return 0;
    }
    return static_cast<std::uintptr_t>(map->l_addr);
}

#else  // no dynamic loader that opens memory files

bool ElfMemoryLoader::Recognizes(std::span<const std::uint8_t>) {
    return false;
}

bool ElfMemoryLoader::Load(std::span<const std::uint8_t>, std::string& reason) {
    reason = "shared objects cannot be loaded from memory on this system";
    return false;
}

bool ElfMemoryLoader::Unload() {
    return true;
}

std::uintptr_t ElfMemoryLoader::FindSymbol(std::string_view) const {
    return 0;
}

std::uintptr_t ElfMemoryLoader::BaseAddress() const {
    return 0;
}

#endif

}  // namespace sumbrook
