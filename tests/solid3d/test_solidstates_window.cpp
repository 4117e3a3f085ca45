// The 3D window and its controller inside a real main window.
#include "Solid3DTestUtil.h"

#include "VekButton.h"
#include "shell/test_shell_common.h"
#include "test_drive_events.h"
#include "uChildWinGraphic.h"
#include "uChildWinSolidStates.h"
#include "uFrmSolidStatesController.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QTimer>
#include <climits>

namespace {
class SolidStatesWindowTest : public OpenedMainWindow {
protected:
    void TearDown() override {
        delete frmSolidStatesController;
        OpenedMainWindow::TearDown();
        ASSERT_EQ(frmSolidStatesController, nullptr);
    }
    // A square in the plane z = 0 and a line to the view point.
    static QByteArray Square() {
        return SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}},
                         {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {1, 0}});
    }
    TChildWinSolidStates* Open() {
        return qobject_cast<TChildWinSolidStates*>(OpenedMainWindow::Open("quadrat.3d", Square()));
    }
    void Activate(QWidget* W) {
        Main->MdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(W->parentWidget()));
        QApplication::processEvents();
    }
    TfrmSolidStatesController* Controller(TChildWinSolidStates* Win) {
        Win->btnControllerClick();
        return frmSolidStatesController;
    }
};
} // namespace

TEST_F(SolidStatesWindowTest, OpeningShowsTheObjectAndZoomRedrawsAtTheNewSize) {
    TChildWinSolidStates* Win = Open();
    EXPECT_EQ(Win->AtariGraphic->PicInfo.FileType, "SOLIDSTATES");
    // The window shows exactly what the model draws on a 320 x 192 picture.
    Tom3D Alone;
    TPlainImageTarget Target;
    Alone.Image = &Target;
    Alone.LoadFromData(Square());
    Alone.Redraw();
    EXPECT_EQ(Win->imgGraphic->Picture, Target.Picture);
    EXPECT_FALSE(DrawnPixels(Target.Picture, clBlack).isEmpty());

    Win->ZoomOut();
    EXPECT_EQ(Win->imgGraphic->Picture.size(), QSize(160, 96));
    EXPECT_NEAR(Win->Om3D->ScreenX[0], 80.0, 1e-9);
    EXPECT_NEAR(Win->Om3D->ScreenY[0], 48.0, 1e-9);
    // The details show whole right under an 80 x 48 picture and down to the window's
    // bottom edge; maximized, the values stay 8 pixels after their captions.
    Main->resize(1260, 1000);
    for (const bool Maximized : {false, true}) {
        if (Maximized)
            Win->parentWidget()->showMaximized();
        else
            Win->ZoomOut();
        QApplication::processEvents();
        EXPECT_EQ(Win->pnlBottom->mapTo(Win, QPoint(0, 54)).y(),
                  Maximized ? Win->height() : 27 + 48 + 2 + 54);
        EXPECT_EQ(Win->width() > 1000, Maximized);
        ExpectInfoPanelRows({Win->lFileName, Win->lFileType, Win->lCompress, Win->lSize, Win->lResolution},
                            {Win->lblFilename, Win->lblFileType, Win->lblPointsLines, Win->lblSizeInBytes,
                             Win->lblResolution},
                            120, Win->width());
    }
    Win->parentWidget()->showNormal();
    // Zooming out ends before the picture would vanish, so zooming in still works.
    for (int I = 0; I < 20; ++I) Win->ZoomOut();
    EXPECT_EQ(Win->ImageSize(), QSize(2, 1));
    Win->ZoomIn();
    EXPECT_EQ(Win->ImageSize(), QSize(4, 2));

    auto* Other = new TChildWinSolidStates;
    Main->AddMDIChild(Other);
    EXPECT_THROW(Other->OpenDocument(Dir.filePath("none.3d"), "NONE.3D", TPicInfo{}), EInOutError);
}

TEST_F(SolidStatesWindowTest, ItRotatesByItselfAndStopsWhenClosed) {
    TChildWinSolidStates* Win = Open();
    // Its own timer turns it every 40 ms from the start.
    EXPECT_EQ(Win->Timer1->interval(), 40);
    ASSERT_TRUE(drive::Tick(Win->Timer1));
    ASSERT_EQ(Win->FirstTick, 0);
    const double Angle = Win->Om3D->CurrentAngle;
    Win->Timer1Timer();
    EXPECT_NEAR(Win->Om3D->CurrentAngle - Angle, 0.0174444, 1e-6);

    QPointer<QTimer> Timer = Win->Timer1;
    QPointer<TChildWinSolidStates> Alive = Win;
    EXPECT_TRUE(Win->parentWidget()->close());
    ASSERT_TRUE(Timer);
    EXPECT_FALSE(Timer->isActive());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Alive);
}

