#include "FramePlacement.h"

#include "WindowManagerState.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <optional>
#include <utility>

namespace {
// How often the placement is checked while it waits for the window manager, and
// for how long after the window is shown: a window manager that never frames the
// window (there may be none) ends the wait.
constexpr int CheckMs = 20;
constexpr int WaitMs = 3000;
// The window manager gets time to answer a correction before the next one, and
// one that keeps refusing the place is not fought for ever.
constexpr int SettleMs = 120;
constexpr int MaxCorrections = 4;

constexpr Qt::WindowStates NotNormal = Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen;

// Watches one free window from a placement request until its frame stands where
// it was asked for, with the window manager's frame around it.
class TFrameKeeper : public QObject {
public:
    explicit TFrameKeeper(QWidget* Window) : QObject(Window), FWindow(Window) {
        setObjectName(QStringLiteral("frameKeeper"));
        FTimer.setInterval(CheckMs);
        connect(&FTimer, &QTimer::timeout, this, &TFrameKeeper::Check);
        Window->installEventFilter(this);
    }

    static TFrameKeeper* Of(const QWidget* Window) {
        return Window->findChild<TFrameKeeper*>(QStringLiteral("frameKeeper"), Qt::FindDirectChildrenOnly);
    }

    // With Centre, the frame is centred there instead, with its borders once they are told.
    void Request(const QPoint& Corner, std::optional<QRect> Area, std::optional<QPoint> Centre = {}) {
        FCorner = Corner;
        FArea = Area;
        FCentre = Centre;
        FCorrections = 0;
        FSinceCorrection.invalidate();
        Apply(Corner);
        if (FWindow->isVisible()) Start();
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* E) override {
        if (Watched != FWindow) return false;
        switch (E->type()) {
        case QEvent::Show:
            Start();
            break;
        case QEvent::Resize:
            // A resize before the frame is known asks for the client's corner at the
            // place meant for the frame's: the frame's corner is asked for again.
            if (FWindow->isVisible() && FrameMargins(FWindow).isNull()) Apply(FCorner);
            break;
        case QEvent::ParentChange:
            if (!FWindow->isWindow()) Finish(); // docked again
            break;
        default:
            break;
        }
        return false;
    }

private:
    void Start() {
        FWaiting.start();
        FTimer.start();
    }

    // The frame's corner goes to Corner. Once the borders are known, the client goes
    // inside them; before, the window manager is given the frame's position (north-west
    // gravity) and places the frame there when it frames the window.
    void Apply(const QPoint& Corner) {
        QWindow* Handle = FWindow->windowHandle();
        const QMargins M = FrameMargins(FWindow);
        if (Handle && !M.isNull()) {
            FWindow->setGeometry(QRect(Corner + QPoint(M.left(), M.top()), FWindow->size()));
            return;
        }
        // Not created yet, Qt takes this for the frame's position; without borders,
        // client and frame are one.
        FWindow->move(Corner);
        if (Handle) Handle->setFramePosition(Corner);
    }

    void Check() {
        if (!FWindow || !FWindow->isWindow() || (FWindow->windowState() & NotNormal)) {
            Finish();
            return;
        }
        if (!FWindow->isVisible()) {
            FTimer.stop(); // until it is shown again
            return;
        }
        const QMargins M = FrameMargins(FWindow);
        if (M.isNull()) {
            // Not framed yet, or never: without a window manager the client is the frame.
            if (FWaiting.elapsed() > WaitMs) Finish();
            return;
        }
        if (FSinceCorrection.isValid() && FSinceCorrection.elapsed() < SettleMs) return;
        QWindow* Handle = FWindow->windowHandle();
        const QRect Frame = Handle->frameGeometry();
        QRect Wanted(FCorner, Frame.size());
        if (FCentre) Wanted.moveCenter(*FCentre);
        QSize Client = FWindow->size();
        if (FArea) {
            Wanted = FitFrameToArea(Wanted, *FArea);
            Client = Wanted.size().shrunkBy(M).expandedTo(FWindow->minimumSize());
            if (Client != FWindow->size()) FWindow->resize(Client);
        }
        if (Frame == QRect(Wanted.topLeft(), Client.grownBy(M))) {
            Finish();
            return;
        }
        if (FCorrections++ >= MaxCorrections || FWaiting.elapsed() > WaitMs) {
            Finish();
            return;
        }
        FSinceCorrection.start();
        Apply(Wanted.topLeft());
        FCorner = Wanted.topLeft();
    }

    // A request that comes after this finds a new keeper.
    void Finish() {
        FTimer.stop();
        setObjectName(QString());
        if (FWindow) FWindow->removeEventFilter(this);
        deleteLater();
    }

    QPointer<QWidget> FWindow;
    QTimer FTimer;
    QElapsedTimer FWaiting, FSinceCorrection;
    QPoint FCorner;
    std::optional<QRect> FArea;
    std::optional<QPoint> FCentre;
    int FCorrections = 0;
};

TFrameKeeper* KeeperOf(QWidget* Window) {
    if (TFrameKeeper* K = TFrameKeeper::Of(Window)) return K;
    return new TFrameKeeper(Window);
}
} // namespace

QMargins FrameMargins(const QWidget* Window) {
    const QWindow* Handle = Window && Window->isWindow() ? Window->windowHandle() : nullptr;
    return Handle ? Handle->frameMargins() : QMargins();
}

