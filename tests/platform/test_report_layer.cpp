// Report designs, the project's parameters and page layout, flowing text.
#include "ReportLayer.h"
#include "test_common.h"

#include <QPaintEngine>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {
const TReportElement* Find(const TReportPage& Page, const QString& Name) {
    for (const TReportElement& E : Page.Elements)
        if (E.Name == Name) return &E;
    return nullptr;
}

// A page that records the text it is given, clipped or not, as a PDF's text layer holds it.
class TTextRecorder : public QPaintDevice, public QPaintEngine {
public:
    QStringList Texts;
    TTextRecorder() : QPaintEngine(AllFeatures) {}
    QPaintEngine* paintEngine() const override { return const_cast<TTextRecorder*>(this); }
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF&, const QTextItem& Item) override { Texts << Item.text(); }
    Type type() const override { return User; }

protected:
    int metric(PaintDeviceMetric M) const override { // a letter page at 300 dpi
        if (M == PdmDevicePixelRatioScaled) return int(devicePixelRatioFScale());
        if (M >= PdmDpiX && M <= PdmPhysicalDpiY) return 300;
        return M == PdmWidth ? 2550 : M == PdmHeight ? 3300 : M == PdmDepth ? 32 : 1;
    }
};
} // namespace

TEST(ReportDesigns, SevenDesignsFoundWithoutRegardToCase) {
    ASSERT_EQ(ReportDesigns().size(), 7);
    ASSERT_NE(FindReportDesign("graphicreport"), nullptr);
    EXPECT_EQ(FindReportDesign("graphicreport")->Name + FindReportDesign("FontReport")->Name,
              "GraphicReportFontreport");
    EXPECT_EQ(FindReportDesign("NoSuchReport"), nullptr);

    // Every element lies on the Letter page; only the strip reports go without footer.
    const QRectF Letter(0, 0, ReportPageWidthInch, ReportPageHeightInch);
    for (const TReportDesign& D : ReportDesigns()) {
        bool HasFooter = false;
        for (const TReportElement& E : D.Elements) {
            EXPECT_TRUE(Letter.contains(E.Box.topLeft()) && Letter.contains(E.Box.bottomRight()))
                << D.Name.toStdString() << " " << E.Name.toStdString();
            HasFooter |= E.Name == "Footer1";
        }
        EXPECT_EQ(HasFooter, !D.Name.endsWith("GraphicReport") || D.Name == "GraphicReport")
            << D.Name.toStdString();
    }
}

TEST(ReportProject, ParametersAreCaseBlindAndStayAcrossReports) {
    TReportProject P;
    // Before any footer text the picture report carries the fixed line; the unfilled
    // design text never shows.
    EXPECT_TRUE(P.SelectReport("GraphicReport"));
    TReportPage Page = P.Layout();
    ASSERT_NE(Find(Page, "Text2"), nullptr);
    EXPECT_EQ(Find(Page, "Text2")->Text, ReportFixedFooterText());
    EXPECT_TRUE(Find(Page, "Footer1")->Text.isEmpty() && Find(Page, "txtTitle")->Text.isEmpty());

    EXPECT_TRUE(P.SelectReport("fontreport"));
    EXPECT_EQ(P.SelectedReport(), "Fontreport");
    P.SetParam("titel", "FONT: MY.FNT");
    P.SetParam("PAGEFOOTERTEXT", "Erstellt mit Morvanel");
    EXPECT_EQ(P.GetParam("Titel"), "FONT: MY.FNT");
    Page = P.Layout();
    EXPECT_EQ(Find(Page, "txtTitle")->Text, "FONT: MY.FNT");
    EXPECT_EQ(Find(Page, "Footer1")->Text, "Erstellt mit Morvanel");
    EXPECT_FALSE(Find(Page, "bitmapLogo")->Image.isNull());

    // The picture report afterwards shows the footer left by the font print, and
    // the fixed line is left out so the two do not print over each other.
    EXPECT_TRUE(P.SelectReport("GraphicReport"));
    P.SetParam("Titel", "BILD.PIC");
    Page = P.Layout();
    EXPECT_EQ(Find(Page, "Footer1")->Text, "Erstellt mit Morvanel");
    EXPECT_EQ(Find(Page, "Text2"), nullptr);
    EXPECT_EQ(Page.Title, "BILD.PIC");
}

TEST_F(FileTest, ReportPicturesFromMemoryAndFromFiles) {
    const QString Path = Dir.filePath("pic.bmp");
    ASSERT_TRUE(Filled(8, 4, qRgb(10, 20, 30)).save(Path, "BMP"));

    TReportProject P;
    P.SelectReport("Fontreport");
    P.SetParam("imagepathfont1", Path);
    P.SetImage("IMAGEPATHFONT2", Filled(3, 5, qRgb(200, 0, 0)));
    TReportPage Page = P.Layout();
    EXPECT_EQ(Find(Page, "bitmapFont1")->Image, Filled(8, 4, qRgb(10, 20, 30)));
    EXPECT_EQ(Find(Page, "bitmapFont2")->Image.size(), QSize(3, 5));
    EXPECT_TRUE(P.GetParam("ImagePathFont2").isEmpty());

    // A picture in memory lasts one print only.
    P.ReleaseImages();
    EXPECT_TRUE(Find(P.Layout(), "bitmapFont2")->Image.isNull());

    // A path that cannot be read is an error, not an empty page.
    P.SetParam("ImagePathFont1", Dir.filePath("gone.bmp"));
    EXPECT_THROW(P.Layout(), EInOutError);
    WriteWholeFile(Dir.filePath("junk.bmp"), QByteArray("not a picture"));
    P.SetParam("ImagePathFont1", Dir.filePath("junk.bmp"));
    EXPECT_THROW(P.Layout(), EConvertError);

    // Nothing selected: the print cannot run.
    EXPECT_FALSE(P.SelectReport("Unknown"));
    EXPECT_THROW(P.Layout(), EMorvanelError);
}

