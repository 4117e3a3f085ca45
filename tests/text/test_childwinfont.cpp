// The font window: opening, drawing, selecting, saving, printing and closing.
#include "test_childwinfont_common.h"

#include "ReportOptionsDialog.h"
#include "VekButton.h"
#include "uFGlobal.h"
#include "uMain.h"
#include "uYESNOCANCEL.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QTimer>
#include <QToolButton>

using namespace fonttest;

TEST_F(FontWindowTest, OpenedFontDrawsEveryGlyphAndCharacterZero) {
    const QByteArray Font = RandomFont(11);
    TChildWinFont* W = Open(Font);
    const QImage& Pic = W->imgFont->Picture;
    ASSERT_EQ(Pic.size(), QSize(289, 73));
    EXPECT_EQ(W->imgFont->ViewSize(), QSize(578, 146)); // opened at zoom 2
    for (int Cell = 0; Cell < 256; ++Cell) {
        const TCharBytes Want = FileGlyph(Font, ToInternal(Cell % 128));
        // The lower half is inverse: its ink is the background colour.
        ASSERT_EQ(CellBytes(Pic, Cell, Cell < 128 ? Fore() : Back()), Want) << Cell;
    }
    EXPECT_EQ(Pic.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(Pic.pixel(9, 40), qRgb(255, 255, 255));
    // Character 0 (internal 64) enlarged: set pixels black over the editing grid.
    const TCharBytes Zero = FileGlyph(Font, 64);
    for (int R = 0; R < 8; ++R) {
        for (int C = 0; C < 8; ++C) {
            const QRgb Grid = WinColorToRgb((R + C) % 2 ? 0xF0CAA6 : 0xF0FBFF);
            EXPECT_EQ(W->imgChar->Picture.pixel(C * 11 + 5, R * 11 + 5),
                      Zero[R] & (0x80 >> C) ? qRgb(0, 0, 0) : Grid);
        }
        EXPECT_EQ(W->DecTexts[R]->text(), QString::number(Zero[R]));
        EXPECT_EQ(W->HexTexts[R]->text(), QString("%1").arg(Zero[R], 3, 16, QChar('0')).toUpper());
    }
    EXPECT_EQ(W->windowTitle(), " MYFONT.FNT");
    EXPECT_EQ(W->lblFontType->text(), " ATASCII");
    EXPECT_EQ(W->lblInt->text(), " 064 | $040");
    EXPECT_FALSE(W->btnInternational->isEnabled());
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
    EXPECT_EQ(W->imgFont->Picture.pixel(45, 18), Red);
    EXPECT_EQ(W->imgFont->Picture.pixel(54, 27), Red);
    EXPECT_EQ(W->lblATASC->text(), " 069 | $045");
    EXPECT_EQ(W->lblASCII->text(), "  E");

    Click(W, 202); // inverse: shown inverted, clear pixels black
    EXPECT_EQ(W->imgFont->Picture.pixel(45, 18), White);
    EXPECT_EQ(W->imgFont->Picture.pixel(90, 54), Red);
    const TCharBytes Glyph = FileGlyph(Font, ToInternal(74));
    for (int R = 0; R < 8; ++R) {
        EXPECT_EQ(W->DecTexts[R]->text(), QString::number(quint8(~Glyph[R])));
        for (int C = 0; C < 8; ++C)
            EXPECT_EQ(W->imgChar->Picture.pixel(C * 11 + 3, R * 11 + 3) == qRgb(0, 0, 0),
                      !(Glyph[R] & (0x80 >> C)));
    }
    W->imgFontMouseDown(288 * 2 + 1, 72 * 2 + 1); // the outer border belongs to the last cell
    EXPECT_EQ(W->SelectedChar, 255);

    auto Key = [W](int K) {
        QKeyEvent E(QEvent::KeyPress, K, Qt::NoModifier);
        QApplication::sendEvent(W, &E);
    };
    Key(Qt::Key_Right); // column 31 wraps to 0 of the same row
    EXPECT_EQ(W->SelectedChar, 224);
    Key(Qt::Key_Left);
    Key(Qt::Key_Down); // row 7 wraps to 0
    EXPECT_EQ(W->SelectedChar, 31);
    Key(Qt::Key_Up);
    EXPECT_EQ(W->SelectedChar, 255);
    EXPECT_EQ(W->imgFont->Picture.pixel(CellOrigin(255) - QPoint(1, 1)), Red);
    EXPECT_EQ(W->imgFont->Picture.pixel(CellOrigin(31) - QPoint(1, 1)), White);

    W->btnATAINTClick(); // internal order: the grid shows the file in its own order
    for (int Cell = 0; Cell < 128; ++Cell)
        ASSERT_EQ(CellBytes(W->imgFont->Picture, Cell, Fore()), FileGlyph(Font, Cell));
    Click(W, 0);
    EXPECT_EQ(W->lblFontType->text(), " Intern");
    EXPECT_EQ(W->lblATASC->text(), " 032 | $020");
    EXPECT_EQ(W->lblKeysToPress->text(), " SPACE");
}

TEST_F(FontWindowTest, ZoomDetailsAndTheBuiltinExplorer) {
    TChildWinFont* W = Open(RandomFont(14));
    W->ZoomOut();
    W->ZoomOut(); // already at 1: nothing
    EXPECT_EQ(W->size(), QSize(289, 73 + 27 + 115 + 2));
    for (int I = 0; I < 12; ++I) W->ZoomIn(); // stops where the view ends
    EXPECT_EQ(W->ZoomFactor, 64);
    EXPECT_EQ(W->imgFont->ViewSize().width(), 289 * 64);
    Click(W, 40);
    EXPECT_EQ(W->SelectedChar, 40);
    W->btnDetailsClick();
    EXPECT_EQ(W->size(), QSize(289 * 64, 73 * 64 + 27 + 2));
    EXPECT_EQ(W->imgFont->Picture.pixel(CellOrigin(40) - QPoint(1, 1)), qRgb(255, 255, 255));

    auto* E = new TChildWinFont;
    Windows << E;
    E->OpenBuiltinFont(true);
    EXPECT_EQ(E->windowTitle(), " Font-Explorer: ATARI (Morvanel intern)");
    EXPECT_TRUE(E->btnInternational->isEnabled());
    EXPECT_EQ(E->EditorOn, 1);
    TAtariFont Intl;
    Intl.LoadBuiltinFont(2);
    E->btnInternationalClick();
    for (int Cell = 0; Cell < 128; ++Cell) {
        TCharBytes Want;
        std::copy_n(Intl.FontATASCII.begin() + Cell * 8, 8, Want.begin());
        ASSERT_EQ(CellBytes(E->imgFont->Picture, Cell, Fore()), Want) << Cell;
    }
    E->btnInternationalClick();
    EXPECT_EQ(E->AtariFont->FontInternal, TAtariFont().FontInternal);
}

TEST_F(FontWindowTest, SaveRoundTripsByteExactlyAndPicturesLeaveModifiedAlone) {
    const QByteArray Font = RandomFont(15);
    TChildWinFont* W = Open(Font);
    W->btnFontEditClick();
    Click(W, 65);
    W->btnFontInvertClick();
    SetFileDialogHook([&](TFileDialogRequest& R, QStringList& Files) {
        EXPECT_EQ(R.FileName, "MYFONT");
        Files = {Dir.filePath("saved")};
        return true;
    });
    W->SaveToFile();
    QByteArray Want = Font;
    for (int R = 0; R < 8; ++R) Want[33 * 8 + R] = char(~Want[33 * 8 + R]); // "A" is internal 33
    EXPECT_EQ(ReadWholeFile(Dir.filePath("saved.FNT")), Want);
    EXPECT_EQ(W->Modified, 0);
    W->btnATAINTClick(); // the file keeps the internal order whatever is shown
    AnswerSave(Dir.filePath("internal.fnt"));
    W->SaveToFile();
    EXPECT_EQ(ReadWholeFile(Dir.filePath("internal.fnt")), Want);

    W->btnFontClearClick();
    AnswerSave(Dir.filePath("grid.jpg"));
    W->SaveToFile();
    EXPECT_TRUE(ReadWholeFile(Dir.filePath("grid.jpg")).startsWith("\xFF\xD8"));
    AnswerSave(Dir.filePath("grid"), 2);
    W->SaveToFile();
    QImage Bmp;
    ASSERT_TRUE(Bmp.load(Dir.filePath("grid.BMP"), "BMP"));
    EXPECT_EQ(Bmp.convertToFormat(QImage::Format_RGB32), W->imgFont->Picture);
    EXPECT_EQ(W->Modified, 1);
    AnswerSave(Dir.filePath("grid.txt"));
    W->SaveToFile();
    EXPECT_FALSE(QFile::exists(Dir.filePath("grid.txt")));
    ASSERT_FALSE(Boxes.isEmpty());
    EXPECT_TRUE(Boxes.last().startsWith("Warnung|"));
}

TEST_F(FontWindowTest, ReportCarriesBothOrdersAndWritesAPdf) {
    const QByteArray Font = RandomFont(17);
    TChildWinFont* W = Open(Font);
    fGlobal = new TfGlobal;
    const QString Pdf = Dir.filePath("font.pdf");
    TReportPage Page;
    SetReportOutputHook([&](TReportOutputChoice& C) {
        Page = fGlobal->LayoutSelected();
        C.Destination = TReportDestination::File;
        C.FileName = Pdf;
        return true;
    });
    W->btnReportClick();
    SetReportOutputHook(nullptr);
    EXPECT_EQ(Page.ReportName, "Fontreport");
    EXPECT_EQ(Page.Title, "FONT: MYFONT.FNT");
    EXPECT_EQ(fGlobal->GetParam("PageFooterText"), GetMsg("mCreatedWith"));
    QImage Atascii, Internal;
    for (const TReportElement& E : Page.Elements) {
        if (E.Name == "bitmapFont1") Atascii = E.Image;
        if (E.Name == "bitmapFont2") Internal = E.Image;
    }
    for (int Cell : {0, 33, 65, 127}) {
        EXPECT_EQ(CellBytes(Atascii, Cell, Fore()), FileGlyph(Font, ToInternal(Cell)));
        EXPECT_EQ(CellBytes(Internal, Cell, Fore()), FileGlyph(Font, Cell));
    }
    delete fGlobal;
    fGlobal = nullptr;
    EXPECT_TRUE(ReadWholeFile(Pdf).startsWith("%PDF"));
    EXPECT_TRUE(QDir(ProgramFolder).entryList({"tmpFontPic*"}).isEmpty());
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
        delete Answerer;
        FontWindowTest::TearDown();
        delete frmYESNOCANCEL;
        frmYESNOCANCEL = nullptr;
    }
    // Clicks the button once the dialog is up.
    void Answer(TVekButton* TfrmYESNOCANCEL::*Button) {
        delete Answerer;
        Answerer = new QTimer;
        QObject::connect(Answerer, &QTimer::timeout, [this, Button] {
            if (!frmYESNOCANCEL->isVisible()) return;
            Answerer->stop();
            ++Answers;
            (frmYESNOCANCEL->*Button)->Click();
        });
        Answerer->start(5);
    }
    QPointer<TChildWinFont> Edited(const QString& Name = "MYFONT.FNT") {
        TChildWinFont* W = Open(RandomFont(18), Name);
        W->btnFontEditClick();
        Click(W, 34);
        W->btnFontInvertClick();
        return W;
    }
    static void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    QTimer* Answerer = nullptr;
    int Answers = 0;
};
} // namespace

