// The main window with the real movie player and scene in it, the theme state over a
// recording skin, and the program directory and progress store in temporary folders.
#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QScreen>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "moviehost/code_patch_hook.h"
#include "moviehost/movie_player.h"
#include "practice/core/exercise_catalogue.h"
#include "practice/scene/practice_stage.h"
#include "shell/help_document.h"
#include "shell/help_window.h"
#include "shell/shell_globals.h"
#include "shell/window_arithmetic.h"
#include "support/fake_sound_channel.h"
#include "support/manual_clock.h"
#include "support/qstring_printer.h"
#include "support/recording_skin.h"
#include "support/said_messages.h"
#include "themes/menu_font.h"
#include "themes/private_profile.h"
#include "themes/theme_dialog.h"
#include "themes/theme_table.h"
#include "worksheet/ui/quizwright_window.h"

namespace sumbrook {
namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QSize screenSize() {
    return QGuiApplication::primaryScreen()->geometry().size();
}

class ShellTest : public ::testing::Test {
  public:
    ShellTest() {
        qputenv("SUMBROOK_PROGRAM_DIR", programDir.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", userDir.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", userDir.filePath(QStringLiteral("data")).toLocal8Bit());
        SceneServices services;
        services.store = std::make_shared<ProgressStore>(dataDir.path());
        services.source = std::make_shared<SeededUniformSource>(7);
        services.clock = std::make_shared<testing::ManualClock>();
        services.soundChannel = [] { return std::make_unique<testing::FakeSoundChannel>(); };
        globals = std::make_unique<ShellGlobals>(std::move(services), [this](const MemoryModule&) {
            auto recording = std::make_unique<testing::RecordingSkin>();
            skin = recording.get();
            return recording;
        });
        window = std::make_unique<MainWindow>(*globals);
        window->setDocumentOpener([this](const QUrl& url) {
            opened.append(url.toLocalFile());
            return true;
        });
    }
    ~ShellTest() override {
        window.reset();
        globals.reset();
        qunsetenv("SUMBROOK_PROGRAM_DIR");
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
    }

    PracticeStage& scene() { return *globals->player()->Control(); }
    QString variable(const char* name) {
        return globals->player()->GetVariable(QString::fromLatin1(name));
    }
    QLabel* label() { return window->findChild<QLabel*>(QStringLiteral("标签1")); }
    QTimer* clock() { return window->findChild<QTimer*>(QStringLiteral("时钟1")); }
    QAction* menuItem(const QString& text) {
        for (QAction* top : window->menuBar()->actions()) {
            for (QAction* item : top->menu()->actions()) {
                if (item->text() == text) {
                    return item;
                }
            }
        }
        ADD_FAILURE() << "no menu item " << text.toStdString();
        return nullptr;
    }
    QString configPath() const { return PrivateProfile::configPath(); }
    void storeTheme(int row) {
        ASSERT_TRUE(PrivateProfile::writeString(configPath(), themeSection(), themeKey(),
                                                themeTable()[row - 1].storedName));
    }
    // Shows the window at `place` with an outer width of `width` (the offscreen platform
    // draws a frame of 2 pixels around a shown window) and lets the 4:3 rule act.
    void showAt(QPoint place, int width) {
        window->show();
        window->move(place);
        const int frame = window->frameGeometry().width() - window->width();
        window->resize(width - frame, window->height());
    }
    // Runs the program's event loop until something ends it, after `action`; the loop's
    // exit code, or nothing when it did not end within a few seconds.
    std::optional<int> runLoopAfter(const std::function<void()>& action) {
        bool timedOut = false;
        QTimer::singleShot(0, window.get(), action);
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&timedOut] {
            timedOut = true;
            QCoreApplication::exit(99);
        });
        guard.start(5000);
        const int code = QApplication::exec();
        return timedOut ? std::nullopt : std::optional<int>(code);
    }

    QTemporaryDir programDir;
    QTemporaryDir dataDir;
    QTemporaryDir userDir;  // the per-user configuration and data folders
    testing::RecordingSkin* skin = nullptr;
    std::unique_ptr<ShellGlobals> globals;
    std::unique_ptr<MainWindow> window;
    QStringList opened;
};

