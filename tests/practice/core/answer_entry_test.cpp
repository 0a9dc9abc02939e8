#include "practice/core/answer_entry.h"

#include <gtest/gtest.h>

#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

TEST(AnswerEntry, DigitsAndEraseFollowTheKeypadRules) {
    AnswerEntry entry;
    entry.typeDigit(0);
    EXPECT_EQ(entry.afterDigit(), "0");  // a lone 0 shows
    entry.typeDigit(5);
    EXPECT_EQ(entry.afterDigit(), "5");  // the leading zero vanished
    entry.erase();
    EXPECT_EQ(entry.afterErase(), "");  // back to nothing
    entry.erase();
    EXPECT_EQ(entry.afterErase(), "");
    EXPECT_TRUE(entry.isZero());
}

TEST(AnswerEntry, HoldsFortyDigitsExactly) {
    AnswerEntry entry;
    QString typed;
    for (int i = 0; i < 40; ++i) {
        entry.typeDigit((i % 9) + 1);
        typed += QChar(u'0' + (i % 9) + 1);
    }
    EXPECT_EQ(entry.afterDigit(), typed);
    entry.erase();
    typed.chop(1);
    EXPECT_EQ(entry.afterErase(), typed);
}

TEST(AnswerEntry, StartsAgainFromAShownValue) {
    AnswerEntry entry;
    entry.setFromText(QStringLiteral("12"));
    entry.typeDigit(3);
    EXPECT_EQ(entry.afterDigit(), "123");
    entry.setFromText(QString());
    EXPECT_TRUE(entry.isZero());
    entry.setFromText(QStringLiteral("0"));
    EXPECT_TRUE(entry.isZero());
}

}  // namespace
}  // namespace sumbrook
