#pragma once
#include <QImage>
#include <QWidget>

// Shows a picture at a zoom factor, nearest neighbour, the way the original image
// controls stretched their bitmap. Zooming changes only the view: the picture data
// stay as they are. Put it inside a QScrollArea (widgetResizable off).
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

    double Zoom() const { return FZoom; }
    // Clamped so the view never falls below 1 x 1 nor grows past MaxViewSide.
    void SetZoom(double Zoom);
    QSize ViewSize() const;
    static constexpr int MaxViewSide = 32000;

    // Picture pixel under a point of this widget (may lie outside the picture).
    QPoint MapToPicture(const QPoint& P) const;

signals:
    void MouseDown(QMouseEvent* Event);
    void MouseMove(QMouseEvent* Event);
    void MouseUp(QMouseEvent* Event);
    void DoubleClicked(QMouseEvent* Event);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* E) override { emit MouseDown(E); }
    void mouseMoveEvent(QMouseEvent* E) override { emit MouseMove(E); }
    void mouseReleaseEvent(QMouseEvent* E) override { emit MouseUp(E); }
    void mouseDoubleClickEvent(QMouseEvent* E) override { emit DoubleClicked(E); }

private:
    void UpdateSize();
    QSize FBaseSize;
    double FZoom = 1.0;
};
