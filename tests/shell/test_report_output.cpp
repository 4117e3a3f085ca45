// Report outputs through the project: PDF (rendered back with pdftoppm), HTML, RTF,
// the printer path, temporary pictures and the output-options dialog.
#include "RichTextSink.h"
#include "test_drive_events.h"
#include "test_shell_common.h"
#include "uFGlobal.h"

#include <QDir>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextDocument>

namespace {
QImage TwoColourPicture() {
    QImage Img(320, 192, QImage::Format_RGB32);
    Img.fill(qRgb(255, 0, 0));
    for (int Y = 0; Y < 192; ++Y)
        for (int X = 160; X < 320; ++X) Img.setPixel(X, Y, qRgb(0, 0, 255));
    return Img;
}

QImage Strip(int Index) {
    QImage Img(64, 88, QImage::Format_RGB32);
    Img.fill(qRgb(40 * Index, 255 - 60 * Index, 90));
    for (int I = 0; I < 88; I += 8) Img.setPixel(Index * 7, I, qRgb(0, 0, 0));
    return Img;
}

// Pages of a PDF file, each on Letter paper.
void ExpectLetterPages(const QByteArray& Pdf, int Pages) {
    const QString Text = QString::fromLatin1(Pdf);
    EXPECT_EQ(Text.count(QRegularExpression("/Type\\s*/Page(?![a-zA-Z])")), Pages);
    EXPECT_TRUE(
        Text.contains(QRegularExpression("/MediaBox\\s*\\[\\s*0\\s+0\\s+612(\\.0*)?\\s+792(\\.0*)?\\s*\\]")));
}

// Runs a poppler tool; its standard output, and its complaints in Errors.
QString RunPoppler(const QString& Name, const QStringList& Args, QString* Errors = nullptr) {
    const QString Tool = QStandardPaths::findExecutable(Name);
    if (Tool.isEmpty()) return QString();
    QProcess P;
    P.start(Tool, Args);
    if (!P.waitForFinished(60000)) return QString();
    if (Errors) *Errors = QString::fromUtf8(P.readAllStandardError());
    return QString::fromUtf8(P.readAllStandardOutput());
}

// First page of a PDF as a picture at Dpi, through poppler's renderer.
QImage RenderPdf(const QString& Pdf, int Dpi) {
    RunPoppler("pdftoppm",
               {"-r", QString::number(Dpi), "-png", "-singlefile", "-f", "1", "-l", "1", Pdf, Pdf});
    return QImage(Pdf + ".png").convertToFormat(QImage::Format_RGB32);
}

// The page's pixel at the given inches is near the colour.
bool Near(const QImage& Img, int Dpi, double XInch, double YInch, QRgb B) {
    const QRgb A = Img.pixel(int(XInch * Dpi), int(YInch * Dpi));
    return std::abs(qRed(A) - qRed(B)) < 40 && std::abs(qGreen(A) - qGreen(B)) < 40 &&
           std::abs(qBlue(A) - qBlue(B)) < 40;
}

int DarkPixels(const QImage& Img, int Dpi, const QRectF& Inches) {
    int N = 0;
    for (int Y = int(Inches.top() * Dpi); Y < int(Inches.bottom() * Dpi); ++Y)
        for (int X = int(Inches.left() * Dpi); X < int(Inches.right() * Dpi); ++X)
            N += qGray(Img.pixel(X, Y)) < 128;
    return N;
}

QList<QImage> EmbeddedPictures(const QString& Html, const QString& Alt) {
    QList<QImage> List;
    QRegularExpression Re(
        QStringLiteral("<img alt=\"%1\" style=\"[^\"]*\" src=\"data:image/png;base64,([^\"]+)\">")
            .arg(QRegularExpression::escape(Alt)));
    for (auto It = Re.globalMatch(Html); It.hasNext();)
        List << QImage::fromData(QByteArray::fromBase64(It.next().captured(1).toLatin1()), "PNG")
                    .convertToFormat(QImage::Format_RGB32);
    return List;
}

QStringList TempEntries() {
    return QDir(TempFolder()).entryList(QDir::Files | QDir::NoDotAndDotDot);
}

// The characters of an RTF body and their baseline offsets in half-points (\up raised, \dn lowered).
std::pair<QString, QVector<int>> RtfText(const QByteArray& Rtf) {
    static const QRegularExpression Token(R"(\{|\}|\\([a-z]+)(-?\d*) ?|\\'(..)|\\?([^\r\n]))");
    std::pair<QString, QVector<int>> Out;
    QVector<int> Offsets{0}; // per group
    for (const QRegularExpressionMatch& M :
         Token.globalMatch(QString::fromLatin1(Rtf.mid(Rtf.indexOf("\\sectd"))))) {
        const QString Word = M.captured(1);
        if (M.captured(0) == "{")
            Offsets.append(Offsets.last());
        else if (M.captured(0) == "}" && Offsets.size() > 1)
            Offsets.removeLast();
        else if (Word == "up" || Word == "dn" || Word == "plain")
            Offsets.last() = M.captured(2).toInt() * (Word == "dn" ? -1 : 1);
        else if (M.hasCaptured(3) || M.hasCaptured(4)) {
            Out.first += M.hasCaptured(3) ? QChar(M.captured(3).toUShort(nullptr, 16)) : M.captured(4)[0];
            Out.second << Offsets.last();
        }
    }
    return Out;
}

class ReportOutput : public FileTest {
protected:
    TfGlobal Project;
};
} // namespace

