// The text window, built without a main window and driven through its handlers.
#include "test_text_common.h"

#include "test_drive_events.h"
#include "test_widget_pixels.h"
#include "uChildWinText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QScrollArea>
#include <QTextEdit>
#include <QToolButton>

namespace {
using namespace texttest;
constexpr char EOL = char(155);

class TextWindowTest : public texttest::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        TextMode = -1;
        Win = new TChildWinText;
    }
    void TearDown() override {
        TextMode = -1;
        delete Win;
        WindowTest::TearDown();
    }
    // Opens as the dispatch does: the notices follow the opening.
    void Open(const QString& Name, const QByteArray& Data) {
        const QPointer<TChildWinText> Opened(Win); // a test may close it while it draws
        Win->OpenDocument(Write(Name, Data), Name);
        if (Opened) Opened->ShowOpenNotices();
    }
    void Enter(QLineEdit* Edit, const QString& Text) {
        Edit->setText(Text);
        drive::Key(Edit, Qt::Key_Return);
    }
    QString SaveAs(const QString& Name, int Filter) {
        AnswerSave(Name, Filter);
        Win->FileSaveAsItemClick();
        return Dir.filePath(Name);
    }
    int PrintPages(const QString& Name) {
        PrintTo(Name);
        Win->PrintReport();
        return PdfPages(Name);
    }
    TChildWinText* Win = nullptr;
};

QByteArray Lines(int Count, const QByteArray& Line) {
    QByteArray B;
    for (int I = 0; I < Count; ++I) B += Line + EOL;
    return B;
}
} // namespace

