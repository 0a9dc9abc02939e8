#pragma once

#include <QStringList>
#include <cstdio>

namespace sumbrook {

// "sumbrook questions --exercise N [--count K] [--seed S]": K practice questions of
// exercise N, one JSON object per line. Returns the exit status: 0, or 2 with one line
// on err for a bad argument.
int runQuestionsCommand(const QStringList& arguments, std::FILE* out, std::FILE* err);

}  // namespace sumbrook
