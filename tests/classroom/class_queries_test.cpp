#include <QTimeZone>
#include <cmath>

#include "class_server.h"
#include "classroom/server_class_queries.h"
#include "classroom/server_pupil_queries.h"
#include "learning/fact_map.h"
#include "support/class_term.h"
#include "support/qstring_printer.h"

namespace sumbrook::testing {
namespace {

// What the teacher's window reads of the whole class, over rows on a throwaway server.
class ClassQueriesTest : public ClassServerTest {
  protected:
    void SetUp() override {
        ClassServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        logins_ = init(admin_);
        owner_ = std::make_unique<ClassConnection>(*ConnectionString::parse(admin_, nullptr));
        ASSERT_TRUE(owner_->open());
        teacher_ =
            std::make_unique<ClassConnection>(*ConnectionString::parse(logins_.teacher, nullptr));
        ASSERT_TRUE(teacher_->open()) << teacher_->error().toStdString();
        queries_ = std::make_unique<ServerClassQueries>(teacher_->database());
    }

    Logins logins_;
    std::unique_ptr<ClassConnection> owner_;
    std::unique_ptr<ClassConnection> teacher_;
    std::unique_ptr<ServerClassQueries> queries_;
};

// A Tuesday morning, in the middle of the lesson.
const QDateTime kNow(QDate(2026, 3, 17), QTime(10, 30));

TEST_F(ClassQueriesTest, TheHeatMapCountsAsAPlainCountOfTheSameRows) {
    QSqlDatabase owner = owner_->database();
    QString error;
    const auto filled = ClassTerm::fill(owner, {8, 12, 60, 7}, kNow, error);
    ASSERT_TRUE(filled) << error.toStdString();
    // One pupil left: the map shows the others only.
    ASSERT_EQ(exec(admin_, "UPDATE pupils SET \"left\" = true WHERE number = '04'").error,
              QString());

    const QDate today = kNow.date();
    const struct {
        const char* span;
        JournalSpan journal;
    } spans[] = {
        {"the whole term", {}},
        {"the last week", {QDateTime(today.addDays(-6), QTime()), QDateTime(today.addDays(1), {})}},
        {"yesterday", {QDateTime(today.addDays(-1), QTime()), QDateTime(today, QTime())}},
        {"from the start of today's lesson", {filled->lessonStart, {}}},
        {"a week of holiday", {QDateTime(today.addDays(3), {}), QDateTime(today.addDays(10), {})}},
    };
    for (const auto& span : spans) {
        const ClassHeatMap map = queries_->heatMap(span.journal);
        EXPECT_EQ(queries_->readError(), QString()) << span.span;
        ASSERT_EQ(map.pupils.size(), 7u) << span.span;
        ASSERT_EQ(map.cells.size(), 7u) << span.span;
        QString where = "TRUE";
        if (span.journal.from.isValid()) {
            where += QStringLiteral(" AND at_ms >= %1").arg(span.journal.from.toMSecsSinceEpoch());
        }
        if (span.journal.to.isValid()) {
            where += QStringLiteral(" AND at_ms < %1").arg(span.journal.to.toMSecsSinceEpoch());
        }
        QSqlQuery plain(owner);
        ASSERT_TRUE(plain.exec(
            QStringLiteral("SELECT p.number, a.exercise, count(*), count(*) FILTER (WHERE correct),"
                           " percentile_cont(0.5) WITHIN GROUP (ORDER BY ms)"
                           " FROM answers a JOIN pupils p ON p.id = a.pupil"
                           " WHERE NOT p.\"left\" AND %1 GROUP BY 1, 2")
                .arg(where)));
        std::map<std::pair<QString, int>, HeatCell> expected;
        while (plain.next()) {
            expected[{plain.value(0).toString(), plain.value(1).toInt()}] = {
                plain.value(2).toInt(), plain.value(3).toInt(),
                std::llround(plain.value(4).toDouble())};
        }
        int cellsTried = 0;
        for (std::size_t row = 0; row < map.pupils.size(); ++row) {
            EXPECT_EQ(map.pupils[row].pupil.number,
                      QStringLiteral("%1").arg(row < 3 ? row + 1 : row + 2, 2, 10, QChar(u'0')));
            for (int exercise = 1; exercise <= ClassHeatMap::kExercises; ++exercise) {
                const HeatCell& cell = map.cells[row][exercise - 1];
                const auto found = expected.find({map.pupils[row].pupil.number, exercise});
                const HeatCell want = found == expected.end() ? HeatCell{} : found->second;
                EXPECT_EQ(cell.tried, want.tried) << span.span << " " << row << " " << exercise;
                EXPECT_EQ(cell.right, want.right) << span.span << " " << row << " " << exercise;
                EXPECT_EQ(cell.medianMs, want.medianMs)
                    << span.span << " " << row << " " << exercise;
                cellsTried += cell.tried > 0 ? 1 : 0;
            }
        }
        EXPECT_EQ(cellsTried, static_cast<int>(expected.size())) << span.span;
    }
}

// Each pupil's tile of "now", from the answers of their recent history.
TEST_F(ClassQueriesTest, NowShowsWhoIsPractisingWhoIsQuietAndWhoIsStuck) {
    struct Given {
        int secondsAgo;
        int exercise;
        bool right;
    };
    // n answers a `gap` apart, the last `last` seconds ago, right as `pattern` says.
    const auto history = [](int n, int gap, int last, int exercise, const QString& pattern) {
        std::vector<Given> answers;
        for (int i = 0; i < n; ++i) {
            answers.push_back(
                {last + gap * (n - 1 - i), exercise, pattern[i % pattern.size()] == u'1'});
        }
        return answers;
    };
    const struct {
        const char* pupil;
        std::vector<Given> answers;
        bool left;
        // expected
        bool listed;
        bool practising;
        int exercise;
        int asked;
        int right;
        int recentAsked;
        int recentRight;
        bool needsHelp;
    } rows[] = {
        {"practising", history(12, 40, 20, 4, "1"), false, true, true, 4, 12, 12, 10, 10, false},
        {"quiet 2 minutes", history(8, 40, 125, 9, "1"), false, true, false, 9, 8, 8, 8, 8, true},
        {"quiet not quite 2 minutes", history(8, 40, 115, 9, "1"), false, true, true, 9, 8, 8, 8, 8,
         false},
        {"last 10 under 60 %", history(15, 30, 10, 11, "111111010101010"), false, true, true, 11,
         15, 10, 10, 5, true},
        {"last 10 at 60 %", history(10, 30, 10, 11, "1101101010"), false, true, true, 11, 10, 6, 10,
         6, false},
        {"three wrong: too few to judge", history(3, 30, 10, 2, "0"), false, true, true, 2, 3, 0, 3,
         0, false},
        {"nothing this lesson", history(20, 30, 50 * 60, 5, "1"), false, true, false, 0, 0, 0, 0, 0,
         false},
        {"an answer after now is not yet", history(1, 30, -60, 5, "1"), false, true, false, 0, 0, 0,
         0, 0, false},
        {"left, still answering", history(5, 30, 10, 4, "1"), true, false, false, 0, 0, 0, 0, 0,
         false},
    };
    int number = 0;
    for (const auto& row : rows) {
        ++number;
        ASSERT_EQ(exec(admin_, QStringLiteral("INSERT INTO pupils (number, name, \"left\")"
                                              " VALUES ('%1', '%2', %3)")
                                   .arg(number)
                                   .arg(QString::fromUtf8(row.pupil))
                                   .arg(row.left ? "true" : "false"))
                      .error,
                  QString());
        for (const Given& a : row.answers) {
            ASSERT_EQ(exec(admin_,
                           QStringLiteral("INSERT INTO answers (guid, pupil, computer, at_ms, day,"
                                          " exercise, shown, expected, typed, correct, ms)"
                                          " SELECT gen_random_uuid(), id, 'seat', %1, '2026-03-17',"
                                          " %2, '1 + 1 = □', '2', '%3', %4, 3000 FROM pupils"
                                          " WHERE number = '%5'")
                               .arg(kNow.addSecs(-a.secondsAgo).toMSecsSinceEpoch())
                               .arg(a.exercise)
                               .arg(a.right ? "2" : "3", a.right ? "true" : "false")
                               .arg(number))
                          .error,
                      QString());
        }
    }
    const QVector<PupilNow> now = queries_->lessonNow(kNow);
    EXPECT_EQ(queries_->readError(), QString());
    number = 0;
    for (const auto& row : rows) {
        ++number;
        const auto tile = std::find_if(now.begin(), now.end(), [&](const PupilNow& p) {
            return p.pupil.pupil.number == QString::number(number);
        });
        ASSERT_EQ(tile != now.end(), row.listed) << row.pupil;
        if (!row.listed) {
            continue;
        }
        EXPECT_EQ(tile->practising, row.practising) << row.pupil;
        EXPECT_EQ(tile->exercise, row.exercise) << row.pupil;
        EXPECT_EQ(tile->asked, row.asked) << row.pupil;
        EXPECT_EQ(tile->right, row.right) << row.pupil;
        EXPECT_EQ(tile->recentAsked, row.recentAsked) << row.pupil;
        EXPECT_EQ(tile->recentRight, row.recentRight) << row.pupil;
        EXPECT_EQ(tile->needsHelp, row.needsHelp) << row.pupil;
        EXPECT_EQ(tile->lastAnswer.isValid(), row.asked > 0) << row.pupil;
        if (row.asked > 0) {
            EXPECT_EQ(tile->lastAnswer.secsTo(kNow), row.answers.back().secondsAgo) << row.pupil;
        }
    }
    // Ten minutes on, the whole class quiet: only the one who was stuck is still marked.
    QStringList marked;
    for (const PupilNow& p : queries_->lessonNow(kNow.addSecs(600))) {
        EXPECT_FALSE(p.practising) << p.pupil.pupil.name.toStdString();
        if (p.needsHelp) {
            marked << p.pupil.pupil.name;
        }
    }
    EXPECT_EQ(marked, QStringList{QStringLiteral("last 10 under 60 %")});
}

// The generated term's lesson as the window opens on it: the stuck, the quiet and the
// absent pupil stand out; the class's missed facts and fluency add up over its pupils.
TEST_F(ClassQueriesTest, ATermsLessonShowsItsStuckQuietAndAbsentPupils) {
    QSqlDatabase owner = owner_->database();
    QString error;
    ASSERT_TRUE(ClassTerm::fill(owner, {10, 20, 60, 11}, kNow, error)) << error.toStdString();
    const QVector<PupilNow> now = queries_->lessonNow(kNow);
    ASSERT_EQ(now.size(), 10);
    for (const PupilNow& p : now) {
        const QString number = p.pupil.pupil.number;
        EXPECT_EQ(p.asked > 0, number != ClassTerm::kAbsent) << number.toStdString();
        EXPECT_EQ(p.practising, p.asked > 0 && number != ClassTerm::kQuiet) << number.toStdString();
        if (number == ClassTerm::kStuck || number == ClassTerm::kQuiet) {
            EXPECT_TRUE(p.needsHelp) << number.toStdString();
        }
    }

    const QVector<ClassMissedFact> missed = queries_->mostMissed({}, 15);
    ASSERT_EQ(missed.size(), 15);
    for (const ClassMissedFact& f : missed) {
        ASSERT_TRUE(f.fact.fact.has_value());
        const Answer plain = exec(
            admin_, QStringLiteral("SELECT count(*) || ' ' || count(*) FILTER (WHERE NOT correct)"
                                   " || ' ' || count(DISTINCT pupil) FILTER (WHERE NOT correct)"
                                   " FROM answers WHERE fact = '%1'")
                        .arg(f.fact.fact->key()));
        EXPECT_EQ(plain.first.toString(),
                  QStringLiteral("%1 %2 %3").arg(f.fact.asked).arg(f.fact.missed).arg(f.pupils))
            << f.fact.fact->key().toStdString();
        EXPECT_FALSE(f.fact.wrongAnswers.isEmpty());
    }

    // Each pupil judged by FactLearning over all their answers, as their computer does.
    ClassFluency judged;
    const ServerPupilQueries pupils(teacher_->database());
    for (const Child& pupil : pupils.children()) {
        const FactMap map{FactLearning(pupils.factAnswers(pupil.id))};
        for (int a = 0; a <= FactMap::kAddendMax; ++a) {
            for (int b = 0; b <= FactMap::kAddendMax; ++b) {
                judged.additionFluent[a][b] += map.addition(a, b).state == Fluency::Fluent;
                judged.additionMet[a][b] += !map.addition(a, b).met.empty();
            }
        }
        for (int a = 0; a <= FactMap::kMinuendMax; ++a) {
            for (int b = 0; b <= a; ++b) {
                judged.subtractionFluent[a][b] += map.subtraction(a, b).state == Fluency::Fluent;
                judged.subtractionMet[a][b] += !map.subtraction(a, b).met.empty();
            }
        }
    }
    const ClassFluency fluency = queries_->fluency();
    EXPECT_EQ(queries_->readError(), QString());
    EXPECT_EQ(fluency.pupils, 10);
    EXPECT_EQ(fluency.additionFluent, judged.additionFluent);
    EXPECT_EQ(fluency.additionMet, judged.additionMet);
    EXPECT_EQ(fluency.subtractionFluent, judged.subtractionFluent);
    EXPECT_EQ(fluency.subtractionMet, judged.subtractionMet);
    int fluent = 0;
    for (int a = 0; a <= 10; ++a) {
        for (int b = 0; b <= 10; ++b) {
            EXPECT_LE(fluency.additionFluent[a][b], fluency.additionMet[a][b]);
            EXPECT_LE(fluency.additionMet[a][b], 10);
            fluent += fluency.additionFluent[a][b];
        }
    }
    EXPECT_GT(fluent, 0);
    // 1 + 1 = □ came up for every pupil in the first weeks.
    EXPECT_EQ(fluency.additionMet[1][1], 10);
}

}  // namespace
}  // namespace sumbrook::testing
