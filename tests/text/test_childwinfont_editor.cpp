// The character editor of the font window: pixels, whole-character operations,
// copy buffers shared between windows, undo and redo.
#include "test_childwinfont_common.h"

#include "VekButton.h"

#include <QMouseEvent>

using namespace fonttest;

namespace {
class FontEditorTest : public FontWindowTest {
protected:
    // A window with the editor on and character Cell selected.
    TChildWinFont* Editing(int Cell, quint32 Seed = 30) {
        TChildWinFont* W = Open(RandomFont(Seed));
        W->btnFontEditClick();
        Click(W, Cell);
        return W;
    }
    static TCharBytes Bytes(const TChildWinFont* W) {
        TCharBytes B{};
        W->AtariFont->GetCharBytes(W->SelectedChar, B, W->CharOrder);
        return B;
    }
    static void Set(TChildWinFont* W, const TCharBytes& B) {
        W->AtariFont->PutCharBytes(W->SelectedChar, B, W->CharOrder, 0);
    }
    // Toggles pixel (Col, Row) of the enlarged character with a click.
    static void Pixel(TChildWinFont* W, int Col, int Row) { W->imgCharMouseDown(Col * 11 + 5, Row * 11 + 5); }
};
} // namespace

TEST_F(FontEditorTest, PixelClicksDoubleClicksAndDragsChangeModelAndPictures) {
    TChildWinFont* W = Editing(33);
    const quint8 Before = W->AtariFont->FontATASCII[33 * 8 + 2], After = quint8(Before ^ 0x10);
    // A double click arrives as press, release, double click, release: both presses are edit steps.
    const QPointF At(3 * 11 + 5, 2 * 11 + 5);
    ASSERT_EQ(W->imgChar->MapToPicture(At.toPoint()), At.toPoint());
    const auto Send = [&](QEvent::Type Type) {
        QMouseEvent E(Type, At, W->imgChar->mapToGlobal(At), Qt::LeftButton,
                      Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(W->imgChar, &E);
    };
    Send(QEvent::MouseButtonPress);
    Send(QEvent::MouseButtonRelease);
    EXPECT_EQ(std::make_pair(W->AtariFont->FontInternal[1 * 8 + 2], W->Modified),
              std::make_pair(After, quint8(1)));
    EXPECT_EQ(W->imgChar->Picture.pixel(At.toPoint()) == qRgb(0, 0, 0), bool(After & 0x10));
    EXPECT_EQ(CellBytes(W->imgFont->Picture, 33, Fore())[2], After);
    EXPECT_EQ(CellBytes(W->imgFont->Picture, 161, Back())[2], After); // the inverse copy follows
    Send(QEvent::MouseButtonDblClick);
    Send(QEvent::MouseButtonRelease);
    EXPECT_EQ(W->AtariFont->FontATASCII[33 * 8 + 2], Before);
    EXPECT_EQ(CellBytes(W->imgFont->Picture, 33, Fore())[2], Before);
    // Each press was its own step: one undo brings back the first one's result.
    W->btnFontUndoClick();
    EXPECT_EQ(W->AtariFont->FontATASCII[33 * 8 + 2], After);

    // A drag flips each cell once as the pointer enters it; outside nothing.
    const TCharBytes Start = Bytes(W);
    W->imgCharMouseDown(5, 5);
    for (QPoint P : {QPoint(8, 9), QPoint(16, 5), QPoint(17, 6), QPoint(27, 5), QPoint(-3, 5), QPoint(95, 5)})
        W->imgCharMouseMove(P.x(), P.y(), true);
    W->imgCharMouseDown(-2, -2);
    TCharBytes Want = Start;
    Want[0] ^= 0xE0;
    EXPECT_EQ(Bytes(W), Want);
}

TEST_F(FontEditorTest, EditorOffAndInverseCharactersChangeNothing) {
    TChildWinFont* W = Open(RandomFont(31));
    const auto Font = W->AtariFont->FontInternal;
    Click(W, 10);
    Pixel(W, 1, 1);
    W->btnFontEditClick();
    Click(W, 150);
    Pixel(W, 1, 1);
    W->btnFontInvertClick();
    W->btnFontPasteClick(W->btnFontPasteXOR);
    W->btnFontAtariClick();
    EXPECT_EQ(W->AtariFont->FontInternal, Font);
    EXPECT_EQ(W->Modified, 0);
    EXPECT_EQ(W->imgChar->cursor().shape(), Qt::ForbiddenCursor);
}

TEST_F(FontEditorTest, ShiftsMirrorsAndRotationsAreExactAndReversible) {
    TChildWinFont* W = Editing(65);
    const TCharBytes P = {0x81, 0x42, 0x24, 0x18, 0xF0, 0x0F, 0x01, 0x80};
    Set(W, P);
    W->btnFontUpClick();
    EXPECT_EQ(Bytes(W), (TCharBytes{0x42, 0x24, 0x18, 0xF0, 0x0F, 0x01, 0x80, 0x81}));
    W->btnFontDownClick();
    W->btnFontLeftClick();
    EXPECT_EQ(Bytes(W), (TCharBytes{0x03, 0x84, 0x48, 0x30, 0xE1, 0x1E, 0x02, 0x01}));
    W->btnFontRightClick();
    EXPECT_EQ(Bytes(W), P);
    W->btnFontXMirClick();
    EXPECT_EQ(Bytes(W), (TCharBytes{0x80, 0x01, 0x0F, 0xF0, 0x18, 0x24, 0x42, 0x81}));
    W->btnFontXMirClick();
    W->btnFontYMirClick();
    EXPECT_EQ(Bytes(W), (TCharBytes{0x81, 0x42, 0x24, 0x18, 0x0F, 0xF0, 0x80, 0x01}));
    Set(W, {0x80, 0, 0, 0, 0, 0, 0, 0});
    W->btnFontRotateLeft->Click(); // "Rot-R": clockwise
    EXPECT_EQ(Bytes(W), (TCharBytes{0x01, 0, 0, 0, 0, 0, 0, 0}));
    W->BtnFontRotateRight->Click(); // "Rot-L": counter-clockwise
    W->BtnFontRotateRight->Click();
    EXPECT_EQ(Bytes(W), (TCharBytes{0, 0, 0, 0, 0, 0, 0, 0x80}));
    W->btnFontInvertClick();
    EXPECT_EQ(Bytes(W), (TCharBytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}));
    W->btnFontAtariClick();
    EXPECT_EQ(Bytes(W), (TCharBytes{0x00, 0x18, 0x3C, 0x66, 0x66, 0x7E, 0x66, 0x00}));
}

