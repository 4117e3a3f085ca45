#include "JPEGImage.h"
#include "solid3d/Solid3DTestUtil.h"
#include "test_drive_events.h"
#include "test_shell_common.h"
#include "uChildWinGraphic.h"
#include "uDocWindow.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>
#include <stdexcept>
#include <sys/stat.h>

namespace {
using DocWindowOnScreen = OpenedMainWindow;

class DocWindowTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        SetQuestionHook([this](const QString&, const QString& Text) {
            Questions << Text;
            return Replace;
        });
    }
    void TearDown() override {
        SetQuestionHook(nullptr);
        MainWindowFixture::TearDown();
    }
    static QImage Pattern(int Width, int Height) {
        QImage Image(Width, Height, QImage::Format_RGB32);
        for (int Y = 0; Y < Height; ++Y)
            for (int X = 0; X < Width; ++X)
                Image.setPixel(X, Y, qRgb(X * 37 % 256, Y * 53 % 256, (X ^ Y) * 11 % 256));
        return Image;
    }
    QStringList Questions;
    bool Replace = false; // the answer to the replace question
};
} // namespace

TEST_F(DocWindowTest, AppendedExtensionAsksBeforeReplacingAnExistingFile) {
    TChildWinGraphic Win;
    Win.ImgGraphic->SetPicture(Pattern(5, 3));
    const QString Existing = Dir.filePath("pic.BMP");
    WriteWholeFile(Existing, "old");

    AnswerSave("pic", 1); // "pic" + the BMP filter's extension names the existing file
    Win.FileSaveAs();
    ASSERT_EQ(Questions.size(), 1);
    EXPECT_TRUE(Questions[0].contains("pic.BMP")) << Questions[0].toStdString();
    EXPECT_EQ(ReadWholeFile(Existing), "old"); // "No" writes nothing

    Replace = true;
    Win.FileSaveAs();
    EXPECT_EQ(Questions.size(), 2);
    EXPECT_EQ(QImage(Existing).convertToFormat(QImage::Format_RGB32), Win.ImgGraphic->Picture);

    // A name typed with its extension was the dialog's own question; a new name needs none.
    WriteWholeFile(Existing, "old");
    AnswerSave("pic.BMP", 2);
    Win.FileSaveAs();
    AnswerSave("fresh", 2);
    Win.FileSaveAs();
    EXPECT_EQ(Questions.size(), 2);
    EXPECT_NE(ReadWholeFile(Existing), "old");
    EXPECT_TRUE(ReadWholeFile(Dir.filePath("fresh.JPG")).startsWith("\xFF\xD8"));
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();

    // A name no save can take is refused before the question.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Dir.filePath("fifo.BMP")).constData(), 0600), 0);
    AnswerSave("fifo", 1);
    EXPECT_EQ(ErrorOf([&] { Win.FileSaveAs(); }).toStdString(),
              QString("1001: Keine gewöhnliche Datei, sondern eine FIFO (%1)")
                  .arg(Dir.filePath("fifo.BMP"))
                  .toStdString());
    EXPECT_EQ(Questions.size(), 2);
}

