#pragma once

#include <QStringList>

namespace sumbrook {

// "sumbrook teacher [--connect CONNINFO]": the teacher's window over the class's server,
// signed in with the teacher's login (given, kept, or asked for once and kept). Makes the
// application object it needs and returns the exit status.
int runTeacherCommand(int argc, char* argv[], const QStringList& arguments);

}  // namespace sumbrook
