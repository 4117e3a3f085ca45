#include "uChildWinGraphic.h"

#include "FileDialogs.h"
#include "ImageView.h"
#include "JPEGImage.h"
#include "uDocWindow.h"
#include "uFGlobal.h"
#include "uGlobal.h"
#include "uMainLink.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int TopHeight = 27;
constexpr int BottomHeight = 64;
} // namespace

TChildWinGraphic::TChildWinGraphic(QWidget* Parent) : QWidget(Parent) {
    setObjectName(NewFormName(QStringLiteral("ChildWinGraphic")));
    setAttribute(Qt::WA_DeleteOnClose);
    SetFormColour(this, clSilver);
    // FormCreate: both document objects live as long as the window.
    AtariGraphic = std::make_unique<TAtariGraphic>();
    AtariSTGraphic = std::make_unique<TAtariSTGraphic>();

    QVBoxLayout* Layout = NewWindowColumn(this);

    pnlTop = NewTopPanel(this, TopHeight);
    auto* TopLayout = new QHBoxLayout(pnlTop);
    TopLayout->setContentsMargins(2, 1, 2, 1);
    QHBoxLayout* Buttons = NewClippedRow(TopLayout);
    btnDetails = AddAtasciiPanelButton(Buttons, pnlTop, "btnDetails", QStringLiteral("Details"),
                                       QStringLiteral("Details ein/aus"));
    btnReport = AddAtasciiPanelButton(Buttons, pnlTop, "btnReport", QStringLiteral("Drucken"),
                                      QStringLiteral("Grafik drucken"));
    Buttons->addStretch(1);
    btnFullscreen = AddAtasciiPanelButton(TopLayout, pnlTop, "btnFullscreen", QStringLiteral("[ ]"),
                                          QStringLiteral("Vollbild"));
    btnFullscreen->setVisible(false);
    btnIsChildWin = AddAtasciiPanelButton(TopLayout, pnlTop, "btnIsChildWin", QStringLiteral("<>"),
                                          QStringLiteral("Fenster aus-/eindocken"));
    btnFullscreen->setProperty("Tag", -1);
    btnIsChildWin->setProperty("Tag", -1);
    Layout->addWidget(pnlTop);

    ImgGraphic = new ImageView;
    ImgGraphic->setObjectName(QStringLiteral("ImgGraphic"));
    ScrollBox1 = NewImageScrollBox(this, "ScrollBox1", ImgGraphic);
    Layout->addWidget(ScrollBox1, 1);

    const TInfoPanel Info = NewInfoPanel(this, BottomHeight, 10);
    pnlBottom = Info.Panel;
    lFileName = NewInfoLabel(Info, 0, "lFileName", QStringLiteral("Dateiname:"), 100);
    lFileType = NewInfoLabel(Info, 1, "lFileType", QStringLiteral("Format:"), 100);
    lCompress = NewInfoLabel(Info, 2, "lCompress", QStringLiteral("Kompression:"), 100);
    lSize = NewInfoLabel(Info, 3, "lSize", QStringLiteral("Bytes:"), 100);
    lResolution = NewInfoLabel(Info, 4, "lResolution", QStringLiteral("Pixel X*Y:"), 100);
    lblFilename = NewValueLabel(Info, 0, "lblFilename", 16744576);
    lblFileType = NewValueLabel(Info, 1, "lblFileType", 12615808);
    lblCompression = NewValueLabel(Info, 2, "lblCompression", 16744576);
    lblSizeInBytes = NewValueLabel(Info, 3, "lblSizeInBytes", 12615808);
    lblResolution = NewValueLabel(Info, 4, "lblResolution", 16744576);
    Layout->addWidget(ClipWidth(pnlBottom));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    CopyToClipboard = PopupMenu1->addAction(QStringLiteral("In die Zwischenablage &kopieren"));
    CopyToClipboard->setObjectName(QStringLiteral("CopyToClipboard"));

    ConnectGuarded(btnDetails, &QToolButton::clicked, this, &TChildWinGraphic::btnDetailsClick);
    ConnectGuarded(btnReport, &QToolButton::clicked, this, &TChildWinGraphic::btnReportClick);
    ConnectGuarded(btnFullscreen, &QToolButton::clicked, this, &TChildWinGraphic::btnFullscreenClick);
    ConnectGuarded(btnIsChildWin, &QToolButton::clicked, this, &TChildWinGraphic::btnIsChildWinClick);
    ConnectGuarded(CopyToClipboard, &QAction::triggered, this, &TChildWinGraphic::CopyToClipboardClick);
    AttachPopupMenu(this, ImgGraphic, PopupMenu1);
    SetClientSize(this, 390, 263);
}

TChildWinGraphic::~TChildWinGraphic() = default;

// ------------------------------------------------------------------ size and zoom

void TChildWinGraphic::FitWindow() {
    // The window is made wide enough for the values it is about to show.
    ShowPicInfos();
    FitToPicture(this, ImgGraphic->ViewSize(), pnlTop, pnlBottom);
}

void TChildWinGraphic::ZoomIn() {
    if (ScaleZoom(ImgGraphic, 2)) FitWindow();
}

void TChildWinGraphic::ZoomOut() {
    if (ScaleZoom(ImgGraphic, 0.5)) FitWindow();
}

// ------------------------------------------------------------------ info panel and buttons

