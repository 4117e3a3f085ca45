#pragma once
// The Atari 8-bit picture document: identification of every opened file, the
// loaders of the 8-bit formats, the palette renderer and the GR.8 and PHO writers.
#include "uGlobal.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <span>
#include <vector>

// Identification result and the data shown in a picture window's info panel.
struct TPicInfo {
    QString FileType;             // type code: "KOA", "MIC", "GR8", ... ("UNK": none)
    quint32 KoalaCompression = 0; // header byte 7 of a Koala file
    int Width = 0;                // nominal picture size, replaced by the drawn size
    int Height = 0;               //   for some types
    QString FileName;             // shown name (display name)
    qint64 FileSize = 0;          // bytes
    QString Description;          // format description
    QString CompressionText;      // compression text
    bool ForceType = false;       // identification only measures the file
    int PointCount = 0;           // Solid States object: points
    int LineCount = 0;            //   and lines
};

// One picture of a photo album.
struct TAlbumPic {
    QByteArray Name;    // the 15 ATASCII name bytes of the entry
    int WidthBytes = 0; // width in pixels minus 1 (width in bytes x 8 - 1)
    int Height = 0;     // rows
    QByteArray Data;    // DataSize bytes, 1 bit per pixel, rows top first, MSB leftmost
    int DataSize = 0;   // width in bytes x rows
};

// Which pixels of a picture pack as a set GR.8 bit. By default only white. A
// picture drawn from 1-bit data in two distinct GR.8 colours packs by those colours:
// the foreground is set, the background clear, so a page goes back to its own bytes
// whatever the colours. An inverted picture shows the inverted colours and packs
// to the inverted bits: its inverted background is set, its inverted foreground
// clear. With the default colours, white on black, both rules are "only white".
class TBitPacking {
public:
    TBitPacking() = default;
    // Fore and Back as 0x00BBGGRR; equal colours cannot tell bits apart: only white,
    // and OneColour says that the picture's bits are lost.
    TBitPacking(quint32 Fore, quint32 Back);
    bool IsSet(QRgb Pixel) const {
        const QRgb P = Pixel & 0xFFFFFF;
        return P == FSet || P == FSetInverted;
    }
    bool OneColour() const { return FOneColour; }
    bool operator==(const TBitPacking&) const = default;

private:
    QRgb FSet = 0xFFFFFF, FSetInverted = 0xFFFFFF;
    bool FOneColour = false;
};

class TAtariGraphic {
public:
    static constexpr int PicBufferSize = 32000;
    static constexpr int GR8BufferSize = 7680;
    static constexpr int MaxAlbumPics = 100;
    static constexpr int MaxAlbumData = 8000;
    static constexpr int KoalaDataSize = 7680;
    static constexpr quint8 EOL = 155;
    static constexpr int TechnicolorPlainSize = 4766; // each file of an uncompressed pair

    // The most bytes each loader reads of its file: what the format can use. Raw
    // pages and photos fill at most the buffer; a Koala file needs at most two bytes
    // a picture byte (a longer one only holds empty runs); a Technicolor half at
    // most one value/count pair for each of its 16000 buffer bytes; an album 100
    // entries of the largest size its two size bytes can state.
    static constexpr qint64 MaxRawFileSize = PicBufferSize;
    static constexpr qint64 MaxKoalaFileSize = 64 * 1024;
    static constexpr qint64 MaxTechnicolorFileSize = 6 + 2 * (PicBufferSize / 2);
    static constexpr qint64 MaxPhotoFileSize = 17 + 2 + PicBufferSize + 17 + 17;
    static constexpr qint64 MaxAlbumFileSize = 17 + MaxAlbumPics * (17 + 255 * 255);
    // Identification looks at no more than the Koala header.
    static constexpr qint64 IdentifyHeadSize = 27;

