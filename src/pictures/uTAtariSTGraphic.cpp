#include "uTAtariSTGraphic.h"

#include "FileIO.h"
#include "WinColor.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr int BytesPerRow = 160; // low and medium resolution
constexpr int MonoBytesPerRow = 80;
constexpr int MonoRows = 400;

// A Degas compressed row in low or medium resolution holds its planes one after the
// other (40 bytes a plane in low, 80 in medium resolution); on screen the planes'
// words are interleaved, Planes words for each 16 pixels. Moves every row of the
// file-order Packed to its place in Screen, so a run that crossed a plane or row
// boundary still lands where it belongs.
template <int Planes> void SpreadPlanes(quint8* Screen, const quint8* Packed) {
    constexpr int PlaneBytes = BytesPerRow / Planes;
    for (int Row = 0; Row < TAtariSTGraphic::ScreenSize; Row += BytesPerRow) {
        const quint8* In = Packed + Row;
        quint8* Out = Screen + Row;
        for (int W = 0; W < PlaneBytes; W += 2, Out += 2 * Planes) {
            std::memcpy(Out, In + W, 2);
            std::memcpy(Out + 2, In + PlaneBytes + W, 2);
            if constexpr (Planes == 4) {
                std::memcpy(Out + 4, In + 2 * PlaneBytes + W, 2);
                std::memcpy(Out + 6, In + 3 * PlaneBytes + W, 2);
            }
        }
    }
}

// The packed formats decode runs in blocks of 16 bytes, at least two a run: a run
// of Count bytes writes (and a literal one reads) max(Count, 32) bytes rounded up to
// whole blocks, so the buffer needs that much slack past the screen. What a block
// writes past its run the next run overwrites or the end clears. Most runs are
// short: two fixed blocks spare them a loop exit the processor would mispredict.
constexpr int Block = 16;
constexpr int BlockReach(int MaxCount) {
    return (std::max(MaxCount, 2 * Block) + Block - 1) / Block * Block;
}
inline void CopyBlocks(quint8* To, const quint8* From, int Count) {
    std::memcpy(To, From, Block);
    std::memcpy(To + Block, From + Block, Block);
    for (int J = 2 * Block; J < Count; J += Block) std::memcpy(To + J, From + J, Block);
}
inline void FillBlocks(quint8* To, quint8 Value, int Count) {
    quint8 Fill[Block];
    std::memset(Fill, Value, Block);
    std::memcpy(To, Fill, Block);
    std::memcpy(To + Block, Fill, Block);
    for (int J = 2 * Block; J < Count; J += Block) std::memcpy(To + J, Fill, Block);
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
    std::memcpy(Screen.data(), Data.constData() + HeaderSize, ScreenSize);
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

    // Decoded in file order first; the planes are spread to their words afterwards.
    constexpr int Reach = BlockReach(128);
    std::array<quint8, ScreenSize + Reach> Packed;
    int K = 0;
    int P = DegasHeaderSize;
    auto RunCut = [&] {
        if (CutRunFails) RaiseInOutError(ioReadPastEnd, Name);
    };
    while (K < ScreenSize && P < Size) {
        const int C = qint8(Bytes[P++]);
        quint8* To = Packed.data() + K;
        if (C >= 0) {
            const int Count = C + 1;
            int Have = Count;
            if (Size - P >= Reach) {
                CopyBlocks(To, Bytes + P, Count);
            } else {
                // Near the end of the data: exactly what it holds.
                if (Size - P < Count) {
                    RunCut();
                    Have = Size - P;
                }
                std::memcpy(To, Bytes + P, size_t(Have));
            }
            // The file position stays after the last byte that fitted the screen.
            const int Stored = std::min(Have, ScreenSize - K);
            P += Stored;
            K += Stored;
        } else if (C != -128) {
            if (P >= Size) {
                RunCut();
                break;
            }
            const int Count = 1 - C;
            FillBlocks(To, Bytes[P++], Count);
            K += std::min(Count, ScreenSize - K);
        }
    }
    std::memset(Packed.data() + K, 0, size_t(ScreenSize - K));
    ReadPaletteWords(Palette, Data, 2);
    if (Resolution == ResLow)
        SpreadPlanes<4>(Screen.data(), Packed.data());
    else if (Resolution == ResMedium)
        SpreadPlanes<2>(Screen.data(), Packed.data());
    else
        std::memcpy(Screen.data(), Packed.data(), ScreenSize);
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

    // Decoded in file order first; a column-packed screen is turned afterwards.
    constexpr int Reach = BlockReach(256);
    std::array<quint8, ScreenSize + Reach> Out;
    const bool ByRows = STADHeader[3] == '5';
    const bool ByColumns = STADHeader[3] == '6';
    const quint8 RunMarker = STADHeader[4], Fill = STADHeader[5], ValueMarker = STADHeader[6];
    int K = 0;
    int P = STADHeaderSize;
    auto Put = [&](quint8 B, int Count) {
        FillBlocks(Out.data() + K, B, Count);
        K += std::min(Count, ScreenSize - K);
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
                Out[K++] = B;
            }
        }
    }
    std::memset(Out.data() + K, 0, size_t(ScreenSize - K));
    if (ByColumns) {
        // 400 rows of one byte column, then the next column from the top.
        for (int Row = 0; Row < MonoRows; ++Row)
            for (int Col = 0; Col < MonoBytesPerRow; ++Col)
                Screen[Row * MonoBytesPerRow + Col] = Out[Col * MonoRows + Row];
    } else {
        std::memcpy(Screen.data(), Out.data(), ScreenSize);
    }
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

