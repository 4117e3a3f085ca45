// The colour settings of texts, listings and fonts in their windows' prints: the print
// colours where there are any, and the screen left as it was.
#include "test_childwinfont_common.h"

#include "uChildWinListing.h"
#include "uChildWinText.h"

#include <QRegularExpression>
#include <QSet>

namespace {
// The colours (0xRRGGBB) of the pictures named Alt in the HTML report File, but white.
QSet<QRgb> PrintedColours(const QString& File, const QString& Alt) {
    const QRegularExpression Re(
        QStringLiteral("<img alt=\"%1\"[^>]* src=\"data:image/png;base64,([^\"]+)\"").arg(Alt));
    QSet<QRgb> Set;
    for (auto It = Re.globalMatch(QString::fromUtf8(ReadWholeFile(File))); It.hasNext();) {
        const QImage Img = QImage::fromData(QByteArray::fromBase64(It.next().captured(1).toLatin1()), "PNG")
                               .convertToFormat(QImage::Format_RGB32);
        for (int Y = 0; Y < Img.height(); ++Y)
            for (int X = 0; X < Img.width(); ++X) Set.insert(Img.pixel(X, Y) & 0xFFFFFF);
    }
    Set.remove(0xFFFFFF);
    return Set;
}

QSet<QRgb> Rgb(std::initializer_list<quint32> WinColours) {
    QSet<QRgb> Set;
    for (quint32 C : WinColours) Set.insert(WinColorToRgb(C) & 0xFFFFFF);
    return Set;
}

using ColourOutputsTest = fonttest::FontWindowTest;
} // namespace

// Each colour set once, so every picture tells which setting drew it. Text and listing
// pages are framed in silver.
TEST_F(ColourOutputsTest, TextListingAndFontPrintInTheirPrintColoursAndLeaveTheScreen) {
    textforecolor = 0x0000FF, textbackcolor = 0x00FF00;
    textPrintforecolor = 0xFF0000, textPrintbackcolor = 0x00FFFF;
    listingforecolor = 0xFF00FF, listingbackcolor = 0x808000;
    listingprintforecolor = 0x000080, listingprintbackcolor = 0x008080;
    fontforecolor = 0x4080C0, fontbackcolor = 0x102030;
    QByteArray Lines;
    for (int I = 0; I < 60; ++I) Lines += "LINE " + QByteArray::number(I) + char(155);
    TChildWinText Text;
    Text.OpenDocument(Write("T.TXT", Lines), "T.TXT");
    TChildWinListing Listing;
    ASSERT_TRUE(Listing.OpenDocument(Write("L.LST", Lines), "L.LST"));
    TChildWinFont* Font = Open(fonttest::RandomFont(9));
    struct TCase {
        std::function<void()> Print;
        const ImageView* Screen;
        QString Alt;
        QSet<QRgb> Printed;
    };
    for (const TCase& Case : {TCase{[&] { Text.PrintReport(); }, Text.imgText, "bitmapText",
                                    Rgb({textPrintforecolor, textPrintbackcolor, clSilver})},
                              TCase{[&] { Listing.PrintReport(); }, Listing.imgListing, "bitmapListing",
                                    Rgb({listingprintforecolor, listingprintbackcolor, clSilver})},
                              TCase{[&] { Font->PrintReport(); }, Font->imgFont, "bitmapFont[12]",
                                    Rgb({fontforecolor, fontbackcolor})}}) {
        const QImage Before = Case.Screen->Picture;
        const QString File = Dir.filePath(Case.Alt.left(10) + ".html");
        PrintReportsTo(File, TReportFileFormat::HTML);
        Case.Print();
        EXPECT_EQ(PrintedColours(File, Case.Alt), Case.Printed) << Case.Alt.toStdString();
        EXPECT_EQ(Case.Screen->Picture, Before) << Case.Alt.toStdString();
    }
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}
