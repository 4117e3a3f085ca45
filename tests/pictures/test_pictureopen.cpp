// The window-free picture open: albums with empty entries, photo round trips under
// every dialect setting, bitmap headers; the renderer against each mode's definition;
// every limit of the picture readers and writers.
#include "ImageView.h"
#include "JPEGImage.h"
#include "test_atari_reference.h"
#include "test_atarigraphic_common.h"
#include "uChildWinGraphic.h"
#include "uMain.h"
#include "uPictureOpen.h"

#include <QBuffer>

namespace {

using PictureOpen = AtariGraphicTest;

// Opens Path as a picture of Type into G, as a window does; the picture it shows.
QImage Opened(TAtariGraphic& G, const QString& Path, const char* Type, const TPictureOpenOptions& O = {}) {
    QImage Picture;
    TPictureCanvas C;
    C.NewPicture = [&](int W, int H, QSize) -> QImage& {
        Picture = QImage(W, H, QImage::Format_RGB32);
        Picture.fill(0);
        return Picture;
    };
    C.SetPicture = [&](const QImage& P) { Picture = P; };
    TAtariSTGraphic ST;
    G.PicInfo.FileType = Type;
    OpenPictureFile(Path, DisplayName(Path), G, ST, O, C);
    return Picture;
}

TEST_F(PictureOpen, AlbumEntryWithoutDataCountsAndGetsBothCaptions) {
    const QByteArray Entries = AlbumEntry("ONE", 2, 8, char(0xFF)) + AlbumEntry("EMPTY", 0, 5, 0) +
                               AlbumEntry("TWO", 3, 6, char(0xFF));
    const QImage Picture = Opened(G, Write("E.ALB", AlbumFile(Entries)), "ALB");
    ASSERT_EQ(G.AlbumCount, 3);
    EXPECT_EQ(G.Album[1].DataSize, 0);
    EXPECT_EQ(G.Album[1].Name, QByteArray("EMPTY").leftJustified(15, ' '));
    EXPECT_EQ(QSize(G.AlbumMaxWidth, G.AlbumMaxHeight), QSize(128, 8 + 16));
    EXPECT_EQ(Picture.size(), QSize(5 * 128, 24 + 32));
    EXPECT_EQ(QSize(G.PicInfo.Width, G.PicInfo.Height), QSize(128, 24));

    // Name captions in F0CAA6 (a Windows value), size captions in grey, one each a column.
    auto Has = [&](int Col, int Top, QRgb Colour) {
        for (int Y = Top; Y < Top + 8; ++Y)
            for (int X = Col * 128; X < (Col + 1) * 128; ++X)
                if ((Picture.pixel(X, Y) & 0xFFFFFF) == Colour) return true;
        return false;
    };
    int Names = 0, Sizes = 0;
    for (int Col = 0; Col < 5; ++Col) {
        Names += Has(Col, 24 + 4, 0xA6CAF0);
        Sizes += Has(Col, 24 + 12, 0x808080);
    }
    EXPECT_EQ(std::make_pair(Names, Sizes), std::make_pair(3, 3));
    // The empty entry draws no picture pixels: its column stays back colour above the captions.
    for (int Y = 0; Y < 24; ++Y)
        for (int X = 128; X < 256; ++X) ASSERT_EQ(Picture.pixel(X, Y) & 0xFFFFFF, 0u) << X << "," << Y;
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
            TPictureOpenOptions O;
            O.PhoFormat = Pho;
            const QImage Picture = Opened(L, Path, "PHO", O);
            ASSERT_EQ(Picture.size(), QSize(W, Size.height()));
            EXPECT_EQ(QSize(L.PicInfo.Width, L.PicInfo.Height), QSize(W, Size.height()));
            EXPECT_EQ(Picture.copy(0, 0, Size.width(), Size.height()), Img);
        }
    ASSERT_TRUE(G.SavePhoto(Blank(80, 40), Dir.filePath("OLD.PHO"), 255, nullptr));
    EXPECT_TRUE(ReadWholeFile(Dir.filePath("OLD.PHO")).endsWith(Eol("39|9|")));
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
        const QString Error = ErrorOf([&] { LoadBitmapFile(Write("X.BMP", Data), "X.BMP"); });
        EXPECT_TRUE(Error.startsWith(QString::fromUtf8(Text))) << Error.toStdString();
    };
    // Claims far beyond the limits are refused from the header alone.
    Refused(BitmapHeader(60000, 60000, 24).leftJustified(60, '\0'), "Bild zu groß (60000 x 60000 Pixel)");
    Refused(BitmapHeader(32000, -32000, 24), "Bild zu groß");
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
            Bmp += QByteArray(1, char(std::min(255, Side - X))) + char(Index);
        }
        Bmp += QByteArray(2, '\0');
    }
    Bmp += QByteArray("\0\1", 2);
    Put32(2, quint32(Bmp.size()));
    ASSERT_LT(Bmp.size(), 600 * 1024);

    const QImage Picture = Opened(G, Write("BIG.BMP", Bmp), "BMP");
    ASSERT_EQ(Picture.size(), QSize(Side, Side));
    EXPECT_EQ(QSize(G.PicInfo.Width, G.PicInfo.Height), QSize(Side, Side));
    EXPECT_EQ(
        QList<QRgb>({Picture.pixel(0, Side - 1), Picture.pixel(254, Side - 1), Picture.pixel(255, Side - 1),
                     Picture.pixel(Side - 1, 0), Picture.pixel(Side / 2, Side / 2)}),
        QList<QRgb>({0xFFFF0000, 0xFFFF0000, 0xFF102030, 0xFFA0B0C0, 0xFF102030}));
}

} // namespace

