#include "X11Desk.h"

#include <QWidget>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <memory>

namespace {
struct TCloseDisplay {
    void operator()(Display* D) const { XCloseDisplay(D); }
};
using TDisplay = std::unique_ptr<Display, TCloseDisplay>;

TDisplay OpenDisplay() {
    return TDisplay(XOpenDisplay(nullptr));
}

// The child of the root window that holds Client: the window manager's frame, or
// Client itself when nothing frames it.
Window TopLevelOf(Display* D, Window Client) {
    const Window Root = DefaultRootWindow(D);
    Window W = Client;
    for (int Depth = 0; Depth < 16; ++Depth) {
        Window R = 0, Parent = 0, *Children = nullptr;
        unsigned Count = 0;
        if (!XQueryTree(D, W, &R, &Parent, &Children, &Count)) return 0;
        if (Children) XFree(Children);
        if (Parent == Root || Parent == 0) return W;
        W = Parent;
    }
    return 0;
}
} // namespace

void AskWindowManagerToMaximise(const QWidget* W, bool Maximise) {
    TDisplay D = OpenDisplay();
    if (!D) return;
    XEvent E{};
    E.xclient.type = ClientMessage;
    E.xclient.window = Window(W->winId());
    E.xclient.message_type = XInternAtom(D.get(), "_NET_WM_STATE", False);
    E.xclient.format = 32;
    E.xclient.data.l[0] = Maximise ? 1 : 0; // add or remove
    E.xclient.data.l[1] = long(XInternAtom(D.get(), "_NET_WM_STATE_MAXIMIZED_VERT", False));
    E.xclient.data.l[2] = long(XInternAtom(D.get(), "_NET_WM_STATE_MAXIMIZED_HORZ", False));
    E.xclient.data.l[3] = 2; // asked by the user
    XSendEvent(D.get(), DefaultRootWindow(D.get()), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &E);
    XFlush(D.get());
}

QList<const QWidget*> StackedTopFirst(const QList<const QWidget*>& Windows) {
    QList<const QWidget*> Out;
    TDisplay D = OpenDisplay();
    if (!D) return Out;
    QList<std::pair<Window, const QWidget*>> Frames;
    for (const QWidget* W : Windows)
        if (W->isVisible()) Frames.append({TopLevelOf(D.get(), Window(W->winId())), W});
    Window R = 0, Parent = 0, *Children = nullptr;
    unsigned Count = 0;
    if (!XQueryTree(D.get(), DefaultRootWindow(D.get()), &R, &Parent, &Children, &Count)) return Out;
    // The root's children come bottom first.
    for (unsigned I = Count; I-- > 0;)
        for (const auto& [Frame, W] : Frames)
            if (Frame == Children[I]) Out << W;
    if (Children) XFree(Children);
    return Out;
}
