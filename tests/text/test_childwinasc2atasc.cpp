// The ASCII to ATASCII editor: conversion into the page, auto convert, files, print.
#include "test_text_common.h"

#include "VekButton.h"
#include "platform/test_readonly.h"
#include "test_drive_events.h"
#include "uChildWinASC2ATASC.h"
#include "uParam.h"
#include "uYESNOCANCEL.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QToolButton>

namespace {
using namespace texttest;

class AscEditorTest : public texttest::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Win = new TChildWinASC2ATASC;
    }
    void TearDown() override {
        delete Win.data();
        WindowTest::TearDown();
    }
    QByteArray Converted() const {
        return QByteArray(reinterpret_cast<const char*>(Win->AtariText->Buffer.data()),
                          Win->AtariText->Length);
    }
    // Closes Win, answering the save question with Button once it is up; whether it closed.
    bool CloseAnswering(TVekButton* TfrmYESNOCANCEL::*Button) {
        bool Closed = false;
        drive::WhileModal([&] { Closed = Win->close(); },
                          [&](QWidget* D) {
                              auto* Question = qobject_cast<TfrmYESNOCANCEL*>(D);
                              ASSERT_NE(Question, nullptr);
                              ++Questions;
                              (Question->*Button)->Click();
                          });
        return Closed;
    }
    QPointer<TChildWinASC2ATASC> Win;
    const QByteArray Eol = QByteArray(1, char(155));
    int Questions = 0;
};
} // namespace

TEST_F(AscEditorTest, ConvertsTheEditorTextDrawsTheExpectedPageAndPrintsIt) {
    Win->TextEdit->setPlainText(QString::fromUtf8("HELLO\nGrüße\n") + QString(40, 'A'));
    Win->btnATASCII->click();
    const QByteArray Expected = "HELLO" + Eol + "Gruesse" + Eol + QByteArray(40, 'A') + Eol;
    EXPECT_EQ(Converted(), Expected);
    // 40 columns at margin 2 leave 38 per line: four line ends.
    const QImage& Page = Win->imgText->Picture;
    ASSERT_TRUE(IsPage(Page, 328, 4 + 4 * 8 + 10));
    EXPECT_TRUE(RowShows(Page, 12, 4, " HELLO"));
    EXPECT_TRUE(RowShows(Page, 20, 12, "Gruesse"));
    EXPECT_TRUE(RowShows(Page, 20 + 37 * 8, 20, "A"));
    EXPECT_TRUE(RowShows(Page, 20, 28, "AA "));
    PrintTo("out.pdf");
    Win->PrintReport();
    EXPECT_EQ(PdfPages("out.pdf"), 1);

    // Out of range: the conversion runs, the page stays; non-numbers raise the conversion error.
    ExpectLayoutLimits(
        80,
        [this](int Cpl, int Lm) {
            Win->TextEdit->setPlainText(QString::number(Cpl));
            Win->edCPL->setText(QString::number(Cpl));
            Win->edLMarg->setText(QString::number(Lm));
            Win->btnATASCII->click();
            EXPECT_EQ(Converted(), QByteArray::number(Cpl) + Eol);
        },
        Win->imgText->Picture, Boxes);
    // The conversion fills the document's buffer up to its size and stops there.
    for (int Size : {TAtariText::BufferSize, TAtariText::BufferSize + 1}) {
        Win->TextEdit->setPlainText(QString(Size - 1, 'A'));
        Win->btnATASCII->click();
        EXPECT_EQ(Converted(), (QByteArray(Size - 1, 'A') + Eol).left(TAtariText::BufferSize));
    }
    Win->edLMarg->setText("zwei");
    Win->btnATASCII->click();
    EXPECT_EQ(Boxes, QStringList{"Fehler|'zwei' ist kein gültiger Integerwert"});
}

