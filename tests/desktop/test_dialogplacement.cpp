// The settings dialog (fixed size 691 x 630) on a screen with room for it, and on
// one without (1600 x 1200 at twice the scale: 800 x 600): its whole frame on the
// screen, and where it must, its controls scroll so that each can be reached.
#include "VekButton.h"
#include "X11Desk.h"
#include "test_desktop_common.h"
#include "test_drive_events.h"
#include "uInfo.h"
#include "uParam.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QListWidget>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

namespace {
class DialogPlacementTest : public OpenedMainWindow {
protected:
    void SetUp() override {
        OpenedMainWindow::SetUp();
        SettingsFolder = Dir.path() + "/";
        ASSERT_TRUE(Framed(Main));
        Dlg = new TfrmParameter(Main);
        Dlg->show();
        ASSERT_TRUE(Framed(Dlg));
        Box = Dlg->findChild<QScrollArea*>("scrDialogBody");
        ASSERT_NE(Box, nullptr);
        Area = Dlg->screen()->availableGeometry();
    }
    void TearDown() override {
        delete Dlg;
        OpenedMainWindow::TearDown();
    }
    TfrmParameter* Dlg = nullptr;
    QScrollArea* Box = nullptr;
    QRect Area;
};
using ScaledDialogTest = DialogPlacementTest;
} // namespace

TEST_F(DialogPlacementTest, TheSettingsDialogKeepsItsLookWhereItFits) {
    EXPECT_EQ(Dlg->size(), QSize(691, 630));
    EXPECT_EQ(Dlg->minimumSize(), Dlg->maximumSize());   // a fixed dialog border
    EXPECT_EQ(Box->viewport()->size(), QSize(691, 630)); // no scroll bars
    EXPECT_EQ(Dlg->focusWidget(), static_cast<QWidget*>(Dlg->btnCol0));
    EXPECT_TRUE(Area.contains(FrameOf(Dlg)));
}

// Each dialog's and message box's frame centred on the main window's, a box a transient of it.
TEST_F(DialogPlacementTest, DialogsAndMessageBoxesAreCentredFrameOnFrame) {
    Dlg->hide();
    EXPECT_EQ(Main->size(), QSize(625, 475)); // smaller than the dialog, which has room around it
    MoveFrameTo(Main, QPoint(300, 250));
    ASSERT_TRUE(Framed(Main));
    Dlg->show();
    EXPECT_TRUE(Framed(Dlg));
    EXPECT_TRUE(FrameCentredOn(Dlg, Main));
    Dlg->hide();
    SetMessageBoxHook(nullptr);
    const std::pair<const char*, std::function<void()>> Shows[] = {
        {"the about box", [&] { TfrmAbout(Main).exec(); }},
        {"a warning", [] { ShowWarningMsg("Die Datei kann nicht gespeichert werden."); }},
        {"an error", [] { ShowErrorMsg("Fehler beim Lesen"); }},
        {"a question", [] { AskYesNo("Frage", "Wirklich?"); }}};
    for (const auto& [What, Show] : Shows) {
        SCOPED_TRACE(What);
        const int Shown = drive::WhileModal(Show, [&](QWidget* Box) {
            EXPECT_TRUE(Framed(Box));
            EXPECT_EQ(TransientFor(Box), Main->winId());
            EXPECT_TRUE(FrameCentredOn(Box, Main));
            static_cast<QDialog*>(Box)->reject();
        });
        EXPECT_EQ(Shown, 1);
    }
}

TEST_F(ScaledDialogTest, TheSettingsDialogScrollsWhereTheScreenIsTooSmallForIt) {
    ASSERT_LT(Area.height(), 630) << "the screen has room for the dialog";
    EXPECT_TRUE(Area.contains(FrameOf(Dlg)))
        << RectText(FrameOf(Dlg)).toStdString() << " in " << RectText(Area).toStdString();
    EXPECT_EQ(FrameOf(Dlg).height(), Area.height());
    EXPECT_GE(Dlg->width(), 691); // as wide as before, with room for the scroll bar
    QScrollBar* Bar = Box->verticalScrollBar();
    EXPECT_TRUE(Bar->isVisible());
    EXPECT_FALSE(Box->horizontalScrollBar()->isVisible());
    // Every control can be brought whole into view.
    QList<QWidget*> Controls = {Dlg->FileTypeListBox};
    for (QAbstractButton* B : Dlg->findChildren<QAbstractButton*>())
        if (B->isVisibleTo(Dlg)) Controls << B;
    for (QWidget* C : Controls) {
        Box->ensureWidgetVisible(C, 0, 0);
        EXPECT_TRUE(
            Box->viewport()->rect().contains(QRect(C->mapTo(Box->viewport(), QPoint(0, 0)), C->size())))
            << C->objectName().toStdString();
    }
    // Tab from the top reaches the buttons at the bottom and brings each into view, on the screen.
    Bar->setValue(0);
    Dlg->activateWindow();
    Dlg->btnCol0->setFocus(Qt::TabFocusReason);
    QWidget* Cancel = Dlg->btnCancel;
    for (int I = 0; I < 60 && QApplication::focusWidget() != Cancel; ++I) {
        QKeyEvent Tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget(), &Tab);
    }
    ASSERT_EQ(QApplication::focusWidget(), Cancel);
    for (QWidget* B : {Cancel, static_cast<QWidget*>(Dlg->btnOK)}) {
        EXPECT_EQ(B->visibleRegion(), QRegion(B->rect())) << B->objectName().toStdString();
        EXPECT_TRUE(Area.contains(QRect(B->mapToGlobal(QPoint(0, 0)), B->size())))
            << B->objectName().toStdString();
    }
}
