#include "RichTextSink.h"

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
