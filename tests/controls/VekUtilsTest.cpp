// Colour shading and gradients of the look-style button.
#include "VekUtils.h"
#include "WinColor.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {
quint32 PixelWin(const QImage& Image, int X, int Y) {
    return RgbToWinColor(Image.pixel(X, Y));
}
} // namespace

TEST(VekColors, LightenAndDarkenValuesAndLimits) {
    // The shades of the look style and the painted faces pin more values.
    EXPECT_EQ(LightenColor(0xC08000, 100), 0xFFB27Fu);
    EXPECT_EQ(LightenColor(0x123456, 0), 0x123456u);
    EXPECT_EQ(LightenColor(clWhite, 40), clWhite);
    for (quint32 C : {0x9D4E01u, 0xFFFFFFu, clBtnFace}) EXPECT_EQ(DarkenColor(C, 255), 0u) << C;
    // Negative amounts work the other way round, still clamped.
    EXPECT_EQ(DarkenColor(0x808080, -255), 0xFFFFFFu);
    EXPECT_EQ(LightenColor(0x808080, -300), 0u);
    // System colours are resolved first; clDefault counts as black and clNone as white.
    EXPECT_EQ(DarkenColor(clBtnFace, 100), DarkenColor(ColorToRGB(clBtnFace), 100));
    EXPECT_EQ(LightenColor(clDefault, 10), 0x7F7F7Fu);
    EXPECT_EQ(DarkenColor(clNone, 100), 0x9B9B9Bu);
}

TEST(VekGradient, VerticalRampsRoundDown) {
    QImage Image(6, 4, QImage::Format_RGB32);
    Image.fill(Qt::red);
    QPainter P(&Image);
    FillGradient(P, QRect(0, 0, 6, 4), clBlack, clWhite, true);
    P.end();
    const quint32 Rows[4] = {0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF};
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 6; ++X) EXPECT_EQ(PixelWin(Image, X, Y), Rows[Y]) << X << "," << Y;
    // Row k of a 256-row ramp is exactly k: no shade lost to rounding.
    QImage Tall(1, 256, QImage::Format_RGB32);
    QPainter T(&Tall);
    FillGradient(T, QRect(0, 0, 1, 256), clBlack, clWhite, true);
    T.end();
    for (int Y = 0; Y < 256; ++Y) ASSERT_EQ(qRed(Tall.pixel(0, Y)), Y);
    // Falling ramps round down as well: 255 -> 0 over 3 rows gives 255, 127, 0.
    QImage Down(1, 3, QImage::Format_RGB32);
    QPainter Q(&Down);
    FillGradient(Q, QRect(0, 0, 1, 3), clWhite, clBlack, true);
    Q.end();
    EXPECT_EQ(qRed(Down.pixel(0, 1)), 127);
    EXPECT_EQ(PixelWin(Down, 0, 2), 0u);
}

TEST(VekGradient, HorizontalOneLineAndEmpty) {
    QImage Image(4, 3, QImage::Format_RGB32);
    Image.fill(Qt::red);
    QPainter P(&Image);
    const QPen Pen(QColor(1, 2, 3), 5, Qt::DashLine);
    P.setPen(Pen);
    FillGradient(P, QRect(0, 0, 4, 2), 0x0000FF, 0x00FF00, false);
    FillGradient(P, QRect(0, 2, 2, 1), 0x123456, 0xFFFFFF, true); // one row: the first colour only
    FillGradient(P, QRect(2, 2, 2, 0), 0x000000, 0x000000, true); // no rows: nothing at all
    FillGradient(P, QRect(2, 2, 2, -3), 0x000000, 0x000000, true);
    EXPECT_EQ(P.pen(), Pen);
    P.end();
    EXPECT_EQ(QList<quint32>({PixelWin(Image, 0, 0), PixelWin(Image, 1, 1), PixelWin(Image, 3, 1),
                              PixelWin(Image, 1, 2), PixelWin(Image, 2, 2), PixelWin(Image, 3, 2)}),
              QList<quint32>({0x0000FF, 0x0055AA, 0x00FF00, 0x123456, 0x0000FF, 0x0000FF})); // red stays
}
