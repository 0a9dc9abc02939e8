// Painting text and driving widgets need an application; the tests run it offscreen.
#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv) {
#ifdef SUMBROOK_OFFSCREEN_CONFIG
    // A screen of its own size, for tests that place windows on it.
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" SUMBROOK_OFFSCREEN_CONFIG);
#else
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
