#pragma once

#include "classroom/connection_string.h"
#include "lesson_poller.h"

namespace sumbrook {

// The "此刻" reader's queries on the class's server: a connection of their own, opened on
// the reader's thread and closed with the queries.
LessonPoller::Source serverLessonSource(const ConnectionString& where);

}  // namespace sumbrook
