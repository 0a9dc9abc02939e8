#include "practice/core/practice_observer.h"

#include <gtest/gtest.h>
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

struct TextCase {
    const char* label;
    Question question;
    QString answer;
    QString minute;
    QString shown;
    QString expected;
    QString typed;
};

TEST(AnswerTexts, EachScreenWritesItsQuestionAndAnswersAsTheChildSawThem) {
    const TextCase cases[] = {
        {"sum, result blank", TwoNumberQuestion{"7", "+", "8", "", BlankPosition::Result, 15}, "15",
         "", "7 + 8 = □", "15", "15"},
        {"difference, left blank", TwoNumberQuestion{"", "-", "6", "7", BlankPosition::Left, 13},
         "12", "", "□ − 6 = 7", "13", "12"},
        {"sum, right blank", TwoNumberQuestion{"9", "+", "", "17", BlankPosition::Right, 8}, "", "",
         "9 + □ = 17", "8", ""},
        {"chained", ExpressionQuestion{"3 + 4 - 2", 5}, "5", "", "3 + 4 − 2 = □", "5", "5"},
        {"money", MoneyGenerator::forPicture(7), "1", "", "钱币图7：□角", "1", "1"},
        {"clock", ClockGenerator::forTime(3, 15), "3", "0", "3点15分", "3点15分", "3点0分"},
        {"clock, nothing typed", ClockGenerator::forTime(12, 45), "", "", "12点45分", "12点45分",
         ""},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(shownQuestionText(c.question), c.shown);
        EXPECT_EQ(expectedAnswerText(c.question), c.expected);
        EXPECT_EQ(typedAnswerText(c.question, c.answer, c.minute), c.typed);
    }
}

// Writes down every call, in order.
class RecordingObserver final : public PracticeObserver {
  public:
    void runStarted(int xiangm) override { log << QStringLiteral("start %1").arg(xiangm); }
    void answered(const AnswerReport& a) override {
        log << QStringLiteral("answer %1 %2 %3 %4 %5ms")
                   .arg(a.xiangm)
                   .arg(a.right ? QStringLiteral("right") : QStringLiteral("wrong"))
                   .arg(a.typed, a.expected)
                   .arg(a.ms);
        reports.push_back(a);
    }
    void completed(int xiangm, std::int64_t ms) override {
        log << QStringLiteral("completed %1 %2ms").arg(xiangm).arg(ms);
    }
    void runEnded(int xiangm) override { log << QStringLiteral("end %1").arg(xiangm); }

    QStringList log;
    std::vector<AnswerReport> reports;
};

class ObservedLoopTest : public ::testing::Test {
  protected:
    ObservedLoopTest() {
        loop.setObserver(&observer);
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

    QTemporaryDir dir;
    ProgressStore store{dir.path()};
    ProgressRecords records{store};
    testing::ManualClock clock;
    SeededUniformSource source{5};
    testing::FakeSoundChannel channel;
    PracticeLoop loop{records, clock, source, channel};
    RecordingObserver observer;
};

TEST_F(ObservedLoopTest, RunsAnswersAndCompletionAreToldInOrderWithTheTimeOfEachQuestion) {
    loop.chooseSelfMode();
    loop.chooseExercise(3);
    clock.advance(4000);
    const int deshu = expectedAnswer(*loop.question());
    type(deshu + 1);
    loop.confirm();  // wrong after 4 s
    loop.nextQuestion();
    clock.advance(500);
    loop.nextQuestion();  // a fresh question on the question screen: its time starts again
    for (int i = 0; i < 20; ++i) {
        clock.advance(2000);
        type(expectedAnswer(*loop.question()));
        loop.confirm();
        if (loop.screen() != Screen::Fen100) {
            loop.nextQuestion();
        }
    }
    ASSERT_EQ(loop.screen(), Screen::Fen100);
    loop.confirm();  // back to menu page 1: the run ends

    ASSERT_EQ(observer.log.size(), 1 + 21 + 1 + 1);
    EXPECT_EQ(observer.log.front(), "start 3");
    EXPECT_EQ(observer.log.at(1),
              QStringLiteral("answer 3 wrong %1 %2 4000ms").arg(deshu + 1).arg(deshu));
    for (int i = 2; i <= 21; ++i) {
        EXPECT_TRUE(observer.log.at(i).endsWith(" 2000ms")) << observer.log.at(i).toStdString();
        EXPECT_TRUE(observer.log.at(i).contains(" right ")) << observer.log.at(i).toStdString();
    }
    EXPECT_EQ(observer.log.at(22), QStringLiteral("completed 3 %1ms").arg(4000 + 500 + 20 * 2000));
    EXPECT_EQ(observer.log.at(23), "end 3");
}

TEST_F(ObservedLoopTest, LeavingAnExerciseAnyWayEndsItsRunOnce) {
    loop.chooseSelfMode();
    loop.chooseExercise(5);
    loop.back();  // to menu page 1
    loop.chooseExercise(6);
    loop.confirm();  // nothing typed: wrong, counted
    loop.back();
    loop.mainMenu();
    loop.chooseGameMode();
    loop.startLevel();
    loop.close();  // the program ends in the middle of a level
    loop.close();
    const QString level = QString::number(GameMap::exerciseForLevel(0));
    EXPECT_EQ(observer.log.filter(QStringLiteral("start")),
              QStringList({"start 5", "start 6", "start " + level}));
    EXPECT_EQ(observer.log.filter(QStringLiteral("end")),
              QStringList({"end 5", "end 6", "end " + level}));
    ASSERT_EQ(observer.reports.size(), 1u);
    EXPECT_EQ(observer.reports.front().typed, "");
    EXPECT_FALSE(observer.reports.front().right);
}

TEST_F(ObservedLoopTest, TheClocksFirstConfirmIsNoAnswer) {
    loop.chooseSelfMode();
    loop.nextPage();
    loop.chooseExercise(36);
    const auto clockQuestion = std::get<ClockQuestion>(*loop.question());
    type(clockQuestion.deshu);
    loop.confirm();  // on to the minutes
    EXPECT_TRUE(observer.reports.empty());
    type(clockQuestion.deshu0);
    clock.advance(7000);
    loop.confirm();
    ASSERT_EQ(observer.reports.size(), 1u);
    EXPECT_TRUE(observer.reports.front().right);
    EXPECT_EQ(observer.reports.front().typed, clockQuestion.deshu2);
    EXPECT_EQ(observer.reports.front().ms, 7000);
}

}  // namespace
}  // namespace sumbrook
