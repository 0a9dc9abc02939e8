#pragma once

#include <QString>

namespace sumbrook {

// The number being typed on the keypad (xian_x). It is held as decimal digits, so an
// entry of any length neither overflows nor fails; 0 and nothing typed are the same.
class AnswerEntry {
  public:
    void clear() { digits_.clear(); }
    // xian_x × 10 + d.
    void typeDigit(int d);
    // trunc(xian_x / 10).
    void erase();
    // Starts again from a shown value (the clock's hour field when "←" returns to it).
    void setFromText(const QString& shown);

    bool isZero() const { return digits_.isEmpty(); }
    // The text shown after a digit: the number, a lone 0 as "0".
    QString afterDigit() const { return isZero() ? QStringLiteral("0") : digits_; }
    // The text shown after "←": the number, or nothing when it became 0.
    QString afterErase() const { return digits_; }

  private:
    QString digits_;  // no leading zeros; empty means 0
};

}  // namespace sumbrook
