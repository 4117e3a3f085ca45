// The font window by keyboard alone: Tab reaches every button of the tool bar and
// the editor, Space presses them, and the arrow keys move the character selection
// while the character grid has the focus.
#include "shell/test_shell_common.h"
#include "test_drive_events.h"

#include "VekButton.h"
#include "uChildWinFont.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QToolButton>
#include <algorithm>
#include <map>

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
    // A key as typed: it goes to the widget with the focus.
    static void Type(int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        QWidget* Focus = QApplication::focusWidget();
        ASSERT_NE(Focus, nullptr);
        drive::Key(Focus, Key, Modifiers);
        QApplication::processEvents();
    }
    // Every widget of W that Tab reaches, in order, from the focus until it returns.
    static QList<QWidget*> TabCycle(QWidget* W, int Key = Qt::Key_Tab) {
        QList<QWidget*> Seen;
        QWidget* Start = QApplication::focusWidget();
        for (int I = 0; I < 200; ++I) {
            Type(Key);
            QWidget* Now = QApplication::focusWidget();
            if (!Now || Now == Start) break;
            if (W->isAncestorOf(Now)) Seen << Now;
        }
        return Seen;
    }
    static void Click(TChildWinFont* W, int Cell) {
        W->imgFontMouseDown(((Cell % 32) * 9 + 5) * W->ZoomFactor, ((Cell / 32) * 9 + 5) * W->ZoomFactor);
    }
    static TCharBytes Bytes(const TChildWinFont* W) {
        TCharBytes B{};
        W->AtariFont->GetCharBytes(W->SelectedChar, B, W->CharOrder);
        return B;
    }
    static QStringList Names(const QList<QWidget*>& Widgets) {
        QStringList Out;
        for (QWidget* W : Widgets) Out << W->objectName();
        return Out;
    }
};
} // namespace

TEST_F(FontKeysTest, TabReachesEveryButtonAndSpacePressesIt) {
    TChildWinFont* W = Editor();
    ASSERT_NE(W, nullptr);
    ASSERT_TRUE(W->pnlFontEditor->isVisible());
    ASSERT_EQ(QApplication::focusWidget(), W);

    const QStringList Tool = {"btnDetails", "btnATAINT",   "btnInternational",
                              "btnReport",  "btnFontEdit", "btnIsChildWin"};
    const QStringList Edit = {"btnFontUp",       "btnFontLeft",       "btnFontRight",       "btnFontDown",
                              "btnFontClear",    "btnFontInvert",     "btnFontXMir",        "btnFontYMir",
                              "btnFontAtari",    "btnFontRotateLeft", "btnFontUndo",        "btnFontRedo",
                              "btnFontCopy",     "btnFontPaste",      "BtnFontRotateRight", "btnFontPasteOR",
                              "btnFontPasteAND", "btnFontPasteXOR"};
    // Forward the tool bar, then the editor as it stands, then the copy buffers;
    // Shift+Tab walks the same way back.
    const QList<QWidget*> Forward = TabCycle(W);
    EXPECT_EQ(Names(Forward), Tool + Edit + QStringList{"FontDrawGrid"});
    QList<QWidget*> Back = TabCycle(W, Qt::Key_Backtab);
    std::reverse(Back.begin(), Back.end());
    EXPECT_EQ(Back, Forward);

    // Space presses each editor button; the one that Tab reached is the active one
    // and shows its focus rectangle, 3 pixels inside its edge.
    std::map<QString, int> Clicks;
    for (const QString& Name : Edit) {
        auto* B = W->findChild<TVekButton*>(Name);
        ASSERT_NE(B, nullptr);
        QObject::connect(B, &QPushButton::clicked, W, [&Clicks, Name] { ++Clicks[Name]; });
    }
    Click(W, 65); // "A": an editable character with set and clear pixels
    ASSERT_NE(Bytes(W), TCharBytes{});
    W->setFocus(Qt::MouseFocusReason);
    for (int I = 0; I < int(Tool.size()); ++I) Type(Qt::Key_Tab);
    TCharBytes BeforeLast{};
    for (const QString& Name : Edit) {
        Type(Qt::Key_Tab);
        auto* B = qobject_cast<TVekButton*>(QApplication::focusWidget());
        ASSERT_TRUE(B && B->objectName() == Name) << Name.toStdString();
        EXPECT_TRUE(B->IsActive());
        const QImage Face = B->grab().toImage();
        const int Y = 3, X0 = 4, X1 = B->width() - 5;
        int Dots = 0;
        for (int X = X0; X < X1; ++X) Dots += Face.pixel(X, Y) != Face.pixel(X + 1, Y);
        EXPECT_EQ(Dots, X1 - X0) << Name.toStdString(); // every pixel differs from its neighbour
        const TCharBytes Prev = Bytes(W);
        Type(Qt::Key_Space);
        if (Name == "btnFontUp") {
            TCharBytes Up = Prev;
            std::rotate(Up.begin(), Up.begin() + 1, Up.end());
            EXPECT_EQ(Bytes(W), Up);
        } else if (Name == "btnFontClear") {
            EXPECT_EQ(Bytes(W), TCharBytes{});
        } else if (Name == "btnFontInvert") {
            EXPECT_EQ(Bytes(W), TCharBytes({255, 255, 255, 255, 255, 255, 255, 255}));
        } else if (Name == "btnFontUndo") {
            EXPECT_EQ(Bytes(W), BeforeLast); // the rotation undone
        }
        BeforeLast = Prev;
    }
    for (const QString& Name : Edit) EXPECT_EQ(Clicks[Name], 1) << Name.toStdString();

    // The copy buffers: arrows pick a buffer, stopping at either end.
    Type(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), W->FontDrawGrid);
    EXPECT_EQ(CurrentCopyBuffer, 1);
    Type(Qt::Key_Right);
    Type(Qt::Key_Right);
    EXPECT_EQ(CurrentCopyBuffer, 3);
    Type(Qt::Key_End);
    Type(Qt::Key_Right);
    EXPECT_EQ(CurrentCopyBuffer, 5);
    Type(Qt::Key_Left);
    EXPECT_EQ(CurrentCopyBuffer, 4);
    Type(Qt::Key_Home);
    Type(Qt::Key_Left);
    EXPECT_EQ(CurrentCopyBuffer, 1);
    EXPECT_EQ(W->SelectedChar, 65); // none of this moved the character selection

    // The tool bar by keyboard: Space on Editor switches the editor off.
    W->setFocus(Qt::MouseFocusReason);
    for (int I = 0; I < 5; ++I) Type(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), W->btnFontEdit);
    Type(Qt::Key_Space);
    EXPECT_FALSE(W->pnlFontEditor->isVisible());
    EXPECT_EQ(W->EditorOn, 0);
}

