#pragma once

#include <QStringList>
#include <cstdio>
#include <functional>

#include "command_options.h"

namespace sumbrook {

class PracticeJournal;

// "sumbrook parent [--export-csv FILE] [--child NAME|NUMBER]": the parent's side of the
// program. With --export-csv it writes the child's journal (the chosen child, or the one
// named) as CSV and ends; otherwise it hands the parsed options, the open journal and the
// child to `window`. Returns the exit status: 0; 2 with one line on err for a bad argument
// or an unknown child; 1 when the journal cannot be opened or read, or the file cannot be
// written. Needs a QCoreApplication.
using ParentWindow =
    std::function<int(const CommandOptions& options, PracticeJournal& journal, int childId)>;
int runParentCommand(const QStringList& arguments, std::FILE* out, std::FILE* err,
                     const ParentWindow& window = {});

// The options `sumbrook parent` takes; the window's side may declare more.
CommandOptions parentCommandOptions();

}  // namespace sumbrook
