#pragma once
// What a picture should look like, worked out pixel by pixel from the layouts of the
// formats, independently of the renderers: the 256-colour palette as red-green-blue
// values, the 8-bit modes and the three ST resolutions.
#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>
#include <algorithm>
#include <array>
#include <string>

namespace ref {

constexpr quint32 Palette[256] = {
    0x000000, 0x101010, 0x202020, 0x303030, 0x404040, 0x505050, 0x606060, 0x707070, // hue 0
    0x808080, 0x909090, 0xA0A0A0, 0xB0B0B0, 0xC0C0C0, 0xD0D0D0, 0xE0E0E0, 0xF0F0F0,
    0x380000, 0x481000, 0x582000, 0x683000, 0x784000, 0x885000, 0x986000, 0xA87000, // hue 1
    0xB88000, 0xC89000, 0xD8A00C, 0xE8B01C, 0xF8C02C, 0xFFD03C, 0xFFE04C, 0xFFF05C,
    0x3F0000, 0x4F0200, 0x5F1200, 0x6F2200, 0x7F3200, 0x8F4200, 0x9F5203, 0xAF6213, // hue 2
    0xBF7223, 0xCF8233, 0xDF9243, 0xEFA253, 0xFFB263, 0xFFC273, 0xFFD283, 0xFFE293,
    0x3A0000, 0x4A0000, 0x5A060C, 0x6A161C, 0x7A262C, 0x8A363C, 0x9A464C, 0xAA565C, // hue 3
    0xBA666C, 0xCA767C, 0xDA868C, 0xEA969C, 0xFAA6AC, 0xFFB6BC, 0xFFC6CC, 0xFFD6DC,
    0x2A0038, 0x3A0048, 0x4A0158, 0x5A1168, 0x6A2178, 0x7A3188, 0x8A4198, 0x9A51A8, // hue 4
    0xAA61B8, 0xBA71C8, 0xCA81D8, 0xDA91E8, 0xEAA1F8, 0xFAB1FF, 0xFFC1FF, 0xFFD1FF,
    0x11007A, 0x21008A, 0x31019A, 0x4111AA, 0x5121BA, 0x6131CA, 0x7141DA, 0x8151EA, // hue 5
    0x9161FA, 0xA171FF, 0xB181FF, 0xC191FF, 0xD1A1FF, 0xE1B1FF, 0xF1C1FF, 0xFFD1FF,
    0x0000A4, 0x0500B4, 0x1508C4, 0x2518D4, 0x3528E4, 0x4538F4, 0x5548FF, 0x6558FF, // hue 6
    0x7568FF, 0x8578FF, 0x9588FF, 0xA598FF, 0xB5A8FF, 0xC5B8FF, 0xD5C8FF, 0xE5D8FF,
    0x0000AD, 0x0003BD, 0x0013CD, 0x0B23DD, 0x1B33ED, 0x2B43FD, 0x3B53FF, 0x4B63FF, // hue 7
    0x5B73FF, 0x6B83FF, 0x7B93FF, 0x8BA3FF, 0x9BB3FF, 0xABC3FF, 0xBBD3FF, 0xCBE3FF,
    0x000094, 0x0010A4, 0x0020B4, 0x0030C4, 0x0840D4, 0x1850E4, 0x2860F4, 0x3870FF, // hue 8
    0x4880FF, 0x5890FF, 0x68A0FF, 0x78B0FF, 0x88C0FF, 0x98D0FF, 0xA8E0FF, 0xB8F0FF,
    0x000E5D, 0x001E6D, 0x002E7D, 0x003E8D, 0x014E9D, 0x115EAD, 0x216EBD, 0x317ECD, // hue 9
    0x418EDD, 0x519EED, 0x61AEFD, 0x71BEFF, 0x81CEFF, 0x91DEFF, 0xA1EEFF, 0xB1FEFF,
    0x001A14, 0x002A24, 0x003A34, 0x004A44, 0x065A54, 0x166A64, 0x267A74, 0x368A84, // hue 10
    0x469A94, 0x56AAA4, 0x66BAB4, 0x76CAC4, 0x86DAD4, 0x96EAE4, 0xA6FAF4, 0xB6FFFF,
    0x001F00, 0x002F00, 0x003F00, 0x064F00, 0x165F08, 0x266F18, 0x367F28, 0x468F38, // hue 11
    0x569F48, 0x66AF58, 0x76BF68, 0x86CF78, 0x96DF88, 0xA6EF98, 0xB6FFA8, 0xC6FFB8,
    0x001F00, 0x002F00, 0x0F3F00, 0x1F4F00, 0x2F5F00, 0x3F6F00, 0x4F7F00, 0x5F8F00, // hue 12
    0x6F9F06, 0x7FAF16, 0x8FBF26, 0x9FCF36, 0xAFDF46, 0xBFEF56, 0xCFFF66, 0xDFFF76,
    0x0B1800, 0x1B2800, 0x2B3800, 0x3B4800, 0x4B5800, 0x5B6800, 0x6B7800, 0x7B8800, // hue 13
    0x8B9800, 0x9BA800, 0xABB800, 0xBBC80C, 0xCBD81C, 0xDBE82C, 0xEBF83C, 0xFBFF4C,
    0x250D00, 0x351D00, 0x452D00, 0x553D00, 0x654D00, 0x755D00, 0x856D00, 0x957D00, // hue 14
    0xA58D00, 0xB59D00, 0xC5AD00, 0xD5BD03, 0xE5CD13, 0xF5DD23, 0xFFED33, 0xFFFD43,
    0x380000, 0x481000, 0x582000, 0x683000, 0x784000, 0x885000, 0x986000, 0xA87000, // hue 15
    0xB88000, 0xC89000, 0xD8A00C, 0xE8B01C, 0xF8C02C, 0xFFD03C, 0xFFE04C, 0xFFF05C,
};

inline QRgb Entry(int N) {
    return 0xFF000000u | Palette[N];
}

// A Windows colour value (red in the low byte) as a pixel.
inline QRgb FromWin(quint32 C) {
    return qRgb(C & 0xFF, C >> 8 & 0xFF, C >> 16 & 0xFF);
}

// Count bytes of Bytes (picture byte 1 first) in Mode as the pixel cursor draws them:
// eight pixels a byte, left to right, wrapping after column LastX (one pixel a row at
// least); pixels outside Img are dropped. 8: a bit a pixel in Fore or Back; 9: a grey
// nibble of four pixels; 911: nibbles as hues at luminance 4 on even rows, as greys on
// odd rows; 119: the nibbles as hues from row 0, then from byte 3841 on as greys from
// row 1, a row skipped after every 40th byte; 15: bit pairs of two pixels in the colour
// registers after the 7680 picture bytes with bit 0 dropped, in Base when Count does
// not reach them. Colours are Windows values. Returns where the cursor stops.
inline QPoint Draw8(QImage& Img, int Mode, const QByteArray& Bytes, int Count, int LastX,
                    const std::array<quint32, 4>& Base = {}, quint32 Fore = 0xFFFFFF, quint32 Back = 0) {
    const int W = std::max(LastX, 0) + 1;
    Count = std::min<int>(Count, Bytes.size());
    int X = 0, Y = 0;
    const auto Pass = [&](int From, const auto& Colour) {
        for (int I = From; I <= Count; ++I) {
            for (int P = 0; P < 8; ++P) {
                const int Nibble = P < 4 ? quint8(Bytes[I - 1]) >> 4 : Bytes[I - 1] & 15;
                if (X < Img.width() && Y < Img.height())
                    Img.setPixel(X, Y, Colour(quint8(Bytes[I - 1]), P, Nibble));
                if (++X == W) X = 0, ++Y;
            }
            if (Mode == 119 && I % 40 == 0) ++Y;
        }
    };
    QRgb C[4];
    for (int K = 0; K < 4; ++K)
        C[K] = Count >= 7684 ? Entry(quint8(Bytes[7680 + K]) & 0xFE) : FromWin(Base[K]);
    if (Mode == 8) Pass(1, [&](int B, int P, int) { return FromWin(B >> (7 - P) & 1 ? Fore : Back); });
    if (Mode == 9) Pass(1, [&](int, int, int N) { return Entry(N); });
    if (Mode == 911) Pass(1, [&](int, int, int N) { return Entry(Y % 2 ? N : N * 16 + 4); });
    if (Mode == 15) Pass(1, [&](int B, int P, int) { return C[B >> (6 - P / 2 * 2) & 3]; });
    if (Mode == 119) {
        Pass(1, [&](int, int, int N) { return Entry(N * 16 + 4); });
        X = 0, Y = 1;
        Pass(3841, [&](int, int, int N) { return Entry(N); });
    }
    return {X, Y};
}

// A fresh (black) W x H picture with all of Bytes drawn in Mode, W pixels a row.
inline QImage Page8(int Mode, const QByteArray& Bytes, int W, int H) {
    QImage Img(W, H, QImage::Format_RGB32);
    Img.fill(0xFF000000);
    Draw8(Img, Mode, Bytes, int(Bytes.size()), W - 1);
    return Img;
}

// An ST screen in resolution Res (0 low, 1 medium, 2 monochrome): groups of 4, 2 or 1
// words, most significant byte first, for 16 pixels; bit 15 the leftmost pixel, the
// pixel's bits of planes 0 up give the palette entry; levels 0 to 7 times 32. A
// monochrome pixel is black when set.
inline QImage PageST(int Res, const QByteArray& Screen, const std::array<quint16, 16>& Palette) {
    const int Planes = Res == 0 ? 4 : Res == 1 ? 2 : 1, W = Res == 0 ? 320 : 640, H = Res == 2 ? 400 : 200;
    QImage Img(W, H, QImage::Format_RGB32);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const int Group = Y * (W / 16 * 2 * Planes) + X / 16 * 2 * Planes;
            int Index = 0;
            for (int P = 0; P < Planes; ++P) {
                const int Word = quint8(Screen[Group + 2 * P]) << 8 | quint8(Screen[Group + 2 * P + 1]);
                Index |= (Word >> (15 - X % 16) & 1) << P;
            }
            const int C = Palette[Index];
            Img.setPixel(X, Y,
                         Res == 2 ? (Index ? 0xFF000000 : 0xFFFFFFFF)
                                  : qRgb((C >> 8 & 7) * 32, (C >> 4 & 7) * 32, (C & 7) * 32));
        }
    return Img;
}

// "" when both pictures are the same, else where and how they first differ; a
// transparent pixel of Want matches anything.
inline std::string FirstDifference(const QImage& Got, const QImage& Want) {
    if (Got.size() != Want.size())
        return QStringLiteral("size %1x%2").arg(Got.width()).arg(Got.height()).toStdString();
    for (int Y = 0; Y < Want.height(); ++Y)
        for (int X = 0; X < Want.width(); ++X)
            if (qAlpha(Want.pixel(X, Y)) != 0 &&
                (Got.pixel(X, Y) & 0xFFFFFF) != (Want.pixel(X, Y) & 0xFFFFFF))
                return QStringLiteral("%1,%2: %3 not %4")
                    .arg(X)
                    .arg(Y)
                    .arg(Got.pixel(X, Y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                    .arg(Want.pixel(X, Y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                    .toStdString();
    return {};
}

} // namespace ref
