#include "Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, Utf8ValidityDecidesTheEncodingOfAText) {
    const struct {
        QByteArray Bytes;
        bool Utf8;
    } Rows[] = {
        {"", true},
        {"plain ASCII\r\n", true},
        {"Gr\xC3\xBC\xC3\x9F", true},            // Grüß
        {"\xE2\x82\xAC \xF0\x9F\x98\x80", true}, // euro sign, a character beyond the BMP
        {"\xF4\x8F\xBF\xBF", true},              // U+10FFFF
        {"Gr\xFC\xDF", false},                   // the same word in Windows-1252
        {"\xC3", false},                         // cut short
        {"\xC0\xAF", false},                     // overlong
        {"\xE0\x80\xAF", false},
        {"\xF0\x80\x80\xAF", false},
        {"\xED\xA0\x80", false},     // surrogate
        {"\xF4\x90\x80\x80", false}, // above U+10FFFF
        {"\xF5\x80\x80\x80", false},
        {"\x80", false}, // continuation without a start
        {"\xC3\x28", false},
    };
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Bytes.toHex().toStdString());
        EXPECT_EQ(IsValidUtf8(R.Bytes), R.Utf8);
        EXPECT_EQ(DetectTextEncoding(R.Bytes), R.Utf8 ? TTextEncoding::Utf8 : TTextEncoding::Cp1252);
        EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBF" + R.Bytes),
                  R.Utf8 ? TTextEncoding::Utf8Bom : TTextEncoding::Cp1252);
    }
    // Read as Windows-1252, a byte-order mark is three characters of text.
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF", TTextEncoding::Cp1252), QString::fromUtf8("ï»¿"));
    // Characters Windows-1252 lacks, one mark each (also beyond the BMP), or none.
    const QString Foreign = QString::fromUtf8("aŁ😀b");
    EXPECT_EQ(UnicodeToCp1252(Foreign), "a??b");
    EXPECT_EQ(UnicodeToCp1252(Foreign, true), "ab");
}