// Closing asks while the text differs from what was last loaded or saved.
TEST_F(AscEditorTest, ClosingWithUnsavedTextAsksAndKeepsTheWindowUnlessSavedOrDiscarded) {
    using D = TfrmYESNOCANCEL;
    EXPECT_FALSE(Win->Modified());
    Win->TextEdit->insertPlainText("Hallo");
    EXPECT_FALSE(CloseAnswering(&D::btnCancel));
    SetFileDialogHook([](TFileDialogRequest&, QStringList&) { return false; }); // save cancelled
    EXPECT_FALSE(CloseAnswering(&D::btnYES));
    AnswerSave("missing/hallo.txt"); // save fails
    EXPECT_FALSE(CloseAnswering(&D::btnYES));
    ASSERT_FALSE(Win.isNull());
    EXPECT_EQ(std::tuple(Boxes.size(), Boxes.value(0).section('|', 0, 0), Win->TextEdit->toPlainText()),
              std::tuple(1, "Fehler", "Hallo"));
    // "Ja" as ATASCII converts the text never converted.
    Write("hallo.txt", "old");
    AnswerSave("hallo.txt", 1);
    EXPECT_TRUE(CloseAnswering(&D::btnYES));
    EXPECT_EQ(ReadWholeFile(Dir.filePath("hallo.txt")), "Hallo" + Eol);
    // "Nein" discards; loaded, saved or changed back, the text closes without a question.
    (Win = new TChildWinASC2ATASC)->TextEdit->insertPlainText("weg");
    EXPECT_TRUE(CloseAnswering(&D::btnNo));
    Win = new TChildWinASC2ATASC;
    Win->btnOpen->click(); // hallo.txt again
    EXPECT_TRUE(Win->close());
    (Win = new TChildWinASC2ATASC)->TextEdit->insertPlainText("Neu\nText");
    AnswerSave("neu.txt", 2);
    Win->btnSave->click();
    EXPECT_EQ(ReadWholeFile(Dir.filePath("neu.txt")), "Neu\r\nText\r\n"); // a new text ends its lines
    Win->TextEdit->insertPlainText("!");
    EXPECT_TRUE(Win->Modified());
    Win->TextEdit->undo();
    EXPECT_TRUE(Win->close());
    EXPECT_EQ(Questions, 5);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // frees their names
}

// A second editor finds its caption under the section of the first.
TEST_F(AscEditorTest, EveryEditorTakesTheCaptionOfTheLanguage) {
    TChildWinASC2ATASC Second;
    ASSERT_EQ(Second.objectName(), Win->objectName() + "_1");
    for (const auto& [Lng, Title] :
         {std::pair{"English", "ASCII->ATASCII Editor"}, {"german", "Editor ASCII->ATASCII"}})
        for (QWidget* W : std::initializer_list<QWidget*>{Win, &Second}) {
            TranslateForm(W, QString(MORVANEL_SOURCE_DIR "/langscripts/") + Lng + ".lng");
            EXPECT_EQ(W->windowTitle(), Title) << W->objectName().toStdString();
        }
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join('\n').toStdString();
}

TEST_F(AscEditorTest, AutoConvertFollowsTheEditorUntilTheWindowCloses) {
    // Once a second while ticked: each tick converts what the editor holds then.
    EXPECT_FALSE(Win->Timer1->isActive());
    Win->cbAutoConvert->setChecked(true);
    EXPECT_EQ(Win->Timer1->interval(), 1000);
    for (const char* Typed : {"AUTO", "AUTO2"}) {
        Win->TextEdit->setPlainText(Typed);
        ASSERT_TRUE(drive::Tick(Win->Timer1));
        EXPECT_EQ(Converted(), Typed + Eol);
    }
    Win->cbAutoConvert->setChecked(false);
    EXPECT_FALSE(Win->Timer1->isActive());
    Win->cbAutoConvert->setChecked(true);
    // A failing tick shows one box and the timer waits until it is closed.
    Win->edCPL->setText("");
    bool ActiveDuringBox = true;
    SetMessageBoxHook(
        [&](TMsgKind, const QString&, const QString&) { ActiveDuringBox = Win->Timer1->isActive(); });
    Win->Timer1Timer();
    EXPECT_FALSE(ActiveDuringBox);
    EXPECT_TRUE(Win->Timer1->isActive());
    // The check box shows when it has the keyboard focus, as the panel's buttons do.
    Win->show();
    EXPECT_EQ(drive::WithoutFocusMark({Win->cbAutoConvert, Win->btnIsChildWin}), QStringList());
    // A refused close keeps it ticking.
    EXPECT_FALSE(CloseAnswering(&TfrmYESNOCANCEL::btnCancel));
    EXPECT_TRUE(Win->Timer1->isActive());
    EXPECT_TRUE(CloseAnswering(&TfrmYESNOCANCEL::btnNo));
    EXPECT_FALSE(Win->Timer1->isActive());
}

