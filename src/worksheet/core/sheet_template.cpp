#include "sheet_template.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace sumbrook {

// Compiled in from assets/templates by the build (see this folder's CMakeLists.txt).
namespace embedded {
extern const unsigned char kArithmeticSheetTemplate[];
extern const std::size_t kArithmeticSheetTemplateSize;
extern const unsigned char kVerticalSheetTemplate[];
extern const std::size_t kVerticalSheetTemplateSize;
extern const unsigned char kClockSheetTemplate[];
extern const std::size_t kClockSheetTemplateSize;
}  // namespace embedded

namespace {

// Limits far above any real worksheet; they keep a damaged count from asking for memory
// or time out of all proportion to the bytes that hold it.
constexpr std::uint32_t kMaxRows = 1000;
constexpr std::uint32_t kMaxColumns = 1000;
constexpr std::uint32_t kMaxCells = 100000;
constexpr std::uint32_t kMaxLength = 100000;  // tenths of a millimetre: ten metres
constexpr std::uint32_t kMaxFontNameBytes = 256;
constexpr std::uint32_t kMaxTextBytes = 65536;  // with the terminating zero

constexpr qsizetype kPrefixBytes = 8;      // the leading 1 and the byte count
constexpr qsizetype kCellFixedBytes = 24;  // a cell record with no font name and no text
constexpr qsizetype kPageSetupBytes = 4 * 4 + 4 * 2 + 12;
constexpr char kMagic[] = "SDTW";

std::string cellName(std::uint32_t row, std::uint32_t column) {
    return "cell (" + std::to_string(row) + ", " + std::to_string(column) + ")";
}

[[noreturn]] void refuse(qsizetype offset, const std::string& what) {
    throw TemplateError("sheet template: " + what + " at byte offset " + std::to_string(offset));
}

// Reads the stored bytes front to back. Every read is measured against what remains
// first, so damaged input ends in TemplateError and never in a read past the end.
class ByteReader {
  public:
    explicit ByteReader(const QByteArray& bytes) : bytes_(bytes) {}

    qsizetype offset() const { return offset_; }
    qsizetype remaining() const { return bytes_.size() - offset_; }

    void need(qsizetype count, const std::string& what) const {
        if (count > remaining()) {
            refuse(offset_, "truncated: " + what + " needs " + std::to_string(count) +
                                " bytes but only " + std::to_string(remaining()) + " remain");
        }
    }
    std::uint8_t u8(const std::string& what) {
        need(1, what);
        return static_cast<std::uint8_t>(bytes_[offset_++]);
    }
    std::uint16_t u16(const std::string& what) {
        need(2, what);
        const auto value = qFromLittleEndian<std::uint16_t>(bytes_.constData() + offset_);
        offset_ += 2;
        return value;
    }
    std::uint32_t u32(const std::string& what) {
        need(4, what);
        const auto value = qFromLittleEndian<std::uint32_t>(bytes_.constData() + offset_);
        offset_ += 4;
        return value;
    }
    QByteArray take(qsizetype count, const std::string& what) {
        need(count, what);
        QByteArray part = bytes_.mid(offset_, count);
        offset_ += count;
        return part;
    }

