// Koala and Technicolor loaders. (Raw pages and uncompressed Koala files are compared
// pixel for pixel where the files are opened; photos round trip under every setting.)
#include "test_atarigraphic_common.h"

namespace {

using AtariLoad = AtariGraphicTest;

TEST_F(AtariLoad, KoalaRunsAndPlacement) {
    int Size = 0;
    // Horizontal: a literal run 83 112233, a repeat run 05 AA, a repeat run with a 16-bit
    // count 00 0100 FF, and a run of none.
    const QByteArray H = KoalaHeader(2) + QByteArray::fromHex("8311223305AA000100FF00000007");
    G.LoadKoala(Write("h.koa", H), Size);
    EXPECT_EQ(Size, 7684);
    const QByteArray Want =
        QByteArray::fromHex("112233") + QByteArray(5, char(0xAA)) + QByteArray(256, char(0xFF));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(G.PicBuffer.data()), Want.size() + 1), Want + '\0');
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(G.PicBuffer.data()) + 7680, 4),
              QByteArray::fromHex("44112233"));

    // Vertical: 96 even rows of a column, then its odd rows, then the next column: bytes
    // 1, 81, 41 and 2 of the buffer.
    QByteArray V = KoalaHeader(1);
    for (int I = 0; I < 193; ++I) V += QByteArray::fromHex("81") + char(I + 1);
    G.LoadKoala(Write("v.koa", V), Size);
    EXPECT_EQ(std::make_tuple(G.PicBuffer[0], G.PicBuffer[80], G.PicBuffer[40], G.PicBuffer[1]),
              std::make_tuple(1, 2, 97, 193));
}

TEST_F(AtariLoad, TechnicolorPairs) {
    int Size = 0;
    const QByteArray Hue = QByteArray(6, 'h') + Random(4760, 4);
    const QByteArray Lum = QByteArray(6, 'l') + Random(4760, 5);
    const QString Col = Write("pic.col", Hue);
    Write("PIC.Lum", Lum); // partner found without regard to case
    G.LoadTechnicolor(Col, Size);
    EXPECT_EQ(std::make_pair(Size, G.PicInfo.CompressionText),
              std::make_pair(9520, QString("unkomprimiert")));
    const auto FromCol = G.PicBuffer;
    TAtariGraphic L;
    L.LoadTechnicolor(Dir.filePath("PIC.Lum"), Size);
    EXPECT_EQ(L.PicBuffer, FromCol);

    // A 4000-byte partner makes both files value/count pairs; hostile counts stay in the buffer.
    Write("t.lum", QByteArray(6, 0) + QByteArray::fromHex("09030700") + Random(3990, 6));
    Write("t.col", QByteArray(6, 0) + QByteArray(4760, char(0xFF)));
    G.LoadTechnicolor(Dir.filePath("t.col"), Size);
    EXPECT_EQ(G.PicInfo.CompressionText, "komprimiert");
    EXPECT_EQ(std::make_tuple(G.PicBuffer[40], G.PicBuffer[42], G.PicBuffer[0]), std::make_tuple(9, 9, 0xFF));
    EXPECT_LE(Size, 32000);
    EXPECT_GT(Size, 3);

    Boxes.clear();
    G.LoadTechnicolor(Write("alone.col", Hue), Size);
    EXPECT_EQ(Size, 0);
    EXPECT_EQ(Boxes, QStringList{"Warnung|ALONE.LUM nicht gefunden!"});
}

} // namespace
