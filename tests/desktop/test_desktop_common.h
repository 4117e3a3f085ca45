#pragma once
// What the desktop tests share: a main window on a display with a window manager,
// and waiting for the window manager, which answers in its own time.
#include "FramePlacement.h"
#include "shell/test_shell_common.h"

#include <QElapsedTimer>
#include <QThread>
#include <QWindow>
#include <functional>

// Lets events run until Done says so or Ms have passed; Done's last answer. The
// limit is generous: a loaded machine can keep the window manager waiting for seconds.
inline bool WaitFor(const std::function<bool()>& Done, int Ms = 10000) {
    QElapsedTimer Clock;
    Clock.start();
    while (!Done()) {
        if (Clock.elapsed() > Ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

// Lets events run for Ms.
inline void Settle(int Ms) {
    WaitFor([] { return false; }, Ms);
}

// Waits until the window manager has framed W and its placement is done, then a little more.
inline bool Framed(QWidget* W) {
    const bool Done = WaitFor([W] { return !FrameMargins(W).isNull() && !FramePlacementPending(W); });
    Settle(100);
    return Done;
}

// The frame of W, title bar included, on the screen.
inline QRect FrameOf(QWidget* W) {
    return W->windowHandle()->frameGeometry();
}

inline QString RectText(const QRect& R) {
    return QStringLiteral("%1,%2 %3x%4").arg(R.x()).arg(R.y()).arg(R.width()).arg(R.height());
}

// Whether Inner's frame is centred on Outer's, to a pixel each way (the halves of an odd size).
inline ::testing::AssertionResult FrameCentredOn(QWidget* Inner, QWidget* Outer) {
    const QPoint Off = FrameOf(Inner).center() - FrameOf(Outer).center();
    if (std::abs(Off.x()) <= 1 && std::abs(Off.y()) <= 1) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << RectText(FrameOf(Inner)).toStdString() << " is not centred on "
                                         << RectText(FrameOf(Outer)).toStdString();
}