TEST_F(SolidStatesWindowTest, ControllerDrivesRotationAndTheModelAndClosesByHiding) {
    TChildWinSolidStates* Win = Open();
    TfrmSolidStatesController* C = Controller(Win);
    ASSERT_NE(C, nullptr);
    C->cbDrawPoints->setChecked(true);
    C->cbDrawLines->setChecked(false);
    EXPECT_EQ(Win->Om3D->DrawPoints - Win->Om3D->DrawLines, 1);
    // Automatic mode: the first press leaves the fresh window rotating, the second stops it.
    C->btnRotateMouseDown();
    C->btnRotateMouseUp();
    EXPECT_TRUE(Win->Timer1->isActive());
    C->btnRotateMouseDown();
    EXPECT_FALSE(Win->Timer1->isActive());
    C->btnRotateMouseDown();
    // Closing only hides it and ends the active window's automatic rotation.
    EXPECT_TRUE(C->close());
    EXPECT_FALSE(Win->AutoRotate || Win->Timer1->isActive());
    EXPECT_EQ(Controller(Win), C);
    // Without automatic mode the model turns while the button is held.
    C->btnRotateMouseDown();
    EXPECT_TRUE(Win->Timer1->isActive());
    C->btnRotateMouseUp();
    EXPECT_FALSE(Win->Timer1->isActive());

    C->tbxZoom->setText("2.6");
    C->tbxEnter(C->tbxZoom);
    EXPECT_EQ(C->tbxZoom->text(), "3"); // a changed position writes the edit back
    EXPECT_EQ(Win->Om3D->Zoom, 3.0);
    C->tbxOX->setText("35.4");
    C->tbxVZ->setText("1.5");
    C->tbxEnter(C->tbxOX);
    C->trackBar1->setValue(7);
    EXPECT_EQ(C->tbxOX->text(), "7");
    // All seven edits applied.
    EXPECT_EQ(std::make_pair(Win->Om3D->Observer.X, Win->Om3D->ViewPoint.Z), std::make_pair(7.0, 1.5));
    // Entering the zoom edit keeps the zoom, although 35 lies outside its range.
    C->trackBar1->setValue(35);
    C->tbxEnter(C->tbxZoom);
    EXPECT_EQ(Win->Om3D->Zoom, 3.0);
    // A text that is not a number: the error box, and the model keeps every value.
    C->tbxOY->setText("abc");
    C->trackBar1->setValue(5);
    ASSERT_FALSE(Boxes.isEmpty());
    EXPECT_EQ(Boxes.last(), "Fehler|'abc' ist kein gültiger Gleitkommawert");
    EXPECT_EQ(std::make_pair(Win->Om3D->Zoom, Win->Om3D->Observer.X), std::make_pair(3.0, 35.0));
}

TEST_F(SolidStatesWindowTest, ControllerActsOnlyOnAnActive3DWindow) {
    TChildWinSolidStates* Win = Open();
    TfrmSolidStatesController* C = Controller(Win);
    Win->Timer1->stop();
    Win->Timer1Timer();
    EXPECT_EQ(C->tbxOX->text(), ObserverText(Win->Om3D->Observer.X)); // active: the tick shows it
    const TVector3D Observer = Win->Om3D->Observer;

    Main->AddMDIChild(new TChildWinGraphic);
    C->tbxEnter(C->tbxOX);
    C->trackBar1->setValue(-3);
    C->cbDrawPoints->setChecked(true);
    C->cbAutorotate->setChecked(false);
    C->btnRotateMouseDown();
    EXPECT_EQ(C->tbxOX->text(), "-3"); // the controller itself still changes
    EXPECT_EQ(std::make_tuple(Win->Om3D->Observer.X, int(Win->Om3D->DrawPoints), int(Win->AutoRotate)),
              std::make_tuple(Observer.X, 0, 1));
    Win->Timer1Timer(); // a background window's rotation leaves the edits alone
    EXPECT_EQ(C->tbxOX->text(), "-3");

    // Activating the 3D window shows its state without writing anything back.
    const TVector3D Before = Win->Om3D->Observer;
    Activate(Win);
    ASSERT_EQ(Main->ActiveDocument(), Win);
    EXPECT_EQ(C->tbxOX->text(), GeneralFloatText(Before.X));
    EXPECT_EQ(std::make_pair(Win->Om3D->Observer.X, int(Win->AutoRotate)), std::make_pair(Before.X, 1));
}