bool FramePlacementPending(const QWidget* Window) {
    return Window && TFrameKeeper::Of(Window);
}

void AwaitFramePlacement(QWidget* Window) {
    // The keeper ends its wait by itself when the window manager never answers; a
    // hidden window's placement waits until it is shown again.
    QPointer<QWidget> W(Window);
    while (W && W->isVisible() && FramePlacementPending(W))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
}

void MoveFrameTo(QWidget* Window, const QPoint& TopLeft) {
    if (!Window) return;
    if (!Window->isWindow()) {
        Window->move(TopLeft);
        return;
    }
    KeeperOf(Window)->Request(TopLeft, std::nullopt);
}

void PlaceFrameInside(QWidget* Window, const QPoint& TopLeft, const QSize& Size, const QRect& Area,
                      std::optional<QPoint> Centre) {
    if (!Window) return;
    Window->resize(Size);
    if (!Window->isWindow()) {
        Window->move(TopLeft);
        return;
    }
    // What is known of the frame already counts at once; the rest once it is told.
    const QMargins M = FrameMargins(Window);
    const QRect Frame = FitFrameToArea(QRect(TopLeft, Size.grownBy(M)), Area);
    if (!M.isNull()) Window->resize(Frame.size().shrunkBy(M).expandedTo(Window->minimumSize()));
    KeeperOf(Window)->Request(Frame.topLeft(), Area, Centre);
}

QRect FitFrameToArea(const QRect& Frame, const QRect& Area) {
    const int W = std::min(Frame.width(), Area.width());
    const int H = std::min(Frame.height(), Area.height());
    const int X = std::clamp(Frame.x(), Area.left(), std::max(Area.left(), Area.left() + Area.width() - W));
    const int Y = std::clamp(Frame.y(), Area.top(), std::max(Area.top(), Area.top() + Area.height() - H));
    return QRect(X, Y, std::max(W, 0), std::max(H, 0));
}

// ---------------------------------------------------------------- normal placement

TNormalPlacement::TNormalPlacement(QWidget* Window) : QObject(Window), FWindow(Window), FSettle(this) {
    FSettle.setObjectName(QStringLiteral("normalPlacementSettle"));
    FSettle.setSingleShot(true);
    FSettle.setInterval(SettleMs);
    connect(&FSettle, &QTimer::timeout, this, &TNormalPlacement::Settled);
    Window->installEventFilter(this);
    // A maximised state in one direction and new frame borders come without a
    // geometry change of the window itself.
    OnWindowManagerChange(Window, this, [this] { Note(); });
    Note();
}

namespace {
// Whether Window's frame spans the available area of its screen across and down.
// A pixel or two less still spans it: borders may be drawn outside.
std::pair<bool, bool> SpansArea(const QWidget* Window) {
    const QScreen* Screen = Window->screen();
    if (!Screen) return {false, false};
    constexpr int Slack = 2;
    const QRect Frame = Window->frameGeometry().adjusted(-Slack, -Slack, Slack, Slack);
    const QRect Area = Screen->availableGeometry();
    return {Frame.width() >= Area.width(), Frame.height() >= Area.height()};
}
} // namespace

bool TNormalPlacement::LooksMaximised(const QWidget* Window) {
    if (Window->windowState() & NotNormal) return true;
    const auto [Across, Down] = SpansArea(Window);
    if (Across && Down) return true;
    const std::optional<TMaximisedWays> Ways = WindowManagerMaximised(Window);
    return Ways && (Ways->Across || Ways->Down);
}

// The frame's corner from the borders the window manager reports now: the widget's
// own idea of them is only brought up to date when the window moves.
QRect TNormalPlacement::Current() const {
    const QMargins M = FrameMargins(FWindow);
    return QRect(FWindow->geometry().topLeft() - QPoint(M.left(), M.top()), FWindow->size());
}

QRect TNormalPlacement::Placement() const {
    // Just moved by the user, say: what is seen now counts before it has settled. A
    // hidden window keeps what was seen while it was shown.
    const bool Seen = FWindow->isVisible() || !FKept.isValid();
    if (Seen && !LooksMaximised(FWindow)) return Current();
    return FKept.isValid() ? FKept : FWindow->normalGeometry();
}

void TNormalPlacement::Note() {
    // Hidden, the window manager may have dropped its state: what was seen stands.
    if (!FWindow->isVisible()) return;
    if (LooksMaximised(FWindow)) {
        FSettle.stop();
        return;
    }
    const QRect Now = Current();
    const auto [Across, Down] = SpansArea(FWindow);
    if (!Across && !Down) {
        FSettle.stop();
        FKept = Now;
        return;
    }
    // As wide or as high as the area: maybe the first of two steps to the maximised
    // state. It counts once it has held for a while.
    if (FSettle.isActive() && Now == FCandidate) return;
    FCandidate = Now;
    FSettle.start();
}

void TNormalPlacement::Settled() {
    if (FWindow->isVisible() && !LooksMaximised(FWindow) && Current() == FCandidate) FKept = FCandidate;
}

bool TNormalPlacement::eventFilter(QObject* Watched, QEvent* E) {
    if (Watched == FWindow) {
        switch (E->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
        case QEvent::Show:
            Note();
            break;
        case QEvent::Hide:
            // A candidate not yet settled when the window goes does not count.
            FSettle.stop();
            break;
        default:
            break;
        }
    }
    return false;
}
