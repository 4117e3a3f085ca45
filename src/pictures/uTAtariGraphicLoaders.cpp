// Loaders of the Atari 8-bit picture files and the photo album view.
#include "uTAtariGraphic.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

// Sequential reader of a file; reading past its end raises the runtime's error.
class TFileReader {
public:
    explicit TFileReader(const QString& Path) : FFile(Path), FPath(Path) {
        if (Path.isEmpty() || !FFile.open(QIODevice::ReadOnly)) {
            ReadFileHead(Path, 0); // raises the open error as every reader reports it
            RaiseInOutError(ioAccessDenied, Path);
        }
    }
    bool AtEnd() {
        Fill();
        return FPos >= FBuf.size();
    }
    quint8 ReadByte() {
        if (AtEnd()) RaiseInOutError(ioReadPastEnd, FPath);
        return quint8(FBuf.at(FPos++));
    }
    // Reads Count bytes; each goes to Store (which may drop it).
    template <class F> void Read(qint64 Count, F&& Store) {
        for (qint64 I = 0; I < Count; ++I) Store(ReadByte());
    }
    // A line of ATASCII text ending with 155 (not returned); at most MaxLen bytes before it.
    QByteArray ReadLine(int MaxLen) {
        QByteArray Line;
        for (;;) {
            const quint8 B = ReadByte();
            if (B == TAtariGraphic::EOL) return Line;
            if (Line.size() >= MaxLen)
                throw EConvertError(QStringLiteral("Zeile zu lang in %1: '%2...'")
                                        .arg(QFileInfo(FPath).fileName(), QString::fromLatin1(Line)));
            Line.append(char(B));
        }
    }

private:
    void Fill() {
        if (FPos < FBuf.size()) return;
        FBuf = FFile.read(64 * 1024);
        if (FFile.error() != QFileDevice::NoError) RaiseInOutError(ioReadPastEnd, FPath);
        FPos = 0;
    }
    QFile FFile;
    QString FPath;
    QByteArray FBuf;
    qsizetype FPos = 0;
};

// Decimal number of a header line.
int LineToInt(const QByteArray& Line) {
    bool Ok = false;
    const int V = Line.trimmed().toInt(&Ok);
    if (!Ok)
        throw EConvertError(
            QStringLiteral("'%1' ist kein gültiger Integerwert").arg(QString::fromLatin1(Line)));
    return V;
}

// Number lines of photos and albums hold a few digits.
constexpr int MaxNumberLine = 16;

} // namespace

void TAtariGraphic::ClearPicBuffer() {
    PicBuffer.fill(0);
}

// ---------------------------------------------------------------- raw pages

void TAtariGraphic::LoadRawPic(const QString& Path, int& Size) {
    const QByteArray Data = ReadFileHead(Path, PicBufferSize);
    ClearPicBuffer();
    std::copy_n(reinterpret_cast<const quint8*>(Data.constData()), Data.size(), PicBuffer.begin());
    Size = int(Data.size());
}

// ---------------------------------------------------------------- Koala

void TAtariGraphic::LoadKoala(const QString& Path, int& Size) {
    ClearPicBuffer();
    TFileReader F(Path);
    quint8 Header[27];
    for (quint8& B : Header) B = F.ReadByte();
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
    Size = 7684;
}

// ---------------------------------------------------------------- Technicolor

void TAtariGraphic::LoadTechnicolor(const QString& Path, int& Size) {
    Size = 0;
    const QFileInfo Info(Path);
    const QString Folder = Info.absolutePath();
    const QString Base = NameBeforeDot(Info.fileName());
    const bool IsLum = ExtractFileExtUpper(Info.fileName()) == QLatin1String(".LUM");
    const QString Partner =
        FindFileCaseInsensitive(Folder, Base + (IsLum ? QStringLiteral(".COL") : QStringLiteral(".LUM")));
    const QString HuePath = IsLum ? Partner : Path;
    const QString LumPath = IsLum ? Path : Partner;

    GetFileLength(Path); // the opened file itself must be readable
    if (!QFileInfo(Partner).isFile()) {
        ShowWarningMsg(DisplayName(Partner) + QLatin1Char(' ') + GetMsg(QStringLiteral("mNotFound")));
        return;
    }
    const qint64 HueSize = GetFileLength(HuePath);
    const qint64 LumSize = GetFileLength(LumPath);
    const bool Plain = HueSize == 4766 && LumSize == 4766;

    ClearPicBuffer();
    int Stored = 0;
    // Hue rows 0, 2, 4 ... from position 1, luminance rows 1, 3, 5 ... from 41.
    auto ReadPart = [&](const QString& FilePath, int Pos) {
        TFileReader F(FilePath);
        for (int I = 0; I < 6 && !F.AtEnd(); ++I) F.ReadByte();
        auto Store = [&](quint8 V) {
            if (Pos >= 1 && Pos <= PicBufferSize) {
                PicBuffer[Pos - 1] = V;
                ++Stored;
            }
            if (Pos % 40 == 0) Pos += 40;
            ++Pos;
        };
        if (Plain) {
            while (!F.AtEnd()) Store(F.ReadByte());
            return;
        }
        // Value and count pairs; a lone last byte has no count and is dropped.
        while (!F.AtEnd()) {
            const quint8 V = F.ReadByte();
            if (F.AtEnd()) break;
            const int Count = F.ReadByte();
            for (int I = 0; I < Count && Pos <= PicBufferSize; ++I) Store(V);
        }
    };
    ReadPart(HuePath, 1);
    ReadPart(LumPath, 41);

    if (Plain) {
        Size = int(HueSize + LumSize - 12);
        PicInfo.CompressionText = GetMsg(QStringLiteral("mUnCompressed"));
    } else {
        Size = std::min(Stored, int(PicBufferSize));
        PicInfo.CompressionText = GetMsg(QStringLiteral("mCompressed"));
    }
}

