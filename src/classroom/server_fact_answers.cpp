#include "server_fact_answers.h"

#include <QSqlQuery>

#include "journal/fact_columns.h"
#include "server_read.h"

namespace sumbrook {

std::optional<std::map<int, QVector<FactAnswer>>> ServerFactAnswers::read(
    const QSqlDatabase& db, const QString& where, const QVariantList& values, QString& error) {
    // Each fact's fields and expected answer are read off its first answer only.
    const QString sql =
        QStringLiteral(
            "SELECT a.pupil, a.fact, a.exercise, a.typed, a.at_ms, a.day - DATE '2000-01-01',"
            " a.correct, a.ms, a.review, a.expected, a.kind, a.numbers, a.signs, a.blank,"
            " a.hour, a.minute, a.picture, a.money, a.unit, a.fact FROM answers a"
            " WHERE a.fact IS NOT NULL AND %1 ORDER BY a.pupil, a.fact COLLATE \"C\", a.at_ms")
            .arg(where);
    QSqlQuery query(db);
    if (!ServerRead::run(query, sql, values)) {
        error = ServerRead::failed(query.lastError());
        return std::nullopt;
    }
    static const QDate kDayZero(2000, 1, 1);
    std::map<int, QVector<FactAnswer>> result;
    QVector<FactAnswer>* answers = nullptr;
    int pupil = 0;
    QString key;
    std::optional<PracticeFact> fact;
    QString expected;
    while (query.next()) {
        if (const int next = query.value(0).toInt(); !answers || next != pupil) {
            pupil = next;
            answers = &result[pupil];
            key.clear();
        }
        if (QString nextKey = query.value(1).toString(); nextKey != key) {
            key = std::move(nextKey);
            fact = FactColumns::read(query, 10);
            expected = query.value(9).toString();
        }
        if (!fact) {
            continue;  // a kind this program does not know
        }
        const QVariant day = query.value(5);
        answers->append({*fact, query.value(2).toInt(), expected, query.value(3).toString(),
                         query.value(4).toLongLong(),
                         day.isNull() ? QDate() : kDayZero.addDays(day.toLongLong()),
                         query.value(6).toBool(), query.value(7).toLongLong(),
                         query.value(8).toBool()});
    }
    if (query.lastError().isValid()) {
        error = ServerRead::failed(query.lastError());
        return std::nullopt;
    }
    return result;
}

}  // namespace sumbrook
