#pragma once
// The Atari 8-bit character set: 128 glyphs of 8 x 8 pixels kept in internal
// (screen-code) order and in ATASCII order, the built-in international set, the
// 256-entry character table, and drawing of characters, fonts and text pages
// onto a QImage. No widget code: windows pass their image and callbacks.
#include "uGlobal.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QString>
#include <array>
#include <functional>

// One entry of the character table, indexed by ATASCII code 0-255.
struct FontTable {
    quint8 ATASCIICode = 0;
    quint8 InternalCode = 0;
    quint8 KeyCode = 0;        // keyboard code of the key combination (PEEK(764))
    QByteArray Mnemonic;       // printable name; entries 128-255 hold the code byte itself
    QByteArray KeyCombination; // keys to press, plain ASCII ("INV CTRL ,")
};

// An 8-byte character pattern: top row first, bit 7 the leftmost pixel.
using TCharBytes = std::array<quint8, 8>;

class TAtariFont {
public:
    // Largest page RenderText will allocate, in pixels (512 MiB of RGB32 data): at 40
    // characters per line about 51000 lines, at 80 about 26000.
    static constexpr qint64 MaxPagePixels = qint64(128) * 1024 * 1024;

    std::array<quint8, 1024> FontInternal{};      // glyph of internal code c at 8c..8c+7
    std::array<quint8, 1024> FontATASCII{};       // the same glyphs in ATASCII order
    std::array<quint8, 1024> FontInternational{}; // built-in international set, ATASCII order
    std::array<FontTable, 256> CharTable{};
    quint8 FontKind = 0; // 1 standard, 2 international
    QString FontName;

    // Create: everything zeroed and empty, then InitFontTable.
    TAtariFont();

    // ---- character set and table ----
    void InitFontTable();
    void LoadBuiltinFont(quint8 Kind);
    static quint8 ATASCIIToInternal(quint8 Code);
    static quint8 InternalToATASCII(quint8 Code);
    static int InternalToATASCIIIndex(int Index);

    // ---- drawing (colours 0x00BBGGRR; every pixel clipped to the image; a null image is left
    // alone, one not in a 32-bit format is converted to RGB32 first) ----
    // Selector: 0 internal order, 1 ATASCII order, 2 international set with German
    // letters for [ \ ] { | } ~, 3 international set with a sharp s at 13.
    // Code is taken modulo 128; an unknown selector draws nothing.
    // NoFg / NoBg leave set / clear pixels untouched (transparent).
    void DrawChar(QImage& Image, int Selector, int Code, int X, int Y, quint32 FgColor, quint32 BgColor,
                  int Scale, bool NoFg, bool NoBg) const;
    void DrawCharBytes(QImage& Image, int Order, const TCharBytes& Bytes, int X, int Y, quint32 FgColor,
                       quint32 BgColor, int Scale, bool NoFg, bool NoBg) const;
    void DrawEditGrid(QImage& Image, int X, int Y, int CellSize, quint32 ColourEven, quint32 ColourOdd) const;
    // Codes 0-127 twice, 32 per row, cell pitch 8 + Gap; needs 32 * (8 + Gap) + X by 8 * (8 + Gap) + Y.
    void DrawFont(QImage& Image, int X, int Y, int Selector, int Gap, quint32 Colour1, quint32 Colour2) const;
    // One line in ATASCII order, clear pixels untouched. Bytes 128-255 are drawn as the
    // glyph of code - 128 in inverse video: its clear pixels in FgColor, set pixels untouched.
    void DrawString(QImage& Image, const QByteArray& Text, int X, int Y, quint32 FgColor,
                    quint32 BgColor) const;

    // Replaces Image with one page holding the first Length bytes of Buffer laid out as
    // Atari screen text (ListingType 4: TABCode and 255 move the cursor; TabWidth below 1
    // counts as 1).
    //
    // App non-null lets events run: at every byte whose index is a multiple of 16 pending
    // events are processed, then Repaint and ProgressBar(index, Length - 1) are called.
    // App is watched: pass the object whose life covers Image and this font (usually the
    // window). When it is destroyed meanwhile, when Image is replaced by someone else, or
    // when a render into the same Image is already running (re-entry), RenderText stops
    // without touching Image again and returns false. True: the page is complete.
    // Throws EMorvanelError, leaving Image as it was, when the page would exceed
    // MaxPagePixels, has no pixels or cannot be allocated.
    bool RenderText(QImage& Image, int Selector, const quint8* Buffer, int Length, int ListingType,
                    quint8 EOLCode, quint8 TABCode, int TabWidth, int CharsPerLine, int LeftMargin,
                    int XOffset, int YOffset, quint32 FgColor, quint32 BgColor,
                    const TProgressFn& ProgressBar = nullptr, QObject* App = nullptr,
                    const std::function<void()>& Repaint = nullptr) const;
    // How many bytes of Buffer RenderText can lay out within MaxPagePixels: Length when
    // the whole page fits, else the bytes up to the last whole line that fits.
    static int FittingLength(const quint8* Buffer, int Length, int ListingType, quint8 EOLCode,
                             quint8 TABCode, int TabWidth, int CharsPerLine, int LeftMargin, int YOffset);

    // ---- font files and character editing ----
    // Order: 0 Code is internal, 1 Code is ATASCII; Code 0-127 (others change nothing).
    void LoadFromFile(const QString& FileName);                // up to 1024 bytes; throws EInOutError
    void LoadFromData(const QByteArray& Data);                 // the same on the file's bytes
    void SaveToFile(const QString& FileName, int Order) const; // 1024 bytes, internal order; atomic
    QByteArray SaveToData() const;                             // the bytes SaveToFile writes
    void GetCharBytes(int Code, TCharBytes& Bytes, int Order) const;
    void GetOriginalCharBytes(int Code, TCharBytes& Bytes, int Order) const;
    // Mode 0 copy, 1 OR, 2 AND, 3 XOR; any other Mode changes nothing.
    void PutCharBytes(int Code, const TCharBytes& Bytes, int Order, int Mode);
    void TogglePixel(int Code, int Row, int Bit, int Order);
    // Direction 0 counter-clockwise, 1 clockwise; any other leaves Bytes unchanged.
    static void RotateChar(TCharBytes& Bytes, int Direction);

private:
    const quint8* Glyph(int Selector, int Code) const;
    bool CharOffsets(int Code, int Order, int& P, int& Q) const;
};

// Plain helpers of the unit (N 0-7; outside that range nothing is set and false is read).
namespace uTAtariFont {
bool IsBitSet(quint8 B, int N); // pixel N from the left is set (bit 7 - N)
bool GetBit(quint8 B, int N);
void SetBit(quint8& B, int N);
void ClearBit(quint8& B, int N);
void ToggleBit(quint8& B, int N);
// Maximum first, then position, as a progress bar takes them.
void SetProgress(const TProgressFn& ProgressBar, int Position, int Max);
} // namespace uTAtariFont
