#include "worksheet_command.h"

#include <QByteArray>
#include <algorithm>
#include <limits>
#include <memory>

#include "command_options.h"
#include "common/json_line.h"
#include "mistakes_sheet_command.h"
#include "worksheet/core/generate_worksheet.h"
#include "worksheet/core/generation_error.h"
#include "worksheet/core/tick_source.h"
#include "worksheet/core/worksheet_counts.h"
#include "worksheet/ui/clock_face_painter.h"
#include "worksheet/ui/sheet_batch_writer.h"

namespace sumbrook {

namespace {

constexpr int kMaxCopies = 1000;
constexpr std::uint64_t kMaxCount = 100000;
constexpr int kClockPage = 3;

void writeLine(std::FILE* stream, const QByteArray& line) {
    const QByteArray withEnd = line + "\n";
    std::fwrite(withEnd.constData(), 1, static_cast<std::size_t>(withEnd.size()), stream);
}

int refuse(std::FILE* err, const QString& reason) {
    writeLine(err, QStringLiteral("sumbrook worksheet: %1").arg(reason).toUtf8());
    return 2;
}

// A question's place and text on the sheet, in reading order.
struct PlacedQuestion {
    SheetPlace place;
    const WorksheetQuestion* question;
};

std::vector<PlacedQuestion> inReadingOrder(int page, const GeneratedWorksheet& sheet) {
    std::vector<PlacedQuestion> placed;
    const int n = sheet.questions.size();
    for (int i = 1; i <= n; ++i) {
        const int position =
            page == kClockPage ? i : sheet.order.at(static_cast<std::size_t>(i - 1));
        placed.push_back({questionPlace(page, i), &sheet.questions.at(position)});
    }
    std::stable_sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) {
        return a.place.row != b.place.row ? a.place.row < b.place.row
                                          : a.place.column < b.place.column;
    });
    return placed;
}

// One line of plain text: a vertical form's lines joined by " | ", a time as 3:05.
QString plainText(int page, const WorksheetQuestion& q) {
    if (page == kClockPage) {
        if (const auto time = parseTimeQuestion(q.text)) {
            return QStringLiteral("%1:%2").arg(time->first).arg(time->second, 2, 10, QChar(u'0'));
        }
    }
    QStringList lines = q.text.split(QStringLiteral("\r\n"));
    for (QString& line : lines) {
        line = line.trimmed();
    }
    return lines.join(QStringLiteral(" | "));
}

QByteArray jsonLine(int page, int copy, int copies, const PlacedQuestion& p, bool answers) {
    JsonLine line;
    if (copies > 1) {
        line.add(QStringLiteral("sheet"), copy);
    }
    line.add(QStringLiteral("row"), p.place.row).add(QStringLiteral("column"), p.place.column);
    const auto time = page == kClockPage ? parseTimeQuestion(p.question->text) : std::nullopt;
    if (time) {
        line.add(QStringLiteral("hour"), time->first).add(QStringLiteral("minute"), time->second);
    } else {
        line.add(QStringLiteral("text"), p.question->text);
    }
    if (answers) {
        line.add(QStringLiteral("answer"), p.question->answer);
    }
    return line.toUtf8();
}

constexpr const char* kUsage =
    "usage: sumbrook worksheet --page P --count TAG=N [--count TAG=N ...] [--seed S]\n"
    "                          [--copies C] [--answers | --answers=end] [--pdf FILE] [--json]\n"
    "\n"
    "  --page P        settings page: 0 加减, 1 乘除, 2 竖式, 3 钟面\n"
    "  --count TAG=N   N questions of subtype TAG, a tag of the page (listed below)\n"
    "  --seed S        the same seed (0 to 4294967295) gives the same sheets\n"
    "  --copies C      C different sheets (1 to 1000), each marked \"第 k 份\" with its key\n"
    "  --answers       the answers on the output and an answer page after each sheet\n"
    "  --answers=end   the same, with every answer page gathered after all the sheets\n"
    "  --pdf FILE      the sheets as an A4 PDF; nothing is printed when it cannot be written\n"
    "  --json          one JSON object a question instead of one line of text\n"
    "  --help          this text\n";

