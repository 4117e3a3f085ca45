// ST screen model: Degas (plain and packed), NEOchrome, Doodle and STAD loading, and
// hostile input.
#include "test_atarist_helpers.h"

using namespace sttest;

namespace {

class AtariST : public STFileTest {
protected:
    // Writes a STAD file and loads it as the window does: header first, then the screen.
    int STAD(TAtariSTGraphic& G, const QString& Name, const QByteArray& Data) {
        const QString Path = Write(Name, Data);
        G.ReadSTADHeader(Path);
        return G.LoadSTAD(Path);
    }
    static std::array<quint16, 16> SomePalette() {
        std::array<quint16, 16> P{};
        for (int I = 0; I < 16; ++I) P[I] = quint16(((I * 3) & 7) << 8 | ((I * 5) & 7) << 4 | (I & 7));
        return P;
    }
};

using TLoad = int (TAtariSTGraphic::*)(const QString&);
const struct {
    int Planes, Res;
    TLoad Load;
} PackedKinds[] = {{4, 0, &TAtariSTGraphic::LoadDegasPC1},
                   {2, 1, &TAtariSTGraphic::LoadDegasPC2},
                   {1, 2, &TAtariSTGraphic::LoadDegasPC3}};

} // namespace

TEST(AtariSTDraw, OtherResolutionDrawsNothingAndImagesAreClipped) {
    TAtariSTGraphic G;
    std::mt19937 Rng(7);
    const QByteArray Noise = RandomBytes(32000, Rng);
    std::copy(Noise.begin(), Noise.end(), G.Screen.begin());
    for (int I = 0; I < 16; ++I) G.Palette[I] = quint16(Rng());
    // A smaller image holds the top left of the whole picture, also cut inside a group.
    for (int Res = 0; Res < 3; ++Res)
        for (const QSize Size : {QSize(10, 3), QSize(17, 200), QSize(319, 1), QSize(639, 399)}) {
            const QImage Whole = Drawn(G, Res);
            QImage Small(Size.boundedTo(Whole.size()), QImage::Format_RGB32);
            G.DrawDegas(Small, Res);
            EXPECT_EQ(Small, Whole.copy(Small.rect())) << Res << " " << Size.width();
        }

    G.Screen.fill(0xFF);
    QImage Img(700, 500, QImage::Format_RGB32);
    Img.fill(Qt::magenta);
    const QImage Before = Img;
    G.DrawDegas(Img, 3);
    G.DrawDegas(Img, -1);
    EXPECT_EQ(Img, Before);
    G.DrawDegas(Img, TAtariSTGraphic::ResLow);
    EXPECT_EQ(Img.copy(0, 0, 320, 200), Drawn(G, TAtariSTGraphic::ResLow));
    EXPECT_EQ(Img.copy(320, 0, 380, 500), Before.copy(320, 0, 380, 500));

    QImage Indexed(16, 1, QImage::Format_Mono);
    G.DrawDoodle(Indexed);
    EXPECT_EQ(Indexed.format(), QImage::Format_RGB32);
    EXPECT_EQ(Indexed.pixel(5, 0), qRgb(0, 0, 0));
}

// (Screens and palettes are compared pixel for pixel where the files are opened.)
TEST_F(AtariST, RawFilesGiveTheBytesTheyUseAndIgnoreTheRest) {
    const QByteArray Screen = RandomBytes(32000, Rng);
    TAtariSTGraphic G;
    EXPECT_EQ(G.LoadNeochrome(Write("A.NEO", QByteArray(128, 0) + Screen)), 32128);
    EXPECT_EQ(G.LoadDoodle(Write("A.DOO", Screen)), 32000);
    EXPECT_EQ(G.LoadDegas(Write("A.PI1", DegasHeader(0, SomePalette()) + Screen + "trailing")), 32034);
    EXPECT_EQ(std::make_pair(ScreenOf(G), G.Palette), std::make_pair(Screen, SomePalette()));
}

TEST_F(AtariST, PackBitsControlBytes) {
    // Monochrome packing places the bytes in file order, which shows the runs plainly.
    // 80 is skipped, 7F: 128 literals, 81: 128 repeats, FF: 2 repeats, 00: 1 literal.
    QByteArray Literals;
    for (int I = 0; I < 128; ++I) Literals.append(char(I + 1));
    QByteArray F =
        DegasHeader(0x8002, {}) + "\x80\x7F" + Literals + "\x81\xAA\x80\xFF\xBB" + QByteArray("\0\xCC", 2);
    for (int Left = 32000 - 259; Left > 0; Left -= 128) F.append("\x81\x11");
    TAtariSTGraphic G;
    EXPECT_EQ(G.LoadDegasPC3(Write("C.PC3", F)), F.size());
    EXPECT_EQ(ScreenOf(G),
              Literals + QByteArray(128, '\xAA') + "\xBB\xBB\xCC" + QByteArray(32000 - 259, '\x11'));
}

