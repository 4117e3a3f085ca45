// The listing window, driven through its handlers as the main window and the user drive it.
#include "test_text_common.h"

#include "test_drive_events.h"
#include "test_widget_pixels.h"
#include "uChildWinListing.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>

namespace {
using namespace texttest;

class ListingWindowTest : public texttest::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        // Colours of their own, so a page drawn in the text colours shows.
        listingforecolor = 0x00FFFF;
        listingbackcolor = 0x402000;
    }
    void TearDown() override {
        delete Win;
        WindowTest::TearDown();
    }
    TChildWinListing* Open(const QString& Name, const QByteArray& Data) {
        delete Win;
        Win = new TChildWinListing;
        EXPECT_TRUE(Win->OpenDocument(Write(Name, Data), DisplayName(Name)));
        return Win;
    }
    // The page in the listing colours, and its cell at (X, Y) as glyph rows.
    ::testing::AssertionResult PageIs(int W, int H) {
        return IsPage(Win->imgListing->Picture, W, H, listingbackcolor);
    }
    ::testing::AssertionResult Shows(int X, int Y, const QByteArray& Text) {
        return RowShows(Win->imgListing->Picture, X, Y, Text, listingforecolor, listingbackcolor);
    }
    QByteArray Cell(int X, int Y) {
        return CellRows(Win->imgListing->Picture, X, Y, 1, listingforecolor, listingbackcolor);
    }
    QPointer<TChildWinListing> Win;
};

const QByteArray Basic = QByteArray("10 PRINT 1") + char(155) + QByteArray("20 GOTO 10") + char(155);
const QByteArray Atmas = "LDA\t#1\rSTA 710\r";

} // namespace

TEST_F(ListingWindowTest, OpeningDrawsThePageAndFillsTheTextAndStatusBar) {
    Open("basic.lst", Basic + Bytes({193}));
    ASSERT_TRUE(PageIs(328, 4 + 8 * 2 + 10)); // two line ends; the bottom margin holds line 3
    // Left margin 2: lines start at x 20; the standard set, the screen colours, inverse video.
    EXPECT_TRUE(Shows(12, 4, " 10 PRINT 1 "));
    EXPECT_TRUE(Shows(20, 12, "20 GOTO 10"));
    EXPECT_EQ(Cell(20, 20), Inverse(StandardGlyph('A')));
    EXPECT_EQ(Cell(28, 20), BlankCell);
    EXPECT_EQ(Win->TextField->toPlainText(), "10 PRINT 1\n20 GOTO 10\nA");
    EXPECT_EQ(Win->StatusBar1->PanelText(2), QString::fromUtf8("Datei: BASIC.LST / Länge in Bytes: 23"));
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
    // The style list: dark text on its own light face, the application's greyed text
    // while disabled. The panel's disabled captions are grey, its enabled ones white.
    const QPalette& P = Win->cbInvStyles->palette();
    EXPECT_GT(std::abs(qGray(P.color(QPalette::Active, QPalette::ButtonText).rgb()) -
                       qGray(P.color(QPalette::Active, QPalette::Button).rgb())),
              90);
    EXPECT_EQ(P.color(QPalette::Disabled, QPalette::ButtonText),
              QApplication::palette().color(QPalette::Disabled, QPalette::ButtonText));
    Win->show();
    const QRgb Grey = WinColorToRgb(clBtnShadow), White = 0xFFFFFF;
    for (QWidget* Label : {Win->lblInvStyle, Win->lblFontSize, Win->lblSearch}) {
        ASSERT_FALSE(Label->isEnabled());
        EXPECT_GT(PixelsNear(Label, Grey), 10) << Label->objectName().toStdString();
    }
    EXPECT_EQ(PixelsNear(Win->lblCharPerL, Grey), 0);
    EXPECT_GT(PixelsNear(Win->lblCharPerL, White, 150), 10);
    // The icon buttons and the page show the keyboard's focus too.
    EXPECT_EQ(drive::WithoutFocusMark({Win->btnReport, Win->btnReFormatListing, Win->btnSearch,
                                       Win->btnIsChildWin, Win->ScrollBox1}),
              QStringList());

    Open("PROG.SRC", Atmas);
    EXPECT_EQ(Win->TextField->toPlainText(), "LDA      #1\nSTA 710\n");
    EXPECT_TRUE(PageIs(328, 4 + 16 + 10));
    // The TAB after "LDA" leaves columns 3-8 blank; "#" stands at the tab stop 9.
    EXPECT_TRUE(Shows(20, 4, "LDA      #1 "));
    EXPECT_TRUE(Shows(20, 12, "STA 710"));
}

TEST_F(ListingWindowTest, ReformatHonoursItsLimits) {
    Open("P.LST", Basic);
    ExpectLayoutLimits(
        40,
        [this](int Cpl, int Lm) {
            Win->edcpl->setText(QString::number(Cpl));
            Win->edlmarg->setText(QString::number(Lm));
            Win->edcplKeyDown(Qt::Key_Return);
        },
        Win->imgListing->Picture, Boxes);
    Win->edlmarg->setText("0");
    Win->edcpl->setText("65");
    Win->btnReFormatClick();
    EXPECT_TRUE(PageIs(8 * 65 + 8, 4 + 16 + 10));
    EXPECT_TRUE(Shows(4, 12, "20 GOTO 10"));
    Win->edcpl->setText("vierzig");
    EXPECT_THROW(Win->btnReFormatClick(), EConvertError);
}

