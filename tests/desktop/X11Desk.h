#pragma once
// The window manager and the X server asked behind Qt's back, on a connection of the test's own.
#include <QList>
#include <QMargins>
#include <QtGlobal>

class QWidget;

enum class TWays { Both, Across, Down };

// Asks the window manager to maximise W (one way or both) or to make it normal, as a title bar can.
void AskWindowManagerToMaximise(const QWidget* W, bool Maximise, TWays Ways = TWays::Both);

// Tells W's frame borders as a window manager does (_NET_FRAME_EXTENTS), without moving anything.
void ReportFrameBorders(const QWidget* W, const QMargins& Borders);

// The window W is a transient for (WM_TRANSIENT_FOR), 0 for none.
unsigned long TransientFor(const QWidget* W);

// The visible ones of Windows, topmost first, as the window manager has stacked their frames.
QList<const QWidget*> StackedTopFirst(const QList<const QWidget*>& Windows);
