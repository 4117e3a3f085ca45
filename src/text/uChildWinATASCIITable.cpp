#include "uChildWinATASCIITable.h"

#include "FileDialogs.h"
#include "ImageView.h"
#include "uDocWindow.h"
#include "uGlobal.h"
#include "uMainLink.h"
#include "uParam.h"
#include "uRptATASCIITable.h"
#include "uTAtariFont.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {
constexpr int TopHeight = 27;
constexpr int JpegQuality = 95;
} // namespace

const QString TChildWinATASCIITable::BuiltinFontName = QStringLiteral("ATARI-Font (Morvanel intern)");

TChildWinATASCIITable::TChildWinATASCIITable(QWidget* Parent) : QWidget(Parent) {
    setObjectName(NewFormName(QStringLiteral("ChildWinATASCIITable")));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("ATASCII-Tabelle"));

    QVBoxLayout* Layout = NewWindowColumn(this);

    // FormCreate
    IsChildWin = 1;
    pnlTop = NewTopPanel(this, TopHeight);
    auto* TopLayout = new QHBoxLayout(pnlTop);
    TopLayout->setContentsMargins(2, 1, 2, 1);
    QHBoxLayout* Buttons = NewClippedRow(TopLayout);
    btnReport = AddAtasciiPanelButton(Buttons, pnlTop, "btnReport", QStringLiteral("Drucken"),
                                      QStringLiteral("ATASCII-Tabelle drucken"));
    Buttons->addStretch(1);
    btnIsChildWin = AddAtasciiPanelButton(TopLayout, pnlTop, "btnIsChildWin", QStringLiteral("<>"),
                                          QStringLiteral("Fenster aus-/eindocken"));
    btnIsChildWin->setProperty("Tag", -1);
    Layout->addWidget(pnlTop);

    imgATASCIITable = new ImageView;
    imgATASCIITable->setObjectName(QStringLiteral("imgATASCIITable"));
    imgATASCIITable->NewPicture(ATASCIITableWidth, ATASCIITableHeight, 0xFFFFFF);
    ScrollBox1 = NewImageScrollBox(this, "ScrollBox1", imgATASCIITable, false, SysColor(COLOR_APPWORKSPACE));
    ScrollBox1->setFocusPolicy(Qt::StrongFocus);
    // The box has the focus from the start: its frame must not hide the table's header.
    KeepRoomForFocusFrame(ScrollBox1);
    ScrollBox1->viewport()->installEventFilter(this);
    ScrollBox1->installEventFilter(this);
    Layout->addWidget(ScrollBox1, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    Layout->addWidget(ClipWidth(StatusBar1));

    ConnectGuarded(btnReport, &QToolButton::clicked, this, &TChildWinATASCIITable::btnReportClick);
    ConnectGuarded(btnIsChildWin, &QToolButton::clicked, this, &TChildWinATASCIITable::btnIsChildWinClick);
    resize(608, 434);
}

// ------------------------------------------------------------------ creation

TChildWinATASCIITable* TChildWinATASCIITable::CreateTable(const TAtariFont& Font, bool ShowInternational) {
    auto* Win = new TChildWinATASCIITable;
    if (MainWindow()) {
        Win->setWindowIcon(MainWindow()->DocumentIcon(TDocIcon::Font));
        MainWindow()->AddMDIChild(Win);
    }
    Win->FontName = Font.FontName;
    Win->setWindowTitle(GetMsg(QStringLiteral("mATASCTable")) + QStringLiteral(": ") + Font.FontName);
    Win->SetFrameHeight(450);
    SetClientWidth(Win, 600);
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
    if (MainWindow()) {
        Win->setWindowIcon(MainWindow()->DocumentIcon(TDocIcon::Font));
        MainWindow()->AddMDIChild(Win);
    }
    Win->FontName = Font.FontName;
    Win->setWindowTitle(GetMsg(QStringLiteral("mFontMap")) + QStringLiteral(": ") + Font.FontName);
    SetFrameSize(Win, 610, 450);
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

void TChildWinATASCIITable::SetFrameHeight(int Height) {
    QWidget* F = DocumentFrame(this);
    F->resize(F->width(), Height);
}

void TChildWinATASCIITable::FitWindow() {
    const QSize View = imgATASCIITable->ViewSize();
    SetFrameSize(this, View.width() + 45, View.height() + TopHeight + 35);
}

void TChildWinATASCIITable::ZoomIn() {
    ScaleZoom(imgATASCIITable, 2);
    ShowFrameNormal(this);
}

void TChildWinATASCIITable::ZoomOut() {
    ScaleZoom(imgATASCIITable, 0.5);
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
    ScrollVertically(ScrollBox1, WheelScrollStep);
}

void TChildWinATASCIITable::ScrollBox1MouseWheelUp() {
    ScrollVertically(ScrollBox1, -WheelScrollStep);
}

void TChildWinATASCIITable::btnIsChildWinClick() {
    ToggleDocking(this, IsChildWin);
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
    if (MainWindow()) MainWindow()->StatusMsg(GetMsg(QStringLiteral("mFileSaveAs")));
    TFileDialogRequest Request;
    Request.Save = true;
    Request.Filter = QStringLiteral("BMP|*.BMP|JPG|*.JPG");
    Request.FileName = QStringLiteral("ATASCII-Table");
    QString Name;
    if (ExecuteSaveDialogWithExt(this, Request, {".BMP", ".JPG"}, Name)) WritePicture(Name);
}

void TChildWinATASCIITable::WritePicture(const QString& FileName) {
    // Nothing can be written under another extension; say so instead of leaving the
    // user believing the picture was saved.
    if (!SavePictureFile(imgATASCIITable->Picture, FileName, JpegQuality)) WarnUnknownFileFormat(FileName);
}
