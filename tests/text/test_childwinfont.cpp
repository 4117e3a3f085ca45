// The font window: opening, drawing, selecting, saving, printing and closing.
#include "test_childwinfont_common.h"

#include "Cp1252.h"
#include "VekButton.h"
#include "shell/test_shell_common.h"
#include "test_drive_events.h"
#include "uDocWindow.h"
#include "uYESNOCANCEL.h"

#include <QDir>
#include <QLabel>
#include <QToolButton>

using namespace fonttest;

TEST_F(FontWindowTest, OpenedFontDrawsEveryGlyphAndCharacterZeroAndPrintsBothOrders) {
    const QByteArray Font = RandomFont(11);
    TChildWinFont* W = Open(Font);
    const QImage& Pic = W->imgFont->Picture;
    ASSERT_EQ(Pic.size(), QSize(289, 73));
    for (int Cell = 0; Cell < 256; ++Cell) {
        const TCharBytes Want = FileGlyph(Font, ToInternal(Cell % 128));
        // The lower half is inverse: its ink is the background colour.
        ASSERT_EQ(CellBytes(Pic, Cell, Cell < 128 ? Fore() : Back()), Want) << Cell;
    }
    // Character 0 (internal 64) enlarged: set pixels black over the editing grid.
    const TCharBytes Zero = FileGlyph(Font, 64);
    for (int P = 0; P < 64; ++P) {
        const int R = P / 8, C = P % 8;
        const QRgb Grid = WinColorToRgb((R + C) % 2 ? 0xF0CAA6 : 0xF0FBFF);
        EXPECT_EQ(W->imgChar->Picture.pixel(C * 11 + 5, R * 11 + 5),
                  Zero[R] & (0x80 >> C) ? qRgb(0, 0, 0) : Grid);
    }

    TReportPage Page;
    SetReportOutputHook([&](TReportOutputChoice& C) {
        Page = fGlobal->LayoutSelected();
        C.Destination = TReportDestination::File;
        C.FileName = Dir.filePath("font.pdf");
        return true;
    });
    W->btnReportClick();
    EXPECT_EQ(Page.Title, "FONT: MYFONT.FNT");
    QImage Atascii, Internal;
    for (const TReportElement& E : Page.Elements) {
        if (E.Name == "bitmapFont1") Atascii = E.Image;
        if (E.Name == "bitmapFont2") Internal = E.Image;
    }
    for (int Cell : {0, 33, 65, 127}) {
        EXPECT_EQ(CellBytes(Atascii, Cell, Fore()), FileGlyph(Font, ToInternal(Cell)));
        EXPECT_EQ(CellBytes(Internal, Cell, Fore()), FileGlyph(Font, Cell));
    }
    EXPECT_EQ(PdfPages("font.pdf"), 1);
    EXPECT_TRUE(QDir(ProgramFolder).entryList({"tmpFontPic*"}).isEmpty());

    auto* Missing = new TChildWinFont;
    Windows << Missing;
    EXPECT_THROW(Missing->OpenDocument(Dir.filePath("nothere.fnt"), "NOTHERE.FNT"), EInOutError);
}

TEST_F(FontWindowTest, ClicksAndArrowKeysSelectWithFrameAndWrapAround) {
    const QByteArray Font = RandomFont(12);
    TChildWinFont* W = Open(Font);
    const QRgb Red = qRgb(255, 0, 0), White = qRgb(255, 255, 255);
    Click(W, 69);
    EXPECT_EQ(W->SelectedChar, 69);
    EXPECT_EQ(W->imgFont->Picture.pixel(54, 27), Red);

    Click(W, 202); // inverse: shown inverted, clear pixels black
    EXPECT_EQ(W->imgFont->Picture.pixel(45, 18), White);
    EXPECT_EQ(W->imgFont->Picture.pixel(90, 54), Red);
    const TCharBytes Glyph = FileGlyph(Font, ToInternal(74));
    for (int R = 0; R < 8; ++R) EXPECT_EQ(W->DecTexts[R]->text(), QString::number(quint8(~Glyph[R])));
    W->imgFontMouseDown(288 * 2 + 1, 72 * 2 + 1); // the outer border belongs to the last cell
    EXPECT_EQ(W->SelectedChar, 255);

    const auto Key = [W](int K) { drive::Key(W, K); };
    Key(Qt::Key_Right); // column 31 wraps to 0 of the same row
    EXPECT_EQ(W->SelectedChar, 224);
    Key(Qt::Key_Left);
    Key(Qt::Key_Down); // row 7 wraps to 0
    EXPECT_EQ(W->SelectedChar, 31);
    Key(Qt::Key_Up);
    EXPECT_EQ(W->SelectedChar, 255);
}