// --- start-up ---------------------------------------------------------------------------

TEST_F(ShellTest, StartsWithTheSavedThemeTitleTimerSizePlaceAndThePlayingScene) {
    // No configuration file yet: the default theme is written and attached.
    EXPECT_EQ(skin->calls, QStringList{QStringLiteral("attach 5")});
    EXPECT_EQ(PrivateProfile::readString(configPath(), themeSection(), themeKey()),
              themeTable()[kDefaultThemeRow - 1].storedName);

    EXPECT_EQ(window->windowTitle(), QStringLiteral("SumbrookV2.0"));
    ASSERT_NE(clock(), nullptr);
    EXPECT_EQ(clock()->interval(), 500);
    EXPECT_TRUE(clock()->isActive());

    EXPECT_EQ(window->frameGeometry().width(), 800);
    const QRect client = window->clientRect();
    EXPECT_EQ(client.size(), QSize(800, 600));
    EXPECT_EQ(window->frameGeometry().topLeft(),
              WindowArithmetic::StartPlacement(screenSize(), window->frameGeometry().height()));

    // The player's control fills 标签1, which fills the client area, and plays the movie.
    ASSERT_NE(label(), nullptr);
    EXPECT_EQ(window->centralWidget(), label());
    EXPECT_EQ(label()->text(), QString());
    EXPECT_EQ(label()->geometry(), client);
    QWidget* control = globals->player()->HostWindow();
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->parentWidget(), label());
    EXPECT_EQ(control->geometry(), QRect(QPoint(0, 0), client.size()));
    EXPECT_TRUE(scene().started());
    EXPECT_EQ(variable("quanping"), QStringLiteral("0"));
    // The movie came from memory: nothing of it is left beside the program.
    EXPECT_EQ(QDir(programDir.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("窗口配置文件.ini")});
}

TEST_F(ShellTest, MenuHoldsItsTitlesAndItemsInOrder) {
    const std::vector<std::pair<QString, QStringList>> expected = {
        {QStringLiteral("程序.(_&F)"),
         {QStringLiteral("Quizwright"), QStringLiteral("-"), QStringLiteral("更换主题"),
          QStringLiteral("全屏显示"), QStringLiteral("-"), QStringLiteral("退出")}},
        {QStringLiteral("帮助.(_&H)"), {QStringLiteral("软件说明")}},
    };
    const QList<QAction*> bar = window->menuBar()->actions();
    ASSERT_EQ(bar.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QAction* top = bar[static_cast<qsizetype>(i)];
        EXPECT_EQ(top->text(), expected[i].first);
        ASSERT_NE(top->menu(), nullptr);
        QStringList items;
        for (QAction* item : top->menu()->actions()) {
            items.append(item->isSeparator() ? QStringLiteral("-") : item->text());
        }
        EXPECT_EQ(items, expected[i].second) << expected[i].first.toStdString();
    }
}

TEST_F(ShellTest, MenuTextsDrawTheirChineseInTheSansCjkFaceAtTheBarsSize) {
    QList<QWidget*> holders{window->menuBar()};
    for (QAction* top : window->menuBar()->actions()) {
        holders.append(top->menu());
    }
    for (QWidget* holder : holders) {
        const QFont font = holder->font();
        for (QAction* item : holder->actions()) {
            const QString text = item->text();
            if (item->isSeparator()) {
                continue;
            }
            // Each character on its own, so that each glyph run is one character's.
            for (const QChar c : text) {
                QTextLayout layout(QString(c), font);
                layout.beginLayout();
                layout.createLine();
                layout.endLayout();
                for (const QGlyphRun& run : layout.glyphRuns()) {
                    // The Chinese glyphs come from the sans CJK face, at the size of the rest.
                    if (c.script() == QChar::Script_Han) {
                        EXPECT_EQ(run.rawFont().familyName(),
                                  QString::fromLatin1(MenuFont::kCjkFamily))
                            << text.toStdString();
                    }
                    EXPECT_NEAR(run.rawFont().pixelSize(), QFontInfo(font).pixelSize(), 0.5)
                        << text.toStdString();
                }
            }
        }
    }
}

