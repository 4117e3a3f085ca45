#include "uGlobal.h"
#include "uMain.h"
#include "uParam.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

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

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitFolders();
        SetSettingsDefaults();
        SetMessageBoxHook([this](TMsgKind, const QString& C, const QString& T) { Boxes << C + "|" + T; });
    }
    void TearDown() override { SetMessageBoxHook(nullptr); }
    QStringList Boxes;
};
} // namespace

TEST_F(MainWindowTest, StartsWithVersionPanelAndHiddenProgress) {
    TfrmMain Main;
    frmMain = &Main;
    EXPECT_EQ(Main.objectName(), "frmMain");
    EXPECT_EQ(Main.StatusBar1->PanelText(2), " " + VersionText);
    EXPECT_TRUE(VersionText.startsWith("Version "));
    EXPECT_TRUE(Main.ProgressBar1->isHidden());
    EXPECT_EQ(Main.StatusBar1->PanelRect(0).width(), 75);
    EXPECT_EQ(Main.StatusBar1->PanelRect(1).width(), 240);
    EXPECT_EQ(Main.StatusBar1->PanelRect(2).width(), 185);
    EXPECT_EQ(Main.StatusBar1->PanelRect(3).width(), 100);
    Main.StatusMsg("busy");
    EXPECT_EQ(Main.StatusBar1->PanelText(0), "busy");
    Main.delmsg();
    EXPECT_EQ(Main.StatusBar1->PanelText(0), "");
    Main.ProgressBar(30, 60);
    EXPECT_EQ(Main.ProgressBar1->maximum(), 60);
    EXPECT_EQ(Main.ProgressBar1->value(), 30);
    EXPECT_EQ(Main.pnlTop->palette().color(QPalette::Window), WinColorToQColor(TopPanelColor));
    for (const char* Name :
         {"FileOpenItem", "OpenDegasPC3", "Open4PICs", "SaveBMP640as4PICs", "menuFilePrint", "MenuFitSizeAll",
          "MenuOptionsSettings", "menuATASCIIEditor", "WindowCloseAll", "menuHelpShowManual"})
        EXPECT_NE(Main.findChild<QAction*>(Name), nullptr) << Name;
    frmMain = nullptr;
}

TEST_F(MainWindowTest, DocumentCommandsFollowTheChildWindows) {
    TfrmMain Main;
    frmMain = &Main;
    Main.show();
    EXPECT_FALSE(Main.FileCloseItem->isEnabled());
    EXPECT_FALSE(Main.btnSave->isEnabled());
    EXPECT_TRUE(Main.FileOpenItem->isEnabled());
    EXPECT_TRUE(Main.menuFilePrint->isEnabled());
    auto* Doc = new QWidget;
    Doc->setObjectName("ChildWinTest");
    QMdiSubWindow* Sub = Main.AddMDIChild(Doc);
    for (QAction* A :
         {Main.FileCloseItem, Main.FileSaveAsItem, Main.SaveBMP640as4PICs, Main.WindowCascadeItem,
          Main.WindowTileItem, Main.WindowArrangeItem, Main.WindowMinimizeItem, Main.WindowCloseAll})
        EXPECT_TRUE(A->isEnabled()) << A->objectName().toStdString();
    for (QToolButton* B : {Main.btnSave, Main.btnReport, Main.btnZoomIn, Main.btnZoomOut, Main.btnInvert})
        EXPECT_TRUE(B->isEnabled());
    EXPECT_EQ(Main.ActiveDocument(), Doc);
    Sub->close();
    for (int I = 0; I < 5; ++I) QApplication::processEvents();
    EXPECT_FALSE(Main.FileCloseItem->isEnabled());
    EXPECT_FALSE(Main.btnInvert->isEnabled());
    frmMain = nullptr;
}

TEST_F(MainWindowTest, DropReachesTheDispatchAsAbsolutePathsInOrder) {
    QTemporaryDir A, B;
    WriteWholeFile(A.filePath("one.gr8"), "1");
    WriteWholeFile(B.filePath("Two.PIC"), "2");
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
    frmMain = nullptr;
}

