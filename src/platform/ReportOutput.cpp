#include "ReportOutput.h"

#include "FileIO.h"
#include "Guarded.h"
#include "RichTextSink.h"

#include <QBuffer>
#include <QDateTime>
#include <QFileInfo>
#include <QFontInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <cmath>

using K = TReportElementKind;

// ------------------------------------------------------------------ formats

QString ReportFormatName(TReportFileFormat Format) {
    switch (Format) {
    case TReportFileFormat::PDF:
        return QStringLiteral("Adobe Acrobat (PDF)");
    case TReportFileFormat::HTML:
        return QStringLiteral("Web Page (HTML)");
    case TReportFileFormat::RTF:
        return QStringLiteral("Rich Text Format (RTF)");
    }
    return QString();
}

QStringList ReportFormatExtensions(TReportFileFormat Format) {
    switch (Format) {
    case TReportFileFormat::PDF:
        return {QStringLiteral("pdf")};
    case TReportFileFormat::HTML:
        return {QStringLiteral("html"), QStringLiteral("htm")};
    case TReportFileFormat::RTF:
        return {QStringLiteral("rtf")};
    }
    return {};
}

QString ReportFormatFilter(TReportFileFormat Format) {
    QStringList Patterns;
    for (const QString& E : ReportFormatExtensions(Format)) Patterns << QStringLiteral("*.") + E;
    return ReportFormatName(Format) + QLatin1Char('|') + Patterns.join(QLatin1Char(';'));
}

QString ReportFileNameWithExt(const QString& Name, TReportFileFormat Format) {
    if (Name.isEmpty()) return Name;
    const QString Suffix = QFileInfo(Name).suffix();
    const QStringList Exts = ReportFormatExtensions(Format);
    for (const QString& E : Exts)
        if (Suffix.compare(E, Qt::CaseInsensitive) == 0) return Name;
    return Name + QLatin1Char('.') + Exts.first();
}

QString ReportJobName() {
    return QStringLiteral("Morvanel Report");
}
QString ReportCreator() {
    return QStringLiteral("TEVRA-Morvanel");
}

// ------------------------------------------------------------------ PDF

namespace {
// A PDF text string: UTF-16 with its byte-order mark, as hex (nothing to escape).
QByteArray PdfTextString(const QString& S) {
    QByteArray Bytes("\xFE\xFF", 2);
    for (const QChar C : S) {
        Bytes += char(C.unicode() >> 8);
        Bytes += char(C.unicode() & 0xFF);
    }
    return '<' + Bytes.toHex().toUpper() + '>';
}

// The unsigned decimal at Pos (after blanks); -1 when there is none.
qint64 PdfNumberAt(const QByteArray& Pdf, qsizetype& Pos) {
    while (Pos < Pdf.size() && (Pdf[Pos] == ' ' || Pdf[Pos] == '\r' || Pdf[Pos] == '\n')) ++Pos;
    const qsizetype Start = Pos;
    qint64 V = 0;
    while (Pos < Pdf.size() && Pdf[Pos] >= '0' && Pdf[Pos] <= '9' && Pos - Start < 15)
        V = V * 10 + (Pdf[Pos++] - '0');
    return Pos > Start ? V : -1;
}
} // namespace

