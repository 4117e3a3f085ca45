#pragma once
#include "uTAtariGraphic.h"
#include "uTAtariSTGraphic.h"

#include <QWidget>
#include <memory>

class ImageView;
class QLabel;
class QMenu;
class QAction;
class QScrollArea;
class QToolButton;

// The window that shows one picture of any kind with its info panel.
class TChildWinGraphic : public QWidget {
    Q_OBJECT
public:
    explicit TChildWinGraphic(QWidget* Parent = nullptr);
    ~TChildWinGraphic() override;

    // Operations the main window calls.
    void FitWindow();
    void ZoomIn();
    void ZoomOut();
    void PrintReport();
    void FileSaveAs();
    void SaveBMP640x384As4PICs();
    // Saves the shown picture by the extension of FileName (upper-cased).
    void SaveToFile(const QString& FileName);

    void ShowPicInfos();
    void ShowRes() { ShowPicInfos(); }
    void FormShow() { ShowPicInfos(); }
    void btnDetailsClick();
    void btnIsChildWinClick();
    void btnFullscreenClick();
    void btnReportClick() { PrintReport(); }
    void CopyToClipboardClick();

    std::unique_ptr<TAtariGraphic> AtariGraphic;
    std::unique_ptr<TAtariSTGraphic> AtariSTGraphic;
    QString SourceFileName; // real path of the opened file: base of the four-page split
    quint8 IsChildWin = 1;
    quint8 ShowDetails = 1;

    QWidget* pnlTop = nullptr;
    QToolButton *btnDetails = nullptr, *btnReport = nullptr, *btnFullscreen = nullptr,
                *btnIsChildWin = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    ImageView* ImgGraphic = nullptr;
    QWidget* pnlBottom = nullptr;
    QLabel *lFileName = nullptr, *lFileType = nullptr, *lCompress = nullptr, *lSize = nullptr,
           *lResolution = nullptr;
    QLabel *lblFilename = nullptr, *lblFileType = nullptr, *lblCompression = nullptr,
           *lblSizeInBytes = nullptr, *lblResolution = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* CopyToClipboard = nullptr;

protected:
    void keyPressEvent(QKeyEvent* E) override;
    void showEvent(QShowEvent* E) override;
    bool event(QEvent* E) override;

private:
    bool FFullscreen = false;
};
