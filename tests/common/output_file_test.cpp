#include "common/output_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <thread>

namespace sumbrook {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

mode_t kindOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

// Holds the file-size limit low while it lives: a disk that fills up part way (the tests run
// as root, so permissions cannot refuse a write).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

TEST(OutputFile, EachKindOfTargetIsWrittenByItsOwnRule) {
    QTemporaryDir dir;
    const QByteArray bytes(20000, 'x');
    const QString file = dir.filePath("sheet.csv");
    const QString oldLink = dir.filePath("old");
    std::thread reader;
    QByteArray readFromPipe;
    int descriptor = -1;
    constexpr rlim_t kNoLimit = RLIM_INFINITY;
    struct Row {
        const char* what;
        std::function<QString()> target;
        rlim_t sizeLimit;
        bool written;
        mode_t kindAfter;
        std::function<void()> check;
    };
    const Row rows[] = {
        {"a new file", [&] { return file; }, kNoLimit, true, S_IFREG,
         [&] { EXPECT_EQ(readAll(file), bytes); }},
        {"a file is replaced whole, never written over",
         [&] {
             QFile old(file);
             EXPECT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
             EXPECT_EQ(::link(qPrintable(file), qPrintable(oldLink)), 0);
             return file;
         },
         kNoLimit, true, S_IFREG,
         [&] {
             EXPECT_EQ(readAll(file), bytes);
             EXPECT_EQ(readAll(oldLink), "old");
         }},
        {"a write cut short leaves the old file", [&] { return file; }, 4096, false, S_IFREG,
         [&] { EXPECT_EQ(readAll(file), bytes); }},
        {"a folder is refused", [&] { return dir.path(); }, kNoLimit, false, S_IFDIR, [] {}},
        {"/dev/null", [] { return QStringLiteral("/dev/null"); }, kNoLimit, true, S_IFCHR, [] {}},
        {"/dev/full", [] { return QStringLiteral("/dev/full"); }, kNoLimit, false, S_IFCHR, [] {}},
        {"a pipe is written in place",
         [&] {
             const QString fifo = dir.filePath("pipe");
             EXPECT_EQ(::mkfifo(qPrintable(fifo), 0600), 0);
             reader = std::thread([fifo, &readFromPipe] { readFromPipe = readAll(fifo); });
             return fifo;
         },
         kNoLimit, true, S_IFIFO,
         [&] {
             reader.join();
             EXPECT_EQ(readFromPipe, bytes);
         }},
        {"the program's own descriptor is written through, appending as it was opened",
         [&] {
             descriptor =
                 ::open(qPrintable(dir.filePath("log")), O_WRONLY | O_CREAT | O_APPEND, 0600);
             EXPECT_EQ(::write(descriptor, "old\n", 4), 4);
             return QStringLiteral("/dev/fd/%1").arg(descriptor);
         },
         kNoLimit, true, S_IFREG,
         [&] {
             ::close(descriptor);
             EXPECT_EQ(readAll(dir.filePath("log")), "old\n" + bytes);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString target = row.target();
        if (target.startsWith("/dev/") && kindOf(target) == 0) {
            continue;  // a machine without that device
        }
        OutputFile out(target);
        bool done = false;
        {
            const FileSizeLimit limit(row.sizeLimit);
            done = out.open() && out.write(bytes) == bytes.size() && out.commit();
        }
        EXPECT_EQ(done, row.written) << out.reason().toStdString();
        if (!row.written) {
            EXPECT_TRUE(out.reason().startsWith(QStringLiteral("cannot write '%1': ").arg(target)))
                << out.reason().toStdString();
        }
        EXPECT_EQ(kindOf(target), row.kindAfter);
        row.check();
        EXPECT_EQ(QDir(dir.path()).entryList({"sheet.csv.*"}, QDir::Files | QDir::Hidden),
                  QStringList())
            << "no temporary is left behind";
    }
}

}  // namespace
}  // namespace sumbrook
