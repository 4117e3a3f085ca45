#include "uTAtariFont.h"

#include "Resources.h"

#include <QCoreApplication>
#include <QList>
#include <QPointer>
#include <algorithm>

namespace {

constexpr quint8 SharpS[8] = {0x00, 0x3C, 0x66, 0x7C, 0x66, 0x66, 0x7C, 0x60};
constexpr quint32 PageFrameColour = 0xC0C0C0;

using TFontBytes = std::array<quint8, 1024>;

// Built-in sets in internal order, read once from the embedded resources. A
// short resource leaves the rest zero rather than reading past it.
TFontBytes ReadBuiltin(const char* Name) {
    TFontBytes Set{};
    const QByteArray Data = GetResource(Name);
    const int N = int(std::min<qsizetype>(Data.size(), 1024));
    for (int I = 0; I < N; ++I) Set[I] = quint8(Data[I]);
    return Set;
}

const TFontBytes& StandardSet() {
    static const TFontBytes Set = ReadBuiltin("FONT_STANDARD");
    return Set;
}

const TFontBytes& InternationalSet() {
    static const TFontBytes Set = ReadBuiltin("FONT_INTERNATIONAL");
    return Set;
}

// Raw access to the pixels of a 32-bit image; coordinates are clipped here.
struct TTarget {
    uchar* Bits = nullptr;
    qsizetype Stride = 0;
    int W = 0;
    int H = 0;
    QRgb* Row(qint64 Y) const { return reinterpret_cast<QRgb*>(Bits + Y * Stride); }
};

bool PrepareTarget(QImage& Image, TTarget& T) {
    if (Image.isNull()) return false;
    const QImage::Format F = Image.format();
    if (F != QImage::Format_RGB32 && F != QImage::Format_ARGB32 && F != QImage::Format_ARGB32_Premultiplied)
        Image.convertTo(QImage::Format_RGB32);
    T.Bits = Image.bits();
    T.Stride = Image.bytesPerLine();
    T.W = Image.width();
    T.H = Image.height();
    return T.Bits != nullptr;
}

void FillRect(const TTarget& T, qint64 X, qint64 Y, qint64 W, qint64 H, QRgb C) {
    const qint64 X0 = std::max<qint64>(X, 0), Y0 = std::max<qint64>(Y, 0);
    const qint64 X1 = std::min<qint64>(X + W, T.W), Y1 = std::min<qint64>(Y + H, T.H);
    if (X0 >= X1 || Y0 >= Y1) return;
    for (qint64 Yp = Y0; Yp < Y1; ++Yp) {
        QRgb* R = T.Row(Yp);
        std::fill(R + X0, R + X1, C);
    }
}

void FrameRect(const TTarget& T, QRgb C) {
    FillRect(T, 0, 0, T.W, 1, C);
    FillRect(T, 0, T.H - 1, T.W, 1, C);
    FillRect(T, 0, 0, 1, T.H, C);
    FillRect(T, T.W - 1, 0, 1, T.H, C);
}

void PaintPattern(const TTarget& T, const quint8* P, qint64 X, qint64 Y, QRgb Fg, QRgb Bg, int Scale,
                  bool NoFg, bool NoBg) {
    if (!P || Scale <= 0 || (NoFg && NoBg)) return;
    if (Scale == 1) {
        if (X >= 0 && Y >= 0 && X + 8 <= T.W && Y + 8 <= T.H) {
            if (!NoFg && !NoBg) {
                for (int R = 0; R < 8; ++R) {
                    QRgb* Px = T.Row(Y + R) + X;
                    const unsigned B = P[R];
                    for (int C = 0; C < 8; ++C) Px[C] = (B & (0x80u >> C)) ? Fg : Bg;
                }
                return;
            }
            for (int R = 0; R < 8; ++R) {
                QRgb* Px = T.Row(Y + R) + X;
                const unsigned B = P[R];
                for (int C = 0; C < 8; ++C) {
                    const bool Set = B & (0x80u >> C);
                    if (Set ? !NoFg : !NoBg) Px[C] = Set ? Fg : Bg;
                }
            }
            return;
        }
        for (int R = 0; R < 8; ++R) {
            const qint64 Yp = Y + R;
            if (Yp < 0 || Yp >= T.H) continue;
            QRgb* Row = T.Row(Yp);
            for (int C = 0; C < 8; ++C) {
                const qint64 Xp = X + C;
                if (Xp < 0 || Xp >= T.W) continue;
                const bool Set = P[R] & (0x80u >> C);
                if (Set ? !NoFg : !NoBg) Row[Xp] = Set ? Fg : Bg;
            }
        }
        return;
    }
    for (int R = 0; R < 8; ++R)
        for (int C = 0; C < 8; ++C) {
            const bool Set = P[R] & (0x80u >> C);
            if (Set ? !NoFg : !NoBg)
                FillRect(T, X + qint64(C) * Scale, Y + qint64(R) * Scale, Scale, Scale, Set ? Fg : Bg);
        }
}

// Images currently being filled by RenderText, so a nested call cannot replace one.
QList<const QImage*>& ActiveRenders() {
    static QList<const QImage*> List;
    return List;
}

struct TActiveRender {
    const QImage* Image;
    explicit TActiveRender(const QImage* I) : Image(I) { ActiveRenders().append(I); }
    ~TActiveRender() { ActiveRenders().removeOne(Image); }
    TActiveRender(const TActiveRender&) = delete;
    TActiveRender& operator=(const TActiveRender&) = delete;
};

} // namespace

