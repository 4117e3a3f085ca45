// The settings dialog (fixed size 691 x 630) on a screen with room for it, and on
// one without (1600 x 1200 at twice the scale: 800 x 600): its whole frame on the
// screen, and where it must, its controls scroll so that each can be reached.
#include "FramePlacement.h"
#include "VekButton.h"
#include "test_desktop_common.h"
#include "uParam.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QListWidget>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>

namespace {
class DialogPlacementTest : public OpenedMainWindow {
protected:
    void SetUp() override {
        OpenedMainWindow::SetUp();
        SettingsFolder = Dir.path() + "/";
        ASSERT_TRUE(WaitFor([this] { return !FrameMargins(Main).isNull(); }));
    }
    void TearDown() override {
        delete Dlg;
        OpenedMainWindow::TearDown();
    }
    void ShowSettings() {
        Dlg = new TfrmParameter(Main);
        Dlg->show();
        ASSERT_TRUE(WaitFor([this] { return !FrameMargins(Dlg).isNull() && !FramePlacementPending(Dlg); }));
        Settle(100);
        Box = Dlg->findChild<QScrollArea*>("scrDialogBody");
        ASSERT_NE(Box, nullptr);
    }
    QRect Frame() const { return Dlg->windowHandle()->frameGeometry(); }
    TfrmParameter* Dlg = nullptr;
    QScrollArea* Box = nullptr;
};
using ScaledDialogTest = DialogPlacementTest;
} // namespace

TEST_F(DialogPlacementTest, TheSettingsDialogKeepsItsLookWhereItFits) {
    ASSERT_NO_FATAL_FAILURE(ShowSettings());
    EXPECT_EQ(Dlg->size(), QSize(691, 630));
    EXPECT_EQ(Dlg->minimumSize(), Dlg->maximumSize()); // a fixed dialog border
    EXPECT_FALSE(Box->verticalScrollBar()->isVisible());
    EXPECT_FALSE(Box->horizontalScrollBar()->isVisible());
    EXPECT_EQ(Box->viewport()->size(), QSize(691, 630));
    // The focus starts on the first control, not on the box around them.
    EXPECT_EQ(Dlg->focusWidget(), static_cast<QWidget*>(Dlg->btnCol0));
    const QRect Area = Dlg->screen()->availableGeometry();
    EXPECT_TRUE(Area.contains(Frame())) << RectText(Frame()).toStdString();
    // Centred on the main window, as far as the screen allows.
    const QPoint Centre = Main->windowHandle()->frameGeometry().center();
    const QRect Expected = FitFrameToArea(
        QRect(Centre - QPoint(Frame().width() / 2, Frame().height() / 2), Frame().size()), Area);
    EXPECT_LE((Frame().topLeft() - Expected.topLeft()).manhattanLength(), 2)
        << RectText(Frame()).toStdString() << " " << RectText(Expected).toStdString();
}

TEST_F(ScaledDialogTest, TheSettingsDialogScrollsWhereTheScreenIsTooSmallForIt) {
    ASSERT_NO_FATAL_FAILURE(ShowSettings());
    const QRect Area = Dlg->screen()->availableGeometry();
    ASSERT_LT(Area.height(), 630) << "the screen has room for the dialog";
    EXPECT_TRUE(Area.contains(Frame()))
        << RectText(Frame()).toStdString() << " in " << RectText(Area).toStdString();
    EXPECT_EQ(Frame().height(), Area.height());
    EXPECT_GE(Dlg->width(), 691); // as wide as before, with room for the scroll bar
    QScrollBar* Bar = Box->verticalScrollBar();
    EXPECT_TRUE(Bar->isVisible());
    EXPECT_FALSE(Box->horizontalScrollBar()->isVisible());

    // Every control can be brought whole into view.
    QList<QWidget*> Controls;
    for (QAbstractButton* B : Dlg->findChildren<QAbstractButton*>()) Controls << B;
    Controls << Dlg->FileTypeListBox;
    for (QWidget* C : Controls) {
        if (!C->isVisibleTo(Dlg)) continue;
        Box->ensureWidgetVisible(C, 0, 0);
        const QRect OnViewport(C->mapTo(Box->viewport(), QPoint(0, 0)), C->size());
        EXPECT_TRUE(Box->viewport()->rect().contains(OnViewport)) << C->objectName().toStdString();
    }
    // Scrolled to the end, the buttons at the bottom are in view, on the screen.
    Bar->setValue(Bar->maximum());
    for (QWidget* B : std::initializer_list<QWidget*>{Dlg->btnSetStandards, Dlg->btnOK, Dlg->btnCancel}) {
        EXPECT_EQ(B->visibleRegion(), QRegion(B->rect())) << B->objectName().toStdString();
        EXPECT_TRUE(Area.contains(QRect(B->mapToGlobal(QPoint(0, 0)), B->size())))
            << B->objectName().toStdString();
    }
    // Tab reaches them from the top, and brings each into view.
    Bar->setValue(0);
    Dlg->activateWindow();
    Dlg->btnCol0->setFocus(Qt::TabFocusReason);
    QWidget* Cancel = Dlg->btnCancel;
    for (int I = 0; I < 60 && QApplication::focusWidget() != Cancel; ++I) {
        QKeyEvent Tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget(), &Tab);
    }
    ASSERT_EQ(QApplication::focusWidget(), Cancel);
    EXPECT_EQ(Cancel->visibleRegion(), QRegion(Cancel->rect()));
}
