// PC text to ATASCII: every character class, byte for byte, and the size limit.
#include "test_text_common.h"
#include "uConvertA8.h"

#include <vector>

namespace {
using texttest::Bytes;

// Converts Text into a buffer of Room bytes guarded by 16 more that must stay untouched.
QByteArray Convert(const QByteArray& Text, int Room = 1000) {
    TConvertA8 C;
    C.Text = Text;
    C.TextLength = int(Text.size());
    std::vector<quint8> Dest(size_t(Room) + 16, 0xEE);
    const int N = C.ToATASCII(Dest.data(), Room);
    EXPECT_TRUE(N >= 0 && N <= Room);
    EXPECT_EQ(std::count(Dest.begin() + Room, Dest.end(), 0xEE), 16) << "written past the end";
    return QByteArray(reinterpret_cast<const char*>(Dest.data()), N);
}
} // namespace

TEST(ConvertA8, EveryCodeMapsByItsClass) {
    const texttest::TCodeRow Rows[] = {{13, 13, "\x9b"}, {32, 122, "b"},   {124, 127, "b"},  {196, 196, "Ae"},
                                       {214, 214, "Oe"}, {220, 220, "Ue"}, {223, 223, "ss"}, {228, 228, "ae"},
                                       {246, 246, "oe"}, {252, 252, "ue"}}; // all others give nothing
    for (int C = 0; C < 256; ++C)
        EXPECT_EQ(Convert(QByteArray(1, char(C))), texttest::RowOutput(Rows, C).toLatin1()) << "code " << C;
}

TEST(ConvertA8, LengthsAndDestinationLimits) {
    TConvertA8 C;
    C.Text = "ABCDEF";
    quint8 Dest[16] = {0xAA};
    for (auto [Length, Expected] : {std::pair{3, 3}, {-5, 0}, {1000, 6}}) {
        C.TextLength = Length; // never read past the text
        EXPECT_EQ(C.ToATASCII(Dest, 16), Expected) << Length;
    }
    EXPECT_EQ(C.ToATASCII(nullptr, 16), 0);
    EXPECT_EQ(C.ToATASCII(Dest, 0), 0);
    EXPECT_EQ(Convert("ABCDEF", 4), "ABCD");
    // An umlaut cut in half is left out, and nothing follows it; dropped characters take no room.
    EXPECT_EQ(Convert(Bytes({'A', 'B', 'C', 0xFC, 'X'}), 4), "ABC");
    EXPECT_EQ(Convert("\t\tAB\n", 2), "AB");
    // A full editor buffer of 250000 bytes, the rest cut.
    EXPECT_EQ(Convert(QByteArray(300000, 'Q'), 250000), QByteArray(250000, 'Q'));
}