TEST_F(ListingWindowTest, InverseStylesRebuildTheTextTab) {
    Open("P.LST", Bytes({65, 193, 1, 65, 155}));
    Win->cbInvStyles->setCurrentIndex(2);
    Win->cbInvStylesChange();
    QTextDocument* Doc = Win->TextField->document();
    EXPECT_EQ(Doc->toPlainText(), "AA{CTRL A}A\n");
    AnswerSave("out.rtf");
    Win->SaveToFile();
    EXPECT_TRUE(ReadWholeFile(Dir.filePath("out.rtf")).contains("A{\\ul A\\{CTRL A\\}}A\\par"));

    Win->cbInvStyles->setCurrentIndex(0);
    Win->cbInvStylesChange();
    EXPECT_EQ(Doc->toPlainText(), "AA{1}A\n\n");
    EXPECT_TRUE((++Doc->begin().begin()).atEnd()); // plain text has one style only
}

TEST_F(ListingWindowTest, SearchMarksWholeWordsOnly) {
    Open("S.SRC", "LDA #1\rLDAX\rLDA #2\rlda #3\rNOP");
    Win->cbInvStyles->setCurrentIndex(1);
    Win->cbInvStylesChange();
    Win->edSearch->setText("LDA");
    Win->edSearchKeyDown(Qt::Key_Return);
    QTextDocument* Doc = Win->TextField->document();
    EXPECT_EQ(Doc->toPlainText(), "LDA #1\nLDAX\nLDA #2\nlda #3\nNOP"); // plain text again
    EXPECT_EQ(TChildWinListing::FindAll(Win->TextField, "LDA", QTextDocument::FindWholeWords),
              QList<int>({0, 12, 19}));
    auto MarkedAt = [Doc](int Pos) {
        QTextCursor C(Doc);
        C.setPosition(Pos + 1);
        const QTextCharFormat F = C.charFormat();
        return F.background().color() == QColor(159, 159, 255) && F.foreground().color() == QColor(Qt::white);
    };
    for (int P : {0, 2, 12, 21}) EXPECT_TRUE(MarkedAt(P)) << P;
    for (int P : {3, 7, 15, 27}) EXPECT_FALSE(MarkedAt(P)) << P;
    // A text that is nothing but the word.
    Win->TextField->setPlainText("NOP");
    EXPECT_EQ(TChildWinListing::FindAll(Win->TextField, "nop", QTextDocument::FindWholeWords),
              QList<int>({0}));
}

TEST_F(ListingWindowTest, SavesWriteTheExpectedBytes) {
    Open("PROG.SRC", Atmas);
    AnswerSave("plain", 2);
    Win->SaveToFile();
    EXPECT_EQ(Request.FileName, "PROG");
    EXPECT_EQ(ReadWholeFile(Dir.filePath("plain.TXT")), QByteArray("LDA      #1\r\nSTA 710\r\n"));

    AnswerSave("page.bmp");
    Win->SaveToFile();
    QImage Saved(Dir.filePath("page.bmp"));
    EXPECT_EQ(Saved.convertToFormat(QImage::Format_RGB32), Win->imgListing->Picture);

    ExpectFilterExtensions([this] { Win->SaveToFile(); }, {".RTF", ".TXT", ".BMP", ".JPG"});
    AnswerSave("page.doc");
    Win->SaveToFile();
    EXPECT_FALSE(QFile::exists(Dir.filePath("page.doc")));
    EXPECT_TRUE(Boxes.value(0).startsWith("Warnung|"));

    // A file longer than the buffer is cut with a warning, told once the window is translated.
    Open("LONG.LST", QByteArray(70000, 'A'));
    EXPECT_EQ(Win->AtariListing->Length, 65536);
    EXPECT_EQ(Boxes.size(), 1);
    Win->ShowOpenNotices();
    ASSERT_EQ(Boxes.size(), 2);
    EXPECT_TRUE(Boxes[1].startsWith("Warnung|LONG.LST (70000 Bytes)")) << Boxes[1].toStdString();
}

TEST_F(ListingWindowTest, PrintingGivesOnePdfPagePerStrip) {
    QByteArray Lines;
    for (int I = 0; I < 120; ++I) Lines += QByteArray::number(I) + char(155);
    Open("LONG.LST", Lines);
    ASSERT_EQ(Win->imgListing->Picture.size(), QSize(328, 4 + 8 * 120 + 10)); // 974 / 440: 3 strips
    PrintTo("listing.pdf");
    Win->btnReportClick();
    EXPECT_EQ(PdfPages("listing.pdf"), 3);
    EXPECT_EQ(fGlobal->GetParam("PageNumText"), "3 / 3");
    // The text tab prints flowing text: a short listing fits one page.
    Open("SHORT.LST", Basic);
    Win->PageControl1->setCurrentIndex(1);
    PrintTo("text.pdf");
    Win->PrintReport();
    EXPECT_EQ(PdfPages("text.pdf"), 1);

    // Cancelling the output dialog prints nothing.
    const QStringList Files = QDir(Dir.path()).entryList(QDir::Files);
    SetReportOutputHook([](TReportOutputChoice&) { return false; });
    Win->PrintReport();
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), Files);
    EXPECT_TRUE(Boxes.isEmpty());
}

TEST_F(ListingWindowTest, ClosingTheWindowWhileItDrawsEndsTheOpenQuietly) {
    Win = new TChildWinListing;
    const QString Path = Write("GONE.LST", QByteArray(4000, 'A'));
    TChildWinListing* Raw = Win;
    drive::Soon(qApp, [Raw] { delete Raw; });
    EXPECT_FALSE(Raw->OpenDocument(Path, "GONE.LST"));
    EXPECT_TRUE(Win.isNull());
    EXPECT_TRUE(Boxes.isEmpty());
}
