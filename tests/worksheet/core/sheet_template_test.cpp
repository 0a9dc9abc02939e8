#include "worksheet/core/sheet_template.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QtEndian>
#include <array>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

using ::testing::HasSubstr;

// ---- The three templates as printed ------------------------------------------------

struct ExpectedCell {
    const char* text;
    const char* font;
    int size;
    int format;
    std::uint8_t style;
    std::uint8_t merge;
};

struct ExpectedRows {
    std::vector<int> rows;
    int height;
    std::vector<ExpectedCell> cells;  // one per column
};

struct ExpectedTemplate {
    const char* name;
    SheetKind kind;
    std::vector<int> widths;
    SheetMargins margins;
    std::vector<ExpectedRows> rows;
};

// Test names and failure messages show the template by its name.
void PrintTo(const ExpectedTemplate& t, std::ostream* out) {
    *out << t.name;
}

std::vector<int> rowsFromTo(int first, int last) {
    std::vector<int> rows;
    for (int row = first; row <= last; ++row) {
        rows.push_back(row);
    }
    return rows;
}

constexpr std::uint8_t kTitle = cell_flags::kTitle;
constexpr std::uint8_t kPicture = cell_flags::kPicture;
constexpr std::uint8_t kFirst = cell_flags::kJoinedRight;
constexpr std::uint8_t kMiddle = cell_flags::kJoinedRight | cell_flags::kJoinedLeft;
constexpr std::uint8_t kLast = cell_flags::kJoinedLeft;

constexpr ExpectedCell kBlank{"", "", 40, 1, 0, 0};
constexpr ExpectedCell kSongQuestion{"", "宋体", 49, 4, 0, 0};
constexpr ExpectedCell kClockFace{"", "", 40, 10, kPicture, 0};
constexpr ExpectedCell kAnswerBlanks{
    "\r\n\r\n\r\n  ___时___分\r\n\r\n  ____:____", "宋体", 42, 1, 0, 0};

// Joined runs carry their text in the first cell; the rest of the run shares its font.
const ExpectedTemplate kTemplates[] = {
    {"arithmetic",
     SheetKind::Arithmetic,
     {700, 700},
     {300, 250, 300, 230},
     {
         {{1},
          128,
          {{"数 学 口 算 题", "楷体_GB2312", 77, 2, kTitle, kFirst},
           {"", "楷体_GB2312", 77, 2, kTitle, kLast}}},
         {{2},
          119,
          {{"     姓名:                                年   月   日", "宋体", 49, 6, 0, kFirst},
           {"", "宋体", 49, 6, 0, kLast}}},
         {{3},
          159,
          {{"用时: ______分钟          得分：__________", "宋体", 49, 5, 0, kFirst},
           {"", "宋体", 49, 5, 0, kLast}}},
         {{4}, 56, {kSongQuestion, kSongQuestion}},
         {rowsFromTo(5, 19), 125, {kSongQuestion, kSongQuestion}},
         {{20}, 34, {kBlank, kBlank}},
     }},
    {"vertical",
     SheetKind::Vertical,
     {470, 470, 470},
     {260, 230, 260, 220},
     {
         {{1},
          109,
          {{"数 学 口 算 题", "楷体_GB2312", 77, 5, kTitle, kFirst},
           {"", "楷体_GB2312", 77, 5, kTitle, kMiddle},
           {"", "楷体_GB2312", 77, 5, kTitle, kLast}}},
         {{2},
          81,
          {{"年   月   日", "宋体", 42, 6, 0, kFirst},
           {"", "宋体", 42, 6, 0, kMiddle},
           {"", "宋体", 42, 6, 0, kLast}}},
         {{3},
          106,
          {{"姓名:               用时：               得分：", "宋体", 42, 5, 0, kFirst},
           {"", "宋体", 42, 5, 0, kMiddle},
           {"", "宋体", 42, 5, 0, kLast}}},
         {{4}, 41, {kBlank, kBlank, kSongQuestion}},
         {rowsFromTo(5, 11),
          293,
          {{"", "新宋体", 49, 5, 0, 0}, {"", "新宋体", 49, 5, 0, 0}, {"", "新宋体", 49, 5, 0, 0}}},
         {{12}, 44, {kBlank, kBlank, kBlank}},
     }},
    {"clock",
     SheetKind::Clock,
     {400, 355, 400, 355},
     {230, 200, 230, 200},
     {
         {{1},
          119,
          {{"认 识 时 间", "黑体", 70, 5, 0, kFirst},
           {"", "黑体", 70, 5, 0, kMiddle},
           {"", "黑体", 70, 5, 0, kMiddle},
           {"", "黑体", 70, 5, 0, kLast}}},
         {{2}, 59, {kBlank, kBlank, kBlank, kBlank}},
         {{3, 5, 7, 9, 11}, 400, {kClockFace, kAnswerBlanks, kClockFace, kAnswerBlanks}},
         {{4, 6, 8, 10}, 60, {kBlank, kBlank, kBlank, kBlank}},
         {{12}, 38, {kBlank, kBlank, kBlank, kBlank}},
     }},
};

