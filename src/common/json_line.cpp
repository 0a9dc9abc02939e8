#include "json_line.h"

#include <cmath>

namespace sumbrook {

QByteArray JsonLine::quoted(const QString& text) {
    QByteArray out = "\"";
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (u < 0x20) {
                    out += QByteArray("\\u00") + QByteArray::number(u, 16).rightJustified(2, '0');
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

void JsonLine::addRaw(const QString& key, const QByteArray& value) {
    if (!body_.isEmpty()) {
        body_ += ",";
    }
    body_ += quoted(key) + ":" + value;
}

JsonLine& JsonLine::add(const QString& key, const QString& text) {
    addRaw(key, quoted(text));
    return *this;
}

JsonLine& JsonLine::add(const QString& key, std::int64_t number) {
    addRaw(key, QByteArray::number(static_cast<qlonglong>(number)));
    return *this;
}

JsonLine& JsonLine::add(const QString& key, double number) {
    // JSON has no infinities or NaN; they are written as null.
    addRaw(key, std::isfinite(number) ? QByteArray::number(number, 'g', 15) : "null");
    return *this;
}

}  // namespace sumbrook
