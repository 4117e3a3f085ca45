#include "uTAtariSTGraphic.h"

#include "FileIO.h"
#include "WinColor.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

using TScreen = std::array<quint8, TAtariSTGraphic::ScreenSize>;

constexpr int BytesPerRow = 160; // low and medium resolution
constexpr int MonoBytesPerRow = 80;
constexpr int MonoRows = 400;

// Screen offsets within a row of the 160 bytes of a Degas compressed row in low or
// medium resolution. Each row is packed plane after plane (40 bytes a plane in
// low, 80 in medium resolution); the bytes of a plane go to that plane's words,
// which are interleaved on screen. Placement is decided per byte, so a run that
// crosses a plane or row boundary still lands where it belongs.
using TRowOffsets = std::array<quint8, BytesPerRow>;
constexpr TRowOffsets MakeRowOffsets(int Resolution) {
    TRowOffsets T{};
    const int PlaneBytes = Resolution == TAtariSTGraphic::ResLow ? 40 : 80;
    const int GroupBytes = Resolution == TAtariSTGraphic::ResLow ? 8 : 4;
    for (int K = 0; K < BytesPerRow; ++K) {
        const int Plane = K / PlaneBytes, B = K % PlaneBytes;
        T[K] = quint8((B / 2) * GroupBytes + Plane * 2 + (B & 1));
    }
    return T;
}
constexpr TRowOffsets RowOffsets[2] = {MakeRowOffsets(TAtariSTGraphic::ResLow),
                                       MakeRowOffsets(TAtariSTGraphic::ResMedium)};

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

int TAtariSTGraphic::ParseRawScreen(const QByteArray& Data, const QString& Name, int HeaderSize,
                                    int PaletteOffset) {
    const int Needed = HeaderSize + ScreenSize;
    if (Data.size() < Needed) RaiseInOutError(ioReadPastEnd, Name);
    if (PaletteOffset >= 0) ReadPaletteWords(Palette, Data, PaletteOffset);
    std::copy_n(reinterpret_cast<const quint8*>(Data.constData()) + HeaderSize, ScreenSize, Screen.begin());
    return Needed;
}

int TAtariSTGraphic::LoadDegas(const QString& FileName) {
    return ParseDegas(ReadFileHead(FileName, DegasHeaderSize + ScreenSize), FileName);
}
int TAtariSTGraphic::ParseDegas(const QByteArray& Data, const QString& Name) {
    return ParseRawScreen(Data, Name, DegasHeaderSize, 2);
}

int TAtariSTGraphic::LoadNeochrome(const QString& FileName) {
    return ParseNeochrome(ReadFileHead(FileName, NeochromeHeaderSize + ScreenSize), FileName);
}
int TAtariSTGraphic::ParseNeochrome(const QByteArray& Data, const QString& Name) {
    return ParseRawScreen(Data, Name, NeochromeHeaderSize, 4);
}

int TAtariSTGraphic::LoadDoodle(const QString& FileName) {
    return ParseDoodle(ReadFileHead(FileName, ScreenSize), FileName);
}
int TAtariSTGraphic::ParseDoodle(const QByteArray& Data, const QString& Name) {
    return ParseRawScreen(Data, Name, 0, -1);
}

int TAtariSTGraphic::LoadDegasPC1(const QString& FileName) {
    return ParseDegasPacked(ReadFileHead(FileName, MaxDegasPackedFileSize), ResLow, FileName);
}
int TAtariSTGraphic::LoadDegasPC2(const QString& FileName) {
    return ParseDegasPacked(ReadFileHead(FileName, MaxDegasPackedFileSize), ResMedium, FileName);
}
int TAtariSTGraphic::LoadDegasPC3(const QString& FileName) {
    return ParseDegasPacked(ReadFileHead(FileName, MaxDegasPackedFileSize), ResHigh, FileName);
}

