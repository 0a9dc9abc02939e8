#include "journal_log.h"

namespace sumbrook {

Q_LOGGING_CATEGORY(journalLog, "sumbrook.journal")

}  // namespace sumbrook
