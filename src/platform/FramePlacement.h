#pragma once
// Where a free window stands: on the platform the design assumes, a window's Left
// and Top are the corner of its frame (title bar and border included). X11 cannot
// promise that by itself: only the window manager knows the frame, it reports it
// some time after the window is shown, and until then Qt places the client where
// the frame was meant to be (a move, and also a mere resize, before the frame is
// known puts the title bar above the screen). Every free window's placement goes
// through here, whoever asks for it.

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>

class QWidget;

// Puts the corner of Window's frame at TopLeft (global coordinates), and keeps it
// there until the window manager has framed the window: a resize or a late
// report of the frame in between is corrected. A widget that is not a window (a
// frame inside an MDI area, say) is simply moved.
void MoveFrameTo(QWidget* Window, const QPoint& TopLeft);

// Gives Window (a top-level window) the frame corner TopLeft and the client size
// Size, fitted into Area: once the window manager has told the frame's borders,
// the whole frame, title bar included, lies inside Area; the client shrinks where
// it must, never below what the window can take.
void PlaceFrameInside(QWidget* Window, const QPoint& TopLeft, const QSize& Size, const QRect& Area);

// The frame rectangle Frame moved, and cut where it must, so that it lies inside
// Area; a frame larger than Area keeps its corner at Area's corner.
QRect FitFrameToArea(const QRect& Frame, const QRect& Area);

// The borders the window manager put around Window (none while it has not
// framed it yet, or when there is no window manager).
QMargins FrameMargins(const QWidget* Window);

// True while a placement of Window waits for the window manager.
bool FramePlacementPending(const QWidget* Window);

// Where a top-level window stands in its normal state: its frame's corner and its
// own size, as last seen while it was neither maximised, minimised nor full
// screen. Window managers do not all tell a maximised state before the new
// geometry, some maximise in two steps (width, then height), and some drop the
// state when the window closes; so a frame that fills the available area counts
// as maximised, and one as wide or as high as the area only once it has held for
// SettleMs.
class TNormalPlacement : public QObject {
public:
    static constexpr int SettleMs = 300;
    explicit TNormalPlacement(QWidget* Window);
    // The normal placement; the window's own normal geometry while none was seen.
    QRect Placement() const;
    // True when Window is maximised, minimised or full screen, or its frame fills
    // the available area of its screen.
    static bool LooksMaximised(const QWidget* Window);

protected:
    bool eventFilter(QObject* Watched, QEvent* E) override;

private:
    void Note();
    void Settled();
    QRect Current() const;
    QWidget* FWindow;
    QRect FKept, FCandidate;
    QTimer FSettle; // "normalPlacementSettle": runs while a candidate waits
};