TEST_F(FontEditorTest, CopyBuffersAreSharedBetweenWindowsWithEveryPasteMode) {
    TChildWinFont* A = Editing(65, 40);
    TChildWinFont* B = Editing(90, 41);
    const TCharBytes Mine = Bytes(B);
    B->btnFontPasteAND->Click(); // the buffers start empty
    EXPECT_EQ(Bytes(B), TCharBytes{});
    Set(B, Mine);
    A->FontDrawGridSelectCell(2, 0);
    EXPECT_EQ(CurrentCopyBuffer, 3);
    A->btnFontCopy->Click();
    const TCharBytes Copied = Bytes(A);
    TCharBytes Or{};
    for (int I = 0; I < 8; ++I) Or[I] = quint8(Mine[I] | Copied[I]);
    B->btnFontPasteOR->Click();
    EXPECT_EQ(Bytes(B), Or);
    B->btnFontPaste->Click();
    EXPECT_EQ(Bytes(B), Copied);
    B->btnFontPasteXOR->Click();
    EXPECT_EQ(Bytes(B), TCharBytes{});
    EXPECT_EQ(A->Modified, 0);

    // B's grid frames buffer 3 as the current one.
    const QImage Grid = B->FontDrawGrid->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(Grid.pixel(B->FontDrawGrid->CellRect(2, 0).topLeft()), qRgb(0, 0xFF, 0xFF));
    EXPECT_EQ(Grid.pixel(0, 0), qRgb(0x80, 0x80, 0xC0)); // buffer 1: empty, not framed
    Editing(10, 42);                                     // a new window starts on the first buffer again
    EXPECT_EQ(CurrentCopyBuffer, 1);
}

