// Sheets on paper: whole on any paper the user picks, clock faces as lines and outlines in
// the PDF, answer pages that lie over their sheets, and the print preview's page setup.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "common/qt_translations.h"
#include "support/full_page_counts.h"
#include "support/qstring_printer.h"
#include "worksheet/core/generate_worksheet.h"
#include "worksheet/ui/clock_face_painter.h"
#include "worksheet/ui/sheet_batch_writer.h"
#include "worksheet/ui/sheet_painter.h"
#include "worksheet/ui/sheet_pdf_writer.h"
#include "worksheet/ui/sheet_print_preview.h"

namespace sumbrook {
namespace {

using testing::fullPage;

GeneratedWorksheet generated(int page, std::uint32_t tick = 7) {
    FixedTickSource ticks(tick);
    WorksheetRandom random(ticks);
    return std::get<GeneratedWorksheet>(
        GenerateWorksheet(page, fullPage(page), random, &ClockFacePainter::drawing));
}

QPageLayout paper(QPageSize::PageSizeId size, QPageLayout::Orientation orientation,
                  const SheetMargins& m) {
    return QPageLayout(QPageSize(size), orientation,
                       QMarginsF(m.left / 10.0, m.top / 10.0, m.right / 10.0, m.bottom / 10.0),
                       QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0));
}

// Every cell that holds a question, on the sheet's own page.
std::vector<QRectF> questionCells(const Sheet& sheet) {
    std::vector<QRectF> cells;
    for (int row = 1; row <= sheet.rows(); ++row) {
        for (int column = 1; column <= sheet.columns(); ++column) {
            const SheetCell& cell = sheet.cell(row, column);
            if (!cell.text.isEmpty() || cell.drawing) {
                cells.push_back(SheetPainter::cellRect(sheet, row, column));
            }
        }
    }
    return cells;
}

// The page painted at `dpmm` pixels a millimetre.
QImage painted(const Sheet& sheet, const QPageLayout& layout, double dpmm = 4) {
    const QSizeF mm = layout.fullRect(QPageLayout::Millimeter).size();
    QImage image(static_cast<int>(mm.width() * dpmm), static_cast<int>(mm.height() * dpmm),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    SheetPainter::paintOnPaper(painter, sheet, layout, dpmm * 25.4);
    painter.end();
    return image;
}

int inkIn(const QImage& image, const QRect& rect) {
    int dark = 0;
    const QRect r = rect & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            dark += qGray(image.pixel(x, y)) < 140 ? 1 : 0;
        }
    }
    return dark;
}

TEST(SheetPrinting, OnItsOwnPageNothingMoves) {
    for (int page = 0; page <= 3; ++page) {
        const Sheet sheet = *generated(page).sheet;
        EXPECT_TRUE(SheetPainter::placement(sheet, SheetPainter::pageLayoutOf(sheet)).isIdentity())
            << page;
    }
}

