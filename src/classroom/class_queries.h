#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>
#include <vector>

#include "class_list.h"
#include "class_pupil.h"
#include "journal/journal_types.h"

namespace sumbrook {

// What the teacher's window, the class sheets and the week's report ask of the class's
// server, read through the teacher's login. Plain data and one interface, so that the
// window and the printouts can be shown over any source; ServerClassQueries is the real
// one. One pupil's own charts and tables come through JournalQueries (ServerPupilQueries).

// A pupil on the class list with the server's id, which ServerPupilQueries takes as the
// child's id. A pupil with recorded work is never deleted: they are moved to "已离开".
struct ListedPupil {
    int id = 0;
    ClassPupil pupil;
    bool left = false;
};

// One tile of "now": what a pupil did in the lesson going on.
struct PupilNow {
    ListedPupil pupil;
    bool practising = false;  // answered within kQuietAfter
    int exercise = 0;         // of the latest answer of the lesson; 0 when none
    int asked = 0;            // in this lesson
    int right = 0;
    int recentAsked = 0;  // of the last kRecentAnswers answers of the lesson
    int recentRight = 0;
    QDateTime lastAnswer;  // invalid when none in this lesson
    // Under kStuckShare right in the last kRecentAnswers (once there are kFewestToJudge),
    // or quiet for kQuietAfterSeconds after answering in this lesson while others of the
    // class practise.
    bool needsHelp = false;
};

struct LessonRules {
    static constexpr int kRecentAnswers = 10;
    static constexpr double kStuckShare = 0.6;
    // Fewer recent answers than this say nothing yet: one slip at the start is no trouble.
    static constexpr int kFewestToJudge = 5;
    static constexpr int kQuietAfterSeconds = 120;
    static constexpr int kLessonMinutes = 45;  // "this lesson": the answers since then
};

// One cell of the heat map: one pupil in one exercise over the span.
struct HeatCell {
    int tried = 0;
    int right = 0;
    std::int64_t medianMs = 0;
};

// The 37 exercises × the pupils on the list (not those who left), in the list's order.
struct ClassHeatMap {
    static constexpr int kExercises = 37;
    std::vector<ListedPupil> pupils;
    std::vector<std::array<HeatCell, kExercises>> cells;  // [pupil row][exercise - 1]
};

// A fact the class misses, with how many pupils missed it.
struct ClassMissedFact {
    MissedFact fact;  // asked and missed summed over the class
    int pupils = 0;   // pupils who missed it at least once in the span
};

// How many pupils are fluent in each addition and subtraction fact of the fact map's
// grids, over the pupils who have met it.
struct ClassFluency {
    int pupils = 0;  // pupils on the list
    // [a][b] as FactMap::addition(a, b): 11 × 11; and FactMap::subtraction(a, b): 21 × 21,
    // b ≤ a. `fluent` counts pupils whose cell is fluent, `met` those who met it at all.
    std::array<std::array<int, 11>, 11> additionFluent{};
    std::array<std::array<int, 11>, 11> additionMet{};
    std::array<std::array<int, 21>, 21> subtractionFluent{};
    std::array<std::array<int, 21>, 21> subtractionMet{};
};

class ClassQueries {
  public:
    virtual ~ClassQueries() = default;

    // The class list in the teacher's order (ClassRoster::numberBefore), those who left too.
    virtual QVector<ListedPupil> pupils() const = 0;
    // Each pupil on the list (not those who left) as of `now`.
    virtual QVector<PupilNow> lessonNow(const QDateTime& now) const = 0;
    virtual ClassHeatMap heatMap(const JournalSpan& span) const = 0;
    virtual QVector<ClassMissedFact> mostMissed(const JournalSpan& span, int limit) const = 0;
    virtual ClassFluency fluency() const = 0;

    // Managing the list; false with readError() set when the server refuses.
    virtual int addPupil(const ClassPupil& pupil) = 0;  // the new id, 0 on failure
    virtual bool renamePupil(int id, const QString& name) = 0;
    // A pupil with rows is moved to "已离开"; one without is deleted.
    virtual bool removePupil(int id) = 0;
    // A class list read from a file, all of it or none: new numbers added, known ones
    // renamed, a pupil who left and is on it again back. Nothing, with readError(), when
    // the server refuses.
    virtual std::optional<ClassList::Imported> importPupils(
        const std::vector<PupilListFile::Pupil>& pupils) = 0;

    // Why the last call answered with nothing, in one line; empty when it answered.
    virtual QString readError() const = 0;
};

}  // namespace sumbrook
