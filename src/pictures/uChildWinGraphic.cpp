#include "uChildWinGraphic.h"

#include "FileDialogs.h"
#include "ImageView.h"
#include "JPEGImage.h"
#include "uFGlobal.h"
#include "uGlobal.h"
#include "uMain.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int TopHeight = 27;
constexpr int BottomHeight = 64;

QLabel* InfoLabel(QWidget* Parent, QGridLayout* Grid, int Row, const char* Name, const QString& Caption) {
    auto* L = new QLabel(Caption, Parent);
    L->setObjectName(QLatin1String(Name));
    L->setFixedWidth(100);
    L->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Grid->addWidget(L, Row, 0);
    return L;
}

QLabel* ValueLabel(QWidget* Parent, QGridLayout* Grid, int Row, const char* Name, quint32 Colour) {
    auto* L = new QLabel(QStringLiteral("-"), Parent);
    L->setObjectName(QLatin1String(Name));
    L->setProperty("Tag", -1);
    L->setTextFormat(Qt::PlainText);
    L->setStyleSheet(QStringLiteral("color: %1;").arg(WinColorToQColor(Colour).name()));
    Grid->addWidget(L, Row, 1);
    return L;
}
} // namespace

TChildWinGraphic::TChildWinGraphic(QWidget* Parent) : QWidget(Parent) {
    setObjectName(NewFormName(QStringLiteral("ChildWinGraphic")));
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette Pal = palette();
    Pal.setColor(QPalette::Window, WinColorToQColor(clSilver));
    setPalette(Pal);
    setAutoFillBackground(true);
    // FormCreate: both document objects live as long as the window.
    AtariGraphic = std::make_unique<TAtariGraphic>();
    AtariSTGraphic = std::make_unique<TAtariSTGraphic>();

    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);

    pnlTop = new QWidget(this);
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    pnlTop->setFixedHeight(TopHeight);
    pnlTop->setAutoFillBackground(true);
    QPalette TopPal = pnlTop->palette();
    TopPal.setColor(QPalette::Window, WinColorToQColor(10309121));
    TopPal.setColor(QPalette::ButtonText, Qt::white);
    TopPal.setColor(QPalette::WindowText, Qt::white);
    pnlTop->setPalette(TopPal);
    auto* TopLayout = new QHBoxLayout(pnlTop);
    TopLayout->setContentsMargins(2, 1, 2, 1);
    auto Button = [this, TopLayout](const char* Name, const QString& Caption, const QString& Hint) {
        auto* B = new QToolButton(pnlTop);
        B->setObjectName(QLatin1String(Name));
        B->setText(Caption);
        B->setToolTip(Hint);
        B->setStatusTip(Hint);
        B->setAutoRaise(true);
        B->setFont(QFont(QStringLiteral("ATASCII"), 8));
        B->setStyleSheet(QStringLiteral("QToolButton { color: white; }"));
        TopLayout->addWidget(B);
        return B;
    };
    btnDetails = Button("btnDetails", QStringLiteral("Details"), QStringLiteral("Details ein/aus"));
    btnReport = Button("btnReport", QStringLiteral("Drucken"), QStringLiteral("Grafik drucken"));
    TopLayout->addStretch(1);
    btnFullscreen = Button("btnFullscreen", QStringLiteral("[ ]"), QStringLiteral("Vollbild"));
    btnFullscreen->setVisible(false);
    btnIsChildWin = Button("btnIsChildWin", QStringLiteral("<>"), QStringLiteral("Fenster aus-/eindocken"));
    btnFullscreen->setProperty("Tag", -1);
    btnIsChildWin->setProperty("Tag", -1);
    Layout->addWidget(pnlTop);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setBackgroundRole(QPalette::Window);
    ImgGraphic = new ImageView;
    ImgGraphic->setObjectName(QStringLiteral("ImgGraphic"));
    ImgGraphic->setContextMenuPolicy(Qt::CustomContextMenu);
    ScrollBox1->setWidget(ImgGraphic);
    Layout->addWidget(ScrollBox1, 1);

    pnlBottom = new QWidget(this);
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    pnlBottom->setFixedHeight(BottomHeight);
    pnlBottom->setAutoFillBackground(true);
    QPalette BottomPal = pnlBottom->palette();
    BottomPal.setColor(QPalette::Window, WinColorToQColor(SysColor(COLOR_APPWORKSPACE)));
    pnlBottom->setPalette(BottomPal);
    auto* Grid = new QGridLayout(pnlBottom);
    Grid->setContentsMargins(2, 1, 2, 1);
    Grid->setVerticalSpacing(0);
    Grid->setHorizontalSpacing(6);
    QFont Small = font();
    Small.setPixelSize(10);
    pnlBottom->setFont(Small);
    lFileName = InfoLabel(pnlBottom, Grid, 0, "lFileName", QStringLiteral("Dateiname:"));
    lFileType = InfoLabel(pnlBottom, Grid, 1, "lFileType", QStringLiteral("Format:"));
    lCompress = InfoLabel(pnlBottom, Grid, 2, "lCompress", QStringLiteral("Kompression:"));
    lSize = InfoLabel(pnlBottom, Grid, 3, "lSize", QStringLiteral("Bytes:"));
    lResolution = InfoLabel(pnlBottom, Grid, 4, "lResolution", QStringLiteral("Pixel X*Y:"));
    lblFilename = ValueLabel(pnlBottom, Grid, 0, "lblFilename", 16744576);
    lblFileType = ValueLabel(pnlBottom, Grid, 1, "lblFileType", 12615808);
    lblCompression = ValueLabel(pnlBottom, Grid, 2, "lblCompression", 16744576);
    lblSizeInBytes = ValueLabel(pnlBottom, Grid, 3, "lblSizeInBytes", 12615808);
    lblResolution = ValueLabel(pnlBottom, Grid, 4, "lblResolution", 16744576);
    Grid->setColumnStretch(1, 1);
    Layout->addWidget(pnlBottom);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    CopyToClipboard = PopupMenu1->addAction(QStringLiteral("In die Zwischenablage &kopieren"));
    CopyToClipboard->setObjectName(QStringLiteral("CopyToClipboard"));

    connect(btnDetails, &QToolButton::clicked, this, [this] { Guarded([this] { btnDetailsClick(); }); });
    connect(btnReport, &QToolButton::clicked, this, [this] { Guarded([this] { btnReportClick(); }); });
    connect(btnFullscreen, &QToolButton::clicked, this,
            [this] { Guarded([this] { btnFullscreenClick(); }); });
    connect(btnIsChildWin, &QToolButton::clicked, this,
            [this] { Guarded([this] { btnIsChildWinClick(); }); });
    connect(CopyToClipboard, &QAction::triggered, this,
            [this] { Guarded([this] { CopyToClipboardClick(); }); });
    connect(ImgGraphic, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& P) { PopupMenu1->popup(ImgGraphic->mapToGlobal(P)); });
    SetClientSize(390, 263);
}

