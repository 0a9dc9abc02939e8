#pragma once

#include "classroom/class_pupil.h"

namespace sumbrook {

class PracticeJournal;

// Makes `pupil` the one who practises at this computer from now on: the scene's progress,
// journal and review are then theirs. The one place that ties a pupil of the class to the
// practice journal. False when the journal cannot take them (said on "sumbrook.class");
// the practice goes on unseated then.
bool seatPupil(PracticeJournal& journal, const ClassPupil& pupil);

}  // namespace sumbrook
