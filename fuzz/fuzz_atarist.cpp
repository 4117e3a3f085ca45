// Fuzz target: one ST picture parser per input, from memory, then the result drawn
// in one resolution and clipped into a narrow image. Byte 0 chooses the parser
// (modulo 7) and the resolution drawn; the rest is the file. Parsers may refuse the
// input; nothing else may happen.
#include "FileIO.h"
#include "FuzzSupport.h"
#include "uTAtariSTGraphic.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <array>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    // Made once: the drawers write every pixel, so nothing carries over between inputs.
    static QImage Images[3] = {QImage(320, 200, QImage::Format_RGB32), QImage(640, 200, QImage::Format_RGB32),
                               QImage(640, 400, QImage::Format_RGB32)};
    static QImage Small(33, 17, QImage::Format_RGB32);
    if (Size < 1) return 0;
    const int Parser = Data[0] % 7;
    const int Res = (Data[0] / 7) % 3;
    const QByteArray In(reinterpret_cast<const char*>(Data + 1), qsizetype(Size - 1));
    using T = TAtariSTGraphic;
    T G;
    try {
        switch (Parser) {
        case 0:
            G.ParseDegas(In.left(T::DegasHeaderSize + T::ScreenSize));
            break;
        case 1:
        case 2:
        case 3: {
            const int PackedRes = std::array{T::ResLow, T::ResMedium, T::ResHigh}[Parser - 1];
            if (G.ParseDegasPacked(In.left(T::MaxDegasPackedFileSize), PackedRes) > In.size())
                __builtin_trap();
            break;
        }
        case 4:
            G.ParseNeochrome(In.left(T::NeochromeHeaderSize + T::ScreenSize));
            break;
        case 5:
            G.ParseDoodle(In.left(T::ScreenSize));
            break;
        default: {
            const QByteArray File = In.left(T::MaxSTADFileSize);
            G.ParseSTADHeader(File);
            if (G.ParseSTAD(File) > File.size()) __builtin_trap();
        }
        }
    } catch (const EMorvanelError&) {
    }
    G.DrawDegas(Images[Res], Res);
    // A narrower image clips every row.
    G.DrawDegas(Small, T::ResLow);
    return 0;
}

// Seeds: one small valid file of every ST kind.
void MakeSeeds(const QString& Dir) {
    // Byte 0: the parser of the kind, drawn in the kind's own resolution.
    auto Put = [&](const char* File, const QByteArray& Body) {
        static const QList<QByteArray> Kinds = {"pi", "pc1", "pc2", "pc3", "neo", "doo", "pac"};
        const QByteArray Name(File);
        int Parser = 0;
        for (int K = 0; K < Kinds.size(); ++K)
            if (Name.startsWith(Kinds[K])) Parser = K;
        const int Res = Name == "pi3" || Name == "pc3" || Parser >= 5 ? 2 : Name == "pc2" ? 1 : 0;
        QFile F(QDir(Dir).filePath(QLatin1String(File)));
        if (F.open(QIODevice::WriteOnly | QIODevice::Truncate)) F.write(char(Res * 7 + Parser) + Body);
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

    // Damaged files: cut where the parsers change course, and random data, through
    // every parser.
    quint32 State = 7;
    auto Random = [&State](int Size) {
        QByteArray B(Size, '\0');
        for (char& C : B) {
            State = State * 1664525u + 1013904223u;
            C = char(State >> 24);
        }
        return B;
    };
    const QByteArray Degas = QByteArray(2, 0) + Palette + Random(32000 + 94);
    const QByteArray PackedFile = QByteArray("\x80\x00", 2) + Palette + Packed;
    for (int Parser = 0; Parser < 7; ++Parser) {
        for (int Cut : {0, 1, 6, 7, 8, 33, 34, 35, 127, 128, 129, 31999, 32000, 32033, 32034, 32127, 32128})
            WriteSeed(Dir, QStringLiteral("cut%1-%2").arg(Parser).arg(Cut), char(Parser) + Degas.left(Cut));
        for (int I = 0; I < 6; ++I) {
            QByteArray R = Random(int(State % 40000));
            if (I % 3 == 0 && R.size() >= 7) R.replace(0, 4, "pM8" + QByteArray(1, char('5' + I % 2)));
            WriteSeed(Dir, QStringLiteral("random%1-%2").arg(Parser).arg(I), char(Parser + 7 * (I % 3)) + R);
        }
    }
    for (int Parser = 1; Parser <= 3; ++Parser)
        for (int Cut = 0; Cut < PackedFile.size(); Cut += 997)
            WriteSeed(Dir, QStringLiteral("packed%1-%2").arg(Parser).arg(Cut),
                      char(Parser) + PackedFile.left(Cut));
}
