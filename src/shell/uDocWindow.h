#pragma once
// What the document windows build and do alike: coloured forms and panels, the top
// panel with its flat buttons, the info panel's caption/value pairs, the scroll box
// around a picture, the window's size inside its MDI frame, and saving the shown
// picture.
#include "uGlobal.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <initializer_list>

class ImageView;
class QBoxLayout;
class QHBoxLayout;
class QGridLayout;
class QImage;
class QLabel;
class QMdiArea;
class QMenu;
class QMdiSubWindow;
class QScrollArea;
class QToolButton;
class QVBoxLayout;
class QResizeEvent;
struct TFileDialogRequest;

// ---- colours (Windows colours, 0x00BBGGRR)
// W's background in Colour, filled by W itself.
void SetFormColour(QWidget* W, quint32 Colour);
// Only the palette's window colour, for widgets that fill through their own role.
void SetWindowColour(QWidget* W, quint32 Colour);

// ---- layout
// A vertical layout filling W edge to edge, its parts without gaps.
QVBoxLayout* NewColumnLayout(QWidget* W);

// Holds one widget at no less than its minimum size and cuts it at the box's own
// edges. The box itself can be made as small as wanted: a panel never keeps its
// window wide, and in a narrow window its controls are clipped where they stand,
// never squeezed over each other. The box shows and hides with its widget and
// keeps the widget's height limits in the directions it does not clip.
class TClipBox : public QWidget {
public:
    enum TClip { ClipWidth = 1, ClipHeight = 2, ClipBoth = 3 };
    TClipBox(QWidget* Content, QWidget* Parent, int Clip = ClipWidth);
    QWidget* Content() const { return FContent; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* E) override;
    bool eventFilter(QObject* Watched, QEvent* E) override;
    void resizeEvent(QResizeEvent* E) override;

private:
    QSize ContentMinimum() const;
    void FollowLimits();
    void Place();
    QWidget* FContent;
    int FClip;
};
// Wraps Panel in a box that clips its width.
TClipBox* ClipWidth(QWidget* Panel);
// A row of controls inside Row that is clipped at its right end, taking the room
// that Row's other parts leave (a dock button at the right edge stays in view).
// Controls added to the returned layout move onto the clipped row.
QHBoxLayout* NewClippedRow(QBoxLayout* Row);
// The column of a document window: its parts lie on a surface that the window
// clips in both directions, so the window can be made smaller than its parts
// (Tile, Cascade, the user's resize). Widgets added to the layout move onto it.
QVBoxLayout* NewWindowColumn(QWidget* Window);

// ---- top panel
// The coloured panel "pnlTop" across a window, Height high, with white texts.
QWidget* NewTopPanel(QWidget* Parent, int Height, quint32 Colour = TopPanelColor);
// A caption label on a panel. Disabled, it shows the class library's disabled
// label: its text in the button shadow colour over the same text in the button
// highlight colour one pixel right and down, on any panel colour.
QLabel* NewPanelLabel(QWidget* Panel, const char* Name, const QString& Caption);
// A flat tool button on Panel with a white caption; Hint is its tool tip and status text.
// A control with a light face of its own (a drop-down list) on a tool panel keeps
// the application's dark text instead of the panel's white one.
void KeepDefaultTextColours(QWidget* W);
// White caption, a face of the panel's colour family and a white focus mark for a
// tool-panel button.
void SetPanelButtonColours(QToolButton* B);
QToolButton* NewPanelButton(QWidget* Panel, const char* Name, const QString& Caption, const QString& Hint);
// A panel button captioned in the ATASCII face, appended to the panel's row.
QToolButton* AddAtasciiPanelButton(QBoxLayout* Row, QWidget* Panel, const char* Name, const QString& Caption,
                                   const QString& Hint);
// Tool tip and status text at once.
void SetHint(QWidget* W, const QString& Hint);
// Menu pops up on Image by the right mouse button, and by the menu key (or
// Shift+F10) at the visible part of Image while Window has the keyboard.
void AttachPopupMenu(QWidget* Window, QWidget* Image, QMenu* Menu);
// Shift+F10 while Window or a control inside it has the keyboard does what the
// menu key does: a keyboard context-menu request to the control with the focus,
// which goes up to Window unless a control on the way has a menu of its own.
void AddShiftF10MenuKey(QWidget* Window);

// Runs Handler of Window whenever Signal of Sender comes, guarded.
template <class TSender, class TSignal, class TWindow>
void ConnectGuarded(TSender* Sender, TSignal Signal, TWindow* Window, void (TWindow::*Handler)()) {
    QObject::connect(Sender, Signal, Window,
                     [Window, Handler] { Guarded([Window, Handler] { (Window->*Handler)(); }); });
}

// ---- info panel: right-aligned captions beside coloured values
struct TInfoPanel {
    QWidget* Panel = nullptr;
    QGridLayout* Grid = nullptr;
};
// The panel "pnlBottom", Height high, in the work-space colour, its texts FontPixelSize high.
TInfoPanel NewInfoPanel(QWidget* Parent, int Height, int FontPixelSize);
QLabel* NewInfoLabel(const TInfoPanel& Info, int Row, const char* Name, const QString& Caption, int Width);
// A value shows run-time data ("-" until set): left out of the language files.
// It starts 8 pixels after its caption and takes the rest of the panel's width, cut
// at its edge.
QLabel* NewValueLabel(const TInfoPanel& Info, int Row, const char* Name, quint32 Colour);

// ---- the picture
// A scroll box showing View at its own size from the top left. Name may be nullptr;
// Background clDefault keeps the parent's colour.
QScrollArea* NewImageScrollBox(QWidget* Parent, const char* Name, ImageView* View, bool Framed = false,
                               quint32 Background = clDefault);
