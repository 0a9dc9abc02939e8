#include "sheet_pdf_writer.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "sheet_painter.h"

namespace sumbrook {

bool SheetPdfWriter::write(const QString& path, const std::vector<Sheet>& pages, QString* error) {
    // Open the file ourselves first: the PDF writer says nothing useful when it cannot.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error) {
            *error = QStringLiteral("cannot write '%1': %2").arg(path, file.errorString());
        }
        return false;
    }
    QPdfWriter writer(&file);
    writer.setTitle(QStringLiteral("数学口算题"));
    writer.setCreator(QStringLiteral("Sumbrook Quizwright"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    writer.setResolution(600);
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error) {
            *error = QStringLiteral("cannot start a PDF in '%1'").arg(path);
        }
        return false;
    }
    SheetPainter::paintPages(painter, writer, pages);
    painter.end();
    file.close();
    if (file.error() != QFileDevice::NoError) {
        if (error) {
            *error = QStringLiteral("cannot write '%1': %2").arg(path, file.errorString());
        }
        return false;
    }
    return true;
}

}  // namespace sumbrook
