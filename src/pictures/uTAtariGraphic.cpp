#include "uTAtariGraphic.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace {

// The 256-colour palette, red-green-blue, one row per hue, one column per luminance.
constexpr quint32 PaletteRGB[256] = {
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

// Red-green-blue to a Windows colour value (red in the low byte).
constexpr quint32 RGBToWin(quint32 RGB) {
    return ((RGB >> 16) & 0xFF) | (RGB & 0xFF00) | ((RGB & 0xFF) << 16);
}

void SetProgress(const TProgressFn& Progress, int Position, int Max) {
    if (Progress) Progress(Position, Max);
}

// The scanlines of an image made 32-bit; empty for a null image.
struct TRgbLines {
    explicit TRgbLines(QImage& Image) {
        if (Image.isNull()) return;
        if (Image.format() != QImage::Format_RGB32 && Image.format() != QImage::Format_ARGB32)
            Image = Image.convertToFormat(QImage::Format_RGB32);
        Bits = Image.bits();
        Stride = Image.bytesPerLine();
        Width = Image.width();
        Height = Image.height();
    }
    QRgb* Line(int Y) const { return reinterpret_cast<QRgb*>(Bits + qsizetype(Y) * Stride); }
    uchar* Bits = nullptr;
    qsizetype Stride = 0;
    int Width = 0;
    int Height = 0;
};

// Direct pixel access to an RGB32 image; the cursor of TAtariGraphic moves over it.
class TPlotTarget {
public:
    explicit TPlotTarget(QImage& Image) : FLines(Image) {}
    void Set(int X, int Y, QRgb C) const {
        if (X < 0 || Y < 0 || X >= FLines.Width || Y >= FLines.Height) return;
        FLines.Line(Y)[X] = C;
    }

private:
    TRgbLines FLines;
};

inline QRgb PaletteRgb(int N) {
    return 0xFF000000u | PaletteRGB[N & 0xFF];
}

// Sets the pixel under the cursor and advances it, wrapping after LastX.
inline void Plot(const TPlotTarget& T, int& X, int& Y, QRgb C, int LastX) {
    T.Set(X, Y, C);
    if (X < LastX) {
        ++X;
    } else {
        X = 0;
        ++Y;
    }
}

} // namespace

// ---------------------------------------------------------------- identification

void TAtariGraphic::IdentifyFileType(const QString& Path, const QString& Name) {
    PicInfo.FileSize = GetFileLength(Path);
    PicInfo.FileType = QStringLiteral("UNK");
    if (PicInfo.ForceType) return;
    IdentifyData(ReadFileHead(Path, IdentifyHeadSize), PicInfo.FileSize,
                 Name.isEmpty() ? DisplayName(Path) : Name);
}

void TAtariGraphic::IdentifyData(const QByteArray& Head, qint64 FileSize, const QString& Name) {
    PicInfo.FileSize = FileSize;
    const qint64 S = FileSize;
    PicInfo.FileType = QStringLiteral("UNK");
    if (PicInfo.ForceType) return;

    const int Dot = Name.lastIndexOf(QLatin1Char('.'));
    const QString Ext = Dot < 0 ? QString() : Name.mid(Dot);

    // Koala magic decides whatever the size and extension; a file too short for the
    // magic is simply not Koala, and a cut header is left for the loader to report.
    const TByteView H(Head);
    if (Head.size() >= 4 && H.At(0) == 0xFF && H.At(1) == 0x80 && H.At(2) == 0xC9 && H.At(3) == 0xC7) {
        PicInfo.KoalaCompression = H.At(7);
        PicInfo.FileType = QStringLiteral("KOA");
        return;
    }

    PicInfo.FileType = QStringLiteral("MIC");
    if (S == 7684) return;

    if (S == 7680 && Ext == QLatin1String(".GR8")) {
        PicInfo.FileType = QStringLiteral("GR8");
        return;
    }
    if (S == 7680 && Ext == QLatin1String(".GR9")) {
        PicInfo.FileType = QStringLiteral("GR9");
        return;
    }
    if (S == 7680 && (Ext == QLatin1String(".AP2") || Ext == QLatin1String(".256"))) {
        PicInfo.FileType = QStringLiteral("APAC2");
        return;
    }
    if (S == 7720 && Ext == QLatin1String(".APC")) {
        PicInfo.FileType = QStringLiteral("APAC");
        return;
    }

    static const struct {
        const char* Ext;
        const char* Type;
    } ByExt[] = {
        {".GR8", "GR8"},  {".PIC", "GR8"}, {".BLD", "GR8"}, {".3D", "SOLIDSTATES"},  {".SOL", "SOLIDSTATES"},
        {".PHO", "PHO"},  {".ALB", "ALB"}, {".FNT", "FNT"}, {".COL", "TECHNICOLOR"}, {".LUM", "TECHNICOLOR"},
        {".BMP", "BMP"},  {".JPG", "JPG"}, {".DOO", "DOO"}, {".PI1", "PI1"},         {".PI2", "PI2"},
        {".PI3", "PI3"},  {".PC1", "PC1"}, {".PC2", "PC2"}, {".PC3", "PC3"},         {".NEO", "NEO"},
        {".PAC", "STAD"},
    };
    for (const auto& E : ByExt) {
        if (Ext == QLatin1String(E.Ext)) {
            PicInfo.FileType = QLatin1String(E.Type);
            return;
        }
    }
}

