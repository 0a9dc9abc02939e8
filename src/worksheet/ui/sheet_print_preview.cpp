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

SheetPrintPreview::SheetPrintPreview(QWidget* parent, SheetSource sheets)
    : QObject(parent),
      parent_(parent),
      sheets_(std::move(sheets)),
      printer_(QPrinter::HighResolution) {
    // The sheet carries its own margins; the printer draws from the paper's corner.
    printer_.setFullPage(true);
    printer_.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    printer_.setDocName(QStringLiteral("数学口算题"));
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
    if (dialog_) {
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
    if (!dialog_) {
        return;
    }
    if (auto* preview = dialog_->findChild<QPrintPreviewWidget*>()) {
        preview->updatePreview();
    }
}

}  // namespace sumbrook
