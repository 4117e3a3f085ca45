// The text window, built without a main window and driven through its handlers.
#include "FileDialogs.h"
#include "ImageView.h"
#include "ReportOptionsDialog.h"
#include "uChildWinText.h"
#include "uFGlobal.h"
#include "uGlobal.h"
#include "uMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {
constexpr char EOL = char(155);

class TextWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitFolders();
        SetSettingsDefaults();
        TextMode = -1;
        SetMessageBoxHook([this](TMsgKind, const QString& C, const QString& T) { Boxes << C + "|" + T; });
        Win = new TChildWinText;
    }
    void TearDown() override {
        SetMessageBoxHook(nullptr);
        SetFileDialogHook(nullptr);
        SetReportOutputHook(nullptr);
        TextMode = -1;
        delete Win;
    }
    QString Write(const QString& Name, const QByteArray& Data) {
        const QString Path = Dir.filePath(Name);
        WriteWholeFile(Path, Data);
        return Path;
    }
    void Open(const QString& Name, const QByteArray& Data) { Win->OpenDocument(Write(Name, Data), Name); }
    // The page the window should show, drawn directly.
    QImage Expected(const QByteArray& Data, int Cpl, int Lm, int Selector = 1) {
        TAtariFont F;
        QImage I;
        F.RenderText(I, Selector, reinterpret_cast<const quint8*>(Data.constData()), int(Data.size()), 0, 155,
                     0, 1, Cpl, Lm, 0, 0, textforecolor, textbackcolor);
        return I;
    }
    void Enter(QLineEdit* Edit, const QString& Text) {
        Edit->setText(Text);
        QKeyEvent Press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(Edit, &Press);
    }
    QString SaveAs(const QString& Name, int Filter) {
        SetFileDialogHook([this, Name, Filter](TFileDialogRequest& R, QStringList& Files) {
            Proposed = R.FileName;
            R.FilterIndex = Filter;
            Files = {Dir.filePath(Name)};
            return true;
        });
        Win->FileSaveAsItemClick();
        return Dir.filePath(Name);
    }
    int PrintPages() {
        const QString Pdf = Dir.filePath("print.pdf");
        DeleteFileIfExists(Pdf);
        SetReportOutputHook([Pdf](TReportOutputChoice& C) {
            C.Destination = TReportDestination::File;
            C.Format = TReportFileFormat::PDF;
            C.FileName = Pdf;
            return true;
        });
        Win->PrintReport();
        const QByteArray Data = ReadWholeFile(Pdf);
        return int(Data.count("/Type /Page\n") + Data.count("/Type /Page "));
    }
    QTemporaryDir Dir;
    TChildWinText* Win = nullptr;
    QStringList Boxes;
    QString Proposed;
};

QByteArray Lines(int Count, const QByteArray& Line) {
    QByteArray B;
    for (int I = 0; I < Count; ++I) B += Line + EOL;
    return B;
}
} // namespace

