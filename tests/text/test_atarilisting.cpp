// The listing document: typing by extension, loading, and both conversions.
#include "FileIO.h"
#include "RichTextSink.h"
#include "test_text_common.h"
#include "uTAtariListing.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

namespace {

using texttest::Bytes;

std::unique_ptr<TAtariListing> Make(const QString& Name, const QByteArray& Bytes) {
    auto L = std::make_unique<TAtariListing>();
    L->SetListingType(Name);
    std::copy(Bytes.begin(), Bytes.end(), L->Buffer.begin());
    L->Length = int(Bytes.size());
    return L;
}

// What reaches the rich edit, as runs of one style; paragraphs as "\n" runs.
struct TRecorder : TRichTextSink {
    struct TRun {
        QString Text;
        TRichStyle Style;
        bool operator==(const TRun&) const = default;
    };
    QList<TRun> Runs;
    TRichStyle Current;
    void InsertText(const QString& Text) override {
        if (!Runs.isEmpty() && Runs.last().Style == Current && Runs.last().Text != "\n")
            Runs.last().Text += Text;
        else
            Runs.append(TRun{Text, Current});
    }
    TRichStyle Style() const override { return Current; }
    void SetStyle(const TRichStyle& S) override { Current = S; }
    void SetOffset(int) override {}
    void NewParagraph() override { Runs.append(TRun{"\n", {}}); }
};
using TRuns = QList<TRecorder::TRun>;

void PrintTo(const TRecorder::TRun& R, std::ostream* Os) {
    *Os << '"' << R.Text.toStdString() << "\" " << (R.Style.Bold ? "B" : "") << (R.Style.Italic ? "I" : "")
        << (R.Style.Underline ? "U" : "");
}

TRuns Rich(const QString& Name, const QByteArray& Bytes, int InvStyle, TRichStyle Start = {}) {
    TRecorder R;
    R.Current = Start;
    Make(Name, Bytes)->ToRichEdit(R, InvStyle);
    EXPECT_EQ(R.Current, TRichStyle{});
    return R.Runs;
}

const TRichStyle Plain{}, Bold{true, false, false}, Italic{false, true, false}, Under{false, false, true};

} // namespace

TEST(AtariListing, TypesFollowTheExtensionWithoutRegardToCase) {
    TAtariListing L;
    L.SetListingType("demo.lst");
    EXPECT_EQ(std::make_tuple(L.ListingType, L.IsText, L.EOLCode, L.TABCode, L.TabWidth),
              std::make_tuple(0, 1, quint8(155), quint8(0), 0));
    L.SetListingType("PROG.SRC");
    EXPECT_EQ(std::make_tuple(L.ListingType, L.EOLCode, L.TABCode, L.TabWidth),
              std::make_tuple(4, quint8(13), quint8(9), 9));
    // Unknown extensions, and dots in folder names, change nothing.
    L.SetListingType("PROG.PASCAL");
    L.SetListingType("/tmp/dir.lst/NOEXT");
    EXPECT_EQ(L.ListingType, 4);
    // Types that set no tab fields keep those of the type before.
    L.SetListingType("X.ACT");
    EXPECT_EQ(std::make_tuple(L.ListingType, L.LanguageName, L.EOLCode, L.TABCode, L.TabWidth),
              std::make_tuple(2, QString("Action!"), quint8(155), quint8(9), 9));
    L.SetListingType("A.pas");
    EXPECT_EQ(L.ListingType, 3);
    L.SetListingType("GAME.TUR");
    EXPECT_EQ(std::make_tuple(L.ListingType, L.IsText), std::make_tuple(1, 0));
}

TEST(AtariListing, LoadingCutsLongFilesAndKeepsTheOldBytesOnFailure) {
    QTemporaryDir Dir;
    QByteArray Long(70000, 0);
    for (int I = 0; I < Long.size(); ++I) Long[I] = char(I * 7 + I / 256);
    WriteWholeFile(Dir.filePath("long.lst"), Long);
    auto L = std::make_unique<TAtariListing>();
    L->LoadFromFile(Dir.filePath("long.lst"));
    EXPECT_EQ(L->FileName, "LONG.LST");
    EXPECT_EQ(std::make_tuple(L->Length, L->FileLength, L->WasCut()),
              std::make_tuple(65536, qint64(70000), true));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(L->Buffer.data()), 65536), Long.left(65536));

    WriteWholeFile(Dir.filePath("Short.Src"), "LDA");
    L->LoadFromFile(Dir.filePath("Short.Src"));
    EXPECT_EQ(std::make_tuple(L->Length, L->WasCut(), L->Buffer[0]), std::make_tuple(3, false, quint8('L')));
    EXPECT_EQ(L->Buffer[3], quint8(Long[3])); // the bytes behind stay until Clear

    EXPECT_THROW(L->LoadFromFile(Dir.filePath("missing.lst")), EInOutError);
    EXPECT_EQ(L->FileName, "MISSING.LST");
    EXPECT_EQ(std::make_tuple(L->Length, L->Buffer[0]), std::make_tuple(3, quint8('L')));
    L->Clear();
    EXPECT_EQ(std::make_tuple(L->Length, L->Buffer[0], L->Buffer[65535]),
              std::make_tuple(3, quint8(0), quint8(0)));
}

