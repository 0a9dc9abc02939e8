#include "practice_observer.h"

namespace sumbrook {

namespace {

const QString kBlank = QStringLiteral("□");

QString displayedSigns(QString text) {
    text.replace(u'-', QChar(0x2212));
    return text;
}

QString orBlank(const QString& text) {
    return text.isEmpty() ? kBlank : text;
}

}  // namespace

QString shownQuestionText(const Question& question) {
    if (const auto* q = std::get_if<TwoNumberQuestion>(&question)) {
        const auto operand = [&](BlankPosition at, const QString& text) {
            return q->blank == at ? kBlank : text;
        };
        return operand(BlankPosition::Left, q->xian1) + u' ' + displayedSigns(q->xian_fu) + u' ' +
               operand(BlankPosition::Right, q->xian2) + QStringLiteral(" = ") +
               operand(BlankPosition::Result, orBlank(q->xian4));
    }
    if (const auto* q = std::get_if<ExpressionQuestion>(&question)) {
        return displayedSigns(q->xian1) + QStringLiteral(" = ") + kBlank;
    }
    if (const auto* q = std::get_if<MoneyQuestion>(&question)) {
        return QStringLiteral("钱币图%1：□%2").arg(q->picture).arg(q->danw);
    }
    return std::get<ClockQuestion>(question).deshu2;
}

QString expectedAnswerText(const Question& question) {
    if (const auto* q = std::get_if<ClockQuestion>(&question)) {
        return q->deshu2;
    }
    return QString::number(expectedAnswer(question));
}

QString typedAnswerText(const Question& question, const QString& answer, const QString& minute) {
    if (std::holds_alternative<ClockQuestion>(question)) {
        if (answer.isEmpty() && minute.isEmpty()) {
            return {};
        }
        return answer + QStringLiteral("点") + minute + QStringLiteral("分");
    }
    return answer;
}

}  // namespace sumbrook
