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

PracticeFact sum(std::vector<int> numbers, const char* signs, int blank = -1) {
    PracticeFact f;
    f.kind = numbers.size() > 3 ? FactKind::Expression : FactKind::TwoNumber;
    f.blank = blank < 0 ? static_cast<int>(numbers.size()) - 1 : blank;
    f.numbers = std::move(numbers);
    f.signs = QString::fromLatin1(signs);
    return f;
}

PracticeFact clock(int hour, int minute) {
    PracticeFact f;
    f.kind = FactKind::Clock;
    f.hour = hour;
    f.minute = minute;
    return f;
}

MissedFact missed(int exercise, std::optional<PracticeFact> fact, int times = 1) {
    MissedFact f;
    f.exercise = exercise;
    f.fact = std::move(fact);
    f.asked = times + 1;
    f.missed = times;
    return f;
}

// A stand-in for the clock painter that remembers the time it was asked to draw.
class TimeDrawing final : public CellDrawing {
  public:
    TimeDrawing(int h, int m) : hour(h), minute(m) {}
    QSizeF size() const override { return {128, 128}; }
    void paint(QPainter&) const override {}
    bool sameAs(const CellDrawing& other) const override {
        const auto* o = dynamic_cast<const TimeDrawing*>(&other);
        return o && o->hour == hour && o->minute == minute;
    }
    int hour;
    int minute;
};

std::shared_ptr<const CellDrawing> drawTime(int hour, int minute) {
    return std::make_shared<TimeDrawing>(hour, minute);
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

struct FactCase {
    int exercise;
    PracticeFact fact;
    const char* sheetText;
    const char* keyText;
};

// One missed question of each shape the scene asks.
const FactCase kFacts[] = {
    {4, sum({7, 2, 9}, "+"), "7 ＋ 2 ＝", "7 ＋ 2 ＝ 9"},
    {12, sum({15, 8, 7}, "-"), "15 － 8 ＝", "15 － 8 ＝ 7"},
    {7, sum({6, 3, 9}, "+", 0), "（　　） ＋ 3 ＝ 9", "（6） ＋ 3 ＝ 9"},
    {7, sum({9, 4, 5}, "-", 0), "（　　） － 4 ＝ 5", "（9） － 4 ＝ 5"},
    {16, sum({6, 8, 14}, "+", 1), "6 ＋ （　　） ＝ 14", "6 ＋ （8） ＝ 14"},
    {33, sum({72, 37, 35}, "-", 1), "72 － （　　） ＝ 35", "72 － （37） ＝ 35"},
    {27, sum({9, 3, 2, 4}, "--"), "9 － 3 － 2 ＝", "9 － 3 － 2 ＝ 4"},
    {32, sum({12, 5, 7, 14}, "-+"), "12 － 5 ＋ 7 ＝", "12 － 5 ＋ 7 ＝ 14"},
};

TEST(MistakesSheet, PrintsEachMissedFactAsTheSheetsWriteItWithARightKey) {
    for (const FactCase& c : kFacts) {
        SCOPED_TRACE(c.sheetText);
        const MistakesSheet sheet = MistakesSheet::build({missed(c.exercise, c.fact)}, 1);
        ASSERT_EQ(sheet.items().size(), 1u);
        EXPECT_EQ(sheet.sheet().cell(5, 1).text, QString::fromUtf8(c.sheetText));
        EXPECT_EQ(sheet.answerKey().cell(5, 1).text, QString::fromUtf8(c.keyText));
        EXPECT_TRUE(keyLineHolds(sheet.answerKey().cell(5, 1).text));
    }
}

TEST(MistakesSheet, LeavesOutWhatItCannotPrintRightAndSaysSo) {
    PracticeFact money;
    money.kind = FactKind::Money;
    money.picture = 10;
    money.money = 5;
    money.unit = QStringLiteral("角");
    QVector<MissedFact> facts{
        missed(37, money), missed(4, sum({7, 2, 10}, "+")),  // the numbers do not add up
        missed(5, sum({3, 8, -5}, "-")),                     // below zero
        missed(5, std::nullopt),  // an old row the journal could not read
    };
    // Two rows of clock faces at most: the seventh clock is left out.
    for (int hour = 1; hour <= 7; ++hour) {
        facts.append(missed(36, clock(hour, 0)));
    }
    const MistakesSheet sheet = MistakesSheet::build(facts);
    EXPECT_TRUE(sheet.items().empty());
    EXPECT_EQ(sheet.clocks().size(), 6u);
    EXPECT_EQ(sheet.clockFactsLeftOut(), 1);
    EXPECT_EQ(sheet.moneyFactsLeftOut(), 1);
    EXPECT_EQ(sheet.unreadableLeftOut(), 3);
    EXPECT_EQ(sheet.leftOutNote(),
              "认识时间的错题 1 道、认识人民币的错题 1 道、无法印成算式的错题 3 道"
              "没有印在卷上，请在练习中再做。");
    EXPECT_EQ(MistakesSheet::build({missed(4, sum({1, 1, 2}, "+"))}).leftOutNote(), "");
}

// Each missed clock stands under the sums as a face with the clock sheet's blanks, the
// key writing the time into them; the faces take the room of sums, and the page keeps
// its height.
TEST(MistakesSheet, PrintsMissedClocksAsFacesWithBlanksUnderTheSums) {
    const struct {
        int clocks;
        std::size_t sums;  // on the sheet after the neighbours have topped it up
        int faceRow;       // of the first face
    } cases[] = {{1, 24, 17}, {2, 24, 17}, {3, 18, 14}, {6, 12, 11}};
    const QVector<MissedFact> sums{missed(13, sum({7, 8, 15}, "+"), 3),
                                   missed(12, sum({13, 6, 7}, "-"), 2)};
    const Sheet plain = MistakesSheet::build(sums).sheet();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clocks);
        QVector<MissedFact> facts = sums;
        for (int i = 0; i < c.clocks; ++i) {
            facts.append(missed(36, clock(i + 1, 15 * (i % 4))));
        }
        const MistakesSheet built = MistakesSheet::build(facts);
        EXPECT_EQ(built.items().size(), c.sums);
        const Sheet paper = built.sheet(QString(), drawTime);
        const Sheet key = built.answerKey(QString(), drawTime);
        EXPECT_EQ(paper.height(), plain.height());
        EXPECT_EQ(paper.rowHeight(c.faceRow), 3 * plain.rowHeight(5));
        EXPECT_EQ(paper.cell(c.faceRow - 1, 2).text, built.items().back().fact.sheetText());
        for (int i = 0; i < c.clocks; ++i) {
            const SheetCell& cell = paper.cell(c.faceRow + i / 2, i % 2 + 1);
            ASSERT_TRUE(cell.drawing);
            EXPECT_GT(cell.drawing->size().width(), cell.drawing->size().height());
            EXPECT_TRUE(cell.drawing->sameAs(*key.cell(c.faceRow + i / 2, i % 2 + 1).drawing));
            EXPECT_EQ(i > 0, !cell.drawing->sameAs(*paper.cell(c.faceRow, 1).drawing));
            EXPECT_EQ(cell.text, "___时___分\r\n\r\n____:____");
            EXPECT_TRUE(cell.answer.isEmpty());
            const QString time = QStringLiteral("%1|%2|%1|%3")
                                     .arg(i + 1)
                                     .arg(15 * (i % 4))
                                     .arg(15 * (i % 4), 2, 10, QChar(u'0'));
            EXPECT_EQ(key.cell(c.faceRow + i / 2, i % 2 + 1).answer, time);
        }
        EXPECT_EQ(MistakesSheet::clockText(built.clocks().front()), "钟面 1:00");
    }
    // Without a painter the blanks stand alone.
    const Sheet bare = MistakesSheet::build({missed(36, clock(3, 15))}).sheet();
    EXPECT_FALSE(bare.cell(17, 1).drawing);
    EXPECT_EQ(bare.cell(17, 1).text, "___时___分\r\n\r\n____:____");
}

