#include "uPictureOpen.h"

#include "FileIO.h"
#include "JPEGImage.h"

#include <QImageReader>
#include <algorithm>

namespace {

enum class TLoader {
    Raw,
    Koala,
    Technicolor,
    Photo,
    Album,
    Degas,
    DegasPacked,
    Neochrome,
    Doodle,
    STAD,
    Bitmap,
    Jpeg
};

// One row per type code: loader, renderer mode (8-bit) or resolution (ST), and the
// picture size for the types whose size is fixed (0: from the file).
struct TPictureRow {
    const char* Type;
    TLoader Loader;
    int Mode;
    int Width, Height;
    int ShownHeight; // 0: as drawn
};

constexpr TPictureRow PictureRows[] = {
    {"GR8", TLoader::Raw, 8, 320, 192, 0},
    {"GR9", TLoader::Raw, 9, 320, 192, 0},
    {"TECHNICOLOR", TLoader::Technicolor, 911, 320, 238, 0},
    {"APAC", TLoader::Raw, 911, 320, 192, 0},
    {"APAC2", TLoader::Raw, 119, 320, 192, 0},
    {"MIC", TLoader::Raw, 15, 320, 192, 0},
    {"KOA", TLoader::Koala, 15, 320, 192, 0},
    {"PHO", TLoader::Photo, 8, 0, 0, 0},
    {"ALB", TLoader::Album, 0, 0, 0, 0},
    {"NEO", TLoader::Neochrome, TAtariSTGraphic::ResLow, 320, 200, 0},
    {"DOO", TLoader::Doodle, TAtariSTGraphic::ResHigh, 640, 400, 0},
    {"STAD", TLoader::STAD, TAtariSTGraphic::ResHigh, 640, 400, 0},
    {"PI1", TLoader::Degas, TAtariSTGraphic::ResLow, 320, 200, 0},
    {"PI2", TLoader::Degas, TAtariSTGraphic::ResMedium, 640, 200, 400}, // every line shown twice
    {"PI3", TLoader::Degas, TAtariSTGraphic::ResHigh, 640, 400, 0},
    {"PC1", TLoader::DegasPacked, TAtariSTGraphic::ResLow, 320, 200, 0},
    {"PC2", TLoader::DegasPacked, TAtariSTGraphic::ResMedium, 640, 200, 400},
    {"PC3", TLoader::DegasPacked, TAtariSTGraphic::ResHigh, 640, 400, 0},
    {"BMP", TLoader::Bitmap, 0, 0, 0, 0},
    {"JPG", TLoader::Jpeg, 0, 0, 0, 0},
};

const TPictureRow* FindRow(const QString& Type) {
    for (const TPictureRow& R : PictureRows)
        if (Type == QLatin1String(R.Type)) return &R;
    return nullptr;
}

[[noreturn]] void BadBitmap(const QString& Name) {
    throw EConvertError(QStringLiteral("Ungültiges Bitmap: %1").arg(DisplayName(Name)));
}

} // namespace

bool IsPictureType(const QString& Type) {
    return FindRow(Type) != nullptr;
}

void CheckPictureHead(const TPicInfo& Info, const QString& Path) {
    const qint64 Needed = Info.FileType == QLatin1String("KOA") ? TAtariGraphic::IdentifyHeadSize : 4;
    if (Info.FileSize < Needed) RaiseInOutError(ioReadPastEnd, Path);
}

// ---------------------------------------------------------------- bitmaps

