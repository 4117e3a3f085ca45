#include "FileDialogs.h"
#include "IniFile.h"
#include "VekButton.h"
#include "uGlobal.h"
#include "uParam.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        SettingsFolder = Dir.path() + "/";
        ProgramFolder = "/opt/morvanel/";
        SetSettingsDefaults();
        SetMessageBoxHook([this](TMsgKind, const QString& C, const QString& T) { Boxes << C + "|" + T; });
    }
    void TearDown() override {
        SetColorDialogHook(nullptr);
        SetMessageBoxHook(nullptr);
        SetSettingsDefaults();
    }
    void WriteSettings(const QByteArray& Text) { WriteWholeFile(SettingsFileName(), Text); }
    static quint32 Face(const TVekButton* B) { return B->LookStyle()->ButtonColor(); }
    // Answers the next colour dialogs with the given colours, recording what they started at.
    void AnswerColours(QList<quint32> Answers) {
        SetColorDialogHook([this, Answers](quint32& Colour) mutable {
            Offered << Colour;
            if (Answers.isEmpty()) return false;
            Colour = Answers.takeFirst();
            return true;
        });
    }
    QTemporaryDir Dir;
    QStringList Boxes;
    QList<quint32> Offered;
};
} // namespace

TEST_F(SettingsDialogTest, CreationLoadsTheFileAndShowsEveryColour) {
    WriteSettings("[default]\nphoformat=1\npic2x2mode=1\ncol2=255\ngr8forecolor=65280\n"
                  "textPrintbackcolor=1193046\nlistingprintforecolor=42\n");
    TfrmParameter Dlg;
    EXPECT_EQ(Dlg.objectName(), "frmParameter");
    EXPECT_EQ(Dlg.windowTitle(), "Einstellungen");
    EXPECT_TRUE(Dlg.rbPHO2->isChecked());
    EXPECT_FALSE(Dlg.rbPHO1->isChecked());
    EXPECT_TRUE(Dlg.rb2x2B->isChecked());
    EXPECT_EQ(Face(Dlg.btnCol2), 255u);
    EXPECT_EQ(Face(Dlg.btnGR8ForeCol), 65280u);
    EXPECT_EQ(Face(Dlg.btnTextPrintBackCol), 0x123456u);
    EXPECT_EQ(Face(Dlg.btnListingPrintForeCol), 42u);
    EXPECT_EQ(Face(Dlg.btnCol1), 0x5FB7CFu);
    // Sixteen colour buttons, each standing for its own setting and showing it.
    ASSERT_EQ(Dlg.ColorSettings().size(), 16u);
    QSet<quint32*> Settings;
    for (const auto& C : Dlg.ColorSettings()) {
        Settings << C.Setting;
        EXPECT_EQ(Face(C.Button), *C.Setting) << C.Button->objectName().toStdString();
        EXPECT_EQ(C.Button->Hint(), QString::fromUtf8("Farbe wählen"));
        EXPECT_EQ(C.Button->cursor().shape(), Qt::PointingHandCursor);
    }
    EXPECT_EQ(Settings.size(), 16);
    EXPECT_TRUE(Settings.contains(&textPrintforecolor));
    EXPECT_TRUE(Settings.contains(&col3));
    // The extension list: all twelve, all selected.
    ASSERT_EQ(Dlg.FileTypeListBox->count(), 12);
    EXPECT_EQ(Dlg.FileTypeListBox->item(0)->text(), ".GR8");
    EXPECT_EQ(Dlg.FileTypeListBox->item(11)->text(), ".3D");
    EXPECT_EQ(Dlg.FileTypeListBox->selectedItems().size(), 12);
    EXPECT_TRUE(Dlg.btnOK->Default());
    EXPECT_TRUE(Boxes.isEmpty());
}

