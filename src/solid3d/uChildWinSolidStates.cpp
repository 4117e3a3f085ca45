#include "uChildWinSolidStates.h"

#include "FramePlacement.h"
#include "ImageView.h"
#include "VekButton.h"
#include "uDocWindow.h"
#include "uFGlobal.h"
#include "uFrmSolidStatesController.h"
#include "uGlobal.h"
#include "uMainLink.h"
#include "uParam.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

// The picture control as the model sees it: the view's base size is the control's
// size, the model's screen is its picture.
class TChildWinSolidStates::TImageAdapter : public TImageTarget {
public:
    explicit TImageAdapter(ImageView* View) : FView(View) {}
    int ImageWidth() const override { return FView->BaseSize().width(); }
    int ImageHeight() const override { return FView->BaseSize().height(); }
    void AssignPicture(const QImage& Bitmap) override {
        FView->Picture = Bitmap;
        FView->update();
    }

private:
    ImageView* FView;
};

TChildWinSolidStates::TChildWinSolidStates(QWidget* Parent) : QWidget(Parent) {
    setObjectName(NewFormName(QStringLiteral("ChildWinSolidStates")));
    setAttribute(Qt::WA_DeleteOnClose);
    SetFormColour(this, clSilver);

    QVBoxLayout* Layout = NewWindowColumn(this);

    pnlTop = NewTopPanel(this, TopHeight);
    auto* TopLayout = new QHBoxLayout(pnlTop);
    TopLayout->setContentsMargins(2, 1, 2, 1);
    TopLayout->setSpacing(2);
    QHBoxLayout* Buttons = NewClippedRow(TopLayout);
    auto Button = [this](QBoxLayout* Row, const char* Name, const QString& Caption, const QString& Hint) {
        auto* B = new TVekButton(pnlTop);
        B->setObjectName(QLatin1String(Name));
        B->SetCaption(Caption);
        B->SetHint(Hint);
        B->setFocusPolicy(Qt::TabFocus); // in the Tab order, as every window's tool bar
        B->setFont(QFont(QStringLiteral("ATASCII"), 8));
        B->LookStyle()->SetStyle(vlsFlat);
        B->LookStyle()->SetButtonColor(TopPanelColor);
        B->SetFontColor(clWhite);
        Row->addWidget(B);
        return B;
    };
    btnDetails = Button(Buttons, "btnDetails", QStringLiteral("Details"), QStringLiteral("Details ein/aus"));
    btnController = Button(Buttons, "btnController", QStringLiteral("Controller"),
                           QStringLiteral("Solid States Controller"));
    Buttons->addStretch(1);
    btnFullscreen = Button(TopLayout, "btnFullscreen", QStringLiteral("[ ]"), QStringLiteral("Vollbild"));
    btnFullscreen->setVisible(false);
    btnFullscreen->setProperty("Tag", -1);
    btnIsChildWin =
        Button(TopLayout, "btnIsChildWin", QStringLiteral("<>"), QStringLiteral("Fenster aus-/eindocken"));
    btnIsChildWin->setProperty("Tag", -1);
    Layout->addWidget(pnlTop);

    imgGraphic = new ImageView;
    imgGraphic->setObjectName(QStringLiteral("imgGraphic"));
    imgGraphic->NewPicture(320, 192, clBlack);
    imgGraphic->SetBaseSize(QSize(320, 192));
    imgGraphic->installEventFilter(this);
    ScrollBox = NewImageScrollBox(this, nullptr, imgGraphic);
    Layout->addWidget(ScrollBox, 1);

    const TInfoPanel Info = NewInfoPanel(this, LayoutBottomHeight, 9);
    pnlBottom = Info.Panel;
    lFileName = NewInfoLabel(Info, 0, "lFileName", QStringLiteral("Dateiname:"), 120);
    lFileType = NewInfoLabel(Info, 1, "lFileType", QStringLiteral("Format:"), 120);
    lCompress = NewInfoLabel(Info, 2, "lCompress", QStringLiteral("Punkte/Linien:"), 120);
    lSize = NewInfoLabel(Info, 3, "lSize", QStringLiteral("Bytes:"), 120);
    lResolution = NewInfoLabel(Info, 4, "lResolution", QStringLiteral("Pixel X*Y:"), 120);
    lblFilename = NewValueLabel(Info, 0, "lblFilename", 16744576);
    lblFileType = NewValueLabel(Info, 1, "lblFileType", 12615808);
    lblPointsLines = NewValueLabel(Info, 2, "lblPointsLines", 16744576);
    lblSizeInBytes = NewValueLabel(Info, 3, "lblSizeInBytes", 12615808);
    lblResolution = NewValueLabel(Info, 4, "lblResolution", 16744576);
    Layout->addWidget(ClipWidth(pnlBottom));

    // FormCreate: the info holder and the model live as long as the window.
    AtariGraphic = std::make_unique<TAtariGraphic>();
    FImage = std::make_unique<TImageAdapter>(imgGraphic);
    Om3D = std::make_unique<Tom3D>();
    Om3D->Image = FImage.get();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(40);

    ConnectGuarded(btnDetails, &QPushButton::clicked, this, &TChildWinSolidStates::btnDetailsClick);
    ConnectGuarded(btnController, &QPushButton::clicked, this, &TChildWinSolidStates::btnControllerClick);
    ConnectGuarded(btnFullscreen, &QPushButton::clicked, this, &TChildWinSolidStates::btnFullscreenClick);
    ConnectGuarded(btnIsChildWin, &QPushButton::clicked, this, &TChildWinSolidStates::btnIsChildWinClick);
    ConnectGuarded(Timer1, &QTimer::timeout, this, &TChildWinSolidStates::Timer1Timer);

    SetClientSize(this, 322, 275);
    Timer1->start(); // rotating from creation
}

