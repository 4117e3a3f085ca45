#include "IniFile.h"
#include "test_shell_common.h"
#include "uParam.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDirIterator>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <array>

namespace {
class LanguageTest : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        LanguageFolder = Dir.path() + "/";
    }
};
} // namespace

TEST_F(LanguageTest, GetMsgReadsTheCurrentFileFoundWithoutCase) {
    Write("Small.LNG", "[GeneralMsg]\nmREADY=Bereit\n");
    LngFile = "small.lng";
    EXPECT_EQ(GetMsg("mREADY"), "Bereit");
    EXPECT_EQ(GetMsg("mFile"), "Translation missing!");
    EXPECT_TRUE(Boxes.isEmpty());
    // An old Windows-1252 file is read too.
    Write("old.lng", "[GeneralMsg]\nmFile=Gr\xF6\xDF"
                     "e\n");
    LngFile = "old.lng";
    EXPECT_EQ(GetMsg("mFile"), QString::fromUtf8("Größe"));
}

// A language file that is gone is reported once; the lookups go on in German.
TEST_F(LanguageTest, MissingFileWarnsOnceThenGermanIsUsed) {
    LngFile = "french.lng";
    EXPECT_EQ(GetMsg("mREADY"), ""); // no German file either: both reported, once each
    EXPECT_EQ(GetMsg("mFile"), "");
    EXPECT_EQ(Boxes, QStringList({"Warnung|" + LanguageFolder + "french.lng not found!",
                                  "Warnung|" + LanguageFolder + "german.lng not found!"}));
    EXPECT_EQ(LngFile, "german.lng");
    // Once German is there, a file that is gone switches to it at the check.
    Write("German.lng", "[GeneralMsg]\nmREADY=Bereit\n");
    LngFile = "italian.lng";
    EXPECT_TRUE(CheckLanguageFile());
    EXPECT_EQ(GetMsg("mREADY"), "Bereit");
    EXPECT_EQ(Boxes.mid(2), QStringList{"Warnung|" + LanguageFolder + "italian.lng not found!"});
}

