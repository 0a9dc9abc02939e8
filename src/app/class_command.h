#pragma once

#include <QStringList>
#include <cstdio>

namespace sumbrook {

// "sumbrook class init URL", "sumbrook class pupils import FILE", "sumbrook class sheets" and
// "sumbrook class report": setting a class's server up, filling its class list, and printing
// the class's mistakes sheets and its report as PDF. Without --connect the teacher's kept
// connection is used. Exit 0; 1 when the server cannot be reached or refuses; 2 on a wrong
// command line, connection string or list.
int runClassCommand(const QStringList& arguments, std::FILE* in, std::FILE* out, std::FILE* err);

// True for the commands that paint (and so need a Qt GUI application, offscreen).
bool classCommandPaints(const QStringList& arguments);

}  // namespace sumbrook
