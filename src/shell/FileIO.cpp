#include "FileIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    if (!FileName.isEmpty()) Text += QStringLiteral(" (%1)").arg(FileName);
    throw EInOutError(ErrorCode, Text);
}

static void RaiseOpenError(const QFile& F, const QString& Path) {
    QFileInfo Info(Path);
    if (!Info.exists()) RaiseInOutError(Info.dir().exists() ? ioFileNotFound : ioPathNotFound, Path);
    if (F.error() == QFileDevice::PermissionsError || Info.isDir()) RaiseInOutError(ioAccessDenied, Path);
    RaiseInOutError(ioFileNotFound, Path);
}

QByteArray ReadFileHead(const QString& Path, qint64 MaxBytes) {
    QFile F(Path);
    if (Path.isEmpty() || !F.open(QIODevice::ReadOnly)) RaiseOpenError(F, Path);
    QByteArray Data = F.read(MaxBytes);
    if (F.error() != QFileDevice::NoError) RaiseInOutError(ioReadPastEnd, Path);
    return Data;
}

QByteArray ReadWholeFile(const QString& Path) {
    QFile F(Path);
    if (Path.isEmpty() || !F.open(QIODevice::ReadOnly)) RaiseOpenError(F, Path);
    QByteArray Data = F.readAll();
    if (F.error() != QFileDevice::NoError) RaiseInOutError(ioReadPastEnd, Path);
    return Data;
}

void WriteWholeFile(const QString& Path, const QByteArray& Data) {
    QSaveFile F(Path);
    // Unbuffered: a write cut short by a full disk shows in write()'s count; through
    // the buffer the flush in commit() would drop the error and publish a short file.
    if (!F.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        QFileInfo Info(Path);
        RaiseInOutError(Info.absoluteDir().exists() ? ioAccessDenied : ioPathNotFound, Path);
    }
    if (F.write(Data) != Data.size()) {
        F.cancelWriting();
        RaiseInOutError(ioDiskFull, Path);
    }
    if (!F.commit()) RaiseInOutError(ioDiskFull, Path);
}