// Pairs[n]: the two pixels of palette indexes n & 15 (left) and n >> 4 (right).
// Quads[n]: the four pixels of a nibble of plane 0 (n & 15) and one of plane 1
// (n >> 4), leftmost pixel from bit 3. Whole entries are copied into the scanline.
using TPair = std::array<QRgb, 2>;
using TQuad = std::array<QRgb, 4>;

inline void PutPair(QRgb* Out, const TPair* Pairs, quint32 N) {
    std::memcpy(Out, Pairs[N].data(), sizeof(TPair));
}
inline void PutQuad(QRgb* Out, const TQuad* Quads, quint32 N) {
    std::memcpy(Out, Quads[N].data(), sizeof(TQuad));
}

// One row of each layout, 16 pixels a group of Planes words. Straight-line code
// with constant shifts, so the compiler keeps every value in a register.
void DrawLowRow(QRgb* Out, const quint8* Row, const TPair* Pairs) {
    for (int G = 0; G < 20; ++G, Row += 8, Out += 16) {
        const quint32 L = Spread[Row[0]] | Spread[Row[2]] << 1 | Spread[Row[4]] << 2 | Spread[Row[6]] << 3;
        const quint32 R = Spread[Row[1]] | Spread[Row[3]] << 1 | Spread[Row[5]] << 2 | Spread[Row[7]] << 3;
        PutPair(Out, Pairs, L & 0xFF);
        PutPair(Out + 2, Pairs, (L >> 8) & 0xFF);
        PutPair(Out + 4, Pairs, (L >> 16) & 0xFF);
        PutPair(Out + 6, Pairs, L >> 24);
        PutPair(Out + 8, Pairs, R & 0xFF);
        PutPair(Out + 10, Pairs, (R >> 8) & 0xFF);
        PutPair(Out + 12, Pairs, (R >> 16) & 0xFF);
        PutPair(Out + 14, Pairs, R >> 24);
    }
}

// Eight pixels from one byte of plane 0 and one of plane 1.
inline void PutQuads(QRgb* Out, const TQuad* Quads, quint32 P0, quint32 P1) {
    PutQuad(Out, Quads, (P0 >> 4) | (P1 & 0xF0));
    PutQuad(Out + 4, Quads, (P0 & 0x0F) | ((P1 << 4) & 0xF0));
}

void DrawMediumRow(QRgb* Out, const quint8* Row, const TQuad* Quads) {
    for (int G = 0; G < 40; ++G, Row += 4, Out += 16) {
        PutQuads(Out, Quads, Row[0], Row[2]);
        PutQuads(Out + 8, Quads, Row[1], Row[3]);
    }
}

void DrawHighRow(QRgb* Out, const quint8* Row, const TQuad* Quads) {
    for (int B = 0; B < 80; ++B, ++Row, Out += 8) {
        PutQuad(Out, Quads, *Row >> 4);
        PutQuad(Out + 4, Quads, *Row & 0x0F);
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
    const int Width = Resolution == ResLow ? 320 : 640;
    const int Height = Resolution == ResHigh ? MonoRows : 200;
    const int RowBytes = Resolution == ResHigh ? MonoBytesPerRow : BytesPerRow;
    const int W = std::min(Width, Image.width());
    const int H = std::min(Height, Image.height());

    std::array<TPair, 256> Pairs;
    std::array<TQuad, 256> Quads;
    if (Resolution == ResLow) {
        for (int N = 0; N < 256; ++N) Pairs[N] = {Colors[N & 15], Colors[N >> 4]};
    } else {
        // Two planes in medium resolution, only plane 0 in monochrome. Each entry is
        // written whole, as the drawing reads it (no store forwarded in parts).
        auto Pixel = [&](int N, int I) { return Colors[((N >> (3 - I)) & 1) | ((N >> (6 - I)) & 2)]; };
        for (int N = 0; N < (Resolution == ResMedium ? 256 : 16); ++N)
            Quads[N] = {Pixel(N, 0), Pixel(N, 1), Pixel(N, 2), Pixel(N, 3)};
    }

    // A narrower image takes the left part of each row, drawn aside first.
    QRgb Aside[640];
    uchar* Bits = Image.bits();
    const qsizetype Stride = Image.bytesPerLine();
    for (int Y = 0; Y < H; ++Y) {
        auto* Line = reinterpret_cast<QRgb*>(Bits + Y * Stride);
        QRgb* Out = W == Width ? Line : Aside;
        const quint8* Row = Screen.data() + Y * RowBytes;
        if (Resolution == ResLow)
            DrawLowRow(Out, Row, Pairs.data());
        else if (Resolution == ResMedium)
            DrawMediumRow(Out, Row, Quads.data());
        else
            DrawHighRow(Out, Row, Quads.data());
        if (Out == Aside) std::memcpy(Line, Aside, size_t(W) * sizeof(QRgb));
    }
}