void TAtariGraphic::SetFormatInfo() {
    PicInfo.Description = QStringLiteral("<unknown>");
    PicInfo.CompressionText = QStringLiteral("<unknown>");

    enum TComp { Uncompressed, Compressed, ByKoala };
    static const struct {
        const char* Type;
        const char* Description;
        TComp Comp;
        int Width, Height; // 0 x 0: left as it is
    } Formats[] = {
        {"KOA", "ATARI Artist, Koala Micro Illustrator...", ByKoala, 160, 192},
        {"MIC", "Micropainter", Uncompressed, 160, 192},
        {"GR8", "GRAPHICS 8", Uncompressed, 320, 192},
        {"SOLIDSTATES", "Solid States", Uncompressed, 320, 192},
        {"GR9", "GRAPHICS 9", Uncompressed, 80, 192},
        {"TECHNICOLOR", "Technicolor", Uncompressed, 80, 238},
        {"APAC", "APAC", Uncompressed, 80, 192},
        {"APAC2", "APAC 2/Paint 256", Uncompressed, 80, 192},
        {"FNT", "FONT (Create a Font)", Uncompressed, 0, 0},
        {"PHO", "Foto (TEVRA-Publisher, Quillorn", Uncompressed, 0, 0},
        {"ALB", "Album (TEVRA-Publisher)", Uncompressed, 0, 0},
        {"BMP", "Bitmap BMP", Uncompressed, 0, 0},
        {"JPG", "JPG", Compressed, 0, 0},
        {"DOO", "Doodle 2 color hi-res (ATARI ST)", Uncompressed, 640, 400},
        {"STAD", "STATD hi-res (ATARI ST)", Compressed, 640, 400},
        {"NEO", "Neochrome 16 color lo-res (ATARI ST)", Uncompressed, 320, 200},
        {"PI1", "Degas 16 color lo-res (ATARI ST)", Uncompressed, 320, 200},
        {"PI2", "Degas 4 color mid-res (ATARI ST)", Uncompressed, 640, 200},
        {"PI3", "Degas 2 color hi-res (ATARI ST)", Uncompressed, 640, 400},
        {"PC1", "Degas 16 color lo-res (ATARI ST)", Compressed, 320, 200},
        {"PC2", "Degas 4 color mid-res (ATARI ST)", Compressed, 640, 200},
        {"PC3", "Degas 2 color hi-res (ATARI ST)", Compressed, 640, 400},
    };
    for (const auto& F : Formats) {
        if (PicInfo.FileType != QLatin1String(F.Type)) continue;
        PicInfo.Description = QString::fromUtf8(F.Description);
        switch (F.Comp) {
        case Uncompressed:
            PicInfo.CompressionText = GetMsg(QStringLiteral("mUnCompressed"));
            break;
        case Compressed:
            PicInfo.CompressionText = GetMsg(QStringLiteral("mCompressed"));
            break;
        case ByKoala:
            if (PicInfo.KoalaCompression == 0)
                PicInfo.CompressionText = QStringLiteral("0 = ") + GetMsg(QStringLiteral("mUnCompressed"));
            else if (PicInfo.KoalaCompression == 1)
                PicInfo.CompressionText =
                    QStringLiteral("1 = vert. ") + GetMsg(QStringLiteral("mCompressed"));
            else if (PicInfo.KoalaCompression == 2)
                PicInfo.CompressionText =
                    QStringLiteral("2 = horiz. ") + GetMsg(QStringLiteral("mCompressed"));
            break;
        }
        if (F.Width != 0) {
            PicInfo.Width = F.Width;
            PicInfo.Height = F.Height;
        }
        break;
    }
    PicInfo.Description.truncate(255);
    PicInfo.CompressionText.truncate(255);
}

