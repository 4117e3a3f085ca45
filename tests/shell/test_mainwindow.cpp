#include "JPEGImage.h"
#include "VekButton.h"
#include "pictures/test_atari_reference.h"
#include "pictures/test_atarist_helpers.h"
#include "test_drive_events.h"
#include "test_shell_common.h"
#include "uChildWinASC2ATASC.h"
#include "uChildWinATASCIITable.h"
#include "uChildWinFont.h"
#include "uChildWinGraphic.h"
#include "uChildWinListing.h"
#include "uChildWinSolidStates.h"
#include "uChildWinText.h"
#include "uDocWindow.h"
#include "uInfo.h"
#include "uYESNOCANCEL.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <QUrl>

namespace {
// Records what reaches the dispatch instead of opening windows.
class TRecordingMain : public TfrmMain {
public:
    QStringList Opened;
    QString FailOn;
    void CreateMDIChild(const QString& FileName) override {
        Opened << FileName;
        if (FileName.endsWith(FailOn) && !FailOn.isEmpty()) RaiseInOutError(ioFileNotFound, FileName);
    }
};

using MainWindowTest = MainWindowFixture;
using MainWindowOnScreen = OpenedMainWindow;
} // namespace

TEST_F(MainWindowOnScreen, StatusPanelsHintsAndDocumentCommands) {
    EXPECT_EQ(Main->StatusBar1->PanelText(2), " " + VersionText);
    EXPECT_TRUE(Main->ProgressBar1->isHidden());
    Main->StatusMsg("busy");
    EXPECT_EQ(Main->StatusBar1->PanelText(0), "busy");
    Main->delmsg();
    EXPECT_EQ(Main->StatusBar1->PanelText(0), "");
    Main->ProgressBar(30, 60);
    EXPECT_EQ(Main->ProgressBar1->maximum(), 60);
    EXPECT_EQ(Main->ProgressBar1->value(), 30);
    // Hints go to panel one; a control without a hint empties it.
    QEvent Enter(QEvent::Enter);
    QApplication::sendEvent(Main->btnOpen, &Enter);
    EXPECT_EQ(Main->StatusBar1->PanelText(1), "Datei laden");
    QApplication::sendEvent(Main->pnlTop, &Enter);
    EXPECT_EQ(Main->StatusBar1->PanelText(1), "");
    // So do the menu items, highlighted by the arrow keys or the mouse, in either language.
    for (const auto& [Lng, Hint] :
         {std::pair{"English.lng", "Program settings"}, {"german.lng", "Programmeinstellungen"}}) {
        Main->ComboLng->setCurrentIndex(Main->ComboLng->findText(Lng, Qt::MatchFixedString));
        Main->ComboLngChange();
        QMenu* Menu = Main->MenuOptions;
        Main->menuBar()->setActiveAction(Menu->menuAction());
        QApplication::processEvents();
        ASSERT_TRUE(Menu->isVisible());
        QTest::keyClick(Menu, Qt::Key_Down);
        EXPECT_EQ(Main->StatusBar1->PanelText(1), Hint) << Lng;
        QApplication::sendEvent(Main->pnlTop, &Enter);
        Menu->setActiveAction(nullptr);
        QTest::mouseMove(Menu, Menu->actionGeometry(Main->MenuOptionsSettings).center());
        EXPECT_EQ(Main->StatusBar1->PanelText(1), Hint) << Lng;
        Menu->hide();
        QApplication::processEvents();
    }
    // The hidden colour test button splits the ST colour.
    EXPECT_FALSE(Main->Button1->isVisibleTo(Main));
    Main->Button1Click();
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].endsWith("|r=1 g=1 b=1"));

    // The document commands follow the child windows.
    const auto Enabled = [&] {
        QString Set;
        for (QAction* A : {Main->FileCloseItem, Main->FileSaveAsItem, Main->SaveBMP640as4PICs,
                           Main->WindowTileItem, Main->WindowCloseAll})
            Set += A->isEnabled() ? '1' : '0';
        for (QToolButton* B : {Main->btnSave, Main->btnReport, Main->btnZoomIn, Main->btnInvert})
            Set += B->isEnabled() ? '1' : '0';
        return Set;
    };
    EXPECT_EQ(Enabled(), "000000000");
    EXPECT_TRUE(Main->FileOpenItem->isEnabled());
    auto* Doc = new QWidget;
    QMdiSubWindow* Sub = Main->AddMDIChild(Doc);
    EXPECT_EQ(Enabled(), "111111111");
    EXPECT_EQ(Main->ActiveDocument(), Doc);
    // The frame follows the window's icon.
    Doc->setWindowIcon(Main->Font_Icon);
    EXPECT_EQ(Sub->windowIcon().cacheKey(), Main->Font_Icon.cacheKey());
    Sub->close();
    for (int I = 0; I < 5; ++I) QApplication::processEvents();
    EXPECT_EQ(Enabled(), "000000000");
}

