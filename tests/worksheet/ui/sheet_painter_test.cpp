#include "worksheet/ui/sheet_painter.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include "worksheet/ui/sheet_pdf_writer.h"

namespace sumbrook {
namespace {

Sheet oneCellSheet(const QString& text, int format) {
    Sheet sheet(1, 1);
    sheet.setRowHeight(1, 200);
    sheet.setColumnWidth(1, 1000);
    sheet.margins = {100, 100, 100, 100};
    SheetCell& cell = sheet.cell(1, 1);
    cell.text = text;
    cell.fontName = QStringLiteral("宋体");
    cell.fontSize = 60;
    cell.format = format;
    return sheet;
}

// The horizontal extent of the ink in a page rendered at one pixel per 0.1 mm.
std::pair<int, int> inkColumns(const Sheet& sheet) {
    QImage page(SheetPainter::kPageWidth, 400, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    SheetPainter::paintPage(painter, sheet);
    painter.end();
    int left = page.width();
    int right = -1;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (qGray(page.pixel(x, y)) < 160) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return {left, right};
}

TEST(SheetPainter, TheGridIsCentredAcrossBetweenTheMargins) {
    Sheet sheet(1, 2);
    sheet.setColumnWidth(1, 700);
    sheet.setColumnWidth(2, 700);
    sheet.setRowHeight(1, 100);
    sheet.margins = {300, 250, 300, 230};
    const QRectF grid = SheetPainter::gridRect(sheet);
    EXPECT_DOUBLE_EQ(grid.left(), 350);
    EXPECT_DOUBLE_EQ(grid.top(), 250);
    EXPECT_DOUBLE_EQ(grid.width(), 1400);
}

TEST(SheetPainter, JoinedCellsPaintAsOne) {
    Sheet sheet(1, 3);
    for (int c = 1; c <= 3; ++c) {
        sheet.setColumnWidth(c, 400);
    }
    sheet.setRowHeight(1, 100);
    sheet.cell(1, 1).merge = cell_flags::kJoinedRight;
    sheet.cell(1, 2).merge = cell_flags::kJoinedRight | cell_flags::kJoinedLeft;
    sheet.cell(1, 3).merge = cell_flags::kJoinedLeft;
    EXPECT_DOUBLE_EQ(SheetPainter::cellRect(sheet, 1, 1).width(), 1200);
    sheet.cell(1, 3).merge = 0;
    sheet.cell(1, 2).merge = cell_flags::kJoinedLeft;
    EXPECT_DOUBLE_EQ(SheetPainter::cellRect(sheet, 1, 1).width(), 800);
}

TEST(SheetPainter, FormatCodesAlignText) {
    const QString text = QStringLiteral("12 ＋ 7 ＝");
    const auto [centreLeft, centreRight] = inkColumns(oneCellSheet(text, 5));
    const auto [rightLeft, rightRight] = inkColumns(oneCellSheet(text, 6));
    const auto [leftLeft, leftRight] = inkColumns(oneCellSheet(text, 1));
    const auto [indentLeft, indentRight] = inkColumns(oneCellSheet(text, 4));
    ASSERT_GT(centreRight, centreLeft);
    // The cell runs from 550 to 1550; its middle is 1050.
    EXPECT_NEAR((centreLeft + centreRight) / 2.0, 1050, 15);
    EXPECT_NEAR(rightRight, 1550 - 15, 15);
    EXPECT_NEAR(leftLeft, 550 + 15, 15);
    EXPECT_NEAR(indentLeft, 550 + 100, 15);  // written sums start at an indent
    EXPECT_NEAR(centreRight - centreLeft, rightRight - rightLeft, 3);
    EXPECT_NEAR(centreRight - centreLeft, leftRight - leftLeft, 3);
    EXPECT_NEAR(centreRight - centreLeft, indentRight - indentLeft, 3);
}

TEST(SheetPainter, FullWidthSignsTakeTwoColumnsOfAVerticalForm) {
    for (const QChar c : QStringLiteral("＋－×÷─—")) {
        EXPECT_EQ(SheetPainter::columnsOf(c), 2) << static_cast<int>(c.unicode());
    }
    for (const QChar c : QStringLiteral("0 9)_")) {
        EXPECT_EQ(SheetPainter::columnsOf(c), 1) << static_cast<int>(c.unicode());
    }
}

TEST(SheetPdfWriter, WritesOnePageASheetAndReportsAFileItCannotWrite) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sheets.pdf"));
    QString error;
    ASSERT_TRUE(SheetPdfWriter::write(path, {oneCellSheet("1", 5), oneCellSheet("2", 5)}, &error))
        << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_TRUE(pdf.contains("/Count 2"));

    EXPECT_FALSE(SheetPdfWriter::write(dir.filePath("missing/folder/x.pdf"), {}, &error));
    EXPECT_TRUE(error.contains("missing/folder/x.pdf"));
}

}  // namespace
}  // namespace sumbrook
