#include <gtest/gtest.h>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <cmath>
#include <optional>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "support/qstring_printer.h"
#include "support/recording_skin.h"
#include "support/said_messages.h"
#include "themes/private_profile.h"
#include "themes/program_files.h"
#include "themes/skin_api.h"
#include "themes/skin_block.h"
#include "themes/skin_look.h"
#include "themes/theme_controller.h"
#include "themes/theme_dialog.h"
#include "themes/theme_table.h"

namespace sumbrook {
namespace {

QByteArray gbk(const QString& text) {
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

using testing::RecordingSkin;

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void putFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(content), content.size());
}

QByteArray iniWith(const QByteArray& value) {
    return gbk(QStringLiteral("[窗口]\r\n窗口主题=")) + value + "\r\n";
}

QString storedTheme(const QString& path) {
    QByteArray value = PrivateProfile::readString(path, gbk(QStringLiteral("窗口")),
                                                  gbk(QStringLiteral("窗口主题")), "<none>");
    return QString::fromUtf8(value.toHex(' '));
}

class ThemeFiles : public ::testing::Test {
  protected:
    QString path() const { return dir.filePath(QStringLiteral("窗口配置文件.ini")); }
    QTemporaryDir dir;
    RecordingSkin skin;
};

// --- The theme table --------------------------------------------------------------------

TEST(ThemeTable, NamesAreTheirGbkBytesInComparingOrder) {
    const QStringList order = {QStringLiteral("银色窗口"), QStringLiteral("灰色风格"),
                               QStringLiteral("高贵黑色"), QStringLiteral("满园春色"),
                               QStringLiteral("金秋赏桔"), QStringLiteral("梦幻蓝色"),
                               QStringLiteral("紫色风铃"), QStringLiteral("Windows默认")};
    for (int i = 0; i < kThemeCount; ++i) {
        const ThemeRow& row = themeTable()[i];
        EXPECT_EQ(row.row, i + 1);
        EXPECT_EQ(row.name, order[i]);
        EXPECT_EQ(row.storedName, gbk(order[i])) << row.name.toStdString();
        EXPECT_EQ(themeRowForStoredName(gbk(order[i])), i + 1);
        EXPECT_EQ(row.hasSkin, i < 7);
    }
    EXPECT_EQ(themeTable()[7].caption, QStringLiteral("windows默认"));
    EXPECT_EQ(themeRowForStoredName(gbk(QStringLiteral("windows默认"))), 0);
    EXPECT_EQ(themeRowForStoredName(QByteArray()), 0);
}

// --- Applying the stored theme ------------------------------------------------------------

TEST_F(ThemeFiles, FirstStartWritesAndAttachesTheAutumnDefault) {
    ThemeController controller(skin, path());
    controller.applySavedTheme();
    EXPECT_EQ(skin.calls, QStringList{QStringLiteral("attach 5")});
    EXPECT_EQ(fileBytes(path()), iniWith(gbk(QStringLiteral("金秋赏桔"))));
    EXPECT_EQ(controller.configPath(), path());
}

struct StoredCase {
    const char* label;
    QByteArray content;
    QStringList calls;
};

TEST_F(ThemeFiles, StoredValuesDecideEveryStart) {
    std::vector<StoredCase> cases;
    for (const ThemeRow& row : themeTable()) {
        cases.push_back(
            {"table name",
             iniWith(row.storedName),
             {row.hasSkin ? QStringLiteral("attach %1").arg(row.row) : QStringLiteral("detach")}});
    }
    cases.push_back({"lower-case windows", iniWith(gbk(QStringLiteral("windows默认"))), {}});
    cases.push_back({"unknown name", iniWith(gbk(QStringLiteral("红色"))), {}});
    cases.push_back({"empty value", iniWith(QByteArray()), {}});
    cases.push_back(
        {"table name with more after it", iniWith(gbk(QStringLiteral("金秋赏桔2"))), {}});
    cases.push_back({"key missing", gbk(QStringLiteral("[窗口]\r\n别的=1\r\n")), {}});
    cases.push_back({"empty file", QByteArray(), {}});
    for (const StoredCase& c : cases) {
        SCOPED_TRACE(c.label);
        putFile(path(), c.content);
        for (int start = 0; start < 2; ++start) {
            RecordingSkin fresh;
            ThemeController controller(fresh, path());
            controller.applySavedTheme();
            EXPECT_EQ(fresh.calls, c.calls);
            EXPECT_EQ(fileBytes(path()), c.content) << "the file is never repaired";
        }
    }
}

TEST_F(ThemeFiles, AFileDeletedWhileRunningIsCreatedAgainOnTheNextApply) {
    putFile(path(), iniWith(gbk(QStringLiteral("高贵黑色"))));
    ThemeController controller(skin, path());
    controller.applySavedTheme();
    ASSERT_TRUE(QFile::remove(path()));
    controller.applySavedTheme();
    EXPECT_EQ(skin.calls, (QStringList{QStringLiteral("attach 3"), QStringLiteral("attach 5")}));
    EXPECT_EQ(fileBytes(path()), iniWith(gbk(QStringLiteral("金秋赏桔"))));
}

// --- An installed program --------------------------------------------------------------

// While it lives, this thread writes only where permission bits let it: the superuser's
// override of them is taken out of its effective set and put back at the end.
class PermissionBitsApply {
  public:
    PermissionBitsApply() {
        if (geteuid() != 0 || syscall(SYS_capget, &header_, saved_) != 0) {
            return;
        }
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~(1U << CAP_DAC_OVERRIDE);
        dropped_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~PermissionBitsApply() {
        if (dropped_) {
            syscall(SYS_capset, &header_, saved_);
        }
    }
    PermissionBitsApply(const PermissionBitsApply&) = delete;
    PermissionBitsApply& operator=(const PermissionBitsApply&) = delete;

  private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
    bool dropped_ = false;
};

// One start of the program as far as themes go: the file chosen, the saved theme applied,
// and optionally a theme row chosen in the dialog.
QStringList startAndChoose(int row) {
    RecordingSkin started;
    ThemeController controller(started, PrivateProfile::configPathInUse());
    controller.applySavedTheme();
    controller.radioButtonClicked(row, row != 0);
    return started.calls;
}

TEST(InstalledProgram, ReadOnlyProgramFolderKeepsTheChosenThemeAcrossStarts) {
    struct Row {
        const char* what;
        std::optional<QByteArray> beside;  // an ini installed beside the program
        QString firstStart;                // what the first start attaches
    };
    const Row rows[] = {
        {"no file beside the program", std::nullopt, QStringLiteral("attach 5")},
        {"a file beside it: its choice carried over", iniWith(gbk(QStringLiteral("高贵黑色"))),
         QStringLiteral("attach 3")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir program;
        QTemporaryDir home;
        qputenv("SUMBROOK_PROGRAM_DIR", program.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        if (row.beside) {
            putFile(PrivateProfile::configPath(), *row.beside);
        }
        const QByteArray installed = fileBytes(PrivateProfile::configPath());
        QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
        {
            PermissionBitsApply asAnOrdinaryUser;
            if (ProgramFiles::acceptsNewFiles(program.path())) {
                QFile::setPermissions(program.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                qunsetenv("SUMBROOK_PROGRAM_DIR");
                qunsetenv("XDG_CONFIG_HOME");
                GTEST_SKIP() << "this process writes past permission bits and cannot drop that";
            }
            testing::SaidMessages said;
            EXPECT_EQ(startAndChoose(6), (QStringList{row.firstStart, QStringLiteral("detach"),
                                                      QStringLiteral("attach 6")}));
            EXPECT_EQ(startAndChoose(0), QStringList{QStringLiteral("attach 6")});
            EXPECT_EQ(said.lines(), QStringList()) << "nothing failed";
        }
        QFile::setPermissions(program.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(fileBytes(home.filePath(QStringLiteral("sumbrook/窗口配置文件.ini"))),
                  iniWith(gbk(QStringLiteral("梦幻蓝色"))));
        EXPECT_EQ(fileBytes(PrivateProfile::configPath()), installed) << "left as installed";
    }
    qunsetenv("SUMBROOK_PROGRAM_DIR");
    qunsetenv("XDG_CONFIG_HOME");
}

TEST_F(ThemeFiles, AFailedWriteIsSaidOnceAndTheChoiceStillTakesEffect) {
    testing::SaidMessages said;
    ThemeController controller(skin, dir.filePath(QStringLiteral("missing/窗口配置文件.ini")));
    controller.applySavedTheme();
    controller.radioButtonClicked(2, true);
    controller.radioButtonClicked(3, true);
    EXPECT_EQ(skin.calls.last(), QStringLiteral("attach 3"));
    ASSERT_EQ(said.lines().size(), 1) << said.lines().join(u'\n').toStdString();
    EXPECT_TRUE(said.lines()[0].startsWith(QStringLiteral("sumbrook.themes: ")))
        << said.lines()[0].toStdString();
}

// --- Click handlers -----------------------------------------------------------------------

TEST_F(ThemeFiles, SelectedClicksApplyAndStoreTheirRow) {
    for (const ThemeRow& row : themeTable()) {
        SCOPED_TRACE(row.name.toStdString());
        putFile(path(), iniWith(gbk(QStringLiteral("满园春色"))));
        RecordingSkin fresh;
        ThemeController controller(fresh, path());
        controller.applySavedTheme();
        fresh.calls.clear();
        controller.radioButtonClicked(row.row, true);
        QStringList expected{QStringLiteral("detach")};
        if (row.hasSkin) {
            expected.append(QStringLiteral("attach %1").arg(row.row));
        }
        EXPECT_EQ(fresh.calls, expected);
        EXPECT_EQ(storedTheme(path()), QString::fromUtf8(row.storedName.toHex(' ')));
    }
}

TEST_F(ThemeFiles, UnselectedClicksDoNothing) {
    putFile(path(), iniWith(gbk(QStringLiteral("梦幻蓝色"))));
    ThemeController controller(skin, path());
    controller.applySavedTheme();
    skin.calls.clear();
    for (int row = 1; row <= kThemeCount; ++row) {
        controller.radioButtonClicked(row, false);
    }
    EXPECT_TRUE(skin.calls.isEmpty());
    EXPECT_EQ(fileBytes(path()), iniWith(gbk(QStringLiteral("梦幻蓝色"))));
}

TEST_F(ThemeFiles, ClicksBeforeAnyApplyWriteNoFile) {
    ThemeController controller(skin, path());
    controller.radioButtonClicked(2, true);
    EXPECT_EQ(skin.calls, (QStringList{QStringLiteral("detach"), QStringLiteral("attach 2")}));
    EXPECT_FALSE(QFile::exists(path()));
}

// --- The dialog ---------------------------------------------------------------------------

TEST_F(ThemeFiles, DialogHoldsItsControlsAtTheirPlaces) {
    ThemeController controller(skin, path());
    ThemeDialog dialog(controller);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("更换主题"));
    EXPECT_EQ(dialog.size(), QSize(277, 227));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.pos(), QPoint(50, 50));
    struct Place {
        const char* name;
        const char* caption;
        QRect geometry;
    };
    const Place places[] = {
        {"单选框_银色窗口", "银色窗口", {44, 16, 96, 24}},
        {"单选框_灰色风格", "灰色风格", {44, 48, 96, 24}},
        {"单选框_高贵黑色", "高贵黑色", {44, 80, 96, 24}},
        {"单选框_满园春色", "满园春色", {44, 112, 96, 24}},
        {"单选框_紫色风铃", "紫色风铃", {148, 16, 96, 24}},
        {"单选框_金秋赏桔", "金秋赏桔", {148, 48, 96, 24}},
        {"单选框_梦幻蓝色", "梦幻蓝色", {148, 80, 96, 24}},
        {"单选框_windows默认", "windows默认", {148, 112, 96, 24}},
    };
    for (const Place& place : places) {
        auto* button = dialog.findChild<QRadioButton*>(QString::fromUtf8(place.name));
        ASSERT_NE(button, nullptr) << place.name;
        EXPECT_EQ(button->text(), QString::fromUtf8(place.caption));
        EXPECT_EQ(button->geometry(), place.geometry) << place.name;
        EXPECT_FALSE(button->isChecked()) << "nothing is selected when the dialog opens";
    }
    EXPECT_EQ(dialog.findChildren<QRadioButton*>().size(), 8);
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("按钮_确定"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("确  定"));
    EXPECT_EQ(ok->geometry(), QRect(88, 146, 96, 32));
    EXPECT_TRUE(skin.calls.isEmpty()) << "opening the dialog applies nothing";
}

TEST_F(ThemeFiles, DialogClicksReachTheirRowsAndOkCloses) {
    ThemeController controller(skin, path());
    controller.applySavedTheme();
    skin.calls.clear();
    ThemeDialog dialog(controller);
    dialog.show();
    auto* purple = dialog.findChild<QRadioButton*>(QStringLiteral("单选框_紫色风铃"));
    auto* system = dialog.findChild<QRadioButton*>(QStringLiteral("单选框_windows默认"));
    ASSERT_NE(purple, nullptr);
    ASSERT_NE(system, nullptr);
    purple->click();
    purple->click();  // already selected: applied again
    EXPECT_EQ(skin.calls, (QStringList{QStringLiteral("detach"), QStringLiteral("attach 7"),
                                       QStringLiteral("detach"), QStringLiteral("attach 7")}));
    EXPECT_EQ(storedTheme(path()), QString::fromUtf8(gbk(QStringLiteral("紫色风铃")).toHex(' ')));
    skin.calls.clear();
    emit system->clicked(false);  // a click that leaves the button unselected
    EXPECT_TRUE(skin.calls.isEmpty());
    system->click();
    EXPECT_EQ(skin.calls, QStringList{QStringLiteral("detach")});
    EXPECT_EQ(storedTheme(path()),
              QString::fromUtf8(gbk(QStringLiteral("Windows默认")).toHex(' ')));
    dialog.findChild<QPushButton*>(QStringLiteral("按钮_确定"))->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// --- The skin blocks ----------------------------------------------------------------------

double luminance(QColor colour) {
    auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double contrast(QColor a, QColor b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(SkinBlocks, EachParsesAndGivesReadableText) {
    const QPalette base;
    struct Pair {
        QPalette::ColorRole text;
        QPalette::ColorRole background;
    };
    const Pair pairs[] = {{QPalette::WindowText, QPalette::Window},
                          {QPalette::ButtonText, QPalette::Button},
                          {QPalette::Text, QPalette::Base},
                          {QPalette::HighlightedText, QPalette::Highlight}};
    for (int row = 1; row <= 7; ++row) {
        SCOPED_TRACE(row);
        const QByteArray block = skinBlock(row);
        ASSERT_TRUE(block.startsWith(".SHE"));
        const std::optional<SkinLook> look = parseSkinBlock(block);
        ASSERT_TRUE(look.has_value());
        EXPECT_TRUE(look->styleSheet.contains(QStringLiteral(":focus")));
        const QPalette palette = look->paletteOver(base);
        for (const Pair& pair : pairs) {
            for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
                EXPECT_GE(contrast(palette.color(group, pair.text),
                                   palette.color(group, pair.background)),
                          4.5)
                    << "roles " << pair.text << " on " << pair.background;
            }
        }
    }
    EXPECT_TRUE(skinBlock(0).isEmpty());
    EXPECT_TRUE(skinBlock(8).isEmpty());
}

TEST(SkinBlocks, TheSevenLooksDiffer) {
    for (int a = 1; a <= 7; ++a) {
        for (int b = a + 1; b <= 7; ++b) {
            const QPalette pa = parseSkinBlock(skinBlock(a))->paletteOver(QPalette());
            const QPalette pb = parseSkinBlock(skinBlock(b))->paletteOver(QPalette());
            const QColor wa = pa.color(QPalette::Window);
            const QColor wb = pb.color(QPalette::Window);
            const QColor ba = pa.color(QPalette::Button);
            const QColor bb = pb.color(QPalette::Button);
            const int distance = std::abs(wa.red() - wb.red()) + std::abs(wa.green() - wb.green()) +
                                 std::abs(wa.blue() - wb.blue()) + std::abs(ba.red() - bb.red()) +
                                 std::abs(ba.green() - bb.green()) +
                                 std::abs(ba.blue() - bb.blue());
            EXPECT_GE(distance, 60) << "rows " << a << " and " << b;
        }
    }
    const QPalette black = parseSkinBlock(skinBlock(3))->paletteOver(QPalette());
    EXPECT_LT(luminance(black.color(QPalette::Window)), 0.05) << "noble black is dark";
    EXPECT_GT(luminance(black.color(QPalette::WindowText)), 0.6);
}

TEST(SkinBlocks, DamagedBlocksAreRefused) {
    const QByteArray good = skinBlock(1);
    QByteArray wrongVersion = good;
    wrongVersion[4] = 2;
    QByteArray badRole = good;
    badRole[badRole.size() - 5] = char(QPalette::NColorRoles);
    QByteArray badGroup = good;
    badGroup[badGroup.size() - 6] = 3;
    QByteArray hugeSheet = good;
    hugeSheet[11] = char(0x7f);
    const struct {
        const char* label;
        QByteArray bytes;
    } cases[] = {
        {"empty", {}},
        {"other signature", QByteArray(".SHF") + good.mid(4)},
        {"wrong version", wrongVersion},
        {"cut in the header", good.left(10)},
        {"cut in the sheet", good.left(200)},
        {"cut in the last entry", good.chopped(1)},
        {"bytes after the last entry", good + "x"},
        {"unknown colour role", badRole},
        {"unknown colour group", badGroup},
        {"sheet longer than the block", hugeSheet},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(parseSkinBlock(c.bytes).has_value()) << c.label;
    }
    EXPECT_TRUE(parseSkinBlock(good).has_value());
}

}  // namespace
}  // namespace sumbrook
