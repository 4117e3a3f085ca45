// Fit through the main window: a window is never fitted narrower than its own tool
// bar's controls and its info panel's values need, and without details it is
// exactly the picture and the tool bar high.
#include "solid3d/Solid3DTestUtil.h"
#include "test_shell_common.h"
#include "uChildWinGraphic.h"
#include "uChildWinListing.h"
#include "uChildWinSolidStates.h"

#include <QLineEdit>

namespace {
class FitWindowTest : public OpenedMainWindow {
protected:
    // The named controls of Top shown, and the labels of Bottom.
    static QList<QWidget*> Controls(QWidget* Top, QWidget* Bottom) {
        QList<QWidget*> List;
        for (QWidget* W : Top->findChildren<QWidget*>())
            if (W->isVisibleTo(W->window()) && !W->objectName().isEmpty()) List << W;
        if (Bottom)
            for (QWidget* W : Bottom->findChildren<QLabel*>()) List << W;
        return List;
    }
    // Every control lies whole inside Window at no less than the width it asks for,
    // clipped by nothing on the way; the window no wider than the area's view.
    static void ExpectWhole(QWidget* Window, const QList<QWidget*>& Controls, const std::string& Case) {
        ASSERT_FALSE(Controls.isEmpty()) << Case;
        for (QWidget* C : Controls) {
            const std::string What = Case + ", " + C->objectName().toStdString();
            EXPECT_TRUE(Window->rect().contains(QRect(C->mapTo(Window, QPoint(0, 0)), C->size())))
                << What << " right edge " << C->mapTo(Window, QPoint(C->width(), 0)).x() << " in "
                << Window->width();
            // Edits and fixed-width panels keep the width they were given.
            const int Asks = C->minimumWidth() == C->maximumWidth() ? C->minimumWidth()
                             : qobject_cast<QLineEdit*>(C)          ? C->minimumSizeHint().width()
                                                                    : C->sizeHint().width();
            EXPECT_GE(C->width(), Asks) << What;
            for (QWidget* W = C; W != Window; W = W->parentWidget())
                EXPECT_TRUE(W->parentWidget()->rect().contains(W->geometry()))
                    << What << " in " << W->objectName().toStdString();
        }
        auto* Frame = qobject_cast<QMdiSubWindow*>(Window->parentWidget());
        ASSERT_NE(Frame, nullptr) << Case;
        EXPECT_LE(Frame->width(), Frame->mdiArea()->viewport()->width()) << Case;
    }
};
} // namespace

// An 8x8 picture and a 3D window after three Zoom Outs; details off, then Fit: the
// picture, the tool bar and 2 high.
TEST_F(FitWindowTest, ASmallPictureOrA3DWindowKeepsItsButtonsAndValuesWholeAndDetailsOffFitsThePicture) {
    const auto Check = [&](auto* Win, int PictureHeight, const std::string& Case) {
        ExpectWhole(Win, Controls(Win->pnlTop, Win->pnlBottom), Case);
        Win->btnDetailsClick();
        Main->MenuFitSizeClick();
        QApplication::processEvents();
        EXPECT_EQ(Win->height(), PictureHeight + Win->pnlTop->height() + 2) << Case;
        ExpectWhole(Win, Controls(Win->pnlTop, nullptr), Case + " without details");
    };
    const QImage Tiny = Filled(8, 8, qRgb(0, 0, 255));
    ASSERT_TRUE(Tiny.save(Dir.filePath("TINY.BMP")));
    Main->OpenFiles({Dir.filePath("TINY.BMP")});
    QApplication::processEvents();
    auto* Pic = qobject_cast<TChildWinGraphic*>(Main->ActiveDocument());
    ASSERT_NE(Pic, nullptr);
    EXPECT_EQ(Pic->lblResolution->text(), "8x8");
    Check(Pic, 8, "8x8 picture");
    auto* Solid = qobject_cast<TChildWinSolidStates*>(
        Open("A_LONGER_NAME.3D", SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}}, {{1, 2}, {2, 3}, {3, 1}})));
    ASSERT_NE(Solid, nullptr);
    for (int I = 0; I < 3; ++I) Main->btnZoomOutClick();
    QApplication::processEvents();
    ASSERT_EQ(Solid->ImageSize(), QSize(40, 24));
    Check(Solid, 24, "3D window after three Zoom Outs");

    // A value longer than the area allows makes the window as wide as the area, no wider.
    const QString Long = "TINY_" + QString(150, 'X') + ".BMP";
    ASSERT_TRUE(Tiny.save(Dir.filePath(Long), "BMP"));
    Main->OpenFiles({Dir.filePath(Long)});
    QApplication::processEvents();
    ASSERT_NE(Main->MdiArea->activeSubWindow(), nullptr);
    EXPECT_EQ(Main->MdiArea->activeSubWindow()->width(), Main->MdiArea->viewport()->width());
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

TEST_F(FitWindowTest, AListingDockedAgainOrZoomedOutKeepsItsToolBarAndStatusBarWhole) {
    const QByteArray Listing = QByteArray("10 PRINT \"HELLO\"") + char(155) + "20 GOTO 10" + char(155);
    auto* Win = qobject_cast<TChildWinListing*>(Open("A_LISTING_NAME.LST", Listing));
    ASSERT_NE(Win, nullptr);
    for (int I = 0; I < 2; ++I) {
        Win->btnIsChildWinClick();
        QApplication::processEvents();
        ASSERT_EQ(Win->isWindow(), I == 0);
    }
    ASSERT_EQ(Main->ActiveDocument(), Win);
    ASSERT_TRUE(Controls(Win->pnlTop, nullptr).contains(Win->edSearch));
    ExpectWhole(Win, Controls(Win->pnlTop, Win->StatusBar1), "listing docked again");
    for (int I = 0; I < 4; ++I) Main->btnZoomOutClick();
    QApplication::processEvents();
    ExpectWhole(Win, Controls(Win->pnlTop, Win->StatusBar1), "listing after four Zoom Outs");
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}
