#include "RichTextSink.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>
#include <algorithm>
#include <cmath>

TTextDocumentSink::TTextDocumentSink(QTextDocument& Document, bool AtEnd) : FCursor(&Document) {
    if (AtEnd) FCursor.movePosition(QTextCursor::End);
}

namespace {
// Height (ascent plus descent) in points of Format's font over Default; measured at
// 720 dpi, ten pixels to the point, so hinting hardly matters.
double FontHeightPoints(const QTextCharFormat& Format, const QFont& Default) {
    const QFont Font = Format.font().resolve(Default);
    QImage Device(1, 1, QImage::Format_RGB32);
    Device.setDotsPerMeterX(28346);
    Device.setDotsPerMeterY(28346);
    const QFontMetricsF M(Font, &Device);
    return (M.ascent() + M.descent()) / 10.0;
}
} // namespace

// The text layout moves a baseline by a percentage of the font's height; Twips is
// the distance in twentieths of a point.
double TTextDocumentSink::BaselineOffsetPercent(int Twips, const QTextCharFormat& Format) const {
    const double HeightPoints =
        FontHeightPoints(Format, FCursor.document() ? FCursor.document()->defaultFont() : QFont());
    if (!(HeightPoints > 0.0)) return 0.0;
    return Twips / 20.0 / HeightPoints * 100.0;
}

int BaselineOffsetTwips(const QTextCharFormat& Format, const QFont& Default) {
    if (Format.verticalAlignment() != QTextCharFormat::AlignBaseline || Format.baselineOffset() == 0)
        return 0;
    const double Twips = Format.baselineOffset() / 100.0 * FontHeightPoints(Format, Default) * 20.0;
    return std::isfinite(Twips) ? int(std::lround(std::clamp(Twips, -32000.0, 32000.0))) : 0;
}

void TTextDocumentSink::InsertText(const QString& Text) {
    QTextCharFormat F;
    F.setFontWeight(FStyle.Bold ? QFont::Bold : QFont::Normal);
    F.setFontItalic(FStyle.Italic);
    F.setFontUnderline(FStyle.Underline);
    if (FOffset != 0) {
        // Raised or lowered at full size, as RTF's \up and \dn do: the glyphs keep
        // their size, only the baseline moves.
        F.setVerticalAlignment(QTextCharFormat::AlignBaseline);
        F.setBaselineOffset(BaselineOffsetPercent(FOffset, F));
    }
    // Line breaks inside the text become paragraphs, as in a rich-edit control.
    const QStringList Lines =
        QString(Text).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(QLatin1Char('\n'));
    for (int I = 0; I < Lines.size(); ++I) {
        if (I > 0) FCursor.insertBlock();
        if (!Lines[I].isEmpty()) FCursor.insertText(Lines[I], F);
    }
}

void TTextDocumentSink::NewParagraph() {
    FCursor.movePosition(QTextCursor::End);
    FCursor.insertBlock();
}

QByteArray RtfOffsetControl(const QTextCharFormat& Format, const QFont& Default) {
    switch (Format.verticalAlignment()) {
    case QTextCharFormat::AlignSuperScript:
        return "\\super";
    case QTextCharFormat::AlignSubScript:
        return "\\sub";
    case QTextCharFormat::AlignBaseline: {
        const int HalfPoints = int(std::lround(BaselineOffsetTwips(Format, Default) / 10.0));
        if (HalfPoints > 0) return "\\up" + QByteArray::number(HalfPoints);
        if (HalfPoints < 0) return "\\dn" + QByteArray::number(-HalfPoints);
        return QByteArray();
    }
    default:
        return QByteArray();
    }
}

namespace {
void AppendEscaped(QByteArray& Out, const QString& Text) {
    for (QChar Ch : Text) {
        const char16_t U = Ch.unicode();
        if (U == '\\' || U == '{' || U == '}') {
            Out += '\\';
            Out += char(U);
        } else if (U == '\t') {
            Out += "\\tab ";
        } else if (U == QChar::LineSeparator || U == QChar::ParagraphSeparator) {
            Out += "\\line ";
        } else if (U >= 0x20 && U < 0x7F) {
            Out += char(U);
        } else if (U == 0x7F) {
            Out += "\\'7f"; // a raw DEL is a control character to RTF readers
        } else if (U >= 0x20) {
            Out += "\\u" + QByteArray::number(qint16(U)) + "?";
        }
    }
}
} // namespace

QByteArray DocumentToRtf(const QTextDocument& Document) {
    QByteArray Out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}}\n"
                     "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    bool First = true;
    for (QTextBlock B = Document.begin(); B.isValid(); B = B.next()) {
        if (!First) Out += "\\par\n";
        First = false;
        for (auto It = B.begin(); !It.atEnd(); ++It) {
            const QTextFragment Frag = It.fragment();
            if (!Frag.isValid()) continue;
            const QTextCharFormat F = Frag.charFormat();
            QByteArray Open;
            if (F.fontWeight() >= QFont::Bold) Open += "\\b";
            if (F.fontItalic()) Open += "\\i";
            if (F.fontUnderline()) Open += "\\ul";
            Open += RtfOffsetControl(F, Document.defaultFont());
            if (Open.isEmpty()) {
                AppendEscaped(Out, Frag.text());
            } else {
                Out += "{" + Open + " ";
                AppendEscaped(Out, Frag.text());
                Out += "}";
            }
        }
    }
    Out += "\\par\n}\n";
    return Out;
}
