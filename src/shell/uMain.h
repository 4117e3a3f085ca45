#pragma once
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

// A picture label that reacts to clicks (the two logos).
class TClickImage : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* E) override;
};

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* Parent = nullptr);
    ~TfrmMain() override;

    // Services every window reports through.
    void StatusMsg(const QString& Text);
    void delmsg();
    void ProgressBar(int Position, int Max);

    // Turns one file (its real path) into a document window.
    virtual void CreateMDIChild(const QString& FileName);
    // Opens files in order (drops, command line); the first failure ends the list.
    void OpenFiles(const QStringList& Paths);
    // Puts a document window into the MDI area and activates it.
    QMdiSubWindow* AddMDIChild(QWidget* Child);
    QWidget* ActiveDocument() const;         // the active MDI child's window, or nullptr
    QList<QWidget*> DocumentWindows() const; // MDI children, first to last
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
    void MenuHelpAboutClick();

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
    void FormCreate();
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void LayOverStatusBar();
    void OpenUrl(const char* Url);
    bool FShown = false;
};

extern TfrmMain* frmMain;

// Creates the long-lived windows in their order (frmMain, fGlobal, frmAbout,
// frmParameter, frmYESNOCANCEL) and destroys them again.
void CreateApplicationWindows();
void DestroyApplicationWindows();
