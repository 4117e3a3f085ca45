#include "uFrmSolidStatesController.h"

#include "StayAboveOwner.h"
#include "VekButton.h"
#include "uChildWinSolidStates.h"
#include "uDocWindow.h"
#include "uGlobal.h"
#include "uMainLink.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <climits>
#include <cmath>

TfrmSolidStatesController* frmSolidStatesController = nullptr;

// ------------------------------------------------------------------ number texts

namespace {
QLocale UiLocale() {
    QLocale L;
    L.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return L;
}
} // namespace

QString ObserverText(double Value) {
    const QLocale L = UiLocale();
    if (!std::isfinite(Value)) return L.toString(Value, 'g', 15);
    auto IntegerDigits = [](double V) {
        const double A = std::fabs(V);
        return A < 1.0 ? 1 : int(std::floor(std::log10(A))) + 1;
    };
    // Three significant digits but at most one decimal.
    const double Scale = IntegerDigits(Value) >= 3 ? 1.0 : 10.0;
    const double Rounded = std::round(Value * Scale) / Scale;
    if (IntegerDigits(Rounded) > 3) return L.toString(Value, 'E', 2);
    return L.toString(Rounded, 'f', 1);
}

QString GeneralFloatText(double Value) {
    return UiLocale().toString(Value, 'g', 15);
}

double EditFloatValue(const QString& Text) {
    bool Ok = false;
    double V = UiLocale().toDouble(Text, &Ok);
    if (!Ok) {
        QLocale C = QLocale::c();
        C.setNumberOptions(QLocale::RejectGroupSeparator);
        V = C.toDouble(Text, &Ok);
    }
    if (!Ok || !std::isfinite(V))
        throw EConvertError(QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(Text));
    return V;
}

int RoundToInt(double Value) {
    if (std::isnan(Value)) return 0;
    if (!(Value > double(INT_MIN))) return INT_MIN;
    if (!(Value < double(INT_MAX))) return INT_MAX;
    return int(std::nearbyint(Value));
}

// ------------------------------------------------------------------ window

