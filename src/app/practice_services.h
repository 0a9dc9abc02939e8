#pragma once

#include <memory>

#include "moviehost/scene_services.h"

namespace sumbrook {

class PracticeJournal;

// The family's practice journal in the data folder, opened. Without a usable journal
// the first child practises, unrecorded.
std::shared_ptr<PracticeJournal> openPracticeJournal();

// The scene's services for the program: those of this machine, with the progress store
// of the child chosen to practise, the practice journal told of everything the child
// does, and that child's review drawn from the journal.
SceneServices practiceServices(std::shared_ptr<PracticeJournal> journal);

}  // namespace sumbrook
