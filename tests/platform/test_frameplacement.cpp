// Fitting a window's frame into an area, and a free window's frame corner where no
// window manager frames it (the desktop tests cover a window manager).
#include "FramePlacement.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

TEST(FramePlacementTest, AFrameIsMovedAndCutIntoTheArea) {
    const QRect Area(100, 30, 1160, 940);
    EXPECT_EQ(FitFrameToArea(QRect(110, 40, 627, 500), Area), QRect(110, 40, 627, 500));
    EXPECT_EQ(FitFrameToArea(QRect(3000, 2500, 922, 825), Area), QRect(338, 145, 922, 825)); // moved back
    EXPECT_EQ(FitFrameToArea(QRect(-3000, -2500, 922, 825), Area), QRect(100, 30, 922, 825));
    EXPECT_EQ(FitFrameToArea(QRect(400, 300, 1262, 1025), Area), Area); // cut to the area
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
    EXPECT_EQ(Free.frameGeometry(), QRect(QPoint(1, 1), QSize(300, 150).grownBy(FrameMargins(&Free))));
}
