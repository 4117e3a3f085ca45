#pragma once
// What a user or a pager does through the window manager, behind Qt's back, and
// what the X server says of the windows: on a connection of the test's own.
#include <QList>
#include <QtGlobal>

class QWidget;

// Asks the window manager, as a user's click on the title bar's button does, to
// maximise W (or to make it normal again).
void AskWindowManagerToMaximise(const QWidget* W, bool Maximise);

// The windows of Windows that are on the screen, topmost first, in the order in
// which the window manager has stacked their frames.
QList<const QWidget*> StackedTopFirst(const QList<const QWidget*>& Windows);