class StoredTemplate : public ::testing::TestWithParam<ExpectedTemplate> {};

INSTANTIATE_TEST_SUITE_P(Kinds, StoredTemplate, ::testing::ValuesIn(kTemplates),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_P(StoredTemplate, DecodesToThePrintedLayout) {
    const ExpectedTemplate& expected = GetParam();
    const Sheet sheet = SheetTemplate::load(expected.kind);

    ASSERT_EQ(sheet.columns(), static_cast<int>(expected.widths.size()));
    for (int column = 1; column <= sheet.columns(); ++column) {
        EXPECT_EQ(sheet.columnWidth(column), expected.widths[column - 1]) << "column " << column;
    }
    EXPECT_EQ(sheet.margins.left, expected.margins.left);
    EXPECT_EQ(sheet.margins.top, expected.margins.top);
    EXPECT_EQ(sheet.margins.right, expected.margins.right);
    EXPECT_EQ(sheet.margins.bottom, expected.margins.bottom);
    EXPECT_EQ(sheet.scale, 100);
    EXPECT_EQ(sheet.paper, 9);
    EXPECT_EQ(sheet.orientation, 1);

    std::vector<int> described(static_cast<std::size_t>(sheet.rows()) + 1, 0);
    for (const ExpectedRows& group : expected.rows) {
        for (int row : group.rows) {
            ASSERT_LE(row, sheet.rows());
            ++described[static_cast<std::size_t>(row)];
            EXPECT_EQ(sheet.rowHeight(row), group.height) << "row " << row;
            for (int column = 1; column <= sheet.columns(); ++column) {
                SCOPED_TRACE("cell (" + std::to_string(row) + ", " + std::to_string(column) + ")");
                const ExpectedCell& want = group.cells[static_cast<std::size_t>(column - 1)];
                const SheetCell& cell = sheet.cell(row, column);
                EXPECT_EQ(cell.text, QString::fromUtf8(want.text));
                EXPECT_EQ(cell.fontName, QString::fromUtf8(want.font));
                EXPECT_EQ(cell.fontSize, want.size);
                EXPECT_EQ(cell.format, want.format);
                EXPECT_EQ(cell.style, want.style);
                EXPECT_EQ(cell.merge, want.merge);
                EXPECT_EQ(cell.textColour, 0u);
                EXPECT_EQ(cell.background, 0xFF000000u);
                EXPECT_EQ(cell.reserved, 9);
                EXPECT_TRUE(cell.picture.isNull());
            }
        }
    }
    for (int row = 1; row <= sheet.rows(); ++row) {
        EXPECT_EQ(described[static_cast<std::size_t>(row)], 1) << "row " << row;
    }
}

TEST_P(StoredTemplate, GridFitsTheA4PageInsideItsMargins) {
    const Sheet sheet = SheetTemplate::load(GetParam().kind);
    EXPECT_LE(sheet.width(), 2100 - sheet.margins.left - sheet.margins.right);
    EXPECT_LE(sheet.height(), 2970 - sheet.margins.top - sheet.margins.bottom);
}

TEST_P(StoredTemplate, WritesBackByteForByte) {
    const QByteArray stored = SheetTemplate::storedBytes(GetParam().kind);
    EXPECT_EQ(SheetTemplate::encode(SheetTemplate::decode(stored)), stored);
}

// ---- Any sheet the format can hold comes back unchanged ----------------------------

TEST(SheetTemplateRoundTrip, ArbitrarySheetsComeBackUnchanged) {
    const std::array<const char*, 8> pieces = {
        "", "12+35=", "数 学", "：", "\r\n", "  ___时___分", "年   月   日", "A4 € ",
    };
    const std::array<const char*, 5> fonts = {"", "宋体", "新宋体", "楷体_GB2312", "Noto Sans"};
    std::mt19937 random(20240611);
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int round = 0; round < 60; ++round) {
        Sheet sheet(pick(0, 6), pick(0, 5));
        for (int row = 1; row <= sheet.rows(); ++row) {
            sheet.setRowHeight(row, pick(0, 100000));
        }
        for (int column = 1; column <= sheet.columns(); ++column) {
            sheet.setColumnWidth(column, pick(0, 100000));
        }
        for (int row = 1; row <= sheet.rows(); ++row) {
            for (int column = 1; column <= sheet.columns(); ++column) {
                SheetCell& cell = sheet.cell(row, column);
                for (int i = pick(0, 4); i > 0; --i) {
                    cell.text += QString::fromUtf8(pieces[static_cast<std::size_t>(pick(0, 7))]);
                }
                cell.fontName = QString::fromUtf8(fonts[static_cast<std::size_t>(pick(0, 4))]);
                cell.fontSize = pick(0, 0xFFFF);
                cell.format = pick(0, 0xFF);
                cell.style = static_cast<std::uint8_t>(pick(0, 0xFF));
                cell.merge = static_cast<std::uint8_t>(pick(0, 0xFF));
                cell.textColour = static_cast<std::uint32_t>(random());
                cell.background = static_cast<std::uint32_t>(random());
                cell.reserved = static_cast<std::uint16_t>(pick(0, 0xFFFF));
            }
        }
        sheet.margins = {pick(0, 100000), pick(0, 100000), pick(0, 100000), pick(0, 100000)};
        sheet.scale = static_cast<std::uint16_t>(pick(0, 0xFFFF));
        sheet.paper = static_cast<std::uint16_t>(pick(0, 0xFFFF));
        sheet.orientation = static_cast<std::uint16_t>(pick(0, 0xFFFF));

        const Sheet back = SheetTemplate::decode(SheetTemplate::encode(sheet));
        auto pageSetup = [](const Sheet& s) {
            return std::tuple(s.margins.left, s.margins.top, s.margins.right, s.margins.bottom,
                              s.scale, s.paper, s.orientation, s.width(), s.height());
        };
        EXPECT_EQ(pageSetup(back), pageSetup(sheet)) << "round " << round;
        ASSERT_EQ(back.rows(), sheet.rows());
        ASSERT_EQ(back.columns(), sheet.columns());
        for (int row = 1; row <= sheet.rows(); ++row) {
            EXPECT_EQ(back.rowHeight(row), sheet.rowHeight(row));
            for (int column = 1; column <= sheet.columns(); ++column) {
                EXPECT_EQ(back.columnWidth(column), sheet.columnWidth(column));
                EXPECT_TRUE(back.cell(row, column) == sheet.cell(row, column))
                    << "round " << round << " cell (" << row << ", " << column << ")";
            }
        }
    }
}

