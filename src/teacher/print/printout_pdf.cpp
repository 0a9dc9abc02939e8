#include "printout_pdf.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "common/output_file.h"

namespace sumbrook {

namespace {

constexpr int kResolution = 600;

}  // namespace

bool PrintoutPdf::write(const QString& path, const QString& title, const Painting& painting,
                        QString* error) {
    OutputFile file(path);
    // Opened by us first: the PDF writer says nothing useful when it cannot.
    if (!file.open()) {
        if (error) {
            *error = file.reason();
        }
        return false;
    }
    QPdfWriter writer(&file);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Sumbrook"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    writer.setResolution(kResolution);
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error) {
            *error = QStringLiteral("cannot start a PDF in '%1'").arg(path);
        }
        file.cancel();
        return false;
    }
    painting(painter, writer);
    painter.end();
    if (!file.commit()) {
        if (error) {
            *error = file.reason();
        }
        return false;
    }
    return true;
}

}  // namespace sumbrook
