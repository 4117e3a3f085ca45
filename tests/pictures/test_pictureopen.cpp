// The window-free picture open: albums with empty entries, photo round trips under
// every dialect setting, Koala failure output, bitmap header limits, the type table.
#include "test_atarigraphic_common.h"
#include "uPictureOpen.h"

#include <QBuffer>

namespace {

using PictureOpen = AtariGraphicTest;

// A canvas that keeps the picture as a window would and records how it was asked.
struct TTestCanvas {
    QImage Picture;
    QSize Shown;
    int Calls = 0;
    TPictureCanvas Canvas() {
        TPictureCanvas C;
        C.NewPicture = [this](int W, int H, QSize S) -> QImage& {
            ++Calls;
            Picture = QImage(W, H, QImage::Format_RGB32);
            Picture.fill(0);
            Shown = S;
            return Picture;
        };
        C.SetPicture = [this](const QImage& P) {
            ++Calls;
            Picture = P;
        };
        return C;
    }
};

QByteArray AlbumEntry(const QByteArray& Name, int WidthBytes, int Height, char Fill) {
    return Name.leftJustified(15, ' ', true) + char(Height) + char(WidthBytes) +
           QByteArray(WidthBytes * Height, Fill);
}

TEST_F(PictureOpen, AlbumEntryWithoutDataCountsAndGetsBothCaptions) {
    const QByteArray Entries = AlbumEntry("ONE", 2, 8, char(0xFF)) + AlbumEntry("EMPTY", 0, 5, 0) +
                               AlbumEntry("TWO", 3, 6, char(0xFF));
    const QString Path = Write("E.ALB", QByteArray::number(Entries.size()) + "\x9b" + Entries);
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

TEST_F(PictureOpen, PhotosReopenAtTheirSizeUnderEverySetting) {
    for (int Pho : {0, 1, 2}) {
        for (QSize Size : {QSize(80, 40), QSize(79, 40), QSize(320, 192), QSize(8, 1)}) {
            QImage Img(Size, QImage::Format_RGB32);
            std::mt19937 Gen(Size.width() * 7 + Pho);
            for (int Y = 0; Y < Img.height(); ++Y)
                for (int X = 0; X < Img.width(); ++X) Img.setPixel(X, Y, Gen() & 1 ? 0xFFFFFFFF : 0xFF000000);
            const QString Path = Dir.filePath("RT.PHO");
            ASSERT_TRUE(G.SavePhoto(Img, Path, Pho, nullptr));

            TAtariGraphic L;
            TAtariSTGraphic ST;
            L.PicInfo.FileType = "PHO";
            TPictureOpenOptions O;
            O.PhoFormat = Pho;
            TTestCanvas C;
            OpenPictureFile(Path, "RT.PHO", L, ST, O, C.Canvas());
            const int W = (Size.width() + 7) / 8 * 8;
            ASSERT_EQ(C.Picture.size(), QSize(W, Size.height())) << Pho << " " << Size.width();
            EXPECT_EQ(L.PicInfo.Width, W);
            EXPECT_EQ(L.PicInfo.Height, Size.height());
            EXPECT_EQ(C.Picture.copy(0, 0, Size.width(), Size.height()), Img) << Pho << " " << Size.width();
        }
    }
    // Every setting but 1 writes the older dialect: rows and bytes per row minus 1.
    for (int Pho : {0, 2, 255}) {
        ASSERT_TRUE(G.SavePhoto(Blank(80, 40), Dir.filePath("OLD.PHO"), Pho, nullptr));
        EXPECT_TRUE(ReadWholeFile(Dir.filePath("OLD.PHO"))
                        .endsWith(QByteArray(1, 0) + "39\x9b"
                                                     "9\x9b"));
    }
    ASSERT_TRUE(G.SavePhoto(Blank(80, 40), Dir.filePath("NEW.PHO"), 1, nullptr));
    EXPECT_TRUE(ReadWholeFile(Dir.filePath("NEW.PHO"))
                    .endsWith(QByteArray(1, 0) + "40\x9b"
                                                 "10\x9b"));
    // A count beyond the buffer is no photo.
    int Size = 0, LastX = 0, Height = 0;
    EXPECT_THROW(G.ParsePhoto("32003\x9b" + QByteArray(32003, 0) +
                                  "0\x9b"
                                  "0\x9b",
                              Size, LastX, Height, 0),
                 EMorvanelError);
}

TEST_F(PictureOpen, KoalaCutShortKeepsItsSizeAndWhatWasDecoded) {
    QByteArray Head(27, '\0');
    Head.replace(0, 4, "\xFF\x80\xC9\xC7");
    Head[7] = 2;
    int Size = 0;
    EXPECT_THROW(G.ParseKoala(Head.left(20), Size), EInOutError);
    EXPECT_EQ(Size, 7684);
    Size = 0;
    EXPECT_THROW(G.ParseKoala(Head + QByteArray::fromHex("03AA"
                                                         "8511"),
                              Size),
                 EInOutError);
    EXPECT_EQ(Size, 7684);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(G.PicBuffer.data()), 5),
              QByteArray::fromHex("AAAAAA1100"));
    // The file-reading path reports the same.
    Size = 0;
    EXPECT_THROW(G.LoadKoala(Write("CUT.KOA", Head + "\x05"), Size), EInOutError);
    EXPECT_EQ(Size, 7684);
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

TEST_F(PictureOpen, TheTableSizesEachTypeAsTheWindowShowsIt) {
    struct {
        const char* Type;
        QByteArray Data;
        QSize Size, Shown;
    } Cases[] = {
        {"GR8", QByteArray(7680, char(0x80)), {320, 192}, {}},
        {"MIC", QByteArray(7684, 0), {320, 192}, {}},
        {"PI2", QByteArray(32034, 0), {640, 200}, {640, 400}},
        {"PC2", QByteArray(34, 0) + QByteArray::fromHex("81FF").repeated(250), {640, 200}, {640, 400}},
        {"STAD", QByteArray("pM85\xF0\x00\xF1\xF1\xFF\x03", 10), {640, 400}, {}},
        {"NEO", QByteArray(32128, 0), {320, 200}, {}},
    };
    for (const auto& K : Cases) {
        TAtariGraphic L;
        TAtariSTGraphic ST;
        L.PicInfo.FileType = K.Type;
        TTestCanvas C;
        OpenPictureFile(Write("T.BIN", K.Data), "T.BIN", L, ST, {}, C.Canvas());
        EXPECT_EQ(C.Calls, 1) << K.Type;
        EXPECT_EQ(C.Picture.size(), K.Size) << K.Type;
        EXPECT_EQ(C.Shown, K.Shown) << K.Type;
    }
    // A joined GR.8 page takes the joined size into the picture info.
    TAtariGraphic J;
    TAtariSTGraphic ST;
    J.PicInfo.FileType = "GR8";
    TPictureOpenOptions O;
    O.JoinedLayout = 2;
    TTestCanvas C;
    OpenPictureFile(Write("J.PIC", QByteArray(30720, char(0xFF))), "J.PIC", J, ST, O, C.Canvas());
    EXPECT_EQ(C.Picture.size(), QSize(640, 384));
    EXPECT_EQ(J.PicInfo.Width, 640);
    EXPECT_EQ(J.PicInfo.Height, 384);
    EXPECT_EQ(C.Picture.pixel(639, 383), WinColorToRgb(gr8forecolor));
    EXPECT_TRUE(IsPictureType("JPG"));
    EXPECT_FALSE(IsPictureType("FNT"));
    EXPECT_FALSE(IsPictureType("SOLIDSTATES"));
}

} // namespace

