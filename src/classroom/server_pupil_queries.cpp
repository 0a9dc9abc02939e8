#include "server_pupil_queries.h"

#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <cmath>

#include "class_roster.h"
#include "common/output_file.h"
#include "journal/answers_csv.h"
#include "journal/fact_columns.h"
#include "server_fact_answers.h"
#include "server_missed_facts.h"
#include "server_read.h"

namespace sumbrook {

namespace {

constexpr int kExercises = 37;

QDateTime fromMs(const QVariant& value) {
    return value.isNull() ? QDateTime() : QDateTime::fromMSecsSinceEpoch(value.toLongLong());
}

}  // namespace

ServerPupilQueries::ServerPupilQueries(QSqlDatabase db) : db_(std::move(db)) {}

QVector<Child> ServerPupilQueries::children() const {
    QSqlQuery query(db_);
    if (!ServerRead::run(
            query, QStringLiteral("SELECT id, number, name FROM pupils WHERE NOT \"left\""))) {
        readError_ = ServerRead::failed(query.lastError());
        return {};
    }
    struct Listed {
        QString number;
        Child child;
    };
    std::vector<Listed> listed;
    while (query.next()) {
        listed.push_back(
            {query.value(1).toString(), {query.value(0).toInt(), query.value(2).toString()}});
    }
    std::stable_sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) {
        return ClassRoster::numberBefore(a.number, b.number);
    });
    QVector<Child> result;
    for (const Listed& l : listed) {
        result.append(l.child);
    }
    readError_.clear();
    return result;
}

int ServerPupilQueries::currentChildId() const {
    if (chosen_ != 0) {
        return chosen_;
    }
    const QVector<Child> pupils = children();
    return pupils.isEmpty() ? 0 : pupils.front().id;
}

int ServerPupilQueries::addChild(const QString&) {
    readError_ = QStringLiteral("pupils are added and renamed on the class list");
    return 0;
}

bool ServerPupilQueries::renameChild(int, const QString&) {
    readError_ = QStringLiteral("pupils are added and renamed on the class list");
    return false;
}

bool ServerPupilQueries::chooseChild(int id) {
    QSqlQuery query(db_);
    if (!ServerRead::run(query, QStringLiteral("SELECT 1 FROM pupils WHERE id = ?"), {id})) {
        readError_ = ServerRead::failed(query.lastError());
        return false;
    }
    if (!query.next()) {
        return false;
    }
    chosen_ = id;
    return true;
}

QVector<DayTally> ServerPupilQueries::dailyTallies(int childId, const JournalSpan& span) const {
    QVariantList values{childId};
    const QString sql = QStringLiteral(
                            "SELECT a.day, count(*), count(*) FILTER (WHERE a.correct)"
                            " FROM answers a WHERE a.pupil = ?") +
                        ServerRead::spanClause(span, values) +
                        QStringLiteral(" GROUP BY a.day ORDER BY a.day NULLS FIRST");
    QSqlQuery query(db_);
    if (!ServerRead::run(query, sql, values)) {
        readError_ = ServerRead::failed(query.lastError());
        return {};
    }
    QVector<DayTally> result;
    while (query.next()) {
        result.append({query.value(0).toDate(), query.value(1).toInt(), query.value(2).toInt()});
    }
    readError_.clear();
    return result;
}

QVector<AnswerTimePoint> ServerPupilQueries::answerTimes(int childId, int exercise,
                                                         const JournalSpan& span) const {
    QVariantList values{childId, exercise};
    const QString sql = QStringLiteral(
                            "SELECT a.at_ms, a.ms, a.correct FROM answers a"
                            " WHERE a.pupil = ? AND a.exercise = ?") +
                        ServerRead::spanClause(span, values) + QStringLiteral(" ORDER BY a.at_ms");
    QSqlQuery query(db_);
    if (!ServerRead::run(query, sql, values)) {
        readError_ = ServerRead::failed(query.lastError());
        return {};
    }
    QVector<AnswerTimePoint> result;
    while (query.next()) {
        result.append(
            {fromMs(query.value(0)), query.value(1).toLongLong(), query.value(2).toBool()});
    }
    readError_.clear();
    return result;
}

