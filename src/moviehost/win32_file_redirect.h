#pragma once

#include <windows.h>

#include <string>

namespace sumbrook {

class CodePatchHook;
class MemoryFileTable;

// The process-wide context behind the redirected CreateFileA on Windows: which table is
// served, from which program directory, through which hook. It owns none of them; the
// shutdown routine removes the redirect before it frees the table. Opens of any other path
// reach the system with their arguments and results, including the last error, unchanged.
class Win32FileRedirect {
  public:
    static constexpr const char* kModule = "kernel32.dll";
    static constexpr const char* kFunction = "CreateFileA";

    // Patches kernel32's CreateFileA through `hook` so that programDirectory + "\" + name
    // opens `table`'s entry of that name. False, with the existing redirect left as it is,
    // when one is already installed or the function cannot be patched.
    static bool Install(CodePatchHook& hook, const MemoryFileTable& table,
                        std::string programDirectory);
    // Puts CreateFileA back and forgets the table; waits for an open that is passing
    // through, so that it cannot patch the function again afterwards.
    static void Remove();
};

// The replacement entered through the patch, with CreateFileA's arguments and result. An
// exact served path gets the read end of a pipe that already holds the whole content.
HANDLE WINAPI InterceptedCreateFile(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                                    LPSECURITY_ATTRIBUTES securityAttributes,
                                    DWORD creationDisposition, DWORD flagsAndAttributes,
                                    HANDLE templateFile);

}  // namespace sumbrook
