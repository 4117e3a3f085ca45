#pragma once
// Driving modal dialogs, menus and the windows' own timers without a clock: the test
// acts from inside the dialog's own event loop, and a timer ticks when the test says
// so. Nothing here waits for time to pass, so a loaded machine changes nothing; only
// a modal window that no test expected is answered after a moment, and fails the test.
#include "FocusMark.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace drive {

// Calls Fn the next time events run: inside a modal dialog's loop, or when a long
// drawing lets events run.
inline void Soon(QObject* Context, std::function<void()> Fn) {
    QMetaObject::invokeMethod(Context, std::move(Fn), Qt::QueuedConnection);
}

// Set on a window that WhileModal drives, so that the guard below lets it be.
inline constexpr char ExpectedProperty[] = "driveExpected";

// Runs Open, which shows a modal dialog or a menu and waits in its own event loop;
// Act gets that window once it is shown, from inside its loop (with Every, each such
// window Open shows). A window Act leaves open is closed when the events Act started
// have run (a dialog then ends with -1), so a wrong answer fails the test instead of
// hanging it. How many windows came up.
inline int WhileModal(const std::function<void()>& Open, const std::function<void(QWidget*)>& Act,
                      bool Every = false) {
    struct TWatch : QObject {
        std::function<void(QWidget*)> Act;
        std::shared_ptr<bool> Over = std::make_shared<bool>(false);
        int Shown = 0;
        bool Every = false;
        // Rounds of posted events (queued closes, deferred clicks) before it counts as left open.
        static void CloseLeftOpen(std::shared_ptr<bool> Over, QPointer<QWidget> W, int Rounds) {
            if (*Over || !W || !W->isVisible()) return;
            if (Rounds > 0) return Soon(W, [=] { CloseLeftOpen(Over, W, Rounds - 1); });
            if (auto* D = qobject_cast<QDialog*>(W.data())) return D->done(-1);
            W->close();
        }
        bool eventFilter(QObject* O, QEvent* E) override {
            auto* W = qobject_cast<QWidget*>(O);
            if ((Shown && !Every) || E->type() != QEvent::Show || !W || !W->isWindow() ||
                !(W->isModal() || qobject_cast<QMenu*>(W)))
                return false;
            ++Shown;
            W->setProperty(ExpectedProperty, true);
            Soon(W, [Act = Act, Over = Over, W] {
                Act(W);
                CloseLeftOpen(Over, W, 16);
            });
            return false;
        }
    } Watch;
    Watch.Act = Act;
    Watch.Every = Every;
    qApp->installEventFilter(&Watch);
    Open();
    qApp->removeEventFilter(&Watch);
    *Watch.Over = true;
    return Watch.Shown;
}

// A modal window that no WhileModal drives fails the running test and is answered No or
// Cancel, instead of blocking until ctest's time limit; after a moment, as a test may
// close a dialog it opened itself from a timer.
class TUnexpectedModals : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* O, QEvent* E) override {
        auto* W = qobject_cast<QWidget*>(O);
        if (E->type() != QEvent::Show || !W || !W->isWindow() || W->windowModality() != Qt::ApplicationModal)
            return false;
        // Each showing is judged by itself: a check left from an earlier one does nothing.
        const int Showing = ++FShowings;
        if (!W->property(ExpectedProperty).toBool())
            QTimer::singleShot(250, W, [W, Showing] {
                if (W->isVisible() && W->property("showing").toInt() == Showing) Answer(W);
            });
        W->setProperty(ExpectedProperty, QVariant());
        W->setProperty("showing", Showing);
        return false;
    }

private:
    static void Answer(QWidget* W) {
        QStringList Texts;
        for (QLabel* L : W->findChildren<QLabel*>())
            if (L->isVisible() && !L->text().isEmpty()) Texts << L->text();
        ADD_FAILURE() << "Unexpected " << W->metaObject()->className() << " \""
                      << W->windowTitle().toStdString()
                      << "\": " << Texts.join(QStringLiteral(" | ")).toStdString();
        if (auto* Box = qobject_cast<QMessageBox*>(W))
            for (QMessageBox::StandardButton B : {QMessageBox::No, QMessageBox::Cancel})
                if (QAbstractButton* Button = Box->button(B)) return Button->click();
        if (auto* D = qobject_cast<QDialog*>(W)) return D->reject();
        W->close();
    }
    int FShowings = 0;
};

// Installs the guard for the whole test program.
inline void FailUnexpectedModals() {
    qApp->installEventFilter(new TUnexpectedModals(qApp));
}

// Key pressed and let go on W, as typed.
inline void Key(QWidget* W, int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
    for (QEvent::Type T : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent E(T, Key, Modifiers);
        QApplication::sendEvent(W, &E);
    }
}

// Key typed to the widget with the keyboard focus; the events it starts run.
inline void Type(int K, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
    QWidget* Focus = QApplication::focusWidget();
    ASSERT_NE(Focus, nullptr);
    Key(Focus, K, Modifiers);
    QApplication::processEvents();
}

// The control with the keyboard once the window manager has made Window the active window.
inline QWidget* Activated(QWidget* Window) {
    Window->activateWindow();
    QApplication::processEvents();
    return QApplication::focusWidget();
}

// Each widget takes the focus as by Tab; the names of those that then show no mark.
inline QStringList WithoutFocusMark(const QList<QWidget*>& Widgets) {
    QStringList Out;
    for (QWidget* W : Widgets) {
        QApplication::setActiveWindow(W->window());
        W->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        if (!W->hasFocus() || !FocusMarkShown(W)) Out << W->objectName();
    }
    return Out;
}

// One tick of a timer that a window owns, as if its interval had passed. The timer
// must be running, as it would be for the tick to come.
inline ::testing::AssertionResult Tick(QTimer* Timer) {
    if (!Timer || !Timer->isActive()) return ::testing::AssertionFailure() << "the timer is not running";
    QMetaObject::invokeMethod(Timer, "timeout", Qt::DirectConnection);
    return ::testing::AssertionSuccess();
}

} // namespace drive
