#pragma once

#include <QFont>
#include <QString>

namespace sumbrook {

// The sheet templates name Windows fonts; these are the Debian fonts that stand in for
// them. Vertical forms need the fixed-pitch one so that digits of one place line up.
class SheetFonts {
  public:
    // Registers the stand-ins with Qt's font substitution table (once per process).
    static void install();
    // The font for a cell: its named family (through the stand-ins) at a pixel size in the
    // painter's units (tenths of a millimetre on a sheet).
    static QFont cellFont(const QString& name, int pixelSize);
    // True for the fixed-pitch family, whose text is laid out on a character grid.
    static bool isFixedPitch(const QString& name);
    // The family that stands in for a template's font name.
    static QString standIn(const QString& name);
};

}  // namespace sumbrook
