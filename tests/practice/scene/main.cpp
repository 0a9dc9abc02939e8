// The scene's art and sound need an application and the movie, registered here straight
// from the embedded bytes; the tests run offscreen.
#include <gtest/gtest.h>
#include <QApplication>

#include "moviehost/movie_bytes.h"
#include "practice/scene/scene_bundle.h"

// Under the leak checker: GStreamer's PulseAudio sink keeps one process-wide connection
// whose bookkeeping is never freed before exit, and under a real X display Qt's D-Bus
// thread leaves one block that libdbus allocated for itself. Both are theirs; nothing of
// ours is hidden by naming those libraries.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libpulse.so\n"
           "leak:libdbus-1.so\n";
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const sumbrook::SceneBundle movie(sumbrook::movieBytes());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
