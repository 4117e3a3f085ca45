#include "RichTextSink.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

TEST(RichTextSink, StylesOffsetsAndParagraphsReachTheDocumentAndRtf) {
    QTextDocument Doc;
    TTextDocumentSink Sink(Doc);
    Sink.InsertText("A");
    Sink.SetStyle({true, false, false});
    Sink.InsertText("B");
    Sink.SetStyle({});
    Sink.SetOffset(60);
    Sink.InsertText("2");
    Sink.SetOffset(0);
    Sink.InsertText(QString::fromUtf8("{ä}\\"));
    Sink.NewParagraph();
    Sink.SetStyle({false, true, true});
    Sink.InsertText("x");
    EXPECT_EQ(Doc.blockCount(), 2);
    EXPECT_EQ(Doc.begin().text(), QString::fromUtf8("AB2{ä}\\"));
    const QByteArray Rtf = DocumentToRtf(Doc);
    EXPECT_TRUE(Rtf.startsWith("{\\rtf1\\ansi"));
    EXPECT_TRUE(Rtf.contains("A{\\b B}{\\up6 2}\\{\\u228?\\}\\\\\\par\n{\\i\\ul x}")) << Rtf.constData();
    EXPECT_TRUE(Rtf.endsWith("}\n"));
}

namespace {
// Ink boxes of the glyphs of a one-line picture, left to right (columns with ink
// that touch form one glyph).
QVector<QRect> GlyphBoxes(const QImage& Image) {
    QVector<QRect> Boxes;
    QRect Current;
    for (int X = 0; X < Image.width(); ++X) {
        int Top = -1, Bottom = -1;
        for (int Y = 0; Y < Image.height(); ++Y)
            if (qGray(Image.pixel(X, Y)) < 128) {
                if (Top < 0) Top = Y;
                Bottom = Y;
            }
        if (Top >= 0)
            Current = Current.isNull() ? QRect(X, Top, 1, Bottom - Top + 1)
                                       : Current.united(QRect(X, Top, 1, Bottom - Top + 1));
        else if (!Current.isNull()) {
            Boxes << Current;
            Current = QRect();
        }
    }
    if (!Current.isNull()) Boxes << Current;
    return Boxes;
}
} // namespace

TEST(RichTextSink, RaisedAndLoweredTextKeepsItsSizeAndMovesThreePoints) {
    QTextDocument Doc;
    Doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    TTextDocumentSink Sink(Doc);
    for (int Offset : {0, 60, -60, 0}) {
        Sink.SetOffset(Offset);
        Sink.InsertText("H");
    }
    // Laid out and drawn at four pixels to the point: 3 points are 12 pixels.
    QImage Page(600, 300, QImage::Format_RGB32);
    Page.setDotsPerMeterX(11339);
    Page.setDotsPerMeterY(11339);
    Page.fill(Qt::white);
    Doc.documentLayout()->setPaintDevice(&Page);
    Doc.setDocumentMargin(40);
    {
        QPainter P(&Page);
        Doc.drawContents(&P);
    }
    const QVector<QRect> H = GlyphBoxes(Page);
    ASSERT_EQ(H.size(), 4);
    const int Down[4] = {0, -12, 12, 0};
    for (int I = 0; I < 4; ++I) {
        EXPECT_NEAR(H[I].height(), H[0].height(), 1) << "no glyph shrinks";
        EXPECT_NEAR(H[I].top() - H[0].top(), Down[I], I % 3 ? 1 : 0) << I;
    }
    // Saved as RTF the same way.
    const QByteArray Rtf = DocumentToRtf(Doc);
    EXPECT_TRUE(Rtf.contains("H{\\up6 H}{\\dn6 H}H")) << Rtf.constData();
}
