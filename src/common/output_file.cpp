#include "output_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace sumbrook {

namespace {

// The number of this process's own open descriptor that `path` leads to (/dev/stdout,
// /dev/fd/3, /proc/self/fd/3), or -1. Writing through the descriptor itself keeps the
// shell's redirection as it is: its offset, its appending, the file it names.
int ownDescriptor(const QString& path) {
    static const QRegularExpression descriptorFolder(
        QStringLiteral("^/proc/(\\d+)(?:/task/\\d+)?/fd$"));
    QString hop = QFileInfo(path).absoluteFilePath();
    for (int links = 0; links < 16 && !hop.isEmpty(); ++links) {
        const QFileInfo info(hop);
        const QRegularExpressionMatch match =
            descriptorFolder.match(QFileInfo(info.absolutePath()).canonicalFilePath());
        if (match.hasMatch()) {
            bool isNumber = false;
            const int fd = info.fileName().toInt(&isNumber);
            const bool ours = match.captured(1).toLongLong() == QCoreApplication::applicationPid();
            return ours && isNumber && fd >= 0 ? fd : -1;
        }
        if (!info.isSymLink()) {
            return -1;
        }
        hop = info.symLinkTarget();
    }
    return -1;
}

}  // namespace

OutputFile::OutputFile(QString path) : path_(std::move(path)) {}

OutputFile::~OutputFile() {
    if (isOpen()) {
        cancel();
    }
}

bool OutputFile::fail(const QString& why) {
    failed_ = true;
    reason_ = QStringLiteral("cannot write '%1': %2").arg(path_, why);
    setErrorString(reason_);
    return false;
}

bool OutputFile::open(OpenMode mode) {
    if (isOpen() || (mode & ReadOnly) || !(mode & WriteOnly)) {
        return fail(QStringLiteral("it is open already or not opened for writing only"));
    }
    failed_ = false;
    written_ = 0;
    reason_.clear();
    // Unbuffered: a buffered file can take a write that the disk then refuses as done.
    const OpenMode fileMode = WriteOnly | Unbuffered;
    const QFileInfo target(path_);
    if (target.isDir()) {
        return fail(QStringLiteral("it is a folder"));
    }
    const int fd = target.exists() ? ownDescriptor(path_) : -1;
    inPlace_ = fd >= 0 || (target.exists() && !target.isFile());
    std::unique_ptr<QFileDevice> file;
    bool opened = false;
    if (fd >= 0) {
        auto own = std::make_unique<QFile>();
        opened = own->open(fd, fileMode, QFileDevice::DontCloseHandle);
        file = std::move(own);
    } else {
        if (inPlace_) {
            file = std::make_unique<QFile>(path_);
        } else {
            file = std::make_unique<QSaveFile>(path_);
        }
        opened = file->open(fileMode);
    }
    if (!opened) {
        return fail(file->errorString());
    }
    file_ = std::move(file);
    return QIODevice::open(mode | Unbuffered);
}

qint64 OutputFile::readData(char*, qint64) {
    return -1;
}

qint64 OutputFile::writeData(const char* data, qint64 size) {
    if (failed_ || !file_) {
        return -1;
    }
    const qint64 done = file_->write(data, size);
    if (done != size) {
        fail(done < 0 ? file_->errorString()
                      : QStringLiteral("only %1 of %2 bytes were written").arg(done).arg(size));
        return -1;
    }
    written_ += done;
    return done;
}

bool OutputFile::commit() {
    if (!isOpen() || !file_) {
        if (!failed_) {
            fail(QStringLiteral("it was never opened"));
        }
        return false;
    }
    if (failed_) {
        cancel();
        return false;
    }
    bool done = true;
    if (inPlace_) {
        file_->close();
        if (file_->error() != QFileDevice::NoError) {
            done = fail(file_->errorString());
        }
    } else {
        auto* save = static_cast<QSaveFile*>(file_.get());
        // What reached the file is what was handed over, or the old file stays.
        if (const qint64 size = save->size(); size != written_) {
            done = fail(QStringLiteral("%1 of %2 bytes reached the disk").arg(size).arg(written_));
            save->cancelWriting();
        } else if (!save->commit()) {
            done = fail(save->errorString());
        }
    }
    file_.reset();
    QIODevice::close();
    return done;
}

void OutputFile::cancel() {
    if (file_) {
        if (inPlace_) {
            file_->close();  // written in place: whatever reached it stays, nothing is removed
        } else {
            static_cast<QSaveFile*>(file_.get())->cancelWriting();
        }
        file_.reset();  // a save file that is not committed takes its temporary with it
    }
    if (isOpen()) {
        QIODevice::close();
    }
}

}  // namespace sumbrook