// --- the 4:3 rule -----------------------------------------------------------------------

struct ResizeRow {
    const char* what;
    int startWidth;
    int width;        // the client width the user gives the window
    int heightDelta;  // and what the user does to its height meanwhile
    QSize client;     // the client area afterwards
};

void PrintTo(const ResizeRow& row, std::ostream* out) {
    *out << row.what;
}

class AspectRuleInWindow : public ShellTest, public ::testing::WithParamInterface<ResizeRow> {};

TEST_P(AspectRuleInWindow, KeepsTheClientAreaAndTheSceneAtTheStageShape) {
    const ResizeRow& row = GetParam();
    showAt(QPoint(20, 20), row.startWidth);
    window->resize(row.width, window->height() + row.heightDelta);

    EXPECT_EQ(window->clientRect().size(), row.client);
    EXPECT_EQ(label()->geometry(), window->clientRect());
    EXPECT_EQ(globals->player()->HostWindow()->geometry(), QRect(QPoint(0, 0), row.client));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AspectRuleInWindow,
    ::testing::Values(
        // 1,366 / 800 × 600 = 1,024.5, cut toward zero.
        ResizeRow{"wider_cuts_the_half", 800, 1366, 0, {1366, 1024}},
        ResizeRow{"narrower", 800, 640, 0, {640, 480}},
        ResizeRow{"width_and_height_together", 800, 1024, 300, {1024, 768}},
        ResizeRow{"bottom_edge_dragged_down_is_undone", 800, 800, 150, {800, 600}},
        ResizeRow{"bottom_edge_dragged_up_is_undone", 1024, 1024, -200, {1024, 768}}),
    [](const ::testing::TestParamInfo<ResizeRow>& row) { return std::string(row.param.what); });

TEST_F(ShellTest, ClientAreaKeepsItsShapeWhenTheMenuBarChangesHeight) {
    showAt(QPoint(20, 20), 804);
    const int before = window->menuBar()->height();
    // A theme with a taller menu bar: the window grows by what the bar took.
    window->menuBar()->setStyleSheet(QStringLiteral("QMenuBar { padding: 12px; }"));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    ASSERT_GT(window->menuBar()->height(), before);
    EXPECT_EQ(window->clientRect().size(), QSize(800, 600));
    EXPECT_EQ(label()->geometry(), window->clientRect());
}

// --- the scene's commands ---------------------------------------------------------------

struct PollStep {
    std::optional<QString> sceneWrites;  // what the scene writes into dongzuo before the tick
    QString lastCommand;                 // LastMovieCommand after the tick
    bool leaves;                         // whether the tick ran LeaveFullScreen
};

struct PollRow {
    const char* what;
    std::vector<PollStep> steps;
};

void PrintTo(const PollRow& row, std::ostream* out) {
    *out << row.what;
}

class MovieCommandPoll : public ShellTest, public ::testing::WithParamInterface<PollRow> {};

TEST_P(MovieCommandPoll, LeavesFullScreenOnceForEachTuicuItSees) {
    const PollRow& row = GetParam();
    showAt(QPoint(40, 30), 800);
    int step = 0;
    for (const PollStep& s : row.steps) {
        ++step;
        window->EnterFullScreen();
        skin->calls.clear();
        if (s.sceneWrites) {
            scene().setDongzuo(*s.sceneWrites);
        }
        const QString before = variable("dongzuo");
        window->MovieCommandPoll();  // the tick of 时钟1, without waiting for it

        EXPECT_EQ(globals->lastMovieCommand(), s.lastCommand) << "step " << step;
        // Leaving resets dongzuo and quanping and brings the stored theme back.
        EXPECT_EQ(variable("quanping"), s.leaves ? QStringLiteral("0") : QStringLiteral("1"))
            << "step " << step;
        EXPECT_EQ(variable("dongzuo"), s.leaves ? QStringLiteral("0") : before) << "step " << step;
        EXPECT_EQ(skin->calls, s.leaves ? QStringList{QStringLiteral("attach 5")} : QStringList())
            << "step " << step;
    }
}

