// Full screen under a real X server and window manager: a private Xvfb with openbox, the
// main window with the real scene and skins in it, and the window's frame read back from
// the X server itself rather than from what Qt believes. Skipped, with the reason, where
// Xvfb or openbox is not installed. The screen is 1024 × 768 unless SUMBROOK_X11_SCREEN
// gives another size ("1920x1080").
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>

#include "moviehost/movie_player.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_widget.h"
#include "shell/main_window.h"
#include "shell/shell_globals.h"
#include "shell/window_arithmetic.h"
#include "support/fake_sound_channel.h"
#include "support/manual_clock.h"
#include "support/recording_skin.h"

// Rectangles in failure messages as (x,y w×h).
void PrintTo(const QRect& r, std::ostream* out) {
    *out << '(' << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height() << ')';
}

namespace sumbrook {
namespace {

// The screen the tests run on unless they ask for another shape: 4:3.
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

// The private display, set up by main() before the application exists.
struct Display {
    QString skipReason;  // empty when the display is up
    QSize shape{kScreenWidth, kScreenHeight};
    QProcess server;
    QProcess windowManager;
};
Display* display = nullptr;

QRect toRect(const xcb_get_geometry_reply_t& g, int x, int y) {
    return {x, y, g.width + 2 * g.border_width, g.height + 2 * g.border_width};
}

// What the X server says about a top-level window: its own rectangle on the screen, and
// the rectangle of the outermost window that holds it (the window manager's frame, or the
// window itself when it is not framed).
struct ServerGeometry {
    QRect client;
    QRect frame;
};

class XServer {
  public:
    XServer() : connection_(xcb_connect(nullptr, nullptr)) {}
    ~XServer() { xcb_disconnect(connection_); }
    bool ok() const { return xcb_connection_has_error(connection_) == 0; }

    ServerGeometry geometryOf(xcb_window_t window) {
        ServerGeometry result;
        xcb_window_t root = 0;
        xcb_window_t outer = window;
        for (xcb_window_t w = window;;) {
            auto* tree = xcb_query_tree_reply(connection_, xcb_query_tree(connection_, w), nullptr);
            if (tree == nullptr) {
                return result;
            }
            root = tree->root;
            const xcb_window_t parent = tree->parent;
            std::free(tree);
            if (parent == root || parent == XCB_WINDOW_NONE) {
                outer = w;
                break;
            }
            w = parent;
        }
        result.client = rectOf(window, root);
        result.frame = rectOf(outer, root);
        return result;
    }

  private:
    QRect rectOf(xcb_window_t window, xcb_window_t root) {
        auto* g =
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
        auto* t = xcb_translate_coordinates_reply(
            connection_, xcb_translate_coordinates(connection_, window, root, 0, 0), nullptr);
        QRect r;
        if (g != nullptr && t != nullptr) {
            r = toRect(*g, t->dst_x, t->dst_y);
        }
        std::free(g);
        std::free(t);
        return r;
    }

    xcb_connection_t* connection_;
};

class ShellUnderAWindowManager : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!display->skipReason.isEmpty()) {
            GTEST_SKIP() << display->skipReason.toStdString();
        }
        ASSERT_TRUE(x.ok());
        qputenv("SUMBROOK_PROGRAM_DIR", programDir.path().toLocal8Bit());
    }
    void TearDown() override {
        window.reset();
        globals.reset();
        qunsetenv("SUMBROOK_PROGRAM_DIR");
    }

    // A fresh start: the process-wide objects and the main window shown as the program
    // shows it, with the real skins, or with a recording skin that changes no look. (The
    // real skin module is loaded once per process, as the program does: a second set of
    // process-wide objects with real skins is not something the program ever makes.)
    void start(bool realSkins) {
        window.reset();
        globals.reset();
        SceneServices services;
        services.store = std::make_shared<ProgressStore>(dataDir.path());
        services.source = std::make_shared<SeededUniformSource>(3);
        services.clock = std::make_shared<testing::ManualClock>();
        services.soundChannel = [] { return std::make_unique<testing::FakeSoundChannel>(); };
        ShellGlobals::SkinFactory skins;
        if (!realSkins) {
            skins = [](const MemoryModule&) { return std::make_unique<testing::RecordingSkin>(); };
        }
        globals = std::make_unique<ShellGlobals>(std::move(services), skins);
        globals->LoadSkinModule();
        window = std::make_unique<MainWindow>(*globals);
        window->show();
    }
    ServerGeometry server() { return x.geometryOf(static_cast<xcb_window_t>(window->winId())); }

    // Lets the window manager and the window work until `done` holds, and then for a
    // while longer, so that a late move by either is seen too; the last geometry read.
    ServerGeometry settle(const std::function<bool(const ServerGeometry&)>& done) {
        QElapsedTimer clock;
        clock.start();
        ServerGeometry g = server();
        qint64 heldSince = -1;
        while (clock.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(10);
            g = server();
            if (!done(g)) {
                heldSince = -1;
            } else if (heldSince < 0) {
                heldSince = clock.elapsed();
            } else if (clock.elapsed() - heldSince > 400) {
                break;
            }
        }
        return g;
    }
    bool coversTheScreen(const ServerGeometry& g) {
        const QRect screen(QPoint(0, 0), display->shape);
        return g.client == screen && g.frame == screen;
    }
    // Windowed with a frame, the client area 4:3 below the menu bar.
    bool framedAt(const ServerGeometry& g, const QRect& frame) {
        return g.frame == frame && g.client != g.frame && frame.contains(g.client);
    }
    void leave() {
        scene().setDongzuo(QStringLiteral("tuicu"));
        window->MovieCommandPoll();
        window->MovieCommandPoll();  // the next tick sees the shell's "0"
    }
    PracticeStage& scene() { return *globals->player()->Control(); }

    XServer x;
    QTemporaryDir programDir;
    QTemporaryDir dataDir;
    std::unique_ptr<ShellGlobals> globals;
    std::unique_ptr<MainWindow> window;
};

