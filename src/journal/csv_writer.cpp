#include "csv_writer.h"

namespace sumbrook {

QString CsvWriter::field(const QString& value) {
    QString text = value;
    // Spreadsheets skip leading blanks and control characters before they look for a
    // formula, so the guard looks past them too.
    qsizetype first = 0;
    while (first < text.size() && (text.at(first).unicode() < 0x20 || text.at(first).isSpace())) {
        ++first;
    }
    if (first < text.size()) {
        const QChar c = text.at(first);
        if (c == u'=' || c == u'+' || c == u'-' || c == u'@') {
            text.prepend(u'\'');
        }
    }
    const bool quote = text.contains(u',') || text.contains(u'"') || text.contains(u'\n') ||
                       text.contains(u'\r') ||
                       (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    if (!quote) {
        return text;
    }
    text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

QString CsvWriter::row(const QStringList& fields) {
    QStringList out;
    out.reserve(fields.size());
    for (const QString& f : fields) {
        out.append(field(f));
    }
    return out.join(u',') + QStringLiteral("\r\n");
}

}  // namespace sumbrook