// ---- character set ----

TAtariFont::TAtariFont() {
    InitFontTable();
}

void TAtariFont::LoadBuiltinFont(quint8 Kind) {
    if (Kind == 1 || Kind == 2) {
        const TFontBytes& Src = Kind == 1 ? StandardSet() : InternationalSet();
        for (int I = 0; I < 1024; ++I) {
            FontInternal[I] = Src[I];
            FontATASCII[InternalToATASCIIIndex(I)] = Src[I];
        }
    }
    const TFontBytes& Intl = InternationalSet();
    for (int I = 0; I < 1024; ++I) FontInternational[InternalToATASCIIIndex(I)] = Intl[I];
}

quint8 TAtariFont::ATASCIIToInternal(quint8 Code) {
    const int Low = Code & 127;
    const int Inv = Code & 128;
    if (Low < 32) return quint8(Inv | (Low + 64));
    if (Low < 96) return quint8(Inv | (Low - 32));
    return Code;
}

quint8 TAtariFont::InternalToATASCII(quint8 Code) {
    const int Low = Code & 127;
    const int Inv = Code & 128;
    if (Low < 64) return quint8(Inv | (Low + 32));
    if (Low < 96) return quint8(Inv | (Low - 64));
    return Code;
}

int TAtariFont::InternalToATASCIIIndex(int Index) {
    if (Index < 0 || Index > 1023) return -1;
    if (Index < 512) return Index + 256;
    if (Index < 768) return Index - 512;
    return Index;
}

// ---- drawing ----

const quint8* TAtariFont::Glyph(int Selector, int Code) const {
    int C = Code & 127;
    switch (Selector) {
    case 0:
        return FontInternal.data() + 8 * C;
    case 1:
        return FontATASCII.data() + 8 * C;
    case 2:
        switch (C) {
        case 91:
            C = 123;
            break; // [ -> Ä
        case 92:
            C = 12;
            break; // \ -> Ö
        case 93:
            C = 16;
            break; // ] -> Ü
        case 123:
            C = 11;
            break; // { -> ä
        case 124:
            C = 15;
            break; // | -> ö
        case 125:
            C = 10;
            break; // } -> ü
        case 126:
            return SharpS; // ~ -> ß
        default:
            break;
        }
        return FontInternational.data() + 8 * C;
    case 3:
        if (C == 13) return SharpS;
        return FontInternational.data() + 8 * C;
    default:
        return nullptr;
    }
}

void TAtariFont::DrawChar(QImage& Image, int Selector, int Code, int X, int Y, quint32 FgColor,
                          quint32 BgColor, int Scale, bool NoFg, bool NoBg) const {
    TTarget T;
    if (!PrepareTarget(Image, T)) return;
    PaintPattern(T, Glyph(Selector, Code), X, Y, WinColorToRgb(FgColor), WinColorToRgb(BgColor), Scale, NoFg,
                 NoBg);
}

void TAtariFont::DrawCharBytes(QImage& Image, int /*Order*/, const TCharBytes& Bytes, int X, int Y,
                               quint32 FgColor, quint32 BgColor, int Scale, bool NoFg, bool NoBg) const {
    TTarget T;
    if (!PrepareTarget(Image, T)) return;
    PaintPattern(T, Bytes.data(), X, Y, WinColorToRgb(FgColor), WinColorToRgb(BgColor), Scale, NoFg, NoBg);
}