QByteArray WithPdfDocumentInfo(const QByteArray& Pdf, const QString& Title) {
    // Qt's writer names only title, creator and itself: the information dictionary
    // is written anew and the cross-reference table follows the shift. A file of
    // any other shape is given back unchanged.
    const qsizetype StartXrefKey = Pdf.lastIndexOf("startxref");
    if (StartXrefKey < 0) return Pdf;
    qsizetype Pos = StartXrefKey + 9;
    const qsizetype NumberPos = Pos;
    const qint64 XrefPos = PdfNumberAt(Pdf, Pos);
    const qsizetype StartXrefEnd = Pos;
    if (XrefPos <= 0 || XrefPos >= StartXrefKey || !Pdf.mid(XrefPos).startsWith("xref")) return Pdf;

    // The table: subsections of "first count", then entries of 20 bytes.
    struct TEntry {
        qsizetype At; // where its 10-digit offset is written
        qint64 Object, Offset;
    };
    QList<TEntry> Entries;
    Pos = qsizetype(XrefPos) + 4;
    for (;;) {
        qsizetype Probe = Pos;
        while (Probe < Pdf.size() && (Pdf[Probe] == ' ' || Pdf[Probe] == '\r' || Pdf[Probe] == '\n')) ++Probe;
        if (Pdf.mid(Probe, 7) == "trailer") break;
        const qint64 First = PdfNumberAt(Pdf, Pos), Count = PdfNumberAt(Pdf, Pos);
        if (First < 0 || Count < 0) return Pdf;
        while (Pos < Pdf.size() && (Pdf[Pos] == ' ' || Pdf[Pos] == '\r')) ++Pos;
        if (Pos >= Pdf.size() || Pdf[Pos] != '\n') return Pdf;
        ++Pos;
        for (qint64 I = 0; I < Count; ++I, Pos += 20) {
            if (Pos + 20 > Pdf.size()) return Pdf;
            const QByteArray Line = Pdf.mid(Pos, 20);
            bool Ok = false;
            const qint64 Offset = Line.left(10).toLongLong(&Ok);
            if (!Ok || (Line[17] != 'n' && Line[17] != 'f')) return Pdf;
            if (Line[17] == 'n') Entries.append({Pos, First + I, Offset});
        }
    }
    const qsizetype TrailerPos = Pdf.indexOf("trailer", Pos);
    const qsizetype InfoKey = Pdf.indexOf("/Info", TrailerPos);
    if (TrailerPos < 0 || InfoKey < 0 || InfoKey > StartXrefKey) return Pdf;
    Pos = InfoKey + 5;
    const qint64 InfoObject = PdfNumberAt(Pdf, Pos);

    // The information object ends where the next object (or the table) begins.
    qint64 ObjStart = -1, ObjEnd = XrefPos;
    for (const TEntry& E : Entries)
        if (E.Object == InfoObject) ObjStart = E.Offset;
    if (ObjStart < 0) return Pdf;
    for (const TEntry& E : Entries)
        if (E.Offset > ObjStart && E.Offset < ObjEnd) ObjEnd = E.Offset;
    const QByteArray Old = Pdf.mid(ObjStart, ObjEnd - ObjStart);
    if (!Old.startsWith(QByteArray::number(InfoObject) + " 0 obj") || !Old.trimmed().endsWith("endobj"))
        return Pdf;

    const QByteArray Name = PdfTextString(ReportCreator());
    QByteArray Info = QByteArray::number(InfoObject) + " 0 obj\n<<\n";
    Info += "/Title " + PdfTextString(Title) + "\n";
    Info += "/Author " + Name + "\n/Creator " + Name + "\n/Producer " + Name + "\n";
    Info += "/CreationDate (D:" +
            QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() +
            "Z)\n>>\nendobj\n";
    const qint64 Shift = Info.size() - Old.size();

    QByteArray Out = Pdf.left(ObjStart) + Info + Pdf.mid(ObjEnd, StartXrefEnd - ObjEnd);
    for (const TEntry& E : Entries)
        if (E.Offset > ObjStart)
            Out.replace(E.At + Shift, 10, QByteArray::number(E.Offset + Shift).rightJustified(10, '0'));
    Out.replace(NumberPos + Shift, StartXrefEnd - NumberPos, '\n' + QByteArray::number(XrefPos + Shift));
    Out += Pdf.mid(StartXrefEnd);
    return Out;
}

QByteArray ReportToPdf(const TReportJob& Job) {
    QByteArray Bytes;
    QBuffer Buf(&Bytes);
    Buf.open(QIODevice::WriteOnly);
    {
        QPdfWriter Writer(&Buf);
        Writer.setPageSize(QPageSize(QPageSize::Letter));
        Writer.setPageOrientation(QPageLayout::Portrait);
        Writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        Writer.setResolution(600);
        Writer.setCreator(ReportCreator());
        Writer.setTitle(Job.Title());
        QPainter P;
        if (!P.begin(&Writer))
            throw EMorvanelError(QStringLiteral("PDF-Ausgabe kann nicht gestartet werden"));
        const QVector<TReportPage> Pages = Job.PrintedPages();
        for (int I = 0; I < Pages.size(); ++I) {
            if (I > 0) Writer.newPage();
            PaintReportPage(P, Pages.at(I));
        }
        P.end();
    }
    return WithPdfDocumentInfo(Bytes, Job.Title());
}

// ------------------------------------------------------------------ HTML

