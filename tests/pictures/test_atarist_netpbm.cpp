// Cross-checks of the ST decoders against netpbm's independent ST converters:
// the test writes a picture, netpbm encodes it and decodes it again, and our
// drawing of the encoded file must equal netpbm's decode (levels 0..7 times 32).
#include "test_atarist_helpers.h"

#include <QProcess>

using namespace sttest;

namespace {

// A P6 (maxval 7, levels scaled by 32) or P4 (1 = black) picture as an RGB32 image.
QImage PnmToImage(const QByteArray& D) {
    const QList<QByteArray> Head = D.left(20).simplified().split(' ');
    const bool Bits = Head.value(0) == "P4";
    const int W = Head.value(1).toInt(), H = Head.value(2).toInt();
    EXPECT_TRUE(Bits || (Head.value(0) == "P6" && Head.value(3) == "7"));
    int At = 0; // the data follows the header's last token and one whitespace byte
    for (int Tokens = Bits ? 3 : 4; Tokens > 0; --Tokens) {
        while (At < D.size() && QChar(D[At]).isSpace()) ++At;
        while (At < D.size() && !QChar(D[At]).isSpace()) ++At;
    }
    const QByteArray Px = D.mid(At + 1);
    QImage Img(W, H, QImage::Format_RGB32);
    if (Px.size() < (Bits ? (W + 7) / 8 * H : W * H * 3)) return {};
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const auto L = [&](int I) { return quint8(Px[(Y * W + X) * 3 + I]) * 32; };
            Img.setPixel(X, Y,
                         Bits ? ((quint8(Px[Y * ((W + 7) / 8) + X / 8]) >> (7 - X % 8)) & 1
                                     ? qRgb(0, 0, 0)
                                     : qRgb(255, 255, 255))
                              : qRgb(L(0), L(1), L(2)));
        }
    return Img;
}

// Runs a netpbm program with a file on standard input; returns its standard output.
// The output goes to a file: some of the encoders seek over reserved header bytes.
QByteArray RunTool(const QString& Program, const QString& InPath) {
    QProcess P;
    P.setStandardInputFile(InPath);
    P.setStandardOutputFile(InPath + ".out");
    P.start(Program, {});
    if (!P.waitForStarted(10000)) {
        ADD_FAILURE() << Program.toStdString() << " could not be started (package netpbm missing?)";
        return {};
    }
    P.waitForFinished(60000);
    EXPECT_EQ(P.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(P.exitCode(), 0) << Program.toStdString() << ": " << P.readAllStandardError().toStdString();
    return ReadWholeFile(InPath + ".out");
}

// A 320 x 200 P6 picture in up to 16 random ST colours (levels 0..7), in runs.
QByteArray RandomStPpm(std::mt19937& Rng) {
    quint8 Pal[16][3];
    for (auto& C : Pal)
        for (auto& L : C) L = quint8(Rng() % 8);
    QByteArray F("P6\n320 200\n7\n");
    for (int I = 0; I < 320 * 200;) {
        const auto& C = Pal[Rng() % 16];
        for (int Len = 1 + int(Rng() % 40); Len > 0 && I < 320 * 200; --Len, ++I)
            F.append(char(C[0])).append(char(C[1])).append(char(C[2]));
    }
    return F;
}

using AtariSTNetpbm = STFileTest;

} // namespace

// Each reader on a file netpbm encoded, against netpbm's decoding of it: 16 colours in
// Degas and NEOchrome, monochrome in Degas and in Doodle (a Degas file without header).
TEST_F(AtariSTNetpbm, ReadersAgreeWithNetpbm) {
    QByteArray Bits = RandomBytes(80 * 400, Rng);
    for (int I = 0; I < 8000; ++I) Bits[I] = char(I < 4000 ? 0 : 0xFF); // some white and black areas too
    const QByteArray Mono = QByteArray("P4\n640 400\n") + Bits;
    // Our picture of Path read as Degas in resolution 0 or 2, as NEOchrome (3) or as Doodle (4).
    const auto Ours = [](int Kind, const QString& Path) {
        TAtariSTGraphic G;
        const bool Degas = Kind < 3;
        if (Degas) G.LoadDegas(Path);
        if (Kind == 3) G.LoadNeochrome(Path);
        if (Kind == 4) G.LoadDoodle(Path);
        QImage Img = Drawn(G, Degas ? Kind : Kind == 3 ? 0 : 2);
        if (Kind == 3) G.DrawNeochrome(Img);
        if (Kind == 4) G.DrawDoodle(Img);
        return Img;
    };
    const struct {
        const char *Name, *Encoder, *Decoder;
        QByteArray Source;
        int Kind, Skip; // our reader, and the header bytes it does not get
    } Rows[] = {{"PIC.PI1", "ppmtopi1", "pi1toppm", RandomStPpm(Rng), 0, 0},
                {"PIC.NEO", "ppmtoneo", "neotoppm", RandomStPpm(Rng), 3, 0},
                {"PIC.PI3", "pbmtopi3", "pi3topbm", Mono, 2, 0},
                {"PIC.DOO", "pbmtopi3", "pi3topbm", Mono, 4, 34}};
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Name);
        const QByteArray File = RunTool(R.Encoder, Write("SOURCE", R.Source));
        ASSERT_EQ(File.size(), QByteArray(R.Name).endsWith("NEO") ? 32128 : 32034);
        const QImage Theirs = PnmToImage(RunTool(R.Decoder, Write("ENCODED", File)));
        ASSERT_FALSE(Theirs.isNull());
        EXPECT_EQ(Ours(R.Kind, Write(R.Name, File.mid(R.Skip))), Theirs);
        EXPECT_EQ(Theirs, PnmToImage(R.Source)); // and the round trip is exact
    }
}
