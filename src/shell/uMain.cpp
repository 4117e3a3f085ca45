#include "uMain.h"

#include "uFGlobal.h"
#include "uGlobal.h"
#include "uInfo.h"
#include "uParam.h"
#include "uYESNOCANCEL.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QStatusTipEvent>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>

TfrmMain* frmMain = nullptr;

const char* const TfrmMain::MakerWebSite = "https://www.example.org/tevra/";
const char* const TfrmMain::ClubWebSite = "https://club.example.org/";

// ------------------------------------------------------------------ status bar

TStatusBar::TStatusBar(QWidget* Parent, const std::array<int, 4>& Widths) : QWidget(Parent) {
    auto* Layout = new QHBoxLayout(this);
    Layout->setContentsMargins(0, 1, 0, 1);
    Layout->setSpacing(2);
    for (int I = 0; I < 4; ++I) {
        auto* L = new QLabel(this);
        L->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        L->setFixedWidth(Widths[I]);
        L->setTextFormat(Qt::PlainText);
        L->setObjectName(QStringLiteral("StatusPanel%1").arg(I));
        FPanels[I] = L;
        Layout->addWidget(L);
    }
    Layout->addStretch(1);
    setFixedHeight(22);
}

void TStatusBar::SetPanelText(int Index, const QString& Text) {
    if (Index >= 0 && Index < 4) FPanels[Index]->setText(Text);
}

QString TStatusBar::PanelText(int Index) const {
    return Index >= 0 && Index < 4 ? FPanels[Index]->text() : QString();
}

QRect TStatusBar::PanelRect(int Index) const {
    return Index >= 0 && Index < 4 ? FPanels[Index]->geometry() : QRect();
}

void TClickImage::mouseReleaseEvent(QMouseEvent* E) {
    QLabel::mouseReleaseEvent(E);
    if (rect().contains(E->position().toPoint())) emit Clicked();
}

// ------------------------------------------------------------------ icons and logos

namespace {
QIcon DocIcon(QColor Colour, const QString& Letter) {
    QPixmap Pix(16, 16);
    Pix.fill(Qt::transparent);
    QPainter P(&Pix);
    P.setPen(Qt::black);
    P.setBrush(Colour);
    P.drawRect(1, 1, 13, 13);
    P.setPen(Qt::white);
    QFont F = P.font();
    F.setPixelSize(10);
    F.setBold(true);
    P.setFont(F);
    P.drawText(QRect(1, 1, 14, 14), Qt::AlignCenter, Letter);
    return QIcon(Pix);
}

// The maker's logo: drawn here, no picture file needed.
QPixmap MakerLogo() {
    QPixmap Pix(96, 28);
    Pix.fill(QColor(0x01, 0x4E, 0x9D));
    QPainter P(&Pix);
    P.setPen(QColor(255, 210, 0));
    QFont F(QStringLiteral("DejaVu Sans"));
    F.setPixelSize(18);
    F.setBold(true);
    P.setFont(F);
    P.drawText(Pix.rect(), Qt::AlignCenter, QStringLiteral("TEVRA"));
    return Pix;
}

QPixmap ClubLogo() {
    QPixmap Pix(60, 28);
    Pix.fill(QColor(0x01, 0x4E, 0x9D));
    QPainter P(&Pix);
    P.setRenderHint(QPainter::Antialiasing);
    P.setPen(QPen(QColor(220, 220, 220), 2));
    for (int I = 0; I < 3; ++I) P.drawEllipse(QPoint(18 + 12 * I, 14), 8, 8);
    return Pix;
}

// Items 0 and 1 carry a flag-like icon; every text starts at x = 30.
class TLanguageItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* P, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
        P->save();
        P->fillRect(Option.rect, Qt::white);
        P->setPen(Qt::black);
        if (Index.row() < 2) {
            QRect R(Option.rect.left() + 2, Option.rect.top() + 2, 16, 10);
            if (Index.row() == 0) {
                P->fillRect(R.adjusted(0, 0, 0, -7), Qt::black);
                P->fillRect(R.adjusted(0, 3, 0, -4), Qt::red);
                P->fillRect(R.adjusted(0, 6, 0, 0), QColor(255, 204, 0));
            } else {
                P->fillRect(R, QColor(0, 36, 125));
                P->fillRect(R.adjusted(6, 0, -6, 0), Qt::white);
                P->fillRect(R.adjusted(0, 3, 0, -3), Qt::white);
                P->fillRect(R.adjusted(7, 0, -7, 0), Qt::red);
                P->fillRect(R.adjusted(0, 4, 0, -4), Qt::red);
            }
        }
        P->drawText(QRect(30, Option.rect.top(), Option.rect.width() - 30, Option.rect.height()),
                    Qt::AlignLeft | Qt::AlignVCenter, Index.data().toString());
        P->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& O, const QModelIndex& I) const override {
        return QSize(QStyledItemDelegate::sizeHint(O, I).width() + 30, 14);
    }
};
} // namespace

