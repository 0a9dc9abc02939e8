#include "themes/private_profile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <csignal>
#include <optional>
#include <random>

#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

QByteArray gbk(const char* utf8) {
    QStringEncoder encoder("GBK");
    return encoder.encode(QString::fromUtf8(utf8));
}

QByteArray bytes(const char* text, qsizetype size) {
    return QByteArray(text, size);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void putFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(content), content.size());
}

TEST(PrivateProfileRead, FindsValuesByTheSystemsRules) {
    const QByteArray x10239(10239, 'x');
    struct Row {
        const char* what;
        QByteArray content, section, key, expected;
    };
    const Row rows[] = {
        {"LF lines", "[s]\nk=v\n", "s", "k", "v"},
        {"CR LF lines, no final line end", "[s]\r\nk=v", "s", "k", "v"},
        {"blanks around names and value", "  [ s ] \r\n\t k \t=  v w \t\r\n", "s", "k", "v w"},
        {"blanks around the requested names", "[s]\nk=v", " s\t", "\tk ", "v"},
        {"ASCII case of names ignored, of values kept", "[Theme]\nKey=MiXeD", "tHEME", "kEY",
         "MiXeD"},
        {"GBK names", gbk("[窗口]\r\n窗口主题=金秋赏桔\r\n"), gbk("窗口"), gbk("窗口主题"),
         gbk("金秋赏桔")},
        {"a letter-like second byte is not folded", "[\x81\x41]\nk=1\n[\x81\x61]\nk=2", "\x81\x61",
         "k", "2"},
        {"a ']' that is half a character closes nothing", "[\x81]\nk=1", "\x81", "k", "d"},
        {"first matching key wins", "[s]\nk=1\nK=2", "s", "k", "1"},
        {"first matching section wins", "[s]\nk=1\n[S]\nk=2", "s", "k", "1"},
        {"a later section of the same name is not searched", "[s]\na=1\n[s]\nk=2", "s", "k", "d"},
        {"key of another section", "[t]\nk=1\n[s]\nj=2", "s", "k", "d"},
        {"key before any section", "k=1\n[s]\nj=2", "s", "k", "d"},
        {"comment lines are not the key", "[s]\n;k=old\n; k=old\nk=new", "s", "k", "new"},
        {"a line without '=' is no key", "[s]\nk\n", "s", "k", "d"},
        {"an empty value is a value", "[s]\nk=\n", "s", "k", ""},
        {"'=' inside the value", "[s]\nk=a=b", "s", "k", "a=b"},
        {"text after ']' ignored", "[s] ; note\nk=v", "s", "k", "v"},
        {"no ']': an ordinary line of the section before", "[t]\n[s\nk=v", "t", "k", "v"},
        {"no ']': not a section", "[t]\n[s\nk=v", "s", "k", "d"},
        {"NUL ends the value", bytes("[s]\nk=ab \0cd\n", 13), "s", "k", "ab"},
        {"junk lines between", bytes("[s]\n\n\x01\xff\0junk\n\nk=v", 17), "s", "k", "v"},
        {"10,239 bytes kept", "[s]\nk=" + x10239, "s", "k", x10239},
        {"longer values cut to 10,239 bytes", "[s]\nk=" + x10239 + "yz", "s", "k", x10239},
        {"the cut never splits a character", "[s]\nk=" + x10239.chopped(1) + gbk("窗口"), "s", "k",
         x10239.chopped(1)},
        {"empty file", "", "s", "k", "d"},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("p.ini");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(PrivateProfile::valueIn(row.content, row.section, row.key, "d"), row.expected);
        putFile(path, row.content);
        EXPECT_EQ(PrivateProfile::readString(path, row.section, row.key, "d"), row.expected);
    }
    // Like the system, the default loses its trailing blanks.
    EXPECT_EQ(PrivateProfile::readString(dir.filePath("none"), "s", "k", "d \t"), "d");
}

TEST(PrivateProfileRead, DamagedOrForeignFilesGiveTheDefaultWithoutHanging) {
    QTemporaryDir dir;
    std::mt19937 random(7);
    QByteArray junk(100000, '\0');
    for (char& byte : junk) {
        byte = static_cast<char>(random());
    }
    const QByteArray megabyteLine = "[s]\n" + QByteArray(3 << 20, 'x') + "\nk=v";
    const QByteArray oversized = "[s]\nk=v\n" + QByteArray(PrivateProfile::kMaxFileSize, ';');
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    struct Row {
        const char* what;
        QString path;
        std::optional<QByteArray> content;
        QByteArray expected;
    };
    const Row rows[] = {
        {"missing file", dir.filePath("missing"), std::nullopt, "d"},
        {"a directory", dir.path(), std::nullopt, "d"},
        {"a pipe with no writer", fifo, std::nullopt, "d"},
        {"0 bytes", dir.filePath("empty"), QByteArray(), "d"},
        {"only a broken section line", dir.filePath("open"), "[s", "d"},
        {"binary junk, then the key", dir.filePath("junk"), junk + "\n[s]\nk=v", "v"},
        {"a line of megabytes", dir.filePath("long"), megabyteLine, "v"},
        {"over the size limit", dir.filePath("big"), oversized, "d"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.content) {
            putFile(row.path, *row.content);
        }
        EXPECT_EQ(PrivateProfile::readString(row.path, "s", "k", "d"), row.expected);
    }
}

