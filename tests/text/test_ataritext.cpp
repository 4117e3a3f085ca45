// The ATASCII text document: loading, dialect detection and the conversions.
#include "test_text_common.h"
#include "uTAtariText.h"

namespace {
using texttest::Bytes;

class AtariTextTest : public FileTest {
protected:
    int Detect(const QByteArray& Data) {
        TAtariText T;
        T.DetectFormat(Write("d.txt", Data));
        return T.TextType;
    }
    QByteArray Convert(const QByteArray& Data, int Mode) {
        Text.Clear();
        Text.Length = int(Data.size());
        std::copy(Data.begin(), Data.end(), Text.Buffer.begin());
        return Text.ToPCText(Mode);
    }
    TAtariText Text;
};

using RecordingSink = texttest::StyleLog;

// The German letters in Windows-1252.
constexpr char AUml[] = "\xc4", OUml[] = "\xd6", UUml[] = "\xdc", aUml[] = "\xe4", oUml[] = "\xf6",
               uUml[] = "\xfc", Sz[] = "\xdf";
using texttest::TCodeRow;
// The code tables of the dialects, row by row as the formats are described.
const TCodeRow PlainRows[] = {{0, 31, ""},         {32, 122, "b"},     {123, 123, ""},      {124, 127, "b"},
                              {128, 137, "b-128"}, {138, 141, ""},     {142, 142, "b-128"}, {143, 144, ""},
                              {145, 154, "b-128"}, {155, 155, "\r\n"}, {156, 250, "b-128"}, {251, 251, ""},
                              {252, 255, "b-128"}};
const TCodeRow SchreiberRows[] = {
    {0, 9, ""},       {10, 10, uUml},     {11, 11, aUml},      {12, 12, OUml},     {13, 13, Sz},
    {14, 14, ""},     {15, 15, oUml},     {16, 16, UUml},      {17, 19, ""},       {20, 20, "", true},
    {21, 31, ""},     {32, 122, "b"},     {123, 123, AUml},    {124, 127, "b"},    {128, 137, "b-128"},
    {138, 138, uUml}, {139, 139, aUml},   {140, 140, OUml},    {141, 141, Sz},     {142, 142, "b-128"},
    {143, 143, oUml}, {144, 144, UUml},   {145, 154, "b-128"}, {155, 155, "\r\n"}, {156, 250, "b-128"},
    {251, 251, AUml}, {252, 255, "b-128"}};
const TCodeRow StartexterRows[] = {
    {0, 31, " "},    {32, 90, "b"},         {91, 91, AUml},       {92, 92, OUml},   {93, 93, UUml},
    {94, 122, "b"},  {123, 123, aUml},      {124, 124, oUml},     {125, 125, uUml}, {126, 126, Sz},
    {127, 127, ""},  {128, 192, "b"},       {193, 193, "", true}, {194, 196, "b"},  {197, 197, "", true},
    {198, 217, "b"}, {218, 218, " ", true}, {219, 225, "b"},      {226, 255, ""}};
// The rich text shows 128-225 as b - 128 and drops 218 alone.
const TCodeRow StartexterRichRows[] = {
    {0, 31, " "},        {32, 90, "b"},       {91, 91, AUml},       {92, 92, OUml},      {93, 93, UUml},
    {94, 122, "b"},      {123, 123, aUml},    {124, 124, oUml},     {125, 125, uUml},    {126, 126, Sz},
    {127, 127, ""},      {128, 192, "b-128"}, {193, 193, "", true}, {194, 196, "b-128"}, {197, 197, "", true},
    {198, 217, "b-128"}, {218, 218, ""},      {219, 225, "b-128"},  {226, 255, ""}};
} // namespace

// Every byte position and value the detection looks at, for both dialects, and the near
// misses: ATARI-Schreiber is 2 at byte 0 with 4 at byte 3 or 4; Startexter is a style
// start 197 (c5) and a style end 193 (c1), each followed by the same code "0" to "3"
// (30-33), anywhere; a file of both is ATARI-Schreiber. Each row also cut before its
// last byte: nothing past the end counts.
TEST_F(AtariTextTest, DialectDetection) {
    const struct {
        int Type, Cut;
        std::initializer_list<const char*> Files;
    } Rows[] = {{1, 0, {"02 00 00 04", "02 00 00 00 04"}},
                {1, 1, {"02 09 09 04 04", "02 09 09 04 c5 30 c1 30"}},
                {2, 0, {"c5 30 c1 30", "78 c5 31 79 c1 31", "c5 32 c1 32", "c1 33 78 c5 33"}},
                {0,
                 0,
                 {"02 00 04 00 00 04", "01 00 00 04 04", "03 00 00 04 04", "00 02 00 04 04", "02 00 00 03 05",
                  "02 00 00 05 03", "02", "c5 34 c1 34", "c5 2f c1 2f", "c5 30 c1 31", "c5 30 c5 30",
                  "c1 32 c1 32", "c4 30 c1 30", "c5 30 c0 30", "c5 c1 30"}}};
    for (const auto& R : Rows)
        for (const char* Hex : R.Files) {
            const QByteArray Data = QByteArray::fromHex(Hex);
            const auto* D = reinterpret_cast<const quint8*>(Data.constData());
            EXPECT_EQ(TAtariText::DetectDialect(D, int(Data.size())), R.Type) << Hex;
            EXPECT_EQ(TAtariText::DetectDialect(D, int(Data.size()) - 1), R.Cut) << Hex << " cut";
        }
    EXPECT_EQ(TAtariText::DetectDialect(nullptr, 0), 0);
    // From a file: its first 250000 bytes count, the pair ending at the last of them too.
    const QByteArray Start = Bytes({193, '1'}), End = Bytes({197, '1'});
    const int Room = TAtariText::BufferSize - 4;
    EXPECT_EQ(Detect(Start + QByteArray(Room, 'A') + End), 2);
    EXPECT_EQ(Detect(Start + QByteArray(Room + 1, 'A') + End), 0);
    EXPECT_EQ(Detect(Bytes({2, 0, 0, 0, 4})), 1);
}

