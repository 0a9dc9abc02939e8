#pragma once

#include <QString>

namespace sumbrook {

// Where the program keeps a file of its own: beside the executable, as a copy run from a
// folder of its own always has, or in the user's own folders where the program's folder
// takes no new files (an installed program). It chooses a place; it reads and writes no
// file but a probe, and it does not move files between the two places.
class ProgramFiles {
  public:
    enum class Kind {
        Configuration,  // $XDG_CONFIG_HOME/sumbrook, or ~/.config/sumbrook
        Data,           // $XDG_DATA_HOME/sumbrook, or ~/.local/share/sumbrook
    };

    // `name` inside `directory`, without a doubled separator after the root directory.
    static QString fileIn(const QString& directory, const QString& name);
    // The user's own folder of this kind for the program; it may not exist yet.
    static QString perUserDirectory(Kind kind);
    // True when a new file can be made in `directory` now. Tried, not read from permission
    // bits: those do not stop the superuser, and a read-only file system ignores them.
    static bool acceptsNewFiles(const QString& directory);
    // `name` beside the program when `programDirectory` takes new files, or when
    // `keepExisting` and a file by that name is there already; otherwise in the per-user
    // folder, which is made when missing.
    static QString place(const QString& programDirectory, const QString& name, Kind kind,
                         bool keepExisting);
};

}  // namespace sumbrook
