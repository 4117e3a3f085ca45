// The GR.8 writer, the four-page split, albums and hostile files.
#include "test_atarigraphic_common.h"

#include <QDir>
#include <sys/stat.h>

namespace {

using AtariWrite = AtariGraphicTest;

// (Pages round trip byte for byte through the picture window's save.)
TEST_F(AtariWrite, OnlyPureWhitePacksAsASetBit) {
    QImage Img = Blank(320, 192);
    const QRgb Near[] = {qRgb(0xFF, 0xFF, 0xFF), qRgb(0xFE, 0xFF, 0xFF), qRgb(0xFF, 0xFE, 0xFF),
                         qRgb(0xFF, 0xFF, 0xFE)};
    for (int X = 0; X < 4; ++X) Img.setPixel(X, 0, Near[X]);
    G.ImageToGR8Bits(Img, 39, 191, 0, 0);
    EXPECT_EQ(G.GR8Buffer[0], 0x80);
}

// Pages drawn in two colours pack back in the picture window's tests; in one colour,
// or after another mode, only white is set.
TEST_F(AtariWrite, Gr8RenderingInOneColourOrAnotherModePacksOnlyWhite) {
    gr8forecolor = gr8backcolor = 0xFFFFFF;
    QImage Img = Blank(320, 192);
    G.RenderPic(Img, 7680, 319, nullptr, 8, Base);
    EXPECT_TRUE(G.Packing.OneColour());
    EXPECT_EQ(G.ImageToGR8Bits(Img, 39, 191, 0, 0), 7680);
    EXPECT_EQ(std::count(G.GR8Buffer.begin(), G.GR8Buffer.end(), 0xFF), 7680);
    gr8forecolor = 0x0000FF;
    G.RenderPic(Img, 7680, 319, nullptr, 8, Base);
    EXPECT_NE(G.Packing, TBitPacking());
    G.RenderPic(Img, 7680, 319, nullptr, 9, Base);
    EXPECT_EQ(G.Packing, TBitPacking());
}

// A page is lost when it packs all clear or all set while its area shows more than
// one colour, and whenever it was drawn in one GR.8 colour.
TEST_F(AtariWrite, BlankPackingOfAPictureIsFoundAndAskedAbout) {
    QImage Img = Filled(320, 192, qRgb(0, 0, 0));
    const QRect Page(0, 0, 320, 192);
    EXPECT_FALSE(TAtariGraphic::PacksBlank(Img, Page)); // black on black: blank indeed
    Img.setPixel(319, 191, qRgb(255, 0, 0));
    EXPECT_TRUE(TAtariGraphic::PacksBlank(Img, Page));
    EXPECT_FALSE(TAtariGraphic::PacksBlank(Img, QRect(0, 0, 319, 191))); // outside the area
    EXPECT_FALSE(TAtariGraphic::PacksBlank(Img, QRect(400, 0, 10, 10)));
    Img.setPixel(0, 0, qRgb(255, 255, 255));
    EXPECT_FALSE(TAtariGraphic::PacksBlank(Img, Page)); // one set bit
    // All set: red and yellow on a page drawn red on blue, the second inverted.
    const TBitPacking RedOnBlue(0x0000FF, 0xFF0000);
    QImage Full = Filled(320, 192, qRgb(255, 0, 0));
    EXPECT_FALSE(TAtariGraphic::PacksBlank(Full, Page, RedOnBlue));
    Full.setPixel(5, 5, qRgb(255, 255, 0)); // the inverted blue
    EXPECT_TRUE(TAtariGraphic::PacksBlank(Full, Page, RedOnBlue));
    for (const quint32 C : {0x0000FFu, 0xFFFFFFu})
        EXPECT_TRUE(
            TAtariGraphic::PacksBlank(Filled(8, 1, WinColorToRgb(C)), QRect(0, 0, 8, 1), TBitPacking(C, C)));
    // Four pages each of one colour, not all the same: blank pages lose the picture.
    RecordQuestions();
    QImage Wide = Filled(640, 384, qRgb(255, 0, 0));
    EXPECT_EQ(G.SaveAs4PICs(Wide, Dir.filePath("red"), 0).size(), 4); // all red: blank on screen too
    EXPECT_TRUE(Questions.isEmpty());
    for (int Y = 0; Y < 192; ++Y)
        for (int X = 0; X < 320; ++X) Wide.setPixel(X, Y, qRgb(0, 0, 0));
    EXPECT_TRUE(G.SaveAs4PICs(Wide, Dir.filePath("black"), 0).isEmpty());
    EXPECT_EQ(Questions.size(), 1);
}

TEST_F(AtariWrite, SplitIntoFourPagesAndJoinAgain) {
    const QByteArray Whole = Random(30720, 12);
    std::copy_n(reinterpret_cast<const quint8*>(Whole.constData()), 30720, G.PicBuffer.begin());
    QImage Img = Blank(640, 384);
    G.RenderPic(Img, 30720, 639, nullptr, 8, Base);

    for (int Mode : {0, 1}) {
        const QString BasePath = Dir.filePath(QStringLiteral("pg%1").arg(Mode));
        const QStringList Names = G.SaveAs4PICs(Img, BasePath, Mode);
        ASSERT_EQ(Names.size(), 4);
        EXPECT_TRUE(Boxes.last().section('|', 1).startsWith(GetMsg("mPicsSaved") + "\r\n" + Names[0] + ","));
        // Join as the 2 x 2 page command does: sorted names, placed by rows or by columns.
        QStringList Sorted = Names;
        Sorted.sort();
        const int Place[2][4] = {{0, 1, 2, 3}, {0, 2, 1, 3}}; // TL TR BL BR from s0..s3
        QByteArray Joined(32000, '\0');
        for (int Q = 0; Q < 4; ++Q) {
            const QByteArray Part = ReadWholeFile(Sorted[Place[Mode][Q]]);
            ASSERT_EQ(Part.size(), 7680);
            for (int K = 0; K < 7680; ++K)
                Joined[(Q >= 2 ? 15360 : 0) + 80 * (K / 40) + (Q % 2 ? 40 : 0) + K % 40] = Part[K];
        }
        EXPECT_EQ(Joined.left(30720), Whole) << "mode " << Mode;
    }
}

TEST_F(AtariWrite, SplitChecksAllFourTargetsBeforeWritingAny) {
    const auto Split = [&](const char* Base, const TProgressFn& Progress = nullptr) {
        return ErrorOf([&] { G.SaveAs4PICs(Blank(640, 384), Dir.filePath(Base), 0, Progress); })
            .toStdString();
    };
    const auto Fifo = [&](const char* Name) {
        return ::mkfifo(QFile::encodeName(Dir.filePath(Name)).constData(), 0600) == 0;
    };
    const auto Refused = [&](const char* Kind, const char* Name) {
        return QStringLiteral("%1: Keine gewöhnliche Datei, sondern %2 (%3)")
            .arg(QString::number(ioNotRegularFile), Kind, Dir.filePath(Name))
            .toStdString();
    };
    // Regular files only: no FIFO, no folder.
    const auto Written = [&](const char* Base) {
        return QDir(Dir.path()).entryList({QString(Base) + "_*"}, QDir::Files).join(',').toStdString();
    };
    // _3 is the second page written, _4 the last; an old _1 stays as it was.
    ASSERT_TRUE(Fifo("f_3.PIC"));
    ASSERT_TRUE(QDir(Dir.path()).mkdir("d_4.PIC"));
    Write("f_1.PIC", "old");
    EXPECT_EQ(Split("f"), Refused("eine FIFO", "f_3.PIC"));
    EXPECT_EQ(Split("d"), Refused("ein Ordner", "d_4.PIC"));
    EXPECT_EQ(Written("f") + Written("d"), "f_1.PIC");
    EXPECT_EQ(ReadWholeFile(Dir.filePath("f_1.PIC")), "old");
    ASSERT_TRUE(QFile::remove(Dir.filePath("f_3.PIC")));
    RecordQuestions();
    Agree = true;
    EXPECT_EQ(Split("f"), "no error");
    EXPECT_EQ(ReadWholeFile(Dir.filePath("f_1.PIC")).size(), 7680); // replaced after a question
    EXPECT_EQ(Questions.size(), 1);

    // A write that still fails (_2 turns into a FIFO after two pages) names the page
    // and those already written.
    Boxes.clear();
    const auto Late = [&](int Page, int) {
        if (Page == 2) Fifo("late_2.PIC");
    };
    EXPECT_EQ(Split("late", Late), Refused("eine FIFO", "late_2.PIC") +
                                       ("\r\n" + GetMsg("mPicsSavedBefore") + "\r\n" +
                                        Dir.filePath("late_1.PIC") + ",\r\n" + Dir.filePath("late_3.PIC"))
                                           .toStdString());
    EXPECT_EQ(Written("late"), "late_1.PIC,late_3.PIC");
    EXPECT_TRUE(Boxes.isEmpty());
}

TEST_F(AtariWrite, AlbumContactSheets) {
    int Total = 0, Count = 0, MaxW = 0, MaxH = 0;
    G.LoadAlbum(Write("one.alb", AlbumFile(AlbumEntry("ONE", 10, 20, char(0xFF)))), Total, Count, MaxW, MaxH);
    EXPECT_EQ(std::make_tuple(Total, Count, MaxW, MaxH),
              std::make_tuple(17 + 200, 1, 128, 36)); // 79 is below 120
    QImage One = Blank(MaxW * 5, MaxH + 32);
    G.ShowAlbum(One, 5, true, true);
    // The picture is centred: dx = (128 - 79) / 2 -> 24 (half to even), dy = 8.
    EXPECT_EQ(QList<quint32>({Px(One, 24, 8), Px(One, 23, 8), Px(One, 103, 27), Px(One, 104, 27)}),
              QList<quint32>({0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000}));
}
} // namespace