TEST_F(MainWindowTest, RelativeArgumentsAreMadeAbsoluteAndAFailureStopsTheList) {
    QTemporaryDir Dir;
    QDir().mkpath(Dir.filePath("pics"));
    const QString Old = QDir::currentPath();
    QDir::setCurrent(Dir.path());
    TRecordingMain Main;
    frmMain = &Main;
    Main.FailOn = "BAD.GR8";
    Main.OpenFiles({"pics/a.gr8", "BAD.GR8", "c.gr8"});
    QDir::setCurrent(Old);
    EXPECT_EQ(Main.Opened, (QStringList{Dir.filePath("pics/a.gr8"), Dir.filePath("BAD.GR8")}));
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].startsWith("Fehler|Datei nicht gefunden"));
    frmMain = nullptr;
}

TEST_F(MainWindowTest, EachKindOfFileGetsItsWindow) {
    TfrmMain Main;
    frmMain = &Main;
    Main.show();
    QTemporaryDir Dir;
    WriteWholeFile(Dir.filePath("readme.txt"), QByteArray("HELLO\x9BWORLD\x9B"));
    WriteWholeFile(Dir.filePath("prog.lst"), QByteArray("10 PRINT \"HI\"\x9B"));
    WriteWholeFile(Dir.filePath("set.fnt"), QByteArray(1024, 0));
    WriteWholeFile(Dir.filePath("cube.3d"), QByteArray("2\n0 0 0\n10 10 10\n1\n0 1\n"));
    WriteWholeFile(Dir.filePath("odd.xyz"), QByteArray(100, 1)); // anything else is a Micropainter picture
    const int Beeps = BeepCount;
    Main.OpenFiles({Dir.filePath("readme.txt"), Dir.filePath("prog.lst"), Dir.filePath("set.fnt"),
                    Dir.filePath("cube.3d"), Dir.filePath("odd.xyz")});
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
    EXPECT_EQ(BeepCount, Beeps);
    QStringList Kinds;
    for (QWidget* W : Main.DocumentWindows()) Kinds << W->metaObject()->className();
    EXPECT_EQ(Kinds, (QStringList{"TChildWinText", "TChildWinListing", "TChildWinFont",
                                  "TChildWinSolidStates", "TChildWinGraphic"}));
    EXPECT_EQ(Main.StatusBar1->PanelText(0), "");
    for (QWidget* W : Main.DocumentWindows()) {
        Main.MdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(W->parentWidget()));
        Main.btnZoomInClick(); // every kind takes the routed commands
        Main.btnInvertClick();
        Main.MenuFitSizeClick();
    }
    Main.MenuFitSizeAllClick();
    Main.AlleInvertieren();
    Main.menuATASCIITableClick();
    Main.menuFontMapClick();
    Main.menuATASCIIEditorClick();
    Main.menuFontExplorerClick(Main.menuFontEditor);
    EXPECT_EQ(Main.MDIChildCount(), 9);
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
    Main.MdiArea->closeAllSubWindows();
    frmMain = nullptr;
}

TEST_F(MainWindowTest, LanguageComboTranslatesAndKeepsAMissingChoiceOut) {
    CreateApplicationWindows();
    frmMain->FillLanguageList();
    frmMain->ComboLng->setCurrentText("English.lng");
    frmMain->ComboLngChange();
    EXPECT_EQ(LngFile, "English.lng");
    EXPECT_EQ(frmMain->MenuFile->title(), "&File");
    EXPECT_EQ(frmMain->btnOpen->text(), "Open");
    EXPECT_EQ(GetMsg("mREADY"), "Ready");
    frmMain->ComboLng->addItem("gone.lng");
    frmMain->ComboLng->setCurrentText("gone.lng");
    frmMain->ComboLngChange();
    EXPECT_EQ(LngFile, "English.lng");
    ASSERT_FALSE(Boxes.isEmpty());
    EXPECT_TRUE(Boxes.last().endsWith("gone.lng not found!")) << Boxes.last().toStdString();
    frmMain->ComboLng->setCurrentText("German.lng");
    frmMain->ComboLngChange();
    EXPECT_EQ(frmMain->MenuFile->title(), "&Datei");
    DestroyApplicationWindows();
    LngFile = "german.lng";
}

