#include "uMain.h"

#include "MdiArrange.h"

#include "FileDialogs.h"
#include "ImageView.h"
#include "ReportOptionsDialog.h"
#include "uChildWinASC2ATASC.h"
#include "uChildWinATASCIITable.h"
#include "uChildWinFont.h"
#include "uChildWinGraphic.h"
#include "uChildWinListing.h"
#include "uChildWinSolidStates.h"
#include "uChildWinText.h"
#include "uDocWindow.h"
#include "uFGlobal.h"
#include "uFrmSolidStatesController.h"
#include "uGlobal.h"
#include "uInfo.h"
#include "uParam.h"
#include "uPictureOpen.h"
#include "uYESNOCANCEL.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCollator>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHash>
#include <QHelpEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QSessionManager>
#include <QStatusTipEvent>
#include <QStyledItemDelegate>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>

TfrmMain* frmMain = nullptr;
quint8 MultiPicOpen = 0;
int MultiPicLayout = 1;
int MultiPicCount = 2;

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
        L->setProperty("Tag", -1); // run-time texts stay out of the language files
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

// The maker's logo: drawn here, no picture file needed; as wide as its name.
QPixmap MakerLogo() {
    QFont F(QStringLiteral("DejaVu Sans"));
    F.setPixelSize(16);
    F.setBold(true);
    const QString Name = QStringLiteral("TEVRA");
    QPixmap Pix(QFontMetrics(F).horizontalAdvance(Name) + 8, 28);
    Pix.fill(QColor(0x01, 0x4E, 0x9D));
    QPainter P(&Pix);
    P.setPen(QColor(255, 210, 0));
    P.setFont(F);
    P.drawText(Pix.rect(), Qt::AlignCenter, Name);
    return Pix;
}

QPixmap ClubLogo() {
    QPixmap Pix(42, 28);
    Pix.fill(QColor(0x01, 0x4E, 0x9D));
    QPainter P(&Pix);
    P.setRenderHint(QPainter::Antialiasing);
    P.setPen(QPen(QColor(220, 220, 220), 2));
    for (int I = 0; I < 3; ++I) P.drawEllipse(QPoint(9 + 12 * I, 14), 7, 7);
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
    SetMainWindow(this);
    // The report layer's output dialog speaks the current language and browses
    // from the last folder.
    SetReportOptionsSetup([](TfrmReportOptions& Dialog) {
        TranslateForm(&Dialog, CurrentLanguageFile());
        Dialog.BrowseFolder = openpath;
    });
    SetReportPreviewSetup([](QDialog& Preview) { TranslateForm(&Preview, CurrentLanguageFile()); });
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
    QVBoxLayout* Layout = NewColumnLayout(Central);
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
    FNormalPlacement = new TNormalPlacement(this);
    FormCreate();
}

TfrmMain::~TfrmMain() {
    // FormDestroy: no later change of the active window may reach this one.
    if (MdiArea) disconnect(MdiArea, nullptr, this, nullptr);
    qApp->removeEventFilter(this);
    if (frmMain == this) frmMain = nullptr;
    if (MainWindow() == this) SetMainWindow(nullptr);
}

void TfrmMain::FormCreate() {
    setAcceptDrops(true);
    MdiArea->setAcceptDrops(true);
    MdiArea->viewport()->setAcceptDrops(true);
    MdiArea->viewport()->installEventFilter(this);
    qApp->installEventFilter(this); // hints of every control reach status panel 1
    connect(MdiArea, &QMdiArea::subWindowActivated, this, [this] { UpdateMenuItems(); });
    // The end of a desktop session asks as Datei > Beenden does; a refusal cancels it.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& Manager) {
        if (isVisible() && Manager.allowsInteraction() && !close()) Manager.cancel();
    });
    ProgressBar1->hide();
    StatusBar1->SetPanelText(2, QStringLiteral(" ") + VersionText);
    SetFormColour(pnlTop, TopPanelColor);
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
        ConnectGuarded(A, &QAction::triggered, this, Handler);
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
    Wire(MenuHelpHelpIndex, &TfrmMain::MenuHelpHelpIndexClick);
    Wire(menuHelpShowManual, &TfrmMain::menuHelpShowManualClick);
    Wire(FileSaveAsItem, &TfrmMain::btnSaveClick);
    Wire(Open2PICs, &TfrmMain::Open2PICsClick);
    Wire(menuFontMap, &TfrmMain::menuFontMapClick);
    Wire(menuATASCIITable, &TfrmMain::menuATASCIITableClick);
    Wire(menuATASCIIEditor, &TfrmMain::menuATASCIIEditorClick);
    for (QAction* A : {menuFontExplorer, menuFontEditor})
        connect(A, &QAction::triggered, this, [this, A] { Guarded([&] { menuFontExplorerClick(A); }); });
    Wire(Open4PICs, &TfrmMain::Open4PICsClick);
    for (QAction* A :
         {FileOpenItem, OpenAPAC,     OpenAPAC2,     OpenPHO,         OpenALB,         OpenPIC,
          OpenGR9,      OpenKoala,    OpenMIC,       OpenSolidStates, OpenTechnicolor, OpenFNT,
          OpenAWR,      OpenSTT,      OpenBASIC_LST, OpenDoodle,      OpenDegasPI1,    OpenDegasPI2,
          OpenDegasPI3, OpenDegasPC1, OpenDegasPC2,  OpenDegasPC3,    OpenNeochrome,   OpenSTAD})
        connect(A, &QAction::triggered, this, [this, A] { Guarded([&] { FileOpenItemClick(A); }); });
    Wire(SaveBMP640as4PICs, &TfrmMain::SaveBMP640as4PICsClick);
    Wire(menuFilePrint, &TfrmMain::menuFilePrintClick);
    Wire(MenuZoomIn, &TfrmMain::btnZoomInClick);
    Wire(MenuZoomOut, &TfrmMain::btnZoomOutClick);
    Wire(MenuFitSize, &TfrmMain::MenuFitSizeClick);
    Wire(MenuFitSizeAll, &TfrmMain::MenuFitSizeAllClick);
    Wire(MenuInvert, &TfrmMain::btnInvertClick);
    Wire(MenuInvertAll, &TfrmMain::AlleInvertieren);
}

