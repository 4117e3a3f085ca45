// Every picture reader on files cut one byte short of each boundary of its format
// (header, palette or registers, data, runs): the read error where the format still
// needs the byte, else what was decoded before the cut. A cut file is a view of the
// first bytes of the whole one, so the byte after the cut is really there: a reader
// that takes it shows it in its picture or count.
#include "test_atarigraphic_common.h"
#include "test_atarist_helpers.h"

#include <functional>
#include <memory>

using namespace sttest;

namespace {

// What a reader made of a file: whether it raised the read error, its picture
// (registers or palette in front) and its count (size, bytes used or pictures).
struct TDecoded {
    bool Raised = false;
    QByteArray Picture;
    int Used = -1;
};
using TDecoder = std::function<TDecoded(const QByteArray&)>;

// A cut and what must come of it. The picture's first Kept bytes are those of the
// uncut decode; from there on every byte is Fill (0 for a cleared picture, Stale
// for one the failed read left alone). Kept -1: the picture is not looked at;
// Used -1: the count is not looked at.
constexpr quint8 Stale = 0x5A;
struct TCut {
    int Length;
    bool Raises;
    int Kept = -1;
    int Used = -1;
    quint8 Fill = 0;
};

struct TReaderCase {
    std::string Reader;
    QByteArray Full;
    TDecoder Decode;
    std::vector<TCut> Cuts;
};

bool RaisesReadError(const std::function<void()>& Read) {
    try {
        Read();
    } catch (const EInOutError& E) {
        EXPECT_EQ(E.ErrorCode, ioReadPastEnd);
        return true;
    }
    return false;
}

// The first byte from From on that is not Fill, -1 when there is none.
int FirstOther(const QByteArray& B, int From, quint8 Fill) {
    for (int I = From; I < B.size(); ++I)
        if (quint8(B[I]) != Fill) return I;
    return -1;
}

template <class A> QByteArray Span(const A& Array, int From, int Count) {
    return QByteArray(reinterpret_cast<const char*>(Array.data()) + From, Count);
}

// Readers of fresh pictures whose buffers hold stale bytes, so a loader that does not
// clear them shows: Parse reads the file and sets the count, Shown gives the picture.
template <class TPicture, class TParse, class TShown> TDecoder Reader(TParse Parse, TShown Shown) {
    return [=](const QByteArray& F) {
        auto G = std::make_unique<TPicture>();
        if constexpr (std::is_same_v<TPicture, TAtariGraphic>) {
            G->PicBuffer.fill(Stale);
        } else {
            G->Screen.fill(Stale);
            G->Palette.fill(Stale << 8 | Stale);
        }
        TDecoded D;
        D.Raised = RaisesReadError([&] { Parse(*G, F, D.Used); });
        D.Picture = Shown(*G);
        return D;
    };
}
QByteArray Buffer(const TAtariGraphic& G) {
    return Span(G.PicBuffer, 0, TAtariGraphic::PicBufferSize);
}
QByteArray NoPicture(const TAtariGraphic&) {
    return {};
}
QByteArray PaletteAndScreen(const TAtariSTGraphic& G) {
    QByteArray P;
    for (quint16 W : G.Palette) P.append(char(W >> 8)).append(char(W & 0xFF));
    return P + ScreenOf(G);
}

// A screen of short runs, as real pictures have, so packing makes runs of both kinds.
QByteArray RunsScreen() {
    std::mt19937 Gen(99);
    QByteArray B(32000, '\0');
    for (int I = 0; I < 32000;) {
        const char V = Gen() % 3 == 0 ? 0 : char(Gen() & 0xFF);
        for (int N = int(Gen() % 9) + 1; N > 0 && I < 32000; --N) B[I++] = V;
    }
    return B;
}

std::array<quint16, 16> SomePalette() {
    std::array<quint16, 16> P{};
    for (int I = 0; I < 16; ++I) P[I] = quint16(0x700 - I * 0x101 + I);
    return P;
}

} // namespace

class CutFiles : public AtariGraphicTest {
protected:
    static std::vector<TReaderCase> EightBitCases();
    static std::vector<TReaderCase> STCases();
};

