#pragma once

#include <QStringList>
#include <cstdio>

namespace sumbrook {

// "sumbrook facts [--child NAME] [--due] [--json]": every fact the child met with what
// its answers say (exercise, question, answer, asked, missed, median time, state, box,
// next due), or with --due only today's review in the order the scene asks it. A table
// for people, or one JSON object per line for scripts. Exit 0, 1 when the journal
// cannot be read, 2 on a wrong command line.
int runFactsCommand(const QStringList& arguments, std::FILE* out, std::FILE* err);

}  // namespace sumbrook