TEST_F(ReportOutput, GraphicReportPdfShowsPictureInItsBoxAndTitle) {
    const QString Pdf = Dir.filePath("graphic.pdf");
    PrintReportsTo(Pdf);
    EXPECT_TRUE(Project.SelectReport("graphicreport"));
    EXPECT_EQ(Project.SelectedReport(), "GraphicReport");
    Project.SetParam("Titel", "TITLE WWW MMM.PIC");
    Project.SetImage("ImagepathGraphic", TwoColourPicture());
    ASSERT_TRUE(Project.Execute());

    ExpectLetterPages(ReadWholeFile(Pdf), 1);
    constexpr int Dpi = 50;
    const QImage Page = RenderPdf(Pdf, Dpi);
    ASSERT_FALSE(Page.isNull()) << "pdftoppm (poppler-utils) is needed";
    EXPECT_EQ(Page.size(), QSize(425, 550));
    // Box 0.9, 1.0, 6.9 x 3.5 inches; the 5:3 picture fills its height and is centred:
    // 5.8333 inches wide from x = 1.4333.
    EXPECT_TRUE(Near(Page, Dpi, 1.5, 1.05, qRgb(255, 0, 0)));
    EXPECT_TRUE(Near(Page, Dpi, 7.2, 4.45, qRgb(0, 0, 255)));
    EXPECT_TRUE(Near(Page, Dpi, 1.15, 2.75, qRgb(255, 255, 255)));
    EXPECT_TRUE(Near(Page, Dpi, 4.0, 4.7, qRgb(255, 255, 255)));
    // The border frame is drawn.
    EXPECT_LT(qGray(Page.pixel(39, 250)) + qGray(Page.pixel(40, 250)), 400);
    const QRectF TitleArea(1.25, 0.52, 3.0, 0.16);
    EXPECT_GT(DarkPixels(Page, Dpi, TitleArea), 10);

    // Without a title the same area stays white (the title made those pixels dark).
    Project.SetParam("TITEL", "");
    Project.SetImage("ImagePathGraphic", TwoColourPicture());
    ASSERT_TRUE(Project.Execute());
    EXPECT_EQ(DarkPixels(RenderPdf(Pdf, Dpi), Dpi, TitleArea), 0);
}