TEST_F(MainWindowTest, DropsAndArgumentsReachTheDispatchAsAbsolutePathsInOrder) {
    QTemporaryDir A, B;
    QDir().mkpath(A.filePath("pics"));
    TRecordingMain Main;
    frmMain = &Main;
    QMimeData Data;
    Data.setUrls({QUrl::fromLocalFile(A.filePath("one.gr8")), QUrl::fromLocalFile(B.filePath("Two.PIC"))});
    QDragEnterEvent Enter(QPoint(10, 10), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Main, &Enter);
    EXPECT_TRUE(Enter.isAccepted());
    QDropEvent Drop(QPointF(10, 10), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Main, &Drop);
    EXPECT_EQ(Main.Opened, (QStringList{A.filePath("one.gr8"), B.filePath("Two.PIC")}));
    EXPECT_EQ(openpath, B.path() + "/");

    // Relative arguments count from the current folder; a failure stops the list.
    Main.Opened.clear();
    const QString Old = QDir::currentPath();
    QDir::setCurrent(A.path());
    Main.FailOn = "BAD.GR8";
    Main.OpenFiles({"pics/a.gr8", "BAD.GR8", "c.gr8"});
    QDir::setCurrent(Old);
    EXPECT_EQ(Main.Opened, (QStringList{A.filePath("pics/a.gr8"), A.filePath("BAD.GR8")}));
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].startsWith("Fehler|Datei nicht gefunden"));
}

TEST_F(MainWindowOnScreen, HelpManualTemplateExportAndReadableToolBar) {
    QStringList Opened;
    bool Answer = true;
    SetShellOpenHook([&](const QString& U) {
        Opened << U;
        return Answer;
    });
    LngFile = "german.lng";
    Main->MenuHelpHelpIndexClick();
    LngFile = "french.lng";
    Main->MenuHelpHelpIndexClick(); // no page for other languages
    ASSERT_EQ(Opened.size(), 1);
    EXPECT_TRUE(Opened[0].endsWith("/help/context10.html"));
    LngFile = "English.lng";
    Answer = false;
    ManualsFolder = Dir.path() + "/";
    Write("Morvanel_English.PDF", "%PDF");
    Main->menuHelpShowManualClick();
    EXPECT_EQ(Opened.last(), ManualsFolder + "Morvanel_English.PDF");
    EXPECT_TRUE(Boxes.last().startsWith("Warnung|")) << Boxes.last().toStdString();
    SetShellOpenHook(nullptr);
    LngFile = "german.lng";

    LanguageFolder = Dir.path() + "/";
    Main->btnSaveTranslationsClick();
    const QString Text = QString::fromUtf8(ReadWholeFile(Dir.filePath("all_translations.lng")));
    EXPECT_TRUE(Text.startsWith("[frmMain]\n"));
    EXPECT_TRUE(Text.contains(QString("FileOpenItem.Caption").leftJustified(44) +
                              "= Ö&ffnen (Typ automatisch erkennen)"));
    EXPECT_FALSE(Text.contains("btnSaveTranslations"));

    // Hovering and pressing show a tool button's face: it must stay dark under the
    // white caption.
    for (QToolButton* B : {Main->btnOpen, Main->btnSave, Main->btnZoomIn, Main->btnSettings}) {
        for (QPalette::ColorGroup G : {QPalette::Active, QPalette::Inactive})
            EXPECT_LT(qGray(B->palette().color(G, QPalette::Button).rgb()), 255 - 90)
                << B->objectName().toStdString();
        EXPECT_TRUE(B->styleSheet().contains("color: white"));
    }
}