// ------------------------------------------------------------------ construction

TfrmMain::TfrmMain(QWidget* Parent) : QMainWindow(Parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Morvanel"));
    Graphic_Icon = DocIcon(QColor(0, 128, 0), QStringLiteral("G"));
    BMP_Icon = DocIcon(QColor(0, 0, 160), QStringLiteral("B"));
    JPG_Icon = DocIcon(QColor(160, 0, 160), QStringLiteral("J"));
    Txt_Icon = DocIcon(QColor(128, 128, 0), QStringLiteral("T"));
    Listing_Icon = DocIcon(QColor(128, 64, 0), QStringLiteral("L"));
    Font_Icon = DocIcon(QColor(160, 0, 0), QStringLiteral("F"));
    SolidStates_Icon = DocIcon(QColor(0, 128, 128), QStringLiteral("3"));
    setWindowIcon(Graphic_Icon);

    auto* Central = new QWidget(this);
    auto* Layout = new QVBoxLayout(Central);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);
    BuildToolBar();
    Layout->addWidget(pnlTop);
    MdiArea = new QMdiArea(Central);
    MdiArea->setObjectName(QStringLiteral("MdiArea"));
    MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Layout->addWidget(MdiArea, 1);
    lblDragDrop = new QLabel(QStringLiteral(">>> DRAG + DROP <<<"), MdiArea->viewport());
    lblDragDrop->setObjectName(QStringLiteral("lblDragDrop"));
    lblDragDrop->setToolTip(QStringLiteral("Dateien in diesen Bereich ziehen und ablegen"));
    lblDragDrop->setStatusTip(lblDragDrop->toolTip());
    lblDragDrop->setFont(QFont(QStringLiteral("ATASCII"), 16));
    lblDragDrop->setStyleSheet(QStringLiteral("color: silver; background: transparent;"));
    lblDragDrop->adjustSize();
    BuildStatusBar();
    Layout->addWidget(StatusBar1);
    setCentralWidget(Central);
    BuildMenus();
    FormCreate();
}

TfrmMain::~TfrmMain() {
    // FormDestroy: no later change of the active window may reach this one.
    if (MdiArea) disconnect(MdiArea, nullptr, this, nullptr);
    qApp->removeEventFilter(this);
    if (frmMain == this) frmMain = nullptr;
}

void TfrmMain::FormCreate() {
    setAcceptDrops(true);
    MdiArea->setAcceptDrops(true);
    MdiArea->viewport()->setAcceptDrops(true);
    MdiArea->viewport()->installEventFilter(this);
    qApp->installEventFilter(this); // hints of every control reach status panel 1
    connect(MdiArea, &QMdiArea::subWindowActivated, this, [this] { UpdateMenuItems(); });
    ProgressBar1->hide();
    StatusBar1->SetPanelText(2, QStringLiteral(" ") + VersionText);
    QPalette Pal = pnlTop->palette();
    Pal.setColor(QPalette::Window, WinColorToQColor(TopPanelColor));
    pnlTop->setPalette(Pal);
    pnlTop->setAutoFillBackground(true);
    imgTEVRA->setPixmap(MakerLogo());
    UpdateMenuItems();
}

QAction* MakeAction(QMenu* Menu, const char* Name, const QString& Caption, const QString& Hint = QString()) {
    auto* A = new QAction(Caption, Menu);
    A->setObjectName(QLatin1String(Name));
    if (!Hint.isEmpty()) {
        A->setToolTip(Hint);
        A->setStatusTip(Hint);
    }
    Menu->addAction(A);
    return A;
}

