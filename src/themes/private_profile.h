#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace sumbrook {

// Reads and writes single values of a Windows private-profile (ini) file on GBK bytes, with
// the lookup rules of the system's own profile functions, so that the window-theme setting
// lives in the same file on every platform. It does not list sections or keys, strip quotes
// around values, or cache anything: each call reads the file again.
class PrivateProfile {
  public:
    // The system hands values back in a buffer of this size, terminator included.
    static constexpr qsizetype kValueBufferSize = 10240;
    // Larger files are not ours: reading treats them as holding no value and writing
    // refuses to touch them, so a damaged or foreign file costs bounded work.
    static constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

    // The value of `key` in the first section named `section`, or `defaultValue` when the
    // file, the section or the key is missing or the file cannot be read.
    static QByteArray readString(const QString& path, const QByteArray& section,
                                 const QByteArray& key, const QByteArray& defaultValue = {});
    // Sets `key` in `section`, creating the file and the section as needed; every other
    // line keeps its bytes. The file is replaced atomically, so on failure (false) the
    // old file is left as it was.
    static bool writeString(const QString& path, const QByteArray& section, const QByteArray& key,
                            const QByteArray& value);

    // The same two operations on file content held in memory. `withValue` gives nothing
    // when the names or the value cannot be stored so that they read back (empty names,
    // line breaks, NUL bytes, '=' in a key, a key that would look like a section line,
    // a section name ending in half a double-byte character).
    static QByteArray valueIn(const QByteArray& content, const QByteArray& section,
                              const QByteArray& key, const QByteArray& defaultValue = {});
    static std::optional<QByteArray> withValue(const QByteArray& content, const QByteArray& section,
                                               const QByteArray& key, const QByteArray& value);

    // The directory holding the executable, without a trailing separator;
    // $SUMBROOK_PROGRAM_DIR replaces it when set.
    static QString programDirectory();
    // The window configuration file in the program directory.
    static QString configPath();
    // The configuration file the program reads and writes: configPath() where the program
    // directory takes new files, else the same name in the per-user configuration folder.
    // A per-user file is started as a copy of one beside the program, so that a choice
    // stored there before the folder became read-only is kept.
    static QString configPathInUse();
};

}  // namespace sumbrook