TEST_F(SettingsDialogTest, OkStoresChosenColoursAndOptions) {
    TfrmParameter Dlg;
    Dlg.show();
    AnswerColours({0x010203, 0xABCDEF, 0x00FF00});
    Dlg.btnCol0->Click();
    Dlg.btnTextPrintForeCol->Click();
    Dlg.btnFontBackCol->Click();
    EXPECT_EQ(Offered, (QList<quint32>{0x000000, 0x000000, 0x904F1F}));
    // A dialog that is cancelled keeps the colour.
    Dlg.btnGR8BackCol->Click();
    EXPECT_EQ(Face(Dlg.btnGR8BackCol), 0x000000u);
    // Nothing reaches the settings before OK.
    EXPECT_EQ(col0, 0u);
    Dlg.rbPHO2->setChecked(true);
    Dlg.rb2x2B->setChecked(true);
    Dlg.btnOK->Click();
    EXPECT_FALSE(Dlg.isVisible());
    EXPECT_EQ(col0, 0x010203u);
    EXPECT_EQ(textPrintforecolor, 0xABCDEFu);
    EXPECT_EQ(fontbackcolor, 0x00FF00u);
    EXPECT_EQ(phoformat, 1);
    EXPECT_EQ(pic2x2mode, 1);
    // The base colours of new pictures change only at the next start.
    EXPECT_EQ(CurrentColors[0], 0u);
    TIniFile Ini(SettingsFileName());
    EXPECT_EQ(Ini.ReadInteger("default", "col0", -1), 0x010203);
    EXPECT_EQ(Ini.ReadInteger("default", "textPrintforecolor", -1), 0xABCDEF);
    EXPECT_EQ(Ini.ReadInteger("default", "fontbackcolor", -1), 0x00FF00);
    EXPECT_EQ(Ini.ReadInteger("default", "phoformat", -1), 1);
    EXPECT_EQ(Ini.ReadInteger("default", "pic2x2mode", -1), 1);
    EXPECT_EQ(Ini.ReadInteger("default", "col1", -1), 0x5FB7CF);
}

TEST_F(SettingsDialogTest, CancelKeepsTheEditedControlsForTheNextOk) {
    TfrmParameter Dlg;
    Dlg.show();
    AnswerColours({0x445566});
    Dlg.btnListingBackCol->Click();
    Dlg.btnCancel->Click();
    EXPECT_FALSE(Dlg.isVisible());
    EXPECT_EQ(listingbackcolor, 0x904F1Fu);
    EXPECT_FALSE(QFile::exists(SettingsFileName()));
    Dlg.show();
    EXPECT_EQ(Face(Dlg.btnListingBackCol), 0x445566u);
    Dlg.OKBtnClick();
    EXPECT_EQ(listingbackcolor, 0x445566u);
    EXPECT_EQ(TIniFile(SettingsFileName()).ReadInteger("default", "listingbackcolor", -1), 0x445566);
}

TEST_F(SettingsDialogTest, DefaultsButtonSetsTheSettingsThemselves) {
    WriteSettings(
        "[Setup]\nLngFile=English.lng\n[default]\nphoformat=1\npic2x2mode=1\ncol0=1\ncol1=2\ncol2=3\n"
        "col3=4\nfontforecolor=5\nfontbackcolor=6\ngr8forecolor=7\ngr8backcolor=8\n"
        "listingforecolor=9\nlistingbackcolor=10\nlistingprintforecolor=11\nlistingprintbackcolor=12\n"
        "textforecolor=13\ntextbackcolor=14\ntextprintforecolor=15\ntextprintbackcolor=16\n"
        "openpath=/data/atari/\n");
    TfrmParameter Dlg;
    EXPECT_EQ(Face(Dlg.btnTextPrintBackCol), 16u);
    Dlg.FileTypeListBox->clearSelection();
    const QByteArray Before = ReadWholeFile(SettingsFileName());
    Dlg.btnSetStandards->Click();
    EXPECT_EQ(phoformat, 0);
    EXPECT_EQ(pic2x2mode, 0);
    const QList<quint32> Actual{col0,
                                col1,
                                col2,
                                col3,
                                fontforecolor,
                                fontbackcolor,
                                gr8forecolor,
                                gr8backcolor,
                                listingforecolor,
                                listingbackcolor,
                                listingprintforecolor,
                                listingprintbackcolor,
                                textforecolor,
                                textbackcolor,
                                textPrintforecolor,
                                textPrintbackcolor};
    EXPECT_EQ(Actual, (QList<quint32>{0x000000, 0x5FB7CF, 0x70D890, 0x904F1F, 0xFFFFFF, 0x904F1F, 0xFFFFFF,
                                      0x000000, 0xFFFFFF, 0x904F1F, 0x000000, 0xFFFFFF, 0xFFFFFF, 0x904F1F,
                                      0x000000, 0xFFFFFF}));
    for (const auto& C : Dlg.ColorSettings()) EXPECT_EQ(Face(C.Button), *C.Setting);
    EXPECT_TRUE(Dlg.rbPHO1->isChecked());
    EXPECT_TRUE(Dlg.rb2x2A->isChecked());
    EXPECT_EQ(Dlg.FileTypeListBox->selectedItems().size(), 12);
    // Language, folder and the loaded base colours of this run stay; the file waits for OK.
    EXPECT_EQ(LngFile, "English.lng");
    EXPECT_EQ(openpath, "/data/atari/");
    EXPECT_EQ(CurrentColors[0], 1u);
    EXPECT_EQ(ReadWholeFile(SettingsFileName()), Before);
    Dlg.btnCancel->Click();
    EXPECT_EQ(col1, 0x5FB7CFu);
}