namespace {
// Class, caption and sizes as one line; "-" for a size a window does not have.
std::string Describe(const QString& Class, const QString& Caption, std::initializer_list<QSize> Sizes) {
    QStringList Parts{Class, Caption};
    for (QSize Z : Sizes) Parts << (Z.isValid() ? QString("%1x%2").arg(Z.width()).arg(Z.height()) : "-");
    return Parts.join(" | ").toStdString();
}

// What a user sees of a document window: class, caption, picture size, its size on
// screen at zoom 1, the size the info panel reports, and the outer size of the text
// and listing windows (the only fixed ones).
std::string Seen(QWidget* W) {
    ImageView* View = nullptr;
    const TAtariGraphic* Doc = nullptr;
    if (auto* G = qobject_cast<TChildWinGraphic*>(W)) {
        View = G->ImgGraphic;
        Doc = G->AtariGraphic.get();
    } else if (auto* S = qobject_cast<TChildWinSolidStates*>(W)) {
        View = S->imgGraphic;
        Doc = S->AtariGraphic.get();
    } else if (auto* F = qobject_cast<TChildWinFont*>(W)) {
        View = F->imgFont;
    }
    return Describe(W->metaObject()->className(), W->windowTitle(),
                    {View ? View->Picture.size() : QSize(), View ? View->ViewSize() : QSize(),
                     Doc ? QSize(Doc->PicInfo.Width, Doc->PicInfo.Height) : QSize(),
                     View ? QSize() : DocumentFrame(W)->size()});
}
} // namespace

