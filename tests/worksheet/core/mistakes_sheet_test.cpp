#include "worksheet/core/mistakes_sheet.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

#include "common/uniform_source.h"
#include "practice/core/question_generator.h"
#include "support/qstring_printer.h"
#include "worksheet/core/exercise_fact_rules.h"

namespace sumbrook {
namespace {

MissedFact missed(int exercise, const QString& shown, const QString& expected, int times = 1) {
    MissedFact f;
    f.exercise = exercise;
    f.shown = shown;
    f.expected = expected;
    f.asked = times + 1;
    f.missed = times;
    return f;
}

// Checks a printed key line by plain arithmetic, independently of the sheet's code:
// "（7） ＋ 8 ＝ 15" and "7 ＋ 8 ＝ 15" both hold when the left side makes the right.
bool keyLineHolds(QString line) {
    line.replace(QRegularExpression(QStringLiteral("（(\\d+)）")), QStringLiteral("\\1"));
    const QStringList sides = line.split(QStringLiteral(" ＝ "));
    if (sides.size() != 2) {
        return false;
    }
    const QStringList tokens = sides[0].split(u' ');
    int value = tokens.value(0).toInt();
    for (int i = 1; i + 1 < tokens.size(); i += 2) {
        const int n = tokens[i + 1].toInt();
        value += tokens[i] == QStringLiteral("＋") ? n : -n;
    }
    return value == sides[1].toInt();
}

struct ShownCase {
    int exercise;
    const char* shown;
    const char* expected;
    const char* sheetText;
    const char* keyText;
};

// One missed question of each kind the scene asks, as it showed it.
const ShownCase kShown[] = {
    {4, "7 + 2 = □", "9", "7 ＋ 2 ＝", "7 ＋ 2 ＝ 9"},
    {12, "15 - 8 = □", "7", "15 － 8 ＝", "15 － 8 ＝ 7"},
    {14, "13 − 6 =", "7", "13 － 6 ＝", "13 － 6 ＝ 7"},
    {7, "□ + 3 = 9", "6", "（　　） ＋ 3 ＝ 9", "（6） ＋ 3 ＝ 9"},
    {7, "□ - 4 = 5", "9", "（　　） － 4 ＝ 5", "（9） － 4 ＝ 5"},
    {16, "6 + □ = 14", "8", "6 ＋ （　　） ＝ 14", "6 ＋ （8） ＝ 14"},
    {33, "72 - ( ) = 35", "37", "72 － （　　） ＝ 35", "72 － （37） ＝ 35"},
    {8, "4 + ? = 10", "6", "4 ＋ （　　） ＝ 10", "4 ＋ （6） ＝ 10"},
    {27, "9 - 3 - 2 = □", "4", "9 － 3 － 2 ＝", "9 － 3 － 2 ＝ 4"},
    {32, "12-5+7=", "14", "12 － 5 ＋ 7 ＝", "12 － 5 ＋ 7 ＝ 14"},
    {35, "48 ＋ 25 ＝", "73", "48 ＋ 25 ＝", "48 ＋ 25 ＝ 73"},
};

TEST(MistakesSheet, PrintsEachMissedQuestionAsTheSheetsWriteItWithARightKey) {
    for (const ShownCase& c : kShown) {
        SCOPED_TRACE(c.shown);
        const MistakesSheet sheet = MistakesSheet::build(
            {missed(c.exercise, QString::fromUtf8(c.shown), QString::fromUtf8(c.expected))}, 1);
        ASSERT_EQ(sheet.items().size(), 1u);
        EXPECT_EQ(sheet.sheet().cell(5, 1).text, QString::fromUtf8(c.sheetText));
        EXPECT_EQ(sheet.answerKey().cell(5, 1).text, QString::fromUtf8(c.keyText));
        EXPECT_TRUE(keyLineHolds(sheet.answerKey().cell(5, 1).text));
    }
}

TEST(MistakesSheet, LeavesOutWhatItCannotPrintRightAndSaysSo) {
    const MistakesSheet sheet = MistakesSheet::build({
        missed(36, QStringLiteral("3点15分"), QStringLiteral("3")),
        missed(37, QStringLiteral("5角"), QStringLiteral("5")),
        missed(4, QStringLiteral("7 + 2 = □"), QStringLiteral("8")),    // the answer disagrees
        missed(4, QStringLiteral("7 + 2 = 10"), QStringLiteral("10")),  // so does the result
        missed(7, QStringLiteral("□ + □ = 9"), QStringLiteral("4")),    // nothing to solve
        missed(5, QStringLiteral("3 - 8 = □"), QStringLiteral("-5")),   // below zero
        missed(5, QStringLiteral("hello"), QStringLiteral("1")),
    });
    EXPECT_TRUE(sheet.isEmpty());
    EXPECT_EQ(sheet.clockFactsLeftOut(), 1);
    EXPECT_EQ(sheet.moneyFactsLeftOut(), 1);
    EXPECT_EQ(sheet.unreadableLeftOut(), 5);
    EXPECT_EQ(sheet.leftOutNote(),
              "认识时间的错题 1 道、认识人民币的错题 1 道、无法印成算式的错题 5 道"
              "没有印在卷上，请在练习中再做。");
    EXPECT_EQ(MistakesSheet::build({missed(4, QStringLiteral("1 + 1 ="), QStringLiteral("2"))})
                  .leftOutNote(),
              "");
}

TEST(MistakesSheet, HoldsOnlyMissedFactsEachOnceInTheirRankWhenThereAreEnough) {
    QVector<MissedFact> facts;
    for (int a = 1; a <= 9; ++a) {
        for (int b = 1; a + b <= 10; ++b) {
            facts.append(
                missed(4, QStringLiteral("%1 + %2 = □").arg(a).arg(b), QString::number(a + b)));
        }
    }
    // The same fact missed in another exercise, and shown another way, prints once.
    facts.insert(1, missed(13, QStringLiteral("1 ＋ 1 ＝"), QStringLiteral("2")));
    facts.insert(2, missed(6, QStringLiteral("1+2="), QStringLiteral("3")));
    ASSERT_GT(facts.size(), MistakesSheet::kCapacity);

    const MistakesSheet sheet = MistakesSheet::build(facts);
    ASSERT_EQ(sheet.items().size(), static_cast<std::size_t>(MistakesSheet::kCapacity));
    EXPECT_EQ(sheet.missedCount(), MistakesSheet::kCapacity);
    const Sheet paper = sheet.sheet(QStringLiteral("小明"));
    const Sheet key = sheet.answerKey(QStringLiteral("小明"));
    QSet<QString> texts;
    for (int i = 0; i < MistakesSheet::kCapacity; ++i) {
        const int row = 5 + i / 2;
        const int column = i % 2 + 1;
        const QString text = paper.cell(row, column).text;
        EXPECT_FALSE(texts.contains(text)) << text.toStdString();
        texts.insert(text);
        EXPECT_TRUE(keyLineHolds(key.cell(row, column).text))
            << key.cell(row, column).text.toStdString();
    }
    EXPECT_EQ(paper.cell(5, 1).text, "1 ＋ 1 ＝");
    EXPECT_EQ(paper.cell(5, 2).text, "1 ＋ 2 ＝");
    EXPECT_EQ(paper.cell(6, 1).text, "1 ＋ 3 ＝");
    EXPECT_EQ(paper.cell(1, 1).text, "错题练习");
    EXPECT_EQ(key.cell(1, 1).text, "错题练习（答案）");
    EXPECT_TRUE(paper.cell(2, 1).text.contains(QStringLiteral("姓名: 小明 ")));
    EXPECT_TRUE(paper.cell(2, 1).text.endsWith(QStringLiteral("年   月   日")));
}

TEST(MistakesSheet, TopsUpAFewMissesWithDistinctNeighboursOfTheirExercise) {
    const QVector<MissedFact> facts{
        missed(13, QStringLiteral("7 + 8 = □"), QStringLiteral("15"), 3),
        missed(12, QStringLiteral("13 - 6 = □"), QStringLiteral("7"), 2),
        missed(7, QStringLiteral("□ + 3 = 9"), QStringLiteral("6")),
    };
    const MistakesSheet sheet = MistakesSheet::build(facts);
    ASSERT_EQ(sheet.items().size(), static_cast<std::size_t>(MistakesSheet::kCapacity));
    ASSERT_EQ(sheet.missedCount(), 3);
    // The missed facts first, then the nearest neighbours of each in turn.
    EXPECT_EQ(sheet.items()[0].fact.sheetText(), "7 ＋ 8 ＝");
    EXPECT_EQ(sheet.items()[3].fact.sheetText(), "7 ＋ 9 ＝");
    EXPECT_EQ(sheet.items()[6].fact.sheetText(), "6 ＋ 8 ＝");
    QSet<QString> texts;
    for (const auto& item : sheet.items()) {
        SCOPED_TRACE(item.fact.sheetText().toStdString());
        EXPECT_TRUE(ExerciseFactRules::fits(item.exercise, item.fact));
        EXPECT_FALSE(texts.contains(item.fact.sheetText()));
        texts.insert(item.fact.sheetText());
        EXPECT_TRUE(keyLineHolds(item.fact.keyText()));
        EXPECT_TRUE(item.exercise == 13 || item.exercise == 12 || item.exercise == 7);
    }
    EXPECT_TRUE(texts.contains(QStringLiteral("8 ＋ 7 ＝")));
}

struct NeighbourCase {
    int exercise;
    const char* shown;
    std::vector<const char*> nearest;  // the first neighbours, in order
};

const NeighbourCase kNeighbours[] = {
    {13, "7 + 8 =", {"7 ＋ 9 ＝", "6 ＋ 8 ＝", "8 ＋ 7 ＝", "7 ＋ 7 ＝", "8 ＋ 8 ＝"}},
    // Within 5: 4 + 1 has no room upwards.
    {1, "4 + 1 =", {"3 ＋ 1 ＝", "1 ＋ 4 ＝", "3 ＋ 2 ＝"}},
    // Crossing ten must still cross ten and borrowing must still borrow.
    {11, "9 + 2 =", {"9 ＋ 3 ＝", "2 ＋ 9 ＝"}},
    {12, "11 - 2 =", {"11 － 3 ＝", "12 － 3 ＝"}},
    // Make ten keeps its ten: the pair moves together.
    {8, "3 + □ = 10", {"7 ＋ （　　） ＝ 10", "4 ＋ （　　） ＝ 10", "2 ＋ （　　） ＝ 10"}},
    // Whole tens move by ten.
    {19, "30 + 40 =", {"30 ＋ 50 ＝", "20 ＋ 40 ＝", "40 ＋ 30 ＝"}},
};

TEST(ExerciseFactRules, NeighboursAreTheNearestFactsOfTheSameExercise) {
    for (const NeighbourCase& c : kNeighbours) {
        SCOPED_TRACE(c.shown);
        const auto fact = ArithmeticFact::parse(QString::fromUtf8(c.shown));
        ASSERT_TRUE(fact);
        const auto near = ExerciseFactRules::neighbours(c.exercise, *fact);
        ASSERT_GE(near.size(), c.nearest.size());
        for (std::size_t i = 0; i < c.nearest.size(); ++i) {
            EXPECT_EQ(near[i].sheetText(), QString::fromUtf8(c.nearest[i]));
        }
    }
}

// Every question the practice scene draws is a fact of its exercise, and every
// neighbour of one is too: distinct, not the question itself, its answer right.
TEST(ExerciseFactRules, AcceptEveryDrawnQuestionAndStayInsideTheExercise) {
    SeededUniformSource source(20261209);
    for (int exercise = 1; exercise <= 35; ++exercise) {
        SCOPED_TRACE(exercise);
        for (int draw = 0; draw < 400; ++draw) {
            const Question q = QuestionGenerator::generate(exercise, source);
            QString shown;
            if (const auto* two = std::get_if<TwoNumberQuestion>(&q)) {
                auto side = [](const QString& s) { return s.isEmpty() ? QStringLiteral("□") : s; };
                shown = side(two->xian1) + u' ' + two->xian_fu + u' ' + side(two->xian2) +
                        QStringLiteral(" = ") +
                        (two->blank == BlankPosition::Result ? QStringLiteral("□") : two->xian4);
            } else {
                shown = std::get<ExpressionQuestion>(q).xian1 + QStringLiteral(" = □");
            }
            const auto fact = ArithmeticFact::parse(shown);
            ASSERT_TRUE(fact) << shown.toStdString();
            ASSERT_EQ(fact->answer(), expectedAnswer(q)) << shown.toStdString();
            ASSERT_TRUE(ExerciseFactRules::fits(exercise, *fact)) << shown.toStdString();
            const auto near = ExerciseFactRules::neighbours(exercise, *fact);
            QSet<QString> seen;
            for (const ArithmeticFact& n : near) {
                ASSERT_TRUE(ExerciseFactRules::fits(exercise, n)) << n.sheetText().toStdString();
                ASSERT_FALSE(n == *fact);
                ASSERT_FALSE(seen.contains(n.sheetText()));
                seen.insert(n.sheetText());
                ASSERT_TRUE(keyLineHolds(n.keyText())) << n.keyText().toStdString();
            }
        }
    }
    // The clock and the money have no written sums.
    EXPECT_FALSE(ExerciseFactRules::fits(36, *ArithmeticFact::parse(QStringLiteral("1 + 1 ="))));
}

}  // namespace
}  // namespace sumbrook
