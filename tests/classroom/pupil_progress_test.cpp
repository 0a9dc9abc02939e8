// A pupil who practised at two computers keeps the best of both on the next one.
#include "classroom/pupil_progress.h"

#include <QTemporaryDir>

#include "class_server.h"
#include "practice/core/progress_records.h"

namespace sumbrook::testing {
namespace {

class PupilProgressMerge : public ClassServerTest {};

TEST_F(PupilProgressMerge, TheBestOfEveryComputerSinceTheLastClearingAndTheHighestLevel) {
    const QString pupils = init(admin_).pupils;
    ASSERT_TRUE(
        exec(admin_, "INSERT INTO pupils (number, name) VALUES ('7', '郑佳琪')").error.isEmpty());
    // As the computers' sync workers send them: before the clearing, computer A's 30 s at
    // exercise 3 (forgotten); after it, A's 50 s and B's 40 s at 3, B's 60 s at 4, levels.
    const struct {
        const char* computer;
        const char* kind;
        int exercise;
        int ms;
        int level;
        int at;
    } events[] = {{"A", "completion", 3, 30000, 0, 1}, {"A", "clear", 0, 0, 0, 2},
                  {"A", "completion", 3, 50000, 0, 3}, {"B", "completion", 3, 40000, 0, 4},
                  {"B", "completion", 4, 60000, 0, 5}, {"A", "level", 0, 0, 5, 6},
                  {"B", "level", 0, 0, 8, 7}};
    for (const auto& e : events) {
        const Answer added = exec(
            pupils, QStringLiteral("SELECT add_progress_event(gen_random_uuid(), '7', '%1', '%2',"
                                   " %3, %4, %5, %6)")
                        .arg(QLatin1String(e.computer), QLatin1String(e.kind))
                        .arg(e.exercise ? QString::number(e.exercise) : QStringLiteral("NULL"))
                        .arg(e.ms ? QString::number(e.ms) : QStringLiteral("NULL"))
                        .arg(e.level ? QString::number(e.level) : QStringLiteral("NULL"))
                        .arg(e.at));
        ASSERT_TRUE(added.error.isEmpty()) << added.error.toStdString();
    }

    // This computer's own copy: 45 s at 3, 30 s at 5, level 6.
    QTemporaryDir dir;
    ProgressStore store(dir.path());
    ProgressRecords records(store);
    records.load();
    records.recordCompletion(3, 45000);
    records.recordCompletion(5, 30000);
    records.setLevel(6);

    ClassConnection connection(*ConnectionString::parse(pupils, nullptr));
    ASSERT_TRUE(connection.open());
    QSqlDatabase db = connection.database();
    QString error;
    const std::optional<PupilProgress> progress = PupilProgress::read(db, "7", error);
    ASSERT_TRUE(progress) << error.toStdString();
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

}  // namespace
}  // namespace sumbrook::testing
