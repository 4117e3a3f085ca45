// Fitting a window's frame into an area, and a free window's frame corner where no
// window manager frames it (the desktop tests cover a window manager).
#include "FramePlacement.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

TEST(FramePlacementTest, AFrameIsMovedAndCutIntoTheArea) {
    const QRect Area(0, 0, 1260, 970);
    EXPECT_EQ(FitFrameToArea(QRect(10, 10, 627, 500), Area), QRect(10, 10, 627, 500));
    // Far off the screen: moved back, whole.
    EXPECT_EQ(FitFrameToArea(QRect(3000, 2500, 922, 825), Area), QRect(338, 145, 922, 825));
    EXPECT_EQ(FitFrameToArea(QRect(-3000, -2500, 922, 825), Area), QRect(0, 0, 922, 825));
    // Larger than the area: cut to it, from its corner.
    EXPECT_EQ(FitFrameToArea(QRect(400, 300, 1262, 1025), Area), Area);
    const QRect Shifted(100, 30, 800, 600);
    EXPECT_EQ(FitFrameToArea(QRect(0, 0, 900, 700), Shifted), Shifted);
    EXPECT_EQ(FitFrameToArea(QRect(850, 620, 100, 50), Shifted), QRect(800, 580, 100, 50));
}

TEST(FramePlacementTest, TheFrameCornerGoesWhereItIsAskedWhoeverResizesAfterwards) {
    QWidget Parent;
    QWidget Child(&Parent);
    MoveFrameTo(&Child, QPoint(7, 9)); // inside a window: a plain move
    EXPECT_EQ(Child.pos(), QPoint(7, 9));
    EXPECT_FALSE(FramePlacementPending(&Child));

    QWidget Free;
    Free.resize(200, 100);
    MoveFrameTo(&Free, QPoint(30, 40)); // not shown yet
    Free.show();
    QApplication::processEvents();
    EXPECT_EQ(Free.frameGeometry().topLeft(), QPoint(30, 40));
    MoveFrameTo(&Free, QPoint(1, 1));
    Free.resize(300, 150);
    QApplication::processEvents();
    EXPECT_EQ(Free.frameGeometry().topLeft(), QPoint(1, 1));
    EXPECT_EQ(Free.size(), QSize(300, 150));
    EXPECT_EQ(Free.frameGeometry().size(), Free.size().grownBy(FrameMargins(&Free)));
}