// PackBits: control byte c (signed) 0..127 = c + 1 literal bytes, -1..-127 = the
// next byte 1 - c times, -128 = nothing. Decoding stops once the screen is full or
// the data end; what was decoded until then is kept. A monochrome file that ends
// inside a run is refused; the colour ones keep what the run delivered.
int TAtariSTGraphic::ParseDegasPacked(const QByteArray& Data, int Resolution, const QString& Name) {
    const int Size = int(std::min<qint64>(Data.size(), INT_MAX));
    if (Size < DegasHeaderSize) RaiseInOutError(ioReadPastEnd, Name);
    const auto* Bytes = reinterpret_cast<const quint8*>(Data.constData());
    const bool CutRunFails = Resolution == ResHigh;

    // Decoded in file order first; the planes are spread to their words afterwards,
    // a whole row at a time.
    // Repeats are filled 16 bytes at a time; the slack takes what a fill writes past
    // the run, which the next run overwrites or the end clears.
    constexpr int Slack = 16;
    std::array<quint8, ScreenSize + Slack> Packed{};
    int K = 0;
    int P = DegasHeaderSize;
    // Stores Count bytes, From the data or Value repeated (From null); stops when the
    // screen is full. Returns how many were stored.
    auto Store = [&](const quint8* From, quint8 Value, int Count) {
        Count = std::min(Count, ScreenSize - K);
        if (From) {
            std::memcpy(Packed.data() + K, From, size_t(Count));
        } else {
            quint8 Block[Slack];
            std::memset(Block, Value, Slack);
            for (int J = 0; J < Count; J += Slack) std::memcpy(Packed.data() + K + J, Block, Slack);
        }
        K += Count;
        return Count;
    };
    auto RunCut = [&] {
        if (CutRunFails) RaiseInOutError(ioReadPastEnd, Name);
    };
    while (K < ScreenSize && P < Size) {
        const int C = qint8(Bytes[P++]);
        if (C >= 0) {
            const int Have = std::min(C + 1, Size - P);
            if (Have < C + 1) RunCut();
            P += Store(Bytes + P, 0, Have);
        } else if (C != -128) {
            if (P >= Size) {
                RunCut();
                break;
            }
            const quint8 B = Bytes[P++];
            Store(nullptr, B, 1 - C);
        }
    }
    std::memset(Packed.data() + K, 0, Slack);
    ReadPaletteWords(Palette, Data, 2);
    if (Resolution == ResLow || Resolution == ResMedium) {
        const TRowOffsets& Offsets = RowOffsets[Resolution];
        for (int Row = 0; Row < ScreenSize; Row += BytesPerRow)
            for (int I = 0; I < BytesPerRow; ++I) Screen[Row + Offsets[I]] = Packed[Row + I];
    } else {
        std::copy_n(Packed.begin(), ScreenSize, Screen.begin());
    }
    return P;
}

int TAtariSTGraphic::ReadSTADHeader(const QString& FileName) {
    return ParseSTADHeader(ReadFileHead(FileName, STADHeaderSize), FileName);
}

int TAtariSTGraphic::ParseSTADHeader(const QByteArray& Data, const QString& Name) {
    if (Data.size() < STADHeaderSize) RaiseInOutError(ioReadPastEnd, Name);
    std::copy_n(reinterpret_cast<const quint8*>(Data.constData()), STADHeaderSize, STADHeader.begin());
    return STADHeaderSize;
}

int TAtariSTGraphic::LoadSTAD(const QString& FileName) {
    return ParseSTAD(ReadFileHead(FileName, MaxSTADFileSize), FileName);
}

