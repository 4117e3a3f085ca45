#include "test_shell_common.h"
#include "uChildWinATASCIITable.h"
#include "uChildWinFont.h"
#include "uChildWinListing.h"
#include "uChildWinText.h"
#include "uDocWindow.h"
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
#include <QTemporaryDir>
#include <QToolButton>
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

using MainWindowTest = MainWindowFixture;
} // namespace

TEST_F(MainWindowTest, StatusPanelsHintsAndDocumentCommands) {
    TfrmMain Main;
    frmMain = &Main;
    Main.show();
    EXPECT_EQ(Main.StatusBar1->PanelText(2), " " + VersionText);
    EXPECT_TRUE(Main.ProgressBar1->isHidden());
    Main.StatusMsg("busy");
    EXPECT_EQ(Main.StatusBar1->PanelText(0), "busy");
    Main.delmsg();
    EXPECT_EQ(Main.StatusBar1->PanelText(0), "");
    Main.ProgressBar(30, 60);
    EXPECT_EQ(Main.ProgressBar1->maximum(), 60);
    EXPECT_EQ(Main.ProgressBar1->value(), 30);
    // Hints go to panel one; a control without a hint empties it.
    QEvent Enter(QEvent::Enter);
    QApplication::sendEvent(Main.btnOpen, &Enter);
    EXPECT_EQ(Main.StatusBar1->PanelText(1), "Datei laden");
    QApplication::sendEvent(Main.pnlTop, &Enter);
    EXPECT_EQ(Main.StatusBar1->PanelText(1), "");
    // The hidden colour test button splits the ST colour.
    EXPECT_FALSE(Main.Button1->isVisibleTo(&Main));
    Main.Button1Click();
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].endsWith("|r=1 g=1 b=1"));

    // The document commands follow the child windows.
    const auto Enabled = [&] {
        QString Set;
        for (QAction* A : {Main.FileCloseItem, Main.FileSaveAsItem, Main.SaveBMP640as4PICs,
                           Main.WindowTileItem, Main.WindowCloseAll})
            Set += A->isEnabled() ? '1' : '0';
        for (QToolButton* B : {Main.btnSave, Main.btnReport, Main.btnZoomIn, Main.btnInvert})
            Set += B->isEnabled() ? '1' : '0';
        return Set;
    };
    EXPECT_EQ(Enabled(), "000000000");
    EXPECT_TRUE(Main.FileOpenItem->isEnabled());
    auto* Doc = new QWidget;
    QMdiSubWindow* Sub = Main.AddMDIChild(Doc);
    EXPECT_EQ(Enabled(), "111111111");
    EXPECT_EQ(Main.ActiveDocument(), Doc);
    // The frame follows the window's icon.
    Doc->setWindowIcon(Main.Font_Icon);
    EXPECT_EQ(Sub->windowIcon().cacheKey(), Main.Font_Icon.cacheKey());
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

TEST_F(MainWindowTest, HelpManualTemplateExportAndReadableToolBar) {
    TfrmMain Main;
    frmMain = &Main;
    QStringList Opened;
    bool Answer = true;
    SetShellOpenHook([&](const QString& U) {
        Opened << U;
        return Answer;
    });
    LngFile = "german.lng";
    Main.MenuHelpHelpIndexClick();
    LngFile = "french.lng";
    Main.MenuHelpHelpIndexClick(); // no page for other languages
    ASSERT_EQ(Opened.size(), 1);
    EXPECT_TRUE(Opened[0].endsWith("/help/context10.html"));
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

    // Hovering and pressing show a tool button's face: it must stay dark under the
    // white caption.
    for (QToolButton* B : {Main.btnOpen, Main.btnSave, Main.btnZoomIn, Main.btnSettings}) {
        for (QPalette::ColorGroup G : {QPalette::Active, QPalette::Inactive})
            EXPECT_LT(qGray(B->palette().color(G, QPalette::Button).rgb()), 255 - 90)
                << B->objectName().toStdString();
        EXPECT_TRUE(B->styleSheet().contains("color: white"));
    }
}

