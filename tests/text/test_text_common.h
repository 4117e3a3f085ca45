#pragma once
// Shared set-up of the text window tests: a temporary folder, recorded message
// boxes, answered save dialogs and report output to PDF; and the expected pages:
// glyph rows read straight from the character set files, never drawn by the font.
#include "ImageView.h"
#include "RichTextSink.h"
#include "WinColor.h"
#include "test_common.h"
#include "uFGlobal.h"

#include <QApplication>
#include <QImage>
#include <functional>
#include <span>

namespace texttest {

inline QByteArray Bytes(std::initializer_list<int> List) {
    QByteArray B;
    for (int V : List) B += char(V);
    return B;
}

// One row of a conversion table as written down for the format: codes Lo to Hi give
// Out, in which "b" stands for the code itself and "b-128" for the character code - 128;
// any other Out is Latin-1 text. Skip: the byte after the code is consumed without output.
struct TCodeRow {
    int Lo, Hi;
    const char* Out;
    bool Skip = false;
};
// Output of Code by Rows; a code of no row gives nothing. Rows must not overlap.
inline QString RowOutput(std::span<const TCodeRow> Rows, int Code, bool* Skip = nullptr) {
    QString Out;
    int Hits = 0;
    for (const TCodeRow& R : Rows) {
        if (Code < R.Lo || Code > R.Hi) continue;
        ++Hits;
        const QByteArray O(R.Out);
        Out = O == "b"       ? QString(QChar(Code))
              : O == "b-128" ? QString(QChar(Code - 128))
                             : QString::fromLatin1(O);
        if (Skip) *Skip = R.Skip;
    }
    EXPECT_LE(Hits, 1) << "rows overlap at " << Code;
    if (Skip && !Hits) *Skip = false;
    return Out;
}

// What reaches a rich edit: each run of one style as "[text|BIU]", with its offset in
// twips after the letters, and each paragraph as "/"; runs of one style in a row join.
class StyleLog : public TRichTextSink {
public:
    void InsertText(const QString& T) override {
        const QString Tag = "|" + Letters() + (Offset ? QString::number(Offset) : "") + "]";
        if (Log.endsWith(Tag))
            Log.insert(Log.size() - Tag.size(), T);
        else
            Log += "[" + T + Tag;
    }
    TRichStyle Style() const override { return S; }
    void SetStyle(const TRichStyle& Style) override { S = Style; }
    void SetOffset(int Twips) override { Offset = Twips; }
    void NewParagraph() override { Log += "/"; }
    // The log and, after "#", the style the conversion leaves behind.
    QString Result() const { return Log + "#" + Letters(); }
    QString Log;
    TRichStyle S;
    int Offset = 0;

private:
    QString Letters() const {
        return QString(S.Bold ? "B" : "") + (S.Italic ? "I" : "") + (S.Underline ? "U" : "");
    }
};

// ATASCII code (0-127) to internal code, the order of set files; written out independently of the model.
inline int ToInternal(int A) {
    return A < 32 ? A + 64 : (A < 96 ? A - 32 : A);
}
// The built-in standard set as its file holds it (internal order), and the rows of the
// glyph of an ATASCII code in the built-in set files.
inline const QByteArray& StandardSetFile() {
    static const QByteArray Font = ReadWholeFile(MORVANEL_SOURCE_DIR "/resources/atari-standard.fnt");
    return Font;
}
inline QByteArray StandardGlyph(int Ascii) {
    return StandardSetFile().mid(ToInternal(Ascii) * 8, 8);
}
inline QByteArray InternationalGlyph(int Ascii) {
    static const QByteArray Font = ReadWholeFile(MORVANEL_SOURCE_DIR "/resources/atari-international.fnt");
    return Font.mid(ToInternal(Ascii) * 8, 8);
}
inline const QByteArray SharpS = QByteArray::fromHex("003C667C66667C60");

// The glyph a character selector draws for Code (0-127): 0 internal and 1 ATASCII order
// of Held, the set the font holds (file order); 2 and 3 the built-in international set,
// 2 with the German letters in place of [ \ ] { | } ~, 3 with the sharp s at 13.
inline QByteArray SelectorGlyph(int Selector, int Code, const QByteArray& Held = StandardSetFile()) {
    // The letters' codes in the international set: Ä Ö Ü ä ö ü.
    const std::pair<int, int> German[] = {{'[', 123}, {'\\', 12}, {']', 16}, {'{', 11}, {'|', 15}, {'}', 10}};
    switch (Selector) {
    case 0:
        return Held.mid(8 * Code, 8);
    case 1:
        return Held.mid(8 * ToInternal(Code), 8);
    case 2:
        if (Code == '~') return SharpS;
        for (auto [Ascii, Letter] : German)
            if (Code == Ascii) return InternationalGlyph(Letter);
        return InternationalGlyph(Code);
    case 3:
        return Code == 13 ? SharpS : InternationalGlyph(Code);
    default:
        return QByteArray();
    }
}
inline const QByteArray BlankCell(8, 0);
// Inverse video: every pixel of the cell swapped.
inline QByteArray Inverse(QByteArray Rows) {
    for (char& R : Rows) R = char(~R);
    return Rows;
}

// The 8 x 8 cell at (X, Y) of Shot read back as glyph rows: a set bit for the
// foreground colour; any colour but the two fails.
inline QByteArray CellRows(const QImage& Shot, int X, int Y, int Scale = 1, quint32 Fg = textforecolor,
                           quint32 Bg = textbackcolor) {
    QByteArray Rows(8, 0);
    for (int R = 0; R < 8; ++R)
        for (int C = 0; C < 8; ++C) {
            const QRgb P = Shot.pixel(X + C * Scale, Y + R * Scale);
            if (P == WinColorToRgb(Fg))
                Rows[R] = char(quint8(Rows[R]) | (0x80 >> C));
            else if (P != WinColorToRgb(Bg))
                return QByteArray("colour");
        }
    return Rows;
}

// Whether the cells from (X, Y) rightwards show Text in the standard set; a space is a blank cell.
inline ::testing::AssertionResult RowShows(const QImage& Page, int X, int Y, const QByteArray& Text,
                                           quint32 Fg = textforecolor, quint32 Bg = textbackcolor) {
    for (int I = 0; I < Text.size(); ++I)
        if (CellRows(Page, X + 8 * I, Y, 1, Fg, Bg) != StandardGlyph(quint8(Text[I])))
            return ::testing::AssertionFailure() << "cell " << I << " of \"" << Text.constData() << "\"";
    return ::testing::AssertionSuccess();
}

// Whether Page is W x H pixels: a silver frame round a page in Bg.
inline ::testing::AssertionResult IsPage(const QImage& Page, int W, int H, quint32 Bg = textbackcolor) {
    if (Page.size() != QSize(W, H))
        return ::testing::AssertionFailure()
               << Page.width() << " x " << Page.height() << ", not " << W << " x " << H;
    const QRgb Silver = qRgb(0xC0, 0xC0, 0xC0);
    for (QPoint P : {QPoint(0, 0), QPoint(W - 1, 0), QPoint(0, H - 1), QPoint(W - 1, H - 1), QPoint(W / 2, 0),
                     QPoint(0, H / 2), QPoint(W / 2, H - 1), QPoint(W - 1, H / 2)})
        if (Page.pixel(P) != Silver)
            return ::testing::AssertionFailure() << "frame at " << P.x() << "," << P.y();
    for (QPoint P : {QPoint(1, 1), QPoint(W - 2, 1), QPoint(1, H - 2), QPoint(W - 2, H - 2)})
        if (Page.pixel(P) != WinColorToRgb(Bg))
            return ::testing::AssertionFailure() << "background at " << P.x() << "," << P.y();
    return ::testing::AssertionSuccess();
}

// Both sides of the page layout limits: characters per line 1-160 and left margin
// 0-MaxMargin. Redraw enters the two values; inside the limits the page is drawn anew
// at that width, outside them it keeps its last drawing, without a message.
inline void ExpectLayoutLimits(int MaxMargin, const std::function<void(int, int)>& Redraw, const QImage& Page,
                               const QStringList& Boxes) {
    const struct {
        int Cpl, Lm;
        bool Draws;
    } Rows[] = {{161, 0, false},       {160, 0, true},  {0, 0, false},
                {1, 0, true},          {40, -1, false}, {40, MaxMargin + 1, false},
                {40, MaxMargin, true}, {40, 0, true}};
    for (const auto& R : Rows) {
        const qint64 Before = Page.cacheKey();
        Redraw(R.Cpl, R.Lm);
        EXPECT_EQ(Page.cacheKey() != Before, R.Draws) << R.Cpl << " / " << R.Lm;
        if (R.Draws) {
            EXPECT_EQ(Page.width(), 8 * R.Cpl + 8) << R.Cpl << " / " << R.Lm;
        }
    }
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

class WindowTest : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        fGlobal = new TfGlobal;
    }
    void TearDown() override {
        FileTest::TearDown();
        delete fGlobal;
        fGlobal = nullptr;
    }
    // Saves with each filter in turn under a name without extension: each adds its own
    // extension (Extensions in filter order) and writes that kind of file.
    void ExpectFilterExtensions(const std::function<void()>& Save, const QStringList& Extensions) {
        for (int Filter = 1; Filter <= Extensions.size(); ++Filter) {
            const QString Name = QStringLiteral("filter%1").arg(Filter) + Extensions[Filter - 1];
            AnswerSave(QStringLiteral("filter%1").arg(Filter), Filter);
            Save();
            const QByteArray Data =
                QFile::exists(Dir.filePath(Name)) ? ReadWholeFile(Dir.filePath(Name)) : "";
            const char* Kind = Data.startsWith("{\\rtf")     ? ".RTF"
                               : Data.startsWith("BM")       ? ".BMP"
                               : Data.startsWith("\xFF\xD8") ? ".JPG"
                               : Data.size() == 1024         ? ".FNT"
                               : Data.isEmpty()              ? "none"
                                                             : ".TXT";
            EXPECT_EQ(Kind, Extensions[Filter - 1]) << Name.toStdString();
        }
    }
    // Sends the next reports to Name in the folder as PDF; the pages of such a file.
    void PrintTo(const QString& Name) { PrintReportsTo(Dir.filePath(Name)); }
    int PdfPages(const QString& Name) { return PdfPageCount(Dir.filePath(Name)); }
};

} // namespace texttest