TEST_F(ReportOutput, ThreeStripPagesAsPdfHtmlAndRtf) {
    const auto Fill = [this](TReportJob& Job) {
        for (int I = 0; I < 3; ++I) {
            Project.SelectReport("TextGraphicReport");
            Project.SetParam("Titel", "DEMO.TXT");
            Project.SetParam("PageNumText", QStringLiteral("%1 / %2").arg(I + 1).arg(3));
            Project.SetImage("ImagepathText", Strip(I));
            Project.AddPage(Job);
        }
    };
    const QString Pdf = Dir.filePath("strips.pdf");
    PrintReportsTo(Pdf);
    ASSERT_TRUE(Project.ExecuteJob(Fill));
    ExpectLetterPages(ReadWholeFile(Pdf), 3);

    const QString Html = Dir.filePath("strips"); // the extension is appended
    PrintReportsTo(Html, TReportFileFormat::HTML);
    ASSERT_TRUE(Project.ExecuteJob(Fill));
    const QString Text = QString::fromUtf8(ReadWholeFile(Html + ".html"));
    const qsizetype P1 = Text.indexOf("1 / 3"), P2 = Text.indexOf("2 / 3"), P3 = Text.indexOf("3 / 3");
    EXPECT_TRUE(P1 > 0 && P2 > P1 && P3 > P2);
    EXPECT_EQ(Text.count("<div class=\"page\">"), 3);
    EXPECT_EQ(EmbeddedPictures(Text, "bitmapText"), (QList<QImage>{Strip(0), Strip(1), Strip(2)}));
    EXPECT_EQ(EmbeddedPictures(Text, "bitmapLogo").size(), 3);
    EXPECT_FALSE(Text.contains("src=\"file:"));

    // RTF of a job built beforehand: Letter paper, page breaks, the strips byte-exact
    // from their hex PNG data.
    TReportJob Job;
    Fill(Job);
    const QString Path = Dir.filePath("l.rtf");
    PrintReportsTo(Path, TReportFileFormat::RTF);
    ASSERT_TRUE(Project.ExecuteJob(Job));
    const QString R = QString::fromLatin1(ReadWholeFile(Path));
    EXPECT_TRUE(R.startsWith("{\\rtf1"));
    EXPECT_TRUE(R.contains("\\paperw12240\\paperh15840"));
    EXPECT_EQ(R.count("\\page\\par"), 2);
    EXPECT_EQ(R.count('{'), R.count('}'));
    QRegularExpression Pict(
        QStringLiteral("\\{\\\\pict\\\\pngblip\\\\picw(\\d+)\\\\pich(\\d+)[^\\n]*\\n([0-9a-f\\n]+)\\}"));
    QList<QImage> Found;
    for (auto It = Pict.globalMatch(R); It.hasNext();) {
        const auto M = It.next();
        const QImage Img =
            QImage::fromData(QByteArray::fromHex(M.captured(3).remove('\n').toLatin1()), "PNG");
        EXPECT_EQ(Img.size(), QSize(M.captured(1).toInt(), M.captured(2).toInt()));
        if (Img.size() == QSize(64, 88)) Found << Img.convertToFormat(QImage::Format_RGB32);
    }
    EXPECT_EQ(Found, (QList<QImage>{Strip(0), Strip(1), Strip(2)}));
    EXPECT_TRUE(R.contains("\\dprect"));
    EXPECT_TRUE(R.contains("3 / 3"));

    // The pictures were released with the prints.
    EXPECT_TRUE(Project.SelectReport("TextGraphicReport"));
    int Strips = 0;
    for (const TReportElement& E : Project.LayoutSelected().Elements)
        if (E.Name == "bitmapText") Strips += E.Image.isNull() ? 1 : 100;
    EXPECT_EQ(Strips, 1);
}

TEST_F(ReportOutput, FileNamesInTextsAreEscaped) {
    Project.SelectReport("GraphicReport");
    Project.SetParam("Titel", "<a&b>.GR8");
    const QString Html = Dir.filePath("t.html");
    PrintReportsTo(Html, TReportFileFormat::HTML);
    ASSERT_TRUE(Project.Execute());
    const QString Text = QString::fromUtf8(ReadWholeFile(Html));
    EXPECT_TRUE(Text.contains("&lt;a&amp;b&gt;.GR8"));
    EXPECT_FALSE(Text.contains("<a&b>"));
    EXPECT_TRUE(Text.contains("<title>&lt;a&amp;b&gt;.GR8</title>"));

    Project.SetParam("Titel", "{x}\\y \xc3\xa4%1.GR8");
    const QString Rtf = Dir.filePath("t.rtf");
    PrintReportsTo(Rtf, TReportFileFormat::RTF);
    ASSERT_TRUE(Project.Execute());
    const QByteArray R = ReadWholeFile(Rtf);
    EXPECT_TRUE(R.contains("\\{x\\}\\\\y \\u228?%1.GR8"));
    EXPECT_FALSE(R.contains("{x}"));
}

