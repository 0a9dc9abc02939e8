#pragma once

#include <QStringList>
#include <cstdio>

namespace sumbrook {

// "sumbrook class init URL" and "sumbrook class pupils import FILE --connect CONNINFO":
// setting a class's server up and filling its class list. Exit 0; 1 when the server
// cannot be reached or refuses; 2 on a wrong command line, connection string or list.
int runClassCommand(const QStringList& arguments, std::FILE* in, std::FILE* out, std::FILE* err);

}  // namespace sumbrook
