// Fuzz target: every ST picture parser on one input, from memory, then the result
// drawn in all three resolutions. Parsers may refuse the input; nothing else may happen.
#include "FileIO.h"
#include "uTAtariSTGraphic.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    // Made once: the drawers write every pixel, so nothing carries over between inputs.
    static QImage Images[3] = {QImage(320, 200, QImage::Format_RGB32), QImage(640, 200, QImage::Format_RGB32),
                               QImage(640, 400, QImage::Format_RGB32)};
    static QImage Small(33, 17, QImage::Format_RGB32);
    const QByteArray In(reinterpret_cast<const char*>(Data), qsizetype(Size));
    using T = TAtariSTGraphic;
    auto Guard = [](auto&& Body) {
        try {
            Body();
        } catch (const EMorvanelError&) {
        }
    };
    T G;
    Guard([&] { G.ParseDegas(In.left(T::DegasHeaderSize + T::ScreenSize)); });
    for (int Res : {T::ResLow, T::ResMedium, T::ResHigh})
        Guard([&] {
            if (G.ParseDegasPacked(In.left(T::MaxDegasPackedFileSize), Res) > In.size()) __builtin_trap();
        });
    Guard([&] { G.ParseNeochrome(In.left(T::NeochromeHeaderSize + T::ScreenSize)); });
    Guard([&] { G.ParseDoodle(In.left(T::ScreenSize)); });
    Guard([&] {
        const QByteArray File = In.left(T::MaxSTADFileSize);
        G.ParseSTADHeader(File);
        if (G.ParseSTAD(File) > File.size()) __builtin_trap();
    });
    for (int Res = 0; Res < 3; ++Res) G.DrawDegas(Images[Res], Res);
    // A narrower image clips every row.
    G.DrawDegas(Small, T::ResLow);
    return 0;
}

// Seeds: one small valid file of every ST kind.
void MakeSeeds(const QString& Dir) {
    auto Put = [&](const char* File, const QByteArray& Body) {
        QFile F(QDir(Dir).filePath(QLatin1String(File)));
        if (F.open(QIODevice::WriteOnly | QIODevice::Truncate)) F.write(Body);
    };
    QByteArray Palette;
    for (int I = 0; I < 16; ++I) Palette.append(char(I & 7)).append(char((I * 0x23) & 0x77));
    QByteArray Screen(32000, '\0');
    for (int I = 0; I < Screen.size(); ++I) Screen[I] = char((I / 7) % 5 == 0 ? 0 : (I * 13) ^ (I >> 6));
    // PackBits of the screen: repeats as runs, the rest as short literals.
    QByteArray Packed;
    for (int I = 0; I < Screen.size();) {
        int N = 1;
        while (I + N < Screen.size() && N < 128 && Screen[I + N] == Screen[I]) ++N;
        if (N > 1) {
            Packed.append(char(1 - N)).append(Screen[I]);
        } else {
            Packed.append('\0').append(Screen[I]);
        }
        I += N;
    }
    Put("pi1", QByteArray(2, 0) + Palette + Screen);
    Put("pi3", QByteArray("\x00\x02", 2) + Palette + Screen);
    for (const char* Name : {"pc1", "pc2", "pc3"}) Put(Name, QByteArray("\x80\x00", 2) + Palette + Packed);
    Put("neo", QByteArray(4, 0) + Palette + QByteArray(92, 0) + Screen);
    Put("doo", Screen);
    Put("pac",
        QByteArray("pM85\xF0\x00\xF1", 7) + QByteArray::fromHex("01F0FFF1AA0702F110") + Screen.left(500));
    Put("pac-columns", QByteArray("pM86\xF0\x00\xF1", 7) + Screen.left(900));
}
