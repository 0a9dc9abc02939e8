#include "themes/private_profile.h"

#include "themes/program_files.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstring>

namespace sumbrook {
namespace {

constexpr qsizetype kMaxValueBytes = PrivateProfile::kValueBufferSize - 1;

bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// A GBK lead byte: it and the byte after it are one character. Trail bytes reach down to
// 0x40, so they can look like ASCII letters or ']' and must never be read on their own.
bool isLeadByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x81 && byte <= 0xFE;
}

char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

QByteArrayView trimmed(QByteArrayView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    // Blanks are below 0x40, so a trailing one is never the second half of a character.
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.sliced(begin, end - begin);
}

// ASCII letters match in either case, as the system matches names; a double-byte character
// matches only itself.
bool sameName(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (isLeadByte(a[i])) {
            if (a[i] != b[i] || (i + 1 < a.size() && a[i + 1] != b[i + 1])) {
                return false;
            }
            ++i;
        } else if (foldAscii(a[i]) != foldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// Position of the last ']' that is a character of its own, or -1.
qsizetype lastClosingBracket(QByteArrayView text) {
    qsizetype found = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isLeadByte(text[i])) {
            ++i;
        } else if (text[i] == ']') {
            found = i;
        }
    }
    return found;
}

bool endsInsideCharacter(QByteArrayView text) {
    qsizetype i = 0;
    while (i < text.size()) {
        i += isLeadByte(text[i]) ? 2 : 1;
    }
    return i > text.size();
}

// At most `limit` bytes of `text`, never ending in half a character: the system's buffer
// cut would leave a lone lead byte that decodes to garbage.
QByteArray cutToWholeCharacters(QByteArrayView text, qsizetype limit) {
    if (text.size() <= limit) {
        return text.toByteArray();
    }
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype step = (isLeadByte(text[end]) && end + 1 < text.size()) ? 2 : 1;
        if (end + step > limit) {
            break;
        }
        end += step;
    }
    return text.first(end).toByteArray();
}

// One line of the content: [begin, end) is its text without "\n" or "\r\n"; the next line
// starts at `next`.
struct Line {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

// What a line is to the lookup. Views point into the content.
struct LineMeaning {
    enum class Kind { Other, Section, Key };
    Kind kind = Kind::Other;
    QByteArrayView name;
    QByteArrayView value;
    qsizetype afterEquals = 0;  // Key only: offset in the content just past the '='
};

template <typename Visit>
void forEachLine(QByteArrayView content, Visit visit) {
    qsizetype begin = 0;
    while (begin < content.size()) {
        const void* found =
            std::memchr(content.data() + begin, '\n', static_cast<size_t>(content.size() - begin));
        Line line;
        line.begin = begin;
        if (found == nullptr) {
            line.end = content.size();
            line.next = content.size();
        } else {
            line.end = static_cast<const char*>(found) - content.data();
            line.next = line.end + 1;
            if (line.end > begin && content[line.end - 1] == '\r') {
                --line.end;
            }
        }
        if (!visit(line)) {
            return;
        }
        begin = line.next;
    }
}

// A line starting with '[' but lacking its ']' is not a section line; like the system we
// read it as an ordinary line of the section it stands in.
LineMeaning meaningOf(QByteArrayView content, const Line& line) {
    const QByteArrayView text = trimmed(content.sliced(line.begin, line.end - line.begin));
    LineMeaning meaning;
    if (text.startsWith('[')) {
        const qsizetype close = lastClosingBracket(text);
        if (close > 0) {
            meaning.kind = LineMeaning::Kind::Section;
            meaning.name = trimmed(text.sliced(1, close - 1));
            return meaning;
        }
    }
    // '=' is below 0x40, so it is never the second half of a character.
    const qsizetype equals = text.indexOf('=');
    if (equals >= 0) {
        meaning.kind = LineMeaning::Kind::Key;
        meaning.name = trimmed(text.first(equals));
        meaning.value = trimmed(text.sliced(equals + 1));
        meaning.afterEquals = (text.data() - content.data()) + equals + 1;
    }
    return meaning;
}

bool isBlankLine(QByteArrayView content, const Line& line) {
    return trimmed(content.sliced(line.begin, line.end - line.begin)).isEmpty();
}

// The whole file, or nothing when it is missing, not a regular file (a directory, or a pipe
// that would block the read), too large, or unreadable.
std::optional<QByteArray> readBounded(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray content = file.read(PrivateProfile::kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError || content.size() > PrivateProfile::kMaxFileSize) {
        return std::nullopt;
    }
    return content;
}

}  // namespace

QByteArray PrivateProfile::valueIn(const QByteArray& content, const QByteArray& section,
                                   const QByteArray& key, const QByteArray& defaultValue) {
    const QByteArrayView wantedSection = trimmed(section);
    const QByteArrayView wantedKey = trimmed(key);
    // The system strips trailing blanks from the default and returns it through the same
    // buffer as a value.
    QByteArrayView fallback = defaultValue;
    while (!fallback.isEmpty() && isBlank(fallback.back())) {
        fallback.chop(1);
    }
    QByteArray result = cutToWholeCharacters(fallback, kMaxValueBytes);
    if (wantedSection.isEmpty() || wantedKey.isEmpty()) {
        return result;
    }
    bool inSection = false;
    forEachLine(content, [&](const Line& line) {
        const LineMeaning meaning = meaningOf(content, line);
        if (meaning.kind == LineMeaning::Kind::Section) {
            if (inSection) {
                return false;  // only the first section of that name counts
            }
            inSection = sameName(meaning.name, wantedSection);
        } else if (inSection && meaning.kind == LineMeaning::Kind::Key &&
                   sameName(meaning.name, wantedKey)) {
            // The system's result is a C string: a NUL byte ends it.
            QByteArrayView value = meaning.value;
            const qsizetype nul = value.indexOf('\0');
            if (nul >= 0) {
                value = trimmed(value.first(nul));
            }
            result = cutToWholeCharacters(value, kMaxValueBytes);
            return false;
        }
        return true;
    });
    return result;
}

