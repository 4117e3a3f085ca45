// The copy menu of the picture, text, listing and font windows opens by the menu key
// too, and its mnemonic copies.
#include "test_shell_common.h"
#include "uChildWinFont.h"
#include "uChildWinGraphic.h"
#include "uChildWinListing.h"
#include "uChildWinText.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollArea>

namespace {
using PopupKeysTest = OpenedMainWindow;

// The menu key on Focus opens Menu at Corner; its mnemonic copies the picture Picture.
void MenuKeyCopies(QWidget* Focus, QMenu* Menu, const QPoint& Corner, const QSize& Picture) {
    Focus->setFocus();
    QApplication::clipboard()->clear();
    QContextMenuEvent Key(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QApplication::sendEvent(Focus, &Key);
    ASSERT_TRUE(Menu->isVisible()) << Focus->window()->objectName().toStdString();
    EXPECT_EQ(Menu->geometry().topLeft(), Corner);
    QKeyEvent Mnemonic(QEvent::KeyPress, Qt::Key_K, Qt::NoModifier, QStringLiteral("k"));
    QApplication::sendEvent(Menu, &Mnemonic);
    QApplication::processEvents();
    EXPECT_FALSE(Menu->isVisible());
    EXPECT_EQ(QApplication::clipboard()->image().size(), Picture);
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

TEST_F(PopupKeysTest, TheMenuKeyOpensTheCopyMenuOfPictureTextListingAndFont) {
    auto* Pic = qobject_cast<TChildWinGraphic*>(Open("KEYS.GR8", QByteArray(7680, char(0x5A))));
    MenuKeyCopies(Pic, Pic ? Pic->ImgGraphic : nullptr);
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
