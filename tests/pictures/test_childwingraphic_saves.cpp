// Saves of the picture window that would write a blank page: a GR.8 page, a photo
// or the four pages of a split, drawn in a foreground colour that is not white.
#include "test_picturewindow_common.h"

#include <QCoreApplication>
#include <QDir>

namespace {
class BlankSaveTest : public PictureWindowFixture {
protected:
    void SetUp() override {
        PictureWindowFixture::SetUp();
        RecordQuestions();
    }
    // The question about the files Names: the save path's caption and the text.
    static QString Asked(const QStringList& Names) {
        return QCoreApplication::translate("QFileDialog", "Save As") + "|" + GetMsg("mGR8Blank") + "\r\n" +
               Names.join("\r\n");
    }
};
} // namespace

TEST_F(BlankSaveTest, Gr8AndPhotoInRedAskAndNoKeepsTheOldFile) {
    const QByteArray Page = RandomBytes(7680, 28);
    gr8forecolor = 0x0000FF; // red
    TChildWinGraphic* Win = qobject_cast<TChildWinGraphic*>(Open("RED.PIC", Page));
    ASSERT_NE(Win, nullptr);
    const QString Target = Write("good.GR8", Page.left(7000)), Photo = Write("good.PHO", "old photo");
    // No: nothing is written, the old files stay byte for byte.
    for (const QString& Name : {Target, Photo}) {
        Answer({Name}, Name.endsWith("PHO") ? 4 : 3);
        Win->FileSaveAs();
    }
    EXPECT_EQ(Questions, QStringList({Asked({Target}), Asked({Photo})}));
    EXPECT_EQ(ReadWholeFile(Target), Page.left(7000));
    EXPECT_EQ(ReadWholeFile(Photo), "old photo");
    // Yes writes what the packing gives: a blank page; the English interface asks in English.
    Agree = true;
    LngFile = "English.lng";
    AnswerSave("good.GR8", 3);
    Win->FileSaveAs();
    EXPECT_EQ(ReadWholeFile(Target), QByteArray(7680, '\0'));
    ASSERT_EQ(Questions.size(), 3);
    EXPECT_TRUE(Questions[2].contains("The picture holds no white pixel")) << Questions[2].toStdString();
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

TEST_F(BlankSaveTest, SplitInRedAsksOnceAndNoWritesNoneOfTheFour) {
    gr8forecolor = 0x0000FF;
    TChildWinGraphic* Win = OpenJoined("WIDE.PIC", RandomBytes(32000, 3));
    ASSERT_NE(Win, nullptr);
    QStringList Names;
    for (const char* Suffix : {"_1.PIC", "_3.PIC", "_2.PIC", "_4.PIC"})
        Names << Dir.filePath(QString("WIDE") + Suffix);
    Write("WIDE_1.PIC", "first");
    Win->SaveBMP640x384As4PICs();
    EXPECT_EQ(Questions, QStringList(Asked(Names)));
    EXPECT_EQ(ReadWholeFile(Names[0]), "first");
    EXPECT_FALSE(QFile::exists(Names[1]) || QFile::exists(Names[2]) || QFile::exists(Names[3]));
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString(); // no "saved"

    Agree = true;
    Win->SaveBMP640x384As4PICs();
    for (const QString& Name : Names) EXPECT_EQ(ReadWholeFile(Name), QByteArray(7680, '\0'));
    EXPECT_EQ(Boxes.size(), 1);
}

TEST_F(BlankSaveTest, NoQuestionBeforeARefusedTargetAndFourColourPagesAsk) {
    // A four-colour page holds no white in the standard base colours: its GR.8 save asks.
    TChildWinGraphic* Win = qobject_cast<TChildWinGraphic*>(Open("COLOUR.MIC", RandomBytes(7684, 4)));
    ASSERT_NE(Win, nullptr);
    Win->SaveToFile(Dir.filePath("colour.GR8"));
    EXPECT_EQ(Questions, QStringList(Asked({Dir.filePath("colour.GR8")})));
    EXPECT_FALSE(QFile::exists(Dir.filePath("colour.GR8")));

    // A name no save can take is refused before anything is asked, on every writer.
    Questions.clear();
    const QString Missing = Dir.filePath("gone/page");
    for (const char* Ext : {".GR8", ".PHO"})
        EXPECT_EQ(ErrorOf([&] { Win->SaveToFile(Missing + Ext); }),
                  "3: Ordner nicht gefunden (" + Missing + Ext + ")");
    gr8forecolor = 0x0000FF;
    ASSERT_TRUE(QDir(Dir.path()).mkdir("gone"));
    OpenJoined("gone/WIDE.PIC", RandomBytes(32000, 3));
    ASSERT_TRUE(QDir(Dir.filePath("gone")).removeRecursively());
    EXPECT_EQ(ErrorOf([&] { Active()->SaveBMP640x384As4PICs(); }),
              "3: Ordner nicht gefunden (" + Dir.filePath("gone/WIDE_1.PIC") + ")");
    EXPECT_TRUE(Questions.isEmpty());
}
