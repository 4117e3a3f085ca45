// Fit through the main window: a window is never fitted narrower than its own tool
// bar's controls and its info panel's values need, and without details it is
// exactly the picture and the tool bar high.
#include "solid3d/Solid3DTestUtil.h"
#include "test_shell_common.h"
#include "uChildWinGraphic.h"
#include "uChildWinListing.h"
#include "uChildWinSolidStates.h"
#include "uChildWinText.h"
#include "uDocWindow.h"

#include <QLineEdit>

namespace {
class FitWindowTest : public OpenedMainWindow {
protected:
    // Every control lies inside Window, at no less than the width it asks for, and
    // nothing covers or clips any part of it.
    static void ExpectWhole(QWidget* Window, const QList<QWidget*>& Controls, const std::string& Case) {
        ASSERT_FALSE(Controls.isEmpty()) << Case;
        for (QWidget* C : Controls) {
            const std::string What = Case + ", " + C->objectName().toStdString() + " \"" +
                                     C->property("text").toString().toStdString() + "\"";
            const QRect OnWindow(C->mapTo(Window, QPoint(0, 0)), C->size());
            EXPECT_TRUE(Window->rect().contains(OnWindow))
                << What << " at " << OnWindow.x() << "," << OnWindow.y() << " " << OnWindow.width()
                << " wide in " << Window->width();
            // Edits and fixed-width panels keep the width they were given; the rest
            // are as wide as their text asks.
            const int Asks = C->minimumWidth() == C->maximumWidth() ? C->minimumWidth()
                             : qobject_cast<QLineEdit*>(C)          ? C->minimumSizeHint().width()
                                                                    : C->sizeHint().width();
            EXPECT_GE(C->width(), Asks) << What;
            // No panel or box on the way clips it.
            for (QWidget* W = C; W != Window; W = W->parentWidget())
                EXPECT_TRUE(W->parentWidget()->rect().contains(W->geometry()))
                    << What << ": " << W->metaObject()->className() << " " << W->objectName().toStdString()
                    << " " << W->geometry().right() << " in " << W->parentWidget()->width();
        }
        // The window lies in the area's view, as wide as its controls need at most.
        auto* Frame = qobject_cast<QMdiSubWindow*>(Window->parentWidget());
        ASSERT_NE(Frame, nullptr) << Case;
        EXPECT_LE(Frame->width(), Frame->mdiArea()->viewport()->width()) << Case;
    }
    static QList<QWidget*> Shown(const QList<QWidget*>& Widgets) {
        QList<QWidget*> List;
        for (QWidget* W : Widgets)
            if (W->isVisibleTo(W->window())) List << W;
        return List;
    }
    // The picture and 3D windows' tool-bar buttons and info panel labels.
    template <class T> static QList<QWidget*> PanelControls(T* Win) {
        QList<QWidget*> List = Shown(Win->pnlTop->template findChildren<QWidget*>());
        for (QWidget* W : Win->pnlBottom->template findChildren<QLabel*>()) List << W;
        return List;
    }
};
} // namespace