namespace {
QString Inch(double V) {
    return QString::number(V, 'f', 4) + QStringLiteral("in");
}

QString BoxStyle(const QRectF& R) {
    return QStringLiteral("left:%1;top:%2;width:%3;height:%4;")
        .arg(Inch(R.left()), Inch(R.top()), Inch(R.width()), Inch(R.height()));
}

QByteArray PngBytes(const QImage& Img) {
    QByteArray Bytes;
    QBuffer Buf(&Bytes);
    Buf.open(QIODevice::WriteOnly);
    Img.save(&Buf, "PNG");
    return Bytes;
}

QString CssFamilies(const QStringList& Families, bool Mono) {
    QStringList Quoted;
    for (QString F : Families)
        Quoted << QLatin1Char('\'') + F.remove(QLatin1Char('\'')).toHtmlEscaped() + QLatin1Char('\'');
    Quoted << (Mono ? QStringLiteral("monospace") : QStringLiteral("sans-serif"));
    return Quoted.join(QLatin1Char(','));
}

QString CssFont(const TReportElement& E) {
    const bool Mono = E.FontFamily.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0;
    return QStringLiteral("font-family:%1;font-size:%2pt;font-weight:%3;")
        .arg(CssFamilies(ReportFontFamilies(E.FontFamily), Mono), QString::number(E.FontSize),
             E.Bold ? QStringLiteral("bold") : QStringLiteral("normal"));
}

QString CssAlign(int Align) {
    if (Align & Qt::AlignHCenter) return QStringLiteral("text-align:center;");
    if (Align & Qt::AlignRight) return QStringLiteral("text-align:right;");
    return QStringLiteral("text-align:left;");
}

void HtmlElement(QString& H, const TReportElement& E) {
    const QString Line = QString::number(E.LineWidth) + QStringLiteral("pt solid #000");
    switch (E.Kind) {
    case K::Rect:
        H += QStringLiteral("<div style=\"%1border:%2;\"></div>\n").arg(BoxStyle(E.Box), Line);
        break;
    case K::Line:
        H += QStringLiteral("<div style=\"%1border-top:%2;\"></div>\n")
                 .arg(BoxStyle(QRectF(E.Box.left(), E.Box.top(), E.Box.width(), 0)), Line);
        break;
    case K::Text:
        if (E.Text.isEmpty()) break;
        H += QStringLiteral("<div class=\"t\" style=\"%1%2%3\">%4</div>\n")
                 .arg(BoxStyle(QRectF(E.Box.left(), E.Box.top(), E.Box.width(), E.LineHeight())), CssFont(E),
                      CssAlign(E.Align), E.Text.toHtmlEscaped());
        break;
    case K::Memo:
        if (E.Text.isEmpty()) break;
        H += QStringLiteral("<div class=\"m\" style=\"%1%2\">%3</div>\n")
                 .arg(BoxStyle(E.Box), CssFont(E), E.Text.toHtmlEscaped());
        break;
    case K::Image:
        if (E.Image.isNull()) break;
        H += QStringLiteral("<img alt=\"%1\" style=\"%2\" src=\"data:image/png;base64,%3\">\n")
                 .arg(E.Name.toHtmlEscaped(), BoxStyle(FitPictureRect(E.Box, E.Image.size())),
                      QString::fromLatin1(PngBytes(E.Image).toBase64()));
        break;
    case K::Flow: {
        if (!E.Flow) break;
        const QFont F = E.Flow->Document().defaultFont();
        const QString Size = F.pointSizeF() > 0 ? QString::number(F.pointSizeF()) + QStringLiteral("pt")
                                                : QString::number(F.pixelSize()) + QStringLiteral("px");
        const bool Mono = QFontInfo(F).fixedPitch();
        H += QStringLiteral("<div class=\"f\" style=\"%1font-family:%2;font-size:%3;\">\n%4\n</div>\n")
                 .arg(BoxStyle(E.Box), CssFamilies(ReportFontFamilies(F.family()), Mono), Size,
                      E.Flow->PageHtml(E.FlowPage));
        break;
    }
    }
}
} // namespace

