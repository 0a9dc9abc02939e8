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
#include "worksheet/ui/sheet_pdf_writer.h"

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

struct Request {
    int page = 0;
    WorksheetCounts counts;
    std::optional<std::uint32_t> seed;
    int copies = 1;
    bool answers = false;
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
        .withFlag(QStringLiteral("json"));
    if (!options.parse(arguments)) {
        return options.error();
    }
    Request request;
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
    request.answers = options.has(QStringLiteral("answers"));
    request.json = options.has(QStringLiteral("json"));
    return request;
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
    if (const auto message = validatePage(request.page, request.counts)) {
        writeLine(err, message->toUtf8());
        return 2;
    }

    std::unique_ptr<TickSource> ticks;
    if (request.seed) {
        ticks = std::make_unique<FixedTickSource>(*request.seed);
    } else {
        ticks = std::make_unique<SystemTickSource>();
    }
    WorksheetRandom random(*ticks);

    std::vector<Sheet> pages;
    for (int copy = 1; copy <= request.copies; ++copy) {
        GeneratedWorksheet sheet;
        try {
            auto result =
                GenerateWorksheet(request.page, request.counts, random, &ClockFacePainter::face);
            sheet = std::move(std::get<GeneratedWorksheet>(result));
        } catch (const GenerationError& e) {
            writeLine(err, QStringLiteral("sumbrook worksheet: %1").arg(e.what()).toUtf8());
            return 1;
        }
        if (copy > 1 && !request.json) {
            writeLine(out, QByteArray());
        }
        for (const PlacedQuestion& p : inReadingOrder(request.page, sheet)) {
            if (request.json) {
                writeLine(out, jsonLine(request.page, copy, request.copies, p, request.answers));
            } else {
                QString text = plainText(request.page, *p.question);
                if (request.answers) {
                    text += QStringLiteral("  → ") + p.question->answer;
                }
                writeLine(out, text.toUtf8());
            }
        }
        if (!request.pdf.isEmpty()) {
            pages.push_back(std::move(*sheet.sheet));
            if (request.answers) {
                pages.push_back(std::move(*sheet.answers));
            }
        }
    }
    if (std::fflush(out) != 0) {
        return 1;
    }
    if (!request.pdf.isEmpty()) {
        QString error;
        if (!SheetPdfWriter::write(request.pdf, pages, &error)) {
            writeLine(err, QStringLiteral("sumbrook worksheet: %1").arg(error).toUtf8());
            return 1;
        }
    }
    return 0;
}

}  // namespace sumbrook