TEST(MistakesSheet, HoldsOnlyMissedFactsEachOnceInTheirRankWhenThereAreEnough) {
    QVector<MissedFact> facts;
    for (int a = 1; a <= 9; ++a) {
        for (int b = 1; a + b <= 10; ++b) {
            facts.append(missed(4, sum({a, b, a + b}, "+")));
        }
    }
    // The same facts missed in other exercises print once.
    facts.insert(1, missed(13, sum({1, 1, 2}, "+")));
    facts.insert(2, missed(6, sum({1, 2, 3}, "+")));
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
        missed(13, sum({7, 8, 15}, "+"), 3),
        missed(12, sum({13, 6, 7}, "-"), 2),
        missed(7, sum({6, 3, 9}, "+", 0)),
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
    PracticeFact fact;
    std::vector<const char*> nearest;  // the first neighbours, in order
};

const NeighbourCase kNeighbours[] = {
    {13, sum({7, 8, 15}, "+"), {"7 ＋ 9 ＝", "6 ＋ 8 ＝", "8 ＋ 7 ＝", "7 ＋ 7 ＝", "8 ＋ 8 ＝"}},
    // Within 5: 4 + 1 has no room upwards.
    {1, sum({4, 1, 5}, "+"), {"3 ＋ 1 ＝", "1 ＋ 4 ＝", "3 ＋ 2 ＝"}},
    // Crossing ten must still cross ten and borrowing must still borrow.
    {11, sum({9, 2, 11}, "+"), {"9 ＋ 3 ＝", "2 ＋ 9 ＝"}},
    {12, sum({11, 2, 9}, "-"), {"11 － 3 ＝", "12 － 3 ＝"}},
    // Make ten keeps its ten: the pair moves together.
    {8,
     sum({3, 7, 10}, "+", 1),
     {"7 ＋ （　　） ＝ 10", "4 ＋ （　　） ＝ 10", "2 ＋ （　　） ＝ 10"}},
    // Whole tens move by ten.
    {19, sum({30, 40, 70}, "+"), {"30 ＋ 50 ＝", "20 ＋ 40 ＝", "40 ＋ 30 ＝"}},
};

TEST(ExerciseFactRules, NeighboursAreTheNearestFactsOfTheSameExercise) {
    for (const NeighbourCase& c : kNeighbours) {
        SCOPED_TRACE(c.fact.key().toStdString());
        const auto fact = ArithmeticFact::of(c.fact);
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
            const QString shown = factOf(q).key();
            const auto fact = ArithmeticFact::of(factOf(q));
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
    EXPECT_FALSE(ExerciseFactRules::fits(36, *ArithmeticFact::of(sum({1, 1, 2}, "+"))));
}

}  // namespace
}  // namespace sumbrook
