// The 3D controller, a tool window of the main window, stands above it and below every
// question asked while it is open, under each window manager the tests run with.
#include "ReportOptionsDialog.h"
#include "X11Desk.h"
#include "solid3d/Solid3DTestUtil.h"
#include "test_desktop_common.h"
#include "test_drive_events.h"
#include "uChildWinSolidStates.h"
#include "uFGlobal.h"
#include "uFrmSolidStatesController.h"
#include "uInfo.h"
#include "uYESNOCANCEL.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

namespace {
class ControllerStackingTest : public OpenedMainWindow {
protected:
    void SetUp() override {
        OpenedMainWindow::SetUp();
        ASSERT_TRUE(Framed(Main));
        Win = qobject_cast<TChildWinSolidStates*>(
            Open("CUBE.3D", SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}}, {{1, 2}, {2, 3}, {3, 1}})));
        ASSERT_NE(Win, nullptr);
        Win->Timer1->stop();
        Win->btnControllerClick();
        Controller = frmSolidStatesController;
        ASSERT_NE(Controller, nullptr);
        ASSERT_TRUE(Framed(Controller));
    }
    void TearDown() override {
        delete Controller;
        OpenedMainWindow::TearDown();
    }
    // The stacking of the modal dialog Open shows, the controller and the main window
    // once the dialog is framed; then the dialog is cancelled.
    QString StackingWhileUp(const std::function<void()>& Open) {
        QStringList Order;
        drive::WhileModal(Open, [&](QWidget* Shown) {
            QPointer<QWidget> Dialog = Shown;
            Framed(Dialog);
            // The window manager restacks in its own time: the right order, or the last seen.
            WaitFor(
                [&] {
                    Order.clear();
                    for (const QWidget* W : StackedTopFirst({Dialog, Controller, Main}))
                        Order << (W == Dialog ? "dialog" : W == Controller ? "controller" : "main");
                    return Order.join(' ') == "dialog controller main";
                },
                2000);
            if (Dialog) static_cast<QDialog*>(Dialog.data())->reject();
        });
        return Order.join(' ');
    }
    TChildWinSolidStates* Win = nullptr;
    QPointer<TfrmSolidStatesController> Controller;
};
} // namespace

TEST_F(ControllerStackingTest, QuestionsStandAboveTheController) {
    SetReportOutputHook({});
    const std::pair<const char*, std::function<void()>> Dialogs[] = {
        {"the about box", [&] { TfrmAbout(Main).exec(); }},
        {"the output options", [&] { Win->PrintReport(); }},
        {"the save question", [&] { TfrmYESNOCANCEL(Main).exec(); }}};
    for (const auto& [What, Show] : Dialogs)
        EXPECT_EQ(StackingWhileUp(Show), "dialog controller main") << What;
    // The controller is still there, above the main window.
    EXPECT_TRUE(Controller->isVisible());
    EXPECT_EQ(StackedTopFirst({Controller, Main}), (QList<const QWidget*>{Controller, Main}));
}
