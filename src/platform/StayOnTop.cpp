#include "StayOnTop.h"

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <QWindow>

namespace {
class TModalYield : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* Watched, QEvent* E) override {
        const bool Blocked = E->type() == QEvent::WindowBlocked;
        if (Blocked || E->type() == QEvent::WindowUnblocked) {
            // Only the native window's flag: the widget's setWindowFlags would hide it.
            if (QWindow* Handle = static_cast<QWidget*>(Watched)->windowHandle())
                Handle->setFlag(Qt::WindowStaysOnTopHint, !Blocked);
        }
        return false;
    }
};
} // namespace

void StayOnTopBelowModals(QWidget* Window) {
    Window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    Window->installEventFilter(new TModalYield(Window));
}
