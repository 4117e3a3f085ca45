#include "IniFile.h"
#include "test_shell_common.h"
#include "uGlobal.h"
#include "uMain.h"

#include <QDir>
#include <QTemporaryDir>
#include <climits>
#include <gtest/gtest.h>

// What key k of [Default] reads as, as text and as a number, for each value line:
// trimmed, one pair of matching quotes taken off, the first of duplicate keys, keys
// and sections without regard to case; decimal numbers are 32-bit signed, hex ones
// may use all 32 bits, anything else is no number.
TEST(IniFile, ValuesAtTheirEdges) {
    const struct {
        const char* Lines;
        const char* String;
        int Integer;
    } Rows[] = {
        {"k=\"\"", "", 7},
        {"k=''", "", 7},
        {"k=\"", "\"", 7},
        {"k='", "'", 7},
        {"k=\"12\"", "12", 12},
        {"k='a'", "a", 7},
        {"k=\"a'", "\"a'", 7},
        {"k='a\"", "'a\"", 7},
        {"k=  \" a \"  ", " a ", 7},
        {"k=\"\"\"\"", "\"\"", 7},
        {"k=", "", 7},
        {"  K  =  a b  \r", "a b", 7},
        {"k=first\nK=second", "first", 7},
        {"k=a=b", "a=b", 7},
        {";k=c", "none", 7},
        {"k", "none", 7},
        {"kk=1", "none", 7},
        {"[other]\nk=1", "none", 7},
        {"k=2147483647", "2147483647", INT_MAX},
        {"k=-2147483648", "-2147483648", INT_MIN},
        {"k=2147483648", "2147483648", 7},
        {"k=-2147483649", "-2147483649", 7},
        {"k=4294967295", "4294967295", 7},
        {"k=$FFFFFFFF", "$FFFFFFFF", -1},
        {"k=0x7fffffff", "0x7fffffff", INT_MAX},
        {"k=0X1f", "0X1f", 31},
        {"k=$100000000", "$100000000", 7},
        {"k=-$10", "-$10", -16},
        {"k=$-1", "$-1", 7},
        {"k=0x0x10", "0x0x10", 7},
        {"k=$ 5", "$ 5", 7},
        {"k=$", "$", 7},
        {"k=+5", "+5", 5},
        {"k=--1", "--1", 7},
        {"k=12abc", "12abc", 7},
        {"k=1 2", "1 2", 7},
        {"k=1.5", "1.5", 7},
    };
    for (const auto& R : Rows) {
        const TIniFile Ini = TIniFile::FromData(QByteArray("; comment\n[Default]\n") + R.Lines + "\n");
        EXPECT_EQ(Ini.ReadString("DEFAULT", "k", "none"), R.String) << R.Lines;
        EXPECT_EQ(Ini.ReadInteger("default", "K", 7), R.Integer) << R.Lines;
    }
    EXPECT_EQ(TIniFile::FromData("[Default]\nk=1\n[Other]\nOne=1\nTWO=2\n").ReadSection("OTHER"),
              (QStringList{"One", "TWO"}));
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

// Bytes take the low 8 bits of the number read; a value that is no number gives the
// default; keys are found whatever their case.
TEST_F(SettingsTest, ValuesAtTheirEdgesLoadIntoTheirFields) {
    const struct {
        const char* Line;
        quint32* Colour;
        quint8* Byte;
        quint32 Expected;
    } Rows[] = {
        {"phoformat=255", nullptr, &phoformat, 255},
        {"phoformat=256", nullptr, &phoformat, 0},
        {"PHOFORMAT=257", nullptr, &phoformat, 1},
        {"pic2x2mode=-1", nullptr, &pic2x2mode, 255},
        {"pic2x2mode=1", nullptr, &pic2x2mode, 1},
        {"pic2x2mode=x", nullptr, &pic2x2mode, 0},
        {"col1=abc", &col1, nullptr, 6272975},
        {"col1=", &col1, nullptr, 6272975},
        {"col1=-1", &col1, nullptr, 0xFFFFFFFF},
        {"col1=16777215", &col1, nullptr, 0xFFFFFF},
        {"textprintforecolor=255", &textPrintforecolor, nullptr, 255},
    };
    for (const auto& R : Rows) {
        SetSettingsDefaults();
        WriteWholeFile(SettingsFileName(), QByteArray("[DEFAULT]\n") + R.Line + "\nUnknown=1\n");
        LoadSettings();
        EXPECT_EQ(R.Colour ? *R.Colour : *R.Byte, R.Expected) << R.Line;
    }
    // Saving twice without a change leaves the file as it is, unknown keys and spellings included.
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
    frmMain = nullptr;
}
