#include <gtest/gtest.h>

#include <vector>

#include "worksheet/core/question_list.h"

namespace sumbrook {
namespace {

TEST(QuestionList, RefusesATextThatAnItemBeginsWith) {
    struct Row {
        std::vector<const char*> already;
        const char* candidate;
        bool accepted;
    };
    const Row rows[] = {
        {{"7,30"}, "7,3", false},  // three past seven reads as the start of half past
        {{"7,3"}, "7,30", true},   // only an existing item's beginning counts
        {{"3 ＋ 4 ＝"}, "3 ＋ 4 ＝", false},
        {{"13 ＋ 4 ＝"}, "3 ＋ 4 ＝", true},  // ends with the candidate, does not begin with it
        {{"12,0", "1,30", "11,5"}, "1,3", false},
        {{"12,0", "1,30", "11,5"}, "1,0", true},
    };
    for (const Row& row : rows) {
        QuestionList list;
        for (const char* text : row.already) {
            list.AddUnique(QString::fromUtf8(text));
        }
        const int before = list.size();
        EXPECT_EQ(list.AddUnique(QString::fromUtf8(row.candidate)), row.accepted) << row.candidate;
        EXPECT_EQ(list.size(), before + (row.accepted ? 1 : 0)) << row.candidate;
        list.clear();
        EXPECT_TRUE(list.AddUnique(QString::fromUtf8(row.candidate)));  // nothing left behind
    }
}

}  // namespace
}  // namespace sumbrook
