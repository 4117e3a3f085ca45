#include "uRptATASCIITable.h"

#include "uFGlobal.h"
#include "uGlobal.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr quint32 Black = 0x000000;
constexpr quint32 White = 0xFFFFFF;
constexpr quint32 Red = 0x0000FF;
constexpr quint32 GridEven = 0xF0CAA6;
constexpr quint32 GridOdd = 0xF0FBFF;

constexpr int TableLeft = 10;
constexpr int TableTop = 15;
constexpr int TableColumnPitch = 300;
constexpr int TableRowPitch = 18;
constexpr int TableGlyphScale = 2;

constexpr int MapLeft = 10;
constexpr int MapTop = 20;
constexpr int MapScale = 9;
constexpr int MapCellPitchX = 95;
constexpr int MapCellPitchY = 8 * MapScale + 13;

// Canvas fonts: 6 and 7 points on a 96 dpi canvas.
QFont AtasciiCanvasFont() {
    QFont F(QStringLiteral("ATASCII"));
    F.setPixelSize(8);
    F.setStyleStrategy(QFont::NoAntialias);
    return F;
}

QFont ArialCanvasFont() {
    QFont F(QStringLiteral("Arial"));
    F.setPixelSize(9);
    F.setStyleStrategy(QFont::NoAntialias);
    return F;
}

// Text with its top-left corner at X, Y on a white cell, the way a canvas with a
// white brush writes it.
void TextOut(QPainter& P, int X, int Y, const QString& Text) {
    const QFontMetrics FM = P.fontMetrics();
    P.fillRect(QRect(X, Y, FM.horizontalAdvance(Text), FM.height()), Qt::white);
    P.drawText(X, Y + FM.ascent(), Text);
}

QString Dec3(int Value) {
    return QStringLiteral("%1").arg(Value, 3, 10, QLatin1Char('0'));
}

void BeginText(QPainter& P, QImage& Image, const QFont& Font) {
    P.begin(&Image);
    P.setRenderHint(QPainter::Antialiasing, false);
    P.setRenderHint(QPainter::TextAntialiasing, false);
    P.setFont(Font);
    P.setPen(Qt::black);
    P.setBrush(Qt::white);
}

void PrepareSheet(QImage& Image, int Width, int Height) {
    if (Image.isNull()) {
        Image = QImage(Width, Height, QImage::Format_RGB32);
        Image.fill(Qt::white);
    } else if (Image.format() != QImage::Format_RGB32) {
        Image.convertTo(QImage::Format_RGB32);
    }
}

// ATASCII codes whose glyph the built-in international set draws differently:
// the German letters and accents at 0-26, the inverted exclamation mark at 96 and
// the A umlaut at 123.
bool HasInternationalGlyph(int ATASCIICode) {
    return ATASCIICode < 27 || ATASCIICode == 96 || ATASCIICode == 123;
}

void PrintSheet(const QImage& Image, const char* Report, const char* ImageParam, const QString& Title) {
    if (!fGlobal) return;
    fGlobal->SelectReport(QLatin1String(Report));
    fGlobal->SetParam(QStringLiteral("Titel"), Title);
    fGlobal->SetImage(QLatin1String(ImageParam), Image);
    fGlobal->SetParam(QStringLiteral("PageFooterText"), GetMsg(QStringLiteral("mCreatedWith")));
    fGlobal->Execute();
}

} // namespace

