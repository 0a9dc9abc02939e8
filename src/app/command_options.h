#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace sumbrook {

// The options of one subcommand: "--name value", "--name=value" and bare flags. Anything
// else is refused with a one-line reason. It knows nothing of what the options mean.
class CommandOptions {
  public:
    // Declares an option that takes a value; a repeatable one may be given many times.
    CommandOptions& withValue(const QString& name, bool repeatable = false);
    CommandOptions& withFlag(const QString& name);

    // False, with error() set, on an unknown option, a missing value, a value given twice
    // to an option that is not repeatable, or a stray argument.
    bool parse(const QStringList& arguments);
    QString error() const { return error_; }

    bool has(const QString& name) const { return values_.contains(name) || flags_.contains(name); }
    QString value(const QString& name) const { return values_.value(name).value(0); }
    QStringList values(const QString& name) const { return values_.value(name); }

    // A whole decimal number in [min, max] with nothing around it, or nothing.
    static std::optional<std::uint64_t> wholeNumber(const QString& text, std::uint64_t min,
                                                    std::uint64_t max);

  private:
    QSet<QString> valueNames_;
    QSet<QString> repeatable_;
    QSet<QString> flagNames_;
    QMap<QString, QStringList> values_;
    QSet<QString> flags_;
    QString error_;
};

}  // namespace sumbrook
