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
#include <tuple>

TEST(StayAboveOwnerTest, MakesATransientToolOfTheOwnerThatAModalDialogCovers) {
    QWidget Main;
    Main.show();
    QWidget Tool(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
    auto* Button = new QPushButton(QStringLiteral("Rotiere"), &Tool);
    int Clicks = 0;
    QObject::connect(Button, &QPushButton::clicked, [&] { ++Clicks; });
    // A click as the window system delivers it, which a modal dialog blocks; the clicks so far.
    const auto Click = [&] {
        QTest::mouseClick(Tool.windowHandle(), Qt::LeftButton, {}, Button->geometry().center());
        return Clicks;
    };
    StayAboveOwner(&Tool, &Main);
    Tool.show();
    ASSERT_NE(Tool.windowHandle(), nullptr);
    EXPECT_EQ(std::tuple(Tool.parentWidget(), int(Tool.windowType()), Tool.windowHandle()->transientParent(),
                         Tool.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint)),
              std::tuple(&Main, int(Qt::Tool), Main.windowHandle(), false));
    EXPECT_EQ(Click(), 1);
    // While a modal dialog of the owner is up, the tool stays shown and owned as before,
    // but the dialog has the keyboard and the tool takes no click.
    QDialog Dialog(&Main);
    bool Checked = false;
    QTimer::singleShot(0, &Dialog, [&] {
        Checked = true;
        EXPECT_EQ(std::tuple(Tool.isVisible(), Tool.windowHandle()->transientParent(),
                             Dialog.windowHandle()->transientParent(), QApplication::activeModalWidget(),
                             Click()),
                  std::tuple(true, Main.windowHandle(), Main.windowHandle(), &Dialog, 1));
        Dialog.accept();
    });
    Dialog.exec();
    EXPECT_TRUE(Checked);
    EXPECT_EQ(std::pair(Click(), Tool.isVisible()), std::pair(2, true)); // the dialog gone, it answers again
}
