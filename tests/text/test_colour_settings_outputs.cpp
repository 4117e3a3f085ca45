// The colour settings of texts, listings and fonts crossed with every save and print
// of their windows: saves write what the screen shows, prints use the print colours
// where there are any, and a print leaves the screen as it was.
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

// The pictures of the elements named Alt in a report written as HTML, and their
// colours together.
QSet<QRgb> PrintedColours(const QString& HtmlFile, const QString& Alt, int* Pictures = nullptr) {
    const QString Html = QString::fromUtf8(ReadWholeFile(HtmlFile));
    QSet<QRgb> Set;
    int N = 0;
    const QRegularExpression Re(
        QStringLiteral("<img alt=\"%1\"[^>]* src=\"data:image/png;base64,([^\"]+)\"").arg(Alt));
    for (auto It = Re.globalMatch(Html); It.hasNext(); ++N)
        Set.unite(Colours(QImage::fromData(QByteArray::fromBase64(It.next().captured(1).toLatin1()), "PNG")));
    if (Pictures) *Pictures = N;
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
    // The colours of the report's pictures Alt when the window prints to HTML.
    QSet<QRgb> Printed(const std::function<void()>& Print, const QString& Alt, int* Pictures = nullptr) {
        const QString Html = Dir.filePath(QStringLiteral("print%1.html").arg(++Prints));
        PrintReportsTo(Html, TReportFileFormat::HTML);
        Print();
        return PrintedColours(Html, Alt, Pictures);
    }
    int Prints = 0;
};
} // namespace

TEST_F(ColourOutputsTest, TextAndListingSaveTheScreenAndPrintInThePrintColours) {
    QByteArray Lines;
    for (int I = 0; I < 60; ++I) Lines += "LINE " + QByteArray::number(I) + char(155);

    TChildWinText Text;
    Text.OpenDocument(Write("T.TXT", Lines), "T.TXT");
    const QImage Screen = Text.imgText->Picture;
    // A page is framed in silver.
    EXPECT_EQ(Colours(Screen), Rgb({textforecolor, textbackcolor, clSilver}));
    AnswerSave("t.bmp");
    Text.FileSaveAsItemClick();
    EXPECT_EQ(QImage(Dir.filePath("t.bmp")).convertToFormat(QImage::Format_RGB32), Screen);
    int Pictures = 0;
    // Strips are cut with a white margin below the last line.
    EXPECT_EQ(Printed([&] { Text.PrintReport(); }, "bitmapText", &Pictures) - Rgb({clWhite}),
              Rgb({textPrintforecolor, textPrintbackcolor, clSilver}));
    EXPECT_GE(Pictures, 2);
    EXPECT_EQ(Text.imgText->Picture, Screen);

    TChildWinListing Listing;
    ASSERT_TRUE(Listing.OpenDocument(Write("L.LST", Lines), "L.LST"));
    const QImage Page = Listing.imgListing->Picture;
    EXPECT_EQ(Colours(Page), Rgb({listingforecolor, listingbackcolor, clSilver}));
    for (const char* Name : {"l.bmp", "l.jpg"}) {
        AnswerSave(Name);
        Listing.SaveToFile();
    }
    EXPECT_EQ(QImage(Dir.filePath("l.bmp")).convertToFormat(QImage::Format_RGB32), Page);
    EXPECT_EQ(QImage(Dir.filePath("l.jpg")).size(), Page.size());
    EXPECT_EQ(Printed([&] { Listing.PrintReport(); }, "bitmapListing") - Rgb({clWhite}),
              Rgb({listingprintforecolor, listingprintbackcolor, clSilver}));
    EXPECT_EQ(Listing.imgListing->Picture, Page);
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

TEST_F(ColourOutputsTest, FontSavesAndPrintsInTheFontColours) {
    TChildWinFont* Win = Open(fonttest::RandomFont(9));
    const QImage Screen = Win->imgFont->Picture;
    // The cells in the font's colours on white (and the selection frame in red once shown).
    EXPECT_EQ(Colours(Screen) - Rgb({0x0000FF}), Rgb({fontforecolor, fontbackcolor, clWhite}));
    AnswerSave("f.bmp");
    Win->SaveToFile();
    EXPECT_EQ(QImage(Dir.filePath("f.bmp")).convertToFormat(QImage::Format_RGB32), Screen);
    // Both orders print in the font colours; the pictures' unused corner stays white.
    int Pictures = 0;
    EXPECT_EQ(Printed([&] { Win->PrintReport(); }, "bitmapFont[12]", &Pictures) - Rgb({clWhite}),
              Rgb({fontforecolor, fontbackcolor}));
    EXPECT_EQ(Pictures, 2);
    EXPECT_EQ(Win->imgFont->Picture, Screen);
}
