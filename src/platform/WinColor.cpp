#include "WinColor.h"

namespace {
// The classic Windows scheme, as 0x00BBGGRR values, except for the application
// work space: today's desktops give it (171, 171, 171), and the info panels' light
// blue values are written for that grey; on the classic dark grey they cannot be read.
constexpr quint32 SystemColors[31] = {0xC8C8C8, 0x000000, 0x6A240A, 0x808080, 0xD4D0C8, 0xFFFFFF, 0x000000,
                                      0x000000, 0x000000, 0xFFFFFF, 0xD4D0C8, 0xD4D0C8, 0xABABAB, 0x6A240A,
                                      0xFFFFFF, 0xD4D0C8, 0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF,
                                      0x404040, 0xD4D0C8, 0x000000, 0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6,
                                      0xC0C0C0, 0x6A240A, 0xD4D0C8};
} // namespace

quint32 ColorToRGB(quint32 Color) {
    if ((Color & 0xFF000000u) == 0xFF000000u) {
        quint32 Index = Color & 0xFF;
        return Index < 31 ? SystemColors[Index] : 0;
    }
    if (Color == clNone || Color == clDefault) return 0;
    return Color & 0x00FFFFFF;
}

QRgb WinColorToRgb(quint32 Color) {
    quint32 C = ColorToRGB(Color);
    return qRgb(C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF);
}

QColor WinColorToQColor(quint32 Color) {
    return QColor::fromRgb(WinColorToRgb(Color));
}

quint32 RgbToWinColor(QRgb Rgb) {
    return quint32(qRed(Rgb)) | quint32(qGreen(Rgb)) << 8 | quint32(qBlue(Rgb)) << 16;
}