TfrmSolidStatesController::TfrmSolidStatesController(QWidget* Parent) : QWidget(Parent, Qt::Tool) {
    setObjectName(QStringLiteral("frmSolidStatesController"));
    // Above the main window, and below any question asked while it is open.
    StayAboveOwner(this, Parent);
    setWindowTitle(QStringLiteral("Solid States Controller"));
    SetFormColour(this, clGray);

    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(6, 4, 6, 6);
    Layout->setSpacing(3);

    lblFileName = new QLabel(QStringLiteral("<FileName>"), this);
    lblFileName->setObjectName(QStringLiteral("lblFileName"));
    lblFileName->setProperty("Tag", -1);
    lblFileName->setTextFormat(Qt::PlainText);
    lblFileName->setAlignment(Qt::AlignCenter);
    lblFileName->setStyleSheet(
        QStringLiteral("color: %1; font-weight: bold;").arg(WinColorToQColor(0x9D4E01).name()));
    Layout->addWidget(lblFileName);

    auto Caption = [this, Layout](const char* Name, const QString& Text) {
        auto* L = new QLabel(Text, this);
        L->setObjectName(QLatin1String(Name));
        Layout->addWidget(L);
        return L;
    };
    auto EditRow = [this, Layout](QLineEdit* A, QLineEdit* B, QLineEdit* C) {
        auto* Row = new QHBoxLayout;
        Row->setSpacing(4);
        for (QLineEdit* E : {A, B, C})
            if (E) Row->addWidget(E);
        Layout->addLayout(Row);
    };

    lblObserverLoc = Caption("lblObserverLoc", QStringLiteral("Beobachter-Position"));
    tbxOX = NewEdit("tbxOX", QStringLiteral("50"));
    tbxOY = NewEdit("tbxOY", QStringLiteral("50"));
    tbxOZ = NewEdit("tbxOZ", QStringLiteral("50"));
    EditRow(tbxOX, tbxOY, tbxOZ);
    lblCoordslookedat = Caption("lblCoordslookedat", QStringLiteral("Betrachtete Position"));
    tbxVX = NewEdit("tbxVX", QStringLiteral("0"));
    tbxVY = NewEdit("tbxVY", QStringLiteral("0"));
    tbxVZ = NewEdit("tbxVZ", QStringLiteral("0"));
    EditRow(tbxVX, tbxVY, tbxVZ);

    auto* ZoomRow = new QHBoxLayout;
    lblZoom = new QLabel(QStringLiteral("Zoom"), this);
    lblZoom->setObjectName(QStringLiteral("lblZoom"));
    tbxZoom = NewEdit("tbxZoom", QStringLiteral("1"));
    ZoomRow->addWidget(lblZoom);
    ZoomRow->addWidget(tbxZoom);
    Layout->addLayout(ZoomRow);
    trackBar1 = new QSlider(Qt::Horizontal, this);
    trackBar1->setObjectName(QStringLiteral("trackBar1"));
    // The track bar starts on the zoom edit, so it starts with the zoom's range.
    trackBar1->setMinimum(MinZoom);
    trackBar1->setMaximum(MaxZoom);
    trackBar1->setValue(1);
    trackBar1->installEventFilter(this);
    Layout->addWidget(trackBar1);

    auto* RotateRow = new QHBoxLayout;
    btnRotate = new TVekButton(this);
    btnRotate->setObjectName(QStringLiteral("btnRotate"));
    btnRotate->SetCaption(QStringLiteral("Rotiere"));
    btnRotate->SetHint(QStringLiteral("Rotation start/stop"));
    btnRotate->LookStyle()->SetBorderColor(clInactiveCaptionText);
    btnRotate->LookStyle()->SetButtonColor(0xC08000);
    btnRotate->installEventFilter(this);
    cbAutorotate = new QCheckBox(QStringLiteral("Auto"), this);
    cbAutorotate->setObjectName(QStringLiteral("cbAutorotate"));
    cbAutorotate->setToolTip(QStringLiteral("Automatisch rotieren ein/aus"));
    cbAutorotate->setChecked(true);
    RotateRow->addWidget(btnRotate, 1);
    RotateRow->addWidget(cbAutorotate);
    Layout->addLayout(RotateRow);

    lblOptions = Caption("lblOptions", QStringLiteral("Zeichne"));
    auto* Options = new QGridLayout;
    auto Box = [this, Options](const char* Name, const QString& Text, bool Checked, int Row, int Col) {
        auto* B = new QCheckBox(Text, this);
        B->setObjectName(QLatin1String(Name));
        B->setChecked(Checked);
        Options->addWidget(B, Row, Col);
        return B;
    };
    cbDrawLines = Box("cbDrawLines", QStringLiteral("Linien"), true, 0, 0);
    cbDrawLineNumbers = Box("cbDrawLineNumbers", QStringLiteral("Linien-Nummern"), false, 0, 1);
    cbDrawPoints = Box("cbDrawPoints", QStringLiteral("Punkte"), false, 1, 0);
    cbDrawPointNumbers = Box("cbDrawPointNumbers", QStringLiteral("Punkt-Nummern"), false, 1, 1);
    Layout->addLayout(Options);
    Layout->addStretch(1);
    // Every control that takes the focus tells when the edit or track bar was left.
    for (QWidget* W : {static_cast<QWidget*>(cbAutorotate), static_cast<QWidget*>(cbDrawLines),
                       static_cast<QWidget*>(cbDrawLineNumbers), static_cast<QWidget*>(cbDrawPoints),
                       static_cast<QWidget*>(cbDrawPointNumbers)})
        W->installEventFilter(this);

    // A check box's click handler runs on every change of its state, also by code.
    connect(trackBar1, &QSlider::valueChanged, this, [this] { Guarded([this] { trackBar1Change(); }); });
    connect(cbDrawLines, &QCheckBox::toggled, this, [this] { Guarded([this] { cbDrawLinesClick(); }); });
    connect(cbDrawLineNumbers, &QCheckBox::toggled, this,
            [this] { Guarded([this] { cbDrawLineNumbersClick(); }); });
    connect(cbDrawPoints, &QCheckBox::toggled, this, [this] { Guarded([this] { cbDrawPointsClick(); }); });
    connect(cbDrawPointNumbers, &QCheckBox::toggled, this,
            [this] { Guarded([this] { cbDrawPointNumbersClick(); }); });
    connect(cbAutorotate, &QCheckBox::toggled, this, [this] { Guarded([this] { cbAutorotateClick(); }); });

    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TfrmSolidStatesController::FocusWindowChanged);

    resize(223, 279);
    FormCreate();
}

