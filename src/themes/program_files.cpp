#include "themes/program_files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace sumbrook {

QString ProgramFiles::fileIn(const QString& directory, const QString& name) {
    QString prefix = directory;
    if (prefix.endsWith(u'/')) {
        prefix.chop(1);  // the root directory: "/" + name, not "//" + name
    }
    return prefix + u'/' + name;
}

QString ProgramFiles::perUserDirectory(Kind kind) {
    const bool configuration = kind == Kind::Configuration;
    QString base = qEnvironmentVariable(configuration ? "XDG_CONFIG_HOME" : "XDG_DATA_HOME");
    // A relative value is invalid by the XDG rules and is ignored like an unset one.
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() +
               (configuration ? QStringLiteral("/.config") : QStringLiteral("/.local/share"));
    }
    return fileIn(base, QStringLiteral("sumbrook"));
}

bool ProgramFiles::acceptsNewFiles(const QString& directory) {
    if (!QFileInfo(directory).isDir()) {
        return false;
    }
    QTemporaryFile probe(fileIn(directory, QStringLiteral(".sumbrook-probe-XXXXXX")));
    return probe.open();
}

QString ProgramFiles::place(const QString& programDirectory, const QString& name, Kind kind,
                            bool keepExisting) {
    const QString beside = fileIn(programDirectory, name);
    if ((keepExisting && QFileInfo(beside).isFile()) || acceptsNewFiles(programDirectory)) {
        return beside;
    }
    const QString directory = perUserDirectory(kind);
    // A failure shows where the file is written; the caller says it then.
    QDir().mkpath(directory);
    return fileIn(directory, name);
}

}  // namespace sumbrook