// ---------------------------------------------------------------- palette

quint32 TAtariGraphic::AtariColor(int N) {
    return RGBToWin(PaletteRGB[N & 0xFF]);
}

quint32 TAtariGraphic::Gr11Color(int N) {
    return AtariColor((N & 0x0F) * 16 + 4);
}

quint32 TAtariGraphic::AtariColorEven(int N) {
    return AtariColor(N & 254);
}

bool TAtariGraphic::IsBitSet(quint8 B, int N) {
    return N >= 0 && N < 8 && ((B >> (7 - N)) & 1) != 0;
}

// ---------------------------------------------------------------- rendering

void TAtariGraphic::PlotPixel(QImage& Image, quint32 Colour, int LastX) {
    const TPlotTarget T(Image);
    Plot(T, PlotX, PlotY, WinColorToRgb(Colour), LastX);
}

namespace {

// Cursor of the renderer over an RGB32 image: pixels go left to right and wrap after
// RowPixels; whether a row lies inside the image, and how much of it, is decided
// when the cursor enters the row.
class TRowCursor {
public:
    TRowCursor(QImage& Image, int LastX, int X, int Y)
        : FLines(Image), FRowPixels(std::max(LastX, 0) + 1), FX(X) {
        EnterRow(Y);
    }
    int X() const { return FX; }
    int Y() const { return FY; }
    // True when N more pixels stay in the current row.
    bool FitsRow(int N) const { return FX + N <= FRowPixels; }
    // Moves down one row, keeping the column.
    void SkipRow() { EnterRow(FY + 1); }
    // One pixel.
    void Put(QRgb C) {
        if (FX < FLimit) FLine[FX] = C;
        if (++FX == FRowPixels) Wrap();
    }
    // Eight pixels; all in one row of the image in the usual case.
    void Put8(const QRgb* C) {
        const int X = FX;
        if (X + 8 <= FLimit) {
            // One block copy: pixel stores could alias the cursor's own fields.
            std::memcpy(FLine + X, C, 8 * sizeof(QRgb));
        } else if (FLimit == 0 && X + 8 < FRowPixels) {
            // A row outside the image: nothing to draw, only the cursor moves.
        } else {
            for (int I = 0; I < 8; ++I) Put(C[I]);
            return;
        }
        if ((FX = X + 8) == FRowPixels) Wrap();
    }

private:
    void Wrap() {
        FX = 0;
        EnterRow(FY + 1);
    }
    void EnterRow(int Y) {
        FY = Y;
        if (FLines.Bits && Y >= 0 && Y < FLines.Height) {
            FLine = FLines.Line(Y);
            FLimit = std::min(FLines.Width, FRowPixels);
        } else {
            FLine = nullptr;
            FLimit = 0;
        }
    }
    TRgbLines FLines;
    int FRowPixels;
    int FX;
    int FY = 0;
    QRgb* FLine = nullptr;
    int FLimit = 0;
};

// The eight pixels of every byte value in one mode.
using TByteTable = std::array<std::array<QRgb, 8>, 256>;

// Two pixels a bit pair (GR.15), four a nibble (GR.9 and the hue or luminance rows)
// or one a bit (GR.8).
void FillBitTable(TByteTable& T, QRgb Back, QRgb Fore) {
    for (int B = 0; B < 256; ++B)
        for (int I = 0; I < 8; ++I) T[B][I] = (B >> (7 - I)) & 1 ? Fore : Back;
}
void FillNibbleTable(TByteTable& T, bool Hue) {
    for (int B = 0; B < 256; ++B)
        for (int I = 0; I < 8; ++I) {
            const int N = I < 4 ? B >> 4 : B & 0x0F;
            T[B][I] = PaletteRgb(Hue ? N * 16 + 4 : N);
        }
}
void FillPairTable(TByteTable& T, const QRgb (&C)[4]) {
    for (int B = 0; B < 256; ++B)
        for (int I = 0; I < 8; ++I) T[B][I] = C[(B >> (6 - 2 * (I / 2))) & 3];
}

// Draws bytes From..To (1-based) of Buf, each byte as eight pixels from the table of
// the current row's parity (only the alternating mode has two). With RowStep the
// cursor moves down an extra row after every 40th byte. Progress after every byte
// whose next index is a multiple of Every (a power of two).
template <bool Alternating, bool RowStep>
void DrawBytes(TRowCursor& Cur, const quint8* Buf, int From, int To, const TByteTable& Even,
               const TByteTable& Odd, int Every, const TProgressFn& Progress, int ByteCount) {
    for (int I = From; I <= To; ++I) {
        const quint8 B = Buf[I - 1];
        if (!Alternating) {
            Cur.Put8(Even[B].data());
        } else if (Cur.FitsRow(8)) {
            Cur.Put8((Cur.Y() % 2 == 0 ? Even : Odd)[B].data());
        } else {
            // The row changes inside the byte; each pixel takes its own row's colour.
            for (int P = 0; P < 8; ++P) Cur.Put((Cur.Y() % 2 == 0 ? Even : Odd)[B][P]);
        }
        if (RowStep && I % 40 == 0) Cur.SkipRow();
        if (((I + 1) & (Every - 1)) == 0 && Progress) Progress(I + 1, ByteCount);
    }
}

} // namespace