TEST(ReportLayout, PictureFitsItsBoxWithAspectKept) {
    const QRectF Box(0.9, 1.0, 6.9, 3.5);
    // Full height centred across at the box's top, or full width (fuzzy compares).
    const double W = 3.5 * 320 / 192;
    EXPECT_EQ(FitPictureRect(Box, QSize(320, 192)), QRectF(0.9 + (6.9 - W) / 2, 1.0, W, 3.5));
    EXPECT_EQ(FitPictureRect(Box, QSize(289, 73)).size(), QSizeF(6.9, 6.9 * 73 / 289));
    EXPECT_TRUE(FitPictureRect(Box, QSize(0, 10)).isNull());
    // An empty job still prints one empty page.
    TReportJob Job;
    EXPECT_EQ(Job.PageCount(), 0);
    ASSERT_EQ(Job.PrintedPages().size(), 1);
    EXPECT_TRUE(Job.PrintedPages().first().Elements.isEmpty());
}

TEST(ReportLayout, FlowingTextBreaksIntoOrderedPages) {
    QTextDocument Doc;
    QString Text;
    for (int I = 0; I < 300; ++I) Text += QStringLiteral("Line %1 of the flowing text\n").arg(I);
    Doc.setPlainText(Text);
    Doc.setDefaultFont(QFont(QStringLiteral("Liberation Mono"), 10));

    TReportJob Job;
    Job.AddFlowingText(Doc, 1.0, 7.0, 2);
    ASSERT_GE(Job.PageCount(), 4); // 302 lines of about 1/6 inch on 10-inch pages
    const TReportFlowText& Flow = *Job.Pages().first().Elements.first().Flow;
    EXPECT_EQ(Flow.PageCount(), Job.PageCount());
    EXPECT_EQ(std::make_pair(Flow.Section().left(), Flow.Section().width()), std::make_pair(1.0, 6.0));
    // The two leading breaks.
    EXPECT_TRUE(Flow.Document().begin().text().isEmpty() && Flow.Document().begin().next().text().isEmpty());

    // Every line once and in order on the printed pages is checked on the PDF output.
    EXPECT_TRUE(Flow.PageHtml(0).contains("Line 0 of"));
    EXPECT_FALSE(Flow.PageHtml(1).contains("Line 0 of"));
}

TEST(ReportLayer, RaisedAndLoweredTextReachesHtmlAsSuperAndSubscript) {
    QTextDocument Doc;
    QTextCursor C(&Doc);
    C.insertText("x");
    for (double Offset : {25.0, -25.0}) {
        QTextCharFormat F;
        F.setVerticalAlignment(QTextCharFormat::AlignBaseline);
        F.setBaselineOffset(Offset);
        C.insertText(Offset > 0 ? "up" : "down", F);
    }
    C.insertText("y", QTextCharFormat());
    const TReportFlowText Flow(Doc, 1.0, 7.0, 1.0, 10.0, 0);
    const QString Html = Flow.PageHtml(0);
    EXPECT_TRUE(Html.contains("vertical-align:super;\">up<") &&
                Html.contains("vertical-align:sub;\">down<") && Html.contains(">x") && Html.contains("y</p>"))
        << Html.toStdString();
}

// Each line of a flowing text is drawn on its own page only, also across a page break.
TEST(ReportLayout, FlowingTextDrawsEachLineOnItsPageOnly) {
    QTextDocument Doc;
    Doc.setDefaultFont(QFont(QStringLiteral("Liberation Mono"), 10));
    QStringList Words, Paragraphs; // 12 paragraphs of 300 words
    for (int I = 0; I < 12 * 300; ++I)
        Words << QStringLiteral("w%1x%2").arg(I / 300).arg(I % 300, 3, 10, QLatin1Char('0'));
    for (int P = 0; P < 12; ++P) Paragraphs << Words.mid(P * 300, 300).join(' ') + ' ';
    Doc.setPlainText(Paragraphs.join('\n') + '\n');
    TReportJob Job;
    Job.AddFlowingText(Doc, 1.0, 7.0, 2);
    ASSERT_GE(Job.PageCount(), 4);
    TTextRecorder Recorder;
    for (const TReportPage& Page : Job.Pages()) {
        QPainter P(&Recorder);
        PaintReportPage(P, Page);
    }
    EXPECT_EQ(Recorder.Texts.join(QLatin1Char(' ')).split(QLatin1Char(' '), Qt::SkipEmptyParts), Words);
}
