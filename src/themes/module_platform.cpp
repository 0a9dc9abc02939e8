#include "module_platform.h"

namespace sumbrook {

// Out of line so that the interface's vtable has one home.
ModulePlatform::~ModulePlatform() = default;

}  // namespace sumbrook
