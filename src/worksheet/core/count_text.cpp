#include "count_text.h"

#include <limits>

namespace sumbrook {

std::int64_t countFieldValue(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        const int digit = text[i].unicode() - u'0';
        value = value > (kLargest - digit) / 10 ? kLargest : value * 10 + digit;
    }
    return negative ? -value : value;
}

bool isCanonicalCount(const QString& text) {
    return text == QString::number(countFieldValue(text));
}

}  // namespace sumbrook
