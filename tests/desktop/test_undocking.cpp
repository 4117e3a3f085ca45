// The dock button of every document window kind under a window manager: the free
// window's frame, title bar included, stands where the window puts its Left and
// Top, and docking again gives a proper MDI child; either way the window has the keyboard.
#include "solid3d/Solid3DTestUtil.h"
#include "test_desktop_common.h"
#include "uChildWinSolidStates.h"
#include "uDocWindow.h"
#include "uFrmSolidStatesController.h"

#include <QAbstractButton>
#include <QPointer>
#include <QScreen>

namespace {
class UndockingTest : public OpenedMainWindow {
protected:
    void SetUp() override {
        OpenedMainWindow::SetUp();
        Main->resize(1000, 800);
        ASSERT_TRUE(WaitFor([this] { return !FrameMargins(Main).isNull(); }))
            << "no window manager frames the main window";
    }
    // The kinds of document windows, each opened as the user opens it.
    QList<std::pair<QString, QWidget*>> OpenEveryKind() {
        QByteArray Text, Listing;
        for (int K = 1; K <= 30; ++K) {
            Text += QByteArray(30, char('A' + K % 26)) + char(155);
            Listing +=
                QByteArray::number(K * 10) + " PRINT \"LINE " + QByteArray::number(K) + "\"" + char(155);
        }
        QList<std::pair<QString, QWidget*>> Windows = {
            {"picture", Open("PAGE.PIC", RandomBytes(7680, 1))},
            {"text", Open("THIRTY.TXT", Text)},
            {"listing", Open("THIRTY.LST", Listing)},
            {"font", Open("MY.FNT", RandomBytes(1024, 2))},
            {"3D", Open("CUBE.3D", SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}},
                                             {{1, 2}, {2, 3}, {3, 4}, {4, 1}}))}};
        // The tool windows, from the menu.
        const auto Add = [&](const char* Kind) {
            Windows << std::pair{QString(Kind), Main->ActiveDocument()};
        };
        Main->menuATASCIITableClick();
        Add("ATASCII table");
        Main->menuFontMapClick();
        Add("font map");
        Main->menuATASCIIEditorClick();
        Add("ASCII editor");
        QApplication::processEvents();
        return Windows;
    }
    // Window's top-level window is the active one and a control of Window has the focus.
    static bool HasKeyboard(QWidget* Window) {
        return WaitFor([Window] {
            const QWidget* Focus = QApplication::focusWidget();
            return QApplication::activeWindow() == Window->window() && Focus && Window->isAncestorOf(Focus);
        });
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
            auto* Dock = Window->findChild<QAbstractButton*>("btnIsChildWin");
            ASSERT_NE(Dock, nullptr);
            Dock->click();
            ASSERT_TRUE(Window->isWindow());
            // Framed, settled where it was put, shown in the normal state.
            const QPoint Corner = Kind == "text" ? QPoint(10, 10) : QPoint(1, 1);
            EXPECT_TRUE(Framed(Window));
            EXPECT_EQ(FrameOf(Window).topLeft(), Corner) << RectText(FrameOf(Window)).toStdString();
            EXPECT_EQ(Window->frameGeometry(), FrameOf(Window));
            EXPECT_EQ(Window->windowState(), Qt::WindowNoState);
            EXPECT_TRUE(HasKeyboard(Window));
            // A later resize, once framed, leaves the frame's corner where it is.
            Window->resize(Window->size() + QSize(8, 6));
            Settle(150);
            EXPECT_EQ(FrameOf(Window).topLeft(), Corner);
            EXPECT_TRUE(Screen.contains(QRect(Dock->mapToGlobal(QPoint(0, 0)), Dock->size())));

            Dock->click();
            QApplication::processEvents();
            auto* Sub = qobject_cast<QMdiSubWindow*>(Window->parentWidget());
            ASSERT_NE(Sub, nullptr);
            EXPECT_TRUE(Sub->isVisible() && Window->isVisible());
            EXPECT_EQ(Main->ActiveDocument(), Window);
            EXPECT_TRUE(HasKeyboard(Window));
            EXPECT_GE(Window->width(), 100);
            EXPECT_TRUE(Main->MdiArea->viewport()->rect().contains(Sub->geometry().topLeft()))
                << RectText(Sub->geometry()).toStdString();
        }
    }
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

// A window zoomed beyond the screen is fitted to it when undocked: title bar and dock button in reach.
TEST_F(UndockingTest, AWindowLargerThanTheScreenIsFittedToItWhenUndocked) {
    QWidget* Window = Open("MY.FNT", RandomBytes(1024, 2));
    ASSERT_NE(Window, nullptr);
    const QRect Screen = Main->screen()->availableGeometry();
    SetClientSize(Window, Screen.width() + 700, Screen.height() + 100);
    auto* Dock = Window->findChild<QAbstractButton*>("btnIsChildWin");
    Dock->click();
    ASSERT_TRUE(Framed(Window));
    EXPECT_TRUE(Screen.contains(FrameOf(Window))) << RectText(FrameOf(Window)).toStdString();
    EXPECT_TRUE(Screen.contains(QRect(Dock->mapToGlobal(QPoint(0, 0)), Dock->size())));
}

// The controller, a free window the 3D window places itself, stands with its frame
// at the place the 3D window gives it, also when resized before it is framed.
TEST_F(UndockingTest, TheControllersFrameStandsWhereThe3DWindowPutsIt) {
    auto* Window = qobject_cast<TChildWinSolidStates*>(
        Open("CUBE.3D", SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}}, {{1, 2}, {2, 3}, {3, 1}})));
    ASSERT_NE(Window, nullptr);
    const QRect M = FrameOf(Main);
    Window->btnControllerClick();
    QPointer<TfrmSolidStatesController> Controller = frmSolidStatesController;
    ASSERT_NE(Controller, nullptr);
    Controller->resize(Controller->size() + QSize(0, 1));
    Framed(Controller);
    EXPECT_EQ(FrameOf(Controller).topLeft(),
              QPoint(M.right() + 1 - Controller->width() - 15, M.top() + Main->TopPanelHeight() + 55));
    delete Controller;
}
