// Saves of the picture window: GR.8 pages and photos go back to their own bytes; a blank
// result or a replaced split asks first; an unwritable target is refused before any question.
#include "platform/test_readonly.h"
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
    // The question Key about the files Names: the save path's caption and the text.
    static QString Asked(const QStringList& Names, const char* Key = "mGR8Blank") {
        return QCoreApplication::translate("QFileDialog", "Save As") + "|" + GetMsg(Key) + "\r\n" +
               Names.join("\r\n");
    }
};
} // namespace

TEST_F(BlankSaveTest, Gr8PagesAndPhotosSaveBackUnderAnyTwoGr8ColoursAndInvertedToTheInvertedBits) {
    const QByteArray Page = RandomBytes(7680, 28);
    // An 80 x 40 photo in the older dialect: rows and bytes per row stored minus 1.
    const QByteArray Photo = "402\x9b" + QByteArray(2, '\0') + RandomBytes(400, 29) + "39\x9b" + "9\x9b";
    QByteArray Inverted = Page;
    for (char& B : Inverted) B = char(~B);
    // An album of one 80 x 20 picture: a 640 x 68 sheet, clear but the picture at byte 3, row 8.
    const QByteArray Pic = RandomBytes(200, 30);
    const QByteArray Album = "217\x9b" + QByteArray("ONE").leftJustified(15, ' ') + char(20) + char(10) + Pic;
    QByteArray Sheet(80 * 68, '\0');
    for (int Y = 0; Y < 20; ++Y) Sheet.replace(80 * (8 + Y) + 3, 10, Pic.mid(10 * Y, 10));
    const QByteArray SheetPhoto = "5442\x9b" + QByteArray(2, '\0') + Sheet + "67\x9b" + "79\x9b";
    for (const auto& [Fore, Back] :
         {std::pair{0x000000u, 0xFFFFFFu}, {0x0000FFu, 0x000000u}, {0xFFFFFFu, 0x000000u}}) {
        SCOPED_TRACE(testing::Message() << std::hex << Fore << " on " << Back);
        gr8forecolor = Fore;
        gr8backcolor = Back;
        auto* Win = qobject_cast<TChildWinGraphic*>(Open("PAGE.PIC", Page));
        ASSERT_NE(Win, nullptr);
        Win->SaveToFile(Dir.filePath("copy.GR8"));
        EXPECT_EQ(ReadWholeFile(Dir.filePath("copy.GR8")), Page);
        // The inverted picture is what the user sees: its page is the inverted page.
        Main->btnInvertClick();
        Win->SaveToFile(Dir.filePath("inverted.GR8"));
        EXPECT_EQ(ReadWholeFile(Dir.filePath("inverted.GR8")), Inverted);
        auto* Pho = qobject_cast<TChildWinGraphic*>(Open("SMALL.PHO", Photo));
        ASSERT_NE(Pho, nullptr);
        Pho->SaveToFile(Dir.filePath("copy.PHO"));
        EXPECT_EQ(ReadWholeFile(Dir.filePath("copy.PHO")), Photo);
        auto* Alb = qobject_cast<TChildWinGraphic*>(Open("ONE.ALB", Album));
        ASSERT_NE(Alb, nullptr);
        Alb->SaveToFile(Dir.filePath("sheet.PHO"));
        EXPECT_EQ(ReadWholeFile(Dir.filePath("sheet.PHO")), SheetPhoto);
    }
    EXPECT_TRUE(Questions.isEmpty()) << Questions.join("\n").toStdString();
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

TEST_F(BlankSaveTest, AFourColourPictureAsksBeforeABlankPageOrPhotoAndNoKeepsTheOldFile) {
    // No white in the standard base colours: packed only white is set, so the page is blank.
    TChildWinGraphic* Win = qobject_cast<TChildWinGraphic*>(Open("COLOUR.MIC", RandomBytes(7684, 4)));
    ASSERT_NE(Win, nullptr);
    const QByteArray Page = RandomBytes(7000, 28);
    const QString Target = Write("good.GR8", Page), Photo = Write("good.PHO", "old photo");
    // No: nothing is written, the old files stay byte for byte.
    for (const QString& Name : {Target, Photo}) {
        Answer({Name}, Name.endsWith("PHO") ? 4 : 3);
        Win->FileSaveAs();
    }
    EXPECT_EQ(Questions, QStringList({Asked({Target}), Asked({Photo})}));
    EXPECT_EQ(ReadWholeFile(Target), Page);
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

TEST_F(BlankSaveTest, ABitmapSplitThatComesOutBlankAsksOnceAndNoWritesNoneOfTheFour) {
    QImage Wide = Filled(640, 384, qRgb(255, 0, 0));
    for (int X = 0; X < 640; ++X) Wide.setPixel(X, 0, qRgb(0, 0, 0));
    ASSERT_TRUE(Wide.save(Dir.filePath("WIDE.BMP")));
    Main->OpenFiles({Dir.filePath("WIDE.BMP")});
    TChildWinGraphic* Win = Active();
    ASSERT_NE(Win, nullptr);
    QStringList Names;
    for (const char* Suffix : {"_1.PIC", "_3.PIC", "_2.PIC", "_4.PIC"})
        Names << Dir.filePath(QString("WIDE") + Suffix);
    Win->SaveBMP640x384As4PICs();
    EXPECT_EQ(Questions, QStringList(Asked(Names)));
    for (const QString& Name : Names) EXPECT_FALSE(QFile::exists(Name));
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString(); // no "saved"

    Agree = true;
    Win->SaveBMP640x384As4PICs();
    for (const QString& Name : Names) EXPECT_EQ(ReadWholeFile(Name), QByteArray(7680, '\0'));
    EXPECT_EQ(Boxes.size(), 1);
}

// A joined page split in black on white gives its four sources back; files of their
// names are replaced only after one question naming them.
TEST_F(BlankSaveTest, AJoinedPageSplitsBackIntoItsSourcesAndAsksOnceBeforeReplacing) {
    gr8forecolor = 0x000000;
    gr8backcolor = 0xFFFFFF;
    QStringList Sources;
    QList<QByteArray> Pages;
    for (char C : {'A', 'B', 'C', 'D'}) {
        Pages << RandomBytes(7680, quint32(C));
        Sources << Write(QString(QChar(C)) + ".PIC", Pages.last());
    }
    Answer(Sources);
    Main->Open4PICsClick();
    TChildWinGraphic* Win = Active();
    ASSERT_NE(Win, nullptr);
    ASSERT_EQ(Win->ImgGraphic->Picture.size(), QSize(640, 384));
    // Numbered by rows: A top left (_1), B top right (_2), C and D below.
    QStringList Names;
    for (int K = 1; K <= 4; ++K) Names << Dir.filePath(QString("A_B_C_D_%1.PIC").arg(K));
    const QString Old2 = Write("A_B_C_D_2.PIC", "second"), Old4 = Write("A_B_C_D_4.PIC", "fourth");
    Win->SaveBMP640x384As4PICs();
    EXPECT_EQ(Questions, QStringList(QCoreApplication::translate("QFileDialog", "Save As") + "|" +
                                     GetMsg("mPicsReplace") + "\r\n" + Old2 + "\r\n" + Old4));
    EXPECT_EQ(ReadWholeFile(Old2), "second");
    EXPECT_EQ(ReadWholeFile(Old4), "fourth");
    EXPECT_FALSE(QFile::exists(Names[0]) || QFile::exists(Names[2]));
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();

    Agree = true;
    Win->SaveBMP640x384As4PICs();
    EXPECT_EQ(Questions.size(), 2);
    for (int K = 0; K < 4; ++K) EXPECT_EQ(ReadWholeFile(Names[K]), Pages[K]) << K + 1;
    EXPECT_EQ(Boxes.size(), 1); // "saved"
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

    // So is a target that cannot be written: a read-only file, a folder without write permission.
    ASSERT_TRUE(QDir(Dir.path()).mkdir("locked"));
    OpenJoined("locked/WIDE.PIC", RandomBytes(32000, 3));
    TChildWinGraphic* Joined = Active();
    const QString ReadOnly = Write("old.GR8", "old");
    SetMode(ReadOnly, 0444);
    SetMode(Dir.filePath("locked"), 0555);
    SetMode(Dir.path(), 0755);
    {
        const TActAsUnprivileged Unprivileged;
        for (const QString& Name :
             {ReadOnly, Dir.filePath("locked/page.GR8"), Dir.filePath("locked/page.PHO")})
            EXPECT_EQ(ErrorOf([&] { Win->SaveToFile(Name); }), "5: Zugriff verweigert (" + Name + ")");
        EXPECT_EQ(ErrorOf([&] { Joined->SaveBMP640x384As4PICs(); }),
                  "5: Zugriff verweigert (" + Dir.filePath("locked/WIDE_1.PIC") + ")");
    }
    SetMode(Dir.filePath("locked"), 0755);
    EXPECT_TRUE(Questions.isEmpty());
    EXPECT_EQ(ReadWholeFile(ReadOnly), "old");
    EXPECT_EQ(QDir(Dir.filePath("locked")).entryList(QDir::Files), QStringList("WIDE.PIC"));
}

// With both GR.8 colours one colour the bits cannot be told apart: every 1-bit save
// (page, photo, joined page, album, inverted picture, split) asks, and No writes nothing.
TEST_F(BlankSaveTest, OneGr8ColourForBothAsksBeforeEveryOneBitSaveAndNoWritesNothing) {
    const QByteArray Page = RandomBytes(7680, 31);
    const QByteArray Photo = "402\x9b" + QByteArray(2, '\0') + RandomBytes(400, 32) + "39\x9b" + "9\x9b";
    const QString Old = Write("old.GR8", "old page"), OldPhoto = Write("old.PHO", "old photo");
    for (const quint32 Colour : {0x0000FFu, 0xFFFFFFu}) {
        SCOPED_TRACE(testing::Message() << std::hex << Colour);
        gr8forecolor = gr8backcolor = Colour;
        Questions.clear();
        auto* Gr8 = qobject_cast<TChildWinGraphic*>(Open("PAGE.PIC", Page));
        auto* Pho = qobject_cast<TChildWinGraphic*>(Open("SMALL.PHO", Photo));
        TChildWinGraphic* Joined = OpenJoined("WIDE.PIC", RandomBytes(32000, 33));
        auto* Alb = qobject_cast<TChildWinGraphic*>(
            Open("ONE.ALB", "217\x9b" + QByteArray("ONE").leftJustified(15, ' ') + char(20) + char(10) +
                                RandomBytes(200, 34)));
        auto* Inv = qobject_cast<TChildWinGraphic*>(Open("INV.PIC", Page));
        ASSERT_TRUE(Gr8 && Pho && Joined && Alb && Inv);
        Main->btnInvertClick();
        const QStringList Files = QDir(Dir.path()).entryList(QDir::Files);
        QStringList Expected;
        const QList<TChildWinGraphic*> Wins = {Gr8, Gr8, Pho, Pho, Joined, Alb, Inv, Inv};
        for (const char* Name : {"page.GR8", "old.GR8", "photo.PHO", "old.PHO", "joined.PHO", "album.PHO",
                                 "inverted.GR8", "old.GR8"}) {
            Wins[Expected.size()]->SaveToFile(Dir.filePath(Name));
            Expected << Asked({Dir.filePath(Name)}, "mGR8OneColour");
        }
        Joined->SaveBMP640x384As4PICs();
        Expected << Asked({Dir.filePath("WIDE_1.PIC"), Dir.filePath("WIDE_3.PIC"), Dir.filePath("WIDE_2.PIC"),
                           Dir.filePath("WIDE_4.PIC")},
                          "mGR8OneColour");
        EXPECT_EQ(Questions, Expected);
        EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), Files); // no file written
        EXPECT_EQ(ReadWholeFile(Old) + ReadWholeFile(OldPhoto), "old pageold photo");
        EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
        for (QMdiSubWindow* Sub : Main->MdiArea->subWindowList()) delete Sub;
    }
}
