#pragma once
// What the document and tool windows may ask of the main window: the status and
// progress bars, a place in the MDI area, the active document, the icons of the
// document kinds and where its panels sit. The main window provides it; the
// windows reach it through MainWindow() and never need the main window's class.
#include <QIcon>
#include <QRect>
#include <QString>

class QMdiSubWindow;
class QWidget;

enum class TDocIcon { Graphic, BMP, JPG, Txt, Listing, Font, SolidStates };

class TMainWindowLink {
public:
    // Status panel 0.
    virtual void StatusMsg(const QString& Text) = 0;
    virtual void delmsg() = 0;
    // The progress bar over status panel 1.
    virtual void ProgressBar(int Position, int Max) = 0;
    virtual void ShowProgressBar(bool Visible) = 0;
    // Puts a document window into the MDI area and activates it.
    virtual QMdiSubWindow* AddMDIChild(QWidget* Child) = 0;
    // The active MDI child's window, or nullptr.
    virtual QWidget* ActiveDocument() const = 0;
    virtual QIcon DocumentIcon(TDocIcon Kind) const = 0;
    // The main window itself: owner of free windows, placed by the settings.
    virtual QWidget* Form() = 0;
    // Where the main window stands when it is neither maximised nor minimised: its
    // frame's top left corner and its own size, as the settings store them.
    virtual QRect NormalPlacement() const = 0;
    // Heights of the tool-bar panel and the status bar, for placing tool windows.
    virtual int TopPanelHeight() const = 0;
    virtual int StatusBarHeight() const = 0;

protected:
    ~TMainWindowLink() = default;
};

// The main window while it exists, else nullptr.
TMainWindowLink* MainWindow();
void SetMainWindow(TMainWindowLink* Link);