  private:
    const QByteArray& bytes_;
    qsizetype offset_ = 0;
};

QByteArray toGbk(const QString& text) {
    // A fresh converter each time: the error flag of a reused one does not reliably
    // clear between strings.
    QStringEncoder encoder("GBK", QStringEncoder::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    return encoder.hasError() ? QByteArray() : bytes;
}

// Accepts only bytes that come back unchanged when written again, so whatever is read
// is stored again byte for byte.
QString fromGbk(const QByteArray& bytes, qsizetype offset, const std::string& what) {
    QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || toGbk(text) != bytes) {
        refuse(offset, what + " is not valid GBK");
    }
    return text;
}

std::uint32_t readLength(ByteReader& in, const std::string& what) {
    const qsizetype at = in.offset();
    const std::uint32_t value = in.u32(what);
    if (value > kMaxLength) {
        refuse(at, what + " is " + std::to_string(value) + ", more than the limit of " +
                       std::to_string(kMaxLength));
    }
    return value;
}

void expectZero(std::uint32_t value, qsizetype at, const std::string& what) {
    if (value != 0) {
        refuse(at, what + " is " + std::to_string(value) + " instead of 0");
    }
}

void readCell(ByteReader& in, SheetCell& cell, const std::string& name) {
    cell.format = in.u8("the format code of " + name);
    cell.style = in.u8("the style flags of " + name);
    cell.merge = in.u8("the merge flags of " + name);
    qsizetype at = in.offset();
    expectZero(in.u8("the reserved byte of " + name), at, "the reserved byte of " + name);
    cell.textColour = in.u32("the text colour of " + name);
    cell.background = in.u32("the background of " + name);
    cell.fontSize = in.u16("the font size of " + name);
    cell.reserved = in.u16("the reserved field of " + name);

    at = in.offset();
    const std::uint32_t fontBytes = in.u32("the font name length of " + name);
    if (fontBytes > kMaxFontNameBytes) {
        refuse(at, "the font name length of " + name + " is " + std::to_string(fontBytes) +
                       ", more than the limit of " + std::to_string(kMaxFontNameBytes));
    }
    at = in.offset();
    const QByteArray font = in.take(fontBytes, "the font name of " + name);
    if (font.contains('\0')) {
        refuse(at, "the font name of " + name + " holds a zero byte");
    }
    cell.fontName = fromGbk(font, at, "the font name of " + name);

    at = in.offset();
    const std::uint32_t textBytes = in.u32("the text length of " + name);
    if (textBytes == 0) {
        cell.text.clear();
        return;
    }
    if (textBytes == 1) {
        refuse(at,
               "the text of " + name + " holds only its terminator; an empty text has length 0");
    }
    if (textBytes > kMaxTextBytes) {
        refuse(at, "the text length of " + name + " is " + std::to_string(textBytes) +
                       ", more than the limit of " + std::to_string(kMaxTextBytes));
    }
    at = in.offset();
    QByteArray text = in.take(textBytes, "the text of " + name);
    if (text.back() != '\0') {
        refuse(at + textBytes - 1, "the text of " + name + " does not end in a zero byte");
    }
    text.chop(1);
    if (const qsizetype zero = text.indexOf('\0'); zero >= 0) {
        refuse(at + zero, "the text of " + name + " holds a zero byte before its end");
    }
    cell.text = fromGbk(text, at, "the text of " + name);
}

[[noreturn]] void refuseToStore(const std::string& what) {
    throw std::invalid_argument("sheet template: cannot store " + what);
}

void appendU8(QByteArray& out, std::uint8_t value) {
    out.append(static_cast<char>(value));
}

void appendU16(QByteArray& out, std::uint16_t value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void appendU32(QByteArray& out, std::uint32_t value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void appendLength(QByteArray& out, int value, const std::string& what) {
    if (value < 0 || static_cast<std::uint32_t>(value) > kMaxLength) {
        refuseToStore(what + " " + std::to_string(value));
    }
    appendU32(out, static_cast<std::uint32_t>(value));
}

QByteArray storableGbk(const QString& text, const std::string& what) {
    if (text.contains(QChar(0))) {
        refuseToStore(what + ": it holds a zero character");
    }
    const QByteArray bytes = toGbk(text);
    QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
    if ((!text.isEmpty() && bytes.isEmpty()) || decoder.decode(bytes) != text) {
        refuseToStore(what + ": it has characters GBK cannot hold");
    }
    return bytes;
}

void appendCell(QByteArray& out, const SheetCell& cell, const std::string& name) {
    if (cell.format < 0 || cell.format > 0xFF) {
        refuseToStore("the format code " + std::to_string(cell.format) + " of " + name);
    }
    if (cell.fontSize < 0 || cell.fontSize > 0xFFFF) {
        refuseToStore("the font size " + std::to_string(cell.fontSize) + " of " + name);
    }
    appendU8(out, static_cast<std::uint8_t>(cell.format));
    appendU8(out, cell.style);
    appendU8(out, cell.merge);
    appendU8(out, 0);
    appendU32(out, cell.textColour);
    appendU32(out, cell.background);
    appendU16(out, static_cast<std::uint16_t>(cell.fontSize));
    appendU16(out, cell.reserved);

    const QByteArray font = storableGbk(cell.fontName, "the font name of " + name);
    if (font.size() > static_cast<qsizetype>(kMaxFontNameBytes)) {
        refuseToStore("the font name of " + name + ": it is too long");
    }
    appendU32(out, static_cast<std::uint32_t>(font.size()));
    out.append(font);

    // The picture of a picture cell is drawn afresh every time; the format has no room
    // for it.
    const QByteArray text = storableGbk(cell.text, "the text of " + name);
    if (text.isEmpty()) {
        appendU32(out, 0);
        return;
    }
    if (text.size() + 1 > static_cast<qsizetype>(kMaxTextBytes)) {
        refuseToStore("the text of " + name + ": it is too long");
    }
    appendU32(out, static_cast<std::uint32_t>(text.size() + 1));
    out.append(text);
    appendU8(out, 0);
}

QByteArray embeddedBytes(const unsigned char* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

}  // namespace

Sheet SheetTemplate::decode(const QByteArray& stored) {
    ByteReader in(stored);
    const std::uint32_t leading = in.u32("the leading value");
    if (leading != 1) {
        refuse(0, "the leading value is " + std::to_string(leading) + " instead of 1");
    }
    const std::uint32_t count = in.u32("the byte count");
    if (count != static_cast<std::uint64_t>(in.remaining())) {
        refuse(4, "the byte count says " + std::to_string(count) + " bytes follow but " +
                      std::to_string(in.remaining()) + " do");
    }
    if (in.take(4, "the magic") != QByteArrayView(kMagic)) {
        refuse(kPrefixBytes, "the magic is not \"SDTW\"");
    }
    const std::uint32_t rows = in.u32("the row count");
    if (rows > kMaxRows) {
        refuse(in.offset() - 4, "the row count " + std::to_string(rows) +
                                    " is more than the limit of " + std::to_string(kMaxRows));
    }
    const std::uint32_t columns = in.u32("the column count");
    if (columns > kMaxColumns) {
        refuse(in.offset() - 4, "the column count " + std::to_string(columns) +
                                    " is more than the limit of " + std::to_string(kMaxColumns));
    }
    const std::uint64_t cells = std::uint64_t{rows} * columns;
    if (cells > kMaxCells) {
        refuse(in.offset() - 8, std::to_string(rows) + " rows of " + std::to_string(columns) +
                                    " columns are more than the limit of " +
                                    std::to_string(kMaxCells) + " cells");
    }
    for (const char* which : {"the first reserved value", "the second reserved value"}) {
        const qsizetype at = in.offset();
        expectZero(in.u32(which), at, which);
    }
    // Checked before the grid is made, so a count that the bytes cannot back never
    // costs the memory for its cells.
    in.need(
        static_cast<qsizetype>(4 * (rows + columns) + cells * kCellFixedBytes) + kPageSetupBytes,
        std::to_string(rows) + " rows of " + std::to_string(columns) + " columns");

    Sheet sheet(static_cast<int>(rows), static_cast<int>(columns));
    for (std::uint32_t row = 1; row <= rows; ++row) {
        sheet.setRowHeight(
            static_cast<int>(row),
            static_cast<int>(readLength(in, "the height of row " + std::to_string(row))));
    }
    for (std::uint32_t column = 1; column <= columns; ++column) {
        sheet.setColumnWidth(
            static_cast<int>(column),
            static_cast<int>(readLength(in, "the width of column " + std::to_string(column))));
    }
    for (std::uint32_t row = 1; row <= rows; ++row) {
        for (std::uint32_t column = 1; column <= columns; ++column) {
            readCell(in, sheet.cell(static_cast<int>(row), static_cast<int>(column)),
                     cellName(row, column));
        }
    }
    sheet.margins.left = static_cast<int>(readLength(in, "the left margin"));
    sheet.margins.top = static_cast<int>(readLength(in, "the top margin"));
    sheet.margins.right = static_cast<int>(readLength(in, "the right margin"));
    sheet.margins.bottom = static_cast<int>(readLength(in, "the bottom margin"));
    qsizetype at = in.offset();
    expectZero(in.u16("the value before the scale"), at, "the value before the scale");
    sheet.scale = in.u16("the scale");
    sheet.paper = in.u16("the paper size");
    sheet.orientation = in.u16("the orientation");
    at = in.offset();
    const QByteArray reserved = in.take(12, "the reserved page setup bytes");
    for (qsizetype i = 0; i < reserved.size(); ++i) {
        expectZero(static_cast<std::uint8_t>(reserved[i]), at + i, "a reserved page setup byte");
    }
    if (in.remaining() != 0) {
        refuse(in.offset(), std::to_string(in.remaining()) +
                                " bytes follow the end of the page setup where none belong");
    }
    return sheet;
}

QByteArray SheetTemplate::encode(const Sheet& sheet) {
    if (static_cast<std::uint32_t>(sheet.rows()) > kMaxRows ||
        static_cast<std::uint32_t>(sheet.columns()) > kMaxColumns ||
        std::uint64_t(sheet.rows()) * std::uint64_t(sheet.columns()) > kMaxCells) {
        refuseToStore(std::to_string(sheet.rows()) + " rows of " + std::to_string(sheet.columns()) +
                      " columns");
    }
    QByteArray body(kMagic, 4);
    appendU32(body, static_cast<std::uint32_t>(sheet.rows()));
    appendU32(body, static_cast<std::uint32_t>(sheet.columns()));
    appendU32(body, 0);
    appendU32(body, 0);
    for (int row = 1; row <= sheet.rows(); ++row) {
        appendLength(body, sheet.rowHeight(row), "the height of row " + std::to_string(row));
    }
    for (int column = 1; column <= sheet.columns(); ++column) {
        appendLength(body, sheet.columnWidth(column),
                     "the width of column " + std::to_string(column));
    }
    for (int row = 1; row <= sheet.rows(); ++row) {
        for (int column = 1; column <= sheet.columns(); ++column) {
            appendCell(
                body, sheet.cell(row, column),
                cellName(static_cast<std::uint32_t>(row), static_cast<std::uint32_t>(column)));
        }
    }
    appendLength(body, sheet.margins.left, "the left margin");
    appendLength(body, sheet.margins.top, "the top margin");
    appendLength(body, sheet.margins.right, "the right margin");
    appendLength(body, sheet.margins.bottom, "the bottom margin");
    appendU16(body, 0);
    appendU16(body, sheet.scale);
    appendU16(body, sheet.paper);
    appendU16(body, sheet.orientation);
    body.append(12, '\0');

    QByteArray stored;
    stored.reserve(kPrefixBytes + body.size());
    appendU32(stored, 1);
    appendU32(stored, static_cast<std::uint32_t>(body.size()));
    stored.append(body);
    return stored;
}

Sheet SheetTemplate::load(SheetKind kind) {
    return decode(storedBytes(kind));
}

QByteArray SheetTemplate::storedBytes(SheetKind kind) {
    switch (kind) {
        case SheetKind::Arithmetic:
            return embeddedBytes(embedded::kArithmeticSheetTemplate,
                                 embedded::kArithmeticSheetTemplateSize);
        case SheetKind::Vertical:
            return embeddedBytes(embedded::kVerticalSheetTemplate,
                                 embedded::kVerticalSheetTemplateSize);
        case SheetKind::Clock:
            return embeddedBytes(embedded::kClockSheetTemplate, embedded::kClockSheetTemplateSize);
    }
    throw std::invalid_argument("unknown sheet kind");
}

}  // namespace sumbrook
