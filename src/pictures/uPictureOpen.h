#pragma once
// Opening a picture file without a window: the type code picks the loader and the
// renderer from one table. The picture window's open and the benchmarks share it.
#include "uTAtariGraphic.h"
#include "uTAtariSTGraphic.h"

#include <QImage>
#include <QSize>
#include <array>
#include <functional>

// What an open asks of the window it fills.
struct TPictureCanvas {
    // Makes the picture Width x Height and blank, shown at Shown (invalid: the
    // picture's own size), fits the window to it and returns the picture to draw
    // into. Called before the loader for the types of a fixed size, so a file that
    // fails to load still leaves its window the right size.
    std::function<QImage&(int Width, int Height, QSize Shown)> NewPicture;
    // Takes over a decoded bitmap or JPEG picture and fits the window to it.
    std::function<void(const QImage& Picture)> SetPicture;
};

struct TPictureOpenOptions {
    int PhoFormat = 0;               // photo dialect
    std::array<quint32, 4> Colors{}; // GR.15 base colours
    int JoinedLayout = 0;            // GR.8 page as a joined page: 1 two stacked, 2 four (2 x 2)
    TProgressFn Progress;            // renderer progress
    // A bitmap or JPEG picture already decoded by LoadDecodedPicture (so a refused
    // file is noticed before any window exists); null: the open decodes the file.
    QImage Decoded;
};

// True for the type codes the picture window shows.
bool IsPictureType(const QString& Type);

// Refuses, before any window exists, a picture file shorter than what identification
// reads of it: fewer than 4 bytes, or the Koala magic without its whole 27-byte
// header. Throws the read error (EInOutError) naming Path.
void CheckPictureHead(const TPicInfo& Info, const QString& Path);

// Loads the file at Path, of the type in G.PicInfo.FileType, into G or ST and draws it
// through Canvas; sets G.PicInfo's Width and Height where the picture decides them.
// Throws what the loaders throw; an undecodable or oversized bitmap throws
// EConvertError.
void OpenPictureFile(const QString& Path, const QString& Name, TAtariGraphic& G, TAtariSTGraphic& ST,
                     const TPictureOpenOptions& Options, const TPictureCanvas& Canvas);

// True for the types decoded whole by a codec (bitmaps, JPEG); LoadDecodedPicture
// reads and decodes such a file, throwing when it is refused.
bool IsDecodedPictureType(const QString& Type);
QImage LoadDecodedPicture(const QString& Path, const QString& Name, const QString& Type);

// Bitmaps. BitmapFileLimit reads the header at the start of Head: it refuses (throws
// EConvertError naming Name) a malformed header, one that claims more than
// MaxPictureSide pixels a side or MaxPicturePixels in all, and uncompressed rows
// that a file of FileSize bytes cannot hold; it returns the most bytes such a file
// can use. DecodeBitmap applies the same checks, then decodes.
qint64 BitmapFileLimit(const QByteArray& Head, qint64 FileSize, const QString& Name);
QImage DecodeBitmap(const QByteArray& Data, const QString& Name);
// Reads a bitmap file, at most what its header allows, and decodes it.
QImage LoadBitmapFile(const QString& Path, const QString& Name);
