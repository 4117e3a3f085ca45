// A tool window stays above its owner as its transient, never above every window, so
// a modal dialog opened while it is up lies above it under any window manager.
#include "StayAboveOwner.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

namespace {
// A click on W as the window system delivers it, which a modal dialog can block.
void Click(QWidget* W) {
    QTest::mouseClick(W->window()->windowHandle(), Qt::LeftButton, {},
                      W->mapTo(W->window(), W->rect().center()));
}
} // namespace

TEST(StayAboveOwnerTest, MakesATransientToolOfTheOwnerThatAModalDialogCovers) {
    QWidget Main;
    Main.show();
    QWidget Tool(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
    auto* Button = new QPushButton(QStringLiteral("Rotiere"), &Tool);
    int Clicks = 0;
    QObject::connect(Button, &QPushButton::clicked, [&] { ++Clicks; });
    StayAboveOwner(&Tool, &Main);
    Tool.show();
    ASSERT_NE(Tool.windowHandle(), nullptr);
    EXPECT_EQ(Tool.parentWidget(), &Main);
    EXPECT_EQ(Tool.windowType(), Qt::Tool);
    EXPECT_EQ(Tool.windowHandle()->transientParent(), Main.windowHandle());
    EXPECT_FALSE(Tool.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    Click(Button);
    EXPECT_EQ(Clicks, 1);

    // While a modal dialog of the owner is up, the tool stays where it is, shown and
    // owned as before, but the dialog has the keyboard and the tool takes no click.
    QDialog Dialog(&Main);
    bool Checked = false;
    QTimer::singleShot(0, &Dialog, [&] {
        Checked = true;
        EXPECT_TRUE(Tool.isVisible());
        EXPECT_EQ(Tool.windowHandle()->transientParent(), Main.windowHandle());
        EXPECT_EQ(Dialog.windowHandle()->transientParent(), Main.windowHandle());
        EXPECT_EQ(QApplication::activeModalWidget(), &Dialog);
        Click(Button);
        EXPECT_EQ(Clicks, 1);
        Dialog.accept();
    });
    Dialog.exec();
    EXPECT_TRUE(Checked);
    // The dialog gone, the tool answers again.
    Click(Button);
    EXPECT_EQ(Clicks, 2);
    EXPECT_TRUE(Tool.isVisible());
}