TEST_F(CloseQueryTest, CancelKeepsNoDiscardsYesSavesUnmodifiedDoesNotAsk) {
    QPointer<TChildWinFont> W = Edited();
    Answer(&TfrmYESNOCANCEL::btnCancel);
    EXPECT_FALSE(W->close());
    Flush();
    ASSERT_FALSE(W.isNull());
    EXPECT_EQ(Answers, 1);

    AnswerSave(Dir.filePath("onclose.fnt"));
    Answer(&TfrmYESNOCANCEL::btnYES);
    const auto Bytes = W->AtariFont->FontInternal;
    EXPECT_TRUE(W->close());
    Flush();
    EXPECT_TRUE(W.isNull());
    EXPECT_EQ(ReadWholeFile(Dir.filePath("onclose.fnt")),
              QByteArray(reinterpret_cast<const char*>(Bytes.data()), 1024));

    W = Edited();
    Answer(&TfrmYESNOCANCEL::btnNo);
    EXPECT_TRUE(W->close());
    Flush();
    EXPECT_TRUE(W.isNull());
    W = Open(RandomFont(19));
    EXPECT_TRUE(W->close());
    EXPECT_EQ(Answers, 3);
}

TEST_F(CloseQueryTest, YesWithoutASavedFontKeepsTheWindow) {
    QPointer<TChildWinFont> W = Edited();
    SetFileDialogHook([](TFileDialogRequest&, QStringList&) { return false; }); // save cancelled
    Answer(&TfrmYESNOCANCEL::btnYES);
    EXPECT_FALSE(W->close());
    AnswerSave(Dir.filePath("missing/dir/new.fnt")); // save fails: error shown
    Answer(&TfrmYESNOCANCEL::btnYES);
    EXPECT_FALSE(W->close());
    ASSERT_FALSE(Boxes.isEmpty());
    EXPECT_TRUE(Boxes.last().startsWith("Fehler|")) << Boxes.last().toStdString();
    AnswerSave(Dir.filePath("grid.bmp")); // a picture is no save of the font
    Answer(&TfrmYESNOCANCEL::btnYES);
    EXPECT_FALSE(W->close());
    Flush();
    ASSERT_FALSE(W.isNull());
    EXPECT_EQ(W->Modified, 1);
    EXPECT_EQ(Answers, 3);
}

TEST_F(CloseQueryTest, CloseAllInTheMainWindowStopsAtACancelledFont) {
    auto* Main = new TfrmMain;
    frmMain = Main;
    Main->show();
    QPointer<TChildWinFont> Plain = Open(RandomFont(20), "PLAIN.FNT");
    Main->AddMDIChild(Plain);
    QPointer<TChildWinFont> W = Edited("EDITED.FNT");
    Main->AddMDIChild(W);
    Answer(&TfrmYESNOCANCEL::btnCancel);
    Main->MdiArea->closeAllSubWindows();
    Flush();
    EXPECT_TRUE(Plain.isNull());
    ASSERT_FALSE(W.isNull());
    EXPECT_EQ(Main->MdiArea->subWindowList().size(), 1);
    Answer(&TfrmYESNOCANCEL::btnNo);
    Main->MdiArea->closeAllSubWindows();
    Flush();
    EXPECT_TRUE(W.isNull());
    delete Main;
    frmMain = nullptr;
}
