#pragma once

#include <QSqlDatabase>
#include <QString>
#include <cstdint>
#include <map>
#include <optional>

namespace sumbrook {

class PracticeJournal;
class ProgressRecords;

// A pupil's progress as the class's server works it out from what every computer of the
// class sent: the best time of each exercise and the lifetime counts since the pupil's
// last clearing of the history, the highest level since the game was last started again.
// A computer brings its own copy up to it when the pupil sits down, so that the pupil
// keeps the best of every computer they practised at, and a clearing or a new game at
// another computer holds here too.
struct PupilProgress {
    int level = 0;
    std::int64_t questions = 0;
    std::int64_t rightAnswers = 0;
    std::map<int, std::int64_t> bestMs;         // by exercise
    std::optional<std::int64_t> clearedAtMs;    // the last clearing of the history
    std::optional<std::int64_t> restartedAtMs;  // the last new game (level 0)

    // Read through the pupils' login; nothing, with `error` one line, when the server
    // cannot answer.
    static std::optional<PupilProgress> read(QSqlDatabase& db, const QString& number,
                                             QString& error);
    // Every pupil's at once, by number: what a class computer reads while the pupils find
    // their names.
    static std::optional<std::map<QString, PupilProgress>> readAll(QSqlDatabase& db,
                                                                   QString& error);
    // Each best time the lesser of the two, the level and each count the higher; the
    // records are written.
    void mergeInto(ProgressRecords& records) const;
    // Brings the child's copy on this computer up to this: first a clearing or a new game
    // made elsewhere since this journal last heard of one, then mergeInto.
    void applyTo(PracticeJournal& journal, int childId, ProgressRecords& records) const;
};

}  // namespace sumbrook
