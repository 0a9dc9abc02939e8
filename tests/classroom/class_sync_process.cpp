// A class computer in a process of its own, which the tests and the benchmark start, stop
// and kill. CONN is the pupils' connection string; the sync retries quickly.
//   class_sync_process record DIR CONN PUPILS N PACE_MS
//       records N answers (every tenth with a run started and completed) shown as
//       "P-1" … "P-N", taking the pupils of the comma-separated list PUPILS in turn ("-":
//       the family's first child, no pupil), PACE_MS apart, printing how many are recorded
//       every 100 and "recorded" at the end; exits 0 once all are sent or set aside
//   class_sync_process sync DIR CONN
//       sends what the journal holds; exits 0 once it is all sent or set aside
//   class_sync_process lesson DIR CONN PUPIL PERIOD_MS SECONDS SYNC
//       answers every PERIOD_MS for SECONDS (SYNC 0: with no sync running), then prints the
//       local writes' times "write_us MEDIAN WORST"; exits 0 once all is sent
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "classroom/class_sync.h"
#include "journal/practice_journal.h"

namespace {

using namespace sumbrook;
using namespace std::chrono_literals;

ClassSync::Options quickly() {
    ClassSync::Options options;
    options.firstRetry = 50ms;
    options.lastRetry = 400ms;
    options.connectTimeout = 2s;
    options.statementTimeout = 3000ms;
    options.computer = QStringLiteral("seat-%1").arg(QCoreApplication::applicationPid());
    return options;
}

AnsweredQuestion answer(int child, const QString& shown, int n) {
    AnsweredQuestion a;
    a.at = QDateTime::currentDateTime();
    a.childId = child;
    a.exercise = 1 + n % 37;
    a.shown = shown;
    a.expected = QString::number(n % 20);
    a.typed = n % 3 == 0 ? QStringLiteral("0") : a.expected;
    a.right = a.typed == a.expected;
    a.ms = 1000 + n % 5000;
    return a;
}

int childOf(PracticeJournal& journal, const QString& pupil) {
    return pupil == QStringLiteral("-")
               ? PracticeJournal::kFirstChildId
               : journal.childForPupil(pupil, QStringLiteral("学生%1").arg(pupil));
}

int finish(ClassSync& sync) {
    const bool sent = sync.waitUntilSent(120s);
    const ClassSync::Counts counts = sync.counts();
    std::printf("sent %llu set-aside %llu\n", static_cast<unsigned long long>(counts.sent),
                static_cast<unsigned long long>(counts.setAside));
    std::fflush(stdout);
    return sent ? 0 : 1;
}

int record(const QString& dir, const ConnectionString& server, const QStringList& pupils, int n,
           int paceMs) {
    PracticeJournal journal(dir);
    if (!journal.open()) {
        return 1;
    }
    std::vector<int> children;
    for (const QString& pupil : pupils) {
        children.push_back(childOf(journal, pupil));
        if (children.back() == 0) {
            return 1;
        }
    }
    ClassSync sync(journal.filePath(), server, quickly());
    journal.setOnWritten([&sync] { sync.wake(); });
    for (int i = 1; i <= n; ++i) {
        const std::size_t who = static_cast<std::size_t>(i) % children.size();
        const AnsweredQuestion a =
            answer(children[who], QStringLiteral("%1-%2").arg(pupils[who]).arg(i), i);
        if (i % 10 == 0) {
            journal.recordRunStart(a.childId, a.exercise, a.at);
            journal.recordCompletion(a.childId, a.exercise, 60000 + i, a.at);
        }
        journal.recordAnswer(a);
        if (i % 100 == 0) {
            std::printf("%d\n", i);
            std::fflush(stdout);
        }
        if (paceMs > 0) {
            QThread::msleep(static_cast<unsigned long>(paceMs));
        }
    }
    journal.waitForWrites();
    std::printf("recorded\n");
    std::fflush(stdout);
    return finish(sync);
}

int syncOnly(const QString& dir, const ConnectionString& server) {
    ClassSync sync(QDir(dir).filePath(QLatin1String(PracticeJournal::kFileName)), server,
                   quickly());
    return finish(sync);
}

int lesson(const QString& dir, const ConnectionString& server, const QString& pupil, int periodMs,
           int seconds, bool withSync) {
    PracticeJournal journal(dir);
    if (!journal.open()) {
        return 1;
    }
    const int child = childOf(journal, pupil);
    std::unique_ptr<ClassSync> sync;
    if (withSync) {
        ClassSync::Options options;  // as the program runs it
        options.computer = QStringLiteral("seat-%1").arg(pupil);
        sync = std::make_unique<ClassSync>(journal.filePath(), server, options);
        journal.setOnWritten([&sync] { sync->wake(); });
    }
    std::vector<qint64> writes;
    QElapsedTimer lessonTime;
    lessonTime.start();
    for (int i = 1; lessonTime.elapsed() < seconds * 1000LL; ++i) {
        QElapsedTimer write;
        write.start();
        journal.recordAnswer(answer(child, QStringLiteral("%1-%2").arg(pupil).arg(i), i));
        journal.waitForWrites();
        writes.push_back(write.nsecsElapsed() / 1000);
        QThread::msleep(static_cast<unsigned long>(periodMs));
    }
    std::sort(writes.begin(), writes.end());
    std::printf("write_us %lld %lld\n", static_cast<long long>(writes[writes.size() / 2]),
                static_cast<long long>(writes.back()));
    std::fflush(stdout);
    return sync ? finish(*sync) : 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1);
    QString error;
    const std::optional<ConnectionString> server = ConnectionString::parse(args.value(3), &error);
    if (!server) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    if (mode == QStringLiteral("record") && args.size() == 7) {
        return record(args[2], *server, args[4].split(u','), args[5].toInt(), args[6].toInt());
    }
    if (mode == QStringLiteral("sync") && args.size() == 4) {
        return syncOnly(args[2], *server);
    }
    if (mode == QStringLiteral("lesson") && args.size() == 8) {
        return lesson(args[2], *server, args[4], args[5].toInt(), args[6].toInt(),
                      args[7] != QStringLiteral("0"));
    }
    std::fprintf(stderr, "usage: see the top of class_sync_process.cpp\n");
    return 2;
}
