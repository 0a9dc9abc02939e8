// `sumbrook` with no arguments: the whole program started and ended from outside.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

bool waitFor(const std::function<bool()>& condition, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        if (condition()) {
            return true;
        }
        QThread::msleep(50);
    }
    return condition();
}

TEST(Program, EndedBySignalEndsItsEventLoopAndExitsWithZero) {
    const struct {
        const char* what;
        int signal;
    } rows[] = {{"SIGTERM", SIGTERM}, {"SIGINT", SIGINT}};
    for (const auto& row : rows) {
        QTemporaryDir programDir;
        QTemporaryDir dataDir;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("SUMBROOK_PROGRAM_DIR"), programDir.path());
        environment.insert(QStringLiteral("SUMBROOK_DATA_DIR"), dataDir.path());
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(SUMBROOK_BINARY), QStringList());
        ASSERT_TRUE(process.waitForStarted()) << row.what;

        // The main window's first act stores the default theme beside the program.
        const QString config = QDir(programDir.path()).filePath(QStringLiteral("窗口配置文件.ini"));
        EXPECT_TRUE(waitFor([&] { return QFileInfo::exists(config); }, 30000)) << row.what;
        QThread::msleep(500);
        ::kill(static_cast<pid_t>(process.processId()), row.signal);

        ASSERT_TRUE(process.waitForFinished(30000)) << row.what;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << row.what;
        EXPECT_EQ(process.exitCode(), 0) << row.what;
        // The movie was served from memory: only the configuration file is beside the
        // program.
        EXPECT_EQ(QDir(programDir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("窗口配置文件.ini")})
            << row.what;
    }
}

}  // namespace
}  // namespace sumbrook