// Landscape A4, A5 both ways, A4 with wide margins typed in page setup: every question
// inside the paper and its margins, scaled, and still painted there.
TEST(SheetPrinting, OnOtherPaperEveryQuestionStaysInsideThePageScaled) {
    const struct {
        const char* name;
        QPageSize::PageSizeId size;
        QPageLayout::Orientation orientation;
        std::optional<SheetMargins> margins;  // the sheet's own when none
    } papers[] = {
        {"A4 landscape", QPageSize::A4, QPageLayout::Landscape, std::nullopt},
        {"A5 portrait", QPageSize::A5, QPageLayout::Portrait, std::nullopt},
        {"A5 landscape", QPageSize::A5, QPageLayout::Landscape, std::nullopt},
        {"A4, 40 mm margins", QPageSize::A4, QPageLayout::Portrait,
         SheetMargins{400, 400, 400, 400}},
    };
    for (int page = 0; page <= 3; ++page) {
        const GeneratedWorksheet made = generated(page);
        for (const Sheet* sheet : {&*made.sheet, &*made.answers}) {
            for (const auto& p : papers) {
                SCOPED_TRACE(std::string(p.name) + ", page " + std::to_string(page));
                const QPageLayout layout =
                    paper(p.size, p.orientation, p.margins.value_or(sheet->margins));
                const QTransform t = SheetPainter::placement(*sheet, layout);
                EXPECT_LT(t.m11(), 1.0);             // scaled down …
                EXPECT_DOUBLE_EQ(t.m11(), t.m22());  // … keeping its proportions
                const QRectF full = layout.fullRect(QPageLayout::Millimeter);
                const QMarginsF m = layout.margins(QPageLayout::Millimeter);
                const QRectF inside =
                    QRectF(full.topLeft() * 10, full.size() * 10)
                        .adjusted(m.left() * 10, m.top() * 10, -m.right() * 10, -m.bottom() * 10)
                        .adjusted(-0.01, -0.01, 0.01, 0.01);
                const QRectF grid = t.mapRect(SheetPainter::gridRect(*sheet));
                EXPECT_TRUE(inside.contains(grid)) << grid.bottom() << " " << inside.bottom();

                const QImage image = painted(*sheet, layout, 8);
                const auto cells = questionCells(*sheet);
                ASSERT_FALSE(cells.empty());
                for (const QRectF& cell : cells) {
                    const QRectF onPaper = t.mapRect(cell);
                    EXPECT_TRUE(inside.contains(onPaper));
                    const QRect px =
                        QRectF(onPaper.topLeft() * 0.8, onPaper.size() * 0.8).toAlignedRect();
                    EXPECT_GT(inkIn(image, px), 10) << "nothing painted in a question's cell";
                }
            }
        }
    }
}

TEST(SheetPrinting, ClockFacesInAPdfAreLinesAndOutlinesNotImages) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("clock.pdf"));
    const GeneratedWorksheet made = generated(3);
    QString error;
    ASSERT_TRUE(SheetPdfWriter::write(path, {*made.sheet, *made.answers}, &error))
        << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.contains("/Count 2"));
    // No image XObject (the resource list's /ProcSet names /ImageB and the like anyway).
    EXPECT_FALSE(QString::fromLatin1(pdf).contains(QRegularExpression("/Subtype\\s*/Image")))
        << "a bitmap in the PDF";
    EXPECT_FALSE(QString::fromLatin1(pdf).contains(QRegularExpression("/XObject\\s*<<\\s*/")));
    EXPECT_LT(pdf.size(), 2 * 100 * 1024);  // under 100 KB a page
}

