#pragma once

#include <QString>
#include <QStringList>

namespace sumbrook {

// Rows of comma-separated fields as spreadsheet programs read them: a field holding a
// comma, a quote, a line break or outer spaces is quoted with its quotes doubled, and a
// field a spreadsheet would take for a formula (=, +, -, @ first, even after blanks or
// control characters) gets a leading apostrophe so that it stays text. Lines end in CRLF.
class CsvWriter {
  public:
    static QString field(const QString& value);
    static QString row(const QStringList& fields);
};

}  // namespace sumbrook
