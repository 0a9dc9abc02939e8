// The scene's art and sound need an application and the movie, registered here straight
// from the embedded bytes; the tests run offscreen.
#include <gtest/gtest.h>
#include <unistd.h>
#include <QApplication>
#include <cstdio>

#include "moviehost/movie_bytes.h"
#include "practice/scene/scene_bundle.h"

// Under the leak checker: GStreamer's PulseAudio sink keeps one process-wide connection
// whose bookkeeping is never freed before exit, and under a real X display Qt's D-Bus
// thread leaves one block that libdbus allocated for itself. Both are theirs; nothing of
// ours is hidden by naming those libraries.
extern "C" void __lsan_do_leak_check();
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libpulse.so\n"
           "leak:libdbus-1.so\n";
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int status = 0;
    {
        QApplication app(argc, argv);
        const sumbrook::SceneBundle movie(sumbrook::movieBytes());
        ::testing::InitGoogleTest(&argc, argv);
        status = RUN_ALL_TESTS();
    }
    // PulseAudio's main-loop thread, which GStreamer's sink keeps for the whole process, can
    // still be tearing down its events while the process runs its exit handlers, and has
    // aborted there after every test had passed. The leak check runs here, once the
    // application is gone, and the process ends without exit handlers.
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check();
#endif
    std::fflush(nullptr);
    _exit(status);
}