void TAtariGraphic::RenderPic(QImage& Image, int ByteCount, int LastX, const TProgressFn& Progress, int Mode,
                              std::span<const quint32, 4> Colors) {
    PlotX = 0;
    PlotY = 0;
    ByteCount = std::clamp(ByteCount, 0, PicBufferSize);
    // Only a GR.8 rendering shows bits in the two GR.8 colours.
    Packing = Mode == 8 ? TBitPacking(gr8forecolor, gr8backcolor) : TBitPacking();
    const quint8* Buf = PicBuffer.data();
    // Filled below for the mode; on the stack, so a progress callback may render too.
    TByteTable Table, Table2;
    TRowCursor Cur(Image, LastX, 0, 0);

    switch (Mode) {
    case 8:
        FillBitTable(Table, WinColorToRgb(gr8backcolor), WinColorToRgb(gr8forecolor));
        DrawBytes<false, false>(Cur, Buf, 1, ByteCount, Table, Table, 512, Progress, ByteCount);
        break;
    case 9:
        FillNibbleTable(Table, false);
        DrawBytes<false, false>(Cur, Buf, 1, ByteCount, Table, Table, 512, Progress, ByteCount);
        break;
    case 911:
        // Even rows carry hues, odd rows luminances; the row is taken per pixel.
        FillNibbleTable(Table, true);
        FillNibbleTable(Table2, false);
        DrawBytes<true, false>(Cur, Buf, 1, ByteCount, Table, Table2, 512, Progress, ByteCount);
        break;
    case 119: {
        // Hue lines from the first half onto rows 0, 2, 4 ..., luminance lines from
        // byte 3841 on onto rows 1, 3, 5 ...
        FillNibbleTable(Table, true);
        DrawBytes<false, true>(Cur, Buf, 1, ByteCount, Table, Table, 512, Progress, ByteCount);
        FillNibbleTable(Table, false);
        TRowCursor Lum(Image, LastX, 0, 1);
        DrawBytes<false, true>(Lum, Buf, 3841, ByteCount, Table, Table, 512, Progress, ByteCount);
        PlotX = Lum.X();
        PlotY = Lum.Y();
        return;
    }
    case 15: {
        // The colour registers follow the 7680 picture bytes; a picture without them
        // is drawn in the base colours.
        QRgb C[4];
        for (int K = 0; K < 4; ++K)
            C[K] = ByteCount >= 7684 ? PaletteRgb(PicBuffer[7680 + K] & 254) : WinColorToRgb(Colors[K]);
        FillPairTable(Table, C);
        DrawBytes<false, false>(Cur, Buf, 1, ByteCount, Table, Table, 256, Progress, ByteCount);
        break;
    }
    default:
        break;
    }
    PlotX = Cur.X();
    PlotY = Cur.Y();
}

void TAtariGraphic::ShowTechnicolor(QImage& Image, int ByteCount, int LastX, const TProgressFn& Progress,
                                    int Mode, std::span<const quint32, 4> Colors) {
    RenderPic(Image, ByteCount, LastX, Progress, Mode, Colors);
}

// ---------------------------------------------------------------- writers

TBitPacking::TBitPacking(quint32 Fore, quint32 Back) {
    const QRgb F = WinColorToRgb(Fore) & 0xFFFFFF, B = WinColorToRgb(Back) & 0xFFFFFF;
    FOneColour = F == B;
    if (FOneColour) return;
    FSet = F;
    FSetInverted = ~B & 0xFFFFFF;
}

