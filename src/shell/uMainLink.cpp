#include "uMainLink.h"

namespace {
TMainWindowLink* TheMainWindow = nullptr;
}

TMainWindowLink* MainWindow() {
    return TheMainWindow;
}

void SetMainWindow(TMainWindowLink* Link) {
    TheMainWindow = Link;
}