TEST(PrivateProfileWrite, ChangesOnlyTheKeysLine) {
    struct Row {
        const char* what;
        QByteArray before, after;
    };
    const Row rows[] = {
        {"new file", "", "[s]\r\nk=v\r\n"},
        {"replaced in place", "; top\n[s]\nk=old\nz=1\n[t]\nk=x\n",
         "; top\n[s]\nk=v\nz=1\n[t]\nk=x\n"},
        {"indentation, spelling, spacing and line end kept", "[S]\r\n  K = old \r\nz=1",
         "[S]\r\n  K = v\r\nz=1"},
        {"empty old value", "[s]\nk=\n", "[s]\nk=v\n"},
        {"added after the section's last line", "[s]\r\na=1\r\n\r\n[t]\r\n",
         "[s]\r\na=1\r\nk=v\r\n\r\n[t]\r\n"},
        {"added after a last line without line end", "[s]\na=1", "[s]\na=1\r\nk=v\r\n"},
        {"a comment is not the key", "[s]\n;k=1\n", "[s]\n;k=1\nk=v\r\n"},
        {"first duplicate changed", "[s]\nk=1\nk=2\n[s]\nk=3\n", "[s]\nk=v\nk=2\n[s]\nk=3\n"},
        {"junk kept byte for byte", bytes("\x01\xff\0j\n[s]\nbad\n[x\nk=1\n", 20),
         bytes("\x01\xff\0j\n[s]\nbad\n[x\nk=v\n", 20)},
        {"section added after a blank line", "[t]\nb=2\n", "[t]\nb=2\n\r\n[s]\r\nk=v\r\n"},
        {"section added after a last line without line end", "[t]\nb=2",
         "[t]\nb=2\r\n\r\n[s]\r\nk=v\r\n"},
        {"no second blank line", "[t]\r\n\r\n", "[t]\r\n\r\n[s]\r\nk=v\r\n"},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("p.ini");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(PrivateProfile::withValue(row.before, "s", "k", "v"), row.after);
        QFile::remove(path);
        if (!row.before.isEmpty()) {
            putFile(path, row.before);
        }
        EXPECT_TRUE(PrivateProfile::writeString(path, "s", "k", "v"));
        EXPECT_EQ(fileBytes(path), row.after);
    }
}

TEST(PrivateProfileWrite, RefusesWhatCouldNotBeReadBack) {
    struct Row {
        const char* what;
        QByteArray section, key, value;
    };
    const Row rows[] = {
        {"blank section", " ", "k", "v"},
        {"empty key", "s", "", "v"},
        {"'=' in the key", "s", "a=b", "v"},
        {"key like a section line", "s", "[t]", "v"},
        {"LF in the value", "s", "k", "a\nb"},
        {"CR in the section", "a\rb", "k", "v"},
        {"NUL in the value", "s", "k", bytes("a\0b", 3)},
        {"half a character", "s\x81", "k", "v"},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("p.ini");
    putFile(path, "[s]\r\nk=old\r\n");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(PrivateProfile::withValue("", row.section, row.key, row.value), std::nullopt);
        EXPECT_FALSE(PrivateProfile::writeString(path, row.section, row.key, row.value));
        EXPECT_EQ(fileBytes(path), "[s]\r\nk=old\r\n");
    }
}

TEST(PrivateProfileWrite, EveryThemeNameRoundTripsInGbk) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("窗口配置文件.ini"));
    QStringDecoder decoder("GBK");
    for (const char* name : {"金秋赏桔", "银色窗口", "灰色风格", "高贵黑色", "满园春色", "梦幻蓝色",
                             "紫色风铃", "Windows默认"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(PrivateProfile::writeString(path, gbk("窗口"), gbk("窗口主题"), gbk(name)));
        const QByteArray read = PrivateProfile::readString(path, gbk("窗口"), gbk("窗口主题"));
        EXPECT_EQ(QString(decoder.decode(read)), QString::fromUtf8(name));
    }
    EXPECT_EQ(fileBytes(path), gbk("[窗口]\r\n窗口主题=Windows默认\r\n"));
}

