#pragma once

#include <QStringList>

namespace sumbrook {

// "sumbrook parent [--child NAME]": the parent's window over the family's journal, the
// child NAME chosen when given; with --export-csv, the export without a window. Makes
// the application object it needs and returns the exit status.
int runParentWindowCommand(int argc, char* argv[], const QStringList& arguments);

}  // namespace sumbrook