TChildWinSolidStates::~TChildWinSolidStates() {
    Timer1->stop();
}

// ------------------------------------------------------------------ opening

void TChildWinSolidStates::OpenDocument(const QString& Path, const QString& Name, const TPicInfo& Info) {
    if (MainWindow()) {
        setWindowIcon(MainWindow()->DocumentIcon(TDocIcon::SolidStates));
        if (auto* Sub = qobject_cast<QMdiSubWindow*>(parentWidget())) Sub->setWindowIcon(windowIcon());
    }
    setWindowTitle(QStringLiteral(" ") + Name);
    Om3D->LoadFromFile(Path);
    AtariGraphic->PicInfo = Info;
    TPicInfo& Own = AtariGraphic->PicInfo;
    Own.FileName = Name.left(255);
    Own.PointCount = Om3D->PointCount;
    Own.LineCount = Om3D->LineCount;
    FitWindow();
    Om3D->ResetRotation();
    Om3D->Redraw();
}

// ------------------------------------------------------------------ size and zoom

QSize TChildWinSolidStates::ImageSize() const {
    return imgGraphic->BaseSize();
}

void TChildWinSolidStates::SetImageSize(const QSize& Size) {
    imgGraphic->SetBaseSize(Size);
}

void TChildWinSolidStates::FitWindow() {
    // The window is made wide enough for the values it is about to show.
    ShowPicInfos();
    FitToPicture(this, ImageSize(), pnlTop, pnlBottom);
}

void TChildWinSolidStates::ZoomIn() {
    const QSize Old = ImageSize();
    // Past the largest view the picture could not be shown any more.
    if (qint64(std::max(Old.width(), Old.height())) * 2 > ImageView::MaxViewSide) {
        MessageBeep();
        return;
    }
    Om3D->ClearDisplay();
    SetImageSize(Old * 2);
    ShowFrameNormal(this);
    Om3D->Redraw();
    FitWindow();
}

void TChildWinSolidStates::ZoomOut() {
    const QSize Old = ImageSize();
    // An empty picture could never be zoomed back in.
    if (Old.width() / 2 < 1 || Old.height() / 2 < 1) {
        MessageBeep();
        return;
    }
    Om3D->ClearDisplay();
    SetImageSize(QSize(Old.width() / 2, Old.height() / 2));
    Om3D->Redraw();
    FitWindow();
}

// ------------------------------------------------------------------ info and controller

void TChildWinSolidStates::ShowPicInfos() {
    const TPicInfo& Info = AtariGraphic->PicInfo;
    lblFilename->setText(Info.FileName);
    lblFileType->setText(Info.Description);
    lblPointsLines->setText(QStringLiteral("%1 / %2").arg(Info.PointCount).arg(Info.LineCount));
    lblSizeInBytes->setText(QString::number(Info.FileSize));
    lblResolution->setText(QStringLiteral("%1x%2").arg(Info.Width).arg(Info.Height));
}

void TChildWinSolidStates::ShowRes() {
    ShowPicInfos();
    TfrmSolidStatesController* C = frmSolidStatesController;
    if (!C) return;
    // Refreshing shows this window's state; it must not write anything back into
    // a model, so the controller's handlers stay quiet meanwhile.
    const QSignalBlocker BlockBox(C->cbAutorotate);
    const QSignalBlocker BlockBar(C->trackBar1);
    C->cbAutorotate->setChecked(AutoRotate != 0);
    C->lblFileName->setText(AtariGraphic->PicInfo.FileName);
    const Tom3D& M = *Om3D;
    using Ctl = TfrmSolidStatesController;
    Ctl::ShowText(C->tbxOX, GeneralFloatText(M.Observer.X));
    Ctl::ShowText(C->tbxOY, GeneralFloatText(M.Observer.Y));
    Ctl::ShowText(C->tbxOZ, GeneralFloatText(M.Observer.Z));
    Ctl::ShowText(C->tbxVX, GeneralFloatText(M.ViewPoint.X));
    Ctl::ShowText(C->tbxVY, GeneralFloatText(M.ViewPoint.Y));
    Ctl::ShowText(C->tbxVZ, GeneralFloatText(M.ViewPoint.Z));
    Ctl::ShowText(C->tbxZoom, GeneralFloatText(M.Zoom));
    C->SyncTrackBar();
}