void DrawATASCIITable(QImage& Image, const TAtariFont& Font, bool ShowInternational) {
    PrepareSheet(Image, ATASCIITableWidth, ATASCIITableHeight);
    if (Image.isNull()) return;

    // Texts first: they lie beside the glyph cells, never on them.
    {
        QPainter P;
        BeginText(P, Image, AtasciiCanvasFont());
        for (int K = 0; K < 4; ++K) {
            const int X = TableLeft + TableColumnPitch * K;
            TextOut(P, X, 1, QStringLiteral("Dec"));
            TextOut(P, X + 40, 1, QStringLiteral("Hex"));
            TextOut(P, X + 80, 1, QStringLiteral("ATASCII"));
            TextOut(P, X + 160, 1, QStringLiteral("INTERN"));
        }
        TextOut(P, TableLeft, 1200, QStringLiteral("POKE 756,204 = international Char.-Set"));
        TextOut(P, TableLeft, 1210, QStringLiteral("POKE 756,224 = standard/graphics Char.-Set"));
        for (int C = 0; C < 256; ++C) {
            const int X = TableLeft + TableColumnPitch * (C / 64);
            const int Y = TableTop + TableRowPitch * (C % 64);
            TextOut(P, X, Y + 3, Dec3(C));
            TextOut(P, X + 40, Y + 3, QStringLiteral("$%1").arg(C, 2, 16, QLatin1Char('0')).toUpper());
        }
        P.end();
    }

    // The international glyphs come from a set of their own, so the font drawn
    // stays as it is.
    TAtariFont International;
    if (ShowInternational) International.LoadBuiltinFont(2);

    for (int C = 0; C < 256; ++C) {
        const int X = TableLeft + TableColumnPitch * (C / 64);
        const int Y = TableTop + TableRowPitch * (C % 64);
        const int G = C & 127;
        // Codes from 128 on are the inverse glyphs: white out of a black square.
        const bool Inverse = C >= 128;
        auto Glyph = [&](const TAtariFont& F, int Selector, int Xp) {
            F.DrawChar(Image, Selector, G, Xp, Y, Black, Black, TableGlyphScale, Inverse, !Inverse);
        };
        Glyph(Font, 1, X + 90);
        if (ShowInternational && HasInternationalGlyph(G)) Glyph(International, 1, X + 110);
        Glyph(Font, 0, X + 170);
        if (ShowInternational && HasInternationalGlyph(TAtariFont::InternalToATASCII(quint8(G))))
            Glyph(International, 0, X + 190);
    }
}

void DrawFontMapCell(QImage& Image, int X, int Y, const TAtariFont& Font, int Scale, int Selector, int Code) {
    if (Code < 0 || Code > 127 || (Selector != 0 && Selector != 1)) return;
    if (Image.isNull()) return;
    const auto& Bytes = Selector == 1 ? Font.FontATASCII : Font.FontInternal;
    Font.DrawChar(Image, Selector, Code, X, Y - 10, Red, White, 1, false, false);
    Font.DrawEditGrid(Image, X, Y, Scale, GridEven, GridOdd);
    Font.DrawChar(Image, Selector, Code, X, Y, Black, White, Scale, false, true);

    QPainter P;
    BeginText(P, Image, ArialCanvasFont());
    TextOut(P, X + 10, Y - 12, QStringLiteral("A: ") + Dec3(Code) + QStringLiteral(" /"));
    TextOut(P, X + 45, Y - 12, QStringLiteral("I: ") + Dec3(TAtariFont::ATASCIIToInternal(quint8(Code))));
    for (int R = 0; R < 8; ++R) TextOut(P, X + 8 * Scale + 2, Y - 1 + R * Scale, Dec3(Bytes[8 * Code + R]));
    P.end();
}

void DrawFontMap(QImage& Image, const TAtariFont& Font) {
    PrepareSheet(Image, FontMapWidth, FontMapHeight);
    if (Image.isNull()) return;
    int X = MapLeft, Y = MapTop;
    for (int Code = 0; Code < 128; ++Code) {
        DrawFontMapCell(Image, X, Y, Font, MapScale, 1, Code);
        if ((Code + 1) % 10 == 0) {
            Y += MapCellPitchY;
            X = MapLeft;
        } else {
            X += MapCellPitchX;
        }
    }
    QPainter P;
    BeginText(P, Image, ArialCanvasFont());
    TextOut(P, 10, 1150, QStringLiteral("A: ATASCII-Code"));
    TextOut(P, 10, 1160, QStringLiteral("I: Internal code"));
    P.end();
}

void PrintATASCTableReport(const QImage& Image, const QString& Title) {
    PrintSheet(Image, "ATASCTableReport", "ImagePathATASCIITable", Title);
}

void PrintFontMapReport(const QImage& Image, const QString& Title) {
    PrintSheet(Image, "FontMapReport", "ImagePathFontMap", Title);
}
