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
        SetQuestionHook([this](const QString& Caption, const QString& Text) {
            Questions << Caption + "|" + Text;
            return Agree;
        });
    }
    void TearDown() override {
        SetQuestionHook(nullptr);
        PictureWindowFixture::TearDown();
    }
    // The question about the files Names: the save path's caption and the text.
    static QString Asked(const QStringList& Names) {
        QString Text = QCoreApplication::translate("QFileDialog", "Save As") + "|" + GetMsg("mGR8Blank");
        for (const QString& Name : Names) Text += "\r\n" + Name;
        return Text;
    }
    QStringList Questions;
    bool Agree = false;
};

} // namespace

TEST_F(BlankSaveTest, Gr8AndPhotoInRedAskAndNoKeepsTheOldFile) {
    // Shown in white, a page saves back exactly and nothing is asked.
    const QByteArray Page = RandomBytes(7680, 28);
    ASSERT_NE(Open("WHITE.PIC", Page), nullptr);
    AnswerSave("white.GR8");
    Active()->FileSaveAs();
    EXPECT_EQ(ReadWholeFile(Dir.filePath("white.GR8")), Page);
    EXPECT_TRUE(Questions.isEmpty());

    gr8forecolor = 0x0000FF; // red
    TChildWinGraphic* Win = qobject_cast<TChildWinGraphic*>(Open("RED.PIC", Page));
    ASSERT_NE(Win, nullptr);
    EXPECT_EQ(Win->ImgGraphic->Picture.pixel(0, 0) & 0xFFFFFF, Page[0] & 0x80 ? 0xFF0000u : 0u);
    const QByteArray Good = RandomBytes(7680, 7);
    const QString Target = Write("good.GR8", Good);
    const QString Photo = Write("good.PHO", "old photo");
    // No: nothing is written, the old files stay byte for byte.
    for (const QString& Name : {Target, Photo}) {
        Answer({Name}, Name.endsWith("PHO") ? 4 : 3);
        Win->FileSaveAs();
    }
    EXPECT_EQ(Questions.join("\n"), Asked({Target}) + "\n" + Asked({Photo}));
    EXPECT_EQ(ReadWholeFile(Target), Good);
    EXPECT_EQ(ReadWholeFile(Photo), "old photo");
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();

    // Yes writes what the packing gives: a blank page.
    Agree = true;
    AnswerSave("good.GR8", 3);
    Win->FileSaveAs();
    EXPECT_EQ(ReadWholeFile(Target), QByteArray(7680, '\0'));
    EXPECT_EQ(Questions.size(), 3);

    // The English interface asks in English.
    LngFile = "English.lng";
    Agree = false;
    AnswerSave("good.GR8", 3);
    Win->FileSaveAs();
    ASSERT_EQ(Questions.size(), 4);
    EXPECT_TRUE(Questions.last().contains("The picture holds no white pixel"))
        << Questions.last().toStdString();

    // A page that is one colour only is blank on screen too: nothing to ask.
    ASSERT_NE(Open("EMPTY.PIC", QByteArray(7680, '\0')), nullptr);
    AnswerSave("empty.GR8", 3);
    Active()->FileSaveAs();
    EXPECT_EQ(ReadWholeFile(Dir.filePath("empty.GR8")), QByteArray(7680, '\0'));
    EXPECT_EQ(Questions.size(), 4);
}

TEST_F(BlankSaveTest, SplitInRedAsksOnceAndNoWritesNoneOfTheFour) {
    const QByteArray Page = RandomBytes(32000, 3);
    gr8forecolor = 0x0000FF;
    TChildWinGraphic* Win = OpenJoined("WIDE.PIC", Page);
    ASSERT_NE(Win, nullptr);
    ASSERT_EQ(Win->ImgGraphic->Picture.size(), QSize(640, 384));
    QStringList Names;
    for (const char* Suffix : {"_1.PIC", "_3.PIC", "_2.PIC", "_4.PIC"})
        Names << Dir.filePath(QString("WIDE") + Suffix);
    Write("WIDE_1.PIC", "first");
    Write("WIDE_4.PIC", "fourth");

    Win->SaveBMP640x384As4PICs();
    EXPECT_EQ(Questions.join("\n"), Asked(Names));
    EXPECT_EQ(ReadWholeFile(Names[0]), "first");
    EXPECT_EQ(ReadWholeFile(Names[3]), "fourth");
    EXPECT_FALSE(QFile::exists(Names[1]) || QFile::exists(Names[2]));
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString(); // no "saved"

    Agree = true;
    Win->SaveBMP640x384As4PICs();
    for (const QString& Name : Names) EXPECT_EQ(ReadWholeFile(Name), QByteArray(7680, '\0'));
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].contains(GetMsg("mPicsSaved")));

    // In white the split asks nothing and the pages hold the picture.
    gr8forecolor = 0xFFFFFF;
    OpenJoined("WHITE.PIC", Page);
    Questions.clear();
    Active()->SaveBMP640x384As4PICs();
    EXPECT_TRUE(Questions.isEmpty());
    EXPECT_EQ(ReadWholeFile(Dir.filePath("WHITE_1.PIC")).left(40), Page.left(40));

    // The source's folder gone: the split says so, naming the first page, and asks nothing.
    ASSERT_TRUE(QDir(Dir.path()).mkdir("sub"));
    gr8forecolor = 0x0000FF;
    OpenJoined("sub/GONE.PIC", Page);
    ASSERT_TRUE(QDir(Dir.filePath("sub")).removeRecursively());
    EXPECT_EQ(ErrorOf([&] { Active()->SaveBMP640x384As4PICs(); }),
              "3: Ordner nicht gefunden (" + Dir.filePath("sub/GONE_1.PIC") + ")");
    EXPECT_TRUE(Questions.isEmpty());
}

TEST_F(BlankSaveTest, NoQuestionBeforeARefusedTargetAndFourColourPagesAsk) {
    // A four-colour page holds no white in the standard base colours: its GR.8 save asks.
    TChildWinGraphic* Win = qobject_cast<TChildWinGraphic*>(Open("COLOUR.MIC", RandomBytes(7684, 4)));
    ASSERT_NE(Win, nullptr);
    ASSERT_EQ(Win->ImgGraphic->Picture.size(), QSize(320, 192));
    Win->SaveToFile(Dir.filePath("colour.GR8"));
    EXPECT_EQ(Questions.join("\n"), Asked({Dir.filePath("colour.GR8")}));
    EXPECT_FALSE(QFile::exists(Dir.filePath("colour.GR8")));

    // A name no save can take is refused before anything is asked, on every writer.
    Questions.clear();
    const QString Missing = Dir.filePath("gone/page");
    for (const char* Ext : {".GR8", ".PHO"})
        EXPECT_EQ(ErrorOf([&] { Win->SaveToFile(Missing + Ext); }),
                  "3: Ordner nicht gefunden (" + Missing + Ext + ")");
    AnswerSave("gone/page", 3); // the filter's extension added to a name in a missing folder
    EXPECT_EQ(ErrorOf([&] { Win->FileSaveAs(); }), "3: Ordner nicht gefunden (" + Missing + ".GR8)");
    EXPECT_TRUE(Questions.isEmpty());
}