// The code panel of every cell in both orders: the character's codes, then the keyboard
// code, name and keys of the character-table entry of its ATASCII code.
TEST_F(FontWindowTest, CodePanelShowsTheTableEntryOfEveryCharacter) {
    TChildWinFont* W = Open(RandomFont(13));
    const TAtariFont Table;
    const auto Number = [](int V) {
        return QStringLiteral(" %1 | $%2").arg(V, 3, 10, QChar('0')).arg(V, 3, 16, QChar('0')).toUpper();
    };
    for (int Order : {1, 0}) {
        for (int Code = 0; Code < 256; ++Code) {
            Click(W, Code);
            const int Low = Code & 127, Inv = Code & 128;
            const int Atascii = Order ? Code : Inv | (Low < 64 ? Low + 32 : Low < 96 ? Low - 64 : Low);
            const FontTable& E = Table.CharTable[Atascii];
            EXPECT_EQ(QStringList({W->lblFontType->text(), W->lblATASC->text(), W->lblInt->text(),
                                   W->lblKeyb->text(), W->lblASCII->text(), W->lblKeysToPress->text()}),
                      QStringList({Order ? " ATASCII" : " Intern", Number(Atascii),
                                   Number(Order ? Inv | ToInternal(Low) : Code), Number(E.KeyCode),
                                   "  " + Cp1252ToUnicode(E.Mnemonic),
                                   " " + QString::fromLatin1(E.KeyCombination)}))
                << Order << " " << Code;
        }
        W->btnATAINTClick();
    }
}

TEST_F(FontWindowTest, SaveRoundTripsByteExactlyAndPicturesLeaveModifiedAlone) {
    const QByteArray Font = RandomFont(15);
    TChildWinFont* W = Open(Font);
    W->btnFontEditClick();
    Click(W, 65);
    W->btnFontInvertClick();
    AnswerSave("saved");
    W->SaveToFile();
    EXPECT_EQ(Request.FileName, "MYFONT");
    QByteArray Want = Font;
    for (int R = 0; R < 8; ++R) Want[33 * 8 + R] = char(~Want[33 * 8 + R]); // "A" is internal 33
    EXPECT_EQ(ReadWholeFile(Dir.filePath("saved.FNT")), Want);
    W->btnATAINTClick(); // the file keeps the internal order whatever is shown
    AnswerSave("internal.fnt");
    W->SaveToFile();
    EXPECT_EQ(ReadWholeFile(Dir.filePath("internal.fnt")), Want);

    W->btnFontClearClick();
    AnswerSave("grid", 2);
    W->SaveToFile();
    QImage Bmp;
    ASSERT_TRUE(Bmp.load(Dir.filePath("grid.BMP"), "BMP"));
    EXPECT_EQ(Bmp.convertToFormat(QImage::Format_RGB32), W->imgFont->Picture);
    EXPECT_EQ(W->Modified, 1);
    ExpectFilterExtensions([W] { W->SaveToFile(); }, {".FNT", ".BMP", ".JPG"});
    AnswerSave("grid.txt");
    W->SaveToFile();
    EXPECT_FALSE(QFile::exists(Dir.filePath("grid.txt")));
    EXPECT_TRUE(Boxes.value(0).startsWith("Warnung|"));
}

// ------------------------------------------------------------------ the close query

namespace {
class CloseQueryTest : public FontWindowTest {
protected:
    void SetUp() override {
        FontWindowTest::SetUp();
        frmYESNOCANCEL = new TfrmYESNOCANCEL;
    }
    void TearDown() override {
        FontWindowTest::TearDown();
        delete frmYESNOCANCEL;
        frmYESNOCANCEL = nullptr;
    }
    // Closes W, clicking the button once the dialog is up; whether it closed.
    bool CloseAnswering(TChildWinFont* W, TVekButton* TfrmYESNOCANCEL::*Button) {
        bool Closed = false;
        drive::WhileModal([&] { Closed = W->close(); },
                          [&](QWidget* D) {
                              EXPECT_EQ(D, frmYESNOCANCEL);
                              ++Answers;
                              (frmYESNOCANCEL->*Button)->Click();
                          });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return Closed;
    }
    QPointer<TChildWinFont> Edited(const QString& Name = "MYFONT.FNT") {
        TChildWinFont* W = Open(RandomFont(18), Name);
        W->btnFontEditClick();
        Click(W, 34);
        W->btnFontInvertClick();
        return W;
    }
    int Answers = 0;
};
} // namespace

TEST_F(CloseQueryTest, OnlyASavedFontOrNoLetTheWindowCloseAndUnmodifiedDoesNotAsk) {
    using D = TfrmYESNOCANCEL;
    QPointer<TChildWinFont> W = Edited();
    EXPECT_FALSE(CloseAnswering(W, &D::btnCancel));
    SetFileDialogHook([](TFileDialogRequest&, QStringList&) { return false; }); // save cancelled
    EXPECT_FALSE(CloseAnswering(W, &D::btnYES));
    AnswerSave("missing/dir/new.fnt"); // save fails: error shown
    EXPECT_FALSE(CloseAnswering(W, &D::btnYES));
    ASSERT_FALSE(Boxes.isEmpty());
    EXPECT_TRUE(Boxes.last().startsWith("Fehler|")) << Boxes.last().toStdString();
    AnswerSave("grid.bmp"); // a picture is no save of the font
    EXPECT_FALSE(CloseAnswering(W, &D::btnYES));
    ASSERT_FALSE(W.isNull());
    EXPECT_EQ(W->Modified, 1);

    AnswerSave("onclose.fnt");
    const auto Bytes = W->AtariFont->FontInternal;
    EXPECT_TRUE(CloseAnswering(W, &D::btnYES));
    EXPECT_TRUE(W.isNull());
    EXPECT_EQ(ReadWholeFile(Dir.filePath("onclose.fnt")),
              QByteArray(reinterpret_cast<const char*>(Bytes.data()), 1024));
    W = Edited();
    EXPECT_TRUE(CloseAnswering(W, &D::btnNo));
    EXPECT_TRUE(W.isNull());
    W = Open(RandomFont(19));
    EXPECT_TRUE(W->close());
    EXPECT_EQ(Answers, 6);
}

