#include "class_log.h"

namespace sumbrook {

Q_LOGGING_CATEGORY(classLog, "sumbrook.class")

}  // namespace sumbrook
