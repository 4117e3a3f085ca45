#pragma once
// Shared set-up of the font window tests: a synthetic font file, windows that
// opened it, and readers of the grid picture.
#include "FileDialogs.h"
#include "ImageView.h"
#include "uChildWinFont.h"
#include "uGlobal.h"

#include <QPointer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace fonttest {

// ATASCII code to internal code, written out independently of the model.
inline int ToInternal(int A) {
    return A < 32 ? A + 64 : (A < 96 ? A - 32 : A);
}

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

class FontWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitFolders();
        SetSettingsDefaults();
        SetMessageBoxHook([this](TMsgKind, const QString& C, const QString& T) { Boxes << C + "|" + T; });
        CopyBuffers = {};
    }
    void TearDown() override {
        SetMessageBoxHook(nullptr);
        SetFileDialogHook(nullptr);
        for (auto& W : Windows) delete W.data();
    }
    TChildWinFont* Open(const QByteArray& Font, const QString& Name = "MYFONT.FNT") {
        const QString Path = Dir.filePath(Name.toLower());
        WriteWholeFile(Path, Font);
        auto* W = new TChildWinFont;
        Windows << W;
        W->OpenDocument(Path, Name);
        return W;
    }
    // A click on the centre of a cell, in zoomed view coordinates.
    static void Click(TChildWinFont* W, int Cell) {
        const QPoint P = (CellOrigin(Cell) + QPoint(4, 4)) * W->ZoomFactor;
        W->imgFontMouseDown(P.x(), P.y());
    }
    // Answers the next save dialogs with Path and filter Index.
    static void AnswerSave(const QString& Path, int Index = 1) {
        SetFileDialogHook([Path, Index](TFileDialogRequest& R, QStringList& Files) {
            R.FilterIndex = Index;
            Files = {Path};
            return true;
        });
    }
    static QRgb Fore() { return WinColorToRgb(fontforecolor); }
    static QRgb Back() { return WinColorToRgb(fontbackcolor); }

    QTemporaryDir Dir;
    QList<QPointer<TChildWinFont>> Windows;
    QStringList Boxes;
};

} // namespace fonttest
