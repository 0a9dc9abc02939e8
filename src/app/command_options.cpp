#include "command_options.h"

namespace sumbrook {

CommandOptions& CommandOptions::withValue(const QString& name, bool repeatable) {
    valueNames_.insert(name);
    if (repeatable) {
        repeatable_.insert(name);
    }
    return *this;
}

CommandOptions& CommandOptions::withFlag(const QString& name) {
    flagNames_.insert(name);
    return *this;
}

bool CommandOptions::parse(const QStringList& arguments) {
    values_.clear();
    flags_.clear();
    error_.clear();
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(QStringLiteral("--"))) {
            error_ = QStringLiteral("unexpected argument '%1'").arg(argument);
            return false;
        }
        QString name = argument.mid(2);
        std::optional<QString> inlineValue;
        if (const qsizetype eq = name.indexOf(u'='); eq >= 0) {
            inlineValue = name.mid(eq + 1);
            name.truncate(eq);
        }
        if (flagNames_.contains(name) && !inlineValue) {
            flags_.insert(name);
            continue;
        }
        if (!valueNames_.contains(name)) {
            error_ = QStringLiteral("unknown option '--%1'").arg(name);
            return false;
        }
        QString value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            error_ = QStringLiteral("option '--%1' needs a value").arg(name);
            return false;
        }
        if (values_.contains(name) && !repeatable_.contains(name)) {
            error_ = QStringLiteral("option '--%1' is given more than once").arg(name);
            return false;
        }
        values_[name].append(value);
    }
    return true;
}

std::optional<std::uint64_t> CommandOptions::wholeNumber(const QString& text, std::uint64_t min,
                                                         std::uint64_t max) {
    if (text.isEmpty() || text.size() > 20) {
        return std::nullopt;
    }
    std::uint64_t n = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        const std::uint64_t digit = c.unicode() - u'0';
        if (n > (UINT64_MAX - digit) / 10) {
            return std::nullopt;
        }
        n = n * 10 + digit;
    }
    if (n < min || n > max) {
        return std::nullopt;
    }
    return n;
}

}  // namespace sumbrook
