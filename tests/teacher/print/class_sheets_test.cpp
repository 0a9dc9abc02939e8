#include "teacher/print/class_sheets.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QPrintPreviewWidget>
#include <algorithm>

#include "fake_class_queries.h"
#include "support/qstring_printer.h"
#include "support/recorded_journal.h"
#include "teacher/print/printout_preview.h"

namespace sumbrook {
namespace {

using testing::FakeClassQueries;
using testing::RecordedJournal;

const QDateTime kNow(QDate(2026, 12, 10), QTime(15, 0));

// One answer a pupil gave `daysAgo` days before kNow.
struct Given {
    QString shown;
    QString expected;
    bool right;
    int daysAgo;
};

// A pupil of the list with what they answered and which sums their own sheet must ask.
struct PupilCase {
    QString number;
    QString name;
    bool left;
    std::vector<Given> answers;
    QStringList missedOnSheet;  // the sheet's missed sums; empty: no page for them
};

// In the list's order, which is not the order the journal made them in.
const std::vector<PupilCase> kClass = {
    {"03",
     "王小明",
     false,
     {{"7 + 8 = □", "15", false, 0}, {"6 + 9 = □", "15", false, 2}, {"3 + 4 = □", "7", true, 1}},
     {"7 ＋ 8 ＝", "6 ＋ 9 ＝"}},
    {"01",
     "李丽",
     false,
     {{"9 − 4 = □", "5", false, 1}, {"9 − 4 = □", "5", true, 0}},
     {"9 － 4 ＝"}},
    {"07", "张伟", true, {{"8 + 5 = □", "13", false, 1}}, {}},    // left the class
    {"02", "陈晨", false, {{"2 + 2 = □", "4", true, 0}}, {}},     // nothing missed
    {"05", "赵一", false, {{"5 + 6 = □", "11", false, 10}}, {}},  // missed before the days
    {"04", "孙悦", false, {}, {}},                                // never practised
    {"06", "周杰", false, {{"12 − 5 = □", "7", false, 6}}, {"12 － 5 ＝"}},
};

struct Built {
    RecordedJournal journal;
    FakeClassQueries list;
};

void fill(Built& built, const std::vector<PupilCase>& pupils) {
    for (const PupilCase& p : pupils) {
        const int id = built.journal.journal.addChild(p.name);
        ASSERT_GT(id, 0);
        built.list.list.append({id, {p.number, p.name}, p.left});
        int minute = 0;
        for (const Given& a : p.answers) {
            const int exercise = a.shown.contains(u'+') ? 11 : 12;
            built.journal.answer(id, exercise,
                                 kNow.addDays(-a.daysAgo).addSecs(-3600 + 60 * minute++), a.shown,
                                 a.expected, a.right, 4000);
        }
    }
    ASSERT_TRUE(built.journal.journal.waitForWrites(std::chrono::seconds(10)));
}

QStringList missedSums(const MistakesSheet& sheet) {
    QStringList out;
    for (const MistakesSheet::Item& item : sheet.items()) {
        if (item.missed) {
            out << item.fact.sheetText();
        }
    }
    out.sort();
    return out;
}

TEST(ClassSheets, EachPupilGetsTheirOwnMissedSumsInListOrderWithNameNumberAndKey) {
    Built built;
    ASSERT_TRUE(built.journal.opened);
    fill(built, kClass);
    const ClassSheets sheets = ClassSheets::build(built.list, built.journal.queries, kNow, 7);
    ASSERT_TRUE(sheets.error().isEmpty()) << sheets.error().toStdString();

    std::vector<const PupilCase*> withSheet;
    QStringList without;
    for (const PupilCase& p : kClass) {
        if (!p.missedOnSheet.isEmpty()) {
            withSheet.push_back(&p);
        } else if (!p.left) {
            without << p.name;
        }
    }
    ASSERT_EQ(sheets.sheets().size(), withSheet.size());
    const std::vector<Sheet> pages = sheets.pages();
    ASSERT_EQ(pages.size(), 2 * withSheet.size());
    for (std::size_t i = 0; i < withSheet.size(); ++i) {
        const PupilCase& p = *withSheet[i];
        const ClassSheets::PupilSheets& s = sheets.sheets()[i];
        SCOPED_TRACE(p.name.toStdString());
        EXPECT_EQ(s.pupil.pupil.name, p.name);
        QStringList expected = p.missedOnSheet;
        expected.sort();
        EXPECT_EQ(missedSums(s.mistakes), expected);
        // The same sheet as `worksheet --from-mistakes` makes of that pupil alone.
        const MistakesSheet alone =
            MistakesSheet::build(built.journal.queries.missedFacts(s.pupil.id, sheets.span(), 200));
        ASSERT_EQ(alone.items().size(), s.mistakes.items().size());
        for (std::size_t k = 0; k < alone.items().size(); ++k) {
            EXPECT_EQ(alone.items()[k].fact, s.mistakes.items()[k].fact);
        }
        const Sheet& sheet = pages[2 * i];
        const Sheet& key = pages[2 * i + 1];
        EXPECT_TRUE(sheet.cell(2, 1).text.contains(p.name));
        EXPECT_TRUE(key.cell(2, 1).text.contains(p.name));
        EXPECT_EQ(sheet.copyMark, QStringLiteral("学号 ") + p.number);
        EXPECT_EQ(key.copyMark, sheet.copyMark);
        EXPECT_EQ(sheet.cell(1, 1).text, MistakesSheet::title());
        EXPECT_EQ(key.cell(1, 1).text, MistakesSheet::title() + QStringLiteral("（答案）"));
    }
    QStringList told;
    for (const ListedPupil& l : sheets.withoutMistakes()) {
        told << l.pupil.name;
    }
    EXPECT_EQ(told, without);
}

TEST(ClassSheets, TheDaysReachBackOverWholeDays) {
    const struct {
        int days;
        int sheets;  // of kClass: 王小明 and 李丽 within 3 days, 周杰 at 6, 赵一 at 10
    } cases[] = {{1, 1}, {3, 2}, {7, 3}, {11, 4}};
    Built built;
    fill(built, kClass);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.days);
        const ClassSheets sheets =
            ClassSheets::build(built.list, built.journal.queries, kNow, c.days);
        EXPECT_EQ(static_cast<int>(sheets.sheets().size()), c.sheets);
        EXPECT_EQ(sheets.span().from, kNow.date().addDays(1 - c.days).startOfDay());
        EXPECT_EQ(sheets.span().to, kNow.date().addDays(1).startOfDay());
    }
}

