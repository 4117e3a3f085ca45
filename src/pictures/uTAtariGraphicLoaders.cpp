// Loaders of the Atari 8-bit picture files and the photo album view. Each loader
// parses bytes already in memory; the Path-taking entry points read the file once,
// bounded by what the format can use, and hand the bytes over.
#include "uTAtariGraphic.h"

#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>
#include <climits>

namespace {

// Sequential reader of file bytes; reading past their end raises the runtime's error.
class TByteReader {
public:
    TByteReader(const QByteArray& Data, const QString& Name)
        : FData(reinterpret_cast<const quint8*>(Data.constData())), FSize(Data.size()), FName(Name) {}
    bool AtEnd() const { return FPos >= FSize; }
    qsizetype Left() const { return FSize - FPos; }
    quint8 ReadByte() {
        if (AtEnd()) RaiseInOutError(ioReadPastEnd, FName);
        return FData[FPos++];
    }
    // The next Count bytes; a file that ends before them raises.
    const quint8* Take(qint64 Count) {
        if (Count < 0 || Count > Left()) {
            FPos = FSize;
            RaiseInOutError(ioReadPastEnd, FName);
        }
        const quint8* P = FData + FPos;
        FPos += qsizetype(Count);
        return P;
    }
    // A line of ATASCII text ending with 155 (not returned); at most MaxLen bytes before it.
    QByteArray ReadLine(int MaxLen) {
        QByteArray Line;
        for (;;) {
            const quint8 B = ReadByte();
            if (B == TAtariGraphic::EOL) return Line;
            if (Line.size() >= MaxLen)
                throw EConvertError(QStringLiteral("Zeile zu lang in %1: '%2...'")
                                        .arg(QFileInfo(FName).fileName(), QString::fromLatin1(Line)));
            Line.append(char(B));
        }
    }
    // The decimal number of a header line of at most MaxLen bytes.
    int ReadNumberLine(int MaxLen) {
        const QByteArray Line = ReadLine(MaxLen);
        bool Ok = false;
        const int V = Line.trimmed().toInt(&Ok);
        if (!Ok)
            throw EConvertError(WithFileName(
                QStringLiteral("'%1' ist kein gültiger Integerwert").arg(QString::fromLatin1(Line)), FName));
        return V;
    }

private:
    const quint8* FData;
    qsizetype FSize;
    qsizetype FPos = 0;
    QString FName;
};

// Number lines of photos and albums hold a few digits.
constexpr int MaxNumberLine = 16;
constexpr qint64 MaxLineBytes = MaxNumberLine + 1;

} // namespace

void TAtariGraphic::ClearPicBuffer() {
    PicBuffer.fill(0);
}

bool TAtariGraphic::PhoStoresMinusOne(int PhoFormat) {
    // Only the newer dialect stores rows and bytes per row as they are; every other
    // setting value means the older one, as the settings dialog shows it.
    return PhoFormat != 1;
}

// ---------------------------------------------------------------- raw pages

void TAtariGraphic::LoadRawPic(const QString& Path, int& Size) {
    ParseRawPic(ReadFileHead(Path, MaxRawFileSize), Size);
}

void TAtariGraphic::ParseRawPic(const QByteArray& Data, int& Size) {
    const int N = int(std::min<qsizetype>(Data.size(), PicBufferSize));
    ClearPicBuffer();
    std::copy_n(reinterpret_cast<const quint8*>(Data.constData()), N, PicBuffer.begin());
    Size = N;
}

// ---------------------------------------------------------------- Koala

void TAtariGraphic::LoadKoala(const QString& Path, int& Size) {
    ParseFileHead(Path, MaxKoalaFileSize, [&](const QByteArray& Data) { ParseKoala(Data, Size, Path); });
}

void TAtariGraphic::ParseKoala(const QByteArray& Data, int& Size, const QString& Name) {
    ClearPicBuffer();
    // Size is set whatever happens, so a cut file still draws what it held.
    struct TSetSize {
        int& S;
        ~TSetSize() { S = 7684; }
    } SetSize{Size};
    TByteReader F(Data, Name);
    const quint8* Header = F.Take(27);
    const quint8 Compression = Header[7];
    PicBuffer[7681] = Header[13];
    PicBuffer[7682] = Header[14];
    PicBuffer[7683] = Header[15];
    PicBuffer[7680] = Header[17];

    int Stored = 0;
    auto Store = [&](quint8 V) {
        if (Stored >= KoalaDataSize) return;
        // Row after row, also for compression values nobody defined (a picture
        // still shows rather than every byte landing on the first position).
        int Pos = Stored;
        if (Compression == 1) {
            // 40 columns of 192 bytes: the 96 even rows first, then the 96 odd rows.
            const int Col = Stored / 192, R = Stored % 192;
            const int Row = R < 96 ? 2 * R : 2 * (R - 96) + 1;
            Pos = Row * 40 + Col;
        }
        PicBuffer[Pos] = V;
        ++Stored;
    };

    if (Compression == 0) {
        while (Stored < KoalaDataSize && !F.AtEnd()) Store(F.ReadByte());
    } else {
        while (Stored < KoalaDataSize && !F.AtEnd()) {
            const quint8 C = F.ReadByte();
            int N = C & 0x7F;
            if (N == 0) {
                const int Hi = F.ReadByte();
                N = Hi * 256 + F.ReadByte();
            }
            if (C & 0x80) {
                for (int I = 0; I < N && Stored < KoalaDataSize; ++I) Store(F.ReadByte());
            } else {
                const quint8 V = F.ReadByte();
                for (int I = 0; I < N && Stored < KoalaDataSize; ++I) Store(V);
            }
        }
    }
}

