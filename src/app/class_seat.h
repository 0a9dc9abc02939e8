#pragma once

#include <QString>
#include <map>
#include <optional>

#include "classroom/class_pupil.h"
#include "classroom/class_roster.h"
#include "classroom/connection_string.h"
#include "classroom/pupil_progress.h"

namespace sumbrook {

class PracticeJournal;

// What a class computer reads of its class at start-up, off the GUI thread, while the
// pupils look for their names: the class list (from the server, else as kept) and every
// pupil's progress from every computer, when the server answers.
struct ClassArrival {
    ClassRoster roster;
    std::optional<std::map<QString, PupilProgress>> progress;
    QString progressError;  // why there is no progress, when there is none

    static ClassArrival read(const ConnectionString& where, const QString& dataDirectory);
};

// Makes `pupil` the one who practises at this computer from now on: the scene's progress,
// journal and review are then theirs. The one place that ties a pupil of the class to the
// practice journal. False when the journal cannot take them (said on "sumbrook.class");
// the practice goes on unseated then.
// Their progress on this computer is first brought up to what the class's server knew of
// them from every computer (`arrival`), when it was read; else this computer's copy is
// used, and said.
bool seatPupil(PracticeJournal& journal, const ClassPupil& pupil, const ClassArrival* arrival);

}  // namespace sumbrook
