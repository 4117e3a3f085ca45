#pragma once
// Counting the colours a widget shows on screen.
#include <QImage>
#include <QWidget>
#include <cstdlib>

// Pixels of W's picture within Tolerance (sum over red, green and blue) of Colour.
inline int PixelsNear(QWidget* W, QRgb Colour, int Tolerance = 48) {
    const QImage Image = W->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int N = 0;
    for (int Y = 0; Y < Image.height(); ++Y)
        for (int X = 0; X < Image.width(); ++X) {
            const QRgb P = Image.pixel(X, Y);
            N += std::abs(qRed(P) - qRed(Colour)) + std::abs(qGreen(P) - qGreen(Colour)) +
                     std::abs(qBlue(P) - qBlue(Colour)) <
                 Tolerance;
        }
    return N;
}
