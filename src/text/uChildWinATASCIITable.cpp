#include "uChildWinATASCIITable.h"

#include "FileDialogs.h"
#include "ImageView.h"
#include "JPEGImage.h"
#include "uGlobal.h"
#include "uMain.h"
#include "uParam.h"
#include "uRptATASCIITable.h"
#include "uTAtariFont.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {
constexpr int TopHeight = 27;
constexpr int WheelStep = 7;
constexpr int JpegQuality = 95;
} // namespace

const QString TChildWinATASCIITable::BuiltinFontName = QStringLiteral("ATARI-Font (Morvanel intern)");

TChildWinATASCIITable::TChildWinATASCIITable(QWidget* Parent) : QWidget(Parent) {
    setObjectName(NewFormName(QStringLiteral("ChildWinATASCIITable")));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("ATASCII-Tabelle"));

    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);

    // FormCreate
    IsChildWin = 1;
    pnlTop = new QWidget(this);
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    pnlTop->setFixedHeight(TopHeight);
    pnlTop->setAutoFillBackground(true);
    QPalette TopPal = pnlTop->palette();
    TopPal.setColor(QPalette::Window, WinColorToQColor(TopPanelColor));
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
    btnReport = Button("btnReport", QStringLiteral("Drucken"), QStringLiteral("ATASCII-Tabelle drucken"));
    TopLayout->addStretch(1);
    btnIsChildWin = Button("btnIsChildWin", QStringLiteral("<>"), QStringLiteral("Fenster aus-/eindocken"));
    btnIsChildWin->setProperty("Tag", -1);
    Layout->addWidget(pnlTop);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setFocusPolicy(Qt::StrongFocus);
    QPalette BoxPal = ScrollBox1->palette();
    BoxPal.setColor(QPalette::Window, WinColorToQColor(SysColor(COLOR_APPWORKSPACE)));
    ScrollBox1->setPalette(BoxPal);
    ScrollBox1->setBackgroundRole(QPalette::Window);
    imgATASCIITable = new ImageView;
    imgATASCIITable->setObjectName(QStringLiteral("imgATASCIITable"));
    imgATASCIITable->NewPicture(ATASCIITableWidth, ATASCIITableHeight, 0xFFFFFF);
    ScrollBox1->setWidget(imgATASCIITable);
    ScrollBox1->viewport()->installEventFilter(this);
    ScrollBox1->installEventFilter(this);
    Layout->addWidget(ScrollBox1, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    Layout->addWidget(StatusBar1);

    connect(btnReport, &QToolButton::clicked, this, [this] { Guarded([this] { btnReportClick(); }); });
    connect(btnIsChildWin, &QToolButton::clicked, this,
            [this] { Guarded([this] { btnIsChildWinClick(); }); });
    resize(608, 434);
}

// ------------------------------------------------------------------ creation

TChildWinATASCIITable* TChildWinATASCIITable::CreateTable(const TAtariFont& Font, bool ShowInternational) {
    auto* Win = new TChildWinATASCIITable;
    if (frmMain) {
        Win->setWindowIcon(frmMain->Font_Icon);
        frmMain->AddMDIChild(Win);
    }
    Win->FontName = Font.FontName;
    Win->setWindowTitle(GetMsg(QStringLiteral("mATASCTable")) + QStringLiteral(": ") + Font.FontName);
    Win->SetFrameHeight(450);
    Win->SetClientWidth(600);
    ImageView& Img = *Win->imgATASCIITable;
    Img.NewPicture(ATASCIITableWidth, ATASCIITableHeight, 0xFFFFFF);
    DrawATASCIITable(Img.Picture, Font, ShowInternational);
    Img.Changed();
    Win->TableKind = 1;
    Win->show();
    TranslateForm(Win, CurrentLanguageFile());
    return Win;
}

TChildWinATASCIITable* TChildWinATASCIITable::CreateTable() {
    TAtariFont Font;
    Font.FontName = BuiltinFontName;
    return CreateTable(Font, true);
}

TChildWinATASCIITable* TChildWinATASCIITable::CreateFontMap(const TAtariFont& Font) {
    auto* Win = new TChildWinATASCIITable;
    if (frmMain) {
        Win->setWindowIcon(frmMain->Font_Icon);
        frmMain->AddMDIChild(Win);
    }
    Win->FontName = Font.FontName;
    Win->setWindowTitle(GetMsg(QStringLiteral("mFontMap")) + QStringLiteral(": ") + Font.FontName);
    Win->SetFrameSize(610, 450);
    Win->TableKind = 2;
    ImageView& Img = *Win->imgATASCIITable;
    Img.NewPicture(FontMapWidth, FontMapHeight, 0xFFFFFF);
    DrawFontMap(Img.Picture, Font);
    Img.Changed();
    Win->show();
    TranslateForm(Win, CurrentLanguageFile());
    return Win;
}

TChildWinATASCIITable* TChildWinATASCIITable::CreateFontMap() {
    TAtariFont Font;
    Font.FontName = BuiltinFontName;
    return CreateFontMap(Font);
}

// ------------------------------------------------------------------ size and zoom

