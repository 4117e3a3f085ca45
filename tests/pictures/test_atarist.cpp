// ST screen model: colours, the three screen layouts, Degas (plain and packed),
// NEOchrome, Doodle and STAD loading, and hostile input.
#include "test_atarist_helpers.h"

using namespace sttest;

namespace {

class AtariST : public STFileTest {
protected:
    // Writes a STAD file and loads it as the window does: header first, then the screen.
    int STAD(TAtariSTGraphic& G, const QString& Name, const QByteArray& Data) {
        const QString Path = Put(Name, Data);
        G.ReadSTADHeader(Path);
        return G.LoadSTAD(Path);
    }
    static std::array<quint16, 16> SomePalette() {
        std::array<quint16, 16> P{};
        for (int I = 0; I < 16; ++I) P[I] = quint16(((I * 3) & 7) << 8 | ((I * 5) & 7) << 4 | (I & 7));
        return P;
    }
    template <class F> static void ExpectReadPastEnd(F&& Load) {
        try {
            Load();
            ADD_FAILURE() << "no error raised";
        } catch (const EInOutError& E) {
            EXPECT_EQ(E.ErrorCode, ioReadPastEnd);
            EXPECT_TRUE(E.Message().startsWith(QStringLiteral("Lesen über Dateiende")));
        }
    }
};

// A screen of short runs, as real pictures have, so packing makes repeat runs.
QByteArray RunsScreen() {
    std::mt19937 Gen(99);
    QByteArray B(32000, '\0');
    for (int I = 0; I < 32000;) {
        const char V = Gen() % 3 == 0 ? 0 : char(Gen() & 0xFF);
        for (int N = int(Gen() % 9) + 1; N > 0 && I < 32000; --N) B[I++] = V;
    }
    return B;
}

using TLoad = int (TAtariSTGraphic::*)(const QString&);
const struct {
    int Planes, Res;
    TLoad Load;
} PackedKinds[] = {{4, 0, &TAtariSTGraphic::LoadDegasPC1},
                   {2, 1, &TAtariSTGraphic::LoadDegasPC2},
                   {1, 2, &TAtariSTGraphic::LoadDegasPC3}};

QRgb Level(int R, int G, int B) {
    return qRgb(R * 32, G * 32, B * 32);
}

} // namespace

TEST(AtariSTDraw, MediumLayoutAndPaletteBitThree) {
    TAtariSTGraphic G;
    for (int I = 0; I < 16; ++I) G.Palette[I] = quint16(I << 4 | (15 - I)); // distinct colours
    G.Palette[0] = 0x777;
    // Low (also cross-checked with netpbm): plane words 8000 0000 0000 8000 -> entry 9.
    G.Screen[0] = 0x80;
    G.Screen[6] = 0x80;
    G.Screen[160 + 8 + 3] = 0x01;
    G.Screen[160 + 8 + 5] = 0x01;
    auto Pal = [&](int I) {
        int R, Gr, B;
        TAtariSTGraphic::SplitSTColor(G.Palette[I], R, Gr, B);
        return Level(R, Gr, B);
    };
    EXPECT_EQ(Drawn(G, TAtariSTGraphic::ResLow).pixel(0, 0), Level(0, 1, 6)); // 0x016: bit 3 of blue dropped

    // Medium: groups of two words; same bytes read as planes 0 and 1.
    QImage Med = Drawn(G, TAtariSTGraphic::ResMedium);
    EXPECT_EQ(Med.pixel(0, 0), Pal(1));  // group 1: 8000 0000
    EXPECT_EQ(Med.pixel(16, 0), Pal(2)); // group 2: 0000 8000
    EXPECT_EQ(Med.pixel(17, 0), Level(7, 7, 7));
    // Row 1: group 3 is 0000 0001, group 4 is 0001 0000.
    EXPECT_EQ(Med.pixel(47, 1), Pal(2));
    EXPECT_EQ(Med.pixel(63, 1), Pal(1));
    EXPECT_EQ(Med.pixel(62, 1), Pal(0));
}

TEST(AtariSTDraw, OtherResolutionDrawsNothingAndImagesAreClipped) {
    TAtariSTGraphic G;
    G.Screen.fill(0xFF);
    QImage Img(700, 500, QImage::Format_RGB32);
    Img.fill(Qt::magenta);
    const QImage Before = Img;
    G.DrawDegas(Img, 3);
    G.DrawDegas(Img, -1);
    EXPECT_EQ(Img, Before);
    G.DrawDegas(Img, TAtariSTGraphic::ResLow);
    EXPECT_EQ(Img.pixel(320, 0), QColor(Qt::magenta).rgb());
    EXPECT_EQ(Img.pixel(0, 200), QColor(Qt::magenta).rgb());

    QImage Small(10, 3, QImage::Format_RGB32);
    G.DrawDegas(Small, TAtariSTGraphic::ResHigh);
    EXPECT_EQ(Small.pixel(9, 2), qRgb(0, 0, 0));
    QImage Indexed(16, 1, QImage::Format_Mono);
    G.DrawDoodle(Indexed);
    EXPECT_EQ(Indexed.format(), QImage::Format_RGB32);
    EXPECT_EQ(Indexed.pixel(5, 0), qRgb(0, 0, 0));
}