void TfrmMain::BuildMenus() {
    auto MakeMenu = [this](QWidget* Parent, const char* Name, const QString& Title) {
        auto* M = new QMenu(Title, Parent);
        M->setObjectName(QLatin1String(Name));
        return M;
    };
    MenuFile = MakeMenu(this, "MenuFile", QStringLiteral("&Datei"));
    FileOpenItem = MakeAction(MenuFile, "FileOpenItem", QStringLiteral("Ö&ffnen (Typ automatisch erkennen)"),
                              QStringLiteral("Existierende Datei öffnen"));
    MenuFile->addSeparator();
    OpenAPAC = MakeAction(MenuFile, "OpenAPAC", QStringLiteral("Öffnen APAC"));
    OpenAPAC2 = MakeAction(MenuFile, "OpenAPAC2", QStringLiteral("Öffnen APAC2/Paint 256"));
    OpenPHO = MakeAction(MenuFile, "OpenPHO",
                         QStringLiteral("Öffnen Foto (Photo, Gr. 8, TEVRA-Publisher, Quillorn)"));
    OpenALB = MakeAction(MenuFile, "OpenALB", QStringLiteral("Öffnen Foto-Album (ALB, TEVRA-Publisher)"));
    OpenPIC = MakeAction(MenuFile, "OpenPIC", QStringLiteral("Öffnen GRAPHICS 8 (7680 Byte)"));
    OpenGR9 = MakeAction(MenuFile, "OpenGR9", QStringLiteral("Öffnen GRAPHICS 9 (7680) Byte"));
    OpenKoala = MakeAction(MenuFile, "OpenKoala",
                           QStringLiteral("Öffnen Koala Micro Illustrator, Atari Artist, ..."));
    OpenMIC = MakeAction(MenuFile, "OpenMIC", QStringLiteral("Öffnen Micropainter (7684 Byte)"));
    OpenSolidStates = MakeAction(MenuFile, "OpenSolidStates", QStringLiteral("Öffnen Solid States"));
    OpenTechnicolor = MakeAction(MenuFile, "OpenTechnicolor", QStringLiteral("Öffnen Technicolor"));
    OpenFNT = MakeAction(MenuFile, "OpenFNT", QStringLiteral("Öffnen Font (Create a Font, FNT, 9 Sektoren)"));
    OpenAWR = MakeAction(MenuFile, "OpenAWR", QStringLiteral("Öffnen Text (ATARI Schreiber)"));
    OpenSTT = MakeAction(MenuFile, "OpenSTT", QStringLiteral("Öffnen Text (Startexter)"));
    OpenBASIC_LST = MakeAction(MenuFile, "OpenBASIC_LST", QStringLiteral("Öffnen Listing "));
    MenuFile->addSeparator();
    OpenDoodle = MakeAction(MenuFile, "OpenDoodle", QStringLiteral("Öffnen Doodle (ATARI ST)"));
    OpenDegas = MakeMenu(MenuFile, "OpenDegas", QStringLiteral("Öffnen Degas (ATARI ST)"));
    MenuFile->addMenu(OpenDegas);
    OpenDegasPI1 = MakeAction(OpenDegas, "OpenDegasPI1", QStringLiteral("Lo-Res 320x200 (*.PI1)"));
    OpenDegasPI2 = MakeAction(OpenDegas, "OpenDegasPI2", QStringLiteral("Mid-Res 640x200 (*.PI2)"));
    OpenDegasPI3 = MakeAction(OpenDegas, "OpenDegasPI3", QStringLiteral("Hi-Res 640x400 (*.PI3)"));
    OpenDegas->addSeparator();
    OpenDegasPC1 = MakeAction(OpenDegas, "OpenDegasPC1", QStringLiteral("Lo-Res 320x200 (*.PC1)"));
    OpenDegasPC2 = MakeAction(OpenDegas, "OpenDegasPC2", QStringLiteral("Mid-Res 640x200 (*.PC2)"));
    OpenDegasPC3 = MakeAction(OpenDegas, "OpenDegasPC3", QStringLiteral("Hi-Res 640x400 (*.PC3)"));
    OpenNeochrome = MakeAction(MenuFile, "OpenNeochrome", QStringLiteral("Öffnen Neochrome (ATARI ST)"));
    OpenSTAD = MakeAction(MenuFile, "OpenSTAD", QStringLiteral("Öffnen STAD (ATARI ST)"));
    MenuFile->addSeparator();
    Open2PICs = MakeAction(
        MenuFile, "Open2PICs", QStringLiteral("&Öffnen 2 GR.8- PICs als eine Seite übereinander"),
        QStringLiteral("Zwei PICs als eine Seite (vertikal übereinander: z.B. TEVRA-Publisher) öffnen"));
    Open4PICs = MakeAction(MenuFile, "Open4PICs", QStringLiteral("Öffnen 4 GR.8- PICs als eine Seite (2x2)"),
                           QStringLiteral("Vier PICs als eine Seite öffnen (2x2)"));
    MenuFile->addSeparator();
    FileCloseItem = MakeAction(MenuFile, "FileCloseItem", QStringLiteral("&Schließen"),
                               QStringLiteral("Aktuelle Datei schließen"));
    FileSaveAsItem = MakeAction(MenuFile, "FileSaveAsItem", QStringLiteral("Speichern &unter..."),
                                QStringLiteral("Aktuelle Datei unter neuem Namen speichern"));
    SaveBMP640as4PICs =
        MakeAction(MenuFile, "SaveBMP640as4PICs", QStringLiteral("Speichern BMP 640x384 als 4 GR8-PICs"));
    menuFilePrint = MakeAction(MenuFile, "menuFilePrint", QStringLiteral("Drucken"));
    MenuFile->addSeparator();
    FileExitItem =
        MakeAction(MenuFile, "FileExitItem", QStringLiteral("&Beenden"), QStringLiteral("Anwendung beenden"));

    MenuView = MakeMenu(this, "MenuView", QStringLiteral("&Ansicht"));
    MenuZoomIn = MakeAction(MenuView, "MenuZoomIn", QStringLiteral("Vergrößern 2x"));
    MenuZoomOut = MakeAction(MenuView, "MenuZoomOut", QStringLiteral("Verkleinern 1/2x"));
    MenuView->addSeparator();
    MenuFitSize = MakeAction(MenuView, "MenuFitSize", QStringLiteral("Passend"));
    MenuFitSizeAll = MakeAction(MenuView, "MenuFitSizeAll", QStringLiteral("Alle passend"));
    MenuView->addSeparator();
    MenuInvert = MakeAction(MenuView, "MenuInvert", QStringLiteral("Invertieren"));
    MenuInvertAll = MakeAction(MenuView, "MenuInvertAll", QStringLiteral("Alle invertieren"));

    MenuOptions = MakeMenu(this, "MenuOptions", QStringLiteral("&Optionen"));
    MenuOptionsSettings = MakeAction(MenuOptions, "MenuOptionsSettings", QStringLiteral("&Einstellungen"),
                                     QStringLiteral("Programmeinstellungen"));

    menuProgTools = MakeMenu(this, "menuProgTools", QStringLiteral("&Programmierhilfen"));
    menuFontExplorer = MakeAction(menuProgTools, "menuFontExplorer", QStringLiteral("&Font-Explorer"));
    menuFontEditor = MakeAction(menuProgTools, "menuFontEditor", QStringLiteral("Font-&Editor"));
    menuFontMap = MakeAction(menuProgTools, "menuFontMap", QStringLiteral("Font-&Map"));
    menuATASCIITable = MakeAction(menuProgTools, "menuATASCIITable", QStringLiteral("Font &ATASCII-Tabelle"));
    menuATASCIIEditor = MakeAction(menuProgTools, "menuATASCIIEditor", QStringLiteral("A&TASCII-Editor"));

    MenuWindow = MakeMenu(this, "MenuWindow", QStringLiteral("&Fenster"));
    WindowCascadeItem = MakeAction(MenuWindow, "WindowCascadeItem", QStringLiteral("Ü&berlappend"),
                                   QStringLiteral("Fenster überlappend anordnen"));
    WindowTileItem = MakeAction(MenuWindow, "WindowTileItem", QStringLiteral("&Nebeneinander"),
                                QStringLiteral("Fenster nicht überlappend anordnen"));
    WindowMinimizeItem = MakeAction(MenuWindow, "WindowMinimizeItem", QStringLiteral("&Alle verkleinern"),
                                    QStringLiteral("Alle Fenster verkleinern"));
    WindowArrangeItem =
        MakeAction(MenuWindow, "WindowArrangeItem", QStringLiteral("&Symbole anordnen"),
                   QStringLiteral("Fenstersymbole am unteren Rand des Hauptfensters anordnen"));
    WindowCloseAll = MakeAction(MenuWindow, "WindowCloseAll", QStringLiteral("Alle sch&ließen"),
                                QStringLiteral("Alle Fenster schließen"));
    // The window list below the items, as the MDI frame always showed it.
    connect(MenuWindow, &QMenu::aboutToShow, this, [this] {
        for (QAction* A : MenuWindow->actions())
            if (A->property("windowListEntry").toBool()) MenuWindow->removeAction(A), A->deleteLater();
        const auto Subs = MdiArea->subWindowList();
        if (!Subs.isEmpty()) {
            QAction* Sep = MenuWindow->addSeparator();
            Sep->setProperty("windowListEntry", true);
        }
        int N = 1;
        for (QMdiSubWindow* Sub : Subs) {
            QAction* A =
                MenuWindow->addAction(QStringLiteral("&%1 %2").arg(N++).arg(Sub->windowTitle().trimmed()));
            A->setProperty("windowListEntry", true);
            A->setCheckable(true);
            A->setChecked(Sub == MdiArea->activeSubWindow());
            QPointer<QMdiSubWindow> Target(Sub);
            connect(A, &QAction::triggered, this, [this, Target] {
                if (Target) MdiArea->setActiveSubWindow(Target);
            });
        }
    });

    MenuHelp = MakeMenu(this, "MenuHelp", QStringLiteral("&Hilfe"));
    MenuHelpHelpIndex = MakeAction(MenuHelp, "MenuHelpHelpIndex", QStringLiteral("&Hilfethemen"),
                                   QStringLiteral("Hilfe zu Morvanel"));
    menuHelpShowManual = MakeAction(MenuHelp, "menuHelpShowManual", QStringLiteral("Handbuch"),
                                    QStringLiteral("Benutzerhandbuch anzeigen"));
    MenuHelp->addSeparator();
    MenuHelpAbout =
        MakeAction(MenuHelp, "MenuHelpAbout", QStringLiteral("&Info"), QStringLiteral("Info über Morvanel"));

    for (QMenu* M : {MenuFile, MenuView, MenuOptions, menuProgTools, MenuWindow, MenuHelp})
        menuBar()->addMenu(M);

    auto Wire = [this](QAction* A, void (TfrmMain::*Handler)()) {
        connect(A, &QAction::triggered, this, [this, Handler] { Guarded([&] { (this->*Handler)(); }); });
    };
    Wire(FileCloseItem, &TfrmMain::FileCloseItemClick);
    Wire(FileExitItem, &TfrmMain::FileExitItemClick);
    Wire(WindowCascadeItem, &TfrmMain::WindowCascadeItemClick);
    Wire(WindowTileItem, &TfrmMain::WindowTileItemClick);
    Wire(WindowMinimizeItem, &TfrmMain::WindowMinimizeItemClick);
    Wire(WindowArrangeItem, &TfrmMain::WindowArrangeItemClick);
    Wire(WindowCloseAll, &TfrmMain::WindowCloseAllClick);
    Wire(MenuOptionsSettings, &TfrmMain::btnSettingsClick);
    Wire(MenuHelpAbout, &TfrmMain::MenuHelpAboutClick);
}