QByteArray ReportToHtml(const TReportJob& Job) {
    QString H;
    H += QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<meta name=\"generator\" "
                        "content=\"%1\">\n<title>%2</title>\n")
             .arg(ReportCreator(), Job.Title().toHtmlEscaped());
    H += QStringLiteral("<style>\n"
                        "@page { size: 8.5in 11in; margin: 0; }\n"
                        "body { margin: 0; padding: 0.25in 0; background: #808080; }\n"
                        ".page { position: relative; width: 8.5in; height: 11in; margin: 0 auto 0.25in auto; "
                        "background: #fff; "
                        "overflow: hidden; page-break-after: always; }\n"
                        ".page:last-child { page-break-after: auto; }\n"
                        ".page > * { position: absolute; box-sizing: border-box; margin: 0; }\n"
                        ".t { white-space: pre; overflow: hidden; color: #000; line-height: 1.25; }\n"
                        ".m { white-space: pre-wrap; overflow: hidden; color: #000; }\n"
                        ".f { overflow: hidden; color: #000; }\n"
                        ".f p { white-space: pre-wrap; }\n"
                        "img { image-rendering: pixelated; }\n"
                        "@media print { body { background: #fff; padding: 0; } .page { margin: 0; } }\n"
                        "</style>\n</head>\n<body>\n");
    const QVector<TReportPage> Pages = Job.PrintedPages();
    for (const TReportPage& Page : Pages) {
        H += QStringLiteral("<div class=\"page\">\n");
        for (const TReportElement& E : Page.Elements) HtmlElement(H, E);
        H += QStringLiteral("</div>\n");
    }
    H += QStringLiteral("</body>\n</html>\n");
    return H.toUtf8();
}

// ------------------------------------------------------------------ RTF

