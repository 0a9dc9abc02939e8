#include "screen_painter.h"

#include "answer_screens.h"
#include "clock_question_screen.h"
#include "completion_screen.h"
#include "confirm_box_screen.h"
#include "expression_question_screen.h"
#include "intro_screen.h"
#include "main_menu_screen.h"
#include "map_screen.h"
#include "menu_page_screen.h"
#include "money_question_screen.h"
#include "settings_panel_screen.h"
#include "sum_question_screen.h"

namespace sumbrook {

const ScreenPainter& screenPainter(Screen screen) {
    static const IntroScreen intro;
    static const MainMenuScreen mainMenu;
    static const MenuPageScreen menuPage;
    static const SumQuestionScreen sum;
    static const ExpressionQuestionScreen expression;
    static const MoneyQuestionScreen money;
    static const ClockQuestionScreen clock;
    static const RightAnswerScreen right;
    static const WrongAnswerScreen wrong;
    static const CompletionScreen completion;
    static const MapScreen map;
    switch (screen) {
        case Screen::Stat:
            return intro;
        case Screen::Zhongmulu:
            return mainMenu;
        case Screen::Mulu1:
        case Screen::Mulu2:
            return menuPage;
        case Screen::Jia:
            return sum;
        case Screen::Lianjia:
            return expression;
        case Screen::Rmb:
            return money;
        case Screen::Shijian:
            return clock;
        case Screen::Dui:
        case Screen::Dui2:
        case Screen::Dui3:
        case Screen::Dui4:
            return right;
        case Screen::Chuo:
        case Screen::Chuo2:
        case Screen::Chuo3:
        case Screen::Chuo4:
            return wrong;
        case Screen::Fen100:
            return completion;
        case Screen::Youxi:
        case Screen::Youxi1:
            return map;
    }
    return mainMenu;
}

const ScreenPainter& settingsPanelPainter() {
    static const SettingsPanelScreen panel;
    return panel;
}

const ScreenPainter& confirmBoxPainter() {
    static const ConfirmBoxScreen box;
    return box;
}

}  // namespace sumbrook