namespace {

// The renderer pixel by pixel through the plot cursor, as each mode is defined.
QImage PlotReference(TAtariGraphic& G, QImage Img, int Count, int LastX, int Mode, const quint32 (&Base)[4]) {
    G.PlotX = 0;
    G.PlotY = 0;
    auto Nibbles = [&](int From, bool Step, auto Colour) {
        for (int I = From; I <= Count; ++I) {
            const quint8 B = G.PicBuffer[I - 1];
            for (int P = 0; P < 8; ++P) G.PlotPixel(Img, Colour(P < 4 ? B >> 4 : B & 15), LastX);
            if (Step && I % 40 == 0) ++G.PlotY;
        }
    };
    quint32 C[4];
    for (int K = 0; K < 4; ++K)
        C[K] = Count >= 7684 ? TAtariGraphic::AtariColorEven(G.PicBuffer[7680 + K]) : Base[K];
    switch (Mode) {
    case 8:
        for (int I = 1; I <= Count; ++I)
            for (int P = 0; P < 8; ++P)
                G.PlotPixel(Img, TAtariGraphic::IsBitSet(G.PicBuffer[I - 1], P) ? gr8forecolor : gr8backcolor,
                            LastX);
        break;
    case 9:
        Nibbles(1, false, [](int N) { return TAtariGraphic::AtariColor(N); });
        break;
    case 911:
        Nibbles(1, false, [&](int N) {
            return G.PlotY % 2 == 0 ? TAtariGraphic::Gr11Color(N) : TAtariGraphic::AtariColor(N);
        });
        break;
    case 119:
        Nibbles(1, true, [](int N) { return TAtariGraphic::Gr11Color(N); });
        G.PlotX = 0;
        G.PlotY = 1;
        Nibbles(3841, true, [](int N) { return TAtariGraphic::AtariColor(N); });
        break;
    case 15:
        for (int I = 1; I <= Count; ++I)
            for (int P = 0; P < 8; ++P)
                G.PlotPixel(Img, C[(G.PicBuffer[I - 1] >> (6 - 2 * (P / 2))) & 3], LastX);
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
    QImage Img = Blank(320, 192);
    G.RenderPic(
        Img, 1024, 319,
        [&](int P, int M) {
            Steps.push_back({P, M});
        },
        8, Colours);
    EXPECT_EQ(Steps, (std::vector<std::pair<int, int>>{{512, 1024}, {1024, 1024}}));
    Steps.clear();
    G.RenderPic(
        Img, 600, 319,
        [&](int P, int M) {
            Steps.push_back({P, M});
        },
        15, Colours);
    EXPECT_EQ(Steps, (std::vector<std::pair<int, int>>{{256, 600}, {512, 600}}));
}
