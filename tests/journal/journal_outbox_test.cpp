// The journal as a class computer's outbox: every row under an id of its own, the
// children that are pupils, and the steps of progress the store takes on its own.
#include <gtest/gtest.h>

#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUuid>
#include <QVariant>
#include <memory>

#include "journal/journal_recorder.h"
#include "journal/journal_schema.h"
#include "journal/practice_journal.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

// Column values of a statement's rows, one text per row ("a|b").
QStringList rowsOf(const QString& path, const QString& statement) {
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "look");
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(statement)) << statement.toStdString();
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i) {
                values << query.value(i).toString();
            }
            rows << values.join(u'|');
        }
    }
    QSqlDatabase::removeDatabase("look");
    return rows;
}

TEST(JournalOutbox, EveryRowOldOrNewHasItsOwnIdAndWaitsToBeSent) {
    QTemporaryDir dir;
    const QString path = dir.filePath("journal.sqlite");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "version3");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlError error;
        ASSERT_EQ(JournalSchema::migrate(db, error, 3), JournalSchema::Migration::Ready);
        QSqlQuery insert(db);
        for (int i = 0; i < 50; ++i) {
            ASSERT_TRUE(insert.exec(
                "INSERT INTO answers (child, at_ms, day, exercise, shown, expected, typed, right,"
                " ms) VALUES (1, 1000, '2026-12-01', 4, '7 + 2 = □', '9', '9', 1, 3000)"));
            ASSERT_TRUE(insert.exec(
                "INSERT INTO runs (child, exercise, event, at_ms) VALUES (1, 4, 'start', 1000)"));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("version3");
    {
        PracticeJournal journal(dir.path());
        ASSERT_TRUE(journal.open());
        AnsweredQuestion answer;
        answer.at = QDateTime::currentDateTime();
        answer.childId = 1;
        answer.exercise = 4;
        answer.shown = "7 + 3 = □";
        answer.expected = answer.typed = "10";
        journal.recordAnswer(answer);
        journal.recordRunStart(1, 4, answer.at);
        journal.waitForWrites();
    }
    for (const char* table : {"answers", "runs"}) {
        const QStringList rows =
            rowsOf(path, QStringLiteral("SELECT guid, sent FROM %1").arg(table));
        ASSERT_EQ(rows.size(), 51) << table;
        QSet<QString> ids;
        for (const QString& row : rows) {
            const QUuid id(row.section(u'|', 0, 0));
            EXPECT_EQ(id.version(), QUuid::Random) << row.toStdString();
            EXPECT_EQ(row.section(u'|', 1), "0");
            ids.insert(id.toString());
        }
        EXPECT_EQ(ids.size(), 51) << table;
    }
}

TEST(JournalOutbox, APupilIsFoundByNumberAndMadeOnce) {
    QTemporaryDir dir;
    PracticeJournal journal(dir.path());
    ASSERT_TRUE(journal.open());
    const int family = journal.addChild("王小明");
    const struct {
        const char* number;
        const char* name;
        const char* named;  // the child's name here
        int sameAs;         // index of the row whose child it is, or -1 for a new one
    } rows[] = {
        {"12", "李小红", "李小红", -1},
        {"12", "李小红", "李小红", 0},         // found again
        {"13", "王小明", "王小明（13）", -1},  // a family child has the name
        {"12", "李红", "李红", 0},             // renamed on the class list
    };
    std::vector<int> ids;
    for (const auto& row : rows) {
        const int id = journal.childForPupil(row.number, QString::fromUtf8(row.name));
        ASSERT_NE(id, 0) << row.number;
        EXPECT_EQ(row.sameAs < 0, std::find(ids.begin(), ids.end(), id) == ids.end()) << row.number;
        if (row.sameAs >= 0) {
            EXPECT_EQ(id, ids[static_cast<std::size_t>(row.sameAs)]);
        }
        ids.push_back(id);
        EXPECT_EQ(journal.pupilNumber(id), row.number);
        for (const Child& c : journal.children()) {
            if (c.id == id) {
                EXPECT_EQ(c.name, QString::fromUtf8(row.named));
            }
        }
    }
    EXPECT_EQ(journal.pupilNumber(family), "");
    EXPECT_FALSE(journal.markPupil(family, "12", "王小明"));  // another child's number
    EXPECT_TRUE(journal.markPupil(family, "14", "王小明"));
    EXPECT_EQ(journal.childForPupil("14", "王小明"), family);
}

TEST(JournalOutbox, LevelsAndClearingsAreRecordedAsTheyHappen) {
    QTemporaryDir dir;
    auto journal = std::make_shared<PracticeJournal>(dir.path());
    ASSERT_TRUE(journal->open());
    qint64 ms = 1000;
    JournalRecorder recorder(journal, 1, [&ms] { return QDateTime::fromMSecsSinceEpoch(ms++); });
    PracticeObserver& observer = recorder;
    observer.levelChanged(1);
    observer.levelChanged(2);
    observer.historyCleared();
    observer.levelChanged(0);
    journal->waitForWrites();
    EXPECT_EQ(rowsOf(journal->filePath(),
                     "SELECT child, kind, level, at_ms, sent FROM progress_events ORDER BY id"),
              QStringList(
                  {"1|level|1|1001|0", "1|level|2|1002|0", "1|clear||1003|0", "1|level|0|1004|0"}));
}

}  // namespace
}  // namespace sumbrook
