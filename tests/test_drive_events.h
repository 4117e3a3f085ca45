#pragma once
// Driving modal dialogs, menus and the windows' own timers without a clock: the
// test acts from inside the dialog's own event loop, and a timer ticks when the
// test says so. Nothing here waits for time to pass, so a loaded machine changes
// nothing.
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace drive {

// Calls Fn the next time events run: inside a modal dialog's loop, or when a long
// drawing lets events run. Never before the caller returns to an event loop.
inline void Soon(QObject* Context, std::function<void()> Fn) {
    QMetaObject::invokeMethod(Context, std::move(Fn), Qt::QueuedConnection);
}

// Runs Open, which shows a modal dialog or a menu and waits in its own event loop;
// Act gets that window once it is shown, from inside its loop. A window that Act
// leaves open is closed once the events Act started have run (a dialog then ends
// with -1), so a wrong answer fails the test instead of hanging it. Returns whether
// a window came up.
inline bool WhileModal(const std::function<void()>& Open, const std::function<void(QWidget*)>& Act) {
    struct TState {
        std::function<void(QWidget*)> Act;
        bool Over = false;
    };
    // Rounds of posted events that Act's own follow-ups (queued closes, deferred
    // clicks) may take before the window counts as left open.
    constexpr int FollowUpRounds = 16;
    struct TLeftOpen {
        std::shared_ptr<TState> State;
        QPointer<QWidget> Window;
        int Rounds;
        void operator()() const {
            if (State->Over || !Window || !Window->isVisible()) return;
            if (Rounds > 0) {
                Soon(Window, TLeftOpen{State, Window, Rounds - 1});
            } else if (auto* D = qobject_cast<QDialog*>(Window.data())) {
                D->done(-1);
            } else {
                Window->close();
            }
        }
    };
    struct TWatch : QObject {
        std::shared_ptr<TState> State;
        bool Shown = false;
        bool eventFilter(QObject* O, QEvent* E) override {
            auto* W = qobject_cast<QWidget*>(O);
            if (Shown || E->type() != QEvent::Show || !W || !W->isWindow() ||
                !(W->isModal() || qobject_cast<QMenu*>(W)))
                return false;
            Shown = true;
            Soon(W, [State = State, W] {
                State->Act(W);
                TLeftOpen{State, W, FollowUpRounds}();
            });
            return false;
        }
    } Watch;
    Watch.State = std::make_shared<TState>();
    Watch.State->Act = Act;
    qApp->installEventFilter(&Watch);
    Open();
    qApp->removeEventFilter(&Watch);
    Watch.State->Over = true;
    return Watch.Shown;
}

// One tick of a timer that a window owns, as if its interval had passed. The timer
// must be running, as it would be for the tick to come.
inline ::testing::AssertionResult Tick(QTimer* Timer) {
    if (!Timer) return ::testing::AssertionFailure() << "no timer";
    if (!Timer->isActive())
        return ::testing::AssertionFailure() << Timer->objectName().toStdString() << " is not running";
    QMetaObject::invokeMethod(Timer, "timeout", Qt::DirectConnection);
    return ::testing::AssertionSuccess();
}

} // namespace drive
