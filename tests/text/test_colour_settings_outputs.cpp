// The colour settings of texts, listings and fonts in the prints of their windows:
// prints use the print colours where there are any and leave the screen as it was.
#include "test_childwinfont_common.h"

#include "uChildWinListing.h"
#include "uChildWinText.h"

#include <QRegularExpression>
#include <QSet>

namespace {
using namespace texttest;

// The colours a picture holds (0xRRGGBB).
QSet<QRgb> Colours(const QImage& Img) {
    QSet<QRgb> Set;
    const QImage Src = Img.convertToFormat(QImage::Format_RGB32);
    for (int Y = 0; Y < Src.height(); ++Y)
        for (int X = 0; X < Src.width(); ++X) Set.insert(Src.pixel(X, Y) & 0xFFFFFF);
    return Set;
}

QSet<QRgb> Rgb(std::initializer_list<quint32> WinColours) {
    QSet<QRgb> Set;
    for (quint32 C : WinColours) Set.insert(WinColorToRgb(C) & 0xFFFFFF);
    return Set;
}

class ColourOutputsTest : public fonttest::FontWindowTest {
protected:
    void SetUp() override {
        FontWindowTest::SetUp();
        // Each colour once, so every picture tells which setting drew it.
        textforecolor = 0x0000FF, textbackcolor = 0x00FF00;
        textPrintforecolor = 0xFF0000, textPrintbackcolor = 0x00FFFF;
        listingforecolor = 0xFF00FF, listingbackcolor = 0x808000;
        listingprintforecolor = 0x000080, listingprintbackcolor = 0x008080;
        fontforecolor = 0x4080C0, fontbackcolor = 0x102030;
    }
    // Printed to HTML through Print, the pictures named Alt hold the colours Printed
    // besides white, and the window's picture Shown stays as it was. How many pictures.
    int ExpectPrint(const QImage& Shown, const std::function<void()>& Print, const QString& Alt,
                    const QSet<QRgb>& Printed) {
        const QImage Before = Shown;
        const QString Html = Dir.filePath(Alt.left(10) + ".html");
        PrintReportsTo(Html, TReportFileFormat::HTML);
        Print();
        const QRegularExpression Re(
            QStringLiteral("<img alt=\"%1\"[^>]* src=\"data:image/png;base64,([^\"]+)\"").arg(Alt));
        QSet<QRgb> Set;
        int N = 0;
        for (auto It = Re.globalMatch(QString::fromUtf8(ReadWholeFile(Html))); It.hasNext(); ++N)
            Set.unite(
                Colours(QImage::fromData(QByteArray::fromBase64(It.next().captured(1).toLatin1()), "PNG")));
        EXPECT_EQ(Set - Rgb({clWhite}), Printed) << Alt.toStdString();
        EXPECT_EQ(Shown, Before) << Alt.toStdString();
        return N;
    }
};
} // namespace

// Pages are framed in silver on screen and in print; printed strips are cut with a
// white margin, and the font's pictures leave their unused corner white.
TEST_F(ColourOutputsTest, TextListingAndFontPrintInTheirPrintColoursAndLeaveTheScreen) {
    QByteArray Lines;
    for (int I = 0; I < 60; ++I) Lines += "LINE " + QByteArray::number(I) + char(155);
    TChildWinText Text;
    Text.OpenDocument(Write("T.TXT", Lines), "T.TXT");
    EXPECT_EQ(Colours(Text.imgText->Picture), Rgb({textforecolor, textbackcolor, clSilver}));
    EXPECT_GE(ExpectPrint(
                  Text.imgText->Picture, [&] { Text.PrintReport(); }, "bitmapText",
                  Rgb({textPrintforecolor, textPrintbackcolor, clSilver})),
              2);

    TChildWinListing Listing;
    ASSERT_TRUE(Listing.OpenDocument(Write("L.LST", Lines), "L.LST"));
    EXPECT_EQ(Colours(Listing.imgListing->Picture), Rgb({listingforecolor, listingbackcolor, clSilver}));
    ExpectPrint(
        Listing.imgListing->Picture, [&] { Listing.PrintReport(); }, "bitmapListing",
        Rgb({listingprintforecolor, listingprintbackcolor, clSilver}));

    TChildWinFont* Font = Open(fonttest::RandomFont(9));
    EXPECT_EQ(Colours(Font->imgFont->Picture) - Rgb({0x0000FF}),
              Rgb({fontforecolor, fontbackcolor, clWhite})); // less the red frame
    EXPECT_EQ(ExpectPrint(
                  Font->imgFont->Picture, [&] { Font->PrintReport(); }, "bitmapFont[12]",
                  Rgb({fontforecolor, fontbackcolor})),
              2);
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}