TEST_F(ShellUnderAWindowManager, RoundTripsPutTheFrameBackWhereItWasEveryTime) {
    start(true);
    // Wherever the window manager put the new window, and then where the user moves it.
    // The new window gets its frame after it is shown: its outer width and place are then
    // those of the start-up rule, frame included.
    const auto startedWithFrame = [](const ServerGeometry& g) {
        // The top follows the height at that moment, which the theme's menu bar may change
        // afterwards; the left edge and the width do not move.
        return g.frame != g.client && g.frame.width() == WindowArithmetic::kStartWidth &&
               g.frame.left() == WindowArithmetic::StartPlacement(
                                     QSize(kScreenWidth, kScreenHeight), g.frame.height())
                                     .x();
    };
    const ServerGeometry first = settle(startedWithFrame);
    ASSERT_TRUE(startedWithFrame(first)) << "framed at " << ::testing::PrintToString(first.frame);
    window->move(113, 92);
    const ServerGeometry placed =
        settle([](const ServerGeometry& g) { return g.frame.topLeft() == QPoint(113, 92); });
    ASSERT_EQ(placed.frame.topLeft(), QPoint(113, 92));
    const QRect home = placed.frame;
    const QSize client = placed.client.size();
    const QRect menu = window->menuBar()->geometry();

    for (int trip = 1; trip <= 6; ++trip) {
        window->EnterFullScreen();
        const ServerGeometry full =
            settle([this](const ServerGeometry& g) { return coversTheScreen(g); });
        EXPECT_EQ(full.client, QRect(0, 0, kScreenWidth, kScreenHeight)) << "trip " << trip;
        EXPECT_EQ(full.frame, full.client) << "no frame in full screen, trip " << trip;
        EXPECT_EQ(scene().quanping(), QStringLiteral("1"));

        leave();
        const ServerGeometry back =
            settle([&](const ServerGeometry& g) { return framedAt(g, home); });
        EXPECT_EQ(back.frame, home) << "trip " << trip;
        EXPECT_EQ(back.client.size(), client) << "trip " << trip;
        EXPECT_EQ(window->menuBar()->geometry(), menu) << "trip " << trip;
        EXPECT_EQ(scene().quanping(), QStringLiteral("0"));
        std::fprintf(stderr, "trip %d: full (%d,%d %dx%d), back frame (%d,%d %dx%d)\n", trip,
                     full.frame.x(), full.frame.y(), full.frame.width(), full.frame.height(),
                     back.frame.x(), back.frame.y(), back.frame.width(), back.frame.height());
    }
}

