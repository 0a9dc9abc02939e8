#include "teacher/print/week_report.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QPrintPreviewWidget>

#include "fake_class_queries.h"
#include "support/qstring_printer.h"
#include "support/recorded_journal.h"
#include "teacher/print/printout_preview.h"

namespace sumbrook {
namespace {

using testing::FakeClassQueries;
using testing::RecordedJournal;

// The week of Monday 7 to Sunday 13 December 2026.
const JournalSpan kWeek = WeekReport::weekOf(QDate(2026, 12, 10));

QDateTime on(int day, int minute) {
    return QDateTime(QDate(2026, 12, day), QTime(17, 0).addSecs(60 * minute));
}

struct Given {
    int day;  // of December 2026
    QString shown;
    QString expected;
    bool right;
    std::int64_t ms;
    bool review = false;
    bool withoutFact = false;  // an old row whose fact was never read
};

// A pupil's history and what their row must say beside their own ParentReport.
struct PupilCase {
    QString name;
    bool left;
    std::vector<Given> answers;
    std::int64_t practisedMs;
    int becameFluent;
    QStringList stillMissed;
};

const std::vector<PupilCase> kPupils = {
    // Missed 7 + 8 before and early in the week, then knew it fast: it became fluent and is
    // not still missed; 6 + 9 stays missed. A review answer counts its time too.
    {"王小明",
     false,
     {{1, "7 + 8 = □", "15", false, 6000},
      {8, "7 + 8 = □", "15", false, 7000},
      {8, "6 + 9 = □", "15", false, 5000},
      {9, "7 + 8 = □", "15", true, 2000},
      {10, "7 + 8 = □", "15", true, 2100},
      {11, "7 + 8 = □", "15", true, 1900, true},
      {14, "6 + 9 = □", "15", true, 2000}},
     7000 + 5000 + 2000 + 2100 + 1900,
     1,
     {"6 + 9 = □"}},
    // Fluent in 3 + 4 before the week: nothing became fluent in it.
    {"李丽",
     false,
     {{2, "3 + 4 = □", "7", true, 1500},
      {3, "3 + 4 = □", "7", true, 1500},
      {4, "3 + 4 = □", "7", true, 1500},
      {9, "3 + 4 = □", "7", true, 1400},
      {9, "12 − 5 = □", "7", false, 8000}},
     9400,
     0,
     {"12 − 5 = □"}},
    // An answer without its fact: the time is still all of it.
    {"孙悦",
     false,
     {{9, "4 + 4 = □", "8", true, 3000},
      {9, "9 + 9 = □", "18", false, 6000, false, true},
      {10, "7 + 8 = □", "15", true, 2000, true}},
     11000,
     0,
     {"9 + 9 = □"}},
    {"陈晨", false, {}, 0, 0, {}},                                     // nothing at all
    {"赵一", false, {{1, "5 + 6 = □", "11", false, 4000}}, 0, 0, {}},  // only before
    {"张伟", true, {{9, "8 + 5 = □", "13", false, 4000}}, 0, 0, {}},   // left the class
};

struct Built {
    RecordedJournal journal;
    FakeClassQueries list;
};

void fill(Built& built) {
    int number = 0;
    for (const PupilCase& p : kPupils) {
        const int id = built.journal.journal.addChild(p.name);
        ASSERT_GT(id, 0);
        built.list.list.append(
            {id, {QStringLiteral("%1").arg(++number, 2, 10, QChar(u'0')), p.name}, p.left});
        int minute = 0;
        for (const Given& a : p.answers) {
            const int exercise = a.shown.contains(u'+') ? 11 : 12;
            built.journal.journal.recordAnswer(
                {on(a.day, minute++), id, a.review ? kReviewRunExercise : exercise, a.shown,
                 a.expected, a.right ? a.expected : a.expected + "0", a.right, a.ms,
                 a.withoutFact ? std::nullopt : LegacyFactText::read(exercise, a.shown, a.expected),
                 a.review});
        }
    }
    ASSERT_TRUE(built.journal.journal.waitForWrites(std::chrono::seconds(10)));
}

TEST(WeekReport, EachPupilsFiguresAreThoseOfTheirOwnWindow) {
    Built built;
    ASSERT_TRUE(built.journal.opened);
    fill(built);
    const WeekReport report = WeekReport::build(built.list, built.journal.queries, kWeek);
    ASSERT_TRUE(report.error().isEmpty()) << report.error().toStdString();
    ASSERT_EQ(report.rows().size(), kPupils.size() - 1);  // not the one who left

    for (std::size_t i = 0; i < report.rows().size(); ++i) {
        const PupilCase& p = kPupils[i];
        const WeekReport::PupilRow& row = report.rows()[i];
        SCOPED_TRACE(p.name.toStdString());
        EXPECT_EQ(row.pupil.pupil.name, p.name);
        const ParentReport own = ParentReport::load(built.journal.queries, row.pupil.id, kWeek);
        EXPECT_EQ(row.report.asked, own.asked);
        EXPECT_EQ(row.report.right, own.right);
        EXPECT_EQ(row.report.days.size(), own.days.size());
        ASSERT_EQ(row.report.exercises.size(), own.exercises.size());
        for (qsizetype e = 0; e < own.exercises.size(); ++e) {
            EXPECT_EQ(row.report.exercises[e].tried, own.exercises[e].tried);
            EXPECT_EQ(row.report.exercises[e].right, own.exercises[e].right);
            EXPECT_EQ(row.report.exercises[e].medianMs, own.exercises[e].medianMs);
        }
        ASSERT_EQ(row.report.mostMissed.size(), own.mostMissed.size());
        for (qsizetype m = 0; m < own.mostMissed.size(); ++m) {
            EXPECT_EQ(row.report.mostMissed[m].shown, own.mostMissed[m].shown);
            EXPECT_EQ(row.report.mostMissed[m].missed, own.mostMissed[m].missed);
        }
        EXPECT_EQ(row.practisedMs, p.practisedMs);
        EXPECT_EQ(row.becameFluent, p.becameFluent);
        QStringList still;
        for (const MissedFact& f : row.stillMissed) {
            still << f.shown;
        }
        EXPECT_EQ(still, p.stillMissed);
    }
    EXPECT_EQ(report.asked(), 5 + 2 + 3);
    EXPECT_EQ(report.right(), 3 + 1 + 2);
}

TEST(WeekReport, SpansReadAsATeacherWritesThem) {
    const struct {
        QDate from;
        QDate to;
        const char* text;
    } cases[] = {
        {{2026, 12, 7}, {2026, 12, 13}, "2026年12月7日—12月13日"},
        {{2026, 12, 28}, {2027, 1, 3}, "2026年12月28日—2027年1月3日"},
        {{2026, 11, 30}, {2026, 12, 6}, "2026年11月30日—12月6日"},
        {{2026, 12, 9}, {2026, 12, 9}, "2026年12月9日—12月9日"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WeekReport::spanText(WeekReport::daysFrom(c.from, c.to)),
                  QString::fromUtf8(c.text));
    }
    // Any day of a week gives its Monday to Sunday.
    for (int day = 7; day <= 13; ++day) {
        const JournalSpan week = WeekReport::weekOf(QDate(2026, 12, day));
        EXPECT_EQ(week.from, QDate(2026, 12, 7).startOfDay());
        EXPECT_EQ(week.to, QDate(2026, 12, 14).startOfDay());
    }
    const std::pair<std::int64_t, const char*> durations[] = {{0, "0秒"},
                                                              {59999, "59秒"},
                                                              {60000, "1分"},
                                                              {25 * 60000 + 500, "25分"},
                                                              {3600000, "1小时00分"},
                                                              {3600000 + 5 * 60000, "1小时05分"}};
    for (const auto& [ms, text] : durations) {
        EXPECT_EQ(WeekReport::durationText(ms), QString::fromUtf8(text));
    }
}

TEST(WeekReport, ARefusedReadLeavesNothingButWhy) {
    Built built;
    fill(built);
    built.list.refusal = QStringLiteral("permission denied for table answers");
    const WeekReport report = WeekReport::build(built.list, built.journal.queries, kWeek);
    EXPECT_EQ(report.error(), built.list.refusal);
    EXPECT_TRUE(report.rows().empty());
}

// A class of 45 with 5 exercises tried: the table keeps to the first page, the heat map has
// a page of its own and the most-missed facts the next one; the preview shows the same.
TEST(WeekReport, AFullClassTakesThreePagesInThePdfAndThePreview) {
    Built built;
    ASSERT_TRUE(built.journal.opened);
    for (int i = 1; i <= 45; ++i) {
        const ListedPupil pupil{i, {QString::number(i), QStringLiteral("学生%1").arg(i)}, false};
        built.list.list.append(pupil);
        built.list.map.pupils.push_back(pupil);
        std::array<HeatCell, ClassHeatMap::kExercises> row{};
        for (int e : {4, 5, 11, 12, 36}) {
            row[e - 1] = {10, (i * e) % 11, 3000};
        }
        built.list.map.cells.push_back(row);
    }
    MissedFact fact;
    fact.exercise = 11;
    fact.shown = QStringLiteral("7 + 8 = □");
    fact.expected = QStringLiteral("15");
    fact.asked = 90;
    fact.missed = 30;
    built.list.missed = {{fact, 20}, {fact, 12}, {fact, 3}};
    const WeekReport report = WeekReport::build(built.list, built.journal.queries, kWeek);
    ASSERT_TRUE(report.error().isEmpty()) << report.error().toStdString();

    const QString path = built.journal.path(QStringLiteral("week.pdf"));
    QString error;
    ASSERT_TRUE(report.writePdf(path, &error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // SUMBROOK_SHOT_DIR keeps the file there, to look at.
    if (const QByteArray dir = qgetenv("SUMBROOK_SHOT_DIR"); !dir.isEmpty()) {
        QFile::remove(QString::fromLocal8Bit(dir) + "/week-report.pdf");
        QFile::copy(path, QString::fromLocal8Bit(dir) + "/week-report.pdf");
    }
    EXPECT_TRUE(file.readAll().contains("/Count 3"));

    QWidget parent;
    PrintoutPreview* preview = report.openPreview(&parent);
    auto* widget = preview->dialog()->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(widget, nullptr);
    widget->updatePreview();
    EXPECT_EQ(widget->pageCount(), 3);
}

}  // namespace
}  // namespace sumbrook
