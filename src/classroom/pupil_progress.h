#pragma once

#include <QSqlDatabase>
#include <QString>
#include <cstdint>
#include <map>
#include <optional>

namespace sumbrook {

class ProgressRecords;

// A pupil's progress as the class's server works it out from what every computer of the
// class sent: the best time of each exercise, the level and the lifetime counts since
// the pupil's last clearing. A computer brings its own copy up to it when the pupil sits
// down, so that the pupil keeps the best of every computer they practised at.
struct PupilProgress {
    int level = 0;
    std::int64_t questions = 0;
    std::int64_t rightAnswers = 0;
    std::map<int, std::int64_t> bestMs;  // by exercise

    // Read through the pupils' login; nothing, with `error` one line, when the server
    // cannot answer.
    static std::optional<PupilProgress> read(QSqlDatabase& db, const QString& number,
                                             QString& error);
    // Each best time the lesser of the two, the level and each count the higher; the
    // records are written.
    void mergeInto(ProgressRecords& records) const;
};

}  // namespace sumbrook
