// A stay-on-top tool window steps back while a modal dialog is up, and comes
// back on top once the dialog is gone.
#include "StayOnTop.h"

#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

TEST(StayOnTopTest, StepsBackWhileAModalDialogBlocksIt) {
    QWidget Main;
    Main.show();
    QWidget Tool(&Main, Qt::Tool);
    StayOnTopBelowModals(&Tool);
    Tool.show();
    ASSERT_NE(Tool.windowHandle(), nullptr);
    EXPECT_TRUE(Tool.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));

    QDialog Dialog(&Main);
    bool OnTopWhileModal = true;
    QTimer::singleShot(0, &Dialog, [&] {
        OnTopWhileModal = Tool.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
        Dialog.accept();
    });
    Dialog.exec();
    EXPECT_FALSE(OnTopWhileModal);
    EXPECT_TRUE(Tool.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(Tool.isVisible());
}