TEST_F(MainWindowTest, DockAndUndockADocumentWindow) {
    TfrmMain Main;
    frmMain = &Main;
    Main.show();
    QPointer<QWidget> Doc = new QWidget;
    Doc->setObjectName("ChildWinTest");
    Doc->resize(200, 100);
    Main.AddMDIChild(Doc);
    EXPECT_EQ(Main.MDIChildCount(), 1);
    SetMDIChildStyle(Doc, false);
    for (int I = 0; I < 5; ++I) QApplication::processEvents();
    ASSERT_TRUE(Doc);
    EXPECT_TRUE(Doc->isWindow());
    EXPECT_EQ(Main.MDIChildCount(), 0);
    SetMDIChildStyle(Doc, true);
    ASSERT_TRUE(Doc);
    EXPECT_FALSE(Doc->isWindow());
    EXPECT_EQ(Main.MDIChildCount(), 1);
    EXPECT_EQ(Main.ActiveDocument(), Doc.data());
    frmMain = nullptr;
}

TEST_F(MainWindowTest, HiddenColourTestButtonSplitsTheStColour) {
    TfrmMain Main;
    frmMain = &Main;
    EXPECT_FALSE(Main.Button1->isVisibleTo(&Main));
    Main.Button1Click();
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].endsWith("|r=1 g=1 b=1"));
    frmMain = nullptr;
}

TEST_F(MainWindowTest, HintsGoToPanelOne) {
    TfrmMain Main;
    frmMain = &Main;
    Main.show();
    QEvent Enter(QEvent::Enter);
    QApplication::sendEvent(Main.btnOpen, &Enter);
    EXPECT_EQ(Main.StatusBar1->PanelText(1), "Datei laden");
    QApplication::sendEvent(Main.pnlTop, &Enter); // a control without a hint empties it
    EXPECT_EQ(Main.StatusBar1->PanelText(1), "");
    frmMain = nullptr;
}

TEST_F(MainWindowTest, HelpManualAndTemplateExport) {
    TfrmMain Main;
    frmMain = &Main;
    QStringList Opened;
    bool Answer = true;
    SetShellOpenHook([&](const QString& U) {
        Opened << U;
        return Answer;
    });
    LngFile = "English.lng";
    Main.MenuHelpHelpIndexClick();
    LngFile = "german.lng";
    Main.MenuHelpHelpIndexClick();
    LngFile = "french.lng";
    Main.MenuHelpHelpIndexClick(); // no page for other languages
    ASSERT_EQ(Opened.size(), 2);
    EXPECT_TRUE(Opened[0].endsWith("/help/context0.html"));
    EXPECT_TRUE(Opened[1].endsWith("/help/context10.html"));
    LngFile = "English.lng";
    Answer = false;
    Main.menuHelpShowManualClick();
    EXPECT_EQ(Opened.last(), ManualsFolder + "Morvanel_English.PDF");
    EXPECT_TRUE(Boxes.last().startsWith("Warnung|")) << Boxes.last().toStdString();
    SetShellOpenHook(nullptr);
    LngFile = "german.lng";

    QTemporaryDir Dir;
    const QString OldFolder = LanguageFolder;
    LanguageFolder = Dir.path() + "/";
    Main.btnSaveTranslationsClick();
    LanguageFolder = OldFolder;
    const QString Text = QString::fromUtf8(ReadWholeFile(Dir.filePath("all_translations.lng")));
    EXPECT_TRUE(Text.startsWith("[frmMain]\n"));
    EXPECT_TRUE(Text.contains(QString("FileOpenItem.Caption").leftJustified(44) +
                              "= Ö&ffnen (Typ automatisch erkennen)"));
    EXPECT_FALSE(Text.contains("btnSaveTranslations"));
    frmMain = nullptr;
}

TEST_F(MainWindowTest, TheFrameFollowsTheWindowsIcon) {
    TfrmMain Main;
    frmMain = &Main;
    auto* Doc = new QWidget;
    QMdiSubWindow* Sub = Main.AddMDIChild(Doc);
    Doc->setWindowIcon(Main.Font_Icon);
    EXPECT_EQ(Sub->windowIcon().cacheKey(), Main.Font_Icon.cacheKey());
    frmMain = nullptr;
}
