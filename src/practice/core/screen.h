#pragma once

#include <QString>

#include "exercise_catalogue.h"

namespace sumbrook {

// The practice scene's screens, named as the scene names them.
enum class Screen {
    Stat,       // intro
    Zhongmulu,  // main menu
    Mulu1,
    Mulu2,
    Jia,
    Lianjia,
    Rmb,
    Shijian,
    Dui,
    Chuo,
    Dui2,
    Chuo2,
    Dui3,
    Chuo3,
    Dui4,
    Chuo4,
    Fen100,  // completion
    Youxi,   // game map, entered from an exercise
    Youxi1,  // game map, entered from the main menu
};

QString screenName(Screen screen);
Screen questionScreenOf(QuestionScreen screen);
Screen rightAnswerScreenOf(QuestionScreen screen);
Screen wrongAnswerScreenOf(QuestionScreen screen);
bool isQuestionScreen(Screen screen);
bool isAnswerScreen(Screen screen);  // a right-answer or wrong-answer screen
bool isGameMap(Screen screen);

}  // namespace sumbrook
