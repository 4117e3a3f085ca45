// The listing window, driven through its handlers as the main window and the user drive it.
#include "FileDialogs.h"
#include "ImageView.h"
#include "ReportOptionsDialog.h"
#include "uChildWinListing.h"
#include "uFGlobal.h"
#include "uGlobal.h"
#include "uMain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QByteArray B(std::initializer_list<int> Bytes) {
    QByteArray R;
    for (int V : Bytes) R += char(V);
    return R;
}

int CountPdfPages(const QByteArray& Pdf) {
    return int(
        QString::fromLatin1(Pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
}

class ListingWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitFolders();
        SetSettingsDefaults();
        SetMessageBoxHook([this](TMsgKind, const QString& C, const QString& T) { Boxes << C + "|" + T; });
        if (!fGlobal) fGlobal = new TfGlobal;
    }
    void TearDown() override {
        delete Win;
        SetMessageBoxHook(nullptr);
        SetFileDialogHook(nullptr);
        SetReportOutputHook(nullptr);
    }
    QString Write(const QString& Name, const QByteArray& Data) {
        const QString Path = Dir.filePath(Name);
        WriteWholeFile(Path, Data);
        return Path;
    }
    TChildWinListing* Open(const QString& Name, const QByteArray& Data) {
        delete Win;
        Win = new TChildWinListing;
        EXPECT_TRUE(Win->OpenDocument(Write(Name, Data), DisplayName(Name)));
        return Win;
    }
    void AnswerSave(const QString& Name, int Index = 1) {
        SetFileDialogHook([Name, Index](TFileDialogRequest& R, QStringList& Files) {
            R.FilterIndex = Index;
            Files = {Name};
            return true;
        });
    }
    // The 8 x 8 cell at (X, Y) of the page against the glyph drawn alone.
    bool CellIs(int X, int Y, int Code, quint32 Fg, quint32 Bg) {
        QImage Cell(8, 8, QImage::Format_RGB32);
        Win->AtariFont->DrawChar(Cell, 1, Code & 127, 0, 0, Code < 128 ? Fg : Bg, Code < 128 ? Bg : Fg, 1,
                                 false, false);
        return Win->imgListing->Picture.copy(X, Y, 8, 8) == Cell;
    }
    QTemporaryDir Dir;
    QPointer<TChildWinListing> Win;
    QStringList Boxes;
};

const QByteArray Basic = QByteArray("10 PRINT 1") + char(155) + QByteArray("20 GOTO 10") + char(155);
const QByteArray Atmas = "LDA\t#1\rSTA 710\r";

} // namespace

TEST_F(ListingWindowTest, OpeningDrawsThePageAndFillsTheTextAndStatusBar) {
    Open("basic.lst", Basic + B({193}));
    EXPECT_EQ(Win->windowTitle(), " BASIC.LST");
    const QImage& Page = Win->imgListing->Picture;
    ASSERT_EQ(Page.size(), QSize(328, 4 + 8 * 2 + 10)); // two line ends; the bottom margin holds line 3
    EXPECT_EQ(Page.pixel(0, 0), WinColorToRgb(0xC0C0C0));
    EXPECT_EQ(Page.pixel(1, 1), WinColorToRgb(listingbackcolor));
    // Left margin 2: lines start at x 20; selector 1, the screen colours, inverse video.
    EXPECT_TRUE(CellIs(20, 4, '1', listingforecolor, listingbackcolor));
    EXPECT_TRUE(CellIs(28, 12, '0', listingforecolor, listingbackcolor));
    EXPECT_TRUE(CellIs(20, 20, 193, listingforecolor, listingbackcolor));
    EXPECT_EQ(Win->TextField->toPlainText(), "10 PRINT 1\n20 GOTO 10\nA");
    EXPECT_EQ(Win->cbInvStyles->currentIndex(), 0);
    EXPECT_EQ(Win->StatusBar1->PanelText(1), "ATARI BASIC, TURBO-BASIC, ... (LISTed)");
    EXPECT_EQ(Win->StatusBar1->PanelText(2), QString::fromUtf8("Datei: BASIC.LST / Länge in Bytes: 23"));
    EXPECT_EQ(Win->size(), QSize(600, 450));
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
    Win->ShowCaretPos();
    EXPECT_EQ(Win->StatusBar1->PanelText(0), "X:1 Y:1");

    Open("PROG.SRC", Atmas);
    EXPECT_EQ(Win->StatusBar1->PanelText(1), "ATMAS II (EOL=#13, TAB=#09)");
    EXPECT_EQ(Win->TextField->toPlainText(), "LDA      #1\nSTA 710\n");
    EXPECT_EQ(Win->imgListing->Picture.size(), QSize(328, 4 + 16 + 10));
    EXPECT_TRUE(CellIs(20 + 9 * 8, 4, '#', listingforecolor, listingbackcolor));
}