namespace {
int Twips(double Inches) {
    return int(std::lround(Inches * 1440.0));
}

// Texts go out as 7-bit RTF: braces and backslashes escaped, the rest as \u.
QString RtfEscape(const QString& S) {
    QString Out;
    for (const QChar C : S) {
        const char16_t U = C.unicode();
        if (U == '\\' || U == '{' || U == '}') {
            Out += QLatin1Char('\\');
            Out += C;
        } else if (U == '\t') {
            Out += QStringLiteral("\\tab ");
        } else if (U == '\n' || U == 0x2028) {
            Out += QStringLiteral("\\line ");
        } else if (U == 0xA0) {
            Out += QStringLiteral("\\~");
        } else if (U < 0x20) {
            continue;
        } else if (U < 0x7F) {
            Out += C;
        } else if (U == 0x7F) {
            Out += QStringLiteral("\\'7f");
        } else {
            Out += QStringLiteral("\\u%1?").arg(int(qint16(U)));
        }
    }
    return Out;
}

class TRtfTables {
public:
    TRtfTables() {
        Font(QStringLiteral("Arial"));
        Font(QStringLiteral("Courier New"));
        Colour(QColor(Qt::black));
    }
    int Font(const QString& Family) {
        const int I = FFonts.indexOf(Family);
        if (I >= 0) return I;
        FFonts << Family;
        return int(FFonts.size()) - 1;
    }
    // Index in the colour table; entry 0 is the automatic colour.
    int Colour(const QColor& C) {
        const QRgb V = C.rgb() & 0xFFFFFF;
        const int I = FColours.indexOf(V);
        if (I >= 0) return I + 1;
        FColours << V;
        return int(FColours.size());
    }
    QString Header() const {
        QString H = QStringLiteral("{\\fonttbl");
        for (int I = 0; I < FFonts.size(); ++I) {
            const bool Mono = FFonts.at(I).compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0;
            H += QStringLiteral("{\\f%1\\f%2\\fcharset0 %3;}")
                     .arg(QString::number(I), Mono ? QStringLiteral("modern") : QStringLiteral("swiss"),
                          RtfEscape(FFonts.at(I)));
        }
        H += QStringLiteral("}\n{\\colortbl;");
        for (QRgb V : FColours)
            H += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(qRed(V)).arg(qGreen(V)).arg(qBlue(V));
        H += QStringLiteral("}\n");
        return H;
    }

private:
    QStringList FFonts;
    QVector<QRgb> FColours;
};

QString FramePos(const QRectF& R) {
    return QStringLiteral("\\phpg\\pvpg\\posx%1\\posy%2\\absw%3\\absh-%4")
        .arg(Twips(R.left()))
        .arg(Twips(R.top()))
        .arg(std::max(1, Twips(R.width())))
        .arg(std::max(1, Twips(R.height())));
}

QString RtfAlign(int Align) {
    if (Align & Qt::AlignHCenter) return QStringLiteral("\\qc");
    if (Align & Qt::AlignRight) return QStringLiteral("\\qr");
    return QStringLiteral("\\ql");
}

QString RtfPicture(const QImage& Img, const QRectF& Target) {
    const QByteArray Hex = PngBytes(Img).toHex();
    QString S = QStringLiteral("{\\pict\\pngblip\\picw%1\\pich%2\\picwgoal%3\\pichgoal%4\n")
                    .arg(Img.width())
                    .arg(Img.height())
                    .arg(Twips(Target.width()))
                    .arg(Twips(Target.height()));
    for (qsizetype I = 0; I < Hex.size(); I += 128)
        S += QString::fromLatin1(Hex.mid(I, 128)) + QLatin1Char('\n');
    return S + QLatin1Char('}');
}

QString DrawingObject(const TReportElement& E) {
    const int LineW = std::max(1, Twips(E.LineWidth / 72.0));
    const QString Pen =
        QStringLiteral("\\dplinew%1\\dplinecor0\\dplinecog0\\dplinecob0\\dplinesolid").arg(LineW);
    if (E.Kind == K::Rect)
        return QStringLiteral(
                   "{\\*\\do\\dobxpage\\dobypage\\dodhgt8192\\dprect\\dpx%1\\dpy%2\\dpxsize%3\\dpysize%4%5"
                   "\\dpfillpat0}")
            .arg(Twips(E.Box.left()))
            .arg(Twips(E.Box.top()))
            .arg(Twips(E.Box.width()))
            .arg(Twips(E.Box.height()))
            .arg(Pen);
    return QStringLiteral("{\\*\\do\\dobxpage\\dobypage\\dodhgt8192\\dpline\\dpptx0\\dppty0\\dpptx%3\\dppty0"
                          "\\dpx%1\\dpy%2\\dpxsize%3\\dpysize0%4}")
        .arg(Twips(E.Box.left()))
        .arg(Twips(E.Box.top()))
        .arg(Twips(E.Box.width()))
        .arg(Pen);
}

// The paragraphs of one page of a flowing text, with their character formats.
QString RtfFlowPage(const TReportElement& E, TRtfTables& Tables) {
    const TReportFlowText& Flow = *E.Flow;
    const QTextDocument& Doc = Flow.Document();
    const QPair<int, int> R = Flow.PageRange(E.FlowPage);
    const QFont Base = Doc.defaultFont();
    const double BaseSize = Base.pointSizeF() > 0 ? Base.pointSizeF() : 10.0;
    const QString Indent = QStringLiteral("\\li%1\\ri%2")
                               .arg(Twips(Flow.Section().left()))
                               .arg(Twips(ReportPageWidthInch - Flow.Section().right()));
    QString S;
    bool First = true;
    for (QTextBlock B = Doc.begin(); B.isValid(); B = B.next()) {
        const int BFirst = B.position(), BEnd = B.position() + B.length() - 1;
        const bool Starts = BFirst >= R.first && BFirst <= R.second;
        const bool Continues = BFirst < R.first && BEnd > R.first;
        if (!Starts && !Continues) continue;
        // The paragraph's own font sizes its empty lines.
        S +=
            QStringLiteral("\\pard\\plain") + Indent + RtfAlign(int(B.blockFormat().alignment())) +
            QStringLiteral("\\f%1\\fs%2").arg(Tables.Font(Base.family())).arg(int(std::lround(BaseSize * 2)));
        if (First) S += QStringLiteral("\\sb%1").arg(Twips(Flow.Section().top()));
        First = false;
        S += QLatin1Char(' ');
        for (auto It = B.begin(); !It.atEnd(); ++It) {
            const QTextFragment F = It.fragment();
            const int A = std::max(F.position(), R.first);
            const int Z = std::min(F.position() + F.length(), R.second);
            if (Z <= A) continue;
            const QTextCharFormat CF = F.charFormat();
            const QStringList Families = CF.fontFamilies().toStringList();
            const QString Family = Families.isEmpty() ? Base.family() : Families.first();
            const double Size = CF.fontPointSize() > 0 ? CF.fontPointSize() : BaseSize;
            QString Fmt =
                QStringLiteral("\\f%1\\fs%2").arg(Tables.Font(Family)).arg(int(std::lround(Size * 2)));
            if (CF.fontWeight() >= QFont::Bold) Fmt += QStringLiteral("\\b");
            if (CF.fontItalic()) Fmt += QStringLiteral("\\i");
            if (CF.fontUnderline()) Fmt += QStringLiteral("\\ul");
            Fmt += QString::fromLatin1(RtfOffsetControl(CF, Base));
            if (CF.foreground().style() != Qt::NoBrush)
                Fmt += QStringLiteral("\\cf%1").arg(Tables.Colour(CF.foreground().color()));
            if (CF.background().style() != Qt::NoBrush)
                Fmt += QStringLiteral("\\chcbpat%1").arg(Tables.Colour(CF.background().color()));
            S += QLatin1Char('{') + Fmt + QLatin1Char(' ') +
                 RtfEscape(F.text().mid(A - F.position(), Z - A)) + QLatin1Char('}');
        }
        S += QStringLiteral("\\par\n");
    }
    return S;
}
} // namespace

