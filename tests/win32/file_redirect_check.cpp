// The redirected CreateFileA of this very process: served paths read from memory through a
// pipe, every other open reaches the system as if nothing were patched.

#include <windows.h>

#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "moviehost/code_patch_hook.h"
#include "moviehost/memory_file_table.h"
#include "moviehost/win32_file_redirect.h"
#include "wine_check.h"

namespace sumbrook {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint8_t* createFileA() {
    return reinterpret_cast<std::uint8_t*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateFileA"));
}

Bytes firstBytes(std::size_t count) {
    const std::uint8_t* code = createFileA();
    return Bytes(code, code + count);
}

// This build's jump: 12 bytes with a 64-bit address on x86-64, 7 with a 32-bit one on i686.
Bytes patchTo(const void* replacement) {
#if defined(_WIN64)
    const auto patch = CodePatchHook::JumpPatch64(reinterpret_cast<std::uintptr_t>(replacement));
#else
    const auto patch = CodePatchHook::JumpPatch(
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(replacement)));
#endif
    return Bytes(patch.begin(), patch.end());
}

const void* intercepted() {
    return reinterpret_cast<const void*>(&InterceptedCreateFile);
}

DWORD protectionOfCreateFileA() {
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(createFileA(), &info, sizeof info);
    return info.Protect;
}

// Larger than any default pipe buffer, so a pipe not sized to the content would block its
// single write for ever.
Bytes movieLikeContent() {
    Bytes bytes(1 << 20);
    std::uint32_t state = 12345;
    for (std::uint8_t& b : bytes) {
        state = state * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(state >> 16);
    }
    std::memcpy(bytes.data(), "CWS", 3);
    return bytes;
}

// Everything a handle yields until end of file; `ended` tells whether it reached it.
Bytes readAll(HANDLE handle, bool& ended) {
    Bytes content;
    std::uint8_t chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (ReadFile(handle, chunk, sizeof chunk, &got, nullptr) == 0) {
            ended = GetLastError() == ERROR_BROKEN_PIPE;  // a pipe's end of file
            return content;
        }
        if (got == 0) {
            ended = true;
            return content;
        }
        content.insert(content.end(), chunk, chunk + got);
    }
}

HANDLE openForReading(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

struct PendingOpen {
    std::string path;
    HANDLE result = INVALID_HANDLE_VALUE;
};

DWORD WINAPI openOnThread(LPVOID parameter) {
    auto* open = static_cast<PendingOpen*>(parameter);
    open->result = openForReading(open->path);
    return 0;
}

// A served open whose pipe cannot take the whole content at once blocks in its write for
// ever: that ends the check with a message instead of a silent timeout.
HANDLE openServed(const std::string& path) {
    PendingOpen open{path};
    const HANDLE thread = CreateThread(nullptr, 0, openOnThread, &open, 0, nullptr);
    if (thread == nullptr) {
        return INVALID_HANDLE_VALUE;
    }
    if (WaitForSingleObject(thread, 10000) == WAIT_TIMEOUT) {
        winecheck::Failure(__FILE__, __LINE__, "the open did not return within 10 s") << path;
        std::cout.flush();
        ExitProcess(4);
    }
    CloseHandle(thread);
    return open.result;
}

std::string temporaryDirectory() {
    char path[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, path);
    std::string text(path, length);
    if (!text.empty() && text.back() == '\\') {
        text.pop_back();
    }
    return text;
}

// A program directory of its own, so that nothing there can answer for a served name.
std::string freshProgramDirectory() {
    const std::string path =
        temporaryDirectory() + "\\SumbrookProgram" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

// Installs the redirect for one case and always takes it away again.
struct Redirect {
    Redirect(const MemoryFileTable& table, std::string directory)
        : installed(Win32FileRedirect::Install(hook, table, std::move(directory))) {}
    ~Redirect() { Win32FileRedirect::Remove(); }
    Redirect(const Redirect&) = delete;
    Redirect& operator=(const Redirect&) = delete;

    CodePatchHook hook;
    bool installed;
};

WINE_CHECK(ServedPathGivesTheWholeContentThenEndOfFileOnEveryOpen) {
    MemoryFileTable table;
    const Bytes movie = movieLikeContent();
    const Bytes small{'a', 'b', 'c'};
    const Bytes empty;
    const std::string directory = freshProgramDirectory();
    const Bytes* contents[] = {&movie, &small, &empty};
    std::vector<std::string> paths;
    for (const Bytes* content : contents) {
        paths.push_back(directory + "\\" + table.AddMemoryFile(*content));
    }
    Redirect redirect(table, directory);
    REQUIRE(redirect.installed);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        for (int open = 1; open <= 2; ++open) {
            const HANDLE handle = openServed(paths[i]);
            REQUIRE(handle != INVALID_HANDLE_VALUE);
            bool ended = false;
            const Bytes read = readAll(handle, ended);
            CloseHandle(handle);
            EXPECT(read == *contents[i])
                << paths[i] << ", open " << open << ": " << read.size() << " bytes";
            EXPECT(ended) << paths[i] << ", open " << open;
        }
    }
    RemoveDirectoryA(directory.c_str());
}

WINE_CHECK(OtherFilesOpenAsWithoutTheRedirect) {
    MemoryFileTable table;
    table.AddMemoryFile(movieLikeContent());
    const std::string directory = freshProgramDirectory();
    const std::string file = directory + "\\ordinary.txt";
    const std::string missing = directory + "\\missing.txt";
    const std::string text = "an ordinary file, written and read back";
    auto redirect = std::make_unique<Redirect>(table, directory);
    REQUIRE(redirect->installed);
    for (const char* phase : {"while redirected", "after removal"}) {
        HANDLE out = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        REQUIRE(out != INVALID_HANDLE_VALUE);
        DWORD written = 0;
        EXPECT(WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
            << phase;
        CloseHandle(out);
        const HANDLE in = openForReading(file);
        REQUIRE(in != INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetFileType(in), DWORD{FILE_TYPE_DISK}) << phase;
        bool ended = false;
        const Bytes read = readAll(in, ended);
        CloseHandle(in);
        EXPECT_EQ(std::string(read.begin(), read.end()), text) << phase;
        EXPECT(DeleteFileA(file.c_str())) << phase;

        // A failed open keeps the system's own error for the caller.
        SetLastError(ERROR_SUCCESS);
        EXPECT(openForReading(missing) == INVALID_HANDLE_VALUE) << phase;
        EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_NOT_FOUND}) << phase;
        redirect.reset();
    }
    RemoveDirectoryA(directory.c_str());
}

