#pragma once
#include <QByteArray>
#include <QString>
#include <exception>
#include <functional>

// Base of the program's own exceptions; the message is what the user sees.
class EMorvanelError : public std::exception {
public:
    explicit EMorvanelError(QString Message) : FMessage(std::move(Message)), FUtf8(FMessage.toUtf8()) {}
    const QString& Message() const { return FMessage; }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// The runtime's input/output error: a file could not be opened, read or written.
class EInOutError : public EMorvanelError {
public:
    EInOutError(int ErrorCode, const QString& Message) : EMorvanelError(Message), ErrorCode(ErrorCode) {}
    int ErrorCode;
};

// A plain error with a message of its own (format errors of the loaders and the like).
class EConvertError : public EMorvanelError {
public:
    using EMorvanelError::EMorvanelError;
};

// Error codes and texts as the runtime reports them.
enum : int {
    ioFileNotFound = 2,
    ioPathNotFound = 3,
    ioAccessDenied = 5,
    ioReadPastEnd = 100,
    ioDiskFull = 101,
    ioNotRegularFile = 1001, // FIFO, socket, device or folder where a file was expected
    ioFileTooLarge = 1002
};
// The largest picture decoded from a file (JPEG, BMP): no side longer than the
// largest page the program makes itself, and no more pixels than a 128-megapixel
// photo (512 MB at 32 bits), so a forged header cannot make us allocate gigabytes.
constexpr int MaxPictureSide = 32000;
constexpr qint64 MaxPicturePixels = qint64(128) * 1024 * 1024;
// The same limit for Qt's image readers, which count 32 bits a pixel (in megabytes).
constexpr int MaxPictureMegabytes = int(MaxPicturePixels * 4 / (1024 * 1024));

// The most any whole-file read takes unless its caller knows better.
constexpr qint64 DefaultReadLimit = qint64(256) * 1024 * 1024;

// Text + " (" + Path + ")": how every error about a file names it (Text alone
// when Path is empty).
QString WithFileName(const QString& Text, const QString& Path);
[[noreturn]] void RaiseInOutError(int ErrorCode, const QString& FileName = QString());

// Every read below opens regular files only (symlinks are followed): a FIFO, socket,
// device or folder is refused before it is opened, and the opened descriptor is
// checked again, so a read never blocks and never runs without end.

// Size of the regular file at Path, which must be readable; throws EInOutError.
qint64 RegularFileLength(const QString& Path);
// The whole file, at most MaxBytes long; a longer file is refused with
// EInOutError ("Datei zu groß") rather than cut. Throws EInOutError.
QByteArray ReadWholeFile(const QString& Path, qint64 MaxBytes = DefaultReadLimit);
// Reads at most MaxBytes bytes from the start of the file; throws EInOutError.
QByteArray ReadFileHead(const QString& Path, qint64 MaxBytes);
// Hands at most MaxBytes bytes from the start of the file to Parse. When Parse reads
// past them (ioReadPastEnd) while the file goes on, the file is too large for what
// reads it, and that is the error raised (ioFileTooLarge).
void ParseFileHead(const QString& Path, qint64 MaxBytes, const std::function<void(const QByteArray&)>& Parse);
// True when Path cannot be the name of an existing file because it was decoded
// from bytes that are not UTF-8 (the lost bytes show as U+FFFD) or holds a lone
// surrogate that no byte name can carry.
bool IsLossyFileName(const QString& Path);
// Whether a save may write Path: a regular file (to be replaced) or nothing yet, in
// a folder that exists. Symlinks are followed. A FIFO, socket, device or folder is
// refused with ioNotRegularFile, a missing folder or a link loop with ioPathNotFound,
// a file or folder this process may not write (read-only file, folder without write
// permission, read-only file system) with ioAccessDenied. Throws EInOutError;
// writes nothing.
void CheckSaveTarget(const QString& Path);
// Atomic whole-file write (temporary file, then rename): a failed save leaves an
// existing file untouched. The target is checked as CheckSaveTarget does before
// anything is written. Throws EInOutError.
void WriteWholeFile(const QString& Path, const QByteArray& Data);

// Bounds-checked view of file data: reads past the end give the fallback value.
class TByteView {
public:
    explicit TByteView(const QByteArray& Data) : FData(Data) {}
    int Size() const { return int(FData.size()); }
    bool Has(qint64 Index) const { return Index >= 0 && Index < FData.size(); }
    quint8 At(qint64 Index, quint8 Fallback = 0) const {
        return Has(Index) ? quint8(FData.at(Index)) : Fallback;
    }
    // 16-bit words, little and big endian; -1 when the word does not lie inside the data.
    int WordLE(qint64 Index) const { return Has(Index + 1) ? At(Index) | (At(Index + 1) << 8) : -1; }
    int WordBE(qint64 Index) const { return Has(Index + 1) ? (At(Index) << 8) | At(Index + 1) : -1; }

private:
    const QByteArray& FData;
};
