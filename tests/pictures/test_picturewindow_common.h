#pragma once
// Picture windows opened through the real main window.
#include "shell/test_shell_common.h"
#include "uChildWinGraphic.h"

class PictureWindowFixture : public OpenedMainWindow {
protected:
    TChildWinGraphic* Active() { return qobject_cast<TChildWinGraphic*>(Main->ActiveDocument()); }
    // A 640 x 384 page of four GR.8 pictures, opened as the join opens it.
    TChildWinGraphic* OpenJoined(const QString& Name, const QByteArray& Page) {
        MultiPicOpen = 1;
        MultiPicLayout = 2;
        MultiPicCount = 2;
        Main->OpenFiles({Write(Name, Page)});
        MultiPicOpen = 0;
        return Active();
    }
};