// The controller drives the free 3D window it was opened from, then the main window's active one.
TEST_F(SolidStatesWindowTest, ControllerDrivesTheActive3DWindowDockedOrFree) {
    TChildWinSolidStates* Free = Open();
    auto* Docked = qobject_cast<TChildWinSolidStates*>(OpenedMainWindow::Open("wuerfel.3d", Square()));
    ASSERT_TRUE(Free && Docked);
    for (TChildWinSolidStates* W : {Free, Docked}) W->Timer1->stop();
    Free->btnIsChildWinClick();
    ASSERT_TRUE(Free->isWindow());
    drive::Activated(Free);
    ASSERT_EQ(Main->ActiveDocument(), Docked);
    TfrmSolidStatesController* C = Controller(Free);
    const auto Running = [&] { return std::make_pair(Free->Timer1->isActive(), Docked->Timer1->isActive()); };
    drive::Activated(C); // the user works in the controller now
    EXPECT_EQ(std::make_pair(TfrmSolidStatesController::ActiveSolidStatesWindow(), C->lblFileName->text()),
              std::make_pair(Free, QString("QUADRAT.3D")));
    C->cbAutorotate->setChecked(false);
    EXPECT_EQ(std::make_pair(int(Free->AutoRotate), int(Docked->AutoRotate)), std::make_pair(0, 1));
    C->btnRotateMouseDown();
    EXPECT_EQ(Running(), std::make_pair(true, false));
    C->btnRotateMouseUp();
    EXPECT_EQ(Running(), std::make_pair(false, false));
    const double DockedX = Docked->Om3D->Observer.X;
    C->tbxEnter(C->tbxOX);
    C->trackBar1->setValue(9);
    EXPECT_EQ(std::make_pair(Free->Om3D->Observer.X, Docked->Om3D->Observer.X), std::make_pair(9.0, DockedX));
    Docked->Timer1Timer(); // only the driven window's rotation shows
    EXPECT_EQ(C->tbxOX->text(), "9");
    Free->Timer1Timer();
    EXPECT_EQ(C->tbxOX->text(), ObserverText(Free->Om3D->Observer.X));

    drive::Activated(Main);
    EXPECT_EQ(std::make_pair(C->lblFileName->text(), C->tbxOX->text()),
              std::make_pair(QString("WUERFEL.3D"), GeneralFloatText(Docked->Om3D->Observer.X)));
    drive::Activated(C);
    EXPECT_EQ(TfrmSolidStatesController::ActiveSolidStatesWindow(), Docked);
    C->btnRotateMouseDown();
    EXPECT_EQ(Running(), std::make_pair(false, true));
    EXPECT_TRUE(Boxes.isEmpty());
}

// A narrow edit shows its number from the first character, not its last digits.
TEST_F(SolidStatesWindowTest, ControllerEditsShowTheirNumbersFromTheStart) {
    TChildWinSolidStates* Win = Open();
    Win->Timer1->stop();
    Win->Om3D->Observer = {-16.0356525441514, 70.71067811865476, -0.000123456789};
    TfrmSolidStatesController* C = Controller(Win);
    EXPECT_EQ(C->tbxOX->text(), GeneralFloatText(-16.0356525441514)); // the opener's values at once
    const auto ExpectAtStart = [&](const char* Step) {
        for (QLineEdit* E : {C->tbxOX, C->tbxOY, C->tbxOZ, C->tbxVX, C->tbxVY, C->tbxVZ, C->tbxZoom})
            EXPECT_EQ(E->cursorPosition(), 0) << Step << " " << E->objectName().toStdString();
    };
    ExpectAtStart("opened");
    Win->Timer1Timer();
    ExpectAtStart("rotated");
    C->tbxEnter(C->tbxVY);
    C->trackBar1->setValue(-42);
    ExpectAtStart("track bar");
    Activate(Win);
    ExpectAtStart("activated");
}

TEST_F(SolidStatesWindowTest, EditTextsUseTheirFixedForms) {
    const QLocale Old;
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(QStringList({ObserverText(35.355), ObserverText(123.456), GeneralFloatText(70.71067811865476)}),
              QStringList({"35.4", "123.0", "70.7106781186548"}));
    EXPECT_EQ(EditFloatValue(ObserverText(1234.5)), 1230.0);
    EXPECT_THROW(EditFloatValue("nan"), EConvertError);
    EXPECT_EQ(RoundToInt(1e30), INT_MAX);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(ObserverText(35.355), "35,4");
    EXPECT_EQ(std::make_pair(EditFloatValue("35,4"), EditFloatValue("35.4")),
              std::make_pair(35.4, 35.4)); // the point too
    QLocale::setDefault(Old);
}

TEST_F(SolidStatesWindowTest, PrintGoesToAOnePagePdf) {
    PrintReportsTo(Dir.filePath("out.pdf"));
    Open()->btnReportClick();
    EXPECT_EQ(fGlobal->SelectedReport().toLower(), "graphicreport");
    EXPECT_EQ(PdfPageCount(Dir.filePath("out.pdf")), 1);
}

