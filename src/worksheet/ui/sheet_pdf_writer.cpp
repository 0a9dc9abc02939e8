#include "sheet_pdf_writer.h"

#include <QPageLayout>
#include <QPageSize>

#include "sheet_painter.h"

namespace sumbrook {

namespace {

constexpr int kResolution = 600;

void say(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
}

}  // namespace

SheetPdfWriter::SheetPdfWriter(const QString& path) : path_(path), file_(path) {}

SheetPdfWriter::~SheetPdfWriter() {
    if (painter_.isActive()) {
        painter_.end();
    }
}

bool SheetPdfWriter::open(QString* error) {
    // Open the file ourselves first: the PDF writer says nothing useful when it cannot.
    if (!file_.open()) {
        say(error, file_.reason());
        return false;
    }
    writer_ = std::make_unique<QPdfWriter>(&file_);
    writer_->setTitle(QStringLiteral("数学口算题"));
    writer_->setCreator(QStringLiteral("Sumbrook Quizwright"));
    writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    writer_->setResolution(kResolution);
    if (!painter_.begin(writer_.get())) {
        say(error, QStringLiteral("cannot start a PDF in '%1'").arg(path_));
        file_.cancel();
        return false;
    }
    return true;
}

void SheetPdfWriter::addPage(const Sheet& sheet) {
    if (!painter_.isActive()) {
        return;
    }
    if (pages_ > 0) {
        writer_->newPage();
    }
    SheetPainter::paintOnPaper(painter_, sheet, SheetPainter::pageLayoutOf(sheet), kResolution);
    ++pages_;
}

bool SheetPdfWriter::finish(QString* error) {
    if (!painter_.isActive()) {
        say(error, QStringLiteral("cannot write '%1': it was never opened").arg(path_));
        return false;
    }
    painter_.end();
    if (!file_.commit()) {
        say(error, file_.reason());
        return false;
    }
    return true;
}

void SheetPdfWriter::abandon() {
    if (painter_.isActive()) {
        painter_.end();
    }
    file_.cancel();
}

bool SheetPdfWriter::write(const QString& path, const std::vector<Sheet>& pages, QString* error) {
    SheetPdfWriter writer(path);
    if (!writer.open(error)) {
        return false;
    }
    for (const Sheet& sheet : pages) {
        writer.addPage(sheet);
    }
    return writer.finish(error);
}

}  // namespace sumbrook
