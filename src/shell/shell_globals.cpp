#include "shell/shell_globals.h"

#include <QCoreApplication>
#include <utility>

#include "moviehost/code_patch_hook.h"
#include "moviehost/filtered_window_list.h"
#include "moviehost/intercepted_open.h"
#include "moviehost/memory_file_table.h"
#include "moviehost/movie_player.h"
#include "themes/memory_module.h"
#include "themes/module_skin.h"
#include "themes/private_profile.h"
#include "themes/refusing_module_platform.h"
#include "themes/skin_api.h"
#include "themes/skin_module_bytes.h"
#include "themes/theme_controller.h"

namespace sumbrook {

ShellGlobals::ShellGlobals(SceneServices services, SkinFactory skin) {
    // The player keeps the filtered windows, the hook and the memory files by reference,
    // so those three come first.
    filteredWindows_ = std::make_unique<FilteredWindowList>();
    patchHook_ = std::make_unique<CodePatchHook>();
    memoryFiles_ = std::make_unique<MemoryFileTable>();
    player_ = std::make_unique<MoviePlayer>(
        MoviePlayer::ProcessObjects{*memoryFiles_, *patchHook_, *filteredWindows_,
                                    PrivateProfile::programDirectory()},
        std::move(services));
    skinModule_ = std::make_unique<MemoryModule>(processModulePlatform());
    skin_ = skin ? skin(*skinModule_) : std::make_unique<ModuleSkin>(*skinModule_);
    themes_ = std::make_unique<ThemeController>(*skin_, PrivateProfile::configPathInUse());

    if (QCoreApplication* app = QCoreApplication::instance()) {
        QObject::connect(app, &QCoreApplication::aboutToQuit, &loopEnd_,
                         [this] { ShutdownRoutine(); });
    }
}

ShellGlobals::~ShellGlobals() {
    ShutdownRoutine();
}

bool ShellGlobals::LoadSkinModule() {
    if (!skinModule_) {
        return false;
    }
    return LoadEmbeddedSkinModule(*skinModule_);
}

void ShellGlobals::ShutdownRoutine() {
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    player_.reset();
    lastMovieCommand_ = QString();
    themes_.reset();
    skin_.reset();
    skinModule_.reset();
    filteredWindows_->clear();
    filteredWindows_.reset();
    patchHook_->remove();
    patchHook_.reset();
    // No open can reach the table once the hook is gone; the interceptor forgets it too.
    InterceptedOpen::Serve(nullptr, {});
    memoryFiles_.reset();
}

}  // namespace sumbrook