TEST_F(AscEditorTest, OpensPcTextAndSavesAtasciiOrPcText) {
    const QByteArray Pc = "Zeile 1\r\n\xC4rger{x}\r\n\r\nEnde\r\n";
    Write("demo.txt", Pc);
    AnswerSave("demo.txt");
    Win->btnOpen->click();
    EXPECT_EQ(Win->FileName, "DEMO.TXT");
    const QByteArray Atascii = "Zeile 1" + Eol + "Aergerx}" + Eol + Eol + "Ende" + Eol;
    EXPECT_EQ(Converted(), Atascii);

    Win->TextEdit->moveCursor(QTextCursor::End);
    Win->TextEdit->insertPlainText("typed later");
    Write("atari", "old contents");
    AnswerSave("atari", 1);
    Win->btnSave->click();
    EXPECT_EQ(Request.FileName, "demo.txt"); // as on disk, not the display name
    EXPECT_EQ(ReadWholeFile(Dir.filePath("atari")), Atascii + "typed later" + Eol); // as shown
    EXPECT_EQ(Converted(), Atascii); // the preview's conversion stays
    AnswerSave("pc", 2);
    Win->SaveTextFile();
    EXPECT_EQ(ReadWholeFile(Dir.filePath("pc")), Pc + "typed later\r\n");
    // Back through the reader: plain ATASCII gives the PC text again.
    TAtariText Reread;
    Reread.LoadFromFile(Dir.filePath("atari"));
    EXPECT_EQ(Reread.ToPCText(0), "Zeile 1\r\nAergerx}\r\n\r\nEnde\r\ntyped later\r\n");
    AnswerSave("missing/pc.txt", 2);
    Win->btnSave->click();
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].startsWith("Fehler|")) << Boxes[0].toStdString();
    // A read-only file is refused by its own permission, in a folder the user may write.
    const QString ReadOnly = Write("ro.txt", "old");
    SetMode(ReadOnly, 0444);
    SetMode(Dir.path(), 0777);
    {
        const TActAsUnprivileged Unprivileged;
        EXPECT_EQ(ErrorOf([&] { CheckSaveTarget(ReadOnly); }), "5: Zugriff verweigert (" + ReadOnly + ")");
        EXPECT_EQ(ErrorOf([&] { CheckSaveTarget(Dir.filePath("new.txt")); }), "no error");
        for (int Filter : {1, 2}) {
            AnswerSave("ro.txt", Filter);
            Win->btnSave->click();
            EXPECT_EQ(Boxes.last(), "Fehler|Zugriff verweigert (" + ReadOnly + ")");
        }
    }
    EXPECT_EQ(ReadWholeFile(ReadOnly), "old");
    // A text larger than the editor takes is refused whole, and the names stay.
    Write("huge.txt", QByteArray(1024 * 1024 + 1, 'x'));
    AnswerSave("huge.txt");
    Win->btnOpen->click();
    ASSERT_EQ(Boxes.size(), 4);
    EXPECT_TRUE(Boxes[3].startsWith("Fehler|Datei zu groß")) << Boxes[3].toStdString();
    EXPECT_EQ(Win->FileName, "DEMO.TXT");
    EXPECT_EQ(Converted(), Atascii);

    // Too long for an Atari text: the ATASCII save writes nothing, the PC one all.
    Win->TextEdit->setPlainText(QString(TAtariText::BufferSize, QChar(0xFC))); // "ue" each
    AnswerSave("atari", 1);
    Win->btnSave->click();
    EXPECT_EQ(Boxes.mid(4),
              QStringList("Warnung|" + Dir.filePath("atari") + ": " + GetMsg("mATASCIITooLong")));
    EXPECT_EQ(ReadWholeFile(Dir.filePath("atari")), Atascii + "typed later" + Eol);
    EXPECT_TRUE(Win->Modified());
    AnswerSave("pc", 2);
    Win->btnSave->click();
    EXPECT_EQ(ReadWholeFile(Dir.filePath("pc")).size(), TAtariText::BufferSize + 2);
    EXPECT_FALSE(Win->Modified());
}