WINE_CHECK(PassThroughPutsThePatchBack) {
    MemoryFileTable table;
    Redirect redirect(table, freshProgramDirectory());
    REQUIRE(redirect.installed);
    const HANDLE handle = openForReading(temporaryDirectory() + "\\no such file here");
    EXPECT(handle == INVALID_HANDLE_VALUE);
    EXPECT_EQ(firstBytes(CodePatchHook::kPatchSize), patchTo(intercepted()));
    EXPECT(redirect.hook.installed());
    EXPECT_EQ(redirect.hook.label(), "kernel32.dll|CreateFileA");
}

WINE_CHECK(RemovalRestoresTheOriginalBytesAndProtection) {
    const Bytes original = firstBytes(CodePatchHook::kSavedSize);
    const DWORD protection = protectionOfCreateFileA();
    CodePatchHook hook;
    REQUIRE(hook.install("kernel32.dll", "CreateFileA", intercepted()));
    Bytes expected = patchTo(intercepted());
    // The saved bytes after the jump are not overwritten.
    expected.insert(expected.end(), original.begin() + CodePatchHook::kPatchSize, original.end());
    EXPECT_EQ(firstBytes(CodePatchHook::kSavedSize), expected);
    hook.remove();
    EXPECT_EQ(firstBytes(CodePatchHook::kSavedSize), original);
    EXPECT_EQ(protectionOfCreateFileA(), protection);
    EXPECT(!hook.installed());
    EXPECT_EQ(hook.label(), "");
    hook.remove();  // a second removal writes nothing
    EXPECT_EQ(firstBytes(CodePatchHook::kSavedSize), original);
}

HANDLE WINAPI otherReplacement(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) {
    return INVALID_HANDLE_VALUE;
}

WINE_CHECK(SecondInstallIsRefusedAndKeepsTheFirstPatch) {
    MemoryFileTable table;
    Redirect redirect(table, freshProgramDirectory());
    REQUIRE(redirect.installed);
    EXPECT(!redirect.hook.install("kernel32.dll", "CreateFileA",
                                  reinterpret_cast<const void*>(&otherReplacement)));
    CodePatchHook second;
    EXPECT(!Win32FileRedirect::Install(second, table, "C:\\Elsewhere"));
    EXPECT(!Win32FileRedirect::Install(redirect.hook, table, "C:\\Elsewhere"));
    EXPECT(!second.installed());
    EXPECT_EQ(firstBytes(CodePatchHook::kPatchSize), patchTo(intercepted()));
    EXPECT_EQ(redirect.hook.label(), "kernel32.dll|CreateFileA");
}