qint64 BitmapFileLimit(const QByteArray& Head, qint64 FileSize, const QString& Name) {
    const TByteView H(Head);
    auto DWord = [&](int I) -> qint64 {
        const int Lo = H.WordLE(I), Hi = H.WordLE(I + 2);
        if (Lo < 0 || Hi < 0) BadBitmap(Name);
        return qint64(Lo) | (qint64(Hi) << 16);
    };
    if (H.At(0) != 'B' || H.At(1) != 'M') BadBitmap(Name);
    const qint64 Offset = DWord(10);
    const qint64 InfoSize = DWord(14);
    qint64 Width = 0, Height = 0, Bits = 0, Compression = 0;
    if (InfoSize == 12) { // the old OS/2 header: 16-bit sizes
        Width = H.WordLE(18);
        Height = H.WordLE(20);
        Bits = H.WordLE(24);
    } else if (InfoSize >= 40) {
        Width = qint32(quint32(DWord(18)));
        Height = qint32(quint32(DWord(22)));
        Bits = H.WordLE(28);
        Compression = DWord(30);
    } else {
        BadBitmap(Name);
    }
    Height = std::abs(Height); // negative: rows top first
    if (Width <= 0 || Height <= 0 || Bits <= 0) BadBitmap(Name);
    if (Width > MaxPictureSide || Height > MaxPictureSide || Width * Height > MaxPicturePixels)
        throw EConvertError(
            QStringLiteral("Bild zu groß (%1 x %2 Pixel): %3").arg(Width).arg(Height).arg(DisplayName(Name)));
    // Rows padded to 4 bytes; run-length data can take up to two bytes a pixel plus
    // an end-of-line code a row. Palettes and masks lie before the offset.
    const qint64 RowBytes = (Width * std::min<qint64>(Bits, 64) + 31) / 32 * 4;
    // Rows stored as they are (no run-length coding) must all be there, the last
    // one perhaps without its padding: a few bytes claiming a large picture would
    // otherwise cost the whole picture's memory for nothing.
    const bool Plain = Compression == 0 || Compression == 3;
    if (Plain && FileSize < Offset + RowBytes * (Height - 1) + (Width * Bits + 7) / 8) BadBitmap(Name);
    const qint64 Pixels = std::max(RowBytes * Height, 2 * Width * Height + 2 * Height + 2);
    return std::min<qint64>(Offset, 64 * 1024) + Pixels;
}

QImage DecodeBitmap(const QByteArray& Data, const QString& Name) {
    const qint64 Limit = BitmapFileLimit(Data.left(64), Data.size(), Name);
    QImage Picture;
    const QByteArray Used = Data.size() > Limit ? Data.left(qsizetype(Limit)) : Data;
    // Qt's own allocation limit is lower than ours; the header check above decides.
    QImageReader::setAllocationLimit(MaxPictureMegabytes);
    if (!Picture.loadFromData(Used, "BMP") || Picture.isNull()) BadBitmap(Name);
    return Picture;
}

QImage LoadBitmapFile(const QString& Path, const QString& Name) {
    const qint64 Length = GetFileLength(Path);
    const qint64 Limit = BitmapFileLimit(ReadFileHead(Path, 64), Length, Name);
    return DecodeBitmap(ReadFileHead(Path, std::min(Limit, Length)), Name);
}

bool IsDecodedPictureType(const QString& Type) {
    const TPictureRow* Row = FindRow(Type);
    return Row && (Row->Loader == TLoader::Bitmap || Row->Loader == TLoader::Jpeg);
}

QImage LoadDecodedPicture(const QString& Path, const QString& Name, const QString& Type) {
    const TPictureRow* Row = FindRow(Type);
    if (Row && Row->Loader == TLoader::Bitmap) return LoadBitmapFile(Path, Name);
    TJPEGImage Jpeg;
    Jpeg.LoadFromFile(Path);
    return Jpeg.Image();
}

// ---------------------------------------------------------------- the open

