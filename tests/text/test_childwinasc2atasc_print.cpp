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
    // "READY" and "RUN" converted and drawn at 40 columns from the margin of 2.
    const QImage Expected = Win->imgText->Picture;
    using namespace texttest;
    EXPECT_TRUE(IsPage(Expected, 328, 4 + 2 * 8 + 10));
    EXPECT_EQ(CellRows(Expected, 20 + 4 * 8, 4), StandardGlyph('Y'));
    EXPECT_EQ(CellRows(Expected, 20 + 2 * 8, 12), StandardGlyph('N'));
    EXPECT_EQ(CellRows(Expected, 20 + 3 * 8, 12), BlankCell);
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
