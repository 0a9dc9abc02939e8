#include "mistakes_sheet_command.h"

#include "child_argument.h"
#include "command_options.h"
#include "journal/practice_journal.h"
#include "practice/core/progress_store.h"
#include "worksheet/core/mistakes_sheet.h"
#include "worksheet/ui/clock_face_painter.h"
#include "worksheet/ui/sheet_pdf_writer.h"

namespace sumbrook {

namespace {

const QString kFromMistakes = QStringLiteral("from-mistakes");
const QString kChild = QStringLiteral("child");
const QString kDays = QStringLiteral("days");
const QString kPdf = QStringLiteral("pdf");
constexpr int kDefaultDays = 30;
constexpr std::uint64_t kMaxDays = 36600;

void say(std::FILE* stream, const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

int refuse(std::FILE* err, const QString& reason, int status) {
    say(err, QStringLiteral("sumbrook worksheet: %1").arg(reason));
    return status;
}

}  // namespace

bool asksForMistakesSheet(const QStringList& arguments) {
    return arguments.contains(QStringLiteral("--") + kFromMistakes);
}

int runMistakesSheetCommand(const QStringList& arguments, std::FILE* out, std::FILE* err,
                            const QDateTime& now) {
    CommandOptions options;
    options.withFlag(kFromMistakes).withValue(kChild).withValue(kDays).withValue(kPdf);
    if (!options.parse(arguments)) {
        return refuse(err, options.error(), 2);
    }
    if (!options.has(kPdf) || options.value(kPdf).isEmpty()) {
        return refuse(err, QStringLiteral("--from-mistakes needs --pdf FILE"), 2);
    }
    int days = kDefaultDays;
    if (options.has(kDays)) {
        const auto d = CommandOptions::wholeNumber(options.value(kDays), 1, kMaxDays);
        if (!d) {
            return refuse(
                err, QStringLiteral("--days takes a whole number from 1 to %1").arg(kMaxDays), 2);
        }
        days = static_cast<int>(*d);
    }

    PracticeJournal journal(ProgressStore::defaultDirectory());
    const ChosenChild chosen = chooseChild(
        journal, options.has(kChild) ? std::optional(options.value(kChild)) : std::nullopt);
    if (chosen.id == 0) {
        return refuse(err, chosen.refusal, chosen.exitCode);
    }
    const int childId = chosen.id;
    const QString name = chosen.name;

    JournalSpan span;
    span.to = now.date().addDays(1).startOfDay();
    span.from = now.date().addDays(1 - days).startOfDay();
    const MistakesSheet sheet = MistakesSheet::build(journal.missedFacts(childId, span, 200));
    if (!journal.readError().isEmpty()) {
        return refuse(err, journal.readError(), 1);
    }
    if (!sheet.leftOutNote().isEmpty()) {
        say(err, sheet.leftOutNote());
    }
    if (sheet.isEmpty()) {
        return refuse(err,
                      QStringLiteral("%1 missed no sum in the last %2 days; no sheet written")
                          .arg(printableName(name))
                          .arg(days),
                      1);
    }
    // The questions are printed only once their sheet is written, so that a run that
    // fails prints nothing but its reason.
    QString error;
    const ClockFaceRenderer faces = &ClockFacePainter::drawing;
    if (!SheetPdfWriter::write(options.value(kPdf),
                               {sheet.sheet(name, faces), sheet.answerKey(name, faces)}, &error)) {
        return refuse(err, error, 1);
    }
    for (const MistakesSheet::Item& item : sheet.items()) {
        say(out, item.fact.sheetText());
    }
    for (const MistakesSheet::ClockItem& clock : sheet.clocks()) {
        say(out, MistakesSheet::clockText(clock));
    }
    return std::fflush(out) == 0 ? 0 : 1;
}

}  // namespace sumbrook
