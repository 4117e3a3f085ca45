#include "ImageView.h"

#include "FocusMark.h"
#include "WinColor.h"

#include <QAbstractScrollArea>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// Rounds toward minus infinity, as a pixel grid does.
qint64 FloorDiv(qint64 A, qint64 B) {
    const qint64 Q = A / B;
    return (A % B != 0 && ((A < 0) != (B < 0))) ? Q - 1 : Q;
}

// One side of the view at Zoom. The small allowance keeps an exact product (a power
// of two times a side) from falling a pixel short through rounding.
qint64 ScaledSide(int Side, double Zoom) {
    const double S = std::floor(double(Side) * Zoom + 1e-9);
    if (!(S >= 0)) return 0;
    return S > 1e15 ? qint64(1e15) : qint64(S);
}

bool Showable(const QSize& Base, double Zoom) {
    if (!std::isfinite(Zoom) || Zoom <= 0) return false;
    const qint64 W = ScaledSide(Base.width(), Zoom), H = ScaledSide(Base.height(), Zoom);
    return W >= 1 && H >= 1 && W <= ImageView::MaxViewSide && H <= ImageView::MaxViewSide;
}
} // namespace

ImageView::ImageView(QWidget* Parent) : QWidget(Parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    UpdateSize();
}

void ImageView::SetPicture(const QImage& Image) {
    Picture = Image.format() == QImage::Format_RGB32 ? Image : Image.convertToFormat(QImage::Format_RGB32);
    Changed();
}

void ImageView::NewPicture(int Width, int Height, quint32 Fill) {
    Picture = QImage(std::max(1, Width), std::max(1, Height), QImage::Format_RGB32);
    Picture.fill(WinColorToQColor(Fill));
    Changed();
}

void ImageView::Changed() {
    UpdateSize();
    update();
}

QSize ImageView::BaseSize() const {
    if (FBaseSize.isValid() && !FBaseSize.isEmpty()) return FBaseSize;
    return Picture.isNull() ? QSize(1, 1) : Picture.size();
}

void ImageView::SetBaseSize(const QSize& Size) {
    FBaseSize = Size;
    UpdateSize();
    update();
}

void ImageView::ClearBaseSize() {
    FBaseSize = QSize();
    UpdateSize();
    update();
}

QSize ImageView::Scaled(const QSize& Base, double Zoom) {
    const auto Side = [Zoom](int V) {
        return int(std::clamp<qint64>(ScaledSide(V, Zoom), 1, qint64(MaxViewSide)));
    };
    return QSize(Side(Base.width()), Side(Base.height()));
}

QSize ImageView::ViewSize() const {
    return Scaled(BaseSize(), FZoom);
}

bool ImageView::CanZoom(double Zoom) const {
    return Showable(BaseSize(), Zoom);
}

bool ImageView::SetZoom(double Zoom) {
    if (!CanZoom(Zoom)) return false;
    FZoom = Zoom;
    UpdateSize();
    update();
    return true;
}

void ImageView::UpdateSize() {
    // A new picture may not fit the factor it inherits: the factor changes, for both
    // sides alike, just enough to show it.
    const QSize B = BaseSize();
    if (!Showable(B, FZoom)) {
        const int Largest = std::max(B.width(), B.height()), Smallest = std::min(B.width(), B.height());
        if (ScaledSide(Largest, FZoom) > MaxViewSide)
            FZoom = double(MaxViewSide) / Largest;
        else if (ScaledSide(Smallest, FZoom) < 1)
            FZoom = 1.0 / std::max(1, Smallest);
    }
    setFixedSize(ViewSize());
}

QPoint ImageView::MapToPicture(const QPoint& P) const {
    if (Picture.isNull()) return QPoint(-1, -1);
    const QSize V = ViewSize();
    return QPoint(int(FloorDiv(qint64(P.x()) * Picture.width(), V.width())),
                  int(FloorDiv(qint64(P.y()) * Picture.height(), V.height())));
}

