// Fuzz target: identification and one 8-bit parser with its renderer per input, all
// from memory. Byte 0 chooses the photo dialect (bits 0-1: settings 0, 1, 2 and
// 255) and the name identification sees (bits 2-5); byte 1 the parser (modulo 5)
// and the renderer mode of raw pictures; the rest is the file, whose two halves
// also serve as a Technicolor pair. One path an input keeps executions cheap.
#include "FuzzSupport.h"
#include "uTAtariGraphic.h"

#include <QDir>
#include <QFile>
#include <array>
#include <cstdint>

namespace {

const char* const Names[16] = {"P.GR8", "P.GR9", "P.AP2", "P.256", "P.APC", "P.PIC", "P.PHO", "P.ALB",
                               "P.COL", "P.LUM", "P.KOA", "P.MIC", "P.PAC", "P.PI1", "P",     "P.gr8"};
const int PhoSettings[4] = {0, 1, 2, 255};
const quint32 Colors[4] = {0x000000, 0x5FB7CF, 0x70D890, 0x904F1F};

// Images are bounded by the parsers; anything larger is a fault. The largest is an
// album sheet: five pictures of 255 bytes (2040 pixels) a row, 21 rows of pictures
// up to 255 lines with their captions.
QImage SafeImage(int W, int H) {
    constexpr qint64 LargestSheet = qint64(5 * 2040) * (21 * (255 + 32) + 8);
    if (W < 1 || H < 1 || qint64(W) * H > LargestSheet) __builtin_trap();
    QImage Img(W, H, QImage::Format_RGB32);
    Img.fill(0);
    return Img;
}

template <class F> void Guard(F&& Body) {
    try {
        Body();
    } catch (const EMorvanelError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    static const bool Quiet = [] {
        SetMessageBoxHook([](TMsgKind, const QString&, const QString&) {});
        return true;
    }();
    (void)Quiet;
    if (Size < 2) return 0;
    const int Options = Data[0];
    const int Path = Data[1] % 5;
    const int Mode = std::array{8, 9, 15, 119, 911}[(Data[1] / 5) % 5];
    const QByteArray In(reinterpret_cast<const char*>(Data + 2), qsizetype(Size - 2));
    const int PhoFormat = PhoSettings[Options & 3];
    const QString Name = QLatin1String(Names[(Options >> 2) & 15]);
    // The renderers write what they cover; the page is reused between inputs.
    static QImage Page = SafeImage(320, 238);
    static QImage Narrow = SafeImage(37, 50);

    TAtariGraphic G;
    int Bytes = 0;
    G.IdentifyData(In.left(TAtariGraphic::IdentifyHeadSize), In.size(), Name);
    G.SetFormatInfo();

    switch (Path) {
    case 0:
        G.ParseRawPic(In.left(TAtariGraphic::MaxRawFileSize), Bytes);
        G.RenderPic(Page, Bytes, 319, nullptr, Mode, Colors);
        // An odd row length and a narrow image take the wrapping and clipping paths.
        G.RenderPic(Narrow, Bytes, 45, nullptr, Mode, Colors);
        break;
    case 1:
        Guard([&] {
            G.ParseKoala(In.left(TAtariGraphic::MaxKoalaFileSize), Bytes, Name);
            G.RenderPic(Page, Bytes, 319, nullptr, 15, Colors);
        });
        break;
    case 2:
        Guard([&] {
            const qsizetype Half = In.size() / 2;
            G.ParseTechnicolor(In.left(Half).left(TAtariGraphic::MaxTechnicolorFileSize),
                               In.mid(Half).left(TAtariGraphic::MaxTechnicolorFileSize), Bytes);
            if (Bytes < 0 || Bytes > TAtariGraphic::PicBufferSize) __builtin_trap();
            G.ShowTechnicolor(Page, Bytes, 319, nullptr, 911, Colors);
        });
        break;
    case 3:
        Guard([&] {
            int LastX = 0, Height = 0;
            G.ParsePhoto(In.left(TAtariGraphic::MaxPhotoFileSize), Bytes, LastX, Height, PhoFormat, Name);
            // A loaded photo always fits the writer's buffer.
            if ((LastX + 1) % 8 != 0 || qint64((LastX + 1) / 8) * Height > TAtariGraphic::PicBufferSize)
                __builtin_trap();
            QImage Img = SafeImage(LastX + 1, Height);
            G.RenderPic(Img, Bytes, LastX, nullptr, 8, Colors);
        });
        break;
    default:
        Guard([&] {
            int Total = 0, Count = 0, W = 0, H = 0;
            G.ParseAlbum(In.left(TAtariGraphic::MaxAlbumFileSize), Total, Count, W, H, Name);
            if (Count > TAtariGraphic::MaxAlbumPics) __builtin_trap();
            QImage Sheet = SafeImage(W * 5, (Count / 5 + 1) * (H + 16) + 8);
            G.ShowAlbum(Sheet, 5, true, true);
        });
    }
    return 0;
}

// Seeds: one small valid file of every kind, each behind its options byte.
void MakeSeeds(const QString& Dir) {
    // The parser for a file name (raw pictures: once for every renderer mode).
    auto PathOf = [](const char* File) {
        const QByteArray F(File);
        return F.startsWith("koa")   ? 1
               : F.startsWith("col") ? 2
               : F.startsWith("pho") ? 3
               : F.startsWith("alb") ? 4
                                     : 0;
    };
    auto Put = [&](const char* File, int NameIndex, int Pho, const QByteArray& Body) {
        const int Path = PathOf(File);
        for (int Mode = 0; Mode < (Path == 0 ? 5 : 1); ++Mode) {
            QFile F(QDir(Dir).filePath(QLatin1String(File) + QString::number(Mode)));
            if (F.open(QIODevice::WriteOnly | QIODevice::Truncate))
                F.write(QByteArray(1, char(NameIndex << 2 | Pho)) + char(Mode * 5 + Path) + Body);
        }
    };
    QByteArray Page(7680, '\0');
    for (int I = 0; I < Page.size(); ++I) Page[I] = char((I * 37) ^ (I >> 5));
    Put("gr8", 0, 0, Page);
    Put("gr9", 1, 0, Page);
    Put("ap2", 2, 0, Page);
    Put("apc", 4, 0, Page + QByteArray(40, 7));
    Put("mic", 11, 0, Page + "\x00\x28\x3A\x46");
    QByteArray Koala(27, '\0');
    Koala.replace(0, 4, "\xFF\x80\xC9\xC7");
    Koala[7] = 2;
    Koala[13] = 0x28, Koala[14] = 0x3A, Koala[15] = 0x46;
    Put("koa", 10, 0, Koala + QByteArray::fromHex("8311223305AA000100FF"));
    Put("col", 8, 0, QByteArray(6, 0) + Page.left(4760) + QByteArray(6, 0) + Page.mid(100, 4760));
    Put("col-pairs", 8, 0,
        QByteArray(6, 0) + QByteArray::fromHex("0903FF40") + QByteArray(6, 0) + "\x11\x50");
    const QByteArray Photo = "402\x9b" + QByteArray(2, 0) + Page.left(400) +
                             "39\x9b"
                             "9\x9b";
    for (int Pho = 0; Pho < 3; ++Pho)
        Put(QByteArray("pho" + QByteArray::number(Pho)).constData(), 6, Pho, Photo);
    QByteArray Entries;
    for (int I = 0; I < 3; ++I)
        Entries += QByteArray("PIC ").append(char('A' + I)).leftJustified(15, ' ') + char(8) + char(I) +
                   Page.left(8 * I);
    Put("alb", 7, 0, QByteArray::number(Entries.size()) + "\x9b" + Entries);

    // Damaged files: random data behind each kind's header, cut where the parsers
    // change course, through every parser under the name of its kind.
    auto Random = [](int Size, quint32 State) {
        QByteArray B(Size, '\0');
        for (char& C : B) {
            State = State * 1664525u + 1013904223u;
            C = char(State >> 24);
        }
        return B;
    };
    const QByteArray Damaged[] = {Random(40000, 21),
                                  Koala + Random(39973, 22),
                                  "402\x9b" + Random(39995, 23),
                                  "30000\x9b" + Random(39994, 24),
                                  QByteArray(40000, char(0x9b)),
                                  "4\x9b" + QByteArray::fromHex("00000102") +
                                      "1\x9b"
                                      "1\x9b" +
                                      Random(39988, 25)};
    const int Cuts[] = {0,   1,    2,    3,    4,    6,    7,     8,     27,   28,
                        100, 4766, 7679, 7680, 7684, 7720, 20000, 32001, 40000};
    const int NameOfPath[5] = {0, 10, 8, 6, 7};
    for (int D = 0; D < 6; ++D)
        for (int Cut : Cuts)
            for (int Path = 0; Path < 5; ++Path)
                WriteSeed(Dir, QStringLiteral("cut%1-%2-%3").arg(D).arg(Cut).arg(Path),
                          QByteArray(1, char(NameOfPath[Path] << 2)) + char(Path) + Damaged[D].left(Cut));
}
