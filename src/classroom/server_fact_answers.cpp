#include "server_fact_answers.h"

#include <QSqlQuery>

#include "journal/fact_columns.h"
#include "server_read.h"

namespace sumbrook {

std::optional<std::map<int, QVector<FactAnswer>>> ServerFactAnswers::read(
    const QSqlDatabase& db, const QString& where, const QVariantList& values, QString& error) {
    // The fact's fields come only with the first answer of each fact, which is all that is
    // read of them; the rest of its answers carry the key alone.
    const QString sql =
        QStringLiteral(
            "SELECT a.pupil, a.fact, a.exercise, a.typed, a.at_ms, a.day - DATE '2000-01-01',"
            " a.correct, a.ms, a.review, f.first IS NOT NULL, f.kind, f.numbers, f.signs,"
            " f.blank, f.hour, f.minute, f.picture, f.money, f.unit, f.fact, f.expected"
            " FROM (SELECT a.*, row_number() OVER (PARTITION BY a.pupil, a.fact COLLATE"
            " \"C\" ORDER BY a.at_ms) = 1 AS first FROM answers a WHERE a.fact IS NOT NULL AND %1) "
            "a"
            " LEFT JOIN LATERAL (SELECT a.first, a.kind, a.numbers, a.signs, a.blank, a.hour,"
            " a.minute, a.picture, a.money, a.unit, a.fact, a.expected WHERE a.first) f ON true"
            " ORDER BY a.pupil, a.fact COLLATE \"C\", a.at_ms")
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
            fact = query.value(9).toBool() ? FactColumns::read(query, 10) : std::nullopt;
            expected = query.value(20).toString();
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
