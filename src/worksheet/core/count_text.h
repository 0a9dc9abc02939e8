#pragma once

#include <QString>
#include <cstdint>

namespace sumbrook {

// The integer value of a count field's text: its leading integer (leading blanks skipped,
// an optional sign, then digits up to the first other character; no digits give 0). Very
// long numbers stop growing at the largest value rather than overflowing.
std::int64_t countFieldValue(const QString& text);

// True when the text is exactly the decimal writing of its value ("12"), false for texts
// the field turns back into "0" ("", "05", "1x", " 3").
bool isCanonicalCount(const QString& text);

}  // namespace sumbrook