void TfrmMain::BuildToolBar() {
    pnlTop = new QWidget(this);
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    auto* Layout = new QHBoxLayout(pnlTop);
    Layout->setContentsMargins(4, 3, 4, 3);
    Layout->setSpacing(3);
    auto MakeButton = [this, Layout](const char* Name, const QString& Caption, const QString& Hint) {
        auto* B = new QToolButton(pnlTop);
        B->setObjectName(QLatin1String(Name));
        B->setText(Caption);
        B->setToolTip(Hint);
        B->setStatusTip(Hint);
        B->setAutoRaise(true);
        B->setStyleSheet(QStringLiteral("QToolButton { color: white; padding: 2px 6px; }"
                                        "QToolButton:disabled { color: #8080a0; }"));
        Layout->addWidget(B);
        return B;
    };
    btnOpen = MakeButton("btnOpen", QStringLiteral("Laden"), QStringLiteral("Datei laden"));
    btnSave = MakeButton("btnSave", QStringLiteral("Speichern"), QStringLiteral("Speichern unter"));
    btnZoomIn = MakeButton("btnZoomIn", QStringLiteral("Zoom In"), QStringLiteral("Vergrößern"));
    btnZoomOut = MakeButton("btnZoomOut", QStringLiteral("Zoom Out"), QStringLiteral("Verkleinern"));
    btnInvert = MakeButton("btnInvert", QStringLiteral("Invertieren"), QStringLiteral("Bild invertieren"));
    btnReport = MakeButton("btnReport", QStringLiteral("Drucken"), QStringLiteral("Drucken"));
    btnSettings =
        MakeButton("btnSettings", QStringLiteral("Optionen"), QStringLiteral("Programmeinstellungen"));
    Button1 = MakeButton("Button1", QStringLiteral("rgb-Test"), QString());
    Button1->setVisible(false);
    btnSaveTranslations =
        MakeButton("btnSaveTranslations", QStringLiteral("writelngscripts (invisible)"), QString());
    btnSaveTranslations->setProperty("Tag", -1);
    btnSaveTranslations->setVisible(false);
    Layout->addStretch(1);
    imgQuarn = new TClickImage(pnlTop);
    imgQuarn->setObjectName(QStringLiteral("imgQuarn"));
    imgQuarn->setPixmap(ClubLogo());
    imgQuarn->setCursor(Qt::PointingHandCursor);
    Layout->addWidget(imgQuarn);
    imgTEVRA = new TClickImage(pnlTop);
    imgTEVRA->setObjectName(QStringLiteral("imgTEVRA"));
    imgTEVRA->setCursor(Qt::PointingHandCursor);
    Layout->addWidget(imgTEVRA);
    connect(imgTEVRA, &TClickImage::Clicked, this, [this] { imgTEVRAClick(); });
    connect(imgQuarn, &TClickImage::Clicked, this, [this] { imgQuarnClick(); });
    connect(btnSettings, &QToolButton::clicked, this, [this] { Guarded([this] { btnSettingsClick(); }); });
}

