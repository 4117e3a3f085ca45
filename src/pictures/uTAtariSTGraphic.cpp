#include "uTAtariSTGraphic.h"

#include "FileIO.h"
#include "WinColor.h"

#include <algorithm>
#include <climits>

namespace {

using TScreen = std::array<quint8, TAtariSTGraphic::ScreenSize>;

constexpr int BytesPerRow = 160; // low and medium resolution
constexpr int MonoBytesPerRow = 80;
constexpr int MonoRows = 400;

// Screen offset of the K-th byte of a Degas compressed stream. Each row is packed
// plane after plane (40 bytes a plane in low, 80 in medium resolution); the
// bytes of a plane go to that plane's words, which are interleaved on screen.
// Placement is decided per byte, so a run that crosses a plane or row boundary
// still lands where it belongs.
int PackedOffset(int K, int Resolution) {
    const int Row = K / BytesPerRow;
    const int InRow = K % BytesPerRow;
    switch (Resolution) {
    case TAtariSTGraphic::ResLow: {
        const int Plane = InRow / 40, B = InRow % 40;
        return Row * BytesPerRow + (B / 2) * 8 + Plane * 2 + (B & 1);
    }
    case TAtariSTGraphic::ResMedium: {
        const int Plane = InRow / 80, B = InRow % 80;
        return Row * BytesPerRow + (B / 2) * 4 + Plane * 2 + (B & 1);
    }
    default:
        return K;
    }
}

// Screen offset of the K-th byte of STAD data packed column by column: 400 rows
// of one byte column, then the next column from the top.
int STADColumnOffset(int K) {
    return (K % MonoRows) * MonoBytesPerRow + K / MonoRows;
}

void ReadPaletteWords(std::array<quint16, 16>& Palette, const QByteArray& Data, int Offset) {
    for (int I = 0; I < 16; ++I) {
        const int P = Offset + 2 * I;
        Palette[I] = quint16((quint8(Data.at(P)) << 8) | quint8(Data.at(P + 1)));
    }
}

} // namespace

void TAtariSTGraphic::SplitSTColor(quint16 Color, int& Red, int& Green, int& Blue) {
    Red = (Color >> 8) & 7;
    Green = (Color >> 4) & 7;
    Blue = Color & 7;
}

quint32 TAtariSTGraphic::STColorToRGB(int Red, int Green, int Blue) {
    return quint32(Red * 32) + quint32(Green * 32) * 256 + quint32(Blue * 32) * 65536;
}

void TAtariSTGraphic::ReadSTPalette(std::span<const quint8, 32> Words) {
    for (int I = 0; I < 16; ++I) Palette[I] = quint16((Words[2 * I] << 8) | Words[2 * I + 1]);
}

int TAtariSTGraphic::LoadRawScreen(const QString& FileName, int HeaderSize, int PaletteOffset) {
    const int Needed = HeaderSize + ScreenSize;
    const QByteArray Data = ReadFileHead(FileName, Needed);
    if (Data.size() < Needed) RaiseInOutError(ioReadPastEnd, FileName);
    if (PaletteOffset >= 0) ReadPaletteWords(Palette, Data, PaletteOffset);
    std::copy_n(reinterpret_cast<const quint8*>(Data.constData()) + HeaderSize, ScreenSize, Screen.begin());
    return Needed;
}

int TAtariSTGraphic::LoadDegas(const QString& FileName) {
    return LoadRawScreen(FileName, DegasHeaderSize, 2);
}

int TAtariSTGraphic::LoadNeochrome(const QString& FileName) {
    return LoadRawScreen(FileName, NeochromeHeaderSize, 4);
}

int TAtariSTGraphic::LoadDoodle(const QString& FileName) {
    return LoadRawScreen(FileName, 0, -1);
}

int TAtariSTGraphic::LoadDegasPC1(const QString& FileName) {
    return LoadDegasPacked(FileName, ResLow);
}
int TAtariSTGraphic::LoadDegasPC2(const QString& FileName) {
    return LoadDegasPacked(FileName, ResMedium);
}
int TAtariSTGraphic::LoadDegasPC3(const QString& FileName) {
    return LoadDegasPacked(FileName, ResHigh);
}