TEST_F(AtariST, RawFilesReadHeaderAndScreenAndShortOnesChangeNothing) {
    const auto Pal = SomePalette();
    const QByteArray Screen = RandomBytes(32000, Rng);
    QByteArray Neo(128, '\x55');
    for (int I = 0; I < 16; ++I) Neo[4 + 2 * I] = char(Pal[I] >> 8), Neo[5 + 2 * I] = char(Pal[I]);
    TAtariSTGraphic G, N, D;
    EXPECT_EQ(G.LoadDegas(Put("A.PI1", DegasHeader(0, Pal) + Screen + "trailing")), 32034);
    EXPECT_EQ(N.LoadNeochrome(Put("A.NEO", Neo + Screen)), 32128);
    EXPECT_EQ(D.LoadDoodle(Put("A.DOO", Screen)), 32000);
    for (const TAtariSTGraphic* Each : {&G, &N, &D}) EXPECT_EQ(ScreenOf(*Each), Screen);
    EXPECT_EQ(G.Palette, Pal);
    EXPECT_EQ(N.Palette, Pal);
    EXPECT_EQ(D.Palette, (std::array<quint16, 16>{}));

    ExpectReadPastEnd([&] { G.LoadDegas(Put("S.PI1", DegasHeader(0, {}) + Screen.left(31999))); });
    ExpectReadPastEnd([&] { G.LoadDegas(Put("E.PI1", QByteArray())); });
    ExpectReadPastEnd([&] { G.LoadNeochrome(Put("S.NEO", QByteArray(32127, 'x'))); });
    ExpectReadPastEnd([&] { G.LoadDoodle(Put("S.DOO", QByteArray(31999, 'x'))); });
    EXPECT_EQ(ScreenOf(G), Screen);
    EXPECT_EQ(G.Palette, Pal);
    try {
        G.LoadDegas(Dir.filePath("MISSING.PI1"));
        ADD_FAILURE() << "missing file loaded";
    } catch (const EInOutError& E) {
        EXPECT_EQ(E.ErrorCode, ioFileNotFound);
    }
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
    EXPECT_EQ(G.LoadDegasPC3(Put("C.PC3", F)), F.size());
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
            EXPECT_EQ((Packed.*K.Load)(Put("P.PC", File + "anim")), File.size());
            EXPECT_EQ(Packed.Palette, Pal);
            EXPECT_EQ(ScreenOf(Packed), Screen);
        }
}

TEST_F(AtariST, PackedRunsStopAtTheEndOfTheScreen) {
    for (const auto& K : PackedKinds) {
        // 2 + 250 x 128 bytes: the last repeat run overshoots the screen by 2.
        QByteArray F = DegasHeader(0, {});
        F.append('\xFF').append('\x05');
        for (int I = 0; I < 250; ++I) F.append('\x81').append(char(I % 100));
        F.append('\x7F').append(QByteArray(128, '\x77'));
        TAtariSTGraphic G;
        EXPECT_EQ((G.*K.Load)(Put("R.PC", F)), 34 + 2 + 500);
        EXPECT_EQ(G.Screen[31999], 49);
        EXPECT_EQ(std::count(G.Screen.begin(), G.Screen.end(), 0x77), 0);

        // A literal run that overshoots is cut after the last screen byte.
        QByteArray L = DegasHeader(0, {});
        for (int I = 0; I < 249; ++I) L.append('\x81').append('\x01');
        L.append('\xFF').append('\x01');
        L.append('\x7F').append(QByteArray(125, '\x02')).append('\x03').append(QByteArray(2, '\x77'));
        L.append('\x7F').append(QByteArray(128, '\x77'));
        TAtariSTGraphic H;
        (H.*K.Load)(Put("L.PC", L));
        EXPECT_EQ(H.Screen[31999], 0x03);
        EXPECT_EQ(std::count(H.Screen.begin(), H.Screen.end(), 0x02), 125);
        EXPECT_EQ(std::count(H.Screen.begin(), H.Screen.end(), 0x77), 0);
    }
}