int TAtariSTGraphic::ParseSTAD(const QByteArray& Data, const QString& Name) {
    const int Size = int(std::min<qint64>(Data.size(), INT_MAX));
    if (Size < STADHeaderSize) RaiseInOutError(ioReadPastEnd, Name);
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
    // A marker whose arguments the file no longer holds ends the decoding like the
    // end of the file does.
    if (ByRows || ByColumns) {
        while (P < Size && K < ScreenSize) {
            const quint8 B = Bytes[P++];
            if (B == RunMarker) {
                if (P >= Size) break;
                Put(Fill, Bytes[P++] + 1);
            } else if (B == ValueMarker) {
                if (P + 1 >= Size) {
                    P = Size;
                    break;
                }
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

namespace {

// Spread[b]: the 8 bits of b, leftmost pixel first, one to each 4-bit lane; the
// lanes of the planes OR-ed together (plane p shifted by p) give 8 palette indexes.
constexpr std::array<quint32, 256> MakeSpread() {
    std::array<quint32, 256> T{};
    for (int B = 0; B < 256; ++B)
        for (int I = 0; I < 8; ++I)
            if ((B >> (7 - I)) & 1) T[B] |= 1u << (4 * I);
    return T;
}
constexpr std::array<quint32, 256> Spread = MakeSpread();

// One row of a screen: groups of Planes words for 16 pixels each, most significant
// bit the leftmost pixel; W pixels of it are drawn.
// Pairs[n]: the two pixels of palette indexes n & 15 (left) and n >> 4 (right).
using TPixelPairs = std::array<quint64, 256>;

template <int Planes>
void DrawRow(QRgb* __restrict Line, const quint8* __restrict Row, const TPixelPairs& Pairs, int W) {
    auto Put8 = [&](QRgb* L, quint32 Lanes) {
        for (int I = 0; I < 4; ++I) {
            const quint64 Two = Pairs[(Lanes >> (8 * I)) & 0xFF];
            std::memcpy(L + 2 * I, &Two, sizeof Two);
        }
    };
    int X0 = 0;
    for (; X0 + 16 <= W; X0 += 16, Row += 2 * Planes) {
        quint32 Hi = 0, Lo = 0;
        for (int P = 0; P < Planes; ++P) {
            Hi |= Spread[Row[2 * P]] << P;
            Lo |= Spread[Row[2 * P + 1]] << P;
        }
        Put8(Line + X0, Hi);
        Put8(Line + X0 + 8, Lo);
    }
    // A part of a group at the right edge of a narrower image.
    for (int X = X0; X < W; ++X) {
        const int Half = (X - X0) / 8, I = (X - X0) % 8;
        quint32 Lanes = 0;
        for (int P = 0; P < Planes; ++P) Lanes |= Spread[Row[2 * P + Half]] << P;
        Line[X] = QRgb(Pairs[(Lanes >> (4 * I)) & 15]);
    }
}

} // namespace

void TAtariSTGraphic::DrawDegas(QImage& Image, int Resolution) const {
    if (Resolution < ResLow || Resolution > ResHigh || Image.isNull()) return;
    if (Image.format() != QImage::Format_RGB32) Image = Image.convertToFormat(QImage::Format_RGB32);

    QRgb Colors[16] = {};
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
    TPixelPairs Pairs;
    for (int N = 0; N < 256; ++N) Pairs[N] = quint64(Colors[N & 15]) | quint64(Colors[N >> 4]) << 32;
    const int Planes = Resolution == ResLow ? 4 : Resolution == ResMedium ? 2 : 1;
    const int Width = Resolution == ResLow ? 320 : 640;
    const int Height = Resolution == ResHigh ? MonoRows : 200;
    const int RowBytes = Resolution == ResHigh ? MonoBytesPerRow : BytesPerRow;
    const int W = std::min(Width, Image.width());
    const int H = std::min(Height, Image.height());

    for (int Y = 0; Y < H; ++Y) {
        auto* Line = reinterpret_cast<QRgb*>(Image.scanLine(Y));
        const quint8* Row = Screen.data() + Y * RowBytes;
        if (Planes == 4)
            DrawRow<4>(Line, Row, Pairs, W);
        else if (Planes == 2)
            DrawRow<2>(Line, Row, Pairs, W);
        else
            DrawRow<1>(Line, Row, Pairs, W);
    }
}