// Each mode pixel by pixel as defined, also at odd row widths, into small pictures
// and for counts short of the colour registers; where the cursor ends; progress.
TEST_F(PictureOpen, RenderDrawsEachModeAsDefinedAtEveryWidthAndClip) {
    const QByteArray Data = Random(32000, 77);
    std::copy_n(reinterpret_cast<const quint8*>(Data.constData()), 32000, G.PicBuffer.begin());
    gr8forecolor = 0x3366CC;
    gr8backcolor = 0x102030;
    const quint32 Colours[4] = {0x010203, 0x5FB7CF, 0x70D890, 0x904F1F};
    for (int Mode : {8, 9, 911, 119, 15})
        for (int LastX : {319, 100, 3, 0, -1})
            for (QSize Size : {QSize(320, 192), QSize(50, 30)})
                for (int Count : {1, 777, 7684}) {
                    QImage Fast = Blank(Size.width(), Size.height()), Want = Fast;
                    G.RenderPic(Fast, Count, LastX, nullptr, Mode, Colours);
                    const QPoint End = ref::Draw8(Want, Mode, Data, Count, LastX,
                                                  {Colours[0], Colours[1], Colours[2], Colours[3]},
                                                  gr8forecolor, gr8backcolor);
                    ASSERT_EQ(ref::FirstDifference(Fast, Want), "")
                        << Mode << " " << LastX << " " << Size.width() << " " << Count;
                    ASSERT_EQ(QPoint(G.PlotX, G.PlotY), End);
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

// Every limit of the picture readers and writers, tried exactly at it and one step
// past it. Each row gives what comes of both: the picture's size or a count, or the
// start of the error or warning.
TEST_F(PictureOpen, EveryLimitWorksExactlyAndRefusesOrCutsOnePast) {
    const auto Size = [](int W, int H) { return std::to_string(W) + "x" + std::to_string(H); };
    const auto Msg = [](const char* Key) { return " | " + GetMsg(Key).toStdString(); };
    const auto Lit = [](int W, int H) { return Filled(W, H, qRgb(255, 255, 255)); };
    // A photo of N data bytes (count line Count) and the lines Rows and Bytes.
    const auto Photo = [&](const QByteArray& Count, int N, int Rows, int Bytes, int Dialect) {
        int Used = 0, LastX = 0, Height = 0;
        G.ParsePhoto(Eol(Count + "|") + QByteArray(2 + N, char(0xFF)) +
                         Eol(QByteArray::number(Rows) + "|" + QByteArray::number(Bytes) + "|"),
                     Used, LastX, Height, Dialect);
        return Size(LastX + 1, Height);
    };
    const auto Koala = [&](int Count) {
        const QByteArray Run =
            Count < 128 ? QByteArray(1, char(Count)) : QByteArray(1, 0) + char(Count >> 8) + char(Count);
        int Used = 0;
        G.ParseKoala(KoalaHeader(2) + Run + '\x55', Used);
        return std::to_string(std::count(G.PicBuffer.begin(), G.PicBuffer.end(), 0x55)) + " " +
               std::to_string(G.PicBuffer[7680]);
    };
    // A Technicolor pair of files of one byte value 1: plain, or value/count pairs.
    const auto Technicolor = [&](int Hue, int Lum) {
        int Used = 0;
        G.ParseTechnicolor(QByteArray(Hue, 1), QByteArray(Lum, 1), Used);
        return G.PicInfo.CompressionText.toStdString() + " " + std::to_string(Used);
    };
    const auto Album = [&](const QByteArray& Entries) {
        int Total = 0, Count = 0, MaxW = 0, MaxH = 0;
        G.ParseAlbum(AlbumFile(Entries), Total, Count, MaxW, MaxH);
        return std::to_string(Count) + " " + std::to_string(MaxW);
    };
    const auto Sheet = [&](int Count) {
        WriteWholeFile(Dir.filePath("S.ALB"), AlbumFile(AlbumEntry("P", 1, 8, 1).repeated(Count)));
        const QImage Picture = Opened(G, Dir.filePath("S.ALB"), "ALB");
        return Size(Picture.width(), Picture.height());
    };
    const auto Bitmap = [&](int W, int H, int Info = 40) {
        QByteArray B = BitmapHeader(W, H, 24);
        B[14] = char(Info);
        if (Info < 40) { // 16-bit width, height, planes and bits
            const quint16 Old[4] = {quint16(W), quint16(H), 1, 24};
            for (int I = 0; I < 8; ++I) B[18 + I] = char(Old[I / 2] >> (I % 2 * 8));
        }
        BitmapFileLimit(B, qint64(1) << 40, "X.BMP");
        return std::string("ok");
    };
    const auto Jpeg = [&](int W, int H) {
        TJPEGImage J;
        J.Assign(Lit(W, H));
        J.LoadFromData(J.SaveToData());
        return Size(J.Width(), J.Height());
    };
    // Files lit pictures of 7681 bytes (one more than a picture uses) chosen for a page
    // of Count pictures: the page, or no window.
    const auto Joined = [&](int Files, int Count) {
        InitFolders();
        TfrmMain Main;
        frmMain = &Main;
        QStringList Paths;
        for (int I = 0; I < Files; ++I)
            Paths << Write(QString("J%1.PIC").arg(I), QByteArray(7681, char(0xFF)));
        Answer(Paths);
        Count == 2 ? Main.Open2PICsClick() : Main.Open4PICsClick();
        frmMain = nullptr;
        auto* Win = qobject_cast<TChildWinGraphic*>(Main.ActiveDocument());
        if (!Win) return std::string("none");
        const QImage& P = Win->ImgGraphic->Picture;
        return Size(P.width(), P.height()) + (P == Lit(P.width(), P.height()) ? " lit" : " not lit");
    };
    const struct {
        const char* What;
        int At, Past;
        std::function<std::string(int)> Try;
        std::string WantAt, WantPast;
    } Rows[] = {
        {"photo writer: rows of 640 pixels (32000 bytes)", 400, 401,
         [&](int H) {
             const QString P = Dir.filePath(QString("L%1.PHO").arg(H));
             if (!G.SavePhoto(Lit(640, H), P, 0, nullptr))
                 return "refused, file " + std::to_string(QFile::exists(P));
             int Used = 0, LastX = 0, Height = 0;
             TAtariGraphic L;
             L.LoadPhoto(P, Used, LastX, Height, 0);
             return Size(LastX + 1, Height) + " lit " +
                    std::to_string(std::count(L.PicBuffer.begin(), L.PicBuffer.end(), 0xFF));
         },
         "640x400 lit 32000", "refused, file 0" + Msg("mFormat320")},
        {"photo reader: data count", 32002, 32003,
         [&](int N) { return Photo(QByteArray::number(N), N - 2, 399, 79, 0); }, "640x400",
         "error Ungültige Datenlänge"},
        {"photo reader: data count, at least the two bytes", 2, 1,
         [&](int N) { return Photo(QByteArray::number(N), 0, 0, 0, 0); }, "8x1",
         "error Ungültige Datenlänge"},
        {"photo reader: rows of 80 bytes", 400, 401, [&](int H) { return Photo("2", 0, H, 80, 1); },
         "640x400", "error Ungültige Bildgröße"},
        {"photo reader: at least one row", 1, 0, [&](int H) { return Photo("2", 0, H, 80, 1); }, "640x1",
         "error Ungültige Bildgröße"},
        {"photo and album number lines: digits", 16, 17,
         [&](int L) { return Photo(QByteArray(L - 1, '0') + "2", 0, 0, 0, 0); }, "8x1", "error Zeile zu"},
        {"raw page: bytes read", 32000, 32001,
         [&](int N) {
             int Used = 0;
             G.LoadRawPic(Write("R.GR8", QByteArray(N, char(0xAB))), Used);
             return std::to_string(Used) + " " +
                    std::to_string(std::count(G.PicBuffer.begin(), G.PicBuffer.end(), 0xAB));
         },
         "32000 32000", "32000 32000"},
        {"Koala: picture bytes stored, registers kept", 7680, 7681, Koala, "7680 68", "7680 68"},
        {"Koala: count in the control byte, else in two bytes", 127, 128, Koala, "127 68", "128 68"},
        {"Technicolor: a plain .COL file", 4766, 4767, [&](int N) { return Technicolor(N, 4766); },
         "unkomprimiert 9520", "komprimiert 4760"},
        {"Technicolor: a plain .LUM file", 4766, 4765, [&](int N) { return Technicolor(4766, N); },
         "unkomprimiert 9520", "komprimiert 4759"},
        {"album: pictures", 100, 101, [&](int N) { return Album(AlbumEntry("M", 1, 1, 1).repeated(N)); },
         "100 128", "100 128"},
        {"album: data bytes of a picture", 8000, 8001,
         [&](int N) {
             return Album(AlbumEntry("BIG", N == 8000 ? 40 : 127, N == 8000 ? 200 : 63, 1) +
                          AlbumEntry("S", 1, 1, 1));
         },
         "2 319", "1 128"},
        {"album: cells at least 120 pixels wide", 16, 15,
         [&](int W) { return Album(AlbumEntry("W", W, 1, 1)); }, "1 127", "1 128"},
        {"album sheet: one row of pictures", 5, 6, Sheet, "640x56", "640x88"},
        {"album sheet: three rows", 10, 11, Sheet, "640x128", "640x128"},
        {"GR.8 pack: rows of 40 bytes", 192, 193,
         [&](int H) {
             const int Stored = G.ImageToGR8Bits(Lit(320, H), 39, H - 1, 0, 0);
             return std::to_string(Stored) + " " +
                    std::to_string(std::count(G.GR8Buffer.begin(), G.GR8Buffer.end(), 0xFF));
         },
         "7680 7680", "7680 7680"},
        {"four GR.8 pages: rows", 384, 385,
         [&](int H) { return std::to_string(G.SaveAs4PICs(Lit(640, H), Dir.filePath("Q"), 0).size()); },
         "4" + Msg("mPicsSaved"), "0" + Msg("mWrongRes1")},
        {"four GR.8 pages: columns", 640, 641,
         [&](int W) { return std::to_string(G.SaveAs4PICs(Lit(W, 384), Dir.filePath("C"), 0).size()); },
         "4" + Msg("mPicsSaved"), "0" + Msg("mWrongRes1")},
        {"four colours: registers drawn from byte 7684 on", 7684, 7683,
         [&](int N) {
             QImage Img = Blank(320, 192);
             G.ClearPicBuffer();
             G.PicBuffer[0] = 0x40; // register 1 or the second base colour
             G.PicBuffer[7681] = 0x29;
             G.RenderPic(Img, N, 319, nullptr, 15, Base);
             return QString::number(Px(Img, 0, 0), 16).toStdString();
         },
         "bf7223", "cfb75f"},
        {"bitmap: width", 32000, 32001, [&](int W) { return Bitmap(W, 1); }, "ok", "error Bild zu"},
        {"bitmap: height", 32000, 32001, [&](int H) { return Bitmap(1, H); }, "ok", "error Bild zu"},
        {"bitmap: pixels (128 x 1024 x 1024)", 8192, 8193, [&](int H) { return Bitmap(16384, H); }, "ok",
         "error Bild zu"},
        {"bitmap: info header", 40, 39, [&](int N) { return Bitmap(1, 1, N); }, "ok",
         "error Ungültiges Bitmap:"},
        {"bitmap, old 12-byte header: width", 32000, 32001, [&](int W) { return Bitmap(W, 1, 12); }, "ok",
         "error Bild zu"},
        {"bitmap, old 12-byte header: height", 32000, 32001, [&](int H) { return Bitmap(1, H, 12); }, "ok",
         "error Bild zu"},
        {"bitmap: the old 12-byte info header", 12, 13, [&](int N) { return Bitmap(1, 1, N); }, "ok",
         "error Ungültiges Bitmap:"},
        {"GR.8 save: a picture 320 pixels wide", 320, 321,
         [&](int W) {
             const QString P = Dir.filePath(QString("W%1.GR8").arg(W));
             TChildWinGraphic Win;
             Win.ImgGraphic->NewPicture(W, 192, 0xFFFFFF);
             Win.SaveToFile(P);
             return QFile::exists(P) ? std::to_string(ReadWholeFile(P).count('\xFF')) : "none";
         },
         "7680", "none" + Msg("mFormat320")},
        {"joined page: pictures for two", 2, 3, [&](int N) { return Joined(N, 2); }, "320x384 lit",
         "none" + Msg("mCh2PIC")},
        {"joined page: pictures for four", 4, 5, [&](int N) { return Joined(N, 4); }, "640x384 lit",
         "none" + Msg("mCh4PIC")},
        {"joined page: no fewer for two", 2, 1, [&](int N) { return Joined(N, 2); }, "320x384 lit",
         "none" + Msg("mCh2PIC")},
        {"joined page: no fewer for four", 4, 3, [&](int N) { return Joined(N, 4); }, "640x384 lit",
         "none" + Msg("mCh4PIC")},
        {"JPEG: width", 32000, 32001, [&](int W) { return Jpeg(W, 1); }, "32000x1", "error Bild zu"},
        {"JPEG: height", 32000, 32001, [&](int H) { return Jpeg(1, H); }, "1x32000", "error Bild zu"},
    };
    for (const auto& R : Rows)
        for (const bool Past : {false, true}) {
            Boxes.clear();
            std::string Got;
            try {
                Got = R.Try(Past ? R.Past : R.At);
            } catch (const EMorvanelError& E) {
                Got = "error " + E.Message().section(' ', 0, 1).toStdString();
            }
            for (const auto& B : Boxes) Got += " | " + B.section('|', 1).section("\r\n", 0, 0).toStdString();
            EXPECT_EQ(Got, Past ? R.WantPast : R.WantAt)
                << R.What << (Past ? ", one past: " : ", at: ") << (Past ? R.Past : R.At);
        }
}
