// The focus made visible on controls of a dark panel and around a scroll box: only
// on the control that has it, one mark each, drawn where it can be seen.
#include "FocusMark.h"
#include "ImageView.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QToolButton>
#include <gtest/gtest.h>

TEST(FocusMarkTest, PanelControlsAndScrollBoxesShowTheKeyboardFocus) {
    QWidget Win;
    Win.setGeometry(50, 50, 300, 240);
    auto* Panel = new QWidget(&Win);
    Panel->setGeometry(0, 0, 300, 30);
    auto* Icon = new QToolButton(Panel);
    Icon->setGeometry(2, 2, 26, 24);
    auto* Check = new QCheckBox(QStringLiteral("Uml"), Panel);
    Check->setGeometry(150, 2, 80, 24);
    ShowFocusMarks(Panel);
    ShowFocusMarks(Panel);
    auto* Box = new QScrollArea(&Win);
    Box->setGeometry(0, 40, 200, 150);
    Box->setFrameShape(QFrame::NoFrame);
    auto* View = new ImageView;
    View->NewPicture(400, 300, 0x00FF00);
    Box->setWidget(View);
    auto* Edit = new QLineEdit(&Win);
    Edit->setGeometry(0, 200, 80, 24);
    Win.show();

    const QList<QWidget*> Marked = {Icon, Check, Box};
    const QRgb White = qRgb(255, 255, 255), Green = qRgb(0, 255, 0);
    const QRgb Frame = Box->palette().color(QPalette::Active, QPalette::Highlight).rgb();
    for (QWidget* W : Marked + QList<QWidget*>{Edit}) {
        QApplication::setActiveWindow(&Win);
        W->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        for (QWidget* Other : Marked) {
            EXPECT_EQ(FocusMarkShown(Other), Other == W) << Other->metaObject()->className();
            EXPECT_EQ(Other->findChildren<QWidget*>(QStringLiteral("focusMark")).size(), 1);
        }
        // White dots one pixel inside the icon button's edge; around the scroll box two
        // pixels of the selection colour and a white line over the picture.
        EXPECT_EQ(Icon->grab().toImage().pixel(1, 1) == White, W == Icon);
        const QImage Shot = Box->grab().toImage();
        const QList<QRgb> Edge = {Shot.pixel(0, 70), Shot.pixel(1, 70), Shot.pixel(2, 70), Shot.pixel(3, 70)};
        const QList<QRgb> Expected =
            W == Box ? QList<QRgb>({Frame, Frame, White, Green}) : QList<QRgb>(4, Green);
        EXPECT_EQ(Edge, Expected);
    }
}