// Shown as small as the window's preview shows it, the thin minute hand is still there.
TEST(SheetPrinting, TheMinuteHandShowsAtEverySize) {
    const struct { int hour, minute; } times[] = {{5, 0}, {4, 30}, {7, 30}, {12, 15}};
    for (const int size : {32, 48, 64, 512}) {
        for (const auto& time : times) {
            QImage image(size, size, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.scale(size / 128.0, size / 128.0);
            ClockFacePainter::drawing(time.hour, time.minute)->paint(painter);
            painter.end();
            // Along the minute hand, between the hour hand's end and the marks.
            int dark = 0;
            int samples = 0;
            const QPointF tip = ClockFacePainter::pointAt(time.minute * 18.849555921 / 180, 45);
            for (double f = 30.0 / 45; f <= 42.0 / 45; f += 1.0 / 45) {
                const QPointF p = QPointF(64, 64) + (tip - QPointF(64, 64)) * f;
                const QPoint px = (p * size / 128.0).toPoint();
                int darkest = 255;
                for (const QPoint d :
                     {QPoint(0, 0), QPoint(0, 1), QPoint(0, -1), QPoint(1, 0), QPoint(-1, 0)}) {
                    if (image.rect().contains(px + d)) {
                        darkest = std::min(darkest, qGray(image.pixel(px + d)));
                    }
                }
                dark += darkest < 150 ? 1 : 0;
                ++samples;
            }
            EXPECT_GE(dark, samples * 2 / 3)
                << time.hour << ":" << time.minute << " at " << size << " px";
        }
    }
}

// The key lies over its sheet: the sheet's ink below the title is all on the key too,
// and every answer stays inside its question's cell, clear of the next row.
TEST(SheetPrinting, AnAnswerPageLiesOverItsSheet) {
    for (int page = 0; page <= 3; ++page) {
        SCOPED_TRACE(page);
        const GeneratedWorksheet made = generated(page);
        const QPageLayout layout = SheetPainter::pageLayoutOf(*made.sheet);
        const QImage sheet = painted(*made.sheet, layout);
        const QImage key = painted(*made.answers, layout);
        const double toPx = 0.4;
        const QRectF title = SheetPainter::cellRect(*made.sheet, 1, 1);
        int sheetInk = 0;
        int missing = 0;
        for (int y = static_cast<int>(title.bottom() * toPx) + 1; y < sheet.height(); ++y) {
            for (int x = 0; x < sheet.width(); ++x) {
                if (qGray(sheet.pixel(x, y)) < 100) {
                    ++sheetInk;
                    missing += qGray(key.pixel(x, y)) < 200 ? 0 : 1;
                }
            }
        }
        EXPECT_GT(sheetInk, 1000);
        EXPECT_LE(missing, sheetInk / 200) << "the key moved the questions";
        // The key's red is its answers: each inside its question's cell, at least 1.5 mm
        // above the cell's lower edge, so that it cannot run into the next row.
        std::vector<QRect> answerCells;
        for (int row = 1; row <= made.answers->rows(); ++row) {
            for (int column = 1; column <= made.answers->columns(); ++column) {
                if (!made.answers->cell(row, column).answer.isEmpty()) {
                    const QRectF r = SheetPainter::cellRect(*made.answers, row, column);
                    answerCells.push_back(QRectF(r.topLeft() * toPx, r.size() * toPx)
                                              .toAlignedRect()
                                              .adjusted(0, 0, 0, -6));
                }
            }
        }
        ASSERT_EQ(static_cast<int>(answerCells.size()), made.questions.size());
        int red = 0;
        int astray = 0;
        for (int y = 0; y < key.height(); ++y) {
            for (int x = 0; x < key.width(); ++x) {
                const QColor c = key.pixelColor(x, y);
                if (c.red() > 150 && c.green() < 110 && c.blue() < 110) {
                    ++red;
                    const bool inside =
                        std::any_of(answerCells.begin(), answerCells.end(),
                                    [&](const QRect& r) { return r.contains(x, y); });
                    astray += inside ? 0 : 1;
                }
            }
        }
        EXPECT_GT(red, 100);
        EXPECT_EQ(astray, 0);
    }
}

TEST(SheetPrinting, ThePrintPreviewOpensOnTheSheetsOwnPageEveryTime) {
    const GeneratedWorksheet made = generated(0);
    QWidget parent;
    SheetPrintPreview preview(&parent, [&] { return std::pair{made.sheet, made.answers}; });
    preview.open();
    ASSERT_NE(preview.dialog(), nullptr);
    const auto check = [&](const char* when) {
        const QPageLayout layout = preview.printer().pageLayout();
        EXPECT_EQ(layout.pageSize().id(), QPageSize::A4) << when;
        EXPECT_EQ(layout.orientation(), QPageLayout::Portrait) << when;
        // Page Setup shows the sheet's margins, 30, 25, 30 and 23 mm.
        const QMarginsF m = layout.margins(QPageLayout::Millimeter);
        EXPECT_NEAR(m.left(), 30, 0.01) << when;
        EXPECT_NEAR(m.top(), 25, 0.01) << when;
        EXPECT_NEAR(m.right(), 30, 0.01) << when;
        EXPECT_NEAR(m.bottom(), 23, 0.01) << when;
        EXPECT_TRUE(preview.printer().fullPage()) << when;
        // The margins are counted once: on its own page the sheet does not move.
        EXPECT_TRUE(SheetPainter::placement(*made.sheet, layout).isIdentity()) << when;
    };
    check("first opened");
    preview.printer().setPageOrientation(QPageLayout::Landscape);
    preview.printer().setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
    preview.dialog()->close();
    preview.open();
    check("opened again");

    // Any filled sheet and its key can be previewed the same way.
    SheetPrintPreview* other = openSheetPrintPreview(&parent, *made.sheet, made.answers);
    ASSERT_NE(other->dialog(), nullptr);
    EXPECT_TRUE(other->dialog()->isVisible());
    ASSERT_EQ(other->pages().size(), 1u);
    EXPECT_EQ(other->pages().front().cell(5, 1).text, made.sheet->cell(5, 1).text);
}

TEST(SheetPrinting, QtsOwnDialogsSpeakChinese) {
    ASSERT_TRUE(QtTranslations::install(*QCoreApplication::instance()))
        << "no " << QtTranslations::kCatalogue << " in " << QtTranslations::folder().toStdString();
    EXPECT_TRUE(QtTranslations::install(*QCoreApplication::instance()));  // once is enough
    const GeneratedWorksheet made = generated(0);
    QWidget parent;
    SheetPrintPreview preview(&parent, [&] { return std::pair{made.sheet, made.answers}; });
    preview.open();
    int chinese = 0;
    int english = 0;
    for (QAction* action : preview.dialog()->findChildren<QAction*>()) {
        const QString text = action->text();
        if (text.isEmpty()) {
            continue;
        }
        const bool cjk = std::any_of(text.begin(), text.end(), [](QChar c) {
            return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF;
        });
        (cjk ? chinese : english) += 1;
        if (!cjk) {
            ADD_FAILURE() << "still English: " << text.toStdString();
        }
    }
    EXPECT_GE(chinese, 8);  // fit, zoom, orientation, pages, page setup, print …
}

// The preview on landscape A4 and on A5 shows the whole sheet on the page it will print
// on. With SUMBROOK_SHOT_DIR set, the previews are kept there as pictures to look at.
TEST(SheetPrinting, ThePreviewFollowsThePaperPicked) {
    QtTranslations::install(*QCoreApplication::instance());
    const GeneratedWorksheet made = generated(2);
    QWidget parent;
    SheetPrintPreview preview(&parent, [&] { return std::pair{made.sheet, made.answers}; });
    preview.open();
    auto* widget = preview.dialog()->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(widget, nullptr);
    const struct {
        const char* name;
        QPageSize::PageSizeId size;
        QPageLayout::Orientation orientation;
    } papers[] = {{"a4-portrait", QPageSize::A4, QPageLayout::Portrait},
                  {"a4-landscape", QPageSize::A4, QPageLayout::Landscape},
                  {"a5-portrait", QPageSize::A5, QPageLayout::Portrait}};
    for (const auto& p : papers) {
        preview.printer().setPageSize(QPageSize(p.size));
        preview.printer().setPageOrientation(p.orientation);
        preview.refresh();
        widget->fitInView();
        QApplication::processEvents();
        EXPECT_EQ(widget->pageCount(), 1) << p.name;
        EXPECT_EQ(preview.printer().pageLayout().orientation(), p.orientation);
        const QImage shot = preview.dialog()->grab().toImage();
        EXPECT_FALSE(shot.isNull());
        const QByteArray dir = qgetenv("SUMBROOK_SHOT_DIR");
        if (!dir.isEmpty()) {
            shot.save(QString::fromLocal8Bit(dir) + QStringLiteral("/preview-%1.png").arg(p.name));
        }
    }
}

}  // namespace
}  // namespace sumbrook
