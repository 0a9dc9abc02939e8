// `sumbrook --pupil` on a class computer, run as the real program against a throwaway
// class server: the pupil named practises; a name the class does not have is refused.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QThread>
#include <csignal>

#include "classroom/class_server.h"
#include "journal/practice_journal.h"

namespace sumbrook::testing {
namespace {

class PupilSeat : public ClassServerTest {
  protected:
    void SetUp() override {
        ClassServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        pupils_ = init(admin_).pupils;
        ASSERT_TRUE(exec(admin_,
                         "INSERT INTO pupils (number, name) VALUES"
                         " ('1', '王小明'), ('2', '李思雨'), ('10', '郑佳琪')")
                        .error.isEmpty());
    }

    // The program on a computer whose class.conf holds `conf` (none when empty).
    void start(QProcess& process, const QString& conf, const QStringList& arguments) {
        QDir().mkpath(config_.filePath(QStringLiteral("sumbrook")));
        QFile file(config_.filePath(QStringLiteral("sumbrook/class.conf")));
        if (conf.isEmpty()) {
            file.remove();
        } else {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(conf.toUtf8() + '\n');
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config_.path());
        environment.insert(QStringLiteral("SUMBROOK_PROGRAM_DIR"), program_.path());
        environment.insert(QStringLiteral("SUMBROOK_DATA_DIR"), data_.path());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(SUMBROOK_BINARY), arguments);
        ASSERT_TRUE(process.waitForStarted());
    }

    QString pupils_;
    QTemporaryDir config_;
    QTemporaryDir program_;
    QTemporaryDir data_;
};

TEST_F(PupilSeat, ANameOrNumberTheClassLacksIsRefusedInOneLine) {
    const struct {
        const char* what;
        bool classComputer;
        const char* pupil;
        const char* said;
    } rows[] = {
        {"a number", true, "99", "sumbrook: no pupil of the class has the name or number '99'\n"},
        {"a name", true, "李华", "sumbrook: no pupil of the class has the name or number '李华'\n"},
        {"no class.conf", false, "2",
         "sumbrook: --pupil is for a class computer, and this one has no class.conf\n"},
    };
    for (const auto& row : rows) {
        QProcess process;
        start(process, row.classComputer ? pupils_ : QString(),
              {QStringLiteral("--pupil"), QString::fromUtf8(row.pupil)});
        ASSERT_TRUE(process.waitForFinished(30000)) << row.what;
        EXPECT_EQ(process.exitCode(), 2) << row.what;
        EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()), QString::fromUtf8(row.said))
            << row.what;
        EXPECT_TRUE(process.readAllStandardOutput().isEmpty()) << row.what;
    }
}

TEST_F(PupilSeat, ThePupilNamedPractises) {
    for (const char* pupil : {"2", "李思雨"}) {
        QProcess process;
        start(process, pupils_, {QStringLiteral("--pupil"), QString::fromUtf8(pupil)});
        // The main window's first act stores the theme beside the program.
        const QString shown = QDir(program_.path()).filePath(QStringLiteral("窗口配置文件.ini"));
        for (int waited = 0; waited < 30000 && !QFileInfo::exists(shown); waited += 50) {
            QThread::msleep(50);
        }
        ASSERT_TRUE(QFileInfo::exists(shown)) << process.readAllStandardError().toStdString();
        QThread::msleep(500);
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << pupil;
        EXPECT_EQ(process.exitCode(), 0) << pupil << process.readAllStandardError().toStdString();

        PracticeJournal journal(data_.path());
        ASSERT_TRUE(journal.open());
        QStringList seated;
        for (const Child& child : journal.children()) {
            if (child.id == journal.currentChildId()) {
                seated << child.name;
            }
        }
        EXPECT_EQ(seated, QStringList{QStringLiteral("李思雨")}) << pupil;
        // The second run finds the child the first one added.
        EXPECT_EQ(journal.children().size(), 2) << pupil;
    }
}

}  // namespace
}  // namespace sumbrook::testing
