// The "ATASCII" face is generated from the built-in character set at build time;
// drawn at 8 pixels it must give back the set's own glyph rows.
#include "Resources.h"
#include "uGlobal.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {
// Draws one character with the face at 8 px and reads back its 8 rows as bytes.
std::array<quint8, 8> Rasterise(QChar Ch) {
    QImage Img(8, 8, QImage::Format_RGB32);
    Img.fill(Qt::white);
    QPainter P(&Img);
    QFont F(QStringLiteral("ATASCII"));
    F.setPixelSize(8);
    F.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
    F.setHintingPreference(QFont::PreferNoHinting);
    P.setFont(F);
    P.setPen(Qt::black);
    P.drawText(0, 8, QString(Ch)); // baseline at the bottom: the glyph fills rows 0..7
    P.end();
    std::array<quint8, 8> Rows{};
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X)
            if (qGray(Img.pixel(X, Y)) < 128) Rows[Y] |= quint8(0x80 >> X);
    return Rows;
}
} // namespace

TEST(AtasciiFace, RegistersAndDrawsTheStandardGlyphs) {
    LoadATASCIIFont();
    ASSERT_TRUE(ATASCIIFontLoaded());
    EXPECT_TRUE(QFontDatabase::families().contains(QStringLiteral("ATASCII")));
    const QByteArray Set = GetResource("FONT_STANDARD");
    ASSERT_EQ(Set.size(), 1024);
    // 'A' is ATASCII 65, internal 33; '!' is ATASCII 33, internal 1.
    for (auto [Ch, Internal] : {std::pair{QChar('A'), 33}, std::pair{QChar('!'), 1}}) {
        const auto Rows = Rasterise(Ch);
        for (int Y = 0; Y < 8; ++Y)
            EXPECT_EQ(Rows[Y], quint8(Set[Internal * 8 + Y]))
                << "char " << char(Ch.unicode()) << " row " << Y;
    }
    UnloadATASCIIFont();
    EXPECT_FALSE(ATASCIIFontLoaded());
    EXPECT_FALSE(QFontDatabase::families().contains(QStringLiteral("ATASCII")));
}
