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
    // Saved to a BMP through Save, Screen comes back as it is; printed to HTML through
    // Print, the pictures named Alt hold the colours Printed besides white, and the
    // screen stays as it was. How many pictures were printed.
    int ExpectOutputs(const QImage& Screen, const std::function<void()>& Save,
                      const std::function<void()>& Print, const QString& Alt, const QSet<QRgb>& Printed) {
        const QString Bmp = QStringLiteral("out%1.bmp").arg(++Outputs);
        AnswerSave(Bmp);
        Save();
        EXPECT_EQ(QImage(Dir.filePath(Bmp)).convertToFormat(QImage::Format_RGB32), Screen)
            << Alt.toStdString();
        const QString Html = Dir.filePath(QStringLiteral("print%1.html").arg(Outputs));
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
        return N;
    }
    int Outputs = 0;
};
} // namespace

TEST_F(ColourOutputsTest, TextAndListingSaveTheScreenAndPrintInThePrintColours) {
    QByteArray Lines;
    for (int I = 0; I < 60; ++I) Lines += "LINE " + QByteArray::number(I) + char(155);
    // Pages are framed in silver; printed strips are cut with a white margin.
    TChildWinText Text;
    Text.OpenDocument(Write("T.TXT", Lines), "T.TXT");
    const QImage Screen = Text.imgText->Picture;
    EXPECT_EQ(Colours(Screen), Rgb({textforecolor, textbackcolor, clSilver}));
    EXPECT_GE(ExpectOutputs(
                  Screen, [&] { Text.FileSaveAsItemClick(); }, [&] { Text.PrintReport(); }, "bitmapText",
                  Rgb({textPrintforecolor, textPrintbackcolor, clSilver})),
              2);
    EXPECT_EQ(Text.imgText->Picture, Screen);

    TChildWinListing Listing;
    ASSERT_TRUE(Listing.OpenDocument(Write("L.LST", Lines), "L.LST"));
    const QImage Page = Listing.imgListing->Picture;
    EXPECT_EQ(Colours(Page), Rgb({listingforecolor, listingbackcolor, clSilver}));
    ExpectOutputs(
        Page, [&] { Listing.SaveToFile(); }, [&] { Listing.PrintReport(); }, "bitmapListing",
        Rgb({listingprintforecolor, listingprintbackcolor, clSilver}));
    EXPECT_EQ(Listing.imgListing->Picture, Page);
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

TEST_F(ColourOutputsTest, FontSavesAndPrintsInTheFontColours) {
    TChildWinFont* Win = Open(fonttest::RandomFont(9));
    const QImage Screen = Win->imgFont->Picture;
    // The cells in the font's colours on white (and the selection frame in red once shown).
    EXPECT_EQ(Colours(Screen) - Rgb({0x0000FF}), Rgb({fontforecolor, fontbackcolor, clWhite}));
    // Both orders print; the pictures' unused corner stays white.
    EXPECT_EQ(ExpectOutputs(
                  Screen, [&] { Win->SaveToFile(); }, [&] { Win->PrintReport(); }, "bitmapFont[12]",
                  Rgb({fontforecolor, fontbackcolor})),
              2);
    EXPECT_EQ(Win->imgFont->Picture, Screen);
}