TfrmSolidStatesController::~TfrmSolidStatesController() {
    if (frmSolidStatesController == this) frmSolidStatesController = nullptr;
}

QLineEdit* TfrmSolidStatesController::NewEdit(const char* Name, const QString& Text) {
    auto* E = new QLineEdit(Text, this);
    E->setObjectName(QLatin1String(Name));
    E->setProperty("Tag", -1); // shows run-time values
    E->setMinimumWidth(40);
    SetEditColor(E, UnselectedColor);
    E->installEventFilter(this);
    return E;
}

void TfrmSolidStatesController::SetEditColor(QLineEdit* Edit, quint32 Colour) {
    if (!Edit) return;
    QPalette P = Edit->palette();
    P.setColor(QPalette::Base, WinColorToQColor(Colour));
    Edit->setPalette(P);
}

TChildWinSolidStates* TfrmSolidStatesController::ActiveSolidStatesWindow() {
    QWidget* Work = QApplication::activeWindow();
    const TfrmSolidStatesController* C = frmSolidStatesController;
    if (C && (!Work || Work == C)) Work = C->FWorkWindow;
    if (auto* Free = qobject_cast<TChildWinSolidStates*>(Work)) return Free;
    if (!MainWindow() || (Work && Work != MainWindow()->Form())) return nullptr;
    return qobject_cast<TChildWinSolidStates*>(MainWindow()->ActiveDocument());
}

void TfrmSolidStatesController::SetWorkWindow(QWidget* Window) {
    if (Window && Window != this) FWorkWindow = Window;
}

void TfrmSolidStatesController::FocusWindowChanged(QWindow* Window) {
    if (!Window) return;
    for (QWidget* W : QApplication::topLevelWidgets()) {
        if (W->windowHandle() != Window) continue;
        // Menus, tips and the controller's own windows leave the work window as it is.
        const Qt::WindowType Type = W->windowType();
        if (Type == Qt::Popup || Type == Qt::ToolTip || W == this || isAncestorOf(W)) return;
        SetWorkWindow(W);
        return;
    }
}

void TfrmSolidStatesController::ShowText(QLineEdit* Edit, const QString& Text) {
    if (!Edit) return;
    Edit->setText(Text);
    Edit->setCursorPosition(0);
}

// ------------------------------------------------------------------ handlers

void TfrmSolidStatesController::FormCreate() {
    Rotating = 0;
    ActiveEdit = tbxZoom;
}

bool TfrmSolidStatesController::FormCloseQuery() {
    Rotating = 0;
    cbAutorotate->setChecked(false); // its handler stops the active 3D window's timer
    return true;
}

void TfrmSolidStatesController::closeEvent(QCloseEvent* E) {
    bool CanClose = true;
    Guarded([&] { CanClose = FormCloseQuery(); });
    if (CanClose)
        E->accept(); // the window only hides
    else
        E->ignore();
}

