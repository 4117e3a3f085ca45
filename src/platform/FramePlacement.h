#pragma once
// Where a free window stands: on the platform the design assumes, a window's Left
// and Top are the corner of its frame (title bar and border included). X11 cannot
// promise that by itself: only the window manager knows the frame, it reports it
// some time after the window is shown, and until then Qt places the client where
// the frame was meant to be (a move, and also a mere resize, before the frame is
// known puts the title bar above the screen). Every free window's placement goes
// through here, whoever asks for it.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

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