void TChildWinSolidStates::btnControllerClick() {
    if (!frmSolidStatesController) {
        frmSolidStatesController =
            new TfrmSolidStatesController(MainWindow() ? MainWindow()->Form() : nullptr);
        if (MainWindow()) {
            const QRect Main = MainWindow()->Form()->frameGeometry();
            MoveFrameTo(frmSolidStatesController,
                        QPoint(Main.left() + Main.width() - frmSolidStatesController->width() - 15,
                               Main.top() + MainWindow()->TopPanelHeight() + 55));
        }
        // Made after the language was chosen: it speaks it from its first showing.
        TranslateForm(frmSolidStatesController, CurrentLanguageFile());
    }
    // The controller drives and shows the window it was called from, docked or free.
    frmSolidStatesController->SetWorkWindow(window());
    ShowRes();
    frmSolidStatesController->show();
    frmSolidStatesController->raise();
    frmSolidStatesController->activateWindow(); // shown to be used: by keyboard, too
}

void TChildWinSolidStates::RotateModel() {
    Om3D->RotateStep();
    Om3D->Redraw();
    TfrmSolidStatesController* C = frmSolidStatesController;
    if (C && TfrmSolidStatesController::ActiveSolidStatesWindow() == this) {
        TfrmSolidStatesController::ShowText(C->tbxOX, ObserverText(Om3D->Observer.X));
        TfrmSolidStatesController::ShowText(C->tbxOY, ObserverText(Om3D->Observer.Y));
        TfrmSolidStatesController::ShowText(C->tbxOZ, ObserverText(Om3D->Observer.Z));
    }
}

void TChildWinSolidStates::Timer1Timer() {
    RotateModel();
    if (FirstTick) {
        ShowPicInfos();
        FirstTick = 0;
    }
}

void TChildWinSolidStates::imgGraphicMouseEnter() {
    const QSize S = ImageSize();
    lblResolution->setText(QStringLiteral("%1 / %2").arg(S.width()).arg(S.height()));
}

// ------------------------------------------------------------------ window events

void TChildWinSolidStates::FormShow() {
    ShowPicInfos();
}

void TChildWinSolidStates::FormActivate() {
    ShowRes();
}

bool TChildWinSolidStates::FormCloseQuery() {
    Timer1->stop();
    return true;
}

void TChildWinSolidStates::closeEvent(QCloseEvent* E) {
    bool CanClose = true;
    Guarded([&] { CanClose = FormCloseQuery(); });
    if (CanClose)
        E->accept();
    else
        E->ignore();
}

void TChildWinSolidStates::showEvent(QShowEvent* E) {
    QWidget::showEvent(E);
    Guarded([this] { FormShow(); });
}

void TChildWinSolidStates::WatchSubWindow() {
    auto* Sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (Sub == FWatched) return;
    if (FWatched) disconnect(FWatched, nullptr, this, nullptr);
    FWatched = Sub;
    if (!Sub) return;
    connect(Sub, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates Old, Qt::WindowStates New) {
                if ((New & Qt::WindowActive) && !(Old & Qt::WindowActive))
                    Guarded([this] { FormActivate(); });
            });
}

bool TChildWinSolidStates::event(QEvent* E) {
    if (E->type() == QEvent::ParentChange) WatchSubWindow();
    // A free window is activated as a top-level window; a docked one also when the
    // main window comes back with it as its active document.
    if (E->type() == QEvent::WindowActivate &&
        (isWindow() || (MainWindow() && MainWindow()->ActiveDocument() == this)))
        Guarded([this] { FormActivate(); });
    return QWidget::event(E);
}

bool TChildWinSolidStates::eventFilter(QObject* Watched, QEvent* E) {
    if (Watched == imgGraphic && E->type() == QEvent::Enter) Guarded([this] { imgGraphicMouseEnter(); });
    return QWidget::eventFilter(Watched, E);
}

void TChildWinSolidStates::btnDetailsClick() {
    ShowDetails = ShowDetails ? 0 : 1;
    if (ShowDetails) {
        pnlBottom->setFixedHeight(BottomHeight);
        pnlBottom->show();
    } else {
        pnlBottom->setFixedHeight(0);
        pnlBottom->hide();
    }
    FitWindow();
}

void TChildWinSolidStates::btnIsChildWinClick() {
    ToggleDocking(this, IsChildWin);
    if (IsChildWin) FitWindow();
}

void TChildWinSolidStates::btnFullscreenClick() {
    EnterFullscreen(this, FFullscreen);
}

void TChildWinSolidStates::keyPressEvent(QKeyEvent* E) {
    if (E->key() == Qt::Key_Escape) {
        LeaveFullscreen(this, FFullscreen);
        return;
    }
    QWidget::keyPressEvent(E);
}

// ------------------------------------------------------------------ printing

void TChildWinSolidStates::PrintReport() {
    if (!fGlobal) return;
    fGlobal->SelectReport(QStringLiteral("GraphicReport"));
    fGlobal->SetParam(QStringLiteral("Titel"), AtariGraphic->PicInfo.FileName);
    // The picture goes to the report in memory: no file in the program folder.
    fGlobal->SetImage(QStringLiteral("ImagePathGraphic"), imgGraphic->Picture);
    fGlobal->Execute();
}
