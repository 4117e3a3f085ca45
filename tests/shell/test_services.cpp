#include "JPEGImage.h"
#include "test_shell_common.h"

#include <memory>

TEST(Services, NamesBitsAndStrings) {
    EXPECT_EQ(QStringList({NameBeforeDot("A.B.C"), NameBeforeDot("NAME"), DisplayName("/tmp/ä/bild.gr8"),
                           UpperAscii("straße.pic"), ExtractFileExtUpper("DEMO"),
                           ExtractFileExtUpper("a.b/demo.pas"), RepeatString(' ', 3), RepeatString(' ', -2)}),
              QStringList({"A", "NAME", "BILD.GR8", "STRAßE.PIC", "", ".PAS", "   ", ""}));
    quint8 B = 0;
    SetBit(B, 7);
    ToggleBit(B, 3);
    const quint8 Set = B;
    InvertByte(B);
    const quint8 Inverted = B;
    ClearBit(B, 6);
    EXPECT_EQ(std::make_tuple(GetBit(Set, 7), Set, Inverted, B),
              std::make_tuple(true, quint8(0x88), quint8(0x77), quint8(0x37)));
}

TEST_F(FileTest, FileLengthDeleteLookupAndFailedWrites) {
    const QString Big = Write("big.bin", QByteArray(65537, 'x'));
    EXPECT_EQ(GetFileLength(Big), 65537);
    EXPECT_THROW(GetFileLength(Dir.filePath("none")), EInOutError);
    DeleteFileIfExists(Dir.filePath("none"));
    DeleteFileIfExists(Big);
    EXPECT_FALSE(QFile::exists(Big));
    Write("Pic.lum", "x");
    EXPECT_EQ(FindFileCaseInsensitive(Dir.path(), "PIC.LUM"), Dir.path() + "/Pic.lum");
    Write("PIC.LUM", "y");
    EXPECT_EQ(FindFileCaseInsensitive(Dir.path(), "PIC.LUM"), Dir.path() + "/PIC.LUM");
    EXPECT_TRUE(ErrorOf([&] {
                    ReadWholeFile(Dir.filePath("nothing.gr8"));
                }).startsWith(QString::number(ioFileNotFound) + ": Datei nicht gefunden"));

    // A failed write leaves the old file.
    const QString Path = Write("keep.fnt", "old");
    EXPECT_THROW(WriteWholeFile(Dir.filePath("no/such/dir/x"), "new"), EInOutError);
    QFile::setPermissions(Dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    if (!QFile(Dir.filePath("probe")).open(QIODevice::WriteOnly)) { // not root
        EXPECT_THROW(WriteWholeFile(Path, "new"), EInOutError);
        EXPECT_EQ(ReadWholeFile(Path), QByteArray("old"));
    }
    QFile::setPermissions(Dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(Services, InvertImageTwiceRestoresAndFill) {
    QImage Img(5, 3, QImage::Format_RGB32);
    for (int Y = 0; Y < 3; ++Y)
        for (int X = 0; X < 5; ++X) Img.setPixel(X, Y, qRgb(X * 40, Y * 80, 7));
    const QImage Orig = Img;
    InvertImage(Img);
    EXPECT_EQ(Img.pixel(1, 1), qRgb(255 - 40, 255 - 80, 248));
    InvertImage(Img);
    EXPECT_EQ(Img, Orig);
    FillImage(Img, 0x0000FF);
    EXPECT_EQ(Img.pixel(4, 2), qRgb(255, 0, 0));
}

TEST(Jpeg, WriteThenReadAndCorruptData) {
    QImage Img(64, 32, QImage::Format_RGB32);
    for (int Y = 0; Y < 32; ++Y)
        for (int X = 0; X < 64; ++X) Img.setPixel(X, Y, qRgb(X * 4, Y * 8, 128));
    TJPEGImage Out;
    Out.Assign(Img);
    const QByteArray Data = Out.SaveToData();
    ASSERT_TRUE(Data.startsWith("\xFF\xD8"));
    TJPEGImage In;
    In.LoadFromData(Data);
    ASSERT_EQ(In.Image().size(), QSize(64, 32));
    const QRgb P = In.Image().pixel(20, 10);
    EXPECT_NEAR(qRed(P), 80, 8);
    EXPECT_NEAR(qGreen(P), 80, 8);
    EXPECT_NEAR(qBlue(P), 128, 8);
    for (const QByteArray& Bad : {QByteArray("not a jpeg at all"), Data.left(100), QByteArray()}) {
        const QString Error = ErrorOf([&] { TJPEGImage().LoadFromData(Bad); });
        EXPECT_TRUE(Error.startsWith("JPEG-Fehler #")) << Error.toStdString();
    }
}

TEST(Services, SplashPictureComesFromTheResources) {
    std::unique_ptr<TJPEGImage> Jpeg(LoadJPEGResource("RESSPLASHIMG"));
    ASSERT_TRUE(Jpeg);
    EXPECT_EQ(Jpeg->Image().size(), QSize(400, 220));
    EXPECT_EQ(LoadJPEGResource("NOSUCHRES"), nullptr);
}