// What each tag's generator truly makes, which a caption does not always say (a "二位数以内"
// sum may reach three digits). Scripts name subtypes by tag, so the tags never change; on
// page 3 the tag numbers do not follow the window's rows, which is why each is spelled out.
const char* tagMeaning(int tag) {
    switch (tag) {
        case 1:
            return "a + b up to 10, and a - b from 4 to 9 (a little over half are sums)";
        case 2:
            return "a + b + c: a + b at most 10, c from 5 to 10";
        case 3:
            return "a + b - c, then a - b + c, within 20";
        case 4:
            return "a + b from 2 to 10 each, carrying past 10 (11 to 20)";
        case 5:
            return "a two-digit number plus whole tens, up to 100";
        case 6:
            return "a two-digit number plus 3 to 9, carrying unless it is whole tens";
        case 7:
            return "11 to 18 minus a one-digit number, borrowing";
        case 8:
            return "two two-digit numbers added, up to 100";
        case 9:
            return "a two-digit number minus a smaller one, no borrowing";
        case 10:
            return "a two-digit number minus a smaller one, borrowing";
        case 11:
            return "the times table, 1 to 9 times 1 to 9";
        case 12:
            return "a times-table product, then + or - a number";
        case 13:
            return "exact division from the times table (2 to 9)";
        case 14:
            return "exact division from the times table, then + or - a number";
        case 15:
            return "times-table division with a remainder";
        case 16:
            return "10 to 99 divided by 2 to 9, always with a remainder";
        case 17:
            return "column addition of two two-digit numbers (sums up to 198)";
        case 18:
            return "column subtraction of two two-digit numbers, the second not larger";
        case 19:
            return "column multiplication of a two-digit by a one-digit number";
        case 20:
            return "long division of a two-digit number by 2 to 9, exact";
        case 21:
            return "whole hours (3:00)";
        case 22:
            return "half hours (3:30)";
        case 25:
            return "quarter hours (3:00, 3:15, 3:30, 3:45)";
        case 23:
            return "five-minute times other than :00 and :30 (3:05, 3:25)";
        case 24:
            return "any minute (3:07)";
        default:
            return "";
    }
}

// The usage, then every tag of each page in the window's row order with the caption the
// window shows beside its field.
QByteArray helpText() {
    QByteArray text = kUsage;
    text += "\nTags, by page, in the order of the window's rows (caption, then what is asked):\n";
    for (int page = 0; page <= kClockPage; ++page) {
        text += QStringLiteral("\n  page %1 %2\n").arg(page).arg(tabCaption(page)).toUtf8();
        for (const int tag : tagsOfPage(page)) {
            text += QStringLiteral("    %1  %2\n          %3\n")
                        .arg(tag, 2)
                        .arg(QString::fromUtf8(countField(tag).label),
                             QString::fromLatin1(tagMeaning(tag)))
                        .toUtf8();
        }
    }
    return text;
}

struct Request {
    bool help = false;
    int page = 0;
    WorksheetCounts counts;
    std::optional<std::uint32_t> seed;
    int copies = 1;
    AnswerPages answers = AnswerPages::None;
    bool json = false;
    QString pdf;
};

// Reads the options into a request; a reason on failure.
std::variant<Request, QString> parseRequest(const QStringList& arguments) {
    CommandOptions options;
    options.withValue(QStringLiteral("page"))
        .withValue(QStringLiteral("count"), true)
        .withValue(QStringLiteral("seed"))
        .withValue(QStringLiteral("copies"))
        .withValue(QStringLiteral("pdf"))
        .withFlag(QStringLiteral("answers"))
        .withValue(QStringLiteral("answers"))  // only as --answers=end
        .withFlag(QStringLiteral("json"))
        .withFlag(QStringLiteral("help"));
    if (!options.parse(arguments)) {
        return options.error();
    }
    Request request;
    if (options.has(QStringLiteral("help"))) {
        request.help = true;
        return request;
    }
    if (!options.has(QStringLiteral("page"))) {
        return QStringLiteral("--page P is required (P from 0 to 3)");
    }
    const QString pageText = options.value(QStringLiteral("page"));
    const auto page = CommandOptions::wholeNumber(pageText, 0, kClockPage);
    if (!page) {
        return QStringLiteral("page must be a number from 0 to 3, not '%1'").arg(pageText);
    }
    request.page = static_cast<int>(*page);
    const std::vector<int> tags = tagsOfPage(request.page);
    std::vector<bool> given(kLastTag + 1, false);
    for (const QString& count : options.values(QStringLiteral("count"))) {
        const qsizetype eq = count.indexOf(u'=');
        const auto tag = eq < 0 ? std::nullopt
                                : CommandOptions::wholeNumber(count.left(eq), kFirstTag, kLastTag);
        const auto n =
            eq < 0 ? std::nullopt : CommandOptions::wholeNumber(count.mid(eq + 1), 0, kMaxCount);
        if (!tag || !n) {
            return QStringLiteral(
                       "--count takes TAG=N with TAG 1 to 25 and N from 0 to %1, not "
                       "'%2'")
                .arg(kMaxCount)
                .arg(count);
        }
        const int t = static_cast<int>(*tag);
        if (std::find(tags.begin(), tags.end(), t) == tags.end()) {
            return QStringLiteral("tag %1 does not belong to page %2 (its tags: %3)")
                .arg(t)
                .arg(request.page)
                .arg(QStringList([&] {
                         QStringList names;
                         for (int x : tags) {
                             names << QString::number(x);
                         }
                         return names;
                     }())
                         .join(QStringLiteral(", ")));
        }
        if (given[static_cast<std::size_t>(t)]) {
            return QStringLiteral("tag %1 is counted more than once").arg(t);
        }
        given[static_cast<std::size_t>(t)] = true;
        request.counts.setCount(t, static_cast<double>(*n));
    }
    if (options.has(QStringLiteral("seed"))) {
        const QString seedText = options.value(QStringLiteral("seed"));
        const auto seed =
            CommandOptions::wholeNumber(seedText, 0, std::numeric_limits<std::uint32_t>::max());
        if (!seed) {
            return QStringLiteral("seed must be a whole number from 0 to 4294967295, not '%1'")
                .arg(seedText);
        }
        request.seed = static_cast<std::uint32_t>(*seed);
    }
    if (options.has(QStringLiteral("copies"))) {
        const QString copiesText = options.value(QStringLiteral("copies"));
        const auto copies = CommandOptions::wholeNumber(copiesText, 1, kMaxCopies);
        if (!copies) {
            return QStringLiteral("copies must be a number from 1 to %1, not '%2'")
                .arg(kMaxCopies)
                .arg(copiesText);
        }
        request.copies = static_cast<int>(*copies);
    }
    if (options.has(QStringLiteral("pdf"))) {
        request.pdf = options.value(QStringLiteral("pdf"));
        if (request.pdf.isEmpty()) {
            return QStringLiteral("--pdf needs a file name");
        }
    }
    if (options.has(QStringLiteral("answers"))) {
        const QStringList answerValues = options.values(QStringLiteral("answers"));
        if (answerValues.isEmpty()) {
            request.answers = AnswerPages::EachAfterItsSheet;
        } else if (answerValues.first() == QStringLiteral("end")) {
            request.answers = AnswerPages::AllAtTheEnd;
        } else {
            return QStringLiteral("--answers takes no value or 'end', not '%1'")
                .arg(answerValues.first());
        }
    }
    request.json = options.has(QStringLiteral("json"));
    return request;
}