void TAtariFont::DrawEditGrid(QImage& Image, int X, int Y, int CellSize, quint32 ColourEven,
                              quint32 ColourOdd) const {
    TTarget T;
    if (!PrepareTarget(Image, T) || CellSize <= 0) return;
    const QRgb Even = WinColorToRgb(ColourEven), Odd = WinColorToRgb(ColourOdd);
    for (int R = 0; R < 8; ++R)
        for (int C = 0; C < 8; ++C)
            FillRect(T, X + qint64(C) * CellSize, Y + qint64(R) * CellSize, CellSize, CellSize,
                     (R + C) % 2 == 0 ? Even : Odd);
}

void TAtariFont::DrawFont(QImage& Image, int X, int Y, int Selector, int Gap, quint32 Colour1,
                          quint32 Colour2) const {
    TTarget T;
    if (!PrepareTarget(Image, T)) return;
    const QRgb C1 = WinColorToRgb(Colour1), C2 = WinColorToRgb(Colour2);
    const qint64 Pitch = 8 + qint64(Gap);
    qint64 Xp = X, Yp = Y;
    for (int Pass = 0; Pass < 2; ++Pass) {
        const QRgb Ink = Pass == 0 ? C1 : C2, Paper = Pass == 0 ? C2 : C1;
        for (int Code = 0; Code < 128; ++Code) {
            PaintPattern(T, Glyph(Selector, Code), Xp, Yp, Ink, Paper, 1, false, false);
            Xp += Pitch;
            if (Code % 32 == 31) {
                Xp = X;
                Yp += Pitch;
            }
        }
    }
}

void TAtariFont::DrawString(QImage& Image, const QByteArray& Text, int X, int Y, quint32 FgColor,
                            quint32 BgColor) const {
    TTarget T;
    if (!PrepareTarget(Image, T)) return;
    const QRgb Fg = WinColorToRgb(FgColor), Bg = WinColorToRgb(BgColor);
    qint64 Xp = X;
    for (char Ch : Text) {
        const quint8 B = quint8(Ch);
        if (B < 128)
            PaintPattern(T, Glyph(1, B), Xp, Y, Fg, Bg, 1, false, true);
        else
            PaintPattern(T, Glyph(1, B & 127), Xp, Y, Bg, Fg, 1, true, false);
        Xp += 8;
        if (Xp >= T.W) break;
    }
}

namespace {
// The cursor of a text page, in 64-bit so that long lines of TABs or huge margins
// cannot wrap around.
struct TPageCursor {
    enum TStep { StepBreak, StepSkip, StepDraw };
    qint64 W, X0, Top, Tab;
    bool Listing;
    quint8 EOLCode, TABCode;
    qint64 X = 0, Y = 0, Col = 0;

    TPageCursor(int ListingType, quint8 EOL, quint8 TABC, int TabWidth, int CharsPerLine, int LeftMargin,
                int XOffset, int YOffset)
        : W(qint64(CharsPerLine) - LeftMargin), X0(qint64(XOffset) + 4 + 8 * qint64(LeftMargin)),
          Top(qint64(YOffset) + 4), Tab(std::max(TabWidth, 1)), Listing(ListingType == 4), EOLCode(EOL),
          TABCode(TABC) {
        Home();
    }
    void Home() { X = X0, Y = Top, Col = 0; }
    // Advances over byte B; says whether B is drawn (at the cursor before the call).
    TStep Advance(quint8 B) {
        if (B == EOLCode) {
            X = X0, Y += 8, Col = 0;
            return StepBreak;
        }
        if (Listing && B == TABCode) {
            const qint64 N = Tab - Col % Tab;
            X += 8 * N, Col += N;
            return StepSkip;
        }
        if (Listing && B == 255) {
            X += 8;
            return StepSkip;
        }
        if (Col + 1 == W)
            X = X0, Y += 8, Col = 0;
        else
            X += 8, Col += 1;
        return StepDraw;
    }
};
} // namespace

int TAtariFont::FittingLength(const quint8* Buffer, int Length, int ListingType, quint8 EOLCode,
                              quint8 TABCode, int TabWidth, int CharsPerLine, int LeftMargin, int YOffset) {
    if (!Buffer || Length <= 0) return 0;
    const qint64 PageW = 8 * qint64(CharsPerLine) + 8;
    if (PageW < 1) return Length; // RenderText says what is wrong with it
    // The page is YOffset + 4 + 8 x lines + 10 high and at most MaxPagePixels large.
    const qint64 MaxLines = (MaxPagePixels / PageW - (qint64(YOffset) + 14)) / 8;
    TPageCursor C(ListingType, EOLCode, TABCode, TabWidth, CharsPerLine, LeftMargin, 0, YOffset);
    qint64 Lines = 0;
    int Fits = 0;
    for (int I = 0; I < Length; ++I) {
        const qint64 Y1 = C.Y;
        C.Advance(Buffer[I]);
        if (C.Y == Y1) continue;
        if (++Lines > MaxLines) return Fits;
        Fits = I + 1;
    }
    return Length;
}