    // Pixel cursor of the renderer and the album drawing.
    int PlotX = 0;
    int PlotY = 0;
    // Picture data as loaded; PicBuffer[0] is picture byte 1. Koala and Micropainter
    // colour registers sit in PicBuffer[7680..7683] (bytes 7681 to 7684).
    std::array<quint8, PicBufferSize> PicBuffer{};
    // Packed 1-bit picture for the GR.8 writer; GR8Buffer[0] is byte 1.
    std::array<quint8, GR8BufferSize> GR8Buffer{};
    TPicInfo PicInfo;
    // How the writers pack the picture drawn last: by the GR.8 colours after a GR.8
    // rendering (RenderPic mode 8, the album), else only white is set.
    TBitPacking Packing;
    // Photo album: Album[k - 1] is picture k, 1 <= k <= AlbumCount.
    int AlbumCount = 0;
    std::vector<TAlbumPic> Album;
    int AlbumMaxWidth = 0;  // widest picture in pixels minus 1, at least 128 (see LoadAlbum)
    int AlbumMaxHeight = 0; // tallest picture + 16 rows for the captions

    // ---- identification ----
    // Classifies the file at Path (real path, used for reading) by its first bytes,
    // its size and the extension of Name (the display name; DisplayName(Path) when
    // empty). Fills FileSize, FileType and, for Koala files, KoalaCompression.
    // Throws EInOutError when the file cannot be opened.
    void IdentifyFileType(const QString& Path, const QString& Name = QString());
    // The same from the file's first bytes (at least IdentifyHeadSize when the file has
    // them), its size and its display name.
    void IdentifyData(const QByteArray& Head, qint64 FileSize, const QString& Name);
    // Fills Description, CompressionText and the nominal Width and Height from FileType.
    void SetFormatInfo();

    // ---- palette ----
    static quint32 AtariColor(int N);      // palette entry N (0..255) as 0x00BBGGRR
    static quint32 Gr11Color(int N);       // hue N at luminance 4
    static quint32 AtariColorEven(int N);  // entry N with bit 0 cleared
    static bool IsBitSet(quint8 B, int N); // N = 0 is the most significant bit

    // ---- rendering ----
    // Sets the pixel at the cursor (clipped to the image) and advances the cursor,
    // wrapping after column LastX.
    void PlotPixel(QImage& Image, quint32 Colour, int LastX);
    // Draws ByteCount bytes of PicBuffer into Image (RGB32, already sized) in mode
    // 8, 9, 911, 119 or 15; any other mode draws nothing. Progress gets (position,
    // ByteCount) every 512 bytes (256 in mode 15). Colors are the GR.15 base colours
    // (0x00BBGGRR), used in mode 15 when ByteCount does not reach the colour registers.
    void RenderPic(QImage& Image, int ByteCount, int LastX, const TProgressFn& Progress, int Mode,
                   std::span<const quint32, 4> Colors);
    void ShowTechnicolor(QImage& Image, int ByteCount, int LastX, const TProgressFn& Progress, int Mode,
                         std::span<const quint32, 4> Colors);

    // ---- loaders ----
    // Load* take the real path, read the file once (bounded, see above) and hand the
    // bytes to the Parse* of the same name; Name only labels error messages. Reading
    // past the end of the bytes throws EInOutError.
    void ClearPicBuffer();
    // GR8, GR9, MIC, APAC, APAC2: the file's first 32000 bytes into PicBuffer.
    void LoadRawPic(const QString& Path, int& Size);
    void ParseRawPic(const QByteArray& Data, int& Size);
    // Koala file, decompressed; Size := 7684, also when the file ends early (what
    // was decoded stays in the buffer).
    void LoadKoala(const QString& Path, int& Size);
    void ParseKoala(const QByteArray& Data, int& Size, const QString& Name = QString());
    // The .COL/.LUM pair of Path (either one); sets PicInfo.CompressionText. A missing
    // partner gives a warning and Size 0. The partner and both sizes come from one
    // look at the folder.
    void LoadTechnicolor(const QString& Path, int& Size);
    // Both halves' bytes (each read up to MaxTechnicolorFileSize): plain when both are
    // exactly TechnicolorPlainSize bytes, value/count pairs otherwise.
    void ParseTechnicolor(const QByteArray& Hue, const QByteArray& Lum, int& Size);
    // Photo in dialect PhoFormat (see PhoStoresMinusOne). Throws EMorvanelError for a
    // malformed header.
    void LoadPhoto(const QString& Path, int& Size, int& LastX, int& Height, int PhoFormat);
    void ParsePhoto(const QByteArray& Data, int& Size, int& LastX, int& Height, int PhoFormat,
                    const QString& Name = QString());
    // The one rule of the photo reader and writer: true when rows and bytes per row
    // are stored minus 1 (the older dialect, every setting but 1).
    static bool PhoStoresMinusOne(int PhoFormat);
    // Photo album; Total is the byte total of line 1, the others the final
    // AlbumCount, AlbumMaxWidth and AlbumMaxHeight. Entries of 0 data bytes count;
    // entries over MaxAlbumData bytes are passed over.
    void LoadAlbum(const QString& Path, int& Total, int& Count, int& MaxWidth, int& MaxHeight);
    void ParseAlbum(const QByteArray& Data, int& Total, int& Count, int& MaxWidth, int& MaxHeight,
                    const QString& Name = QString());
    // The album as a contact sheet with PerRow pictures a row and optional captions.
    void ShowAlbum(QImage& Image, int PerRow, bool ShowSize, bool ShowName);
    // Album picture K (1-based) with its top-left pixel at (X0, Y0).
    void DrawAlbumPic(QImage& Image, int K, int X0, int Y0);

