#pragma once

#include <QString>
#include <array>

namespace sumbrook {

// The four screens on which questions are asked.
enum class QuestionScreen { Jia, Lianjia, Rmb, Shijian };

QString questionScreenName(QuestionScreen screen);

struct Exercise {
    int number;         // xiangm, 1..37
    const char* title;  // the menu title, UTF-8
    int menuPage;       // 1 or 2
    int column;         // 0-based column on its menu page
    int row;            // 0-based row in its column
    QuestionScreen screen;
};

// The 37 numbered exercises: their menu titles, where they stand on the two menu pages
// and which screen asks their questions. Knows nothing of how questions are made.
class ExerciseCatalogue {
  public:
    static constexpr int kFirst = 1;
    static constexpr int kLast = 37;

    static bool contains(int number) { return number >= kFirst && number <= kLast; }
    // The exercise with this number; number must be 1..37.
    static const Exercise& exercise(int number);
    static QString title(int number);
    static QuestionScreen screen(int number) { return exercise(number).screen; }
    // The text of the level field: "1—7" on the written-sum screens, the menu title on
    // the money and clock screens.
    static QString levelText(int number);
};

}  // namespace sumbrook
