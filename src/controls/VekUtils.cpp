#include "VekUtils.h"

#include "WinColor.h"

#include <QPainter>
#include <cmath>

quint32 VekResolveColor(quint32 Color) {
    if (Color & 0x80000000u) return ColorToRGB(0xFF000000u | (Color & 0xFF)) & 0x00FFFFFFu;
    return Color & 0x00FFFFFFu;
}

namespace {
int ClampRound(long double V) {
    if (V > 255) V = 255;
    if (V < 0) V = 0;
    // The default rounding mode rounds halves to even.
    return int(std::nearbyint(V));
}

template <class F> quint32 MapChannels(quint32 Color, F Channel) {
    const quint32 C = VekResolveColor(Color);
    quint32 Result = 0;
    for (int Shift = 0; Shift <= 16; Shift += 8)
        Result |= quint32(Channel(int((C >> Shift) & 0xFF))) << Shift;
    return Result;
}
} // namespace

quint32 DarkenColor(quint32 Color, int Amount) {
    return MapChannels(Color, [Amount](int C) {
        return ClampRound(static_cast<long double>(C) - static_cast<long double>(C) / 255.0L * Amount);
    });
}

quint32 LightenColor(quint32 Color, int Amount) {
    return MapChannels(Color, [Amount](int C) {
        if (C == 0) return ClampRound(127);
        return ClampRound(static_cast<long double>(C) + static_cast<long double>(C) / 255.0L * Amount);
    });
}

void FillGradient(QPainter& Canvas, const QRect& Rect, quint32 FromColor, quint32 ToColor, bool Vertical) {
    const int Lines = Vertical ? Rect.height() : Rect.width();
    const int Across = Vertical ? Rect.width() : Rect.height();
    if (Lines < 1 || Across < 1) return;
    const quint32 F1 = VekResolveColor(FromColor);
    const quint32 F2 = VekResolveColor(ToColor);
    const int D = Lines - 1;
    for (int K = 0; K < Lines; ++K) {
        quint32 C = 0;
        for (int Shift = 0; Shift <= 16; Shift += 8) {
            const int A = int((F1 >> Shift) & 0xFF);
            const int B = int((F2 >> Shift) & 0xFF);
            // Exact integer blend: both weights are non-negative, so the division
            // rounds down like the truncation of the blended value.
            const int V = D == 0 ? A : (A * (D - K) + B * K) / D;
            C |= quint32(V) << Shift;
        }
        const QColor Colour(int(C & 0xFF), int((C >> 8) & 0xFF), int((C >> 16) & 0xFF));
        if (Vertical)
            Canvas.fillRect(QRect(Rect.left(), Rect.top() + K, Across, 1), Colour);
        else
            Canvas.fillRect(QRect(Rect.left() + K, Rect.top(), 1, Across), Colour);
    }
}