// ---------------------------------------------------------------- Technicolor

namespace {

// The file Name in Folder: the exact spelling when it exists, else the first entry
// that differs only in case; empty when there is none. One stat in the usual case,
// one pass over the folder otherwise.
QString FindPartner(const QString& Folder, const QString& Name) {
    const QString Exact = Folder + QLatin1Char('/') + Name;
    if (QFileInfo(Exact).isFile()) return Exact;
    QDirIterator It(Folder, QDir::Files | QDir::Hidden);
    QString Found;
    while (It.hasNext()) {
        It.next();
        const QString Entry = It.fileName();
        if (Entry.compare(Name, Qt::CaseInsensitive) == 0 && (Found.isEmpty() || Entry < Found))
            Found = Entry;
    }
    return Found.isEmpty() ? QString() : Folder + QLatin1Char('/') + Found;
}

} // namespace

void TAtariGraphic::LoadTechnicolor(const QString& Path, int& Size) {
    Size = 0;
    // The opened file itself must be readable before its partner is looked for.
    const QByteArray Own = ReadFileHead(Path, MaxTechnicolorFileSize);
    const QFileInfo Info(Path);
    const QString Folder = Info.absolutePath();
    const bool IsLum = ExtractFileExtUpper(Info.fileName()) == QLatin1String(".LUM");
    const QString PartnerName =
        NameBeforeDot(Info.fileName()) + (IsLum ? QStringLiteral(".COL") : QStringLiteral(".LUM"));
    const QString Partner = FindPartner(Folder, PartnerName);
    if (Partner.isEmpty()) {
        ShowWarningMsg(DisplayName(PartnerName) + QLatin1Char(' ') + GetMsg(QStringLiteral("mNotFound")));
        return;
    }
    const QByteArray Other = ReadFileHead(Partner, MaxTechnicolorFileSize);
    ParseTechnicolor(IsLum ? Other : Own, IsLum ? Own : Other, Size);
}

void TAtariGraphic::ParseTechnicolor(const QByteArray& Hue, const QByteArray& Lum, int& Size) {
    const bool Plain = Hue.size() == TechnicolorPlainSize && Lum.size() == TechnicolorPlainSize;
    ClearPicBuffer();
    int Stored = 0;
    // Hue rows 0, 2, 4 ... from position 1, luminance rows 1, 3, 5 ... from 41.
    auto ReadPart = [&](const QByteArray& Data, int Pos) {
        const auto* B = reinterpret_cast<const quint8*>(Data.constData());
        const qsizetype End = Data.size();
        auto Store = [&](quint8 V) {
            if (Pos >= 1 && Pos <= PicBufferSize) {
                PicBuffer[Pos - 1] = V;
                ++Stored;
            }
            if (Pos % 40 == 0) Pos += 40;
            ++Pos;
        };
        qsizetype P = std::min<qsizetype>(6, End);
        if (Plain) {
            while (P < End) Store(B[P++]);
            return;
        }
        // Value and count pairs; a lone last byte has no count and is dropped.
        while (P + 1 < End) {
            const quint8 V = B[P];
            const int Count = B[P + 1];
            P += 2;
            for (int I = 0; I < Count && Pos <= PicBufferSize; ++I) Store(V);
        }
    };
    ReadPart(Hue, 1);
    ReadPart(Lum, 41);

    if (Plain) {
        Size = 2 * TechnicolorPlainSize - 12;
        PicInfo.CompressionText = GetMsg(QStringLiteral("mUnCompressed"));
    } else {
        Size = std::min(Stored, int(PicBufferSize));
        PicInfo.CompressionText = GetMsg(QStringLiteral("mCompressed"));
    }
}

// ---------------------------------------------------------------- photo

void TAtariGraphic::LoadPhoto(const QString& Path, int& Size, int& LastX, int& Height, int PhoFormat) {
    ParseFileHead(Path, MaxPhotoFileSize,
                  [&](const QByteArray& Data) { ParsePhoto(Data, Size, LastX, Height, PhoFormat, Path); });
}

