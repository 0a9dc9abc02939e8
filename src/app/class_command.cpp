#include "class_command.h"

#include <QFile>
#include <QTextStream>

#include "class_reader.h"
#include "classroom/class_connection.h"
#include "classroom/class_list.h"
#include "classroom/class_setup.h"
#include "classroom/connection_string.h"
#include "classroom/pupil_list_file.h"
#include "classroom/teacher_login.h"
#include "command_options.h"
#include "teacher/print/class_sheets.h"
#include "teacher/print/week_report.h"

namespace sumbrook {

namespace {

const QString kConnect = QStringLiteral("connect");
const QString kDays = QStringLiteral("days");
const QString kPdf = QStringLiteral("pdf");
const QString kWeek = QStringLiteral("week");
const QString kFrom = QStringLiteral("from");
const QString kTo = QStringLiteral("to");
constexpr int kDefaultSheetDays = 7;
constexpr std::uint64_t kMaxDays = 36600;
constexpr qint64 kMaxReportDays = 36600;

void say(std::FILE* err, const QString& command, const QString& line) {
    std::fprintf(err, "sumbrook class %s: %s\n", command.toLocal8Bit().constData(),
                 line.toLocal8Bit().constData());
}

void write(std::FILE* out, const QString& line) {
    std::fprintf(out, "%s\n", line.toUtf8().constData());
}

// "03 王小明"
QString pupilText(const ListedPupil& listed) {
    return listed.pupil.number + u' ' + listed.pupil.name;
}

// "-" reads the connection string from the standard input, out of sight of `ps`.
QString connectionText(const QString& argument, std::FILE* in) {
    if (argument != QStringLiteral("-")) {
        return argument;
    }
    QTextStream stream(in);
    return stream.readLine();
}

// The teacher's connection: the one given with --connect, else the one kept by `sumbrook
// teacher`. Nothing when neither can be used, after saying why on one line.
std::optional<ConnectionString> teacherConnection(const CommandOptions& options, std::FILE* in,
                                                  const QString& command, std::FILE* err) {
    QString why;
    if (options.has(kConnect)) {
        std::optional<ConnectionString> where =
            ConnectionString::parse(connectionText(options.value(kConnect), in), &why);
        if (!where) {
            say(err, command, QStringLiteral("not a connection string: %1").arg(why));
        }
        return where;
    }
    const TeacherLogin kept;
    if (!QFile::exists(kept.path())) {
        say(err, command,
            QStringLiteral("no teacher's connection is kept here: give --connect CONNINFO, or "
                           "run 'sumbrook teacher' once"));
        return std::nullopt;
    }
    std::optional<ConnectionString> where = kept.read(&why);
    if (!where) {
        say(err, command,
            QStringLiteral("%1; give --connect CONNINFO, or run 'sumbrook teacher' again")
                .arg(why));
    }
    return where;
}

int runInit(const QStringList& arguments, std::FILE* in, std::FILE* out, std::FILE* err) {
    const QString command = QStringLiteral("init");
    if (arguments.size() != 1 || arguments[0].startsWith(QStringLiteral("--"))) {
        say(err, command,
            QStringLiteral("give one connection string of a login that may create roles, e.g. "
                           "postgresql://admin@server/class3"));
        return 2;
    }
    QString why;
    const std::optional<ConnectionString> where =
        ConnectionString::parse(connectionText(arguments[0], in), &why);
    if (!where) {
        say(err, command, QStringLiteral("not a connection string: %1").arg(why));
        return 2;
    }
    ClassConnection connection(*where);
    if (!connection.open()) {
        say(err, command, connection.error());
        return 1;
    }
    ClassSetup setup(connection);
    const std::optional<ClassSetup::Logins> logins = setup.run();
    if (!logins) {
        say(err, command, setup.error());
        return 1;
    }
    std::fprintf(out, "pupils: %s\nteacher: %s\n", logins->pupils.toUtf8().constData(),
                 logins->teacher.toUtf8().constData());
    return 0;
}

int runImport(QStringList arguments, std::FILE* in, std::FILE* out, std::FILE* err) {
    const QString command = QStringLiteral("pupils import");
    // The file is the one argument that is neither an option nor an option's value.
    QString path;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const bool isValue = i > 0 && arguments[i - 1] == QStringLiteral("--connect");
        if (!isValue && !arguments[i].startsWith(QStringLiteral("--"))) {
            path = arguments.takeAt(i);
            break;
        }
    }
    CommandOptions options;
    options.withValue(kConnect);
    if (!options.parse(arguments)) {
        say(err, command, options.error());
        return 2;
    }
    if (path.isEmpty()) {
        say(err, command,
            QStringLiteral("usage: sumbrook class pupils import FILE.csv "
                           "[--connect CONNINFO] (the teacher's)"));
        return 2;
    }
    const std::optional<ConnectionString> where = teacherConnection(options, in, command, err);
    if (!where) {
        return 2;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        say(err, command, QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString()));
        return 2;
    }
    const PupilListFile list = PupilListFile::read(file.readAll());
    if (!list.problems().isEmpty()) {
        for (const QString& problem : list.problems()) {
            say(err, command, QStringLiteral("%1 %2").arg(path, problem));
        }
        return 2;
    }

