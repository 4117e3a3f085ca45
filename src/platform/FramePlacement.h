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
#include <optional>

class QWidget;

// Puts the corner of Window's frame at TopLeft (global coordinates), and keeps it
// there until the window manager has framed the window: a resize or a late
// report of the frame in between is corrected. A widget that is not a window (a
// frame inside an MDI area, say) is simply moved.
void MoveFrameTo(QWidget* Window, const QPoint& TopLeft);

// Gives Window (a top-level window) the frame corner TopLeft and the client size
// Size, fitted into Area: once the window manager has told the frame's borders,
// the whole frame, title bar included, lies inside Area; the client shrinks where
// it must, never below what the window can take. With Centre, TopLeft is a first
// guess: once the borders are told, the frame it really has is centred on Centre.
void PlaceFrameInside(QWidget* Window, const QPoint& TopLeft, const QSize& Size, const QRect& Area,
                      std::optional<QPoint> Centre = std::nullopt);

// The frame rectangle Frame moved, and cut where it must, so that it lies inside
// Area; a frame larger than Area keeps its corner at Area's corner.
QRect FitFrameToArea(const QRect& Frame, const QRect& Area);

// The borders the window manager put around Window (none while it has not
// framed it yet, or when there is no window manager).
QMargins FrameMargins(const QWidget* Window);

// True while a placement of Window waits for the window manager.
bool FramePlacementPending(const QWidget* Window);

// Lets events other than the user's run until a placement of Window that waits for
// the window manager is done (a window placed as it is shown, before a dialog is
// centred on it); at once when none waits.
void AwaitFramePlacement(QWidget* Window);

// Where a top-level window stands in its normal state: its frame's corner and its
// own size, as last seen while it was neither maximised (in either direction),
// minimised nor full screen. Where the window manager tells the directions it
// keeps a window maximised in, that counts; besides, since not all tell it before
// the new geometry and some drop it when the window closes, a frame that fills the
// available area counts as maximised, and one as wide or as high as the area only
// once it has held for SettleMs. The frame's corner is taken anew whenever the
// window manager changes the frame's borders.
class TNormalPlacement : public QObject {
public:
    static constexpr int SettleMs = 300;
    explicit TNormalPlacement(QWidget* Window);
    // The normal placement; the window's own normal geometry while none was seen.
    // A hidden window keeps the one it had when it was hidden.
    QRect Placement() const;
    // True when Window is maximised (both ways or, as its window manager tells, one
    // way), minimised or full screen, or its frame fills the available area of its
    // screen.
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
