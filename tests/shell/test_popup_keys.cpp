// The copy menu of the picture, text and listing windows opens by the menu key too,
// over the visible part of the picture, and its mnemonic copies.
#include "test_shell_common.h"
#include "uChildWinGraphic.h"
#include "uChildWinListing.h"
#include "uChildWinText.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollArea>

namespace {
class PopupKeysTest : public OpenedMainWindow {
protected:
    // The menu key while the window's scroll box has the keyboard.
    static void MenuKeyCopies(QWidget* Win, QScrollArea* Box, QMenu* Menu, const QSize& Picture) {
        Box->setFocus();
        QApplication::clipboard()->clear();
        QContextMenuEvent Key(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        QApplication::sendEvent(Box, &Key);
        ASSERT_TRUE(Menu->isVisible()) << Win->objectName().toStdString();
        const QPoint Corner =
            Box->widget()->mapToGlobal(Box->widget()->visibleRegion().boundingRect().topLeft());
        EXPECT_EQ(Menu->geometry().topLeft(), Corner + QPoint(8, 8));
        QKeyEvent Mnemonic(QEvent::KeyPress, Qt::Key_K, Qt::NoModifier, QStringLiteral("k"));
        QApplication::sendEvent(Menu, &Mnemonic);
        QApplication::processEvents();
        EXPECT_FALSE(Menu->isVisible());
        EXPECT_EQ(QApplication::clipboard()->image().size(), Picture);
    }
};
} // namespace

TEST_F(PopupKeysTest, TheMenuKeyOpensTheCopyMenuOfPictureTextAndListing) {
    auto* Pic = qobject_cast<TChildWinGraphic*>(Open("KEYS.GR8", QByteArray(7680, char(0x5A))));
    ASSERT_NE(Pic, nullptr);
    MenuKeyCopies(Pic, Pic->ScrollBox1, Pic->PopupMenu1, Pic->ImgGraphic->Picture.size());

    auto* Text = qobject_cast<TChildWinText*>(Open("KEYS.TXT", QByteArray("HELLO") + char(155)));
    ASSERT_NE(Text, nullptr);
    MenuKeyCopies(Text, Text->ScrollBox1, Text->PopupMenu1, Text->imgText->Picture.size());

    auto* List = qobject_cast<TChildWinListing*>(Open("KEYS.LST", QByteArray("10 REM") + char(155)));
    ASSERT_NE(List, nullptr);
    MenuKeyCopies(List, List->ScrollBox1, List->PopupMenu1, List->imgListing->Picture.size());
}