void TfrmMain::BuildStatusBar() {
    StatusBar1 = new TStatusBar(this, {75, 240, 185, 100});
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ComboLng = new QComboBox(this);
    ComboLng->setObjectName(QStringLiteral("ComboLng"));
    ComboLng->setProperty("Tag", -1);
    ComboLng->setToolTip(QStringLiteral("Sprache umschalten"));
    ComboLng->setStatusTip(ComboLng->toolTip());
    ComboLng->setFixedWidth(114);
    ComboLng->setItemDelegate(new TLanguageItemDelegate(ComboLng));
    ComboLng->addItems({QStringLiteral("German.lng"), QStringLiteral("English.lng")});
    ComboLng->setCurrentIndex(-1);
    connect(ComboLng, &QComboBox::activated, this, [this] { Guarded([this] { ComboLngChange(); }); });
}

// ------------------------------------------------------------------ status and progress

void TfrmMain::StatusMsg(const QString& Text) {
    StatusBar1->SetPanelText(0, Text);
}

void TfrmMain::delmsg() {
    StatusBar1->SetPanelText(0, QString());
}

void TfrmMain::ProgressBar(int Position, int Max) {
    ProgressBar1->setMaximum(std::max(0, Max));
    ProgressBar1->setValue(std::clamp(Position, 0, std::max(0, Max)));
}

