// Font, text and listing files cut one byte short of a boundary (the dialect detection
// has such rows of its own). A cut file is a view of the first bytes of the whole one,
// and the documents held the whole file before, so a byte read from beyond the cut is
// really there and shows.
#include "test_text_common.h"
#include "uTAtariFont.h"
#include "uTAtariListing.h"
#include "uTAtariText.h"

#include <functional>
#include <memory>

namespace {

QByteArray View(const QByteArray& Full, int Length) {
    return QByteArray::fromRawData(Full.constData(), Length);
}
using texttest::Bytes, texttest::StyleLog;

// The font in internal order, then its ATASCII-ordered copy put back in internal order.
QByteArray FontOf(const TAtariFont& F) {
    QByteArray Out(reinterpret_cast<const char*>(F.FontInternal.data()), 1024);
    for (int I = 0; I < 1024; ++I) Out += char(F.FontATASCII[TAtariFont::InternalToATASCIIIndex(I)]);
    return Out;
}

QByteArray StartexterRich(const QByteArray& Full, int Length) {
    auto T = std::make_unique<TAtariText>();
    T->LoadFromData(Full);
    T->LoadFromData(View(Full, Length));
    StyleLog Log;
    T->ToRichEdit(Log, 2);
    return Log.Result().toLatin1();
}
QByteArray SchreiberText(const QByteArray& Full, int Length) {
    auto T = std::make_unique<TAtariText>();
    T->LoadFromData(Full);
    T->LoadFromData(View(Full, Length));
    return T->ToPCText(1);
}
std::unique_ptr<TAtariListing> Listing(const QByteArray& Full, int Length) {
    auto L = std::make_unique<TAtariListing>();
    L->SetListingType("CUT.LST");
    L->LoadFromData(Full, Full.size());
    L->LoadFromData(View(Full, Length), Length);
    return L;
}

} // namespace

TEST(CutFiles, OneByteShortReadsNothingBeyondTheCut) {
    QByteArray Font;
    for (int I = 0; I < 1024; ++I) Font += char(I * 7 + 3);
    const QByteArray Std = FontOf(TAtariFont());
    // Bytes a short font file does not reach keep the set that was there.
    auto FontCut = [&](int L) {
        return Font.left(L) + Std.mid(L, 1024 - L) + Font.left(L) + Std.mid(1024 + L);
    };
    const std::function<QByteArray(const QByteArray&, int)> FontFile = [](const QByteArray& Full, int L) {
        TAtariFont F;
        F.LoadFromData(View(Full, L));
        return FontOf(F);
    };
    const std::function<QByteArray(const QByteArray&, int)> ListingText = [](const QByteArray& Full, int L) {
        return Listing(Full, L)->ToText(1);
    };
    const std::function<QByteArray(const QByteArray&, int)> ListingRich = [](const QByteArray& Full, int L) {
        StyleLog Log;
        Listing(Full, L)->ToRichEdit(Log, 0);
        return Log.Result().toLatin1();
    };
    const struct {
        const char* Reader;
        std::function<QByteArray(const QByteArray&, int)> Read;
        QByteArray Full, WantFull;
        int Cut;
        QByteArray WantCut;
    } Cases[] = {
        {"font, last byte", FontFile, Font, Font + Font, 1023, FontCut(1023)},
        {"font, empty", FontFile, Font, Font + Font, 0, Std},
        // A style switch in the last byte has no code and changes nothing.
        {"Startexter rich text", StartexterRich, Bytes({'A', 'B', 197, '5', 'C', 'D', 193, '5', 'E'}),
         "[AB|][CD|B][E|]#", 3, "[AB|]#"},
        // Code 20 takes the next byte along; 11 is a.
        {"ATARI-Schreiber text", SchreiberText, Bytes({'F', 155, 'A', 20, 'Q', 11}), "A\xE4", 5, "A"},
        // A line without its end of line.
        {"listing text", ListingText, Bytes({'A', 193, 155}), "A{INV A}\r", 2, "A{INV A}"},
        {"listing rich text", ListingRich, Bytes({'A', 193, 155}), "[A|][A|U]/#", 2, "[A|][A|U]#"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Reader);
        EXPECT_EQ(C.Read(C.Full, int(C.Full.size())), C.WantFull);
        EXPECT_EQ(C.Read(C.Full, C.Cut), C.WantCut);
    }
}