    ClassConnection connection(*where);
    if (!connection.open()) {
        say(err, command, connection.error());
        return 1;
    }
    QSqlDatabase db = connection.database();
    QString refused;
    const std::optional<ClassList::Imported> imported =
        ClassList::import(db, list.pupils(), refused);
    if (!imported) {
        say(err, command,
            QStringLiteral("the server at %1 refused the list: %2")
                .arg(connection.where().place(), refused));
        return 1;
    }
    std::fprintf(out, "%s\n",
                 QStringLiteral("%1 pupils in %2: %3 added, %4 renamed, %5 unchanged")
                     .arg(list.pupils().size())
                     .arg(path)
                     .arg(imported->added)
                     .arg(imported->renamed)
                     .arg(imported->unchanged)
                     .toUtf8()
                     .constData());
    return 0;
}

// What `sheets` and `report` share: the PDF, the teacher's connection, refused on one line.
struct PrintOptions {
    QString pdf;
    ConnectionString where;
};

std::optional<PrintOptions> printOptions(const CommandOptions& options, std::FILE* in,
                                         const QString& command, std::FILE* err) {
    if (!options.has(kPdf) || options.value(kPdf).isEmpty()) {
        say(err, command, QStringLiteral("give --pdf FILE, the PDF to write"));
        return std::nullopt;
    }
    const std::optional<ConnectionString> where = teacherConnection(options, in, command, err);
    if (!where) {
        return std::nullopt;
    }
    // Its password is no secret from the pupils, so it reads no pupil's answers.
    if (ClassReader::isPupilsLogin(*where)) {
        say(err, command, ClassReader::pupilsConnection(*where));
        return std::nullopt;
    }
    return PrintOptions{options.value(kPdf), *where};
}

std::optional<QDate> isoDate(const QString& text) {
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (!date.isValid() || date.toString(Qt::ISODate) != text) {
        return std::nullopt;
    }
    return date;
}

int runSheets(const QStringList& arguments, std::FILE* in, std::FILE* out, std::FILE* err,
              const QDateTime& now) {
    const QString command = QStringLiteral("sheets");
    CommandOptions options;
    options.withValue(kDays).withValue(kPdf).withValue(kConnect);
    if (!options.parse(arguments)) {
        say(err, command, options.error());
        return 2;
    }
    int days = kDefaultSheetDays;
    if (options.has(kDays)) {
        const auto d = CommandOptions::wholeNumber(options.value(kDays), 1, kMaxDays);
        if (!d) {
            say(err, command,
                QStringLiteral("--days takes a whole number from 1 to %1").arg(kMaxDays));
            return 2;
        }
        days = static_cast<int>(*d);
    }
    const std::optional<PrintOptions> print = printOptions(options, in, command, err);
    if (!print) {
        return 2;
    }
    ClassReader reader(print->where);
    if (!reader.open()) {
        say(err, command, reader.error());
        return 1;
    }
    const ClassSheets sheets =
        ClassSheets::build(reader.pupilsOfClass(), reader.pupils(), now, days);
    if (!sheets.error().isEmpty()) {
        say(err, command, reader.refusal(sheets.error()));
        return 1;
    }
    QStringList none;
    for (const ListedPupil& p : sheets.withoutMistakes()) {
        none << pupilText(p);
    }
    if (sheets.isEmpty()) {
        say(err, command,
            QStringLiteral("no pupil missed a sum in the last %1 days; no sheets written")
                .arg(days));
        return 1;
    }
    QString error;
    if (!sheets.writePdf(print->pdf, &error)) {
        say(err, command, error);
        return 1;
    }
    for (const ClassSheets::PupilSheets& s : sheets.sheets()) {
        QString line =
            QStringLiteral("%1: %2 missed").arg(pupilText(s.pupil)).arg(s.mistakes.missedCount());
        if (!s.mistakes.leftOutNote().isEmpty()) {
            line += QStringLiteral(" (") + s.mistakes.leftOutNote() + u')';
        }
        write(out, line);
    }
    if (!none.isEmpty()) {
        write(out, QStringLiteral("no mistakes in the last %1 days: %2")
                       .arg(days)
                       .arg(none.join(QStringLiteral(", "))));
    }
    write(out, QStringLiteral("%1 pages in %2").arg(sheets.pages().size()).arg(print->pdf));
    return std::fflush(out) == 0 ? 0 : 1;
}

