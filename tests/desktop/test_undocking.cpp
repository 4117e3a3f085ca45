// The dock button of every document window kind under a window manager: the free
// window's frame, title bar included, stands where the window puts its Left and
// Top, and docking again gives a proper MDI child.
#include "FramePlacement.h"
#include "solid3d/Solid3DTestUtil.h"
#include "test_desktop_common.h"
#include "uChildWinSolidStates.h"
#include "uFrmSolidStatesController.h"

#include <QAbstractButton>
#include <QPointer>
#include <QScreen>
#include <QWindow>

namespace {
class UndockingTest : public OpenedMainWindow {
protected:
    void SetUp() override {
        OpenedMainWindow::SetUp();
        Main->resize(1000, 800);
        ASSERT_TRUE(WaitFor([this] { return !FrameMargins(Main).isNull(); }))
            << "no window manager frames the main window";
    }
    static QByteArray Lines(int Count, char Last) {
        QByteArray Data;
        for (int K = 0; K < Count; ++K) Data += QByteArray(30, char('A' + K % 26)) + Last;
        return Data;
    }
    static QByteArray Listing(int Count) {
        QByteArray Data;
        for (int K = 1; K <= Count; ++K)
            Data += QByteArray::number(K * 10) + " PRINT \"LINE " + QByteArray::number(K) + "\"" + char(155);
        return Data;
    }
    // The kinds of document windows, each opened as the user opens it.
    QList<std::pair<QString, QWidget*>> OpenEveryKind() {
        QByteArray Font(1024, 0);
        for (int K = 0; K < 1024; ++K) Font[K] = char(K * 7);
        QByteArray Page(7680, 0);
        for (int K = 0; K < Page.size(); ++K) Page[K] = char(K * 13);
        QList<std::pair<QString, QWidget*>> Windows;
        Windows << std::pair{QStringLiteral("picture"), Open("PAGE.PIC", Page)};
        Windows << std::pair{QStringLiteral("text"), Open("THIRTY.TXT", Lines(30, char(155)))};
        Windows << std::pair{QStringLiteral("listing"), Open("THIRTY.LST", Listing(30))};
        Windows << std::pair{QStringLiteral("font"), Open("MY.FNT", Font)};
        Windows << std::pair{QStringLiteral("3D"),
                             Open("CUBE.3D", SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}},
                                                       {{1, 2}, {2, 3}, {3, 4}, {4, 1}}))};
        Main->menuATASCIITableClick();
        Windows << std::pair{QStringLiteral("ATASCII table"), Main->ActiveDocument()};
        Main->menuFontMapClick();
        Windows << std::pair{QStringLiteral("font map"), Main->ActiveDocument()};
        Main->menuATASCIIEditorClick();
        Windows << std::pair{QStringLiteral("ASCII editor"), Main->ActiveDocument()};
        QApplication::processEvents();
        return Windows;
    }
};
} // namespace

TEST_F(UndockingTest, EveryWindowKindUndocksWithItsFrameAtItsCornerAndDocksAgain) {
    const auto Windows = OpenEveryKind();
    const QRect Screen = Main->screen()->availableGeometry();
    for (int Round = 0; Round < 2; ++Round) {
        for (const auto& [Kind, Window] : Windows) {
            SCOPED_TRACE(Kind.toStdString() + (Round ? ", second time" : ""));
            ASSERT_NE(Window, nullptr);
            ASSERT_FALSE(Window->isWindow());
            auto* Dock = Window->findChild<QAbstractButton*>("btnIsChildWin");
            ASSERT_NE(Dock, nullptr);
            Dock->click();
            ASSERT_TRUE(Window->isWindow());
            const QPoint Corner = Kind == "text" ? QPoint(10, 10) : QPoint(1, 1);
            // Framed, and settled where it was put.
            WaitFor([&] { return !FrameMargins(Window).isNull() && !FramePlacementPending(Window); });
            Settle(100);
            const QRect Frame = Window->windowHandle()->frameGeometry();
            EXPECT_EQ(Frame.topLeft(), Corner) << RectText(Frame).toStdString();
            EXPECT_FALSE(FrameMargins(Window).isNull());
            EXPECT_EQ(Window->frameGeometry(), Frame);
            // Usable: shown in the normal state, its title bar and dock button on the screen.
            EXPECT_TRUE(Window->isVisible());
            EXPECT_EQ(Window->windowState(), Qt::WindowNoState);
            EXPECT_TRUE(Screen.contains(Frame.topLeft()));
            EXPECT_TRUE(Dock->isVisible());
            // A later resize, once framed, leaves the frame's corner where it is.
            Window->resize(Window->size() + QSize(8, 6));
            Settle(150);
            EXPECT_EQ(Window->windowHandle()->frameGeometry().topLeft(), Corner);
            EXPECT_TRUE(Screen.contains(QRect(Dock->mapToGlobal(QPoint(0, 0)), Dock->size())))
                << RectText(QRect(Dock->mapToGlobal(QPoint(0, 0)), Dock->size())).toStdString();

            Dock->click();
            QApplication::processEvents();
            ASSERT_FALSE(Window->isWindow());
            auto* Sub = qobject_cast<QMdiSubWindow*>(Window->parentWidget());
            ASSERT_NE(Sub, nullptr);
            EXPECT_TRUE(Main->MdiArea->subWindowList().contains(Sub));
            EXPECT_TRUE(Window->isVisible());
            EXPECT_TRUE(Sub->isVisible());
            EXPECT_EQ(Main->ActiveDocument(), Window);
            EXPECT_GE(Window->width(), 100);
            EXPECT_GE(Window->height(), 50);
            EXPECT_TRUE(Main->MdiArea->viewport()->rect().contains(Sub->geometry().topLeft()))
                << RectText(Sub->geometry()).toStdString();
        }
    }
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

// The controller, a free window the 3D window places itself, stands with its frame
// at the place the 3D window gives it.
TEST_F(UndockingTest, TheControllersFrameStandsWhereThe3DWindowPutsIt) {
    auto* Window = qobject_cast<TChildWinSolidStates*>(
        Open("CUBE.3D", SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}}, {{1, 2}, {2, 3}, {3, 1}})));
    ASSERT_NE(Window, nullptr);
    const QRect Main = this->Main->windowHandle()->frameGeometry();
    Window->btnControllerClick();
    QPointer<TfrmSolidStatesController> Controller = frmSolidStatesController;
    ASSERT_NE(Controller, nullptr);
    // A resize before the window manager has framed it keeps the corner as well.
    Controller->resize(Controller->size() + QSize(0, 1));
    WaitFor([&] { return !FrameMargins(Controller).isNull() && !FramePlacementPending(Controller); });
    Settle(100);
    EXPECT_EQ(
        Controller->windowHandle()->frameGeometry().topLeft(),
        QPoint(Main.right() + 1 - Controller->width() - 15, Main.top() + this->Main->TopPanelHeight() + 55));
    delete Controller;
}
