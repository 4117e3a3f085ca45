#include "FileIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString WithFileName(const QString& Text, const QString& Path) {
    return Path.isEmpty() ? Text : QStringLiteral("%1 (%2)").arg(Text, Path);
}

void RaiseInOutError(int ErrorCode, const QString& FileName) {
    QString Text;
    switch (ErrorCode) {
    case ioFileNotFound:
        Text = QStringLiteral("Datei nicht gefunden");
        break;
    case ioPathNotFound:
        Text = QStringLiteral("Ungültiger Dateiname");
        break;
    case ioAccessDenied:
        Text = QStringLiteral("Zugriff verweigert");
        break;
    case ioReadPastEnd:
        Text = QStringLiteral("Lesen über Dateiende");
        break;
    case ioDiskFull:
        Text = QStringLiteral("Festplatte voll");
        break;
    default:
        Text = QStringLiteral("E/A-Fehler %1").arg(ErrorCode);
        break;
    }
    throw EInOutError(ErrorCode, WithFileName(Text, FileName));
}

namespace {

[[noreturn]] void RaiseNotRegular(mode_t Mode, const QString& Path) {
    const char* Kind = S_ISDIR(Mode)                    ? "ein Ordner"
                       : S_ISFIFO(Mode)                 ? "eine FIFO"
                       : S_ISSOCK(Mode)                 ? "ein Socket"
                       : S_ISCHR(Mode) || S_ISBLK(Mode) ? "ein Gerät"
                                                        : "nichts Lesbares";
    throw EInOutError(
        ioNotRegularFile,
        WithFileName(QStringLiteral("Keine gewöhnliche Datei, sondern %1").arg(QString::fromUtf8(Kind)),
                     Path));
}

// A path that leads to no file, with what is wrong with it.
[[noreturn]] void RaisePathNotFound(const char* Why, const QString& Path) {
    throw EInOutError(ioPathNotFound, WithFileName(QString::fromUtf8(Why), Path));
}

// The runtime's error for a failed stat or open.
[[noreturn]] void RaiseErrno(int Errno, const QString& Path) {
    switch (Errno) {
    case ENOENT:
        if (QFileInfo(Path).dir().exists()) RaiseInOutError(ioFileNotFound, Path);
        RaisePathNotFound("Ordner nicht gefunden", Path);
    case ENOTDIR:
        RaisePathNotFound("Ein Teil des Pfades ist kein Ordner", Path);
    case ENAMETOOLONG:
        RaisePathNotFound("Dateiname zu lang", Path);
    case ELOOP:
        RaisePathNotFound("Zu viele symbolische Links", Path);
    case EACCES:
    case EPERM:
        RaiseInOutError(ioAccessDenied, Path);
    default:
        throw EInOutError(ioAccessDenied, WithFileName(QStringLiteral("Datei kann nicht geöffnet werden: %1")
                                                           .arg(QString::fromLocal8Bit(std::strerror(Errno))),
                                                       Path));
    }
}

[[noreturn]] void RaiseFileTooLarge(qint64 MaxBytes, const QString& Path) {
    throw EInOutError(ioFileTooLarge,
                      WithFileName(QStringLiteral("Datei zu groß (mehr als %1 Bytes)").arg(MaxBytes), Path));
}

// A descriptor open for reading on a regular file; closed with the object.
class TReadDescriptor {
public:
    explicit TReadDescriptor(const QString& Path) : FPath(Path) {
        if (Path.isEmpty()) RaiseInOutError(ioFileNotFound, Path);
        const QByteArray Native = QFile::encodeName(Path);
        struct stat St {};
        // Refused before any open: opening a FIFO waits for a writer, a device may act.
        if (::stat(Native.constData(), &St) != 0) RaiseErrno(errno, Path);
        if (!S_ISREG(St.st_mode)) RaiseNotRegular(St.st_mode, Path);
        // The name may have been replaced since; non-blocking, and checked again.
        do FFd = ::open(Native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        while (FFd < 0 && errno == EINTR);
        if (FFd < 0) RaiseErrno(errno, Path);
        if (::fstat(FFd, &St) != 0) RaiseErrno(errno, Path);
        if (!S_ISREG(St.st_mode)) RaiseNotRegular(St.st_mode, Path);
        FSize = qint64(St.st_size);
    }
    ~TReadDescriptor() {
        if (FFd >= 0) ::close(FFd);
    }
    TReadDescriptor(const TReadDescriptor&) = delete;
    TReadDescriptor& operator=(const TReadDescriptor&) = delete;

    qint64 Size() const { return FSize; }

    // Up to MaxBytes bytes from the current position; fewer only at the end of the file.
    QByteArray Read(qint64 MaxBytes) {
        QByteArray Data;
        if (MaxBytes <= 0) return Data;
        // The stat size only sizes the first buffer; the file may grow or shrink meanwhile.
        constexpr qint64 Chunk = 1 << 20;
        Data.resize(qsizetype(std::min(MaxBytes, std::max<qint64>(FSize, 0) + 1)));
        qint64 Got = 0;
        for (;;) {
            if (Got == Data.size()) {
                if (Got >= MaxBytes) break;
                Data.resize(qsizetype(std::min(MaxBytes, Got + Chunk)));
            }
            const ssize_t N = ::read(FFd, Data.data() + Got, size_t(Data.size() - Got));
            if (N < 0) {
                if (errno == EINTR) continue;
                RaiseInOutError(ioReadPastEnd, FPath);
            }
            if (N == 0) break;
            Got += N;
        }
        Data.truncate(qsizetype(Got));
        return Data;
    }

private:
    QString FPath;
    int FFd = -1;
    qint64 FSize = 0;
};

} // namespace

qint64 RegularFileLength(const QString& Path) {
    return TReadDescriptor(Path).Size();
}

QByteArray ReadFileHead(const QString& Path, qint64 MaxBytes) {
    TReadDescriptor F(Path);
    return F.Read(MaxBytes);
}

QByteArray ReadWholeFile(const QString& Path, qint64 MaxBytes) {
    TReadDescriptor F(Path);
    // One byte more than allowed shows a file that is too long.
    QByteArray Data = F.Read(MaxBytes + 1);
    if (Data.size() > MaxBytes) RaiseFileTooLarge(MaxBytes, Path);
    return Data;
}

void ParseFileHead(const QString& Path, qint64 MaxBytes,
                   const std::function<void(const QByteArray&)>& Parse) {
    QByteArray Data = ReadFileHead(Path, MaxBytes + 1);
    const bool Cut = Data.size() > MaxBytes;
    if (Cut) Data.truncate(qsizetype(MaxBytes));
    try {
        Parse(Data);
    } catch (const EInOutError& E) {
        if (!Cut || E.ErrorCode != ioReadPastEnd) throw;
        RaiseFileTooLarge(MaxBytes, Path);
    }
}

bool IsLossyFileName(const QString& Path) {
    if (Path.contains(QChar(QChar::ReplacementCharacter)) && !QFileInfo::exists(Path)) return true;
    return QFile::decodeName(QFile::encodeName(Path)) != Path;
}

namespace {
// Whether this process may do Mode (W_OK, X_OK) at Native, asked of the kernel with
// the effective user: permission bits, ACLs, read-only mounts and immutable files
// all count, and root passes where it really can write.
bool MayAccess(const QByteArray& Native, int Mode) {
    int Result;
    do Result = ::faccessat(AT_FDCWD, Native.constData(), Mode, AT_EACCESS);
    while (Result != 0 && errno == EINTR);
    return Result == 0;
}
} // namespace

void CheckSaveTarget(const QString& Path) {
    if (Path.isEmpty()) RaiseInOutError(ioPathNotFound);
    // The save follows symlinks and renames over what it finds: over a FIFO, socket,
    // device or folder it would put a regular file in its place.
    const QByteArray Native = QFile::encodeName(Path);
    struct stat St {};
    QString Folder;
    if (::stat(Native.constData(), &St) == 0) {
        if (!S_ISREG(St.st_mode)) RaiseNotRegular(St.st_mode, Path);
        // A read-only file is refused as the writer itself would refuse it.
        if (!MayAccess(Native, W_OK)) RaiseInOutError(ioAccessDenied, Path);
        Folder = QFileInfo(QFileInfo(Path).canonicalFilePath()).absolutePath();
    } else {
        // Nothing there yet is fine in a folder that exists.
        const int Errno = errno;
        if (Errno != ENOENT || !QFileInfo(Path).absoluteDir().exists()) RaiseErrno(Errno, Path);
        Folder = QFileInfo(Path).absolutePath();
    }
    // The file is written beside its target and renamed over it: the folder must
    // take a new file, whether the target exists or not.
    if (!Folder.isEmpty() && !MayAccess(QFile::encodeName(Folder), W_OK | X_OK))
        RaiseInOutError(ioAccessDenied, Path);
}

void WriteWholeFile(const QString& Path, const QByteArray& Data) {
    CheckSaveTarget(Path);
    QSaveFile F(Path);
    // Unbuffered: a write cut short by a full disk shows in write()'s count; through
    // the buffer the flush in commit() would drop the error and publish a short file.
    if (!F.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        CheckSaveTarget(Path); // the folder may have gone meanwhile
        RaiseInOutError(ioAccessDenied, Path);
    }
    if (F.write(Data) != Data.size()) {
        F.cancelWriting();
        RaiseInOutError(ioDiskFull, Path);
    }
    // The name may have been replaced while writing.
    try {
        CheckSaveTarget(Path);
    } catch (const EInOutError&) {
        F.cancelWriting();
        throw;
    }
    if (!F.commit()) RaiseInOutError(ioDiskFull, Path);
}
