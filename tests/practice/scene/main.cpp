// The scene's art and sound need an application and the compiled-in assets; the tests
// run offscreen.
#include <gtest/gtest.h>
#include <QApplication>

#include "practice/scene/scene_assets.h"

// Under the leak checker: GStreamer's PulseAudio sink keeps one process-wide connection
// whose bookkeeping is never freed before exit. It is theirs, allocated by libpulse;
// nothing of ours is hidden by naming that library.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libpulse.so\n";
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    sumbrook::initSceneAssets();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