TEST_F(FontEditorTest, UndoRedoOfOneCharacter) {
    TChildWinFont* W = Editing(70);
    const TCharBytes S0 = Bytes(W);
    W->btnFontUndoClick(); // nothing to undo yet
    EXPECT_EQ(W->Modified, 0);
    W->btnFontInvertClick();
    const TCharBytes S1 = Bytes(W);
    W->btnFontUpClick();
    const TCharBytes S2 = Bytes(W);
    W->btnFontUndoClick();
    EXPECT_EQ(CellBytes(W->imgFont->Picture, 70, Fore()), S1);
    W->btnFontUndoClick();
    W->btnFontUndoClick();
    EXPECT_EQ(Bytes(W), S0);
    W->btnFontRedoClick();
    W->btnFontRedoClick();
    W->btnFontRedoClick();
    EXPECT_EQ(Bytes(W), S2);
    Click(W, 70); // selecting starts a new history
    W->btnFontUndoClick();
    EXPECT_EQ(Bytes(W), S2);

    // After 100 edits the first undo goes back two (the last had no snapshot).
    std::vector<TCharBytes> States{Bytes(W)};
    for (int I = 0; I < 100; ++I) {
        Pixel(W, I % 8, (I / 8) % 8);
        States.push_back(Bytes(W));
    }
    W->btnFontUndoClick();
    EXPECT_EQ(Bytes(W), States[98]);
    for (int I = 0; I < 99; ++I) W->btnFontUndoClick();
    EXPECT_EQ(Bytes(W), States[0]);
    for (int I = 0; I < 99; ++I) W->btnFontRedoClick();
    EXPECT_EQ(Bytes(W), States[100]);
}

// The history belongs to its character, not to the cell it shows in after the order switch.
TEST_F(FontEditorTest, UndoAfterTheOrderSwitchRestoresItsOwnCharacterOnly) {
    const QByteArray Font = RandomFont(55);
    TChildWinFont* W = Open(Font);
    const auto State = [&] {
        return std::make_pair(W->AtariFont->SaveToData(), CellBytes(W->imgFont->Picture, 33, Fore()));
    };
    W->btnFontEditClick();
    Click(W, 65); // "A" in ATASCII order, internal 33
    W->btnFontInvertClick();
    W->btnATAINTClick();
    ASSERT_EQ(std::make_pair(W->CharOrder, W->SelectedChar), std::make_pair(0, 65));
    W->btnFontUndoClick();
    EXPECT_EQ(State(), std::make_pair(Font, FileGlyph(Font, 33)));
    QByteArray Inverted = Font;
    for (int R = 0; R < 8; ++R) Inverted[33 * 8 + R] = char(~Inverted[33 * 8 + R]);
    W->btnFontRedoClick();
    EXPECT_EQ(State(), std::make_pair(Inverted, FileGlyph(Inverted, 33)));

    // An edit of the character now selected (internal 65) starts a history of its own.
    W->btnFontClearClick();
    W->btnFontUndoClick();
    W->btnFontUndoClick();
    EXPECT_EQ(W->AtariFont->SaveToData(), Inverted);
    W->btnATAINTClick(); // back in ATASCII order the history still restores internal 65
    W->btnFontRedoClick();
    EXPECT_EQ(W->AtariFont->SaveToData(), Inverted.replace(65 * 8, 8, QByteArray(8, 0)));
}
