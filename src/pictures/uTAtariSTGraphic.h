#pragma once
// One Atari ST screen (32000 bytes) with its 16-colour palette: Degas (.PI1-.PI3,
// .PC1-.PC3), NEOchrome (.NEO), Doodle (.DOO) and STAD (.PAC) pictures, drawn in
// low (320 x 200), medium (640 x 200) or monochrome (640 x 400) resolution.
#include <QImage>
#include <QString>
#include <QtGlobal>
#include <array>
#include <span>

class TAtariSTGraphic {
public:
    static constexpr int ScreenSize = 32000;
    static constexpr int DegasHeaderSize = 34;
    static constexpr int NeochromeHeaderSize = 128;
    static constexpr int STADHeaderSize = 7;
    enum : int { ResLow = 0, ResMedium = 1, ResHigh = 2 };

    // Screen memory as in the file: 16-bit words, most significant byte first
    // (index 0 is the first screen byte).
    std::array<quint8, ScreenSize> Screen{};
    // Colour words in host order: bits 8-10 red, 4-6 green, 0-2 blue (levels 0-7).
    std::array<quint16, 16> Palette{};
    // The first 7 bytes of a STAD file: identifier (byte 3 '5' rows, '6' columns),
    // run marker, fill byte, value-run marker.
    std::array<quint8, STADHeaderSize> STADHeader{};

    // The most bytes a packed file can use: a Degas screen of one-byte literal runs,
    // a STAD screen of value runs of one byte each.
    static constexpr qint64 MaxDegasPackedFileSize = DegasHeaderSize + 2 * ScreenSize;
    static constexpr qint64 MaxSTADFileSize = STADHeaderSize + 3 * ScreenSize;

    // Loaders take the real file path, read the file once (at most what the format
    // can use) and hand the bytes to the parser of the same kind; both return the
    // number of file bytes used. They throw EInOutError when the file cannot be
    // opened or is too short; a failed load leaves the object as it was. Name only
    // labels the error messages of the parsers.
    int LoadDegas(const QString& FileName);
    int ParseDegas(const QByteArray& Data, const QString& Name = QString());
    // Compressed Degas. A file that ends before the screen is full shows what was
    // decoded; only a monochrome file that ends inside a run is refused.
    int LoadDegasPC1(const QString& FileName);
    int LoadDegasPC2(const QString& FileName);
    int LoadDegasPC3(const QString& FileName);
    int ParseDegasPacked(const QByteArray& Data, int Resolution, const QString& Name = QString());
    int LoadNeochrome(const QString& FileName);
    int ParseNeochrome(const QByteArray& Data, const QString& Name = QString());
    int LoadDoodle(const QString& FileName);
    int ParseDoodle(const QByteArray& Data, const QString& Name = QString());
    int ReadSTADHeader(const QString& FileName);
    int ParseSTADHeader(const QByteArray& Data, const QString& Name = QString());
    // Decodes the packed data after the header read by ReadSTADHeader (Data is the
    // whole file). A short file simply ends the decoding; the rest stays blank.
    int LoadSTAD(const QString& FileName);
    int ParseSTAD(const QByteArray& Data, const QString& Name = QString());

    // Draw into an image the caller has sized (other formats are converted to
    // RGB32); pixels outside the image are skipped. Resolution 0 low, 1 medium,
    // 2 monochrome; any other value draws nothing.
    void DrawDegas(QImage& Image, int Resolution) const;
    void DrawNeochrome(QImage& Image) const { DrawDegas(Image, ResLow); }
    void DrawDoodle(QImage& Image) const { DrawDegas(Image, ResHigh); }
    void DrawSTAD(QImage& Image) const { DrawDegas(Image, ResHigh); }

    // Splits a colour word into its 3-bit levels (bit 3 of each nibble is not used).
    static void SplitSTColor(quint16 Color, int& Red, int& Green, int& Blue);
    // Windows colour value 0x00BBGGRR with each level times 32 (0 to 224).
    static quint32 STColorToRGB(int Red, int Green, int Blue);
    // The 16 palette words, each most significant byte first, into Palette.
    void ReadSTPalette(std::span<const quint8, 32> Words);
    void ClearSTScreen() { Screen.fill(0); }
    // True when bit N (0 = least significant) of Word is set.
    static bool IsWordBitSet(quint16 Word, int N) { return N >= 0 && N < 16 && ((Word >> N) & 1) != 0; }

private:
    int ParseRawScreen(const QByteArray& Data, const QString& Name, int HeaderSize, int PaletteOffset);
};
