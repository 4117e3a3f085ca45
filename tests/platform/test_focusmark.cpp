// The focus made visible: on controls of a dark panel and around a scroll box.
#include "FocusMark.h"
#include "ImageView.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
void FocusOn(QWidget* W) {
    QApplication::setActiveWindow(W->window());
    W->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}
} // namespace

TEST(FocusMarkTest, PanelControlsAndScrollBoxesShowTheKeyboardFocus) {
    QWidget Win;
    Win.setGeometry(50, 50, 300, 240);
    auto* Panel = new QWidget(&Win);
    Panel->setGeometry(0, 0, 300, 30);
    auto* Icon = new QToolButton(Panel);
    Icon->setGeometry(2, 2, 26, 24);
    auto* Radio = new QRadioButton(QStringLiteral("ATASCII"), Panel);
    Radio->setGeometry(40, 2, 100, 24);
    auto* Check = new QCheckBox(QStringLiteral("Uml"), Panel);
    Check->setGeometry(150, 2, 80, 24);
    ShowFocusMarks(Panel);
    ShowFocusMarks(Panel); // once is enough
    auto* Box = new QScrollArea(&Win);
    Box->setGeometry(0, 40, 200, 150);
    Box->setFrameShape(QFrame::NoFrame);
    auto* View = new ImageView;
    View->NewPicture(400, 300, 0x00FF00);
    Box->setWidget(View);
    auto* Edit = new QLineEdit(&Win);
    Edit->setGeometry(0, 200, 80, 24);
    Win.show();
    QApplication::processEvents();

    const QList<QWidget*> Marked = {Icon, Radio, Check, Box};
    for (QWidget* W : Marked) {
        FocusOn(W);
        for (QWidget* Other : Marked)
            EXPECT_EQ(FocusMarkShown(Other), Other == W) << Other->metaObject()->className();
    }
    // The icon button's white dots lie one pixel inside its edge.
    FocusOn(Icon);
    const QImage Button = Icon->grab().toImage();
    EXPECT_EQ(Button.pixel(1, 1), qRgb(255, 255, 255));
    // The scroll box: two pixels of the selection colour and a white line over the picture.
    FocusOn(Box);
    QImage Shot = Box->grab().toImage();
    const QRgb Frame = Box->palette().color(QPalette::Active, QPalette::Highlight).rgb();
    EXPECT_EQ(Shot.pixel(0, 70), Frame);
    EXPECT_EQ(Shot.pixel(1, 70), Frame);
    EXPECT_EQ(Shot.pixel(2, 70), qRgb(255, 255, 255));
    EXPECT_EQ(Shot.pixel(3, 70), qRgb(0, 255, 0));
    FocusOn(Edit);
    EXPECT_EQ(Box->grab().toImage().pixel(0, 70), qRgb(0, 255, 0));
    EXPECT_EQ(Box->findChildren<QWidget*>(QStringLiteral("focusMark")).size(), 1);
}
