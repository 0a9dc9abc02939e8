#include <QCoreApplication>
#include <QStringList>
#include <csignal>
#include <cstdio>

#include "questions_command.h"

namespace {

constexpr const char* kUsage =
    "Sumbrook 2.0, first-grade mathematics practice.\n"
    "\n"
    "usage:\n"
    "  sumbrook questions --exercise N [--count K] [--seed S]\n"
    "      K practice questions (default 1) of exercise N (1 to 37), one JSON object\n"
    "      per line; the same seed gives the same questions.\n";

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

    if (command.isEmpty() || command == QStringLiteral("--help") ||
        command == QStringLiteral("help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == QStringLiteral("questions")) {
        return sumbrook::runQuestionsCommand(arguments, stdout, stderr);
    }
    std::fprintf(stderr, "sumbrook: unknown command '%s' (try 'sumbrook --help')\n",
                 command.toLocal8Bit().constData());
    return 2;
}
