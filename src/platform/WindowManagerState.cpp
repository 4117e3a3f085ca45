#include "WindowManagerState.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {
xcb_connection_t* Connection() {
    if (!qGuiApp) return nullptr;
    auto* X11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return X11 ? X11->connection() : nullptr;
}

struct TAtoms {
    xcb_connection_t* For = nullptr;
    xcb_atom_t Supported = XCB_ATOM_NONE, State = XCB_ATOM_NONE, Vert = XCB_ATOM_NONE, Horz = XCB_ATOM_NONE,
               Extents = XCB_ATOM_NONE;
};

xcb_atom_t Intern(xcb_connection_t* C, const char* Name) {
    const xcb_intern_atom_cookie_t Cookie = xcb_intern_atom(C, false, uint16_t(qstrlen(Name)), Name);
    xcb_intern_atom_reply_t* Reply = xcb_intern_atom_reply(C, Cookie, nullptr);
    const xcb_atom_t Atom = Reply ? Reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(Reply);
    return Atom;
}

const TAtoms& AtomsOf(xcb_connection_t* C) {
    static TAtoms A;
    if (A.For != C) {
        A.For = C;
        A.Supported = Intern(C, "_NET_SUPPORTED");
        A.State = Intern(C, "_NET_WM_STATE");
        A.Vert = Intern(C, "_NET_WM_STATE_MAXIMIZED_VERT");
        A.Horz = Intern(C, "_NET_WM_STATE_MAXIMIZED_HORZ");
        A.Extents = Intern(C, "_NET_FRAME_EXTENTS");
    }
    return A;
}

// The atoms of the list property Property of Window; nothing when it is not there.
std::optional<QList<xcb_atom_t>> AtomList(xcb_connection_t* C, xcb_window_t Window, xcb_atom_t Property) {
    const xcb_get_property_cookie_t Cookie =
        xcb_get_property(C, false, Window, Property, XCB_ATOM_ATOM, 0, 4096);
    xcb_get_property_reply_t* Reply = xcb_get_property_reply(C, Cookie, nullptr);
    if (!Reply) return std::nullopt;
    std::optional<QList<xcb_atom_t>> Atoms;
    if (Reply->type == XCB_ATOM_ATOM && Reply->format == 32) {
        const auto* Data = static_cast<const xcb_atom_t*>(xcb_get_property_value(Reply));
        const int Count = xcb_get_property_value_length(Reply) / int(sizeof(xcb_atom_t));
        Atoms.emplace(Data, Data + Count);
    }
    std::free(Reply);
    return Atoms;
}

xcb_window_t RootOf(xcb_connection_t* C) {
    const xcb_screen_iterator_t It = xcb_setup_roots_iterator(xcb_get_setup(C));
    return It.rem ? It.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

// Watches the X events Qt receives for the changes callers asked about; it never
// takes an event away from Qt.
class TWatcher : public QAbstractNativeEventFilter {
public:
    struct TEntry {
        QPointer<QWidget> Window;
        QPointer<QObject> Receiver;
        std::function<void()> Changed;
    };
    QList<TEntry> Entries;

    bool nativeEventFilter(const QByteArray& Type, void* Message, qintptr*) override {
        if (Type != "xcb_generic_event_t") return false;
        const auto* E = static_cast<const xcb_generic_event_t*>(Message);
        if ((E->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
        const auto* P = reinterpret_cast<const xcb_property_notify_event_t*>(E);
        xcb_connection_t* C = Connection();
        if (!C) return false;
        const TAtoms& A = AtomsOf(C);
        if (P->atom != A.State && P->atom != A.Extents) return false;
        Entries.removeIf([](const TEntry& En) { return !En.Window || !En.Receiver; });
        for (const TEntry& En : Entries)
            // Queued: Qt handles the event itself once this returns.
            if (En.Window->internalWinId() == WId(P->window))
                QMetaObject::invokeMethod(En.Receiver, En.Changed, Qt::QueuedConnection);
        return false;
    }
};
} // namespace

std::optional<TMaximisedWays> WindowManagerMaximised(const QWidget* Window) {
    xcb_connection_t* C = Connection();
    if (!C || !Window || !Window->isWindow() || !Window->internalWinId()) return std::nullopt;
    const TAtoms& A = AtomsOf(C);
    if (A.State == XCB_ATOM_NONE || A.Vert == XCB_ATOM_NONE || A.Horz == XCB_ATOM_NONE) return std::nullopt;
    // A window manager that does not name both states does not keep them.
    const auto Supported = AtomList(C, RootOf(C), A.Supported);
    if (!Supported || !Supported->contains(A.Vert) || !Supported->contains(A.Horz)) return std::nullopt;
    TMaximisedWays Ways;
    if (const auto State = AtomList(C, xcb_window_t(Window->internalWinId()), A.State)) {
        Ways.Across = State->contains(A.Horz);
        Ways.Down = State->contains(A.Vert);
    }
    return Ways;
}

void OnWindowManagerChange(QWidget* Window, QObject* Receiver, std::function<void()> Changed) {
    if (!Window || !Receiver || !Connection()) return;
    static TWatcher* const Watcher = new TWatcher; // lives as long as the program
    static QPointer<QCoreApplication> WatchedApp;
    if (WatchedApp != QCoreApplication::instance()) {
        WatchedApp = QCoreApplication::instance();
        WatchedApp->installNativeEventFilter(Watcher);
    }
    Watcher->Entries.append({Window, Receiver, std::move(Changed)});
}
