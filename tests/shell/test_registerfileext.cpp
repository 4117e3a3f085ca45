#include "Resources.h"
#include "test_common.h"
#include "uRegisterFileExt.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {
class RegisterFileExtTest : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        Folders.DataHome = Dir.path() + "/data";
        Folders.ConfigHome = Dir.path() + "/config";
        Folders.UpdateDatabases = false;
    }
    // Every file below the temporary home, relative to it.
    QStringList AllFiles() const {
        QStringList Files;
        QDirIterator It(Dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (It.hasNext()) Files << QDir(Dir.path()).relativeFilePath(It.next());
        Files.sort();
        return Files;
    }
    bool Register(const QString& Ext, const QString& Program = "/usr/bin/m",
                  const QString& Type = MorvanelFileTypeName) {
        return RegisterFileType(Ext, Type, MorvanelFileDescription, 0, "%F", Program, Folders);
    }
    bool RegisterAll() {
        bool Ok = true;
        for (int I = 1; I <= TMorvanelFileTypes::Count; ++I)
            Ok &= Register(Types.Extension(I), "/opt/morvanel/morvanel");
        return Ok;
    }
    TFileTypeFolders Folders;
    TMorvanelFileTypes Types;
};

const char* const ExpectedPackage =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
    "  <mime-type type=\"application/x-tevra-morvanel-file\">\n"
    "    <comment>Morvanel A8-Viewer</comment>\n"
    "    <icon name=\"tevra-morvanel\"/>\n"
    "    <glob pattern=\"*.gr8\"/>\n    <glob pattern=\"*.pic\"/>\n    <glob pattern=\"*.mic\"/>\n"
    "    <glob pattern=\"*.pho\"/>\n    <glob pattern=\"*.alb\"/>\n    <glob pattern=\"*.koa\"/>\n"
    "    <glob pattern=\"*.fnt\"/>\n    <glob pattern=\"*.gr9\"/>\n    <glob pattern=\"*.apc\"/>\n"
    "    <glob pattern=\"*.ap2\"/>\n    <glob pattern=\"*.256\"/>\n    <glob pattern=\"*.3d\"/>\n"
    "  </mime-type>\n"
    "</mime-info>\n";
} // namespace

TEST(MorvanelFileTypes, OutOfRangeAndMimeNames) {
    TMorvanelFileTypes T;
    EXPECT_EQ(QStringList({T.Extension(1), T.Extension(0), T.Extension(13),
                           MimeTypeOfTypeName("TEVRA Morvanel file"), MimeTypeOfTypeName("  A+B  c ")}),
              QStringList({".GR8", "", "", "application/x-tevra-morvanel-file", "application/x-a-b-c"}));
}

TEST_F(RegisterFileExtTest, RegisterWritesExactlyThePackageEntryAndDefault) {
    ASSERT_TRUE(RegisterAll());
    EXPECT_EQ(AllFiles(), (QStringList{"config/mimeapps.list", "data/applications/tevra-morvanel.desktop",
                                       "data/icons/hicolor/scalable/apps/tevra-morvanel.svg",
                                       "data/mime/packages/tevra-morvanel.xml"}));
    EXPECT_EQ(ReadWholeFile(MimePackagePath(Folders)), QByteArray(ExpectedPackage));
    EXPECT_EQ(ReadWholeFile(DesktopEntryPath(Folders)),
              QByteArray("[Desktop Entry]\nType=Application\nName=Morvanel A8-Viewer\n"
                         "Exec=\"/opt/morvanel/morvanel\" %F\nIcon=tevra-morvanel\n"
                         "MimeType=application/x-tevra-morvanel-file;\nNoDisplay=true\nTerminal=false\n"));
    // The icon is the program's own scalable picture, found in the theme by the name both files give.
    EXPECT_EQ(IconFilePath(Folders), Folders.DataHome + "/icons/hicolor/scalable/apps/tevra-morvanel.svg");
    const QByteArray Icon = ReadWholeFile(IconFilePath(Folders));
    EXPECT_EQ(Icon, GetResource("RESPROGRAMICON"));
    EXPECT_TRUE(Icon.contains("<svg ") && Icon.contains("viewBox=\"0 0 64 64\"")) << Icon.toStdString();
    EXPECT_EQ(ReadWholeFile(MimeAppsListPath(Folders)),
              QByteArray("[Default Applications]\n"
                         "application/x-tevra-morvanel-file=tevra-morvanel.desktop;\n"));

    // Registering again changes nothing, and writes a damaged package anew.
    const QByteArray List = ReadWholeFile(MimeAppsListPath(Folders));
    WriteWholeFile(MimePackagePath(Folders),
                   "<mime-info><mime-type type=\"application/x-tevra-morvanel-file\">"
                   "<glob pattern=\"*.old\"/>");
    ASSERT_TRUE(RegisterAll());
    EXPECT_EQ(ReadWholeFile(MimePackagePath(Folders)), QByteArray(ExpectedPackage));
    EXPECT_EQ(ReadWholeFile(MimeAppsListPath(Folders)), List);

    // The first unregistration removes the type with all its extensions and the icon,
    // but no other icon of the theme; the next ones find nothing to do.
    const QString Theirs = QFileInfo(IconFilePath(Folders)).absolutePath() + "/other-program.svg";
    WriteWholeFile(Theirs, "<svg/>");
    EXPECT_TRUE(UnregisterFileType(".GR8", MorvanelFileTypeName, Folders));
    EXPECT_EQ(AllFiles(), QStringList{"data/icons/hicolor/scalable/apps/other-program.svg"});
    QFile::remove(Theirs);
    EXPECT_TRUE(UnregisterFileType(".PIC", MorvanelFileTypeName, Folders));
    EXPECT_TRUE(AllFiles().isEmpty());
}

