#include "IniFile.h"
#include "test_shell_common.h"

#include <QDir>
#include <climits>

// What key k of [Default] reads as, as text and as a number, for each value line:
// trimmed, one pair of matching quotes taken off, the first of duplicate keys, keys
// and sections without regard to case; decimal numbers are 32-bit signed, hex ones
// may use all 32 bits, anything else is no number.
TEST(IniFile, ValuesAtTheirEdges) {
    const auto Read = [](const QByteArray& Lines) {
        return TIniFile::FromData("; comment\n[Default]\n" + Lines + "\n");
    };
    const std::pair<const char*, const char*> Strings[] = {
        {"k=\"\"", ""},         {"k=''", ""},        {"k=\"", "\""},         {"k='", "'"},
        {"k=\"a\"", "a"},       {"k='a'", "a"},      {"k=\"a'", "\"a'"},     {"k='a\"", "'a\""},
        {"k=\"\"\"\"", "\"\""}, {"k=", ""},          {"k= \" a \" ", " a "}, {"  K  = a b \r", "a b"},
        {"k=1\nK=2", "1"},      {"k=a=b", "a=b"},    {";k=c", "none"},       {"k", "none"},
        {"kk=1", "none"},       {"[x]\nk=1", "none"}};
    for (const auto& [Lines, String] : Strings)
        EXPECT_EQ(Read(Lines).ReadString("DEFAULT", "k", "none"), String) << Lines;
    const std::pair<const char*, int> Numbers[] = {{"2147483647", INT_MAX},
                                                   {"-2147483648", INT_MIN},
                                                   {"$FFFFFFFF", -1},
                                                   {"0x7fffffff", INT_MAX},
                                                   {"0X1f", 31},
                                                   {"-$10", -16},
                                                   {"+5", 5},
                                                   {"\"12\"", 12}};
    for (const auto& [Value, Number] : Numbers)
        EXPECT_EQ(Read(QByteArray("k=") + Value).ReadInteger("default", "K", 7), Number) << Value;
    for (const char* NoNumber : {"2147483648", "-2147483649", "4294967295", "$100000000", "$-1", "0x0x10",
                                 "$ 5", "$", "--1", "12abc", "1 2", "1.5", "", "\"\""})
        EXPECT_EQ(Read(QByteArray("k=") + NoNumber).ReadInteger("default", "k", 7), 7) << NoNumber;
    EXPECT_EQ(Read("k=1\n[Other]\nOne=1\nTWO=2").ReadSection("OTHER"), (QStringList{"One", "TWO"}));
}

TEST_F(FileTest, IniFileWritesKeepUnknownKeysAndSpellingsOrRaiseTheWriteError) {
    const QString Path = Write("t.ini", "[Setup]\nLNGFILE=english.lng\nmine=kept\n\n[default]\ncol1=1\n");
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

using SettingsTest = SettingsFixture;

TEST_F(SettingsTest, FirstStartGivesDefaultsAndSaveWritesAll24Keys) {
    LoadSettings();
    EXPECT_EQ(std::make_tuple(LngFile, col3, openpath, CurrentColors[2]),
              std::make_tuple(QString("german.lng"), 0x904F1Fu, QString("/opt/morvanel/"), 0x70D890u));
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
    qputenv("XDG_DATA_HOME", Dir.path().toUtf8());
    InitFolders();
    EXPECT_EQ(SettingsFolder, Dir.path() + "/TEVRA/Morvanel/");
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
