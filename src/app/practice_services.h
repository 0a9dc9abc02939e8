#pragma once

#include "moviehost/scene_services.h"

namespace sumbrook {

// The scene's services for the program: those of this machine, with the progress store
// of the child chosen to practise and the practice journal told of everything the child
// does. Without a usable journal the first child practises, unrecorded.
SceneServices practiceServices();

}  // namespace sumbrook
