// The scene's art and sound need an application and the compiled-in assets; the tests
// run offscreen.
#include <gtest/gtest.h>
#include <QApplication>

#include "practice/scene/scene_assets.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    sumbrook::initSceneAssets();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
