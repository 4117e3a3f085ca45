// Fuzz target: bitmaps and JPEG pictures as the picture window decodes them, from
// memory: the bitmap header limits first, then Qt's bitmap reader, and the JPEG
// codec. Refusals are expected; crashes, hangs and huge allocations are not.
#include "FileIO.h"
#include "JPEGImage.h"
#include "uPictureOpen.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    // Qt's bitmap reader warns about every broken palette; the fuzzer wants no noise.
    static const bool Quiet = [] {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        return true;
    }();
    (void)Quiet;
    const QByteArray In(reinterpret_cast<const char*>(Data), qsizetype(Size));
    try {
        const QImage Picture = DecodeBitmap(In, QStringLiteral("F.BMP"));
        if (Picture.width() > MaxPictureSide || Picture.height() > MaxPictureSide) __builtin_trap();
    } catch (const EMorvanelError&) {
    }
    try {
        TJPEGImage Jpeg;
        Jpeg.LoadFromData(In);
    } catch (const EMorvanelError&) {
    }
    return 0;
}

// Seeds: small bitmaps of the common depths and a small JPEG picture.
void MakeSeeds(const QString& Dir) {
    QImage Img(23, 11, QImage::Format_RGB32);
    for (int Y = 0; Y < Img.height(); ++Y)
        for (int X = 0; X < Img.width(); ++X) Img.setPixel(X, Y, qRgb(X * 11, Y * 23, (X ^ Y) * 9));
    auto Save = [&](const char* File, const QImage& Picture, const char* Format) {
        QFile F(QDir(Dir).filePath(QLatin1String(File)));
        if (F.open(QIODevice::WriteOnly | QIODevice::Truncate)) Picture.save(&F, Format);
    };
    Save("rgb32.bmp", Img, "BMP");
    Save("rgb888.bmp", Img.convertToFormat(QImage::Format_RGB888), "BMP");
    Save("indexed8.bmp", Img.convertToFormat(QImage::Format_Indexed8), "BMP");
    Save("mono.bmp", Img.convertToFormat(QImage::Format_Mono), "BMP");
    try {
        TJPEGImage Jpeg;
        Jpeg.Assign(Img);
        QFile F(QDir(Dir).filePath(QStringLiteral("small.jpg")));
        if (F.open(QIODevice::WriteOnly | QIODevice::Truncate)) F.write(Jpeg.SaveToData());
    } catch (const EMorvanelError&) {
    }
}
