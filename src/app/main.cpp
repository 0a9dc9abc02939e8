#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QStringList>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <memory>

#include "class_command.h"
#include "class_computer.h"
#include "class_seat.h"
#include "classroom/class_config.h"
#include "classroom/class_roster.h"
#include "common/qt_translations.h"
#include "facts_command.h"
#include "journal/practice_journal.h"
#include "moviehost/scene_services.h"
#include "parent_window_command.h"
#include "practice/core/progress_store.h"
#include "practice_services.h"
#include "questions_command.h"
#include "quit_on_signal.h"
#include "shell/main_window.h"
#include "shell/pupil_picker.h"
#include "shell/shell_globals.h"
#include "teacher_command.h"
#include "themes_command.h"
#include "worksheet/ui/quizwright_window.h"
#include "worksheet/ui/sheet_fonts.h"
#include "worksheet_command.h"

// Under the leak checker: GStreamer's PulseAudio sink keeps one process-wide connection
// whose bookkeeping is never freed before exit, and under a real X display Qt's D-Bus
// thread leaves one block that libdbus allocated for itself. Both are theirs; nothing of
// ours is hidden by naming those libraries.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libpulse.so\n"
           "leak:libdbus-1.so\n";
}

namespace {

constexpr const char* kUsage =
    "Sumbrook 2.0, first-grade mathematics practice.\n"
    "\n"
    "usage:\n"
    "  sumbrook\n"
    "      the program: the practice scene in the main window, with Quizwright, the\n"
    "      themes, full screen and the help document in its menu. On a class computer\n"
    "      (one with a class.conf) it opens on the class's names (你是谁？) first.\n"
    "\n"
    "  sumbrook --pupil NAME\n"
    "      on a class computer: the program for the pupil of that name or number,\n"
    "      without the names to choose from.\n"
    "\n"
    "  sumbrook quizwright\n"
    "      opens Quizwright, the worksheet window, on its own.\n"
    "\n"
    "  sumbrook themes [--skin N]\n"
    "      the theme dialog over a sample window; --skin N shows theme N (1 to 8)\n"
    "      without touching the configuration file.\n"
    "\n"
    "  sumbrook questions --exercise N [--count K] [--seed S]\n"
    "      K practice questions (default 1) of exercise N (1 to 37), one JSON object\n"
    "      per line; the same seed gives the same questions.\n"
    "\n"
    "  sumbrook worksheet --page P --count TAG=N [--count TAG=N ...] [--seed S]\n"
    "                     [--copies C] [--answers | --answers=end] [--pdf FILE] [--json]\n"
    "      a Quizwright worksheet of settings page P (0 加减, 1 乘除, 2 竖式, 3 钟面) with N\n"
    "      questions of each subtype TAG (tags 1-10, 11-16, 17-20 and 21-25 by page).\n"
    "      Prints the questions in the order they stand on the sheet, one per line (the\n"
    "      lines of a vertical form joined by \" | \"), or as JSON objects with --json;\n"
    "      --answers adds the answers and an answer page after each sheet (--answers=end:\n"
    "      all answer pages after all the sheets); --pdf writes the sheets as an A4 PDF;\n"
    "      --copies makes C different sheets, each and its key marked \"第 k 份\"; the same\n"
    "      seed, the same sheets. 'sumbrook worksheet --help' tells more.\n"
    "\n"
    "  sumbrook worksheet --from-mistakes [--child NAME] [--days D] --pdf FILE\n"
    "      a sheet of the sums the chosen child (or the child NAME) got wrong in the last\n"
    "      D days (30 unless given), topped up with sums close to them, and its answer\n"
    "      key, as a two-page A4 PDF (错题练习).\n"
    "\n"
    "  sumbrook parent [--child NAME]\n"
    "      the parent's window (家长中心): the chosen child's questions and accuracy per\n"
    "      day, time per question, the 37 exercises and the facts most often wrong; the\n"
    "      children of the family; a mistakes worksheet to print and the CSV export.\n"
    "\n"
    "  sumbrook parent --export-csv FILE [--child NAME]\n"
    "      writes every question the chosen child (or the child NAME) answered as a\n"
    "      CSV file for a spreadsheet: time, exercise, question, answers, right or\n"
    "      wrong and the time taken.\n"
    "\n"
    "  sumbrook teacher [--connect CONNINFO]\n"
    "      the teacher's window (教师中心) over the class's server: each pupil's tile\n"
    "      in the lesson going on (practising or not, the exercise, answers and\n"
    "      accuracy, a mark for who may need help), followed every second; the class's\n"
    "      accuracy in the 37 exercises, the facts it misses most and its fluency over\n"
    "      a week, month or term; one pupil as the parent's window shows a child; the\n"
    "      class list. CONNINFO is the teacher's login ('teacher: …' of class init);\n"
    "      when not given, the one kept is used, or it is asked for once and kept.\n"
    "\n"
    "  sumbrook facts [--child NAME] [--due] [--json]\n"
    "      every fact the chosen child (or the child NAME) met: exercise, question,\n"
    "      answer, times asked and missed, median time in ms, state (new, learning,\n"
    "      slow, fluent), review box and the day it is due; with --due only today's\n"
    "      review (错题复习) in the order the scene asks it; --json writes one JSON\n"
    "      object per line.\n"
    "\n"
    "  sumbrook class init URL\n"
    "      sets up (or brings up to date) a class's database on a school's PostgreSQL\n"
    "      server: URL is a libpq connection string or postgresql:// URI of a login that\n"
    "      may create roles. Makes the pupils' and the teacher's roles with new passwords\n"
    "      each time it runs (pupils and their work stay) and prints their connection\n"
    "      strings, 'pupils: …' for class.conf on every pupil computer and 'teacher: …'.\n"
    "\n"
    "  sumbrook class pupils import FILE.csv [--connect CONNINFO]\n"
    "      adds the pupils of a CSV class list (header 学号,姓名; UTF-8 or GBK) to the\n"
    "      class and renames those whose number it knows; never deletes. A list with a\n"
    "      bad row is refused whole. CONNINFO is the teacher's; '-' reads it from the\n"
    "      standard input. Without --connect, the connection 'sumbrook teacher' kept.\n"
    "\n"
    "  sumbrook class sheets [--days D] --pdf FILE [--connect CONNINFO]\n"
    "      全班错题卷: one A4 PDF with, for each pupil on the class list in its order, their\n"
    "      own mistakes sheet (the sums they missed in the last D days, 7 unless given,\n"
    "      today included) with their name and number, each followed by its answer key.\n"
    "      A pupil with no mistakes gets no page; the command names them.\n"
    "\n"
    "  sumbrook class report [--week | --from DATE --to DATE] --pdf FILE\n"
    "                       [--connect CONNINFO]\n"
    "      班级周报: an A4 PDF of the class over this week (Monday to Sunday, the default)\n"
    "      or the days DATE to DATE (as 2026-12-07, both included): per pupil the\n"
    "      questions, accuracy, time practised, facts that became fluent and facts still\n"
    "      missed, as their own window shows them; the heat map of exercises by pupils\n"
    "      and the facts the class missed most. CONNINFO as for 'pupils import'.\n";

// Qt's note that XDG_RUNTIME_DIR is unset (usual for root and for batch jobs) says
// nothing to the user of a command and would pollute its error output.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR"))) {
        return;
    }
    const QByteArray text = qFormatLogMessage(type, context, message).toLocal8Bit();
    std::fprintf(stderr, "%s\n", text.constData());
}

