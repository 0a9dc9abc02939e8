#pragma once

#include <string>

namespace sumbrook {

class MemoryFileTable;

// The replacement for the process's file-open entry while the movie is served from memory.
// An open of exactly directory + "/" + an entry's name (byte for byte) gets a fresh sealed
// memory file holding the entry's whole content, positioned at its start, so the content
// never reaches the disk; every other open goes to the system's open unchanged. It may run
// on any thread that opens through the entry; it only reads the table.
class InterceptedOpen {
  public:
    // From now on serves `table`'s entries under `directory` (no trailing separator); null
    // stops serving. The table must outlive every open that can still reach the
    // interceptor: its owner removes the hook before freeing it.
    static void Serve(const MemoryFileTable* table, std::string directory);

    // Has the signature of OpenForReadingFunction, so the hook can put it in the slot.
    static int Open(const char* path);

    // A sealed, read-only memory file holding `size` bytes from `data`, positioned at 0;
    // -1 with errno set when the system refuses.
    static int SealedMemoryFile(const char* name, const unsigned char* data, std::size_t size);
};

}  // namespace sumbrook