QWidget* TChildWinATASCIITable::Frame() {
    if (auto* Sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return Sub;
    return this;
}

void TChildWinATASCIITable::SetFrameSize(int Width, int Height) {
    Frame()->resize(Width, Height);
}

void TChildWinATASCIITable::SetFrameHeight(int Height) {
    QWidget* F = Frame();
    F->resize(F->width(), Height);
}

void TChildWinATASCIITable::SetClientWidth(int Width) {
    QWidget* F = Frame();
    const QMargins M = F == this ? QMargins() : F->contentsMargins();
    F->resize(Width + M.left() + M.right(), F->height());
}

void TChildWinATASCIITable::FitWindow() {
    const QSize View = imgATASCIITable->ViewSize();
    SetFrameSize(View.width() + 45, View.height() + TopHeight + 35);
}

void TChildWinATASCIITable::ZoomIn() {
    imgATASCIITable->SetZoom(imgATASCIITable->Zoom() * 2);
    QWidget* F = Frame();
    if (F->isMaximized()) F->showNormal();
}

void TChildWinATASCIITable::ZoomOut() {
    imgATASCIITable->SetZoom(imgATASCIITable->Zoom() / 2);
}

// ------------------------------------------------------------------ events

void TChildWinATASCIITable::FormShow() {
    // With the focus the scroll box takes the mouse wheel.
    ScrollBox1->setFocus();
}

void TChildWinATASCIITable::showEvent(QShowEvent* E) {
    QWidget::showEvent(E);
    FormShow();
}

bool TChildWinATASCIITable::eventFilter(QObject* Watched, QEvent* E) {
    if (E->type() == QEvent::Wheel && (Watched == ScrollBox1 || Watched == ScrollBox1->viewport())) {
        // One step per wheel notch; finer wheels add up to notches.
        FWheelRest += static_cast<QWheelEvent*>(E)->angleDelta().y();
        Guarded([this] {
            while (FWheelRest >= 120) {
                FWheelRest -= 120;
                ScrollBox1MouseWheelUp();
            }
            while (FWheelRest <= -120) {
                FWheelRest += 120;
                ScrollBox1MouseWheelDown();
            }
        });
        return true;
    }
    return QWidget::eventFilter(Watched, E);
}

void TChildWinATASCIITable::ScrollBox1MouseWheelDown() {
    QScrollBar* Bar = ScrollBox1->verticalScrollBar();
    Bar->setValue(Bar->value() + WheelStep);
    ScrollBox1->viewport()->repaint();
}

void TChildWinATASCIITable::ScrollBox1MouseWheelUp() {
    QScrollBar* Bar = ScrollBox1->verticalScrollBar();
    Bar->setValue(Bar->value() - WheelStep);
    ScrollBox1->viewport()->repaint();
}

void TChildWinATASCIITable::btnIsChildWinClick() {
    IsChildWin = quint8(1 - IsChildWin);
    SetMDIChildStyle(this, IsChildWin);
    Frame()->move(1, 1);
    if (IsChildWin) FitWindow();
    SetFrameHeight(400);
}

// ------------------------------------------------------------------ printing and saving

void TChildWinATASCIITable::PrintReport() {
    if (TableKind == 1)
        PrintATASCTableReport(imgATASCIITable->Picture,
                              GetMsg(QStringLiteral("mATASCTable")) + QStringLiteral(": ") + FontName);
    else if (TableKind == 2)
        PrintFontMapReport(imgATASCIITable->Picture,
                           GetMsg(QStringLiteral("mFontMap")) + QStringLiteral(": ") + FontName);
}

void TChildWinATASCIITable::SaveToFile() {
    if (frmMain) frmMain->StatusMsg(GetMsg(QStringLiteral("mFileSaveAs")));
    TFileDialogRequest Request;
    Request.Save = true;
    Request.Filter = QStringLiteral("BMP|*.BMP|JPG|*.JPG");
    Request.FileName = QStringLiteral("ATASCII-Table");
    QStringList Files;
    if (!ExecuteFileDialog(this, Request, Files) || Files.isEmpty()) return;
    QString Name = Files.first();
    if (ExtractFileExtUpper(QFileInfo(Name).fileName()).isEmpty()) {
        if (Request.FilterIndex == 1)
            Name += QStringLiteral(".BMP");
        else if (Request.FilterIndex == 2)
            Name += QStringLiteral(".JPG");
    }
    WritePicture(Name);
}

void TChildWinATASCIITable::WritePicture(const QString& FileName) {
    const QString Ext = ExtractFileExtUpper(QFileInfo(FileName).fileName());
    const QImage& Picture = imgATASCIITable->Picture;
    if (Ext == QLatin1String(".BMP")) {
        QByteArray Data;
        QBuffer Buffer(&Data);
        Buffer.open(QIODevice::WriteOnly);
        if (!Picture.save(&Buffer, "BMP")) RaiseInOutError(ioDiskFull, FileName);
        WriteWholeFile(FileName, Data);
    } else if (Ext == QLatin1String(".JPG")) {
        TJPEGImage Jpeg;
        Jpeg.CompressionQuality = JpegQuality;
        Jpeg.Assign(Picture);
        Jpeg.SaveToFile(FileName);
    } else {
        // Nothing can be written under another extension; say so instead of
        // leaving the user believing the picture was saved.
        MessageBeep(32);
        ShowWarningMsg(GetMsg(QStringLiteral("mFileFormatUnk")));
    }
}
