#include "shell/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "moviehost/movie_bytes.h"
#include "moviehost/movie_player.h"
#include "shell/help_document.h"
#include "shell/shell_globals.h"
#include "shell/window_arithmetic.h"
#include "themes/private_profile.h"
#include "themes/skin_api.h"
#include "themes/theme_controller.h"
#include "themes/theme_dialog.h"
#include "worksheet/ui/quizwright_window.h"

namespace sumbrook {

namespace {

const QString kTitle = QStringLiteral("SumbrookV2.0");

QSize primaryScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().size() : QSize(800, 600);
}

}  // namespace

MainWindow::MainWindow(ShellGlobals& globals, QWidget* parent)
    : QMainWindow(parent),
      globals_(globals),
      openDocument_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    // The form as declared: 605 × 429 at (50, 50) with an empty title; the created
    // handler replaces both.
    setObjectName(QStringLiteral("主窗口"));
    setWindowIcon(QIcon(QStringLiteral(":/shell/sumbrook.svg")));
    setGeometry(50, 50, 605, 429);

    clock_ = new QTimer(this);
    clock_->setObjectName(QStringLiteral("时钟1"));
    connect(clock_, &QTimer::timeout, this, &MainWindow::MovieCommandPoll);

    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("标签1"));
    setCentralWidget(label_);

    buildMenu();
    MainWindowCreated();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenu() {
    QMenuBar* bar = menuBar();
    // In the window on every desktop: full screen hides it, and the aspect rule counts it.
    bar->setNativeMenuBar(false);
    // A theme can change the bar's height, and so the client area's, without any change
    // to the window's size.
    bar->installEventFilter(this);

    programMenu_ = bar->addMenu(QStringLiteral("程序.(_&F)"));
    connect(programMenu_->addAction(QStringLiteral("Quizwright")), &QAction::triggered, this,
            &MainWindow::OpenWorksheetTool);
    programMenu_->addSeparator();
    connect(programMenu_->addAction(QStringLiteral("更换主题")), &QAction::triggered, this,
            &MainWindow::OpenThemeChooser);
    connect(programMenu_->addAction(QStringLiteral("全屏显示")), &QAction::triggered, this,
            &MainWindow::EnterFullScreen);
    programMenu_->addSeparator();
    connect(programMenu_->addAction(QStringLiteral("退出")), &QAction::triggered, this,
            &MainWindow::ExitProgram);

    helpMenu_ = bar->addMenu(QStringLiteral("帮助.(_&H)"));
    connect(helpMenu_->addAction(QStringLiteral("软件说明")), &QAction::triggered, this,
            &MainWindow::ShowHelpDocument);
}

void MainWindow::MainWindowCreated() {
    if (ThemeController* themes = globals_.themes()) {
        themes->applySavedTheme();
    }
    setWindowTitle(kTitle);
    clock_->start(kPollMilliseconds);
    setOuterWidth(WindowArithmetic::kStartWidth);
    const QPoint place =
        WindowArithmetic::StartPlacement(primaryScreenSize(), frameGeometry().height());
    move(place);
    if (MoviePlayer* player = globals_.player()) {
        const QRect client = label_->geometry();
        player->Create(label_, 0, 0, client.width(), client.height());
        player->LoadMovieFromMemory(movieBytes());
        player->SetVariable(QStringLiteral("quanping"), QStringLiteral("0"));
    }
}

int MainWindow::frameExtraWidth() const {
    return frameGeometry().width() - width();
}

int MainWindow::frameExtraHeight() const {
    return frameGeometry().height() - height();
}

QRect MainWindow::clientRect() const {
    // The same height the main window's layout gives the menu bar.
    int top = 0;
    const QMenuBar* bar = menuBar();
    if (!bar->isHidden()) {
        top = bar->heightForWidth(std::max(width(), bar->minimumWidth()));
        if (top < 0) {
            top = bar->sizeHint().height();
        }
    }
    return {0, top, width(), std::max(0, height() - top)};
}

void MainWindow::setOuterWidth(int width) {
    resize(std::max(1, width - frameExtraWidth()), height());
    // A hidden window gets its resize event only when shown; the height must follow now.
    ApplyAspectRule();
}

