#include "StayAboveOwner.h"

#include <QWidget>

void StayAboveOwner(QWidget* Window, QWidget* Owner) {
    QWidget* OwnerWindow = Owner ? Owner->window() : nullptr;
    Qt::WindowFlags Flags = (Window->windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool;
    Flags &= ~Qt::WindowStaysOnTopHint;
    if (Window->parentWidget() != OwnerWindow)
        Window->setParent(OwnerWindow, Flags);
    else
        Window->setWindowFlags(Flags);
}
