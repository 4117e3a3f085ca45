#pragma once
#include <QRect>
#include <QtGlobal>

class QPainter;

// Colour helpers of the look-style button. Colours are 32-bit Windows values
// 0x00BBGGRR; a value with the top bit set is a system colour (resolved through
// the program's fixed table), every other value counts by its low three bytes, so
// clDefault counts as black and clNone as white. Results are plain RGB values.

// The RGB value the helpers below work with.
quint32 VekResolveColor(quint32 Color);

// Each channel c becomes c - c / 255 * Amount, clamped to 0..255 and rounded to
// the nearest integer (halves to even).
quint32 DarkenColor(quint32 Color, int Amount);
// Each channel c becomes c + c / 255 * Amount, where a channel at 0 becomes 127
// whatever the amount; clamped and rounded as above.
quint32 LightenColor(quint32 Color, int Amount);

// Fills Rect with 1-pixel lines blending from FromColor (first line) to ToColor
// (last line): rows when Vertical, else columns. Each channel of line k of n is
// (f1 * (n - 1 - k) + f2 * k) / (n - 1), rounded down, so the first and last lines
// carry exactly the two colours. A rectangle without rows (columns) draws nothing;
// one row (column) gets FromColor. Pen and brush of the painter stay as they were.
void FillGradient(QPainter& Canvas, const QRect& Rect, quint32 FromColor, quint32 ToColor, bool Vertical);
