// The listing document: typing by extension, loading, and both conversions.
#include "test_text_common.h"
#include "uTAtariListing.h"

#include <algorithm>
#include <memory>

namespace {

using texttest::Bytes;

std::unique_ptr<TAtariListing> Make(const QString& Name, const QByteArray& Bytes) {
    auto L = std::make_unique<TAtariListing>();
    L->SetListingType(Name);
    std::copy(Bytes.begin(), Bytes.end(), L->Buffer.begin());
    L->Length = int(Bytes.size());
    return L;
}

// The rich text of Bytes in a listing named Name, starting in the style Start; it ends
// in the plain style.
QString Rich(const QString& Name, const QByteArray& Bytes, int InvStyle, TRichStyle Start = {}) {
    texttest::StyleLog R;
    R.S = Start;
    Make(Name, Bytes)->ToRichEdit(R, InvStyle);
    EXPECT_EQ(R.S, TRichStyle{});
    return R.Log;
}

const TRichStyle Plain{}, Bold{true, false, false};

bool In(int B, std::initializer_list<std::pair<int, int>> Ranges) {
    return std::any_of(Ranges.begin(), Ranges.end(), [B](auto R) { return B >= R.first && B <= R.second; });
}

// The key combination of each code, typed row by row from the character table.
QByteArray Keys(int C) {
    const auto Ch = [](int X) { return QByteArray(1, char(X)); };
    const char* const Esc28[] = {"ESC CTRL -", "ESC CTRL =", "ESC CTRL +", "ESC CTRL *"};
    const char* const Shift91[] = {"SHIFT ;", "SHIFT ,", "SHIFT +", "SHIFT *", "SHIFT -"};
    const char* const Esc156[] = {"ESC SHIFT BACK SPACE", "ESC SHIFT >", "ESC CTRL TAB", "ESC SHIFT TAB"};
    if (C == 0) return "CTRL ,";
    if (C <= 26) return "CTRL " + Ch(C + 64);
    if (C == 27) return "ESC ESC";
    if (C <= 31) return Esc28[C - 28];
    if (C == 32) return "SPACE";
    if (C <= 41) return "SHIFT " + Ch("123456790"[C - 33]);
    if (C <= 64) return Ch(C);
    if (C <= 90) return Ch(C) + " / SHIFT " + Ch(C);
    if (C <= 95) return Shift91[C - 91];
    if (C == 96) return "CTRL .";
    if (C <= 122) return Ch(C - 32) + " / CAPS " + Ch(C - 32);
    if (C == 123) return "CTRL ;";
    if (C == 124) return "SHIFT =";
    if (C == 125) return "ESC CTRL < | ESC SHIFT <";
    if (C == 126) return "ESC BACK SPACE";
    if (C == 127) return "ESC TAB";
    if (C == 155) return "INV RETURN";
    if (In(C, {{156, 159}})) return Esc156[C - 156];
    if (In(C, {{193, 218}})) return "INV " + Ch(C - 128);
    if (In(C, {{225, 250}})) return "INV CAPS " + Ch(C - 160);
    if (C == 253) return "ESC CTRL 2";
    if (C == 254) return "INV ESC CTRL BACK SPACE";
    if (C == 255) return "INV ESC CTRL >";
    return "INV " + Keys(C - 128); // 128-154, 160-192, 219-224, 251, 252
}

} // namespace

// Every extension from a new listing and from one typed before; -1 keeps the field as
// it was, a type of -1 keeps every field.
TEST(AtariListing, TypesFollowTheExtensionWithoutRegardToCase) {
    struct TType {
        int Type;
        QString Language, Kind;
        int IsText, Eol, Tab, Width;
        bool operator==(const TType&) const = default;
    };
    const TType New{0, "", "", 0, 0, 0, 0}, Atmas{4, "ATMAS II", "EOL=#13, TAB=#09", 1, 13, 9, 9};
    const QString Basic = "ATARI BASIC", Pascal = "Kyan Pascal";
    const TType Unknown{-1, "", "", 0, 0, 0, 0};
    const std::pair<const char*, TType> Rows[] = {
        {"GAME.BAS", {0, Basic, "TOKENIZED", 0, -1, -1, -1}},
        {"game.tur", {1, "Turbo BASIC", "TOKENIZED", 0, -1, -1, -1}},
        {"demo.lst", {0, Basic + ", TURBO-BASIC, ...", "LISTed", 1, 155, -1, -1}},
        {"X.Act", {2, "Action!", "ATASCII", 1, 155, -1, -1}},
        {"A.P", {3, Pascal, "ATASCII", 1, 155, -1, -1}},
        {"a.pas", {3, Pascal, "ATASCII", 1, 155, -1, -1}},
        {"A.I", {3, Pascal, "ATASCII", 1, 155, -1, -1}},
        {"PROG.SRC", Atmas},
        {"PROG.PASCAL", Unknown},
        {"/tmp/dir.lst/NOEXT", Unknown},
        {"LST", Unknown},
    };
    for (const TType& Before : {New, Atmas})
        for (const auto& [Name, Want] : Rows) {
            TAtariListing L;
            if (Before.Type) L.SetListingType("BEFORE.SRC");
            L.SetListingType(Name);
            TType Expected = Want.Type < 0 ? Before : Want;
            for (auto Field : {&TType::Eol, &TType::Tab, &TType::Width})
                if (Expected.*Field < 0) Expected.*Field = Before.*Field;
            const TType Got{L.ListingType, L.LanguageName, L.KindText, L.IsText,
                            L.EOLCode,     L.TABCode,      L.TabWidth};
            EXPECT_TRUE(Got == Expected) << Name << " after " << Before.Type;
        }
}

