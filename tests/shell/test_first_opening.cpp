// Every window speaks the chosen language from its first opening on, whether the
// language was chosen at start or in the language box; and the help commands say
// what went wrong.
#include "IniFile.h"
#include "VekButton.h"
#include "test_drive_events.h"
#include "test_shell_common.h"
#include "uChildWinFont.h"
#include "uChildWinGraphic.h"
#include "uChildWinSolidStates.h"
#include "uChildWinText.h"
#include "uFrmSolidStatesController.h"
#include "uInfo.h"
#include "uParam.h"
#include "uYESNOCANCEL.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>

namespace {
bool IsOtherWindow(QObject* O, QObject* Form) {
    auto* W = qobject_cast<QWidget*>(O);
    return O != Form && W && !qobject_cast<QMenu*>(W) && (W->isWindow() || qobject_cast<QMdiSubWindow*>(W));
}

// The component Name of Form itself, not of a window inside its object tree.
QObject* Component(QObject* Form, const QString& Name) {
    for (QObject* O : Form->findChildren<QObject*>(Name)) {
        bool Own = true;
        for (QObject* P = O; P && P != Form; P = P->parent()) Own = Own && !IsOtherWindow(P, Form);
        if (Own) return O;
    }
    return nullptr;
}

// What Form shows other than its section of the language file File says:
// "section key: shown | file" for each text the file gives and the window has.
QStringList Untranslated(QObject* Form, const QString& File) {
    const TIniFile Ini(LanguageFolder + File);
    const QString Section = Form->objectName().section(QLatin1Char('_'), 0, 0);
    QStringList Out;
    if (!Ini.SectionExists(Section)) return {"no section " + Section + " in " + File};
    for (const QString& Key : Ini.ReadSection(Section)) {
        const QString Want = Ini.ReadString(Section, Key, QString());
        const QString Name = Key.section(QLatin1Char('.'), 0, 0), Property = Key.section(QLatin1Char('.'), 1);
        QString Shown;
        if (Name == Form->objectName() && Property == QLatin1String("Caption")) {
            Shown = qobject_cast<QWidget*>(Form)->windowTitle();
        } else if (QObject* C = Component(Form, Name)) {
            bool Has = false;
            Shown = GetComponentText(C, Property, &Has);
            if (!Has) continue;
        } else {
            continue; // a control of another window of the kind
        }
        if (Shown != Want) Out << Section + " " + Key + ": " + Shown + " | " + Want;
    }
    return Out;
}

class FirstOpening : public MainWindowFixture {
protected:
    void TearDown() override {
        delete frmSolidStatesController;
        DestroyApplicationWindows();
        MainWindowFixture::TearDown();
    }
    // The program started with the language file Lng in the settings.
    void Start(const QString& Lng) {
        SettingsFolder = Dir.path() + "/";
        CreateApplicationWindows();
        LngFile = Lng; // as the settings load it
        Main = frmMain;
        Main->resize(625, 475);
        Main->show();
        // The first showing applies the language once its window is laid out.
        for (int I = 0; I < 20 && Main->ComboLng->currentIndex() < 0; ++I) QApplication::processEvents();
        ASSERT_EQ(Main->ComboLng->currentText().toLower().toStdString(), Lng.toLower().toStdString());
    }
    // The language chosen in the language box.
    void Choose(const QString& Lng) {
        Main->ComboLng->setCurrentIndex(Main->ComboLng->findText(Lng, Qt::MatchFixedString));
        Main->ComboLngChange();
        ASSERT_EQ(LngFile.toLower(), Lng.toLower());
    }
    QWidget* Open(const QString& Name, const QByteArray& Data) {
        Main->OpenFiles({Write(Name, Data)});
        QApplication::processEvents();
        return Main->ActiveDocument();
    }
    // A modal window Show opens: what it shows other than the file says.
    QStringList WhileShown(const std::function<void()>& Show, const QString& File, QString* Title = nullptr) {
        QStringList Out;
        const int Shown = drive::WhileModal(Show, [&](QWidget* W) {
            Out << Untranslated(W, File);
            if (Title) *Title = W->windowTitle();
            W->close();
        });
        EXPECT_EQ(Shown, 1);
        return Out;
    }
    TfrmMain* Main = nullptr;
};

// A square for the 3D window.
QByteArray Solid() {
    QByteArray Out;
    for (const char* F : {"2", "0", "1", "0", "1", "0", "0", "1", "1", "2"})
        Out += QByteArray(F) + char(0x9B);
    return Out;
}
} // namespace