TEST(SheetTemplateRoundTrip, PicturesAreNotStoredButTheirCellsAre) {
    Sheet sheet = SheetTemplate::load(SheetKind::Clock);
    sheet.cell(3, 1).picture = QImage(40, 40, QImage::Format_ARGB32);
    sheet.cell(3, 1).picture.fill(Qt::red);
    const Sheet back = SheetTemplate::decode(SheetTemplate::encode(sheet));
    EXPECT_TRUE(back.cell(3, 1).picture.isNull());
    EXPECT_EQ(back.cell(3, 1).style, cell_flags::kPicture);
    EXPECT_EQ(back.cell(3, 1).format, 10);
}

TEST(SheetTemplateRoundTrip, EncodeRefusesWhatCouldNotBeReadBack) {
    const std::vector<std::pair<const char*, std::function<void(Sheet&)>>> cases = {
        {"a character outside GBK", [](Sheet& s) { s.cell(1, 1).text = QString::fromUtf8("😀"); }},
        {"a font outside GBK", [](Sheet& s) { s.cell(1, 1).fontName = QString::fromUtf8("😀"); }},
        {"a zero character", [](Sheet& s) { s.cell(1, 1).text = QString(QChar(0)) + "1"; }},
        {"a negative height", [](Sheet& s) { s.setRowHeight(1, -1); }},
        {"an absurd width", [](Sheet& s) { s.setColumnWidth(1, 100001); }},
        {"a negative margin", [](Sheet& s) { s.margins.bottom = -5; }},
        {"a font size past 16 bits", [](Sheet& s) { s.cell(1, 1).fontSize = 0x10000; }},
        {"a format past 8 bits", [](Sheet& s) { s.cell(1, 1).format = 256; }},
    };
    for (const auto& [name, damage] : cases) {
        Sheet sheet(1, 1);
        damage(sheet);
        EXPECT_THROW(SheetTemplate::encode(sheet), std::invalid_argument) << name;
    }
}

