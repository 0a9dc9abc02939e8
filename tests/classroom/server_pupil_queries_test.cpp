#include <QFile>
#include <QTemporaryDir>

#include "class_server.h"
#include "classroom/class_sync.h"
#include "classroom/server_pupil_queries.h"
#include "parent/parent_report.h"
#include "support/qstring_printer.h"
#include "support/recorded_journal.h"
#include "support/sample_journal.h"

namespace sumbrook::testing {
namespace {

using namespace std::chrono_literals;

QString msText(const QDateTime& at) {
    return at.isValid() ? QString::number(at.toMSecsSinceEpoch()) : QStringLiteral("-");
}

// Everything a report holds, one line each, so that a difference shows where it is.
QStringList lines(const ParentReport& report) {
    QStringList out{QStringLiteral("asked %1 right %2 error '%3'")
                        .arg(report.asked)
                        .arg(report.right)
                        .arg(report.error)};
    for (const DayTally& d : report.days) {
        out << QStringLiteral("day %1 %2 %3")
                   .arg(d.day.toString(Qt::ISODate))
                   .arg(d.asked)
                   .arg(d.right);
    }
    for (const ExerciseTally& t : report.exercises) {
        out << QStringLiteral("exercise %1 tried %2 right %3 median %4 best %5 last %6")
                   .arg(t.exercise)
                   .arg(t.tried)
                   .arg(t.right)
                   .arg(t.medianMs)
                   .arg(t.bestMs ? QString::number(*t.bestMs) : QStringLiteral("-"))
                   .arg(msText(t.lastPractised));
    }
    for (const MissedFact& f : report.mostMissed) {
        out << QStringLiteral("missed %1 [%2] %3 = %4 asked %5 missed %6 last %7 typed %8")
                   .arg(f.exercise)
                   .arg(f.fact ? f.fact->key() : QStringLiteral("no fact"), f.shown, f.expected)
                   .arg(f.asked)
                   .arg(f.missed)
                   .arg(msText(f.lastMissed), f.wrongAnswers.join(u'|'));
    }
    return out;
}

QStringList lines(const QVector<FactAnswer>& answers) {
    QStringList out;
    for (const FactAnswer& a : answers) {
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9")
                   .arg(a.fact.key())
                   .arg(a.exercise)
                   .arg(a.expected, a.typed)
                   .arg(a.atMs)
                   .arg(a.day.toString(Qt::ISODate))
                   .arg(a.right)
                   .arg(a.ms)
                   .arg(a.review);
    }
    return out;
}

QStringList lines(const QVector<AnswerTimePoint>& points) {
    QStringList out;
    for (const AnswerTimePoint& p : points) {
        out << QStringLiteral("%1 %2 %3").arg(msText(p.at)).arg(p.ms).arg(p.right);
    }
    return out;
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(not written)");
}

// Two pupils practise on a class computer, their journal is sent to the server by the
// sync as the program runs it, and the teacher's window reads them back from the server.
class ServerPupilQueriesTest : public ClassServerTest {
  protected:
    void SetUp() override {
        ClassServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        logins_ = init(admin_);
        ASSERT_EQ(exec(logins_.teacher,
                       "INSERT INTO pupils (number, name) VALUES ('01', '王小明'),"
                       " ('02', '李小红'), ('03', '张伟')")
                      .error,
                  QString());
        ASSERT_EQ(
            exec(logins_.teacher, "UPDATE pupils SET \"left\" = true WHERE number = '03'").error,
            QString());
        teacher_ =
            std::make_unique<ClassConnection>(*ConnectionString::parse(logins_.teacher, nullptr));
        ASSERT_TRUE(teacher_->open()) << teacher_->error().toStdString();
    }

