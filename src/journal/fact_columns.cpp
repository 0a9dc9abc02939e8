#include "fact_columns.h"

#include <QStringList>
#include <QVariant>

namespace sumbrook {

namespace {

QString numbersText(const std::vector<int>& numbers) {
    QString text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) {
            text += u',';
        }
        text += QString::number(numbers[i]);
    }
    return text;
}

std::vector<int> numbersOf(const QString& text) {
    std::vector<int> numbers;
    for (const QStringView number : QStringView(text).split(u',', Qt::SkipEmptyParts)) {
        numbers.push_back(number.toInt());
    }
    return numbers;
}

}  // namespace

QString FactColumns::names() {
    return QStringLiteral("kind, numbers, signs, blank, hour, minute, picture, money, unit, fact");
}

void FactColumns::bind(QSqlQuery& query, int first, const std::optional<PracticeFact>& fact) {
    QVariant values[kCount];
    if (fact) {
        values[0] = factKindName(fact->kind);
        switch (fact->kind) {
            case FactKind::TwoNumber:
            case FactKind::Expression:
                values[1] = numbersText(fact->numbers);
                values[2] = fact->signs;
                values[3] = fact->blank;
                break;
            case FactKind::Clock:
                values[4] = fact->hour;
                values[5] = fact->minute;
                break;
            case FactKind::Money:
                values[6] = fact->picture;
                values[7] = fact->money;
                values[8] = fact->unit;
                break;
        }
        values[9] = fact->key();
    }
    for (int i = 0; i < kCount; ++i) {
        query.bindValue(first + i, values[i]);
    }
}

std::optional<PracticeFact> FactColumns::read(const QSqlQuery& query, int first) {
    const std::optional<FactKind> kind = factKindNamed(query.value(first).toString());
    if (!kind) {
        return std::nullopt;
    }
    PracticeFact fact;
    fact.kind = *kind;
    switch (fact.kind) {
        case FactKind::TwoNumber:
        case FactKind::Expression:
            fact.numbers = numbersOf(query.value(first + 1).toString());
            fact.signs = query.value(first + 2).toString();
            fact.blank = query.value(first + 3).toInt();
            break;
        case FactKind::Clock:
            fact.hour = query.value(first + 4).toInt();
            fact.minute = query.value(first + 5).toInt();
            break;
        case FactKind::Money:
            fact.picture = query.value(first + 6).toInt();
            fact.money = query.value(first + 7).toInt();
            fact.unit = query.value(first + 8).toString();
            break;
    }
    return fact;
}

}  // namespace sumbrook
