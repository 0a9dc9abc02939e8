#include "server_class_queries.h"

#include <QHash>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <map>

#include "class_connection.h"
#include "class_log.h"
#include "class_roster.h"
#include "journal/fact_columns.h"
#include "learning/fact_learning.h"
#include "learning/fact_map.h"
#include "server_missed_facts.h"
#include "server_read.h"

namespace sumbrook {

namespace {

// The answers of pupils on the list, for the class's reads.
const QString kOnTheList = QStringLiteral("a.pupil IN (SELECT id FROM pupils WHERE NOT \"left\")");

}  // namespace

ServerClassQueries::ServerClassQueries(QSqlDatabase db) : db_(std::move(db)) {
    // The window's reads sort a term's answers: in memory rather than on disk, and with
    // no time spent compiling statements that run for well under a second.
    QSqlQuery query(db_);
    if (!query.exec(QStringLiteral("SET work_mem = '64MB'")) ||
        !query.exec(QStringLiteral("SET jit = off"))) {
        qCInfo(classLog).noquote()
            << QStringLiteral(
                   "the class's server keeps its own settings for the teacher's"
                   " reads (%1); they may be slower")
                   .arg(ClassConnection::oneLine(query.lastError().text()));
    }
}

QVector<ListedPupil> ServerClassQueries::pupils() const {
    QSqlQuery query(db_);
    if (!ServerRead::run(query, QStringLiteral("SELECT id, number, name, \"left\" FROM pupils"))) {
        readError_ = ServerRead::failed(query.lastError());
        return {};
    }
    QVector<ListedPupil> result;
    while (query.next()) {
        result.append({query.value(0).toInt(),
                       {query.value(1).toString(), query.value(2).toString()},
                       query.value(3).toBool()});
    }
    std::stable_sort(result.begin(), result.end(), [](const ListedPupil& a, const ListedPupil& b) {
        return ClassRoster::numberBefore(a.pupil.number, b.pupil.number);
    });
    readError_.clear();
    return result;
}

QVector<PupilNow> ServerClassQueries::lessonNow(const QDateTime& now) const {
    QVector<PupilNow> result;
    for (const ListedPupil& pupil : pupils()) {
        if (!pupil.left) {
            PupilNow tile;
            tile.pupil = pupil;
            result.append(tile);
        }
    }
    if (!readError_.isEmpty()) {
        return {};
    }
    QHash<int, PupilNow*> byId;
    for (PupilNow& p : result) {
        byId.insert(p.pupil.id, &p);
    }
    const qint64 nowMs = now.toMSecsSinceEpoch();
    const qint64 startMs = nowMs - qint64{LessonRules::kLessonMinutes} * 60 * 1000;
    // Latest first, so that each pupil's first rows are the recent ones.
    QSqlQuery query(db_);
    if (!ServerRead::run(query,
                         QStringLiteral("SELECT a.pupil, a.at_ms, a.exercise, a.correct"
                                        " FROM answers a WHERE a.at_ms > ? AND a.at_ms <= ?"
                                        " ORDER BY a.pupil, a.at_ms DESC"),
                         {startMs, nowMs})) {
        readError_ = ServerRead::failed(query.lastError());
        return {};
    }
    while (query.next()) {
        PupilNow* p = byId.value(query.value(0).toInt());
        if (!p) {
            continue;  // a pupil who left, still answering
        }
        const bool right = query.value(3).toBool();
        if (p->asked == 0) {
            p->lastAnswer = QDateTime::fromMSecsSinceEpoch(query.value(1).toLongLong());
            p->exercise = query.value(2).toInt();
        }
        ++p->asked;
        p->right += right ? 1 : 0;
        if (p->recentAsked < LessonRules::kRecentAnswers) {
            ++p->recentAsked;
            p->recentRight += right ? 1 : 0;
        }
    }
    bool lessonGoingOn = false;
    for (PupilNow& p : result) {
        p.practising = p.asked > 0 &&
                       p.lastAnswer.msecsTo(now) < qint64{LessonRules::kQuietAfterSeconds} * 1000;
        lessonGoingOn = lessonGoingOn || p.practising;
    }
    // A pupil gone quiet while the others practise may be stuck; when the whole class is
    // quiet, the lesson is over or the teacher is speaking, and nobody is marked for it.
    for (PupilNow& p : result) {
        const bool stuck = p.recentAsked >= LessonRules::kFewestToJudge &&
                           p.recentRight < LessonRules::kStuckShare * p.recentAsked;
        p.needsHelp = stuck || (p.asked > 0 && !p.practising && lessonGoingOn);
    }
    readError_.clear();
    return result;
}

ClassHeatMap ServerClassQueries::heatMap(const JournalSpan& span) const {
    ClassHeatMap map;
    QHash<int, std::size_t> rowOf;
    for (const ListedPupil& pupil : pupils()) {
        if (!pupil.left) {
            rowOf.insert(pupil.id, map.pupils.size());
            map.pupils.push_back(pupil);
        }
    }
    if (!readError_.isEmpty()) {
        return {};
    }
    map.cells.resize(map.pupils.size());
    // The median as the journal takes it: the middle time, or the mean of the middle two,
    // picked by their places in each cell's times in order.
    QVariantList values;
    const QString sql =
        QStringLiteral(
            "SELECT pupil, exercise, max(n), count(*) FILTER (WHERE correct),"
            " avg(ms) FILTER (WHERE i IN ((n + 1) / 2, (n + 2) / 2))"
            " FROM (SELECT a.pupil, a.exercise, a.correct, a.ms,"
            " row_number() OVER (PARTITION BY a.pupil, a.exercise ORDER BY a.ms) AS i,"
            " count(*) OVER (PARTITION BY a.pupil, a.exercise) AS n"
            " FROM answers a WHERE a.exercise BETWEEN 1 AND %1 AND %2")
            .arg(ClassHeatMap::kExercises)
            .arg(kOnTheList) +
        ServerRead::spanClause(span, values) + QStringLiteral(") c GROUP BY pupil, exercise");
    QSqlQuery query(db_);
    if (!ServerRead::run(query, sql, values)) {
        readError_ = ServerRead::failed(query.lastError());
        return {};
    }
    while (query.next()) {
        const auto row = rowOf.constFind(query.value(0).toInt());
        if (row == rowOf.cend()) {
            continue;
        }
        HeatCell& cell = map.cells[*row][static_cast<std::size_t>(query.value(1).toInt() - 1)];
        cell.tried = query.value(2).toInt();
        cell.right = query.value(3).toInt();
        cell.medianMs = std::llround(query.value(4).toDouble());
    }
    readError_.clear();
    return map;
}

QVector<ClassMissedFact> ServerClassQueries::mostMissed(const JournalSpan& span, int limit) const {
    QVariantList values;
    const QString where = kOnTheList + ServerRead::spanClause(span, values);
    QString error;
    auto facts = ServerMissedFacts::read(db_, where, values, limit, error);
    readError_ = facts ? QString() : error;
    return facts ? std::move(*facts) : QVector<ClassMissedFact>();
}

ClassFluency ServerClassQueries::fluency() const {
    ClassFluency result;
    QSqlQuery query(db_);
    if (!ServerRead::run(query, QStringLiteral("SELECT count(*) FROM pupils WHERE NOT \"left\"")) ||
        !query.next()) {
        readError_ = ServerRead::failed(query.lastError());
        return result;
    }
    result.pupils = query.value(0).toInt();
    // A fact's state rests on its last kRecentAsks answers and the pupil's key time, which
    // rests on their fastest right answers with one digit; so only those rows come over,
    // and FactLearning judges them as it judges all of them. Of the one-digit answers each
    // pupil's fastest kFastestAnswers are enough; the first column tells them apart.
    const QString columns = QStringLiteral(
        "a.pupil, a.at_ms, a.correct, a.ms, a.kind, a.numbers, a.signs, a.blank,"
        " a.hour, a.minute, a.picture, a.money, a.unit, a.fact, a.day");
    const QString sql =
        QStringLiteral(
            "SELECT false, %1 - DATE '2000-01-01' FROM (SELECT %1, row_number() OVER"
            " (PARTITION BY a.pupil, a.fact COLLATE \"C\" ORDER BY a.at_ms DESC) AS recent"
            " FROM answers a"
            " WHERE a.kind = 'two-number' AND %2) a WHERE a.recent <= %3"
            " UNION ALL"
            // Each pupil's answers in order of time taken (answers_by_pupil_ms) until ten.
            // The COALESCE keeps the planner from taking the digits for a rare case and
            // sorting all of a pupil's answers instead.
            " SELECT true, %1 - DATE '2000-01-01' FROM pupils p CROSS JOIN LATERAL"
            " (SELECT %1 FROM answers a WHERE a.pupil = p.id AND a.correct AND a.ms > 0"
            " AND COALESCE((CASE WHEN a.kind IN ('two-number', 'expression')"
            " AND a.blank >= 0 THEN length(split_part(a.numbers, ',', a.blank + 1))"
            " WHEN a.kind = 'money' THEN length(a.money::text) END) = 1, false)"
            " ORDER BY a.ms LIMIT %4) a WHERE NOT p.\"left\"")
            .arg(columns, kOnTheList)
            .arg(FactLearning::kRecentAsks)
            .arg(TypingSpeed::kFastestAnswers);
    if (!ServerRead::run(query, sql)) {
        readError_ = ServerRead::failed(query.lastError());
        return result;
    }
    const auto judge = [&result](const QVector<FactAnswer>& answers) {
        const FactLearning learning(answers);
        const FactMap map(learning);
        const auto count = [](const FactCell& cell, int& fluent, int& met) {
            fluent += cell.state == Fluency::Fluent ? 1 : 0;
            met += cell.met.empty() ? 0 : 1;
        };
        for (int a = 0; a <= FactMap::kAddendMax; ++a) {
            for (int b = 0; b <= FactMap::kAddendMax; ++b) {
                count(map.addition(a, b), result.additionFluent[a][b], result.additionMet[a][b]);
            }
        }
        for (int a = 0; a <= FactMap::kMinuendMax; ++a) {
            for (int b = 0; b <= a; ++b) {
                count(map.subtraction(a, b), result.subtractionFluent[a][b],
                      result.subtractionMet[a][b]);
            }
        }
    };
    static const QDate kDayZero(2000, 1, 1);
    std::map<int, QVector<FactAnswer>> recent;
    std::map<int, QVector<FactAnswer>> fastest;
    QString key;
    std::optional<PracticeFact> fact;
    while (query.next()) {
        // Rows come fact by fact: each fact's fields are read where it changes.
        if (QString nextKey = query.value(14).toString(); nextKey != key) {
            key = std::move(nextKey);
            fact = FactColumns::read(query, 5);
        }
        if (fact) {
            // The day as a number: a date without one is worked out in local time.
            const QVariant day = query.value(15);
            (query.value(0).toBool() ? fastest : recent)[query.value(1).toInt()].append(
                {*fact, 0, QString(), QString(), query.value(2).toLongLong(),
                 day.isNull() ? QDate() : kDayZero.addDays(day.toLongLong()),
                 query.value(3).toBool(), query.value(4).toLongLong(), false});
        }
    }
    if (query.lastError().isValid()) {
        readError_ = ServerRead::failed(query.lastError());
        return ClassFluency{};
    }
    for (auto& [pupil, answers] : fastest) {
        QVector<FactAnswer>& theirs = recent[pupil];
        const qsizetype recentOnes = theirs.size();
        for (const FactAnswer& answer : answers) {
            // A fast answer that is also one of its fact's last is there already.
            const auto begin = theirs.cbegin();
            if (std::none_of(begin, begin + recentOnes, [&](const FactAnswer& known) {
                    return known.atMs == answer.atMs && known.fact == answer.fact;
                })) {
                theirs.append(answer);
            }
        }
    }
    for (const auto& [pupil, answers] : recent) {
        judge(answers);
    }
    readError_.clear();
    return result;
}

std::optional<ClassList::Imported> ServerClassQueries::importPupils(
    const std::vector<PupilListFile::Pupil>& pupils) {
    std::optional<ClassList::Imported> imported = ClassList::import(db_, pupils, readError_);
    if (imported) {
        readError_.clear();
    }
    return imported;
}

int ServerClassQueries::addPupil(const ClassPupil& pupil) {
    QSqlQuery query(db_);
    if (!ServerRead::run(query,
                         QStringLiteral("INSERT INTO pupils (number, name) VALUES (?, ?)"
                                        " RETURNING id"),
                         {pupil.number.trimmed(), pupil.name.simplified()}) ||
        !query.next()) {
        readError_ = ServerRead::refused(query.lastError());
        return 0;
    }
    readError_.clear();
    return query.value(0).toInt();
}

bool ServerClassQueries::renamePupil(int id, const QString& name) {
    QSqlQuery query(db_);
    if (!ServerRead::run(query, QStringLiteral("UPDATE pupils SET name = ? WHERE id = ?"),
                         {name.simplified(), id})) {
        readError_ = ServerRead::refused(query.lastError());
        return false;
    }
    if (query.numRowsAffected() != 1) {
        readError_ = QStringLiteral("pupil %1 is not on the class list").arg(id);
        return false;
    }
    readError_.clear();
    return true;
}

bool ServerClassQueries::removePupil(int id) {
    QSqlQuery query(db_);
    if (!ServerRead::run(query, QStringLiteral("SELECT remove_pupil(?)"), {id}) || !query.next()) {
        readError_ = ServerRead::refused(query.lastError());
        return false;
    }
    if (query.value(0).isNull()) {
        readError_ = QStringLiteral("pupil %1 is not on the class list").arg(id);
        return false;
    }
    readError_.clear();
    return true;
}

}  // namespace sumbrook
