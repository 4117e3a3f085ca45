// Identification table and format info; the palette.
#include "test_atari_reference.h"
#include "test_atarigraphic_common.h"

namespace {

const QByteArray KoalaMagic("\xFF\x80\xC9\xC7", 4);

class AtariIdentify : public AtariGraphicTest {
protected:
    // Type code of a file of Size bytes named Name (real file written lower case).
    QString TypeOf(const QString& Name, int Size, const QByteArray& Head = QByteArray()) {
        QByteArray Data(Size, '\x11');
        Data.replace(0, std::min<qsizetype>(Head.size(), Size), Head.left(Size));
        TAtariGraphic T;
        T.IdentifyFileType(Write(Name.toLower(), Data), Name);
        EXPECT_EQ(T.PicInfo.FileSize, Size);
        return T.PicInfo.FileType;
    }
};

TEST_F(AtariIdentify, SizeMagicAndExtensionInOrder) {
    // Size before extension, magic before both.
    EXPECT_EQ(TypeOf("X.PHO", 7684), "MIC");
    EXPECT_EQ(TypeOf("A.APC", 7720), "APAC");
    EXPECT_EQ(TypeOf("A.APC", 7680), "MIC");
    EXPECT_EQ(TypeOf("A.256", 7680), "APAC2");
    EXPECT_EQ(TypeOf("A.AP2", 7681), "MIC");
    EXPECT_EQ(TypeOf("A.BLD", 7680), "GR8");
    EXPECT_EQ(TypeOf("A.LUM", 10), "TECHNICOLOR");
    EXPECT_EQ(TypeOf("a.gr8", 7680), "MIC");           // extensions compare case-sensitively
    EXPECT_EQ(TypeOf("A.MIC", 2), "MIC");              // too short for the magic: no exception
    EXPECT_EQ(TypeOf("A.PHO", 10, KoalaMagic), "KOA"); // cut header: left to the loader
}

TEST_F(AtariIdentify, DisplayNameComesFromThePathAndForceTypeStops) {
    G.IdentifyFileType(Write("pic.gr8", QByteArray(7680, 0)));
    EXPECT_EQ(G.PicInfo.FileType, "GR8");
    TAtariGraphic F;
    F.PicInfo.ForceType = true;
    F.IdentifyFileType(Write("k.koa", KoalaMagic + QByteArray(40, 0)));
    EXPECT_EQ(F.PicInfo.FileType, "UNK");
    EXPECT_EQ(F.PicInfo.FileSize, 44);
    EXPECT_THROW(G.IdentifyFileType(Dir.filePath("missing.gr8")), EInOutError);
}

TEST_F(AtariIdentify, KoalaCompressionFromTheHeader) {
    QByteArray Koala = KoalaMagic + QByteArray(40, 0);
    Koala[7] = 2;
    G.IdentifyFileType(Write("k.gr8", Koala), "K.GR8");
    G.SetFormatInfo();
    EXPECT_EQ(G.PicInfo.FileType, "KOA");
    EXPECT_EQ(G.PicInfo.CompressionText, "2 = horiz. komprimiert");
    EXPECT_EQ(G.PicInfo.Width, 160);
    G.PicInfo.KoalaCompression = 3;
    G.SetFormatInfo();
    EXPECT_EQ(G.PicInfo.CompressionText, "<unknown>");
}

using AtariRender = AtariGraphicTest;

// Every colour value as a four-colour register draws its entry with bit 0 dropped;
// the look-up gives every entry. (The pages of each mode are compared pixel for
// pixel where files are opened.)
TEST_F(AtariRender, EveryPaletteEntry) {
    QImage Img = Blank(320, 192);
    G.PicBuffer[0] = 0x1B; // two pixels each of registers 0 to 3
    for (int N = 0; N < 256; N += 4) {
        for (int K = 0; K < 4; ++K) G.PicBuffer[7680 + K] = quint8(N + K);
        G.RenderPic(Img, 7684, 319, nullptr, 15, Base);
        for (int X = 0; X < 8; ++X) EXPECT_EQ(Img.pixel(X, 0), ref::Entry((N + X / 2) & 0xFE)) << N + X / 2;
    }
    for (int N = 0; N < 256; ++N) {
        const quint32 RGB = ref::Palette[N];
        EXPECT_EQ(TAtariGraphic::AtariColor(N), RGB >> 16 | (RGB & 0xFF00) | (RGB & 0xFF) << 16) << N;
    }
}

} // namespace
