#include "csv_writer.h"

namespace sumbrook {

QString CsvWriter::field(const QString& value) {
    QString text = value;
    if (!text.isEmpty() && (text.front() == u'=' || text.front() == u'+' || text.front() == u'-' ||
                            text.front() == u'@')) {
        text.prepend(u'\'');
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
