#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <QFile>
#include <QTemporaryDir>

#include "journal/practice_journal.h"
#include "support/run_sumbrook.h"

namespace sumbrook {
namespace {

using testing::Outcome;
using testing::runSumbrook;

mode_t kindOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

struct Target {
    const char* path;  // empty: the test's own folder
    int exitCode;
    const char* says;
};

// Every command that writes a file the user names, pointed at one target, with a journal
// that has a missed sum to print.
class OutputTargets : public ::testing::TestWithParam<Target> {
  protected:
    void SetUp() override {
        qputenv("SUMBROOK_DATA_DIR", dir_.path().toLocal8Bit());
        PracticeJournal journal(dir_.path());
        ASSERT_TRUE(journal.open());
        AnsweredQuestion a;
        a.at = QDateTime::currentDateTime().addDays(-1);
        a.childId = 1;
        a.exercise = 13;
        a.shown = QStringLiteral("7 + 8 = □");
        a.expected = QStringLiteral("15");
        a.typed = QStringLiteral("14");
        a.ms = 3000;
        journal.recordAnswer(a);
        journal.waitForWrites();
    }
    void TearDown() override { qunsetenv("SUMBROOK_DATA_DIR"); }

    QTemporaryDir dir_;
};

TEST_P(OutputTargets, ADeviceIsWrittenInPlaceAndAFolderRefused) {
    const Target& t = GetParam();
    const QString path = *t.path ? QString::fromUtf8(t.path) : dir_.path();
    const mode_t kind = kindOf(path);
    if (kind == 0) {
        GTEST_SKIP() << t.path << " is not on this machine";
    }
    const QStringList commands[] = {
        {"parent", "--export-csv"},
        {"worksheet", "--page", "0", "--count", "1=10", "--pdf"},
        {"worksheet", "--from-mistakes", "--pdf"},
    };
    for (const QStringList& command : commands) {
        SCOPED_TRACE(command.join(u' ').toStdString());
        const Outcome run = runSumbrook(command + QStringList{path});
        EXPECT_EQ(run.exitCode, t.exitCode) << run.err.toStdString();
        const bool kept = kindOf(path) == kind;
        EXPECT_TRUE(kept) << path.toStdString() << " was replaced";
        if (!kept && kind == S_IFCHR && path == "/dev/full") {
            // Put the machine's device back for whoever comes next.
            QFile::remove(path);
            ::mknod("/dev/full", S_IFCHR | 0666, makedev(1, 7));
        }
        if (t.exitCode == 0) {
            EXPECT_FALSE(run.lines.isEmpty());
            continue;
        }
        EXPECT_TRUE(run.lines.isEmpty()) << "nothing printed but the reason";
        QList<QByteArray> said = run.err.trimmed().split('\n');
        said.removeIf([](const QByteArray& line) { return !line.startsWith("sumbrook "); });
        ASSERT_EQ(said.size(), 1) << run.err.toStdString();
        EXPECT_TRUE(said.front().contains(t.says)) << said.front().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, OutputTargets,
                         ::testing::Values(Target{"/dev/full", 1, "No space left on device"},
                                           Target{"/dev/null", 0, ""},
                                           Target{"", 1, "it is a folder"}));

}  // namespace
}  // namespace sumbrook
