#include "question.h"

namespace sumbrook {

QString blankPositionName(BlankPosition blank) {
    switch (blank) {
        case BlankPosition::Result:
            return QStringLiteral("result");
        case BlankPosition::Left:
            return QStringLiteral("left");
        case BlankPosition::Right:
            return QStringLiteral("right");
    }
    return {};
}

int expectedAnswer(const Question& question) {
    return std::visit([](const auto& q) { return q.deshu; }, question);
}

QString correctAnswerText(const Question& question) {
    if (const auto* money = std::get_if<MoneyQuestion>(&question)) {
        return money->deshu2;
    }
    if (const auto* clock = std::get_if<ClockQuestion>(&question)) {
        return clock->deshu2;
    }
    return QString::number(expectedAnswer(question));
}

}  // namespace sumbrook
