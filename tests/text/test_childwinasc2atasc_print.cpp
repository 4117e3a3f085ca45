// Printing the ASCII to ATASCII editor before any conversion prints the editor's text.
#include "test_text_common.h"

#include "ImageView.h"
#include "uChildWinASC2ATASC.h"

#include <QPlainTextEdit>
#include <QPointer>

namespace {
class AscEditorPrint : public texttest::WindowTest {};
} // namespace

TEST_F(AscEditorPrint, PrintsItsTextBeforeTheFirstConversion) {
    QPointer<TChildWinASC2ATASC> Win = new TChildWinASC2ATASC;
    Win->TextEdit->setPlainText("READY\nRUN");
    ASSERT_TRUE(Win->imgText->Picture.isNull());
    TReportPage Page;
    SetReportOutputHook([&](TReportOutputChoice&) {
        Page = fGlobal->LayoutSelected();
        return false; // the page is looked at, nothing written
    });
    Win->PrintReport();
    const QByteArray Eol(1, char(155));
    const QImage Expected = TextPage("READY" + Eol + "RUN" + Eol, 40, 2);
    EXPECT_EQ(Win->imgText->Picture, Expected);
    EXPECT_EQ(Page.ReportName, "GraphicReport");
    EXPECT_EQ(Page.Title, "ATASCII");
    QImage Printed;
    for (const TReportElement& E : Page.Elements)
        if (E.Name == "Bitmap1") Printed = E.Image;
    EXPECT_EQ(Printed.convertToFormat(Expected.format()), Expected);
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join('\n').toStdString();

    // A drawn page is printed as it stands: text typed since is not converted.
    Win->TextEdit->setPlainText("NEW");
    Win->PrintReport();
    for (const TReportElement& E : Page.Elements)
        if (E.Name == "Bitmap1") Printed = E.Image;
    EXPECT_EQ(Printed.convertToFormat(Expected.format()), Expected);
    delete Win.data();
}
