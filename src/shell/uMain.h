#pragma once
#include "FramePlacement.h"
#include "uMainLink.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QProgressBar>
#include <QStringList>
#include <QToolButton>
#include <array>

class QMdiArea;
class QMdiSubWindow;
class QAction;
class QMenu;
class TChildWinGraphic;
class TChildWinText;
class TChildWinListing;
class TChildWinFont;
class TChildWinATASCIITable;
class TChildWinASC2ATASC;
class TChildWinSolidStates;
class ImageView;
class TClickImage;
struct TPicInfo;

// The main window's status bar: four panels of fixed widths; other controls can be
// laid over a panel.
class TStatusBar : public QWidget {
    Q_OBJECT
public:
    explicit TStatusBar(QWidget* Parent, const std::array<int, 4>& Widths);
    void SetPanelText(int Index, const QString& Text);
    QString PanelText(int Index) const;
    QRect PanelRect(int Index) const;
    int PanelCount() const { return int(FPanels.size()); }

private:
    std::array<QLabel*, 4> FPanels{};
};

class TfrmMain : public QMainWindow, public TMainWindowLink {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* Parent = nullptr);
    ~TfrmMain() override;

    // Services every window reports through.
    void StatusMsg(const QString& Text) override;
    void delmsg() override;
    void ProgressBar(int Position, int Max) override;
    void ShowProgressBar(bool Visible) override;
    QIcon DocumentIcon(TDocIcon Kind) const override;
    QWidget* Form() override { return this; }
    int TopPanelHeight() const override;
    int StatusBarHeight() const override;
    QRect NormalPlacement() const override;

    // Turns one file (its real path) into a document window.
    virtual void CreateMDIChild(const QString& FileName);
    // Opens files in order (drops, command line); the first failure ends the list.
    void OpenFiles(const QStringList& Paths);
    // Puts a document window into the MDI area and activates it.
    QMdiSubWindow* AddMDIChild(QWidget* Child) override;
    // The picture branch of the dispatch: creates, loads and draws the window.
    TChildWinGraphic* OpenPictureWindow(const QString& FileName, const QString& Name, const TPicInfo& Info);
    QWidget* ActiveDocument() const override;
    // The live windows of the document references, in the order the template export writes them.
    QList<QWidget*> ExportedDocumentWindows() const; // the active MDI child's window, or nullptr
    QList<QWidget*> DocumentWindows() const;         // MDI children, first to last
    QList<QWidget*> FreeDocumentWindows() const;     // undocked document windows
    // Asks every document window, docked or free, whether it may close, and closes
    // none; false at the first that refuses.
    bool DocumentsMayClose();
    int MDIChildCount() const;

    // Handlers, named as the program has always named them.
    void FormShow();
    void UpdateMenuItems();
    void ShowAppHint(const QString& Hint);
    void ComboLngChange();
    void FillLanguageList();
    void imgTEVRAClick();
    void imgQuarnClick();
    void FileCloseItemClick();
    void FileExitItemClick();
    void WindowCascadeItemClick();
    void WindowTileItemClick();
    void WindowMinimizeItemClick();
    void WindowArrangeItemClick();
    void WindowCloseAllClick();
    void btnSettingsClick();
    // Commands routed to the active document window by its kind.
    void btnSaveClick();
    void MenuFitSizeClick();
    void btnZoomInClick();
    void btnZoomOutClick();
    void btnInvertClick();
    void btnReportClick();
    void menuFilePrintClick() { btnReportClick(); }
    void MenuFitSizeAllClick();
    void AlleInvertieren();
    void SaveBMP640as4PICsClick();
    // Tools menu: windows that show the character set without a file.
    void menuFontExplorerClick(QObject* Sender);
    void menuFontMapClick();
    void menuATASCIITableClick();
    void menuATASCIIEditorClick();
    // File menu: the open items narrow the dialog's filter (two force a text dialect).
    void FileOpenItemClick(QObject* Sender);
    void Open2PICsClick() { OpenJoinedPage(2); }
    void Open4PICsClick() { OpenJoinedPage(4); }
    void OpenJoinedPage(int Count);
    QString OpenDialogFilter; // kept between commands, as the dialog kept it
    void MenuHelpAboutClick();
    void Button1Click();
    void MenuHelpHelpIndexClick();
    void menuHelpShowManualClick();
    void btnSaveTranslationsClick();

    // The document window of each kind that was created or addressed last.
    QPointer<TChildWinGraphic> ChildWinGraphic;
    QPointer<TChildWinText> ChildWinText;
    QPointer<TChildWinFont> ChildWinFont;
    QPointer<TChildWinListing> ChildWinListing;
    QPointer<TChildWinATASCIITable> ChildWinATASCIITable;
    QPointer<TChildWinASC2ATASC> ChildWinASC2ATASC;
    QPointer<TChildWinSolidStates> ChildWinSolidStates;

    QStringList CommandLineFiles; // absolute paths, opened at the first showing

    // Components.
    QMdiArea* MdiArea = nullptr;
    QWidget* pnlTop = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QComboBox* ComboLng = nullptr;
    QLabel* lblDragDrop = nullptr;
    TClickImage* imgTEVRA = nullptr;
    TClickImage* imgQuarn = nullptr;
    QToolButton *btnOpen = nullptr, *btnSave = nullptr, *btnZoomIn = nullptr, *btnZoomOut = nullptr,
                *btnInvert = nullptr, *btnReport = nullptr, *btnSettings = nullptr, *Button1 = nullptr,
                *btnSaveTranslations = nullptr;
    QMenu *MenuFile = nullptr, *OpenDegas = nullptr, *MenuView = nullptr, *MenuOptions = nullptr,
          *menuProgTools = nullptr, *MenuWindow = nullptr, *MenuHelp = nullptr;
    QAction *FileOpenItem = nullptr, *OpenAPAC = nullptr, *OpenAPAC2 = nullptr, *OpenPHO = nullptr,
            *OpenALB = nullptr, *OpenPIC = nullptr, *OpenGR9 = nullptr, *OpenKoala = nullptr,
            *OpenMIC = nullptr, *OpenSolidStates = nullptr, *OpenTechnicolor = nullptr, *OpenFNT = nullptr,
            *OpenAWR = nullptr, *OpenSTT = nullptr, *OpenBASIC_LST = nullptr, *OpenDoodle = nullptr,
            *OpenDegasPI1 = nullptr, *OpenDegasPI2 = nullptr, *OpenDegasPI3 = nullptr,
            *OpenDegasPC1 = nullptr, *OpenDegasPC2 = nullptr, *OpenDegasPC3 = nullptr,
            *OpenNeochrome = nullptr, *OpenSTAD = nullptr, *Open2PICs = nullptr, *Open4PICs = nullptr,
            *FileCloseItem = nullptr, *FileSaveAsItem = nullptr, *SaveBMP640as4PICs = nullptr,
            *menuFilePrint = nullptr, *FileExitItem = nullptr;
    QAction *MenuZoomIn = nullptr, *MenuZoomOut = nullptr, *MenuFitSize = nullptr, *MenuFitSizeAll = nullptr,
            *MenuInvert = nullptr, *MenuInvertAll = nullptr;
    QAction* MenuOptionsSettings = nullptr;
    QAction *menuFontExplorer = nullptr, *menuFontEditor = nullptr, *menuFontMap = nullptr,
            *menuATASCIITable = nullptr, *menuATASCIIEditor = nullptr;
    QAction *WindowCascadeItem = nullptr, *WindowTileItem = nullptr, *WindowMinimizeItem = nullptr,
            *WindowArrangeItem = nullptr, *WindowCloseAll = nullptr;
    QAction *MenuHelpHelpIndex = nullptr, *menuHelpShowManual = nullptr, *MenuHelpAbout = nullptr;

    // Window icons of the document kinds.
    QIcon Graphic_Icon, BMP_Icon, JPG_Icon, Txt_Icon, Listing_Icon, Font_Icon, SolidStates_Icon;

    static const char* const MakerWebSite;
    static const char* const ClubWebSite;

protected:
    void showEvent(QShowEvent* E) override;
    void resizeEvent(QResizeEvent* E) override;
    void closeEvent(QCloseEvent* E) override;
    void dragEnterEvent(QDragEnterEvent* E) override;
    void dropEvent(QDropEvent* E) override;
    bool eventFilter(QObject* Watched, QEvent* E) override;

private:
    template <class T> T* Take(QPointer<T>& Reference, QWidget* Window);
    template <class Op> void ZoomActive(Op Zoom);
    TChildWinFont* ActiveFontWindow();
    void FormCreate();
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void LayOverStatusBar();
    void OpenUrl(const char* Url);
    bool FShown = false;
    TNormalPlacement* FNormalPlacement = nullptr;
};

extern TfrmMain* frmMain;
// Joined-page flags: while MultiPicOpen is 1 a GR.8 page opens at its joined size.
extern quint8 MultiPicOpen;
extern int MultiPicLayout; // 1: two pictures stacked, 2: four pictures 2 x 2
extern int MultiPicCount;

// Creates the long-lived windows in their order (frmMain, fGlobal, frmAbout,
// frmParameter, frmYESNOCANCEL) and destroys them again.
void CreateApplicationWindows();
void DestroyApplicationWindows();