// How long a pupil who picked their name waits for their progress from other computers.
constexpr int kProgressPatienceMs = 1000;

// On a class computer, the pupil who practises: the one named by --pupil (`wanted`), else
// the one who picks their name. Nothing, with the exit status in `status`, when the program
// ends here; the pupil is seated otherwise. Elsewhere nothing is asked.
bool seatClassPupil(sumbrook::PracticeJournal& journal, const QString& wanted, int& status) {
    const std::optional<sumbrook::ConnectionString> where = sumbrook::ClassConfig().read();
    if (!where) {
        if (wanted.isNull()) {
            return true;
        }
        std::fputs("sumbrook: --pupil is for a class computer, and this one has no class.conf\n",
                   stderr);
        status = 2;
        return false;
    }
    // The class list and everyone's progress are read off the GUI thread: the names kept
    // from the last good read show at once, the server's replace them when they come.
    const QString dataDirectory = sumbrook::ProgressStore::defaultDirectory();
    sumbrook::ClassArrival arrival;
    const std::unique_ptr<QThread> reading(QThread::create([&arrival, &where, &dataDirectory] {
        arrival = sumbrook::ClassArrival::read(*where, dataDirectory);
    }));
    reading->start();
    // Whatever happens next, the read is waited for before `arrival` goes.
    const auto finished = qScopeGuard([&reading] { reading->wait(); });
    std::optional<sumbrook::ClassPupil> pupil;
    if (wanted.isNull()) {
        const sumbrook::ClassRoster kept = sumbrook::ClassRoster::kept(*where, dataDirectory);
        sumbrook::PupilPicker picker(kept.pupils(), QString());
        QObject::connect(reading.get(), &QThread::finished, &picker, [&picker, &arrival] {
            picker.setPupils(arrival.roster.pupils(), arrival.roster.reason());
        });
        // In the application's own loop rather than the dialog's, so that SIGTERM ends it.
        QObject::connect(&picker, &QDialog::finished, qApp, [] { QCoreApplication::exit(0); });
        picker.show();
        QApplication::exec();
        pupil = picker.choice();
        if (!pupil) {
            status = 0;
            return false;
        }
        // A pupil quicker than the server practises from this computer's copy.
        reading->wait(QDeadlineTimer(kProgressPatienceMs));
    } else {
        reading->wait();
        pupil = arrival.roster.find(wanted);
        if (!pupil) {
            std::fprintf(stderr, "sumbrook: no pupil of the class has the name or number '%s'\n",
                         wanted.toLocal8Bit().constData());
            status = 2;
            return false;
        }
    }
    sumbrook::seatPupil(journal, *pupil, reading->isFinished() ? &arrival : nullptr);
    return true;
}

