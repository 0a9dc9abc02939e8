// A pupil who practised at two computers keeps the best of both on the next one.
#include "classroom/pupil_progress.h"

#include <QTemporaryDir>

#include "class_server.h"
#include "journal/practice_journal.h"
#include "practice/core/progress_records.h"

namespace sumbrook::testing {
namespace {

struct Event {
    const char* computer;
    const char* kind;
    int exercise;
    int ms;
    int level;
    int at;
};

class PupilProgressMerge : public ClassServerTest {
  protected:
    // Pupil 7 on the class list, and the events as the computers' sync workers send them.
    void send(const QString& pupils, std::initializer_list<Event> events) {
        for (const Event& e : events) {
            const Answer added =
                exec(pupils,
                     QStringLiteral("SELECT add_progress_event(gen_random_uuid(), '7', '%1', '%2',"
                                    " %3, %4, %5, %6)")
                         .arg(QLatin1String(e.computer), QLatin1String(e.kind))
                         .arg(e.exercise ? QString::number(e.exercise) : QStringLiteral("NULL"))
                         .arg(e.ms ? QString::number(e.ms) : QStringLiteral("NULL"))
                         .arg(QString::number(e.level))
                         .arg(e.at));
            ASSERT_TRUE(added.error.isEmpty()) << added.error.toStdString();
        }
    }
    std::optional<PupilProgress> read(const QString& pupils) {
        ClassConnection connection(*ConnectionString::parse(pupils, nullptr));
        EXPECT_TRUE(connection.open());
        QSqlDatabase db = connection.database();
        QString error;
        std::optional<PupilProgress> progress = PupilProgress::read(db, "7", error);
        EXPECT_TRUE(progress) << error.toStdString();
        return progress;
    }
};

TEST_F(PupilProgressMerge, TheBestOfEveryComputerSinceTheLastClearingAndTheHighestLevel) {
    const QString pupils = init(admin_).pupils;
    ASSERT_TRUE(
        exec(admin_, "INSERT INTO pupils (number, name) VALUES ('7', '郑佳琪')").error.isEmpty());
    // Before the clearing, computer A's 30 s at exercise 3 (forgotten); after it, A's 50 s
    // and B's 40 s at 3, B's 60 s at 4, levels.
    send(pupils, {{"A", "completion", 3, 30000, 0, 1},
                  {"A", "clear", 0, 0, 0, 2},
                  {"A", "completion", 3, 50000, 0, 3},
                  {"B", "completion", 3, 40000, 0, 4},
                  {"B", "completion", 4, 60000, 0, 5},
                  {"A", "level", 0, 0, 5, 6},
                  {"B", "level", 0, 0, 8, 7}});

    // This computer's own copy: 45 s at 3, 30 s at 5, level 6.
    QTemporaryDir dir;
    ProgressStore store(dir.path());
    ProgressRecords records(store);
    records.load();
    records.recordCompletion(3, 45000);
    records.recordCompletion(5, 30000);
    records.setLevel(6);

    const std::optional<PupilProgress> progress = read(pupils);
    ASSERT_TRUE(progress);
    progress->mergeInto(records);

    ProgressStore again(dir.path());
    ProgressRecords kept(again);
    kept.load();
    const struct {
        int exercise;
        std::int64_t best;
    } bests[] = {{3, 40000}, {4, 60000}, {5, 30000}, {6, ProgressRecords::kNoBestTime}};
    for (const auto& b : bests) {
        EXPECT_EQ(kept.bestTime(b.exercise), b.best) << "exercise " << b.exercise;
    }
    EXPECT_EQ(kept.level(), 8);
}

// The history cleared and a new game begun at another computer hold on this one when the
// pupil sits down, once: what the pupil does here afterwards is not undone the next time.
TEST_F(PupilProgressMerge, AClearingAndANewGameElsewhereHoldHereOnce) {
    const QString pupils = init(admin_).pupils;
    ASSERT_TRUE(
        exec(admin_, "INSERT INTO pupils (number, name) VALUES ('7', '郑佳琪')").error.isEmpty());
    send(pupils, {{"A", "completion", 3, 50000, 0, 10},
                  {"A", "level", 0, 0, 9, 11},
                  {"B", "clear", 0, 0, 0, 20},
                  {"B", "level", 0, 0, 0, 21},
                  {"B", "level", 0, 0, 2, 22},
                  {"B", "completion", 4, 60000, 0, 23}});
    QTemporaryDir dir;
    PracticeJournal journal(dir.path());
    ASSERT_TRUE(journal.open());
    const int child = journal.childForPupil("7", "郑佳琪");
    ASSERT_NE(child, 0);
    ProgressStore store(journal.storeDirectory(child));
    ProgressRecords records(store);
    records.load();
    records.recordCompletion(3, 45000);
    records.setLevel(9);

    const std::optional<PupilProgress> progress = read(pupils);
    ASSERT_TRUE(progress);
    progress->applyTo(journal, child, records);
    EXPECT_EQ(records.bestTime(3), ProgressRecords::kNoBestTime);
    EXPECT_EQ(records.bestTime(4), 60000);
    EXPECT_EQ(records.level(), 2);

    records.recordCompletion(3, 30000);
    records.setLevel(3);
    progress->applyTo(journal, child, records);
    EXPECT_EQ(records.bestTime(3), 30000);
    EXPECT_EQ(records.level(), 3);
}

}  // namespace
}  // namespace sumbrook::testing
