#pragma once

#include <QLoggingCategory>

namespace sumbrook {

// "sumbrook.journal": what the practice journal says when it carries on after a failure.
Q_DECLARE_LOGGING_CATEGORY(journalLog)

}  // namespace sumbrook
