// The 3D window by keyboard alone, and the controller's zoom, which stays 1 to 15
// whichever way it is set.
#include "Solid3DTestUtil.h"

#include "VekButton.h"
#include "shell/test_shell_common.h"
#include "test_drive_events.h"
#include "uChildWinSolidStates.h"
#include "uFrmSolidStatesController.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>
#include <QWheelEvent>

namespace {
class SolidStatesKeysTest : public OpenedMainWindow {
protected:
    void TearDown() override {
        delete frmSolidStatesController;
        OpenedMainWindow::TearDown();
    }
    TChildWinSolidStates* Open() {
        auto* Win = qobject_cast<TChildWinSolidStates*>(OpenedMainWindow::Open(
            "quadrat.3d", SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}, {{1, 2}, {2, 3}})));
        if (Win) Win->Timer1->stop();
        QApplication::setActiveWindow(Main);
        QApplication::processEvents();
        return Win;
    }
    static void Type(int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        QWidget* Focus = QApplication::focusWidget();
        ASSERT_NE(Focus, nullptr);
        drive::Key(Focus, Key, Modifiers);
        QApplication::processEvents();
    }
};
} // namespace

TEST_F(SolidStatesKeysTest, TabReachesTheToolBarAndSpaceOpensTheController) {
    TChildWinSolidStates* Win = Open();
    ASSERT_NE(Win, nullptr);
    Main->setFocus(Qt::OtherFocusReason);
    QList<QWidget*> Reached;
    for (int I = 0; I < 100 && Reached.size() < 3; ++I) {
        Type(Qt::Key_Tab);
        QWidget* Now = QApplication::focusWidget();
        if (!Win->isAncestorOf(Now) || Reached.contains(Now)) continue;
        Reached << Now;
        EXPECT_TRUE(static_cast<TVekButton*>(Now)->IsActive()); // outlined as the focused button
    }
    // The hidden full-screen button is left out.
    EXPECT_EQ(Reached, (QList<QWidget*>{Win->btnDetails, Win->btnController, Win->btnIsChildWin}));

    // Space on Details hides the details; on Controller it opens the controller.
    Win->btnDetails->setFocus(Qt::TabFocusReason);
    Type(Qt::Key_Space);
    EXPECT_EQ(Win->ShowDetails, 0);
    Type(Qt::Key_Space);
    EXPECT_EQ(Win->ShowDetails, 1);
    Type(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Win->btnController);
    ASSERT_EQ(frmSolidStatesController, nullptr);
    Type(Qt::Key_Space);
    ASSERT_NE(frmSolidStatesController, nullptr);
    EXPECT_TRUE(frmSolidStatesController->isVisible());
    // It comes up active, so the keyboard goes on in it; pressed again, it comes back.
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), frmSolidStatesController);
    QApplication::setActiveWindow(Main);
    Win->btnController->setFocus(Qt::TabFocusReason);
    Type(Qt::Key_Space);
    EXPECT_EQ(QApplication::activeWindow(), frmSolidStatesController);
}

