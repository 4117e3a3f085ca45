#pragma once
// What the window manager tells of a top-level window through the X server: the
// directions it keeps the window maximised in (Qt tells a maximised state only
// when it holds both ways), and when it changes that state or the borders of the
// frame it puts around the window (Qt takes those in without telling the widget).
// The only place that speaks X11; elsewhere, or under a window manager that
// tells nothing, nothing is known.

#include <functional>
#include <optional>

class QObject;
class QWidget;

struct TMaximisedWays {
    bool Across = false; // _NET_WM_STATE_MAXIMIZED_HORZ
    bool Down = false;   // _NET_WM_STATE_MAXIMIZED_VERT
};

// The ways the window manager keeps Window maximised, as the X server holds them
// now; nothing when that cannot be known (no X11, no window yet, a window manager
// that does not tell).
std::optional<TMaximisedWays> WindowManagerMaximised(const QWidget* Window);

// Calls Changed from the event loop, after Qt has taken the change in, each time
// the window manager changes Window's state or its frame's borders; for as long as
// Receiver lives. Does nothing where there is no X11.
void OnWindowManagerChange(QWidget* Window, QObject* Receiver, std::function<void()> Changed);