int runReport(const QStringList& arguments, std::FILE* in, std::FILE* out, std::FILE* err,
              const QDateTime& now) {
    const QString command = QStringLiteral("report");
    CommandOptions options;
    options.withFlag(kWeek).withValue(kFrom).withValue(kTo).withValue(kPdf).withValue(kConnect);
    if (!options.parse(arguments)) {
        say(err, command, options.error());
        return 2;
    }
    JournalSpan span = WeekReport::weekOf(now.date());
    const bool fromTo = options.has(kFrom) || options.has(kTo);
    if (fromTo && options.has(kWeek)) {
        say(err, command, QStringLiteral("give either --week or --from DATE --to DATE"));
        return 2;
    }
    if (fromTo) {
        const std::optional<QDate> from = isoDate(options.value(kFrom));
        const std::optional<QDate> to = isoDate(options.value(kTo));
        if (!options.has(kFrom) || !options.has(kTo) || !from || !to) {
            say(err, command, QStringLiteral("--from and --to take a date each, as 2026-12-07"));
            return 2;
        }
        if (*to < *from) {
            say(err, command,
                QStringLiteral("--to %1 is before --from %2")
                    .arg(options.value(kTo), options.value(kFrom)));
            return 2;
        }
        if (from->daysTo(*to) >= kMaxReportDays) {
            say(err, command, QStringLiteral("a report spans at most %1 days").arg(kMaxReportDays));
            return 2;
        }
        span = WeekReport::daysFrom(*from, *to);
    }
    const std::optional<PrintOptions> print = printOptions(options, in, command, err);
    if (!print) {
        return 2;
    }
    ClassReader reader(print->where);
    if (!reader.open()) {
        say(err, command, reader.error());
        return 1;
    }
    const WeekReport report = WeekReport::build(reader.pupilsOfClass(), reader.pupils(), span);
    if (!report.error().isEmpty()) {
        say(err, command, reader.refusal(report.error()));
        return 1;
    }
    QString error;
    if (!report.writePdf(print->pdf, &error)) {
        say(err, command, error);
        return 1;
    }
    write(out, QStringLiteral("%1, %2 pupils: %3")
                   .arg(WeekReport::spanText(span))
                   .arg(report.rows().size())
                   .arg(print->pdf));
    return std::fflush(out) == 0 ? 0 : 1;
}

}  // namespace

bool classCommandPaints(const QStringList& arguments) {
    return !arguments.isEmpty() &&
           (arguments[0] == QStringLiteral("sheets") || arguments[0] == QStringLiteral("report"));
}

int runClassCommand(const QStringList& arguments, std::FILE* in, std::FILE* out, std::FILE* err) {
    if (!arguments.isEmpty() && arguments[0] == QStringLiteral("init")) {
        return runInit(arguments.mid(1), in, out, err);
    }
    if (arguments.size() >= 2 && arguments[0] == QStringLiteral("pupils") &&
        arguments[1] == QStringLiteral("import")) {
        return runImport(arguments.mid(2), in, out, err);
    }
    const QDateTime now = QDateTime::currentDateTime();
    if (!arguments.isEmpty() && arguments[0] == QStringLiteral("sheets")) {
        return runSheets(arguments.mid(1), in, out, err, now);
    }
    if (!arguments.isEmpty() && arguments[0] == QStringLiteral("report")) {
        return runReport(arguments.mid(1), in, out, err, now);
    }
    std::fprintf(err,
                 "sumbrook class: 'init URL', 'pupils import FILE.csv', 'sheets --pdf FILE' or "
                 "'report --pdf FILE' (try 'sumbrook --help')\n");
    return 2;
}

}  // namespace sumbrook
