// Pictures opened through the real main window, as a user opens them.
#include "test_picturewindow_common.h"

#include <QDir>
#include <QLabel>

namespace {
class PictureWindowTest : public PictureWindowFixture {};
} // namespace

TEST_F(PictureWindowTest, Gr8SavesBackByteExactlyOnlyAtZoomOne) {
    const QByteArray Page = RandomBytes(7680, 42);
    auto* Win = qobject_cast<TChildWinGraphic*>(Open("PAGE.PIC", Page));
    ASSERT_NE(Win, nullptr);
    AnswerSave("copy", 3);
    Win->FileSaveAs();
    EXPECT_EQ(ReadWholeFile(Dir.filePath("copy.GR8")), Page);
    Win->ZoomIn();
    const int Beeps = BeepCount;
    AnswerSave("zoomed.gr8");
    Win->FileSaveAs();
    EXPECT_FALSE(QFile::exists(Dir.filePath("zoomed.gr8")));
    EXPECT_EQ(BeepCount, Beeps + 1);
    EXPECT_TRUE(Boxes.last().startsWith("Warnung|")) << Boxes.last().toStdString();
    AnswerSave("what.xyz");
    Win->FileSaveAs();
    EXPECT_FALSE(QFile::exists(Dir.filePath("what.xyz")));
    EXPECT_EQ(BeepCount, Beeps + 2);
    EXPECT_EQ(Win->ImgGraphic->Picture.size(), QSize(320, 192)); // zoom never touches the data
}

TEST_F(PictureWindowTest, SplitWritesBesideTheSourceAndJoinsBack) {
    // A joined 640 x 384 page opens at its full size while the flag is set.
    const QByteArray Page = RandomBytes(32000, 11);
    TChildWinGraphic* Win = OpenJoined("WIDE.PIC", Page);
    ASSERT_NE(Win, nullptr);
    EXPECT_EQ(Win->ImgGraphic->Picture.pixel(639, 383),
              WinColorToRgb(Page[30719] & 1 ? gr8forecolor : gr8backcolor));
    QTemporaryDir Elsewhere;
    const QString Old = QDir::currentPath();
    QDir::setCurrent(Elsewhere.path());
    pic2x2mode = 0;
    Win->SaveBMP640x384As4PICs();
    QDir::setCurrent(Old);
    EXPECT_TRUE(QDir(Elsewhere.path()).entryList(QDir::Files).isEmpty());
    // Numbered by rows beside the source; the writer's test checks every byte's place.
    EXPECT_EQ(ReadWholeFile(Dir.filePath("WIDE_2.PIC")).left(40), Page.mid(40, 40));
    EXPECT_EQ(ReadWholeFile(Dir.filePath("WIDE_3.PIC")).left(40), Page.mid(15360, 40));
}

TEST_F(PictureWindowTest, TwoPicturesJoinOneAboveTheOtherAndFourByColumns) {
    QByteArray A(7680, char(0xFF)), B(7000, char(0x0F));
    Answer({Write("B.PIC", B), Write("a.pic", A)});
    Main->Open2PICsClick();
    TChildWinGraphic* Win = Active();
    ASSERT_NE(Win, nullptr) << Boxes.join("\n").toStdString();
    EXPECT_EQ(Win->windowTitle(), " A_B.PIC");
    const QImage& P = Win->ImgGraphic->Picture;
    // A on top; B's 0x0F clears the first four pixels; B was short: background at its end.
    for (auto [X, Y, Set] : {std::tuple{0, 0, true}, {0, 192, false}, {4, 192, true}, {0, 383, false}})
        EXPECT_EQ(P.pixel(X, Y), WinColorToRgb(Set ? gr8forecolor : gr8backcolor)) << X << "," << Y;
    EXPECT_FALSE(QFile::exists(Dir.filePath("A_B.PIC")));

    // Four pictures by columns.
    QStringList Files;
    for (char C : {'A', 'B', 'C', 'D'}) Files << Write(QString(QChar(C)) + ".PIC", QByteArray(7680, C));
    pic2x2mode = 1;
    Answer(Files);
    Main->Open4PICsClick();
    pic2x2mode = 0;
    Win = Active();
    EXPECT_EQ(Win->windowTitle(), " A_C_B_D.PIC");
    // Pack the quarters back: A top left, C top right, B bottom left, D bottom right.
    // Set bits show in the foreground colour, which packs as 1 only when white.
    TAtariGraphic G;
    for (int Q = 0; Q < 4; ++Q) {
        G.ImageToGR8Bits(Win->ImgGraphic->Picture, 39, 191, Q % 2 * 40, Q / 2 * 192);
        EXPECT_EQ(G.GR8Buffer[0], gr8forecolor == 0xFFFFFF ? quint8("ACBD"[Q]) : 0) << Q;
    }
}

TEST_F(PictureWindowTest, PrintGoesToAOnePagePdf) {
    Open("PRINT.GR8", RandomBytes(7680, 5));
    PrintReportsTo(Dir.filePath("out.pdf"));
    Main->btnReportClick();
    EXPECT_EQ(PdfPageCount(Dir.filePath("out.pdf")), 1);
    EXPECT_TRUE(QDir(ProgramFolder).entryList({"temppic*"}).isEmpty());
}

