#include "class_sheets.h"

#include "printout_pdf.h"
#include "printout_preview.h"
#include "worksheet/ui/clock_face_painter.h"
#include "worksheet/ui/sheet_painter.h"

namespace sumbrook {

QString ClassSheets::numberMark(const ClassPupil& pupil) {
    return QStringLiteral("学号 %1").arg(pupil.number);
}

ClassSheets ClassSheets::build(const ClassQueries& pupilsOfClass, const JournalQueries& pupils,
                               const QDateTime& now, int days) {
    ClassSheets out;
    // Whole days, today included, as `worksheet --from-mistakes --days` counts them.
    out.span_.to = now.date().addDays(1).startOfDay();
    out.span_.from = now.date().addDays(1 - days).startOfDay();

    const QVector<ListedPupil> list = pupilsOfClass.pupils();
    if (!pupilsOfClass.readError().isEmpty()) {
        out.error_ = pupilsOfClass.readError();
        return out;
    }
    const ClockFaceRenderer faces = &ClockFacePainter::drawing;
    for (const ListedPupil& listed : list) {
        if (listed.left) {
            continue;
        }
        const QVector<MissedFact> missed = pupils.missedFacts(listed.id, out.span_, kMissedAsked);
        // Half a class would pass for a class that missed less.
        if (!pupils.readError().isEmpty()) {
            ClassSheets failed;
            failed.span_ = out.span_;
            failed.error_ = pupils.readError();
            return failed;
        }
        MistakesSheet mistakes = MistakesSheet::build(missed);
        if (mistakes.isEmpty()) {
            out.withoutMistakes_.append(listed);
            continue;
        }
        const QString& name = listed.pupil.name;
        Sheet sheet = mistakes.sheet(name, faces);
        Sheet key = mistakes.answerKey(name, faces);
        sheet.copyMark = numberMark(listed.pupil);
        key.copyMark = sheet.copyMark;
        out.sheets_.push_back({listed, std::move(mistakes), std::move(sheet), std::move(key)});
    }
    return out;
}

std::vector<Sheet> ClassSheets::pages() const {
    std::vector<Sheet> out;
    out.reserve(sheets_.size() * 2);
    for (const PupilSheets& s : sheets_) {
        out.push_back(s.sheet);
        out.push_back(s.answerKey);
    }
    return out;
}

void ClassSheets::paint(QPainter& painter, QPagedPaintDevice& device) const {
    bool first = true;
    for (const PupilSheets& s : sheets_) {
        for (const Sheet* page : {&s.sheet, &s.answerKey}) {
            if (!first) {
                device.newPage();
            }
            first = false;
            SheetPainter::paintOnPaper(painter, *page, SheetPainter::pageLayoutOf(*page),
                                       device.logicalDpiX());
        }
    }
}

bool ClassSheets::writePdf(const QString& path, QString* error) const {
    return writePrintoutPdf(*this, path, error);
}

PrintoutPreview* ClassSheets::openPreview(QWidget* parent) const {
    return openPrintoutPreview(*this, parent);
}

}  // namespace sumbrook
