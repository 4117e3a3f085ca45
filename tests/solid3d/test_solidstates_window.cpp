// The 3D window and its controller inside a real main window.
#include "Solid3DTestUtil.h"

#include "ImageView.h"
#include "ReportOptionsDialog.h"
#include "uChildWinGraphic.h"
#include "uChildWinSolidStates.h"
#include "uFGlobal.h"
#include "uFrmSolidStatesController.h"
#include "uGlobal.h"
#include "uMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <climits>
#include <gtest/gtest.h>

namespace {
class SolidStatesWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitFolders();
        SetSettingsDefaults();
        SetMessageBoxHook([this](TMsgKind, const QString& C, const QString& T) { Boxes << C + "|" + T; });
        Main = new TfrmMain;
        frmMain = Main;
        Main->show();
    }
    void TearDown() override {
        SetMessageBoxHook(nullptr);
        delete frmSolidStatesController;
        delete Main;
        frmMain = nullptr;
        ASSERT_EQ(frmSolidStatesController, nullptr);
    }
    // A square in the plane z = 0 and a line to the view point.
    static QByteArray Square() {
        return SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}},
                         {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {1, 0}});
    }
    // Opened as the main window's dispatch opens it.
    TChildWinSolidStates* Open(const QString& FileName = QStringLiteral("quadrat.3d")) {
        const QString Path = Dir.filePath(FileName);
        WriteWholeFile(Path, Square());
        TAtariGraphic Ident;
        Ident.IdentifyFileType(Path, DisplayName(Path));
        Ident.SetFormatInfo();
        auto* Win = new TChildWinSolidStates;
        Main->AddMDIChild(Win);
        Win->OpenDocument(Path, DisplayName(Path), Ident.PicInfo);
        return Win;
    }
    void Activate(QWidget* W) {
        Main->MdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(W->parentWidget()));
        QApplication::processEvents();
    }
    TfrmSolidStatesController* Controller(TChildWinSolidStates* Win) {
        Win->btnControllerClick();
        return frmSolidStatesController;
    }
    QTemporaryDir Dir;
    TfrmMain* Main = nullptr;
    QStringList Boxes;
};
} // namespace

TEST_F(SolidStatesWindowTest, OpeningShowsTheObjectAndItsData) {
    TChildWinSolidStates* Win = Open();
    EXPECT_EQ(Main->ActiveDocument(), Win);
    EXPECT_EQ(Win->windowTitle(), " QUADRAT.3D");
    const TPicInfo& Info = Win->AtariGraphic->PicInfo;
    EXPECT_EQ(Info.FileType, "SOLIDSTATES");
    EXPECT_EQ(Info.FileName, "QUADRAT.3D");
    EXPECT_EQ(Info.PointCount, 4);
    EXPECT_EQ(Info.LineCount, 5);
    Win->ShowPicInfos();
    EXPECT_EQ(Win->lblPointsLines->text(), "4 / 5");
    EXPECT_EQ(Win->lblSizeInBytes->text(), QString::number(Square().size()));
    // The window shows exactly what the model draws on a 320 x 192 picture.
    Tom3D Alone;
    TPlainImageTarget Target;
    Alone.Image = &Target;
    Alone.LoadFromData(Square());
    Alone.Redraw();
    EXPECT_EQ(Win->imgGraphic->Picture, Target.Picture);
    EXPECT_FALSE(DrawnPixels(Target.Picture, clBlack).isEmpty());
    EXPECT_EQ(Win->height(), 192 + 27 + 54 + 2);
    EXPECT_EQ(Win->width(), 320);
    // An unreadable file reaches the caller.
    auto* Other = new TChildWinSolidStates;
    Main->AddMDIChild(Other);
    EXPECT_THROW(Other->OpenDocument(Dir.filePath("none.3d"), "NONE.3D", TPicInfo{}), EInOutError);
}