TEST_F(SolidStatesKeysTest, ControllerZoomTakesOneToFifteenAndNoMore) {
    TChildWinSolidStates* Win = Open();
    ASSERT_NE(Win, nullptr);
    Win->btnControllerClick();
    TfrmSolidStatesController* C = frmSolidStatesController;
    ASSERT_NE(C, nullptr);
    const auto Zoom = [Win] { return Win->Om3D->Zoom; };

    // The track bar starts on the zoom, with the zoom's whole range.
    ASSERT_EQ(C->ActiveEdit, C->tbxZoom);
    EXPECT_EQ(std::make_pair(C->trackBar1->minimum(), C->trackBar1->maximum()), std::make_pair(1, 15));
    C->trackBar1->setValue(15);
    EXPECT_EQ(std::make_pair(Zoom(), C->tbxZoom->text()), std::make_pair(15.0, QString("15")));
    C->trackBar1->setValue(16);
    EXPECT_EQ(Zoom(), 15.0);

    // Keys and the wheel on the track bar.
    C->trackBar1->setFocus(Qt::TabFocusReason);
    drive::Key(C->trackBar1, Qt::Key_Home);
    EXPECT_EQ(Zoom(), 1.0);
    drive::Key(C->trackBar1, Qt::Key_Left);
    drive::Key(C->trackBar1, Qt::Key_PageDown);
    EXPECT_EQ(Zoom(), 1.0);
    drive::Key(C->trackBar1, Qt::Key_End);
    drive::Key(C->trackBar1, Qt::Key_Right);
    drive::Key(C->trackBar1, Qt::Key_PageUp);
    EXPECT_EQ(Zoom(), 15.0);
    for (const int Delta : {-120 * 40, 120 * 40}) {
        QWheelEvent Wheel(QPointF(5, 5), C->trackBar1->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, Delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(C->trackBar1, &Wheel);
        EXPECT_GE(Zoom(), 1.0);
        EXPECT_LE(Zoom(), 15.0);
    }

    // Typed values: entering the edit puts them on the track bar's range.
    for (const auto& [Typed, Want] : std::initializer_list<std::pair<const char*, double>>{
             {"0.25", 1.0}, {"-7", 1.0}, {"7.5", 8.0}, {"40", 15.0}}) {
        C->tbxZoom->setText(Typed);
        C->tbxEnter(C->tbxZoom);
        EXPECT_EQ(Zoom(), Want) << Typed;
    }
    // A typed zoom beyond the range reaches the model through another edit's track
    // bar change: it arrives held at the end, and the edit shows it so.
    C->tbxZoom->setText("1e6");
    C->tbxEnter(C->tbxOX);
    C->trackBar1->setValue(C->trackBar1->value() == 3 ? 4 : 3);
    EXPECT_EQ(std::make_pair(Zoom(), C->tbxZoom->text()), std::make_pair(15.0, QString("15")));
    C->tbxZoom->setText("0");
    C->trackBar1->setValue(C->trackBar1->value() == 3 ? 4 : 3);
    EXPECT_EQ(std::make_pair(Zoom(), C->tbxZoom->text()), std::make_pair(1.0, QString("1")));
    // A fraction inside the range is kept as typed.
    C->tbxZoom->setText("2.5");
    C->trackBar1->setValue(C->trackBar1->value() == 3 ? 4 : 3);
    EXPECT_EQ(std::make_pair(Zoom(), C->tbxZoom->text()), std::make_pair(2.5, QString("2.5")));
    EXPECT_TRUE(Boxes.isEmpty());
}

TEST_F(SolidStatesKeysTest, SpaceOnRotiereStartsAndStopsTheRotationAsTheMouseDoes) {
    TChildWinSolidStates* Win = Open();
    ASSERT_NE(Win, nullptr);
    Win->btnControllerClick();
    TfrmSolidStatesController* C = frmSolidStatesController;
    ASSERT_NE(C, nullptr);
    QApplication::setActiveWindow(C);
    C->cbDrawLines->setFocus(Qt::TabFocusReason);
    // Back from the drawing options to the rotate button and its check box.
    Type(Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), C->cbAutorotate);
    Type(Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), C->btnRotate);
    // Automatic mode: one press starts, the next stops; a held key's repeats count once.
    ASSERT_FALSE(Win->Timer1->isActive());
    QKeyEvent Press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QApplication::sendEvent(C->btnRotate, &Press);
    QKeyEvent Repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QString(" "), true);
    QApplication::sendEvent(C->btnRotate, &Repeat);
    QKeyEvent Release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier);
    QApplication::sendEvent(C->btnRotate, &Release);
    EXPECT_EQ(std::make_pair(Win->Timer1->isActive(), int(C->Rotating)), std::make_pair(true, 1));
    Type(Qt::Key_Space);
    EXPECT_EQ(std::make_pair(Win->Timer1->isActive(), int(C->Rotating)), std::make_pair(false, 0));
    // By hand: Space on the check box, then the model turns while Space holds the button.
    Type(Qt::Key_Tab);
    Type(Qt::Key_Space);
    ASSERT_FALSE(C->cbAutorotate->isChecked());
    Type(Qt::Key_Backtab);
    QApplication::sendEvent(C->btnRotate, &Press);
    EXPECT_TRUE(Win->Timer1->isActive());
    QApplication::sendEvent(C->btnRotate, &Release);
    EXPECT_FALSE(Win->Timer1->isActive());
}
