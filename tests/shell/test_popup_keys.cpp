// The copy menu of the picture, text, listing and font windows opens by the menu key
// and by Shift+F10 too, and its mnemonic copies.
#include "test_shell_common.h"
#include "uChildWinFont.h"
#include "uChildWinGraphic.h"
#include "uChildWinListing.h"
#include "uChildWinText.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollArea>
#include <QTest>

namespace {
using PopupKeysTest = OpenedMainWindow;

// The menu key as X11 delivers it: a keyboard request for a context menu to the
// control with the focus.
void MenuKey(QWidget* Focus) {
    QContextMenuEvent Key(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QApplication::sendEvent(Focus, &Key);
}
// Shift+F10 typed: a plain key press, which X11 turns into no request of its own.
void ShiftF10(QWidget* Focus) {
    QTest::keyClick(Focus, Qt::Key_F10, Qt::ShiftModifier);
}

// Each key on Focus opens Menu at Corner; its mnemonic copies the picture Picture.
void MenuKeyCopies(QWidget* Focus, QMenu* Menu, const QPoint& Corner, const QSize& Picture) {
    for (const auto& [Name, Press] : {std::pair{"menu key", &MenuKey}, {"Shift+F10", &ShiftF10}}) {
        SCOPED_TRACE(Name);
        Focus->window()->activateWindow();
        QApplication::processEvents();
        Focus->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), Focus);
        QApplication::clipboard()->clear();
        Press(Focus);
        ASSERT_TRUE(Menu->isVisible()) << Focus->window()->objectName().toStdString();
        EXPECT_EQ(Menu->geometry().topLeft(), Corner);
        QKeyEvent Mnemonic(QEvent::KeyPress, Qt::Key_K, Qt::NoModifier, QStringLiteral("k"));
        QApplication::sendEvent(Menu, &Mnemonic);
        QApplication::processEvents();
        EXPECT_FALSE(Menu->isVisible());
        EXPECT_EQ(QApplication::clipboard()->image().size(), Picture);
    }
}
// Over the visible part of the picture in the window's scroll box.
template <class T> void MenuKeyCopies(T* Win, const ImageView* Image) {
    ASSERT_NE(Win, nullptr);
    QWidget* Inside = Win->ScrollBox1->widget();
    MenuKeyCopies(Win->ScrollBox1, Win->PopupMenu1,
                  Inside->mapToGlobal(Inside->visibleRegion().boundingRect().topLeft()) + QPoint(8, 8),
                  Image->Picture.size());
}
} // namespace

TEST_F(PopupKeysTest, MenuKeyAndShiftF10OpenTheCopyMenuOfPictureTextListingAndFont) {
    auto* Pic = qobject_cast<TChildWinGraphic*>(Open("KEYS.GR8", QByteArray(7680, char(0x5A))));
    MenuKeyCopies(Pic, Pic ? Pic->ImgGraphic : nullptr);
    // Also in a window of its own.
    Pic->btnIsChildWinClick();
    QApplication::processEvents();
    MenuKeyCopies(Pic, Pic->ImgGraphic);
    auto* Text = qobject_cast<TChildWinText*>(Open("KEYS.TXT", QByteArray("HELLO") + char(155)));
    MenuKeyCopies(Text, Text ? Text->imgText : nullptr);
    auto* List = qobject_cast<TChildWinListing*>(Open("KEYS.LST", QByteArray("10 REM") + char(155)));
    MenuKeyCopies(List, List ? List->imgListing : nullptr);
    // The font grid's menu opens at the selected character.
    auto* Font = qobject_cast<TChildWinFont*>(Open("KEYS.FNT", RandomBytes(1024, 5)));
    ASSERT_NE(Font, nullptr);
    Font->imgFontMouseDown(((40 % 32) * 9 + 5) * Font->ZoomFactor, ((40 / 32) * 9 + 5) * Font->ZoomFactor);
    MenuKeyCopies(
        Font, Font->PopupMenu1,
        Font->imgFont->mapToGlobal((QPoint(Font->FrameX, Font->FrameY) + QPoint(4, 4)) * Font->ZoomFactor),
        Font->imgFont->Picture.size());
}
