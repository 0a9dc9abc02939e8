#pragma once

#include "classroom/class_pupil.h"
#include "classroom/connection_string.h"

namespace sumbrook {

class PracticeJournal;

// Makes `pupil` the one who practises at this computer from now on: the scene's progress,
// journal and review are then theirs. The one place that ties a pupil of the class to the
// practice journal. False when the journal cannot take them (said on "sumbrook.class");
// the practice goes on unseated then.
// Their progress on this computer is first brought up to what the class's server (`server`)
// knows of them from every computer, where it answers now.
bool seatPupil(PracticeJournal& journal, const ClassPupil& pupil, const ConnectionString& server);

}  // namespace sumbrook
