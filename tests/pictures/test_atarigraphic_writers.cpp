// The GR.8 writer, the four-page split, albums and hostile files.
#include "test_atarigraphic_common.h"

namespace {

using AtariWrite = AtariGraphicTest;

TEST_F(AtariWrite, GR8PageRoundTrip) {
    const QByteArray Page = Random(7680, 11);
    const QString Src = Write("page.gr8", Page);
    int Size = 0;
    G.LoadRawPic(Src, Size);
    QImage Img = Blank(320, 192);
    G.RenderPic(Img, Size, 319, nullptr, 8, Base);
    EXPECT_EQ(G.ImageToGR8Bits(Img, 39, 191, 0, 0), 7680);
    G.SaveGR8Pic(Dir.filePath("out.gr8"));
    EXPECT_EQ(ReadWholeFile(Dir.filePath("out.gr8")), Page);

    // Only pure white packs as a set bit.
    Img.setPixel(0, 0, qRgb(0xFE, 0xFE, 0xFE));
    G.ImageToGR8Bits(Img, 39, 191, 0, 0);
    EXPECT_EQ(G.GR8Buffer[0] & 0x80, 0);
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
        EXPECT_TRUE(Boxes.back().second.startsWith(GetMsg("mPicsSaved") + "\r\n" + Names[0] + ","));
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

TEST_F(AtariWrite, AlbumContactSheets) {
    int Total = 0, Count = 0, MaxW = 0, MaxH = 0;
    G.LoadAlbum(Write("one.alb", AlbumFile(AlbumEntry("ONE", 10, 20, char(0xFF)))), Total, Count, MaxW, MaxH);
    EXPECT_EQ(Total, 17 + 200);
    EXPECT_EQ(Count, 1);
    EXPECT_EQ(MaxW, 128); // 79 is below 120
    EXPECT_EQ(MaxH, 36);
    QImage One = Blank(MaxW * 5, MaxH + 32);
    G.ShowAlbum(One, 5, true, true);
    // The picture is centred: dx = (128 - 79) / 2 -> 24 (half to even), dy = 8.
    EXPECT_EQ(Px(One, 24, 8), 0xFFFFFFu);
    EXPECT_EQ(Px(One, 23, 8), 0x000000u);
    EXPECT_EQ(Px(One, 103, 27), 0xFFFFFFu);
    EXPECT_EQ(Px(One, 104, 27), 0x000000u);
}
} // namespace