TEST_F(DocWindowTest, SaveDialogRefusesANameNoSaveCanTakeBeforeTheReplaceQuestion) {
    const QString Fifo = Dir.filePath("fifo.BMP"), Old = Dir.filePath("old.BMP");
    ASSERT_EQ(::mkfifo(QFile::encodeName(Fifo).constData(), 0600), 0);
    WriteWholeFile(Old, "old");
    // The real dialog, driven from inside its own loop: what the user sees on Save,
    // and whether the dialog stays open for another name.
    QStringList Asked;
    const auto Save = [&](const QString& Name) {
        bool StaysOpen = false;
        TFileDialogRequest Request;
        Request.Save = true;
        Request.Filter = "BMP|*.BMP";
        QStringList Files;
        drive::WhileModal([&] { ExecuteFileDialog(nullptr, Request, Files); },
                          [&](QWidget* D) {
                              auto* Dialog = qobject_cast<QFileDialog*>(D);
                              ASSERT_NE(Dialog, nullptr);
                              Dialog->selectFile(Name);
                              // A question the Save asks is answered No.
                              drive::WhileModal([&] { QMetaObject::invokeMethod(Dialog, "accept"); },
                                                [&](QWidget* Box) {
                                                    Asked << qobject_cast<QMessageBox*>(Box)->text();
                                                    Box->close();
                                                });
                              StaysOpen = Dialog->isVisible();
                              Dialog->reject();
                          });
        return StaysOpen;
    };
    EXPECT_TRUE(Save(Fifo));
    EXPECT_EQ(Boxes.join('\n').toStdString(),
              ("Fehler|Keine gewöhnliche Datei, sondern eine FIFO (" + Fifo + ")").toStdString());
    EXPECT_TRUE(Asked.isEmpty());
    EXPECT_TRUE(Save(Old));
    ASSERT_EQ(Asked.size(), 1);
    EXPECT_TRUE(Asked[0].contains("old.BMP")) << Asked[0].toStdString();
}

TEST_F(DocWindowTest, SaveDialogAppendsTheChosenFiltersExtension) {
    const QStringList Exts = {".FNT", ".BMP", ".JPG"};
    TFileDialogRequest Request;
    QString Name = "unchanged";
    AnswerSave("font", 9); // no such filter: the default, if any
    ASSERT_TRUE(ExecuteSaveDialogWithExt(nullptr, Request, Exts, Name, 1));
    EXPECT_EQ(Name, Dir.filePath("font.FNT"));
    AnswerSave("font.txt", 2); // an extension of the user's stays
    ASSERT_TRUE(ExecuteSaveDialogWithExt(nullptr, Request, Exts, Name));
    EXPECT_EQ(Name, Dir.filePath("font.txt"));
    // Cancelled, or accepted without a file: the name stays.
    Name = "kept";
    SetFileDialogHook([](TFileDialogRequest&, QStringList&) { return false; });
    EXPECT_FALSE(ExecuteSaveDialogWithExt(nullptr, Request, Exts, Name));
    Answer({});
    EXPECT_FALSE(ExecuteSaveDialogWithExt(nullptr, Request, Exts, Name));
    EXPECT_EQ(Name, "kept");
}

TEST_F(DocWindowTest, PictureFilesByExtensionWithTheGivenJpegQuality) {
    const QImage Picture = Pattern(40, 24);
    EXPECT_TRUE(SavePictureFile(Picture, Dir.filePath("a.bmp"), 95));
    EXPECT_EQ(QImage(Dir.filePath("a.bmp")).convertToFormat(QImage::Format_RGB32), Picture);

    TJPEGImage Jpeg;
    Jpeg.Assign(Picture);
    for (int Quality : {95, 40}) {
        const QString Name = Dir.filePath(QStringLiteral("q%1.JPG").arg(Quality));
        EXPECT_TRUE(SavePictureFile(Picture, Name, Quality));
        Jpeg.CompressionQuality = Quality;
        EXPECT_EQ(ReadWholeFile(Name), Jpeg.SaveToData()) << Quality;
    }
    EXPECT_NE(ReadWholeFile(Dir.filePath("q95.JPG")), ReadWholeFile(Dir.filePath("q40.JPG")));

    EXPECT_FALSE(SavePictureFile(Picture, Dir.filePath("a.BMP.txt"), 95));
    EXPECT_FALSE(QFile::exists(Dir.filePath("a.BMP.txt")));
    const int Beeps = BeepCount;
    WarnUnknownFileFormat(Dir.filePath("a.BMP.txt"));
    EXPECT_EQ(BeepCount, Beeps + 1);
    // The warning names the file, as every other message about a file does.
    EXPECT_EQ(Boxes, QStringList{"Warnung|Unbekanntes Dateiformat! (" + Dir.filePath("a.BMP.txt") + ")"});
}

