#pragma once

#include <QDateTime>
#include <QStringList>
#include <cstdio>

namespace sumbrook {

// "sumbrook worksheet --from-mistakes [--child NAME|NUMBER] [--days D] --pdf FILE": the
// mistakes sheet of the chosen child (or the child named) over the last D days (30 unless
// given), with its answer key, as a two-page A4 PDF; once it is written, the questions are
// printed one per line as they stand on the sheet, the sums, then the clocks ("钟面 3:15"). Returns
// 0; 2 for a bad argument or an unknown child; 1 when the journal cannot be opened or read, there
// is nothing missed to print, or the file cannot be written. Needs a QGuiApplication.
int runMistakesSheetCommand(const QStringList& arguments, std::FILE* out, std::FILE* err,
                            const QDateTime& now = QDateTime::currentDateTime());

// True when a worksheet command line asks for the mistakes sheet.
bool asksForMistakesSheet(const QStringList& arguments);

}  // namespace sumbrook