// What a user sees of the windows the dispatch and the Tools menu open: each kind
// of file gets its window at its size and takes the routed commands; the table
// windows' captions with and without a font window in front; the font editor's panel.
TEST_F(MainWindowTest, EachKindOfFileAndToolGetsItsWindowSizeAndCaption) {
    TfrmMain Main;
    frmMain = &Main;
    Main.show();
    QTemporaryDir Dir;
    WriteWholeFile(Dir.filePath("readme.txt"), QByteArray("HELLO\x9BWORLD\x9B"));
    WriteWholeFile(Dir.filePath("prog.lst"), QByteArray("10 PRINT \"HI\"\x9B"));
    WriteWholeFile(Dir.filePath("myfont.fnt"), QByteArray(1024, 0x18));
    WriteWholeFile(Dir.filePath("cube.3d"), QByteArray("2\n0 0 0\n10 10 10\n1\n0 1\n"));
    WriteWholeFile(Dir.filePath("odd.xyz"), QByteArray(100, 1)); // anything else is a Micropainter picture
    const int Beeps = BeepCount;
    Main.OpenFiles({Dir.filePath("readme.txt"), Dir.filePath("prog.lst"), Dir.filePath("myfont.fnt"),
                    Dir.filePath("cube.3d"), Dir.filePath("odd.xyz")});
    EXPECT_EQ(BeepCount, Beeps);
    QStringList Kinds;
    for (QWidget* W : Main.DocumentWindows()) Kinds << W->metaObject()->className();
    EXPECT_EQ(Kinds, (QStringList{"TChildWinText", "TChildWinListing", "TChildWinFont",
                                  "TChildWinSolidStates", "TChildWinGraphic"}));
    EXPECT_EQ(Main.StatusBar1->PanelText(0), "");
    ASSERT_TRUE(Main.ChildWinText && Main.ChildWinListing);
    EXPECT_EQ(DocumentFrame(Main.ChildWinText)->size(), QSize(665, 375));
    EXPECT_EQ(DocumentFrame(Main.ChildWinListing)->size(), QSize(600, 450));
    QPointer<TChildWinFont> FontWin = Main.ChildWinFont;
    ASSERT_TRUE(FontWin);
    for (QWidget* W : Main.DocumentWindows()) {
        Main.MdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(W->parentWidget()));
        Main.btnZoomInClick(); // every kind takes the routed commands
        Main.btnInvertClick();
        Main.MenuFitSizeClick();
    }
    Main.MenuFitSizeAllClick();
    Main.AlleInvertieren();

    // A picture window in front: the built-in font under its own name.
    Main.menuATASCIITableClick();
    ASSERT_TRUE(Main.ChildWinATASCIITable);
    EXPECT_EQ(Main.ChildWinATASCIITable->windowTitle(), "ATASCII-Tabelle: ATARI-Font (Morvanel intern)");
    Main.menuFontMapClick();
    EXPECT_EQ(Main.ChildWinATASCIITable->windowTitle(), "Font-Map: ATARI-Font (Morvanel intern)");

    // A font window in front: its font, under the file's name.
    const auto FontInFront = [&] {
        Main.MdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(FontWin->parentWidget()));
    };
    FontInFront();
    Main.menuATASCIITableClick();
    EXPECT_EQ(Main.ChildWinATASCIITable->windowTitle(), "ATASCII-Tabelle: MYFONT.FNT");
    EXPECT_EQ(Main.ChildWinATASCIITable->FontName, "MYFONT.FNT");
    FontInFront();
    Main.menuFontMapClick();
    EXPECT_EQ(Main.ChildWinATASCIITable->windowTitle(), "Font-Map: MYFONT.FNT");
    EXPECT_EQ(Main.ChildWinFont, FontWin);
    // Explorer and editor open the same window; only the editor opens the editor panel.
    Main.menuFontExplorerClick(Main.menuFontExplorer);
    TChildWinFont* Explorer = Main.ChildWinFont;
    ASSERT_TRUE(Explorer && Explorer != FontWin);
    EXPECT_EQ(Explorer->windowTitle(), " Font-Explorer: ATARI (Morvanel intern)");
    EXPECT_FALSE(Explorer->pnlFontEditor->isVisibleTo(Explorer));
    EXPECT_TRUE(Explorer->btnInternational->isEnabled());
    Main.menuFontExplorerClick(Main.menuFontEditor);
    TChildWinFont* Editor = Main.ChildWinFont;
    ASSERT_TRUE(Editor && Editor != Explorer);
    EXPECT_EQ(Editor->windowTitle(), " Font-Explorer: ATARI (Morvanel intern)");
    EXPECT_TRUE(Editor->pnlFontEditor->isVisibleTo(Editor));
    EXPECT_EQ(Editor->EditorOn, 1);
    EXPECT_FALSE(FontWin->btnInternational->isEnabled());
    Main.menuATASCIIEditorClick();
    EXPECT_EQ(Main.MDIChildCount(), 12);
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
    Main.MdiArea->closeAllSubWindows();
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
    QTemporaryDir Dir;
    WriteWholeFile(Dir.filePath("pic.gr8"), QByteArray(7680, 0x55));
    Main.OpenFiles({Dir.filePath("pic.gr8")});
    EXPECT_EQ(Main.MDIChildCount(), 1);
    EXPECT_EQ(GetMsg("mREADY"), "Fertig");
    EXPECT_EQ(Boxes.size(), 1) << Boxes.join("\n").toStdString();
    Main.MdiArea->closeAllSubWindows();
    LngFile = "german.lng";
}
