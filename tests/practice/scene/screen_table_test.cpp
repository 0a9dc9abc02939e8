// The table of screens and their controls: each screen offers exactly its controls, none
// overlapping, none smaller than a child's finger needs.
#include "practice/scene/screen_table.h"

#include <gtest/gtest.h>
#include <QStringList>

#include "practice/scene/stage_layout.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

QStringList captionsOf(const std::vector<ControlRow>& rows) {
    QStringList captions;
    for (const ControlRow& row : rows) {
        captions << QString::fromUtf8(row.caption);
    }
    return captions;
}

const QStringList kKeypad{"7", "8", "9", "4", "5", "6", "1", "2", "3", "0", "←", "确定"};

TEST(ScreenTable, EachScreenOffersItsControls) {
    const QStringList backAndNext{"返回", "下一题"};
    const struct {
        Screen screen;
        QStringList captions;
    } rows[] = {
        {Screen::Stat, {}},
        {Screen::Zhongmulu, {"自选模式", "游戏模式", "设置"}},
        {Screen::Mulu1, {"总目录", "下页"}},
        {Screen::Mulu2, {"总目录", "上页"}},
        {Screen::Jia, kKeypad + backAndNext},
        {Screen::Lianjia, kKeypad + backAndNext},
        {Screen::Rmb, kKeypad + backAndNext},
        {Screen::Shijian, kKeypad + backAndNext},
        {Screen::Dui, backAndNext},
        {Screen::Chuo, backAndNext},
        {Screen::Dui2, backAndNext},
        {Screen::Chuo2, backAndNext},
        {Screen::Dui3, backAndNext},
        {Screen::Chuo3, backAndNext},
        {Screen::Dui4, backAndNext},
        {Screen::Chuo4, backAndNext},
        {Screen::Fen100, {"确定"}},
        {Screen::Youxi, {"开始", "重新开始", "返回"}},
        {Screen::Youxi1, {"开始", "重新开始", "返回"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(captionsOf(screen_table::screenControls(row.screen)), row.captions)
            << screenName(row.screen).toStdString();
    }
    EXPECT_EQ(captionsOf(screen_table::screenControls(Screen::Zhongmulu, true)),
              (QStringList{"自选模式", "游戏模式", "错题复习", "设置"}));
    EXPECT_EQ(captionsOf(screen_table::boxControls()), (QStringList{"确定", "取消"}));
    EXPECT_EQ(captionsOf(screen_table::panelControls()).mid(10),
              (QStringList{"+", "-", "清除历史纪录", "返回"}));
}

TEST(ScreenTable, KeysAndNextActWhenPressedTheRestOnRelease) {
    for (const ControlRow& row : screen_table::screenControls(Screen::Jia)) {
        const QString caption = QString::fromUtf8(row.caption);
        const bool onPress = kKeypad.contains(caption) || caption == u"下一题";
        EXPECT_EQ(row.trigger,
                  onPress ? StageControl::Trigger::Press : StageControl::Trigger::Release)
            << row.caption;
    }
    for (const ControlRow& row : screen_table::panelControls()) {
        const bool volume =
            QString::fromUtf8(row.caption) == u"+" || QString::fromUtf8(row.caption) == u"-";
        EXPECT_EQ(row.trigger == StageControl::Trigger::Hold, volume) << row.caption;
        EXPECT_EQ(static_cast<bool>(row.letGo), volume) << row.caption;
    }
}

TEST(ScreenTable, ControlsStayOnTheStageApartAndLargeEnoughForAChild) {
    std::vector<std::vector<ControlRow>> sets{screen_table::panelControls(),
                                              screen_table::boxControls()};
    for (const Screen screen : {Screen::Zhongmulu, Screen::Mulu1, Screen::Mulu2, Screen::Jia,
                                Screen::Dui, Screen::Fen100, Screen::Youxi}) {
        sets.push_back(screen_table::screenControls(screen));
    }
    sets.push_back(screen_table::screenControls(Screen::Zhongmulu, true));
    const QRectF stage(0, 0, stage_layout::kWidth, stage_layout::kHeight);
    for (const auto& rows : sets) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_TRUE(stage.contains(rows[i].rect)) << rows[i].caption;
            EXPECT_GE(rows[i].rect.width(), 44) << rows[i].caption;
            EXPECT_GE(rows[i].rect.height(), 40) << rows[i].caption;
            for (std::size_t j = i + 1; j < rows.size(); ++j) {
                EXPECT_FALSE(rows[i].rect.intersects(rows[j].rect))
                    << rows[i].caption << " / " << rows[j].caption;
            }
        }
    }
    for (int i = 0; i < 12; ++i) {  // keypad keys at least 72 × 48
        EXPECT_GE(stage_layout::keypadKey(i).width(), 72);
        EXPECT_GE(stage_layout::keypadKey(i).height(), 48);
    }
}

}  // namespace
}  // namespace sumbrook
