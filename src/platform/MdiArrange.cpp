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
    // From the bottom of the stack to the active window, which comes last.
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
    const int Down = std::max(1, 1 + (Room.height() - Size.height()) / Step);
    const int Across = std::max(0, (Room.width() - Size.width()) / Step);
    // Windows that do not fit on one diagonal go onto diagonals behind it, each one
    // shift further right and one place shorter: none lies exactly under another,
    // and the active window at the front diagonal's last place covers no title bar.
    // A window behind shows the right end of its title bar, so a shift is its
    // buttons and one step more: a piece of title to click, not the close button
    // alone. As many windows per diagonal as the area's width allows for the shifts.
    Option.rect = QRect(0, 0, Size.width(), Step);
    Option.titleBarFlags = Windows[0]->windowFlags();
    int ButtonsLeft = Size.width();
    for (const auto Button : {QStyle::SC_TitleBarMinButton, QStyle::SC_TitleBarMaxButton,
                              QStyle::SC_TitleBarNormalButton, QStyle::SC_TitleBarCloseButton}) {
        const QRect R = Windows[0]->style()->subControlRect(QStyle::CC_TitleBar, &Option, Button, Windows[0]);
        if (R.isValid() && R.left() > 0) ButtonsLeft = std::min(ButtonsLeft, R.left());
    }
    auto Behind = [](int PerRound) { return std::max(1, PerRound - 1); };
    auto Rounds = [Count, &Behind](int PerRound) {
        return 1 + (std::max(0, Count - PerRound) + Behind(PerRound) - 1) / Behind(PerRound);
    };
    auto Width = [&Rounds](int PerRound, int Shift) { return PerRound - 1 + (Rounds(PerRound) - 1) * Shift; };
    // Where that does not fit, a shorter shift, down to one step.
    int Shift = 1 + (Size.width() - ButtonsLeft + Step - 1) / Step, PerRound = 1;
    for (;; --Shift) {
        PerRound = std::min(Down, Count);
        while (PerRound > 1 && Width(PerRound, Shift) > Across) --PerRound;
        if (Width(PerRound, Shift) <= Across || Shift == 1) break;
    }
    if (Width(PerRound, Shift) > Across) PerRound = std::min(Down, Count);
    // Too many rounds for the width: the shifts start again at the left.
    const int Shifts = 1 + std::max(0, Across - (PerRound - 1)) / Shift;
    for (int I = 0; I < Count; ++I) {
        // Counted from the front: the active window takes the front diagonal's last place.
        const int FromFront = Count - 1 - I;
        int Round = 0, Index = FromFront, InRound = PerRound;
        if (FromFront >= PerRound) {
            const int Back = FromFront - PerRound, Length = Behind(PerRound);
            Round = 1 + Back / Length;
            Index = Back % Length;
            InRound = std::min(Length, Count - PerRound - (Round - 1) * Length);
        }
        const int Place = InRound - 1 - Index;
        Windows[I]->setGeometry((Place + Round % Shifts * Shift) * Step, Place * Step, Size.width(),
                                Size.height());
    }
}