QVector<ExerciseTally> ServerPupilQueries::exerciseTallies(int childId,
                                                           const JournalSpan& span) const {
    QVector<ExerciseTally> result(kExercises);
    for (int i = 0; i < kExercises; ++i) {
        result[i].exercise = i + 1;
    }
    const QVector<ExerciseTally> untried = result;
    const auto at = [&result](int exercise) -> ExerciseTally* {
        return exercise >= 1 && exercise <= kExercises ? &result[exercise - 1] : nullptr;
    };
    QSqlQuery query(db_);
    // percentile_cont(0.5) is the middle time, or the mean of the middle two.
    QVariantList values{childId};
    QString sql = QStringLiteral(
                      "SELECT a.exercise, count(*), count(*) FILTER (WHERE a.correct),"
                      " max(a.at_ms), percentile_cont(0.5) WITHIN GROUP (ORDER BY a.ms)"
                      " FROM answers a WHERE a.pupil = ?") +
                  ServerRead::spanClause(span, values) + QStringLiteral(" GROUP BY a.exercise");
    if (!ServerRead::run(query, sql, values)) {
        readError_ = ServerRead::failed(query.lastError());
        return untried;
    }
    while (query.next()) {
        if (ExerciseTally* t = at(query.value(0).toInt())) {
            t->tried = query.value(1).toInt();
            t->right = query.value(2).toInt();
            t->lastPractised = fromMs(query.value(3));
            t->medianMs = std::llround(query.value(4).toDouble());
        }
    }
    values = {childId};
    sql = QStringLiteral(
              "SELECT a.exercise, min(a.ms) FROM runs a WHERE a.pupil = ?"
              " AND a.event = 'completion' AND a.ms IS NOT NULL") +
          ServerRead::spanClause(span, values) + QStringLiteral(" GROUP BY a.exercise");
    if (!ServerRead::run(query, sql, values)) {
        readError_ = ServerRead::failed(query.lastError());
        return untried;
    }
    while (query.next()) {
        if (ExerciseTally* t = at(query.value(0).toInt())) {
            t->bestMs = query.value(1).toLongLong();
        }
    }
    readError_.clear();
    return result;
}

QVector<MissedFact> ServerPupilQueries::missedFacts(int childId, const JournalSpan& span,
                                                    int limit) const {
    QVariantList values{childId};
    const QString where = QStringLiteral("a.pupil = ?") + ServerRead::spanClause(span, values);
    QString error;
    const auto facts = ServerMissedFacts::read(db_, where, values, limit, error);
    if (!facts) {
        readError_ = error;
        return {};
    }
    QVector<MissedFact> result;
    result.reserve(facts->size());
    for (const ClassMissedFact& f : *facts) {
        result.append(f.fact);
    }
    readError_.clear();
    return result;
}

QVector<FactAnswer> ServerPupilQueries::factAnswers(int childId) const {
    QString error;
    auto answers = ServerFactAnswers::read(db_, QStringLiteral("a.pupil = ?"), {childId}, error);
    if (!answers) {
        readError_ = error;
        return {};
    }
    readError_.clear();
    const auto it = answers->find(childId);
    return it == answers->end() ? QVector<FactAnswer>() : std::move(it->second);
}

bool ServerPupilQueries::exportCsv(int childId, const QString& path) const {
    QSqlQuery query(db_);
    if (!ServerRead::run(query, QStringLiteral("SELECT name FROM pupils WHERE id = ?"),
                         {childId})) {
        readError_ = ServerRead::failed(query.lastError());
        return false;
    }
    const QString name = query.next() ? query.value(0).toString() : QString();
    const QString sql = QStringLiteral(
                            "SELECT a.at_ms, a.exercise, a.shown, a.expected, a.typed,"
                            " a.correct, a.ms, a.review, %1 FROM answers a WHERE a.pupil = ?"
                            " ORDER BY a.at_ms")
                            .arg(FactColumns::names());
    if (!ServerRead::run(query, sql, {childId})) {
        readError_ = ServerRead::failed(query.lastError());
        return false;
    }
    QVector<AnsweredQuestion> answers;
    while (query.next()) {
        AnsweredQuestion a;
        a.at = fromMs(query.value(0));
        a.childId = childId;
        a.exercise = query.value(1).toInt();
        a.shown = query.value(2).toString();
        a.expected = query.value(3).toString();
        a.typed = query.value(4).toString();
        a.right = query.value(5).toBool();
        a.ms = query.value(6).toLongLong();
        a.review = query.value(7).toBool();
        a.fact = FactColumns::read(query, 8);
        answers.append(a);
    }
    readError_.clear();
    OutputFile file(path);
    const QByteArray bytes = AnswersCsv::text(name, answers).toUtf8();
    if (!file.open() || file.write(bytes) != bytes.size() || !file.commit()) {
        readError_ = file.reason();
        return false;
    }
    return true;
}

}  // namespace sumbrook
