// The ASCII to ATASCII editor: conversion into the page, auto convert, files, print.
#include "Cp1252.h"
#include "FileDialogs.h"
#include "ImageView.h"
#include "ReportOptionsDialog.h"
#include "uChildWinASC2ATASC.h"
#include "uFGlobal.h"
#include "uGlobal.h"
#include "uMain.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <tuple>

namespace {
class AscEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        textforecolor = 0xFFFFFF;
        textbackcolor = 0x800000;
        SetMessageBoxHook([this](TMsgKind, const QString& C, const QString& T) { Boxes << C + "|" + T; });
        Win = new TChildWinASC2ATASC;
    }
    void TearDown() override {
        delete Win.data();
        SetMessageBoxHook(nullptr);
        SetFileDialogHook(nullptr);
        std::tie(textforecolor, textbackcolor, openpath) = Saved;
    }
    QByteArray Converted() const {
        return QByteArray(reinterpret_cast<const char*>(Win->AtariText->Buffer.data()),
                          Win->AtariText->Length);
    }
    // The page a fresh font draws for Bytes with the editor's settings.
    static QImage Page(const QByteArray& Bytes, int Cpl = 40, int Lm = 2) {
        QImage Image;
        TAtariFont().RenderText(Image, 1, reinterpret_cast<const quint8*>(Bytes.constData()),
                                int(Bytes.size()), 0, 155, 0, 1, Cpl, Lm, 0, 0, textforecolor, textbackcolor);
        return Image;
    }
    void Answer(const QStringList& Files, int Index = 1) {
        SetFileDialogHook([=, this](TFileDialogRequest& R, QStringList& F) {
            Requests << R;
            R.FilterIndex = Index;
            F = Files;
            return true;
        });
    }
    const std::tuple<quint32, quint32, QString> Saved{textforecolor, textbackcolor, openpath};
    QPointer<TChildWinASC2ATASC> Win;
    QStringList Boxes;
    QList<TFileDialogRequest> Requests;
    QTemporaryDir Dir;
    const QByteArray Eol = QByteArray(1, char(155));
};
} // namespace

TEST_F(AscEditorTest, ConvertsTheEditorTextAndDrawsTheExpectedPage) {
    EXPECT_EQ(Win->objectName(), "ChildWinASC2ATASC");
    Win->TextEdit->setPlainText(QString::fromUtf8("HELLO\nGrüße\n") + QString(40, 'A'));
    Win->btnATASCII->click();
    const QByteArray Expected = "HELLO" + Eol + "Gruesse" + Eol + QByteArray(40, 'A') + Eol;
    EXPECT_EQ(Converted(), Expected);
    // 40 columns at margin 2 leave 38 per line: four line ends.
    ASSERT_EQ(Win->imgText->Picture.size(), QSize(328, 4 + 4 * 8 + 10));
    EXPECT_EQ(Win->imgText->Picture, Page(Expected));

    Win->edCPL->setText("20");
    Win->edLMarg->setText("0");
    Win->btnUpdate->click();
    EXPECT_EQ(Win->imgText->Picture, Page(Expected, 20, 0));
    // Out of range: the conversion runs, the page stays; non-numbers raise the conversion error.
    Win->TextEdit->setPlainText("X");
    Win->edCPL->setText("161");
    Win->btnATASCII->click();
    EXPECT_EQ(Converted(), "X" + Eol);
    EXPECT_EQ(Win->imgText->Picture, Page(Expected, 20, 0));
    Win->edCPL->setText("160");
    Win->edLMarg->setText("80");
    Win->btnATASCII->click();
    EXPECT_EQ(Win->imgText->Picture, Page("X" + Eol, 160, 80));
    Win->edLMarg->setText("zwei");
    Win->btnATASCII->click();
    EXPECT_EQ(Boxes, QStringList{"Fehler|'zwei' ist kein gültiger Integerwert"});
    Win->ZoomIn();
    Win->ZoomOut();
    Win->ZoomOut();
    EXPECT_EQ(Win->imgText->ViewSize(), QSize(644, 11));
    EXPECT_EQ(Win->imgText->Picture.size(), QSize(1288, 22));
}

TEST_F(AscEditorTest, AutoConvertFollowsTheEditorUntilTheWindowCloses) {
    Win->cbAutoConvert->setChecked(true);
    EXPECT_TRUE(Win->Timer1->isActive());
    EXPECT_EQ(Win->Timer1->interval(), 1000);
    Win->TextEdit->setPlainText("AUTO");
    Win->Timer1->setInterval(5);
    QEventLoop Loop;
    QTimer::singleShot(3000, &Loop, &QEventLoop::quit);
    QObject::connect(Win->Timer1, &QTimer::timeout, &Loop, &QEventLoop::quit, Qt::QueuedConnection);
    Loop.exec();
    EXPECT_EQ(Converted(), "AUTO" + Eol);
    // A failing tick shows one box and the timer waits until it is closed.
    Win->edCPL->setText("");
    bool ActiveDuringBox = true;
    SetMessageBoxHook(
        [&](TMsgKind, const QString&, const QString&) { ActiveDuringBox = Win->Timer1->isActive(); });
    Win->Timer1Timer();
    EXPECT_FALSE(ActiveDuringBox);
    EXPECT_TRUE(Win->Timer1->isActive());
    Win->cbAutoConvert->setChecked(false);
    EXPECT_FALSE(Win->Timer1->isActive());
    Win->cbAutoConvert->setChecked(true);
    Win->close();
    EXPECT_FALSE(Win->Timer1->isActive());
}

