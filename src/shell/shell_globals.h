#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "moviehost/scene_services.h"
#include "shell/window_placement.h"

namespace sumbrook {

class CodePatchHook;
class FilteredWindowList;
class MemoryFileTable;
class MemoryModule;
class MoviePlayer;
class SkinApi;
class ThemeController;

// The program's process-wide objects, from start-up to the end of the program: the movie
// player with the filtered windows, file-open hook and memory files it uses, the skin
// module with the theme state over it, and the shell's own state (the last command seen
// from the scene, the place kept for leaving full screen). ShutdownRoutine releases them
// in their fixed order, once, however the program ends: when the event loop ends (the
// menu's "退出", the close box, SIGTERM or SIGINT), or at the latest when this object goes.
// After it, every accessor gives null and the shell's handlers do nothing.
class ShellGlobals {
  public:
    // Gives the skin seam over the loaded skin module; tests record the calls instead.
    using SkinFactory = std::function<std::unique_ptr<SkinApi>(const MemoryModule&)>;

    // The program directory (PrivateProfile::programDirectory) holds the configuration
    // file and is where the movie is served; the scene is built from `services`.
    explicit ShellGlobals(SceneServices services, SkinFactory skin = {});
    ~ShellGlobals();
    ShellGlobals(const ShellGlobals&) = delete;
    ShellGlobals& operator=(const ShellGlobals&) = delete;

    // Loads the skin module from the bytes the program carries; the result is only
    // reported, start-up goes on without skins.
    bool LoadSkinModule();

    // Releases, in this order: the player (its scene writes the progress store as it
    // goes); the last command and the theme state; the skin module; the filtered windows;
    // the file-open hook, removed first; the memory files. Later calls do nothing.
    void ShutdownRoutine();
    bool isShutDown() const { return shutDown_; }

    MoviePlayer* player() const { return player_.get(); }
    MemoryModule* skinModule() const { return skinModule_.get(); }
    SkinApi* skin() const { return skin_.get(); }
    ThemeController* themes() const { return themes_.get(); }
    FilteredWindowList* filteredWindows() const { return filteredWindows_.get(); }
    CodePatchHook* patchHook() const { return patchHook_.get(); }
    MemoryFileTable* memoryFiles() const { return memoryFiles_.get(); }

    // LastMovieCommand: the last value of `dongzuo` the poll saw; absent and empty are
    // the same text.
    QString& lastMovieCommand() { return lastMovieCommand_; }
    // SavedWindowPlacement: where the window stood before full screen, 0s before.
    WindowPlacement& savedWindowPlacement() { return savedWindowPlacement_; }

  private:
    std::unique_ptr<MemoryFileTable> memoryFiles_;
    std::unique_ptr<CodePatchHook> patchHook_;
    std::unique_ptr<FilteredWindowList> filteredWindows_;
    std::unique_ptr<MemoryModule> skinModule_;
    std::unique_ptr<SkinApi> skin_;
    std::unique_ptr<ThemeController> themes_;
    std::unique_ptr<MoviePlayer> player_;
    QString lastMovieCommand_;
    WindowPlacement savedWindowPlacement_;
    // Ties the routine to the end of the event loop for as long as this object lives.
    QObject loopEnd_;
    bool shutDown_ = false;
};

}  // namespace sumbrook