// ---------------------------------------------------------------- photo

void TAtariGraphic::LoadPhoto(const QString& Path, int& Size, int& LastX, int& Height, int PhoFormat) {
    TFileReader F(Path);
    const int N = LineToInt(F.ReadLine(MaxNumberLine));
    if (N < 2)
        throw EMorvanelError(
            QStringLiteral("Ungültige Datenlänge %1 im Foto %2").arg(N).arg(DisplayName(Path)));
    F.ReadByte();
    F.ReadByte();
    ClearPicBuffer();
    int Pos = 0;
    F.Read(N - 2, [&](quint8 B) {
        if (Pos < PicBufferSize) PicBuffer[Pos++] = B;
    });
    int H = LineToInt(F.ReadLine(MaxNumberLine));
    int W = LineToInt(F.ReadLine(MaxNumberLine));
    if (PhoFormat == 0) {
        ++H;
        ++W;
    }
    if (H < 1 || W < 1 || qint64(W) * H > PicBufferSize)
        throw EMorvanelError(QStringLiteral("Ungültige Bildgröße im Foto %1: %2 Zeilen zu %3 Bytes")
                                 .arg(DisplayName(Path))
                                 .arg(H)
                                 .arg(W));
    Size = std::min(N, int(PicBufferSize));
    Height = H;
    LastX = W * 8 - 1;
}

// ---------------------------------------------------------------- album

void TAtariGraphic::LoadAlbum(const QString& Path, int& Total, int& Count, int& MaxWidth, int& MaxHeight) {
    TFileReader F(Path);
    Total = LineToInt(F.ReadLine(MaxNumberLine));
    Album.clear();
    AlbumCount = 0;
    AlbumMaxWidth = 0;
    AlbumMaxHeight = 0;
    qint64 Read = 0;
    while (Read < Total && AlbumCount < MaxAlbumPics) {
        TAlbumPic Pic;
        Pic.Name.reserve(15);
        F.Read(15, [&](quint8 B) { Pic.Name.append(char(B)); });
        Pic.Height = F.ReadByte();
        const int Width = F.ReadByte();
        Pic.DataSize = Width * Pic.Height;
        Read += 17 + Pic.DataSize;
        // Empty and oversized entries are passed over.
        if (Pic.DataSize == 0 || Pic.DataSize > MaxAlbumData) {
            F.Read(Pic.DataSize, [](quint8) {});
            continue;
        }
        Pic.Data.reserve(Pic.DataSize);
        F.Read(Pic.DataSize, [&](quint8 B) { Pic.Data.append(char(B)); });
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
    const QRgb Fore = WinColorToRgb(gr8forecolor);
    const QRgb Back = WinColorToRgb(gr8backcolor);
    PlotX = X0;
    PlotY = Y0;
    const int Size = std::min(Pic.DataSize, int(Pic.Data.size()));
    for (int I = 0; I < Size; ++I) {
        const quint8 B = quint8(Pic.Data.at(I));
        for (int Bit = 7; Bit >= 0; --Bit) {
            if (PlotX >= 0 && PlotY >= 0 && PlotX < Image.width() && PlotY < Image.height())
                reinterpret_cast<QRgb*>(Image.scanLine(PlotY))[PlotX] = (B >> Bit) & 1 ? Fore : Back;
            if (PlotX < X0 + Pic.WidthBytes) {
                ++PlotX;
            } else {
                PlotX = X0;
                ++PlotY;
            }
        }
    }
}
