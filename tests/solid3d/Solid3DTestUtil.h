#pragma once
// Builds Solid States files in memory: one record per number, each ended by the
// ATASCII end-of-line byte.
#include "WinColor.h"
#include "uTom3D.h"

#include <QByteArray>
#include <QImage>
#include <QStringList>
#include <array>
#include <vector>

inline QByteArray Records(const QStringList& Fields, bool FinalEol = true) {
    QByteArray Out;
    for (int I = 0; I < Fields.size(); ++I) {
        Out += Fields[I].toLatin1();
        if (FinalEol || I + 1 < Fields.size()) Out += char(0x9B);
    }
    return Out;
}

// Points as (x, y, z) and lines as (from, to).
inline QByteArray SolidFile(const std::vector<std::array<double, 3>>& Points,
                            const std::vector<std::array<int, 2>>& Lines) {
    QStringList F;
    F << QString::number(Points.size());
    for (int Axis = 0; Axis < 3; ++Axis)
        for (const auto& P : Points) F << QString::number(P[Axis], 'g', 17);
    F << QString::number(Lines.size());
    for (const auto& L : Lines) F << QString::number(L[0]) << QString::number(L[1]);
    return Records(F);
}

inline QRgb Rgb(quint32 WinColour) {
    return WinColorToRgb(WinColour) | 0xFF000000u;
}

// Pixels of Image that differ from Background, as "x,y" strings in row order.
inline QStringList DrawnPixels(const QImage& Image, quint32 Background) {
    QStringList Out;
    for (int Y = 0; Y < Image.height(); ++Y)
        for (int X = 0; X < Image.width(); ++X)
            if ((Image.pixel(X, Y) | 0xFF000000u) != Rgb(Background))
                Out << QStringLiteral("%1,%2").arg(X).arg(Y);
    return Out;
}
