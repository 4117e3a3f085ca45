// Fuzz target: identification, every 8-bit loader and the renderer on one input.
// The input is written as a picture file; its second half also serves as the
// Technicolor partner, and its first byte chooses the photo dialect.
#include "uTAtariGraphic.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

namespace {

void WriteFile(const QString& Path, const QByteArray& Data) {
    QFile F(Path);
    if (F.open(QIODevice::WriteOnly | QIODevice::Truncate)) F.write(Data);
}

// Images are bounded by the loaders; refuse anything that would not be.
QImage SafeImage(int W, int H) {
    if (W < 1 || H < 1 || qint64(W) * H > 16 * 1024 * 1024) abort();
    QImage Img(W, H, QImage::Format_RGB32);
    Img.fill(0);
    return Img;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    static QTemporaryDir Dir;
    static const bool Quiet = [] {
        SetMessageBoxHook([](TMsgKind, const QString&, const QString&) {});
        return true;
    }();
    (void)Quiet;
    if (!Dir.isValid()) return 0;

    const QByteArray In(reinterpret_cast<const char*>(Data), qsizetype(Size));
    const QString Col = Dir.filePath(QStringLiteral("f.col"));
    const QString Lum = Dir.filePath(QStringLiteral("F.LUM"));
    WriteFile(Col, In);
    WriteFile(Lum, In.mid(In.size() / 2));
    const quint32 Colors[4] = {0x000000, 0x5FB7CF, 0x70D890, 0x904F1F};
    const int PhoFormat = Size > 0 ? Data[0] & 1 : 0;

    TAtariGraphic G;
    int Bytes = 0;
    QImage Page = SafeImage(320, 238);
    auto Guard = [](auto&& Body) {
        try {
            Body();
        } catch (const EMorvanelError&) {
        }
    };
    Guard([&] {
        G.IdentifyFileType(Col, QStringLiteral("F.KOA"));
        G.SetFormatInfo();
    });
    Guard([&] {
        G.LoadRawPic(Col, Bytes);
        for (int Mode : {8, 9, 15, 119, 911}) G.RenderPic(Page, Bytes, 319, nullptr, Mode, Colors);
    });
    Guard([&] {
        G.LoadKoala(Col, Bytes);
        G.RenderPic(Page, Bytes, 319, nullptr, 15, Colors);
    });
    Guard([&] {
        G.LoadTechnicolor(Lum, Bytes);
        G.ShowTechnicolor(Page, Bytes, 319, nullptr, 911, Colors);
    });
    Guard([&] {
        int LastX = 0, Height = 0;
        G.LoadPhoto(Col, Bytes, LastX, Height, PhoFormat);
        QImage Img = SafeImage(LastX + 1, Height);
        G.RenderPic(Img, Bytes, LastX, nullptr, 8, Colors);
        // A loaded photo always fits the writer: a refusal here would be a fault.
        if (!G.SavePhoto(Img, Dir.filePath(QStringLiteral("o.pho")), PhoFormat, nullptr)) abort();
    });
    Guard([&] {
        int Total = 0, Count = 0, W = 0, H = 0;
        G.LoadAlbum(Col, Total, Count, W, H);
        if (Count > TAtariGraphic::MaxAlbumPics) abort();
        QImage Sheet = SafeImage(W * 5, (Count / 5 + 1) * (H + 16) + 8);
        G.ShowAlbum(Sheet, 5, true, true);
    });
    return 0;
}
