#pragma once
// Shared set-up of the font window tests: a synthetic font file, windows that
// opened it, and readers of the grid picture.
#include "test_text_common.h"

#include "uChildWinFont.h"

#include <QPointer>
#include <QRandomGenerator>

namespace fonttest {

using texttest::ToInternal;

inline QByteArray RandomFont(quint32 Seed) {
    QByteArray B(1024, 0);
    QRandomGenerator Gen(Seed);
    for (char& C : B) C = char(Gen.bounded(256));
    return B;
}

// Top-left pixel of a grid cell in the unzoomed picture.
inline QPoint CellOrigin(int Cell) {
    return QPoint(1 + (Cell % 32) * 9, 1 + (Cell / 32) * 9);
}

// The 8 rows of a cell as drawn: a set bit for each pixel in Ink.
inline TCharBytes CellBytes(const QImage& Pic, int Cell, QRgb Ink) {
    TCharBytes B{};
    const QPoint O = CellOrigin(Cell);
    for (int R = 0; R < 8; ++R)
        for (int C = 0; C < 8; ++C)
            if (Pic.pixel(O.x() + C, O.y() + R) == Ink) B[R] = quint8(B[R] | (0x80 >> C));
    return B;
}

inline TCharBytes FileGlyph(const QByteArray& Font, int Internal) {
    TCharBytes B{};
    for (int R = 0; R < 8; ++R) B[R] = quint8(Font.at(Internal * 8 + R));
    return B;
}

class FontWindowTest : public texttest::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        CopyBuffers = {};
    }
    void TearDown() override {
        for (auto& W : Windows) delete W.data();
        WindowTest::TearDown();
    }
    TChildWinFont* Open(const QByteArray& Font, const QString& Name = "MYFONT.FNT") {
        auto* W = new TChildWinFont;
        Windows << W;
        W->OpenDocument(Write(Name.toLower(), Font), Name);
        return W;
    }
    // A click on the centre of a cell, in zoomed view coordinates.
    static void Click(TChildWinFont* W, int Cell) {
        const QPoint P = (CellOrigin(Cell) + QPoint(4, 4)) * W->ZoomFactor;
        W->imgFontMouseDown(P.x(), P.y());
    }
    static QRgb Fore() { return WinColorToRgb(fontforecolor); }
    static QRgb Back() { return WinColorToRgb(fontbackcolor); }

    QList<QPointer<TChildWinFont>> Windows;
};

} // namespace fonttest
