// The window-free picture open: albums with empty entries, photo round trips under
// every dialect setting, bitmap header limits.
#include "test_atarigraphic_common.h"
#include "uPictureOpen.h"

#include <QBuffer>

namespace {

using PictureOpen = AtariGraphicTest;

// A canvas that keeps the picture as a window would.
struct TTestCanvas {
    QImage Picture;
    TPictureCanvas Canvas() {
        TPictureCanvas C;
        C.NewPicture = [this](int W, int H, QSize) -> QImage& {
            Picture = QImage(W, H, QImage::Format_RGB32);
            Picture.fill(0);
            return Picture;
        };
        C.SetPicture = [this](const QImage& P) { Picture = P; };
        return C;
    }
};

TEST_F(PictureOpen, AlbumEntryWithoutDataCountsAndGetsBothCaptions) {
    const QByteArray Entries = AlbumEntry("ONE", 2, 8, char(0xFF)) + AlbumEntry("EMPTY", 0, 5, 0) +
                               AlbumEntry("TWO", 3, 6, char(0xFF));
    const QString Path = Write("E.ALB", AlbumFile(Entries));
    G.PicInfo.FileType = "ALB";
    TTestCanvas C;
    TAtariSTGraphic ST;
    OpenPictureFile(Path, "E.ALB", G, ST, {}, C.Canvas());
    ASSERT_EQ(G.AlbumCount, 3);
    EXPECT_EQ(G.Album[1].DataSize, 0);
    EXPECT_EQ(G.Album[1].Name, QByteArray("EMPTY").leftJustified(15, ' '));
    EXPECT_EQ(G.AlbumMaxWidth, 128);
    EXPECT_EQ(G.AlbumMaxHeight, 8 + 16);
    EXPECT_EQ(C.Picture.size(), QSize(5 * 128, 24 + 32));
    EXPECT_EQ(G.PicInfo.Width, 128);
    EXPECT_EQ(G.PicInfo.Height, 24);

    // Name captions in F0CAA6 (a Windows value), size captions in grey, one each a column.
    auto Has = [&](int Col, int Top, QRgb Colour) {
        for (int Y = Top; Y < Top + 8; ++Y)
            for (int X = Col * 128; X < (Col + 1) * 128; ++X)
                if ((C.Picture.pixel(X, Y) & 0xFFFFFF) == Colour) return true;
        return false;
    };
    int Names = 0, Sizes = 0;
    for (int Col = 0; Col < 5; ++Col) {
        Names += Has(Col, 24 + 4, 0xA6CAF0);
        Sizes += Has(Col, 24 + 12, 0x808080);
    }
    EXPECT_EQ(Names, 3);
    EXPECT_EQ(Sizes, 3);
    // The empty entry draws no picture pixels: its column stays back colour above the captions.
    for (int Y = 0; Y < 24; ++Y)
        for (int X = 128; X < 256; ++X) ASSERT_EQ(C.Picture.pixel(X, Y) & 0xFFFFFF, 0u) << X << "," << Y;
}

TEST_F(PictureOpen, PhotosWrittenReopenAtTheirSizeUnderEverySetting) {
    for (int Pho : {0, 1, 2})
        for (QSize Size : {QSize(80, 40), QSize(79, 40), QSize(320, 192), QSize(8, 1)}) {
            SCOPED_TRACE(testing::Message() << Pho << " " << Size.width() << "x" << Size.height());
            QImage Img(Size, QImage::Format_RGB32);
            std::mt19937 Gen(Size.width() * 7 + Pho);
            for (int Y = 0; Y < Img.height(); ++Y)
                for (int X = 0; X < Img.width(); ++X) Img.setPixel(X, Y, Gen() & 1 ? 0xFFFFFFFF : 0xFF000000);
            const QString Path = Dir.filePath("RT.PHO");
            std::vector<std::pair<int, int>> Steps;
            ASSERT_TRUE(G.SavePhoto(Img, Path, Pho, [&](int P, int M) { Steps.push_back({P, M}); }));
            // Data size + 2, two zero bytes, the data, rows and bytes per row (the older
            // dialect, every setting but 1, stores them minus 1).
            const int W = (Size.width() + 7) / 8 * 8, Bytes = W / 8 * Size.height(), Less = Pho == 1 ? 0 : 1;
            const QByteArray Head = Eol(QByteArray::number(Bytes + 2) + "|") + QByteArray(2, 0);
            const QByteArray Tail =
                Eol(QByteArray::number(Size.height() - Less) + "|" + QByteArray::number(W / 8 - Less) + "|");
            const QByteArray File = ReadWholeFile(Path);
            EXPECT_EQ(File.size(), Head.size() + Bytes + Tail.size());
            EXPECT_TRUE(File.startsWith(Head) && File.endsWith(Tail));
            EXPECT_EQ(Steps.back(), std::make_pair(Bytes / 100 * 100, Bytes + 2));

            TAtariGraphic L;
            TAtariSTGraphic ST;
            L.PicInfo.FileType = "PHO";
            TPictureOpenOptions O;
            O.PhoFormat = Pho;
            TTestCanvas C;
            OpenPictureFile(Path, "RT.PHO", L, ST, O, C.Canvas());
            ASSERT_EQ(C.Picture.size(), QSize(W, Size.height()));
            EXPECT_EQ(L.PicInfo.Width, W);
            EXPECT_EQ(L.PicInfo.Height, Size.height());
            EXPECT_EQ(C.Picture.copy(0, 0, Size.width(), Size.height()), Img);
        }
    ASSERT_TRUE(G.SavePhoto(Blank(80, 40), Dir.filePath("OLD.PHO"), 255, nullptr));
    EXPECT_TRUE(ReadWholeFile(Dir.filePath("OLD.PHO")).endsWith(Eol("39|9|")));

    // More packed bytes than the picture buffer holds: refused, nothing written.
    Boxes.clear();
    EXPECT_FALSE(G.SavePhoto(Blank(640, 401), Dir.filePath("huge.pho"), 0, nullptr));
    EXPECT_FALSE(QFile::exists(Dir.filePath("huge.pho")));
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].second, GetMsg("mFormat320"));
    // A count beyond the buffer is no photo.
    int Size = 0, LastX = 0, Height = 0;
    EXPECT_THROW(G.ParsePhoto(Eol("32003|") + QByteArray(32003, 0) + Eol("0|0|"), Size, LastX, Height, 0),
                 EMorvanelError);
}

