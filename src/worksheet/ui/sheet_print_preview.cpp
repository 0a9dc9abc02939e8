#include "sheet_print_preview.h"

#include <QCheckBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QToolBar>

#include "sheet_painter.h"

namespace sumbrook {

namespace {

bool sameMargins(const SheetMargins& a, const SheetMargins& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

SheetPrintPreview::SheetPrintPreview(QWidget* parent, SheetSource sheets)
    : QObject(parent),
      parent_(parent),
      sheets_(std::move(sheets)),
      printer_(QPrinter::HighResolution) {
    printer_.setDocName(QStringLiteral("数学口算题"));
    resetPaper();
}

std::optional<SheetMargins> SheetPrintPreview::currentMargins() const {
    auto [sheet, answers] = sheets_();
    if (!sheet) {
        return std::nullopt;
    }
    return sheet->margins;
}

void SheetPrintPreview::applyMargins(const SheetMargins& m) {
    QPageLayout layout = printer_.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    layout.setMinimumMargins(QMarginsF(0, 0, 0, 0));
    layout.setMargins(QMarginsF(m.left / 10.0, m.top / 10.0, m.right / 10.0, m.bottom / 10.0));
    printer_.setPageLayout(layout);
    // The painting starts at the paper's corner; the margins are the sheet's to keep.
    printer_.setFullPage(true);
    appliedMargins_ = m;
}

void SheetPrintPreview::resetPaper() {
    QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0));
    layout.setMode(QPageLayout::FullPageMode);
    printer_.setPageLayout(layout);
    printer_.setFullPage(true);
    applyMargins(currentMargins().value_or(SheetMargins{}));
}

SheetPrintPreview::~SheetPrintPreview() {
    delete dialog_;
}

bool SheetPrintPreview::answersWanted() const {
    return answers_ && answers_->isChecked();
}

std::vector<Sheet> SheetPrintPreview::pages() const {
    auto [sheet, answers] = sheets_();
    std::vector<Sheet> pages;
    if (sheet) {
        pages.push_back(std::move(*sheet));
        if (answersWanted() && answers) {
            pages.push_back(std::move(*answers));
        }
    }
    return pages;
}

void SheetPrintPreview::print(QPrinter* printer) const {
    QPainter painter;
    if (!painter.begin(printer)) {
        return;
    }
    SheetPainter::paintPages(painter, *printer, pages());
    painter.end();
}

void SheetPrintPreview::open() {
    if (dialog_ && dialog_->isVisible()) {
        dialog_->raise();
        dialog_->activateWindow();
        return;
    }
    // Every opening starts from the sheet's own page: A4 portrait at its margins. A paper
    // or orientation picked last time is not carried over.
    resetPaper();
    if (dialog_) {
        refresh();
        dialog_->show();
        dialog_->raise();
        dialog_->activateWindow();
        return;
    }
    dialog_ = new QPrintPreviewDialog(&printer_, parent_);
    dialog_->setObjectName(QStringLiteral("打印预览"));
    dialog_->setWindowTitle(QStringLiteral("打印预览"));
    dialog_->setAttribute(Qt::WA_DeleteOnClose, false);
    // A4 at a readable size, without outgrowing a small screen.
    const QRect screen = parent_ && parent_->screen() ? parent_->screen()->availableGeometry()
                                                      : QRect(0, 0, 1024, 768);
    dialog_->resize(std::min(860, screen.width() - 40), std::min(980, screen.height() - 60));
    connect(dialog_, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { print(printer); });
    if (auto* toolbar = dialog_->findChild<QToolBar*>()) {
        answers_ = new QCheckBox(QStringLiteral("附答案页"), toolbar);
        answers_->setObjectName(QStringLiteral("复选框_答案页"));
        answers_->setChecked(false);
        // First on the tool bar, so that a narrow window never hides it.
        QAction* first = toolbar->actions().value(0);
        toolbar->insertWidget(first, answers_);
        toolbar->insertSeparator(first);
        connect(answers_, &QCheckBox::toggled, this, [this] { refresh(); });
    }
    dialog_->show();
}

void SheetPrintPreview::refresh() {
    // A sheet of another kind brings its own margins; those typed for the old one go.
    const std::optional<SheetMargins> margins = currentMargins();
    if (margins && !sameMargins(*margins, appliedMargins_)) {
        applyMargins(*margins);
    }
    if (!dialog_) {
        return;
    }
    if (auto* preview = dialog_->findChild<QPrintPreviewWidget*>()) {
        preview->updatePreview();
    }
}

}  // namespace sumbrook

namespace sumbrook {

SheetPrintPreview* openSheetPrintPreview(QWidget* parent, Sheet sheet,
                                         std::optional<Sheet> answers) {
    auto* preview =
        new SheetPrintPreview(parent, [sheet = std::move(sheet), answers = std::move(answers)] {
            return std::pair{std::optional<Sheet>(sheet), answers};
        });
    preview->open();
    return preview;
}

}  // namespace sumbrook
