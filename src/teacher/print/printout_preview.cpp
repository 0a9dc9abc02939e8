#include "printout_preview.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "classroom/class_log.h"

namespace sumbrook {

PrintoutPreview::PrintoutPreview(QWidget* parent, const QString& title,
                                 PrintoutPdf::Painting painting)
    : QObject(parent),
      parent_(parent),
      title_(title),
      painting_(std::move(painting)),
      printer_(QPrinter::HighResolution) {
    printer_.setDocName(title);
    QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0));
    layout.setMode(QPageLayout::FullPageMode);
    printer_.setPageLayout(layout);
    // The printout keeps its own margins; the painting starts at the paper's corner.
    printer_.setFullPage(true);
}

PrintoutPreview::~PrintoutPreview() {
    delete dialog_;
}

void PrintoutPreview::print(QPrinter* printer) const {
    QPainter painter;
    if (!painter.begin(printer)) {
        qCWarning(classLog) << "the printer would not start painting; nothing was printed";
        return;
    }
    painting_(painter, *printer);
    painter.end();
}

void PrintoutPreview::open() {
    if (dialog_) {
        dialog_->show();
        dialog_->raise();
        dialog_->activateWindow();
        return;
    }
    dialog_ = new QPrintPreviewDialog(&printer_, parent_);
    dialog_->setObjectName(QStringLiteral("打印预览"));
    dialog_->setWindowTitle(QStringLiteral("打印预览：%1").arg(title_));
    dialog_->setAttribute(Qt::WA_DeleteOnClose, false);
    // A4 at a readable size, without outgrowing a small screen.
    const QRect screen = parent_ && parent_->screen() ? parent_->screen()->availableGeometry()
                                                      : QRect(0, 0, 1024, 768);
    dialog_->resize(std::min(860, screen.width() - 40), std::min(980, screen.height() - 60));
    connect(dialog_, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { print(printer); });
    dialog_->show();
}

}  // namespace sumbrook
