// Character set model: code orders, built-in sets, character table, .FNT files, edits.
// (The sets differ where the character table window shows them apart.)
#include "test_text_common.h"
#include "uTAtariFont.h"

#include <QDir>
#include <climits>
#include <csignal>
#include <sys/resource.h>

namespace {
TCharBytes Hex8(const char* Hex) {
    const QByteArray D = QByteArray::fromHex(Hex);
    TCharBytes B{};
    std::copy(D.begin(), D.begin() + 8, B.begin());
    return B;
}
TCharBytes Glyph(const std::array<quint8, 1024>& Set, int Code) {
    TCharBytes B{};
    std::copy(Set.begin() + 8 * Code, Set.begin() + 8 * Code + 8, B.begin());
    return B;
}
} // namespace

// Every code and every byte position of a set, by the classes of the two code orders.
TEST(AtariFontCodes, ConversionsAndIndexMap) {
    for (int C = 0; C < 256; ++C) {
        const quint8 Internal = quint8((C & 128) | texttest::ToInternal(C & 127));
        EXPECT_EQ(TAtariFont::ATASCIIToInternal(quint8(C)), Internal) << C;
        EXPECT_EQ(TAtariFont::InternalToATASCII(Internal), C) << C;
    }
    for (int A = 0; A < 128; ++A)
        for (int Row = 0; Row < 8; ++Row)
            EXPECT_EQ(TAtariFont::InternalToATASCIIIndex(8 * texttest::ToInternal(A) + Row), 8 * A + Row);
    for (int Outside : {-1, 1024, INT_MIN}) EXPECT_EQ(TAtariFont::InternalToATASCIIIndex(Outside), -1);
}

TEST(AtariFontSets, BuiltinGlyphsAndReloads) {
    TAtariFont F;
    const std::array<quint8, 1024>&Std = F.FontInternal, &Intl = F.FontInternational;
    // Standard set by internal code; international set (á, ü, Ä) by ATASCII code.
    const std::tuple<const std::array<quint8, 1024>*, int, const char*> Rows[] = {
        {&Std, 1, "0018181818001800"},   {&Std, 33, "00183C66667E6600"}, {&Std, 64, "00367F7F3E1C0800"},
        {&Std, 123, "00183C7E7E183C00"}, {&Intl, 0, "0C183C063E663E00"}, {&Intl, 123, "6666183C667E6600"}};
    for (auto [Set, Code, Hex] : Rows) EXPECT_EQ(Glyph(*Set, Code), Hex8(Hex)) << Code;

    F.LoadBuiltinFont(2);
    EXPECT_EQ(F.FontATASCII, F.FontInternational);
    F.PutCharBytes(5, Hex8("0102030405060708"), 0, 0);
    F.LoadBuiltinFont(1);
    EXPECT_EQ(F.FontInternal, TAtariFont().FontInternal);
    const auto Before = F.FontInternal;
    F.FontInternational.fill(0);
    F.LoadBuiltinFont(0);
    EXPECT_EQ(F.FontInternal, Before);
    EXPECT_EQ(F.FontInternational, TAtariFont().FontInternational);
}