// Every kind of file through the open a drop takes (joined pages through their menu
// commands): window class, caption and sizes as each type is defined to open, and each
// picture pixel for pixel as its type's mode draws it; then the routed commands on
// each window, and the table windows' captions with and without a font window in
// front; the font editor's panel.
TEST_F(MainWindowOnScreen, EachKindOfFileAndToolGetsItsWindowSizeAndCaption) {
    // Bytes that tell every mode and layout apart.
    const auto Bytes = [](int N, int Seed) {
        QByteArray B(N, 0);
        for (int I = 0; I < N; ++I) B[I] = char((I * 197 + Seed) ^ (I >> 7));
        return B;
    };
    const QByteArray Page = Bytes(7680, 1), Screen = Bytes(32000, 2), PhotoData = Bytes(600, 3);
    // Photo and album numbers end in the Atari end of line.
    const auto Eol = [](QByteArray S) { return S.replace('|', '\x9B'); };
    const QByteArray Photo =
        Eol("602|") + QByteArray(2, 0) + PhotoData + Eol("49|11|"); // 50 rows of 12 bytes
    // Six pictures of 20 x 30 bytes: cells of 159 x 46, five a row, two rows; the
    // pictures' rows are compared, the captions' rows are not.
    QByteArray Album = Eol("3702|");
    QImage AlbumWant(795, 132, QImage::Format_ARGB32);
    AlbumWant.fill(Qt::transparent);
    for (int K = 0; K < 6; ++K) {
        Album += QByteArray("PIC").leftJustified(15) + char(30) + char(20) + Bytes(600, K);
        for (int I = 0; I < 30 * 795; ++I) AlbumWant.setPixel(I % 795, K / 5 * 62 + 8 + I / 795, 0xFF000000);
    }
    for (int K = 0; K < 6; ++K) // 160 pixels a row over cells of 159: the next picture covers the last
        for (int I = 0, X; I < 600 * 8; ++I)
            if ((X = K % 5 * 159 + I % 160) < 795)
                AlbumWant.setPixel(X, K / 5 * 62 + 8 + I / 160,
                                   Bytes(600, K)[I / 8] >> (7 - I % 8) & 1 ? 0xFFFFFFFF : 0xFF000000);
    const QByteArray KoalaHead =
        QByteArray::fromHex("FF80C9C7000000000000000000112233004400") + QByteArray(8, 0);
    const QByteArray Mic = Page + QByteArray::fromHex("44112233"); // the Koala registers in page order
    // Technicolor: hue rows from the .COL file, luminance rows from the .LUM file.
    const QByteArray Hue = Bytes(4760, 4), Lum = Bytes(4760, 5);
    QByteArray TechRows;
    for (int R = 0; R < 119; ++R) TechRows += Hue.mid(R * 40, 40) + Lum.mid(R * 40, 40);
    WriteWholeFile(Dir.filePath("TECH.COL"), QByteArray(6, 0) + Hue); // the partner of TECH.LUM
    // Joined pages of one picture in each place: two stacked, or 2 x 2 in rows of 80 bytes.
    QByteArray Wide;
    for (int R = 0; R < 384; ++R) Wide += Page.mid(R % 192 * 40, 40).repeated(2);
    // ST pictures: 16 distinct colours, bit 3 of each level set in every other one
    // (it is not used); STAD data without its marker bytes CB and CC.
    std::array<quint16, 16> Pal{};
    for (int I = 0; I < 16; ++I)
        Pal[I] = quint16((I & 7) << 8 | (7 - I / 2) << 4 | (I * 3 & 7) | I % 2 * 0x888);
    const auto Degas = [&](int Res) { return sttest::DegasHeader(quint16(Res), Pal) + Screen; };
    const auto Packed = [&](int Res) {
        return sttest::MakePC(sttest::DegasHeader(quint16(Res), Pal), Screen, 4 >> Res);
    };
    QByteArray Plain = Screen;
    for (char& C : Plain) C &= 0x7F;
    const QByteArray Stad = QByteArray("pM85\xCB\x00\xCC", 7) + Plain;
    const QByteArray Neo = QByteArray(4, 0) + sttest::DegasHeader(0, Pal).mid(2) + QByteArray(92, 0) + Screen;
    QImage BmpPicture(100, 50, QImage::Format_RGB32);
    for (int Y = 0; Y < 50; ++Y)
        for (int X = 0; X < 100; ++X) BmpPicture.setPixel(X, Y, qRgb(X * 2, Y * 5, X ^ Y));
    QByteArray Bmp;
    QBuffer Buf(&Bmp);
    Buf.open(QIODevice::WriteOnly);
    BmpPicture.save(&Buf, "BMP");
    TJPEGImage Jpeg;
    Jpeg.Assign(QImage(64, 48, QImage::Format_RGB32));
    const QByteArray Source("10 PRINT \"HI\"\x9B");
    const char *Text = "TChildWinText", *Listing = "TChildWinListing", *Pic = "TChildWinGraphic";
    const char* Font = "TChildWinFont";
    const QSize Gr(320, 192), Lo(320, 200), Hi(640, 400), Mid(640, 200), Mid2(640, 400), List(600, 450);
    const QSize Two(320, 384), Four(640, 384), Nominal(80, 192), Four15(160, 192);
    const QStringList FourPictures{"A.PIC", "B.PIC", "C.PIC", "D.PIC"};
    using ref::Page8, ref::PageST;
    struct {
        QStringList Files; // one file, or the pictures of a joined page
        QByteArray Data;
        const char *Class, *Caption;
        QSize Image, Shown, Info, Frame;
        QImage Want{}; // the picture; transparent pixels are not compared
    } Kinds[] = {
        {{"readme.txt"}, "HELLO\x9BWORLD\x9B", Text, " README.TXT", {}, {}, {}, {665, 375}},
        {{"prog.lst"}, Source, Listing, " PROG.LST", {}, {}, {}, List},
        {{"prog.act"}, Source, Listing, " PROG.ACT", {}, {}, {}, List},
        {{"prog.p"}, Source, Listing, " PROG.P", {}, {}, {}, List},
        {{"prog.pas"}, Page, Listing, " PROG.PAS", {}, {}, {}, List}, // whatever it holds
        {{"prog.i"}, Source, Listing, " PROG.I", {}, {}, {}, List},
        {{"prog.src"}, Source, Listing, " PROG.SRC", {}, {}, {}, List},
        // The grid of 32 x 8 cells of 9 pixels, shown zoomed in once.
        {{"myfont.fnt"}, QByteArray(1024, 0x18), Font, " MYFONT.FNT", {289, 73}, {578, 146}, {}, {}},
        {{"cube.3d"}, "2\n0 0 0\n10 10 10\n1\n0 1\n", "TChildWinSolidStates", " CUBE.3D", Gr, Gr, Gr, {}},
        // Joined pages take the page's size as their info; a GR.8 page after them its own.
        {{"A.PIC", "B.PIC"}, Page, Pic, " A_B.PIC", Two, Two, Two, {}, Page8(8, Page + Page, 320, 384)},
        {FourPictures, Page, Pic, " A_B_C_D.PIC", Four, Four, Four, {}, Page8(8, Wide, 640, 384)},
        {{"PIC.GR8"}, Page, Pic, " PIC.GR8", Gr, Gr, Gr, {}, Page8(8, Page, 320, 192)},
        // Eight-bit pictures drawn 320 pixels wide; their info keeps the nominal size.
        {{"PIC.GR9"}, Page, Pic, " PIC.GR9", Gr, Gr, Nominal, {}, Page8(9, Page, 320, 192)},
        {{"TECH.LUM"},
         QByteArray(6, 0) + Lum,
         Pic,
         " TECH.LUM",
         {320, 238},
         {320, 238},
         {80, 238},
         {},
         Page8(911, TechRows, 320, 238)},
        {{"PIC.APC"}, Page + Bytes(40, 6), Pic, " PIC.APC", Gr, Gr, Nominal, {}, Page8(911, Page, 320, 192)},
        {{"PIC.AP2"}, Page, Pic, " PIC.AP2", Gr, Gr, Nominal, {}, Page8(119, Page, 320, 192)},
        {{"DEMO"}, Mic, Pic, " DEMO", Gr, Gr, Four15, {}, Page8(15, Mic, 320, 192)}, // Micropainter
        {{"KOALA.PIC"}, KoalaHead + Page, Pic, " KOALA.PIC", Gr, Gr, Four15, {}, Page8(15, Mic, 320, 192)},
        {{"PIC.PHO"}, Photo, Pic, " PIC.PHO", {96, 50}, {96, 50}, {96, 50}, {}, Page8(8, PhotoData, 96, 50)},
        {{"PIC.ALB"}, Album, Pic, " PIC.ALB", {795, 132}, {795, 132}, {159, 46}, {}, AlbumWant},
        {{"PIC.NEO"}, Neo, Pic, " PIC.NEO", Lo, Lo, Lo, {}, PageST(0, Screen, Pal)},
        {{"PIC.DOO"}, Screen, Pic, " PIC.DOO", Hi, Hi, Hi, {}, PageST(2, Screen, Pal)},
        {{"PIC.PAC"}, Stad, Pic, " PIC.PAC", Hi, Hi, Hi, {}, PageST(2, Plain, Pal)},
        {{"PIC.PI1"}, Degas(0), Pic, " PIC.PI1", Lo, Lo, Lo, {}, PageST(0, Screen, Pal)},
        {{"PIC.PI2"}, Degas(1), Pic, " PIC.PI2", Mid, Mid2, Mid, {}, PageST(1, Screen, Pal)},
        {{"PIC.PI3"}, Degas(2), Pic, " PIC.PI3", Hi, Hi, Hi, {}, PageST(2, Screen, Pal)},
        {{"PIC.PC1"}, Packed(0), Pic, " PIC.PC1", Lo, Lo, Lo, {}, PageST(0, Screen, Pal)},
        {{"PIC.PC2"}, Packed(1), Pic, " PIC.PC2", Mid, Mid2, Mid, {}, PageST(1, Screen, Pal)},
        {{"PIC.PC3"}, Packed(2), Pic, " PIC.PC3", Hi, Hi, Hi, {}, PageST(2, Screen, Pal)},
        {{"PIC.BMP"}, Bmp, Pic, " PIC.BMP", {100, 50}, {100, 50}, {100, 50}, {}, BmpPicture},
        {{"PIC.JPG"}, Jpeg.SaveToData(), Pic, " PIC.JPG", {64, 48}, {64, 48}, {64, 48}, {}},
    };
    const int Beeps = BeepCount;
    for (const auto& K : Kinds) {
        QStringList Paths;
        for (const QString& F : K.Files) Paths << Write(F, K.Data);
        const int Before = Main->MDIChildCount();
        Answer(Paths);
        if (Paths.size() == 1) Main->OpenFiles(Paths);
        if (Paths.size() == 2) Main->Open2PICsClick();
        if (Paths.size() == 4) Main->Open4PICsClick();
        ASSERT_EQ(Main->MDIChildCount(), Before + 1) << K.Files.join(" ").toStdString();
        QWidget* Win = Main->DocumentWindows().last();
        EXPECT_EQ(Seen(Win), Describe(K.Class, K.Caption, {K.Image, K.Shown, K.Info, K.Frame}));
        if (auto* G = qobject_cast<TChildWinGraphic*>(Win); G && !K.Want.isNull()) {
            EXPECT_EQ(ref::FirstDifference(G->ImgGraphic->Picture, K.Want), "") << K.Caption;
        }
    }
    EXPECT_EQ(BeepCount, Beeps);
    EXPECT_EQ(Main->StatusBar1->PanelText(0), "");
    QPointer<TChildWinFont> FontWin = Main->ChildWinFont;
    ASSERT_TRUE(FontWin);
    for (QWidget* W : Main->DocumentWindows()) {
        Main->MdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(W->parentWidget()));
        Main->btnZoomInClick(); // every kind takes the routed commands
        Main->btnInvertClick();
        Main->MenuFitSizeClick();
    }
    Main->MenuFitSizeAllClick();
    Main->AlleInvertieren();

    // A picture window in front: the built-in font under its own name.
    Main->menuATASCIITableClick();
    ASSERT_TRUE(Main->ChildWinATASCIITable);
    EXPECT_EQ(Main->ChildWinATASCIITable->windowTitle(), "ATASCII-Tabelle: ATARI-Font (Morvanel intern)");
    Main->menuFontMapClick();
    EXPECT_EQ(Main->ChildWinATASCIITable->windowTitle(), "Font-Map: ATARI-Font (Morvanel intern)");

    // A font window in front: its font, under the file's name.
    const auto FontInFront = [&] {
        Main->MdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(FontWin->parentWidget()));
    };
    FontInFront();
    Main->menuATASCIITableClick();
    EXPECT_EQ(Main->ChildWinATASCIITable->windowTitle(), "ATASCII-Tabelle: MYFONT.FNT");
    EXPECT_EQ(Main->ChildWinATASCIITable->FontName, "MYFONT.FNT");
    FontInFront();
    Main->menuFontMapClick();
    EXPECT_EQ(Main->ChildWinATASCIITable->windowTitle(), "Font-Map: MYFONT.FNT");
    EXPECT_EQ(Main->ChildWinFont, FontWin);
    // Explorer and editor open the same window; only the editor opens the editor panel.
    Main->menuFontExplorerClick(Main->menuFontExplorer);
    TChildWinFont* Explorer = Main->ChildWinFont;
    ASSERT_TRUE(Explorer && Explorer != FontWin);
    EXPECT_EQ(Explorer->windowTitle(), " Font-Explorer: ATARI (Morvanel intern)");
    EXPECT_FALSE(Explorer->pnlFontEditor->isVisibleTo(Explorer));
    EXPECT_TRUE(Explorer->btnInternational->isEnabled());
    Main->menuFontExplorerClick(Main->menuFontEditor);
    TChildWinFont* Editor = Main->ChildWinFont;
    ASSERT_TRUE(Editor && Editor != Explorer);
    EXPECT_EQ(Editor->windowTitle(), " Font-Explorer: ATARI (Morvanel intern)");
    EXPECT_TRUE(Editor->pnlFontEditor->isVisibleTo(Editor) && Editor->EditorOn == 1);
    EXPECT_FALSE(FontWin->btnInternational->isEnabled());
    Main->menuATASCIIEditorClick();
    EXPECT_EQ(Main->MDIChildCount(), int(std::size(Kinds)) + 7);
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
    Main->MdiArea->closeAllSubWindows();
}