// Our default goes into the user's list and comes out again, whatever else the list
// holds; an older entry of ours is replaced.
TEST_F(RegisterFileExtTest, OtherLinesOfMimeAppsListStayUntouched) {
    const QByteArray Ours = "application/x-tevra-morvanel-file=tevra-morvanel.desktop;\n";
    const QByteArray Cases[][2] = {
        {"# my associations\n[Added Associations]\nimage/png=viewer.desktop;\n\n[Default Applications]\n"
         "text/plain=editor.desktop;\n\n[Removed Associations]\nimage/gif=paint.desktop;\n",
         "# my associations\n[Added Associations]\nimage/png=viewer.desktop;\n\n[Default Applications]\n"
         "text/plain=editor.desktop;\n" +
             Ours + "\n[Removed Associations]\nimage/gif=paint.desktop;\n"},
        // The section is added, and goes again.
        {"[Added Associations]\r\nimage/png=viewer.desktop;\r\n", "\n[Default Applications]\n" + Ours}};
    QDir().mkpath(Folders.ConfigHome);
    for (const auto& [Before, After] : Cases) {
        WriteWholeFile(MimeAppsListPath(Folders), Before);
        ASSERT_TRUE(RegisterAll());
        EXPECT_TRUE(ReadWholeFile(MimeAppsListPath(Folders)).endsWith(After));
        EXPECT_TRUE(UnregisterFileType(".PIC", MorvanelFileTypeName, Folders));
        EXPECT_EQ(ReadWholeFile(MimeAppsListPath(Folders)), Before);
    }
    EXPECT_EQ(AllFiles(), QStringList{"config/mimeapps.list"});

    WriteWholeFile(MimeAppsListPath(Folders), "[Default Applications]\n"
                                              "application/x-tevra-morvanel-file=old.desktop;\n"
                                              "image/png=viewer.desktop;\n");
    ASSERT_TRUE(Register(".GR8"));
    EXPECT_EQ(ReadWholeFile(MimeAppsListPath(Folders)),
              QByteArray("[Default Applications]\nimage/png=viewer.desktop;\n"
                         "application/x-tevra-morvanel-file=tevra-morvanel.desktop;\n"));
    EXPECT_TRUE(UnregisterFileType(".GR8", MorvanelFileTypeName, Folders));
    EXPECT_EQ(ReadWholeFile(MimeAppsListPath(Folders)),
              QByteArray("[Default Applications]\nimage/png=viewer.desktop;\n"));
}

TEST_F(RegisterFileExtTest, ProgramPathIsQuotedAndBadArgumentsOrUnwritableFoldersFail) {
    ASSERT_TRUE(Register(".GR8", "/home/a b/100%/$x\\\"q`/morvanel"));
    const QByteArray Entry = ReadWholeFile(DesktopEntryPath(Folders));
    EXPECT_TRUE(Entry.contains("\nExec=\"/home/a b/100%%/\\\\$x\\\\\\\\\\\\\"q\\\\`/morvanel\" %F\n"))
        << Entry.toStdString();
    ASSERT_TRUE(UnregisterFileType(".GR8", MorvanelFileTypeName, Folders));

    for (const char* Ext : {"", "GR8", ".G*", "./x", ".x\n"}) EXPECT_FALSE(Register(Ext)) << Ext;
    EXPECT_FALSE(Register(".GR8", "/usr/bin/m", ""));
    EXPECT_FALSE(Register(".GR8", "morvanel"));
    EXPECT_FALSE(Register(".GR8", "/usr/bin/m\nX-Evil=1"));
    EXPECT_TRUE(AllFiles().isEmpty());

    // A plain file where the data folder should be: nothing can be written.
    WriteWholeFile(Dir.filePath("blocker"), "x");
    Folders.DataHome = Dir.filePath("blocker");
    EXPECT_FALSE(Register(".GR8"));
    EXPECT_EQ(AllFiles(), QStringList{"blocker"});
}