TEST_F(FitWindowTest, ASmallPictureKeepsItsButtonsAndValuesWholeAndDetailsOffFitsThePicture) {
    QImage Tiny(8, 8, QImage::Format_RGB32);
    Tiny.fill(Qt::blue);
    ASSERT_TRUE(Tiny.save(Dir.filePath("TINY.BMP")));
    Main->OpenFiles({Dir.filePath("TINY.BMP")});
    QApplication::processEvents();
    auto* Win = qobject_cast<TChildWinGraphic*>(Main->ActiveDocument());
    ASSERT_NE(Win, nullptr);
    EXPECT_EQ(Win->lblFilename->text(), "TINY.BMP");
    EXPECT_EQ(Win->lblResolution->text(), "8x8");
    ExpectWhole(Win, PanelControls(Win), "8x8 picture");
    // The picture stays at the left, the values 8 pixels after their captions.
    EXPECT_EQ(Win->ImgGraphic->mapTo(Win, QPoint(0, 0)), QPoint(0, 27));
    ExpectInfoPanelRows(
        {Win->lFileName, Win->lFileType, Win->lCompress, Win->lSize, Win->lResolution},
        {Win->lblFilename, Win->lblFileType, Win->lblCompression, Win->lblSizeInBytes, Win->lblResolution},
        100, Win->width());

    // Details off, then Fit: the picture and the tool bar, and 2.
    Win->btnDetailsClick();
    Main->MenuFitSizeClick();
    QApplication::processEvents();
    EXPECT_EQ(Win->height(), 8 + 27 + 2);
    ExpectWhole(Win, Shown(Win->pnlTop->findChildren<QWidget*>()), "8x8 picture without details");
    Win->btnDetailsClick();
    EXPECT_EQ(Win->height(), 8 + 27 + 64 + 2);

    // A value longer than the area allows makes the window as wide as the area, no wider.
    const QString Long = "TINY_" + QString(150, 'X') + ".BMP";
    ASSERT_TRUE(Tiny.save(Dir.filePath(Long), "BMP"));
    Main->OpenFiles({Dir.filePath(Long)});
    QApplication::processEvents();
    QWidget* LongFrame = Main->MdiArea->activeSubWindow();
    ASSERT_NE(LongFrame, nullptr);
    EXPECT_EQ(LongFrame->width(), Main->MdiArea->viewport()->width());

    // A page keeps its own width, and so a zoomed-in one.
    Open("PAGE.GR8", RandomBytes(7680, 3));
    Main->btnZoomInClick();
    auto* Page = qobject_cast<TChildWinGraphic*>(Main->ActiveDocument());
    ASSERT_NE(Page, nullptr);
    EXPECT_EQ(Page->width(), 640);
    Page->btnDetailsClick();
    Page->FitWindow();
    EXPECT_EQ(Page->height(), 384 + 27 + 2);
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

TEST_F(FitWindowTest, A3DWindowZoomedOutKeepsItsButtonsAndValuesWhole) {
    const QByteArray Object = SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}}, {{1, 2}, {2, 3}, {3, 1}});
    auto* Win = qobject_cast<TChildWinSolidStates*>(Open("A_LONGER_NAME.3D", Object));
    ASSERT_NE(Win, nullptr);
    for (int I = 0; I < 3; ++I) Main->btnZoomOutClick();
    QApplication::processEvents();
    ASSERT_EQ(Win->ImageSize(), QSize(40, 24));
    EXPECT_EQ(Win->lblFilename->text(), "A_LONGER_NAME.3D");
    ExpectWhole(Win, PanelControls(Win), "3D window after three Zoom Outs");
    ExpectInfoPanelRows(
        {Win->lFileName, Win->lFileType, Win->lCompress, Win->lSize, Win->lResolution},
        {Win->lblFilename, Win->lblFileType, Win->lblPointsLines, Win->lblSizeInBytes, Win->lblResolution},
        120, Win->width());
    EXPECT_EQ(Win->imgGraphic->mapTo(Win, QPoint(0, 0)), QPoint(0, 27));

    Win->btnDetailsClick();
    Main->MenuFitSizeClick();
    EXPECT_EQ(Win->height(), 24 + 27 + 2);
    Win->btnDetailsClick();
    EXPECT_EQ(Win->height(), 24 + 27 + 64 + 2);
    QApplication::processEvents();
    ExpectWhole(Win, PanelControls(Win), "3D window with details again");
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

TEST_F(FitWindowTest, AListingDockedAgainOrZoomedOutKeepsItsToolBarAndStatusBarWhole) {
    const QByteArray Listing = QByteArray("10 PRINT \"HELLO\"") + char(155) + "20 GOTO 10" + char(155);
    auto* Win = qobject_cast<TChildWinListing*>(Open("A_LISTING_NAME.LST", Listing));
    ASSERT_NE(Win, nullptr);
    auto Controls = [Win] {
        QList<QWidget*> List = Shown(Win->pnlTop->findChildren<QWidget*>());
        List.removeIf([](QWidget* W) { return W->objectName().isEmpty(); }); // the controls' strip
        for (QWidget* W : Win->StatusBar1->findChildren<QLabel*>()) List << W;
        return List;
    };
    ASSERT_TRUE(Win->StatusBar1->PanelText(2).contains("A_LISTING_NAME.LST"));
    Win->btnIsChildWinClick();
    QApplication::processEvents();
    ASSERT_TRUE(Win->isWindow());
    Win->btnIsChildWinClick();
    QApplication::processEvents();
    ASSERT_EQ(Main->ActiveDocument(), Win);
    ExpectWhole(Win, Controls(), "listing docked again");
    EXPECT_TRUE(Controls().contains(static_cast<QWidget*>(Win->edSearch)));

    for (int I = 0; I < 4; ++I) Main->btnZoomOutClick();
    QApplication::processEvents();
    ASSERT_EQ(Win->imgListing->ViewSize().width(), (8 * 40 + 10) / 16);
    ExpectWhole(Win, Controls(), "listing after four Zoom Outs");

    // The text window fits the same way.
    QByteArray Text;
    for (int K = 0; K < 5; ++K) Text += QByteArray(39, 'A') + char(155);
    auto* Txt = qobject_cast<TChildWinText*>(Open("A_TEXT_NAME.TXT", Text));
    ASSERT_NE(Txt, nullptr);
    for (int I = 0; I < 4; ++I) Main->btnZoomOutClick();
    Main->MenuFitSizeClick();
    QApplication::processEvents();
    QList<QWidget*> TextControls = Shown(Txt->pnlTop->findChildren<QWidget*>());
    TextControls.removeIf([](QWidget* W) { return W->objectName().isEmpty(); });
    ExpectWhole(Txt, TextControls, "text after four Zoom Outs and Fit");
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}