TChildWinGraphic::~TChildWinGraphic() = default;

// ------------------------------------------------------------------ size and zoom

void TChildWinGraphic::SetClientSize(int Width, int Height) {
    resize(Width, Height);
    if (auto* Sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        const QMargins M = Sub->contentsMargins();
        Sub->resize(Width + M.left() + M.right(), Height + M.top() + M.bottom());
    }
}

void TChildWinGraphic::FitWindow() {
    QWidget* Frame = qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
    if (Frame->isMaximized()) Frame->showNormal();
    const QSize View = ImgGraphic->ViewSize();
    SetClientSize(View.width(), View.height() + TopHeight + (ShowDetails ? BottomHeight : 0) + 2);
}

void TChildWinGraphic::ZoomIn() {
    ImgGraphic->SetZoom(ImgGraphic->Zoom() * 2);
    FitWindow();
}

void TChildWinGraphic::ZoomOut() {
    ImgGraphic->SetZoom(ImgGraphic->Zoom() / 2);
    FitWindow();
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
    IsChildWin = IsChildWin ? 0 : 1;
    SetMDIChildStyle(this, IsChildWin);
    QWidget* Frame = IsChildWin ? parentWidget() : this;
    if (Frame) Frame->move(1, 1);
    if (IsChildWin) FitWindow();
}

void TChildWinGraphic::btnFullscreenClick() {
    QWidget* Frame = qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
    FFullscreen = true;
    Frame->setWindowFlag(Qt::FramelessWindowHint, true);
    Frame->showMaximized();
    setFocus();
}

void TChildWinGraphic::keyPressEvent(QKeyEvent* E) {
    if (E->key() == Qt::Key_Escape && FFullscreen) {
        QWidget* Frame = qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
        FFullscreen = false;
        Frame->setWindowFlag(Qt::FramelessWindowHint, false);
        Frame->showNormal();
        return;
    }
    QWidget::keyPressEvent(E);
}

void TChildWinGraphic::CopyToClipboardClick() {
    QApplication::clipboard()->setImage(ImgGraphic->Picture);
}

// ------------------------------------------------------------------ saving