QByteArray ReportToRtf(const TReportJob& Job) {
    TRtfTables Tables;
    const int W = Twips(ReportPageWidthInch), H = Twips(ReportPageHeightInch);
    QString Body;
    const QVector<TReportPage> Pages = Job.PrintedPages();
    for (int I = 0; I < Pages.size(); ++I) {
        if (I > 0) Body += QStringLiteral("\\pard\\plain\\fs2\\page\\par\n");
        const TReportPage& Page = Pages.at(I);
        // Rules and frames are drawing objects anchored to a tiny paragraph at the page top.
        Body += QStringLiteral("\\pard\\plain\\fs2 ");
        for (const TReportElement& E : Page.Elements)
            if (E.Kind == K::Rect || E.Kind == K::Line) Body += DrawingObject(E);
        Body += QStringLiteral("\\par\n");
        for (const TReportElement& E : Page.Elements) {
            switch (E.Kind) {
            case K::Text:
            case K::Memo: {
                if (E.Text.isEmpty()) break;
                const QRectF Box = E.Kind == K::Text
                                       ? QRectF(E.Box.left(), E.Box.top(), E.Box.width(), E.LineHeight())
                                       : E.Box;
                Body += QStringLiteral("\\pard\\plain") + FramePos(Box) +
                        (E.Kind == K::Text ? RtfAlign(E.Align) : QStringLiteral("\\ql")) +
                        QStringLiteral("\\f%1\\fs%2%3 ")
                            .arg(Tables.Font(E.FontFamily))
                            .arg(int(std::lround(E.FontSize * 2)))
                            .arg(E.Bold ? QStringLiteral("\\b") : QString()) +
                        RtfEscape(E.Text) + QStringLiteral("\\par\n");
                break;
            }
            case K::Image: {
                if (E.Image.isNull()) break;
                const QRectF Target = FitPictureRect(E.Box, E.Image.size());
                Body += QStringLiteral("\\pard\\plain") + FramePos(Target) + QStringLiteral("\\ql ") +
                        RtfPicture(E.Image, Target) + QStringLiteral("\\par\n");
                break;
            }
            case K::Flow:
                if (E.Flow) Body += RtfFlowPage(E, Tables);
                break;
            case K::Rect:
            case K::Line:
                break;
            }
        }
    }
    QString Doc = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n") + Tables.Header();
    Doc += QStringLiteral("{\\info{\\title %1}{\\author %2}}\n").arg(RtfEscape(Job.Title()), ReportCreator());
    Doc += QStringLiteral("\\paperw%1\\paperh%2\\margl0\\margr0\\margt0\\margb0\n").arg(W).arg(H);
    Doc += QStringLiteral("\\sectd\\pgwsxn%1\\pghsxn%2\\marglsxn0\\margrsxn0\\margtsxn0\\margbsxn0\n")
               .arg(W)
               .arg(H);
    Doc += Body + QStringLiteral("}\n");
    return Doc.toLatin1();
}

// ------------------------------------------------------------------ files, printer, preview

void WriteReportFile(const TReportJob& Job, TReportFileFormat Format, const QString& Path) {
    if (Path.isEmpty()) RaiseInOutError(ioPathNotFound, Path);
    QByteArray Data;
    switch (Format) {
    case TReportFileFormat::PDF:
        Data = ReportToPdf(Job);
        break;
    case TReportFileFormat::HTML:
        Data = ReportToHtml(Job);
        break;
    case TReportFileFormat::RTF:
        Data = ReportToRtf(Job);
        break;
    }
    WriteWholeFile(Path, Data);
}

