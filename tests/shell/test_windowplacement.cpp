// Document windows on the main window at its default size: where they open, and
// that zooming leaves them laid out and painted at their new size.
#include "solid3d/Solid3DTestUtil.h"
#include "test_drive_events.h"
#include "test_shell_common.h"
#include "uChildWinFont.h"
#include "uChildWinGraphic.h"
#include "uDocWindow.h"
#include "uSplash.h"

#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QWindow>

namespace {
class WindowPlacementTest : public OpenedMainWindow {
protected:
    static QMdiSubWindow* Frame(QWidget* W) { return qobject_cast<QMdiSubWindow*>(W->parentWidget()); }
    // What the main window shows on screen (its backing store), after pending paints.
    QImage Screen() {
        QApplication::processEvents();
        return Main->screen()->grabWindow(Main->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    }
    // Part of Widget visible in the MDI area shows on screen exactly as the widget
    // paints itself now, and Widget spans its window's width.
    void ExpectPaintedAcross(QWidget* Widget, const char* What) {
        QWidget* Window = Widget;
        while (Window && !Frame(Window)) Window = Window->parentWidget();
        ASSERT_NE(Window, nullptr);
        EXPECT_EQ(Widget->width(), Window->width()) << What;
        const QImage Fresh = Widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage Shown = Screen();
        const QRect OnMain(Widget->mapTo(Main, QPoint(0, 0)), Widget->size());
        const QRect Viewport(Main->MdiArea->viewport()->mapTo(Main, QPoint(0, 0)),
                             Main->MdiArea->viewport()->size());
        const QRect Visible = OnMain.intersected(Viewport);
        ASSERT_GT(Visible.width(), std::min(Widget->width() / 2, 300)) << What;
        int Wrong = 0;
        for (int Y = Visible.top(); Y <= Visible.bottom(); ++Y)
            for (int X = Visible.left(); X <= Visible.right(); ++X)
                if (Shown.pixel(X, Y) != Fresh.pixel(X - OnMain.x(), Y - OnMain.y())) ++Wrong;
        EXPECT_EQ(Wrong, 0) << What << ": stale pixels on screen";
    }
};
} // namespace

TEST_F(WindowPlacementTest, NewWindowsOpenAtCascadeStepsWithTheirCornerVisible) {
    EXPECT_EQ(Main->size(), QSize(625, 475));
    QWidget* Viewport = Main->MdiArea->viewport();

    QWidget* Picture = Open("ONE.PIC", RandomBytes(7680, 7));
    ASSERT_NE(Picture, nullptr);
    const QRect First = Frame(Picture)->geometry();
    EXPECT_EQ(First.topLeft(), QPoint(0, 0));
    EXPECT_TRUE(Viewport->rect().contains(First)) << First.width() << "x" << First.height();

    // The text window is wider than the area: it starts at the next cascade step
    // with its left edge and title in view.
    QByteArray Line = QByteArray(39, 'A') + char(155);
    QWidget* Text = Open("TWO.TXT", Line.repeated(20));
    ASSERT_NE(Text, nullptr);
    const QRect Second = Frame(Text)->geometry();
    EXPECT_GT(Second.width(), Viewport->width());
    EXPECT_GT(Second.x(), 0);
    EXPECT_EQ(Second.x(), Second.y());
    EXPECT_LT(Second.x(), Viewport->width() / 2);
    EXPECT_TRUE(Viewport->rect().contains(Second.topLeft()));
    EXPECT_EQ(Text->mapTo(Viewport, QPoint(0, 0)).x(), Second.x() + Frame(Text)->contentsMargins().left());

    EXPECT_EQ(Frame(Open("THREE.PIC", RandomBytes(7680, 7)))->pos(), Second.topLeft() * 2);
    EXPECT_EQ(Frame(Picture)->pos(), First.topLeft()); // the earlier windows stay where they opened
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

TEST_F(WindowPlacementTest, ZoomedWindowsAreLaidOutAndPaintedAtTheirNewSize) {
    QByteArray Font(1024, 0);
    for (int I = 0; I < 1024; ++I) Font[I] = char(I * 7);
    const QByteArray Object =
        SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}, {{1, 2}, {2, 3}, {3, 4}, {4, 1}});
    const std::pair<QString, QByteArray> Files[] = {
        {"PAGE.PIC", RandomBytes(7680, 7)}, {"MY.FNT", Font}, {"CUBE.3D", Object}};
    for (const auto& [Name, Data] : Files) {
        QWidget* Win = Open(Name, Data);
        ASSERT_NE(Win, nullptr) << Name.toStdString();
        auto* Top = Win->findChild<QWidget*>("pnlTop");
        ASSERT_NE(Top, nullptr);
        Main->btnZoomOutClick();
        Screen();
        Main->btnZoomInClick();
        EXPECT_LE(Win->findChild<QWidget*>("btnIsChildWin")->geometry().right(), Top->width());
        ExpectPaintedAcross(Top, qPrintable(Name + " top panel"));
        auto* Picture = qobject_cast<TChildWinGraphic*>(Win);
        if (!Picture) {
            Main->MdiArea->closeAllSubWindows();
            continue;
        }
        ExpectPaintedAcross(Picture->pnlBottom, "picture info panel");
        Picture->FitWindow();
        ExpectPaintedAcross(Top, "picture top panel after Fit");
        // Zoomed as far as it goes, the view scrolls inside a window of at most
        // MaxWindowSide, its panel still laid out.
        const int Beeps = BeepCount;
        for (int I = 0; I < 16; ++I) Picture->ZoomIn();
        EXPECT_EQ(Picture->ImgGraphic->ViewSize(), QSize(320, 192) * 8192);
        EXPECT_EQ(BeepCount, Beeps + 3);
        EXPECT_EQ(Frame(Picture)->width(), MaxWindowSide);
        EXPECT_LT(Picture->btnReport->geometry().right(), 200);
        ExpectPaintedAcross(Top, "picture top panel at the largest zoom");
        Main->MdiArea->closeAllSubWindows();
    }
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

namespace {
// One file of each document kind, cycled for as many windows as asked.
std::pair<QString, QByteArray> MixedFile(int I) {
    QByteArray Font(1024, 0);
    for (int K = 0; K < 1024; ++K) Font[K] = char(K * 7);
    QByteArray Text;
    for (int K = 0; K < 30; ++K) Text += QByteArray(39, char('A' + K % 26)) + char(155);
    const QByteArray Listing = QByteArray("10 PRINT \"HELLO\"") + char(155) + "20 GOTO 10" + char(155);
    const QByteArray Object = SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}}, {{1, 2}, {2, 3}, {3, 1}});
    QByteArray Page(7680, 0);
    for (int K = 0; K < Page.size(); ++K) Page[K] = char(K * 13);
    const std::pair<QString, QByteArray> Kinds[] = {{"P%1.PIC", Page},    {"T%1.TXT", Text},
                                                    {"L%1.LST", Listing}, {"F%1.FNT", Font},
                                                    {"O%1.3D", Object},   {"G%1.GR9", Page}};
    const auto& [Pattern, Data] = Kinds[I % 6];
    return {Pattern.arg(I), Data};
}

