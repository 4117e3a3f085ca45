#pragma once
// The document window of a Solid States object: the model in its picture control,
// rotating by a 40 ms timer, the file's data in a details panel, the controller
// window and printing.
#include "uTAtariGraphic.h"
#include "uTom3D.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class ImageView;
class QLabel;
class QMdiSubWindow;
class QScrollArea;
class QTimer;
class TVekButton;

class TChildWinSolidStates : public QWidget {
    Q_OBJECT
public:
    explicit TChildWinSolidStates(QWidget* Parent = nullptr);
    ~TChildWinSolidStates() override;

    // The open branch of a Solid States file, run after the window was created and
    // put into the main window's MDI area: Path is the real path, Name the display
    // name, Info the identification result. Throws EInOutError when the file cannot
    // be read (the window then stays with what was set up so far).
    void OpenDocument(const QString& Path, const QString& Name, const TPicInfo& Info);

    // Operations the main window calls (Save does nothing for this window; Invert
    // inverts imgGraphic->Picture, which the next rotation tick redraws).
    void FitWindow();
    void ZoomIn();
    void ZoomOut();
    void PrintReport();

    // Handlers.
    void FormShow();
    void FormActivate();
    bool FormCloseQuery();
    void btnDetailsClick();
    void btnControllerClick();
    void btnFullscreenClick();
    void btnIsChildWinClick();
    void btnReportClick() { PrintReport(); }
    void imgGraphicMouseEnter();
    void Timer1Timer();
    void RotateModel();
    void ShowPicInfos();
    void ShowRes();

    // The size of the picture control (the model's screen is at most 320 wide; a
    // larger control shows it stretched).
    QSize ImageSize() const;

    quint8 FirstTick = 1;
    quint8 AutoRotate = 1;
    quint8 IsChildWin = 1;
    quint8 ShowDetails = 1;

private:
    class TImageAdapter;
    std::unique_ptr<TImageAdapter> FImage; // declared before the model: outlives it

public:
    std::unique_ptr<Tom3D> Om3D;
    std::unique_ptr<TAtariGraphic> AtariGraphic;

    QWidget* pnlTop = nullptr;
    TVekButton *btnDetails = nullptr, *btnController = nullptr, *btnFullscreen = nullptr,
               *btnIsChildWin = nullptr;
    QScrollArea* ScrollBox = nullptr;
    ImageView* imgGraphic = nullptr;
    QWidget* pnlBottom = nullptr;
    QLabel *lFileName = nullptr, *lFileType = nullptr, *lCompress = nullptr, *lSize = nullptr,
           *lResolution = nullptr;
    QLabel *lblFilename = nullptr, *lblFileType = nullptr, *lblPointsLines = nullptr,
           *lblSizeInBytes = nullptr, *lblResolution = nullptr;
    QTimer* Timer1 = nullptr;

    static constexpr int TopHeight = 27;
    static constexpr int LayoutBottomHeight = 54;
    static constexpr int BottomHeight = 64;

protected:
    void closeEvent(QCloseEvent* E) override;
    void keyPressEvent(QKeyEvent* E) override;
    void showEvent(QShowEvent* E) override;
    bool event(QEvent* E) override;
    bool eventFilter(QObject* Watched, QEvent* E) override;

private:
    void SetImageSize(const QSize& Size);
    void WatchSubWindow();
    QPointer<QMdiSubWindow> FWatched;
    bool FFullscreen = false;
};