TEST_F(PictureWindowTest, OpenItemsAndViewCommandsReachThePicture) {
    Answer({Write("ONE.GR8", QByteArray(7680, char(0x80))), Write("two.mic", QByteArray(7684, 0))});
    Main->FileOpenItemClick(Main->OpenAWR);
    EXPECT_EQ(Request.Filter, "Text: Atari Schreiber|*.TXT");
    EXPECT_EQ(TextMode, -1); // forced only while the command runs
    EXPECT_EQ(Main->MDIChildCount(), 2);
    EXPECT_EQ(openpath, Dir.path() + "/");
    Main->MdiArea->activatePreviousSubWindow();
    TChildWinGraphic* Win = Active();
    ASSERT_NE(Win, nullptr);
    ASSERT_EQ(Win->AtariGraphic->PicInfo.FileType, "GR8");
    const QImage Before = Win->ImgGraphic->Picture;
    Main->btnInvertClick();
    EXPECT_EQ(Win->ImgGraphic->Picture.pixel(0, 0), qRgb(0, 0, 0));
    Main->AlleInvertieren();
    EXPECT_EQ(Win->ImgGraphic->Picture, Before);
    Main->btnZoomInClick();
    EXPECT_EQ(Win->ImgGraphic->ViewSize(), QSize(640, 384));
    const int Height = Win->height();
    Win->btnDetailsClick();
    Win->btnDetailsClick();
    EXPECT_EQ(Win->height(), Height);
}

TEST_F(PictureWindowTest, TheInfoPanelShowsWholeRightUnderASmallOrZoomedOutPicture) {
    QImage Small(100, 50, QImage::Format_RGB32);
    Small.fill(Qt::red);
    Small.save(Dir.filePath("SMALL.BMP"));
    QByteArray Pi1(32034, 0);
    for (int I = 34; I < Pi1.size(); ++I) Pi1[I] = char(I * 5);
    Write("TEST.PI1", Pi1);
    // Each step opens a file, or else zooms out or fits the active window.
    const struct {
        const char* File;
        bool Fit;
        QSize Picture;
    } Cases[] = {{"SMALL.BMP", false, {100, 50}}, {"TEST.PI1", false, {320, 200}},
                 {nullptr, false, {160, 100}},    {nullptr, false, {80, 50}},
                 {nullptr, false, {40, 25}},      {nullptr, true, {40, 25}}};
    QRect Details, Report;
    for (const auto& C : Cases) {
        if (C.File)
            Main->OpenFiles({Dir.filePath(C.File)});
        else if (C.Fit)
            Main->MenuFitSizeClick();
        else
            Main->btnZoomOutClick();
        QApplication::processEvents();
        TChildWinGraphic* Win = Active();
        ASSERT_NE(Win, nullptr);
        ASSERT_EQ(Win->ImgGraphic->ViewSize(), C.Picture);
        // Right under the picture and down to the window's bottom edge.
        EXPECT_EQ(Win->pnlBottom->mapTo(Win, QPoint()).y(), 27 + C.Picture.height() + 2) << C.Picture.width();
        EXPECT_EQ(Win->height(), 27 + C.Picture.height() + 2 + 64);
        SCOPED_TRACE(C.Picture.width());
        ExpectInfoPanelRows({Win->lFileName, Win->lFileType, Win->lCompress, Win->lSize, Win->lResolution},
                            {Win->lblFilename, Win->lblFileType, Win->lblCompression, Win->lblSizeInBytes,
                             Win->lblResolution},
                            100, Win->width());
        // The buttons stay where they were, cut by the window's edge, never over each other.
        if (Details.isNull()) Details = Win->btnDetails->geometry(), Report = Win->btnReport->geometry();
        EXPECT_EQ(Win->btnDetails->geometry(), Details);
        EXPECT_EQ(Win->btnReport->geometry(), Report);
    }
    EXPECT_FALSE(Details.intersects(Report));
    EXPECT_EQ(Active()->lblFilename->text(), "TEST.PI1");
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

// Files shorter than identification reads are refused naming the file, with no window left.
TEST_F(PictureWindowTest, FilesTooShortToIdentifyAreRefusedNamingTheFileWithoutAWindow) {
    const QByteArray Koala("\xFF\x80\xC9\xC7", 4);
    QList<std::pair<QString, QByteArray>> Short;
    for (const char* Ext : {".GR8", ".PIC", ".BLD", ".GR9", ".AP2", ".256", ".APC", ".MIC", ".KOA",
                            ".PHO", ".ALB", ".COL", ".LUM", ".BMP", ".JPG", ".DOO", ".PI1", ".PI2",
                            ".PI3", ".PC1", ".PC2", ".PC3", ".NEO", ".PAC", ""})
        for (int Size = 0; Size < 4; ++Size) Short.append({QString("S%1").arg(Size) + Ext, Koala.left(Size)});
    for (int Size : {4, 7, 26}) Short.append({QString("K%1.GR8").arg(Size), Koala + QByteArray(Size - 4, 0)});
    for (const auto& [Name, Data] : Short) {
        Boxes.clear();
        const QString Path = Write(Name, Data);
        Main->OpenFiles({Path});
        QApplication::processEvents();
        EXPECT_EQ(std::make_pair(Boxes, Main->MDIChildCount()),
                  std::make_pair(QStringList("Fehler|Lesen über Dateiende (" + Path + ")"), 0))
            << Name.toStdString();
    }
    Boxes.clear();
    for (const auto& [Name, Data] : {std::pair{"FOUR.GR8", QByteArray(4, char(0xFF))},
                                     {"WHOLE.GR8", Koala + QByteArray(23, 0)},
                                     {"TWO.TXT", QByteArray("A\x9b")}})
        Open(Name, Data); // 4 bytes, a whole Koala header and a short text open
    EXPECT_EQ(std::make_pair(Main->MDIChildCount(), Boxes), std::make_pair(3, QStringList()));
}