TEST_F(AtariST, CutPackedFilesShowTheirLeadingRows) {
    const QByteArray Screen = RunsScreen();
    const QByteArray Header = DegasHeader(0, SomePalette());
    for (const auto& K : PackedKinds) {
        const QByteArray Full = MakePC(Header, Screen, K.Planes);
        TAtariSTGraphic Whole;
        Whole.ParseDegasPacked(Full, K.Res);
        ASSERT_EQ(ScreenOf(Whole), Screen);

        // Cut where row 57 starts: the uncut file's rows exactly, the rest blank, the palette read.
        const int Rows = 57, Kept = Rows * (K.Planes == 1 ? 80 : 160);
        const int Between = int(MakePC(Header, Screen, K.Planes, false, Rows).size());
        TAtariSTGraphic G;
        EXPECT_EQ((G.*K.Load)(Put("CUT.PC", Full.left(Between))), Between);
        EXPECT_EQ(ScreenOf(G).left(Kept), ScreenOf(Whole).left(Kept)) << K.Res;
        EXPECT_EQ(ScreenOf(G).mid(Kept), QByteArray(32000 - Kept, 0)) << K.Res;
        EXPECT_EQ(G.Palette, SomePalette());

        // Cut inside the next row's first run: the colour kinds keep the rows decoded
        // so far, the monochrome one is refused and keeps its old screen.
        const QString Inside = Put("RUN.PC", Full.left(Between + 1));
        TAtariSTGraphic R;
        R.Screen.fill(0x42);
        const auto Old = R.Screen;
        if (K.Res == 2) {
            ExpectReadPastEnd([&] { (R.*K.Load)(Inside); });
            EXPECT_EQ(R.Screen, Old);
        } else {
            EXPECT_EQ((R.*K.Load)(Inside), Between + 1);
            EXPECT_EQ(ScreenOf(R).left(Kept), Screen.left(Kept));
        }
    }

    // A literal run cut short keeps the bytes it delivered (low resolution: plane 0
    // of row 0 holds screen bytes 0, 1, then 8, 9).
    TAtariSTGraphic L;
    L.ParseDegasPacked(DegasHeader(0, {}) + QByteArray("\x05\x11\x22\x33", 4), 0);
    EXPECT_EQ(ScreenOf(L).left(10), QByteArray("\x11\x22\0\0\0\0\0\0\x33\0", 10));
    // A header cut short stays an error for every kind.
    for (int Res : {0, 1, 2})
        ExpectReadPastEnd([&] { L.ParseDegasPacked(DegasHeader(0, {}).left(33), Res); });
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

TEST_F(AtariST, STADShortHeadersAreRefusedAndCutDataShowTheirStart) {
    TAtariSTGraphic G;
    ExpectReadPastEnd([&] { G.ReadSTADHeader(Put("H.PAC", QByteArray("pM85\xF0\x00", 6))); });
    EXPECT_EQ(G.STADHeader, (std::array<quint8, 7>{}));
    ExpectReadPastEnd([&] { G.LoadSTAD(Put("H.PAC", QByteArray("pM8", 3))); });

    // Row-packed screen: fill-byte runs, value runs and plain bytes; for every code the
    // file size once it is complete and the screen bytes stored by then.
    const QByteArray Screen = RunsScreen();
    const QByteArray Head("pM85\xF0\x00\xF1", 7);
    QByteArray Data;
    std::vector<std::pair<int, int>> Codes; // (file bytes, screen bytes)
    for (int I = 0; I < 32000;) {
        int N = 1;
        while (I + N < 32000 && N < 256 && Screen[I + N] == Screen[I]) ++N;
        const quint8 V = quint8(Screen[I]);
        if (V == 0 && N > 1) {
            Data.append('\xF0').append(char(N - 1));
        } else if (N > 2 || V == 0xF0 || V == 0xF1) {
            Data.append('\xF1').append(char(V)).append(char(N - 1));
        } else {
            N = 1;
            Data.append(char(V));
        }
        I += N;
        Codes.push_back({int(Data.size()), I});
    }
    STAD(G, "FULL.PAC", Head + Data);
    ASSERT_EQ(ScreenOf(G), Screen);

    // Cut just after a run marker, after a value-run marker, and after a marker and
    // its value: what the complete codes before it stored stays.
    int Cuts = 0;
    for (size_t K = 200; K < Codes.size() && Cuts < 3; ++K) {
        const auto [At, Stored] = Codes[K - 1];
        const quint8 Marker = quint8(Data[At]);
        if (Marker != 0xF0 && Marker != 0xF1) continue;
        for (int Extra = 1; Extra <= (Marker == 0xF1 ? 2 : 1); ++Extra) {
            TAtariSTGraphic C;
            EXPECT_EQ(STAD(C, "CUT.PAC", Head + Data.left(At + Extra)), 7 + At + Extra);
            EXPECT_EQ(ScreenOf(C).left(Stored), ScreenOf(G).left(Stored));
            EXPECT_EQ(ScreenOf(C).mid(Stored), QByteArray(32000 - Stored, 0));
        }
        ++Cuts;
    }
    EXPECT_EQ(Cuts, 3);
}
