#include "shell/help_document.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <cstddef>

#include "common/embedded_bytes.h"
#include "themes/program_files.h"

namespace sumbrook::embedded {
extern const unsigned char kHelpDocument[];
extern const std::size_t kHelpDocumentSize;
}  // namespace sumbrook::embedded

namespace sumbrook {

QByteArray HelpDocument::bytes() {
    return embeddedBytes(embedded::kHelpDocument, embedded::kHelpDocumentSize);
}

QString HelpDocument::path(const QString& programDirectory) {
    return ProgramFiles::fileIn(programDirectory, QStringLiteral("软件说明.txt"));
}

QString HelpDocument::pathInUse(const QString& programDirectory) {
    return ProgramFiles::place(programDirectory, QFileInfo(path(programDirectory)).fileName(),
                               ProgramFiles::Kind::Data, true);
}

QString HelpDocument::text(const QByteArray& bytes) {
    QStringDecoder decoder("GBK");
    QString decoded = decoder.decode(bytes);
    decoded.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return decoded;
}

bool HelpDocument::writeIfAbsent(const QString& path) {
    const QFileInfo existing(path);
    if (existing.exists() || existing.isSymLink()) {
        return existing.isFile();
    }
    // Written beside the target and renamed into place: a full disk or a crash can never
    // leave a cut-short document, which, never being rewritten, would stay cut short.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray content = bytes();
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

}  // namespace sumbrook
