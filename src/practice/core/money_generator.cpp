#include "money_generator.h"

#include <array>
#include <stdexcept>

namespace sumbrook {

namespace {

// Indexed by picture number − 1.
constexpr std::array<int, MoneyGenerator::kPictures> kValues{
    1,  1,  2,  2,   5,   1,  1,  2,  2,  5,   5,   1, 1, 2, 2, 5, 5, 1, 1, 5, 5, 10, 10, 10,
    10, 50, 50, 100, 100, 20, 20, 50, 50, 100, 100, 1, 2, 5, 1, 5, 1, 1, 5, 1, 1, 5,  1};

constexpr std::array<int, MoneyGenerator::kPictures> kUnitCodes{
    1,   1,   1,   1,   1,                                                 // 1-5
    10,  10,  10,  10,  10,  10,                                           // 6-11
    100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100,  // 12-25
    100, 100, 100, 100, 100, 100, 100, 100, 100, 100,                      // 26-35
    1,   1,   1,   10,  10,  100, 10,  10,  100, 10,  10,  100};           // 36-47

QString unitText(int unitCode) {
    switch (unitCode) {
        case 1:
            return QStringLiteral("分");
        case 10:
            return QStringLiteral("角");
        default:
            return QStringLiteral("元");
    }
}

}  // namespace

MoneyQuestion MoneyGenerator::forPicture(int picture) {
    if (picture < 1 || picture > kPictures) {
        throw std::out_of_range("money picture out of range");
    }
    const auto index = static_cast<std::size_t>(picture - 1);
    MoneyQuestion question;
    question.picture = picture;
    question.deshu = kValues[index];
    question.danw = unitText(kUnitCodes[index]);
    question.deshu2 = QString::number(question.deshu) + question.danw;
    return question;
}

MoneyQuestion MoneyGenerator::generate(UniformSource& source) {
    return forPicture(static_cast<int>(source.next() * kPictures + 1));
}

}  // namespace sumbrook