const QString kTuicu = QStringLiteral("tuicu");
const QString kZero = QStringLiteral("0");

std::vector<PollRow> pollRows() {
    return {
        // The scene's dongzuo starts absent, which is the empty text LastMovieCommand holds.
        {"a_scene_that_never_wrote_gives_nothing_new", {{std::nullopt, QString(), false}}},
        {"tuicu_then_the_shells_0_then_tuicu_again",
         {{kTuicu, kTuicu, true}, {std::nullopt, kZero, false}, {kTuicu, kTuicu, true}}},
        // The scene wrote tuicu again before a tick saw the shell's 0.
        {"tuicu_twice_without_a_tick_between", {{kTuicu, kTuicu, true}, {kTuicu, kTuicu, false}}},
        {"an_unchanged_value_is_seen_once",
         {{kTuicu, kTuicu, true}, {std::nullopt, kZero, false}, {std::nullopt, kZero, false}}},
        {"other_texts_are_only_remembered",
         {{QStringLiteral("TUICU"), QStringLiteral("TUICU"), false},
          {QStringLiteral("tuicu "), QStringLiteral("tuicu "), false},
          {QStringLiteral("quanping"), QStringLiteral("quanping"), false},
          {QString(), QString(), false},
          {kTuicu, kTuicu, true}}},
    };
}

INSTANTIATE_TEST_SUITE_P(Rows, MovieCommandPoll, ::testing::ValuesIn(pollRows()),
                         [](const ::testing::TestParamInfo<PollRow>& row) {
                             return std::string(row.param.what);
                         });

// --- full screen ------------------------------------------------------------------------

TEST_F(ShellTest, FullScreenAndBackToTheSavedPlaceWithBorderMenusAndStoredTheme) {
    showAt(QPoint(112, 50), 640);
    ASSERT_EQ(window->frameGeometry().topLeft(), QPoint(112, 50));
    ASSERT_EQ(window->frameGeometry().width(), 640);
    // The frame comes back as it was, so the window's own rectangle tells where its outer
    // one is.
    const QRect windowed = window->geometry();
    const QRect windowedClient = window->clientRect();
    skin->calls.clear();

    menuItem(QStringLiteral("全屏显示"))->trigger();

    EXPECT_EQ(skin->calls, QStringList{QStringLiteral("detach")});
    EXPECT_EQ(globals->savedWindowPlacement(), (WindowPlacement{112, 50, 640}));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->menuBar()->isHidden());
    for (QAction* top : window->menuBar()->actions()) {
        EXPECT_FALSE(top->isVisible()) << top->text().toStdString();
    }
    const QSize screen = screenSize();
    // Without a frame the window's own rectangle is its outer one.
    EXPECT_EQ(window->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(window->clientRect(), QRect(0, 0, screen.width(), screen.width() * 3 / 4));
    // The same window with its frame gone, not a full-screen window of the window
    // manager's, which would be raised and put back at a rectangle of its own keeping.
    // (The frame itself is the window system's: ShellUnderAWindowManager checks it.)
    EXPECT_FALSE(window->isFullScreen());
    EXPECT_EQ(variable("quanping"), QStringLiteral("1"));
    // The scene now offers its way back, and the user takes it.
    ASSERT_TRUE(scene().control(QStringLiteral("退出全屏")).has_value());
    EXPECT_TRUE(scene().loop().exitControlVisible());

    // Meanwhile another theme was stored: that one comes back, not the one shown before.
    storeTheme(7);
    skin->calls.clear();
    ASSERT_TRUE(scene().click(QStringLiteral("退出全屏")));
    EXPECT_EQ(variable("dongzuo"), kTuicu);
    window->MovieCommandPoll();

    EXPECT_EQ(window->geometry(), windowed);
    EXPECT_FALSE(window->isFullScreen());
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->menuBar()->isHidden());
    for (QAction* top : window->menuBar()->actions()) {
        EXPECT_TRUE(top->isVisible()) << top->text().toStdString();
    }
    EXPECT_EQ(window->clientRect(), windowedClient);
    EXPECT_EQ(variable("quanping"), QStringLiteral("0"));
    EXPECT_EQ(variable("dongzuo"), QStringLiteral("0"));
    EXPECT_FALSE(scene().loop().exitControlVisible());
    EXPECT_EQ(skin->calls, QStringList{QStringLiteral("attach 7")});
}