TEST_F(TextWindowTest, DialectsChooseWidthDrawThePageAndFillTheTextTab) {
    const QByteArray Data = "HELLO" + QByteArray(1, EOL) + "W{RLD" + EOL;
    Open("README.TXT", Data);
    EXPECT_TRUE(Win->btnATASCII->isChecked());
    // 40 columns: two line ends, the bottom margin below the empty third line.
    const QImage& Page = Win->imgText->Picture;
    EXPECT_TRUE(IsPage(Page, 328, 4 + 2 * 8 + 10));
    EXPECT_TRUE(RowShows(Page, 4, 4, "HELLO "));
    EXPECT_TRUE(RowShows(Page, 4, 12, "W{R")); // the standard set's spade
    EXPECT_TRUE(RowShows(Page, 4, 20, " "));
    EXPECT_EQ(Win->TextField->toPlainText(), "HELLO\nWRLD\n"); // 123 has no PC character
    QTextCursor C = Win->TextField->textCursor();
    C.setPosition(8);
    Win->TextField->setTextCursor(C);
    Win->ShowCaretPos();
    EXPECT_EQ(Win->StatusPanelText(0), "X:3 Y:2");

    const QByteArray St = "A" + QByteArray(1, char(197)) + "0B" + char(193) + "0" + QByteArray(90, 'x');
    Open("ST.TXT", St);
    EXPECT_TRUE(Win->btnStartexter->isChecked());
    // 96 bytes at 80 columns wrap once; the style switches show as inverse E and A.
    EXPECT_TRUE(IsPage(Page, 648, 4 + 8 + 10));
    EXPECT_EQ(CellRows(Page, 4 + 8, 4), Inverse(StandardGlyph('E')));
    EXPECT_EQ(CellRows(Page, 4 + 4 * 8, 4), Inverse(StandardGlyph('A')));
    EXPECT_TRUE(RowShows(Page, 4 + 79 * 8, 4, "x"));
    EXPECT_TRUE(RowShows(Page, 4 + 15 * 8, 12, "x "));
    EXPECT_EQ(Win->TextField->toPlainText(), "AB" + QString(74, 'x') + "\n" + QString(16, 'x'));
    Win->btnASchreiber->setChecked(true);
    EXPECT_TRUE(IsPage(Page, 328, 4 + 2 * 8 + 10)); // 40 + 40 + 16
    EXPECT_TRUE(RowShows(Page, 4 + 39 * 8, 4, "x"));
    EXPECT_TRUE(RowShows(Page, 4 + 15 * 8, 20, "x "));

    // A dialect forced by the open dialog wins over detection.
    TextMode = 1;
    const QByteArray Plain = "HEAD" + QByteArray(1, EOL) + char(11) + "X";
    Open("FORCED.TXT", Plain);
    EXPECT_EQ(Win->TextField->toPlainText(), QString::fromUtf8("\xc3\xa4X"));
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

TEST_F(TextWindowTest, LayoutLimitsOnBothSides) {
    Open("U.TXT", "[{~" + QByteArray(1, char(13)));
    ExpectLayoutLimits(
        80,
        [this](int Cpl, int Lm) {
            Win->edCPL->setText(QString::number(Cpl));
            Enter(Win->edLMarg, QString::number(Lm));
        },
        Win->imgText->Picture, Boxes);
    Enter(Win->edCPL, "4x");
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_EQ(Boxes[0], "Fehler|'4x' ist kein gültiger Integerwert");
}

// "Uml" chooses the character selector by the dialect at the moment it is clicked; a
// later change of dialect keeps it. Every substitution and the codes where the sets differ.
TEST_F(TextWindowTest, UmlautsChooseTheSelectorWhenClicked) {
    const QByteArray Data = "[\\]{|}~" + Bytes({13, 0, 96});
    Open("U.TXT", Data);
    QRadioButton* const Dialects[] = {Win->btnATASCII, Win->btnASchreiber, Win->btnStartexter};
    const struct {
        int Clicked;
        bool Ticked;
        int After, Selector;
    } Rows[] = {{0, true, 0, 3}, {1, true, 1, 3},  {2, true, 2, 2}, {0, true, 2, 3},
                {2, true, 1, 2}, {2, false, 2, 1}, {1, false, 0, 1}};
    for (const auto& R : Rows) {
        Dialects[R.Clicked]->setChecked(true);
        Win->cbSpecChars->setChecked(!R.Ticked);
        Win->cbSpecChars->setChecked(R.Ticked);
        Dialects[R.After]->setChecked(true);
        for (int K = 0; K < Data.size(); ++K)
            EXPECT_EQ(CellRows(Win->imgText->Picture, 4 + 8 * K, 4),
                      SelectorGlyph(R.Selector, quint8(Data[K])))
                << R.Clicked << R.Ticked << R.After << ", cell " << K;
    }
}

TEST_F(TextWindowTest, SavesWriteTextRichTextAndPictures) {
    const QByteArray Data = "A" + QByteArray(1, char(197)) + "5B" + char(193) + "5" + char(197) + "8" + "{" +
                            QByteArray(71, 'c') + "D";
    TextMode = 2;
    Open("STYLE.TXT", Data);
    const QString Txt = SaveAs("plain", 2);
    EXPECT_EQ(Request.FileName, "STYLE");
    EXPECT_EQ(ReadWholeFile(Txt + ".TXT"), "AB\xe4" + QByteArray(71, 'c') + "\r\nD");

    Win->cbTxtStyles->setCurrentIndex(1);
    const QByteArray Rtf = ReadWholeFile(SaveAs("styled.rtf", 1));
    EXPECT_TRUE(Rtf.startsWith("{\\rtf1") && Rtf.contains("A{\\b B}{\\i \\u228?cccc") &&
                Rtf.contains("\\par\n{\\i D}"))
        << Rtf.constData();
    EXPECT_EQ(ReadWholeFile(SaveAs("rich.txt", 1)), "AB\xe4" + QByteArray(71, 'c') + "\r\nD");

    QImage Bmp;
    ASSERT_TRUE(Bmp.load(SaveAs("page", 3) + ".BMP"));
    EXPECT_EQ(Bmp.convertToFormat(QImage::Format_RGB32), Win->imgText->Picture);
    ExpectFilterExtensions([this] { Win->FileSaveAsItemClick(); }, {".RTF", ".TXT", ".BMP", ".JPG"});
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
    // Another extension writes nothing and says so, naming the file.
    SaveAs("other.DOC", 1);
    EXPECT_FALSE(QFileInfo::exists(Dir.filePath("other.DOC")));
    EXPECT_EQ(Boxes, QStringList{"Warnung|Unbekanntes Dateiformat! (" + Dir.filePath("other.DOC") + ")"});

    // Byte 127 is kept by both text saves, escaped in RTF where it is a control character.
    TextMode = 0;
    Open("DEL.TXT", "A\177B");
    EXPECT_EQ(ReadWholeFile(SaveAs("del.txt", 2)), QByteArray("A\177B"));
    const QByteArray DelRtf = ReadWholeFile(SaveAs("del.rtf", 1));
    EXPECT_TRUE(DelRtf.contains("A\\'7fB") && !DelRtf.contains('\x7f')) << DelRtf.constData();
}

TEST_F(TextWindowTest, PrintingPicturePagesAndFlowingText) {
    // 110 lines: a page 894 pixels high in strips of 440 gives three picture pages.
    Open("PRINT.TXT", Lines(110, "LINE"));
    EXPECT_EQ(Win->imgText->Picture.size(), QSize(328, 894));
    EXPECT_EQ(PrintPages("p.pdf"), 3);
    Win->PageControl1->setCurrentIndex(1);
    Open("SHORT.TXT", Lines(10, "TEXT"));
    EXPECT_EQ(PrintPages("short.pdf"), 1);
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

// A text too tall for one page shows the whole lines that fit and says so.
TEST_F(TextWindowTest, TallTextShowsTheLinesThatFitAndBadFilesFailCleanly) {
    EXPECT_THROW(Win->OpenDocument(Dir.filePath("NONE.TXT"), "NONE.TXT"), EInOutError);
    EXPECT_TRUE(Win->imgText->Picture.isNull());
    QByteArray Data;
    for (int N = 0; N < 60000; ++N) Data += QByteArray::number(N % 1000).rightJustified(3, '0') + EOL;
    Open("TALL.TXT", Data);
    const int Fit = int((TAtariFont::MaxPagePixels / 328 - 14) / 8); // 51148 lines at 40 columns
    const QImage& Page = Win->imgText->Picture;
    ASSERT_EQ(Page.size(), QSize(328, 4 + 8 * Fit + 10));
    EXPECT_TRUE(RowShows(Page, 4, 4, "000 "));
    EXPECT_TRUE(RowShows(Page, 4, 4 + 8 * (Fit - 1), QByteArray::number((Fit - 1) % 1000) + ' '));
    EXPECT_TRUE(RowShows(Page, 4, 4 + 8 * Fit, "    ")); // no part of the next line
    const QString Notice =
        "Warnung|TALL.TXT (240000 Bytes): " + GetMsg("mTextTooTall") + " " + QString::number(Fit);
    EXPECT_EQ(Boxes, QStringList{Notice});
    // The text tab and the status bar hold it all.
    EXPECT_EQ(std::tuple(GetMsg("mTextTooTall").left(20), Win->TextField->document()->blockCount(),
                         Win->StatusPanelText(1).section(' ', -1)),
              std::tuple("Der Text ist zu lang", 60001, "240000"));
    // Wrapped lines are cut whole too; a last line begun in the bottom margin still fits.
    const QByteArray Wrapped(40 * (Fit + 1), 'A');
    const auto* W = reinterpret_cast<const quint8*>(Wrapped.constData());
    for (const auto& [Length, Margin, Fits] : {std::tuple{40 * (Fit + 1), 0, 40 * Fit},
                                               {40 * Fit + 39, 0, 40 * Fit + 39},
                                               {38 * (Fit + 1), 2, 38 * Fit}})
        EXPECT_EQ(TAtariFont::FittingLength(W, Length, 0, 155, 0, 1, 40, Margin, 0), Fits) << Length;
    // Narrower, all fits: nothing to tell; back at 40 columns, told again at once.
    Enter(Win->edCPL, "20");
    EXPECT_EQ(Page.size(), QSize(168, 4 + 8 * 60000 + 10));
    EXPECT_EQ(Boxes.size(), 1);
    Enter(Win->edCPL, "40");
    EXPECT_EQ(Page.height(), 4 + 8 * Fit + 10);
    EXPECT_EQ(Boxes, QStringList({Notice, Notice}));
}

// Like the listing, the window tells when the file is longer than the part it shows.
TEST_F(TextWindowTest, LongFileShowsItsStartWithANotice) {
    Open("LONG.TXT", QByteArray(TAtariText::BufferSize, 'A'));
    EXPECT_EQ(Win->AtariText->Length, TAtariText::BufferSize);
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
    Open("LONG.TXT", QByteArray(TAtariText::BufferSize + 1, 'A'));
    EXPECT_EQ(Win->AtariText->Length, TAtariText::BufferSize);
    EXPECT_TRUE(Win->StatusPanelText(1).endsWith(" 250000")) << Win->StatusPanelText(1).toStdString();
    EXPECT_EQ(Boxes, QStringList{"Warnung|LONG.TXT (250001 Bytes): " + GetMsg("mTextCut")});
    EXPECT_TRUE(GetMsg("mTextCut").contains("250000")) << GetMsg("mTextCut").toStdString();
}

TEST_F(TextWindowTest, DialectChangeWhileDrawingStartsOver) {
    // Events run while the page is drawn; a change of dialect then wins.
    const QByteArray Data = Lines(3000, QByteArray(60, 'a'));
    bool Opened = false, ClickedWhileOpening = false;
    drive::Soon(Win, [&] {
        ClickedWhileOpening = !Opened;
        Win->btnStartexter->setChecked(true);
    });
    Open("BIG.TXT", Data);
    Opened = true;
    EXPECT_TRUE(ClickedWhileOpening);
    EXPECT_EQ(Win->edCPL->text(), "80");
    // 80 columns: every 60-letter line ends at its own line end.
    const QImage& Page = Win->imgText->Picture;
    EXPECT_TRUE(IsPage(Page, 648, 4 + 3000 * 8 + 10));
    for (int Y : {4, 4 + 2999 * 8}) EXPECT_TRUE(RowShows(Page, 4, Y, QByteArray(60, 'a') + ' ')) << Y;

    // A window closed while drawing is not touched again.
    QPointer<TChildWinText> Guard(Win);
    drive::Soon(qApp, [this] { delete Win; });
    Open("BIG.TXT", Data);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Guard.isNull());
    Win = nullptr;
}

TEST_F(TextWindowTest, DialectButtonsShowTheirMarksOnTheBluePanel) {
    Open("README.TXT", "HELLO" + QByteArray(1, EOL));
    Win->show();
    // White captions, but the marks inside the white indicators stay dark.
    for (QAbstractButton* B : std::initializer_list<QAbstractButton*>{Win->btnATASCII, Win->btnASchreiber,
                                                                      Win->btnStartexter, Win->cbSpecChars}) {
        const QPalette& P = B->palette();
        EXPECT_EQ(P.color(QPalette::Active, QPalette::WindowText), QColor(Qt::white))
            << qPrintable(B->text());
        EXPECT_GT(std::abs(qGray(P.color(QPalette::Active, QPalette::Text).rgb()) -
                           qGray(P.color(QPalette::Active, QPalette::Base).rgb())),
                  90)
            << qPrintable(B->text());
    }
    // On the text page the page-layout captions are disabled: they show in the
    // disabled grey, not in the white of an enabled caption on the same panel.
    Win->PageControl1->setCurrentIndex(1);
    const QRgb Grey = WinColorToRgb(clBtnShadow), White = 0xFFFFFF;
    for (QWidget* Disabled :
         {static_cast<QWidget*>(Win->lblCharPerL), static_cast<QWidget*>(Win->lblLeftMarg)}) {
        ASSERT_FALSE(Disabled->isEnabled());
        EXPECT_GT(PixelsNear(Disabled, Grey), 10);
    }
    EXPECT_EQ(PixelsNear(Win->lblTxtFormat, Grey), 0);
    EXPECT_GT(PixelsNear(Win->lblTxtFormat, White, 150), 10);
    // Every control the keyboard reaches on the panel, and the page, shows the focus.
    Win->PageControl1->setCurrentIndex(0);
    EXPECT_EQ(drive::WithoutFocusMark({Win->btnReport, Win->btnATASCII, Win->btnASchreiber,
                                       Win->btnStartexter, Win->cbSpecChars, Win->btnReFormatListing,
                                       Win->btnIsChildWin, Win->ScrollBox1}),
              QStringList());
}
