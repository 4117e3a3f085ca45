#include "FocusMark.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QEvent>
#include <QPainter>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolButton>

void DrawFocusMark(QPainter& Painter, const QRect& R, const QColor& Dots, const QColor& Gaps) {
    if (R.width() <= 0 || R.height() <= 0) return;
    const bool PaintGaps = Gaps.alpha() != 0;
    auto Dot = [&](int X, int Y) {
        const bool On = ((X - R.left() + Y - R.top()) & 1) == 0;
        if (On)
            Painter.fillRect(QRect(X, Y, 1, 1), Dots);
        else if (PaintGaps)
            Painter.fillRect(QRect(X, Y, 1, 1), Gaps);
    };
    for (int X = R.left(); X <= R.right(); ++X) {
        Dot(X, R.top());
        if (R.height() > 1) Dot(X, R.bottom());
    }
    for (int Y = R.top() + 1; Y < R.bottom(); ++Y) {
        Dot(R.left(), Y);
        if (R.width() > 1) Dot(R.right(), Y);
    }
}

namespace {
const char* const OverlayName = "focusMark";
const char* const RoomProperty = "focusFrameInMargins";

// Lies over its host, lets every mouse event through and paints only the mark, while
// the watched widget has the focus.
class TFocusOverlay : public QWidget {
public:
    enum TKind { Widget, ScrollFrame };

    TFocusOverlay(QWidget* Host, TKind Kind) : QWidget(Host), FKind(Kind) {
        setObjectName(QLatin1String(OverlayName));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        Host->installEventFilter(this);
        if (auto* Box = qobject_cast<QAbstractScrollArea*>(Host)) Box->viewport()->installEventFilter(this);
        Follow();
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* E) override {
        switch (E->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            if (Watched == parentWidget()) Follow();
            break;
        case QEvent::Resize:
        case QEvent::Move:
        case QEvent::LayoutRequest:
            if (!isHidden()) Place();
            break;
        default:
            break;
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        QPainter P(this);
        if (FKind == ScrollFrame) {
            // Two pixels in the selection colour and a white line inside: the frame
            // shows on grey, on white, on black and on the blue of a text page.
            const QColor Frame = parentWidget()->palette().color(QPalette::Active, QPalette::Highlight);
            P.setPen(Qt::NoPen);
            P.setBrush(Qt::NoBrush);
            const QRect R = rect();
            for (int I = 0; I < ScrollFocusFrameWidth; ++I) {
                const QRect Ring = R.adjusted(I, I, -I, -I);
                const QColor C = I < ScrollFocusFrameWidth - 1 ? Frame : QColor(Qt::white);
                P.fillRect(QRect(Ring.left(), Ring.top(), Ring.width(), 1), C);
                P.fillRect(QRect(Ring.left(), Ring.bottom(), Ring.width(), 1), C);
                P.fillRect(QRect(Ring.left(), Ring.top(), 1, Ring.height()), C);
                P.fillRect(QRect(Ring.right(), Ring.top(), 1, Ring.height()), C);
            }
            return;
        }
        DrawFocusMark(P, MarkRect(), Qt::white, Qt::transparent);
    }

private:
    void Follow() {
        if (parentWidget()->hasFocus()) {
            Place();
            show();
            raise();
        } else {
            hide();
        }
    }

    void Place() {
        QWidget* Host = parentWidget();
        if (auto* Box = qobject_cast<QAbstractScrollArea*>(Host); Box && FKind == ScrollFrame)
            setGeometry(Box->viewport()->geometry().adjusted(-Room(), -Room(), Room(), Room()));
        else
            setGeometry(Host->rect());
        update();
    }

    int Room() const { return parentWidget()->property(RoomProperty).toBool() ? ScrollFocusFrameWidth : 0; }

    QRect MarkRect() const {
        auto* B = qobject_cast<QAbstractButton*>(parentWidget());
        const bool Radio = qobject_cast<QRadioButton*>(B) != nullptr;
        if (B && (Radio || qobject_cast<QCheckBox*>(B))) {
            QStyleOptionButton Opt;
            Opt.initFrom(B);
            Opt.text = B->text();
            Opt.icon = B->icon();
            Opt.iconSize = B->iconSize();
            // Without a caption the style's mark hugs the indicator; it keeps some room.
            const bool Bare = B->text().isEmpty() && B->icon().isNull();
            const QStyle::SubElement Element =
                Bare ? (Radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator)
                     : (Radio ? QStyle::SE_RadioButtonFocusRect : QStyle::SE_CheckBoxFocusRect);
            QRect R = B->style()->subElementRect(Element, &Opt, B);
            if (Bare) R.adjust(-3, -3, 3, 3);
            if (R.isValid()) return R.intersected(rect());
        }
        return rect().adjusted(1, 1, -1, -1);
    }

    TKind FKind;
};

TFocusOverlay* OverlayOf(const QWidget* W) {
    return W ? W->findChild<TFocusOverlay*>(QLatin1String(OverlayName), Qt::FindDirectChildrenOnly) : nullptr;
}
} // namespace

void ShowFocusMark(QWidget* W) {
    if (W && !OverlayOf(W)) new TFocusOverlay(W, TFocusOverlay::Widget);
}

void ShowFocusMarks(QWidget* Panel) {
    if (!Panel) return;
    for (QAbstractButton* B : Panel->findChildren<QAbstractButton*>())
        if (qobject_cast<QToolButton*>(B) || qobject_cast<QRadioButton*>(B) || qobject_cast<QCheckBox*>(B))
            ShowFocusMark(B);
}

void ShowScrollFocusFrame(QAbstractScrollArea* Box) {
    if (Box && !OverlayOf(Box)) new TFocusOverlay(Box, TFocusOverlay::ScrollFrame);
}

void PutScrollFocusFrameInMargins(QAbstractScrollArea* Box) {
    if (!Box) return;
    // Placed when the box takes the focus.
    Box->setProperty(RoomProperty, true);
}

bool FocusMarkShown(const QWidget* W) {
    const TFocusOverlay* Overlay = OverlayOf(W);
    return Overlay && !Overlay->isHidden();
}