TEST_F(TextWindowTest, OpeningPlainTextDrawsPageAndFillsTextTab) {
    const QByteArray Data = "HELLO" + QByteArray(1, EOL) + "W{RLD" + EOL;
    Open("README.TXT", Data);
    EXPECT_EQ(Win->windowTitle(), " README.TXT");
    EXPECT_TRUE(Win->btnATASCII->isChecked());
    EXPECT_EQ(Win->edCPL->text(), "40");
    EXPECT_EQ(Win->edLMarg->text(), "0");
    EXPECT_EQ(Win->imgText->Picture.size(), QSize(328, 30));
    EXPECT_EQ(Win->imgText->Picture, Expected(Data, 40, 0));
    EXPECT_EQ(Win->TextField->toPlainText(), "HELLO\nWRLD\n"); // 123 has no PC character
    EXPECT_EQ(Win->cbTxtStyles->currentIndex(), 0);
    EXPECT_EQ(Win->StatusPanelText(1).count("README.TXT"), 1);
    EXPECT_TRUE(Win->StatusPanelText(1).endsWith(" 12"));
    EXPECT_EQ(Win->TextField->textCursor().position(), 0);
    Win->ShowCaretPos();
    EXPECT_EQ(Win->StatusPanelText(0), "X:1 Y:1");
    QTextCursor C = Win->TextField->textCursor();
    C.setPosition(8);
    Win->TextField->setTextCursor(C);
    Win->ShowCaretPos();
    EXPECT_EQ(Win->StatusPanelText(0), "X:3 Y:2");
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

TEST_F(TextWindowTest, DialectsChooseWidthAndSwitchingRedraws) {
    const QByteArray Data = "A" + QByteArray(1, char(197)) + "0B" + char(193) + "0" + QByteArray(90, 'x');
    Open("ST.TXT", Data);
    EXPECT_TRUE(Win->btnStartexter->isChecked());
    EXPECT_EQ(Win->edCPL->text(), "80");
    EXPECT_EQ(Win->imgText->Picture, Expected(Data, 80, 0));
    EXPECT_EQ(Win->width(), 648 + 32); // fitted to the page
    EXPECT_EQ(Win->TextField->toPlainText(), "AB" + QString(74, 'x') + "\n" + QString(16, 'x'));

    Win->btnASchreiber->setChecked(true);
    EXPECT_EQ(Win->edCPL->text(), "40");
    EXPECT_EQ(Win->imgText->Picture, Expected(Data, 40, 0));
    EXPECT_EQ(Win->TextField->toPlainText(), "AE0BA0" + QString(90, 'x')); // no line end: nothing cut
    Win->btnStartexter->setChecked(true);
    Win->edLMarg->setText("5");
    Win->btnATASCII->setChecked(true);
    EXPECT_EQ(Win->edCPL->text(), "40");
    EXPECT_EQ(Win->edLMarg->text(), "0");

    // A dialect forced by the open dialog wins over detection.
    TextMode = 1;
    const QByteArray Plain = "HEAD" + QByteArray(1, EOL) + char(11) + "X";
    Open("FORCED.TXT", Plain);
    EXPECT_TRUE(Win->btnASchreiber->isChecked());
    EXPECT_EQ(Win->TextField->toPlainText(), QString::fromUtf8("\xc3\xa4X"));
    EXPECT_EQ(Win->imgText->Picture.width(), 328);
}

TEST_F(TextWindowTest, EditsLimitsUmlautsAndTabs) {
    const QByteArray Data = "[{~" + QByteArray(1, char(13));
    Open("U.TXT", Data);
    const QImage First = Win->imgText->Picture;
    Enter(Win->edCPL, "161");
    EXPECT_EQ(Win->imgText->Picture, First);
    Enter(Win->edCPL, "160");
    EXPECT_EQ(Win->imgText->Picture.width(), 1288);
    Enter(Win->edLMarg, "81");
    EXPECT_EQ(Win->imgText->Picture, Expected(Data, 160, 0));
    Enter(Win->edLMarg, "80");
    EXPECT_EQ(Win->imgText->Picture, Expected(Data, 160, 80));
    Enter(Win->edCPL, "4x");
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_EQ(Boxes[0], "Fehler|'4x' ist kein gültiger Integerwert");

    Win->edCPL->setText("40");
    Win->edLMarg->setText("0");
    Win->cbSpecChars->setChecked(true);
    EXPECT_EQ(Win->CharSelector, 3);
    EXPECT_EQ(Win->imgText->Picture, Expected(Data, 40, 0, 3));
    Win->btnStartexter->setChecked(true);
    EXPECT_EQ(Win->CharSelector, 3);
    Win->cbSpecChars->setChecked(false);
    EXPECT_EQ(Win->CharSelector, 1);
    Win->cbSpecChars->setChecked(true);
    EXPECT_EQ(Win->CharSelector, 2);
    EXPECT_EQ(Win->imgText->Picture, Expected(Data, 80, 0, 2));

    Win->PageControl1->setCurrentIndex(1);
    EXPECT_TRUE(Win->cbTxtStyles->isEnabled());
    EXPECT_FALSE(Win->edCPL->isEnabled());
    Win->PageControl1->setCurrentIndex(0);
    EXPECT_FALSE(Win->cbWordwrap->isEnabled());
    EXPECT_TRUE(Win->btnReFormatListing->isEnabled());

    const QSize View = Win->imgText->ViewSize();
    Win->ZoomIn();
    EXPECT_EQ(Win->imgText->ViewSize(), View * 2);
    Win->ZoomOut();
    Win->ZoomOut();
    EXPECT_EQ(Win->imgText->ViewSize(), View / 2);
}

TEST_F(TextWindowTest, SavesWriteTextRichTextAndPictures) {
    const QByteArray Data = "A" + QByteArray(1, char(197)) + "5B" + char(193) + "5" + char(197) + "8" + "{" +
                            QByteArray(71, 'c') + "D";
    TextMode = 2;
    Open("STYLE.TXT", Data);
    const QString Txt = SaveAs("plain", 2);
    EXPECT_EQ(Proposed, "STYLE");
    EXPECT_EQ(ReadWholeFile(Txt + ".TXT"), "AB\xe4" + QByteArray(71, 'c') + "\r\nD");

    Win->cbTxtStyles->setCurrentIndex(1);
    const QTextBlock Block = Win->TextField->document()->begin();
    EXPECT_EQ(Block.text(), QString::fromUtf8("AB\xc3\xa4") + QString(71, 'c'));
    const QByteArray Rtf = ReadWholeFile(SaveAs("styled.rtf", 1));
    EXPECT_TRUE(Rtf.startsWith("{\\rtf1"));
    EXPECT_TRUE(Rtf.contains("A{\\b B}{\\i \\u228?cccc")) << Rtf.constData();
    EXPECT_TRUE(Rtf.contains("\\par\n{\\i D}")) << Rtf.constData();
    EXPECT_EQ(ReadWholeFile(SaveAs("rich.txt", 1)), "AB\xe4" + QByteArray(71, 'c') + "\r\nD");

    Win->cbTxtStyles->setCurrentIndex(0);
    EXPECT_EQ(ReadWholeFile(SaveAs("again.txt", 1)), "AB\xe4" + QByteArray(71, 'c') + "\r\nD\r\n");

    QImage Bmp;
    ASSERT_TRUE(Bmp.load(SaveAs("page", 3) + ".BMP"));
    EXPECT_EQ(Bmp.convertToFormat(QImage::Format_RGB32), Win->imgText->Picture);
    EXPECT_TRUE(ReadWholeFile(SaveAs("page.jpg", 4)).startsWith("\xff\xd8"));
    SaveAs("other.DOC", 1);
    EXPECT_FALSE(QFileInfo::exists(Dir.filePath("other.DOC")));
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

TEST_F(TextWindowTest, PrintingPicturePagesAndFlowingText) {
    fGlobal = new TfGlobal;
    // 110 lines: a page 894 pixels high in strips of 440 gives three picture pages.
    Open("PRINT.TXT", Lines(110, "LINE"));
    EXPECT_EQ(Win->imgText->Picture.size(), QSize(328, 894));
    EXPECT_EQ(PrintPages(), 3);
    EXPECT_EQ(fGlobal->GetParam("pagenumtext"), "3 / 3");
    EXPECT_EQ(fGlobal->GetParam("Titel"), "PRINT.TXT");
    Win->PageControl1->setCurrentIndex(1);
    Open("SHORT.TXT", Lines(10, "TEXT"));
    EXPECT_EQ(PrintPages(), 1);
    Open("LONG.TXT", Lines(400, "TEXT"));
    EXPECT_GE(PrintPages(), 5);
    delete fGlobal;
    fGlobal = nullptr;
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

TEST_F(TextWindowTest, TooLargePageAndBadFilesFailCleanly) {
    EXPECT_THROW(Win->OpenDocument(Dir.filePath("NONE.TXT"), "NONE.TXT"), EInOutError);
    try {
        Open("HUGE.TXT", QByteArray(TAtariText::BufferSize, EOL));
        ADD_FAILURE() << "no error";
    } catch (const EMorvanelError& E) {
        EXPECT_TRUE(E.Message().startsWith("Der Text ist zu lang")) << E.Message().toStdString();
    }
    EXPECT_TRUE(Win->imgText->Picture.isNull());
    EXPECT_EQ(Win->AtariText->Length, TAtariText::BufferSize);
    // Redrawing through a handler reports the same error in a box.
    Enter(Win->edCPL, "40");
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].startsWith("Fehler|Der Text ist zu lang"));
}

TEST_F(TextWindowTest, DialectChangeWhileDrawingStartsOver) {
    // Events run while the page is drawn; a change of dialect then wins.
    const QByteArray Data = Lines(3000, QByteArray(60, 'a'));
    bool Opened = false, ClickedWhileOpening = false;
    QTimer::singleShot(0, Win, [&] {
        ClickedWhileOpening = !Opened;
        Win->btnStartexter->setChecked(true);
    });
    Open("BIG.TXT", Data);
    Opened = true;
    EXPECT_TRUE(ClickedWhileOpening);
    EXPECT_EQ(Win->edCPL->text(), "80");
    EXPECT_EQ(Win->imgText->Picture, Expected(Data, 80, 0));

    // A window closed while drawing is not touched again.
    QPointer<TChildWinText> Guard(Win);
    QTimer::singleShot(0, Win, [this] { delete Win; });
    Open("BIG.TXT", Data);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Guard.isNull());
    Win = nullptr;
}