TEST_F(ShellTest, TheKeyboardReachesTheSceneWindowedInFullScreenAndBack) {
    showAt(QPoint(112, 50), 800);
    window->activateWindow();
    for (int i = 0; i < PracticeLoop::kIntroSteps; ++i) {
        scene().step();
    }
    ASSERT_TRUE(scene().click(QStringLiteral("自选模式")));
    ASSERT_TRUE(scene().click(ExerciseCatalogue::title(1)));
    const struct {
        const char* what;
        std::function<void()> before;
        int key;
        QString typed;
    } rows[] = {
        {"windowed", [] {}, Qt::Key_1, QStringLiteral("1")},
        {"full screen", [this] { window->EnterFullScreen(); }, Qt::Key_2, QStringLiteral("12")},
        {"back",
         [this] {
             scene().setDongzuo(kTuicu);
             window->MovieCommandPoll();
         },
         Qt::Key_Backspace, QStringLiteral("1")},
    };
    for (const auto& row : rows) {
        row.before();
        QWidget* focus = window->focusWidget();
        ASSERT_EQ(focus, globals->player()->HostWindow()) << row.what;
        QKeyEvent down(QEvent::KeyPress, row.key, Qt::NoModifier);
        QCoreApplication::sendEvent(focus, &down);
        QKeyEvent up(QEvent::KeyRelease, row.key, Qt::NoModifier);
        QCoreApplication::sendEvent(focus, &up);
        EXPECT_EQ(scene().loop().answerText(), row.typed) << row.what;
    }
}

TEST_F(ShellTest, TuicuBeforeAnyFullScreenKeepsTheWindowWhereItIs) {
    // Nothing was kept yet (0, 0, width 0): the window must not collapse into a corner.
    showAt(QPoint(112, 50), 640);
    const QRect before = window->geometry();
    skin->calls.clear();
    scene().setDongzuo(kTuicu);
    window->MovieCommandPoll();
    EXPECT_EQ(window->geometry(), before);
    EXPECT_EQ(variable("dongzuo"), kZero);
    EXPECT_EQ(variable("quanping"), kZero);
    EXPECT_EQ(skin->calls, QStringList{QStringLiteral("attach 5")});
}

TEST_F(ShellTest, TuicuWhileWindowedGoesBackToTheLastSavedPlace) {
    showAt(QPoint(112, 50), 640);
    window->EnterFullScreen();
    scene().setDongzuo(kTuicu);
    window->MovieCommandPoll();
    // The user moves and widens the window; a later tuicu puts it back where full screen
    // was entered from.
    window->move(300, 200);
    window->resize(1024, window->height());
    window->MovieCommandPoll();
    scene().setDongzuo(kTuicu);
    window->MovieCommandPoll();
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(112, 50));
    EXPECT_EQ(window->frameGeometry().width(), 640);
}

TEST_F(ShellTest, ThemeChooserIsModalAndItsChoiceIsStored) {
    showAt(QPoint(50, 50), 800);
    skin->calls.clear();
    bool modal = false;
    QTimer::singleShot(0, [&] {
        QDialog* dialog = window->findChild<QDialog*>(QStringLiteral("更换主题"));
        ASSERT_NE(dialog, nullptr);
        modal = dialog->isModal() && dialog->isVisible();
        auto* purple = dialog->findChild<QRadioButton*>(ThemeDialog::radioButtonName(7));
        ASSERT_NE(purple, nullptr);
        purple->click();
        dialog->accept();
    });
    menuItem(QStringLiteral("更换主题"))->trigger();
    EXPECT_TRUE(modal);
    EXPECT_EQ(skin->calls, (QStringList{QStringLiteral("detach"), QStringLiteral("attach 7")}));
    EXPECT_EQ(PrivateProfile::readString(configPath(), themeSection(), themeKey()),
              themeTable()[6].storedName);
}