void TfrmMain::ShowAppHint(const QString& Hint) {
    StatusBar1->SetPanelText(1, Hint);
}

// ------------------------------------------------------------------ events

void TfrmMain::LayOverStatusBar() {
    // The progress bar lies over panel 1, the language list over panel 3.
    const QPoint Origin = StatusBar1->mapTo(this, QPoint(0, 0));
    QRect R1 = StatusBar1->PanelRect(1).translated(Origin);
    ProgressBar1->setGeometry(R1);
    ProgressBar1->raise();
    QRect R3 = StatusBar1->PanelRect(3).translated(Origin);
    ComboLng->setGeometry(R3.left(), R3.top(), 114, R3.height());
    ComboLng->raise();
}

void TfrmMain::showEvent(QShowEvent* E) {
    QMainWindow::showEvent(E);
    if (FShown) return;
    FShown = true;
    // Run after the window is laid out, so the panels have their places.
    QTimer::singleShot(0, this, [this] { Guarded([this] { FormShow(); }); });
}

void TfrmMain::resizeEvent(QResizeEvent* E) {
    QMainWindow::resizeEvent(E);
    if (FShown) LayOverStatusBar();
    if (lblDragDrop && MdiArea)
        lblDragDrop->move((MdiArea->viewport()->width() - lblDragDrop->width()) / 2,
                          (MdiArea->viewport()->height() - lblDragDrop->height()) / 2);
}

void TfrmMain::FillLanguageList() {
    while (ComboLng->count() > 2) ComboLng->removeItem(2);
    const QStringList Files =
        QDir(LanguageFolder)
            .entryList({QStringLiteral("*.lng"), QStringLiteral("*.LNG")}, QDir::Files, QDir::Name);
    QStringList Seen;
    for (const QString& F : Files) {
        const QString Upper = UpperAscii(F);
        if (Upper == QLatin1String("GERMAN.LNG") || Upper == QLatin1String("ENGLISH.LNG") || Seen.contains(F))
            continue;
        Seen << F;
        ComboLng->addItem(F);
    }
}

