// The 3D window by keyboard alone, and the controller's zoom, which stays 1 to 15
// whichever way it is set.
#include "Solid3DTestUtil.h"

#include "VekButton.h"
#include "shell/test_shell_common.h"
#include "test_drive_events.h"
#include "uChildWinSolidStates.h"
#include "uFrmSolidStatesController.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <QWheelEvent>

using drive::Type;

namespace {
class SolidStatesKeysTest : public OpenedMainWindow {
protected:
    void SetUp() override {
        OpenedMainWindow::SetUp();
        Win = qobject_cast<TChildWinSolidStates*>(Open(
            "quadrat.3d", SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}, {{1, 2}, {2, 3}})));
        ASSERT_NE(Win, nullptr);
        Win->Timer1->stop();
        QApplication::setActiveWindow(Main);
        QApplication::processEvents();
    }
    void TearDown() override {
        delete frmSolidStatesController;
        OpenedMainWindow::TearDown();
    }
    TfrmSolidStatesController* Controller() {
        Win->btnControllerClick();
        return frmSolidStatesController;
    }
    TChildWinSolidStates* Win = nullptr;
};
} // namespace

TEST_F(SolidStatesKeysTest, TabReachesTheToolBarAndSpaceOpensTheController) {
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

    // Space on Details hides the details; on Controller it opens the controller, active.
    Win->btnDetails->setFocus(Qt::TabFocusReason);
    Type(Qt::Key_Space);
    EXPECT_EQ(Win->ShowDetails, 0);
    Type(Qt::Key_Tab);
    ASSERT_EQ(frmSolidStatesController, nullptr);
    Type(Qt::Key_Space);
    ASSERT_NE(frmSolidStatesController, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), frmSolidStatesController);

    // Escape hands the keyboard back to the 3D window; the controller stays open.
    for (QWidget* From : {static_cast<QWidget*>(frmSolidStatesController->tbxOX),
                          static_cast<QWidget*>(frmSolidStatesController->trackBar1)}) {
        SCOPED_TRACE(From->objectName().toStdString());
        drive::Activated(frmSolidStatesController);
        From->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), From);
        Type(Qt::Key_Escape);
        EXPECT_EQ(QApplication::activeWindow(), Main);
        EXPECT_TRUE(Win->isAncestorOf(QApplication::focusWidget()));
        EXPECT_TRUE(frmSolidStatesController->isVisible());
    }
}

TEST_F(SolidStatesKeysTest, ControllerZoomTakesOneToFifteenAndNoMore) {
    TfrmSolidStatesController* C = Controller();
    ASSERT_NE(C, nullptr);
    const auto Zoom = [this] { return Win->Om3D->Zoom; };
    // The track bar starts on the zoom, with the zoom's whole range.
    ASSERT_EQ(C->ActiveEdit, C->tbxZoom);
    EXPECT_EQ(std::make_pair(C->trackBar1->minimum(), C->trackBar1->maximum()), std::make_pair(1, 15));
    C->trackBar1->setValue(16);
    EXPECT_EQ(std::make_pair(Zoom(), C->tbxZoom->text()), std::make_pair(15.0, QString("15")));
    // Keys and the wheel on the track bar.
    for (const auto& [Key, Want] : {std::pair{Qt::Key_Home, 1.0},
                                    {Qt::Key_PageDown, 1.0},
                                    {Qt::Key_End, 15.0},
                                    {Qt::Key_PageUp, 15.0}}) {
        drive::Key(C->trackBar1, Key);
        EXPECT_EQ(Zoom(), Want) << Key;
    }
    QWheelEvent Wheel(QPointF(5, 5), C->trackBar1->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120 * 40),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(C->trackBar1, &Wheel);
    EXPECT_TRUE(Zoom() >= 1.0 && Zoom() <= 15.0) << Zoom();
    // Typed values, on entering the edit, and typed values that reach the model through
    // another edit's track bar change: held at the ends, a fraction inside kept.
    for (const auto& [Typed, Want] : std::initializer_list<std::pair<const char*, double>>{
             {"0.25", 1.0}, {"-7", 1.0}, {"7.5", 8.0}, {"40", 15.0}}) {
        C->tbxZoom->setText(Typed);
        C->tbxEnter(C->tbxZoom);
        EXPECT_EQ(Zoom(), Want) << Typed;
    }
    C->tbxEnter(C->tbxOX);
    for (const auto& [Typed, Want] :
         std::initializer_list<std::pair<const char*, double>>{{"1e6", 15.0}, {"0", 1.0}, {"2.5", 2.5}}) {
        C->tbxZoom->setText(Typed);
        C->trackBar1->setValue(C->trackBar1->value() == 3 ? 4 : 3);
        EXPECT_EQ(std::make_pair(Zoom(), C->tbxZoom->text()), std::make_pair(Want, QString::number(Want)));
    }
    EXPECT_TRUE(Boxes.isEmpty());
}

TEST_F(SolidStatesKeysTest, SpaceOnRotiereStartsAndStopsTheRotationAsTheMouseDoes) {
    TfrmSolidStatesController* C = Controller();
    ASSERT_NE(C, nullptr);
    QApplication::setActiveWindow(C);
    C->btnRotate->setFocus(Qt::TabFocusReason);
    // Automatic mode: one press starts, the next stops; a held key's repeats count once.
    QKeyEvent Press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QKeyEvent Repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QString(" "), true);
    QKeyEvent Release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier);
    for (QKeyEvent* E : {&Press, &Repeat, &Release}) QApplication::sendEvent(C->btnRotate, E);
    EXPECT_EQ(std::make_pair(Win->Timer1->isActive(), int(C->Rotating)), std::make_pair(true, 1));
    Type(Qt::Key_Space);
    EXPECT_EQ(std::make_pair(Win->Timer1->isActive(), int(C->Rotating)), std::make_pair(false, 0));
    // By hand: the model turns while Space holds the button.
    C->cbAutorotate->setChecked(false);
    QApplication::sendEvent(C->btnRotate, &Press);
    EXPECT_TRUE(Win->Timer1->isActive());
    QApplication::sendEvent(C->btnRotate, &Release);
    EXPECT_FALSE(Win->Timer1->isActive());

    // A quick double click with the mouse is two presses: started and stopped again.
    C->cbAutorotate->setChecked(true);
    const QPointF At(C->btnRotate->rect().center());
    for (QEvent::Type T : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                           QEvent::MouseButtonRelease}) {
        QMouseEvent E(T, At, C->btnRotate->mapToGlobal(At), Qt::LeftButton,
                      T == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(C->btnRotate, &E);
    }
    EXPECT_EQ(std::make_pair(Win->Timer1->isActive(), int(C->Rotating)), std::make_pair(false, 0));
}
