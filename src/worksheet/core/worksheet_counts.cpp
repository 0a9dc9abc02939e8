#include "worksheet_counts.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace sumbrook {

namespace {

constexpr std::array<CountField, 25> kFields{{
    {1, 0, "编辑框1", "★　10以内加减法"},
    {2, 0, "编辑框2", "★　20以内连加(前2位相加不大于10)"},
    {3, 0, "编辑框3", "★　加减混合运算"},
    {4, 0, "编辑框4", "★　20以内加法"},
    {5, 0, "编辑框5", "★　2位数加整10"},
    {6, 0, "编辑框6", "★　2位数加1位数"},
    {7, 0, "编辑框7", "★　20以内退位减法"},
    {8, 0, "编辑框8", "★　100以内2位数加法"},
    {9, 0, "编辑框9", "★　2位数不退位减法"},
    {10, 0, "编辑框10", "★　2位数退位减法"},
    {11, 1, "编辑框21", "★　乘法口诀"},
    {12, 1, "编辑框22", "★　乘法口诀连加减"},
    {13, 1, "编辑框23", "★　100以内除法"},
    {14, 1, "编辑框24", "★　除法连加减"},
    {15, 1, "编辑框25", "★　除法有余数(数值围绕乘法口诀生成)"},
    // Two ordinary spaces here, unlike every other label: the form was made that way.
    {16, 1, "编辑框26", "★  随机两位数除以一位数"},
    {17, 2, "编辑框31", "★　二位数以内加法"},
    {18, 2, "编辑框32", "★　二位数以内减法"},
    {19, 2, "编辑框33", "★　二位数以内乘法"},
    {20, 2, "编辑框34", "★　二位数以内除法"},
    {21, 3, "编辑框41", "★　整点时间"},
    {22, 3, "编辑框42", "★　半点（30分）时间"},
    {25, 3, "编辑框11", "★　逢15分钟(刻)时间"},
    {23, 3, "编辑框43", "★　分钟逢5的时间"},
    {24, 3, "编辑框44", "★　时间完全随机"},
}};

// A page total may exceed its limit by this much and still count as within it.
constexpr double kTolerance = 1e-7;

}  // namespace

const std::array<CountField, 25>& countFields() {
    return kFields;
}

const CountField& countField(int tag) {
    for (const CountField& field : kFields) {
        if (field.tag == tag) {
            return field;
        }
    }
    throw std::out_of_range("no count field has the tag " + std::to_string(tag));
}

std::vector<int> tagsOfPage(int page) {
    std::vector<int> tags;
    for (const CountField& field : kFields) {
        if (field.page == page) {
            tags.push_back(field.tag);
        }
    }
    return tags;
}

QString pageDescription(int page) {
    switch (page) {
        case 0:
            return QStringLiteral("题型设置 － 加减法计算（总数：30题）");
        case 1:
            return QStringLiteral("题型设置 － 乘除法计算（总数：30题）");
        case 2:
            return QStringLiteral("题型设置 － 简单竖式（总数：21题）");
        case 3:
            return QStringLiteral("题型设置 － 认识时间（总数必须为10题）");
        case 5:
            return QStringLiteral("使用帮助");
        default:
            return QString();
    }
}

QString tabCaption(int page) {
    static const char* const kCaptions[kSettingsPages] = {"加减", "乘除", "竖式",
                                                          "钟面", "关于", "帮助"};
    if (page < 0 || page >= kSettingsPages) {
        return QString();
    }
    return QString::fromUtf8(kCaptions[page]);
}

double WorksheetCounts::pageSum(int page) const {
    double sum = 0;
    for (int tag : tagsOfPage(page)) {
        sum += count(tag);
    }
    return sum;
}

std::optional<QString> validatePage(int page, const WorksheetCounts& counts) {
    const double sum = counts.pageSum(page);
    switch (page) {
        case 0:
        case 1:
            if (sum - 30 > kTolerance) {
                return QStringLiteral("请确保各个类型的题目总数不超过30。");
            }
            break;
        case 2:
            if (sum - 21 > kTolerance) {
                return QStringLiteral("请确保各个类型的题目总数不超过21。");
            }
            break;
        case 3:
            if (std::fabs(sum - 10) > kTolerance) {
                return QStringLiteral("请确保各个类型的题目总数必须为10。");
            }
            break;
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace sumbrook