void TAtariGraphic::ParsePhoto(const QByteArray& Data, int& Size, int& LastX, int& Height, int PhoFormat,
                               const QString& Name) {
    TByteReader F(Data, Name);
    const int N = F.ReadNumberLine(MaxNumberLine);
    // The writer never stores more than the buffer holds; a larger count is no photo.
    if (N < 2 || N - 2 > PicBufferSize)
        throw EMorvanelError(
            QStringLiteral("Ungültige Datenlänge %1 im Foto %2").arg(N).arg(DisplayName(Name)));
    F.Take(2);
    const quint8* Bytes = F.Take(N - 2);
    ClearPicBuffer();
    std::copy_n(Bytes, N - 2, PicBuffer.begin());
    int H = F.ReadNumberLine(MaxNumberLine);
    int W = F.ReadNumberLine(MaxNumberLine);
    if (PhoStoresMinusOne(PhoFormat)) {
        H = H < INT_MAX ? H + 1 : H;
        W = W < INT_MAX ? W + 1 : W;
    }
    if (H < 1 || W < 1 || qint64(W) * H > PicBufferSize)
        throw EMorvanelError(QStringLiteral("Ungültige Bildgröße im Foto %1: %2 Zeilen zu %3 Bytes")
                                 .arg(DisplayName(Name))
                                 .arg(H)
                                 .arg(W));
    Size = std::min(N, int(PicBufferSize));
    Height = H;
    LastX = W * 8 - 1;
}

// ---------------------------------------------------------------- album

void TAtariGraphic::LoadAlbum(const QString& Path, int& Total, int& Count, int& MaxWidth, int& MaxHeight) {
    ParseFileHead(Path, MaxAlbumFileSize,
                  [&](const QByteArray& Data) { ParseAlbum(Data, Total, Count, MaxWidth, MaxHeight, Path); });
}

void TAtariGraphic::ParseAlbum(const QByteArray& Data, int& Total, int& Count, int& MaxWidth, int& MaxHeight,
                               const QString& Name) {
    TByteReader F(Data, Name);
    Total = F.ReadNumberLine(MaxNumberLine);
    Album.clear();
    AlbumCount = 0;
    AlbumMaxWidth = 0;
    AlbumMaxHeight = 0;
    qint64 Read = 0;
    while (Read < Total && AlbumCount < MaxAlbumPics) {
        TAlbumPic Pic;
        const quint8* Head = F.Take(17);
        Pic.Name = QByteArray(reinterpret_cast<const char*>(Head), 15);
        Pic.Height = Head[15];
        const int Width = Head[16];
        Pic.DataSize = Width * Pic.Height;
        Read += 17 + Pic.DataSize;
        const quint8* Bytes = F.Take(Pic.DataSize);
        // Oversized entries are passed over; an empty one still counts and gets its captions.
        if (Pic.DataSize > MaxAlbumData) continue;
        Pic.Data = QByteArray(reinterpret_cast<const char*>(Bytes), Pic.DataSize);
        AlbumMaxHeight = std::max(AlbumMaxHeight, Pic.Height);
        AlbumMaxWidth = std::max(AlbumMaxWidth, Width);
        Pic.WidthBytes = Width * 8 - 1;
        Album.push_back(std::move(Pic));
        ++AlbumCount;
    }
    AlbumMaxWidth = AlbumMaxWidth * 8 - 1;
    if (AlbumMaxWidth < 120) AlbumMaxWidth = 128;
    AlbumMaxHeight += 16;
    Count = AlbumCount;
    MaxWidth = AlbumMaxWidth;
    MaxHeight = AlbumMaxHeight;
}

void TAtariGraphic::DrawAlbumPic(QImage& Image, int K, int X0, int Y0) {
    if (K < 1 || K > int(Album.size())) return;
    const TAlbumPic& Pic = Album[K - 1];
    if (Image.isNull()) return;
    if (Image.format() != QImage::Format_RGB32 && Image.format() != QImage::Format_ARGB32)
        Image = Image.convertToFormat(QImage::Format_RGB32);
    const QRgb Colours[2] = {WinColorToRgb(gr8backcolor), WinColorToRgb(gr8forecolor)};
    const int Size = std::min(Pic.DataSize, int(Pic.Data.size()));
    const int RowPixels = Pic.WidthBytes + 1; // pixels a row before the cursor wraps
    PlotX = X0;
    PlotY = Y0;
    if (Size <= 0) return;
    const auto* Bytes = reinterpret_cast<const quint8*>(Pic.Data.constData());
    // Pixel I of the data lies at (X0 + I % RowPixels, Y0 + I / RowPixels).
    const qint64 Pixels = qint64(Size) * 8;
    const int W = Image.width(), H = Image.height();
    for (qint64 First = 0; First < Pixels; First += RowPixels) {
        const int Y = PlotY;
        const qint64 Last = std::min<qint64>(First + RowPixels, Pixels);
        if (Y >= 0 && Y < H) {
            // Columns of this row that lie inside the image.
            const int XFrom = std::max(X0, 0), XTo = int(std::min<qint64>(qint64(X0) + (Last - First), W));
            auto* Line = reinterpret_cast<QRgb*>(Image.scanLine(Y));
            for (int X = XFrom; X < XTo; ++X) {
                const qint64 I = First + (X - X0);
                Line[X] = Colours[(Bytes[I >> 3] >> (7 - (I & 7))) & 1];
            }
        }
        if (Last - First == RowPixels) {
            PlotX = X0;
            ++PlotY;
        } else {
            PlotX = X0 + int(Last - First);
        }
    }
}
