// A review run ("错题复习") through the practice loop: its questions on the screens of
// their kinds, told to the observer as a review, and the progress store left as it was.
#include <gtest/gtest.h>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "practice/core/clock_generator.h"
#include "practice/core/money_generator.h"
#include "practice/core/practice_loop.h"
#include "support/fake_sound_channel.h"
#include "support/manual_clock.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

class ReviewLog final : public PracticeObserver {
  public:
    void runStarted(int) override { log << "run"; }
    void answered(const AnswerReport& a) override {
        log << QStringLiteral("%1 %2%3").arg(a.xiangm).arg(a.right ? "right" : "wrong",
                                                           a.review ? " review" : "");
    }
    void completed(int, std::int64_t) override { log << "run"; }
    void reviewStarted() override { log << "started"; }
    void reviewCompleted(std::int64_t ms) override {
        log << QStringLiteral("completed %1").arg(ms);
    }
    void reviewEnded() override { log << "ended"; }
    QStringList log;
};

ReviewQuestion sum(int a, int xiangm = 13) {  // a + 1 = □
    return {TwoNumberQuestion{QString::number(a), "+", "1", "", BlankPosition::Result, a + 1},
            xiangm};
}

struct Case {
    const char* name;
    std::vector<ReviewQuestion> questions;
    std::string acts;  // r right, w wrong (each 2 s), n "下一题", b "返回"
    Screen screen;     // where the acts leave the child
    QStringList log;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class ReviewRun : public ::testing::TestWithParam<Case> {
  protected:
    ReviewRun() {
        loop.setObserver(&observer);
        loop.setReviewSource([this] { return due; });
        loop.start();
        for (int i = 0; i < PracticeLoop::kIntroSteps; ++i) {
            loop.step();
        }
    }
    void type(int number) {
        for (const QChar c : QString::number(number)) {
            loop.typeDigit(c.unicode() - u'0');
        }
    }
    void answer(bool right) {
        const Question& q = *loop.question();
        if (const auto* shown = std::get_if<ClockQuestion>(&q)) {
            type(shown->deshu);
            loop.confirm();
            type(right ? shown->deshu0 : (shown->deshu0 + 30) % 60);
        } else {
            type(expectedAnswer(q) + (right ? 0 : 1));
        }
        clock.advance(2000);
        loop.confirm();
    }
    QByteArray storeBytes() {
        records.flush();
        QFile file(store.filePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    ProgressStore store{dir.path()};
    ProgressRecords records{store};
    testing::ManualClock clock;
    SeededUniformSource source{3};
    testing::FakeSoundChannel channel;
    PracticeLoop loop{records, clock, source, channel};
    ReviewLog observer;
    std::vector<ReviewQuestion> due;
};

// The run is its questions, once each: after the last (a wrong one first shows its right
// answer) the completion screen; "返回" leaves it midway.
TEST_P(ReviewRun, AsksItsQuestionsThenCompletesAndLeavesTheStoreAlone) {
    const Case& c = GetParam();
    const QByteArray before = storeBytes();
    due = c.questions;
    loop.refreshReview();
    ASSERT_TRUE(loop.reviewOffered());
    loop.chooseReview();
    for (const char act : c.acts) {
        ASSERT_TRUE(loop.inReview());
        EXPECT_EQ(loop.levelText(), QStringLiteral("错题复习"));
        act == 'n' ? loop.nextQuestion() : act == 'b' ? loop.back() : answer(act == 'r');
    }
    EXPECT_EQ(loop.screen(), c.screen);
    EXPECT_EQ(observer.log, QStringList{"started"} + c.log);
    loop.screen() == Screen::Fen100 ? loop.confirm() : loop.back();
    EXPECT_EQ(loop.screen(), Screen::Zhongmulu);
    EXPECT_EQ(observer.log.back(), "ended");
    EXPECT_TRUE(loop.reviewOffered());  // asked again: the source still gives them
    EXPECT_FALSE(loop.newRecord());
    EXPECT_EQ(loop.tishuLs(), 0);
    EXPECT_EQ(storeBytes(), before);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Ways, ReviewRun, ::testing::Values(
    Case{"two_number_last_wrong", {sum(7, 13), sum(9, 6)}, "rnw", Screen::Chuo,
         {"13 right review", "6 wrong review"}},
    Case{"expression_last_wrong", {{ExpressionQuestion{"3 + 4 - 2", 5}, 32},
         {ExpressionQuestion{"10 - 3 + 2", 9}, 33}}, "rnw", Screen::Chuo2,
         {"32 right review", "33 wrong review"}},
    Case{"money_last_right", {{MoneyGenerator::forPicture(7), 37},
         {MoneyGenerator::forPicture(20), 37}}, "wnr", Screen::Fen100,
         {"37 wrong review", "37 right review", "completed 4000"}},
    Case{"clock_last_wrong_then_next", {{ClockGenerator::forTime(3, 15), 36},
         {ClockGenerator::forTime(12, 45), 36}}, "wnwn", Screen::Fen100,
         {"36 wrong review", "36 wrong review", "completed 4000"}},
    Case{"passed_over", {sum(1), sum(2)}, "nn", Screen::Fen100, {"completed 0"}},
    Case{"left_midway", {sum(1), sum(2)}, "rnb", Screen::Zhongmulu, {"13 right review", "ended"}}),
    [](const ::testing::TestParamInfo<Case>& row) { return std::string(row.param.name); });
// clang-format on

TEST_F(ReviewRun, NotOfferedWithoutQuestionsAndNeverALevelOfTheGame) {
    loop.chooseReview();
    EXPECT_EQ(loop.screen(), Screen::Zhongmulu);
    due = {sum(4)};
    loop.chooseGameMode();
    loop.back();  // the map back to the main menu, which asks the source again
    loop.chooseReview();
    answer(true);
    loop.confirm();
    EXPECT_EQ(loop.screen(), Screen::Zhongmulu);
    EXPECT_EQ(loop.gameLevel(), 0);
}

}  // namespace
}  // namespace sumbrook
