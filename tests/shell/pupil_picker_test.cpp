// "你是谁？" with a class of 40 on a 1024 × 768 screen: every card in sight, chosen by
// click, by arrows and Enter, or by the number typed; the reason when there is no list.
#include "shell/pupil_picker.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "shell/pupil_card.h"
#include "support/golden_picture.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

std::vector<ClassPupil> classOf(int count) {
    static const QStringList kNames = QStringLiteral(
                                          "王小明 李思雨 张子涵 刘一诺 陈浩然 杨梓萱 赵宇轩 黄欣怡 "
                                          "周子墨 吴雨桐 徐嘉怡 孙浩宇 胡可馨 朱俊杰 高诗涵 林子豪 "
                                          "何雨欣 郭明轩 马晓彤 罗天佑 梁思琪 宋文博 郑佳琪 谢承泽 "
                                          "韩若曦 唐一鸣 冯乐怡 于浩 董雪 萧子睿 程雨萌 曹宇航 "
                                          "袁梦瑶 邓凯文 许诺 傅晨曦 沈嘉乐 曾子琪 欧阳明 彭语桐")
                                          .split(u' ');
    std::vector<ClassPupil> pupils;
    for (int i = 0; i < count; ++i) {
        pupils.push_back({QString::number(i + 1), kNames[i % kNames.size()]});
    }
    return pupils;
}

// Cards side by side in the first row.
int columnsOf(const PupilPicker& picker) {
    const auto cards = picker.cards();
    return static_cast<int>(std::count_if(cards.begin(), cards.end(), [&](PupilCard* card) {
        return card->y() == cards.front()->y();
    }));
}

TEST(PupilPicker, AClassFitsTheScreensOfASchoolWithoutScrolling) {
    const struct {
        int pupils;
        QSize window;
    } rows[] = {{40, {1024, 768}}, {45, {1024, 768}}, {45, {1366, 768}}, {45, {1008, 690}}};
    for (const auto& row : rows) {
        PupilPicker picker(classOf(row.pupils), QString());
        picker.resize(row.window);
        picker.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
        const auto* scroll = picker.findChild<QScrollArea*>();
        EXPECT_FALSE(scroll->verticalScrollBar()->isVisible()) << row.pupils;
        for (PupilCard* card : picker.cards()) {
            const QRect shown(card->mapTo(&picker, QPoint(0, 0)), card->size());
            EXPECT_TRUE(picker.rect().contains(shown) && card->isVisible())
                << row.pupils << " in " << row.window.width() << "×" << row.window.height()
                << ": card " << card->pupil().number.toStdString();
            EXPECT_GE(card->height(), PupilPicker::kSmallestCard.height());
        }
    }
}

TEST(PupilPicker, StartsNoLargerThanTheWorkArea) {
    PupilPicker picker(classOf(40), QString());
    const QRect work = picker.screen()->availableGeometry();
    EXPECT_TRUE(work.contains(picker.geometry())) << picker.geometry().width();
}

TEST(PupilPicker, AClassTooLargeForTheWindowScrolls) {
    PupilPicker picker(classOf(120), QString());
    picker.resize(800, 600);
    picker.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
    EXPECT_TRUE(picker.findChild<QScrollArea*>()->verticalScrollBar()->isVisible());
    EXPECT_EQ(picker.cards().back()->size(), picker.cards().front()->size());
}

TEST(PupilPicker, ACardIsChosenByClickArrowsOrItsNumber) {
    const struct {
        const char* what;
        const char* keys;  // → ← ↑ ↓, digits, ⏎ for Enter; "" clicks card 17
        std::function<QString(int columns)> number;
    } rows[] = {
        {"a click", "", [](int) { return QStringLiteral("17"); }},
        {"arrows", "→→↓←⏎", [](int columns) { return QString::number(2 + columns); }},
        {"arrows stop at the edge", "←↑⏎", [](int) { return QStringLiteral("1"); }},
        {"a typed number", "23⏎", [](int) { return QStringLiteral("23"); }},
        {"a digit that makes no number starts one", "45⏎", [](int) { return QStringLiteral("5"); }},
    };
    for (const auto& row : rows) {
        PupilPicker picker(classOf(40), QString());
        picker.resize(1024, 768);
        picker.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
        QString said;
        QObject::connect(&picker, &PupilPicker::chosen,
                         [&said](const ClassPupil& pupil) { said = pupil.number; });
        const QString keys = QString::fromUtf8(row.keys);
        if (keys.isEmpty()) {
            QTest::mouseClick(picker.cards()[16], Qt::LeftButton);
        }
        for (const QChar key : keys) {
            QWidget* on = QApplication::focusWidget();
            ASSERT_NE(on, nullptr) << row.what;
            const QHash<QChar, Qt::Key> kArrows{{u'→', Qt::Key_Right},
                                                {u'←', Qt::Key_Left},
                                                {u'↑', Qt::Key_Up},
                                                {u'↓', Qt::Key_Down},
                                                {u'⏎', Qt::Key_Return}};
            if (kArrows.contains(key)) {
                QTest::keyClick(on, kArrows.value(key));
            } else {
                QTest::keyClick(on, key.toLatin1());
            }
        }
        const QString expected = row.number(columnsOf(picker));
        EXPECT_EQ(said, expected) << row.what;
        ASSERT_TRUE(picker.choice().has_value()) << row.what;
        EXPECT_EQ(picker.choice()->number, expected) << row.what;
        EXPECT_EQ(picker.result(), QDialog::Accepted) << row.what;
        EXPECT_FALSE(picker.isVisible()) << row.what;
    }
}

// The kept list (or a word that it is being read) at once, the server's when it comes:
// the card a child is on keeps the focus; no list at all says why.
TEST(PupilPicker, FollowsTheListAsItArrivesAndSaysWhyWhenThereIsNone) {
    PupilPicker picker({}, QString());
    picker.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
    const auto* why = picker.findChild<QLabel*>(QStringLiteral("原因"));
    ASSERT_NE(why, nullptr);
    EXPECT_EQ(why->text(), QStringLiteral("正在读取班级名单……"));
    EXPECT_TRUE(why->isVisible());

    picker.setPupils(classOf(5), QString());
    ASSERT_EQ(picker.cards().size(), 5u);
    EXPECT_FALSE(why->isVisible());
    picker.cards()[2]->setFocus();
    std::vector<ClassPupil> renamed = classOf(6);
    renamed[0].name = QStringLiteral("王小明");
    picker.setPupils(renamed, QString());
    ASSERT_EQ(picker.cards().size(), 6u);
    EXPECT_EQ(picker.cards()[0]->pupil().name, QStringLiteral("王小明"));
    EXPECT_TRUE(picker.cards()[2]->hasFocus());

    picker.setPupils({}, QStringLiteral("连不上班级的服务器"));
    EXPECT_EQ(why->text(), QStringLiteral("没有读到班级名单：连不上班级的服务器"));
    EXPECT_TRUE(why->isVisible());
    EXPECT_TRUE(picker.cards().empty());
}

TEST(PupilPicker, LooksAsStored) {
    static const testing::GoldenPictures pictures(QStringLiteral(SUMBROOK_GOLDEN_DIR));
    PupilPicker picker(classOf(40), QString());
    picker.resize(1024, 768);
    picker.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
    pictures.expect(picker.grab().toImage(), QStringLiteral("pupil_picker_40"), true);
}

}  // namespace
}  // namespace sumbrook
