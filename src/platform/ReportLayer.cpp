#include "ReportLayer.h"

#include "FileIO.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <cmath>

// ------------------------------------------------------------------ designs

namespace {
using K = TReportElementKind;

TReportElement RectEl(const char* Name, double X, double Y, double W, double H) {
    TReportElement E;
    E.Kind = K::Rect;
    E.Name = QLatin1String(Name);
    E.Box = QRectF(X, Y, W, H);
    return E;
}

TReportElement LineEl(const char* Name, double X, double Y, double W) {
    TReportElement E;
    E.Kind = K::Line;
    E.Name = QLatin1String(Name);
    E.Box = QRectF(X, Y, W, 0);
    return E;
}

TReportElement TextEl(const char* Name, double X, double Y, double W, const QString& Text, const char* Param,
                      double Size, bool Bold, int Align) {
    TReportElement E;
    E.Kind = K::Text;
    E.Name = QLatin1String(Name);
    E.Text = Text;
    E.Param = QLatin1String(Param);
    E.FontSize = Size;
    E.Bold = Bold;
    E.Align = Align;
    E.Box = QRectF(X, Y, W, E.LineHeight());
    return E;
}

TReportElement ImageEl(const char* Name, double X, double Y, double W, double H, const char* Param) {
    TReportElement E;
    E.Kind = K::Image;
    E.Name = QLatin1String(Name);
    E.Box = QRectF(X, Y, W, H);
    E.Param = QLatin1String(Param);
    return E;
}

// Border, header, logo and title: every design starts with these.
void AddPageFrame(TReportDesign& D, const char* TitleText, bool TitleBold, double TitleX = 1.2,
                  double TitleW = 6.6) {
    D.Elements << RectEl("rectPageBorder", 0.7874, 0.3906, 7.0866, 10.0)
               << RectEl("recHeader", 0.7874, 0.3906, 7.0866, 0.3937);
    TReportElement Logo = ImageEl("bitmapLogo", 0.8268, 0.4528, 0.2756, 0.2756, "");
    Logo.Image = ReportLogo();
    D.Elements << Logo
               << TextEl("txtTitle", TitleX, 0.4921, TitleW, QString::fromUtf8(TitleText), "Titel", 12,
                         TitleBold, Qt::AlignLeft);
}

void AddFooter(TReportDesign& D, bool Bound) {
    D.Elements << LineEl("HLine1", 0.7874, 10.1, 7.0866)
               << TextEl("Footer1", 0.8661, 10.1969, 6.9685, Bound ? QString() : ReportFixedFooterText(),
                         Bound ? "PageFooterText" : "", 10, false, Qt::AlignHCenter);
}

QVector<TReportDesign> BuildDesigns() {
    QVector<TReportDesign> List;

    TReportDesign Graphic{QStringLiteral("GraphicReport"), {}};
    AddPageFrame(Graphic, "Graphic", false);
    Graphic.Elements << ImageEl("Bitmap1", 0.9, 1.0, 6.9, 3.5, "ImagePathGraphic");
    AddFooter(Graphic, true);
    // The fixed line sits where the filled footer goes; printing both would overlap.
    TReportElement Fixed =
        TextEl("Text2", 0.8661, 10.2, 6.9685, ReportFixedFooterText(), "", 10, false, Qt::AlignHCenter);
    Fixed.OnlyWhenEmpty = QStringLiteral("PageFooterText");
    Graphic.Elements << Fixed;
    List << Graphic;

    TReportDesign Font{QStringLiteral("Fontreport"), {}};
    AddPageFrame(Font, "FONT", true);
    Font.Elements << TextEl("lblATASCII", 0.9, 1.0, 1.0, QStringLiteral("ATASCII"), "", 10, true,
                            Qt::AlignLeft)
                  << ImageEl("bitmapFont1", 0.9, 1.3, 6.9, 2.0, "ImagePathFont1")
                  << TextEl("lblIntern", 0.9, 3.7, 1.0, QStringLiteral("Intern"), "", 10, true, Qt::AlignLeft)
                  << ImageEl("bitmapFont2", 0.9, 4.0, 6.9, 2.0, "ImagePathFont2");
    AddFooter(Font, true);
    List << Font;

    TReportDesign Table{QStringLiteral("ATASCTableReport"), {}};
    AddPageFrame(Table, "ATASCII-Tabelle", true, 1.1756, 6.6244);
    Table.Elements << ImageEl("bitmap1", 0.8106, 0.9913, 7.0181, 8.9685, "ImagePathATASCIITable");
    AddFooter(Table, true);
    List << Table;

    TReportDesign Map{QStringLiteral("FontMapReport"), {}};
    AddPageFrame(Map, "Font-Map", true, 1.1756, 6.5850);
    Map.Elements << ImageEl("Bitmap1", 0.8268, 0.8661, 7.0157, 9.2205, "ImagePathFontMap");
    AddFooter(Map, true);
    List << Map;

    const struct {
        const char* Name;
        const char* Title;
        const char* Strip;
        const char* Param;
    } Strips[] = {{"ListingGraphicReport", "LISTING", "bitmapListing", "ImagePathListing"},
                  {"TextGraphicReport", "TEXT", "bitmapText", "ImagePathText"}};
    for (const auto& S : Strips) {
        TReportDesign D{QLatin1String(S.Name), {}};
        AddPageFrame(D, S.Title, true);
        D.Elements << ImageEl(S.Strip, 0.9268, 0.8276, 6.8898, 9.5197, S.Param)
                   << TextEl("txtPageNum", 6.5354, 0.5118, 1.2362, QString(), "PageNumText", 10, false,
                             Qt::AlignRight);
        List << D;
    }

    TReportDesign Text{QStringLiteral("TextReport"), {}};
    AddPageFrame(Text, "TEXT", true);
    TReportElement Memo;
    Memo.Kind = K::Memo;
    Memo.Name = QStringLiteral("Memo1");
    Memo.Box = QRectF(0.9055, 0.8661, 6.8976, 9.1260);
    Text.Elements << Memo;
    AddFooter(Text, false);
    List << Text;
    return List;
}
} // namespace