TEST_F(FontKeysTest, ArrowsMoveTheSelectionWhileTheGridHasTheFocus) {
    TChildWinFont* W = Editor();
    ASSERT_NE(W, nullptr);
    Click(W, 33);
    W->setFocus(Qt::MouseFocusReason);
    Type(Qt::Key_Right);
    Type(Qt::Key_Down);
    EXPECT_EQ(W->SelectedChar, 66);
    // A mouse click on an editor button edits and leaves the focus in the grid.
    const TCharBytes Before = Bytes(W);
    for (QEvent::Type T : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent E(T, QPointF(10, 10), W->btnFontInvert->mapToGlobal(QPointF(10, 10)), Qt::LeftButton,
                      T == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(W->btnFontInvert, &E);
    }
    EXPECT_NE(Bytes(W), Before);
    EXPECT_EQ(QApplication::focusWidget(), W);
    Type(Qt::Key_Left);
    Type(Qt::Key_Up);
    EXPECT_EQ(W->SelectedChar, 33);
    // On a focused button the arrows move the focus, not the selection.
    Type(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), W->btnDetails);
    Type(Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), W->btnATAINT);
    EXPECT_EQ(W->SelectedChar, 33);
    // Back in the grid the window's own keys work as before: arrows wrap around.
    Type(Qt::Key_Backtab);
    Type(Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), W);
    Click(W, 0);
    Type(Qt::Key_Left);
    EXPECT_EQ(W->SelectedChar, 31);
    Type(Qt::Key_Up);
    EXPECT_EQ(W->SelectedChar, 31 + 7 * 32);

    // The menu key opens the grid's menu at the selected character; its mnemonic copies.
    Click(W, 40);
    QApplication::clipboard()->clear();
    QContextMenuEvent Menu(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QApplication::sendEvent(QApplication::focusWidget(), &Menu);
    ASSERT_TRUE(W->PopupMenu1->isVisible());
    const QPoint Cell =
        W->imgFont->mapToGlobal((QPoint(W->FrameX, W->FrameY) + QPoint(4, 4)) * W->ZoomFactor);
    EXPECT_EQ(W->PopupMenu1->geometry().topLeft(), Cell);
    QKeyEvent Mnemonic(QEvent::KeyPress, Qt::Key_K, Qt::NoModifier, QStringLiteral("k"));
    QApplication::sendEvent(W->PopupMenu1, &Mnemonic);
    QApplication::processEvents();
    EXPECT_FALSE(W->PopupMenu1->isVisible());
    EXPECT_EQ(QApplication::clipboard()->image().size(), W->imgFont->Picture.size());
}