// The program: start-up, the main window and its event loop, then the shutdown routine.
// `pupil`: the --pupil argument, null when there was none.
int runProgram(int argc, char* argv[], const QString& pupil = QString()) {
    qInstallMessageHandler(quietMessages);
    QApplication app(argc, argv);
    sumbrook::QtTranslations::install(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("sumbrook"));
    // Only the main window's close box ends the program; the Quizwright window, open while
    // the main window is hidden, must not.
    QApplication::setQuitOnLastWindowClosed(false);
    sumbrook::QuitOnSignal quitOnSignal;
    const std::shared_ptr<sumbrook::PracticeJournal> journal = sumbrook::openPracticeJournal();
    if (int status = 0; !seatClassPupil(*journal, pupil, status)) {
        return status;
    }
    // On a class computer the pupils' practice goes on to the class's server as well; the
    // pupil seated, their rows are sent from the first look on.
    const std::unique_ptr<sumbrook::ClassComputer> classComputer =
        sumbrook::ClassComputer::start(journal);

    // The process-wide objects: the movie player, skinModule, the filtered windows, the
    // file-open hook and the memory files. Their shutdown routine runs when the event loop
    // ends, whichever way the program ends, and at the latest when they go out of scope.
    sumbrook::ShellGlobals globals(sumbrook::practiceServices(journal));
    // Without the skin module the program runs in the system look.
    globals.LoadSkinModule();

    sumbrook::MainWindow window(globals);
    window.show();
    app.exec();
    globals.ShutdownRoutine();
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    // A closed pipe on stdout ends the output quietly instead of killing the process.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication::setApplicationName(QStringLiteral("sumbrook"));
    QCoreApplication::setApplicationVersion(QStringLiteral("2.0"));

    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const QString command = arguments.isEmpty() ? QString() : arguments.takeFirst();

    if (command.isEmpty()) {
        return runProgram(argc, argv);
    }
    if (command == QStringLiteral("--help") || command == QStringLiteral("help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == QStringLiteral("--pupil")) {
        if (arguments.size() != 1 || arguments[0].trimmed().isEmpty()) {
            std::fputs("sumbrook: --pupil takes one name or number\n", stderr);
            return 2;
        }
        return runProgram(argc, argv, arguments[0]);
    }
    if (command == QStringLiteral("facts")) {
        qInstallMessageHandler(quietMessages);
        QCoreApplication app(argc, argv);
        return sumbrook::runFactsCommand(arguments, stdout, stderr);
    }
    if (command == QStringLiteral("class")) {
        qInstallMessageHandler(quietMessages);
        if (sumbrook::classCommandPaints(arguments)) {
            // The printouts are drawn without a screen.
            qputenv("QT_QPA_PLATFORM", "offscreen");
            QGuiApplication app(argc, argv);
            return sumbrook::runClassCommand(arguments, stdin, stdout, stderr);
        }
        QCoreApplication app(argc, argv);
        return sumbrook::runClassCommand(arguments, stdin, stdout, stderr);
    }
    if (command == QStringLiteral("questions")) {
        return sumbrook::runQuestionsCommand(arguments, stdout, stderr);
    }
    if (command == QStringLiteral("quizwright")) {
        qInstallMessageHandler(quietMessages);
        QApplication app(argc, argv);
        sumbrook::QtTranslations::install(app);
        sumbrook::QuitOnSignal quitOnSignal;
        sumbrook::SheetFonts::install();
        sumbrook::QuizwrightWindow window;
        window.show();
        return app.exec();
    }
    if (command == QStringLiteral("themes")) {
        qInstallMessageHandler(quietMessages);
        QApplication app(argc, argv);
        sumbrook::QtTranslations::install(app);
        sumbrook::QuitOnSignal quitOnSignal;
        return sumbrook::runThemesCommand(arguments, stderr);
    }
    if (command == QStringLiteral("parent")) {
        qInstallMessageHandler(quietMessages);
        return sumbrook::runParentWindowCommand(argc, argv, arguments);
    }
    if (command == QStringLiteral("teacher")) {
        qInstallMessageHandler(quietMessages);
        return sumbrook::runTeacherCommand(argc, argv, arguments);
    }
    if (command == QStringLiteral("worksheet")) {
        // Sheets are drawn without a screen.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietMessages);
        QGuiApplication app(argc, argv);
        return sumbrook::runWorksheetCommand(arguments, stdout, stderr);
    }
    std::fprintf(stderr, "sumbrook: unknown command '%s' (try 'sumbrook --help')\n",
                 command.toLocal8Bit().constData());
    return 2;
}
