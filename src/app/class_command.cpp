#include "class_command.h"

#include <QFile>
#include <QTextStream>

#include "classroom/class_connection.h"
#include "classroom/class_list.h"
#include "classroom/class_setup.h"
#include "classroom/connection_string.h"
#include "classroom/pupil_list_file.h"
#include "command_options.h"

namespace sumbrook {

namespace {

const QString kConnect = QStringLiteral("connect");

void say(std::FILE* err, const QString& command, const QString& line) {
    std::fprintf(err, "sumbrook class %s: %s\n", command.toLocal8Bit().constData(),
                 line.toLocal8Bit().constData());
}

// "-" reads the connection string from the standard input, out of sight of `ps`.
QString connectionText(const QString& argument, std::FILE* in) {
    if (argument != QStringLiteral("-")) {
        return argument;
    }
    QTextStream stream(in);
    return stream.readLine();
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
    if (path.isEmpty() || !options.has(kConnect)) {
        say(err, command,
            QStringLiteral("usage: sumbrook class pupils import FILE.csv "
                           "--connect CONNINFO (the teacher's)"));
        return 2;
    }
    QString why;
    const std::optional<ConnectionString> where =
        ConnectionString::parse(connectionText(options.value(kConnect), in), &why);
    if (!where) {
        say(err, command, QStringLiteral("not a connection string: %1").arg(why));
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

}  // namespace

int runClassCommand(const QStringList& arguments, std::FILE* in, std::FILE* out, std::FILE* err) {
    if (!arguments.isEmpty() && arguments[0] == QStringLiteral("init")) {
        return runInit(arguments.mid(1), in, out, err);
    }
    if (arguments.size() >= 2 && arguments[0] == QStringLiteral("pupils") &&
        arguments[1] == QStringLiteral("import")) {
        return runImport(arguments.mid(2), in, out, err);
    }
    std::fprintf(err,
                 "sumbrook class: 'init URL' or 'pupils import FILE.csv --connect CONNINFO' "
                 "(try 'sumbrook --help')\n");
    return 2;
}

}  // namespace sumbrook
