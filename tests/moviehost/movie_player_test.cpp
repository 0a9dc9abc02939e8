// The movie player as the shell uses it: create and move the control, hand it the embedded
// movie from memory, talk to the scene through its two root variables, keep right clicks
// from it, and let go of the scene and its movie when destroyed.
#include "moviehost/movie_player.h"

#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmapCache>
#include <QTemporaryDir>
#include <QTest>

#include "moviehost/code_patch_hook.h"
#include "moviehost/crc32.h"
#include "moviehost/filtered_window_list.h"
#include "moviehost/memory_file_table.h"
#include "moviehost/movie_bytes.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_art.h"
#include "practice/scene/scene_widget.h"
#include "support/fake_sound_channel.h"
#include "support/manual_clock.h"
#include "support/qstring_printer.h"
#include "themes/private_profile.h"

namespace sumbrook {
namespace {

// A parent for the control that counts the context-menu requests reaching it.
class ParentWidget : public QWidget {
  public:
    int menuRequests = 0;

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override {
        ++menuRequests;
        event->accept();
    }
};

QByteArray writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return content;
}

// Pixels with any ink after drawing money picture 7.
int moneyInk() {
    QPixmapCache::clear();
    QImage image(360, 200, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        SceneArt::paintMoney(painter, QRectF(0, 0, 360, 200), 7);
    }
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ink += qAlpha(image.pixel(x, y)) != 0 ? 1 : 0;
        }
    }
    return ink;
}

class MoviePlayerTest : public ::testing::Test {
  protected:
    MoviePlayerTest() {
        qputenv("SUMBROOK_PROGRAM_DIR", programDir.path().toLocal8Bit());
        player = makePlayer();
    }
    ~MoviePlayerTest() override {
        player.reset();
        filtered.clear();
        hook.remove();
        qunsetenv("SUMBROOK_PROGRAM_DIR");
    }