TEST_F(FirstOpening, TheControllerOpenedFirstInEnglishIsEnglish) {
    for (bool AtStart : {true, false}) {
        SCOPED_TRACE(AtStart ? "English at start" : "English chosen in the box");
        Start(AtStart ? "English.lng" : "german.lng");
        if (!AtStart) Choose("English.lng");
        auto* Win = qobject_cast<TChildWinSolidStates*>(Open("cube.3d", Solid()));
        ASSERT_NE(Win, nullptr);
        ASSERT_EQ(frmSolidStatesController, nullptr);
        Win->btnControllerClick();
        TfrmSolidStatesController* C = frmSolidStatesController;
        ASSERT_NE(C, nullptr);
        EXPECT_EQ(QStringList({C->windowTitle(), C->lblObserverLoc->text(), C->lblCoordslookedat->text(),
                               C->btnRotate->text(), C->cbDrawLines->text()})
                      .join("|")
                      .toStdString(),
                  "Solid States Controller|Observer position|Position looked at|Rotate|Lines");
        EXPECT_EQ(Untranslated(C, "English.lng").join("\n").toStdString(), "");
        // The file name and the model's numbers stay what the window put there.
        EXPECT_EQ(C->lblFileName->text().toStdString(), "CUBE.3D");
        EXPECT_EQ(C->tbxZoom->text().toStdString(), "1");
        // A later change reaches it as before.
        Choose("german.lng");
        EXPECT_EQ(C->lblObserverLoc->text().toStdString(), "Beobachter-Position");
        EXPECT_EQ(Untranslated(C, "german.lng").join("\n").toStdString(), "");
        delete frmSolidStatesController;
        DestroyApplicationWindows();
    }
}

// Each language, chosen at start or in the box, x the first opening of every window
// and dialog: each shows what its section of the language file says.
TEST_F(FirstOpening, EveryWindowSpeaksTheLanguageAtItsFirstOpening) {
    struct TCase {
        const char* AtStart;
        const char* Chosen; // in the box afterwards, or nullptr
    };
    for (const TCase& Case : {TCase{"german.lng", nullptr}, TCase{"English.lng", nullptr},
                              TCase{"german.lng", "English.lng"}, TCase{"English.lng", "german.lng"}}) {
        Start(Case.AtStart);
        if (Case.Chosen) Choose(Case.Chosen);
        const QString File = Case.Chosen ? Case.Chosen : Case.AtStart;
        SCOPED_TRACE(File.toStdString() + (Case.Chosen ? " chosen in the box" : " at start"));
        QStringList Wrong = Untranslated(Main, File);

        // Dialogs made at start, shown now.
        Wrong << WhileShown([&] { Main->MenuHelpAboutClick(); }, File);
        EXPECT_EQ(frmAbout->CreditsText(),
                  TIniFile(LanguageFolder + File).ReadString("GeneralMsg", "mCredits", ""));
        Main->btnSettingsClick();
        QApplication::processEvents();
        Wrong << Untranslated(frmParameter, File);
        frmParameter->hide();
        Wrong << WhileShown([&] { frmYESNOCANCEL->exec(); }, File);
        // Windows of the report layer, made for each print.
        TReportOutputChoice Choice;
        Wrong << WhileShown([&] { AskReportOutput(Choice, Main); }, File);
        QString Title;
        Wrong << WhileShown([&] { PreviewReportJob(TReportJob(), Main); }, File, &Title);
        EXPECT_EQ(Title.toStdString(), File == "English.lng" ? "Report Preview" : "Druckvorschau");

        // Tool windows.
        Main->menuFontExplorerClick(Main->menuFontEditor);
        Wrong << Untranslated(Main->ActiveDocument(), File);
        // The run-time texts taken from the messages are in the language too.
        const TIniFile Ini(LanguageFolder + File);
        const auto Msg = [&](const char* Key) { return Ini.ReadString("GeneralMsg", Key, "?"); };
        Main->menuATASCIITableClick();
        Wrong << Untranslated(Main->ActiveDocument(), File);
        EXPECT_TRUE(Main->ActiveDocument()->windowTitle().startsWith(Msg("mATASCTable") + ": "));
        Main->menuFontMapClick();
        Wrong << Untranslated(Main->ActiveDocument(), File);
        EXPECT_TRUE(Main->ActiveDocument()->windowTitle().startsWith(Msg("mFontMap") + ": "));
        Main->menuATASCIIEditorClick();
        Wrong << Untranslated(Main->ActiveDocument(), File);
        // Document windows of every kind, and the 3D window's controller.
        QByteArray Text = "HELLO WORLD";
        Text += char(0x9B);
        QByteArray Listing = "10 PRINT 1";
        Listing += char(0x9B);
        for (auto [Name, Data] : {std::pair<QString, QByteArray>{"PIC.GR8", RandomBytes(7680, 3)},
                                  {"A.TXT", Text},
                                  {"P.LST", Listing},
                                  {"F.FNT", RandomBytes(1024, 4)},
                                  {"CUBE.3D", Solid()}}) {
            QWidget* W = Open(Name, Data);
            ASSERT_NE(W, nullptr) << Name.toStdString();
            Wrong << Untranslated(W, File);
        }
        EXPECT_EQ(Main->ChildWinGraphic->lblCompression->text(), Msg("mUnCompressed"));
        EXPECT_EQ(Main->ChildWinText->StatusPanels[1]->text(),
                  Msg("mFile") + " A.TXT / " + Msg("mLenBytes") + " 12");
        qobject_cast<TChildWinSolidStates*>(Main->ActiveDocument())->btnControllerClick();
        Wrong << Untranslated(frmSolidStatesController, File);
        EXPECT_EQ(Wrong.join("\n").toStdString(), "");
        delete frmSolidStatesController;
        DestroyApplicationWindows();
    }
}