QImage ImageView::RenderArea(const QRect& Area) const {
    QImage Out(std::max(1, Area.width()), std::max(1, Area.height()), QImage::Format_RGB32);
    Out.fill(Qt::white);
    const QRect Shown = Area.intersected(QRect(QPoint(0, 0), ViewSize()));
    if (Picture.isNull() || Shown.isEmpty()) return Out;
    const QImage Source =
        Picture.format() == QImage::Format_RGB32 || Picture.format() == QImage::Format_ARGB32
            ? Picture
            : Picture.convertToFormat(QImage::Format_RGB32);
    const QSize V = ViewSize();
    const qint64 PW = Source.width(), PH = Source.height();
    // Source column of every shown view column, worked out once per paint.
    std::vector<int> Columns(size_t(Shown.width()));
    for (int X = 0; X < Shown.width(); ++X)
        Columns[size_t(X)] = int(std::clamp<qint64>((qint64(Shown.left()) + X) * PW / V.width(), 0, PW - 1));
    int LastRow = -1;
    const QRgb* LastOut = nullptr;
    for (int Y = Shown.top(); Y <= Shown.bottom(); ++Y) {
        const int Row = int(std::clamp<qint64>(qint64(Y) * PH / V.height(), 0, PH - 1));
        QRgb* Dst = reinterpret_cast<QRgb*>(Out.scanLine(Y - Area.top())) + (Shown.left() - Area.left());
        if (Row == LastRow) {
            // An enlarged view repeats source rows.
            std::copy_n(LastOut, Shown.width(), Dst);
            continue;
        }
        const QRgb* Src = reinterpret_cast<const QRgb*>(Source.constScanLine(Row));
        for (int X = 0; X < Shown.width(); ++X) Dst[X] = Src[Columns[size_t(X)]] | 0xFF000000u;
        LastRow = Row;
        LastOut = Dst;
    }
    return Out;
}

QRect ImageView::MapFromPicture(const QRect& Rect) const {
    if (Picture.isNull() || Rect.isEmpty()) return QRect();
    const QSize V = ViewSize();
    const qint64 PW = Picture.width(), PH = Picture.height();
    // View column X shows picture column X * PW / VW (rounded down): picture column C
    // starts at the first X with X * PW >= C * VW.
    const auto First = [](qint64 C, qint64 ViewSide, qint64 PicSide) {
        return int(std::clamp<qint64>(-FloorDiv(-C * ViewSide, PicSide), 0, ViewSide));
    };
    const int L = First(Rect.left(), V.width(), PW), R = First(qint64(Rect.right()) + 1, V.width(), PW);
    const int T = First(Rect.top(), V.height(), PH), B = First(qint64(Rect.bottom()) + 1, V.height(), PH);
    return QRect(QPoint(L, T), QPoint(R - 1, B - 1));
}

void ImageView::SetFocusMark(const QRect& Rect) {
    const QRect New = Rect.isEmpty() ? QRect() : Rect;
    if (New == FFocusMark) return;
    update(MapFromPicture(FFocusMark));
    FFocusMark = New;
    update(MapFromPicture(FFocusMark));
}

bool ImageView::event(QEvent* E) {
    if (E->type() == QEvent::ParentChange) {
        // Put into a scroll area: the area shows when it has the keyboard.
        QWidget* Port = parentWidget();
        auto* Box = Port ? qobject_cast<QAbstractScrollArea*>(Port->parentWidget()) : nullptr;
        if (Box && Box->viewport() == Port) ShowScrollFocusFrame(Box);
    }
    return QWidget::event(E);
}

void ImageView::paintEvent(QPaintEvent* E) {
    QPainter Painter(this);
    // Only what is exposed: a long page is never scaled as a whole.
    const QRect Area = E->rect().intersected(rect());
    if (Area.isEmpty()) return;
    Painter.drawImage(Area.topLeft(), RenderArea(Area));
    const QRect Mark = MapFromPicture(FFocusMark);
    if (Mark.intersects(Area)) DrawFocusMark(Painter, Mark, Qt::black, Qt::white);
}
