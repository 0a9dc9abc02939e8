#include "pupil_progress.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "class_connection.h"
#include "journal/practice_journal.h"
#include "practice/core/progress_records.h"

namespace sumbrook {

namespace {

std::optional<std::int64_t> optionalMs(const QVariant& value) {
    return value.isNull() ? std::nullopt : std::optional<std::int64_t>(value.toLongLong());
}

// Every pupil's progress, or only that of `number` when it is given.
std::optional<std::map<QString, PupilProgress>> readProgress(QSqlDatabase& db,
                                                             const QString& number,
                                                             QString& error) {
    std::map<QString, PupilProgress> progress;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const auto failed = [&] {
        error = ClassConnection::oneLine(query.lastError().text());
        return std::nullopt;
    };
    const QString only = number.isNull() ? QString() : QStringLiteral(" WHERE number = ?");
    query.prepare(QStringLiteral("SELECT number, level, questions, right_answers, cleared_at_ms,"
                                 " restarted_at_ms FROM pupil_progress") +
                  only);
    if (!number.isNull()) {
        query.addBindValue(number);
    }
    if (!query.exec()) {
        return failed();
    }
    while (query.next()) {
        PupilProgress& pupil = progress[query.value(0).toString()];
        pupil.level = query.value(1).toInt();
        pupil.questions = query.value(2).toLongLong();
        pupil.rightAnswers = query.value(3).toLongLong();
        pupil.clearedAtMs = optionalMs(query.value(4));
        pupil.restartedAtMs = optionalMs(query.value(5));
    }
    query.prepare(QStringLiteral("SELECT number, exercise, best_ms FROM pupil_best_times") + only);
    if (!number.isNull()) {
        query.addBindValue(number);
    }
    if (!query.exec()) {
        return failed();
    }
    while (query.next()) {
        progress[query.value(0).toString()].bestMs[query.value(1).toInt()] =
            query.value(2).toLongLong();
    }
    return progress;
}

}  // namespace

std::optional<PupilProgress> PupilProgress::read(QSqlDatabase& db, const QString& number,
                                                 QString& error) {
    auto progress = readProgress(db, number.isNull() ? QStringLiteral("") : number, error);
    if (!progress) {
        return std::nullopt;
    }
    const auto found = progress->find(number);
    return found == progress->end() ? PupilProgress{} : found->second;
}

std::optional<std::map<QString, PupilProgress>> PupilProgress::readAll(QSqlDatabase& db,
                                                                       QString& error) {
    return readProgress(db, QString(), error);
}

void PupilProgress::mergeInto(ProgressRecords& records) const {
    for (const auto& [exercise, ms] : bestMs) {
        records.recordCompletion(exercise, ms);  // taken only where it is faster
    }
    records.raiseCounts(questions, rightAnswers);
    if (level > records.level()) {
        records.setLevel(level);
    }
    records.flush();
}

void PupilProgress::applyTo(PracticeJournal& journal, int childId, ProgressRecords& records) const {
    if (clearedAtMs &&
        journal.takeProgressReset(childId, ProgressReset::HistoryCleared, *clearedAtMs)) {
        records.clearHistory();
    }
    if (restartedAtMs &&
        journal.takeProgressReset(childId, ProgressReset::GameRestarted, *restartedAtMs)) {
        records.setLevel(0);
    }
    mergeInto(records);
}

}  // namespace sumbrook