    // ---- writers ----
    // Packs byte columns X0Byte..X0Byte+LastByteCol of rows Y0..Y0+RowsMinus1 (a bit
    // is 1 exactly for a pixel that Packing sets; pixels outside the image are 0)
    // into GR8Buffer from its start; bytes that do not fit the buffer are dropped.
    // Returns the number of bytes stored.
    int ImageToGR8Bits(const QImage& Image, int LastByteCol, int RowsMinus1, int X0Byte, int Y0);
    // The same packing into a buffer of its own, of any size, by the rule Rule.
    static QByteArray PackImageBits(const QImage& Image, int LastByteCol, int RowsMinus1, int X0Byte, int Y0,
                                    const TBitPacking& Rule = TBitPacking());
    // Writes the 7680 bytes of GR8Buffer (atomic replace).
    void SaveGR8Pic(const QString& Path);
    // True when packing Area of Image by Rule loses the picture: the picture was drawn
    // in one GR.8 colour, so Rule cannot tell its bits apart, or every pixel of Area
    // packs alike (a page all clear or all set) while Area shows more than one colour.
    static bool PacksBlank(const QImage& Image, const QRect& Area, const TBitPacking& Rule = TBitPacking());
    // Asks in the current language whether the blank pages Names, packed by Rule, are
    // to be written all the same; true for Yes.
    static bool ConfirmBlankSave(const QStringList& Names, const TBitPacking& Rule = TBitPacking());
    // Asks in the current language whether the existing files Names are to be
    // replaced; true for Yes.
    static bool ConfirmReplace(const QStringList& Names);
    // Packs the 320 x 192 page at the top left of Image into GR8Buffer and writes it
    // to Path. A page that would be blank although the picture is not (PacksBlank)
    // asks first: No writes nothing and returns false.
    bool SaveGR8Page(const QImage& Image, const QString& Path);
    // Writes Image as a photo in dialect PhoFormat. A picture whose packed data exceed
    // 32000 bytes is refused with the "mFormat320" warning, and a photo that would be
    // blank although the picture is not is written only when the user agrees: else
    // returns false, nothing is written. Progress gets (0, N) first, then every 100
    // data bytes.
    bool SavePhoto(const QImage& Image, const QString& Path, int PhoFormat, const TProgressFn& Progress);
    // Splits a 640 x 384 picture into four GR.8 pages BasePath + "_1.PIC" .. "_4.PIC"
    // (numbered by rows for Pic2x2Mode 0, by columns for 1) and reports them with
    // "mPicsSaved"; Progress gets (page, 4) after each page. Another size gives the
    // "mWrongRes1" warning and writes nothing. All four targets are checked before the
    // first page is written (CheckSaveTarget). Files of the four names that exist
    // already are replaced, and pages that would be blank although their picture is
    // not are written, only when the user agrees to each (one question each, the
    // replace question first; No writes nothing and the list is empty). A write that
    // still fails raises its EInOutError followed by "mPicsSavedBefore" and the
    // pages already written.
    // Returns the names in the order top-left, bottom-left, top-right, bottom-right.
    QStringList SaveAs4PICs(const QImage& Image, const QString& BasePath, int Pic2x2Mode,
                            const TProgressFn& Progress = nullptr);
};