namespace {
// The picture with one 32-bit word a pixel, as the packing reads it.
QImage AsRgb32(const QImage& Image) {
    return Image.format() == QImage::Format_RGB32 || Image.format() == QImage::Format_ARGB32
               ? Image
               : Image.convertToFormat(QImage::Format_RGB32);
}
} // namespace

QByteArray TAtariGraphic::PackImageBits(const QImage& Image, int LastByteCol, int RowsMinus1, int X0Byte,
                                        int Y0, const TBitPacking& Rule) {
    if (LastByteCol < 0 || RowsMinus1 < 0) return QByteArray();
    const qint64 Count = qint64(LastByteCol + 1) * (RowsMinus1 + 1);
    if (Count > 64 * 1024 * 1024) return QByteArray(); // far beyond any picture we write
    const QImage Src = AsRgb32(Image);
    QByteArray Out(int(Count), '\0');
    int K = 0;
    for (int Y = Y0; Y <= Y0 + RowsMinus1; ++Y) {
        const bool RowInside = Y >= 0 && Y < Src.height();
        const QRgb* Line = RowInside ? reinterpret_cast<const QRgb*>(Src.constScanLine(Y)) : nullptr;
        for (int B = X0Byte; B <= X0Byte + LastByteCol; ++B) {
            quint8 V = 0;
            if (Line) {
                for (int P = 0; P < 8; ++P) {
                    const int X = 8 * B + P;
                    if (X >= 0 && X < Src.width() && Rule.IsSet(Line[X])) V |= quint8(0x80 >> P);
                }
            }
            Out[K++] = char(V);
        }
    }
    return Out;
}

int TAtariGraphic::ImageToGR8Bits(const QImage& Image, int LastByteCol, int RowsMinus1, int X0Byte, int Y0) {
    const QByteArray Packed = PackImageBits(Image, LastByteCol, RowsMinus1, X0Byte, Y0, Packing);
    const int N = std::min(int(Packed.size()), GR8BufferSize);
    std::copy_n(reinterpret_cast<const quint8*>(Packed.constData()), N, GR8Buffer.begin());
    return N;
}

void TAtariGraphic::SaveGR8Pic(const QString& Path) {
    WriteWholeFile(Path, QByteArray(reinterpret_cast<const char*>(GR8Buffer.data()), GR8BufferSize));
}

bool TAtariGraphic::PacksBlank(const QImage& Image, const QRect& Area, const TBitPacking& Rule) {
    const QRect Inside = Area & Image.rect();
    if (Inside.isEmpty()) return false;
    if (Rule.OneColour()) return true;
    const QImage Src = AsRgb32(Image);
    const QRgb First = Src.pixel(Inside.topLeft()) & 0xFFFFFF;
    const bool FirstSet = Rule.IsSet(First);
    bool OneColour = true;
    for (int Y = Inside.top(); Y <= Inside.bottom(); ++Y) {
        const QRgb* Line = reinterpret_cast<const QRgb*>(Src.constScanLine(Y));
        for (int X = Inside.left(); X <= Inside.right(); ++X) {
            if (Rule.IsSet(Line[X]) != FirstSet) return false;
            OneColour = OneColour && (Line[X] & 0xFFFFFF) == First;
        }
    }
    return !OneColour;
}

namespace {
// The message of Key and the files Names, asked with the caption of the save path's
// replace question; true for Yes.
bool AskAboutFiles(const char* Key, const QStringList& Names) {
    QString Text = GetMsg(QLatin1String(Key));
    for (const QString& Name : Names) Text += QStringLiteral("\r\n") + Name;
    return AskYesNo(QCoreApplication::translate("QFileDialog", "Save As"), Text);
}
} // namespace

bool TAtariGraphic::ConfirmBlankSave(const QStringList& Names, const TBitPacking& Rule) {
    return AskAboutFiles(Rule.OneColour() ? "mGR8OneColour" : "mGR8Blank", Names);
}

bool TAtariGraphic::ConfirmReplace(const QStringList& Names) {
    return AskAboutFiles("mPicsReplace", Names);
}

bool TAtariGraphic::SaveGR8Page(const QImage& Image, const QString& Path) {
    // A name no save can take is refused before any question.
    CheckSaveTarget(Path);
    if (PacksBlank(Image, QRect(0, 0, 320, 192), Packing) && !ConfirmBlankSave({Path}, Packing)) return false;
    ImageToGR8Bits(Image, 39, 191, 0, 0);
    SaveGR8Pic(Path);
    return true;
}

