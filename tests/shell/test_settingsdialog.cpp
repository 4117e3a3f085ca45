#include "IniFile.h"
#include "VekButton.h"
#include "test_drive_events.h"
#include "test_shell_common.h"
#include "uParam.h"

#include <QApplication>
#include <QDirIterator>
#include <QListWidget>
#include <QRadioButton>

namespace {
class SettingsDialogTest : public SettingsFixture {
protected:
    void TearDown() override {
        SetColorDialogHook(nullptr);
        SettingsFixture::TearDown();
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
    QList<quint32> Offered;
};
} // namespace

// Nothing reaches the settings before OK; Cancel keeps the edited controls for the
// next OK; odd values show the first choice and are stored as 0.
TEST_F(SettingsDialogTest, OkStoresChosenColoursAndOptionsAndCancelKeepsTheEdits) {
    WriteSettings("[default]\nphoformat=7\npic2x2mode=9\n");
    TfrmParameter Dlg;
    EXPECT_TRUE(Dlg.rbPHO1->isChecked());
    EXPECT_TRUE(Dlg.rb2x2A->isChecked());
    const QByteArray Before = ReadWholeFile(SettingsFileName());
    Dlg.show();
    AnswerColours({0x010203, 0xABCDEF, 0x00FF00});
    Dlg.btnCol0->Click();
    Dlg.btnTextPrintForeCol->Click();
    Dlg.btnFontBackCol->Click();
    EXPECT_EQ(Offered, (QList<quint32>{0x000000, 0x000000, 0x904F1F}));
    Dlg.btnGR8BackCol->Click(); // a dialog that is cancelled keeps the colour
    EXPECT_EQ(Face(Dlg.btnGR8BackCol), 0x000000u);
    Dlg.btnCancel->Click();
    EXPECT_FALSE(Dlg.isVisible());
    EXPECT_EQ(std::make_pair(col0, phoformat), std::make_pair(0u, quint8(7)));
    EXPECT_EQ(ReadWholeFile(SettingsFileName()), Before);

    Dlg.show();
    EXPECT_EQ(Face(Dlg.btnCol0), 0x010203u);
    // The radio buttons show the keyboard's focus on the dialog's blue.
    EXPECT_EQ(drive::WithoutFocusMark({Dlg.rbPHO1, Dlg.rbPHO2, Dlg.rb2x2A, Dlg.rb2x2B}), QStringList());
    // So does the extension list's entry: white and black dots along its edge.
    drive::WithoutFocusMark({Dlg.FileTypeListBox});
    QListWidget* List = Dlg.FileTypeListBox;
    const QPoint Edge = List->visualItemRect(List->currentItem()).topLeft();
    const QImage Shot = List->viewport()->grab().toImage();
    EXPECT_EQ(std::pair(Shot.pixel(Edge), Shot.pixel(Edge + QPoint(1, 0))),
              std::pair(qRgb(255, 255, 255), qRgb(0, 0, 0)));
    Dlg.rbPHO2->setChecked(true);
    Dlg.btnOK->Click();
    EXPECT_FALSE(Dlg.isVisible());
    EXPECT_EQ(std::make_tuple(col0, textPrintforecolor, fontbackcolor, phoformat, pic2x2mode),
              std::make_tuple(0x010203u, 0xABCDEFu, 0x00FF00u, quint8(1), quint8(0)));
    // The base colours of new pictures change only at the next start.
    EXPECT_EQ(CurrentColors[0], 0u);
    TIniFile Ini(SettingsFileName());
    QList<int> Stored;
    for (const char* Key : {"col0", "textPrintforecolor", "phoformat", "pic2x2mode"})
        Stored << Ini.ReadInteger("default", Key, -1);
    EXPECT_EQ(Stored, QList<int>({0x010203, 0xABCDEF, 1, 0}));
}

TEST_F(SettingsDialogTest, DefaultsButtonSetsTheSettingsThemselves) {
    WriteSettings(
        "[Setup]\nLngFile=English.lng\n[default]\nphoformat=1\npic2x2mode=1\ncol0=1\ncol1=2\ncol2=3\n"
        "col3=4\nfontforecolor=5\nfontbackcolor=6\ngr8forecolor=7\ngr8backcolor=8\n"
        "listingforecolor=9\nlistingbackcolor=10\nlistingprintforecolor=11\nlistingprintbackcolor=12\n"
        "textforecolor=13\ntextbackcolor=14\ntextprintforecolor=15\ntextprintbackcolor=16\n"
        "openpath=/data/atari/\n");
    TfrmParameter Dlg;
    EXPECT_TRUE(Dlg.rbPHO2->isChecked());
    EXPECT_TRUE(Dlg.rb2x2B->isChecked());
    // Sixteen colour buttons, each standing for its own setting and showing it.
    QSet<quint32*> Settings;
    for (const auto& C : Dlg.ColorSettings()) {
        Settings << C.Setting;
        EXPECT_EQ(Face(C.Button), *C.Setting) << C.Button->objectName().toStdString();
    }
    EXPECT_EQ(Settings.size(), 16);
    EXPECT_EQ(Dlg.FileTypeListBox->selectedItems().size(), 12);
    Dlg.FileTypeListBox->clearSelection();
    const QByteArray Before = ReadWholeFile(SettingsFileName());
    Dlg.btnSetStandards->Click();
    EXPECT_EQ(phoformat, 0);
    EXPECT_EQ(pic2x2mode, 0);
    QList<quint32> Actual;
    Actual << col0 << col1 << col2 << col3 << fontforecolor << fontbackcolor << gr8forecolor << gr8backcolor
           << listingforecolor << listingbackcolor << listingprintforecolor << listingprintbackcolor
           << textforecolor << textbackcolor << textPrintforecolor << textPrintbackcolor;
    EXPECT_EQ(Actual, (QList<quint32>{0x000000, 0x5FB7CF, 0x70D890, 0x904F1F, 0xFFFFFF, 0x904F1F, 0xFFFFFF,
                                      0x000000, 0xFFFFFF, 0x904F1F, 0x000000, 0xFFFFFF, 0xFFFFFF, 0x904F1F,
                                      0x000000, 0xFFFFFF}));
    for (const auto& C : Dlg.ColorSettings()) EXPECT_EQ(Face(C.Button), *C.Setting);
    EXPECT_TRUE(Dlg.rbPHO1->isChecked());
    EXPECT_TRUE(Dlg.rb2x2A->isChecked());
    EXPECT_EQ(Dlg.FileTypeListBox->selectedItems().size(), 12);
    // Language, folder and the loaded base colours of this run stay; the file waits for OK.
    EXPECT_EQ(std::make_tuple(LngFile, openpath, CurrentColors[0]),
              std::make_tuple(QString("English.lng"), QString("/data/atari/"), 1u));
    EXPECT_EQ(ReadWholeFile(SettingsFileName()), Before);
    Dlg.btnCancel->Click();
    EXPECT_EQ(col1, 0x5FB7CFu);
}

TEST_F(SettingsDialogTest, RegistrationButtonsActOnAllTwelveWhateverIsSelected) {
    TfrmParameter Dlg;
    Dlg.RegistrationFolders.DataHome = Dir.filePath("share");
    Dlg.RegistrationFolders.ConfigHome = Dir.filePath("config");
    Dlg.RegistrationFolders.UpdateDatabases = false;
    Dlg.FileTypeListBox->clearSelection();
    Dlg.btnRegisterFileExt->Click();
    EXPECT_EQ(ReadWholeFile(MimePackagePath(Dlg.RegistrationFolders)).count("<glob pattern="), 12);
    EXPECT_TRUE(ReadWholeFile(DesktopEntryPath(Dlg.RegistrationFolders))
                    .contains("\nExec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\" %F\n"));
    Dlg.btnUnregisterFileExt->Click();
    EXPECT_FALSE(QDirIterator(Dir.filePath("share"), QDir::Files, QDirIterator::Subdirectories).hasNext());
    EXPECT_FALSE(QDirIterator(Dir.filePath("config"), QDir::Files, QDirIterator::Subdirectories).hasNext());
    EXPECT_TRUE(Boxes.isEmpty());
}

// Each showing, wherever the main window moved, starts centred on it on the first control.
TEST_F(SettingsDialogTest, EachShowingIsCentredOnTheMainWindowAndStartsOnTheFirstControl) {
    QWidget Main;
    Main.resize(625, 475);
    Main.show();
    TfrmParameter Dlg(&Main);
    for (const QPoint At : {QPoint(40, 90), QPoint(130, 240), QPoint(60, 100)}) {
        Main.move(At);
        drive::Activated(&Main); // the user comes from the main window
        Dlg.show();
        EXPECT_EQ(drive::Activated(&Dlg), Dlg.btnCol0);
        EXPECT_TRUE(CentredOn(&Dlg, &Main));
        for (int I = 0; I < 3; ++I) drive::Type(Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), Dlg.btnCol0);
        Dlg.btnCancel->Click();
        EXPECT_FALSE(Dlg.isVisible());
    }
    // Should the main window take the keyboard as the colour dialog closes, now or later, it comes back.
    Dlg.show();
    for (const bool Later : {false, true}) {
        drive::Activated(&Dlg);
        SetColorDialogHook([&](quint32&) {
            Later ? drive::Soon(&Main, [&] { drive::Activated(&Main); }) : void(drive::Activated(&Main));
            return false;
        });
        Dlg.btnCol2->Click();
        for (int I = 0; I < 3; ++I) QApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), &Dlg) << Later;
        EXPECT_EQ(QApplication::focusWidget(), Dlg.btnCol2);
    }
}