TEST(PrivateProfileWrite, AFailedWriteLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.ini");
    const QByteArray old = "[s]\r\nk=old\r\n";
    putFile(path, old);
    // Files may grow to 64 bytes only: the new content cannot be written out.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = PrivateProfile::writeString(path, "s", "k", QByteArray(1000, 'v'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(fileBytes(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"p.ini"});

    const QByteArray oversized = old + QByteArray(PrivateProfile::kMaxFileSize, ';');
    putFile(dir.filePath("big.ini"), oversized);
    EXPECT_FALSE(PrivateProfile::writeString(dir.filePath("big.ini"), "s", "k", "v"));
    EXPECT_EQ(fileBytes(dir.filePath("big.ini")), oversized);
    EXPECT_FALSE(PrivateProfile::writeString(dir.path(), "s", "k", "v"));
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
    EXPECT_FALSE(PrivateProfile::writeString(path + "/under-a-file.ini", "s", "k", "v"));
}

TEST(PrivateProfilePaths, ConfigFileLivesInTheProgramDirectory) {
    const QByteArray saved = qgetenv("SUMBROOK_PROGRAM_DIR");
    struct Row {
        const char* setting;
        QString directory, config;
    };
    const Row rows[] = {
        {"/opt/sumbrook", "/opt/sumbrook", QStringLiteral("/opt/sumbrook/窗口配置文件.ini")},
        {"/opt/sumbrook/", "/opt/sumbrook", QStringLiteral("/opt/sumbrook/窗口配置文件.ini")},
        {"/", "/", QStringLiteral("/窗口配置文件.ini")},
        {"relative", QDir::current().absoluteFilePath("relative"),
         QDir::current().absoluteFilePath(QStringLiteral("relative/窗口配置文件.ini"))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.setting);
        qputenv("SUMBROOK_PROGRAM_DIR", row.setting);
        EXPECT_EQ(PrivateProfile::programDirectory(), row.directory);
        EXPECT_EQ(PrivateProfile::configPath(), row.config);
    }
    qunsetenv("SUMBROOK_PROGRAM_DIR");
    const QString withoutApplication = PrivateProfile::programDirectory();
    EXPECT_TRUE(QFileInfo(withoutApplication + "/test_themes_profile").isFile());
    int argc = 1;
    char name[] = "test_themes_profile";
    char* argv[] = {name, nullptr};
    {
        QCoreApplication application(argc, argv);
        EXPECT_EQ(PrivateProfile::programDirectory(), withoutApplication);
    }
    if (!saved.isNull()) {
        qputenv("SUMBROOK_PROGRAM_DIR", saved);
    }
}

// Random files built from ini fragments and raw bytes: reading never crashes and stays in
// the buffer, and whatever a write leaves is read back and is stable when written again.
TEST(PrivateProfileFuzz, RandomContentIsReadAndWrittenSafely) {
    const QByteArray pieces[] = {"[", "]",    "=",    "\r\n", "\n", "\r",
                                 "s", "S",    "k",    "K",    " ",  "\t",
                                 ";", "\x81", "\x5D", "[s]",  "k=", bytes("\0", 1)};
    const QByteArray values[] = {"v", gbk("金秋赏桔"), "a=b", "", "x y"};
    QTemporaryDir dir;
    std::mt19937 random(20240611);
    for (int round = 0; round < 4000; ++round) {
        QByteArray content;
        for (int n = random() % 24; n > 0; --n) {
            if (random() % 4 == 0) {
                for (int m = random() % 40; m > 0; --m) {
                    content += static_cast<char>(random());
                }
            } else {
                content += pieces[random() % std::size(pieces)];
            }
        }
        const QByteArray section = random() % 2 ? "s" : "\x81\x5D";
        const QByteArray& value = values[random() % std::size(values)];
        SCOPED_TRACE(content.toHex().toStdString());
        EXPECT_LT(PrivateProfile::valueIn(content, section, "k").size(),
                  PrivateProfile::kValueBufferSize);
        const std::optional<QByteArray> written =
            PrivateProfile::withValue(content, section, "k", value);
        ASSERT_TRUE(written.has_value());
        EXPECT_EQ(PrivateProfile::valueIn(*written, section, "k", "d"), value);
        EXPECT_EQ(PrivateProfile::withValue(*written, section, "k", value), written);
        if (round % 100 == 0) {
            const QString path = dir.filePath(QString::number(round));
            putFile(path, content);
            ASSERT_TRUE(PrivateProfile::writeString(path, section, "k", value));
            EXPECT_EQ(fileBytes(path), *written);
        }
    }
}

}  // namespace
}  // namespace sumbrook