TEST_F(AscEditorTest, OpensPcTextAndSavesAtasciiOrPcText) {
    const QByteArray Pc = "Zeile 1\r\n\xC4rger{x}\r\n\r\nEnde\r\n";
    WriteWholeFile(Dir.filePath("demo.txt"), Pc);
    openpath = "/somewhere/";
    Answer({Dir.filePath("demo.txt"), Dir.filePath("other.txt")});
    Win->btnOpen->click();
    ASSERT_EQ(Requests.size(), 1);
    EXPECT_EQ(Requests[0].InitialDir, "/somewhere/");
    EXPECT_TRUE(Requests[0].MultiSelect);
    EXPECT_EQ(Win->FileName, "DEMO.TXT");
    EXPECT_EQ(openpath, Dir.path() + "/");
    const QByteArray Atascii = "Zeile 1" + Eol + "Aergerx}" + Eol + Eol + "Ende" + Eol;
    EXPECT_EQ(Converted(), Atascii);

    Win->TextEdit->moveCursor(QTextCursor::End);
    Win->TextEdit->insertPlainText("typed later");
    Answer({Dir.filePath("atari")}, 1);
    Win->btnSave->click();
    EXPECT_EQ(Requests.last().FileName, "demo.txt");          // as on disk, not the display name
    EXPECT_EQ(ReadWholeFile(Dir.filePath("atari")), Atascii); // the last conversion only
    Answer({Dir.filePath("pc")}, 2);
    Win->SaveTextFile();
    EXPECT_EQ(ReadWholeFile(Dir.filePath("pc")), Pc + "typed later\r\n");
    EXPECT_FALSE(QFile::exists(Dir.filePath("pc.TXT")));
    // Back through the reader: plain ATASCII gives the PC text again.
    TAtariText Reread;
    Reread.LoadFromFile(Dir.filePath("atari"));
    EXPECT_EQ(Reread.ToPCText(0), "Zeile 1\r\nAergerx}\r\n\r\nEnde\r\n");
    Answer({Dir.filePath("missing/pc.txt")}, 2);
    Win->btnSave->click();
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].startsWith("Fehler|")) << Boxes[0].toStdString();
}

TEST_F(AscEditorTest, DrawingIsNotDisturbedByEventsItLetsRun) {
    QByteArray Long;
    for (int I = 0; I < 200; ++I) Long += "LINE " + QByteArray::number(I) + "\r\n";
    Win->TextEdit->setPlainText(QString::fromLatin1(Long));
    bool Fired = false;
    QTimer::singleShot(0, Win, [&] {
        Win->TextEdit->setPlainText("OTHER");
        Win->btnATASCII->click(); // ignored: the page being drawn keeps its bytes
        Fired = true;
    });
    Win->ConvertAndReformat();
    EXPECT_TRUE(Fired);
    QByteArray Expected = Long;
    Expected.replace("\r\n", Eol);
    EXPECT_EQ(Converted(), Expected);
    EXPECT_EQ(Win->imgText->Picture, Page(Expected));
    // Closed in the middle of drawing: the window goes, nothing touches it afterwards.
    Win->TextEdit->setPlainText(QString::fromLatin1(Long));
    QTimer::singleShot(0, Win, [&] { Win->close(); });
    Win->ConvertAndReformat();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Win.isNull());
}

TEST_F(AscEditorTest, PrintsThePageAndDocksInTheMainWindow) {
    auto* Main = new TfrmMain;
    frmMain = Main;
    Main->AddMDIChild(Win);
    Win->TextEdit->setPlainText("PRINT ME");
    Win->btnATASCII->click();
    EXPECT_TRUE(Main->ProgressBar1->isHidden());
    EXPECT_EQ(Main->StatusBar1->PanelText(0), GetMsg("mREADY"));
    Win->btnIsChildWinClick();
    EXPECT_EQ(Win->IsChildWin, 0);
    EXPECT_EQ(qobject_cast<QMdiSubWindow*>(Win->parentWidget()), nullptr);
    Win->btnIsChildWinClick();
    EXPECT_NE(qobject_cast<QMdiSubWindow*>(Win->parentWidget()), nullptr);

    fGlobal = new TfGlobal;
    const QString Pdf = Dir.filePath("out.pdf");
    SetReportOutputHook([Pdf](TReportOutputChoice& C) {
        C.Destination = TReportDestination::File;
        C.Format = TReportFileFormat::PDF;
        C.FileName = Pdf;
        return true;
    });
    Win->PrintReport();
    SetReportOutputHook(nullptr);
    EXPECT_EQ(fGlobal->GetParam("titel"), "ATASCII");
    delete fGlobal;
    fGlobal = nullptr;
    const QByteArray Data = ReadWholeFile(Pdf);
    EXPECT_TRUE(Data.startsWith("%PDF"));
    EXPECT_EQ(Data.count("/Type /Page\n") + Data.count("/Type /Page "), 1);
    delete Main; // takes the window with it
    frmMain = nullptr;
    EXPECT_TRUE(Win.isNull());
}
