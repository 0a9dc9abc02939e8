#include "server_missed_facts.h"

#include <QDateTime>
#include <QHash>
#include <QSqlQuery>

#include "journal/fact_columns.h"
#include "journal/missed_fact_order.h"
#include "server_read.h"

namespace sumbrook {

namespace {

// The group an answer counts in; `keyOf` is the same in C++. Only the columns read, and
// inlined into each use: a copy of every row would cost more than reading them twice.
QString answersWithKey(const QString& where) {
    return QStringLiteral(
               "WITH s AS NOT MATERIALIZED (SELECT a.pupil, a.at_ms, a.correct, a.typed,"
               " a.exercise, a.shown, a.expected, a.kind, a.numbers, a.signs, a.blank, a.hour,"
               " a.minute, a.picture, a.money, a.unit, a.fact, COALESCE(a.fact, a.exercise ||"
               " chr(31) || a.shown || chr(31) || a.expected) AS k FROM answers a WHERE %1)")
        .arg(where);
}

QString keyOf(const MissedFact& f) {
    return f.fact ? f.fact->key()
                  : QString::number(f.exercise) + QChar(31) + f.shown + QChar(31) + f.expected;
}

}  // namespace

std::optional<QVector<ClassMissedFact>> ServerMissedFacts::read(const QSqlDatabase& db,
                                                                const QString& where,
                                                                const QVariantList& values,
                                                                int limit, QString& error) {
    QVector<MissedFact> facts;
    QHash<QString, int> pupils;
    if (limit <= 0) {
        return QVector<ClassMissedFact>{};
    }
    QSqlQuery query(db);
    const QString columns = QStringLiteral(
        "l.kind, l.numbers, l.signs, l.blank, l.hour,"
        " l.minute, l.picture, l.money, l.unit, l.fact");
    const QString sql =
        answersWithKey(where) +
        QStringLiteral(
            // By fact and pupil first, so that the pupils are counted without sorting.
            ", p AS (SELECT k, pupil, count(*) AS asked, count(*) FILTER (WHERE NOT correct)"
            " AS missed, max(at_ms) FILTER (WHERE NOT correct) AS last FROM s GROUP BY k, pupil),"
            " m AS (SELECT k, sum(missed) AS missed, max(last) AS last, sum(asked) AS asked,"
            " count(*) FILTER (WHERE missed > 0) AS pupils FROM p GROUP BY k"
            " HAVING sum(missed) > 0),"
            " l AS (SELECT DISTINCT ON (k) * FROM s WHERE NOT correct ORDER BY k, at_ms DESC)"
            " SELECT l.exercise, l.shown, l.expected, m.missed, m.last, m.asked, m.pupils, %1"
            " FROM m JOIN l USING (k)")
            .arg(columns);
    if (!ServerRead::run(query, sql, values)) {
        error = ServerRead::failed(query.lastError());
        return std::nullopt;
    }
    while (query.next()) {
        MissedFact fact;
        fact.exercise = query.value(0).toInt();
        fact.shown = query.value(1).toString();
        fact.expected = query.value(2).toString();
        fact.missed = query.value(3).toInt();
        fact.lastMissed = QDateTime::fromMSecsSinceEpoch(query.value(4).toLongLong());
        fact.asked = query.value(5).toInt();
        fact.fact = FactColumns::read(query, 7);
        pupils.insert(keyOf(fact), query.value(6).toInt());
        facts.append(fact);
    }
    MissedFactOrder::sort(facts, limit);

    QHash<QString, MissedFact*> byKey;
    for (MissedFact& f : facts) {
        byKey.insert(keyOf(f), &f);
    }
    if (!byKey.isEmpty()) {
        if (!ServerRead::run(query,
                             answersWithKey(where) +
                                 QStringLiteral(" SELECT k, typed, count(*) AS n, min(at_ms) AS"
                                                " first FROM s WHERE NOT correct GROUP BY k,"
                                                " typed ORDER BY n DESC, first"),
                             values)) {
            error = ServerRead::failed(query.lastError());
            return std::nullopt;
        }
        while (query.next()) {
            if (MissedFact* f = byKey.value(query.value(0).toString())) {
                f->wrongAnswers.append(query.value(1).toString());
            }
        }
    }
    QVector<ClassMissedFact> result;
    result.reserve(facts.size());
    for (const MissedFact& f : facts) {
        result.append({f, pupils.value(keyOf(f))});
    }
    return result;
}

}  // namespace sumbrook
