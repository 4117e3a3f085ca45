// Drawing with the character set: single characters, grids, fonts, strings, text pages.
#include "test_text_common.h"
#include "uTAtariFont.h"

namespace {
constexpr quint32 Fg = 0x00FF00, Bg = 0x800000; // 0x00BBGGRR
const QRgb FgRgb = qRgb(0, 255, 0), BgRgb = qRgb(0, 0, 128);
const quint8 GlyphA[8] = {0x00, 0x18, 0x3C, 0x66, 0x66, 0x7E, 0x66, 0x00};

QImage Blank(int W, int H) {
    return Filled(W, H, qRgb(1, 2, 3));
}
// Whether the 8 x 8 cell at (X, Y) shows Glyph, set pixels in Ink and clear ones in Paper.
bool CellIs(const QImage& I, int X, int Y, const quint8* Glyph, QRgb Ink, QRgb Paper) {
    for (int R = 0; R < 8; ++R)
        for (int C = 0; C < 8; ++C)
            if (I.pixel(X + C, Y + R) != ((Glyph[R] & (0x80 >> C)) ? Ink : Paper)) return false;
    return true;
}
bool Render(const TAtariFont& F, QImage& I, const QByteArray& T, int Cpl = 40, int Margin = 0, int Type = 0,
            int TabW = 1, const TProgressFn& P = nullptr, QObject* App = nullptr,
            const std::function<void()>& Repaint = nullptr, int Selector = 1) {
    return F.RenderText(I, Selector, reinterpret_cast<const quint8*>(T.constData()), int(T.size()), Type, 155,
                        127, TabW, Cpl, Margin, 0, 0, Fg, Bg, P, App, Repaint);
}
} // namespace

// Every code under every selector, by the glyph drawn; a code and the same code + 128
// draw alike. The font holds a set of its own, which selectors 2 and 3 never show.
TEST(AtariFontDraw, EveryCodeOfEverySelector) {
    QByteArray Held(1024, 0);
    QRandomGenerator Gen(5);
    for (char& B : Held) B = char(Gen.bounded(256));
    TAtariFont F;
    F.LoadFromData(Held);
    QImage I;
    for (int Selector = 0; Selector < 4; ++Selector)
        for (int Code = 0; Code < 256; ++Code) {
            I = Blank(8, 8);
            F.DrawChar(I, Selector, Code, 0, 0, Fg, Bg, 1, false, false);
            ASSERT_EQ(texttest::CellRows(I, 0, 0, 1, Fg, Bg),
                      texttest::SelectorGlyph(Selector, Code % 128, Held))
                << "selector " << Selector << ", code " << Code;
        }
}

TEST(AtariFontDraw, ScaleAndTransparency) {
    TAtariFont F;
    QImage I = Blank(40, 40);
    const QRgb Old = qRgb(1, 2, 3);
    F.DrawChar(I, 1, 65, 16, 0, Fg, Bg, 1, true, false);
    EXPECT_TRUE(CellIs(I, 16, 0, GlyphA, Old, BgRgb));
    F.DrawChar(I, 1, 65, 24, 0, Fg, Bg, 1, false, true);
    EXPECT_TRUE(CellIs(I, 24, 0, GlyphA, FgRgb, Old));

    // Scaled glyphs are pinned by the table pictures; off-image parts are clipped.
    QImage S = Blank(24, 24);
    F.DrawChar(S, 1, 65, 0, 0, Fg, Bg, 3, false, false);
    F.DrawChar(S, 1, 65, -5, 20, Fg, Bg, 11, false, false);
    F.DrawChar(S, 1, 65, 20, -70, Fg, Bg, 1, false, false);
    F.DrawChar(S, 7, 65, 0, 0, Bg, Bg, 1, false, false); // unknown selector: nothing
    EXPECT_EQ(S.pixel(10, 4), FgRgb);
}

TEST(AtariFontRender, PageLayoutEdgeCases) {
    // Frame, margins, wrapping, inverse video and the German set are pinned through
    // the windows' pages; here what they do not reach.
    TAtariFont F;
    QImage I;
    ASSERT_TRUE(Render(F, I, QByteArray(41, 'A')));
    ASSERT_EQ(I.size(), QSize(328, 22));
    for (int K = 0; K < 40; ++K) EXPECT_TRUE(CellIs(I, 4 + 8 * K, 4, GlyphA, FgRgb, BgRgb)) << K;
    EXPECT_TRUE(CellIs(I, 4, 12, GlyphA, FgRgb, BgRgb));
    EXPECT_EQ(I.pixel(324, 4), BgRgb);
    ASSERT_TRUE(Render(F, I, QByteArray()));
    EXPECT_EQ(I.size(), QSize(328, 14));
    ASSERT_TRUE(Render(F, I, QByteArray(100, 'A'), 4, 4)); // no wrap when the width is <= 0
    EXPECT_EQ(I.size(), QSize(40, 14));
}