TEST_F(ListingWindowTest, TooLongFileIsCutWithAWarning) {
    QByteArray Long(70000, 'A');
    for (int I = 39; I < Long.size(); I += 40) Long[I] = char(155);
    Open("LONG.LST", Long);
    EXPECT_EQ(Win->AtariListing->Length, 65536);
    EXPECT_TRUE(Win->StatusBar1->PanelText(2).endsWith(" 65536"));
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].startsWith("Warnung|LONG.LST (70000 Bytes)")) << Boxes[0].toStdString();
}

TEST_F(ListingWindowTest, ReformatHonoursItsLimitsAndSizesTheWindow) {
    Open("P.LST", Basic);
    const qint64 Drawn = Win->imgListing->Picture.cacheKey();
    Win->edlmarg->setText("41");
    Win->edcplKeyDown(Qt::Key_Return);
    EXPECT_EQ(Win->imgListing->Picture.cacheKey(), Drawn);
    Win->edlmarg->setText("40");
    Win->edcplKeyDown(Qt::Key_A); // only Enter draws
    EXPECT_EQ(Win->imgListing->Picture.cacheKey(), Drawn);
    Win->edcplKeyDown(Qt::Key_Return);
    EXPECT_NE(Win->imgListing->Picture.cacheKey(), Drawn);
    EXPECT_EQ(Win->imgListing->Picture.width(), 328);

    Win->edlmarg->setText("0");
    Win->edcpl->setText("65");
    Win->btnReFormatClick();
    EXPECT_EQ(Win->width(), 8 * 65 + 10 + 32);
    EXPECT_EQ(Win->imgListing->Picture.width(), 8 * 65 + 8);
    EXPECT_TRUE(CellIs(4, 4, '1', listingforecolor, listingbackcolor));
    Win->edcpl->setText("64");
    Win->btnReFormatClick();
    EXPECT_EQ(Win->width(), 600);
    Win->edcpl->setText("vierzig");
    EXPECT_THROW(Win->btnReFormatClick(), EConvertError);

    // Zoom changes the view only; a new drawing is shown at its own size again.
    Win->edcpl->setText("40");
    Win->btnReFormatClick();
    Win->ZoomIn();
    EXPECT_EQ(Win->imgListing->ViewSize(), QSize(656, 60));
    EXPECT_EQ(Win->width(), 656 + 32);
    EXPECT_EQ(Win->imgListing->Picture.size(), QSize(328, 30));
    Win->ZoomOut();
    Win->ZoomOut();
    EXPECT_EQ(Win->imgListing->ViewSize(), QSize(164, 15));
    Win->btnReFormatClick();
    EXPECT_EQ(Win->imgListing->ViewSize(), QSize(328, 30));
}

