#pragma once

#include <QString>
#include <vector>

#include "worksheet/core/sheet.h"

namespace sumbrook {

// Writes sheets into one PDF file, one sheet a page, on A4 portrait.
class SheetPdfWriter {
  public:
    // False, with a reason in *error, when the file cannot be written.
    static bool write(const QString& path, const std::vector<Sheet>& pages, QString* error);
};

}  // namespace sumbrook