static void SetUpPrinter(QPrinter& Printer) {
    Printer.setPageSize(QPageSize(QPageSize::Letter));
    Printer.setPageOrientation(QPageLayout::Portrait);
    Printer.setFullPage(true);
    Printer.setDocName(ReportJobName());
    Printer.setCreator(ReportCreator());
}

void PrintReportJob(const TReportJob& Job, QPrinter& Printer) {
    Printer.setFullPage(true);
    const QVector<TReportPage> Pages = Job.PrintedPages();
    int First = 1, Last = int(Pages.size());
    if (Printer.printRange() == QPrinter::PageRange && Printer.fromPage() > 0) {
        First = std::max(1, Printer.fromPage());
        Last = std::min(Last, std::max(First, Printer.toPage()));
    }
    if (First > Last) return;
    // The copies a printer does not make itself, and all those of a file, are pages
    // of their own: whole sets when collated, else each page repeated.
    const bool ToFile = !Printer.outputFileName().isEmpty();
    const int Copies = ToFile || !Printer.supportsMultipleCopies() ? std::max(1, Printer.copyCount()) : 1;
    const bool Collate = Printer.collateCopies();
    QList<int> Order;
    for (int Outer = 0; Outer < (Collate ? Copies : Last - First + 1); ++Outer)
        for (int Inner = 0; Inner < (Collate ? Last - First + 1 : Copies); ++Inner)
            Order << First + (Collate ? Inner : Outer);
    // Printing to a file is a save like any other, through the one atomic write.
    if (ToFile) {
        TReportJob Chosen;
        for (int I : Order) Chosen.AddPage(Pages.at(I - 1));
        WriteWholeFile(Printer.outputFileName(), ReportToPdf(Chosen));
        return;
    }
    QPainter P;
    if (!P.begin(&Printer)) throw EMorvanelError(QStringLiteral("Der Drucker kann nicht gestartet werden"));
    for (int K = 0; K < Order.size(); ++K) {
        if (K > 0) Printer.newPage();
        PaintReportPage(P, Pages.at(Order[K] - 1));
    }
    P.end();
}

static TReportPreviewSetup PreviewSetup;

void SetReportPreviewSetup(TReportPreviewSetup Setup) {
    PreviewSetup = std::move(Setup);
}

void PreviewReportJob(const TReportJob& Job, QWidget* Parent) {
    QPrinter Printer(QPrinter::HighResolution);
    SetUpPrinter(Printer);
    QPrintPreviewDialog Dlg(&Printer, Parent);
    Dlg.setObjectName(QStringLiteral("frmReportPreview"));
    Dlg.setWindowTitle(QStringLiteral("Report Preview"));
    if (PreviewSetup) PreviewSetup(Dlg);
    Dlg.resize(750, 900);
    QObject::connect(&Dlg, &QPrintPreviewDialog::paintRequested, &Dlg,
                     [&Job](QPrinter* Target) { Guarded([&] { PrintReportJob(Job, *Target); }); });
    if (auto* View = Dlg.findChild<QPrintPreviewWidget*>()) {
        View->setZoomMode(QPrintPreviewWidget::CustomZoom);
        View->setZoomFactor(1.0);
    }
    Dlg.exec();
}

bool RunReportOutput(const TReportJob& Job, const TReportOutputChoice& Choice, QWidget* Parent) {
    switch (Choice.Destination) {
    case TReportDestination::Printer: {
        QPrinter Printer(QPrinter::HighResolution);
        SetUpPrinter(Printer);
        QPrintDialog Dlg(&Printer, Parent);
        Dlg.setMinMax(1, int(Job.PrintedPages().size()));
        Dlg.setOption(QAbstractPrintDialog::PrintPageRange, true);
        Dlg.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
        if (Dlg.exec() != QDialog::Accepted) return false;
        PrintReportJob(Job, Printer);
        return true;
    }
    case TReportDestination::Preview:
        PreviewReportJob(Job, Parent);
        return true;
    case TReportDestination::File:
        WriteReportFile(Job, Choice.Format, ReportFileNameWithExt(Choice.FileName, Choice.Format));
        return true;
    }
    return false;
}
