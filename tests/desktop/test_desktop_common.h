#pragma once
// What the desktop tests share: a main window on a display with a window manager,
// and waiting for the window manager, which answers in its own time.
#include "shell/test_shell_common.h"

#include <QElapsedTimer>
#include <QThread>
#include <functional>

// Lets events run until Done says so or Ms have passed; Done's last answer.
inline bool WaitFor(const std::function<bool()>& Done, int Ms = 3000) {
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

inline QString RectText(const QRect& R) {
    return QStringLiteral("%1,%2 %3x%4").arg(R.x()).arg(R.y()).arg(R.width()).arg(R.height());
}
