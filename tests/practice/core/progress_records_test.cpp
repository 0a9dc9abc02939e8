#include "practice/core/progress_records.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <optional>

#include <random>

#include "support/qstring_printer.h"
#include "support/said_messages.h"

namespace sumbrook {
namespace {

constexpr std::int64_t kNone = ProgressRecords::kNoBestTime;

class ProgressRecordsTest : public ::testing::Test {
  protected:
    QJsonObject onDisk() const {
        QFile file(store.filePath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QJsonDocument::fromJson(file.readAll()).object();
    }
    void writeFile(const QByteArray& bytes) const {
        QFile file(store.filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    void writeObject(const QJsonObject& object) const { writeFile(QJsonDocument(object).toJson()); }
    // What each damaged store set aside so far holds, each copy named by when it was found.
    QList<QByteArray> copiesSetAside() const {
        QList<QByteArray> copies;
        const QDir folder(dir.path() + QStringLiteral("/data"));
        const QRegularExpression named("^shuxue\\.json\\.damaged-\\d{8}-\\d{6}(-\\d+)?$");
        for (const QString& name : folder.entryList({"shuxue.json.damaged-*"}, QDir::Files)) {
            EXPECT_TRUE(named.match(name).hasMatch()) << name.toStdString();
            QFile file(folder.filePath(name));
            copies.append(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        }
        return copies;
    }
    static QJsonObject initialisedWith(const QString& key, const QJsonValue& value) {
        QJsonArray times;
        for (int i = 0; i < ProgressRecords::kSlots; ++i) {
            times.append(100000 + i);
        }
        QJsonObject object{{"jishu123", 123},
                           {"jishu120", 4},
                           {"tishu_ls", 70},
                           {"tishudui_ls", 60},
                           {"timels01", times}};
        object.insert(key, value);
        return object;
    }

    QTemporaryDir dir;
    ProgressStore store{dir.path() + QStringLiteral("/data")};
    ProgressRecords records{store};
};

TEST_F(ProgressRecordsTest, FirstStartWritesTheDefaultsAtOnce) {
    records.load();
    const QJsonObject file = onDisk();
    EXPECT_EQ(file.value("jishu123").toInt(), 123);
    EXPECT_EQ(file.value("jishu120").toInt(), 0);
    EXPECT_EQ(file.value("tishu_ls").toInt(), 0);
    EXPECT_EQ(file.value("tishudui_ls").toInt(), 0);
    const QJsonArray times = file.value("timels01").toArray();
    ASSERT_EQ(times.size(), 50);
    for (const auto& t : times) {
        EXPECT_EQ(t.toInteger(), kNone);
    }
    EXPECT_EQ(records.bestTime(7), kNone);
    EXPECT_EQ(records.level(), 0);
}

TEST_F(ProgressRecordsTest, ABestTimeMustBeStrictlyFasterAndEachExerciseKeepsItsOwn) {
    records.load();
    EXPECT_FALSE(records.recordCompletion(3, kNone));  // an hour sets nothing
    EXPECT_EQ(records.bestTime(3), kNone);
    EXPECT_TRUE(records.recordCompletion(3, kNone - 1));
    EXPECT_TRUE(records.recordCompletion(3, 90000));
    EXPECT_FALSE(records.recordCompletion(3, 90000));  // a tie is no record
    EXPECT_FALSE(records.recordCompletion(3, 95000));
    EXPECT_TRUE(records.recordCompletion(36, 120000));

    ProgressStore reopened(dir.path() + QStringLiteral("/data"));
    ProgressRecords again(reopened);
    again.load();
    EXPECT_EQ(again.bestTime(3), 90000);
    EXPECT_EQ(again.bestTime(36), 120000);
    EXPECT_EQ(again.bestTime(4), kNone);
}

TEST_F(ProgressRecordsTest, CountsReachTheDiskWithTheNextWrite) {
    records.load();
    records.countQuestion();
    records.countQuestion();
    records.countRightAnswer();
    EXPECT_EQ(onDisk().value("tishu_ls").toInt(), 0);  // held in memory for now
    records.flush();
    EXPECT_EQ(onDisk().value("tishu_ls").toInt(), 2);
    EXPECT_EQ(onDisk().value("tishudui_ls").toInt(), 1);
    records.countQuestion();
    records.recordCompletion(5, 1000);  // a completion writes everything
    EXPECT_EQ(onDisk().value("tishu_ls").toInt(), 3);
}

TEST_F(ProgressRecordsTest, ClearingTheHistoryKeepsTheGameLevel) {
    records.load();
    records.setLevel(6);
    records.recordCompletion(12, 5000);
    records.countQuestion();
    records.countRightAnswer();
    records.clearHistory();
    EXPECT_EQ(records.bestTime(12), kNone);
    EXPECT_EQ(records.tishuLs(), 0);
    EXPECT_EQ(records.tishuduiLs(), 0);
    EXPECT_EQ(records.level(), 6);
    const QJsonObject file = onDisk();
    EXPECT_EQ(file.value("timels01").toArray().at(12).toInteger(), kNone);
    EXPECT_EQ(file.value("tishu_ls").toInt(), 0);
    EXPECT_EQ(file.value("jishu120").toInt(), 6);
}

TEST_F(ProgressRecordsTest, UnreadableFilesStartAfreshAndAreKeptAside) {
    const QByteArray damaged[] = {
        "",                                          // empty
        "{\"jishu123\":123,\"jishu120\":5,\"tishu",  // cut short
        "this is not JSON",                          // not JSON
        "[1,2,3]",                                   // not an object
        "\xff\xfe\x00{",                             // binary junk
    };
    qsizetype setAside = 0;
    for (const QByteArray& bytes : damaged) {
        QDir(dir.path()).mkpath(QStringLiteral("data"));
        writeFile(bytes);
        records.load();
        EXPECT_EQ(records.level(), 0) << bytes.toStdString();
        EXPECT_EQ(records.tishuLs(), 0);
        EXPECT_EQ(records.bestTime(1), kNone);
        EXPECT_EQ(onDisk().value("jishu123").toInt(), 123);  // initialised again
        // Each keeps a copy of its own, though all are set aside within a second or two.
        EXPECT_TRUE(copiesSetAside().contains(bytes));
        EXPECT_EQ(copiesSetAside().size(), ++setAside);
    }
}

TEST_F(ProgressRecordsTest, AStoreWithoutItsMarkerIsInitialised) {
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    for (const QJsonValue& marker :
         {QJsonValue(122), QJsonValue("123"), QJsonValue(123.5), QJsonValue(QJsonValue::Null)}) {
        writeObject(initialisedWith("jishu123", marker));
        records.load();
        EXPECT_EQ(records.level(), 0);
        EXPECT_EQ(records.tishuLs(), 0);
        EXPECT_EQ(records.bestTime(5), kNone);
    }
}

TEST_F(ProgressRecordsTest, DamagedValuesFallBackOneByOne) {
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    const QJsonValue notWhole[] = {QJsonValue("70"),          QJsonValue(1.5),  QJsonValue(-3),
                                   QJsonValue(QJsonArray{1}), QJsonValue(true), QJsonValue(1e300)};
    for (const QJsonValue& bad : notWhole) {
        writeObject(initialisedWith("tishu_ls", bad));
        records.load();
        EXPECT_EQ(records.tishuLs(), 0);
        EXPECT_EQ(records.tishuduiLs(), 60);  // the other count is untouched
        EXPECT_EQ(records.bestTime(5), 100005);

        writeObject(initialisedWith("tishudui_ls", bad));
        records.load();
        EXPECT_EQ(records.tishuduiLs(), 0);
        EXPECT_EQ(records.tishuLs(), 70);

        writeObject(initialisedWith("jishu120", bad));
        records.load();
        EXPECT_EQ(records.level(), 0);
    }

    writeObject(initialisedWith("jishu120", 99));
    records.load();
    EXPECT_EQ(records.level(), 21);  // beyond the last level reads as all done
}

TEST_F(ProgressRecordsTest, ABestTimeListWithADamagedFifthEntryIsIgnoredUntilWrittenBack) {
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    QJsonObject object = initialisedWith("jishu120", 2);
    QJsonArray times = object.value("timels01").toArray();
    times[5] = QStringLiteral("fast");
    object.insert("timels01", times);
    writeObject(object);

    records.load();
    for (int x = 1; x <= 37; ++x) {
        EXPECT_EQ(records.bestTime(x), kNone) << x;
    }
    EXPECT_EQ(onDisk().value("timels01").toArray().at(5).toString(), "fast");  // kept for now

    records.recordCompletion(9, 42000);
    const QJsonArray written = onDisk().value("timels01").toArray();
    EXPECT_EQ(written.at(5).toInteger(), kNone);
    EXPECT_EQ(written.at(9).toInteger(), 42000);
    EXPECT_EQ(written.at(10).toInteger(), kNone);
}

TEST_F(ProgressRecordsTest, OtherDamagedOrMissingBestTimesReadAsNone) {
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    QJsonObject object = initialisedWith("jishu120", 2);
    QJsonArray times = object.value("timels01").toArray();
    times[7] = QStringLiteral("x");
    times[8] = -40;
    while (times.size() > 20) {
        times.removeLast();
    }
    object.insert("timels01", times);
    writeObject(object);
    records.load();
    EXPECT_EQ(records.bestTime(6), 100006);
    EXPECT_EQ(records.bestTime(7), kNone);
    EXPECT_EQ(records.bestTime(8), kNone);
    EXPECT_EQ(records.bestTime(25), kNone);

    writeObject(initialisedWith("timels01", QStringLiteral("not a list")));
    records.load();
    EXPECT_EQ(records.bestTime(6), kNone);
}

TEST_F(ProgressRecordsTest, AWriteThatCannotHappenLeavesTheOldFileAndReportsIt) {
    // The data folder's place is taken by a file: nothing can be written there.
    QFile blocker(dir.path() + QStringLiteral("/blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ProgressStore blocked(dir.path() + QStringLiteral("/blocked"));
    ProgressRecords stuck(blocked);
    stuck.load();  // must not crash
    EXPECT_EQ(stuck.level(), 0);
    EXPECT_FALSE(stuck.flush());
}

TEST_F(ProgressRecordsTest, AWriteCutShortByAFullDiskKeepsTheOldFile) {
    records.load();
    records.recordCompletion(3, 42000);
    QFile before(store.filePath());
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray old = before.readAll();
    before.close();

    // A file-size limit stands in for a full disk (the tests run as root).
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    records.recordCompletion(4, 41000);  // its write fails too
    const bool written = records.flush();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    QFile after(store.filePath());
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), old);
}

// Holds the file-size limit low while it lives: a stand-in for a full disk (the tests run
// as root, so permissions cannot refuse a write).
class FullDisk {
  public:
    explicit FullDisk(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the progress store says, by category.
QStringList& said = testing::SaidMessages::lines();

TEST_F(ProgressRecordsTest, ADamagedStoreLargerThanTheFreeSpaceIsKeptAndSaidEachTime) {
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    const QByteArray damaged = "{\"jishu123\":123,\"timels01\":[" + QByteArray(200000, '7');
    writeFile(damaged);
    auto listening = std::make_optional<testing::SaidMessages>();
    {
        const FullDisk full(4096);  // room for the defaults, not for a copy
        records.load();
    }
    EXPECT_EQ(copiesSetAside(), QList<QByteArray>{damaged});
    EXPECT_EQ(onDisk().value("jishu123").toInt(), 123);

    // Less room still: the defaults cannot be written either, and the damaged bytes stay.
    writeFile(damaged);
    {
        const FullDisk full(64);
        records.load();
        EXPECT_FALSE(records.flush());
    }
    listening.reset();
    EXPECT_EQ(copiesSetAside(), QList<QByteArray>({damaged, damaged}));
    const QString setAside = "sumbrook.progress: the progress store " + store.filePath() +
                             " was damaged; it is kept as " + store.filePath() + ".damaged-";
    EXPECT_EQ(said.filter(setAside).size(), 2) << said.join(u'\n').toStdString();
}

TEST(ProgressStoreSetAside, ADamagedStoreThatCannotBeSetAsideIsNeverWrittenOver) {
    // A folder so deep that the store's path is within Linux's limit on a path (4096 bytes
    // with its terminating zero) and its copy's name, 24 characters longer, is past it: the
    // rename is refused whoever runs the test.
    QTemporaryDir dir;
    QString deep = dir.path();
    while (deep.size() < 4070) {
        deep += u'/' + QString(std::clamp<qsizetype>(4070 - deep.size() - 1, 1, 200), u'd');
    }
    ASSERT_TRUE(QDir().mkpath(deep));
    ProgressStore store(deep);
    ProgressRecords records(store);
    {
        QFile file(store.filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not JSON at all");
    }
    auto listening = std::make_optional<testing::SaidMessages>();
    records.load();
    records.countQuestion();
    const bool written = records.flush();
    records.recordCompletion(3, 1000);
    listening.reset();

    EXPECT_FALSE(written);
    EXPECT_EQ(readAll(store.filePath()), "not JSON at all");
    said.removeIf([](const QString& line) { return !line.startsWith("sumbrook."); });  // Qt's own
    ASSERT_EQ(said.size(), 1) << said.join(u'\n').toStdString();
    EXPECT_TRUE(said.front().startsWith("sumbrook.progress: ")) << said.front().toStdString();
    EXPECT_EQ(records.tishuLs(), 1);  // practice goes on from memory
}

TEST_F(ProgressRecordsTest, StaleTemporariesAreRemovedOnOpeningAndNothingElse) {
    const QString data = dir.path() + QStringLiteral("/data");
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    const QDateTime longAgo = QDateTime::currentDateTime().addSecs(-3600);
    struct Row {
        const char* name;
        bool old;
        bool removed;
    };
    const Row rows[] = {
        {"shuxue.json.aB3xY9", true, true},  // a write killed before its rename
        {"shuxue.json.Q1w2E3", true, true},
        {"shuxue.json.k8Jh2L", false, false},  // perhaps another writer's, under way
        {"shuxue.json.damaged", true, false},  // a damaged store set aside
        {"shuxue.json.damaged-20260102-030405", true, false},
        {"shuxue.json.abc", true, false},
        {"shuxue.json.abcdefg", true, false},
        {"other.json.aB3xY9", true, false},
    };
    for (const Row& row : rows) {
        QFile file(data + u'/' + QString::fromLatin1(row.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{\"jishu123\":");
        file.flush();
        if (row.old) {
            ASSERT_TRUE(file.setFileTime(longAgo, QFileDevice::FileModificationTime));
        }
    }
    records.load();
    for (const Row& row : rows) {
        EXPECT_EQ(QFile::exists(data + u'/' + QString::fromLatin1(row.name)), !row.removed)
            << row.name;
    }
}

TEST_F(ProgressRecordsTest, AFolderThatCannotBeWrittenIsSaidOnceAndPracticeGoesOn) {
    QFile blocker(dir.path() + QStringLiteral("/blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ProgressStore blocked(dir.path() + QStringLiteral("/blocked"));
    ProgressRecords stuck(blocked);
    auto listening = std::make_optional<testing::SaidMessages>();
    stuck.load();
    stuck.countQuestion();
    stuck.recordCompletion(2, 5000);
    stuck.setLevel(3);
    stuck.flush();
    listening.reset();
    ASSERT_EQ(said.size(), 1) << said.join(u'\n').toStdString();
    EXPECT_TRUE(said.front().startsWith("sumbrook.progress: "));
    EXPECT_EQ(stuck.tishuLs(), 1);
    EXPECT_EQ(stuck.bestTime(2), 5000);
    EXPECT_EQ(stuck.level(), 3);
}

TEST(ProgressStore, TheDataFolderCanBeMovedByTheEnvironment) {
    qputenv("SUMBROOK_DATA_DIR", "/tmp/sumbrook-elsewhere");
    EXPECT_EQ(ProgressStore::defaultDirectory(), "/tmp/sumbrook-elsewhere");
    EXPECT_EQ(ProgressStore().filePath(), "/tmp/sumbrook-elsewhere/shuxue.json");
    qunsetenv("SUMBROOK_DATA_DIR");
}

// A writer killed at any moment leaves either the old store or the new one.
TEST(ProgressStoreInterruption, AKilledWriterLeavesAWholeFile) {
    QTemporaryDir dir;
    const QString folder = dir.path();
    {
        ProgressStore store(folder);
        store.setValue("generation", 0);
        store.setValue("padding", QString(20000, u'x'));
        ASSERT_TRUE(store.flush());
    }
    std::mt19937 random(7);
    for (int round = 0; round < 30; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ProgressStore store(folder);
            for (int generation = 1;; ++generation) {
                store.setValue("generation", generation);
                store.setValue("padding", QString(20000 + generation % 977, u'x'));
                store.flush();
            }
        }
        usleep(1000 + random() % 20000);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        QFile file(folder + QStringLiteral("/shuxue.json"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << "round " << round;
        const QJsonObject object = document.object();
        ASSERT_TRUE(object.value("generation").isDouble());
        const int generation = object.value("generation").toInt();
        EXPECT_EQ(object.value("padding").toString().size(),
                  generation == 0 ? 20000 : 20000 + generation % 977);
    }
}

}  // namespace
}  // namespace sumbrook
