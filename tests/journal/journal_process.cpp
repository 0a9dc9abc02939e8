// The journal under test in a process of its own, for what one process cannot show:
//   journal_process write DIR          records numbered answers, one committed transaction
//                                      at a time, writing each one's number (4 bytes) to its
//                                      standard output after the commit, until it is killed;
//                                      numbers go on from those already recorded
//   journal_process record DIR TAG N   waits for one byte on its standard input (so that
//                                      several start at once), opens the journal, records
//                                      N answers shown as TAG-1 … TAG-N and exits 0 once
//                                      they are committed
//   journal_process hold DIR MODE S    holds the journal for S seconds the way another
//                                      program would (MODE exclusive: WAL under
//                                      locking_mode=EXCLUSIVE; write: a write transaction
//                                      left open), writing one byte once it holds it
//   journal_process full-disk          records answers on a small disk of its own (a tmpfs
//                                      in a mount namespace) filled up and then freed;
//                                      exits 0 when every row is in and the trouble and its
//                                      end were each said once, 77 (saying why) where this
//                                      machine cannot make such a disk
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <cstdint>
#include <cstdio>

#include "journal/practice_journal.h"

namespace {

using sumbrook::AnsweredQuestion;
using sumbrook::PracticeJournal;

constexpr int kCannotHere = 77;

AnsweredQuestion numbered(const QString& shown, std::uint32_t n, const QDateTime& at) {
    AnsweredQuestion answer;
    answer.at = at;
    answer.childId = 1;
    answer.exercise = 1 + static_cast<int>(n % 37);
    answer.shown = shown;
    answer.expected = QStringLiteral("%1").arg(n % 20);
    answer.typed = answer.expected;
    answer.right = n % 3 != 0;
    answer.ms = n;
    return answer;
}

int writeForever(const QString& dir) {
    PracticeJournal journal(dir);
    if (!journal.open()) {
        return 1;
    }
    std::uint32_t next = static_cast<std::uint32_t>(journal.answers(1, {}).size()) + 1;
    const QDateTime start = QDateTime::currentDateTime();
    for (;; ++next) {
        const AnsweredQuestion answer = numbered(QString::number(next), next, start.addMSecs(next));
        if (next % 7 == 0) {
            journal.recordRunStart(1, answer.exercise, answer.at);
        }
        journal.recordAnswer(answer);
        journal.waitForWrites();
        if (write(STDOUT_FILENO, &next, sizeof next) != sizeof next) {
            return 1;
        }
    }
}

int recordTagged(const QString& dir, const QString& tag, int count) {
    char go = 0;
    if (read(STDIN_FILENO, &go, 1) != 1) {
        return 2;
    }
    PracticeJournal journal(dir);
    if (!journal.open()) {
        return 1;
    }
    const QDateTime start = QDateTime::currentDateTime();
    for (int i = 1; i <= count; ++i) {
        journal.recordAnswer(numbered(QStringLiteral("%1-%2").arg(tag).arg(i),
                                      static_cast<std::uint32_t>(i), start.addMSecs(i)));
    }
    journal.waitForWrites();
    return 0;
}

int hold(const QString& dir, const QString& mode, int seconds) {
    QSqlDatabase db =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
    db.setDatabaseName(QDir(dir).filePath(QString::fromLatin1(PracticeJournal::kFileName)));
    if (!db.open()) {
        return 1;
    }
    QSqlQuery q(db);
    const bool exclusive = mode == QStringLiteral("exclusive");
    const bool held = (!exclusive || (q.exec(QStringLiteral("PRAGMA journal_mode = WAL")) &&
                                      q.exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE")))) &&
                      q.exec(QStringLiteral("BEGIN IMMEDIATE")) &&
                      q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS held_by_another (x)")) &&
                      q.exec(QStringLiteral("INSERT INTO held_by_another VALUES (1)")) &&
                      (!exclusive || q.exec(QStringLiteral("COMMIT")));
    if (!held) {
        std::fprintf(stderr, "cannot hold the journal: %s\n", qPrintable(q.lastError().text()));
        return 1;
    }
    const char one = 1;
    if (write(STDOUT_FILENO, &one, 1) != 1) {
        return 1;
    }
    QThread::sleep(static_cast<unsigned long>(seconds));
    return 0;
}

// A private mount namespace with a small tmpfs at `dir`, as root or in a user namespace of
// its own; false where the machine allows neither.
bool mountSmallDisk(const QByteArray& dir, QString& why) {
    if (unshare(CLONE_NEWNS) != 0) {
        const uid_t uid = getuid();
        const gid_t gid = getgid();
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
            why = QStringLiteral("no mount namespace can be made here: %1").arg(qt_error_string());
            return false;
        }
        const auto put = [](const char* file, const QByteArray& text) {
            QFile f(QString::fromLatin1(file));
            return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
        };
        put("/proc/self/setgroups", "deny");
        if (!put("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1") ||
            !put("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1")) {
            why = QStringLiteral("the user namespace's ids cannot be mapped");
            return false;
        }
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", dir.constData(), "tmpfs", 0, "size=1m") != 0) {
        why = QStringLiteral("a tmpfs cannot be mounted here: %1").arg(qt_error_string());
        return false;
    }
    return true;
}

QStringList said;
void collect(QtMsgType, const QMessageLogContext&, const QString& message) {
    said << message;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

int fullDisk(const QString& dir) {
    qInstallMessageHandler(collect);
    int written = 0;
    {
        PracticeJournal journal(dir);
        if (!journal.open()) {
            std::printf("the journal does not open on the small disk\n");
            return 1;
        }
        const QDateTime start = QDateTime::currentDateTime();
        const auto record = [&](int n) {
            journal.recordAnswer(
                numbered(QString::number(n), static_cast<std::uint32_t>(n), start.addMSecs(n)));
        };
        for (; written < 5; ++written) {
            record(written + 1);
        }
        journal.waitForWrites();
        // Fill the disk to the last byte.
        QFile filler(dir + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            return 1;
        }
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        while (filler.write(block.left(1)) == 1) {
        }
        filler.close();
        for (; written < 25; ++written) {
            record(written + 1);
            QThread::msleep(20);
        }
        // A run's last rows, held and written like the answers.
        journal.recordCompletion(1, 3, 95000, start.addSecs(59));
        journal.recordRunEnd(1, 3, start.addSecs(60));
        QThread::msleep(500);
        if (journal.answers(1, {}).size() != 5) {
            std::printf("rows went in on a full disk\n");
            return 1;
        }
        QFile::remove(dir + QStringLiteral("/filler"));
        journal.waitForWrites();
        const qsizetype rows = journal.answers(1, {}).size();
        if (rows != written) {
            std::printf("%lld rows of %d written once the disk was freed\n",
                        static_cast<long long>(rows), written);
            return 1;
        }
        if (journal.exerciseTallies(1, {})[2].bestMs != 95000) {
            std::printf("the run's completion is missing once the disk was freed\n");
            return 1;
        }
    }
    const QStringList full = said.filter(QStringLiteral("disk is full"));
    const QStringList back = said.filter(QStringLiteral("again"));
    if (full.size() != 1 || back.size() != 1) {
        std::printf(
            "said %lld times that the disk is full and %lld times that it is written "
            "again\n",
            static_cast<long long>(full.size()), static_cast<long long>(back.size()));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QStringLiteral("full-disk")) {
        // The namespace before anything else: a user namespace needs a process of one thread.
        char folder[] = "/tmp/journal-full-disk-XXXXXX";
        QString why;
        if (!mkdtemp(folder)) {
            return 1;
        }
        if (!mountSmallDisk(folder, why)) {
            rmdir(folder);
            std::printf("%s\n", qPrintable(why));
            return kCannotHere;
        }
        int status = 0;
        {
            QCoreApplication app(argc, argv);
            status = fullDisk(QString::fromLocal8Bit(folder));
        }
        umount(folder);
        rmdir(folder);
        return status;
    }
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (mode == QStringLiteral("write") && args.size() == 3) {
        return writeForever(args[2]);
    }
    if (mode == QStringLiteral("record") && args.size() == 5) {
        return recordTagged(args[2], args[3], args[4].toInt());
    }
    if (mode == QStringLiteral("hold") && args.size() == 5) {
        return hold(args[2], args[3], args[4].toInt());
    }
    std::fprintf(stderr, "usage: see the top of journal_process.cpp\n");
    return 2;
}