TEST_F(AtariST, PackedDegasMatchesTheScreen) {
    const auto Pal = SomePalette();
    // Rows with long runs and random stretches, so both run kinds occur.
    QByteArray Screen = RandomBytes(32000, Rng);
    for (int I = 0; I < 32000; ++I)
        if ((I / 37) % 3 == 0) Screen[I] = char(I / 500);
    Screen.replace(1600, 480, QByteArray(480, '\xAB')); // whole rows: runs span all planes
    for (const auto& K : PackedKinds)
        for (bool PerRow : {false, true}) {
            SCOPED_TRACE(testing::Message() << "res " << K.Res << " per row " << PerRow);
            TAtariSTGraphic Packed;
            Packed.Screen.fill(0x99); // the loader starts from a blank screen
            const QByteArray File = MakePC(DegasHeader(K.Res, Pal), Screen, K.Planes, PerRow);
            EXPECT_EQ((Packed.*K.Load)(Write("P.PC", File + "anim")), File.size());
            EXPECT_EQ(Packed.Palette, Pal);
            EXPECT_EQ(ScreenOf(Packed), Screen);
        }
}

TEST_F(AtariST, PackedRunsStopAtTheEndOfTheScreen) {
    // 250 repeat runs fill file-order bytes 0 to 31989, so the last run starts in the
    // last plane of the last row with 10 bytes left and claims more: a literal of E0
    // to E9 and two bytes of 77, or 128 repeats of 66. Only 10 bytes are stored and,
    // of the literal, only those 10 taken from the file; nothing after it is read.
    QByteArray Lead = DegasHeader(0, {});
    for (int I = 0; I < 249; ++I) Lead.append('\x81').append(char(I % 100));
    Lead.append('\x8B').append('\xC0'); // 118 repeats
    const QByteArray Ten = QByteArray::fromHex("E0E1E2E3E4E5E6E7E8E9");
    const QByteArray More = '\x7F' + QByteArray(128, '\x77');
    for (const auto& K : PackedKinds) {
        SCOPED_TRACE(K.Res);
        TAtariSTGraphic L;
        EXPECT_EQ((L.*K.Load)(Write("L.PC", Lead + '\x0B' + Ten + "\x77\x77" + More)), Lead.size() + 1 + 10);
        for (int V = 0xE0; V <= 0xE9; ++V) EXPECT_EQ(std::count(L.Screen.begin(), L.Screen.end(), V), 1) << V;
        EXPECT_EQ(std::count(L.Screen.begin(), L.Screen.end(), 0x77), 0);
        // Monochrome keeps the file order: the run's bytes are the last 10 of the screen.
        if (K.Res == 2) {
            EXPECT_EQ(ScreenOf(L).right(10), Ten);
        }

        TAtariSTGraphic R;
        EXPECT_EQ((R.*K.Load)(Write("R.PC", Lead + "\x81\x66" + More)), Lead.size() + 2);
        const auto Count = [&](int V) { return std::count(R.Screen.begin(), R.Screen.end(), V); };
        EXPECT_EQ(std::make_tuple(Count(0x66), Count(0xC0), Count(0x77)), std::make_tuple(10, 118, 0));
    }
}

TEST_F(AtariST, STADColumnAndRowPacking) {
    // Column packing: 401 plain bytes fill byte column 0 of all 400 rows, then the
    // top of column 1.
    QByteArray Col("pM86\xF0\x00\xF1", 7);
    for (int I = 0; I < 401; ++I) Col.append(char(1 + I % 200));
    TAtariSTGraphic G;
    EXPECT_EQ(STAD(G, "COL.PAC", Col), 408);
    EXPECT_EQ(G.STADHeader[3], '6');
    for (int Row = 0; Row < 400; ++Row) ASSERT_EQ(G.Screen[Row * 80], 1 + Row % 200) << Row;
    EXPECT_EQ(G.Screen[1], 1 + 400 % 200);
    EXPECT_EQ(G.Screen[81], 0);
    EXPECT_EQ(std::count(G.Screen.begin(), G.Screen.end(), 0), 32000 - 401);
    QImage Mono = Drawn(G, TAtariSTGraphic::ResHigh);
    EXPECT_EQ(Mono.pixel(7, 0), qRgb(0, 0, 0)); // 0x01
    EXPECT_EQ(Mono.pixel(6, 0), qRgb(255, 255, 255));

    // Row packing with both markers: run marker + count = fill byte count + 1 times,
    // value-run marker + value + count = value count + 1 times.
    QByteArray Rows("pM85\xF0\x55\xF1", 7);
    Rows.append("\x01\xF1\xFF\x03\x02\xF0\x02\x04", 8);
    TAtariSTGraphic S;
    S.Screen.fill(0x99);
    STAD(S, "ROW.PAC", Rows); // a short stream leaves the rest blank
    EXPECT_EQ(ScreenOf(S), QByteArray("\x01\xFF\xFF\xFF\xFF\x02\x55\x55\x55\x04", 10) + QByteArray(31990, 0));

    // Runs stop at the end of the screen: 125 runs of 256 fill it exactly.
    QByteArray Long("pM85\xF0\xAB\xF1", 7);
    for (int I = 0; I < 130; ++I) Long.append("\xF0\xFF", 2);
    EXPECT_EQ(STAD(S, "LONG.PAC", Long), 7 + 250);
    EXPECT_EQ(std::count(S.Screen.begin(), S.Screen.end(), 0xAB), 32000);

    // Any other identifier leaves the screen blank.
    STAD(S, "OTHER.PAC", QByteArray("pM87\xF0\x00\xF1\x01\x02", 9));
    EXPECT_EQ(std::count(S.Screen.begin(), S.Screen.end(), 0), 32000);
}
