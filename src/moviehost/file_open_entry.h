#pragma once

#include <atomic>
#include <string_view>

namespace sumbrook {

// A function that opens `path` for reading and returns a descriptor, or -1 with errno set.
using OpenForReadingFunction = int (*)(const char* path);

// The process's file-open entry: the movie host opens every file through this one slot, so
// that a CodePatchHook can redirect those opens (to serve files from memory) by swapping
// the slot, atomically, while other threads may be opening. It is not a hook on the C
// library: opens made by anything else in the process never pass through it.
class FileOpenEntry {
  public:
    // The names the slot is found by, as the hook's module and function.
    static constexpr std::string_view kModule = "sumbrook";
    static constexpr std::string_view kFunction = "OpenFileForReading";

    // The slot named `module` and `function`; null for any other names.
    static std::atomic<OpenForReadingFunction>* Find(std::string_view module,
                                                     std::string_view function);

    // What the slot holds until it is swapped: the system's open, read-only, with the
    // descriptor closed on exec.
    static int SystemOpenForReading(const char* path);
};

// Opens `path` through the slot; a descriptor, or -1 with errno set.
int OpenFileForReading(const char* path);

}  // namespace sumbrook
