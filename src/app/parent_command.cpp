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
    // A journal that cannot be read is said as such, never taken for one without children
    // or answers; the window tells it in its own way.
    int childId = journal.currentChildId();
    QString unread = journal.readError();
    if (options.has(kChild)) {
        const QVector<Child> children = journal.children();
        unread = journal.readError();
        if (!unread.isEmpty()) {
            say(err, unread);
            return 1;
        }
        const ChildArgument child = childFromArgument(children, options.value(kChild));
        if (child.id == 0) {
            say(err, child.refusal);
            return 2;
        }
        childId = child.id;
    }

    if (!options.has(kExportCsv)) {
        return window(options, journal, childId);
    }
    if (!unread.isEmpty()) {
        say(err, unread);
        return 1;
    }
    const QString path = options.value(kExportCsv);
    QString error;
    qsizetype rows = 0;
    if (!journal.exportCsv(childId, path, &error, &rows)) {
        say(err, error);
        return 1;
    }
    std::fprintf(out, "%lld answered questions written to %s\n", static_cast<long long>(rows),
                 path.toLocal8Bit().constData());
    return 0;
}

}  // namespace sumbrook