TEST_F(SolidStatesWindowTest, TheFirstClickIntoTheInactiveControllerSelectsThatEdit) {
    TChildWinSolidStates* Win = Open();
    TfrmSolidStatesController* C = Controller(Win);
    Win->Timer1->stop();
    const auto Focus = [](QWidget* W, QEvent::Type Type, Qt::FocusReason Reason) {
        QFocusEvent E(Type, Reason);
        QApplication::sendEvent(W, &E);
    };
    Focus(C->tbxZoom, QEvent::FocusIn, Qt::MouseFocusReason);
    ASSERT_EQ(C->ActiveEdit, C->tbxZoom);
    const QColor White = WinColorToQColor(TfrmSolidStatesController::SelectedColor),
                 Silver = WinColorToQColor(TfrmSolidStatesController::UnselectedColor);
    // The zoom edit loses the focus with the window; the click into tbxOY of the
    // inactive window brings its focus with the window's activation.
    Focus(C->tbxZoom, QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    Focus(C->tbxOY, QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    EXPECT_EQ(C->ActiveEdit, C->tbxOY);
    EXPECT_EQ(C->tbxOY->palette().color(QPalette::Base), White);
    EXPECT_EQ(C->tbxZoom->palette().color(QPalette::Base), Silver);
    EXPECT_EQ(std::make_tuple(C->trackBar1->minimum(), C->trackBar1->maximum(), C->trackBar1->value()),
              std::make_tuple(-100, 100, RoundToInt(EditFloatValue(C->tbxOY->text()))));
    // The track bar now drives tbxOY, not the zoom.
    C->trackBar1->setValue(12);
    EXPECT_EQ(C->tbxOY->text(), "12");
    EXPECT_EQ(std::make_pair(Win->Om3D->Observer.Y, Win->Om3D->Zoom), std::make_pair(12.0, 1.0));

    // Leaving the window and coming back to the same edit enters nothing: a value
    // typed meanwhile is not rounded onto the track bar.
    Focus(C->tbxOY, QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    C->tbxOY->setText("7.6");
    Focus(C->tbxOY, QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    EXPECT_EQ(std::make_pair(C->tbxOY->text(), C->trackBar1->value()), std::make_pair(QString("7.6"), 12));
    EXPECT_EQ(C->tbxOY->palette().color(QPalette::Base), White);

    // The same for the track bar: its first focus lights the active edit.
    Focus(C->tbxOY, QEvent::FocusOut, Qt::TabFocusReason);
    EXPECT_EQ(C->tbxOY->palette().color(QPalette::Base), Silver);
    Focus(C->cbAutorotate, QEvent::FocusIn, Qt::TabFocusReason);
    Focus(C->cbAutorotate, QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    Focus(C->trackBar1, QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    EXPECT_EQ(C->tbxOY->palette().color(QPalette::Base), White);
    Focus(C->trackBar1, QEvent::FocusOut, Qt::MouseFocusReason);
    EXPECT_EQ(C->tbxOY->palette().color(QPalette::Base), Silver);
    EXPECT_TRUE(Boxes.isEmpty());

    // The rotate button outlines itself like every look-style button.
    EXPECT_EQ(C->btnRotate->LookStyle()->BorderColor(), SysColor(COLOR_INACTIVECAPTIONTEXT));
}

// Details off and on, also after undocking and docking: the five rows come back whole.
TEST_F(SolidStatesWindowTest, TheDetailsComeBackAsTheyWere) {
    TChildWinSolidStates* Win = Open();
    Win->Timer1->stop();
    const QList<QLabel*> Captions = {Win->lFileName, Win->lFileType, Win->lCompress, Win->lSize,
                                     Win->lResolution};
    const QList<QLabel*> Values = {Win->lblFilename, Win->lblFileType, Win->lblPointsLines,
                                   Win->lblSizeInBytes, Win->lblResolution};
    const auto Shown = [&] {
        QStringList Out;
        for (QLabel* L : Captions + Values) Out << L->text() + (L->isVisible() ? "" : " hidden");
        ExpectInfoPanelRows(Captions, Values, 120, Win->width());
        return Out;
    };
    QApplication::processEvents();
    const QStringList Before = Shown();
    EXPECT_EQ(Before[0] + Before[5], "Dateiname:QUADRAT.3D");
    for (const bool Dock : {false, true}) {
        SCOPED_TRACE(Dock ? "after docking again" : "docked");
        if (Dock) {
            Win->btnIsChildWinClick();
            Win->btnIsChildWinClick();
        }
        Win->btnDetailsClick();
        QApplication::processEvents();
        EXPECT_FALSE(Win->pnlBottom->isVisible());
        Win->btnDetailsClick();
        // The panel's new height travels through posted layout requests, box by box.
        for (int I = 0; I < 5; ++I) QApplication::processEvents();
        EXPECT_EQ(Win->pnlBottom->height(), TChildWinSolidStates::BottomHeight);
        EXPECT_EQ(Shown(), Before);
    }
}
