// The help document: its bytes as carried, and its file beside the program.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryDir>

#include "shell/help_document.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(HelpDocumentBytes, AreGbkTextWithCrLfAfterEveryLine) {
    const QByteArray bytes = HelpDocument::bytes();
    // The text as written comes to 1,715 bytes; a checkout that turned CR LF into LF, or a
    // re-encoding, would change the count.
    EXPECT_EQ(bytes.size(), 1715);
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 46);
    EXPECT_EQ(bytes.count('\n'), 46) << "a line ends in LF alone";
    EXPECT_EQ(bytes.count('\r'), 46) << "a CR stands alone";

    QStringDecoder gbk("GBK");
    const QString text = gbk.decode(bytes);
    ASSERT_FALSE(gbk.hasError());
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 47);  // the last CR LF leaves an empty piece
    EXPECT_EQ(lines[0], QStringLiteral("            SumbrookV2.0  软件说明"));
    EXPECT_EQ(lines[1], QString());
    for (int i = 2; i <= 4; ++i) {
        EXPECT_TRUE(lines[i].startsWith(QStringLiteral("     ")) && lines[i][5] != u' ') << i;
    }
    EXPECT_EQ(lines[5], QString());
    EXPECT_EQ(lines[6], QString());
    EXPECT_EQ(lines[7], QStringLiteral("以下是该软件的目录"));
    EXPECT_EQ(lines[8], QStringLiteral("一年级口算练习"));
    // The 37 exercises, the first indented by one space.
    EXPECT_EQ(lines[9], QStringLiteral(" 一年级5以内的加法"));
    for (int i = 10; i < 46; ++i) {
        EXPECT_TRUE(lines[i].startsWith(QStringLiteral("一年级"))) << lines[i].toStdString();
    }
    EXPECT_EQ(lines[45], QStringLiteral("一年级第二册数学计算综合练习题*"));
}

TEST(HelpDocumentPath, IsTheDocumentNameInTheProgramDirectory) {
    EXPECT_EQ(HelpDocument::path(QStringLiteral("/opt/sumbrook")),
              QStringLiteral("/opt/sumbrook/软件说明.txt"));
    EXPECT_EQ(HelpDocument::path(QStringLiteral("/")), QStringLiteral("/软件说明.txt"));
}

class HelpDocumentFile : public ::testing::Test {
  protected:
    QString path() const { return HelpDocument::path(dir.path()); }
    QTemporaryDir dir;
};

TEST_F(HelpDocumentFile, AbsentIsWrittenWithTheExactBytes) {
    ASSERT_TRUE(HelpDocument::writeIfAbsent(path()));
    EXPECT_EQ(fileBytes(path()), HelpDocument::bytes());
    // Nothing else is left in the directory (no temporary copy).
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 1);
}

TEST_F(HelpDocumentFile, ExistingIsNeverRewritten) {
    const struct {
        const char* what;
        QByteArray content;
    } rows[] = {
        {"edited by the user", QByteArray("my own notes\n")},
        {"empty", QByteArray()},
        {"an older copy", HelpDocument::bytes().left(100)},
    };
    for (const auto& row : rows) {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(row.content);
        file.close();
        EXPECT_TRUE(HelpDocument::writeIfAbsent(path())) << row.what;
        EXPECT_EQ(fileBytes(path()), row.content) << row.what;
    }
}

TEST_F(HelpDocumentFile, NothingIsThereWhenItCannotBeWritten) {
    // A directory that does not exist, and a directory in the document's place.
    const QString missing = HelpDocument::path(dir.filePath(QStringLiteral("gone")));
    EXPECT_FALSE(HelpDocument::writeIfAbsent(missing));
    EXPECT_FALSE(QFileInfo::exists(missing));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("软件说明.txt")));
    EXPECT_FALSE(HelpDocument::writeIfAbsent(path()));
    EXPECT_TRUE(QFileInfo(path()).isDir());
}

}  // namespace
}  // namespace sumbrook
