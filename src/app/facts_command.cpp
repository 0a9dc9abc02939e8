#include "facts_command.h"

#include <QDate>

#include "child_argument.h"
#include "command_options.h"
#include "common/json_line.h"
#include "journal/practice_journal.h"
#include "learning/fact_learning.h"
#include "practice/core/practice_observer.h"
#include "practice/core/progress_store.h"

namespace sumbrook {

namespace {

const QString kChild = QStringLiteral("child");
const QString kDue = QStringLiteral("due");
const QString kJson = QStringLiteral("json");

void say(std::FILE* err, const QString& line) {
    std::fprintf(err, "sumbrook facts: %s\n", line.toLocal8Bit().constData());
}

QString questionText(const PracticeFact& fact) {
    const std::optional<Question> question = questionOf(fact);
    return question ? shownQuestionText(*question) : fact.key();
}

QString dueText(const LeitnerBox& box) {
    return box.box > 0 ? box.due.toString(Qt::ISODate) : QString();
}

// `reason`: in the review, why the fact is asked ("due", or "slow" when it tops the
// review up); empty in the list of every fact.
void writeJson(std::FILE* out, const FactStanding& s, const QString& question,
               const QString& reason) {
    JsonLine line;
    line.add(QStringLiteral("exercise"), s.exercise)
        .add(QStringLiteral("fact"), s.fact.key())
        .add(QStringLiteral("question"), question)
        .add(QStringLiteral("answer"), s.expected)
        .add(QStringLiteral("asked"), s.asked)
        .add(QStringLiteral("missed"), s.missed)
        .add(QStringLiteral("median_ms"), s.medianMs)
        .add(QStringLiteral("state"), fluencyName(s.state))
        .add(QStringLiteral("box"), s.box.box)
        .add(QStringLiteral("retired"), s.box.retired ? 1 : 0)
        .add(QStringLiteral("due"), dueText(s.box));
    if (!reason.isEmpty()) {
        line.add(QStringLiteral("review"), reason);
    }
    std::fprintf(out, "%s\n", line.toUtf8().constData());
}

// Padded by what a terminal shows: a Chinese character takes two columns.
QString padded(const QString& text, int columns) {
    int shown = 0;
    for (const QChar c : text) {
        shown += c.unicode() >= 0x2E80 ? 2 : 1;
    }
    return text + QString(std::max(0, columns - shown), u' ');
}

void writeRow(std::FILE* out, const QStringList& cells) {
    static const int kWidths[] = {6, 18, 10, 6, 6, 9, 10, 5};
    QString row;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        row += i + 1 < cells.size() && i < 8 ? padded(cells[i], kWidths[i]) + u' ' : cells[i];
    }
    std::fprintf(out, "%s\n", row.toUtf8().constData());
}

void writeTableRow(std::FILE* out, const FactStanding& s, const QString& question) {
    writeRow(out,
             {QString::number(s.exercise), question, s.expected, QString::number(s.asked),
              QString::number(s.missed), QString::number(s.medianMs), fluencyName(s.state),
              s.box.retired ? QStringLiteral("done") : QString::number(s.box.box), dueText(s.box)});
}

}  // namespace

int runFactsCommand(const QStringList& arguments, std::FILE* out, std::FILE* err) {
    CommandOptions options;
    options.withValue(kChild).withFlag(kDue).withFlag(kJson);
    if (!options.parse(arguments)) {
        say(err, options.error());
        return 2;
    }
    PracticeJournal journal(ProgressStore::defaultDirectory());
    const ChosenChild chosen = chooseChild(
        journal, options.has(kChild) ? std::optional(options.value(kChild)) : std::nullopt);
    if (chosen.id == 0) {
        say(err, chosen.refusal);
        return chosen.exitCode;
    }
    const int childId = chosen.id;
    const QVector<FactAnswer> answers = journal.factAnswers(childId);
    if (!journal.readError().isEmpty()) {
        say(err, journal.readError());
        return 1;
    }
    const FactLearning learning(answers);
    std::vector<FactStanding> shown;
    QStringList reasons;
    if (options.has(kDue)) {
        for (const ReviewItem& item : learning.review(QDate::currentDate())) {
            shown.push_back(learning.standing(item.fact));
            reasons.append(item.due ? QStringLiteral("due") : QStringLiteral("slow"));
        }
    } else {
        shown = learning.facts();
        // By exercise, then as the journal orders facts.
        std::stable_sort(
            shown.begin(), shown.end(),
            [](const FactStanding& a, const FactStanding& b) { return a.exercise < b.exercise; });
    }
    const bool json = options.has(kJson);
    if (!json) {
        writeRow(out, {QStringLiteral("练习"), QStringLiteral("题目"), QStringLiteral("答案"),
                       QStringLiteral("做过"), QStringLiteral("做错"), QStringLiteral("用时ms"),
                       QStringLiteral("状态"), QStringLiteral("盒"), QStringLiteral("复习日")});
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const FactStanding& s = shown[i];
        const QString question = questionText(s.fact);
        if (json) {
            writeJson(out, s, question, reasons.value(static_cast<qsizetype>(i)));
        } else {
            writeTableRow(out, s, question);
        }
    }
    return std::fflush(out) == 0 ? 0 : 1;
}

}  // namespace sumbrook