TEST_F(FontWindowTest, EveryCaptionFitsAtZoomOneAndInTheEditor) {
    LoadATASCIIFont();
    TChildWinFont* W = Open(RandomFont(7));
    W->show();
    W->ZoomOut();
    ASSERT_EQ(W->ZoomFactor, 1);
    QApplication::processEvents();
    // The six tool-bar buttons side by side, each at its full size, inside the bar.
    int Right = -1;
    for (QToolButton* B :
         {W->btnDetails, W->btnATAINT, W->btnInternational, W->btnReport, W->btnFontEdit, W->btnIsChildWin}) {
        const QRect G = B->geometry();
        EXPECT_GE(G.width(), B->sizeHint().width()) << B->objectName().toStdString();
        EXPECT_GT(G.left(), std::exchange(Right, G.right())) << B->objectName().toStdString();
        EXPECT_LE(G.right(), W->pnlTop->width() - 1) << B->objectName().toStdString();
        // The bar's Atari face reaches its buttons, as on every blue tool bar.
        EXPECT_EQ(std::make_pair(QFontInfo(B->font()).family(), B->font().pointSizeF()),
                  std::make_pair(QString("ATASCII"), W->pnlTop->font().pointSizeF()))
            << B->objectName().toStdString();
    }
    // The editor's title is not cut, and the copy buffers stand right of their caption.
    W->btnFontEditClick();
    QApplication::processEvents();
    for (QLabel* L : {W->lblFETitle, W->lblFEVersion, W->lblCopyBuffText})
        EXPECT_GE(L->width(), L->fontMetrics().horizontalAdvance(L->text())) << L->text().toStdString();
    const QRect Caption(W->lblCopyBuffText->mapTo(W->pnlFontEditor, QPoint()), W->lblCopyBuffText->size());
    const QRect Grid(W->FontDrawGrid->mapTo(W->pnlFontEditor, QPoint()), W->FontDrawGrid->size());
    EXPECT_GT(Grid.left(),
              Caption.left() + W->lblCopyBuffText->fontMetrics().horizontalAdvance("Copy buffers"));
    EXPECT_FALSE(Grid.intersects(W->btnFontPasteXOR->geometry()));
    EXPECT_LE(Grid.right(), W->pnlFontEditor->width() - 1);
    // At zoom 1 the window is wide enough for the whole editor panel.
    for (TVekButton* B : W->pnlFontEditor->findChildren<TVekButton*>())
        EXPECT_LT(B->mapTo(W, QPoint(B->width() - 1, 0)).x(), W->width()) << B->objectName().toStdString();
}

using FontExplorerCaptionTest = OpenedMainWindow;

// Docking, undocking and the frame's states keep what the caption says.
TEST_F(FontExplorerCaptionTest, TheCaptionStaysDockedUndockedAndInEveryState) {
    Main->menuFontExplorerClick(Main->menuFontExplorer);
    QApplication::processEvents();
    auto* W = qobject_cast<TChildWinFont*>(Main->ActiveDocument());
    ASSERT_NE(W, nullptr);
    const QString Want = " Font-Explorer: ATARI (Morvanel intern)";
    EXPECT_EQ(W->windowTitle(), Want);
    for (int Round = 0; Round < 2; ++Round) {
        W->btnIsChildWinClick();
        ASSERT_EQ(W->isWindow(), Round == 0);
        for (const auto& [Show, Step] :
             {std::pair<void (QWidget::*)(), const char*>{nullptr, "docking toggled"},
              {&QWidget::showMaximized, "maximised"},
              {&QWidget::showMinimized, "minimised"},
              {&QWidget::showNormal, "restored"}}) {
            if (Show) (DocumentFrame(W)->*Show)();
            QApplication::processEvents();
            EXPECT_EQ(std::make_pair(W->windowTitle(), DocumentFrame(W)->windowTitle()),
                      std::make_pair(Want, Want))
                << Step;
        }
    }
    auto* File = qobject_cast<TChildWinFont*>(Open("MY.FNT", RandomFont(3)));
    ASSERT_NE(File, nullptr);
    File->btnIsChildWinClick();
    QApplication::processEvents();
    EXPECT_EQ(File->windowTitle(), " MY.FNT"); // a font file keeps its name alone
}