TEST_F(ReportOutput, NoTemporaryPictureRemainsAfterPrints) {
    const QStringList Before = TempEntries();
    {
        TReportTempImage Tmp(TwoColourPicture(), "temppic");
        EXPECT_TRUE(Tmp.Path().startsWith(TempFolder()));
        Project.SelectReport("GraphicReport");
        Project.SetParam("ImagePathGraphic", Tmp.Path());
        PrintReportsTo(Dir.filePath("ok.pdf"));
        EXPECT_TRUE(Project.Execute());
        TReportTempImage Second(TwoColourPicture(), "temppic");
        EXPECT_NE(Second.Path(), Tmp.Path());
    }
    EXPECT_EQ(TempEntries(), Before);

    // A print that fails on writing its file still leaves nothing behind.
    const auto FailingPrint = [this] {
        TReportTempImage One(Strip(0), "tmpFontPic1");
        TReportTempImage Two(Strip(1), "tmpFontPic2");
        Project.SelectReport("FontReport");
        Project.SetParam("ImagePathFont1", One.Path());
        Project.SetParam("ImagePathFont2", Two.Path());
        PrintReportsTo(Dir.filePath("no/such/folder/x.pdf"));
        Project.Execute();
    };
    EXPECT_THROW(FailingPrint(), EInOutError);
    EXPECT_EQ(TempEntries(), Before);
    EXPECT_THROW(TReportTempImage(QImage(), "temppic"), EInOutError);
    EXPECT_EQ(TempEntries(), Before);
}

TEST_F(ReportOutput, CancelWritesNothingAndPreviewShowsThePage) {
    SetReportOutputHook([](TReportOutputChoice&) { return false; });
    Project.SelectReport("GraphicReport");
    Project.SetImage("ImagePathGraphic", TwoColourPicture());
    EXPECT_FALSE(Project.Execute());
    bool Filled = false;
    EXPECT_FALSE(Project.ExecuteJob([&](TReportJob&) { Filled = true; }));
    EXPECT_FALSE(Filled);
    EXPECT_TRUE(QDir(Dir.path()).isEmpty());
    EXPECT_THROW(Project.ExecuteReport("NoSuchReport"), EMorvanelError);

    SetReportOutputHook([](TReportOutputChoice& C) {
        C.Destination = TReportDestination::Preview;
        return true;
    });
    int Pages = -1;
    Project.SelectReport("GraphicReport");
    Project.SetImage("ImagePathGraphic", TwoColourPicture());
    EXPECT_TRUE(drive::WhileModal([&] { EXPECT_TRUE(Project.Execute()); },
                                  [&](QWidget* W) {
                                      if (auto* View = W->findChild<QPrintPreviewWidget*>())
                                          Pages = View->pageCount();
                                      W->close();
                                  }));
    EXPECT_EQ(Pages, 1);
}