    Logins logins_;
    std::unique_ptr<ClassConnection> teacher_;
};

const QDateTime kEnd(QDate(2026, 3, 17), QTime(17, 30));

TEST_F(ServerPupilQueriesTest, APupilsReportFromTheServerEqualsTheOneFromTheirJournal) {
    RecordedJournal computer;
    ASSERT_TRUE(computer.opened);
    const int first = computer.journal.childForPupil("01", "王小明");
    const int second = computer.journal.childForPupil("02", "李小红");
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    fillSampleJournal(computer.journal, first, 14, 40, 5, kEnd);
    // The second pupil's few answers: a fact missed with two different entries, one old
    // row whose text gives no fact, a review and the completions of two runs.
    const QDateTime day = kEnd.addDays(-2);
    computer.typed(second, 4, day.addSecs(0), "7 + 8 = □", "15", "14", 4200);
    computer.typed(second, 4, day.addSecs(10), "7 + 8 = □", "15", "16", 5100);
    computer.typed(second, 4, day.addSecs(20), "7 + 8 = □", "15", "14", 3900);
    computer.typed(second, 4, day.addSecs(30), "7 + 8 = □", "15", "15", 2500);
    computer.typed(second, 4, day.addSecs(40), "3 + □ = 9", "6", "6", 3100);
    computer.typed(second, 36, day.addSecs(50), "钟面", "3点", "4点", 8000);
    computer.typed(second, 12, kEnd.addSecs(-60), "13 − 5 = □", "8", "7", 6100);
    computer.journal.recordAnswer({kEnd.addSecs(-30), second, 12, "13 − 5 = □", "8", "8", true,
                                   2900, LegacyFactText::read(12, "13 − 5 = □", "8"), true});
    computer.completion(second, 4, 61000, day.addSecs(45));
    computer.completion(second, 4, 58000, kEnd.addSecs(-120));
    computer.journal.waitForWrites();

    ClassSync::Options options;
    options.firstRetry = 50ms;
    options.computer = QStringLiteral("seat-1");
    {
        ClassSync sync(computer.journal.filePath(),
                       *ConnectionString::parse(logins_.pupils, nullptr), options);
        sync.wake();
        ASSERT_TRUE(sync.waitUntilSent(60s));
    }

    ServerPupilQueries server(teacher_->database());
    const QVector<Child> pupils = server.children();
    ASSERT_EQ(pupils.size(), 2);  // not the one who left
    EXPECT_EQ(pupils[0].name, QStringLiteral("王小明"));
    EXPECT_EQ(pupils[1].name, QStringLiteral("李小红"));
    EXPECT_EQ(server.addChild("赵六"), 0);
    EXPECT_EQ(server.readError(), QStringLiteral("pupils are added and renamed on the class list"));
    EXPECT_FALSE(server.renameChild(pupils[0].id, "赵六"));
    EXPECT_TRUE(server.chooseChild(pupils[1].id));
    EXPECT_EQ(server.currentChildId(), pupils[1].id);

    const struct {
        const char* name;
        JournalSpan span;
    } spans[] = {
        {"everything", {}},
        {"the last week", {kEnd.addDays(-6), kEnd.addDays(1)}},
        {"one day",
         {QDateTime(kEnd.date().addDays(-2), {}), QDateTime(kEnd.date().addDays(-1), {})}},
        {"nothing in it", {kEnd.addDays(10), kEnd.addDays(20)}},
    };
    const struct {
        int local;
        int onServer;
    } children[] = {{first, pupils[0].id}, {second, pupils[1].id}};
    QTemporaryDir folder;
    for (const auto& child : children) {
        for (const auto& span : spans) {
            const ParentReport here = ParentReport::load(computer.queries, child.local, span.span);
            const ParentReport there = ParentReport::load(server, child.onServer, span.span);
            EXPECT_EQ(lines(there), lines(here)) << span.name << ", pupil " << child.local;
            for (int exercise = 1; exercise <= 37; ++exercise) {
                EXPECT_EQ(lines(server.answerTimes(child.onServer, exercise, span.span)),
                          lines(computer.queries.answerTimes(child.local, exercise, span.span)))
                    << span.name << ", exercise " << exercise;
            }
        }
        const QVector<FactAnswer> factsHere = computer.queries.factAnswers(child.local);
        EXPECT_GT(factsHere.size(), 4);
        EXPECT_EQ(lines(server.factAnswers(child.onServer)), lines(factsHere));
        const QString here = folder.filePath(QStringLiteral("here-%1.csv").arg(child.local));
        const QString there = folder.filePath(QStringLiteral("there-%1.csv").arg(child.local));
        EXPECT_TRUE(computer.queries.exportCsv(child.local, here));
        EXPECT_TRUE(server.exportCsv(child.onServer, there));
        EXPECT_EQ(bytesOf(there), bytesOf(here));
    }
    EXPECT_EQ(server.readError(), QString());
}

}  // namespace
}  // namespace sumbrook::testing
