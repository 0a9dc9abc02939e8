// What the Quizwright window shows at its declared sizes: every caption whole, the total
// whole however long, and the multiplication and division signs as large as the others.
#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTest>

#include "support/qstring_printer.h"
#include "worksheet/core/worksheet_counts.h"
#include "worksheet/ui/quizwright_window.h"
#include "worksheet/ui/sheet_painter.h"

namespace sumbrook {
namespace {

// The room a push button leaves for its caption: its width less the style's margins.
int captionRoom(const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    const int frame = button.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &button);
    const int margin = button.style()->pixelMetric(QStyle::PM_ButtonMargin, &option, &button);
    return button.width() - 2 * frame - margin;
}

// How far a caption's ink reaches: to the ink of its last character.
int inkExtent(const QFontMetrics& metrics, const QString& text) {
    return metrics.horizontalAdvance(text.chopped(1)) + metrics.boundingRect(text.back()).right() +
           1;
}

// The width of a label that shows: up to the first later sibling laid over it.
int shownWidth(const QLabel& label) {
    int shown = label.contentsRect().width();
    const QObjectList& siblings = label.parentWidget()->children();
    for (qsizetype i = siblings.indexOf(&label) + 1; i < siblings.size(); ++i) {
        const auto* w = qobject_cast<const QWidget*>(siblings[i]);
        if (w && w->isVisible() && w->geometry().intersects(label.geometry()) &&
            w->x() > label.x()) {
            shown = std::min(shown, w->x() - label.x());
        }
    }
    return shown;
}

TEST(QuizwrightCaptions, EveryLabelAndButtonShowsItsWholeCaption) {
    QuizwrightWindow window(nullptr, std::make_unique<FixedTickSource>(1));
    window.show();
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("按钮_加减法")),
                      Qt::LeftButton);  // the totals show
    int labels = 0;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().isEmpty() || label->objectName() == QStringLiteral("画板_时钟")) {
            continue;
        }
        ++labels;
        const int needed = inkExtent(label->fontMetrics(), label->text());
        EXPECT_LE(needed, shownWidth(*label))
            << label->text().toStdString() << " in " << label->width() << " px";
        EXPECT_LE(label->fontMetrics().height(), label->height()) << label->text().toStdString();
    }
    EXPECT_GE(labels, 25 + 25 + 3);  // subtype names, their units, the totals' labels
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        const int needed = button->fontMetrics().horizontalAdvance(button->text());
        EXPECT_LE(needed, captionRoom(*button))
            << button->text().toStdString() << " in " << button->width() << " px";
    }
    // The colon of "共计：" and the bracket of tag 15 are the captions' own.
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("共计_标签"))->text(), "共计：");
}

TEST(QuizwrightCaptions, TheTotalBoxShowsTheWholeNumber) {
    QuizwrightWindow window(nullptr, std::make_unique<FixedTickSource>(1));
    window.show();
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("按钮_加减法")),
                      Qt::LeftButton);
    auto* total = window.findChild<QLineEdit*>(QStringLiteral("共计_编辑框"));
    ASSERT_NE(total, nullptr);
    const struct {
        const char* first;
        const char* second;
        const char* shown;
    } rows[] = {{"3", "0", "3"},
                {"28", "2", "30"},
                {"100000", "13", "100013"},
                {"1000000100", "13", "1000000113"}};
    for (const auto& row : rows) {
        window.findChild<QLineEdit*>(QString::fromUtf8(countField(1).control))
            ->setText(QString::fromUtf8(row.first));
        window.findChild<QLineEdit*>(QString::fromUtf8(countField(2).control))
            ->setText(QString::fromUtf8(row.second));
        EXPECT_EQ(total->text(), row.shown);
        EXPECT_EQ(total->size(), QSize(40, 18));
        // The box's text area: its width less its frame and the line edit's own margins.
        const int frame = total->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        const int room = total->width() - 2 * frame - 2 * 2;
        EXPECT_LE(total->fontMetrics().horizontalAdvance(total->text()), room) << row.shown;
        EXPECT_GE(total->font().pixelSize(), 5) << row.shown;
    }
}

// The ink of one character painted in a sheet's question font.
QRect inkOf(const QString& text, const QString& font) {
    Sheet sheet(1, 1);
    sheet.setRowHeight(1, 300);
    sheet.setColumnWidth(1, 600);
    sheet.margins = {0, 0, 0, 0};
    SheetCell& cell = sheet.cell(1, 1);
    cell.text = text;
    cell.fontName = font;
    cell.fontSize = 100;
    cell.format = 5;
    QImage page(SheetPainter::kPageWidth, 300, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    SheetPainter::paintPage(painter, sheet);
    painter.end();
    QRect ink;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (qGray(page.pixel(x, y)) < 128) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

TEST(QuizwrightCaptions, TimesAndDivideStandAsLargeAsPlusOnTheSheets) {
    for (const QString& font : {QStringLiteral("宋体"), QStringLiteral("新宋体")}) {
        const QRect plus = inkOf(QStringLiteral("＋"), font);
        ASSERT_FALSE(plus.isEmpty());
        for (const QString& sign : {QStringLiteral("×"), QStringLiteral("÷")}) {
            const QRect ink = inkOf(sign, font);
            EXPECT_NEAR(ink.height(), plus.height(), plus.height() * 0.2)
                << sign.toStdString() << " in " << font.toStdString();
            // And on the same middle line as ＋.
            EXPECT_NEAR(ink.center().y(), plus.center().y(), plus.height() * 0.15)
                << sign.toStdString() << " in " << font.toStdString();
        }
    }
}

}  // namespace
}  // namespace sumbrook