TEST_F(DocWindowTest, ClientSizeInsideTheFrameAndPanelPieces) {
    QMdiArea Area;
    Area.resize(900, 700);
    Area.show();
    auto* Doc = new QWidget;
    QMdiSubWindow* Sub = Area.addSubWindow(Doc);
    Sub->show();
    SetClientSize(Doc, 321, 123);
    EXPECT_EQ(Doc->size(), QSize(321, 123));
    const QMargins M = Sub->contentsMargins();
    EXPECT_EQ(Sub->size(), QSize(321 + M.left() + M.right(), 123 + M.top() + M.bottom()));
    const QSize Frame = Sub->size();
    SetClientWidth(Doc, 200);
    EXPECT_EQ(Sub->size(), Frame - QSize(121, 0));
    // A window without a frame is its own.
    QWidget Free;
    EXPECT_EQ(DocumentFrame(&Free), &Free);
    SetClientSize(&Free, 50, 40);
    EXPECT_EQ(Free.size(), QSize(50, 40));

    // Panel pieces: colours are 0x00BBGGRR; run-time values are not translated.
    SetFormColour(&Free, 0x0000FF);
    EXPECT_EQ(Free.palette().color(QPalette::Window), QColor(255, 0, 0));
    const TInfoPanel Info = NewInfoPanel(&Free, 64, 10);
    QLabel* Caption = NewInfoLabel(Info, 2, "lSize", "Bytes:", 100);
    QLabel* Value = NewValueLabel(Info, 2, "lblSizeInBytes", 0x0080FF);
    EXPECT_EQ(std::make_pair(Caption->property("Tag"), Value->property("Tag")),
              std::make_pair(QVariant(), QVariant(-1)));
    EXPECT_TRUE(Value->styleSheet().contains(QColor(255, 128, 0).name()));
    EXPECT_EQ(Info.Grid->itemAtPosition(2, 1)->widget(), Value);
    auto* View = new ImageView;
    NewImageScrollBox(&Free, "ScrollBox1", View, false, clGray);
    ScaleZoom(View, 2);
    ScaleZoom(View, 2);
    ScaleZoom(View, 0.5);
    EXPECT_EQ(View->Zoom(), 2.0);
}

