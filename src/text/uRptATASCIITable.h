#pragma once
// Two reference sheets of a character set drawn into a picture, and their printing:
// the ATASCII table (all 256 codes with decimal and hexadecimal value, the glyph by
// ATASCII code and the glyph by internal code) and the font map (the 128 glyphs
// enlarged on a checkerboard with their codes and eight byte values).
//
// Glyphs are drawn pixel-exactly with TAtariFont; the texts go through QPainter
// (antialiasing off) in the "ATASCII" face and in Arial, always on white.
#include "uTAtariFont.h"

#include <QImage>
#include <QString>

// Sizes of the two sheets.
constexpr int ATASCIITableWidth = 1160;
constexpr int ATASCIITableHeight = 1300;
constexpr int FontMapWidth = 975;
constexpr int FontMapHeight = 1250;

// Both drawing procedures draw into Image as it is (clipped to it); a null Image is
// first made a white picture of the sheet's size. Font is never changed.
//
// ShowInternational adds, beside the glyphs that the built-in international set
// draws differently, the international glyph (ATASCII column at +110, internal
// column at +190).
void DrawATASCIITable(QImage& Image, const TAtariFont& Font, bool ShowInternational);
void DrawFontMap(QImage& Image, const TAtariFont& Font);
// One cell of the font map: Selector 0 Code is internal, 1 Code is ATASCII; a Code
// outside 0-127 or another Selector draws nothing.
void DrawFontMapCell(QImage& Image, int X, int Y, const TAtariFont& Font, int Scale, int Selector, int Code);

// Print the sheet through the report module (nothing happens without it). The
// picture goes to the report in memory; no temporary file stays behind.
void PrintATASCTableReport(const QImage& Image, const QString& Title);
void PrintFontMapReport(const QImage& Image, const QString& Title);