TEST_F(ReportOutput, PrinterPathHonoursPageRangeAndFlowingText) {
    QTextDocument Doc;
    QString Text;
    for (int I = 0; I < 200; ++I) Text += QStringLiteral("Zeile %1\n").arg(I);
    Doc.setPlainText(Text);
    TReportJob Job;
    Job.AddFlowingText(Doc, 1.0, 7.0, 2);
    ASSERT_GE(Job.PageCount(), 3);

    QPrinter Printer(QPrinter::HighResolution);
    Printer.setOutputFormat(QPrinter::PdfFormat);
    Printer.setOutputFileName(Dir.filePath("printer.pdf"));
    Printer.setPageSize(QPageSize(QPageSize::Letter));
    Printer.setPrintRange(QPrinter::PageRange);
    Printer.setFromTo(2, 3);
    PrintReportJob(Job, Printer);
    ExpectLetterPages(ReadWholeFile(Dir.filePath("printer.pdf")), 2);
    Printer.setCopyCount(3); // a file holds every copy
    PrintReportJob(Job, Printer);
    ExpectLetterPages(ReadWholeFile(Dir.filePath("printer.pdf")), 6);
    // Printing to a file saves like every writer: a folder behind the name is refused.
    const QString Folder = Dir.filePath("folder"), Link = Dir.filePath("link.pdf");
    ASSERT_TRUE(QDir().mkdir(Folder));
    ASSERT_TRUE(QFile::link(Folder, Link));
    Printer.setOutputFileName(Link);
    EXPECT_EQ(ErrorOf([&] { PrintReportJob(Job, Printer); }),
              QString::number(ioNotRegularFile) + ": Keine gewöhnliche Datei, sondern ein Ordner (" + Link +
                  ")");

    EXPECT_TRUE(QString::fromUtf8(ReportToHtml(Job)).contains("Zeile 199"));
    const QString Rtf = QString::fromLatin1(ReportToRtf(Job));
    EXPECT_TRUE(Rtf.contains("Zeile 199"));
    EXPECT_EQ(Rtf.count("\\page\\par"), Job.PageCount() - 1);
}

TEST(ReportOptionsDialog, ChoiceExtensionsAndOkWithoutFileName) {
    TReportOutputChoice In;
    In.Destination = TReportDestination::File;
    In.Format = TReportFileFormat::HTML;
    In.FileName = "/tmp/out";
    TfrmReportOptions Dlg;
    Dlg.SetChoice(In);
    EXPECT_EQ(Dlg.Choice().FileName, "/tmp/out.html");
    // A new format replaces our own extension; the preview needs no file.
    Dlg.edFileName->setText("/tmp/report.html");
    Dlg.cbFormat->setCurrentIndex(int(TReportFileFormat::RTF));
    EXPECT_EQ(Dlg.edFileName->text(), "/tmp/report.rtf");
    Dlg.rbPreview->setChecked(true);
    EXPECT_FALSE(Dlg.edFileName->isEnabled());
    EXPECT_EQ(Dlg.Choice().Destination, TReportDestination::Preview);
    EXPECT_EQ(ReportFileNameWithExt("a.HTM", TReportFileFormat::HTML), "a.HTM");
    EXPECT_EQ(ReportFileNameWithExt("a.v2", TReportFileFormat::PDF), "a.v2.pdf");

    // OK without a file name asks for one; cancelling that keeps the dialog from accepting.
    In.Format = TReportFileFormat::RTF;
    In.FileName.clear();
    TfrmReportOptions Asks, Cancelled;
    Asks.SetChoice(In);
    Cancelled.SetChoice(In);
    QString Filter;
    const QTemporaryDir Folder; // OK checks the folder of the chosen file
    SetFileDialogHook([&](TFileDialogRequest& R, QStringList& Files) {
        Filter = R.Filter;
        Files << Folder.filePath("chosen");
        return R.Save;
    });
    Asks.btnOKClick();
    EXPECT_EQ(Filter, "Rich Text Format (RTF)|*.rtf");
    EXPECT_EQ(Asks.result(), QDialog::Accepted);
    EXPECT_EQ(Asks.Choice().FileName, Folder.filePath("chosen.rtf"));
    SetFileDialogHook([](TFileDialogRequest&, QStringList&) { return false; });
    Cancelled.btnOKClick();
    SetFileDialogHook(nullptr);
    EXPECT_EQ(Cancelled.result(), QDialog::Rejected);
}