TEST_F(DocWindowOnScreen, DockingMovesTheFrameAndSaveStatusIsResetOnErrors) {
    QPointer<QWidget> Doc = new QWidget;
    Doc->setAttribute(Qt::WA_DeleteOnClose);
    Main->AddMDIChild(Doc)->move(40, 30);
    quint8 Docked = 1;
    ToggleDocking(Doc, Docked);
    for (int I = 0; I < 5; ++I) QApplication::processEvents();
    ASSERT_TRUE(Doc); // the old frame goes, the window stays
    EXPECT_EQ(Docked, 0);
    EXPECT_TRUE(Doc->isWindow());
    EXPECT_EQ(Main->MDIChildCount(), 0);
    // The free window's frame, not its client, stands at the corner.
    EXPECT_EQ(Doc->frameGeometry().topLeft(), QPoint(1, 1));
    // A window larger than the screen is fitted to it when it is freed.
    const QRect Screen = Main->screen()->availableGeometry();
    ToggleDocking(Doc, Docked);
    SetClientSize(Doc, Screen.width() + 700, Screen.height() + 50);
    ToggleDocking(Doc, Docked);
    EXPECT_TRUE(Screen.contains(Doc->frameGeometry())) << Doc->width() << "x" << Doc->height();
    ToggleDocking(Doc, Docked, QPoint(7, 9));
    EXPECT_EQ(Docked, 1);
    ASSERT_NE(qobject_cast<QMdiSubWindow*>(Doc->parentWidget()), nullptr);
    EXPECT_EQ(Doc->parentWidget()->pos(), QPoint(7, 9));
    EXPECT_EQ(Main->MDIChildCount(), 1);
    EXPECT_EQ(Main->ActiveDocument(), Doc);

    // A panel button lit by the pointer is dark again once docking took it away.
    auto* Picture = qobject_cast<TChildWinGraphic*>(Open("HOVER.GR8", RandomBytes(7680, 5)));
    ASSERT_NE(Picture, nullptr);
    QToolButton* Dock = Picture->btnIsChildWin;
    const QPoint At = Dock->mapToGlobal(Dock->rect().center());
    QCursor::setPos(At);
    QEnterEvent Enter(QPointF(Dock->rect().center()), QPointF(Dock->rect().center()), QPointF(At));
    QApplication::sendEvent(Dock, &Enter);
    QApplication::processEvents();
    ASSERT_TRUE(Dock->underMouse()); // really under the pointer: lit
    Dock->click();
    for (int I = 0; I < 5; ++I) QApplication::processEvents();
    EXPECT_TRUE(Picture->isWindow());
    EXPECT_FALSE(Dock->underMouse());

    Main->StatusMsg("saving");
    Main->ProgressBar(3, 10);
    Main->ProgressBar1->show();
    try {
        const TSaveStatusReset Reset;
        throw std::runtime_error("disk full");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(Main->ProgressBar1->isHidden());
    EXPECT_EQ(Main->ProgressBar1->value(), 0);
    EXPECT_EQ(Main->StatusBar1->PanelText(0), "");
}

// Undocked or docked again, the window has the keyboard: Tab moves a visible focus mark
// through its controls, and Space on "Details" switches its panel.
TEST_F(DocWindowOnScreen, EveryKindHasTheKeyboardAfterUndockingAndDocking) {
    QList<QWidget*> Windows = {
        Open("PAGE.PIC", RandomBytes(7680, 1)), Open("THIRTY.TXT", QByteArray(30, 'A') + char(155)),
        Open("LIST.LST", "10 GOTO 10\x9B"), Open("MY.FNT", RandomBytes(1024, 2)),
        Open("CUBE.3D", SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}}, {{1, 2}, {2, 3}, {3, 1}}))};
    Main->menuATASCIITableClick();
    Windows << Main->ActiveDocument();
    Main->menuFontMapClick();
    Windows << Main->ActiveDocument();
    Main->menuATASCIIEditorClick();
    Windows << Main->ActiveDocument();
    for (QWidget* Window : Windows) {
        SCOPED_TRACE(Window->objectName().toStdString());
        auto* Details = Window->findChild<QAbstractButton*>("btnDetails");
        for (const bool Undocked : {true, false}) {
            Window->findChild<QAbstractButton*>("btnIsChildWin")->click();
            QApplication::processEvents();
            ASSERT_EQ(Window->isWindow(), Undocked);
            EXPECT_EQ(QApplication::activeWindow(), Window->window());
            // Tab into the window, on to "Details" where it has one.
            for (int Step = 0; Step < 40 && (Step == 0 || (Details && !Details->hasFocus())); ++Step) {
                QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Tab);
                QWidget* Focus = QApplication::focusWidget();
                ASSERT_TRUE(Focus && (Step > 0 || Window->isAncestorOf(Focus)));
                const bool Marked = qobject_cast<QToolButton*>(Focus) || qobject_cast<QScrollArea*>(Focus);
                if (Marked && Window->isAncestorOf(Focus)) {
                    EXPECT_TRUE(FocusMarkShown(Focus)) << Focus->objectName().toStdString();
                }
            }
            if (!Details) continue;
            ASSERT_TRUE(Details->hasFocus());
            auto* Panel = Window->findChild<QWidget*>("pnlBottom");
            const bool Shown = Panel->isVisible();
            QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Space);
            EXPECT_NE(Panel->isVisible(), Shown);
        }
    }
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}