// The file is parsed once but looked at on every call: a change on disk, in size
// or only in its time, shows at the next lookup; so does a file that goes.
TEST_F(LanguageTest, GetMsgSeesTheFileChangedOnDisk) {
    Write("live.lng", "[GeneralMsg]\nmREADY=AAAA\n");
    LngFile = "live.lng";
    EXPECT_EQ(GetMsg("mREADY"), "AAAA");
    Write("live.lng", "[GeneralMsg]\nmREADY=Fertig und bereit\n"); // new size
    EXPECT_EQ(GetMsg("mREADY"), "Fertig und bereit");
    // The same size written in place; its time is set apart so that no file-system
    // time granularity can hide the change.
    const QString Path = Dir.filePath("live.lng");
    const QDateTime Before = QFileInfo(Path).lastModified();
    {
        QFile F(Path);
        ASSERT_TRUE(F.open(QIODevice::ReadWrite));
        const QByteArray Same = "[GeneralMsg]\nmREADY=Fertig und BEREIT\n";
        ASSERT_EQ(F.size(), Same.size());
        F.write(Same);
        F.close();
        ASSERT_TRUE(F.open(QIODevice::ReadWrite));
        ASSERT_TRUE(F.setFileTime(Before.addSecs(5), QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(GetMsg("mREADY"), "Fertig und BEREIT");
    // Translation reads through the same parsed file and sees the change as well.
    Write("live.lng", "[GeneralMsg]\nmREADY=x\n[frmLive]\nlblA.Caption=Neu\n");
    QWidget Form;
    Form.setObjectName("frmLive");
    auto* Label = new QLabel("Alt", &Form);
    Label->setObjectName("lblA");
    TranslateForm(&Form, Path);
    EXPECT_EQ(Label->text(), "Neu");
    EXPECT_EQ(GetMsg("mREADY"), "x");
    EXPECT_TRUE(Boxes.isEmpty());
    Write("german.lng", "[GeneralMsg]\nmREADY=Bereit\n");
    QFile::remove(Path);
    EXPECT_EQ(GetMsg("mREADY"), "Bereit");
    EXPECT_EQ(Boxes, QStringList{"Warnung|" + Path + " not found!"});
}

TEST_F(LanguageTest, TranslateFormBySectionOfTheNameBeforeUnderscoreStopsAtOtherWindowsAndExports) {
    Write("t.lng", "[ChildWinText]\nChildWinText_1.Caption=Second\nlblInfo.Caption = Info text \n"
                   "lblInfo.Hint=Tip\nedValue.Text=42\nbtnGo.Caption=\nrgKind.Caption=Art\n");
    QWidget Form;
    Form.setObjectName("ChildWinText_1");
    auto* Label = new QLabel("x", &Form);
    Label->setObjectName("lblInfo");
    auto* Edit = new QLineEdit(&Form);
    Edit->setObjectName("edValue");
    Edit->setProperty("Tag", -1);
    auto* Button = new QPushButton("Go", &Form);
    Button->setObjectName("btnGo");
    auto* Group = new QGroupBox("Kind", &Form);
    Group->setObjectName("rgKind");
    auto* Blank = new QLabel(&Form);
    Blank->setObjectName("lblBlank");
    // A dialog living in the form's object tree has a section of its own.
    auto* Foreign = new QPushButton("Drucken", new QWidget(&Form, Qt::Dialog));
    Foreign->setObjectName("lblInfo");
    TranslateForm(&Form, Dir.filePath("t.lng"));
    EXPECT_EQ(Form.windowTitle(), "Second");
    EXPECT_EQ(Label->text(), "Info text");
    EXPECT_EQ(Label->toolTip(), "Tip");
    EXPECT_EQ(Edit->text(), "42");   // Tag -1 is still translated
    EXPECT_EQ(Button->text(), "Go"); // an empty value counts as missing
    EXPECT_EQ(Group->title(), "Art");
    EXPECT_EQ(Foreign->text(), "Drucken");
    TranslateForm(&Form, Dir.filePath("missing.lng")); // nothing changes
    EXPECT_EQ(Label->text(), "Info text");

    // The export: '=' in column 44, empty texts, Tag -1 values and other windows left out.
    QStringList Lines;
    WriteFormTranslation(&Form, Lines);
    EXPECT_EQ(Lines, (QStringList{"[ChildWinText_1]", QString("btnGo.Caption").leftJustified(44) + "= Go",
                                  QString("lblInfo.Caption").leftJustified(44) + "= Info text",
                                  QString("lblInfo.Hint").leftJustified(44) + "= Tip",
                                  QString("rgKind.Caption").leftJustified(44) + "= Art", ""}));
}

// The shipped language files carry the same keys, and every message key the
// program asks for.
TEST(LanguageFiles, SameKeysAndEveryKeyTheCodeUses) {
    const QString Folder = QStringLiteral(MORVANEL_SOURCE_DIR "/langscripts/");
    TIniFile German(Folder + "german.lng"), English(Folder + "English.lng");
    ASSERT_TRUE(German.SectionExists("GeneralMsg"));
    const auto Sorted = [](QStringList L) {
        L.sort();
        return L;
    };
    EXPECT_EQ(Sorted(German.ReadSections()), Sorted(English.ReadSections()));
    for (const QString& S : German.ReadSections()) {
        EXPECT_EQ(Sorted(German.ReadSection(S)), Sorted(English.ReadSection(S)))
            << "section " << S.toStdString();
        for (const QString& K : German.ReadSection(S))
            EXPECT_FALSE(English.ReadString(S, K, "").isEmpty()) << (S + "." + K).toStdString();
    }
    const QRegularExpression Call(QStringLiteral(R"(GetMsg\((?:QStringLiteral\(|QString\()?\"(m\w+)\")"));
    int Found = 0;
    QDirIterator It(QStringLiteral(MORVANEL_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (It.hasNext()) {
        const QString Text = QString::fromUtf8(ReadWholeFile(It.next()));
        for (auto M = Call.globalMatch(Text); M.hasNext();) {
            const QString Key = M.next().captured(1);
            ++Found;
            EXPECT_TRUE(German.ValueExists("GeneralMsg", Key)) << Key.toStdString();
            EXPECT_TRUE(English.ValueExists("GeneralMsg", Key)) << Key.toStdString();
        }
    }
    EXPECT_GT(Found, 0);
}

// The language list translates the program, and Qt's own dialogs follow the chosen
// file: German for german.lng, Qt's English for English.lng and for a language Qt has
// no translation for.
TEST_F(MainWindowFixture, QtDialogsSpeakTheLanguageOfTheChosenFile) {
    for (auto [Name, Language] : {std::pair{"german.lng", QLocale::German},
                                  {"ENGLISH.LNG", QLocale::English},
                                  {"/x/French.lng", QLocale::French},
                                  {"klingon.lng", QLocale::AnyLanguage},
                                  {".lng", QLocale::AnyLanguage}})
        EXPECT_EQ(LanguageOfFile(Name), Language) << Name;
    const auto Cancel = [] { return QDialogButtonBox(QDialogButtonBox::Cancel).buttons().value(0)->text(); };
    const std::array<std::array<const char*, 3>, 3> Texts = {
        {{"QFileDialog", "%1 already exists.\nDo you want to replace it?",
          "Die Datei %1 existiert bereits.\nSoll sie überschrieben werden?"},
         {"QPrintDialog", "Print", "Drucken"},
         {"QColorDialog", "Select Color", "Farbauswahl"}}};
    TfrmMain Main;
    frmMain = &Main;
    Main.FillLanguageList();
    QMdiSubWindow* Open = Main.MdiArea->addSubWindow(new QWidget); // its system menu follows too
    for (const char* Item : {"German.lng", "English.lng", "German.lng"}) {
        Main.ComboLng->setCurrentText(Item);
        Main.ComboLngChange();
        const bool German = LngFile == "German.lng";
        ASSERT_EQ(Cancel().toStdString(), German ? "Abbrechen" : "Cancel")
            << "Qt's translations (tools/install-deps)";
        for (const auto& T : Texts)
            EXPECT_EQ(QCoreApplication::translate(T[0], T[1]), QString::fromUtf8(German ? T[2] : T[1]));
        EXPECT_EQ(Open->systemMenu()->actions().last()->text(), German ? "Schl&ießen" : "&Close");
        EXPECT_EQ(QStringList({Main.MenuFile->title(), Main.btnOpen->text(), GetMsg("mREADY")}),
                  German ? QStringList({"&Datei", "Laden", "Fertig"})
                         : QStringList({"&File", "Open", "Ready"}));
    }
    // A file gone since the list was filled is not taken.
    Main.ComboLng->addItem("gone.lng");
    Main.ComboLng->setCurrentText("gone.lng");
    Main.ComboLngChange();
    EXPECT_EQ(LngFile, "German.lng");
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].endsWith("|" + LanguageFolder + "gone.lng nicht gefunden!"))
        << Boxes[0].toStdString();
    EXPECT_FALSE(LoadQtTranslation("klingon.lng"));
    EXPECT_EQ(Cancel(), "Cancel");
}