TEST_F(SettingsDialogTest, OddDialectAndOrderShowTheDesignStateAndStoreZero) {
    WriteSettings("[default]\nphoformat=7\npic2x2mode=9\n");
    TfrmParameter Dlg;
    EXPECT_EQ(phoformat, 7);
    EXPECT_TRUE(Dlg.rbPHO1->isChecked());
    EXPECT_TRUE(Dlg.rb2x2A->isChecked());
    Dlg.OKBtnClick();
    EXPECT_EQ(phoformat, 0);
    EXPECT_EQ(pic2x2mode, 0);
    EXPECT_EQ(TIniFile(SettingsFileName()).ReadInteger("default", "phoformat", -1), 0);
}

TEST_F(SettingsDialogTest, RegistrationButtonsActOnAllTwelveWhateverIsSelected) {
    QTemporaryDir Home;
    TfrmParameter Dlg;
    Dlg.RegistrationFolders.DataHome = Home.path() + "/share";
    Dlg.RegistrationFolders.ConfigHome = Home.path() + "/config";
    Dlg.RegistrationFolders.UpdateDatabases = false;
    Dlg.FileTypeListBox->clearSelection();
    Dlg.btnRegisterFileExt->Click();
    const QByteArray Package = ReadWholeFile(MimePackagePath(Dlg.RegistrationFolders));
    EXPECT_EQ(Package.count("<glob pattern="), 12);
    const QByteArray Entry = ReadWholeFile(DesktopEntryPath(Dlg.RegistrationFolders));
    EXPECT_TRUE(Entry.contains("\nExec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\" %F\n"));
    EXPECT_TRUE(QFile::exists(MimeAppsListPath(Dlg.RegistrationFolders)));
    Dlg.btnUnregisterFileExt->Click();
    QDirIterator It(Home.path(), QDir::Files, QDirIterator::Subdirectories);
    EXPECT_FALSE(It.hasNext());
    EXPECT_TRUE(Boxes.isEmpty());
}

TEST_F(SettingsDialogTest, ExportListsTheDialogsTexts) {
    TfrmParameter Dlg;
    QStringList Lines;
    WriteFormTranslation(&Dlg, Lines);
    ASSERT_FALSE(Lines.isEmpty());
    EXPECT_EQ(Lines.first(), "[frmParameter]");
    auto Has = [&](const QString& Key, const QString& Value) {
        return Lines.contains(Key.leftJustified(44) + "= " + Value);
    };
    EXPECT_TRUE(Has("btnOK.Caption", "&OK"));
    EXPECT_TRUE(Has("btnCancel.Caption", "A&bbrechen"));
    EXPECT_TRUE(Has("btnSetStandards.Hint", "Standardwerte herstellen"));
    EXPECT_TRUE(Has("btnCol3.Hint", QString::fromUtf8("Farbe wählen")));
    EXPECT_TRUE(Has("rgPhoFormat.Caption", " PHOTO-Format"));
    EXPECT_TRUE(Has("rbPHO2.Caption", "TEVRA-Publisher (neu)"));
    EXPECT_TRUE(Has("lblGrapics.Caption", "Grafiken"));
    EXPECT_TRUE(Has("Label21.Caption", "Datei-Erweiterungen"));
    EXPECT_TRUE(Has("btnUnregisterFileExt.Hint", "Morvanel Datei-Erweiterungen de-registrieren"));

    // And the dialog takes its texts back from a language file.
    QTemporaryDir Lng;
    WriteWholeFile(Lng.filePath("en.lng"), "[frmParameter]\nfrmParameter.Caption=Settings\n"
                                           "btnCancel.Caption=&Cancel\nrgPrintText.Caption= Report \n");
    TranslateForm(&Dlg, Lng.filePath("en.lng"));
    EXPECT_EQ(Dlg.windowTitle(), "Settings");
    EXPECT_EQ(Dlg.btnCancel->Caption(), "&Cancel");
    EXPECT_EQ(Dlg.rgPrintText->title(), "Report");
}
