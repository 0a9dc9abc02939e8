#pragma once

#include <QByteArray>
#include <stdexcept>
#include <string>

#include "sheet.h"

namespace sumbrook {

enum class SheetKind { Arithmetic, Vertical, Clock };

// A template that cannot be read: what is wrong and where.
class TemplateError : public std::runtime_error {
  public:
    explicit TemplateError(const std::string& what) : std::runtime_error(what) {}
};

// Reads and writes the stored sheet template format: the data constant (a 32-bit 1, a
// 32-bit byte count, then the "SDTW" bytes), all integers little-endian, texts GBK with
// a terminating zero. Reading checks every length against the bytes there are.
class SheetTemplate {
  public:
    // Throws TemplateError on anything damaged or truncated.
    static Sheet decode(const QByteArray& stored);
    static QByteArray encode(const Sheet& sheet);

    // The empty template of a kind, as the program carries it.
    static Sheet load(SheetKind kind);
    static QByteArray storedBytes(SheetKind kind);
};

}  // namespace sumbrook