void TChildWinGraphic::FileSaveAs() {
    if (frmMain) frmMain->StatusMsg(GetMsg(QStringLiteral("mFileSaveAs")));
    TFileDialogRequest Request;
    Request.Save = true;
    Request.Filter = QStringLiteral("BMP (*.BMP)|*.BMP|JPG (*.JPG)|*.JPG|GRAPHICS 8 (*.GR8; *.PIC; *.BLD)|"
                                    "*.GR8;*.PIC;*.BLD|Foto (*.PHO)|*.PHO");
    Request.InitialDir = openpath;
    QStringList Files;
    if (!ExecuteFileDialog(this, Request, Files)) return;
    QString Name = Files.first();
    if (ExtractFileExtUpper(QFileInfo(Name).fileName()).isEmpty()) {
        static const char* const Appended[] = {".BMP", ".JPG", ".GR8", ".PHO"};
        if (Request.FilterIndex >= 1 && Request.FilterIndex <= 4)
            Name += QLatin1String(Appended[Request.FilterIndex - 1]);
    }
    // Progress bar and status text are reset however the save ends.
    struct TResetStatus {
        ~TResetStatus() {
            if (!frmMain) return;
            frmMain->ProgressBar(0, 0);
            frmMain->ProgressBar1->hide();
            frmMain->delmsg();
        }
    } Reset;
    SaveToFile(Name);
}

void TChildWinGraphic::SaveToFile(const QString& FileName) {
    const QString Ext = ExtractFileExtUpper(QFileInfo(FileName).fileName());
    const QImage& Picture = ImgGraphic->Picture;
    if (Ext == QLatin1String(".BMP")) {
        QByteArray Data;
        QBuffer Buffer(&Data);
        Buffer.open(QIODevice::WriteOnly);
        if (!Picture.save(&Buffer, "BMP")) RaiseInOutError(ioDiskFull, FileName);
        WriteWholeFile(FileName, Data);
    } else if (Ext == QLatin1String(".JPG")) {
        TJPEGImage Jpeg;
        Jpeg.Assign(Picture);
        Jpeg.SaveToFile(FileName);
    } else if (Ext == QLatin1String(".PIC") || Ext == QLatin1String(".BLD") || Ext == QLatin1String(".GR8")) {
        // The picture itself must be a GR.8 page, shown unzoomed.
        if (Picture.width() != 320 || Picture.height() != 192 || ImgGraphic->Zoom() != 1.0 ||
            ImgGraphic->BaseSize() != Picture.size()) {
            MessageBeep(32);
            ShowWarningMsg(GetMsg(QStringLiteral("mFormat320")));
            return;
        }
        AtariGraphic->ImageToGR8Bits(Picture, 39, 191, 0, 0);
        AtariGraphic->SaveGR8Pic(FileName);
    } else if (Ext == QLatin1String(".PHO")) {
        if (frmMain) frmMain->ProgressBar1->show();
        AtariGraphic->SavePhoto(Picture, FileName, phoformat, [](int Pos, int Max) {
            if (frmMain) frmMain->ProgressBar(Pos, Max);
        });
    } else {
        MessageBeep(32);
        ShowWarningMsg(GetMsg(QStringLiteral("mFileFormatUnk")));
    }
}

void TChildWinGraphic::SaveBMP640x384As4PICs() {
    const QImage& Picture = ImgGraphic->Picture;
    if (Picture.width() != 640 || Picture.height() != 384) {
        ShowWarningMsg(GetMsg(QStringLiteral("mWrongRes1")));
        return;
    }
    if (frmMain) {
        frmMain->StatusMsg(GetMsg(QStringLiteral("mSave2x2")));
        frmMain->ProgressBar(0, 4);
        frmMain->ProgressBar1->show();
    }
    // The pages go beside the source picture, whatever its kind.
    const QFileInfo Source(SourceFileName);
    const QString Base = Source.absolutePath() + QLatin1Char('/') + Source.completeBaseName();
    AtariGraphic->SaveAs4PICs(Picture, Base, pic2x2mode);
    if (frmMain) {
        frmMain->ProgressBar1->hide();
        frmMain->delmsg();
    }
}

void TChildWinGraphic::PrintReport() {
    if (!fGlobal) return;
    fGlobal->SelectReport(QStringLiteral("GraphicReport"));
    fGlobal->SetParam(QStringLiteral("Titel"), AtariGraphic->PicInfo.FileName);
    // The picture goes to the report in memory: no file in the program folder.
    fGlobal->SetImage(QStringLiteral("ImagePathGraphic"), ImgGraphic->Picture);
    fGlobal->Execute();
}
