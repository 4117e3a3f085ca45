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

    // A Micropainter page without registers uses the base colours.
    G.RenderPic(Img, 7680, 319, nullptr, 15, Base);
    for (int X = 0; X < 8; ++X) EXPECT_EQ(Px(Img, X, 0), WinColorToRgb(Base[X / 2]) & 0xFFFFFF);

    // 8 in the current colours; 119 puts hue lines on even and luminance lines on odd rows.
    gr8forecolor = 0x0000FF;
    G.PicBuffer[0] = 0x80;
    G.RenderPic(Img, 1, 319, nullptr, 8, Base);
    EXPECT_EQ(Px(Img, 0, 0), 0xFF0000u);
    EXPECT_EQ(Px(Img, 1, 0), 0x000000u);
    G.ClearPicBuffer();
    G.PicBuffer[40] = 0x20;   // second hue line
    G.PicBuffer[3840] = 0x0F; // first luminance line
    G.RenderPic(Img, 7680, 319, nullptr, 119, Base);
    EXPECT_EQ(Px(Img, 0, 2), 0x7F3200u);
    EXPECT_EQ(Px(Img, 4, 1), 0xF0F0F0u);
    EXPECT_EQ(Px(Img, 0, 1), 0x000000u);
    EXPECT_EQ(G.PlotY, 193); // 96 luminance lines from row 1, two rows each
}

TEST_F(AtariRender, ProgressCursorAndClipping) {
    QImage Img = Blank(320, 192);
    std::vector<std::pair<int, int>> Steps;
    const TProgressFn Rec = [&](int P, int M) { Steps.push_back({P, M}); };
    G.RenderPic(Img, 1024, 319, Rec, 8, Base);
    EXPECT_EQ(Steps, (std::vector<std::pair<int, int>>{{512, 1024}, {1024, 1024}}));
    Steps.clear();
    G.RenderPic(Img, 0, 319, Rec, 8, Base);
    G.RenderPic(Img, 7680, 319, Rec, 7, Base);
    EXPECT_TRUE(Steps.empty());
    EXPECT_EQ(Px(Img, 0, 0), 0x000000u);

    // A whole buffer through a tiny image and odd row widths stays inside the image.
    G.PicBuffer.fill(0xFF);
    QImage Small = Blank(3, 2);
    for (int Mode : {8, 9, 15, 119, 911}) G.RenderPic(Small, 99999, 639, nullptr, Mode, Base);
    G.RenderPic(Small, 32000, -5, nullptr, 8, Base);
    EXPECT_EQ(G.PlotX, 0);
    EXPECT_EQ(G.PlotY, 256000);
}

} // namespace
