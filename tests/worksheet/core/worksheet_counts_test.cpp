#include <gtest/gtest.h>

#include "support/qstring_printer.h"
#include "worksheet/core/worksheet_counts.h"

namespace sumbrook {
namespace {

TEST(WorksheetCounts, FieldsStandOnTheirPagesAsTheFormHasThem) {
    EXPECT_EQ(tagsOfPage(3), (std::vector<int>{21, 22, 25, 23, 24}));
    EXPECT_EQ(tagsOfPage(1).size(), 6u);
    EXPECT_TRUE(tagsOfPage(4).empty());
    EXPECT_STREQ(countField(11).control, "编辑框21");
    EXPECT_STREQ(countField(25).control, "编辑框11");
    for (int tag = kFirstTag; tag <= kLastTag; ++tag) {
        const QString label = QString::fromUtf8(countField(tag).label);
        EXPECT_TRUE(label.startsWith(tag == 16 ? QStringLiteral("★  ") : QStringLiteral("★　")))
            << tag;
    }
    EXPECT_EQ(tabCaption(2), QStringLiteral("竖式"));
    EXPECT_EQ(pageDescription(3), QStringLiteral("题型设置 － 认识时间（总数必须为10题）"));
    EXPECT_TRUE(pageDescription(4).isEmpty());
    EXPECT_EQ(pageDescription(5), QStringLiteral("使用帮助"));
}

TEST(WorksheetCounts, ValidationChecksOnlyTheSelectedPagesOwnSum) {
    const QString over30 = QStringLiteral("请确保各个类型的题目总数不超过30。");
    const QString over21 = QStringLiteral("请确保各个类型的题目总数不超过21。");
    const QString not10 = QStringLiteral("请确保各个类型的题目总数必须为10。");
    struct Row {
        int page, tagA, tagB;
        double a, b;      // the counts put into the two tags
        QString message;  // empty when the sheet may be generated
    };
    const Row rows[] = {
        {0, 1, 10, 20, 10, {}},   {0, 1, 10, 20, 11, over30}, {1, 11, 16, 30, 1, over30},
        {2, 17, 20, 21, 0, {}},   {2, 17, 20, 20, 2, over21}, {3, 21, 24, 5, 5, {}},
        {3, 21, 25, 9, 0, not10}, {3, 25, 24, 10, 1, not10},  {3, 21, 22, 5, 5 + 5e-8, {}},
        {0, 1, 11, 30, 30, {}},  // another page's fields do not count here
        {4, 1, 21, 99, 99, {}},   {5, 17, 21, 99, 99, {}},
    };
    for (const Row& row : rows) {
        WorksheetCounts counts;
        counts.setCount(row.tagA, row.a);
        counts.setCount(row.tagB, row.b);
        EXPECT_EQ(validatePage(row.page, counts).value_or(QString()), row.message)
            << "page " << row.page << ": " << row.a << " + " << row.b;
    }
}

}  // namespace
}  // namespace sumbrook
