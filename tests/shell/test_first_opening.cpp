// Windows made on first use speak the chosen language, whether it was chosen at
// start or in the language box; and the help commands say what went wrong.
#include "VekButton.h"
#include "solid3d/Solid3DTestUtil.h"
#include "test_drive_events.h"
#include "test_shell_common.h"
#include "uChildWinSolidStates.h"
#include "uFrmSolidStatesController.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>

namespace {
class FirstOpening : public MainWindowFixture {
protected:
    void TearDown() override {
        SetShellOpenHook(nullptr);
        delete frmSolidStatesController;
        DestroyApplicationWindows();
        MainWindowFixture::TearDown();
    }
    // The program started with Lng in the settings, then Chosen in the language box.
    void Start(const QString& Lng, const QString& Chosen = QString()) {
        delete frmSolidStatesController;
        DestroyApplicationWindows();
        SettingsFolder = Dir.path() + "/";
        CreateApplicationWindows();
        LngFile = Lng; // as the settings load it
        Main = frmMain;
        Main->show();
        // The first showing applies the language once its window is laid out.
        for (int I = 0; I < 20 && Main->ComboLng->currentIndex() < 0; ++I) QApplication::processEvents();
        ASSERT_EQ(Main->ComboLng->currentText().toLower(), Lng.toLower());
        if (!Chosen.isEmpty()) Choose(Chosen);
    }
    void Choose(const QString& Lng) {
        Main->ComboLng->setCurrentIndex(Main->ComboLng->findText(Lng, Qt::MatchFixedString));
        Main->ComboLngChange();
        ASSERT_EQ(LngFile.toLower(), Lng.toLower());
    }
    TfrmMain* Main = nullptr;
};
} // namespace

// The controller, the output options and the print preview opened first, after the
// language was set at start or chosen in the box.
TEST_F(FirstOpening, TheControllerAndThePrintPreviewSpeakTheLanguageFromTheFirstOpening) {
    for (const auto& [AtStart, Chosen] :
         {std::pair{"English.lng", ""}, {"german.lng", "English.lng"}, {"English.lng", "german.lng"}}) {
        SCOPED_TRACE(std::string(AtStart) + " " + Chosen);
        ASSERT_NO_FATAL_FAILURE(Start(AtStart, Chosen));
        const bool English = LngFile == "English.lng";
        Main->OpenFiles({Write("cube.3d", SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}}, {{1, 2}}))});
        auto* Win = qobject_cast<TChildWinSolidStates*>(Main->ActiveDocument());
        ASSERT_NE(Win, nullptr);
        ASSERT_EQ(frmSolidStatesController, nullptr);
        Win->btnControllerClick();
        TfrmSolidStatesController* C = frmSolidStatesController;
        ASSERT_NE(C, nullptr);
        EXPECT_EQ(QStringList({C->windowTitle(), C->lblObserverLoc->text(), C->btnRotate->text()}).join("|"),
                  English ? "Solid States Controller|Observer position|Rotate"
                          : "Solid States Controller|Beobachter-Position|Rotiere");
        EXPECT_EQ(C->lblFileName->text() + " " + C->tbxZoom->text(), "CUBE.3D 1"); // its own values stay

        QStringList Titles;
        const auto Look = [&](QWidget* W) {
            Titles << W->windowTitle();
            W->close();
        };
        TReportOutputChoice Choice;
        EXPECT_EQ(drive::WhileModal([&] { AskReportOutput(Choice, Main); }, Look), 1);
        EXPECT_EQ(drive::WhileModal([&] { PreviewReportJob(TReportJob(), Main); }, Look), 1);
        EXPECT_EQ(Titles.join("|"),
                  English ? "Output Options|Report Preview" : "Ausgabeoptionen|Druckvorschau");
        // A later change reaches the controller as before.
        Choose(English ? "german.lng" : "English.lng");
        EXPECT_EQ(C->lblObserverLoc->text(), English ? "Beobachter-Position" : "Observer position");
    }
}

// A help page or manual that is not there is named and the desktop is not asked; a
// desktop that cannot open one gets the browser warning; one that can, none.
TEST_F(FirstOpening, HelpAndManualSayWhatIsWrong) {
    QStringList Opened;
    bool Opens = false;
    SetShellOpenHook([&](const QString& U) {
        Opened << U;
        return Opens;
    });
    const QString Program = ProgramFolder;
    for (const bool German : {true, false}) {
        SCOPED_TRACE(German ? "German" : "English");
        ASSERT_NO_FATAL_FAILURE(Start(German ? "german.lng" : "English.lng"));
        const QString NoBrowser = "Warnung|" + GetMsg("mErrBrowser"),
                      Missing = "Warnung|" + GetMsg("mHelpFileNotFound") + "\n";
        ASSERT_TRUE(NoBrowser.contains(German ? "Browser bzw." : "browser or"));
        const QString Page = German ? "help/context10.html" : "help/context0.html";
        const auto Press = [&](bool Help, bool Browser) {
            Boxes.clear();
            Opened.clear();
            Opens = Browser;
            if (Help)
                Main->MenuHelpHelpIndexClick();
            else
                Main->menuHelpShowManualClick();
            return Opened.join("|") + " / " + Boxes.join("|");
        };
        EXPECT_EQ(Press(true, false), Program + Page + " / " + NoBrowser);
        EXPECT_EQ(Press(true, true), Program + Page + " / ");
        ProgramFolder = Dir.path() + "/";
        EXPECT_EQ(Press(true, true), " / " + Missing + ProgramFolder + Page);
        ProgramFolder = Program;
        // The manual: missing, then there under its name in another case.
        ManualsFolder = Dir.filePath(German ? "de" : "en") + "/";
        ASSERT_TRUE(QDir().mkpath(ManualsFolder));
        const QString Manual = German ? "Morvanel_German.PDF" : "Morvanel_English.PDF";
        EXPECT_EQ(Press(false, true), " / " + Missing + ManualsFolder + Manual);
        const QString Present = Write(QString(German ? "de/" : "en/") + Manual.toLower(), "%PDF");
        EXPECT_EQ(Press(false, false), Present + " / " + NoBrowser);
        EXPECT_EQ(Press(false, true), Present + " / ");
    }
}
