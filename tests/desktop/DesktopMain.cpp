// Entry point of the desktop tests: a real X display with a window manager, which
// tests/desktop/run-desktop-tests provides.
#include "test_drive_events.h"

#include <QApplication>
#include <cstdio>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariable("QT_QPA_PLATFORM") != QLatin1String("xcb") ||
        qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "Run these tests through tests/desktop/run-desktop-tests.\n");
        return 1;
    }
    QApplication App(argc, argv);
    drive::FailUnexpectedModals();
    return RUN_ALL_TESTS();
}
