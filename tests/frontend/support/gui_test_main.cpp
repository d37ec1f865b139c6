// The main of every GUI test program: Qt's offscreen platform (no display needed) and one
// application object for the test. Listing the tests creates no application, so the build's
// test discovery needs no platform at all.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
