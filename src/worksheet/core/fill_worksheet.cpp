#include "fill_worksheet.h"

namespace sumbrook {

namespace {

constexpr int kFirstQuestionRow = 5;
constexpr int kClockFacesPerColumn = 5;

// The vertical forms keep their digits in columns: a result is written with the same
// spacing as the operands ("d d d "), right-aligned under them.
QString spacedDigits(const QString& number, int width) {
    QString out;
    for (const QChar c : number) {
        out += c;
        out += u' ';
    }
    return QString(std::max<qsizetype>(0, width - out.size()), u' ') + out;
}

bool isDivisionForm(const QString& text) {
    return text.contains(u')');
}

// The answer of a question as the key writes it, and where it goes.
void writeAnswer(int page, const WorksheetQuestion& q, SheetCell& cell) {
    if (page != 2) {
        cell.answer = q.answer;
        cell.answerPlace = AnswerPlace::After;
    } else if (isDivisionForm(q.text)) {
        // The quotient stands above the bracket, over the dividend's units.
        cell.answer = QString(6, u' ') + q.answer;
        cell.answerPlace = AnswerPlace::Above;
    } else {
        cell.answer = spacedDigits(q.answer, 7);
        cell.answerPlace = AnswerPlace::Below;
    }
}

std::optional<Sheet> fill(int page, const QuestionList& list, const std::vector<int>& order,
                          const ClockFaceRenderer& faces, bool withAnswers) {
    const std::optional<SheetKind> kind = sheetKindOfPage(page);
    if (!kind) {
        return std::nullopt;
    }
    Sheet sheet = SheetTemplate::load(*kind);
    if (withAnswers) {
        SheetCell& title = sheet.cell(1, 1);
        title.text += QStringLiteral("（答案）");
    }
    if (*kind == SheetKind::Clock) {
        const int n = std::min(list.size(), 2 * kClockFacesPerColumn);
        for (int i = 1; i <= n; ++i) {
            const auto time = parseTimeQuestion(list.at(i).text);
            if (!time) {
                continue;
            }
            const SheetPlace place = questionPlace(page, i);
            sheet.cell(place.row, place.column).drawing = faces(time->first, time->second);
            if (withAnswers) {
                SheetCell& blanks = sheet.cell(place.row, place.column + 1);
                blanks.answer = clockAnswerValues(time->first, time->second);
                blanks.answerPlace = AnswerPlace::IntoBlanks;
            }
        }
        return sheet;
    }
    const int n = static_cast<int>(order.size());
    for (int i = 1; i <= n; ++i) {
        const SheetPlace place = questionPlace(page, i);
        if (place.row > sheet.rows() || place.column > sheet.columns()) {
            break;  // more questions than cells: the sheet holds what fits
        }
        const WorksheetQuestion& q = list.at(order[static_cast<std::size_t>(i - 1)]);
        SheetCell& cell = sheet.cell(place.row, place.column);
        cell.text = q.text;
        if (withAnswers) {
            writeAnswer(page, q, cell);
        }
    }
    return sheet;
}

}  // namespace

std::optional<SheetKind> sheetKindOfPage(int page) {
    switch (page) {
        case 0:
        case 1:
            return SheetKind::Arithmetic;
        case 2:
            return SheetKind::Vertical;
        case 3:
            return SheetKind::Clock;
        default:
            return std::nullopt;
    }
}

SheetPlace questionPlace(int page, int i) {
    switch (page) {
        case 2:
            return {kFirstQuestionRow + (i - 1) / 3, (i - 1) % 3 + 1};
        case 3: {
            const int k = (i - 1) % kClockFacesPerColumn + 1;
            return {2 * k + 1, i <= kClockFacesPerColumn ? 1 : 3};
        }
        default:
            return {kFirstQuestionRow + (i - 1) / 2, (i - 1) % 2 + 1};
    }
}

std::optional<std::pair<int, int>> parseTimeQuestion(const QString& text) {
    const QStringList parts = text.split(u',');
    if (parts.size() != 2) {
        return std::nullopt;
    }
    bool hourOk = false;
    bool minuteOk = false;
    const int hour = parts[0].toInt(&hourOk);
    const int minute = parts[1].toInt(&minuteOk);
    if (!hourOk || !minuteOk || hour < 1 || hour > 12 || minute < 0 || minute > 59) {
        return std::nullopt;
    }
    return std::pair{hour, minute};
}

QString clockAnswerValues(int hour, int minute) {
    return QStringLiteral("%1|%2|%1|%3").arg(hour).arg(minute).arg(minute, 2, 10, QChar(u'0'));
}

std::optional<Sheet> FillWorksheet(int page, const QuestionList& list,
                                   const std::vector<int>& order, const ClockFaceRenderer& faces) {
    return fill(page, list, order, faces, false);
}

std::optional<Sheet> FillAnswerKey(int page, const QuestionList& list,
                                   const std::vector<int>& order, const ClockFaceRenderer& faces) {
    return fill(page, list, order, faces, true);
}

}  // namespace sumbrook