// Each line of a flowing text lies on exactly one page: none is printed again,
// clipped, at the foot of the page before.
TEST_F(ReportOutput, FlowingTextPdfHoldsEveryLineOnce) {
    QTextDocument Doc;
    QFont Courier(QStringLiteral("Courier New"), 10);
    Courier.setStyleHint(QFont::TypeWriter);
    Doc.setDefaultFont(Courier);
    QStringList Expected;
    for (int I = 0; I < 300; ++I) Expected << QStringLiteral("Zeile %1 Ende").arg(I, 3, 10, QLatin1Char('0'));
    Doc.setPlainText(Expected.join('\n'));
    TReportJob Job;
    Job.AddFlowingText(Doc, 1.0, 7.0, 2);
    ASSERT_GE(Job.PageCount(), 4);
    const QString Pdf = Dir.filePath("flow.pdf");
    WriteReportFile(Job, TReportFileFormat::PDF, Pdf);
    const QString Extracted = RunPoppler("pdftotext", {"-layout", Pdf, "-"});
    ASSERT_FALSE(Extracted.isEmpty()) << "pdftotext (poppler-utils) is needed";
    QStringList Found;
    for (const QString& Line : Extracted.split('\n'))
        if (!Line.trimmed().isEmpty()) Found << Line.trimmed();
    EXPECT_EQ(Found.join('\n').toStdString(), Expected.join('\n').toStdString());
}

// Raised and lowered runs of a flowing text keep their offset in RTF; DEL stays a character.
TEST_F(ReportOutput, FlowingTextRtfKeepsRaisedAndLoweredText) {
    QTextDocument Doc;
    Doc.setDefaultFont(QFont(QStringLiteral("Courier New"), 10));
    TTextDocumentSink Sink(Doc);
    for (const auto& [Offset, Text] : {std::pair{0, "H"}, {-60, "2"}, {0, "O x"}, {60, "2"}, {0, "\x7f."}}) {
        Sink.SetOffset(Offset);
        Sink.InsertText(QString::fromLatin1(Text));
    }
    TReportJob Job;
    Job.AddFlowingText(Doc, 1.0, 7.0, 2);
    const QByteArray Rtf = ReportToRtf(Job);
    EXPECT_FALSE(Rtf.contains('\x7f')); // a control character to RTF readers
    EXPECT_EQ(RtfText(Rtf),
              std::make_pair(QStringLiteral("H2O x2\x7f."), QVector<int>{0, -6, 0, 0, 0, 6, 0, 0}));
}

// The documents name the program as author, creator and producer, and stay well
// formed.
TEST_F(ReportOutput, PdfNamesTheProgramAndKeepsItsTableExact) {
    Project.SelectReport("GraphicReport");
    Project.SetParam("Titel", QString::fromUtf8("Bild \xC3\xA4 (1).PIC"));
    Project.SetImage("ImagePathGraphic", TwoColourPicture());
    const QString Pdf = Dir.filePath("info.pdf");
    PrintReportsTo(Pdf);
    ASSERT_TRUE(Project.Execute());
    QString Errors;
    const QString Info = RunPoppler("pdfinfo", {Pdf}, &Errors);
    ASSERT_FALSE(Info.isEmpty()) << "pdfinfo (poppler-utils) is needed";
    EXPECT_TRUE(Errors.isEmpty()) << Errors.toStdString();
    for (const char* Key : {"Author", "Creator", "Producer"})
        EXPECT_TRUE(QRegularExpression(QStringLiteral("(^|\n)%1:\\s+TEVRA-Morvanel\n").arg(Key))
                        .match(Info)
                        .hasMatch())
            << Key << "\n"
            << Info.toStdString();
    EXPECT_TRUE(
        Info.contains(QRegularExpression(QString::fromUtf8("Title:\\s+Bild \xC3\xA4 \\(1\\)\\.PIC\n"))))
        << Info.toStdString();
    EXPECT_TRUE(Info.contains(QRegularExpression("Pages:\\s+1\n")));

    // Rendering fetches every object the page uses: an entry of the cross-reference
    // table off its object makes poppler complain.
    RunPoppler("pdftoppm", {"-r", "20", "-png", Pdf, Pdf}, &Errors);
    EXPECT_TRUE(Errors.isEmpty()) << Errors.toStdString();
    // Something that is no PDF of Qt's shape comes back as it was.
    EXPECT_EQ(WithPdfDocumentInfo("%PDF-1.4\nnothing here\n", "x"), QByteArray("%PDF-1.4\nnothing here\n"));
}
