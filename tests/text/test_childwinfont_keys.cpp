// The font window by keyboard alone: Tab reaches every button of the tool bar and
// the editor, Space presses them, and the arrow keys move the character selection
// while the character grid has the focus.
#include "shell/test_shell_common.h"
#include "test_drive_events.h"

#include "FocusMark.h"
#include "ImageView.h"
#include "VekButton.h"
#include "uChildWinFont.h"

#include <QMouseEvent>
#include <algorithm>

using drive::Type;

namespace {
class FontKeysTest : public OpenedMainWindow {
protected:
    // The built-in set with its editor on, its window active and the grid focused.
    TChildWinFont* Editor() {
        Main->menuFontExplorerClick(Main->menuFontEditor);
        QApplication::processEvents();
        auto* W = qobject_cast<TChildWinFont*>(Main->ActiveDocument());
        if (!W) return nullptr;
        QApplication::setActiveWindow(Main);
        W->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        return W;
    }
    // The names of the widgets of W that Key reaches, in order, until the focus returns.
    static QStringList TabCycle(QWidget* W, int Key) {
        QStringList Seen;
        QWidget* Start = QApplication::focusWidget();
        for (int I = 0; I < 200; ++I) {
            Type(Key);
            QWidget* Now = QApplication::focusWidget();
            if (!Now || Now == Start) break;
            if (W->isAncestorOf(Now)) Seen << Now->objectName();
        }
        return Seen;
    }
    static void Click(TChildWinFont* W, int Cell) {
        W->imgFontMouseDown(((Cell % 32) * 9 + 5) * W->ZoomFactor, ((Cell / 32) * 9 + 5) * W->ZoomFactor);
    }
};
} // namespace

TEST_F(FontKeysTest, TabReachesEveryButtonAndSpacePressesIt) {
    TChildWinFont* W = Editor();
    ASSERT_NE(W, nullptr);
    ASSERT_EQ(QApplication::focusWidget(), W);
    const QStringList Tool = {"btnDetails", "btnATAINT",   "btnInternational",
                              "btnReport",  "btnFontEdit", "btnIsChildWin"};
    const QStringList Edit = {"btnFontUp",       "btnFontLeft",       "btnFontRight",       "btnFontDown",
                              "btnFontClear",    "btnFontInvert",     "btnFontXMir",        "btnFontYMir",
                              "btnFontAtari",    "btnFontRotateLeft", "btnFontUndo",        "btnFontRedo",
                              "btnFontCopy",     "btnFontPaste",      "BtnFontRotateRight", "btnFontPasteOR",
                              "btnFontPasteAND", "btnFontPasteXOR"};
    // The tool bar, the editor as it stands, the copy buffers; Shift+Tab the same way back.
    const QStringList Forward = TabCycle(W, Qt::Key_Tab);
    EXPECT_EQ(Forward, Tool + Edit + QStringList{"FontDrawGrid"});
    QStringList Back = TabCycle(W, Qt::Key_Backtab);
    std::reverse(Back.begin(), Back.end());
    EXPECT_EQ(Back, Forward);

    // Space presses each editor button that Tab reached, shown as the active one.
    QStringList Pressed;
    for (const QString& Name : Edit)
        QObject::connect(W->findChild<TVekButton*>(Name), &QPushButton::clicked, W,
                         [&, Name] { Pressed << Name; });
    Click(W, 65);
    W->setFocus(Qt::MouseFocusReason);
    for (int I = 0; I < int(Tool.size()); ++I) Type(Qt::Key_Tab);
    for (int I = 0; I < int(Edit.size()); ++I) {
        Type(Qt::Key_Tab);
        auto* B = qobject_cast<TVekButton*>(QApplication::focusWidget());
        ASSERT_NE(B, nullptr);
        EXPECT_TRUE(B->IsActive()) << B->objectName().toStdString();
        Type(Qt::Key_Space);
    }
    EXPECT_EQ(Pressed, Edit);
    EXPECT_EQ(W->SelectedChar, 65);
    // Space on the tool bar's Editor switches the editor off.
    W->setFocus(Qt::MouseFocusReason);
    for (int I = 0; I < 5; ++I) Type(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), W->btnFontEdit);
    Type(Qt::Key_Space);
    EXPECT_FALSE(W->pnlFontEditor->isVisible());
}

TEST_F(FontKeysTest, ArrowsMoveTheSelectionWhileTheGridHasTheFocus) {
    TChildWinFont* W = Editor();
    ASSERT_NE(W, nullptr);
    // The focused grid marks its current cell, over the picture, before any key.
    const QImage Drawn = W->imgFont->Picture;
    EXPECT_EQ(W->imgFont->FocusMark(), QRect(0, 0, 10, 10));
    EXPECT_EQ(W->imgFont->Picture, Drawn);
    Click(W, 33);
    Type(Qt::Key_Right);
    Type(Qt::Key_Down);
    EXPECT_EQ(W->SelectedChar, 66);
    EXPECT_EQ(W->imgFont->FocusMark(), QRect(18, 18, 10, 10));
    // A mouse click on an editor button edits and leaves the focus in the grid.
    TCharBytes Before{}, After{};
    W->AtariFont->GetCharBytes(W->SelectedChar, Before, W->CharOrder);
    for (QEvent::Type T : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent E(T, QPointF(10, 10), W->btnFontInvert->mapToGlobal(QPointF(10, 10)), Qt::LeftButton,
                      T == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(W->btnFontInvert, &E);
    }
    W->AtariFont->GetCharBytes(W->SelectedChar, After, W->CharOrder);
    EXPECT_NE(After, Before);
    EXPECT_EQ(QApplication::focusWidget(), W);
    Type(Qt::Key_Left);
    Type(Qt::Key_Up);
    EXPECT_EQ(W->SelectedChar, 33);
    // On a focused button the arrows move the focus, not the selection, and it shows.
    Type(Qt::Key_Tab);
    Type(Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), W->btnATAINT);
    EXPECT_EQ(W->SelectedChar, 33);
    EXPECT_TRUE(W->imgFont->FocusMark().isNull());
    EXPECT_TRUE(FocusMarkShown(W->btnATAINT));
    EXPECT_FALSE(FocusMarkShown(W->btnDetails));
}

TEST_F(FontKeysTest, TheOtherBuiltInSetStartsWithoutTheHistoryOfTheFirst) {
    TChildWinFont* W = Editor();
    ASSERT_NE(W, nullptr);
    Click(W, 96); // a glyph the two sets draw differently
    W->btnFontInvertClick();
    W->btnInternationalClick();
    const QByteArray International = W->AtariFont->SaveToData();
    W->btnFontUndoClick();
    EXPECT_EQ(W->AtariFont->SaveToData(), International);
}