void TfrmMain::FormShow() {
    LayOverStatusBar();
    FillLanguageList();
    ComboLng->setCurrentIndex(ComboLng->findText(LngFile, Qt::MatchFixedString));
    ComboLngChange();
    const QStringList Files = CommandLineFiles;
    CommandLineFiles.clear();
    OpenFiles(Files);
}

void TfrmMain::ComboLngChange() {
    const QString Chosen = ComboLng->currentText();
    const QString Previous = LngFile;
    const QString Path = FindFileCaseInsensitive(LanguageFolder, Chosen);
    if (Chosen.isEmpty() || !QFileInfo(Path).isFile()) {
        // A missing language keeps the previous one: the message comes from it.
        LngFile = Previous;
        ShowPlainMsg(Path + QStringLiteral(" ") + GetMsg(QStringLiteral("mNotFound")));
        ComboLng->setCurrentIndex(ComboLng->findText(LngFile, Qt::MatchFixedString));
        return;
    }
    LngFile = Chosen;
    TranslateForm(this, Path);
    if (frmParameter) TranslateForm(frmParameter, Path);
    if (frmAbout) TranslateForm(frmAbout, Path);
    if (fGlobal) TranslateForm(fGlobal, Path);
    for (QWidget* W : DocumentWindows()) TranslateForm(W, Path);
    for (QWidget* W : QApplication::topLevelWidgets())
        if (W->property("freeDocumentWindow").toBool()) TranslateForm(W, Path);
    ComboLng->setCurrentIndex(ComboLng->findText(LngFile, Qt::MatchFixedString));
}

void TfrmMain::UpdateMenuItems() {
    const bool Any = MDIChildCount() > 0;
    for (QAction* A : {FileCloseItem, FileSaveAsItem, SaveBMP640as4PICs, WindowCascadeItem, WindowTileItem,
                       WindowArrangeItem, WindowMinimizeItem, WindowCloseAll})
        A->setEnabled(Any);
    for (QToolButton* B : {btnSave, btnReport, btnZoomIn, btnZoomOut, btnInvert}) B->setEnabled(Any);
}