TEST_F(TextWindowTest, InsideTheMainWindow) {
    auto* Main = new TfrmMain;
    frmMain = Main;
    Main->show();
    Main->AddMDIChild(Win);
    Open("MDI.TXT", Lines(110, "LINE"));
    auto* Sub = qobject_cast<QMdiSubWindow*>(Win->parentWidget());
    ASSERT_NE(Sub, nullptr);
    EXPECT_EQ(Sub->size(), QSize(665, 375));
    EXPECT_EQ(Main->StatusBar1->PanelText(0), GetMsg("mREADY"));
    EXPECT_FALSE(Main->ProgressBar1->isVisible());
    QApplication::processEvents();

    // The wheel scrolls the page by 7 pixels a notch.
    QWheelEvent Wheel(QPointF(5, 5), QPointF(), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(Win->ScrollBox1->viewport(), &Wheel);
    EXPECT_EQ(Win->ScrollBox1->verticalScrollBar()->value(), 7);

    // The caret position shows before a key moves the caret.
    QKeyEvent Right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(Win->TextField, &Right);
    EXPECT_EQ(Win->StatusPanelText(0), "X:1 Y:1");
    EXPECT_EQ(Win->TextField->textCursor().position(), 1);

    Win->btnStartexter->setChecked(true);
    Win->FitWindow();
    EXPECT_EQ(Win->width(), 648 + 32);
    Win->btnIsChildWinClick();
    EXPECT_EQ(Win->IsChildWin, 0);
    EXPECT_TRUE(Win->isWindow());
    EXPECT_EQ(Win->pos(), QPoint(10, 10));
    Win->btnIsChildWinClick();
    EXPECT_NE(qobject_cast<QMdiSubWindow*>(Win->parentWidget()), nullptr);
    EXPECT_EQ(Win->parentWidget()->size(), QSize(665, 375));
    delete Main;
    frmMain = nullptr;
    Win = nullptr;
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}