// The lines a sheet prints on the output.
QByteArray outputOf(const Request& request, int copy, const GeneratedWorksheet& sheet) {
    const bool answers = request.answers != AnswerPages::None;
    QByteArray out;
    if (copy > 1 && !request.json) {
        out += '\n';
    }
    for (const PlacedQuestion& p : inReadingOrder(request.page, sheet)) {
        if (request.json) {
            out += jsonLine(request.page, copy, request.copies, p, answers);
        } else {
            QString text = plainText(request.page, *p.question);
            if (answers) {
                text += QStringLiteral("  → ") + p.question->answer;
            }
            out += text.toUtf8();
        }
        out += '\n';
    }
    return out;
}

}  // namespace

int runWorksheetCommand(const QStringList& arguments, std::FILE* out, std::FILE* err) {
    if (asksForMistakesSheet(arguments)) {
        return runMistakesSheetCommand(arguments, out, err);
    }
    auto parsed = parseRequest(arguments);
    if (auto* reason = std::get_if<QString>(&parsed)) {
        return refuse(err, *reason);
    }
    const Request& request = std::get<Request>(parsed);
    if (request.help) {
        const QByteArray text = helpText();
        std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), out);
        return std::fflush(out) == 0 ? 0 : 1;
    }
    if (const auto message = validatePage(request.page, request.counts)) {
        writeLine(err, message->toUtf8());
        return 2;
    }

    std::unique_ptr<TickSource> ticks;
    if (request.seed) {
        ticks = std::make_unique<SeededTickSource>(*request.seed);
    } else {
        ticks = std::make_unique<SystemTickSource>();
    }
    WorksheetRandom random(*ticks);

    // The PDF is painted a page at a time as the sheets are made; the output waits until
    // the file is complete, so that a run that fails prints nothing.
    std::optional<SheetBatchWriter> pdf;
    QString error;
    if (!request.pdf.isEmpty()) {
        pdf.emplace(request.pdf, request.copies, request.answers);
        if (!pdf->open(&error)) {
            writeLine(err, QStringLiteral("sumbrook worksheet: %1").arg(error).toUtf8());
            return 1;
        }
    }
    QByteArray output;
    for (int copy = 1; copy <= request.copies; ++copy) {
        GeneratedWorksheet sheet;
        try {
            auto result =
                GenerateWorksheet(request.page, request.counts, random, &ClockFacePainter::drawing);
            sheet = std::move(std::get<GeneratedWorksheet>(result));
        } catch (const GenerationError& e) {
            if (pdf) {
                pdf->abandon();
            }
            writeLine(err, QStringLiteral("sumbrook worksheet: %1").arg(e.what()).toUtf8());
            return 1;
        }
        output += outputOf(request, copy, sheet);
        if (pdf) {
            pdf->add(copy, std::move(*sheet.sheet), std::move(*sheet.answers));
        }
    }
    if (pdf && !pdf->finish(&error)) {
        writeLine(err, QStringLiteral("sumbrook worksheet: %1").arg(error).toUtf8());
        return 1;
    }
    std::fwrite(output.constData(), 1, static_cast<std::size_t>(output.size()), out);
    return std::fflush(out) == 0 ? 0 : 1;
}

}  // namespace sumbrook