std::vector<TReaderCase> CutFiles::EightBitCases() {
    std::vector<TReaderCase> Cases;
    // Raw pages have no structure: a short file is a short picture, the rest cleared.
    auto RawCut = [](int N) { return TCut{N, false, N, N}; };
    const TDecoder Raw = Reader<TAtariGraphic>([](auto& G, auto& F, int& N) { G.ParseRawPic(F, N); }, Buffer);
    Cases.push_back({"GR.8/GR.9 page", Random(7680, 11), Raw, {RawCut(7679)}});
    Cases.push_back({"GR.15 Micropainter", Random(7684, 12), Raw, {RawCut(7679), RawCut(7683)}});
    Cases.push_back({"APAC", Random(7720, 13), Raw, {RawCut(7719)}});

    // Koala: a cut header raises with a cleared picture; a cut run raises and keeps
    // what was stored before it (the registers first). Size is 7684 either way.
    // Runs: 3 literal, 5 x AA, 256 x FF (16-bit count), 4 literal.
    const QByteArray Runs = QByteArray::fromHex("83112233"
                                                "05AA"
                                                "000100FF"
                                                "8444556677");
    const TDecoder Koala = Reader<TAtariGraphic>(
        [](auto& G, auto& F, int& N) { G.ParseKoala(F, N); },
        [](const TAtariGraphic& G) { return Span(G.PicBuffer, 7680, 4) + Span(G.PicBuffer, 0, 7680); });
    Cases.push_back({"Koala, runs",
                     KoalaHeader(2) + Runs,
                     Koala,
                     {{26, true, 0, 7684},
                      {27 + 3, true, 4 + 2, 7684}, // literal without its last byte
                      {27 + 5, true, 4 + 3, 7684}, // repeat without its value
                      {27 + 8, true, 4 + 8, 7684}, // 16-bit count without its low byte
                      {27 + 9, true, 4 + 8, 7684}, // repeat without its value
                      {27 + 14, true, 4 + 267, 7684}}});
    Cases.push_back({"Koala, uncompressed",
                     KoalaHeader(0) + Random(7680, 14),
                     Koala,
                     {{26, true, 0, 7684}, {27 + 7679, false, 4 + 7679, 7684}}});

    // Technicolor pairs (the .LUM half is a bare header): a cut header stores
    // nothing; a value without its count is dropped. Hue rows 0, 2, ...: 3 + 40
    // stored bytes reach buffer byte 83.
    const QByteArray Lum(6, 'l');
    Cases.push_back({"Technicolor",
                     QByteArray(6, 'h') + QByteArray::fromHex("1103"
                                                              "2228"
                                                              "3300"
                                                              "4405"),
                     Reader<TAtariGraphic>(
                         [Lum](auto& G, auto& Hue, int& N) { G.ParseTechnicolor(Hue, Lum, N); }, Buffer),
                     {{5, false, 0, 0}, {7, false, 0, 0}, {9, false, 3, 3}, {13, false, 83, 43}}});

    // Photo: line 1 without its end of line, the 2 bytes, the data, lines 2 and 3.
    Cases.push_back({"Photo",
                     Eol("402|") + QByteArray(2, 0) + Random(400, 15) + Eol("39|9|"),
                     Reader<TAtariGraphic>(
                         [](auto& G, auto& F, int& N) {
                             int LastX = 0, Height = 0;
                             G.ParsePhoto(F, N, LastX, Height, 0);
                         },
                         NoPicture),
                     {{3, true}, {5, true}, {405, true}, {408, true}, {410, true}}});

    // Album: line 1, then each entry's 17 header bytes and its data.
    Cases.push_back({"Album",
                     AlbumFile(AlbumEntry("ONE", 2, 3, 0x0F) + AlbumEntry("TWO", 1, 2, char(0xF0))),
                     Reader<TAtariGraphic>(
                         [](auto& G, auto& F, int& N) {
                             int Total = 0, W = 0, H = 0;
                             G.ParseAlbum(F, Total, N, W, H);
                         },
                         NoPicture),
                     {{2, true}, {3 + 16, true}, {3 + 22, true}, {3 + 39, true}, {3 + 41, true}}});
    return Cases;
}

// ---------------------------------------------------------------- ST readers

