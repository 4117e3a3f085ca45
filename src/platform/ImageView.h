#pragma once
#include <QImage>
#include <QWidget>

// Shows a picture at a zoom factor, nearest neighbour, the way Windows image controls
// stretch their bitmap. Zooming changes only the view: the picture data
// stay as they are. Put it inside a QScrollArea (widgetResizable off).
//
// Both sides always share one factor. A page of text can be a hundred thousand
// pixels tall, so only the part of the view that is exposed is painted.
//
// The scroll area it is put into shows a focus frame while it has the keyboard.
class ImageView : public QWidget {
    Q_OBJECT
public:
    explicit ImageView(QWidget* Parent = nullptr);

    // The picture itself. After changing its pixels call Changed().
    QImage Picture;
    void SetPicture(const QImage& Image);
    // A new picture of the given size, filled with Fill (a Windows colour).
    void NewPicture(int Width, int Height, quint32 Fill);
    void Changed();

    // Size shown at zoom 1; by default the picture's own size (a 640 x 200 medium
    // resolution picture shows at 640 x 400, say).
    QSize BaseSize() const;
    void SetBaseSize(const QSize& Size);
    void ClearBaseSize();

    // Largest side of the view. Coordinates stay well inside what widgets, scroll
    // areas and the raster painter handle exactly (a widget may be at most 16777215
    // pixels, painter coordinates are exact up to 2^23).
    static constexpr int MaxViewSide = 1 << 22;

    double Zoom() const { return FZoom; }
    // The view becomes floor(side x Zoom) on both sides. A factor that would make a
    // side smaller than 1 or larger than MaxViewSide is refused: false, and nothing
    // changes.
    bool SetZoom(double Zoom);
    bool CanZoom(double Zoom) const;
    QSize ViewSize() const;

    // Picture pixel under a point of this widget (may lie outside the picture).
    QPoint MapToPicture(const QPoint& P) const;
    // The view's pixels in Area (view coordinates) as painted: each view pixel takes
    // the picture pixel MapToPicture gives. Outside the view stays white.
    QImage RenderArea(const QRect& Area) const;
    // View pixels that show the picture pixels of Rect.
    QRect MapFromPicture(const QRect& Rect) const;

    // A dotted focus rectangle along the inside of the view pixels of Rect (picture
    // coordinates), painted over the picture but never into it. An empty Rect: none.
    void SetFocusMark(const QRect& Rect);
    QRect FocusMark() const { return FFocusMark; }

signals:
    void MouseDown(QMouseEvent* Event);
    void MouseMove(QMouseEvent* Event);
    void MouseUp(QMouseEvent* Event);
    void DoubleClicked(QMouseEvent* Event);

protected:
    bool event(QEvent* E) override;
    void paintEvent(QPaintEvent* E) override;
    void mousePressEvent(QMouseEvent* E) override { emit MouseDown(E); }
    void mouseMoveEvent(QMouseEvent* E) override { emit MouseMove(E); }
    void mouseReleaseEvent(QMouseEvent* E) override { emit MouseUp(E); }
    void mouseDoubleClickEvent(QMouseEvent* E) override { emit DoubleClicked(E); }

private:
    static QSize Scaled(const QSize& Base, double Zoom);
    void UpdateSize();
    QSize FBaseSize;
    double FZoom = 1.0;
    QRect FFocusMark;
};