    std::unique_ptr<MoviePlayer> makePlayer() {
        SceneServices services;
        services.store = store;
        services.source = std::make_shared<SeededUniformSource>(5);
        services.clock = std::make_shared<testing::ManualClock>();
        services.soundChannel = [] { return std::make_unique<testing::FakeSoundChannel>(); };
        services.reviewSource = [this] { return due; };
        return std::make_unique<MoviePlayer>(
            MoviePlayer::ProcessObjects{files, hook, filtered, PrivateProfile::programDirectory()},
            std::move(services));
    }
    QString servedPath() const {
        const QByteArray movie = movieBytes();
        return programDir.path() + u'/' +
               QString::fromStdString(
                   Crc32Name(std::span(reinterpret_cast<const std::uint8_t*>(movie.constData()),
                                       static_cast<std::size_t>(movie.size()))));
    }
    QStringList programDirFiles() const {
        return QDir(programDir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }
    void createAndLoad() {
        ASSERT_TRUE(player->Create(&parent, 0, 0, 800, 600));
        player->LoadMovieFromMemory(movieBytes());
        ASSERT_TRUE(player->Control()->started());
    }
    void toMainMenu() {
        for (int i = 0; i < PracticeLoop::kIntroSteps; ++i) {
            player->Control()->step();
        }
    }

    QTemporaryDir programDir;
    QTemporaryDir dataDir;
    std::shared_ptr<ProgressStore> store = std::make_shared<ProgressStore>(dataDir.path());
    MemoryFileTable files;
    CodePatchHook hook;
    FilteredWindowList filtered;
    ParentWidget parent;
    std::unique_ptr<MoviePlayer> player;
    std::vector<ReviewQuestion> due;
};

// --- the movie from memory -----------------------------------------------------------

TEST_F(MoviePlayerTest, LoadsTheMovieFromMemoryAndLeavesNothingInTheProgramDirectory) {
    ASSERT_TRUE(player->Create(&parent, 0, 0, 800, 600));
    EXPECT_FALSE(player->Control()->started()) << "a control without a movie plays nothing";
    for (int load = 0; load < 2; ++load) {
        player->LoadMovieFromMemory(movieBytes());
        EXPECT_TRUE(player->Control()->started()) << "load " << load;
        EXPECT_EQ(player->Control()->loop().screen(), Screen::Stat) << "from the intro";
        EXPECT_EQ(player->Movie(), servedPath());
        EXPECT_EQ(programDirFiles(), QStringList()) << "load " << load;
        EXPECT_EQ(files.size(), 1u);
        // Installed by the first load and left in place by the second.
        EXPECT_EQ(hook.label(), "sumbrook|OpenFileForReading");
        toMainMenu();
    }
    // The hook stays after loading: the served path can be put again.
    EXPECT_TRUE(player->PutMovie(servedPath()));
}

TEST_F(MoviePlayerTest, PlaysFromMemoryWhereNoPlaceholderCanBeWritten) {
    const QString missing = programDir.path() + "/missing";
    player = std::make_unique<MoviePlayer>(
        MoviePlayer::ProcessObjects{files, hook, filtered, missing + "/"},
        SceneServices{store,
                      std::make_shared<SeededUniformSource>(1),
                      std::make_shared<testing::ManualClock>(),
                      [] { return std::make_unique<testing::FakeSoundChannel>(); },
                      nullptr,
                      {}});
    createAndLoad();
    // The directory's trailing separator is not doubled in the served path.
    EXPECT_EQ(player->Movie(), missing + u'/' + servedPath().section(u'/', -1));
    EXPECT_FALSE(QFile::exists(missing));
}

// Every letter in the other case: unlike lower-casing, never the same path again (a
// temporary folder's name may hold no capital at all).
QString otherCase(QString path) {
    for (QChar& c : path) {
        c = c.isUpper() ? c.toLower() : c.toUpper();
    }
    return path;
}

TEST_F(MoviePlayerTest, PlaysOnlyWhatItReadsWholeAsAValidBundle) {
    const QByteArray movie = movieBytes();
    ASSERT_TRUE(player->Create(&parent, 0, 0, 800, 600));
    player->LoadMovieFromMemory(movie);
    const QString served = servedPath();
    const QString dir = programDir.path();
    QTemporaryDir other;
    struct Row {
        const char* what;
        QString path;
        bool plays;
    };
    writeFile(other.path() + "/movie.rcc", movie);
    writeFile(other.path() + "/empty", {});
    writeFile(other.path() + "/text", "CWS\x08 not a bundle");
    writeFile(other.path() + "/half", movie.first(movie.size() / 2));
    const Row rows[] = {
        {"the served path", served, true},
        {"the movie as a file on disk", other.path() + "/movie.rcc", true},
        {"the served name in the other case", otherCase(served), false},
        {"the served name after a doubled separator", dir + "//" + served.section(u'/', -1), false},
        {"the served name under the directory's other spelling",
         dir + "/../" + dir.section(u'/', -1) + "/" + served.section(u'/', -1), false},
        {"an empty file", other.path() + "/empty", false},
        {"a file that is no bundle", other.path() + "/text", false},
        {"the first half of the movie", other.path() + "/half", false},
        {"a directory", other.path(), false},
        {"a missing file", other.path() + "/missing", false},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(player->Create(0, 0, 800, 600));
        EXPECT_EQ(player->PutMovie(row.path), row.plays) << row.what;
        EXPECT_EQ(player->Control()->started(), row.plays) << row.what;
        EXPECT_EQ(player->Movie(), row.path);
    }
}

TEST_F(MoviePlayerTest, TheSceneDrawsFromTheMovieItWasServedForAsLongAsItLives) {
    EXPECT_EQ(moneyInk(), 0) << "no movie, no pictures";
    createAndLoad();
    EXPECT_GT(moneyInk(), 20000);
    player.reset();
    EXPECT_EQ(moneyInk(), 0) << "the movie outlived its player";
}

// --- the two root variables -----------------------------------------------------------

TEST_F(MoviePlayerTest, VariablesAreEmptyAndUnwritableWithoutAPlayingScene) {
    const auto setAndRead = [&](const char* name) {
        player->SetVariable(QString::fromUtf8(name), QStringLiteral("1"));
        return player->GetVariable(QString::fromUtf8(name));
    };
    for (const char* name : {"dongzuo", "quanping"}) {
        EXPECT_EQ(setAndRead(name), "") << "no control: " << name;
    }
    ASSERT_TRUE(player->Create(&parent, 0, 0, 800, 600));
    for (const char* name : {"dongzuo", "quanping"}) {
        EXPECT_EQ(setAndRead(name), "") << "no movie: " << name;
    }
}

TEST_F(MoviePlayerTest, ReadsOnlyTheScenesTwoRootVariables) {
    createAndLoad();
    struct Row {
        const char* name;
        const char* value;
    };
    const Row neverSet[] = {
        {"dongzuo", ""}, {"quanping", "0"},     {"xiangm", ""}, {"fenshu", ""},
        {"DONGZUO", ""}, {"_root.dongzuo", ""}, {"", ""},
    };
    for (const Row& row : neverSet) {
        EXPECT_EQ(player->GetVariable(QString::fromUtf8(row.name)), row.value) << row.name;
    }
    player->SetVariable(QStringLiteral("fenshu"), QStringLiteral("100"));
    player->SetVariable(QStringLiteral("Quanping"), QStringLiteral("1"));
    EXPECT_EQ(player->GetVariable(QStringLiteral("fenshu")), "");
    EXPECT_EQ(player->Control()->loop().fenshu(), 0);
    EXPECT_EQ(player->GetVariable(QStringLiteral("quanping")), "0");
}

TEST_F(MoviePlayerTest, FullScreenTalkReachesTheSceneBothWays) {
    createAndLoad();
    toMainMenu();
    const QRectF stage(0, 0, 800, 600);
    const auto exitOnStage = [&] {
        return stage.intersects(player->Control()->control(QStringLiteral("退出全屏"))->rect);
    };
    EXPECT_FALSE(exitOnStage());

    player->SetVariable(QStringLiteral("quanping"), QStringLiteral("1"));
    EXPECT_EQ(player->GetVariable(QStringLiteral("quanping")), "1");
    EXPECT_TRUE(exitOnStage());
    ASSERT_TRUE(player->Control()->click(QStringLiteral("退出全屏")));
    EXPECT_EQ(player->GetVariable(QStringLiteral("dongzuo")), "tuicu");

    // What the shell writes back after leaving full screen.
    player->SetVariable(QStringLiteral("dongzuo"), QStringLiteral("0"));
    player->SetVariable(QStringLiteral("quanping"), QStringLiteral("0"));
    EXPECT_EQ(player->GetVariable(QStringLiteral("dongzuo")), "0");
    EXPECT_FALSE(exitOnStage());
}

// --- placing the control ----------------------------------------------------------------

TEST_F(MoviePlayerTest, TheScenesReviewComesFromItsServices) {
    due = {{ExpressionQuestion{"3 + 4 - 2", 5}, 32}};
    createAndLoad();
    toMainMenu();
    ASSERT_TRUE(player->Control()->click(QStringLiteral("错题复习")));
    EXPECT_EQ(player->Control()->loop().screen(), Screen::Lianjia);
    EXPECT_EQ(player->Control()->loop().levelText(), QStringLiteral("错题复习"));
}

TEST_F(MoviePlayerTest, CreateNeedsAParentOnceAndMoveBeforeCreateOnlyRecords) {
    player->Move(1, 2, 300, 200);
    EXPECT_EQ(QRect(player->Left(), player->Top(), player->Width(), player->Height()),
              QRect(1, 2, 300, 200));
    EXPECT_EQ(player->HostWindow(), nullptr);

    EXPECT_FALSE(player->Create(0, 0, 800, 600)) << "never a parent";
    EXPECT_EQ(player->Control(), nullptr);
    EXPECT_EQ(player->ParentWindow(), nullptr);
    EXPECT_TRUE(parent.findChildren<SceneWidget*>().isEmpty());

    ASSERT_TRUE(player->Create(&parent, 5, 6, 400, 300));
    EXPECT_EQ(player->ParentWindow(), &parent);
    EXPECT_EQ(player->HostWindow()->geometry(), QRect(5, 6, 400, 300));
    EXPECT_EQ(player->Width(), 300) << "Create is not a Move";

    // Without a parent: the previous one, and the control replaced, not doubled.
    ASSERT_TRUE(player->Create(0, 0, 640, 480));
    EXPECT_EQ(player->ParentWindow(), &parent);
    ASSERT_EQ(parent.findChildren<SceneWidget*>().size(), 1);
    EXPECT_EQ(player->HostWindow()->parentWidget(), &parent);
    EXPECT_EQ(player->HostWindow()->geometry(), QRect(0, 0, 640, 480));

    player->Move(10, 20, 800, 600);
    EXPECT_EQ(player->HostWindow()->geometry(), QRect(10, 20, 800, 600));
    EXPECT_EQ(filtered.entries().size(), 2u) << "one entry per Create";
}

TEST_F(MoviePlayerTest, ARightPressNeverReachesTheSceneWhileALeftPressDoes) {
    parent.resize(800, 600);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    createAndLoad();
    toMainMenu();
    // "设置" acts on the press itself.
    const QPoint settings =
        player->Control()->control(QStringLiteral("设置"))->rect.center().toPoint();
    QWindow* window = parent.windowHandle();

    QTest::mousePress(window, Qt::RightButton, Qt::NoModifier, settings);
    QTest::mouseRelease(window, Qt::RightButton, Qt::NoModifier, settings);
    EXPECT_EQ(player->Control()->loop().settingsPanel(), SettingsPanel::Hidden);
    EXPECT_EQ(parent.menuRequests, 0) << "a context menu was asked for";

    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, settings);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, settings);
    EXPECT_NE(player->Control()->loop().settingsPanel(), SettingsPanel::Hidden);
}