TEST(AtariFontRender, ListingTabsAndGaps) {
    TAtariFont F;
    QImage I;
    ASSERT_TRUE(Render(F, I, QByteArray("AAA") + char(127) + "A", 40, 0, 4, 9));
    EXPECT_TRUE(CellIs(I, 4 + 9 * 8, 4, GlyphA, FgRgb, BgRgb));
    EXPECT_TRUE(CellIs(I, 4 + 3 * 8, 4, GlyphA, BgRgb, BgRgb)); // the skipped cells stay blank
    // 255 leaves a gap without counting a column: 40 letters still fit, the 40th one cell further right.
    ASSERT_TRUE(Render(F, I, char(255) + QByteArray(41, 'A'), 40, 0, 4, 9));
    EXPECT_EQ(I.height(), 22);
    EXPECT_EQ(I.pixel(4 + 40 * 8 + 2, 6), FgRgb); // the 40th letter, cut by the frame
    EXPECT_EQ(I.pixel(4 + 40 * 8 + 3, 6), qRgb(0xC0, 0xC0, 0xC0));
    EXPECT_TRUE(CellIs(I, 4 + 8, 4, GlyphA, FgRgb, BgRgb));
    EXPECT_TRUE(CellIs(I, 4, 12, GlyphA, FgRgb, BgRgb));
    // Width 0 TAB stops cannot divide by zero.
    ASSERT_TRUE(Render(F, I, QByteArray(1, char(127)) + "A", 40, 0, 4, 0));
    EXPECT_TRUE(CellIs(I, 12, 4, GlyphA, FgRgb, BgRgb));
    // TABs running far past the right edge are clipped, not written elsewhere.
    ASSERT_TRUE(Render(F, I, QByteArray(50, char(127)) + "A" + char(155) + "A", 40, 0, 4, 1000000));
    EXPECT_EQ(I.size(), QSize(328, 22));
    EXPECT_TRUE(CellIs(I, 4, 12, GlyphA, FgRgb, BgRgb));
    ASSERT_TRUE(Render(F, I, QByteArray(10, 'A'), 40, -1000));
    EXPECT_EQ(I.pixel(1, 1), BgRgb);
}

TEST(AtariFontRender, PagesBeyondTheLimitAreRefused) {
    // Pages past 65536 rows are shown to their last line by the long page tests.
    TAtariFont F;
    QImage I(5, 5, QImage::Format_RGB32);
    I.fill(0);
    const QByteArray Huge(300000, char(155));
    EXPECT_TRUE(ErrorOf([&] { Render(F, I, Huge, 1000); }).contains("zu lang"));
    EXPECT_EQ(I.size(), QSize(5, 5));
    EXPECT_THROW(Render(F, I, "A", -5), EMorvanelError);
}

TEST(AtariFontRender, ProgressEventsReentryAndOwnerLoss) {
    TAtariFont F;
    QImage I;
    QList<QPair<int, int>> Calls;
    int Repaints = 0;
    TProgressFn P = [&](int Pos, int Max) { Calls.append({Pos, Max}); };
    ASSERT_TRUE(Render(F, I, QByteArray(100, 'A'), 40, 0, 0, 1, P));
    EXPECT_TRUE(Calls.isEmpty()); // no events without an owner
    QObject Owner;
    bool Nested = true;
    auto Repaint = [&] {
        ++Repaints;
        Nested = Render(F, I, "AB"); // a nested render of the same page is refused
    };
    ASSERT_TRUE(Render(F, I, QByteArray(100, 'A'), 40, 0, 0, 1, P, &Owner, Repaint));
    ASSERT_EQ(Calls.size(), 7);
    for (int K = 0; K < 7; ++K) EXPECT_EQ(Calls[K], qMakePair(16 * K, 99));
    EXPECT_EQ(std::make_tuple(Repaints, Nested, I.size()), std::make_tuple(7, false, QSize(328, 30)));
    EXPECT_TRUE(CellIs(I, 4, 12, GlyphA, FgRgb, BgRgb));

    // An owner closed while events run is covered by each window; the page is replaced meanwhile: the
    // replacement is left alone.
    QImage Other = Blank(10, 10);
    int Seen = 0;
    auto Swap = [&] {
        if (++Seen == 2) I = Other;
    };
    EXPECT_FALSE(Render(F, I, QByteArray(1000, 'A'), 40, 0, 0, 1, nullptr, &Owner, Swap));
    EXPECT_EQ(I, Blank(10, 10));
}
