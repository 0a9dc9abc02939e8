#include "questions_command.h"

#include <QByteArray>
#include <limits>

#include "command_options.h"
#include "common/uniform_source.h"
#include "practice/core/exercise_catalogue.h"
#include "practice/core/question_generator.h"
#include "question_json.h"

namespace sumbrook {

namespace {

int refuse(std::FILE* err, const QString& reason) {
    const QByteArray line = QStringLiteral("sumbrook questions: %1\n").arg(reason).toUtf8();
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), err);
    return 2;
}

}  // namespace

int runQuestionsCommand(const QStringList& arguments, std::FILE* out, std::FILE* err) {
    CommandOptions options;
    options.withValue(QStringLiteral("exercise"))
        .withValue(QStringLiteral("count"))
        .withValue(QStringLiteral("seed"));
    if (!options.parse(arguments)) {
        return refuse(err, options.error());
    }
    if (!options.has(QStringLiteral("exercise"))) {
        return refuse(err, QStringLiteral("--exercise N is required (N from 1 to 37)"));
    }
    const QString exerciseText = options.value(QStringLiteral("exercise"));
    const auto exercise = CommandOptions::wholeNumber(exerciseText, ExerciseCatalogue::kFirst,
                                                      ExerciseCatalogue::kLast);
    if (!exercise) {
        return refuse(
            err,
            QStringLiteral("exercise must be a number from 1 to 37, not '%1'").arg(exerciseText));
    }
    std::uint64_t count = 1;
    if (options.has(QStringLiteral("count"))) {
        const QString countText = options.value(QStringLiteral("count"));
        const auto parsed =
            CommandOptions::wholeNumber(countText, 1, std::numeric_limits<std::int64_t>::max());
        if (!parsed) {
            return refuse(
                err,
                QStringLiteral("count must be a positive whole number, not '%1'").arg(countText));
        }
        count = *parsed;
    }
    std::optional<SeededUniformSource> source;
    if (options.has(QStringLiteral("seed"))) {
        const QString seedText = options.value(QStringLiteral("seed"));
        const auto seed =
            CommandOptions::wholeNumber(seedText, 0, std::numeric_limits<std::uint64_t>::max());
        if (!seed) {
            return refuse(err, QStringLiteral("seed must be a whole number from 0 to %1, not '%2'")
                                   .arg(std::numeric_limits<std::uint64_t>::max())
                                   .arg(seedText));
        }
        source.emplace(*seed);
    } else {
        source.emplace(SeededUniformSource::fromEntropy());
    }

    const int number = static_cast<int>(*exercise);
    for (std::uint64_t i = 0; i < count; ++i) {
        const QByteArray line =
            questionJson(number, QuestionGenerator::generate(number, *source)) + "\n";
        if (std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), out) !=
            static_cast<std::size_t>(line.size())) {
            return 1;  // the reader went away
        }
    }
    return std::fflush(out) == 0 ? 0 : 1;
}

}  // namespace sumbrook
