#pragma once
// The keyboard focus made visible where the style's own mark cannot be seen: on the
// dark blue tool panels, around a scroll box, on one cell of a picture. The mark is
// the system focus rectangle's dotted line, in colours that show on its background.
#include <QColor>
#include <QRect>

class QAbstractScrollArea;
class QPainter;
class QWidget;

// A dotted one-pixel rectangle along the inside of R: the dots alternate between
// Dots and Gaps (Qt::transparent leaves the gaps as they are), starting with Dots at
// the top-left corner.
void DrawFocusMark(QPainter& Painter, const QRect& R, const QColor& Dots, const QColor& Gaps);

// While W has the focus a white dotted rectangle lies over it, one pixel inside its
// edge; for a check box or radio button around its caption, where the style puts its
// own mark. Does nothing when W has one already.
void ShowFocusMark(QWidget* W);
// The same for every tool button, check box and radio button inside Panel.
void ShowFocusMarks(QWidget* Panel);
// While Box has the focus, a frame in the selection colour with a white line inside
// lies along the edge of what it shows, so it can be seen on any picture or background.
void ShowScrollFocusFrame(QAbstractScrollArea* Box);
// The width of that frame.
constexpr int ScrollFocusFrameWidth = 3;
// Box keeps viewport margins of that width on every side: its frame lies in them,
// around what it shows, instead of over it.
void PutScrollFocusFrameInMargins(QAbstractScrollArea* Box);
// Whether a mark of these functions shows on W now.
bool FocusMarkShown(const QWidget* W);