// --- the help document ------------------------------------------------------------------

TEST_F(ShellTest, HelpDocumentIsWrittenWhenAbsentAndOpenedAsItIs) {
    const QString path = HelpDocument::path(programDir.path());
    const struct {
        const char* what;
        std::optional<QByteArray> before;  // the file beside the program, if any
        QByteArray after;
    } rows[] = {
        {"absent: written whole", std::nullopt, HelpDocument::bytes()},
        {"edited by the user: opened unchanged", QByteArray("my notes\r\n"),
         QByteArray("my notes\r\n")},
        {"empty: opened unchanged", QByteArray(), QByteArray()},
    };
    for (const auto& row : rows) {
        QFile::remove(path);
        if (row.before) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(*row.before);
        }
        opened.clear();
        menuItem(QStringLiteral("软件说明"))->trigger();
        EXPECT_EQ(fileBytes(path), row.after) << row.what;
        EXPECT_EQ(opened, QStringList{path}) << row.what;
    }
}

TEST_F(ShellTest, HelpDocumentGoesToTheUserWhereTheProgramFolderHasNone) {
    qputenv("SUMBROOK_PROGRAM_DIR", programDir.filePath(QStringLiteral("gone")).toLocal8Bit());
    menuItem(QStringLiteral("软件说明"))->trigger();
    const QString path = userDir.filePath(QStringLiteral("data/sumbrook/软件说明.txt"));
    EXPECT_EQ(opened, QStringList{path});
    EXPECT_EQ(fileBytes(path), HelpDocument::bytes());
}

TEST_F(ShellTest, HelpWindowShowsTheDocumentsTextAndClosesOnEsc) {
    window->setDocumentOpener([this](const QUrl& url) { return window->openHelpWindow(url); });
    QStringEncoder gbk("GBK");
    const struct {
        const char* what;
        std::optional<QByteArray> before;  // the file beside the program, if any
        std::function<bool(const QString&)> shows;
    } rows[] = {
        {"the carried document, decoded", std::nullopt,
         [](const QString& text) {
             return text.startsWith(QStringLiteral("            SumbrookV2.0  软件说明\n")) &&
                    text.contains(QStringLiteral("本版软件还增加了《Quizwright》模块")) &&
                    !text.contains(u'\r') && !text.contains(QChar::ReplacementCharacter);
         }},
        {"the user's own copy", QByteArray(gbk.encode(QStringLiteral("我的笔记\r\n第二行"))),
         [](const QString& text) { return text == QStringLiteral("我的笔记\n第二行"); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const QString path = HelpDocument::path(programDir.path());
        QFile::remove(path);
        if (row.before) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(*row.before);
        }
        menuItem(QStringLiteral("软件说明"))->trigger();
        QPointer<HelpWindow> help = window->helpWindow();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->windowTitle(), QStringLiteral("软件说明"));
        EXPECT_TRUE(row.shows(help->text())) << help->text().left(200).toStdString();
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(help, &esc);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(help, nullptr) << "Esc closes the window";
    }
}

TEST_F(ShellTest, HelpDocumentThatCannotBeWrittenIsShownFromTheProgramAndSaidOnce) {
    qputenv("SUMBROOK_PROGRAM_DIR", programDir.filePath(QStringLiteral("gone")).toLocal8Bit());
    // A file where the per-user data folder would be: nothing can be made under it.
    QFile blocker(userDir.filePath(QStringLiteral("data")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    testing::SaidMessages said;
    menuItem(QStringLiteral("软件说明"))->trigger();
    EXPECT_EQ(opened, QStringList());
    ASSERT_NE(window->helpWindow(), nullptr);
    EXPECT_EQ(window->helpWindow()->text(), HelpDocument::text(HelpDocument::bytes()));
    const QStringList ours = said.lines().filter(QRegularExpression(QStringLiteral("^sumbrook")));
    ASSERT_EQ(ours.size(), 1) << said.lines().join(u'\n').toStdString();
    EXPECT_TRUE(ours[0].startsWith(QStringLiteral("sumbrook.shell: "))) << ours[0].toStdString();
}

// --- Quizwright -------------------------------------------------------------------------

QuizwrightWindow* openQuizwright() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* quizwright = qobject_cast<QuizwrightWindow*>(widget);
            quizwright != nullptr && quizwright->isVisible()) {
            return quizwright;
        }
    }
    return nullptr;
}