TEST_F(ListingWindowTest, InverseStylesRebuildTheTextTab) {
    Open("P.LST", B({65, 193, 1, 65, 155}));
    Win->cbInvStyles->setCurrentIndex(2);
    Win->cbInvStylesChange();
    QTextDocument* Doc = Win->TextField->document();
    EXPECT_EQ(Doc->toPlainText(), "AA{CTRL A}A\n");
    QStringList Runs;
    for (auto It = Doc->begin().begin(); !It.atEnd(); ++It)
        Runs << It.fragment().text() + (It.fragment().charFormat().fontUnderline() ? "_u" : "");
    EXPECT_EQ(Runs, QStringList({"A", "A{CTRL A}_u", "A"}));
    AnswerSave(Dir.filePath("out.rtf"));
    Win->SaveToFile();
    EXPECT_TRUE(ReadWholeFile(Dir.filePath("out.rtf")).contains("A{\\ul A\\{CTRL A\\}}A\\par"));

    Win->cbInvStyles->setCurrentIndex(3);
    Win->cbInvStylesChange();
    EXPECT_EQ(Doc->begin().begin().fragment().charFormat().fontWeight(), QFont::Normal);
    EXPECT_EQ((++Doc->begin().begin()).fragment().charFormat().fontWeight(), QFont::Bold);

    Win->cbInvStyles->setCurrentIndex(1);
    Win->cbInvStylesChange();
    EXPECT_EQ(Doc->toPlainText(), "A{INV A}{CTRL A}A\n");
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
    EXPECT_EQ(Win->cbInvStyles->currentIndex(), 1);
    EXPECT_EQ(TChildWinListing::FindAll(Win->TextField, "LDA", QTextDocument::FindWholeWords),
              QList<int>({0, 12, 19}));
    auto MarkedAt = [Doc](int Pos) {
        QTextCursor C(Doc);
        C.setPosition(Pos + 1);
        const QTextCharFormat F = C.charFormat();
        return F.background().color() == QColor(159, 159, 255) && F.foreground().color() == QColor(Qt::white);
    };
    for (int P : {0, 1, 2, 12, 19, 21}) EXPECT_TRUE(MarkedAt(P)) << P;
    for (int P : {3, 7, 8, 9, 15, 27}) EXPECT_FALSE(MarkedAt(P)) << P;

    Win->edSearch->setText("LD");
    Win->btnSearchClick();
    EXPECT_FALSE(MarkedAt(0));
    // A word that is the very end of the text is found too.
    EXPECT_EQ(TChildWinListing::FindAll(Win->TextField, "NOP", QTextDocument::FindWholeWords),
              QList<int>({26}));

    Win->edSearch->setText("LDA");
    Win->btnSearchClick();
    const QString Before = Doc->toHtml();
    Win->edSearch->setText("");
    Win->btnSearchClick();
    EXPECT_EQ(Doc->toHtml(), Before);

    // A text that is nothing but the word.
    Win->TextField->setPlainText("NOP");
    EXPECT_EQ(TChildWinListing::FindAll(Win->TextField, "nop", QTextDocument::FindWholeWords),
              QList<int>({0}));
}

TEST_F(ListingWindowTest, SavesWriteTheExpectedBytes) {
    Open("PROG.SRC", Atmas);
    QString Proposed;
    SetFileDialogHook([&](TFileDialogRequest& R, QStringList& Files) {
        Proposed = R.FileName;
        R.FilterIndex = 2;
        Files = {Dir.filePath("plain")};
        return true;
    });
    Win->SaveToFile();
    EXPECT_EQ(Proposed, "PROG");
    EXPECT_EQ(ReadWholeFile(Dir.filePath("plain.TXT")), QByteArray("LDA      #1\r\nSTA 710\r\n"));

    AnswerSave(Dir.filePath("page.bmp"));
    Win->SaveToFile();
    QImage Saved(Dir.filePath("page.bmp"));
    EXPECT_EQ(Saved.convertToFormat(QImage::Format_RGB32), Win->imgListing->Picture);
    AnswerSave(Dir.filePath("page"), 4);
    Win->SaveToFile();
    EXPECT_EQ(QImage(Dir.filePath("page.JPG")).size(), Win->imgListing->Picture.size());

    AnswerSave(Dir.filePath("page.doc"));
    const int Beeps = BeepCount;
    Win->SaveToFile();
    EXPECT_FALSE(QFile::exists(Dir.filePath("page.doc")));
    EXPECT_EQ(BeepCount, Beeps + 1);
    ASSERT_FALSE(Boxes.isEmpty());
    EXPECT_TRUE(Boxes.last().startsWith("Warnung|"));
}

