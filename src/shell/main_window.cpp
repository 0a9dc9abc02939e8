#include "shell/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLoggingCategory>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "moviehost/movie_bytes.h"
#include "moviehost/movie_player.h"
#include "shell/help_document.h"
#include "shell/help_window.h"
#include "shell/shell_globals.h"
#include "shell/window_arithmetic.h"
#include "themes/menu_font.h"
#include "themes/private_profile.h"
#include "themes/skin_api.h"
#include "themes/theme_controller.h"
#include "themes/theme_dialog.h"
#include "worksheet/ui/quizwright_window.h"

namespace sumbrook {

namespace {

Q_LOGGING_CATEGORY(shellLog, "sumbrook.shell")

const QString kTitle = QStringLiteral("SumbrookV2.0");

QSize primaryScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().size() : QSize(800, 600);
}

// The screen less the panels the desktop keeps on it.
QRect primaryWorkArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

}  // namespace

MainWindow::MainWindow(ShellGlobals& globals, QWidget* parent)
    : QMainWindow(parent),
      globals_(globals),
      openDocument_([this](const QUrl& url) { return openHelpWindow(url); }) {
    // The form as declared: 605 × 429 at (50, 50) with an empty title; the created
    // handler replaces both.
    setObjectName(QStringLiteral("主窗口"));
    setWindowIcon(QIcon(QStringLiteral(":/shell/sumbrook.svg")));
    setGeometry(50, 50, 605, 429);

    clock_ = new QTimer(this);
    clock_->setObjectName(QStringLiteral("时钟1"));
    connect(clock_, &QTimer::timeout, this, &MainWindow::MovieCommandPoll);

    // A window manager that never puts the window exactly where it was asked to (one that
    // keeps windows inside the screen, say) ends a change of frame and place this late.
    changeOver_.setSingleShot(true);
    changeOver_.setInterval(1500);
    connect(&changeOver_, &QTimer::timeout, this, [this] {
        if (geometry() != asked_) {
            qCInfo(shellLog).nospace()
                << "the window system keeps the window at " << geometry() << ", not at " << asked_
                << " as asked; the scene is laid out where it is";
        }
        endWindowSystemChange();
    });

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
    MenuFont::apply(*bar);
}