void TfrmMain::BuildToolBar() {
    pnlTop = new QWidget(this);
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    pnlTop->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* Row = new QHBoxLayout(pnlTop);
    Row->setContentsMargins(4, 3, 4, 3);
    Row->setSpacing(3);
    // The stored window size wins: a narrow window cuts the tool bar at its right
    // edge, and nothing is squeezed over anything else.
    QHBoxLayout* Layout = NewClippedRow(Row);
    auto MakeButton = [this, Layout](const char* Name, const QString& Caption, const QString& Hint) {
        QToolButton* B = NewPanelButton(pnlTop, Name, Caption, Hint);
        // The style's own margins keep the captions apart; at 625 pixels every
        // caption and both logos fit, in German too.
        B->setStyleSheet(QStringLiteral("QToolButton { color: white; padding: 2px 0px; }"
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
    auto Click = [this](QToolButton* B, void (TfrmMain::*Handler)()) {
        ConnectGuarded(B, &QToolButton::clicked, this, Handler);
    };
    Click(btnSettings, &TfrmMain::btnSettingsClick);
    Click(Button1, &TfrmMain::Button1Click);
    Click(btnSaveTranslations, &TfrmMain::btnSaveTranslationsClick);
    connect(btnOpen, &QToolButton::clicked, this,
            [this] { Guarded([this] { FileOpenItemClick(btnOpen); }); });
    Click(btnSave, &TfrmMain::btnSaveClick);
    Click(btnZoomIn, &TfrmMain::btnZoomInClick);
    Click(btnZoomOut, &TfrmMain::btnZoomOutClick);
    Click(btnInvert, &TfrmMain::btnInvertClick);
    Click(btnReport, &TfrmMain::btnReportClick);
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

void TfrmMain::ShowProgressBar(bool Visible) {
    ProgressBar1->setVisible(Visible);
}

QIcon TfrmMain::DocumentIcon(TDocIcon Kind) const {
    switch (Kind) {
    case TDocIcon::Graphic:
        return Graphic_Icon;
    case TDocIcon::BMP:
        return BMP_Icon;
    case TDocIcon::JPG:
        return JPG_Icon;
    case TDocIcon::Txt:
        return Txt_Icon;
    case TDocIcon::Listing:
        return Listing_Icon;
    case TDocIcon::Font:
        return Font_Icon;
    case TDocIcon::SolidStates:
        return SolidStates_Icon;
    }
    return {};
}

int TfrmMain::TopPanelHeight() const {
    return pnlTop ? pnlTop->height() : 0;
}

int TfrmMain::StatusBarHeight() const {
    return StatusBar1 ? StatusBar1->height() : 0;
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
}

// A window manager frames a maximised window differently (no border, say), and
// normalGeometry() gives only the client corner: the frame corner of the normal
// state is kept as it is seen.
QRect TfrmMain::NormalPlacement() const {
    return FNormalPlacement->Placement();
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
    // A language file named in the settings that is gone is reported once, and the
    // program goes on in German.
    CheckLanguageFile();
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
    LoadQtTranslation(Chosen);
    TranslateForm(this, Path);
    if (frmParameter) TranslateForm(frmParameter, Path);
    if (frmAbout) TranslateForm(frmAbout, Path);
    if (fGlobal) TranslateForm(fGlobal, Path);
    for (QWidget* W : DocumentWindows()) TranslateForm(W, Path);
    if (frmSolidStatesController) TranslateForm(frmSolidStatesController, Path);
    for (QWidget* W : FreeDocumentWindows()) TranslateForm(W, Path);
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
    case QEvent::Resize:
        if (Watched == MdiArea->viewport())
            lblDragDrop->move((MdiArea->viewport()->width() - lblDragDrop->width()) / 2,
                              (MdiArea->viewport()->height() - lblDragDrop->height()) / 2);
        break;
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
        // An item's hint goes to its menu, or to the menu bar when the bar opened the menu.
        if (qobject_cast<QMenu*>(Watched) || qobject_cast<QMenuBar*>(Watched))
            ShowAppHint(static_cast<QStatusTipEvent*>(E)->tip());
        break;
    case QEvent::Quit:
        // A quit from the desktop or the session closes the main window's way: every
        // document window is asked before any closes, and a refusal keeps the program.
        if (Watched == qApp && isVisible() && !close()) {
            E->ignore();
            return true;
        }
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

namespace {
// Windows may go while a question is open: only the live ones count.
QList<QPointer<QWidget>> Tracked(const QList<QWidget*>& Windows) {
    return QList<QPointer<QWidget>>(Windows.begin(), Windows.end());
}
} // namespace

bool TfrmMain::DocumentsMayClose() {
    const auto Docs = Tracked(DocumentWindows() + FreeDocumentWindows());
    for (auto It = Docs.rbegin(); It != Docs.rend(); ++It)
        if (auto* F = qobject_cast<TChildWinFont*>(It->data())) {
            bool MayClose = false;
            Guarded([&] { MayClose = F->FormCloseQuery(); });
            if (!MayClose) return false;
        } else if (auto* E = qobject_cast<TChildWinASC2ATASC*>(It->data())) {
            bool MayClose = false;
            Guarded([&] { MayClose = E->FormCloseQuery(); });
            if (!MayClose) return false;
        }
    // No other window refuses. The 3D window's query only stops its rotation: that
    // runs when it really closes, so a refused quit leaves it turning.
    return true;
}

void TfrmMain::closeEvent(QCloseEvent* E) {
    // Every document window is asked before any closes: one refusal (a font with
    // unsaved changes, say) keeps them all open with their contents.
    if (!DocumentsMayClose()) {
        E->ignore();
        return;
    }
    bool AllClosed = true;
    const auto Docs = Tracked(DocumentWindows() + FreeDocumentWindows());
    for (auto It = Docs.rbegin(); It != Docs.rend(); ++It)
        if (*It && !CloseAgreed(*It)) AllClosed = false;
    E->setAccepted(AllClosed);
}

// ------------------------------------------------------------------ documents

namespace {
// A new window has its size only once it is filled: its cascade step is checked
// again then, so that it lies above the icons where it fits.
void SettlePlacement(QWidget* Child) {
    auto* Sub = Child ? qobject_cast<QMdiSubWindow*>(Child->parentWidget()) : nullptr;
    if (Sub && Sub->mdiArea()) PlaceAtCascadeStep(Sub->mdiArea(), Sub);
}
} // namespace

QMdiSubWindow* TfrmMain::AddMDIChild(QWidget* Child) {
    Child->setProperty("freeDocumentWindow", false);
    QMdiSubWindow* Sub = MdiArea->addSubWindow(Child);
    Sub->setAttribute(Qt::WA_DeleteOnClose);
    Sub->setWindowIcon(Child->windowIcon());
    // Windows set their icon while they load, after the frame exists.
    connect(Child, &QWidget::windowIconChanged, Sub, &QWidget::setWindowIcon);
    connect(Sub, &QObject::destroyed, this,
            [this] { QTimer::singleShot(0, this, [this] { UpdateMenuItems(); }); });
    Sub->show();
    PlaceAtCascadeStep(MdiArea, Sub);
    MdiArea->setActiveSubWindow(Sub);
    UpdateMenuItems();
    return Sub;
}

QList<QWidget*> TfrmMain::ExportedDocumentWindows() const {
    QList<QWidget*> List;
    for (QWidget* W :
         {static_cast<QWidget*>(ChildWinATASCIITable.data()), static_cast<QWidget*>(ChildWinListing.data()),
          static_cast<QWidget*>(ChildWinFont.data()), static_cast<QWidget*>(ChildWinText.data()),
          static_cast<QWidget*>(ChildWinGraphic.data()), static_cast<QWidget*>(ChildWinASC2ATASC.data()),
          static_cast<QWidget*>(ChildWinSolidStates.data()), static_cast<QWidget*>(frmSolidStatesController)})
        if (W) List << W;
    return List;
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

QList<QWidget*> TfrmMain::FreeDocumentWindows() const {
    QList<QWidget*> List;
    for (QWidget* W : QApplication::topLevelWidgets())
        if (W->property("freeDocumentWindow").toBool() && W->isVisible()) List << W;
    return List;
}

int TfrmMain::MDIChildCount() const {
    return int(MdiArea->subWindowList().size());
}

void TfrmMain::CreateMDIChild(const QString& FileName) {
    // A name whose bytes were lost in decoding cannot be opened; say so rather than
    // report the file missing.
    if (IsLossyFileName(FileName))
        throw EInOutError(ioPathNotFound,
                          GetMsg(QStringLiteral("mNameNotUTF8")) + QLatin1Char(' ') + FileName);
    const QString Name = DisplayName(FileName);
    // The identification object lives for this call only, whatever happens.
    TAtariGraphic Ident;
    Ident.IdentifyFileType(FileName, Name);
    Ident.SetFormatInfo();
    const QString Ext = ExtractFileExtUpper(Name);
    StatusMsg(GetMsg(QStringLiteral("mLoadingFile")));
    static const QStringList ListingExts = {".LST", ".ACT", ".P", ".PAS", ".I", ".SRC"};
    QPointer<QWidget> Created;
    const QString& Type = Ident.PicInfo.FileType;
    if (ListingExts.contains(Ext)) {
        auto* Win = new TChildWinListing;
        ChildWinListing = Win;
        Created = Win;
        AddMDIChild(Win);
        Win->OpenDocument(FileName, Name);
    } else if (Ext == QLatin1String(".TXT")) {
        auto* Win = new TChildWinText;
        ChildWinText = Win;
        Created = Win;
        AddMDIChild(Win);
        Win->OpenDocument(FileName, Name);
    } else if (Type == QLatin1String("FNT")) {
        auto* Win = new TChildWinFont;
        ChildWinFont = Win;
        Created = Win;
        Win->setWindowIcon(Font_Icon);
        AddMDIChild(Win);
        Win->OpenDocument(FileName, Name);
    } else if (Type == QLatin1String("SOLIDSTATES")) {
        auto* Win = new TChildWinSolidStates;
        ChildWinSolidStates = Win;
        Created = Win;
        AddMDIChild(Win);
        Win->OpenDocument(FileName, Name, Ident.PicInfo);
    } else if (IsPictureType(Type)) {
        Created = OpenPictureWindow(FileName, Name, Ident.PicInfo);
    } else {
        MessageBeep(32);
        ShowWarningMsg(QStringLiteral("Unbekanntes Dateiformat : ") + Name);
    }
    delmsg();
    ProgressBar1->hide();
    if (Created) {
        TranslateForm(Created, CurrentLanguageFile());
        SettlePlacement(Created);
        // What a text could not show is told once its window speaks the user's language.
        if (auto* Text = qobject_cast<TChildWinText*>(Created.data())) Text->ShowOpenNotices();
        if (auto* List = qobject_cast<TChildWinListing*>(Created.data())) List->ShowOpenNotices();
    }
}

TChildWinGraphic* TfrmMain::OpenPictureWindow(const QString& FileName, const QString& Name,
                                              const TPicInfo& Info) {
    const QString& Type = Info.FileType;
    // Bitmaps and JPEG files are decoded before the window exists: a refused or
    // broken file leaves an error and no empty window. So does a file too short.
    CheckPictureHead(Info, FileName);
    TPictureOpenOptions Options;
    if (IsDecodedPictureType(Type)) Options.Decoded = LoadDecodedPicture(FileName, Name, Type);
    auto* Win = new TChildWinGraphic;
    ChildWinGraphic = Win;
    Win->setWindowIcon(Type == QLatin1String("BMP")   ? BMP_Icon
                       : Type == QLatin1String("JPG") ? JPG_Icon
                                                      : Graphic_Icon);
    Win->setWindowTitle(QStringLiteral(" ") + Name);
    TAtariGraphic& G = *Win->AtariGraphic;
    TAtariSTGraphic& ST = *Win->AtariSTGraphic;
    G.PicInfo = Info;
    G.PicInfo.FileName = Name.left(255);
    // The split and every save go beside the real file, whatever its kind.
    Win->SourceFileName = FileName;
    AddMDIChild(Win);
    ImageView& Img = *Win->ImgGraphic;
    Options.PhoFormat = phoformat;
    std::copy(std::begin(CurrentColors), std::end(CurrentColors), Options.Colors.begin());
    if (MultiPicOpen == 1 && MultiPicCount == 2 && (MultiPicLayout == 1 || MultiPicLayout == 2))
        Options.JoinedLayout = MultiPicLayout;
    Options.Progress = [this](int Pos, int Max) { ProgressBar(Pos, Max); };
    TPictureCanvas Canvas;
    Canvas.NewPicture = [&](int W, int H, QSize Shown) -> QImage& {
        Img.NewPicture(W, H, 0);
        if (Shown.isValid()) Img.SetBaseSize(Shown);
        Win->FitWindow();
        return Img.Picture;
    };
    Canvas.SetPicture = [&](const QImage& Picture) {
        Img.SetPicture(Picture);
        Win->FitWindow();
    };
    OpenPictureFile(FileName, Name, G, ST, Options, Canvas);
    Img.Changed();
    // Fitted again with the values the info panel shows now.
    Win->FitWindow();
    return Win;
}

// ------------------------------------------------------------------ commands

void TfrmMain::OpenUrl(const char* Url) {
    if (!ShellOpen(QString::fromLatin1(Url))) ShowWarningMsg(GetMsg(QStringLiteral("mErrBrowser")));
}

// A help page or manual: a file that is not there is named, as the desktop would only
// say that it cannot open it; a desktop that cannot be asked gets the browser warning.
static void OpenHelpFile(const QString& Path) {
    if (!QFileInfo(Path).isFile()) {
        ShowWarningMsg(GetMsg(QStringLiteral("mHelpFileNotFound")) + QLatin1Char('\n') + Path);
        return;
    }
    if (!ShellOpen(Path)) ShowWarningMsg(GetMsg(QStringLiteral("mErrBrowser")));
}

void TfrmMain::MenuHelpHelpIndexClick() {
    // One start page per language: context 10 German, context 0 English.
    const QString Upper = UpperAscii(LngFile);
    int Context = -1;
    if (Upper == QLatin1String("GERMAN.LNG"))
        Context = 10;
    else if (Upper == QLatin1String("ENGLISH.LNG"))
        Context = 0;
    if (Context < 0) return;
    const QString Page = FindFileCaseInsensitive(ProgramFolder + QStringLiteral("help"),
                                                 QStringLiteral("context%1.html").arg(Context));
    OpenHelpFile(Page);
}

void TfrmMain::menuHelpShowManualClick() {
    const QString Manual = FindFileCaseInsensitive(
        ManualsFolder, QStringLiteral("Morvanel_") + NameBeforeDot(LngFile) + QStringLiteral(".PDF"));
    OpenHelpFile(Manual);
}

void TfrmMain::btnSaveTranslationsClick() {
    QStringList Lines;
    WriteFormTranslation(this, Lines);
    if (frmParameter) WriteFormTranslation(frmParameter, Lines);
    if (frmAbout) WriteFormTranslation(frmAbout, Lines);
    if (fGlobal) WriteFormTranslation(fGlobal, Lines);
    // Only windows that are still open: the references of closed ones are null.
    for (QWidget* W : ExportedDocumentWindows()) WriteFormTranslation(W, Lines);
    WriteWholeFile(LanguageFolder + QStringLiteral("all_translations.lng"),
                   (Lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
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
    Cascade(MdiArea);
}
void TfrmMain::WindowTileItemClick() {
    TileHorizontally(MdiArea);
}

void TfrmMain::WindowMinimizeItemClick() {
    const auto Subs = MdiArea->subWindowList(QMdiArea::CreationOrder);
    for (auto It = Subs.rbegin(); It != Subs.rend(); ++It) (*It)->showMinimized();
}

void TfrmMain::WindowArrangeItemClick() {
    ArrangeIcons(MdiArea);
}

void TfrmMain::WindowCloseAllClick() {
    const auto Subs = MdiArea->subWindowList(QMdiArea::CreationOrder);
    for (auto It = Subs.rbegin(); It != Subs.rend(); ++It) (*It)->close();
}

// Each command tests the active window's kind in its own fixed order, remembers
// the window in the reference of that kind and calls the kind's own operation.
template <class T> T* TfrmMain::Take(QPointer<T>& Reference, QWidget* Window) {
    auto* W = qobject_cast<T*>(Window);
    if (W) Reference = W;
    return W;
}

void TfrmMain::btnSaveClick() {
    QWidget* W = ActiveDocument();
    if (auto* G = Take(ChildWinGraphic, W))
        G->FileSaveAs();
    else if (auto* T = Take(ChildWinText, W))
        T->FileSaveAsItemClick();
    else if (auto* L = Take(ChildWinListing, W))
        L->SaveToFile();
    else if (auto* F = Take(ChildWinFont, W))
        F->SaveToFile();
    else if (auto* A = Take(ChildWinATASCIITable, W))
        A->SaveToFile();
    else if (auto* E = qobject_cast<TChildWinASC2ATASC*>(W))
        E->SaveTextFile();
}

void TfrmMain::MenuFitSizeClick() {
    QWidget* W = ActiveDocument();
    if (auto* G = Take(ChildWinGraphic, W))
        G->FitWindow();
    else if (auto* F = Take(ChildWinFont, W))
        F->FitWindow();
    else if (auto* A = Take(ChildWinATASCIITable, W))
        A->FitWindow();
    else if (auto* L = Take(ChildWinListing, W))
        L->FitWindow();
    else if (auto* T = Take(ChildWinText, W))
        T->FitWindow();
    else if (auto* S = qobject_cast<TChildWinSolidStates*>(W))
        S->FitWindow();
}

template <class Op> void TfrmMain::ZoomActive(Op Zoom) {
    QWidget* W = ActiveDocument();
    if (auto* G = Take(ChildWinGraphic, W))
        Zoom(G);
    else if (auto* T = Take(ChildWinText, W))
        Zoom(T);
    else if (auto* F = Take(ChildWinFont, W))
        Zoom(F);
    else if (auto* A = Take(ChildWinATASCIITable, W))
        Zoom(A);
    else if (auto* L = Take(ChildWinListing, W))
        Zoom(L);
    else if (auto* E = qobject_cast<TChildWinASC2ATASC*>(W))
        Zoom(E);
    else if (auto* S = qobject_cast<TChildWinSolidStates*>(W))
        Zoom(S);
}

void TfrmMain::btnZoomInClick() {
    ZoomActive([](auto* W) { W->ZoomIn(); });
}

void TfrmMain::btnZoomOutClick() {
    ZoomActive([](auto* W) { W->ZoomOut(); });
}

static void InvertView(ImageView* View) {
    InvertImage(View->Picture);
    View->Changed();
}

void TfrmMain::btnInvertClick() {
    QWidget* W = ActiveDocument();
    if (auto* G = Take(ChildWinGraphic, W))
        InvertView(G->ImgGraphic);
    else if (auto* F = Take(ChildWinFont, W))
        InvertView(F->imgFont);
    else if (auto* A = Take(ChildWinATASCIITable, W))
        InvertView(A->imgATASCIITable);
    else if (auto* L = Take(ChildWinListing, W))
        InvertView(L->imgListing);
    else if (auto* T = Take(ChildWinText, W))
        InvertView(T->imgText);
    else if (auto* E = qobject_cast<TChildWinASC2ATASC*>(W))
        InvertView(E->imgText);
    else if (auto* S = qobject_cast<TChildWinSolidStates*>(W))
        InvertView(S->imgGraphic);
}

void TfrmMain::btnReportClick() {
    QWidget* W = ActiveDocument();
    if (auto* L = Take(ChildWinListing, W))
        L->PrintReport();
    else if (auto* G = Take(ChildWinGraphic, W))
        G->PrintReport();
    else if (auto* F = Take(ChildWinFont, W))
        F->PrintReport();
    else if (auto* T = Take(ChildWinText, W))
        T->PrintReport();
    else if (auto* A = Take(ChildWinATASCIITable, W))
        A->PrintReport();
    else if (auto* S = Take(ChildWinSolidStates, W))
        S->PrintReport();
    else if (auto* E = Take(ChildWinASC2ATASC, W))
        E->PrintReport();
}

void TfrmMain::MenuFitSizeAllClick() {
    const QList<QWidget*> Docs = DocumentWindows();
    for (auto It = Docs.rbegin(); It != Docs.rend(); ++It) {
        if (auto* G = Take(ChildWinGraphic, *It)) {
            G->FitWindow();
            G->FitWindow();
        } else if (auto* F = Take(ChildWinFont, *It)) {
            F->FitWindow();
        } else if (auto* L = Take(ChildWinListing, *It)) {
            L->FitWindow();
        } else if (auto* T = Take(ChildWinText, *It)) {
            T->FitWindow();
        } else if (auto* S = Take(ChildWinSolidStates, *It)) {
            S->FitWindow();
        }
    }
}

void TfrmMain::AlleInvertieren() {
    const QList<QWidget*> Docs = DocumentWindows();
    for (auto It = Docs.rbegin(); It != Docs.rend(); ++It) {
        if (auto* G = Take(ChildWinGraphic, *It))
            InvertView(G->ImgGraphic);
        else if (auto* F = Take(ChildWinFont, *It))
            InvertView(F->imgFont);
    }
}

void TfrmMain::SaveBMP640as4PICsClick() {
    if (auto* G = Take(ChildWinGraphic, ActiveDocument())) G->SaveBMP640x384As4PICs();
}

// ------------------------------------------------------------------ tools menu

void TfrmMain::menuFontExplorerClick(QObject* Sender) {
    auto* Win = new TChildWinFont;
    ChildWinFont = Win;
    Win->setWindowIcon(Font_Icon);
    AddMDIChild(Win);
    Win->OpenBuiltinFont(Sender == menuFontEditor);
    TranslateForm(Win, CurrentLanguageFile());
    SettlePlacement(Win);
}

// The font of the active font window, or else the built-in one.
TChildWinFont* TfrmMain::ActiveFontWindow() {
    return Take(ChildWinFont, ActiveDocument());
}

void TfrmMain::menuATASCIITableClick() {
    TChildWinFont* F = ActiveFontWindow();
    ChildWinATASCIITable =
        F ? TChildWinATASCIITable::CreateTable(*F->AtariFont, false) : TChildWinATASCIITable::CreateTable();
    SettlePlacement(ChildWinATASCIITable);
}

void TfrmMain::menuFontMapClick() {
    TChildWinFont* F = ActiveFontWindow();
    ChildWinATASCIITable =
        F ? TChildWinATASCIITable::CreateFontMap(*F->AtariFont) : TChildWinATASCIITable::CreateFontMap();
    SettlePlacement(ChildWinATASCIITable);
}

void TfrmMain::menuATASCIIEditorClick() {
    auto* Win = new TChildWinASC2ATASC;
    ChildWinASC2ATASC = Win;
    Win->setWindowTitle(QStringLiteral("Editor ASCII->ATASCII"));
    Win->setWindowIcon(Font_Icon);
    AddMDIChild(Win);
    TranslateForm(Win, CurrentLanguageFile());
    SettlePlacement(Win);
}

namespace {
const char* const AllTypesFilter =
    "Alle (*.*)|*.*|Koala Micro-Illustrator|*.PIC;*.KOA;*.BLD|Graphics 8|*.GR8;*.PIC;*.BLD|Graphics 9|*.GR9|"
    "APAC|*.APC|APAC2/Paint 256|*.AP2;*.256|Technicolor|*.LUM|TEVRA-Publisher, Quillorn Photo|*.PHO|"
    "TEVRA-Publisher Album|*.ALB|Micropainter|*.MIC|Solid States|*.3D|Font (Create a Font)|*.FNT|"
    "Text (ATASCII or from word processors)|*.TXT|ATARI BASIC / TURBO BASIC (LIST saved BASIC)|*.LST|"
    "Action!|*.ACT|Kyan Pascal|*.PAS;*.P;*.I|ATMAS II|*.SRC|JPG|*.JPG|Bitmap|*.BMP|Doodle (ATARI ST)|*.DOO|"
    "Degas (ATARI ST)|*.PI1;*.PI2;*.PI3|Degas (ATARI ST)|*.PC1;*.PC2;*.PC3|Neochrome (ATARI ST)|*.NEO|"
    "STAD (ATARI ST)|*.PAC";
const char* const LayoutFilter =
    "BMP, PIC, BLD, MIC, PHO, FNT, TXT|*.BMP; *.PIC; *.BLD; *.MIC;*.PHO; *.FNT; *.TXT|Alle Dateien (*.*)|*.*|"
    "BMP (Windows Bitmap)|*.BMP|PIC, BLD (Gr. 8)|*.PIC; *.BLD|PHO (TEVRA-Publ., Quillorn)|*.PHO|"
    "MIC (Micropainter, Gr. 15)|*.MIC|FNT (Create a Font)|*.FNT|TXT (ATASCII)|*.TXT|LST (BASIC LISTed)|*.LST|"
    "SRC (ATMAS II)|*.SRC|3D (Solid States)|*.3D";

// Resets the joined-page flag and the forced text dialect however a command ends.
struct TOpenCommandGuard {
    ~TOpenCommandGuard() {
        MultiPicOpen = 0;
        TextMode = -1;
    }
};
} // namespace

void TfrmMain::FileOpenItemClick(QObject* Sender) {
    TOpenCommandGuard Guard;
    MultiPicOpen = 0;
    TextMode = -1;
    static const QHash<QString, const char*> Filters = {
        {"OpenPIC", "PIC,BLD,GR8|*.GR8;*.PIC;*.BLD|GR8,PIC,BLD (Graphics 8)|*.GR8;*.PIC;*.BLD"},
        {"OpenGR9", "GR9|*.GR9|GR9 (Graphics 9)|*.GR9"},
        {"OpenAPAC", "APC|*.APC|APAC|*.APC"},
        {"OpenAPAC2", "APAC2/Paint 256|*.AP2;*.256"},
        {"OpenTechnicolor", "Technicolor|*.LUM"},
        {"OpenSolidStates", "Solid States|*.3D;*.SOL"},
        {"OpenKoala", "Koala Micro-Illustrator, Atari Artist|*.PIC;*.KOA;*.BLD|"},
        {"OpenMIC", "Micropainter|*.MIC"},
        {"OpenPHO", "TEVRA-Publ., Quillorn photo|*.PHO"},
        {"OpenALB", "TEVRA-Publisher Album|*.ALB"},
        {"OpenDoodle", "Doodle (ATARI ST)|*.DOO"},
        {"OpenNeochrome", "Neochrome (ATARI ST)|*.NEO"},
        {"OpenSTAD", "STAD (ATARI ST)|*.PAC"},
        {"OpenDegasPI1", "Degas Lo-Res (ATARI ST)|*.PI1"},
        {"OpenDegasPI2", "Degas Lo-Res (ATARI ST)|*.PI2"},
        {"OpenDegasPI3", "Degas Lo-Res (ATARI ST)|*.PI3"},
        {"OpenDegasPC1", "Degas Lo-Res (ATARI ST)|*.PC1"},
        {"OpenDegasPC2", "Degas Lo-Res (ATARI ST)|*.PC2"},
        {"OpenDegasPC3", "Degas Lo-Res (ATARI ST)|*.PC3"},
        {"OpenFNT", "Font (Create a Font)|*.FNT"},
        {"OpenAWR", "Text: Atari Schreiber|*.TXT"},
        {"OpenSTT", "Text: Startexter|*.TXT"},
        {"OpenBASIC_LST", "Alle|*.*|Atari BASIC/TURBO-BASIC (LISTed)|*.LST|Action!|*.ACT|Kyan "
                          "Pascal|*.I;*.P;*.PAS|ATMAS II|*.SRC"}};
    const QString Name = Sender ? Sender->objectName() : QString();
    OpenDialogFilter = QString::fromUtf8(Filters.value(Name, AllTypesFilter));
    if (Name == QLatin1String("OpenAWR")) TextMode = 1;
    if (Name == QLatin1String("OpenSTT")) TextMode = 2;
    TFileDialogRequest Request;
    Request.MultiSelect = true;
    Request.Filter = OpenDialogFilter;
    Request.InitialDir = openpath;
    QStringList Files;
    if (!ExecuteFileDialog(this, Request, Files)) return;
    openpath = QFileInfo(Files.first()).absolutePath() + QLatin1Char('/');
    for (const QString& F : Files) CreateMDIChild(AbsoluteFilePath(F));
}

void TfrmMain::OpenJoinedPage(int Count) {
    TOpenCommandGuard Guard;
    MultiPicOpen = 1;
    TFileDialogRequest Request;
    Request.MultiSelect = true;
    Request.Filter = OpenDialogFilter.isEmpty() ? QString::fromUtf8(LayoutFilter) : OpenDialogFilter;
    Request.InitialDir = openpath;
    QStringList Files;
    if (!ExecuteFileDialog(this, Request, Files)) return;
    openpath = QFileInfo(Files.first()).absolutePath() + QLatin1Char('/');
    if (Files.size() != Count) {
        ShowWarningMsg(GetMsg(Count == 2 ? QStringLiteral("mCh2PIC") : QStringLiteral("mCh4PIC")));
        return;
    }
    MultiPicLayout = Count == 2 ? 1 : 2;
    MultiPicCount = 2;
    QStringList Sorted;
    for (const QString& F : Files) Sorted << AbsoluteFilePath(F);
    QCollator Collator;
    Collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(Sorted.begin(), Sorted.end(),
              [&](const QString& A, const QString& B) { return Collator.compare(A, B) < 0; });
    // Page order: two stacked; four by rows (0) or by columns (1).
    QStringList Order = Sorted;
    if (Count == 4 && pic2x2mode == 1) Order = {Sorted[0], Sorted[2], Sorted[1], Sorted[3]};
    QByteArray Page(Count == 2 ? 16000 : 32000, 0);
    QStringList Names;
    for (int P = 0; P < Count; ++P) {
        // Only the first 7680 bytes of a picture count; a shorter one leaves background.
        const QByteArray Pic = ReadFileHead(Order[P], 7680);
        Names << NameBeforeDot(DisplayName(Order[P]));
        for (int K = 0; K < Pic.size(); ++K) {
            const int Row = K / 40, Col = K % 40;
            const int Index =
                Count == 2 ? P * 7680 + K : (P >= 2 ? 15360 : 0) + 80 * Row + (P % 2) * 40 + Col;
            Page[Index] = Pic[K];
        }
    }
    // The page is built in a folder of our own, so no file of the user's is touched.
    const QString PageName = Names.join(QLatin1Char('_')) + QStringLiteral(".PIC");
    QTemporaryDir PageDir(TempFolder() + QStringLiteral("page-XXXXXX"));
    if (!PageDir.isValid()) RaiseInOutError(ioAccessDenied, TempFolder());
    const QString PagePath = PageDir.filePath(PageName);
    WriteWholeFile(PagePath, Page);
    CreateMDIChild(PagePath);
    // The window keeps the page; a split writes beside the source pictures.
    if (auto* G = qobject_cast<TChildWinGraphic*>(ActiveDocument())) G->SourceFileName = openpath + PageName;
}

void TfrmMain::Button1Click() {
    TAtariSTGraphic ST;
    int R = 0, G = 0, B = 0;
    ST.SplitSTColor(0x111, R, G, B);
    ShowPlainMsg(QStringLiteral("r=%1 g=%2 b=%3").arg(R).arg(G).arg(B));
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
