#pragma once
// The window manager and the X server asked behind Qt's back, on a connection of the test's own.
#include <QList>
#include <QtGlobal>

class QWidget;

// Asks the window manager to maximise W, or to make it normal, as the title bar's button does.
void AskWindowManagerToMaximise(const QWidget* W, bool Maximise);

// The visible ones of Windows, topmost first, as the window manager has stacked their frames.
QList<const QWidget*> StackedTopFirst(const QList<const QWidget*>& Windows);
