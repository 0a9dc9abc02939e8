#include "sheet_batch_writer.h"

namespace sumbrook {

SheetBatchWriter::SheetBatchWriter(const QString& path, int copies, AnswerPages answers)
    : pdf_(path), copies_(copies), answers_(answers) {}

QString SheetBatchWriter::copyMark(int copy) {
    return QStringLiteral("第 %1 份").arg(copy);
}

bool SheetBatchWriter::open(QString* error) {
    return pdf_.open(error);
}

void SheetBatchWriter::add(int copy, Sheet sheet, Sheet answers) {
    if (copies_ > 1) {
        sheet.copyMark = copyMark(copy);
        answers.copyMark = copyMark(copy);
    }
    pdf_.addPage(sheet);
    if (answers_ == AnswerPages::EachAfterItsSheet) {
        pdf_.addPage(answers);
    } else if (answers_ == AnswerPages::AllAtTheEnd) {
        keysAtTheEnd_.push_back(std::move(answers));
    }
}

bool SheetBatchWriter::finish(QString* error) {
    for (const Sheet& key : keysAtTheEnd_) {
        pdf_.addPage(key);
    }
    keysAtTheEnd_.clear();
    return pdf_.finish(error);
}

}  // namespace sumbrook