TEST_F(ShellTest, QuizwrightHidesTheWindowUntilItsReturnButton) {
    showAt(QPoint(50, 50), 800);
    bool hiddenWhileOpen = false;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        QuizwrightWindow* quizwright = openQuizwright();
        ASSERT_NE(quizwright, nullptr);
        hiddenWhileOpen = !window->isVisible();
        modal = quizwright->isModal();
        for (QPushButton* button : quizwright->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("返  回")) {
                button->click();
            }
        }
    });
    menuItem(QStringLiteral("Quizwright"))->trigger();

    EXPECT_TRUE(hiddenWhileOpen);
    EXPECT_TRUE(modal);
    EXPECT_EQ(openQuizwright(), nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(globals->isShutDown());
}

TEST_F(ShellTest, QuizwrightClosedAnyOtherWayEndsTheProgram) {
    showAt(QPoint(50, 50), 800);
    const std::optional<int> code = runLoopAfter([&] {
        QTimer::singleShot(0, [] {
            if (QuizwrightWindow* quizwright = openQuizwright()) {
                quizwright->close();
            }
        });
        menuItem(QStringLiteral("Quizwright"))->trigger();
    });
    ASSERT_EQ(code, 0);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(globals->isShutDown());
}

// --- the end of the program -------------------------------------------------------------

TEST_F(ShellTest, ExitAndTheCloseBoxBothEndTheProgramThroughTheShutdownRoutine) {
    const struct {
        const char* what;
        std::function<void(ShellTest&)> end;
    } rows[] = {
        {"退出", [](ShellTest& t) { t.menuItem(QStringLiteral("退出"))->trigger(); }},
        {"close box", [](ShellTest& t) { t.window->close(); }},
    };
    for (const auto& row : rows) {
        window.reset();
        globals.reset();
        auto store = std::make_shared<ProgressStore>(dataDir.path());
        SceneServices services;
        services.store = store;
        services.source = std::make_shared<SeededUniformSource>(7);
        services.clock = std::make_shared<testing::ManualClock>();
        services.soundChannel = [] { return std::make_unique<testing::FakeSoundChannel>(); };
        globals = std::make_unique<ShellGlobals>(std::move(services));
        window = std::make_unique<MainWindow>(*globals);
        window->show();
        ASSERT_TRUE(globals->patchHook()->installed()) << row.what;
        // Something the scene has not written yet.
        store->setValue(QStringLiteral("probe"), QString::fromUtf8(row.what));

        const std::optional<int> code = runLoopAfter([&] { row.end(*this); });

        ASSERT_EQ(code, 0) << row.what;
        EXPECT_TRUE(globals->isShutDown()) << row.what;
        EXPECT_EQ(globals->player(), nullptr) << row.what;
        EXPECT_EQ(globals->themes(), nullptr) << row.what;
        EXPECT_EQ(globals->skinModule(), nullptr) << row.what;
        EXPECT_EQ(globals->patchHook(), nullptr) << row.what;
        EXPECT_EQ(globals->memoryFiles(), nullptr) << row.what;
        // The scene let go as the player went: the progress as it stood is on disk.
        ProgressStore written(dataDir.path());
        written.open();
        EXPECT_EQ(written.value(QStringLiteral("probe")).toString(), QString::fromUtf8(row.what));
        // Nothing the window does afterwards reaches the released objects.
        window->MovieCommandPoll();
        window->EnterFullScreen();
    }
}

}  // namespace
}  // namespace sumbrook