TEST_F(FileTest, ListingLoadingCutsLongFilesAndKeepsTheOldBytesOnFailure) {
    QByteArray Long(65537, 0);
    for (int I = 0; I < Long.size(); ++I) Long[I] = char(I * 7 + I / 256);
    auto L = std::make_unique<TAtariListing>();
    // Up to 65536 bytes whole, a longer file cut there.
    for (int Size : {65535, 65536, 65537}) {
        L->LoadFromFile(Write("long.lst", Long.left(Size)));
        const int Length = std::min(Size, 65536);
        EXPECT_EQ(std::make_tuple(L->FileName, L->Length, L->FileLength, L->WasCut()),
                  std::make_tuple(QString("LONG.LST"), Length, qint64(Size), Size > 65536));
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(L->Buffer.data()), Length), Long.left(Length));
    }

    L->LoadFromFile(Write("Short.Src", "LDA"));
    EXPECT_EQ(std::make_tuple(L->Length, L->WasCut(), L->Buffer[0]), std::make_tuple(3, false, quint8('L')));
    EXPECT_EQ(L->Buffer[3], quint8(Long[3])); // the bytes behind stay until Clear

    EXPECT_THROW(L->LoadFromFile(Dir.filePath("missing.lst")), EInOutError);
    EXPECT_EQ(L->FileName, "MISSING.LST");
    EXPECT_EQ(std::make_tuple(L->Length, L->Buffer[0]), std::make_tuple(3, quint8('L')));
    L->Clear();
    EXPECT_EQ(std::make_tuple(L->Length, L->Buffer[0], L->Buffer[65535]),
              std::make_tuple(3, quint8(0), quint8(0)));
}

// Every code alone in plain text; in rich text the code, an inverse "A" and the code
// again, so the style it starts from and the style it leaves show. LISTed BASIC ends
// lines with 155, ATMAS II with 13 and has tabs.
TEST(AtariListing, EveryCodeInBothConversions) {
    for (const char* Name : {"P.LST", "P.SRC"}) {
        const bool Atmas = QByteArray(Name).endsWith("SRC");
        const int Eol = Atmas ? 13 : 155;
        const auto Printable = [](int B) { return In(B, {{32, 95}, {97, 122}, {124, 124}}); };
        for (int B = 0; B < 256; ++B) {
            // Mode 0 writes inverse printable characters in their normal form, other codes in decimal.
            const QByteArray Normal = In(B, {{160, 223}, {225, 250}, {252, 252}})
                                          ? QByteArray(1, char(B - 128))
                                          : "{" + QByteArray::number(B) + "}";
            for (int Mode : {0, 1, 2}) {
                const QByteArray Text = B == Eol            ? "\r"
                                        : Atmas && B == 9   ? QByteArray(9, ' ')
                                        : Atmas && B == 255 ? ""
                                        : Printable(B)      ? QByteArray(1, char(B))
                                        : Mode == 0         ? Normal
                                        : Mode == 1         ? "{" + Keys(B) + "}"
                                                            : "";
                EXPECT_EQ(Make(Name, Bytes({B}))->ToText(quint8(Mode)), Text)
                    << Name << " mode " << Mode << ", code " << B;
            }
            for (int InvStyle : {0, 1, 2, 3}) {
                const TRichStyle Inv{InvStyle == 1, InvStyle == 2, InvStyle == 0};
                texttest::StyleLog R; // the expected runs
                int Col = 0;
                const auto Add = [&](int C) {
                    TRichStyle S = R.S;
                    const TRichStyle PlusInv{S.Bold || Inv.Bold, S.Italic || Inv.Italic,
                                             S.Underline || Inv.Underline};
                    QString T = "{" + QString::fromLatin1(Keys(C)) + "}";
                    if (Printable(C)) {
                        S = Plain, T = QChar(C), ++Col;
                    } else if (In(C, {{160, 223}})) {
                        S = PlusInv, T = QChar(C - 128), ++Col;
                    } else if (In(C, {{128, 154}, {156, 159}, {251, 255}})) {
                        S = PlusInv, T.remove("INV ");
                    } else if (C == Eol) {
                        R.NewParagraph(), Col = 0;
                        return;
                    } else if (Atmas && C == 9) {
                        S = Plain, T = QString(9 - Col % 9, ' '), Col += T.size();
                    }
                    R.S = S;
                    R.InsertText(T);
                };
                Add(B);
                Add(193);
                Add(B);
                EXPECT_EQ(Rich(Name, Bytes({B, 193, B}), InvStyle).toStdString(), R.Log.toStdString())
                    << Name << " style " << InvStyle << ", code " << B;
            }
        }
    }
}

TEST(AtariListing, AtmasTabsCountEveryEscapeAsOneColumnInTextAndNoneInRichText) {
    EXPECT_EQ(Make("A.SRC", "ABCDEFGHI\tX")->ToText(0), QByteArray("ABCDEFGHI") + QByteArray(9, ' ') + "X");
    EXPECT_EQ(Make("A.SRC", Bytes({1, 9, 'X'}))->ToText(2), QByteArray(8, ' ') + "X");
    EXPECT_EQ(Make("A.SRC", "AB\r\tC")->ToText(0), QByteArray("AB\r") + QByteArray(9, ' ') + "C");
    // The rich text starts in the control's style.
    EXPECT_EQ(Rich("A.SRC", Bytes({155, 1, 9, 'X'}), 0, Bold), "[{INV RETURN}{CTRL A}|B][         X|]");

    auto Hostile = Make("A.SRC", "\tA");
    Hostile->TabWidth = 0;     // would divide by zero
    Hostile->Length = 1 << 30; // would read past the buffer
    EXPECT_EQ(Hostile->ToText(0), " A" + QByteArray("{0}").repeated(65536 - 2));
}