std::vector<TReaderCase> CutFiles::STCases() {
    std::vector<TReaderCase> Cases;
    std::mt19937 Rng(4711);
    const auto Pal = SomePalette();
    // Uncompressed screens: any cut raises and leaves the picture as it was.
    auto Unchanged = [](int N) { return TCut{N, true, 0, -1, Stale}; };
    auto RawST = [](int (TAtariSTGraphic::*Parse)(const QByteArray&, const QString&)) {
        return Reader<TAtariSTGraphic>([Parse](auto& G, auto& F, int& N) { N = (G.*Parse)(F, QString()); },
                                       PaletteAndScreen);
    };
    // Degas .PI1 to .PI3 share the reader: resolution word, palette, screen.
    Cases.push_back({"Degas PI1-PI3",
                     DegasHeader(0, Pal) + RandomBytes(32000, Rng),
                     RawST(&TAtariSTGraphic::ParseDegas),
                     {Unchanged(0), Unchanged(1), Unchanged(33), Unchanged(34 + 31999)}});
    QByteArray Neo(128, '\x33');
    for (int I = 0; I < 16; ++I) Neo[4 + 2 * I] = char(Pal[I] >> 8), Neo[5 + 2 * I] = char(Pal[I]);
    Cases.push_back({"NEOchrome",
                     Neo + RandomBytes(32000, Rng),
                     RawST(&TAtariSTGraphic::ParseNeochrome),
                     {Unchanged(3), Unchanged(35), Unchanged(127), Unchanged(128 + 31999)}});
    Cases.push_back(
        {"Doodle", RandomBytes(32000, Rng), RawST(&TAtariSTGraphic::ParseDoodle), {Unchanged(31999)}});

    // Packed Degas. The last two screen bytes of row 56 and of the last row differ,
    // so each of those rows ends with a literal run whose last byte lands on the
    // row's last screen byte: cut one short, exactly that byte stays blank.
    const struct {
        const char* Name;
        int Planes, Res;
    } Packed[] = {{"Degas PC1", 4, 0}, {"Degas PC2", 2, 1}, {"Degas PC3", 1, 2}};
    for (const auto& K : Packed) {
        const int RowBytes = K.Planes == 1 ? 80 : 160, R = 57;
        QByteArray Screen = RunsScreen();
        for (int End : {R * RowBytes, 32000}) Screen[End - 2] = '\xA1', Screen[End - 1] = '\xA2';
        const QByteArray Full = MakePC(DegasHeader(K.Res, Pal), Screen, K.Planes);
        const int Between = int(MakePC(DegasHeader(K.Res, Pal), Screen, K.Planes, false, R).size());
        const int Last = int(Full.size()) - 1;
        // Colour pictures keep what was decoded; a monochrome one cut inside a run is refused.
        auto Kept = [&](int Length, int Bytes) {
            return K.Res == 2 ? Unchanged(Length) : TCut{Length, false, 32 + Bytes, Length};
        };
        Cases.push_back({K.Name,
                         Full,
                         Reader<TAtariSTGraphic>(
                             [Res = K.Res](auto& G, auto& F, int& N) { N = G.ParseDegasPacked(F, Res); },
                             PaletteAndScreen),
                         {Unchanged(33),
                          Kept(Between - 1, R * RowBytes - 1),          // row 56's last literal one short
                          {Between, false, 32 + R * RowBytes, Between}, // whole rows
                          Kept(Between + 1, R * RowBytes),              // row 57's first control byte alone
                          Kept(Last, 32000 - 1)}});
    }

    // STAD, packed row by row, fill byte 55: a plain byte, four FF (value run), a
    // plain byte, three 55 (fill run), a plain byte. A cut header raises; cut data end
    // the decoding after the last whole code.
    const QByteArray Head("pM85\xF0\x55\xF1", 7), Data = QByteArray::fromHex("01F1FF0302F00204");
    const auto Stad = [](int Length, int Stored) { return TCut{7 + Length, false, Stored, 7 + Length}; };
    const std::vector<TCut> Cuts{Unchanged(6), Stad(2, 1), Stad(3, 1), Stad(6, 6), Stad(7, 9)};
    Cases.push_back({"STAD", Head + Data,
                     Reader<TAtariSTGraphic>(
                         [](auto& G, auto& F, int& N) {
                             // The data reader refuses a file without a header by itself too.
                             const bool Head = RaisesReadError([&] { G.ParseSTADHeader(F); });
                             EXPECT_EQ(RaisesReadError([&] { N = G.ParseSTAD(F); }), Head);
                             if (Head) RaiseInOutError(ioReadPastEnd, QString());
                         },
                         ScreenOf),
                     Cuts});
    return Cases;
}

TEST_F(CutFiles, OneByteShortGivesTheReadErrorOrWhatWasDecodedBeforeTheCut) {
    std::vector<TReaderCase> Cases = EightBitCases();
    for (TReaderCase& C : STCases()) Cases.push_back(std::move(C));
    for (const TReaderCase& C : Cases) {
        SCOPED_TRACE(C.Reader);
        const TDecoded Whole = C.Decode(C.Full);
        ASSERT_FALSE(Whole.Raised);
        for (const TCut& Cut : C.Cuts) {
            SCOPED_TRACE(testing::Message()
                         << "cut to " << Cut.Length << " of " << C.Full.size() << " bytes");
            ASSERT_LT(Cut.Length, C.Full.size());
            const TDecoded Got = C.Decode(QByteArray::fromRawData(C.Full.constData(), Cut.Length));
            EXPECT_EQ(Got.Raised, Cut.Raises);
            if (Cut.Used >= 0) {
                EXPECT_EQ(Got.Used, Cut.Used);
            }
            if (Cut.Kept < 0) continue;
            ASSERT_EQ(Got.Picture.size(), Whole.Picture.size());
            EXPECT_EQ(Got.Picture.left(Cut.Kept), Whole.Picture.left(Cut.Kept));
            EXPECT_EQ(FirstOther(Got.Picture, Cut.Kept, Cut.Fill), -1) << "should hold " << int(Cut.Fill);
        }
    }
}
