// The journal shared with other programs: two openers at once, another program holding
// the file, a full disk, a journal of a later version.
#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QVariant>
#include <memory>

#include "journal/journal_schema.h"
#include "journal/journal_writer.h"
#include "journal/practice_journal.h"
#include "support/qstring_printer.h"
#include "support/said_messages.h"

namespace sumbrook {
namespace {

QStringList& said = testing::SaidMessages::lines();
using Listening = testing::SaidMessages;

std::unique_ptr<QProcess> startProcess(const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QStringLiteral(JOURNAL_PROCESS), arguments);
    EXPECT_TRUE(process->waitForStarted()) << arguments.join(u' ').toStdString();
    return process;
}

void finish(QProcess& process, int status = 0) {
    ASSERT_TRUE(process.waitForFinished(60000)) << process.arguments().join(u' ').toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit)
        << process.arguments().join(u' ').toStdString();
    EXPECT_EQ(process.exitCode(), status) << process.arguments().join(u' ').toStdString();
}

// Runs `body` over a raw connection to the journal in `dir`.
template <typename Body>
void withConnection(const QString& dir, Body body) {
    const QString name = QStringLiteral("raw-%1").arg(QDateTime::currentMSecsSinceEpoch());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(dir + QStringLiteral("/journal.sqlite"));
        ASSERT_TRUE(db.open());
        body(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

int count(QSqlDatabase& db, const QString& sql) {
    QSqlQuery q(db);
    EXPECT_TRUE(q.exec(sql) && q.next()) << sql.toStdString() << q.lastError().text().toStdString();
    return q.value(0).toInt();
}

QStringList setAside(const QString& dir) {
    return QDir(dir).entryList({QStringLiteral("*.damaged*")}, QDir::Files);
}

// Each tag's rows in the order they went in.
QMap<QString, QStringList> shownByTag(PracticeJournal& journal) {
    QMap<QString, QStringList> out;
    for (const AnsweredQuestion& a : journal.answers(1, {})) {
        out[a.shown.section(u'-', 0, 0)].append(a.shown);
    }
    return out;
}

QStringList tagged(const QString& tag, int n) {
    QStringList out;
    for (int i = 1; i <= n; ++i) {
        out << QStringLiteral("%1-%2").arg(tag).arg(i);
    }
    return out;
}

AnsweredQuestion numbered(const QString& shown) {
    return {
        QDateTime(QDate(2026, 12, 7), QTime(17, 0)), 1, 3, shown, "5", "5", true, 2000, {}, false};
}

// Two programs opening the journal at the same moment, on a new journal and on one a
// step behind: both record, nothing is set aside, the steps are taken once.
TEST(JournalSharing, TwoOpenersAtOnceLoseNothing) {
    constexpr int kRounds = 20;
    constexpr int kEach = 10;
    for (const bool older : {false, true}) {
        for (int round = 0; round < kRounds; ++round) {
            SCOPED_TRACE((older ? "older journal, round " : "new journal, round ") +
                         std::to_string(round));
            QTemporaryDir dir;
            if (older) {
                withConnection(dir.path(), [](QSqlDatabase& db) {
                    QSqlError error;
                    ASSERT_EQ(JournalSchema::migrate(db, error, 1),
                              JournalSchema::Migration::Ready);
                    QSqlQuery q(db);
                    ASSERT_TRUE(q.exec(
                        "INSERT INTO answers (child, at_ms, day, exercise, shown, expected, typed,"
                        " right, ms) VALUES (1, 1000, '1970-01-01', 4, 'old-1', '2', '2', 1, 9)"));
                });
            }
            auto a = startProcess({"record", dir.path(), "a", QString::number(kEach)});
            auto b = startProcess({"record", dir.path(), "b", QString::number(kEach)});
            a->write("x", 1);
            b->write("x", 1);
            finish(*a);
            finish(*b);

            PracticeJournal journal(dir.path());
            ASSERT_TRUE(journal.open());
            const QMap<QString, QStringList> rows = shownByTag(journal);
            EXPECT_EQ(rows.value("a"), tagged("a", kEach));
            EXPECT_EQ(rows.value("b"), tagged("b", kEach));
            EXPECT_EQ(rows.value("old"), older ? QStringList{"old-1"} : QStringList{});
            EXPECT_EQ(journal.children().size(), 1);
            EXPECT_TRUE(setAside(dir.path()).isEmpty());
        }
    }
}

// Another program holding the journal (a backup, sqlite3 under an exclusive lock, an
// export bringing it up to date) is waited for; nothing is set aside and every row ends
// up in the one journal. A lock in exclusive mode can only be taken while no program has
// the journal open (each open WAL connection keeps its share of it), so it meets the
// journal at opening; a write transaction can be held while the child is answering.
struct HoldCase {
    const char* label;
    const char* mode;    // how the other program holds it
    int seconds;         // for how long
    bool beforeOpening;  // held already when the journal is opened
};

class JournalHeldByAnother : public ::testing::TestWithParam<HoldCase> {};

TEST_P(JournalHeldByAnother, IsWaitedForAndEveryRowLandsInIt) {
    const HoldCase& c = GetParam();
    QTemporaryDir dir;
    {
        PracticeJournal first(dir.path());
        ASSERT_TRUE(first.open());
        first.recordAnswer(numbered("before"));
    }
    auto holder = std::make_unique<QProcess>();
    const auto hold = [&] {
        holder = startProcess({"hold", dir.path(), c.mode, QString::number(c.seconds)});
        ASSERT_TRUE(holder->waitForReadyRead(10000));
    };
    const Listening listening;
    if (c.beforeOpening) {
        hold();
    }
    QElapsedTimer opening;
    opening.start();
    PracticeJournal journal(dir.path());
    ASSERT_TRUE(journal.open());
    if (c.beforeOpening) {
        EXPECT_GE(opening.elapsed(), 1000) << "the journal opened while held";
    } else {
        hold();
    }
    constexpr int kWhileHeld = 7;
    for (int i = 1; i <= kWhileHeld; ++i) {
        journal.recordAnswer(numbered(QStringLiteral("held-%1").arg(i)));
        QThread::msleep(static_cast<unsigned long>(c.seconds * 1000 / (2 * kWhileHeld)));
    }
    journal.waitForWrites();
    finish(*holder);

    const QMap<QString, QStringList> rows = shownByTag(journal);
    EXPECT_EQ(rows.value("before"), QStringList{"before"});
    EXPECT_EQ(rows.value("held"), tagged("held", kWhileHeld));
    EXPECT_TRUE(setAside(dir.path()).isEmpty()) << setAside(dir.path()).join(u' ').toStdString();
    EXPECT_TRUE(said.filter("damaged").isEmpty()) << said.join(u'\n').toStdString();
    if (!c.beforeOpening) {
        EXPECT_EQ(said.filter("cannot be written").size(), 1) << said.join(u'\n').toStdString();
        EXPECT_EQ(said.filter("again").size(), 1) << said.join(u'\n').toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Holds, JournalHeldByAnother,
    ::testing::Values(HoldCase{"WriteTransactionWhileRecording", "write", 5, false},
                      HoldCase{"ExclusiveLockWhenOpening", "exclusive", 5, true}),
    [](const ::testing::TestParamInfo<HoldCase>& row) { return std::string(row.param.label); });

// The disk fills up in the middle of practice and is freed again: every row goes in
// afterwards, and the trouble and its end are each said once. The disk is a small tmpfs
// in a mount namespace of the test's own.
TEST(JournalSharing, RowsHeldWhileTheDiskIsFullGoInOnceItIsFreed) {
    auto process = startProcess({"full-disk"});
    ASSERT_TRUE(process->waitForFinished(120000));
    const QString printed = QString::fromLocal8Bit(process->readAllStandardOutput()).trimmed();
    if (process->exitCode() == 77) {
        GTEST_SKIP() << "no small disk can be made on this machine: " << printed.toStdString();
    }
    EXPECT_EQ(process->exitCode(), 0) << printed.toStdString();
}

// A journal written by a newer version (a later step, a NOT NULL column this version
// does not fill) is read as it is and never written into; the practice goes to a side
// journal of this version beside it, which is said once.
TEST(JournalSharing, ANewerJournalIsReadAndItsPracticeKeptBesideIt) {
    QTemporaryDir dir;
    {
        PracticeJournal before(dir.path());
        ASSERT_TRUE(before.open());
        for (const char* shown : {"one", "two", "three"}) {
            before.recordAnswer(numbered(QString::fromLatin1(shown)));
        }
    }
    const QByteArray columns =
        "child, at_ms, day, exercise, shown, expected, typed, right, ms, review, kind, numbers,"
        " signs, blank, hour, minute, picture, money, unit, fact";
    withConnection(dir.path(), [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        for (const QString& sql :
             {QStringLiteral("ALTER TABLE answers RENAME TO answers_before"),
              QStringLiteral("CREATE TABLE answers (id INTEGER PRIMARY KEY, child INTEGER NOT "
                             "NULL, at_ms INTEGER NOT NULL, day TEXT NOT NULL, exercise INTEGER "
                             "NOT NULL, shown TEXT NOT NULL, expected TEXT NOT NULL, typed TEXT "
                             "NOT NULL, right INTEGER NOT NULL, ms INTEGER NOT NULL, review "
                             "INTEGER NOT NULL DEFAULT 0, kind TEXT, numbers TEXT, signs TEXT, "
                             "blank INTEGER, hour INTEGER, minute INTEGER, picture INTEGER, "
                             "money INTEGER, unit TEXT, fact TEXT, mood TEXT NOT NULL)"),
              QStringLiteral("INSERT INTO answers (%1, mood) SELECT %1, 'calm' FROM "
                             "answers_before")
                  .arg(QString::fromLatin1(columns)),
              QStringLiteral("DROP TABLE answers_before"),
              QStringLiteral("PRAGMA user_version = 99")}) {
            ASSERT_TRUE(q.exec(sql)) << sql.toStdString() << q.lastError().text().toStdString();
        }
    });
    const QString side = JournalWriter::sideJournalPath(dir.path() + "/journal.sqlite");
    for (int start = 1; start <= 2; ++start) {
        const Listening listening;
        PracticeJournal journal(dir.path());
        ASSERT_TRUE(journal.open());
        EXPECT_EQ(journal.answers(1, {}).size(), 3);  // the newer journal's rows, read
        journal.recordAnswer(numbered(QStringLiteral("new-%1").arg(start)));
        journal.recordRunStart(1, 3, QDateTime::currentDateTime());
        journal.waitForWrites();
        EXPECT_EQ(said.filter("newer version").size(), 1) << said.join(u'\n').toStdString();
        EXPECT_EQ(journal.addChild(QStringLiteral("二宝")), 0);
    }
    withConnection(dir.path(), [](QSqlDatabase& db) {
        EXPECT_EQ(count(db, "PRAGMA user_version"), 99);
        EXPECT_EQ(count(db, "SELECT COUNT(*) FROM answers"), 3);
        EXPECT_EQ(count(db, "SELECT COUNT(*) FROM runs"), 0);
        EXPECT_EQ(count(db, "SELECT COUNT(*) FROM children"), 1);
    });
    ASSERT_TRUE(QFileInfo::exists(side)) << side.toStdString();
    {
        const QString name = QStringLiteral("side");
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(side);
        ASSERT_TRUE(db.open());
        EXPECT_EQ(count(db, "PRAGMA user_version"), JournalSchema::latestVersion());
        EXPECT_EQ(count(db, "SELECT COUNT(*) FROM answers WHERE shown LIKE 'new-%'"), 2);
        EXPECT_EQ(count(db, "SELECT COUNT(*) FROM runs"), 2);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("side"));
    EXPECT_TRUE(setAside(dir.path()).isEmpty());
}

}  // namespace
}  // namespace sumbrook