// Every entry of the character table; its key combinations are pinned through the
// listing conversion.
TEST(AtariFontTable, EveryEntry) {
    const int KeyCodes[128] = {
        160, 191, 149, 146, 186, 170, 184, 189, 185, 141, 129, 133, 128, 165, 163, 136, // 0
        138, 175, 168, 190, 173, 139, 144, 174, 150, 171, 151, 28,  142, 143, 134, 135, // 16
        33,  95,  94,  90,  88,  93,  91,  115, 112, 114, 7,   6,   32,  14,  34,  38,  // 32
        50,  31,  30,  26,  24,  29,  27,  51,  53,  48,  66,  2,   54,  15,  55,  102, // 48
        117, 127, 85,  82,  122, 106, 120, 125, 121, 77,  65,  69,  64,  101, 99,  72,  // 64
        74,  111, 104, 126, 109, 75,  80,  110, 86,  107, 87,  96,  70,  98,  71,  78,  // 80
        162, 63,  21,  18,  58,  42,  56,  61,  57,  13,  1,   5,   0,   37,  35,  8,   // 96
        10,  47,  40,  62,  45,  11,  16,  46,  22,  43,  23,  130, 79,  118, 52,  44}; // 112
    const char* const Controls[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                      "BS",  "HAT", "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                      "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                      "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
    TAtariFont F;
    for (int C = 0; C < 256; ++C) {
        const int Low = C & 127; // 128-255 copy the entry of code - 128, but for the name
        const QByteArray Name = C < 32     ? QByteArray(Controls[C])
                                : C == 32  ? QByteArray("<SPACE>")
                                : C == 127 ? QByteArray("DEL")
                                           : QByteArray(1, char(C));
        const FontTable& E = F.CharTable[C];
        EXPECT_EQ(std::make_tuple(int(E.ATASCIICode), int(E.InternalCode), int(E.KeyCode), E.Mnemonic),
                  std::make_tuple(Low, texttest::ToInternal(Low), KeyCodes[Low], Name))
            << C;
    }
}

// (Sets load and save byte for byte through the font window.) A byte past the set is
// left out; a missing file raises; a failed save leaves the file that was there.
TEST(AtariFontFile, LongMissingAndFailedFiles) {
    QTemporaryDir Dir;
    TAtariFont F;
    WriteWholeFile(Dir.filePath("long.fnt"), QByteArray(1024, char(0x11)) + char(0x22));
    F.LoadFromFile(Dir.filePath("long.fnt"));
    EXPECT_TRUE(std::all_of(F.FontATASCII.begin(), F.FontATASCII.end(), [](quint8 V) { return V == 0x11; }));
    EXPECT_THROW(F.LoadFromFile(Dir.filePath("missing.fnt")), EInOutError);
    const QString P = Dir.filePath("keep.fnt");
    WriteWholeFile(P, QByteArray(1024, char(0x77)));
    EXPECT_THROW(F.SaveToFile(Dir.filePath("nodir/x.fnt"), 0), EInOutError);
    // A file size limit makes the write itself fail, as a full disk does.
    rlimit Old{};
    getrlimit(RLIMIT_FSIZE, &Old);
    auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit Small = Old;
    Small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &Small);
    EXPECT_THROW(F.SaveToFile(P, 0), EInOutError);
    setrlimit(RLIMIT_FSIZE, &Old);
    std::signal(SIGXFSZ, OldHandler);
    EXPECT_EQ(ReadWholeFile(P), QByteArray(1024, char(0x77)));
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList({"keep.fnt", "long.fnt"})); // no leftovers
}

TEST(AtariFontEdit, PutModesBothOrdersAndToggle) {
    TAtariFont F;
    const auto Std = F.FontInternal;
    const TCharBytes P = Hex8("F00FFF00AA550180");
    F.PutCharBytes(33, P, 1, 0); // ATASCII "!" is internal 1
    TCharBytes Got{};
    F.GetCharBytes(1, Got, 0);
    EXPECT_EQ(Got, P);
    const TCharBytes Q = Hex8("0F0F0F0F0000FFFF");
    auto Check = [&](int Mode, auto Op) {
        F.PutCharBytes(1, P, 0, 0);
        F.PutCharBytes(1, Q, 0, Mode);
        F.GetCharBytes(33, Got, 1);
        for (int K = 0; K < 8; ++K) EXPECT_EQ(Got[K], quint8(Op(P[K], Q[K]))) << Mode << " " << K;
    };
    Check(1, [](int A, int B) { return A | B; });
    Check(2, [](int A, int B) { return A & B; });
    Check(3, [](int A, int B) { return A ^ B; });
    Check(4, [](int A, int) { return A; });
    Check(0, [](int, int B) { return B; });
    TCharBytes Ones;
    Ones.fill(0xFF);
    const auto Edited = F.FontInternal;
    F.PutCharBytes(128, Ones, 0, 0); // out of range: nothing changes
    F.PutCharBytes(5, Ones, 2, 0);
    EXPECT_EQ(F.FontInternal, Edited);
    F.GetOriginalCharBytes(65, Got, 1);
    EXPECT_EQ(Got, Glyph(Std, 33));

    // (Pixels toggle in both orders under the editor's clicks.)
    const auto Ref = F.FontATASCII;
    F.TogglePixel(0, 8, 0, 0); // out of range
    EXPECT_EQ(F.FontATASCII, Ref);
}

TEST(AtariFontEdit, RotateAndBitHelpers) {
    // The editor test pins single turns; four turns either way are none, and 2 is no direction.
    const TCharBytes A = Hex8("00183C66667E6601");
    TCharBytes B;
    for (int Dir = 0; Dir < 2; ++Dir) {
        B = A;
        for (int K = 0; K < 4; ++K) TAtariFont::RotateChar(B, Dir);
        EXPECT_EQ(B, A);
    }
    TAtariFont::RotateChar(B, 2);
    EXPECT_EQ(B, A);

    quint8 V = 0;
    uTAtariFont::SetBit(V, 7);
    uTAtariFont::ToggleBit(V, 0);
    EXPECT_TRUE(uTAtariFont::IsBitSet(V, 0) && uTAtariFont::GetBit(V, 7) && V == 0x81);
    uTAtariFont::ClearBit(V, 7);
    uTAtariFont::SetBit(V, 8); // out of range: no change
    EXPECT_EQ(V, 0x01);
    EXPECT_FALSE(uTAtariFont::IsBitSet(0xFF, 8) || uTAtariFont::GetBit(0xFF, -1));
}