TEST_F(ListingWindowTest, PrintingGivesOnePdfPagePerStrip) {
    QByteArray Lines;
    for (int I = 0; I < 120; ++I) Lines += QByteArray::number(I) + char(155);
    Open("LONG.LST", Lines);
    ASSERT_EQ(Win->imgListing->Picture.size(), QSize(328, 4 + 8 * 120 + 10)); // 974 / 440: 3 strips
    const QString Pdf = Dir.filePath("listing.pdf");
    SetReportOutputHook([Pdf](TReportOutputChoice& C) {
        C.Destination = TReportDestination::File;
        C.Format = TReportFileFormat::PDF;
        C.FileName = Pdf;
        return true;
    });
    Win->btnReportClick();
    EXPECT_EQ(CountPdfPages(ReadWholeFile(Pdf)), 3);
    EXPECT_EQ(fGlobal->GetParam("Titel"), "LONG.LST");
    EXPECT_EQ(fGlobal->GetParam("PageNumText"), "3 / 3");
    EXPECT_EQ(fGlobal->SelectedReport(), "ListingGraphicReport");
    // The text tab prints flowing text: a short listing fits one page.
    QFile::remove(Pdf);
    Open("SHORT.LST", Basic);
    Win->PageControl1->setCurrentIndex(1);
    Win->PrintReport();
    EXPECT_EQ(CountPdfPages(ReadWholeFile(Pdf)), 1);

    // Cancelling the output dialog prints nothing.
    QFile::remove(Pdf);
    SetReportOutputHook([](TReportOutputChoice&) { return false; });
    Win->PrintReport();
    EXPECT_FALSE(QFile::exists(Pdf));
}

TEST_F(ListingWindowTest, TabsEnableTheirControlsAndFontSizeIgnoresNonsense) {
    Open("P.LST", Basic);
    EXPECT_FALSE(Win->cbInvStyles->isEnabled());
    Win->PageControl1->setCurrentIndex(1);
    for (QWidget* W : Win->pnlTop->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        static const QStringList OnPage0 = {"lblCharPerL", "lblLeftMarg", "edcpl", "edlmarg",
                                            "btnReFormatListing"};
        const bool Expected = W != Win->lblFontSize && !OnPage0.contains(W->objectName());
        EXPECT_EQ(W->isEnabled(), Expected) << W->objectName().toStdString();
    }
    Win->PageControl1->setCurrentIndex(0);
    EXPECT_FALSE(Win->edSearch->isEnabled());

    Win->edFontSize->setText("14");
    Win->edFontSizeKeyDown(Qt::Key_Return);
    EXPECT_EQ(Win->TextField->font().pointSize(), 14);
    for (const char* Bad : {"gross", "0", "-3", ""}) {
        Win->edFontSize->setText(Bad);
        Win->edFontSizeKeyDown(Qt::Key_Return);
        EXPECT_EQ(Win->TextField->font().pointSize(), 14) << Bad;
    }
}

TEST_F(ListingWindowTest, ClosingTheWindowWhileItDrawsEndsTheOpenQuietly) {
    Win = new TChildWinListing;
    const QString Path = Write("GONE.LST", QByteArray(4000, 'A'));
    TChildWinListing* Raw = Win;
    QTimer::singleShot(0, [Raw] { delete Raw; });
    EXPECT_FALSE(Raw->OpenDocument(Path, "GONE.LST"));
    EXPECT_TRUE(Win.isNull());
    EXPECT_TRUE(Boxes.isEmpty());
}

TEST_F(ListingWindowTest, InTheMainWindowItReportsAndDocks) {
    auto* Main = new TfrmMain;
    frmMain = Main;
    Main->show();
    Win = new TChildWinListing;
    Main->AddMDIChild(Win);
    ASSERT_TRUE(Win->OpenDocument(Write("DOCK.ACT", "PROC MAIN()\x9bRETURN\x9b"), "DOCK.ACT"));
    EXPECT_EQ(Main->StatusBar1->PanelText(0), "READY");
    EXPECT_TRUE(Main->ProgressBar1->isHidden());
    auto* Sub = qobject_cast<QMdiSubWindow*>(Win->parentWidget());
    ASSERT_NE(Sub, nullptr);
    EXPECT_EQ(Sub->size(), QSize(600, 450));
    Win->FitWindow();
    EXPECT_EQ(Win->width(), 328 + 32);
    EXPECT_EQ(Win->StatusBar1->PanelText(1), "Action! (ATASCII)");

    Win->btnIsChildWinClick();
    EXPECT_EQ(Win->IsChildWin, 0);
    EXPECT_TRUE(Win->isWindow());
    Win->btnIsChildWinClick();
    EXPECT_EQ(Win->IsChildWin, 1);
    EXPECT_NE(qobject_cast<QMdiSubWindow*>(Win->parentWidget()), nullptr);
    EXPECT_FALSE(Win->isHidden());
    EXPECT_EQ(Win->width(), 328 + 32);

    delete Main; // takes its document windows along
    frmMain = nullptr;
    EXPECT_TRUE(Win.isNull());
}
