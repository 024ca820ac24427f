#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// Every test binary runs with a QApplication on Qt's offscreen platform, so GUI code can be
// tested without a display and nobody has to set anything up.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
