#pragma once
// Dialogs of a fixed size that must stay usable on a screen too small for them (a
// small screen, a large scale factor): every control can be reached.

#include <QSize>

class QDialog;
class QWidget;

// The widget a dialog of fixed size Size lays its controls out on. Where the
// screen has room, the dialog is exactly Size, of fixed size, as it always was.
// Where it has not, the dialog is shown as large as the screen's available area
// allows with its frame, and the body scrolls inside it. Each time the dialog is
// shown it is centred on its parent window (the screen without one) with its whole
// frame inside the available area.
QWidget* NewDialogBody(QDialog* Dialog, const QSize& Size);
