#pragma once
// Dialogs of a fixed size: each showing starts centred on the parent window with
// the keyboard on the dialog's first control, and one that must stay usable on a
// screen too small for it (a small screen, a large scale factor) scrolls so that
// every control can be reached.

#include <QSize>

class QDialog;
class QWidget;

// The widget a dialog of fixed size Size lays its controls out on. Where the
// screen has room, the dialog is exactly Size, of fixed size, as it always was.
// Where it has not, the dialog is shown as large as the screen's available area
// allows with its frame, and the body scrolls inside it. Each time the dialog is
// shown it is placed as by PlaceOnEachShowing.
QWidget* NewDialogBody(QDialog* Dialog, const QSize& Size);

// Each time Dialog is shown its frame is centred on its parent window's frame
// (on the screen without a visible parent), whole inside the screen's available
// area, wherever the parent has moved since the last showing.
void PlaceOnEachShowing(QDialog* Dialog);

// Dialog's frame centred on its parent window's frame now (on the screen without a
// visible parent), whole inside the screen's available area: for a dialog whose size
// comes from its layout, called when it is shown.
void CentreOnParent(QWidget* Dialog);

// Each time Dialog is shown the keyboard focus starts on First, not where the
// last showing left it (a long-lived question must not open on its last answer).
void FocusOnEachShowing(QDialog* Dialog, QWidget* First);