const QVector<TReportDesign>& ReportDesigns() {
    static const QVector<TReportDesign> Designs = BuildDesigns();
    return Designs;
}

const TReportDesign* FindReportDesign(const QString& Name) {
    for (const TReportDesign& D : ReportDesigns())
        if (D.Name.compare(Name.trimmed(), Qt::CaseInsensitive) == 0) return &D;
    return nullptr;
}

const QStringList& ReportParamNames() {
    static const QStringList Names = {QStringLiteral("Titel"),
                                      QStringLiteral("PageFooterText"),
                                      QStringLiteral("PageNumText"),
                                      QStringLiteral("ImagePathGraphic"),
                                      QStringLiteral("ImagePathFont1"),
                                      QStringLiteral("ImagePathFont2"),
                                      QStringLiteral("ImagePathATASCIITable"),
                                      QStringLiteral("ImagePathFontMap"),
                                      QStringLiteral("ImagePathListing"),
                                      QStringLiteral("ImagePathText"),
                                      QStringLiteral("ImagePathFontLogo")};
    return Names;
}

QImage ReportLogo() {
    // A blue tile with a yellow "M" of three strokes: drawn, so no font is involved.
    static const QImage Logo = [] {
        QImage Img(64, 64, QImage::Format_RGB32);
        Img.fill(QColor(0x01, 0x4E, 0x9D));
        QPainter P(&Img);
        P.setRenderHint(QPainter::Antialiasing);
        QPainterPath M;
        M.moveTo(12, 52);
        M.lineTo(12, 12);
        M.lineTo(32, 36);
        M.lineTo(52, 12);
        M.lineTo(52, 52);
        P.setPen(QPen(QColor(255, 210, 0), 8, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        P.drawPath(M);
        return Img;
    }();
    return Logo;
}

QString ReportFixedFooterText() {
    return QStringLiteral("Morvanel A8-Viewer - TEVRA");
}

QRectF FitPictureRect(const QRectF& Box, const QSize& PictureSize) {
    if (PictureSize.isEmpty() || Box.isEmpty()) return QRectF();
    const double Scale = std::min(Box.width() / PictureSize.width(), Box.height() / PictureSize.height());
    const double W = PictureSize.width() * Scale, H = PictureSize.height() * Scale;
    return QRectF(Box.left() + (Box.width() - W) / 2, Box.top(), W, H);
}

// ------------------------------------------------------------------ project

TReportProject::TReportProject() {
    for (const QString& N : ReportParamNames()) FParams.insert(N.toLower(), QString());
}

bool TReportProject::SelectReport(const QString& Name) {
    FAsked = Name;
    FSelected = FindReportDesign(Name);
    return FSelected != nullptr;
}

QString TReportProject::SelectedReport() const {
    return FSelected ? FSelected->Name : QString();
}

void TReportProject::SetParam(const QString& Name, const QString& Value) {
    const QString Key = Name.trimmed().toLower();
    FParams.insert(Key, Value);
    FImages.remove(Key);
}

QString TReportProject::GetParam(const QString& Name) const {
    return FParams.value(Name.trimmed().toLower());
}

void TReportProject::SetImage(const QString& Name, const QImage& Image) {
    const QString Key = Name.trimmed().toLower();
    FParams.insert(Key, QString());
    FImages.insert(Key, Image);
}

void TReportProject::ReleaseImages() {
    FImages.clear();
}

static QImage LoadReportPicture(const QString& Path) {
    const QByteArray Data = ReadWholeFile(Path);
    QImage Img;
    // Pages of pictures as large as the program opens are ours, not invalid.
    QImageReader::setAllocationLimit(MaxPictureMegabytes);
    if (!Img.loadFromData(Data)) throw EConvertError(QStringLiteral("Ungültiges Bild: %1").arg(Path));
    return Img;
}

TReportPage TReportProject::Layout() const {
    if (!FSelected) throw EMorvanelError(QStringLiteral("Report \"%1\" nicht gefunden").arg(FAsked));
    TReportPage Page;
    Page.ReportName = FSelected->Name;
    Page.Title = GetParam(QStringLiteral("Titel"));
    for (const TReportElement& D : FSelected->Elements) {
        if (!D.OnlyWhenEmpty.isEmpty() && !GetParam(D.OnlyWhenEmpty).isEmpty()) continue;
        TReportElement E = D;
        if (!D.Param.isEmpty()) {
            const QString Key = D.Param.toLower();
            if (D.Kind == K::Image) {
                if (FImages.contains(Key))
                    E.Image = FImages.value(Key);
                else if (const QString Path = GetParam(Key); !Path.isEmpty())
                    E.Image = LoadReportPicture(Path);
                else
                    E.Image = QImage();
            } else {
                E.Text = GetParam(Key);
            }
        }
        Page.Elements << E;
    }
    return Page;
}

// ------------------------------------------------------------------ flowing text

TReportFlowText::TReportFlowText(const QTextDocument& Doc, double LeftInch, double RightInch, double TopInch,
                                 double BottomInch, int LeadingBreaks)
    : FLayoutDevice(1, 1, QImage::Format_RGB32), FDoc(Doc.clone()) {
    // The text is laid out at a fixed resolution, whatever device prints it later.
    constexpr int LayoutDpi = 300;
    FLayoutDevice.setDotsPerMeterX(qRound(LayoutDpi / 0.0254));
    FLayoutDevice.setDotsPerMeterY(qRound(LayoutDpi / 0.0254));
    FDoc->documentLayout()->setPaintDevice(&FLayoutDevice);
    FUnitsPerInch = FLayoutDevice.logicalDpiY();
    FSection =
        QRectF(LeftInch, TopInch, std::max(0.1, RightInch - LeftInch), std::max(0.1, BottomInch - TopInch));

    QTextCursor C(FDoc.get());
    C.movePosition(QTextCursor::Start);
    for (int I = 0; I < LeadingBreaks; ++I) C.insertBlock();

    FDoc->setDocumentMargin(0);
    FPageHeight = FSection.height() * FUnitsPerInch;
    FDoc->setPageSize(QSizeF(FSection.width() * FUnitsPerInch, FPageHeight));
    // Pages are cut between lines: a page takes every line that ends within a page
    // height from its first line's top, so no line lies on two pages (a line taller
    // than the page gets a page of its own and is clipped).
    QAbstractTextDocumentLayout* L = FDoc->documentLayout();
    for (QTextBlock B = FDoc->begin(); B.isValid(); B = B.next()) {
        const QRectF Br = L->blockBoundingRect(B);
        const QTextLayout* TL = B.layout();
        for (int I = 0; TL && I < TL->lineCount(); ++I) {
            const QTextLine Line = TL->lineAt(I);
            const double Top = Br.top() + Line.y();
            const double Bottom = Top + Line.height();
            const int First = B.position() + Line.textStart();
            const int Last = First + Line.textLength();
            if (FBands.isEmpty() || Bottom - FBands.last().Top > FPageHeight + 1e-6) {
                // The first page starts at the top of the section, later ones at their first line.
                FBands.append({FBands.isEmpty() ? std::min(0.0, Top) : Top, Bottom});
                FRanges.append(qMakePair(First, Last));
                continue;
            }
            FBands.last().Bottom = std::max(FBands.last().Bottom, Bottom);
            QPair<int, int>& R = FRanges.last();
            R.first = std::min(R.first, First);
            R.second = std::max(R.second, Last);
        }
    }
    if (FBands.isEmpty()) {
        FBands.append({0, 0});
        FRanges.append(qMakePair(0, 0));
    }
}

TReportFlowText::~TReportFlowText() = default;

QPair<int, int> TReportFlowText::PageRange(int Page) const {
    return Page >= 0 && Page < FRanges.size() ? FRanges.at(Page) : qMakePair(0, 0);
}

void TReportFlowText::DrawPage(QPainter& P, int Page, const QRectF& Target) const {
    if (Page < 0 || Page >= PageCount()) return;
    const double Width = FSection.width() * FUnitsPerInch;
    const TBand& Band = FBands.at(Page);
    P.save();
    P.translate(Target.topLeft());
    P.scale(Target.width() / Width, Target.height() / FPageHeight);
    P.setClipRect(QRectF(0, 0, Width, FPageHeight));
    P.translate(0, -Band.Top);
    // Only the page's own lines are drawn, line by line: the layout's own drawing
    // also draws the line above its clip inside a paragraph, and a clipped line is
    // still in a PDF's text (found and copied twice).
    P.setPen(Qt::black);
    const QAbstractTextDocumentLayout* L = FDoc->documentLayout();
    for (QTextBlock B = FDoc->findBlock(FRanges.at(Page).first); B.isValid(); B = B.next()) {
        const QRectF Br = L->blockBoundingRect(B);
        if (Br.top() > Band.Bottom) break;
        const QTextLayout* TL = B.layout();
        for (int I = 0; TL && I < TL->lineCount(); ++I) {
            const QTextLine Line = TL->lineAt(I);
            const double Middle = Br.top() + Line.y() + Line.height() / 2;
            if (Middle >= Band.Top && Middle <= Band.Bottom) Line.draw(&P, TL->position());
        }
    }
    P.restore();
}

QString TReportFlowText::PageHtml(int Page) const {
    const QPair<int, int> R = PageRange(Page);
    if (R.second <= R.first) return QString();
    QTextCursor C(FDoc.get());
    C.setPosition(R.first);
    C.setPosition(R.second, QTextCursor::KeepAnchor);
    // HTML knows no text raised at full size: raised and lowered runs go out as
    // superscript and subscript.
    QTextDocument Part;
    QTextCursor(&Part).insertFragment(QTextDocumentFragment(C));
    QVector<QPair<QPair<int, int>, bool>> Moved; // range, raised
    for (QTextBlock B = Part.begin(); B.isValid(); B = B.next())
        for (auto It = B.begin(); !It.atEnd(); ++It) {
            const QTextFragment F = It.fragment();
            const QTextCharFormat Format = F.charFormat();
            if (Format.verticalAlignment() == QTextCharFormat::AlignBaseline && Format.baselineOffset() != 0)
                Moved.append({{F.position(), F.position() + F.length()}, Format.baselineOffset() > 0});
        }
    for (const auto& M : Moved) {
        QTextCursor Run(&Part);
        Run.setPosition(M.first.first);
        Run.setPosition(M.first.second, QTextCursor::KeepAnchor);
        QTextCharFormat Format;
        Format.setVerticalAlignment(M.second ? QTextCharFormat::AlignSuperScript
                                             : QTextCharFormat::AlignSubScript);
        Run.mergeCharFormat(Format);
    }
    QString Html = Part.toHtml();
    const qsizetype BodyA = Html.indexOf(QStringLiteral("<body")),
                    BodyB = Html.lastIndexOf(QStringLiteral("</body>"));
    if (BodyA < 0 || BodyB < 0) return Html;
    const qsizetype Open = Html.indexOf(QLatin1Char('>'), BodyA);
    return Html.mid(Open + 1, BodyB - Open - 1).trimmed();
}

// ------------------------------------------------------------------ job

void TReportJob::AddFlowingText(const QTextDocument& Doc, double LeftInch, double RightInch,
                                int LeadingBreaks, double TopInch, double BottomInch) {
    auto Flow = std::make_shared<const TReportFlowText>(Doc, LeftInch, RightInch, TopInch, BottomInch,
                                                        std::max(0, LeadingBreaks));
    for (int I = 0; I < Flow->PageCount(); ++I) {
        TReportElement E;
        E.Kind = K::Flow;
        E.Name = QStringLiteral("Memo");
        E.Box = Flow->Section();
        E.Flow = Flow;
        E.FlowPage = I;
        TReportPage Page;
        Page.Elements << E;
        FPages << Page;
    }
}

QVector<TReportPage> TReportJob::PrintedPages() const {
    return FPages.isEmpty() ? QVector<TReportPage>{TReportPage()} : FPages;
}

QString TReportJob::Title() const {
    for (const TReportPage& P : FPages)
        if (!P.Title.isEmpty()) return P.Title;
    return QStringLiteral("Morvanel");
}

// ------------------------------------------------------------------ painting

QStringList ReportFontFamilies(const QString& Family) {
    if (Family.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0)
        return {Family, QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")};
    return {Family, QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
}

static QFont ReportFont(const TReportElement& E) {
    QFont F;
    F.setFamilies(ReportFontFamilies(E.FontFamily));
    F.setPointSizeF(E.FontSize);
    F.setBold(E.Bold);
    return F;
}

void PaintReportPage(QPainter& P, const TReportPage& Page) {
    const double DX = P.device()->logicalDpiX(), DY = P.device()->logicalDpiY();
    const auto Dev = [&](const QRectF& R) {
        return QRectF(R.x() * DX, R.y() * DY, R.width() * DX, R.height() * DY);
    };
    P.save();
    P.setRenderHint(QPainter::SmoothPixmapTransform, false);
    P.setRenderHint(QPainter::LosslessImageRendering, true);
    for (const TReportElement& E : Page.Elements) {
        QPen Pen(Qt::black, E.LineWidth * DX / 72.0);
        Pen.setJoinStyle(Qt::MiterJoin);
        switch (E.Kind) {
        case K::Rect:
            P.setPen(Pen);
            P.setBrush(Qt::NoBrush);
            P.drawRect(Dev(E.Box));
            break;
        case K::Line: {
            const QRectF R = Dev(E.Box);
            P.setPen(Pen);
            P.drawLine(R.topLeft(), R.topRight());
            break;
        }
        case K::Text:
            if (E.Text.isEmpty()) break;
            P.setPen(Qt::black);
            P.setFont(ReportFont(E));
            P.drawText(Dev(QRectF(E.Box.x(), E.Box.y(), E.Box.width(), E.LineHeight())),
                       E.Align | Qt::AlignTop | Qt::TextSingleLine, E.Text);
            break;
        case K::Memo:
            if (E.Text.isEmpty()) break;
            P.setPen(Qt::black);
            P.setFont(ReportFont(E));
            P.save();
            P.setClipRect(Dev(E.Box));
            P.drawText(Dev(E.Box), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, E.Text);
            P.restore();
            break;
        case K::Image:
            if (!E.Image.isNull()) P.drawImage(Dev(FitPictureRect(E.Box, E.Image.size())), E.Image);
            break;
        case K::Flow:
            if (E.Flow) E.Flow->DrawPage(P, E.FlowPage, Dev(E.Box));
            break;
        }
    }
    P.restore();
}
