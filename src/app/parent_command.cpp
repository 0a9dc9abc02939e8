#include "parent_command.h"

#include "child_argument.h"
#include "journal/practice_journal.h"
#include "practice/core/progress_store.h"

namespace sumbrook {

namespace {

const QString kExportCsv = QStringLiteral("export-csv");
const QString kChild = QStringLiteral("child");

void say(std::FILE* err, const QString& line) {
    std::fprintf(err, "sumbrook parent: %s\n", line.toLocal8Bit().constData());
}

}  // namespace

CommandOptions parentCommandOptions() {
    CommandOptions options;
    options.withValue(kExportCsv).withValue(kChild);
    return options;
}

int runParentCommand(const QStringList& arguments, std::FILE* out, std::FILE* err,
                     const ParentWindow& window) {
    CommandOptions options = parentCommandOptions();
    if (!options.parse(arguments)) {
        say(err, options.error());
        return 2;
    }
    if (!options.has(kExportCsv) && !window) {
        say(err, QStringLiteral("--export-csv FILE is needed"));
        return 2;
    }
    if (options.has(kExportCsv) && options.value(kExportCsv).isEmpty()) {
        say(err, QStringLiteral("--export-csv needs a file name"));
        return 2;
    }

    PracticeJournal journal(ProgressStore::defaultDirectory());
    if (!journal.open()) {
        say(err,
            QStringLiteral("the practice journal %1 cannot be opened").arg(journal.filePath()));
        return 1;
    }
    int childId = journal.currentChildId();
    if (options.has(kChild)) {
        const ChildArgument child = childFromArgument(journal.children(), options.value(kChild));
        if (child.id == 0) {
            say(err, child.refusal);
            return 2;
        }
        childId = child.id;
    }

    if (!options.has(kExportCsv)) {
        return window(options, journal, childId);
    }
    const QString path = options.value(kExportCsv);
    QString error;
    if (!journal.exportCsv(childId, path, &error)) {
        say(err, error);
        return 1;
    }
    const qsizetype rows = journal.answers(childId, {}).size();
    std::fprintf(out, "%lld answered questions written to %s\n", static_cast<long long>(rows),
                 path.toLocal8Bit().constData());
    return 0;
}

}  // namespace sumbrook