void OpenPictureFile(const QString& Path, const QString& Name, TAtariGraphic& G, TAtariSTGraphic& ST,
                     const TPictureOpenOptions& O, const TPictureCanvas& Canvas) {
    const TPictureRow* Row = FindRow(G.PicInfo.FileType);
    if (!Row) return;
    const int Mode = Row->Mode;
    auto Blank = [&](int W, int H) -> QImage& {
        return Canvas.NewPicture(W, H, Row->ShownHeight ? QSize(W, Row->ShownHeight) : QSize());
    };
    auto InfoFrom = [&](const QSize& Size) {
        G.PicInfo.Width = Size.width();
        G.PicInfo.Height = Size.height();
    };
    int Size = 0;
    switch (Row->Loader) {
    case TLoader::Raw: {
        // A GR.8 page of a joined open takes the joined page's size.
        const int Joined = Mode == 8 ? O.JoinedLayout : 0;
        const int W = Joined == 2 ? 640 : Row->Width;
        const int H = Joined ? 384 : Row->Height;
        QImage& Image = Blank(W, H);
        G.LoadRawPic(Path, Size);
        G.RenderPic(Image, Size, W - 1, O.Progress, Mode, O.Colors);
        if (Joined) InfoFrom(Image.size());
        break;
    }
    case TLoader::Koala: {
        QImage& Image = Blank(Row->Width, Row->Height);
        G.LoadKoala(Path, Size);
        G.RenderPic(Image, Size, Row->Width - 1, O.Progress, Mode, O.Colors);
        break;
    }
    case TLoader::Technicolor: {
        QImage& Image = Blank(Row->Width, Row->Height);
        G.LoadTechnicolor(Path, Size);
        G.ShowTechnicolor(Image, Size, Row->Width - 1, O.Progress, Mode, O.Colors);
        break;
    }
    case TLoader::Photo: {
        int LastX = 0, Height = 0;
        G.LoadPhoto(Path, Size, LastX, Height, O.PhoFormat);
        QImage& Image = Blank(LastX + 1, Height);
        G.RenderPic(Image, Size, LastX, O.Progress, Mode, O.Colors);
        InfoFrom(QSize(LastX + 1, Height));
        break;
    }
    case TLoader::Album: {
        int Total = 0, Count = 0, MaxW = 0, MaxH = 0;
        G.LoadAlbum(Path, Total, Count, MaxW, MaxH);
        const int Rows = (G.AlbumCount + 4) / 5;
        const int Height =
            Rows == 1 ? G.AlbumMaxHeight + 32 : (G.AlbumCount / 5 + 1) * (G.AlbumMaxHeight + 16) + 8;
        QImage& Image = Blank(G.AlbumMaxWidth * 5, Height);
        G.ShowAlbum(Image, 5, true, true);
        InfoFrom(QSize(MaxW, MaxH));
        break;
    }
    case TLoader::Degas:
    case TLoader::DegasPacked:
    case TLoader::Neochrome:
    case TLoader::Doodle:
    case TLoader::STAD: {
        QImage& Image = Blank(Row->Width, Row->Height);
        switch (Row->Loader) {
        case TLoader::Degas:
            ST.LoadDegas(Path);
            break;
        case TLoader::DegasPacked:
            ParseFileHead(Path, TAtariSTGraphic::MaxDegasPackedFileSize,
                          [&](const QByteArray& Data) { ST.ParseDegasPacked(Data, Mode, Path); });
            break;
        case TLoader::Neochrome:
            ST.LoadNeochrome(Path);
            break;
        case TLoader::Doodle:
            ST.LoadDoodle(Path);
            break;
        default: {
            // Header and data come from one read of the file.
            const QByteArray Data = ReadFileHead(Path, TAtariSTGraphic::MaxSTADFileSize);
            ST.ParseSTADHeader(Data, Path);
            ST.ParseSTAD(Data, Path);
            break;
        }
        }
        ST.DrawDegas(Image, Mode);
        break;
    }
    case TLoader::Bitmap:
    case TLoader::Jpeg: {
        const QImage Picture =
            O.Decoded.isNull() ? LoadDecodedPicture(Path, Name, G.PicInfo.FileType) : O.Decoded;
        Canvas.SetPicture(Picture);
        InfoFrom(Picture.size());
        break;
    }
    }
}