TEST(AtariListing, ToTextEscapesControlAndInverseCodes) {
    EXPECT_EQ(Make("P.LST", Bytes({65, 1, 193, 155}))->ToText(0), QByteArray("A{1}A\r"));
    EXPECT_EQ(Make("P.LST", Bytes({65, 1, 193, 155}))->ToText(1), QByteArray("A{CTRL A}{INV A}\r"));
    EXPECT_EQ(Make("P.LST", Bytes({65, 1, 193, 155}))->ToText(2), QByteArray("A\r")); // unknown mode
    EXPECT_EQ(Make("P.LST", Bytes({224, 129, 27}))->ToText(1),
              QByteArray("{INV CTRL .}{INV CTRL A}{ESC ESC}"));
    // Class borders, one byte at a time.
    const std::pair<int, const char*> Cases[] = {
        {31, "{31}"},   {32, " "},      {96, "{96}"}, {97, "a"},      {123, "{123}"}, {124, "|"},
        {127, "{127}"}, {159, "{159}"}, {160, " "},   {224, "{224}"}, {250, "z"},     {253, "{253}"}};
    for (const auto& [Byte, Text] : Cases)
        EXPECT_EQ(Make("P.LST", Bytes({Byte}))->ToText(0), QByteArray(Text)) << Byte;
}

TEST(AtariListing, AtmasTabsCountEveryEscapeAsOneColumn) {
    EXPECT_EQ(Make("A.SRC", "LDA\t#1\r")->ToText(0), QByteArray("LDA      #1\r"));
    EXPECT_EQ(Make("A.SRC", "ABCDEFGHI\tX")->ToText(0), QByteArray("ABCDEFGHI") + QByteArray(9, ' ') + "X");
    EXPECT_EQ(Make("A.SRC", Bytes({1, 9, 'X'}))->ToText(2), QByteArray(8, ' ') + "X");
    EXPECT_EQ(Make("A.SRC", "AB\r\tC")->ToText(0), QByteArray("AB\r") + QByteArray(9, ' ') + "C");
    // 155 is no line end here, and 255 disappears; elsewhere the tab code is a control code.
    EXPECT_EQ(Make("A.SRC", Bytes({155, 255, 'A', 13}))->ToText(0), QByteArray("{155}A\r"));
    EXPECT_EQ(Make("A.LST", Bytes({9}))->ToText(0), QByteArray("{9}"));

    auto Hostile = Make("A.SRC", "\tA");
    Hostile->TabWidth = 0;     // would divide by zero
    Hostile->Length = 1 << 30; // would read past the buffer
    EXPECT_EQ(Hostile->ToText(0), " A" + QByteArray("{0}").repeated(65536 - 2));
}

TEST(AtariListing, RichTextMarksInverseCharacters) {
    EXPECT_EQ(Rich("P.LST", Bytes({65, 129, 66}), 1),
              (TRuns{{"A", Plain}, {"{CTRL A}", Bold}, {"B", Plain}}));
    // A control code keeps the style of the inverse character before it.
    EXPECT_EQ(Rich("P.LST", Bytes({193, 1, 65, 155, 200}), 0),
              (TRuns{{"A{CTRL A}", Under}, {"A", Plain}, {"\n", Plain}, {"H", Under}}));
    EXPECT_EQ(Rich("P.LST", Bytes({1, 224, 253, 'x'}), 2),
              (TRuns{{"{CTRL A}{INV CTRL .}", Plain}, {"{ESC CTRL 2}", Italic}, {"x", Plain}}));
    // ATMAS II: 155 in the current style; escapes take no column.
    EXPECT_EQ(
        Rich("A.SRC", Bytes({155, 1, 9, 'X', 13, 255}), 0, Bold),
        (TRuns{
            {"{INV RETURN}{CTRL A}", Bold}, {"         X", Plain}, {"\n", Plain}, {"{ESC CTRL >}", Under}}));
    EXPECT_EQ(Rich("P.LST", Bytes({193}), 7), (TRuns{{"A", Plain}})); // another style number marks nothing
}
