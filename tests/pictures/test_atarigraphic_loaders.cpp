// Koala and Technicolor loaders. (Raw pages and uncompressed Koala files are compared
// pixel for pixel where the files are opened; photos round trip under every setting.)
#include "test_atarigraphic_common.h"

namespace {

using AtariLoad = AtariGraphicTest;

TEST_F(AtariLoad, KoalaRunsAndPlacement) {
    int Size = 0;
    // Horizontal: a literal run, a repeat run and a repeat run with a 16-bit count.
    const QByteArray H = KoalaHeader(2) + QByteArray::fromHex("83112233"
                                                              "05AA"
                                                              "000100FF"
                                                              "00000007");
    G.LoadKoala(Write("h.koa", H), Size);
    EXPECT_EQ(Size, 7684);
    const QByteArray Want =
        QByteArray::fromHex("112233") + QByteArray(5, char(0xAA)) + QByteArray(256, char(0xFF));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(G.PicBuffer.data()), Want.size() + 1), Want + '\0');
    EXPECT_EQ(G.PicBuffer[7680], 0x44);
    EXPECT_EQ(G.PicBuffer[7681], 0x11);
    EXPECT_EQ(G.PicBuffer[7683], 0x33);

    // Vertical: 96 even rows of a column, then its odd rows, then the next column.
    QByteArray V = KoalaHeader(1);
    for (int I = 0; I < 193; ++I) V += QByteArray::fromHex("81") + char(I + 1);
    G.LoadKoala(Write("v.koa", V), Size);
    EXPECT_EQ(G.PicBuffer[0], 1);
    EXPECT_EQ(G.PicBuffer[80], 2);
    EXPECT_EQ(G.PicBuffer[40], 97); // buffer byte 41
    EXPECT_EQ(G.PicBuffer[1], 193); // buffer byte 2
}

TEST_F(AtariLoad, TechnicolorPairs) {
    int Size = 0;
    const QByteArray Hue = QByteArray(6, 'h') + Random(4760, 4);
    const QByteArray Lum = QByteArray(6, 'l') + Random(4760, 5);
    const QString Col = Write("pic.col", Hue);
    Write("PIC.Lum", Lum); // partner found without regard to case
    G.LoadTechnicolor(Col, Size);
    EXPECT_EQ(Size, 9520);
    EXPECT_EQ(G.PicInfo.CompressionText, "unkomprimiert");
    const auto FromCol = G.PicBuffer;
    TAtariGraphic L;
    L.LoadTechnicolor(Dir.filePath("PIC.Lum"), Size);
    EXPECT_EQ(L.PicBuffer, FromCol);

    // A 4000-byte partner makes both files value/count pairs; hostile counts stay in the buffer.
    QByteArray Pairs = QByteArray(6, 0) + QByteArray::fromHex("0903"
                                                              "0700");
    Write("t.lum", Pairs + Random(3990, 6));
    Write("t.col", QByteArray(6, 0) + QByteArray(4760, char(0xFF)));
    G.LoadTechnicolor(Dir.filePath("t.col"), Size);
    EXPECT_EQ(G.PicInfo.CompressionText, "komprimiert");
    EXPECT_EQ(G.PicBuffer[40], 9);
    EXPECT_EQ(G.PicBuffer[42], 9);
    EXPECT_EQ(G.PicBuffer[0], 0xFF);
    EXPECT_LE(Size, 32000);
    EXPECT_GT(Size, 3);

    Boxes.clear();
    G.LoadTechnicolor(Write("alone.col", Hue), Size);
    EXPECT_EQ(Size, 0);
    EXPECT_EQ(Boxes, QStringList{"Warnung|ALONE.LUM nicht gefunden!"});
}

} // namespace