bool TAtariFont::RenderText(QImage& Image, int Selector, const quint8* Buffer, int Length, int ListingType,
                            quint8 EOLCode, quint8 TABCode, int TabWidth, int CharsPerLine, int LeftMargin,
                            int XOffset, int YOffset, quint32 FgColor, quint32 BgColor,
                            const TProgressFn& ProgressBar, QObject* App,
                            const std::function<void()>& Repaint) const {
    if (ActiveRenders().contains(&Image)) return false;
    if (!Buffer || Length < 0) Length = 0;

    TPageCursor C(ListingType, EOLCode, TABCode, TabWidth, CharsPerLine, LeftMargin, XOffset, YOffset);
    qint64 Lines = 0;
    for (int I = 0; I < Length; ++I) {
        const qint64 Y1 = C.Y;
        C.Advance(Buffer[I]);
        if (C.Y != Y1) ++Lines;
    }

    const qint64 PageW = 8 * qint64(CharsPerLine) + 8;
    const qint64 PageH = qint64(YOffset) + 4 + 8 * Lines + 10;
    if (PageW < 1 || PageH < 1)
        throw EMorvanelError(
            QStringLiteral("Ungültige Seitengröße für den Text (%1 x %2 Bildpunkte).").arg(PageW).arg(PageH));
    if (PageW > MaxPagePixels / PageH)
        throw EMorvanelError(
            QStringLiteral("Der Text ist zu lang für eine Seite: %1 x %2 Bildpunkte, höchstens %3 Millionen "
                           "Bildpunkte sind möglich.")
                .arg(PageW)
                .arg(PageH)
                .arg(MaxPagePixels / (1024 * 1024)));
    QImage Page(int(PageW), int(PageH), QImage::Format_RGB32);
    if (Page.isNull())
        throw EMorvanelError(QStringLiteral("Nicht genug Speicher für die Textseite (%1 x %2 Bildpunkte).")
                                 .arg(PageW)
                                 .arg(PageH));

    const QRgb Fg = WinColorToRgb(FgColor), Bg = WinColorToRgb(BgColor);
    const QRgb Silver = WinColorToRgb(PageFrameColour);
    Image = std::move(Page);
    TTarget T;
    PrepareTarget(Image, T);
    FillRect(T, 0, 0, T.W, T.H, Bg);
    FrameRect(T, Silver);

    TActiveRender Active(&Image);
    QPointer<QObject> Guard(App);
    // After events ran: the owner must still exist and Image must still be our page.
    auto StillOurs = [&] {
        return !Guard.isNull() && Image.constBits() == T.Bits && Image.width() == T.W &&
               Image.height() == T.H;
    };

    C.Home();
    for (int I = 0; I < Length; ++I) {
        const quint8 B = Buffer[I];
        const qint64 Xg = C.X, Yg = C.Y;
        if (C.Advance(B) == TPageCursor::StepDraw) {
            if (B < 128)
                PaintPattern(T, Glyph(Selector, B), Xg, Yg, Fg, Bg, 1, false, false);
            else
                PaintPattern(T, Glyph(Selector, B & 127), Xg, Yg, Bg, Fg, 1, false, false);
        }
        if (App && I % 16 == 0) {
            if (QCoreApplication::instance()) QCoreApplication::processEvents();
            if (Guard.isNull()) return false;
            if (Repaint) Repaint();
            if (Guard.isNull()) return false;
            uTAtariFont::SetProgress(ProgressBar, I, Length - 1);
            if (!StillOurs()) return false;
        }
    }
    FrameRect(T, Silver);
    return true;
}

// ---- font files and character editing ----

void TAtariFont::LoadFromFile(const QString& FileName) {
    LoadFromData(ReadFileHead(FileName, 1024));
}

void TAtariFont::LoadFromData(const QByteArray& Data) {
    const int N = int(std::min<qsizetype>(Data.size(), 1024));
    for (int I = 0; I < N; ++I) {
        FontInternal[I] = quint8(Data[I]);
        FontATASCII[InternalToATASCIIIndex(I)] = quint8(Data[I]);
    }
}