TEST_F(ShellUnderAWindowManager, TheFirstFullScreenAfterAFreshStartCoversTheScreen) {
    for (int run = 1; run <= 5; ++run) {
        start(false);
        // As soon as the window is up, before the window manager has necessarily finished
        // framing and placing it: the user is quick, or the machine is slow.
        QCoreApplication::processEvents();
        const ServerGeometry before = server();
        window->EnterFullScreen();
        const ServerGeometry full =
            settle([this](const ServerGeometry& g) { return coversTheScreen(g); });
        EXPECT_EQ(full.client, QRect(0, 0, kScreenWidth, kScreenHeight)) << "run " << run;
        EXPECT_EQ(full.frame, full.client) << "run " << run;
        // And back to where the window had been put at its start.
        leave();
        const QPoint started(before.frame.topLeft());
        // Back at the outer corner and width kept on entering: those the window manager
        // gave, or, when it had not framed the window yet, those the window was shown with.
        const WindowPlacement saved = globals->savedWindowPlacement();
        const auto home = [&](const ServerGeometry& g) {
            return g.frame != g.client && g.frame.topLeft() == QPoint(saved.left, saved.top) &&
                   g.frame.width() == saved.width;
        };
        const ServerGeometry back = settle(home);
        EXPECT_TRUE(home(back)) << "run " << run << ": back at "
                                << ::testing::PrintToString(back.frame);
        std::fprintf(stderr, "run %d: started (%d,%d), full (%d,%d %dx%d), back (%d,%d)\n", run,
                     started.x(), started.y(), full.frame.x(), full.frame.y(), full.frame.width(),
                     full.frame.height(), back.frame.x(), back.frame.y());
    }
}

// --- screens of other shapes -------------------------------------------------------------

class ScreenShapes : public ShellUnderAWindowManager {
  protected:
    // The scene's stage, placed by the window's own rectangle as the X server has it, is
    // within a pixel of the largest 4:3 area of `area`, centred.
    void expectSceneLetterboxedIn(const ServerGeometry& g, const QRect& area, int trip) {
        auto* scene = qobject_cast<SceneWidget*>(globals->player()->HostWindow());
        ASSERT_NE(scene, nullptr);
        const QRectF stage = scene->stageRect().translated(g.client.topLeft() +
                                                           scene->mapTo(window.get(), QPoint()));
        const QRectF wanted = WindowArithmetic::Letterbox(area.size()).translated(area.topLeft());
        for (const QPointF corner :
             {stage.topLeft() - wanted.topLeft(), stage.bottomRight() - wanted.bottomRight()}) {
            EXPECT_LE(corner.manhattanLength(), 2.0)
                << "trip " << trip << ": stage at " << ::testing::PrintToString(stage.toRect());
        }
    }
};

// Run by ctest on each screen shape that families have (SUMBROOK_X11_SCREEN).
TEST_F(ScreenShapes, FullScreenAndMaximiseShowTheWholeSceneAndComeBack) {
    start(true);
    const QRect screen(QPoint(0, 0), display->shape);
    // As the title bar's button asks the window manager: the work area, with the frame.
    const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
    const ServerGeometry started = settle(
        [&](const ServerGeometry& g) { return g.frame != g.client && workArea.contains(g.frame); });
    ASSERT_TRUE(workArea.contains(started.frame)) << ::testing::PrintToString(started.frame);
    // Home is a place the user put the window, seen on the server: where the start placement
    // leaves it is the start-up checks' business, and a loaded machine may still be moving
    // it there.
    const QPoint corner = workArea.topLeft() + QPoint(37, 41);
    window->move(corner);
    const ServerGeometry first =
        settle([&](const ServerGeometry& g) { return g.frame.topLeft() == corner; });
    ASSERT_EQ(first.frame.topLeft(), corner);
    const QRect home = first.frame;
    const auto fullScreen = [&](int trip) {
        window->EnterFullScreen();
        const ServerGeometry full =
            settle([&](const ServerGeometry& g) { return coversTheScreen(g); });
        EXPECT_EQ(full.frame, screen) << "trip " << trip;
        expectSceneLetterboxedIn(full, screen, trip);
        leave();
    };
    const auto maximised = [&](int trip) {
        const ServerGeometry big =
            settle([&](const ServerGeometry& g) { return g.frame == workArea; });
        EXPECT_EQ(big.frame, workArea) << "trip " << trip;
        expectSceneLetterboxedIn(big, big.client.adjusted(0, window->clientRect().top(), 0, 0),
                                 trip);
    };
    const auto backHome = [&](int trip) {
        const ServerGeometry back =
            settle([&](const ServerGeometry& g) { return framedAt(g, home); });
        EXPECT_EQ(back.frame, home) << "trip " << trip;
        EXPECT_EQ(back.client.size(), first.client.size()) << "trip " << trip;
    };
    for (int trip = 1; trip <= 3; ++trip) {
        fullScreen(trip);
        backHome(trip);
        if (trip == 3) {
            break;
        }
        window->showMaximized();
        maximised(trip);
        if (trip == 1) {  // full screen from maximised comes back maximised
            fullScreen(trip);
            maximised(trip);
        }
        window->showNormal();
        backHome(trip);
    }
}