void MainWindow::ApplyAspectRule() {
    const QRect client = clientRect();
    const int outer = frameGeometry().height();
    const int wanted = WindowArithmetic::AspectOuterHeight(client.width(), outer, client.height());
    if (wanted != outer) {
        resize(width(), std::max(1, wanted - frameExtraHeight()));
    }
    const QRect now = clientRect();
    label_->setGeometry(now);
    if (MoviePlayer* player = globals_.player()) {
        player->Move(0, 0, now.width(), now.height());
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == menuBar() && event->type() == QEvent::Resize) {
        ApplyAspectRule();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    ApplyAspectRule();
}

void MainWindow::MovieCommandPoll() {
    MoviePlayer* player = globals_.player();
    if (player == nullptr) {
        return;
    }
    const QString command = player->GetVariable(QStringLiteral("dongzuo"));
    // Compared as it is, case and all; an absent value is the empty text.
    if (command == globals_.lastMovieCommand()) {
        return;
    }
    globals_.lastMovieCommand() = command;
    if (command == QStringLiteral("tuicu")) {
        LeaveFullScreen();
    }
}

bool MainWindow::setFrameless(bool frameless) {
    const bool shown = isVisible();
    if (windowFlags().testFlag(Qt::FramelessWindowHint) != frameless) {
        // This takes the window off the screen. The caller places it before showing it
        // again: a window manager frames and places a window that is being shown by its
        // outer edge, while for a shown one it has only just dropped or added the frame.
        setWindowFlag(Qt::FramelessWindowHint, frameless);
    }
    return shown;
}

void MainWindow::showMenus(bool shown) {
    programMenu_->menuAction()->setVisible(shown);
    helpMenu_->menuAction()->setVisible(shown);
    // An empty bar takes no room: the client area then starts at the window's top.
    menuBar()->setVisible(shown);
    // The client area changed without the window's size changing.
    ApplyAspectRule();
}

void MainWindow::EnterFullScreen() {
    if (SkinApi* skin = globals_.skin()) {
        skin->detach();
    }
    const QRect outer = frameGeometry();
    globals_.savedWindowPlacement() = {outer.x(), outer.y(), outer.width()};
    windowedFrameWidth_ = frameExtraWidth();
    const bool shown = setFrameless(true);
    showMenus(false);
    const QSize screen = primaryScreenSize();
    // Without a frame the window's own rectangle is its outer one.
    setGeometry(QRect(QPoint(0, 0), screen));
    ApplyAspectRule();
    // On a 4:3 screen the window covers the screen exactly. Window managers take an
    // undecorated window asking for exactly the screen as a full-screen one of their own
    // making and may keep its earlier rectangle instead; said in their terms, the request is
    // kept. It is still not raised above other windows.
    if (size() == screen) {
        setWindowState(windowState() | Qt::WindowFullScreen);
    }
    if (shown) {
        show();
    }
    setVariable(QStringLiteral("quanping"), QStringLiteral("1"));
}

void MainWindow::LeaveFullScreen() {
    setVariable(QStringLiteral("dongzuo"), QStringLiteral("0"));
    const bool shown = setFrameless(false);
    setWindowState(windowState() & ~Qt::WindowFullScreen);
    const WindowPlacement saved = globals_.savedWindowPlacement();
    // Before the first full screen nothing was kept: a width of 0 would leave no window.
    if (saved.width > 0) {
        // The frame coming back is the one the window had; the system knows it again
        // only once the window is shown.
        resize(std::max(1, saved.width - windowedFrameWidth_), height());
        ApplyAspectRule();
        // Left and top edge in one step: while the window is off the screen its outer
        // rectangle is not known, so one edge cannot be read back to set the other.
        move(saved.left, saved.top);
    }
    showMenus(true);
    if (shown) {
        show();
    }
    setVariable(QStringLiteral("quanping"), QStringLiteral("0"));
    if (ThemeController* themes = globals_.themes()) {
        themes->applySavedTheme();
    }
}

void MainWindow::setVariable(const QString& name, const QString& value) {
    if (MoviePlayer* player = globals_.player()) {
        player->SetVariable(name, value);
    }
}

void MainWindow::OpenWorksheetTool() {
    hide();
    QuizwrightWindow window(this);
    connect(&window, &QuizwrightWindow::finishedWithReturn, this, [this](bool back) {
        if (back) {
            show();
        } else {
            close();
        }
    });
    window.exec();
}

void MainWindow::OpenThemeChooser() {
    if (ThemeController* themes = globals_.themes()) {
        ThemeDialog dialog(*themes, this);
        dialog.exec();
    }
}

void MainWindow::ShowHelpDocument() {
    const QString path = HelpDocument::path(PrivateProfile::programDirectory());
    // Without the file (a read-only directory) there is nothing to open.
    if (!HelpDocument::writeIfAbsent(path)) {
        return;
    }
    openDocument_(QUrl::fromLocalFile(path));
}

void MainWindow::ExitProgram() {
    QCoreApplication::exit(0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // No question asked: closing the window ends the program.
    event->accept();
    QCoreApplication::exit(0);
}

}  // namespace sumbrook