QString Rect(const QRect& R) {
    return QStringLiteral("%1,%2 %3x%4").arg(R.x()).arg(R.y()).arg(R.width()).arg(R.height());
}
} // namespace

// Tile and Cascade, with a maximised window and with one and two rows of icons
// (arranged where Qt puts them, one of them dragged away first, one minimised
// anew after Tile): every window lies inside the area above the icons, every
// icon shows whole, and the area needs no scroll bars.
TEST_F(WindowPlacementTest, TileAndCascadeKeepWindowsInsideTheAreaAndIconsFree) {
    QSet<int> IconRows;
    for (const QSize MainSize : {QSize(625, 475), QSize(1260, 1000)}) {
        Main->resize(MainSize);
        for (const auto& [Count, Minimised] :
             {std::pair{1, 0}, {2, 0}, {7, 0}, {12, 0}, {4, 1}, {10, 5}, {12, 7}}) {
            for (int I = 0; I < Count; ++I) {
                const auto [Name, Data] = MixedFile(I);
                ASSERT_NE(Open(Name, Data), nullptr) << Name.toStdString();
            }
            const auto Frames = Main->MdiArea->subWindowList();
            ASSERT_EQ(Frames.size(), Count);
            for (int I = 0; I < Minimised; ++I) Frames[I]->showMinimized();
            const auto Icons = [&] {
                QStringList List;
                for (auto* F : Frames)
                    if (F->isMinimized()) List << Rect(F->geometry());
                return List.join(" ").toStdString();
            };
            const std::string ByQt = Icons();
            if (Minimised) Frames[0]->move(0, 0);
            Main->WindowArrangeItemClick();
            EXPECT_EQ(Icons(), ByQt);
            for (const bool Tile : {true, false}) {
                Frames.last()->showMaximized();
                if (!Tile) {
                    Main->WindowCascadeItemClick();
                } else {
                    Main->WindowTileItemClick();
                    if (Minimised) {
                        Frames[0]->showNormal();
                        Frames[0]->showMinimized();
                    }
                }
                QApplication::processEvents();
                const QRect Area = Main->MdiArea->viewport()->rect();
                const std::string Case = (Tile ? "Tile, " : "Cascade, ") + std::to_string(Count) +
                                         " windows, " + std::to_string(Minimised) + " minimised, area " +
                                         Rect(Area).toStdString() + ": ";
                QSet<int> IconTops;
                int Room = Area.height();
                for (auto* F : Frames)
                    if (F->isMinimized()) {
                        IconTops << F->y();
                        Room = std::min(Room, F->y());
                    }
                IconRows << int(IconTops.size());
                int Covered = 0;
                for (int A = 0; A < Count; ++A) {
                    const QRect R = Frames[A]->geometry();
                    const std::string What = Case + Rect(R).toStdString();
                    EXPECT_TRUE(Area.contains(R)) << What;
                    EXPECT_FALSE(Frames[A]->isMaximized()) << What;
                    if (Frames[A]->isMinimized()) continue;
                    EXPECT_LT(R.bottom(), Room) << What;
                    if (Tile) {
                        // Each window gets a fair share: at least an eighth of the area's side.
                        EXPECT_GE(R.width(), Area.width() / 8) << What;
                        Covered += R.width() * R.height();
                    } else {
                        // One size for all, at least half the room, on a diagonal from
                        // the top or whole steps right of it.
                        EXPECT_EQ(R.size(), Frames.last()->size()) << What;
                        EXPECT_GE(R.height() * 2, Room) << What;
                        EXPECT_GE(R.x(), R.y()) << What;
                        EXPECT_EQ((R.x() - R.y()) % std::max(1, Frames.last()->contentsMargins().top()), 0)
                            << What;
                    }
                    // Tiles meet nothing; cascaded windows meet no icon.
                    for (int B = 0; B < Count; ++B) {
                        if (B == A || !(Tile || Frames[B]->isMinimized())) continue;
                        EXPECT_FALSE(R.intersects(Frames[B]->geometry()))
                            << What << " meets " << Rect(Frames[B]->geometry()).toStdString();
                    }
                }
                if (Tile) {
                    // The tiles fill the room, wider than high for a single row of windows.
                    EXPECT_GE(Covered, Area.width() * Room * 9 / 10) << Case;
                    if (Count == 2) {
                        EXPECT_EQ(Frames[0]->width(), Area.width());
                    }
                }
                EXPECT_FALSE(Main->MdiArea->horizontalScrollBar()->isVisible()) << Case;
                EXPECT_FALSE(Main->MdiArea->verticalScrollBar()->isVisible()) << Case;
            }
            Main->MdiArea->closeAllSubWindows();
            QApplication::processEvents();
        }
    }
    EXPECT_TRUE(IconRows.contains(1) && IconRows.contains(2));
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

TEST_F(WindowPlacementTest, MaximisedWindowsFillTheAreaExactly) {
    QWidget* Viewport = Main->MdiArea->viewport();
    for (const int Kind : {1, 2, 3, 0}) { // text, listing, font, picture
        const auto [Name, Data] = MixedFile(Kind);
        QWidget* Win = Open(Name, Data);
        ASSERT_NE(Win, nullptr) << Name.toStdString();
        Frame(Win)->showMaximized();
        QApplication::processEvents();
        EXPECT_EQ(Frame(Win)->geometry(), Viewport->rect()) << Name.toStdString();
        EXPECT_FALSE(Main->MdiArea->horizontalScrollBar()->isVisible()) << Name.toStdString();
        // The dock button and the page's scroll bars lie inside the window.
        const QRect Inside = Win->rect();
        auto* Dock = Win->findChild<QWidget*>("btnIsChildWin");
        ASSERT_NE(Dock, nullptr);
        EXPECT_TRUE(Inside.contains(QRect(Dock->mapTo(Win, QPoint(0, 0)), Dock->size())))
            << Name.toStdString() << " dock button at " << Rect(Dock->geometry()).toStdString();
        for (auto* Box : Win->findChildren<QAbstractScrollArea*>()) {
            if (!Box->isVisible()) continue;
            const QRect OnWin(Box->mapTo(Win, QPoint(0, 0)), Box->size());
            EXPECT_LE(OnWin.right(), Inside.right())
                << Name.toStdString() << " " << Box->objectName().toStdString();
        }
        Main->MdiArea->closeAllSubWindows();
        QApplication::processEvents();
    }
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

// A maximised font window that fits itself (Details, View > Fit) ends normal with
// its title bar at its fitted size, as the other document windows do.
TEST_F(WindowPlacementTest, FittingAMaximisedFontWindowMakesItNormal) {
    Main->resize(1000, 800);
    const auto [Name, Data] = MixedFile(3);
    auto* W = qobject_cast<TChildWinFont*>(Open(Name, Data));
    ASSERT_NE(W, nullptr);
    QApplication::processEvents();
    const int Fitted = W->width();
    const QSize Area = Main->MdiArea->viewport()->size();
    const std::pair<const char*, std::function<void()>> Fits[] = {
        {"Details", [&] { W->btnDetailsClick(); }}, {"View > Fit", [&] { Main->MenuFitSizeClick(); }}};
    for (const auto& [What, Fit] : Fits) {
        SCOPED_TRACE(What);
        ASSERT_NE(Frame(W), nullptr);
        Frame(W)->showMaximized();
        QApplication::processEvents();
        ASSERT_EQ(Frame(W)->size(), Area);
        Fit();
        QApplication::processEvents();
        ASSERT_NE(Frame(W), nullptr);
        EXPECT_FALSE(Frame(W)->isMaximized());
        EXPECT_GT(W->mapTo(Frame(W), QPoint(0, 0)).y(), 0); // below the title bar
        EXPECT_LT(Frame(W)->width(), Area.width());
        EXPECT_EQ(W->width(), Fitted);
    }
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

// Many windows cascaded, with and without icons, at the main window's smallest, a middling
// and a large size: every window lies inside the area above the icons; the active window
// comes last and in front and covers no title bar; no two title bars lie at one place and
// each shows at least a title-bar height of itself. A new window opens above the icons.
TEST_F(WindowPlacementTest, CascadeShowsEveryTitleBarAndNewWindowsOpenAboveTheIcons) {
    QMdiArea* Area = Main->MdiArea;
    const auto OpenMixed = [&](int From, int To, int MinimiseEvery) {
        for (int I = From; I < To; ++I) {
            QWidget* Win = Open(MixedFile(I).first, MixedFile(I).second);
            ASSERT_NE(Win, nullptr) << I;
            if (MinimiseEvery && I % MinimiseEvery == 1) Frame(Win)->showMinimized();
        }
        QApplication::processEvents();
    };
    for (const QSize MainSize : {QSize(625, 475), QSize(800, 600), QSize(1260, 1000)}) {
        Main->resize(MainSize);
        for (const auto& [Count, Every] :
             {std::pair{12, 0}, {17, 0}, {24, 0}, {31, 0}, {12, 4}, {29, 7}, {40, 20}}) {
            SCOPED_TRACE(testing::Message() << Count << " windows, icons every " << Every << ", main window "
                                            << MainSize.width());
            ASSERT_NO_FATAL_FAILURE(OpenMixed(0, Count, Every));
            QMdiSubWindow* Active = Area->subWindowList(QMdiArea::CreationOrder)[Count / 2];
            Area->setActiveSubWindow(Active);
            Main->WindowCascadeItemClick();
            QApplication::processEvents();
            const auto Stack = Area->subWindowList(QMdiArea::StackingOrder);
            EXPECT_EQ(Stack.last(), Active);
            EXPECT_EQ(Area->activeSubWindow(), Active);
            const int Title = Active->contentsMargins().top();
            ASSERT_GT(Title, 10);
            const QRect Inside = Area->viewport()->rect();
            int IconTop = Inside.bottom() + 1;
            for (auto* F : Stack)
                if (F->isMinimized()) IconTop = std::min(IconTop, F->y());
            QSet<QPair<int, int>> Corners;
            int Lowest = -1;
            for (int A = 0; A < Stack.size(); ++A) {
                if (Stack[A]->isMinimized()) continue;
                const QRect Bar(Stack[A]->pos(), QSize(Stack[A]->width(), Title));
                const std::string What = "title bar " + Rect(Bar).toStdString();
                EXPECT_TRUE(Inside.contains(Stack[A]->geometry()))
                    << Rect(Stack[A]->geometry()).toStdString() << " outside " << Rect(Inside).toStdString();
                EXPECT_LT(Stack[A]->geometry().bottom(), IconTop) << What;
                EXPECT_FALSE(Corners.contains({Bar.x(), Bar.y()})) << What;
                Corners.insert({Bar.x(), Bar.y()});
                Lowest = std::max(Lowest, Bar.y());
                QRegion Shown(Bar);
                for (int B = A + 1; B < Stack.size(); ++B) Shown -= Stack[B]->geometry();
                int Widest = 0;
                for (const QRect& Part : Shown)
                    if (Part.height() == Title) Widest = std::max(Widest, Part.width());
                EXPECT_GE(Widest, Title) << What;
                // Where the width allows, more than the buttons: a piece of title to click.
                EXPECT_TRUE(Count != 12 || Widest >= 4 * Title) << What;
                EXPECT_TRUE(Stack[A] == Active || !Active->geometry().intersects(Bar)) << What;
            }
            // The active window takes the last place of the front diagonal.
            EXPECT_EQ(Active->pos(), QPoint(Lowest, Lowest));
            Area->closeAllSubWindows();
        }

        // New windows of every kind while icons lie at the bottom.
        ASSERT_NO_FATAL_FAILURE(OpenMixed(0, 9, 2));
        int IconTop = Area->viewport()->height();
        for (auto* F : Area->subWindowList())
            if (F->isMinimized()) IconTop = std::min(IconTop, F->y());
        ASSERT_LT(IconTop, Area->viewport()->height());
        int Above = 0;
        for (int I = 9; I < 15; ++I) {
            const QRect R = Frame(Open(MixedFile(I).first, MixedFile(I).second))->geometry();
            const std::string What = MixedFile(I).first.toStdString() + " at " + Rect(R).toStdString();
            EXPECT_EQ(R.x(), R.y()) << What;
            if (R.height() > IconTop) continue;
            EXPECT_LT(R.bottom(), IconTop) << What;
            ++Above;
        }
        EXPECT_GE(Above, 3);
        Area->closeAllSubWindows();
    }
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

// The normal placement, as saved, when a window manager maximises in steps and tells it last.
TEST_F(WindowPlacementTest, TheNormalPlacementSkipsTheStepsOfAMaximising) {
    const QRect Area = Main->screen()->availableGeometry();
    const QRect Normal(Area.x() + 40, Area.y() + 30, 500, 400);
    const QRect FullWidth(Area.x(), Normal.y(), Area.width(), Normal.height());
    // Placed as the window manager would, with no time passing: the settling is a tick.
    const auto Place = [this](const QRect& R) {
        Main->setGeometry(R);
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::X11ExcludeTimers);
    };
    auto* Settle = Main->findChild<QTimer*>(QStringLiteral("normalPlacementSettle"));
    ASSERT_NE(Settle, nullptr);
    Place(Normal);
    const QRect Kept = Main->NormalPlacement();
    EXPECT_EQ(Kept, QRect(Main->pos(), Main->size()));
    // Full width first, then the whole area, the state still normal: the first one stays.
    Place(FullWidth);
    Place(Area);
    EXPECT_EQ(Main->windowState(), Qt::WindowNoState);
    EXPECT_EQ(Main->NormalPlacement(), Kept);
    // A window the user leaves as wide as the screen keeps that width.
    Place(FullWidth);
    ASSERT_TRUE(drive::Tick(Settle));
    const QRect Wide = Main->NormalPlacement();
    EXPECT_EQ(Wide.width(), Area.width());
    Place(Area);
    EXPECT_EQ(Main->NormalPlacement(), Wide);
}

// Message boxes belong to the main window, whichever is active, centred on it; a splash still up steps aside.
TEST_F(WindowPlacementTest, MessageBoxesBelongToTheMainWindowAndAreCentredOnIt) {
    SetMessageBoxHook(nullptr);
    Main->move(40, 30);
    QWidget Free; // an undocked window, say, has the keyboard
    Free.setGeometry(700, 500, 200, 150);
    Free.show();
    drive::Activated(&Free);
    const std::pair<const char*, std::function<void()>> Boxes[] = {
        {"warning", [] { ShowWarningMsg("Die Datei kann nicht gespeichert werden."); }},
        {"error", [] { ShowErrorMsg("Fehler beim Lesen"); }},
        {"information", [] { ShowInfoMsg("Fertig"); }},
        {"plain", [] { ShowPlainMsg("r=1 g=1 b=1"); }},
        {"question", [] { AskYesNo("Frage", "Wirklich?"); }}};
    for (const auto& [What, Show] : Boxes) {
        SCOPED_TRACE(What);
        const int Shown = drive::WhileModal(Show, [&](QWidget* Box) {
            EXPECT_EQ(Box->parentWidget(), Main);
            EXPECT_EQ(Box->windowHandle()->transientParent(), Main->windowHandle());
            EXPECT_TRUE(CentredOn(Box, Main));
        });
        EXPECT_EQ(Shown, 1);
    }
    // A dialog that is up keeps its questions above it.
    QDialog Dialog(Main);
    drive::WhileModal([&] { Dialog.exec(); },
                      [&](QWidget*) {
                          drive::WhileModal([] { ShowWarningMsg("Ungültig"); },
                                            [&](QWidget* Box) { EXPECT_EQ(Box->parentWidget(), &Dialog); });
                          Dialog.accept();
                      });
    // Before the main window shows, a start-up warning is not hidden under the splash.
    Main->hide();
    Free.hide();
    TSplashScreen Splash;
    Splash.QWidget::setVisible(true); // shown without its fade
    ASSERT_TRUE(Splash.isVisible());
    QTimer Fade; // the fade runs in an event loop of its own: ended from inside it
    QObject::connect(&Fade, &QTimer::timeout, &Splash, [&] { Splash.FinishFade(); });
    Fade.start(5);
    EXPECT_EQ(drive::WhileModal([] { ShowWarningMsg("Die Einstellungen können nicht gelesen werden."); },
                                [&](QWidget*) { EXPECT_FALSE(Splash.isVisible()); }),
              1);
}