void MainWindow::MainWindowCreated() {
    if (ThemeController* themes = globals_.themes()) {
        themes->applySavedTheme();
    }
    setWindowTitle(kTitle);
    clock_->start(kPollMilliseconds);
    setOuterWidth(startOuterWidth());
    move(startPlace());
    startRect_ = geometry();
    if (MoviePlayer* player = globals_.player()) {
        const QRect client = label_->geometry();
        player->Create(label_, 0, 0, client.width(), client.height());
        player->LoadMovieFromMemory(movieBytes());
        // The keys that stand for the scene's keypad reach the scene: it holds the
        // window's keyboard focus from the start.
        if (QWidget* scene = player->HostWindow()) {
            label_->setFocusProxy(scene);
            scene->setFocus();
        }
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

int MainWindow::startOuterWidth() const {
    return WindowArithmetic::FittingOuterWidth(primaryWorkArea().size(), frameExtraWidth(),
                                               frameGeometry().height() - clientRect().height(),
                                               WindowArithmetic::kStartWidth);
}

QPoint MainWindow::startPlace() const {
    const QRect outer = frameGeometry();
    // A window narrowed to fit stays centred.
    const QPoint centred = WindowArithmetic::StartPlacement(primaryScreenSize(), outer.height()) +
                           QPoint((WindowArithmetic::kStartWidth - outer.width()) / 2, 0);
    return WindowArithmetic::KeptInside(QRect(centred, outer.size()), primaryWorkArea());
}

bool MainWindow::fillsAnArea() const {
    return fullScreen_ || (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0;
}

void MainWindow::ApplyAspectRule() {
    if (fillsAnArea()) {
        layOutClientArea();
        return;
    }
    const QRect client = clientRect();
    const int outer = frameGeometry().height();
    const int wanted = WindowArithmetic::AspectOuterHeight(client.width(), outer, client.height());
    if (wanted != outer) {
        resize(width(), std::max(1, wanted - frameExtraHeight()));
    }
    layOutClientArea();
}

void MainWindow::layOutClientArea() {
    const QRect now = clientRect();
    label_->setGeometry(now);
    if (MoviePlayer* player = globals_.player()) {
        player->Move(0, 0, now.width(), now.height());
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == menuBar() && event->type() == QEvent::Resize) {
        // During a change the bar follows sizes the window has not kept.
        if (changing_) {
            layOutClientArea();
        } else {
            ApplyAspectRule();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (event->spontaneous()) {
        placeWithFirstFrame();
    }
    if (changing_ && event->spontaneous()) {
        windowSystemReported();
        return;
    }
    ApplyAspectRule();
    noteSettledNormal();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (event->spontaneous()) {
        placeWithFirstFrame();
    }
    if (changing_ && event->spontaneous()) {
        windowSystemReported();
    } else {
        noteSettledNormal();
    }
}

void MainWindow::noteSettledNormal() {
    if (changing_ || fillsAnArea() || windowState() != Qt::WindowNoState || !isVisible() ||
        frameExtraWidth() <= 0) {
        return;
    }
    const QRect client = clientRect();
    const int outer = frameGeometry().height();
    if (WindowArithmetic::AspectOuterHeight(client.width(), outer, client.height()) != outer) {
        return;  // a size on the way to another, not one the window keeps
    }
    settledNormal_ = geometry();
    settledNormalOuter_ = frameGeometry();
}

void MainWindow::beginWindowSystemChange() {
    changing_ = true;
    changeOver_.stop();
}

void MainWindow::expectWindowSystemChange() {
    asked_ = geometry();
    if (!isVisible()) {
        endWindowSystemChange();
        return;
    }
    changeOver_.start();
}

void MainWindow::windowSystemReported() {
    // A window manager answers each request in turn, so the sizes before the last one asked
    // for come first: the 4:3 rule acting on them would ask for them again, after it.
    layOutClientArea();
    if (geometry() == asked_) {
        endWindowSystemChange();
    }
}

void MainWindow::endWindowSystemChange() {
    changing_ = false;
    changeOver_.stop();
    if (restoring_ && isMaximized()) {
        restoring_.reset();  // maximised again: the window system keeps the place
    }
    if (restoring_) {
        // The frame the window got back may not be the one it had before full screen (or
        // that one was not known yet, full screen having come before the first frame): the
        // saved outer corner and width are made good with the frame as it is now.
        const WindowPlacement saved = *restoring_;
        restoring_.reset();
        const QRect outer = frameGeometry();
        const int sides = frameExtraWidth();
        if (sides > 0 &&
            (outer.topLeft() != QPoint(saved.left, saved.top) || outer.width() != saved.width)) {
            beginWindowSystemChange();
            setGeometry(saved.left + (geometry().left() - outer.left()),
                        saved.top + (geometry().top() - outer.top()),
                        std::max(1, saved.width - sides), height());
            ApplyAspectRule();
            expectWindowSystemChange();
            return;
        }
    }
    ApplyAspectRule();
    noteSettledNormal();
}

void MainWindow::placeWithFirstFrame() {
    if (startFramed_ || frameExtraWidth() <= 0) {
        return;
    }
    startFramed_ = true;
    // Only a window that still stands as the created handler put it, frame corner and
    // size, and has not been full screen.
    if (globals_.savedWindowPlacement().width != 0 ||
        frameGeometry().topLeft() != startRect_.topLeft() || size() != startRect_.size()) {
        return;
    }
    setOuterWidth(startOuterWidth());
    move(startPlace());
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

void MainWindow::setFrameless(bool frameless) {
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::FramelessWindowHint, frameless);
    if (flags == windowFlags()) {
        return;
    }
    QWindow* native = windowHandle();
    if (native == nullptr || !testAttribute(Qt::WA_WState_Created)) {
        // Not on the screen yet: the window is made with these flags.
        setWindowFlags(flags);
        return;
    }
    // Only the frame hint of the window that is up changes, and the window manager takes
    // the frame away or gives it back around it. setWindowFlags would take the window off
    // the screen and bring a new one up, which a window manager places by rules of its own
    // (some make an unframed window as big as the screen a full-screen window of theirs, to
    // be put back later at a rectangle they kept).
    overrideWindowFlags(flags);
    native->setFlags(flags);
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
    windowedFrame_ =
        QMargins(geometry().left() - outer.left(), geometry().top() - outer.top(),
                 outer.right() - geometry().right(), outer.bottom() - geometry().bottom());
    // A maximised window keeps the place it is restored to, and is maximised again after.
    maximisedBeforeFullScreen_ = isMaximized() && keptNormal_.isValid();
    QRect kept = outer;
    if (maximisedBeforeFullScreen_) {
        // Maximised, the window has no side borders: its kept frame is the one to go back to.
        kept = keptNormalOuter_.isValid() ? keptNormalOuter_ : keptNormal_ + windowedFrame_;
    }
    globals_.savedWindowPlacement() = {kept.x(), kept.y(), kept.width()};
    beginWindowSystemChange();
    fullScreen_ = true;
    if (maximisedBeforeFullScreen_) {
        setWindowState(windowState() & ~Qt::WindowMaximized);
    }
    setFrameless(true);
    // Without a frame the window's own rectangle is its outer one. It is not raised above
    // other windows.
    setGeometry(QRect(QPoint(0, 0), primaryScreenSize()));
    showMenus(false);
    expectWindowSystemChange();
    setVariable(QStringLiteral("quanping"), QStringLiteral("1"));
}

void MainWindow::LeaveFullScreen() {
    setVariable(QStringLiteral("dongzuo"), QStringLiteral("0"));
    beginWindowSystemChange();
    fullScreen_ = false;
    setFrameless(false);
    const WindowPlacement saved = globals_.savedWindowPlacement();
    // Before the first full screen nothing was kept: a width of 0 would leave no window.
    if (saved.width > 0) {
        restoring_ = saved;
        // The saved place is the outer one, and the frame coming back is the one the window
        // had. The window's own rectangle is asked for, which the window system keeps as it
        // is while it puts the frame around: asking for the outer corner would depend on
        // when the window system knows the frame again.
        const int width = std::max(1, saved.width - windowedFrame_.left() - windowedFrame_.right());
        setGeometry(saved.left + windowedFrame_.left(), saved.top + windowedFrame_.top(), width,
                    height());
        ApplyAspectRule();
    }
    showMenus(true);
    setVariable(QStringLiteral("quanping"), QStringLiteral("0"));
    if (ThemeController* themes = globals_.themes()) {
        themes->applySavedTheme();
    }
    // The theme's menu bar may be taller or shorter than the system look's.
    ApplyAspectRule();
    if (maximisedBeforeFullScreen_) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    expectWindowSystemChange();
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
    const QString path = HelpDocument::pathInUse(PrivateProfile::programDirectory());
    if (HelpDocument::writeIfAbsent(path)) {
        openDocument_(QUrl::fromLocalFile(path));
        return;
    }
    qCWarning(shellLog).noquote()
        << QStringLiteral(
               "the help document cannot be written at %1; the program's own copy "
               "is shown")
               .arg(path);
    showHelpText(HelpDocument::text(HelpDocument::bytes()));
}

bool MainWindow::openHelpWindow(const QUrl& file) {
    // Bounded: a file the user replaced with something huge is not read whole.
    constexpr qint64 kMaxHelpBytes = 4 * 1024 * 1024;
    QFile document(file.toLocalFile());
    QByteArray bytes;
    if (document.open(QIODevice::ReadOnly)) {
        bytes = document.read(kMaxHelpBytes);
    } else {
        qCWarning(shellLog).noquote()
            << QStringLiteral(
                   "the help document %1 cannot be read; the program's own copy is "
                   "shown")
                   .arg(document.fileName());
        bytes = HelpDocument::bytes();
    }
    showHelpText(HelpDocument::text(bytes));
    return true;
}

void MainWindow::showHelpText(const QString& text) {
    if (helpWindow_ != nullptr) {
        helpWindow_->close();
    }
    helpWindow_ = new HelpWindow(text, this);
    helpWindow_->setAttribute(Qt::WA_DeleteOnClose);
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

void MainWindow::ExitProgram() {
    QCoreApplication::exit(0);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    const Qt::WindowStates filling = Qt::WindowMaximized | Qt::WindowFullScreen;
    const bool filled = (static_cast<QWindowStateChangeEvent*>(event)->oldState() & filling) != 0;
    const bool fills = (windowState() & filling) != 0;
    if (!filled && fills) {
        // Maximised again on leaving full screen, the window is restored to where it was
        // before full screen, not to the screen-wide rectangle full screen left behind.
        if (!maximisedBeforeFullScreen_) {
            keptNormal_ = settledNormal_.isValid() ? settledNormal_ : normalGeometry();
            keptNormalOuter_ = settledNormal_.isValid() ? settledNormalOuter_ : QRect();
        }
        maximisedBeforeFullScreen_ = false;
    } else if (filled && !fills && !fullScreen_ && isVisible() && keptNormal_.isValid()) {
        // Back from maximised: the window system's sizes on the way back are not the user's,
        // and the 4:3 rule acting on the maximised width would make the window too tall.
        beginWindowSystemChange();
        setGeometry(keptNormal_);
        // Checked once the window manager is done: it may put its own kept frame back.
        if (keptNormalOuter_.isValid()) {
            restoring_ = WindowPlacement{keptNormalOuter_.x(), keptNormalOuter_.y(),
                                         keptNormalOuter_.width()};
        }
        expectWindowSystemChange();
        return;
    }
    ApplyAspectRule();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // No question asked: closing the window ends the program.
    event->accept();
    QCoreApplication::exit(0);
}

}  // namespace sumbrook
