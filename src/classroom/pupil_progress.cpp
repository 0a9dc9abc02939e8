#include "pupil_progress.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "class_connection.h"
#include "practice/core/progress_records.h"

namespace sumbrook {

std::optional<PupilProgress> PupilProgress::read(QSqlDatabase& db, const QString& number,
                                                 QString& error) {
    PupilProgress progress;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const auto failed = [&] {
        error = ClassConnection::oneLine(query.lastError().text());
        return std::nullopt;
    };
    query.prepare(QStringLiteral(
        "SELECT level, questions, right_answers FROM pupil_progress WHERE number = ?"));
    query.addBindValue(number);
    if (!query.exec()) {
        return failed();
    }
    if (query.next()) {
        progress.level = query.value(0).toInt();
        progress.questions = query.value(1).toLongLong();
        progress.rightAnswers = query.value(2).toLongLong();
    }
    query.prepare(
        QStringLiteral("SELECT exercise, best_ms FROM pupil_best_times WHERE number = ?"));
    query.addBindValue(number);
    if (!query.exec()) {
        return failed();
    }
    while (query.next()) {
        progress.bestMs[query.value(0).toInt()] = query.value(1).toLongLong();
    }
    return progress;
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

}  // namespace sumbrook
