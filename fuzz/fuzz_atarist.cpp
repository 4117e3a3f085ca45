// Feeds one input to every ST picture loader as a file, then draws the result in
// all three resolutions. Loaders may refuse the input; nothing else may happen.
#include "FileIO.h"
#include "uTAtariSTGraphic.h"

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    static QTemporaryDir Dir;
    const QString Path = QDir(Dir.path()).filePath(QStringLiteral("INPUT.BIN"));
    WriteWholeFile(Path, QByteArray(reinterpret_cast<const char*>(Data), qsizetype(Size)));

    using TLoad = int (TAtariSTGraphic::*)(const QString&);
    const TLoad Loads[] = {&TAtariSTGraphic::LoadDegas,      &TAtariSTGraphic::LoadDegasPC1,
                           &TAtariSTGraphic::LoadDegasPC2,   &TAtariSTGraphic::LoadDegasPC3,
                           &TAtariSTGraphic::LoadNeochrome,  &TAtariSTGraphic::LoadDoodle,
                           &TAtariSTGraphic::ReadSTADHeader, &TAtariSTGraphic::LoadSTAD};
    TAtariSTGraphic G;
    for (TLoad Load : Loads) {
        try {
            (G.*Load)(Path);
        } catch (const EMorvanelError&) {
        }
    }
    for (int Res = 0; Res < 3; ++Res) {
        QImage Img(Res == 0 ? 320 : 640, Res == 2 ? 400 : 200, QImage::Format_RGB32);
        G.DrawDegas(Img, Res);
    }
    return 0;
}
