// Identification table and format info; palette and renderer modes.
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

TEST_F(AtariRender, PaletteLookups) {
    EXPECT_EQ(TAtariGraphic::Gr11Color(1), 0x004078u);                           // 784000 as a Windows colour
    EXPECT_EQ(TAtariGraphic::AtariColor(0xF7), TAtariGraphic::AtariColor(0x17)); // hue 15 repeats hue 1
    EXPECT_TRUE(TAtariGraphic::IsBitSet(0x01, 7) && !TAtariGraphic::IsBitSet(0x01, 0));
}

// The renderer's layouts are checked against the plot cursor with the open tests;
// these pin the colours themselves.
TEST_F(AtariRender, ModesDrawTheTableColours) {
    QImage Img = Blank(320, 192);
    G.PicBuffer[0] = 0x0F;
    G.RenderPic(Img, 1, 319, nullptr, 9, Base);
    for (int X = 0; X < 8; ++X) EXPECT_EQ(Px(Img, X, 0), X < 4 ? 0x000000u : 0xF0F0F0u);

    // 911: row 0 holds hues at luminance 4, row 1 luminances.
    G.ClearPicBuffer();
    G.PicBuffer[0] = 0x10;
    G.PicBuffer[40] = 0x10;
    G.RenderPic(Img, 41, 319, nullptr, 911, Base);
    for (int X = 0; X < 8; ++X) {
        EXPECT_EQ(Px(Img, X, 0), X < 4 ? 0x784000u : 0x404040u);
        EXPECT_EQ(Px(Img, X, 1), X < 4 ? 0x101010u : 0x000000u);
    }

    // 15: colour registers 00 29 3A 47 lose bit 0; bit pairs 00 01 10 11.
    G.ClearPicBuffer();
    G.PicBuffer[0] = 0x1B;
    G.PicBuffer[7680] = 0x00, G.PicBuffer[7681] = 0x29, G.PicBuffer[7682] = 0x3A, G.PicBuffer[7683] = 0x47;
    G.RenderPic(Img, 7684, 319, nullptr, 15, Base);
    const quint32 Want[4] = {0x000000, 0xBF7223, 0xDA868C, 0x8A4198};
    for (int X = 0; X < 8; ++X) EXPECT_EQ(Px(Img, X, 0), Want[X / 2]);
}

} // namespace
