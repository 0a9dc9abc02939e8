#include "win32_file_redirect.h"

#include <mutex>

#include "moviehost/code_patch_hook.h"
#include "moviehost/memory_file_table.h"

namespace sumbrook {

namespace {

// One lock serialises the redirect: a pass-through takes the patch away and puts it back,
// which must neither interleave with another pass-through nor outlive Remove.
struct ServingContext {
    std::mutex mutex;
    CodePatchHook* hook = nullptr;
    const MemoryFileTable* table = nullptr;
    std::string directory;
};

ServingContext& context() {
    static ServingContext instance;
    return instance;
}

const void* replacement() {
    return reinterpret_cast<const void*>(&InterceptedCreateFile);
}

// A pipe whose buffer holds the whole content, so that the one write completes before
// anyone reads; the closed write end makes the reader see end of file after the content.
HANDLE servePipe(const MemoryFileTable::Entry& entry) {
    if (entry.bytes.size() > MAXDWORD) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return INVALID_HANDLE_VALUE;
    }
    const auto size = static_cast<DWORD>(entry.bytes.size());
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (CreatePipe(&readEnd, &writeEnd, nullptr, size) == 0) {
        return INVALID_HANDLE_VALUE;
    }
    DWORD written = 0;
    const bool complete =
        size == 0 ||
        (WriteFile(writeEnd, entry.bytes.data(), size, &written, nullptr) != 0 && written == size);
    const DWORD error = complete ? ERROR_SUCCESS : GetLastError();
    CloseHandle(writeEnd);
    if (!complete) {
        // A reader must never take a cut-short movie for the whole one.
        CloseHandle(readEnd);
        SetLastError(error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
        return INVALID_HANDLE_VALUE;
    }
    SetLastError(ERROR_SUCCESS);
    return readEnd;
}

}  // namespace

bool Win32FileRedirect::Install(CodePatchHook& hook, const MemoryFileTable& table,
                                std::string programDirectory) {
    ServingContext& c = context();
    const std::lock_guard lock(c.mutex);
    if (hook.installed() || (c.hook != nullptr && c.hook->installed())) {
        return false;
    }
    if (!hook.install(kModule, kFunction, replacement())) {
        return false;
    }
    c.hook = &hook;
    c.table = &table;
    c.directory = std::move(programDirectory);
    return true;
}

void Win32FileRedirect::Remove() {
    ServingContext& c = context();
    const std::lock_guard lock(c.mutex);
    if (c.hook != nullptr) {
        c.hook->remove();
    }
    c.hook = nullptr;
    c.table = nullptr;
    c.directory.clear();
}

HANDLE WINAPI InterceptedCreateFile(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                                    LPSECURITY_ATTRIBUTES securityAttributes,
                                    DWORD creationDisposition, DWORD flagsAndAttributes,
                                    HANDLE templateFile) {
    ServingContext& c = context();
    const std::lock_guard lock(c.mutex);
    if (c.table != nullptr) {
        const std::string_view path = fileName != nullptr ? fileName : "";
        if (const auto entry = c.table->Find(path, c.directory, '\\')) {
            return servePipe(*entry);
        }
    }
    // Reached with no redirect left only by a call that entered the patch while Remove ran.
    const bool patched = c.hook != nullptr && c.hook->installed();
    if (patched) {
        c.hook->remove();
    }
    const HANDLE result = CreateFileA(fileName, desiredAccess, shareMode, securityAttributes,
                                      creationDisposition, flagsAndAttributes, templateFile);
    const DWORD error = GetLastError();
    if (patched) {
        c.hook->install(Win32FileRedirect::kModule, Win32FileRedirect::kFunction, replacement());
    }
    SetLastError(error);  // reinstalling must not change what the caller reads
    return result;
}

}  // namespace sumbrook
