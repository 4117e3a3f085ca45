#pragma once
// The report layer: one-page report designs held as data (elements placed in inches
// on a US Letter page and bound to string parameters), the pages laid out from
// them, and jobs that collect pages (designed pages and flowing rich text) for the
// outputs of ReportOutput.h.
#include <QHash>
#include <QImage>
#include <QPair>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

class QPainter;
class QTextDocument;

// US Letter, portrait.
constexpr double ReportPageWidthInch = 8.5;
constexpr double ReportPageHeightInch = 11.0;

enum class TReportElementKind {
    Rect,  // frame, no fill
    Line,  // horizontal rule at Box.top() over Box.width()
    Text,  // one line in the box's width
    Memo,  // word-wrapped text clipped to the box
    Image, // picture fitted into the box
    Flow   // one page of a flowing rich text (jobs only)
};

class TReportFlowText;

// One element of a design or of a laid-out page. In a design, Text is the design
// text and Param the parameter that fills it (a text element takes the value as its
// text, an image element as the path of its picture). In a page, Text and Image hold
// what is printed.
struct TReportElement {
    TReportElementKind Kind = TReportElementKind::Text;
    QString Name;
    QRectF Box;             // inches from the page's top-left corner
    double LineWidth = 1.0; // points
    QString Text;
    QString Param;
    // Printed only while this parameter is empty.
    QString OnlyWhenEmpty;
    QString FontFamily = QStringLiteral("Arial");
    double FontSize = 10.0; // points
    bool Bold = false;
    int Align = Qt::AlignLeft; // or Qt::AlignHCenter, Qt::AlignRight
    QImage Image;
    // Flow elements: the text and the index of its page.
    std::shared_ptr<const TReportFlowText> Flow;
    int FlowPage = 0;

    // Height of a text element's line, in inches.
    double LineHeight() const { return FontSize * 1.25 / 72.0; }
};

struct TReportDesign {
    QString Name;
    QVector<TReportElement> Elements;
};

// The seven designs of the program.
const QVector<TReportDesign>& ReportDesigns();
// The design of that name, compared without regard to case; nullptr when unknown.
const TReportDesign* FindReportDesign(const QString& Name);
// The eleven parameters the designs and windows use.
const QStringList& ReportParamNames();
// The small logo every design carries.
QImage ReportLogo();
// The fixed footer line of the designs.
QString ReportFixedFooterText();

// Font families for a design font, with the stand-ins present on the system.
QStringList ReportFontFamilies(const QString& Family);

// Where a picture of PictureSize lands in Box: as large as fits with its aspect
// kept, centred horizontally, at the box's top. Empty for an empty picture.
QRectF FitPictureRect(const QRectF& Box, const QSize& PictureSize);

// A laid-out page: what is printed and where.
struct TReportPage {
    QString ReportName;
    QString Title; // value of Titel when the page was laid out
    QVector<TReportElement> Elements;
};

// A rich text that flows over as many pages as it needs between two margins.
class TReportFlowText {
public:
    // Copies Doc, puts LeadingBreaks empty lines before it and breaks it into pages
    // of the section between TopInch and BottomInch, printed from LeftInch to RightInch.
    TReportFlowText(const QTextDocument& Doc, double LeftInch, double RightInch, double TopInch,
                    double BottomInch, int LeadingBreaks);
    ~TReportFlowText();
    TReportFlowText(const TReportFlowText&) = delete;
    TReportFlowText& operator=(const TReportFlowText&) = delete;

    int PageCount() const { return int(FRanges.size()); }
    QRectF Section() const { return FSection; } // inches
    // Character range [first, last) of a page in Document().
    QPair<int, int> PageRange(int Page) const;
    const QTextDocument& Document() const { return *FDoc; }
    // Draws one page into Target (device pixels of the section).
    void DrawPage(QPainter& P, int Page, const QRectF& Target) const;
    // The page's text as an HTML fragment.
    QString PageHtml(int Page) const;

private:
    QImage FLayoutDevice; // fixes the resolution the text is laid out at
    std::unique_ptr<QTextDocument> FDoc;
    QRectF FSection;
    double FPageHeight = 0; // in layout units
    double FUnitsPerInch = 0;
    // Per page: the vertical band of its lines (layout units) and their characters.
    struct TBand {
        double Top, Bottom;
    };
    QVector<TBand> FBands;
    QVector<QPair<int, int>> FRanges;
};

// The pages of one print, in order. An empty job prints one empty page.
class TReportJob {
public:
    void AddPage(const TReportPage& Page) { FPages.append(Page); }
    // Appends the pages of a flowing rich text (the text of a document window).
    // The section runs from 0.5 to 10.5 inches from the top of the page.
    void AddFlowingText(const QTextDocument& Doc, double LeftInch, double RightInch, int LeadingBreaks = 0,
                        double TopInch = 0.5, double BottomInch = 10.5);
    const QVector<TReportPage>& Pages() const { return FPages; }
    int PageCount() const { return int(FPages.size()); }
    // Pages to print: the job's pages, or one empty page when there are none.
    QVector<TReportPage> PrintedPages() const;
    // Title of the job for documents: the first page's title, else "Morvanel".
    QString Title() const;

private:
    QVector<TReportPage> FPages;
};

// The report project: the designs, the parameters (names compared without regard to
// case; values stay for the rest of the run, across reports) and the report chosen.
class TReportProject {
public:
    TReportProject();
    // Selects the design of that name (case-blind); false, and nothing selected,
    // when there is none.
    bool SelectReport(const QString& Name);
    // Stored name of the selected design; empty when none is selected.
    QString SelectedReport() const;
    void SetParam(const QString& Name, const QString& Value);
    QString GetParam(const QString& Name) const;
    // An image parameter's picture given in memory: the parameter's path is emptied
    // and the picture stands in for the file until ReleaseImages.
    void SetImage(const QString& Name, const QImage& Image);
    void ReleaseImages();
    // Lays out the selected design with the parameters as they are now. Throws
    // EMorvanelError when no report is selected, EInOutError or EConvertError when
    // a picture named by a path cannot be read.
    TReportPage Layout() const;

private:
    const TReportDesign* FSelected = nullptr;
    QString FAsked; // the name last asked for, for the error text
    QHash<QString, QString> FParams;
    QHash<QString, QImage> FImages;
};

// Draws a page on a painter whose origin is the paper's top-left corner; the
// painter's device gives the resolution.
void PaintReportPage(QPainter& P, const TReportPage& Page);