WINE_CHECK(UnknownModuleOrFunctionIsRefused) {
    const struct {
        const char* module;
        const char* function;
    } rows[] = {
        {"sumbrook-no-such-module.dll", "CreateFileA"},
        {"winmm.dll", "timeGetTime"},  // on disk, but not loaded in this process
        {"kernel32.dll", "SumbrookNoSuchFunction"},
        {"kernel32.dll", ""},
    };
    const Bytes original = firstBytes(CodePatchHook::kSavedSize);
    for (const auto& row : rows) {
        CodePatchHook hook;
        EXPECT(!hook.install(row.module, row.function, intercepted()))
            << row.module << "|" << row.function;
        EXPECT(!hook.installed()) << row.module << "|" << row.function;
        EXPECT_EQ(hook.label(), "") << row.module << "|" << row.function;
    }
    EXPECT(GetModuleHandleA("winmm.dll") == nullptr);
    EXPECT_EQ(firstBytes(CodePatchHook::kSavedSize), original);
}

WINE_CHECK(ServedPathSpelledOtherwiseIsNotServed) {
    MemoryFileTable table;
    const std::string name = table.AddMemoryFile(Bytes{'a', 'b', 'c'});  // 352441C2
    REQUIRE(name == "352441C2");
    const std::string directory = freshProgramDirectory();
    std::string lowerDirectory = directory;
    for (char& c : lowerDirectory) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    REQUIRE(lowerDirectory != directory);
    Redirect redirect(table, directory);
    REQUIRE(redirect.installed);
    const std::string paths[] = {
        directory + "\\352441c2",   lowerDirectory + "\\352441C2", directory + "/352441C2",
        directory + "\\\\352441C2", directory + "\\352441C2.swf",
    };
    // The system finds no such file, as it would with the redirect gone.
    for (const std::string& path : paths) {
        const HANDLE handle = openForReading(path);
        EXPECT(handle == INVALID_HANDLE_VALUE) << path;
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
    const HANDLE exact = openForReading(directory + "\\352441C2");
    EXPECT(exact != INVALID_HANDLE_VALUE);
    CloseHandle(exact);
    RemoveDirectoryA(directory.c_str());
}

HANDLE WINAPI countingReplacement(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                                  HANDLE) {
    SetLastError(ERROR_ACCESS_DENIED);  // tells the caller which function answered
    return INVALID_HANDLE_VALUE;
}

struct Callers {
    std::string path;
    LONG stop = 0;
    LONG calls = 0, system = 0, replaced = 0, other = 0;
};

// Opens a missing file until told to stop, counting which function answered each time.
DWORD WINAPI callCreateFileRepeatedly(LPVOID argument) {
    auto& s = *static_cast<Callers*>(argument);
    while (InterlockedCompareExchange(&s.stop, 0, 0) == 0) {
        SetLastError(ERROR_SUCCESS);
        const HANDLE handle = CreateFileA(s.path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, 0, nullptr);
        const DWORD error = GetLastError();
        InterlockedIncrement(&s.calls);
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
            InterlockedIncrement(&s.other);
        } else if (error == ERROR_FILE_NOT_FOUND) {
            InterlockedIncrement(&s.system);
        } else if (error == ERROR_ACCESS_DENIED) {
            InterlockedIncrement(&s.replaced);
        } else {
            InterlockedIncrement(&s.other);
        }
    }
    return 0;
}

// Threads keep entering CreateFileA while the patch is written and taken out over and over:
// each call must reach either the system's whole function or the whole jump, which shows as
// the one error or the other, and nothing may crash.
WINE_CHECK(ThreadsEnteringWhileThePatchIsWrittenRunWholeCode) {
    Callers shared;
    shared.path = temporaryDirectory() + "\\sumbrook no such file";
    HANDLE threads[3] = {};
    for (HANDLE& thread : threads) {
        thread = CreateThread(nullptr, 0, callCreateFileRepeatedly, &shared, 0, nullptr);
        REQUIRE(thread != nullptr);
    }
    const Bytes original = firstBytes(CodePatchHook::kSavedSize);
    CodePatchHook hook;
    for (int round = 0; round < 2000; ++round) {
        REQUIRE(hook.install("kernel32.dll", "CreateFileA",
                             reinterpret_cast<const void*>(&countingReplacement)));
        hook.remove();
    }
    InterlockedExchange(&shared.stop, 1);
    WaitForMultipleObjects(3, threads, TRUE, INFINITE);
    for (HANDLE thread : threads) {
        CloseHandle(thread);
    }
    EXPECT_EQ(firstBytes(CodePatchHook::kSavedSize), original);
    EXPECT(shared.calls > 0);
    EXPECT_EQ(shared.other, 0L) << "of " << shared.calls << " calls";
    EXPECT_EQ(shared.system + shared.replaced, shared.calls);
}

}  // namespace
}  // namespace sumbrook
