// Windows made on first use speak the chosen language, whether it was chosen at
// start or in the language box; and the help commands say what went wrong.
#include "IniFile.h"
#include "VekButton.h"
#include "solid3d/Solid3DTestUtil.h"
#include "test_drive_events.h"
#include "test_shell_common.h"
#include "uChildWinSolidStates.h"
#include "uFrmSolidStatesController.h"
#include "uParam.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>

namespace {
// "key: shown | file" for each text of Form's section in the language file File
// that Form shows otherwise.
QStringList Untranslated(QWidget* Form, const QString& File) {
    const TIniFile Ini(LanguageFolder + File);
    const QString Section = Form->objectName();
    if (!Ini.SectionExists(Section)) return {"no section " + Section};
    QStringList Out;
    for (const QString& Key : Ini.ReadSection(Section)) {
        const QString Name = Key.section('.', 0, 0), Property = Key.section('.', 1);
        bool Has = Name == Section;
        QObject* C = Has ? nullptr : Form->findChild<QObject*>(Name);
        const QString Shown = C ? GetComponentText(C, Property, &Has) : Form->windowTitle();
        if (Has && Shown != Ini.ReadString(Section, Key, QString())) Out << Key + ": " + Shown;
    }
    return Out;
}

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

TEST_F(FirstOpening, TheControllerOpenedFirstInEnglishIsEnglish) {
    for (const bool AtStart : {true, false}) {
        SCOPED_TRACE(AtStart ? "at start" : "chosen in the box");
        ASSERT_NO_FATAL_FAILURE(Start(AtStart ? "English.lng" : "german.lng", AtStart ? "" : "English.lng"));
        Main->OpenFiles({Write("cube.3d", SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}}, {{1, 2}}))});
        auto* Win = qobject_cast<TChildWinSolidStates*>(Main->ActiveDocument());
        ASSERT_NE(Win, nullptr);
        ASSERT_EQ(frmSolidStatesController, nullptr);
        Win->btnControllerClick();
        TfrmSolidStatesController* C = frmSolidStatesController;
        ASSERT_NE(C, nullptr);
        EXPECT_EQ(QStringList({C->windowTitle(), C->lblObserverLoc->text(), C->btnRotate->text()}).join("|"),
                  "Solid States Controller|Observer position|Rotate");
        EXPECT_EQ(Untranslated(C, "English.lng"), QStringList());
        // The window's own values stay; a later change reaches it as before.
        EXPECT_EQ(C->lblFileName->text() + " " + C->tbxZoom->text(), "CUBE.3D 1");
        Choose("german.lng");
        EXPECT_EQ(Untranslated(C, "german.lng"), QStringList());
    }
}

TEST_F(FirstOpening, ThePrintPreviewAndTheOutputOptionsSpeakTheLanguage) {
    for (const auto& [AtStart, Chosen] : {std::pair{"german.lng", ""},
                                          {"English.lng", ""},
                                          {"german.lng", "English.lng"},
                                          {"English.lng", "german.lng"}}) {
        SCOPED_TRACE(std::string(AtStart) + " " + Chosen);
        ASSERT_NO_FATAL_FAILURE(Start(AtStart, Chosen));
        const QString File = *Chosen ? Chosen : AtStart;
        QStringList Titles, Wrong;
        const auto Look = [&](QWidget* W) {
            Titles << W->windowTitle();
            Wrong << Untranslated(W, File);
            W->close();
        };
        TReportOutputChoice Choice;
        EXPECT_EQ(drive::WhileModal([&] { AskReportOutput(Choice, Main); }, Look), 1);
        EXPECT_EQ(drive::WhileModal([&] { PreviewReportJob(TReportJob(), Main); }, Look), 1);
        EXPECT_EQ(Titles.value(1), File == "English.lng" ? "Report Preview" : "Druckvorschau");
        EXPECT_EQ(Wrong, QStringList());
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
        const QString NoBrowser =
            "Warnung|" + QString(German ? "Der Browser bzw. das Anzeigeprogramm konnte "
                                          "nicht gestartet werden!"
                                        : "The browser or viewer could not be started!");
        const QString Missing = "Warnung|" + QString(German ? "Das Handbuch bzw. die Hilfeseite wurde nicht "
                                                              "gefunden:\n"
                                                            : "The manual or help page was not found:\n");
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
