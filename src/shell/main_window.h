#pragma once

#include <QMainWindow>
#include <QMargins>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <optional>

#include "shell/help_window.h"
#include "shell/window_placement.h"

class QLabel;
class QMenu;
class QTimer;

namespace sumbrook {

class ShellGlobals;

// The program's one top-level frame: the practice scene's player fills the client area
// below the menu bar, which keeps the stage's 4:3 shape at any width, except in full
// screen and maximised, where it takes the area given and the scene stands letterboxed in
// it; it starts no larger than the work area. The menu opens
// Quizwright, the theme chooser, full screen, the help document and the exit. The window
// and the scene talk only through the scene's two variables: `quanping` tells the scene
// whether the window fills the screen, and a "tuicu" that the scene writes into `dongzuo`,
// seen by the 500 ms poll, brings the window back from full screen. The player, the theme
// state and the shell's state are the process-wide objects' (ShellGlobals); once those are
// released the handlers do nothing. Closing the window ends the program.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kPollMilliseconds = 500;

    // Shows the help document's file; true when it is shown.
    using DocumentOpener = std::function<bool(const QUrl&)>;

    // Builds the window as declared and runs its created handler (MainWindowCreated):
    // the saved theme, title, timer, size, place, and the player with the movie in it.
    explicit MainWindow(ShellGlobals& globals, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Replaces the help window (openHelpWindow) as the help document's viewer.
    void setDocumentOpener(DocumentOpener opener) { openDocument_ = std::move(opener); }

    // --- handlers of the window's events and menu items
    void MainWindowCreated();
    void ApplyAspectRule();
    void MovieCommandPoll();
    void EnterFullScreen();
    void LeaveFullScreen();
    void OpenWorksheetTool();
    void OpenThemeChooser();
    void ShowHelpDocument();
    // "退出": ends the program at once.
    void ExitProgram();

    // The client area: the part of the window below the menu bar, in window coordinates.
    QRect clientRect() const;

    // The help window with the file's text (the carried document when the file cannot be
    // read), in place of one already open. The window is there while it is shown.
    bool openHelpWindow(const QUrl& file);
    HelpWindow* helpWindow() const { return helpWindow_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void buildMenu();
    void setOuterWidth(int width);
    // The start width, narrowed until the 4:3 window fits the work area with its frame.
    int startOuterWidth() const;
    // The start place, kept inside the work area.
    QPoint startPlace() const;
    // Full screen or maximised: the window keeps the area it was given, whatever its shape,
    // and the scene stands letterboxed in it.
    bool fillsAnArea() const;
    void showMenus(bool shown);
    // Gives the window its frame or takes it away, in place: a window that is up stays up.
    void setFrameless(bool frameless);
    // Moves 标签1 and the player over the client area as it is now.
    void layOutClientArea();
    // While the window system carries out a change of frame and place that the shell asked
    // for, the sizes it reports on the way are not the user's: they only lay the client area
    // out. The change is over once the window stands where it was asked to, or after a while.
    void beginWindowSystemChange();
    void expectWindowSystemChange();
    void endWindowSystemChange();
    void windowSystemReported();
    void noteSettledNormal();
    // Once a window system that frames windows after they are shown has framed the new
    // window, the created handler's outer width and place are made good with that frame.
    void placeWithFirstFrame();
    int frameExtraWidth() const;
    int frameExtraHeight() const;
    void setVariable(const QString& name, const QString& value);
    void showHelpText(const QString& text);

    ShellGlobals& globals_;
    DocumentOpener openDocument_;
    QPointer<HelpWindow> helpWindow_;

    QTimer* clock_ = nullptr;  // 时钟1
    QLabel* label_ = nullptr;  // 标签1
    QMenu* programMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    // The frame around the window before full screen, by side.
    QMargins windowedFrame_;
    bool fullScreen_ = false;  // full screen by "全屏显示", until the scene's way back
    QRect keptNormal_;         // the window's own rectangle before it was maximised
    QRect keptNormalOuter_;    // and its frame's
    // The window's own rectangle and its frame's when last seen standing, framed, in the
    // normal state, 4:3 below the menu bar: what maximising keeps to be restored. Read then
    // rather than when maximising is reported, which may come after the window manager has
    // begun to change the frame.
    QRect settledNormal_;
    QRect settledNormalOuter_;
    bool maximisedBeforeFullScreen_ = false;
    bool changing_ = false;  // a change of frame and place is under way
    QRect asked_;            // the window's rectangle it was asked to take
    QTimer changeOver_;
    // Where the frame is to stand once leaving full screen is over, checked then.
    std::optional<WindowPlacement> restoring_;
    // The rectangle the created handler gave the window, before any frame was known.
    QRect startRect_;
    bool startFramed_ = false;
};

}  // namespace sumbrook
