#include "DialogBody.h"

#include "FramePlacement.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <optional>

namespace {
// The smallest a cut dialog becomes; below this nothing can be used anyway.
constexpr int MinSide = 120;

// Where a dialog is placed: its parent window (none when hidden), the available area
// of the screen it shows on, and the dialog's frame borders; until the window manager
// has framed the dialog, its frame is taken to be the one of its parent window.
struct TRoom {
    QWidget* Parent = nullptr;
    QRect Available;
    QMargins Borders;
};

std::optional<TRoom> RoomOf(QWidget* Dialog) {
    TRoom R;
    QWidget* Owner = Dialog->parentWidget() ? Dialog->parentWidget()->window() : nullptr;
    if (Owner && Owner->isVisible()) R.Parent = Owner;
    QScreen* Screen = R.Parent ? R.Parent->screen() : Dialog->screen();
    if (!Screen) Screen = QGuiApplication::primaryScreen();
    if (!Screen) return std::nullopt;
    R.Available = Screen->availableGeometry();
    R.Borders = FrameMargins(Dialog);
    if (R.Borders.isNull() && R.Parent) R.Borders = FrameMargins(R.Parent);
    return R;
}

// Centred anew at every showing: the parent may have moved in between.
void PlaceCentred(QWidget* Dialog, const TRoom& R, const QSize& Client) {
    // The parent's frame as the window manager last told it: the widget's own idea of
    // the borders is only brought up to date when it moves.
    const QWindow* ParentHandle = R.Parent ? R.Parent->windowHandle() : nullptr;
    const QRect Around = ParentHandle ? ParentHandle->frameGeometry()
                         : R.Parent   ? R.Parent->frameGeometry()
                                      : R.Available;
    QRect Frame(QPoint(0, 0), Client.grownBy(R.Borders));
    Frame.moveCenter(Around.center());
    // The dialog's own borders may differ from the guess (no resize handle, say).
    PlaceFrameInside(Dialog, FitFrameToArea(Frame, R.Available).topLeft(), Client, R.Available,
                     Around.center());
}

// Sizes a dialog to the screen (with its body scrolling where the screen is too
// small; without a body, the dialog's own fixed size) and centres it on its parent
// window, at every showing.
class TDialogFitter : public QObject {
public:
    TDialogFitter(QDialog* Dialog, QScrollArea* Area, const QSize& Size)
        : QObject(Dialog), FDialog(Dialog), FArea(Area), FSize(Size) {
        Dialog->installEventFilter(this);
        Dialog->setFixedSize(Size);
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* E) override {
        if (Watched == FDialog && E->type() == QEvent::Show) Fit();
        return false;
    }

private:
    void Fit() {
        const std::optional<TRoom> R = RoomOf(FDialog);
        if (!R) return;
        const QSize Room = R->Available.size().shrunkBy(R->Borders);
        QSize Client = FSize;
        if (!FArea || (FSize.width() <= Room.width() && FSize.height() <= Room.height())) {
            FDialog->setMinimumSize(FSize);
            FDialog->setMaximumSize(FSize);
        } else {
            // A scroll bar takes room from the other direction.
            const int Bar = FDialog->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, FArea);
            const bool CutHeight = FSize.height() > Room.height();
            const bool CutWidth = FSize.width() + (CutHeight ? Bar : 0) > Room.width();
            const QSize Whole(FSize.width() + (CutHeight ? Bar : 0), FSize.height() + (CutWidth ? Bar : 0));
            Client = Whole.boundedTo(Room).expandedTo(QSize(MinSide, MinSide));
            FDialog->setMinimumSize(QSize(MinSide, MinSide).boundedTo(Client));
            FDialog->setMaximumSize(Whole);
        }
        PlaceCentred(FDialog, *R, Client);
    }

    QDialog* FDialog;
    QScrollArea* FArea;
    QSize FSize;
};

class TFocusOnShow : public QObject {
public:
    TFocusOnShow(QDialog* Dialog, QWidget* First) : QObject(Dialog), FDialog(Dialog), FFirst(First) {
        Dialog->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* E) override {
        // Before the dialog becomes active, so activation hands the focus to First.
        if (Watched == FDialog && E->type() == QEvent::Show && FFirst && FFirst->isEnabled())
            FFirst->setFocus(Qt::OtherFocusReason);
        return false;
    }

private:
    QDialog* FDialog;
    QPointer<QWidget> FFirst;
};
} // namespace

QWidget* NewDialogBody(QDialog* Dialog, const QSize& Size) {
    auto* Area = new QScrollArea(Dialog);
    Area->setObjectName(QStringLiteral("scrDialogBody"));
    Area->setFrameShape(QFrame::NoFrame);
    // The focus goes to the controls as before; Tab scrolls the one it reaches into view.
    Area->setFocusPolicy(Qt::NoFocus);
    Area->setWidgetResizable(false);
    Area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The dialog's own background shows through, as if there were no scroll box.
    Area->setAutoFillBackground(false);
    Area->viewport()->setAutoFillBackground(false);
    auto* Body = new QWidget;
    Body->setObjectName(QStringLiteral("pnlDialogBody"));
    Body->setFixedSize(Size);
    Area->setWidget(Body);
    auto* Layout = new QVBoxLayout(Dialog);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);
    Layout->addWidget(Area);
    new TDialogFitter(Dialog, Area, Size);
    return Body;
}

void PlaceOnEachShowing(QDialog* Dialog) {
    new TDialogFitter(Dialog, nullptr, Dialog->size());
}

void FocusOnEachShowing(QDialog* Dialog, QWidget* First) {
    new TFocusOnShow(Dialog, First);
}

void CentreOnParent(QWidget* Dialog) {
    if (const std::optional<TRoom> R = RoomOf(Dialog)) PlaceCentred(Dialog, *R, Dialog->size());
}
