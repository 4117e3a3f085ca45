#include "MdiArrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <cmath>

void TileHorizontally(QMdiArea* Area) {
    QList<QMdiSubWindow*> Windows;
    int IconRow = 0;
    for (QMdiSubWindow* W : Area->subWindowList(QMdiArea::CreationOrder)) {
        if (!W->isVisible()) continue;
        if (W->isMinimized())
            IconRow = std::max(IconRow, W->height());
        else
            Windows << W;
    }
    const int Count = int(Windows.size());
    if (Count == 0) return;
    for (QMdiSubWindow* W : Windows)
        if (W->isMaximized()) W->showNormal();
    // Once every window lies inside, the area shows no scroll bars.
    // Minimised windows keep their row at the bottom.
    const QSize Room = Area->maximumViewportSize() - QSize(0, IconRow);
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
