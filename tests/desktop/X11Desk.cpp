#include "X11Desk.h"

#include <QWidget>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {
// The test's own connection, open for the whole program.
Display* Desk() {
    static Display* const D = XOpenDisplay(nullptr);
    return D;
}

// The child of the root window that holds Client: the window manager's frame, or
// Client itself when nothing frames it.
Window TopLevelOf(Display* D, Window Client) {
    Window W = Client;
    for (int Depth = 0; Depth < 16; ++Depth) {
        Window R = 0, Parent = 0, *Children = nullptr;
        unsigned Count = 0;
        if (!XQueryTree(D, W, &R, &Parent, &Children, &Count)) return 0;
        if (Children) XFree(Children);
        if (Parent == R || Parent == 0) return W;
        W = Parent;
    }
    return 0;
}
} // namespace

void AskWindowManagerToMaximise(const QWidget* W, bool Maximise, TWays Ways) {
    Display* D = Desk();
    if (!D) return;
    const long Vert = long(XInternAtom(D, "_NET_WM_STATE_MAXIMIZED_VERT", False));
    const long Horz = long(XInternAtom(D, "_NET_WM_STATE_MAXIMIZED_HORZ", False));
    XEvent E{};
    E.xclient.type = ClientMessage;
    E.xclient.window = Window(W->winId());
    E.xclient.message_type = XInternAtom(D, "_NET_WM_STATE", False);
    E.xclient.format = 32;
    E.xclient.data.l[0] = Maximise ? 1 : 0; // add or remove
    E.xclient.data.l[1] = Ways == TWays::Across ? Horz : Vert;
    E.xclient.data.l[2] = Ways == TWays::Both ? Horz : 0;
    E.xclient.data.l[3] = 2; // asked by the user
    XSendEvent(D, DefaultRootWindow(D), False, SubstructureRedirectMask | SubstructureNotifyMask, &E);
    XFlush(D);
}

void ReportFrameBorders(const QWidget* W, const QMargins& Borders) {
    Display* D = Desk();
    if (!D) return;
    const long Extents[4] = {Borders.left(), Borders.right(), Borders.top(), Borders.bottom()};
    XChangeProperty(D, Window(W->winId()), XInternAtom(D, "_NET_FRAME_EXTENTS", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(Extents), 4);
    XFlush(D);
}

unsigned long TransientFor(const QWidget* W) {
    Display* D = Desk();
    Window For = 0;
    return D && XGetTransientForHint(D, Window(W->winId()), &For) ? For : 0;
}

QList<const QWidget*> StackedTopFirst(const QList<const QWidget*>& Windows) {
    QList<const QWidget*> Out;
    Display* D = Desk();
    Window R = 0, Parent = 0, *Children = nullptr;
    unsigned Count = 0;
    if (!D || !XQueryTree(D, DefaultRootWindow(D), &R, &Parent, &Children, &Count)) return Out;
    QList<Window> Frames;
    for (const QWidget* W : Windows) Frames << (W->isVisible() ? TopLevelOf(D, Window(W->winId())) : 0);
    // The root's children come bottom first.
    for (unsigned I = Count; I-- > 0;)
        for (int K = 0; K < Windows.size(); ++K)
            if (Frames[K] == Children[I]) Out << Windows[K];
    if (Children) XFree(Children);
    return Out;
}