TEST(ClassSheets, ARefusedReadLeavesNothingButWhy) {
    Built built;
    fill(built, kClass);
    built.list.refusal = QStringLiteral("permission denied for table answers");
    const ClassSheets sheets = ClassSheets::build(built.list, built.journal.queries, kNow, 7);
    EXPECT_EQ(sheets.error(), built.list.refusal);
    EXPECT_TRUE(sheets.isEmpty());
    EXPECT_TRUE(sheets.withoutMistakes().isEmpty());
}

TEST(ClassSheets, ThePdfAndThePreviewHoldASheetAndAKeyForEachPupilWithMistakes) {
    Built built;
    fill(built, kClass);
    const ClassSheets sheets = ClassSheets::build(built.list, built.journal.queries, kNow, 7);
    const QString path = built.journal.path(QStringLiteral("class.pdf"));
    QString error;
    ASSERT_TRUE(sheets.writePdf(path, &error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // SUMBROOK_SHOT_DIR keeps the file there, to look at.
    if (const QByteArray dir = qgetenv("SUMBROOK_SHOT_DIR"); !dir.isEmpty()) {
        QFile::remove(QString::fromLocal8Bit(dir) + "/class-sheets.pdf");
        QFile::copy(path, QString::fromLocal8Bit(dir) + "/class-sheets.pdf");
    }
    EXPECT_TRUE(file.readAll().contains("/Count 6"));

    QWidget parent;
    PrintoutPreview* preview = sheets.openPreview(&parent);
    auto* widget = preview->dialog()->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(widget, nullptr);
    widget->updatePreview();
    EXPECT_EQ(widget->pageCount(), 6);
}

}  // namespace
}  // namespace sumbrook
