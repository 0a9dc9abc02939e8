#include <gtest/gtest.h>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QStringList>

#include "support/qstring_printer.h"
#include "support/run_sumbrook.h"

namespace sumbrook {
namespace {

using testing::Outcome;

Outcome questions(const QStringList& arguments) {
    return testing::runSumbrook(QStringList{QStringLiteral("questions")} + arguments);
}

QJsonObject object(const QByteArray& line) {
    return testing::jsonObject(line);
}

QSet<QString> keysOf(const QJsonObject& o) {
    const QStringList keys = o.keys();
    return {keys.begin(), keys.end()};
}

QString screenOf(int exercise) {
    if (exercise <= 24 || exercise == 33) {
        return QStringLiteral("jia");
    }
    if (exercise == 36) {
        return QStringLiteral("shijian");
    }
    return exercise == 37 ? QStringLiteral("rmb") : QStringLiteral("lianjia");
}

TEST(QuestionsCommand, EveryExercisePrintsTheFieldsOfItsScreen) {
    const QSet<QString> common = {"exercise", "screen", "level", "deshu"};
    const QSet<QString> jia = common + QSet<QString>{"xian1", "xian_fu", "xian2", "xian4", "blank"};
    const QSet<QString> lianjia = common + QSet<QString>{"xian1"};
    const QSet<QString> rmb = common + QSet<QString>{"picture", "danw", "deshu2"};
    const QSet<QString> shijian =
        common + QSet<QString>{"deshu0", "deshu2", "hour_angle", "minute_angle"};
    for (int exercise = 1; exercise <= 37; ++exercise) {
        SCOPED_TRACE(exercise);
        const Outcome run = questions({"--exercise", QString::number(exercise), "--count", "20",
                                       "--seed", QString::number(exercise)});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty());
        ASSERT_EQ(run.lines.size(), 20);
        const QString screen = screenOf(exercise);
        for (const QByteArray& line : run.lines) {
            const QJsonObject o = object(line);
            EXPECT_EQ(o.value("exercise").toInt(), exercise);
            EXPECT_EQ(o.value("screen").toString(), screen);
            const int deshu = o.value("deshu").toInt(-1);
            EXPECT_GE(deshu, 1) << line.toStdString();
            if (screen == QStringLiteral("jia")) {
                EXPECT_EQ(keysOf(o), jia);
                EXPECT_EQ(o.value("level").toString(), QStringLiteral("1\u2014%1").arg(exercise));
                const QString blank = o.value("blank").toString();
                const QString blankField = blank == QStringLiteral("left")    ? "xian1"
                                           : blank == QStringLiteral("right") ? "xian2"
                                                                              : "xian4";
                EXPECT_TRUE(blank == "left" || blank == "right" || blank == "result")
                    << blank.toStdString();
                for (const char* field : {"xian1", "xian2", "xian4"}) {
                    EXPECT_EQ(o.value(field).toString().isEmpty(), blankField == field)
                        << field << " in " << line.toStdString();
                }
            } else if (screen == QStringLiteral("lianjia")) {
                EXPECT_EQ(keysOf(o), lianjia);
                EXPECT_EQ(o.value("level").toString(), QStringLiteral("1\u2014%1").arg(exercise));
                EXPECT_FALSE(o.value("xian1").toString().isEmpty());
            } else if (screen == QStringLiteral("rmb")) {
                EXPECT_EQ(keysOf(o), rmb);
                EXPECT_EQ(o.value("level").toString(), QStringLiteral("认识人民币"));
                const int picture = o.value("picture").toInt();
                EXPECT_TRUE(picture >= 1 && picture <= 47) << picture;
                const QString unit = o.value("danw").toString();
                EXPECT_TRUE(unit == "分" || unit == "角" || unit == "元") << unit.toStdString();
                EXPECT_EQ(o.value("deshu2").toString(), QString::number(deshu) + unit);
            } else {
                EXPECT_EQ(keysOf(o), shijian);
                EXPECT_EQ(o.value("level").toString(), QStringLiteral("认识时间"));
                const int minute = o.value("deshu0").toInt(-1);
                EXPECT_LE(deshu, 12);
                EXPECT_TRUE(minute == 0 || minute == 15 || minute == 30 || minute == 45);
                EXPECT_EQ(o.value("deshu2").toString(),
                          QStringLiteral("%1点%2分").arg(deshu).arg(minute));
                EXPECT_DOUBLE_EQ(o.value("hour_angle").toDouble(), deshu * 30 + minute / 2.0);
                EXPECT_DOUBLE_EQ(o.value("minute_angle").toDouble(), minute * 6.0);
            }
        }
    }
}

TEST(QuestionsCommand, CountAndSeed) {
    EXPECT_EQ(questions({"--exercise", "5"}).lines.size(), 1);  // one question by default
    EXPECT_EQ(questions({"--exercise", "37", "--count", "1"}).lines.size(), 1);
    EXPECT_EQ(questions({"--exercise", "12", "--count", "250"}).lines.size(), 250);

    const QStringList seeded = {"--exercise", "35", "--count", "30", "--seed", "2024"};
    const Outcome first = questions(seeded);
    ASSERT_EQ(first.exitCode, 0);
    EXPECT_EQ(questions(seeded).lines, first.lines);
    EXPECT_EQ(questions({"--exercise=35", "--count=30", "--seed=2024"}).lines, first.lines);
    EXPECT_EQ(questions({"--seed", "2024", "--count", "30", "--exercise", "35"}).lines,
              first.lines);
    EXPECT_NE(questions({"--exercise", "35", "--count", "30", "--seed", "2025"}).lines,
              first.lines);
    // The largest seed is accepted.
    EXPECT_EQ(questions({"--exercise", "1", "--seed", "18446744073709551615"}).exitCode, 0);
}

TEST(QuestionsCommand, BadArgumentsAreRefusedWithOneLine) {
    const std::vector<QStringList> rows = {
        {},  // no exercise
        {"--exercise", "0"},
        {"--exercise", "38"},
        {"--exercise", "five"},
        {"--exercise", ""},
        {"--exercise", "-3"},
        {"--exercise", "7.5"},
        {"--exercise"},  // option without its value
        {"--exercise", "5", "--count"},
        {"--exercise", "5", "--count", "0"},
        {"--exercise", "5", "--count", "-1"},
        {"--exercise", "5", "--count", "abc"},
        {"--exercise", "5", "--seed", "x"},
        {"--exercise", "5", "--seed", "-1"},
        {"--exercise", "5", "--seed", "18446744073709551616"},  // one past the largest
        {"--exercise", "5", "--colour", "red"},                 // unknown option
        {"--exercise", "5", "--exercise", "6"},
        {"--exercise", "5", "extra"},
    };
    for (const QStringList& arguments : rows) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const Outcome run = questions(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.lines.isEmpty());
        EXPECT_GT(run.err.size(), 1);
        EXPECT_TRUE(run.err.endsWith('\n')) << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    }
}

}  // namespace
}  // namespace sumbrook
