#pragma once

#include "moviehost/scene_services.h"

namespace sumbrook {

// The scene's services for the program: those of this machine, with the progress store
// of the child chosen to practise, the practice journal told of everything the child
// does, and that child's review drawn from the journal. Without a usable journal the
// first child practises, unrecorded.
SceneServices practiceServices();

}  // namespace sumbrook
