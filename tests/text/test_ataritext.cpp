// The ATASCII text document: loading, dialect detection and the conversions.
#include "FileIO.h"
#include "RichTextSink.h"
#include "test_text_common.h"
#include "uTAtariText.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
using texttest::Bytes;

class AtariTextTest : public ::testing::Test {
protected:
    QString Write(const QString& Name, const QByteArray& Data) {
        const QString Path = Dir.filePath(Name);
        WriteWholeFile(Path, Data);
        return Path;
    }
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
    QTemporaryDir Dir;
    TAtariText Text;
};

// Writes each run of equal style as "[text|BIUo]" and paragraphs as "/".
class RecordingSink : public TRichTextSink {
public:
    void InsertText(const QString& T) override {
        Log += "[" + T + "|" + (S.Bold ? "B" : "") + (S.Italic ? "I" : "") + (S.Underline ? "U" : "") +
               (Offset ? QString::number(Offset) : "") + "]";
    }
    TRichStyle Style() const override { return S; }
    void SetStyle(const TRichStyle& Style) override { S = Style; }
    void SetOffset(int Twips) override { Offset = Twips; }
    void NewParagraph() override { Log += "/"; }
    QString Log;
    TRichStyle S;
    int Offset = 0;
};
} // namespace

TEST_F(AtariTextTest, DialectDetection) {
    const std::pair<QByteArray, int> Rows[] = {{Bytes({2, 0, 0, 4}), 1},
                                               {Bytes({2, 0, 4}), 0},
                                               {Bytes({193, '1', 'x', 197, '1'}), 2}, // end before start
                                               {Bytes({197, '3', 193, '3'}), 2},
                                               {Bytes({197, '0', 193, '1'}), 0},
                                               {Bytes({197, '4', 193, '4'}), 0},
                                               {Bytes({197, '0', 193}), 0}, // a switch cut off at the end
                                               {Bytes({2, 9, 9, 4, 197, '0', 193, '0'}), 1},
                                               {QByteArray(), 0}};
    for (const auto& [Data, Type] : Rows) EXPECT_EQ(Detect(Data), Type) << Data.toHex().constData();
    // The pairs only count inside the first 250000 bytes.
    QByteArray Long(TAtariText::BufferSize, 'A');
    Long += Bytes({197, '5', 193, '5'});
    EXPECT_EQ(Detect(Long), 0);
}

TEST_F(AtariTextTest, LoadingClearingSavingAndFailures) {
    QByteArray Big(TAtariText::BufferSize + 100, 'x');
    Big[TAtariText::BufferSize - 1] = 'y';
    Text.LoadFromFile(Write("long.txt", Big)); // cut at the buffer's size
    EXPECT_EQ(std::make_tuple(Text.Length, Text.FileName, Text.Buffer[TAtariText::BufferSize - 1]),
              std::make_tuple(TAtariText::BufferSize, QString("LONG.TXT"), quint8('y')));

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

TEST_F(AtariTextTest, PlainAtasciiTable) {
    EXPECT_EQ(Convert(Bytes({65, 155, 193}), 0), "A\r\nA");
    const std::pair<int, QByteArray> Rows[] = {{31, ""},          {32, " "},     {123, ""},     {127, "\x7f"},
                                               {128, Bytes({0})}, {138, ""},     {142, "\x0e"}, {144, ""},
                                               {145, "\x11"},     {156, "\x1c"}, {251, ""},     {252, "|"}};
    for (const auto& [B, Out] : Rows) EXPECT_EQ(Convert(Bytes({B}), 0), Out) << B;
    EXPECT_EQ(Convert("A", 3), "");
    EXPECT_EQ(Convert("A", -1), "");
}

TEST_F(AtariTextTest, AtariSchreiberUmlautsAndFirstLine) {
    EXPECT_EQ(Convert("HEAD" + Bytes({155, 11, 20, 65, 66}), 1), Bytes({228, 'B'}));
    // No line end: nothing is deleted.
    EXPECT_EQ(Convert(Bytes({10, 138, 11, 139, 12, 140, 13, 141, 15, 143, 16, 144, 123, 251}), 1),
              "\xfc\xfc\xe4\xe4\xd6\xd6\xdf\xdf\xf6\xf6\xdc\xdc\xc4\xc4");
    const std::pair<int, QByteArray> Rows[] = {
        {9, ""}, {17, ""}, {32, " "}, {128, Bytes({0})}, {148, "\x14"}};
    for (const auto& [B, Out] : Rows) EXPECT_EQ(Convert(Bytes({B}), 1), Out) << B;
    EXPECT_EQ(Convert(Bytes({155, 155}) + "X", 1), "\r\nX");
    EXPECT_EQ(Convert(Bytes({'A', 20}), 1), "A"); // a code cut off at the end
}

TEST_F(AtariTextTest, StartexterPcTextAndLineBreaks) {
    EXPECT_EQ(Convert(QByteArray(80, 'A'), 2), QByteArray(80, 'A') + "\r\n");
    EXPECT_EQ(Convert(QByteArray(79, 'A') + Bytes({197, '5'}) + "B", 2), QByteArray(79, 'A') + "B");
    EXPECT_EQ(Convert(QByteArray(160, 'c'), 2), QByteArray(80, 'c') + "\r\n" + QByteArray(80, 'c') + "\r\n");
    EXPECT_EQ(Convert(Bytes({91, 92, 93, 123, 124, 125, 126}), 2), "\xc4\xd6\xdc\xe4\xf6\xfc\xdf");
    EXPECT_EQ(Convert(Bytes({0, 31, 127, 128, 155, 192, 194, 196, 198, 217, 219, 225, 226, 255}), 2),
              "  " + Bytes({128, 155, 192, 194, 196, 198, 217, 219, 225}));
    EXPECT_EQ(Convert("a" + Bytes({218, 'x', 'b', 193, '5', 'c'}), 2), "a bc");
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
    EXPECT_EQ(Rich("A" + Bytes({197, '5'}) + "B" + Bytes({193, '5'}) + "C"), "[A|][B|B][C|]");
    EXPECT_EQ(Rich(Bytes({197, '0', 'u', 197, '8', 'i', 193, '0', 197, '1', '2', 193,
                          '1', 197, '2', '3', 193, '2', 'n', 193, '8', 197, '9', 'x'})),
              "[u|U][i|IU][2|I60][3|I-60][n|I][x|]");
    // 128-225 show as b - 128; 218 alone is dropped; umlauts as characters.
    EXPECT_EQ(Rich(Bytes({194, 218, 'z', 91, 126, 5, 127, 230})),
              QString::fromUtf8("[Bz\xc3\x84\xc3\x9f |]"));
    EXPECT_EQ(Rich(QByteArray(81, 'a')), "[" + QString(80, 'a') + "|]/[a|]");

    // Other modes only reset the style.
    RecordingSink Sink;
    Sink.S = {true, true, true};
    Text.ToRichEdit(Sink, 0);
    EXPECT_EQ(Sink.Log, "");
    EXPECT_EQ(Sink.S, TRichStyle());
}
