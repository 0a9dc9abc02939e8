#include <gtest/gtest.h>
#include <QRegularExpression>

#include <map>
#include <set>

#include "worksheet/core/add_sub_questions.h"
#include "worksheet/core/generation_error.h"

namespace sumbrook {
namespace {

// A question read back: numbers n, signs ("+", "-+" …) and its value left to right.
struct Sum {
    std::vector<int> n;
    QString s;
    int v = 0;
};

Sum parse(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^([1-9]\\d*) ([＋－]) ([1-9]\\d*|0)(?: ([＋－]) ([1-9]\\d*))? ＝$"));
    const QRegularExpressionMatch m = pattern.match(text);
    EXPECT_TRUE(m.hasMatch()) << text.toStdString();
    Sum sum{{m.captured(1).toInt()}, {}, m.captured(1).toInt()};
    for (int group : {2, 4}) {
        if (m.hasCaptured(group)) {
            const bool plus = m.captured(group) == QStringLiteral("＋");
            sum.n.push_back(m.captured(group + 1).toInt());
            sum.s += plus ? u'+' : u'-';
            sum.v += plus ? sum.n.back() : -sum.n.back();
        }
    }
    return sum;
}

QuestionList generate(const std::map<int, double>& tagCounts, std::uint32_t tick) {
    WorksheetCounts counts;
    for (const auto& [tag, n] : tagCounts) {
        counts.setCount(tag, n);
    }
    FixedTickSource ticks(tick);
    WorksheetRandom random(ticks);
    QuestionList list;
    GenerateAddSubQuestions(counts, random, list);
    return list;
}

// What each subtype promises of its numbers n, signs s and value v.
bool keepsItsPromise(int tag, const Sum& q) {
    const std::vector<int>& n = q.n;
    const int v = q.v;
    switch (tag) {
        case 1:
            return q.s == "+" ? n[0] <= 9 && v <= 10 : q.s == "-" && n[0] >= 4 && v >= 0;
        case 2:  // with a = 10 the bounds 1 and 0 swap, so b is 0 or 1
            return q.s == "++" && n[0] + n[1] <= std::max(10, n[0] + 1) && n[2] >= 5 && n[2] <= 10;
        case 3:
            return q.s == "+-" ? v >= (n[0] + n[1] > 10 ? 10 : 0) : q.s == "-+" && v <= 20;
        case 4:
            return q.s == "+" && n[0] <= 10 && v >= 11 && v <= 20;
        case 5:
            return q.s == "+" && n[1] % 10 == 0 && v <= 100;
        case 6:
            return q.s == "+" && n[1] >= 3 && n[1] <= 9 &&
                   (n[0] % 10 == 0 || n[0] % 10 + n[1] >= 10);
        case 7:
            return q.s == "-" && n[0] <= 18 && v < 10;
        case 8:
            return q.s == "+" && n[1] >= 11 && v <= 100;
        case 9:
            return q.s == "-" && n[1] > 10 && n[1] % 10 < n[0] % 10 && v >= 10;
        case 10:
            return q.s == "-" && n[1] >= 10 && n[1] % 10 > n[0] % 10 && v > 0;
    }
    return false;
}

TEST(AddSubQuestions, EverySubtypeKeepsItsPromiseAndItsAnswersAreRight) {
    for (int tag = 1; tag <= 10; ++tag) {
        for (std::uint32_t tick = 0; tick < 20'000; tick += 1'999) {
            const QuestionList list = generate({{tag, 30}}, tick);
            ASSERT_EQ(list.size(), 30);
            for (const WorksheetQuestion& q : list.items()) {
                const Sum sum = parse(q.text);
                EXPECT_TRUE(keepsItsPromise(tag, sum)) << tag << ": " << q.text.toStdString();
                EXPECT_EQ(q.answer, QString::number(sum.v));
            }
        }
    }
}

TEST(AddSubQuestions, TagsOneAndThreeSwitchFormPartWay) {
    const std::map<std::pair<int, double>, QString> rows = {
        {{1, 0}, ""},          {{1, 1}, "+"},           {{1, 3}, "++-"},
        {{3, 1}, "+-"},        {{1, 10}, "++++++----"}, {{3, 5}, "+-+-+--+-+"},
        {{7, 2 + 5e-8}, "--"},  // within the tolerance of 2
    };
    for (const auto& [row, signs] : rows) {
        QString seen;
        const QuestionList list = generate({row}, 77777);
        for (const WorksheetQuestion& q : list.items()) {
            seen += parse(q.text).s;
        }
        EXPECT_EQ(seen.toStdString(), signs.toStdString()) << row.first << " × " << row.second;
    }
}

TEST(AddSubQuestions, NoTextTwiceOnASheetAndNoEndlessDrawing) {
    // Tags 5 and 8 can draw the same sum; the list keeps it once.
    for (std::uint32_t tick = 0; tick < 100'000; tick += 2'003) {
        const QuestionList list = generate({{5, 30}, {8, 30}}, tick);
        std::set<QString> texts;
        for (const WorksheetQuestion& q : list.items()) {
            texts.insert(q.text);
        }
        EXPECT_EQ(texts.size(), 60u);
    }
    EXPECT_EQ(generate({{7, 36}}, 3).size(), 36);  // every borrowing subtraction within 20
    try {
        generate({{7, 40}}, 3);
        ADD_FAILURE() << "no error";
    } catch (const GenerationError& e) {
        const QString what = QString::fromUtf8(e.what());
        EXPECT_TRUE(what.contains(QStringLiteral("★　20以内退位减法"))) << e.what();
        EXPECT_TRUE(what.contains(QStringLiteral("36 of the 40"))) << e.what();
    }
    EXPECT_THROW(generate({{1, 100}}, 3), GenerationError);  // 51 additions, only 45 exist
}

}  // namespace
}  // namespace sumbrook
