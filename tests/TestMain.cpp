// Test entry point: a headless application for the widget and font tests, failing
// any test at once on a modal window it does not expect.
#include "test_drive_events.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    drive::FailUnexpectedModals();
    return RUN_ALL_TESTS();
}