// Help pages and manuals: a file that is not there is named and the desktop is not
// asked; a desktop that cannot open one gets the browser warning; one that can, none.
TEST_F(FirstOpening, HelpAndManualSayWhatIsWrong) {
    QStringList Opened;
    bool Opens = false;
    SetShellOpenHook([&](const QString& U) {
        Opened << U;
        return Opens;
    });
    const QString Program = ProgramFolder;
    ASSERT_TRUE(QDir().mkpath(Dir.filePath("manuals")));
    for (const char* Lng : {"german.lng", "English.lng"}) {
        SCOPED_TRACE(Lng);
        Start(Lng);
        const bool German = LngFile.compare("german.lng", Qt::CaseInsensitive) == 0;
        const QString NoBrowser =
            "Warnung|" + QString(German ? "Der Browser bzw. das Anzeigeprogramm konnte "
                                          "nicht gestartet werden!"
                                        : "The browser or viewer could not be started!");
        const QString Missing = "Warnung|" + QString(German ? "Das Handbuch bzw. die Hilfeseite wurde nicht "
                                                              "gefunden:\n"
                                                            : "The manual or help page was not found:\n");
        const QString Page = Program + (German ? "help/context10.html" : "help/context0.html");
        Boxes.clear();
        Opened.clear();

        // Help topics with no browser, then with one.
        Opens = false;
        Main->MenuHelpHelpIndexClick();
        EXPECT_EQ(Opened.join("|").toStdString(), Page.toStdString());
        EXPECT_EQ(Boxes.join("|").toStdString(), NoBrowser.toStdString());
        Opens = true;
        Main->MenuHelpHelpIndexClick();
        EXPECT_EQ(Opened.size(), 2);
        EXPECT_EQ(Boxes.size(), 1);
        // A help page that is not there.
        ProgramFolder = Dir.path() + "/";
        Main->MenuHelpHelpIndexClick();
        EXPECT_EQ(Opened.size(), 2);
        EXPECT_EQ(Boxes.value(1).toStdString(),
                  (Missing + ProgramFolder + (German ? "help/context10.html" : "help/context0.html"))
                      .toStdString());
        ProgramFolder = Program;

        // The manual: missing, then there (its name in another case) with no browser
        // and with one.
        ManualsFolder = Dir.filePath("manuals") + "/";
        const QString Manual = ManualsFolder + (German ? "Morvanel_German.PDF" : "Morvanel_English.PDF");
        Main->menuHelpShowManualClick();
        EXPECT_EQ(Opened.size(), 2);
        EXPECT_EQ(Boxes.value(2).toStdString(), (Missing + Manual).toStdString());
        const QString Present =
            Write(German ? "manuals/MORVANEL_GERMAN.pdf" : "manuals/morvanel_english.pdf", "%PDF");
        Opens = false;
        Main->menuHelpShowManualClick();
        EXPECT_EQ(Opened.value(2).toStdString(), Present.toStdString());
        EXPECT_EQ(Boxes.value(3).toStdString(), NoBrowser.toStdString());
        Opens = true;
        Main->menuHelpShowManualClick();
        EXPECT_EQ(Opened.value(3).toStdString(), Present.toStdString());
        EXPECT_EQ(Boxes.size(), 4) << Boxes.join("\n").toStdString();
        DestroyApplicationWindows();
    }
    SetShellOpenHook(nullptr);
}