// A bitmap header: file header, 40-byte info header, no palette.
QByteArray BitmapHeader(qint32 W, qint32 H, quint16 Bits) {
    QByteArray B(54, '\0');
    auto Put32 = [&](int At, quint32 V) {
        for (int I = 0; I < 4; ++I) B[At + I] = char(V >> (8 * I));
    };
    B[0] = 'B', B[1] = 'M';
    Put32(10, 54);
    Put32(14, 40);
    Put32(18, quint32(W));
    Put32(22, quint32(H));
    B[26] = 1;
    B[28] = char(Bits);
    return B;
}

TEST_F(PictureOpen, BitmapsAreRefusedByTheirHeaderBeforeDecoding) {
    auto Refused = [&](const QByteArray& Data, const char* Text) {
        try {
            LoadBitmapFile(Write("X.BMP", Data), "X.BMP");
            ADD_FAILURE() << "accepted";
        } catch (const EConvertError& E) {
            EXPECT_TRUE(E.Message().startsWith(QString::fromUtf8(Text))) << E.Message().toStdString();
        }
    };
    // Claims far beyond the limits are refused from the header alone.
    Refused(BitmapHeader(60000, 60000, 24).leftJustified(60, '\0'), "Bild zu groß (60000 x 60000 Pixel)");
    Refused(BitmapHeader(32000, -32000, 24), "Bild zu groß");
    Refused(BitmapHeader(MaxPictureSide + 1, 1, 1), "Bild zu groß");
    Refused(BitmapHeader(11586, 11586, 8), "Bild zu groß"); // sides fit, pixels do not
    Refused(BitmapHeader(0, 10, 24), "Ungültiges Bitmap");
    // Within the limits, but uncompressed rows the file does not hold.
    Refused(BitmapHeader(8000, 8000, 24).leftJustified(60, '\0'), "Ungültiges Bitmap");
    Refused("BM", "Ungültiges Bitmap");
    Refused("GIF89a" + QByteArray(60, 0), "Ungültiges Bitmap");

    // A real bitmap decodes pixel for pixel, also with bytes after its end.
    QImage Img(13, 7, QImage::Format_RGB32);
    for (int Y = 0; Y < 7; ++Y)
        for (int X = 0; X < 13; ++X) Img.setPixel(X, Y, qRgb(X * 19, Y * 31, (X ^ Y) * 13));
    QByteArray Bmp;
    {
        QBuffer Buf(&Bmp);
        Buf.open(QIODevice::WriteOnly);
        ASSERT_TRUE(Img.save(&Buf, "BMP"));
    }
    const QImage Back = LoadBitmapFile(Write("OK.BMP", Bmp + QByteArray(5000, 'x')), "OK.BMP");
    EXPECT_EQ(Back.convertToFormat(QImage::Format_RGB32), Img);
    EXPECT_EQ(BitmapFileLimit(Bmp, Bmp.size(), "OK.BMP"), 54 + 40 * 7); // rows of 39 bytes padded to 40
    // The last row may lack its padding byte, not more.
    EXPECT_NO_THROW(BitmapFileLimit(Bmp, 54 + 40 * 6 + 39, "OK.BMP"));
    EXPECT_THROW(BitmapFileLimit(Bmp, 54 + 40 * 6 + 38, "OK.BMP"), EConvertError);
}