void TChildWinGraphic::ShowPicInfos() {
    const TPicInfo& Info = AtariGraphic->PicInfo;
    lblFilename->setText(Info.FileName);
    lblFileType->setText(Info.Description);
    lblCompression->setText(Info.CompressionText);
    lblSizeInBytes->setText(QString::number(Info.FileSize));
    lblResolution->setText(Info.FileType == QLatin1String("ALB")
                               ? QStringLiteral("(Photo-Album)")
                               : QStringLiteral("%1x%2").arg(Info.Width).arg(Info.Height));
}

void TChildWinGraphic::showEvent(QShowEvent* E) {
    QWidget::showEvent(E);
    FormShow();
}

bool TChildWinGraphic::event(QEvent* E) {
    if (E->type() == QEvent::WindowActivate || E->type() == QEvent::Paint) ShowRes();
    return QWidget::event(E);
}

void TChildWinGraphic::btnDetailsClick() {
    ShowDetails = ShowDetails ? 0 : 1;
    pnlBottom->setVisible(ShowDetails);
    FitWindow();
}

void TChildWinGraphic::btnIsChildWinClick() {
    ToggleDocking(this, IsChildWin);
    if (IsChildWin) FitWindow();
}

void TChildWinGraphic::btnFullscreenClick() {
    EnterFullscreen(this, FFullscreen);
}

void TChildWinGraphic::keyPressEvent(QKeyEvent* E) {
    if (E->key() == Qt::Key_Escape) {
        LeaveFullscreen(this, FFullscreen);
        return;
    }
    QWidget::keyPressEvent(E);
}

void TChildWinGraphic::CopyToClipboardClick() {
    QApplication::clipboard()->setImage(ImgGraphic->Picture);
}

// ------------------------------------------------------------------ saving

void TChildWinGraphic::FileSaveAs() {
    if (MainWindow()) MainWindow()->StatusMsg(GetMsg(QStringLiteral("mFileSaveAs")));
    TFileDialogRequest Request;
    Request.Save = true;
    Request.Filter = QStringLiteral("BMP (*.BMP)|*.BMP|JPG (*.JPG)|*.JPG|GRAPHICS 8 (*.GR8; *.PIC; *.BLD)|"
                                    "*.GR8;*.PIC;*.BLD|Foto (*.PHO)|*.PHO");
    Request.InitialDir = openpath;
    QString Name;
    if (!ExecuteSaveDialogWithExt(this, Request, {".BMP", ".JPG", ".GR8", ".PHO"}, Name)) return;
    const TSaveStatusReset Reset;
    SaveToFile(Name);
}

void TChildWinGraphic::SaveToFile(const QString& FileName) {
    const QString Ext = ExtractFileExtUpper(QFileInfo(FileName).fileName());
    const QImage& Picture = ImgGraphic->Picture;
    if (SavePictureFile(Picture, FileName, TJPEGImage::DefaultQuality)) return;
    if (Ext == QLatin1String(".PIC") || Ext == QLatin1String(".BLD") || Ext == QLatin1String(".GR8")) {
        // The picture itself must be a GR.8 page, shown unzoomed.
        if (Picture.width() != 320 || Picture.height() != 192 || ImgGraphic->Zoom() != 1.0 ||
            ImgGraphic->BaseSize() != Picture.size()) {
            MessageBeep(32);
            ShowWarningMsg(GetMsg(QStringLiteral("mFormat320")));
            return;
        }
        AtariGraphic->SaveGR8Page(Picture, FileName);
    } else if (Ext == QLatin1String(".PHO")) {
        if (MainWindow()) MainWindow()->ShowProgressBar(true);
        AtariGraphic->SavePhoto(Picture, FileName, phoformat, [](int Pos, int Max) {
            if (MainWindow()) MainWindow()->ProgressBar(Pos, Max);
        });
    } else {
        WarnUnknownFileFormat(FileName);
    }
}

void TChildWinGraphic::SaveBMP640x384As4PICs() {
    const QImage& Picture = ImgGraphic->Picture;
    if (Picture.width() != 640 || Picture.height() != 384) {
        ShowWarningMsg(GetMsg(QStringLiteral("mWrongRes1")));
        return;
    }
    const TSaveStatusReset Reset;
    if (MainWindow()) {
        MainWindow()->StatusMsg(GetMsg(QStringLiteral("mSave2x2")));
        MainWindow()->ProgressBar(0, 4);
        MainWindow()->ShowProgressBar(true);
    }
    // The pages go beside the source picture, whatever its kind.
    const QFileInfo Source(SourceFileName);
    const QString Base = Source.absolutePath() + QLatin1Char('/') + Source.completeBaseName();
    AtariGraphic->SaveAs4PICs(Picture, Base, pic2x2mode, [](int Pos, int Max) {
        if (MainWindow()) MainWindow()->ProgressBar(Pos, Max);
    });
}

void TChildWinGraphic::PrintReport() {
    if (!fGlobal) return;
    fGlobal->SelectReport(QStringLiteral("GraphicReport"));
    fGlobal->SetParam(QStringLiteral("Titel"), AtariGraphic->PicInfo.FileName);
    // The picture goes to the report in memory: no file in the program folder.
    fGlobal->SetImage(QStringLiteral("ImagePathGraphic"), ImgGraphic->Picture);
    fGlobal->Execute();
}
