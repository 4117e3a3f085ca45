#pragma once
// Builders for synthetic ST picture files used by the ST picture tests.
#include "test_common.h"
#include "uTAtariSTGraphic.h"

#include <QImage>
#include <random>

namespace sttest {

// A test with a folder for its files and a fixed random source.
class STFileTest : public FileTest {
protected:
    std::mt19937 Rng{4711};
};

inline QByteArray RandomBytes(int Count, std::mt19937& Rng) {
    QByteArray B(Count, '\0');
    for (char& C : B) C = char(Rng() & 0xFF);
    return B;
}

// A Degas header: resolution word, then 16 palette words most significant byte first.
inline QByteArray DegasHeader(quint16 Res, const std::array<quint16, 16>& Pal) {
    QByteArray H;
    H.append(char(Res >> 8)).append(char(Res & 0xFF));
    for (quint16 W : Pal) H.append(char(W >> 8)).append(char(W & 0xFF));
    return H;
}

// Our own PackBits encoder: repeats of 2 or more become runs, the rest literals.
inline QByteArray PackBits(const QByteArray& In) {
    QByteArray Out;
    int I = 0;
    const int N = int(In.size());
    while (I < N) {
        int Run = 1;
        while (I + Run < N && Run < 128 && In[I + Run] == In[I]) ++Run;
        if (Run >= 2) {
            Out.append(char(1 - Run)).append(In[I]);
            I += Run;
            continue;
        }
        int Lit = 1;
        while (I + Lit < N && Lit < 128 && !(I + Lit + 1 < N && In[I + Lit] == In[I + Lit + 1])) ++Lit;
        Out.append(char(Lit - 1)).append(In.mid(I, Lit));
        I += Lit;
    }
    return Out;
}

// A compressed Degas file of Screen's first Rows rows, packed per row and plane as
// the files are written (a row is plane after plane, each plane's words in order).
// PerRow packs whole rows instead, so runs cross planes. Planes 4, 2 or 1.
inline QByteArray MakePC(const QByteArray& Header, const QByteArray& Screen, int Planes, bool PerRow = false,
                         int Rows = 400) {
    QByteArray F = Header;
    F[0] = char(quint8(F[0]) | 0x80);
    const int RowBytes = Planes == 1 ? 80 : 160, PlaneBytes = RowBytes / Planes;
    for (int R = 0; R < std::min(Rows, 32000 / RowBytes); ++R) {
        QByteArray Row;
        for (int P = 0; P < Planes; ++P)
            for (int W = 0; W < PlaneBytes / 2; ++W)
                Row += Screen.mid(R * RowBytes + W * Planes * 2 + P * 2, 2);
        for (int P = 0; P < (PerRow ? 1 : Planes); ++P)
            F += PackBits(PerRow ? Row : Row.mid(P * PlaneBytes, PlaneBytes));
    }
    return F;
}

inline QByteArray ScreenOf(const TAtariSTGraphic& G) {
    return QByteArray(reinterpret_cast<const char*>(G.Screen.data()), TAtariSTGraphic::ScreenSize);
}

inline QImage Drawn(const TAtariSTGraphic& G, int Resolution) {
    QImage Img(Resolution == 0 ? 320 : 640, Resolution == 2 ? 400 : 200, QImage::Format_RGB32);
    Img.fill(Qt::magenta);
    G.DrawDegas(Img, Resolution);
    return Img;
}

} // namespace sttest
