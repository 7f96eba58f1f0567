#include <QApplication>

#include <gtest/gtest.h>

// Every test program runs with a QApplication on the platform CTest chose
// (offscreen), so widgets and images work without a display.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