// PackBits: control byte c (signed) 0..127 = c + 1 literal bytes, -1..-127 = the
// next byte 1 - c times, -128 = nothing. Decoding stops once the screen is full;
// a file that ends before that is refused, whether inside a run or between runs.
int TAtariSTGraphic::LoadDegasPacked(const QString& FileName, int Resolution) {
    const QByteArray Data = ReadWholeFile(FileName);
    const int Size = int(std::min<qint64>(Data.size(), INT_MAX));
    if (Size < DegasHeaderSize) RaiseInOutError(ioReadPastEnd, FileName);
    const auto* Bytes = reinterpret_cast<const quint8*>(Data.constData());

    TScreen Out{};
    int K = 0;
    int P = DegasHeaderSize;
    auto Put = [&](quint8 B) { Out[PackedOffset(K++, Resolution)] = B; };
    while (K < ScreenSize) {
        if (P >= Size) RaiseInOutError(ioReadPastEnd, FileName);
        const int C = qint8(Bytes[P++]);
        if (C >= 0) {
            for (int I = 0; I <= C && K < ScreenSize; ++I) {
                if (P >= Size) RaiseInOutError(ioReadPastEnd, FileName);
                Put(Bytes[P++]);
            }
        } else if (C != -128) {
            if (P >= Size) RaiseInOutError(ioReadPastEnd, FileName);
            const quint8 B = Bytes[P++];
            for (int I = 0; I < 1 - C && K < ScreenSize; ++I) Put(B);
        }
    }
    ReadPaletteWords(Palette, Data, 2);
    Screen = Out;
    return P;
}

int TAtariSTGraphic::ReadSTADHeader(const QString& FileName) {
    const QByteArray Data = ReadFileHead(FileName, STADHeaderSize);
    if (Data.size() < STADHeaderSize) RaiseInOutError(ioReadPastEnd, FileName);
    std::copy_n(reinterpret_cast<const quint8*>(Data.constData()), STADHeaderSize, STADHeader.begin());
    return STADHeaderSize;
}

int TAtariSTGraphic::LoadSTAD(const QString& FileName) {
    const QByteArray Data = ReadWholeFile(FileName);
    const int Size = int(std::min<qint64>(Data.size(), INT_MAX));
    if (Size < STADHeaderSize) RaiseInOutError(ioReadPastEnd, FileName);
    const auto* Bytes = reinterpret_cast<const quint8*>(Data.constData());

    TScreen Out{};
    const bool ByRows = STADHeader[3] == '5';
    const bool ByColumns = STADHeader[3] == '6';
    const quint8 RunMarker = STADHeader[4], Fill = STADHeader[5], ValueMarker = STADHeader[6];
    int K = 0;
    int P = STADHeaderSize;
    auto Put = [&](quint8 B, int Count) {
        for (int I = 0; I < Count && K < ScreenSize; ++I, ++K) Out[ByRows ? K : STADColumnOffset(K)] = B;
    };
    if (ByRows || ByColumns) {
        while (P < Size && K < ScreenSize) {
            const quint8 B = Bytes[P++];
            if (B == RunMarker) {
                if (P >= Size) RaiseInOutError(ioReadPastEnd, FileName);
                Put(Fill, Bytes[P++] + 1);
            } else if (B == ValueMarker) {
                if (P + 1 >= Size) RaiseInOutError(ioReadPastEnd, FileName);
                const quint8 V = Bytes[P++];
                Put(V, Bytes[P++] + 1);
            } else {
                Put(B, 1);
            }
        }
    }
    Screen = Out;
    return P;
}

void TAtariSTGraphic::DrawDegas(QImage& Image, int Resolution) const {
    if (Resolution < ResLow || Resolution > ResHigh || Image.isNull()) return;
    if (Image.format() != QImage::Format_RGB32) Image = Image.convertToFormat(QImage::Format_RGB32);

    QRgb Colors[16];
    if (Resolution == ResHigh) {
        Colors[0] = WinColorToRgb(clWhite);
        Colors[1] = WinColorToRgb(clBlack);
    } else {
        for (int I = 0; I < 16; ++I) {
            int R, G, B;
            SplitSTColor(Palette[I], R, G, B);
            Colors[I] = WinColorToRgb(STColorToRGB(R, G, B));
        }
    }
    const int Planes = Resolution == ResLow ? 4 : Resolution == ResMedium ? 2 : 1;
    const int Width = Resolution == ResLow ? 320 : 640;
    const int Height = Resolution == ResHigh ? MonoRows : 200;
    const int RowBytes = Resolution == ResHigh ? MonoBytesPerRow : BytesPerRow;
    const int W = std::min(Width, Image.width());
    const int H = std::min(Height, Image.height());

    for (int Y = 0; Y < H; ++Y) {
        auto* Line = reinterpret_cast<QRgb*>(Image.scanLine(Y));
        for (int X0 = 0; X0 < W; X0 += 16) {
            const int Group = Y * RowBytes + (X0 / 16) * Planes * 2;
            quint16 Words[4];
            for (int P = 0; P < Planes; ++P)
                Words[P] = quint16((Screen[Group + 2 * P] << 8) | Screen[Group + 2 * P + 1]);
            for (int Bit = 15, X = X0; Bit >= 0 && X < W; --Bit, ++X) {
                int Index = 0;
                for (int P = 0; P < Planes; ++P)
                    if (IsWordBitSet(Words[P], Bit)) Index |= 1 << P;
                Line[X] = Colors[Index];
            }
        }
    }
}
