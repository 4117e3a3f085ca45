#pragma once
// Shared set-up of the 8-bit picture tests: picture builders and a fresh picture.
#include "test_common.h"
#include "uTAtariGraphic.h"

#include <random>

class AtariGraphicTest : public FileTest {
protected:
    static QByteArray Random(int Size, unsigned Seed) {
        std::mt19937 Gen(Seed);
        QByteArray B(Size, '\0');
        for (char& C : B) C = char(Gen() & 0xFF);
        return B;
    }
    static QImage Blank(int W, int H) { return Filled(W, H, qRgb(0, 0, 0)); }
    // Pixel as 0xRRGGBB.
    static quint32 Px(const QImage& Img, int X, int Y) { return Img.pixel(X, Y) & 0xFFFFFF; }
    // A Koala header with colour registers 11 22 33 44.
    static QByteArray KoalaHeader(quint8 Compression) {
        QByteArray H(27, '\0');
        H[0] = char(0xFF), H[1] = char(0x80), H[2] = char(0xC9), H[3] = char(0xC7);
        H[7] = char(Compression);
        H[13] = 0x11, H[14] = 0x22, H[15] = 0x33, H[17] = 0x44;
        return H;
    }
    // Photo and album text with '|' standing for the Atari end of line.
    static QByteArray Eol(QByteArray S) { return S.replace('|', '\x9b'); }
    static QByteArray AlbumEntry(const QByteArray& Name, int WidthBytes, int Height, char Fill) {
        return Name.leftJustified(15, ' ', true) + char(Height) + char(WidthBytes) +
               QByteArray(WidthBytes * Height, Fill);
    }
    static QByteArray AlbumFile(const QByteArray& Entries) {
        return Eol(QByteArray::number(Entries.size()) + "|") + Entries;
    }

    TAtariGraphic G;
    static constexpr quint32 Base[4] = {0x000000, 0x5FB7CF, 0x70D890, 0x904F1F};
};
