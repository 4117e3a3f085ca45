#include "MdiArrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStyleOptionTitleBar>
#include <algorithm>
#include <cmath>

namespace {
int ArrangeIconsIn(QMdiArea* Area, const QSize& Room) {
    QList<QMdiSubWindow*> Icons;
    QSize Cell(1, 0);
    for (QMdiSubWindow* W : Area->subWindowList(Area->activationOrder()))
        if (W->isVisible() && W->isMinimized()) {
            Icons << W;
            Cell = Cell.expandedTo(W->size());
        }
    if (Icons.isEmpty()) return 0;
    const int Columns = std::max(1, Room.width() / Cell.width());
    const int Rows = (int(Icons.size()) + Columns - 1) / Columns;
    for (int I = 0; I < Icons.size(); ++I)
        Icons[I]->move(I % Columns * Cell.width(), Room.height() - (I / Columns + 1) * Cell.height());
    return Rows * Cell.height();
}

// The windows to tile or cascade in Order, normal again; the room they get above
// the icons. Once every window lies inside, the area shows no scroll bars, so the
// room is the viewport without them.
QList<QMdiSubWindow*> PrepareArrange(QMdiArea* Area, QMdiArea::WindowOrder Order, QSize& Room) {
    QList<QMdiSubWindow*> Windows;
    for (QMdiSubWindow* W : Area->subWindowList(Order))
        if (W->isVisible() && !W->isMinimized()) Windows << W;
    for (QMdiSubWindow* W : Windows)
        if (W->isMaximized()) W->showNormal();
    // Scrolled contents would move back by the scroll offset when the bars go.
    Area->horizontalScrollBar()->setValue(0);
    Area->verticalScrollBar()->setValue(0);
    Room = Area->maximumViewportSize();
    Room.rheight() = std::max(1, Room.height() - ArrangeIconsIn(Area, Room));
    return Windows;
}
} // namespace

int ArrangeIcons(QMdiArea* Area) {
    return ArrangeIconsIn(Area, Area->viewport()->size());
}

void TileHorizontally(QMdiArea* Area) {
    QSize Room;
    const QList<QMdiSubWindow*> Windows = PrepareArrange(Area, QMdiArea::CreationOrder, Room);
    const int Count = int(Windows.size());
    if (Count == 0) return;
    const int Columns = std::max(1, int(std::sqrt(double(Count))));
    const int Short = Count / Columns, Longer = Count % Columns;
    int Index = 0;
    for (int C = 0; C < Columns; ++C) {
        const int Rows = Short + (C >= Columns - Longer ? 1 : 0);
        const int Left = C * Room.width() / Columns, Right = (C + 1) * Room.width() / Columns;
        for (int R = 0; R < Rows; ++R) {
            const int Top = R * Room.height() / Rows, Bottom = (R + 1) * Room.height() / Rows;
            Windows[Index++]->setGeometry(Left, Top, Right - Left, Bottom - Top);
        }
    }
}

void Cascade(QMdiArea* Area) {
    QSize Room;
    // From the bottom of the stack, so the active window ends in front.
    const QList<QMdiSubWindow*> Windows = PrepareArrange(Area, QMdiArea::StackingOrder, Room);
    const int Count = int(Windows.size());
    if (Count == 0) return;
    QStyleOptionTitleBar Option;
    Option.initFrom(Windows[0]);
    const int Step =
        std::max(1, Windows[0]->style()->pixelMetric(QStyle::PM_TitleBarHeight, &Option, Windows[0]));
    // One size for all: the area less the steps of the whole cascade, but never
    // less than half the area (nor than a frame can shrink to), with fewer
    // steps before the cascade starts again.
    QSize Least = Room / 2;
    for (QMdiSubWindow* W : Windows) Least = Least.expandedTo(W->minimumSizeHint());
    const QSize Size = (Room - QSize(Step, Step) * (Count - 1)).expandedTo(Least).boundedTo(Room);
    const int Steps =
        1 + std::min((Room.width() - Size.width()) / Step, (Room.height() - Size.height()) / Step);
    for (int I = 0; I < Count; ++I) {
        const int Offset = I % Steps * Step;
        Windows[I]->setGeometry(Offset, Offset, Size.width(), Size.height());
    }
}
