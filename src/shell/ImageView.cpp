#include "ImageView.h"

#include "WinColor.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

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
    if (FBaseSize.isValid()) return FBaseSize;
    return Picture.isNull() ? QSize(1, 1) : Picture.size();
}

void ImageView::SetBaseSize(const QSize& Size) {
    FBaseSize = Size;
    UpdateSize();
}

void ImageView::ClearBaseSize() {
    FBaseSize = QSize();
    UpdateSize();
}

QSize ImageView::ViewSize() const {
    const QSize B = BaseSize();
    auto Side = [this](int V) {
        double S = std::floor(V * FZoom);
        return int(std::clamp(S, 1.0, double(MaxViewSide)));
    };
    return QSize(Side(B.width()), Side(B.height()));
}

void ImageView::SetZoom(double Zoom) {
    const QSize B = BaseSize();
    const int Largest = std::max(B.width(), B.height());
    const int Smallest = std::max(1, std::min(B.width(), B.height()));
    const double Max = double(MaxViewSide) / std::max(1, Largest);
    const double Min = 1.0 / Smallest;
    if (!std::isfinite(Zoom)) return;
    FZoom = std::clamp(Zoom, std::min(Min, Max), Max);
    UpdateSize();
    update();
}

void ImageView::UpdateSize() {
    setFixedSize(ViewSize());
}

QPoint ImageView::MapToPicture(const QPoint& P) const {
    if (Picture.isNull()) return QPoint(-1, -1);
    const QSize V = ViewSize();
    const int X = int(std::floor(double(P.x()) * Picture.width() / V.width()));
    const int Y = int(std::floor(double(P.y()) * Picture.height() / V.height()));
    return QPoint(X, Y);
}

void ImageView::paintEvent(QPaintEvent*) {
    QPainter Painter(this);
    if (Picture.isNull()) {
        Painter.fillRect(rect(), Qt::white);
        return;
    }
    Painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    Painter.drawImage(QRect(QPoint(0, 0), ViewSize()), Picture);
}
