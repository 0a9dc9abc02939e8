#pragma once

#include <QStringList>
#include <cstdio>

namespace sumbrook {

// `sumbrook themes [--skin N]`: a sample window with typical controls and the theme
// dialog over it. Without --skin the saved theme is applied first and the dialog's choices
// are stored as the program stores them; --skin N (1 to 8, the theme table's rows) shows
// that theme without reading or writing the configuration file. Needs a QApplication.
int runThemesCommand(const QStringList& arguments, std::FILE* err);

}  // namespace sumbrook
