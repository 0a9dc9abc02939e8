// A review run ("错题复习") played through the practice loop: the questions its source
// gives, on the screens of their kinds, told to the observer as a review, and the progress
// store left exactly as it was.
#include <gtest/gtest.h>
#include <QFile>
#include <QRegularExpression>
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
    void runStarted(int xiangm) override { log << QStringLiteral("start %1").arg(xiangm); }
    void answered(const AnswerReport& a) override {
        log << QStringLiteral("answer %1 %2%3")
                   .arg(a.xiangm)
                   .arg(a.right ? QStringLiteral("right") : QStringLiteral("wrong"))
                   .arg(a.review ? QStringLiteral(" review") : QString());
    }
    void completed(int xiangm, std::int64_t) override {
        log << QStringLiteral("completed %1").arg(xiangm);
    }
    void runEnded(int xiangm) override { log << QStringLiteral("end %1").arg(xiangm); }
    void reviewStarted() override { log << QStringLiteral("review started"); }
    void reviewCompleted(std::int64_t ms) override {
        log << QStringLiteral("review completed %1ms").arg(ms);
    }
    void reviewEnded() override { log << QStringLiteral("review ended"); }

    QStringList log;
};

class ReviewRunTest : public ::testing::Test {
  protected:
    ReviewRunTest() {
        loop.setObserver(&observer);
        loop.setReviewSource([this] {
            ++asked;
            return due;
        });
        loop.start();
        for (int i = 0; i < PracticeLoop::kIntroSteps; ++i) {
            loop.step();
        }
        records.flush();
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
    // The main menu shown again, so that it asks the source for what is due now.
    void offer(std::vector<ReviewQuestion> questions) {
        due = std::move(questions);
        loop.refreshReview();
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
    int asked = 0;
};

struct KindCase {
    const char* kind;
    ReviewQuestion first;
    ReviewQuestion second;
    QuestionScreen screen;
};

void PrintTo(const KindCase& c, std::ostream* out) {
    *out << c.kind;
}

class ReviewOfEachKind : public ReviewRunTest, public ::testing::WithParamInterface<KindCase> {};

// Wrong, then right on the last question: the answer screens of the kind, then straight to
// the completion screen, as the last right answer of an exercise goes.
TEST_P(ReviewOfEachKind, AsksItsQuestionsOnTheirScreenAndLeavesTheStoreAlone) {
    const KindCase& c = GetParam();
    const QByteArray before = storeBytes();
    offer({c.first, c.second});
    ASSERT_TRUE(loop.reviewOffered());

    loop.chooseReview();
    ASSERT_EQ(loop.screen(), questionScreenOf(c.screen));
    EXPECT_TRUE(loop.inReview());
    EXPECT_EQ(loop.levelText(), QStringLiteral("错题复习"));
    EXPECT_EQ(loop.bestTimeText(), QStringLiteral("—"));
    answer(false);
    EXPECT_EQ(loop.screen(), wrongAnswerScreenOf(c.screen));
    EXPECT_EQ(loop.fenshu(), 0);
    loop.nextQuestion();
    ASSERT_EQ(loop.screen(), questionScreenOf(c.screen));
    EXPECT_EQ(shownQuestionText(*loop.question()), shownQuestionText(c.second.question));
    answer(true);
    ASSERT_EQ(loop.screen(), Screen::Fen100);
    EXPECT_EQ(loop.completionMs(), 4000);
    EXPECT_FALSE(loop.newRecord());
    EXPECT_EQ(loop.b320(), 0);
    EXPECT_EQ(loop.tishu(), 2);
    EXPECT_EQ(loop.tishudui(), 1);
    EXPECT_EQ(loop.reviewRight(), 1);
    EXPECT_EQ(loop.reviewLength(), 2);
    loop.confirm();
    EXPECT_EQ(loop.screen(), Screen::Zhongmulu);
    EXPECT_FALSE(loop.inReview());

    EXPECT_EQ(observer.log,
              (QStringList{QStringLiteral("review started"),
                           QStringLiteral("answer %1 wrong review").arg(c.first.xiangm),
                           QStringLiteral("answer %1 right review").arg(c.second.xiangm),
                           "review completed 4000ms", "review ended"}));
    EXPECT_EQ(loop.tishuLs(), 0);
    EXPECT_EQ(loop.tishuduiLs(), 0);
    EXPECT_EQ(records.bestTime(c.first.xiangm), ProgressRecords::kNoBestTime);
    EXPECT_EQ(loop.gameLevel(), 0);
    EXPECT_EQ(storeBytes(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ReviewOfEachKind,
    ::testing::Values(KindCase{"two_number",
                               {TwoNumberQuestion{"7", "+", "", "15", BlankPosition::Right, 8}, 13},
                               {TwoNumberQuestion{"9", "-", "4", "", BlankPosition::Result, 5}, 6},
                               QuestionScreen::Jia},
                      KindCase{"expression",
                               {ExpressionQuestion{"3 + 4 - 2", 5}, 32},
                               {ExpressionQuestion{"10 - 3 + 2", 9}, 33},
                               QuestionScreen::Lianjia},
                      KindCase{"money",
                               {MoneyGenerator::forPicture(7), 37},
                               {MoneyGenerator::forPicture(20), 37},
                               QuestionScreen::Rmb},
                      KindCase{"clock",
                               {ClockGenerator::forTime(3, 15), 36},
                               {ClockGenerator::forTime(12, 45), 36},
                               QuestionScreen::Shijian}),
    [](const ::testing::TestParamInfo<KindCase>& row) { return std::string(row.param.kind); });

// How a review ends: each row a child's way through it, and where it leaves the child.
enum class Act { Right, Wrong, Next, Back };

struct EndCase {
    const char* name;
    int questions;
    std::vector<Act> acts;
    Screen screen;     // after the acts
    int answersRight;  // told to the observer
    bool completed;    // reviewCompleted was told
};

void PrintTo(const EndCase& c, std::ostream* out) {
    *out << c.name;
}

std::vector<Act> repeated(int times, std::vector<Act> acts) {
    std::vector<Act> all;
    for (int i = 0; i < times; ++i) {
        all.insert(all.end(), acts.begin(), acts.end());
    }
    return all;
}

class ReviewEnds : public ReviewRunTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(ReviewEnds, AtItsLastQuestionAtAFullScoreOrWhenLeft) {
    const EndCase& c = GetParam();
    const QByteArray before = storeBytes();
    std::vector<ReviewQuestion> questions;
    for (int i = 0; i < c.questions; ++i) {
        questions.push_back(
            {TwoNumberQuestion{QString::number(i), "+", "1", "", BlankPosition::Result, i + 1},
             1 + i % 7});
    }
    offer(questions);
    loop.chooseReview();
    for (const Act act : c.acts) {
        ASSERT_TRUE(loop.inReview());
        switch (act) {
            case Act::Right:
            case Act::Wrong:
                answer(act == Act::Right);
                break;
            case Act::Next:
                loop.nextQuestion();
                break;
            case Act::Back:
                loop.back();
                break;
        }
    }
    EXPECT_EQ(loop.screen(), c.screen);
    EXPECT_EQ(observer.log.filter(QStringLiteral("right review")).size(), c.answersRight);
    EXPECT_EQ(observer.log.filter(QStringLiteral("review completed")).size(), c.completed ? 1 : 0);
    if (loop.screen() == Screen::Fen100) {
        loop.confirm();
    } else {
        loop.back();
    }
    EXPECT_EQ(loop.screen(), Screen::Zhongmulu);
    EXPECT_EQ(observer.log.filter(QStringLiteral("review ended")).size(), 1);
    EXPECT_EQ(observer.log.filter(QRegularExpression(QStringLiteral("^(start|completed|end) "))),
              QStringList());
    EXPECT_EQ(storeBytes(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ReviewEnds,
    ::testing::Values(
        // The wrong last answer shows its right answer first; "下一题" then completes.
        EndCase{"last_wrong", 2, {Act::Right, Act::Next, Act::Wrong}, Screen::Chuo, 1, false},
        EndCase{"last_wrong_then_next",
                2,
                {Act::Right, Act::Next, Act::Wrong, Act::Next},
                Screen::Fen100,
                1,
                true},
        // "下一题" on a question passes it over, unanswered; past the last, completion.
        EndCase{"passed_over", 3, {Act::Next, Act::Next, Act::Next}, Screen::Fen100, 0, true},
        EndCase{"all_twenty_right", 20, repeated(20, {Act::Right, Act::Next}), Screen::Fen100, 20,
                true},
        // More questions than a full score needs: 100 ends it as in an exercise.
        EndCase{"full_score_first", 25, repeated(20, {Act::Right, Act::Next}), Screen::Fen100, 20,
                true},
        EndCase{"left_on_a_question",
                3,
                {Act::Right, Act::Next, Act::Back},
                Screen::Zhongmulu,
                1,
                false},
        EndCase{"left_on_an_answer", 3, {Act::Wrong, Act::Back}, Screen::Zhongmulu, 0, false}),
    [](const ::testing::TestParamInfo<EndCase>& row) { return std::string(row.param.name); });

TEST_F(ReviewRunTest, OfferedOnlyWhileItsSourceGivesQuestionsAndAskedEachTimeTheMenuComesUp) {
    EXPECT_EQ(asked, 1);  // the main menu came up after the intro
    EXPECT_FALSE(loop.reviewOffered());
    loop.chooseReview();
    EXPECT_EQ(loop.screen(), Screen::Zhongmulu);

    due = {{ExpressionQuestion{"3 + 4 - 2", 5}, 32}};
    loop.chooseGameMode();
    loop.back();  // the map back to the main menu
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(loop.reviewOffered());

    // From the main menu reached through the map: a review, not a level of the game.
    loop.chooseReview();
    EXPECT_FALSE(loop.gameMode());
    due.clear();
    answer(true);
    ASSERT_EQ(loop.screen(), Screen::Fen100);
    loop.confirm();
    EXPECT_EQ(loop.screen(), Screen::Zhongmulu);
    EXPECT_EQ(asked, 3);
    EXPECT_FALSE(loop.reviewOffered());
    EXPECT_EQ(loop.gameLevel(), 0);

    // Closing the program mid-review ends it once.
    offer({{ExpressionQuestion{"3 + 4 - 2", 5}, 32}});
    loop.chooseReview();
    loop.close();
    loop.close();
    EXPECT_EQ(observer.log.filter(QStringLiteral("review ended")).size(), 2);
}

}  // namespace
}  // namespace sumbrook