TEST_F(AtariTextTest, LoadingClearingSavingAndFailures) {
    // Up to the buffer's size whole, a longer file cut there.
    for (int Size : {TAtariText::BufferSize - 1, TAtariText::BufferSize, TAtariText::BufferSize + 1}) {
        QByteArray Big(Size, 'x');
        Big[Size - 1] = 'y';
        Text.LoadFromFile(Write("long.txt", Big));
        const int Length = std::min(Size, TAtariText::BufferSize);
        EXPECT_EQ(std::make_tuple(Text.Length, Text.FileName, Text.Buffer[Length - 1]),
                  std::make_tuple(Length, QString("LONG.TXT"), quint8(Length == Size ? 'y' : 'x')));
    }

    Text.LoadFromFile(Write("short.txt", "AB" + Bytes({155})));
    EXPECT_EQ(Text.Length, 3);
    EXPECT_EQ(Text.Buffer[3], 'x'); // bytes past Length keep old values
    const QString Out = Dir.filePath("out.txt");
    Text.SaveToFile(Out);
    EXPECT_EQ(ReadWholeFile(Out), "AB" + Bytes({155}));

    Text.Buffer[0] = 'Q';
    EXPECT_THROW(Text.LoadFromFile(Dir.filePath("missing.txt")), EInOutError);
    EXPECT_EQ(std::make_tuple(Text.FileName, Text.Length, Text.Buffer[0]),
              std::make_tuple(QString("MISSING.TXT"), 3, quint8('Q')));
    Text.TextType = 2;
    EXPECT_THROW(Text.DetectFormat(Dir.filePath("missing.txt")), EInOutError);
    EXPECT_EQ(Text.TextType, -1);
}

// Each code followed by "x", so a code that swallows the next byte shows; ATARI-Schreiber
// texts get an empty first line, which the conversion deletes.
TEST_F(AtariTextTest, EveryCodeInEveryDialect) {
    const std::span<const TCodeRow> Tables[] = {PlainRows, SchreiberRows, StartexterRows};
    for (int Mode = 0; Mode < 3; ++Mode)
        for (int B = 0; B < 256; ++B) {
            bool Skip = false;
            QString Out = texttest::RowOutput(Tables[Mode], B, &Skip);
            if (!Skip) Out += 'x';
            EXPECT_EQ(Convert((Mode == 1 ? Bytes({155}) : QByteArray()) + Bytes({B, 'x'}), Mode),
                      Out.toLatin1())
                << "dialect " << Mode << ", code " << B;
            if (Mode != 2) continue;
            Out = texttest::RowOutput(StartexterRichRows, B, &Skip);
            if (!Skip) Out += 'x';
            RecordingSink Sink;
            Text.ToRichEdit(Sink, 2);
            EXPECT_EQ(Sink.Log.toStdString(), Out.isEmpty() ? "" : "[" + Out.toStdString() + "|]")
                << "rich text, code " << B;
        }
    EXPECT_EQ(Convert("A", 3), "");
    EXPECT_EQ(Convert("A", -1), "");
}

TEST_F(AtariTextTest, AtariSchreiberFirstLine) {
    EXPECT_EQ(Convert(Bytes({'A', 20}), 1), "A"); // no line end: nothing deleted; a code cut off at the end
}

TEST_F(AtariTextTest, StartexterLineBreaks) {
    EXPECT_EQ(Convert(QByteArray(80, 'A'), 2), QByteArray(80, 'A') + "\r\n");
    EXPECT_EQ(Convert(QByteArray(79, 'A') + Bytes({197, '5'}) + "B", 2), QByteArray(79, 'A') + "B");
    EXPECT_EQ(Convert(QByteArray(160, 'c'), 2), QByteArray(80, 'c') + "\r\n" + QByteArray(80, 'c') + "\r\n");
    // A switch in the last byte of a full buffer reads nothing past it.
    Text.Buffer.fill(197);
    Text.Buffer[0] = 'a';
    Text.Length = TAtariText::BufferSize;
    EXPECT_EQ(Text.ToPCText(2), "a");
    RecordingSink Sink;
    Text.ToRichEdit(Sink, 2);
    EXPECT_EQ(Sink.Log, "[a|]");
}

TEST_F(AtariTextTest, StartexterRichText) {
    const auto Rich = [this](const QByteArray& Data) {
        RecordingSink Sink;
        Convert(Data, 2);
        Text.ToRichEdit(Sink, 2);
        return Sink.Log;
    };
    EXPECT_EQ(Rich(Bytes({197, '0', 'u', 197, '8', 'i', 193, '0', 197, '1', '2', 193,
                          '1', 197, '2', '3', 193, '2', 'n', 193, '8', 197, '9', 'x'})),
              "[u|U][i|IU][2|I60][3|I-60][n|I][x|]");
    EXPECT_EQ(Rich(QByteArray(81, 'a')), "[" + QString(80, 'a') + "|]/[a|]");

    // Other modes only reset the style.
    RecordingSink Sink;
    Sink.S = {true, true, true};
    Text.ToRichEdit(Sink, 0);
    EXPECT_EQ(Sink.Log, "");
    EXPECT_EQ(Sink.S, TRichStyle());
}
