#include "common/output_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

namespace sumbrook {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A file-size limit for its scope: a disk that fills up part way (the tests run as root, so
// permissions cannot refuse a write).
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) : handler(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit small{bytes, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, handler);
    }
    rlimit saved{};
    void (*handler)(int);
};

// Devices, pipes and folders are checked through the commands that write them.
TEST(OutputFile, AFileIsReplacedWholeOrNotAtAllAndAnOwnDescriptorKeepsAppending) {
    QTemporaryDir dir;
    const QByteArray bytes(20000, 'x');
    const QString file = dir.filePath("sheet.csv");
    const QString log = dir.filePath("log");
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    ASSERT_EQ(::link(qPrintable(file), qPrintable(dir.filePath("old"))), 0);
    const int descriptor = ::open(qPrintable(log), O_WRONLY | O_CREAT | O_APPEND, 0600);
    ASSERT_EQ(::write(descriptor, "old\n", 4), 4);
    const struct {
        QString target;
        rlim_t sizeLimit;
        bool written;
        QString readBack;
        QByteArray holds;
    } rows[] = {
        {file, RLIM_INFINITY, true, dir.filePath("old"), "old"},  // replaced, not written over
        {file, 4096, false, file, bytes},  // a write cut short leaves the last whole file
        {QStringLiteral("/dev/fd/%1").arg(descriptor), RLIM_INFINITY, true, log, "old\n" + bytes},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.target.toStdString());
        OutputFile out(row.target);
        bool done = false;
        {
            const FileSizeLimit limit(row.sizeLimit);
            done = out.open() && out.write(bytes) == bytes.size() && out.commit();
        }
        EXPECT_EQ(done, row.written) << out.reason().toStdString();
        EXPECT_EQ(out.reason().startsWith("cannot write '" + row.target + "': "), !row.written);
        EXPECT_EQ(readAll(row.readBack), row.holds);
    }
    ::close(descriptor);
    EXPECT_EQ(QDir(dir.path()).entryList({"sheet.csv.*"}, QDir::Files | QDir::Hidden),
              QStringList())
        << "no temporary is left behind";
}

}  // namespace
}  // namespace sumbrook
