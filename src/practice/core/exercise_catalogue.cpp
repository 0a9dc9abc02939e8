#include "exercise_catalogue.h"

#include <stdexcept>

namespace sumbrook {

namespace {

using enum QuestionScreen;

constexpr std::array<Exercise, 37> kExercises{{
    {1, "5以内加法", 1, 0, 0, Jia},           {2, "5以内减法", 1, 0, 1, Jia},
    {3, "5以内加减法", 1, 0, 2, Jia},         {4, "10以内加法", 1, 0, 3, Jia},
    {5, "10以内减法", 1, 0, 4, Jia},          {6, "10以内加减法", 1, 0, 5, Jia},
    {7, "10以内填空", 1, 0, 6, Jia},          {8, "凑10练习", 1, 0, 7, Jia},
    {9, "20内不进位加", 1, 1, 0, Jia},        {10, "20内不退位减", 1, 1, 1, Jia},
    {11, "20内进位加法", 1, 1, 2, Jia},       {12, "20内退位减法", 1, 1, 3, Jia},
    {13, "20以内加法", 1, 1, 4, Jia},         {14, "20以内减法", 1, 1, 5, Jia},
    {15, "20以内加减法", 1, 1, 6, Jia},       {16, "20以内填空", 1, 1, 7, Jia},
    {17, "整十加一位数", 1, 2, 0, Jia},       {18, "整十减一位数", 1, 2, 1, Jia},
    {19, "整十加整十", 1, 2, 2, Jia},         {20, "整十减整十", 1, 2, 3, Jia},
    {21, "两位数加一位数", 1, 2, 4, Jia},     {22, "两位数加整十", 1, 2, 5, Jia},
    {23, "两位数减一位数", 1, 2, 6, Jia},     {24, "两位数减整十", 1, 2, 7, Jia},
    {25, "10以内连加", 2, 0, 0, Lianjia},     {26, "10以内连减", 2, 0, 1, Lianjia},
    {27, "10内连加及连减", 2, 0, 2, Lianjia}, {28, "10内加减混合", 2, 0, 3, Lianjia},
    {29, "20以内连加", 2, 0, 4, Lianjia},     {30, "20以内连减", 2, 0, 5, Lianjia},
    {31, "20内连加及连减", 2, 0, 6, Lianjia}, {32, "20内加减混合", 2, 0, 7, Lianjia},
    {33, "100以内填空", 2, 1, 0, Jia},        {34, "一年级上综合", 2, 1, 1, Lianjia},
    {35, "一年级下综合", 2, 1, 2, Lianjia},   {36, "认识时间", 2, 1, 3, Shijian},
    {37, "认识人民币", 2, 1, 4, Rmb},
}};

}  // namespace

QString questionScreenName(QuestionScreen screen) {
    switch (screen) {
        case Jia:
            return QStringLiteral("jia");
        case Lianjia:
            return QStringLiteral("lianjia");
        case Rmb:
            return QStringLiteral("rmb");
        case Shijian:
            return QStringLiteral("shijian");
    }
    return {};
}

const Exercise& ExerciseCatalogue::exercise(int number) {
    if (!contains(number)) {
        throw std::out_of_range("exercise number out of range");
    }
    return kExercises[static_cast<std::size_t>(number - 1)];
}

QString ExerciseCatalogue::title(int number) {
    return QString::fromUtf8(exercise(number).title);
}

QString ExerciseCatalogue::levelText(int number) {
    switch (screen(number)) {
        case Jia:
        case Lianjia:
            return QStringLiteral("1\u2014") + QString::number(number);
        case Rmb:
        case Shijian:
            return title(number);
    }
    return {};
}

}  // namespace sumbrook
