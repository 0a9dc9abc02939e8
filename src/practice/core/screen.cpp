#include "screen.h"

namespace sumbrook {

QString screenName(Screen screen) {
    switch (screen) {
        case Screen::Stat:
            return QStringLiteral("stat");
        case Screen::Zhongmulu:
            return QStringLiteral("zhongmulu");
        case Screen::Mulu1:
            return QStringLiteral("mulu1");
        case Screen::Mulu2:
            return QStringLiteral("mulu2");
        case Screen::Jia:
            return QStringLiteral("jia");
        case Screen::Lianjia:
            return QStringLiteral("lianjia");
        case Screen::Rmb:
            return QStringLiteral("rmb");
        case Screen::Shijian:
            return QStringLiteral("shijian");
        case Screen::Dui:
            return QStringLiteral("dui");
        case Screen::Chuo:
            return QStringLiteral("chuo");
        case Screen::Dui2:
            return QStringLiteral("dui2");
        case Screen::Chuo2:
            return QStringLiteral("chuo2");
        case Screen::Dui3:
            return QStringLiteral("dui3");
        case Screen::Chuo3:
            return QStringLiteral("chuo3");
        case Screen::Dui4:
            return QStringLiteral("dui4");
        case Screen::Chuo4:
            return QStringLiteral("chuo4");
        case Screen::Fen100:
            return QStringLiteral("fen100");
        case Screen::Youxi:
            return QStringLiteral("youxi");
        case Screen::Youxi1:
            return QStringLiteral("youxi1");
    }
    return {};
}

Screen questionScreenOf(QuestionScreen screen) {
    switch (screen) {
        case QuestionScreen::Jia:
            return Screen::Jia;
        case QuestionScreen::Lianjia:
            return Screen::Lianjia;
        case QuestionScreen::Rmb:
            return Screen::Rmb;
        case QuestionScreen::Shijian:
            return Screen::Shijian;
    }
    return Screen::Jia;
}

Screen rightAnswerScreenOf(QuestionScreen screen) {
    switch (screen) {
        case QuestionScreen::Jia:
            return Screen::Dui;
        case QuestionScreen::Lianjia:
            return Screen::Dui2;
        case QuestionScreen::Rmb:
            return Screen::Dui3;
        case QuestionScreen::Shijian:
            return Screen::Dui4;
    }
    return Screen::Dui;
}

Screen wrongAnswerScreenOf(QuestionScreen screen) {
    switch (screen) {
        case QuestionScreen::Jia:
            return Screen::Chuo;
        case QuestionScreen::Lianjia:
            return Screen::Chuo2;
        case QuestionScreen::Rmb:
            return Screen::Chuo3;
        case QuestionScreen::Shijian:
            return Screen::Chuo4;
    }
    return Screen::Chuo;
}

bool isQuestionScreen(Screen screen) {
    return screen == Screen::Jia || screen == Screen::Lianjia || screen == Screen::Rmb ||
           screen == Screen::Shijian;
}

bool isAnswerScreen(Screen screen) {
    switch (screen) {
        case Screen::Dui:
        case Screen::Chuo:
        case Screen::Dui2:
        case Screen::Chuo2:
        case Screen::Dui3:
        case Screen::Chuo3:
        case Screen::Dui4:
        case Screen::Chuo4:
            return true;
        default:
            return false;
    }
}

bool isGameMap(Screen screen) {
    return screen == Screen::Youxi || screen == Screen::Youxi1;
}

}  // namespace sumbrook