bool TfrmMain::eventFilter(QObject* Watched, QEvent* E) {
    switch (E->type()) {
    case QEvent::Enter:
        if (auto* W = qobject_cast<QWidget*>(Watched); W && W->window() && W->isVisible())
            ShowAppHint(W->toolTip());
        break;
    case QEvent::ToolTip:
        if (auto* W = qobject_cast<QWidget*>(Watched); W && !W->toolTip().isEmpty()) {
            QToolTip::showText(static_cast<QHelpEvent*>(E)->globalPos(), W->toolTip(), W, QRect(),
                               HintHidePause);
            return true;
        }
        break;
    case QEvent::StatusTip:
        if (qobject_cast<QMenu*>(Watched)) ShowAppHint(static_cast<QStatusTipEvent*>(E)->tip());
        break;
    case QEvent::DragEnter:
        if (Watched == MdiArea->viewport()) {
            dragEnterEvent(static_cast<QDragEnterEvent*>(E));
            return true;
        }
        break;
    case QEvent::Drop:
        if (Watched == MdiArea->viewport()) {
            dropEvent(static_cast<QDropEvent*>(E));
            return true;
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(Watched, E);
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* E) {
    if (E->mimeData()->hasUrls()) E->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* E) {
    QStringList Paths;
    for (const QUrl& Url : E->mimeData()->urls())
        if (Url.isLocalFile()) Paths << Url.toLocalFile();
    E->acceptProposedAction();
    OpenFiles(Paths);
}

void TfrmMain::OpenFiles(const QStringList& Paths) {
    // Every path is made absolute first, so later opens cannot depend on a
    // directory that an earlier one changed.
    QStringList Absolute;
    for (const QString& P : Paths) Absolute << AbsoluteFilePath(P);
    Guarded([&] {
        for (const QString& P : Absolute) {
            openpath = QFileInfo(P).absolutePath() + QLatin1Char('/');
            CreateMDIChild(P);
        }
    });
}

void TfrmMain::closeEvent(QCloseEvent* E) {
    // Every document window may refuse (a font with unsaved changes, say).
    MdiArea->closeAllSubWindows();
    if (!MdiArea->subWindowList().isEmpty()) {
        E->ignore();
        return;
    }
    for (QWidget* W : QApplication::topLevelWidgets())
        if (W->property("freeDocumentWindow").toBool() && W->isVisible() && !W->close()) {
            E->ignore();
            return;
        }
    E->accept();
}

// ------------------------------------------------------------------ documents

QMdiSubWindow* TfrmMain::AddMDIChild(QWidget* Child) {
    Child->setProperty("freeDocumentWindow", false);
    QMdiSubWindow* Sub = MdiArea->addSubWindow(Child);
    Sub->setAttribute(Qt::WA_DeleteOnClose);
    Sub->setWindowIcon(Child->windowIcon());
    connect(Sub, &QObject::destroyed, this,
            [this] { QTimer::singleShot(0, this, [this] { UpdateMenuItems(); }); });
    Sub->show();
    MdiArea->setActiveSubWindow(Sub);
    UpdateMenuItems();
    return Sub;
}

QWidget* TfrmMain::ActiveDocument() const {
    QMdiSubWindow* Sub = MdiArea->activeSubWindow();
    if (!Sub) {
        const auto Subs = MdiArea->subWindowList(QMdiArea::ActivationHistoryOrder);
        if (!Subs.isEmpty()) Sub = Subs.last();
    }
    return Sub ? Sub->widget() : nullptr;
}

QList<QWidget*> TfrmMain::DocumentWindows() const {
    QList<QWidget*> List;
    for (QMdiSubWindow* Sub : MdiArea->subWindowList(QMdiArea::CreationOrder))
        if (Sub->widget()) List << Sub->widget();
    return List;
}

int TfrmMain::MDIChildCount() const {
    return int(MdiArea->subWindowList().size());
}

void TfrmMain::CreateMDIChild(const QString& FileName) {
    const QString Name = DisplayName(FileName);
    StatusMsg(GetMsg(QStringLiteral("mLoadingFile")));
    // No document kind is known yet: every file is refused.
    MessageBeep(32);
    ShowWarningMsg(QStringLiteral("Unbekanntes Dateiformat : ") + Name);
    delmsg();
    ProgressBar1->hide();
}

// ------------------------------------------------------------------ commands

void TfrmMain::OpenUrl(const char* Url) {
    if (!QDesktopServices::openUrl(QUrl(QString::fromLatin1(Url))))
        ShowWarningMsg(GetMsg(QStringLiteral("mErrBrowser")));
}

void TfrmMain::imgTEVRAClick() {
    OpenUrl(MakerWebSite);
}
void TfrmMain::imgQuarnClick() {
    OpenUrl(ClubWebSite);
}

void TfrmMain::FileCloseItemClick() {
    if (QMdiSubWindow* Sub = MdiArea->activeSubWindow()) Sub->close();
}

void TfrmMain::FileExitItemClick() {
    close();
}

void TfrmMain::WindowCascadeItemClick() {
    MdiArea->cascadeSubWindows();
}
void TfrmMain::WindowTileItemClick() {
    MdiArea->tileSubWindows();
}

void TfrmMain::WindowMinimizeItemClick() {
    const auto Subs = MdiArea->subWindowList(QMdiArea::CreationOrder);
    for (auto It = Subs.rbegin(); It != Subs.rend(); ++It) (*It)->showMinimized();
}

void TfrmMain::WindowArrangeItemClick() {
    // Lines the minimized windows up along the bottom edge of the MDI area.
    int X = 0;
    const int Bottom = MdiArea->viewport()->height();
    for (QMdiSubWindow* Sub : MdiArea->subWindowList(QMdiArea::CreationOrder))
        if (Sub->isMinimized()) {
            Sub->move(X, Bottom - Sub->height());
            X += Sub->width();
        }
}

void TfrmMain::WindowCloseAllClick() {
    const auto Subs = MdiArea->subWindowList(QMdiArea::CreationOrder);
    for (auto It = Subs.rbegin(); It != Subs.rend(); ++It) (*It)->close();
}

void TfrmMain::btnSettingsClick() {
    if (!frmParameter) return;
    frmParameter->show();
    frmParameter->raise();
    frmParameter->activateWindow();
}

void TfrmMain::MenuHelpAboutClick() {
    if (frmAbout) frmAbout->exec();
}

// ------------------------------------------------------------------ long-lived windows

void CreateApplicationWindows() {
    frmMain = new TfrmMain;
    fGlobal = new TfGlobal(qApp);
    frmAbout = new TfrmAbout(frmMain);
    frmParameter = new TfrmParameter(frmMain);
    frmYESNOCANCEL = new TfrmYESNOCANCEL(frmMain);
}

void DestroyApplicationWindows() {
    delete frmMain; // owns the dialogs
    frmMain = nullptr;
    frmAbout = nullptr;
    frmParameter = nullptr;
    frmYESNOCANCEL = nullptr;
    delete fGlobal;
    fGlobal = nullptr;
}
