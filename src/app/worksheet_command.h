#pragma once

#include <QStringList>
#include <cstdio>

namespace sumbrook {

// "sumbrook worksheet --page P --count TAG=N ... [--seed S] [--copies C] [--answers]
// [--pdf FILE] [--json]": generates worksheets as the Quizwright window does, prints their
// questions in the order they stand on the sheet and can write them as an A4 PDF. Needs a
// QGuiApplication. Returns the exit status: 0; 2 with one line on err for a bad argument
// or a refused total (the window's message); 1 when the sheet cannot be made or written.
int runWorksheetCommand(const QStringList& arguments, std::FILE* out, std::FILE* err);

}  // namespace sumbrook