// A language file named in the settings that is gone: one warning at the first
// showing, then everything in German, also while a picture opens.
TEST_F(MainWindowTest, MissingLanguageFromTheSettingsWarnsOnceAndGermanGoesOn) {
    LngFile = "klingon.lng";
    TfrmMain Main;
    frmMain = &Main;
    Main.show();
    for (int I = 0; I < 5; ++I) QApplication::processEvents();
    ASSERT_EQ(Boxes.size(), 1) << Boxes.join("\n").toStdString();
    EXPECT_EQ(Boxes[0], "Warnung|" + LanguageFolder + "klingon.lng not found!");
    EXPECT_EQ(LngFile.toLower(), "german.lng");
    EXPECT_EQ(Main.ComboLng->currentText(), "German.lng");
    Main.OpenFiles({Write("pic.gr8", QByteArray(7680, 0x55))});
    EXPECT_EQ(Main.MDIChildCount(), 1);
    EXPECT_EQ(GetMsg("mREADY"), "Fertig");
    EXPECT_EQ(Boxes.size(), 1) << Boxes.join("\n").toStdString();
    Main.MdiArea->closeAllSubWindows();
}

// Quitting asks every document window before it closes any: Cancel in a changed
// font's question keeps every window, docked or free, with its content, also for a
// quit from the session; No then closes all of them without asking again.
TEST_F(MainWindowTest, QuitClosesNothingWhileOneWindowRefuses) {
    CreateApplicationWindows();
    TfrmMain& Main = *frmMain;
    Main.show();
    // Each quit asks Questions times; Answer is given from inside the dialog's loop.
    const auto Quit = [&](const std::function<void()>& Ask, TVekButton* Answer, int Questions = 1) {
        EXPECT_EQ(drive::WhileModal(
                      Ask, [&](QWidget*) { Answer->Click(); }, true),
                  Questions);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    const QList<QPair<QString, QByteArray>> Files = {{"PIC.GR8", QByteArray(7680, 0x55)},
                                                     {"T.TXT", "HELLO\x9B"},
                                                     {"L.LST", "10 PRINT \"HI\"\x9B"},
                                                     {"CUBE.3D", "2\n0 0 0\n10 10 10\n1\n0 1\n"},
                                                     {"F.FNT", QByteArray(1024, 0x18)}};
    for (const auto& [Name, Data] : Files) Main.OpenFiles({Write(Name, Data)});
    Main.menuATASCIITableClick();
    Main.menuATASCIIEditorClick();
    Main.ChildWinASC2ATASC->TextEdit->setPlainText("READY");
    Main.ChildWinFont->btnFontEditClick();
    Main.ChildWinFont->btnFontInvertClick();
    ASSERT_EQ(Main.ChildWinFont->Modified, 1);
    Main.ChildWinGraphic->btnIsChildWinClick(); // the picture in a window of its own
    ASSERT_EQ(Main.FreeDocumentWindows(), QList<QWidget*>{Main.ChildWinGraphic});
    const QImage Picture = Main.ChildWinGraphic->ImgGraphic->Picture;
    QList<QPointer<QWidget>> Windows;
    for (QWidget* W : Main.DocumentWindows() + Main.FreeDocumentWindows()) Windows << W;
    ASSERT_EQ(Windows.size(), 7);

    QEvent SessionQuit(QEvent::Quit);
    Quit([&] { QApplication::sendEvent(qApp, &SessionQuit); }, frmYESNOCANCEL->btnCancel);
    EXPECT_FALSE(SessionQuit.isAccepted());
    Quit([&] { Main.FileExitItemClick(); }, frmYESNOCANCEL->btnCancel);
    SetFileDialogHook([](TFileDialogRequest&, QStringList&) { return false; });
    Quit([&] { Main.FileExitItemClick(); }, frmYESNOCANCEL->btnYES); // the editor's save cancelled
    EXPECT_TRUE(Main.isVisible());
    for (const auto& W : Windows) EXPECT_TRUE(W && W->isVisible());
    EXPECT_EQ(Main.ChildWinASC2ATASC->TextEdit->toPlainText(), "READY");
    EXPECT_EQ(Main.ChildWinFont->Modified, 1);
    EXPECT_EQ(Main.ChildWinGraphic->ImgGraphic->Picture, Picture);
    EXPECT_TRUE(Main.ChildWinSolidStates->Timer1->isActive()); // still turning

    Quit([&] { Main.FileExitItemClick(); }, frmYESNOCANCEL->btnNo, 2); // the editor's text and the font
    EXPECT_FALSE(Main.isVisible());
    for (const auto& W : Windows) EXPECT_TRUE(W.isNull());
    DestroyApplicationWindows();
}

// At the default 625 pixels the tool bar shows every caption and both logos whole,
// the maker's logo at the right end, in German and in English. What finds no room
// is cut at the right edge: nothing is squeezed, nothing lies over anything else.
TEST_F(MainWindowTest, ToolBarShowsWholeAtTheDefaultWidth) {
    CreateApplicationWindows();
    TfrmMain& Main = *frmMain;
    Main.FillLanguageList();
    Main.show();
    // The part of W that the tool bar and every box inside it leave in view.
    const auto Shown = [&](QWidget* W) {
        QRect R = W->rect();
        for (QWidget* P = W; P != Main.pnlTop; P = P->parentWidget())
            R = R.translated(P->pos()) & P->parentWidget()->rect();
        return R;
    };
    const auto Check = [&](const char* Case, bool Whole) {
        QApplication::processEvents();
        ASSERT_EQ(Main.width(), 625);
        int Right = -1;
        for (QWidget* W : std::initializer_list<QWidget*>{Main.btnOpen, Main.btnSave, Main.btnZoomIn,
                                                          Main.btnZoomOut, Main.btnInvert, Main.btnReport,
                                                          Main.btnSettings, Main.imgQuarn, Main.imgTEVRA}) {
            SCOPED_TRACE(std::string(Case) + ": " + W->objectName().toStdString());
            const QRect R(W->mapTo(Main.pnlTop, QPoint(0, 0)), W->size());
            EXPECT_GE(W->width(), W->sizeHint().width());
            EXPECT_GT(R.left(), Right);
            Right = R.right();
            EXPECT_TRUE(!Whole || Shown(W).size() == W->size());
        }
        EXPECT_TRUE(!Whole || Main.pnlTop->width() - Right <= 5); // the maker's logo ends the bar
    };
    Main.resize(625, 475);
    for (const char* Language : {"German.lng", "English.lng"}) {
        Main.ComboLng->setCurrentText(Language);
        Main.ComboLngChange();
        Check(Language, true);
    }
    Main.btnOpen->setText(QString(40, 'W'));
    Check("a long caption", false);
    EXPECT_TRUE(Shown(Main.imgTEVRA).isEmpty());
    DestroyApplicationWindows();
}
