#include "IniFile.h"
#include "test_shell_common.h"
#include "uGlobal.h"
#include "uMain.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(IniFile, LookupIsCaseBlindTrimmedUnquotedFirstWins) {
    TIniFile Ini(QString{});
    Ini.SetText("; comment\n[DEFAULT]\r\n  textprintforecolor =  255  \r\nName=\"quoted value\"\n"
                "name=second\nhex=$1F\n[Other]\nkey=x\n");
    EXPECT_EQ(Ini.ReadInteger("default", "textPrintforecolor", 0), 255);
    EXPECT_EQ(Ini.ReadString("Default", "NAME", ""), "quoted value");
    EXPECT_EQ(Ini.ReadInteger("default", "hex", 0), 31);
    EXPECT_EQ(Ini.ReadInteger("default", "missing", 7), 7);
    EXPECT_EQ(Ini.ReadString("nosection", "key", "def"), "def");
    EXPECT_EQ(Ini.ReadSection("OTHER"), QStringList{"key"});
    int V = 0;
    EXPECT_FALSE(TIniFile::StrToIntDef("abc", V));
    EXPECT_FALSE(TIniFile::StrToIntDef("12abc", V));
    EXPECT_TRUE(TIniFile::StrToIntDef("-1", V));
    EXPECT_EQ(V, -1);
}

TEST(IniFile, WritesKeepUnknownKeysAndSpellingsOrRaiseTheWriteError) {
    QTemporaryDir Dir;
    const QString Path = Dir.filePath("t.ini");
    WriteWholeFile(Path, "[Setup]\nLNGFILE=english.lng\nmine=kept\n\n[default]\ncol1=1\n");
    {
        TIniFile Ini(Path);
        Ini.WriteString("setup", "LngFile", "german.lng");
        Ini.WriteInteger("Default", "col2", 5);
        Ini.WriteString("New", "k", "v");
        Ini.UpdateFile();
    }
    EXPECT_EQ(ReadWholeFile(Path),
              QByteArray("[Setup]\nLNGFILE=german.lng\nmine=kept\n\n[default]\ncol1=1\ncol2=5\n\n"
                         "[New]\nk=v\n"));
    TIniFile Unwritable(Dir.filePath("missing-folder/t.ini"));
    Unwritable.WriteString("a", "b", "c");
    EXPECT_TRUE(ErrorOf([&] {
                    Unwritable.UpdateFile();
                }).endsWith("In " + Dir.filePath("missing-folder/t.ini") + " kann nicht geschrieben werden"));
}

struct SettingsTest : ::testing::Test {
    void SetUp() override {
        SettingsFolder = Dir.path() + "/";
        ProgramFolder = "/opt/morvanel/";
        SetSettingsDefaults();
    }
    QTemporaryDir Dir;
};

TEST_F(SettingsTest, FirstStartGivesDefaultsAndSaveWritesAll24Keys) {
    LoadSettings();
    EXPECT_EQ(LngFile, "german.lng");
    EXPECT_EQ(col3, 0x904F1Fu);
    EXPECT_EQ(openpath, "/opt/morvanel/");
    EXPECT_EQ(CurrentColors[2], 0x70D890u);
    SaveSettings();
    TIniFile Ini(SettingsFileName());
    EXPECT_EQ(Ini.ReadSection("Setup").size() + Ini.ReadSection("default").size(), 24);
    EXPECT_EQ(Ini.ReadInteger("default", "col3", 0), 9457439);
}

TEST_F(SettingsTest, OddValuesWrapToTheirFieldOrFallBack) {
    WriteWholeFile(SettingsFileName(),
                   "[DEFAULT]\ntextprintforecolor=255\nphoformat=257\npic2x2mode=-1\ncol1=abc\nUnknown=1\n");
    LoadSettings();
    EXPECT_EQ(textPrintforecolor, 255u);
    EXPECT_EQ(phoformat, 1);
    EXPECT_EQ(pic2x2mode, 255);
    EXPECT_EQ(col1, 6272975u);
    SaveSettings();
    const QByteArray First = ReadWholeFile(SettingsFileName());
    EXPECT_TRUE(First.contains("Unknown=1"));
    EXPECT_TRUE(First.contains("textprintforecolor=255"));
    LoadSettings();
    SaveSettings();
    EXPECT_EQ(ReadWholeFile(SettingsFileName()), First);
}

TEST_F(SettingsTest, FoldersLiveUnderTheDataHome) {
    QTemporaryDir Home;
    qputenv("XDG_DATA_HOME", Home.path().toUtf8());
    InitFolders();
    EXPECT_EQ(SettingsFolder, Home.path() + "/TEVRA/Morvanel/");
    EXPECT_TRUE(QDir(SettingsFolder).exists());
    InitFolders(); // an existing folder is fine
    qunsetenv("XDG_DATA_HOME");
}

TEST_F(SettingsTest, WindowPlacementComesBackWithoutDrift) {
    TfrmMain Main;
    frmMain = &Main;
    Main.move(33, 44);
    Main.resize(700, 500);
    Main.show();
    SaveSettings();
    const QByteArray First = ReadWholeFile(SettingsFileName());
    EXPECT_TRUE(First.contains("left=33\n"));
    EXPECT_TRUE(First.contains("width=700\n"));
    Main.move(0, 0);
    Main.resize(300, 300);
    LoadSettings();
    EXPECT_EQ(Main.pos(), QPoint(33, 44));
    EXPECT_EQ(Main.size(), QSize(700, 500));
    SaveSettings();
    EXPECT_EQ(ReadWholeFile(SettingsFileName()), First);
    // A maximised or minimised close stores the restored window's frame corner.
    for (auto Show : {&QWidget::showMaximized, &QWidget::showMinimized}) {
        (Main.*Show)();
        SaveSettings();
        EXPECT_EQ(ReadWholeFile(SettingsFileName()), First);
    }
    frmMain = nullptr;
}
