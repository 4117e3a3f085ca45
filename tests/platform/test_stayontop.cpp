// A tool window stays above its owner as its transient, never above every window, so
// a modal dialog opened while it is up lies above it under any window manager.
#include "StayOnTop.h"

#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

TEST(StayOnTopTest, StepsBackWhileAModalDialogBlocksIt) {
    QWidget Main;
    Main.show();
    QWidget Tool(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
    StayAboveOwner(&Tool, &Main);
    Tool.show();
    ASSERT_NE(Tool.windowHandle(), nullptr);
    EXPECT_EQ(Tool.parentWidget(), &Main);
    EXPECT_EQ(Tool.windowType(), Qt::Tool);
    EXPECT_EQ(Tool.windowHandle()->transientParent(), Main.windowHandle());
    EXPECT_FALSE(Tool.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));

    QDialog Dialog(&Main);
    bool OnTopWhileModal = true;
    QTimer::singleShot(0, &Dialog, [&] {
        OnTopWhileModal = Tool.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
        Dialog.accept();
    });
    Dialog.exec();
    EXPECT_FALSE(OnTopWhileModal);
    EXPECT_FALSE(Tool.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(Tool.isVisible());
}