// Escape gives the keyboard back to the main window; the controller stays open.
void TfrmSolidStatesController::keyPressEvent(QKeyEvent* E) {
    if (E->key() == Qt::Key_Escape && (E->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
        MainWindow()) {
        MainWindow()->Form()->activateWindow();
        return;
    }
    QWidget::keyPressEvent(E);
}

bool TfrmSolidStatesController::eventFilter(QObject* Watched, QEvent* E) {
    const QEvent::Type T = E->type();
    if (T == QEvent::FocusIn || T == QEvent::FocusOut) {
        const Qt::FocusReason Reason = static_cast<QFocusEvent*>(E)->reason();
        auto* Control = qobject_cast<QWidget*>(Watched);
        // Leaving the window or opening a popup keeps the control entered.
        if (T == QEvent::FocusOut && Reason != Qt::ActiveWindowFocusReason &&
            Reason != Qt::PopupFocusReason && Control == FEnteredControl)
            LeaveControl();
        // Coming back to the control that was left with the window enters nothing;
        // a click into another control of the inactive window does, although its
        // focus arrives with the window's activation.
        if (T == QEvent::FocusIn && Reason != Qt::PopupFocusReason &&
            !(Reason == Qt::ActiveWindowFocusReason && Control == FEnteredControl)) {
            if (FEnteredControl && FEnteredControl != Control) LeaveControl();
            EnterControl(Control);
        }
        return QWidget::eventFilter(Watched, E);
    }
    // The second press of a double click comes as a double-click event: a press too.
    if (Watched == btnRotate && (T == QEvent::MouseButtonPress || T == QEvent::MouseButtonDblClick ||
                                 T == QEvent::MouseButtonRelease)) {
        if (static_cast<QMouseEvent*>(E)->button() == Qt::LeftButton) {
            if (T != QEvent::MouseButtonRelease)
                Guarded([&] { btnRotateMouseDown(); });
            else
                Guarded([&] { btnRotateMouseUp(); });
        }
    }
    // Space holds the button down as the mouse does, so the rotation can be started
    // and stopped by keyboard; a held key's repeats are one press.
    if (Watched == btnRotate && (T == QEvent::KeyPress || T == QEvent::KeyRelease)) {
        const auto* Key = static_cast<QKeyEvent*>(E);
        if (Key->key() == Qt::Key_Space && !Key->isAutoRepeat() && btnRotate->isEnabled()) {
            if (T == QEvent::KeyPress)
                Guarded([&] { btnRotateMouseDown(); });
            else if (btnRotate->isDown())
                Guarded([&] { btnRotateMouseUp(); });
        }
    }
    return QWidget::eventFilter(Watched, E);
}

void TfrmSolidStatesController::EnterControl(QWidget* Control) {
    FEnteredControl = Control;
    if (auto* Edit = qobject_cast<QLineEdit*>(Control))
        Guarded([&] { tbxEnter(Edit); });
    else if (Control == trackBar1)
        Guarded([&] { trackBar1Enter(); });
}

void TfrmSolidStatesController::LeaveControl() {
    QWidget* Control = FEnteredControl;
    FEnteredControl = nullptr;
    if (auto* Edit = qobject_cast<QLineEdit*>(Control))
        Guarded([&] { tbxExit(Edit); });
    else if (Control && Control == trackBar1)
        Guarded([&] { trackBar1Exit(); });
}

void TfrmSolidStatesController::tbxEnter(QLineEdit* Edit) {
    SelectEdit(Edit);
}

void TfrmSolidStatesController::tbxExit(QLineEdit* Edit) {
    SetEditColor(Edit, UnselectedColor);
}

void TfrmSolidStatesController::trackBar1Enter() {
    SetEditColor(ActiveEdit, SelectedColor);
}

void TfrmSolidStatesController::trackBar1Exit() {
    SetEditColor(ActiveEdit, UnselectedColor);
}

void TfrmSolidStatesController::trackBar1Change() {
    ShowText(ActiveEdit, QString::number(trackBar1->value()));
    ApplyView();
}

void TfrmSolidStatesController::SelectEdit(QLineEdit* Edit) {
    if (!Edit) return;
    ActiveEdit = Edit;
    SetEditColor(Edit, SelectedColor);
    {
        // A position clamped by the new range is no change of the user's: it must
        // not overwrite the edit's value.
        const QSignalBlocker Block(trackBar1);
        if (Edit == tbxZoom) {
            trackBar1->setMinimum(MinZoom);
            trackBar1->setMaximum(MaxZoom);
        } else {
            trackBar1->setMinimum(-100);
            trackBar1->setMaximum(100);
        }
    }
    trackBar1->setValue(RoundToInt(EditFloatValue(Edit->text())));
}

void TfrmSolidStatesController::SyncTrackBar() {
    if (!ActiveEdit) return;
    bool Ok = true;
    double V = 0.0;
    try {
        V = EditFloatValue(ActiveEdit->text());
    } catch (const EConvertError&) {
        Ok = false;
    }
    if (!Ok) return;
    const QSignalBlocker Block(trackBar1);
    trackBar1->setValue(RoundToInt(V));
}

void TfrmSolidStatesController::ApplyView() {
    TChildWinSolidStates* Win = ActiveSolidStatesWindow();
    if (!Win) return;
    const double OX = EditFloatValue(tbxOX->text());
    const double OY = EditFloatValue(tbxOY->text());
    const double OZ = EditFloatValue(tbxOZ->text());
    const double VX = EditFloatValue(tbxVX->text());
    const double VY = EditFloatValue(tbxVY->text());
    const double VZ = EditFloatValue(tbxVZ->text());
    const double Typed = EditFloatValue(tbxZoom->text());
    // A zoom typed outside the track bar's range is held at its nearest end, and
    // the edit shows the zoom the model got.
    const double Zoom = std::clamp(Typed, double(MinZoom), double(MaxZoom));
    if (Zoom != Typed) ShowText(tbxZoom, GeneralFloatText(Zoom));
    Tom3D& M = *Win->Om3D;
    M.Observer = {OX, OY, OZ};
    M.ViewPoint = {VX, VY, VZ};
    M.Zoom = Zoom;
    M.Redraw();
}

void TfrmSolidStatesController::ApplyDrawOptions(QCheckBox* Box) {
    TChildWinSolidStates* Win = ActiveSolidStatesWindow();
    if (!Win || !Box) return;
    Tom3D& M = *Win->Om3D;
    const quint8 On = Box->isChecked() ? 1 : 0;
    if (Box == cbDrawLines)
        M.DrawLines = On;
    else if (Box == cbDrawLineNumbers)
        M.DrawLineNumbers = On;
    else if (Box == cbDrawPoints)
        M.DrawPoints = On;
    else if (Box == cbDrawPointNumbers)
        M.DrawPointNumbers = On;
    else
        return;
    M.Redraw();
}

void TfrmSolidStatesController::cbDrawLinesClick() {
    ApplyDrawOptions(cbDrawLines);
}
void TfrmSolidStatesController::cbDrawLineNumbersClick() {
    ApplyDrawOptions(cbDrawLineNumbers);
}
void TfrmSolidStatesController::cbDrawPointsClick() {
    ApplyDrawOptions(cbDrawPoints);
}
void TfrmSolidStatesController::cbDrawPointNumbersClick() {
    ApplyDrawOptions(cbDrawPointNumbers);
}

void TfrmSolidStatesController::cbAutorotateClick() {
    TChildWinSolidStates* Win = ActiveSolidStatesWindow();
    if (!Win) return;
    Win->AutoRotate = cbAutorotate->isChecked() ? 1 : 0;
    if (!Win->AutoRotate) Win->Timer1->stop();
}

void TfrmSolidStatesController::btnRotateMouseDown() {
    TChildWinSolidStates* Win = ActiveSolidStatesWindow();
    if (!Win) return;
    if (cbAutorotate->isChecked()) {
        if (Rotating == 0) {
            Win->Timer1->start();
            Rotating = 1;
        } else {
            Win->Timer1->stop();
            Rotating = 0;
        }
    } else
        Win->Timer1->start(); // turns only while the button is held
}

void TfrmSolidStatesController::btnRotateMouseUp() {
    TChildWinSolidStates* Win = ActiveSolidStatesWindow();
    if (!Win) return;
    if (!cbAutorotate->isChecked()) Win->Timer1->stop();
}
