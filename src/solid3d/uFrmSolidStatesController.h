#pragma once
// The one tool window shared by all 3D windows: observer, view point and zoom of
// the active 3D window's model, its four drawing options and its rotation. Every
// command acts on the active 3D window, docked or free, and does nothing when the
// window the user works in is no 3D window.
#include <QPointer>
#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;
class QWindow;
class TVekButton;
class TChildWinSolidStates;

class TfrmSolidStatesController : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSolidStatesController(QWidget* Parent = nullptr);
    ~TfrmSolidStatesController() override;

    // The 3D window the user works in, else nullptr: the active window when it is a
    // free 3D window, the main window's active document when the main window is
    // active. While the controller itself is active, the window active before it.
    static TChildWinSolidStates* ActiveSolidStatesWindow();
    // The window the controller was called from, until another one is activated.
    void SetWorkWindow(QWidget* Window);
    // Sets an edit's text showing its start: a long number cut at its front would
    // read as another value.
    static void ShowText(QLineEdit* Edit, const QString& Text);

    // Handlers.
    void FormCreate();
    bool FormCloseQuery();
    void tbxEnter(QLineEdit* Edit);
    void tbxExit(QLineEdit* Edit);
    void trackBar1Enter();
    void trackBar1Exit();
    void trackBar1Change();
    void cbDrawLinesClick();
    void cbDrawLineNumbersClick();
    void cbDrawPointsClick();
    void cbDrawPointNumbersClick();
    void cbAutorotateClick();
    void btnRotateMouseDown();
    void btnRotateMouseUp();

    // The track bar takes the edit's range and value; a changed position writes
    // the edit and applies the view. Throws EConvertError when the edit's text is
    // not a number (the range has changed by then).
    void SelectEdit(QLineEdit* Edit);
    // Observer, view point and zoom from the seven edits to the active 3D window's
    // model, then a redraw. All seven are read before any is applied; one that is
    // not a number throws EConvertError and the model stays as it was. A zoom
    // outside MinZoom..MaxZoom is held at the nearer end, in the edit as well.
    void ApplyView();
    void ApplyDrawOptions(QCheckBox* Box);
    // Shows the active edit's value on the track bar without applying anything.
    void SyncTrackBar();

    quint8 Rotating = 0;
    QLineEdit* ActiveEdit = nullptr;

    QLabel* lblFileName = nullptr;
    QLabel* lblObserverLoc = nullptr;
    QLineEdit *tbxOX = nullptr, *tbxOY = nullptr, *tbxOZ = nullptr;
    QLabel* lblCoordslookedat = nullptr;
    QLineEdit *tbxVX = nullptr, *tbxVY = nullptr, *tbxVZ = nullptr;
    QLabel* lblZoom = nullptr;
    QLineEdit* tbxZoom = nullptr;
    QSlider* trackBar1 = nullptr;
    TVekButton* btnRotate = nullptr;
    QCheckBox* cbAutorotate = nullptr;
    QLabel* lblOptions = nullptr;
    QCheckBox *cbDrawLines = nullptr, *cbDrawLineNumbers = nullptr, *cbDrawPoints = nullptr,
              *cbDrawPointNumbers = nullptr;

    // The zoom's range, on the track bar and in the model.
    static constexpr int MinZoom = 1;
    static constexpr int MaxZoom = 15;
    static constexpr quint32 SelectedColor = 0xFFFFFF;
    static constexpr quint32 UnselectedColor = 0xC0C0C0;

protected:
    void closeEvent(QCloseEvent* E) override;
    void keyPressEvent(QKeyEvent* E) override;
    bool eventFilter(QObject* Watched, QEvent* E) override;

private:
    QLineEdit* NewEdit(const char* Name, const QString& Text);
    void SetEditColor(QLineEdit* Edit, quint32 Colour);
    // The enter and exit handlers of the edits and the track bar.
    void EnterControl(QWidget* Control);
    void LeaveControl();

    void FocusWindowChanged(QWindow* Window);

    // The control whose enter handler ran last and whose exit handler has not run.
    QWidget* FEnteredControl = nullptr;
    // The last window other than the controller (and its popups) that was active.
    QPointer<QWidget> FWorkWindow;
};

// Created by the first 3D window that asks for it; closing only hides it.
extern TfrmSolidStatesController* frmSolidStatesController;

// Number texts of the edits, with the locale's decimal separator.
// Fixed point, 3 significant digits and 1 decimal; exponent form past 3 integer digits.
QString ObserverText(double Value);
// General form, up to 15 significant digits.
QString GeneralFloatText(double Value);
// The edit's number; '.' is accepted as decimal point in every locale. Throws
// EConvertError for a text that is not a finite number.
double EditFloatValue(const QString& Text);
// Nearest integer, ties to even, clamped to int.
int RoundToInt(double Value);
