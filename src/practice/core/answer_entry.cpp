#include "answer_entry.h"

namespace sumbrook {

void AnswerEntry::typeDigit(int d) {
    if (d < 0 || d > 9) {
        return;
    }
    if (digits_.isEmpty() && d == 0) {
        return;
    }
    digits_ += QChar(u'0' + d);
}

void AnswerEntry::erase() {
    digits_.chop(1);
}

void AnswerEntry::setFromText(const QString& shown) {
    digits_.clear();
    for (const QChar c : shown) {
        if (c.isDigit() && c.unicode() < 128 && !(digits_.isEmpty() && c == u'0')) {
            digits_ += c;
        }
    }
}

}  // namespace sumbrook