// ---- Damaged input is refused, never read past its end -----------------------------

void putU32(QByteArray& bytes, qsizetype at, std::uint32_t value) {
    qToLittleEndian(value, bytes.data() + at);
}

QByteArray withMatchingCount(QByteArray bytes) {
    putU32(bytes, 4, static_cast<std::uint32_t>(bytes.size() - 8));
    return bytes;
}

// A 1 × 1 sheet whose fields sit at known offsets: the cell record starts at 36, its font
// name length at 52 ("宋体" is 4 GBK bytes), its text length at 60, the text "ab" and its
// terminator at 64..66, the margins at 67, the reserved page setup bytes at 91..102.
QByteArray smallSheet() {
    Sheet sheet(1, 1);
    sheet.setRowHeight(1, 100);
    sheet.setColumnWidth(1, 200);
    sheet.cell(1, 1).fontName = QString::fromUtf8("宋体");
    sheet.cell(1, 1).text = QStringLiteral("ab");
    return SheetTemplate::encode(sheet);
}

struct Damage {
    const char* name;
    std::function<void(QByteArray&)> apply;
    bool fixCount;
    const char* message;
    qsizetype offset;
};

TEST(SheetTemplateDamage, EachKindOfDamageIsNamedWithItsOffset) {
    const Damage cases[] = {
        {"leading value", [](QByteArray& b) { putU32(b, 0, 2); }, false, "leading value", 0},
        {"count too large", [](QByteArray& b) { putU32(b, 4, 96); }, false, "byte count", 4},
        {"count too small", [](QByteArray& b) { putU32(b, 4, 94); }, false, "byte count", 4},
        {"magic", [](QByteArray& b) { b[11] = 'X'; }, false, "magic", 8},
        {"huge rows", [](QByteArray& b) { putU32(b, 12, 0xFFFFFFFF); }, false, "row count", 12},
        {"huge columns", [](QByteArray& b) { putU32(b, 16, 0x7FFFFFFF); }, false, "column count",
         16},
        {"too many cells",
         [](QByteArray& b) {
             putU32(b, 12, 1000);
             putU32(b, 16, 1000);
         },
         false, "cells", 12},
        {"cells the bytes cannot hold",
         [](QByteArray& b) {
             putU32(b, 12, 500);
             putU32(b, 16, 200);
         },
         false, "truncated", 28},
        {"reserved header value", [](QByteArray& b) { putU32(b, 24, 7); }, false, "reserved", 24},
        {"absurd row height", [](QByteArray& b) { putU32(b, 28, 0x80000000); }, false,
         "height of row 1", 28},
        {"reserved cell byte", [](QByteArray& b) { b[39] = 1; }, false, "reserved byte", 39},
        {"huge font name length", [](QByteArray& b) { putU32(b, 52, 0xFFFFFFF0); }, false,
         "font name length of cell (1, 1)", 52},
        {"font name past the end", [](QByteArray& b) { putU32(b, 52, 200); }, false,
         "truncated: the font name of cell (1, 1)", 56},
        {"huge text length", [](QByteArray& b) { putU32(b, 60, 0xFFFFFFFF); }, false,
         "text length of cell (1, 1)", 60},
        {"text past the end", [](QByteArray& b) { putU32(b, 60, 1000); }, false,
         "truncated: the text of cell (1, 1)", 64},
        {"missing terminator", [](QByteArray& b) { b[66] = 'c'; }, false,
         "does not end in a zero byte", 66},
        {"zero inside the text", [](QByteArray& b) { b[65] = '\0'; }, false,
         "zero byte before its end", 65},
        {"terminator alone", [](QByteArray& b) { putU32(b, 60, 1); }, false, "only its terminator",
         60},
        {"lone GBK lead byte", [](QByteArray& b) { b[65] = '\x81'; }, false, "not valid GBK", 64},
        {"invalid GBK pair",
         [](QByteArray& b) {
             b[64] = '\x81';
             b[65] = '\x7F';
         },
         false, "not valid GBK", 64},
        {"reserved page setup byte", [](QByteArray& b) { b[95] = 1; }, false, "reserved", 95},
        {"trailing garbage", [](QByteArray& b) { b.append("xyz"); }, true, "follow the end", 103},
    };
    const QByteArray intact = smallSheet();
    ASSERT_EQ(intact.size(), 103);
    ASSERT_NO_THROW(SheetTemplate::decode(intact));
    for (const Damage& damage : cases) {
        QByteArray bytes = intact;
        damage.apply(bytes);
        if (damage.fixCount) {
            bytes = withMatchingCount(bytes);
        }
        try {
            SheetTemplate::decode(bytes);
            ADD_FAILURE() << damage.name << ": accepted";
        } catch (const TemplateError& error) {
            EXPECT_THAT(error.what(), HasSubstr(damage.message)) << damage.name;
            EXPECT_THAT(error.what(), HasSubstr("at byte offset " + std::to_string(damage.offset)))
                << damage.name;
        }
    }
}

