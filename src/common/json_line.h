#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace sumbrook {

// One JSON object written on one line, its fields in the order they were added. The
// command line prints its records this way so that people and scripts read the fields
// in a fixed, meaningful order.
class JsonLine {
  public:
    JsonLine& add(const QString& key, const QString& text);
    JsonLine& add(const QString& key, const char* utf8) {
        return add(key, QString::fromUtf8(utf8));
    }
    JsonLine& add(const QString& key, std::int64_t number);
    JsonLine& add(const QString& key, int number) { return add(key, std::int64_t{number}); }
    JsonLine& add(const QString& key, double number);

    // The object as UTF-8, without a line end.
    QByteArray toUtf8() const { return "{" + body_ + "}"; }

    static QByteArray quoted(const QString& text);

  private:
    void addRaw(const QString& key, const QByteArray& value);

    QByteArray body_;
};

}  // namespace sumbrook