std::optional<QByteArray> PrivateProfile::withValue(const QByteArray& content,
                                                    const QByteArray& section,
                                                    const QByteArray& key,
                                                    const QByteArray& value) {
    const QByteArrayView wantedSection = trimmed(section);
    const QByteArrayView wantedKey = trimmed(key);
    const auto breaksLines = [](QByteArrayView text) {
        return text.contains('\n') || text.contains('\r') || text.contains('\0');
    };
    if (wantedSection.isEmpty() || wantedKey.isEmpty() || breaksLines(wantedSection) ||
        breaksLines(wantedKey) || breaksLines(value) || wantedKey.contains('=') ||
        wantedKey.startsWith('[') || endsInsideCharacter(wantedSection)) {
        return std::nullopt;
    }
    const QByteArray newLine = wantedKey.toByteArray() + '=' + value + "\r\n";

    bool inSection = false;
    bool sectionFound = false;
    Line lastFilled;  // the section's last non-blank line: a new key goes right after it
    std::optional<QByteArray> replaced;
    forEachLine(content, [&](const Line& line) {
        const LineMeaning meaning = meaningOf(content, line);
        if (meaning.kind == LineMeaning::Kind::Section) {
            if (inSection) {
                return false;
            }
            inSection = sameName(meaning.name, wantedSection);
            sectionFound = inSection;
            lastFilled = line;
            return true;
        }
        if (!inSection) {
            return true;
        }
        if (meaning.kind == LineMeaning::Kind::Key && sameName(meaning.name, wantedKey)) {
            // Keep the line's indentation, key spelling and spacing; only the value changes.
            const qsizetype keep = meaning.value.isEmpty() ? meaning.afterEquals
                                                           : meaning.value.data() - content.data();
            replaced = content.first(keep) + value + content.sliced(line.end);
            return false;
        }
        if (!isBlankLine(content, line)) {
            lastFilled = line;
        }
        return true;
    });
    if (replaced) {
        return replaced;
    }
    if (sectionFound) {
        const bool hasLineEnd = lastFilled.next > lastFilled.end;
        return content.first(lastFilled.next) + (hasLineEnd ? QByteArray() : "\r\n") + newLine +
               content.sliced(lastFilled.next);
    }
    QByteArray result = content;
    if (!result.isEmpty() && !result.endsWith('\n')) {
        result += "\r\n";
    }
    // A blank line between sections, unless the file already ends with one.
    bool endsBlank = result.isEmpty();
    forEachLine(result, [&](const Line& line) {
        endsBlank = isBlankLine(result, line);
        return true;
    });
    if (!endsBlank) {
        result += "\r\n";
    }
    return result + '[' + wantedSection.toByteArray() + "]\r\n" + newLine;
}

QByteArray PrivateProfile::readString(const QString& path, const QByteArray& section,
                                      const QByteArray& key, const QByteArray& defaultValue) {
    const std::optional<QByteArray> content = readBounded(path);
    return valueIn(content.value_or(QByteArray()), section, key, defaultValue);
}

bool PrivateProfile::writeString(const QString& path, const QByteArray& section,
                                 const QByteArray& key, const QByteArray& value) {
    QByteArray content;
    if (QFileInfo::exists(path)) {
        // A file we cannot read whole is never overwritten: its other lines would be lost.
        std::optional<QByteArray> old = readBounded(path);
        if (!old) {
            return false;
        }
        content = std::move(*old);
    }
    const std::optional<QByteArray> updated = withValue(content, section, key, value);
    if (!updated) {
        return false;
    }
    // No direct-write fallback: in a directory where no temporary file can be made, failing
    // is better than a half-written file.
    // Unbuffered, so that a short write (disk full, file size limit) shows in write()'s
    // count: Qt 6.4's commit() reports success after a failed flush of its buffer, and
    // would put a truncated file in place of the old one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return false;
    }
    if (file.write(*updated) != updated->size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString PrivateProfile::programDirectory() {
    const QString overridden = qEnvironmentVariable("SUMBROOK_PROGRAM_DIR");
    if (!overridden.isEmpty()) {
        return QDir(overridden).absolutePath();
    }
    if (QCoreApplication::instance() != nullptr) {
        return QCoreApplication::applicationDirPath();
    }
    // Without an application object Qt cannot say where the executable is; Linux can.
    const QString executable = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return executable.isEmpty() ? QDir::currentPath() : QFileInfo(executable).absolutePath();
}

QString PrivateProfile::configPath() {
    // The name is "\窗口配置文件.ini" after the directory on Windows. Qt takes '/' as the
    // separator on every platform, while on Linux '\' would become part of the file name.
    return ProgramFiles::fileIn(programDirectory(), QStringLiteral("窗口配置文件.ini"));
}

QString PrivateProfile::configPathInUse() {
    const QString beside = configPath();
    // A file beside the program that cannot be replaced is not kept: every choice written
    // over it would fail.
    const QString path = ProgramFiles::place(programDirectory(), QFileInfo(beside).fileName(),
                                             ProgramFiles::Kind::Configuration, false);
    if (path != beside && !QFileInfo::exists(path) && QFileInfo(beside).isFile()) {
        if (QFile::copy(beside, path)) {
            // The copy takes the installed file's read-only bits; it is the user's to change.
            QFile(path).setPermissions(QFile(path).permissions() | QFile::WriteOwner);
        }
    }
    return path;
}

}  // namespace sumbrook