TEST_P(StoredTemplate, EveryTruncationIsRefused) {
    const QByteArray stored = SheetTemplate::storedBytes(GetParam().kind);
    for (qsizetype length = 0; length < stored.size(); ++length) {
        const QByteArray cut = stored.left(length);
        EXPECT_THROW(SheetTemplate::decode(cut), TemplateError) << "length " << length;
        // With the count made to agree, the reader itself must notice the missing bytes.
        if (length >= 8) {
            try {
                SheetTemplate::decode(withMatchingCount(cut));
                ADD_FAILURE() << "length " << length << ": accepted";
            } catch (const TemplateError& error) {
                EXPECT_THAT(error.what(), HasSubstr("truncated")) << "length " << length;
            }
        }
    }
}

TEST_P(StoredTemplate, RandomDamageIsEitherReadExactlyOrRefused) {
    const QByteArray stored = SheetTemplate::storedBytes(GetParam().kind);
    const std::array<std::uint32_t, 7> telling = {0,          1,          0xFF,   0xFFFF,
                                                  0x7FFFFFFF, 0xFFFFFFFF, 0x10000};
    std::mt19937 random(7);
    auto pick = [&](qsizetype low, qsizetype high) {
        return std::uniform_int_distribution<qsizetype>(low, high)(random);
    };
    int accepted = 0;
    int refused = 0;
    for (int round = 0; round < 1500; ++round) {
        QByteArray bytes = stored;
        for (auto edits = pick(1, 3); edits > 0; --edits) {
            if (pick(0, 3) == 0) {
                putU32(bytes, pick(8, bytes.size() - 4),
                       telling[static_cast<std::size_t>(pick(0, telling.size() - 1))]);
            } else {
                bytes[pick(8, bytes.size() - 1)] = static_cast<char>(pick(0, 255));
            }
        }
        try {
            const Sheet sheet = SheetTemplate::decode(bytes);
            ++accepted;
            ASSERT_EQ(SheetTemplate::encode(sheet), bytes) << "round " << round;
        } catch (const TemplateError&) {
            ++refused;
        }
    }
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}

// ---- The grid itself ----------------------------------------------------------------

TEST(Sheet, CellsOutsideTheGridAreRefused) {
    Sheet sheet(3, 2);
    for (const auto& [row, column] :
         std::vector<std::pair<int, int>>{{0, 1}, {1, 0}, {4, 1}, {1, 3}, {-1, -1}}) {
        EXPECT_THROW(sheet.cell(row, column), std::out_of_range) << row << ", " << column;
    }
    sheet.cell(3, 2).text = QStringLiteral("last");
    EXPECT_EQ(std::as_const(sheet).cell(3, 2).text, "last");
    EXPECT_EQ(sheet.cell(3, 1).text, "");
}

TEST(Sheet, SizeIsTheSumOfItsRowsAndColumns) {
    Sheet sheet(3, 2);
    EXPECT_EQ(std::pair(sheet.width(), sheet.height()), std::pair(0, 0));
    sheet.setRowHeight(1, 128);
    sheet.setRowHeight(3, 34);
    sheet.setColumnWidth(1, 700);
    sheet.setColumnWidth(2, 355);
    EXPECT_EQ(std::pair(sheet.width(), sheet.height()), std::pair(1055, 162));
}

TEST(Sheet, CellsDifferingOnlyInTheirPictureAreDifferent) {
    SheetCell a;
    a.picture = QImage(4, 4, QImage::Format_ARGB32);
    a.picture.fill(Qt::black);
    SheetCell b = a;
    b.picture = a.picture.copy();
    EXPECT_TRUE(a == b);
    b.picture.setPixel(1, 1, qRgb(255, 255, 255));
    EXPECT_FALSE(a == b);
    EXPECT_FALSE(a == SheetCell{});
}

}  // namespace
}  // namespace sumbrook