// A picture within our own limit but beyond Qt's default reader limit opens whole.
// Run-length coding keeps the file small: runs of 255 pixels and an end of line.
TEST_F(PictureOpen, LargeRunLengthBitmapOpensAtItsSize) {
    constexpr int Side = 8000;
    QByteArray Bmp = BitmapHeader(Side, Side, 8);
    auto Put32 = [&](int At, quint32 V) {
        for (int I = 0; I < 4; ++I) Bmp[At + I] = char(V >> (8 * I));
    };
    Put32(30, 1); // RLE8
    Put32(46, 4); // palette entries
    for (QRgb C : {0x000000u, 0x102030u, 0xA0B0C0u, 0xFF0000u})
        for (int Shift : {0, 8, 16, 24}) Bmp += char(Shift == 24 ? 0 : C >> Shift);
    Put32(10, quint32(Bmp.size()));
    // Rows are stored bottom first: the bottom row starts with a run of index 3, the
    // top row is index 2, everything else index 1.
    for (int Row = 0; Row < Side; ++Row) {
        for (int X = 0; X < Side; X += 255) {
            const int Index = Row == Side - 1 ? 2 : Row == 0 && X == 0 ? 3 : 1;
            Bmp += char(std::min(255, Side - X));
            Bmp += char(Index);
        }
        Bmp += QByteArray(2, '\0');
    }
    Bmp += QByteArray("\0\1", 2);
    Put32(2, quint32(Bmp.size()));
    ASSERT_LT(Bmp.size(), 600 * 1024);

    G.PicInfo.FileType = "BMP";
    TTestCanvas C;
    TAtariSTGraphic ST;
    OpenPictureFile(Write("BIG.BMP", Bmp), "BIG.BMP", G, ST, {}, C.Canvas());
    ASSERT_EQ(C.Picture.size(), QSize(Side, Side));
    EXPECT_EQ(G.PicInfo.Width, Side);
    EXPECT_EQ(G.PicInfo.Height, Side);
    EXPECT_EQ(C.Picture.pixel(0, Side - 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(C.Picture.pixel(254, Side - 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(C.Picture.pixel(255, Side - 1) & 0xFFFFFF, 0x102030u);
    EXPECT_EQ(C.Picture.pixel(Side - 1, 0) & 0xFFFFFF, 0xA0B0C0u);
    EXPECT_EQ(C.Picture.pixel(Side / 2, Side / 2) & 0xFFFFFF, 0x102030u);
}

} // namespace

namespace {

// The renderer pixel by pixel through the plot cursor, as each mode is defined.
QImage PlotReference(TAtariGraphic& G, QImage Img, int Count, int LastX, int Mode, const quint32 (&Base)[4]) {
    G.PlotX = 0;
    G.PlotY = 0;
    // Bytes From..Count; Colour gives pixel P of byte B. Step: a row per 40 bytes.
    auto Bytes = [&](int From, bool Step, auto Colour) {
        for (int I = From; I <= Count; ++I) {
            for (int P = 0; P < 8; ++P) G.PlotPixel(Img, Colour(G.PicBuffer[I - 1], P), LastX);
            if (Step && I % 40 == 0) ++G.PlotY;
        }
    };
    const auto Hue = [](quint8 B, int P) { return TAtariGraphic::Gr11Color(P < 4 ? B >> 4 : B & 15); };
    const auto Lum = [](quint8 B, int P) { return TAtariGraphic::AtariColor(P < 4 ? B >> 4 : B & 15); };
    quint32 C[4];
    for (int K = 0; K < 4; ++K)
        C[K] = Count >= 7684 ? TAtariGraphic::AtariColorEven(G.PicBuffer[7680 + K]) : Base[K];
    switch (Mode) {
    case 8:
        Bytes(1, false,
              [](quint8 B, int P) { return TAtariGraphic::IsBitSet(B, P) ? gr8forecolor : gr8backcolor; });
        break;
    case 9:
        Bytes(1, false, Lum);
        break;
    case 911:
        Bytes(1, false, [&](quint8 B, int P) { return G.PlotY % 2 == 0 ? Hue(B, P) : Lum(B, P); });
        break;
    case 119:
        Bytes(1, true, Hue);
        G.PlotX = 0;
        G.PlotY = 1;
        Bytes(3841, true, Lum);
        break;
    case 15:
        Bytes(1, false, [&](quint8 B, int P) { return C[(B >> (6 - 2 * (P / 2))) & 3]; });
        break;
    }
    return Img;
}

} // namespace

TEST_F(PictureOpen, RenderEqualsThePlotCursorForEveryModeWidthAndClip) {
    const QByteArray Data = Random(32000, 77);
    std::copy_n(reinterpret_cast<const quint8*>(Data.constData()), 32000, G.PicBuffer.begin());
    gr8forecolor = 0x3366CC;
    gr8backcolor = 0x102030;
    const quint32 Colours[4] = {0x010203, 0x5FB7CF, 0x70D890, 0x904F1F};
    for (int Mode : {8, 9, 911, 119, 15})
        for (int LastX : {319, 100, 3, 0, -1})
            for (QSize Size : {QSize(320, 192), QSize(50, 30)})
                for (int Count : {1, 777, 7684}) {
                    QImage Fast = Blank(Size.width(), Size.height());
                    G.RenderPic(Fast, Count, LastX, nullptr, Mode, Colours);
                    const int X = G.PlotX, Y = G.PlotY;
                    const QImage Want =
                        PlotReference(G, Blank(Size.width(), Size.height()), Count, LastX, Mode, Colours);
                    ASSERT_EQ(Fast, Want) << Mode << " " << LastX << " " << Size.width() << " " << Count;
                    ASSERT_EQ(X, G.PlotX);
                    ASSERT_EQ(Y, G.PlotY);
                }
    // Progress every 512 bytes (256 in four-colour mode), against the byte count.
    std::vector<std::pair<int, int>> Steps;
    const TProgressFn Rec = [&](int P, int M) { Steps.push_back({P, M}); };
    QImage Img = Blank(320, 192);
    G.RenderPic(Img, 1024, 319, Rec, 8, Colours);
    G.RenderPic(Img, 600, 319, Rec, 15, Colours);
    G.RenderPic(Img, 0, 319, Rec, 8, Colours);
    EXPECT_EQ(Steps, (std::vector<std::pair<int, int>>{{512, 1024}, {1024, 1024}, {256, 600}, {512, 600}}));
    // A count beyond the buffer into a tiny image and odd row widths stay inside both.
    QImage Small = Blank(3, 2);
    for (int Mode : {8, 9, 15, 119, 911}) G.RenderPic(Small, 99999, 639, nullptr, Mode, Colours);
    G.RenderPic(Small, 32000, -5, nullptr, 8, Colours);
    EXPECT_EQ(G.PlotX, 0);
    EXPECT_EQ(G.PlotY, 256000);
}
