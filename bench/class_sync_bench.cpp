// A lesson on a throwaway class server: N class computers (processes of their own, each
// its own journal) answer every T ms for S seconds. It reports the sync lag, from an
// answer recorded to its row on the server (median and worst, seen by polling the
// server every 5 ms), and each computer's local write (record → committed) with the sync
// running against the same lesson without it.
//   bench_class_sync [COMPUTERS=10] [PERIOD_MS=1000] [SECONDS=20]
#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "classroom/class_connection.h"
#include "classroom/class_setup.h"
#include "support/pg_test_server.h"

namespace {

using namespace sumbrook;

struct Writes {
    std::vector<long long> medians;
    long long worst = 0;
};

// Runs the lesson on N computers; with `sync`, polls the server for each row's arrival.
Writes lesson(const QString& pupils, int computers, int periodMs, int seconds, bool sync,
              std::vector<qint64>* lags, const QString& teacher) {
    std::vector<std::unique_ptr<QTemporaryDir>> folders;
    std::vector<std::unique_ptr<QProcess>> running;
    for (int i = 1; i <= computers; ++i) {
        folders.push_back(std::make_unique<QTemporaryDir>());
        running.push_back(std::make_unique<QProcess>());
        running.back()->start(
            QStringLiteral(CLASS_SYNC_PROCESS),
            {QStringLiteral("lesson"), folders.back()->path(), pupils, QString::number(i),
             QString::number(periodMs), QString::number(seconds), sync ? "1" : "0"});
    }
    if (sync) {
        ClassConnection server(*ConnectionString::parse(teacher, nullptr));
        if (!server.open()) {
            std::fprintf(stderr, "%s\n", qPrintable(server.error()));
            return {};
        }
        QHash<QString, qint64> seen;
        QSqlQuery poll(server.database());
        const auto allDone = [&] {
            return std::all_of(running.begin(), running.end(),
                               [](const auto& p) { return p->state() == QProcess::NotRunning; });
        };
        qint64 since = QDateTime::currentMSecsSinceEpoch() - 1000;
        for (bool last = false; !last;) {
            last = allDone();
            if (!poll.exec(QStringLiteral("SELECT guid::text, at_ms FROM answers WHERE at_ms >= %1")
                               .arg(since))) {
                std::fprintf(stderr, "%s\n", qPrintable(poll.lastError().text()));
                break;
            }
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            while (poll.next()) {
                const QString guid = poll.value(0).toString();
                if (!seen.contains(guid)) {
                    seen.insert(guid, now);
                    lags->push_back(now - poll.value(1).toLongLong());
                }
            }
            // Rows more than a minute late would not be seen: none are, or lags show it.
            since = std::max(since, now - 60000);
            for (auto& p : running) {
                p->waitForFinished(0);
            }
            QThread::msleep(5);
        }
    }
    Writes writes;
    for (auto& p : running) {
        p->waitForFinished(-1);
        const QList<QByteArray> words = p->readAllStandardOutput().split('\n').value(0).split(' ');
        if (words.size() == 3 && words[0] == "write_us") {
            writes.medians.push_back(words[1].toLongLong());
            writes.worst = std::max(writes.worst, words[2].toLongLong());
        } else {
            std::fprintf(stderr, "a computer said: %s\n", p->readAllStandardError().constData());
        }
    }
    return writes;
}

long long median(std::vector<long long> v) {
    if (v.empty()) {
        return 0;
    }
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int computers = args.size() > 1 ? args[1].toInt() : 10;
    const int periodMs = args.size() > 2 ? args[2].toInt() : 1000;
    const int seconds = args.size() > 3 ? args[3].toInt() : 20;

    sumbrook::testing::PgTestServer pg;
    if (!pg.start()) {
        std::fprintf(stderr, "no PostgreSQL server: %s\n", qPrintable(pg.reason()));
        return 1;
    }
    const QString admin = pg.createDatabase(QStringLiteral("lesson"));
    ClassConnection connection(*ConnectionString::parse(admin, nullptr));
    std::optional<ClassSetup::Logins> logins;
    if (connection.open()) {
        ClassSetup setup(connection);
        logins = setup.run();
        QSqlQuery add(connection.database());
        for (int i = 1; logins && i <= computers; ++i) {
            add.exec(
                QStringLiteral("INSERT INTO pupils (number, name) VALUES ('%1', '学生%1')").arg(i));
        }
    }
    if (!logins) {
        std::fprintf(stderr, "the class could not be set up\n");
        pg.stop();
        return 1;
    }
    std::printf("%d computers answering every %d ms for %d s\n", computers, periodMs, seconds);
    const Writes alone = lesson(logins->pupils, computers, periodMs, seconds, false, nullptr, {});
    std::vector<qint64> lags;
    const Writes synced =
        lesson(logins->pupils, computers, periodMs, seconds, true, &lags, logins->teacher);
    std::sort(lags.begin(), lags.end());
    std::printf(
        "local write (record → committed), µs: median %lld, worst %lld without the sync;"
        " median %lld, worst %lld with it\n",
        median(alone.medians), alone.worst, median(synced.medians), synced.worst);
    if (!lags.empty()) {
        std::printf(
            "sync lag (recorded → on the server), ms: median %lld, worst %lld, over %zu rows\n",
            static_cast<long long>(lags[lags.size() / 2]), static_cast<long long>(lags.back()),
            lags.size());
    }
    pg.stop();
    return 0;
}