// A Linux text is UTF-8, a Windows one Windows-1252: both load as the same text and
// the same Atari bytes, and a PC-text save writes each file's own bytes back.
TEST_F(AscEditorTest, ReadsUtf8AndWindows1252TextsAndSavesEachInItsOwnEncoding) {
    const QString Text = QString::fromUtf8("Grüß aus Köln\nÄpfel\n");
    const QByteArray Atari = "Gruess aus Koeln" + Eol + "Aepfel" + Eol;
    // Beyond Windows-1252 kept in UTF-8, left out on the Atari; a decomposed umlaut is one.
    const QByteArray Beyond = QString::fromUtf8("Łódź → u\u0308\u00A0😀\r\n").toUtf8();
    // Saved unedited as PC text, byte for byte; mixed line ends become the first one's.
    const struct {
        const char* Name;
        QByteArray File;
        QString Shown;
        QByteArray Converted;
        QByteArray Saved = QByteArray(); // empty: the file's own bytes
    } Files[] = {{"win.txt", "Gr\xFC\xDF aus K\xF6ln\r\n\xC4pfel\r\n", Text, Atari},
                 {"linux.txt", Text.toUtf8(), Text, Atari},
                 {"bom.txt", "\xEF\xBB\xBF" + Text.toUtf8(), Text, Atari},
                 {"mac.txt", "A\rB\r", "A\nB\n", "A" + Eol + "B" + Eol},
                 // Windows-1252 that begins cut UTF-8 sequences.
                 {"cut.txt", "Caf\xE9\x85 dann\r\n", QString::fromUtf8("Café… dann\n"), "Caf dann" + Eol},
                 {"cutend.txt", "Ende\xE9\x85", QString::fromUtf8("Endeé…"), "Ende" + Eol},
                 {"open.txt", "A\nB", "A\nB", "A" + Eol + "B" + Eol},
                 {"mixed.txt", "A\r\nB\nC\rD\r\n", "A\nB\nC\nD\n",
                  "A" + Eol + "B" + Eol + "C" + Eol + "D" + Eol, "A\r\nB\r\nC\r\nD\r\n"},
                 {"empty.txt", "", "", ""},
                 {"beyond.txt", Beyond, QString::fromUtf8("Łódź → u\u0308\u00A0😀\n"), "d  ue " + Eol}};
    for (const auto& F : Files) {
        SCOPED_TRACE(F.Name);
        Write(F.Name, F.File);
        AnswerSave(F.Name);
        Win->btnOpen->click();
        EXPECT_EQ(Win->EditorFileText(), F.Shown);
        EXPECT_EQ(Converted(), F.Converted);
        EXPECT_FALSE(Win->Modified());
        AnswerSave("saved.txt", 2);
        Win->SaveTextFile();
        EXPECT_EQ(ReadWholeFile(Dir.filePath("saved.txt")), F.Saved.isEmpty() ? F.File : F.Saved);
    }
    // The preview shows the composed umlaut spelled out.
    EXPECT_TRUE(RowShows(Win->imgText->Picture, 20, 4, "d  ue  "));
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join('\n').toStdString();
}

TEST_F(AscEditorTest, DrawingIsNotDisturbedByEventsItLetsRun) {
    QByteArray Long;
    for (int I = 0; I < 200; ++I) Long += "LINE " + QByteArray::number(I) + "\r\n";
    Win->TextEdit->setPlainText(QString::fromLatin1(Long));
    bool Fired = false;
    drive::Soon(Win, [&] {
        Win->TextEdit->setPlainText("OTHER");
        Win->btnATASCII->click(); // ignored: the page being drawn keeps its bytes
        Fired = true;
    });
    Win->ConvertAndReformat();
    EXPECT_TRUE(Fired);
    QByteArray Expected = Long;
    Expected.replace("\r\n", Eol);
    EXPECT_EQ(Converted(), Expected);
    // 200 short lines, each ended by its own line end, from the margin of 2.
    const QImage& Page = Win->imgText->Picture;
    EXPECT_TRUE(IsPage(Page, 328, 4 + 200 * 8 + 10));
    EXPECT_TRUE(RowShows(Page, 20, 4, "LINE 0 "));
    EXPECT_TRUE(RowShows(Page, 20, 4 + 199 * 8, "LINE 199 "));
    // Closed in the middle of drawing: the window goes, nothing touches it afterwards.
    Win->TextEdit->setPlainText(QString::fromLatin1(Long));
    drive::Soon(Win, [&] { EXPECT_TRUE(CloseAnswering(&TfrmYESNOCANCEL::btnNo)); });
    Win->ConvertAndReformat();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Win.isNull());
}

TEST_F(AscEditorTest, PrintsItsTextBeforeTheFirstConversion) {
    Win->TextEdit->setPlainText("READY\nRUN");
    ASSERT_TRUE(Win->imgText->Picture.isNull());
    TReportPage Page;
    SetReportOutputHook([&](TReportOutputChoice&) {
        Page = fGlobal->LayoutSelected();
        return false; // the page is looked at, nothing written
    });
    const auto Printed = [&] {
        Win->PrintReport();
        for (const TReportElement& E : Page.Elements)
            if (E.Name == "Bitmap1") return E.Image.convertToFormat(QImage::Format_RGB32);
        return QImage();
    };
    const QImage First = Printed();
    // "READY" and "RUN" converted and drawn at 40 columns from the margin of 2.
    const QImage Expected = Win->imgText->Picture;
    EXPECT_TRUE(RowShows(Expected, 20, 4, "READY") && RowShows(Expected, 20, 12, "RUN "));
    EXPECT_EQ(std::make_pair(Page.ReportName, Page.Title),
              std::make_pair(QString("GraphicReport"), QString("ATASCII")));
    EXPECT_EQ(First, Expected);
    // A drawn page is printed as it stands: text typed since is not converted.
    Win->TextEdit->setPlainText("NEW");
    EXPECT_EQ(Printed(), Expected);
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join('\n').toStdString();
}
