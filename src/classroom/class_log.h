#pragma once

#include <QLoggingCategory>

namespace sumbrook {

// "sumbrook.class": what the class's server code says when it carries on after a failure.
Q_DECLARE_LOGGING_CATEGORY(classLog)

}  // namespace sumbrook