// Room around the picture of a scroll box made by NewImageScrollBox for its focus
// frame, which then covers none of the picture.
void KeepRoomForFocusFrame(QScrollArea* Box);
// Multiplies the view's zoom; the picture data stay as they are. A step the view
// cannot show is refused with a beep: false.
bool ScaleZoom(ImageView* View, double Factor);
// Pixels a scroll box moves for one wheel notch.
constexpr int WheelScrollStep = 7;
// Moves the box's view down by Pixels (up when negative) and shows it at once.
void ScrollVertically(QScrollArea* Box, int Pixels);

// ---- drawing a long page
// Events run every 16 bytes while a page is drawn; painting the page or the
// progress bar that often costs more than the drawing itself. A clock that says
// when painting is due again: at most once per PaintIntervalMs.
constexpr int PaintIntervalMs = 40;
class TPaintClock {
public:
    TPaintClock() { FClock.start(); }
    // True when PaintIntervalMs have passed since the clock started or last said so.
    bool Due();

private:
    QElapsedTimer FClock;
};
// The main window's progress bar during a drawing: the first position at once,
// later ones when painting is due; Flush shows the last one given.
class TThrottledProgress {
public:
    void operator()(int Position, int Max);
    void Flush();

private:
    TPaintClock FClock;
    int FPosition = 0, FMax = 0;
    bool FStarted = false, FPending = false;
};

// ---- the window in the MDI area
// The MDI sub-window around Window, or Window itself when it is free.
QWidget* DocumentFrame(QWidget* Window);
// Takes the frame out of the maximised state.
void ShowFrameNormal(QWidget* Window);
// Largest side of a document window. A zoomed view may be far larger; it scrolls
// inside its window. Beyond this X11 cannot show a free window, and layouts around
// views of a million pixels lose their panels.
constexpr int MaxWindowSide = 32767;
// Sizes are cut to MaxWindowSide.
void SetFrameSize(QWidget* Window, int Width, int Height);
// Window's own size; the frame grows by its borders.
void SetClientSize(QWidget* Window, int Width, int Height);
void SetClientWidth(QWidget* Window, int Width);
// The widest client Window has room for: the visible width of its MDI area, or of
// the screen for a free window, less the frame's borders.
int RoomForClient(QWidget* Window);
// The width a panel's controls need side by side: its layout's hint; for an info
// panel, each caption beside its value at the value's full length. 0 while hidden.
int PanelNeed(const QWidget* Panel);
// The least width Fit gives Window: the most of Needs (what its panels need) and of
// its frame's title bar, but no more than the room it has.
int ControlsWidth(QWidget* Window, std::initializer_list<int> Needs);
// Fits Window around a picture of size Picture: its width, and its height plus the
// top panel, the info panel while shown, and 2 pixels; a maximized frame becomes
// normal first. The window stays as wide as its tool bar's controls and the info
// panel's captions with their values need (ControlsWidth): a narrower picture shows
// at the left.
void FitToPicture(QWidget* Window, const QSize& Picture, const QWidget* TopPanel, const QWidget* InfoPanel);
// Moves a frame just added to Area to the next cascade step: the k-th window of
// the area at k title-bar heights right and down, starting over at the top left
// before a corner would leave the visible area. Its left edge and title show. A
// window that fits above the rows of minimised windows lies above them. Called
// again once the new window has its size, it keeps its step (and a frame moved
// meanwhile stays where it is).
void PlaceAtCascadeStep(QMdiArea* Area, QMdiSubWindow* Frame);
// Docks a free window or frees a docked one and moves its frame to TopLeft.
void ToggleDocking(QWidget* Window, quint8& IsChildWin, const QPoint& TopLeft = QPoint(1, 1));

// ---- closing
// Closes Window's frame after its close query has already agreed (quitting asks
// every window before it closes any): the window closes without asking again.
// False when it stayed open all the same.
bool CloseAgreed(QWidget* Window);
// True while CloseAgreed closes Window: its close handling skips the question.
bool CloseAlreadyAgreed(const QWidget* Window);

// ---- saving
// Writes Picture as BMP or JPEG (JpegQuality) by FileName's extension. False, and
// nothing written, for any other extension. Throws on write errors.
bool SavePictureFile(const QImage& Picture, const QString& FileName, int JpegQuality);
// Beep and warning, naming the file, for a name no format can be written under.
void WarnUnknownFileFormat(const QString& FileName);
// The save dialog; a chosen name without extension gets the one of the chosen filter
// (Extensions[FilterIndex - 1]; DefaultIndex counts when the filter has none). That
// appended name is checked and, when it exists already, the user is asked before it
// is replaced; "No" returns to the dialog (TFileDialogRequest). False when cancelled.
bool ExecuteSaveDialogWithExt(QWidget* Parent, TFileDialogRequest& Request, const QStringList& Extensions,
                              QString& FileName, int DefaultIndex = 0);
// The main window's progress bar and status text after a save.
void ResetSaveStatus();
// Resets them however the save ends.
struct TSaveStatusReset {
    TSaveStatusReset() = default;
    ~TSaveStatusReset() { ResetSaveStatus(); }
    TSaveStatusReset(const TSaveStatusReset&) = delete;
    TSaveStatusReset& operator=(const TSaveStatusReset&) = delete;
};

// Full screen of a document window: its frame loses the border and is maximized.
void EnterFullscreen(QWidget* Window, bool& Fullscreen);
// Escape: the border comes back and the frame returns to its normal state.
void LeaveFullscreen(QWidget* Window, bool& Fullscreen);