TEST_F(SolidStatesWindowTest, ItRotatesByItselfAndStopsWhenClosed) {
    TChildWinSolidStates* Win = Open();
    EXPECT_EQ(Win->Timer1->interval(), 40);
    QElapsedTimer Clock;
    Clock.start();
    while (Win->FirstTick && Clock.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(Win->FirstTick, 0);
    EXPECT_GE(Win->Om3D->CurrentAngle, std::atan2(50.0, 50.0) + 0.017444 - 1e-6);
    EXPECT_EQ(Win->lblPointsLines->text(), "4 / 5"); // the first tick shows the data
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

TEST_F(SolidStatesWindowTest, DetailsPanelAndZoomKeepThePictureSizeRight) {
    TChildWinSolidStates* Win = Open();
    Win->btnDetailsClick();
    EXPECT_EQ(Win->height(), 192 + 27 + 0 + 2);
    Win->btnDetailsClick();
    EXPECT_EQ(Win->height(), 192 + 27 + 64 + 2);
    Win->ZoomIn();
    Win->ZoomIn();
    EXPECT_EQ(Win->imgGraphic->ViewSize(), QSize(1280, 768));
    EXPECT_EQ(Win->imgGraphic->Picture.size(), QSize(320, 192)); // stretched
    EXPECT_EQ(Win->width(), 1280);
    for (int I = 0; I < 3; ++I) Win->ZoomOut();
    EXPECT_EQ(Win->ImageSize(), QSize(160, 96));
    EXPECT_EQ(Win->imgGraphic->Picture.size(), QSize(160, 96));
    EXPECT_NEAR(Win->Om3D->ScreenX[0], 80.0, 1e-9);
    EXPECT_NEAR(Win->Om3D->ScreenY[0], 48.0, 1e-9);
    // Zooming out ends before the picture would vanish, so zooming in still works.
    for (int I = 0; I < 20; ++I) Win->ZoomOut();
    EXPECT_EQ(Win->ImageSize(), QSize(2, 1));
    Win->ZoomIn();
    EXPECT_EQ(Win->ImageSize(), QSize(4, 2));
    Win->imgGraphicMouseEnter();
    EXPECT_EQ(Win->lblResolution->text(), "4 / 2");
}

TEST_F(SolidStatesWindowTest, ControllerIsCreatedOnceClosesByHidingAndDrivesRotation) {
    TChildWinSolidStates* Win = Open();
    TfrmSolidStatesController* C = Controller(Win);
    ASSERT_NE(C, nullptr);
    EXPECT_EQ(C->lblFileName->text(), "QUADRAT.3D");
    const QRect M = Main->frameGeometry();
    EXPECT_EQ(C->pos(),
              QPoint(M.left() + M.width() - C->width() - 15, M.top() + Main->pnlTop->height() + 55));
    EXPECT_EQ(C->ActiveEdit, C->tbxZoom);
    C->cbDrawPoints->setChecked(true);
    C->cbDrawLines->setChecked(false);
    C->cbDrawLineNumbers->setChecked(true);
    EXPECT_EQ(Win->Om3D->DrawPoints + Win->Om3D->DrawLineNumbers, 2);
    EXPECT_EQ(Win->Om3D->DrawLines, 0);
    // Automatic mode: the first press leaves the fresh window rotating, the second stops it.
    C->btnRotateMouseDown();
    C->btnRotateMouseUp();
    EXPECT_TRUE(Win->Timer1->isActive());
    C->btnRotateMouseDown();
    EXPECT_FALSE(Win->Timer1->isActive());
    EXPECT_EQ(C->Rotating, 0);
    C->btnRotateMouseDown();
    // Closing only hides it and ends the active window's automatic rotation.
    EXPECT_TRUE(C->close());
    EXPECT_FALSE(C->isVisible());
    EXPECT_EQ(Win->AutoRotate, 0);
    EXPECT_FALSE(Win->Timer1->isActive());
    EXPECT_EQ(Controller(Win), C);
    EXPECT_TRUE(C->isVisible());
    // Without automatic mode the model turns while the button is held.
    C->btnRotateMouseDown();
    EXPECT_TRUE(Win->Timer1->isActive());
    C->btnRotateMouseUp();
    EXPECT_FALSE(Win->Timer1->isActive());
}

TEST_F(SolidStatesWindowTest, TrackBarDrivesTheSelectedEditAndTheModel) {
    TChildWinSolidStates* Win = Open();
    TfrmSolidStatesController* C = Controller(Win);
    Win->Timer1->stop();
    C->tbxZoom->setText("2.6");
    C->tbxEnter(C->tbxZoom);
    EXPECT_EQ(C->trackBar1->minimum(), 1);
    EXPECT_EQ(C->trackBar1->maximum(), 15);
    EXPECT_EQ(C->tbxZoom->text(), "3"); // a changed position writes the edit back
    EXPECT_EQ(Win->Om3D->Zoom, 3.0);
    EXPECT_EQ(C->tbxZoom->palette().color(QPalette::Base), QColor(Qt::white));
    C->tbxExit(C->tbxZoom);
    EXPECT_EQ(C->tbxZoom->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));

    C->tbxOX->setText("35.4");
    C->tbxVZ->setText("1.5");
    C->tbxEnter(C->tbxOX);
    EXPECT_EQ(C->trackBar1->minimum(), -100);
    EXPECT_EQ(C->trackBar1->maximum(), 100);
    C->trackBar1->setValue(7);
    EXPECT_EQ(C->tbxOX->text(), "7");
    EXPECT_EQ(Win->Om3D->Observer.X, 7.0);
    EXPECT_EQ(Win->Om3D->ViewPoint.Z, 1.5); // all seven edits applied

    // Entering the zoom edit keeps the zoom, although 35 lies outside its range.
    C->trackBar1->setValue(35);
    C->tbxEnter(C->tbxZoom);
    EXPECT_EQ(Win->Om3D->Zoom, 3.0);

    // A text that is not a number: the error box, and the model keeps every value.
    C->tbxOY->setText("abc");
    C->trackBar1->setValue(5);
    ASSERT_FALSE(Boxes.isEmpty());
    EXPECT_EQ(Boxes.last(), "Fehler|'abc' ist kein gültiger Gleitkommawert");
    EXPECT_EQ(Win->Om3D->Zoom, 3.0);
    EXPECT_EQ(Win->Om3D->Observer.X, 35.0);
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
    EXPECT_EQ(Win->Om3D->Observer.X, Observer.X);
    EXPECT_EQ(Win->Om3D->DrawPoints, 0);
    EXPECT_EQ(Win->AutoRotate, 1);
    EXPECT_FALSE(Win->Timer1->isActive());
    Win->Timer1Timer(); // a background window's rotation leaves the edits alone
    EXPECT_EQ(C->tbxOX->text(), "-3");

    // Activating the 3D window shows its state without writing anything back.
    C->tbxEnter(C->tbxOY);
    const TVector3D Before = Win->Om3D->Observer;
    Activate(Win);
    ASSERT_EQ(Main->ActiveDocument(), Win);
    EXPECT_EQ(C->tbxOX->text(), GeneralFloatText(Before.X));
    EXPECT_EQ(C->tbxZoom->text(), "1");
    EXPECT_TRUE(C->cbAutorotate->isChecked());
    EXPECT_EQ(C->trackBar1->value(), RoundToInt(Before.Y));
    EXPECT_EQ(Win->Om3D->Observer.X, Before.X);
    EXPECT_EQ(Win->Om3D->Observer.Y, Before.Y);
    EXPECT_EQ(Win->AutoRotate, 1);
}

TEST_F(SolidStatesWindowTest, EditTextsUseTheirFixedForms) {
    const QLocale Old;
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(ObserverText(35.355), "35.4");
    EXPECT_EQ(ObserverText(123.456), "123.0");
    EXPECT_EQ(EditFloatValue(ObserverText(1234.5)), 1230.0);
    EXPECT_EQ(GeneralFloatText(70.71067811865476), "70.7106781186548");
    EXPECT_THROW(EditFloatValue("nan"), EConvertError);
    EXPECT_EQ(RoundToInt(1e30), INT_MAX);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(ObserverText(35.355), "35,4");
    EXPECT_EQ(EditFloatValue("35,4"), 35.4);
    EXPECT_EQ(EditFloatValue("35.4"), 35.4); // the point is understood everywhere
    QLocale::setDefault(Old);
}

TEST_F(SolidStatesWindowTest, PrintGoesToAOnePagePdf) {
    fGlobal = new TfGlobal;
    TChildWinSolidStates* Win = Open();
    const QString Pdf = Dir.filePath("out.pdf");
    SetReportOutputHook([Pdf](TReportOutputChoice& C) {
        C.Destination = TReportDestination::File;
        C.Format = TReportFileFormat::PDF;
        C.FileName = Pdf;
        return true;
    });
    Win->btnReportClick();
    SetReportOutputHook(nullptr);
    EXPECT_EQ(fGlobal->SelectedReport().toLower(), "graphicreport");
    EXPECT_EQ(fGlobal->GetParam("titel"), "QUADRAT.3D");
    delete fGlobal;
    fGlobal = nullptr;
    const QByteArray Data = ReadWholeFile(Pdf);
    ASSERT_TRUE(Data.startsWith("%PDF"));
    EXPECT_EQ(Data.count("/Type /Page\n") + Data.count("/Type /Page "), 1);
}