void TAtariFont::SaveToFile(const QString& FileName, int /*Order*/) const {
    WriteWholeFile(FileName, SaveToData());
}

QByteArray TAtariFont::SaveToData() const {
    return QByteArray(reinterpret_cast<const char*>(FontInternal.data()), 1024);
}

bool TAtariFont::CharOffsets(int Code, int Order, int& P, int& Q) const {
    if (Code < 0 || Code > 127) return false;
    if (Order == 0) {
        P = 8 * Code;
        Q = 8 * InternalToATASCII(quint8(Code));
    } else if (Order == 1) {
        Q = 8 * Code;
        P = 8 * ATASCIIToInternal(quint8(Code));
    } else {
        return false;
    }
    return true;
}

void TAtariFont::GetCharBytes(int Code, TCharBytes& Bytes, int Order) const {
    int P = 0, Q = 0;
    if (!CharOffsets(Code, Order, P, Q)) return;
    const quint8* Src = Order == 0 ? FontInternal.data() + P : FontATASCII.data() + Q;
    std::copy(Src, Src + 8, Bytes.begin());
}

void TAtariFont::GetOriginalCharBytes(int Code, TCharBytes& Bytes, int Order) const {
    int P = 0, Q = 0;
    if (!CharOffsets(Code, Order, P, Q)) return;
    const quint8* Src = StandardSet().data() + P;
    std::copy(Src, Src + 8, Bytes.begin());
}

void TAtariFont::PutCharBytes(int Code, const TCharBytes& Bytes, int Order, int Mode) {
    int P = 0, Q = 0;
    if (Mode < 0 || Mode > 3 || !CharOffsets(Code, Order, P, Q)) return;
    auto Combine = [Mode](quint8 Old, quint8 New) -> quint8 {
        switch (Mode) {
        case 1:
            return Old | New;
        case 2:
            return Old & New;
        case 3:
            return Old ^ New;
        default:
            return New;
        }
    };
    for (int K = 0; K < 8; ++K) {
        FontInternal[P + K] = Combine(FontInternal[P + K], Bytes[K]);
        FontATASCII[Q + K] = Combine(FontATASCII[Q + K], Bytes[K]);
    }
}

void TAtariFont::TogglePixel(int Code, int Row, int Bit, int Order) {
    int P = 0, Q = 0;
    if (Row < 0 || Row > 7 || Bit < 0 || Bit > 7 || !CharOffsets(Code, Order, P, Q)) return;
    uTAtariFont::ToggleBit(FontInternal[P + Row], Bit);
    uTAtariFont::ToggleBit(FontATASCII[Q + Row], Bit);
}

void TAtariFont::RotateChar(TCharBytes& Bytes, int Direction) {
    if (Direction != 0 && Direction != 1) return;
    bool Grid[8][8], New[8][8];
    for (int R = 0; R < 8; ++R)
        for (int C = 0; C < 8; ++C) Grid[R][C] = uTAtariFont::GetBit(Bytes[R], 7 - C);
    for (int R = 0; R < 8; ++R)
        for (int C = 0; C < 8; ++C) {
            if (Direction == 0)
                New[7 - C][R] = Grid[R][C];
            else
                New[C][7 - R] = Grid[R][C];
        }
    for (int R = 0; R < 8; ++R)
        for (int C = 0; C < 8; ++C) {
            if (New[R][C])
                uTAtariFont::SetBit(Bytes[R], 7 - C);
            else
                uTAtariFont::ClearBit(Bytes[R], 7 - C);
        }
}

// ---- plain helpers ----

namespace uTAtariFont {

bool IsBitSet(quint8 B, int N) {
    return GetBit(B, 7 - N);
}
bool GetBit(quint8 B, int N) {
    return N >= 0 && N < 8 && ((B >> N) & 1);
}
void SetBit(quint8& B, int N) {
    if (N >= 0 && N < 8) B = quint8(B | (1u << N));
}
void ClearBit(quint8& B, int N) {
    if (N >= 0 && N < 8) B = quint8(B & ~(1u << N));
}
void ToggleBit(quint8& B, int N) {
    if (N >= 0 && N < 8) B = quint8(B ^ (1u << N));
}
void SetProgress(const TProgressFn& ProgressBar, int Position, int Max) {
    if (ProgressBar) ProgressBar(Position, Max);
}

} // namespace uTAtariFont