// --- the private display ----------------------------------------------------------------

QString findProgram(const char* name) {
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

bool waitFor(const std::function<bool()>& ready, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        if (ready()) {
            return true;
        }
        QThread::msleep(50);
    }
    return ready();
}

// Starts Xvfb on a free display number and openbox on it; the reason when it cannot.
QString startDisplay(Display& d) {
    const QString xvfb = findProgram("Xvfb");
    const QString openbox = findProgram("openbox");
    if (xvfb.isEmpty() || openbox.isEmpty()) {
        return QStringLiteral("needs Xvfb and openbox (Debian: xvfb, openbox)");
    }
    // The server picks a display number no other server holds and writes it out once it
    // listens, so that tests starting at once do not race for one.
    d.server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"),
                          QStringLiteral("-screen"), QStringLiteral("0"),
                          QStringLiteral("%1x%2x24").arg(d.shape.width()).arg(d.shape.height()),
                          QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QByteArray number;
    const auto numberWritten = [&] {
        d.server.waitForReadyRead(50);
        number += d.server.readAll();
        return number.contains('\n');
    };
    const bool listening = d.server.waitForStarted(5000) && waitFor(numberWritten, 10000);
    if (!listening) {
        return QStringLiteral("Xvfb did not start");
    }
    const QString name = QStringLiteral(":%1").arg(number.trimmed().toInt());
    qputenv("DISPLAY", name.toLatin1());
    // openbox's own configuration, not the user's.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    static QTemporaryDir home;
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    d.windowManager.setProcessEnvironment(env);
    d.windowManager.setProcessChannelMode(QProcess::MergedChannels);
    d.windowManager.start(openbox, {});
    if (!d.windowManager.waitForStarted(5000)) {
        return QStringLiteral("openbox did not start");
    }
    // The window manager is up once it says so on the root window. (Asking for the root's
    // redirection instead would hold it for an instant, and openbox, finding it held, would
    // give up.)
    const bool managing = waitFor(
        [&] {
            // Without an event loop yet, only waiting tells that it has ended.
            if (d.windowManager.state() == QProcess::NotRunning ||
                d.windowManager.waitForFinished(0)) {
                d.windowManager.start(openbox, {});
                d.windowManager.waitForStarted(5000);
                return false;
            }
            xcb_connection_t* c = xcb_connect(nullptr, nullptr);
            bool up = false;
            if (xcb_connection_has_error(c) == 0) {
                const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
                const char check[] = "_NET_SUPPORTING_WM_CHECK";
                auto* atom = xcb_intern_atom_reply(
                    c, xcb_intern_atom(c, 1, sizeof(check) - 1, check), nullptr);
                if (atom != nullptr && atom->atom != XCB_ATOM_NONE) {
                    auto* property = xcb_get_property_reply(
                        c, xcb_get_property(c, 0, screen->root, atom->atom, XCB_ATOM_WINDOW, 0, 1),
                        nullptr);
                    up = property != nullptr && xcb_get_property_value_length(property) > 0;
                    std::free(property);
                }
                std::free(atom);
            }
            xcb_disconnect(c);
            return up;
        },
        15000);
    if (!managing) {
        return QStringLiteral("openbox did not take over the display %1: %2")
            .arg(name, QString::fromLocal8Bit(d.windowManager.readAll()));
    }
    return {};
}

void stopDisplay(Display& d) {
    for (QProcess* p : {&d.windowManager, &d.server}) {
        if (p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(3000)) {
                p->kill();
                p->waitForFinished(1000);
            }
        }
    }
}

}  // namespace
}  // namespace sumbrook

// Under the leak checker on a real X display: Qt's D-Bus thread leaves one allocation of
// libdbus's own behind at exit. It is theirs; nothing of ours is hidden by naming it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    sumbrook::Display d;
    sumbrook::display = &d;
    const QByteArray shape = qgetenv("SUMBROOK_X11_SCREEN");
    if (!shape.isEmpty()) {
        const QList<QByteArray> sides = shape.split('x');
        d.shape = QSize(sides.value(0).toInt(), sides.value(1).toInt());
    }
    if (::testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    d.skipReason = sumbrook::startDisplay(d);
    if (d.skipReason.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int code = 0;
    {
        QApplication app(argc, argv);
        code = RUN_ALL_TESTS();
    }
    sumbrook::stopDisplay(d);
    return code;
}
