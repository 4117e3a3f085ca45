// Long pages in the text and listing windows: shown 1:1 to their last line, zoomed
// on both sides alike, drawn with few repaints.
#include "shell/test_shell_common.h"
#include "test_drive_events.h"
#include "test_text_common.h"

#include "uChildWinListing.h"
#include "uChildWinText.h"
#include "uMain.h"
#include "uTAtariListing.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

namespace {
constexpr char EOL = char(155);

using texttest::CellRows;
using texttest::StandardGlyph;

// Line N of the long text: 40 characters, so it fills its screen line exactly.
QByteArray LongLine(int N) {
    return QStringLiteral("L%1 THE QUICK BROWN FOX JUMPS OVER")
        .arg(N, 5, 10, QChar('0'))
        .toLatin1()
        .leftJustified(40, 'Z');
}

using LongListingOnScreen = OpenedMainWindow;

class LongPageTest : public texttest::WindowTest {
protected:
    void TearDown() override {
        delete Text;
        WindowTest::TearDown();
    }
    QImage Shot(QScrollArea* Box) {
        return Box->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    TChildWinText* Text = nullptr;
};
} // namespace

TEST_F(LongPageTest, SixThousandLinesShowAtScaleOneToTheLastLine) {
    QByteArray Data;
    for (int N = 0; N < 6000; ++N) Data += LongLine(N) + EOL;
    Text = new TChildWinText;
    Text->resize(665, 375);
    Text->show();
    Text->OpenDocument(Write("LONG.TXT", Data), "LONG.TXT");
    ImageView* View = Text->imgText;
    // 40 characters then the end of line: two line breaks each.
    ASSERT_EQ(View->Picture.size(), QSize(328, 96014));
    EXPECT_EQ(View->ViewSize(), QSize(328, 96014));
    EXPECT_EQ(View->Zoom(), 1.0);
    QApplication::processEvents();

    QImage Top = Shot(Text->ScrollBox1);
    for (int Line = 0; Line < 3; ++Line)
        for (int C = 0; C < 40; ++C)
            ASSERT_EQ(CellRows(Top, 4 + 8 * C, 4 + 16 * Line), StandardGlyph(LongLine(Line)[C]))
                << "line " << Line << " column " << C;

    // Scrolled to the end, the last line stands above the bottom margin.
    QScrollBar* Bar = Text->ScrollBox1->verticalScrollBar();
    Bar->setValue(Bar->maximum());
    EXPECT_EQ(Bar->maximum(), 96014 - Text->ScrollBox1->viewport()->height());
    const QImage Bottom = Shot(Text->ScrollBox1);
    const int LastY = 4 + 8 * 11998 - Bar->value();
    for (int C = 0; C < 40; ++C)
        ASSERT_EQ(CellRows(Bottom, 4 + 8 * C, LastY), StandardGlyph(LongLine(5999)[C])) << "column " << C;

    // Zoom In doubles both sides: every pixel becomes a 2 x 2 block.
    Text->ZoomIn();
    EXPECT_EQ(View->ViewSize(), QSize(656, 192028));
    Bar->setValue(0);
    const QImage Zoomed = Shot(Text->ScrollBox1);
    for (int C = 0; C < 10; ++C) ASSERT_EQ(CellRows(Zoomed, 8 + 16 * C, 8, 2), StandardGlyph(LongLine(0)[C]));
    // Further steps double both sides or are refused with a beep; never one side alone.
    for (int I = 0; I < 6; ++I) {
        const QSize Before = View->ViewSize();
        const int Beeps = BeepCount;
        Text->ZoomIn();
        const QSize After = View->ViewSize();
        if (After == Before)
            EXPECT_EQ(BeepCount, Beeps + 1);
        else
            EXPECT_EQ(After, Before * 2);
        EXPECT_LE(After.height(), ImageView::MaxViewSide);
    }
    EXPECT_EQ(View->ViewSize(), QSize(328 * 32, 96014 * 32));
    // Three million pixels down the view still paints the page pixels lying there.
    Bar->setValue(Bar->maximum());
    const QImage Deep = Shot(Text->ScrollBox1);
    for (int Y = 0; Y < Deep.height(); Y += 3)
        for (int X = 0; X < Deep.width(); X += 5)
            ASSERT_EQ(Deep.pixel(X, Y), View->Picture.pixel(X / 32, (Bar->value() + Y) / 32))
                << X << "," << Y;
    Text->ZoomOut();
    EXPECT_EQ(View->ViewSize(), QSize(328 * 16, 96014 * 16));

    // Drawing the page anew shows it 1:1 again.
    Text->edCPL->setText("40");
    drive::Key(Text->edCPL, Qt::Key_Return);
    EXPECT_EQ(View->Zoom(), 1.0);
    EXPECT_EQ(View->ViewSize(), QSize(328, 96014));
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

TEST_F(LongListingOnScreen, ListingIsDrawnWithThrottledRepaintsAndShownWhole) {
    // Short lines: 64 KB make a page far taller than 32000 pixels.
    QByteArray Data;
    for (int N = 1; Data.size() < 65536; ++N) Data += QByteArray::number(N % 100000) + " ?" + EOL;
    Data.truncate(65536);
    int Progress = 0, Paints = 0;
    QObject::connect(Main->ProgressBar1, &QProgressBar::valueChanged, [&] { ++Progress; });
    struct TPaintCounter : QObject {
        int* Count;
        explicit TPaintCounter(int* C) : Count(C) {}
        bool eventFilter(QObject* O, QEvent* E) override {
            if (E->type() == QEvent::Paint && qobject_cast<ImageView*>(O)) ++*Count;
            return false;
        }
    } Counter(&Paints);
    qApp->installEventFilter(&Counter);
    QElapsedTimer Clock;
    Clock.start();
    Main->OpenFiles({Write("LONG.LST", Data)});
    const qint64 Elapsed = Clock.elapsed();
    qApp->removeEventFilter(&Counter);

    auto* Listing = qobject_cast<TChildWinListing*>(Main->ActiveDocument());
    ASSERT_NE(Listing, nullptr);
    ImageView* View = Listing->imgListing;
    EXPECT_GT(View->Picture.height(), 60000);
    EXPECT_EQ(View->ViewSize(), View->Picture.size());
    // 4096 message rounds, but painting at most every 40 ms (and once at the end).
    const qint64 Allowed = Elapsed / 40 + 4;
    EXPECT_LE(Progress, Allowed) << Elapsed << " ms";
    EXPECT_LE(Paints, Allowed) << Elapsed << " ms";
    EXPECT_EQ(Main->ProgressBar1->maximum(), 65535);
    EXPECT_EQ(Main->ProgressBar1->value(), 65520);
    Listing->ZoomIn(); // the window grows with the view
    EXPECT_EQ(Listing->width(), View->ViewSize().width() + 32);
}

using TallTextOpened = OpenedMainWindow;

// What a window cannot show is told once it speaks the user's language, in one notice.
TEST_F(TallTextOpened, NoticesFollowTheTranslation) {
    LngFile = "English.lng";
    SetMessageBoxHook([&](TMsgKind, const QString&, const QString& T) { // the caption of Print then
        QWidget* Doc = Main->ActiveDocument();
        auto* Report = Doc ? Doc->findChild<QToolButton*>("btnReport") : nullptr;
        Boxes << (Report ? Report->text() : QStringLiteral("no document window")) + "|" + T;
    });
    QByteArray Data, Listing;
    while (Data.size() <= TAtariText::BufferSize) Data += QByteArray("AB") + EOL;
    auto* Text = qobject_cast<TChildWinText*>(Open("TALL.TXT", Data));
    ASSERT_NE(Text, nullptr);
    const int Fit = int((TAtariFont::MaxPagePixels / 328 - 14) / 8);
    EXPECT_EQ(Text->imgText->Picture.size(), QSize(328, 4 + 8 * Fit + 10));
    const QString File = QStringLiteral("TALL.TXT (%1 Bytes): ").arg(Data.size());
    EXPECT_EQ(Boxes, QStringList("Print|" + File + GetMsg("mTextCut") + "\n" + File + GetMsg("mTextTooTall") +
                                 " " + QString::number(Fit)));
    EXPECT_TRUE(GetMsg("mTextTooTall").startsWith("The text is too long"));
    // A listing cut at its buffer tells it the same way.
    Boxes.clear();
    while (Listing.size() <= TAtariListing::BufferSize) Listing += QByteArray("10 PRINT") + EOL;
    ASSERT_NE(qobject_cast<TChildWinListing*>(Open("LONG.LST", Listing)), nullptr);
    EXPECT_EQ(Boxes, QStringList("Print|LONG.LST (" + QString::number(Listing.size()) +
                                 " Bytes): " + GetMsg("mListingCut")));
}
