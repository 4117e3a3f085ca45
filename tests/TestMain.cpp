// Test entry point: a headless application for the widget and font tests.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    return RUN_ALL_TESTS();
}