// --- letting go ---------------------------------------------------------------------------

// The store the scenes share holds a value only in memory; it is in the file afterwards
// only if a closing scene wrote the store.
QByteArray storeFileAfter(ProgressStore& store, const std::function<void()>& action) {
    store.setValue(QStringLiteral("probe"), 42);
    action();
    QFile file(store.filePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(MoviePlayerTest, AFreshMovieGetsAFreshSceneAndTheOldOneKeepsItsProgress) {
    const QString onDisk = dataDir.path() + "/movie-copy.rcc";
    writeFile(onDisk, movieBytes());
    createAndLoad();
    toMainMenu();
    const QByteArray written =
        storeFileAfter(*store, [&] { ASSERT_TRUE(player->PutMovie(onDisk)); });
    EXPECT_TRUE(written.contains("probe")) << "the replaced scene closed without writing";
    EXPECT_EQ(player->Control()->loop().screen(), Screen::Stat);
    EXPECT_EQ(player->Control()->stepCount(), 0);
    EXPECT_EQ(parent.findChildren<SceneWidget*>().size(), 1);
}

TEST_F(MoviePlayerTest, DestroyingThePlayerWritesTheStoreOnlyWhenTheScenePlayed) {
    const QByteArray saved =
        writeFile(store->filePath(), R"({"jishu120": [1, 2, 3], "timels01": 5})");
    ASSERT_TRUE(player->Create(&parent, 0, 0, 800, 600));
    EXPECT_EQ(storeFileAfter(*store, [&] { player.reset(); }), saved)
        << "a scene that never played wrote the store";

    player = makePlayer();
    createAndLoad();
    EXPECT_TRUE(storeFileAfter(*store, [&] { player.reset(); }).contains("probe"));
    EXPECT_TRUE(parent.findChildren<SceneWidget*>().isEmpty());
}

// --- the right-click filter ---------------------------------------------------------------

// Records the events that reach it.
class RecordingWidget : public QWidget {
  public:
    QList<QEvent::Type> seen;

  protected:
    bool event(QEvent* event) override {
        seen.append(event->type());
        return QWidget::event(event);
    }
};

TEST(RightClickFilter, SwallowsRightPressesOfListedWindowsOnly) {
    struct Row {
        const char* what;
        std::function<std::unique_ptr<QEvent>()> make;
        bool swallowed;
    };
    const QPointF at(10, 10);
    const auto mouse = [at](QEvent::Type type, Qt::MouseButton button) {
        return [=] {
            return std::make_unique<QMouseEvent>(type, at, at, button, button, Qt::NoModifier);
        };
    };
    const Row rows[] = {
        {"right press", mouse(QEvent::MouseButtonPress, Qt::RightButton), true},
        {"right double click", mouse(QEvent::MouseButtonDblClick, Qt::RightButton), true},
        {"menu asked for by the mouse",
         [at] {
             return std::make_unique<QContextMenuEvent>(QContextMenuEvent::Mouse, at.toPoint());
         },
         true},
        {"right release", mouse(QEvent::MouseButtonRelease, Qt::RightButton), false},
        {"left press", mouse(QEvent::MouseButtonPress, Qt::LeftButton), false},
        {"left release", mouse(QEvent::MouseButtonRelease, Qt::LeftButton), false},
        {"middle press", mouse(QEvent::MouseButtonPress, Qt::MiddleButton), false},
        {"mouse move", mouse(QEvent::MouseMove, Qt::NoButton), false},
        {"menu asked for by the keyboard",
         [at] {
             return std::make_unique<QContextMenuEvent>(QContextMenuEvent::Keyboard, at.toPoint());
         },
         false},
        {"key",
         [] {
             return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, "5");
         },
         false},
    };
    FilteredWindowList list;
    RecordingWidget swallowing;
    RecordingWidget letting;
    RecordingWidget unlisted;
    for (RecordingWidget* widget : {&swallowing, &letting, &unlisted}) {
        widget->setMouseTracking(true);
    }
    list.append(&swallowing);
    list.append(&letting, false);
    for (const Row& row : rows) {
        for (RecordingWidget* widget : {&swallowing, &letting, &unlisted}) {
            widget->seen.clear();
            const auto event = row.make();
            QApplication::sendEvent(widget, event.get());
            const bool reached = widget->seen.contains(event->type());
            EXPECT_EQ(reached, !(row.swallowed && widget == &swallowing)) << row.what;
        }
    }
    // Freed entries filter nothing.
    list.clear();
    swallowing.seen.clear();
    const auto press = mouse(QEvent::MouseButtonPress, Qt::RightButton)();
    QApplication::sendEvent(&swallowing, press.get());
    EXPECT_TRUE(swallowing.seen.contains(QEvent::MouseButtonPress));
}

}  // namespace
}  // namespace sumbrook