bool TAtariGraphic::SavePhoto(const QImage& Image, const QString& Path, int PhoFormat,
                              const TProgressFn& Progress) {
    const int W = (Image.width() - 1) / 8; // last byte column
    const int H = Image.height() - 1;      // last row
    if (Image.isNull() || W < 0 || H < 0 || qint64(W + 1) * (H + 1) > PicBufferSize) {
        MessageBeep(32);
        ShowWarningMsg(GetMsg(QStringLiteral("mFormat320")));
        return false;
    }
    const int N = (W + 1) * (H + 1) + 2;
    const QByteArray Packed = PackImageBits(Image, W, H, 0, 0, Packing);
    CheckSaveTarget(Path);
    if (PacksBlank(Image, Image.rect(), Packing) && !ConfirmBlankSave({Path}, Packing)) return false;

    QByteArray Out = QByteArray::number(N);
    Out.append(char(EOL));
    Out.append('\0').append('\0');
    SetProgress(Progress, 0, N);
    for (int I = 1; I <= N - 2; ++I) {
        Out.append(Packed.at(I - 1));
        if (I % 100 == 0) SetProgress(Progress, I, N);
    }
    // The older dialect stores rows and bytes per row minus 1; the loader reads with
    // the same rule, so every saved photo reopens at its size under the same setting.
    const int Adjust = PhoStoresMinusOne(PhoFormat) ? 0 : 1;
    Out.append(QByteArray::number(H + Adjust)).append(char(EOL));
    Out.append(QByteArray::number(W + Adjust)).append(char(EOL));
    WriteWholeFile(Path, Out);
    return true;
}

QStringList TAtariGraphic::SaveAs4PICs(const QImage& Image, const QString& BasePath, int Pic2x2Mode,
                                       const TProgressFn& Progress) {
    if (Image.width() != 640 || Image.height() != 384) {
        ShowWarningMsg(GetMsg(QStringLiteral("mWrongRes1")));
        return {};
    }
    // Quarters top-left, bottom-left, top-right, bottom-right.
    static const int FirstCol[4] = {0, 0, 40, 40};
    static const int FirstRow[4] = {0, 192, 0, 192};
    static const char* ByRows[4] = {"_1.PIC", "_3.PIC", "_2.PIC", "_4.PIC"};
    static const char* ByCols[4] = {"_1.PIC", "_2.PIC", "_3.PIC", "_4.PIC"};
    QStringList Names;
    for (int Q = 0; Q < 4; ++Q) Names << BasePath + QLatin1String(Pic2x2Mode == 1 ? ByCols[Q] : ByRows[Q]);
    // A target that cannot take its page stops the split before the first page is written.
    for (const QString& Name : Names) CheckSaveTarget(Name);
    // Pages of an earlier split (or anything else of these names) are replaced only
    // when the user agrees, in one question for all of them.
    QStringList Existing;
    for (const QString& Name : Names)
        if (QFileInfo::exists(Name)) Existing << Name;
    if (!Existing.isEmpty() && !ConfirmReplace(Existing)) return {};
    // A page blank (or full) while its quarter shows a picture, or all four alike
    // while the whole shows one, asks before any page is written.
    bool Loses = PacksBlank(Image, Image.rect(), Packing);
    for (int Q = 0; Q < 4; ++Q)
        Loses = Loses || PacksBlank(Image, QRect(8 * FirstCol[Q], FirstRow[Q], 320, 192), Packing);
    if (Loses && !ConfirmBlankSave(Names, Packing)) return {};
    // The names one a line, all but the last followed by ",".
    const auto List = [](const QStringList& L) {
        QString Text;
        for (int I = 0; I < L.size(); ++I)
            Text += QStringLiteral("\r\n") + L[I] + (I + 1 < L.size() ? QStringLiteral(",") : QString());
        return Text;
    };
    for (int Q = 0; Q < 4; ++Q) {
        ImageToGR8Bits(Image, 39, 191, FirstCol[Q], FirstRow[Q]);
        try {
            SaveGR8Pic(Names[Q]);
        } catch (const EInOutError& E) {
            // The error names the page that failed; the user learns which are on disk.
            if (Q == 0) throw;
            throw EInOutError(E.ErrorCode, E.Message() + QStringLiteral("\r\n") +
                                               GetMsg(QStringLiteral("mPicsSavedBefore")) +
                                               List(Names.mid(0, Q)));
        }
        SetProgress(Progress, Q + 1, 4);
    }
    ShowInfoMsg(GetMsg(QStringLiteral("mPicsSaved")) + List(Names));
    return Names;
}
