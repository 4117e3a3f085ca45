// The picture view: uniform zoom, refused steps, and painting of the exposed part.
#include "ImageView.h"
#include "uDocWindow.h"
#include "uGlobal.h"

#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {
QImage Numbered(int Width, int Height) {
    QImage Image(Width, Height, QImage::Format_RGB32);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            Image.setPixel(X, Y, qRgb(X % 256, Y % 256, (X / 256 + Y / 256) % 256));
    return Image;
}
} // namespace

TEST(ImageViewTest, ZoomStepsKeepTheAspectOrAreRefused) {
    ImageView View;
    View.NewPicture(8, 8, 0);
    View.SetBaseSize(QSize(328, 96014));
    EXPECT_EQ(View.ViewSize(), QSize(328, 96014)); // a long page at 1:1
    EXPECT_TRUE(View.SetZoom(2));
    EXPECT_EQ(View.ViewSize(), QSize(656, 192028));
    EXPECT_EQ(View.size(), View.ViewSize());
    EXPECT_TRUE(View.SetZoom(0.5));
    EXPECT_EQ(View.ViewSize(), QSize(164, 48007)); // halved, integer division

    // Doubling until the view would be too tall: each step doubles both sides or
    // changes nothing.
    View.SetZoom(1);
    for (int I = 0; I < 12; ++I) {
        const QSize Before = View.ViewSize();
        const double Zoom = View.Zoom();
        if (View.SetZoom(Zoom * 2)) {
            EXPECT_EQ(View.ViewSize(), Before * 2);
        } else {
            EXPECT_EQ(View.ViewSize(), Before);
            EXPECT_EQ(View.Zoom(), Zoom);
            EXPECT_GT(qint64(Before.height()) * 2, ImageView::MaxViewSide);
        }
    }
    EXPECT_EQ(View.ViewSize(), QSize(328 * 32, 96014 * 32));

    // Down to one pixel on the short side, and no further.
    EXPECT_TRUE(View.SetZoom(1.0 / 328));
    EXPECT_EQ(View.ViewSize(), QSize(1, 292));
    EXPECT_FALSE(View.SetZoom(1.0 / 656));
    EXPECT_FALSE(View.SetZoom(0));
    EXPECT_FALSE(View.SetZoom(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(View.ViewSize(), QSize(1, 292));

    // A bigger picture at a large factor: the factor shrinks for both sides alike.
    View.SetZoom(32);
    View.SetBaseSize(QSize(656, 192028));
    EXPECT_EQ(View.Zoom(), double(ImageView::MaxViewSide) / 192028);
    EXPECT_LE(View.ViewSize().height(), ImageView::MaxViewSide);
    EXPECT_NEAR(double(View.ViewSize().width()) / View.ViewSize().height(), 656.0 / 192028, 1e-4);
}

TEST(ImageViewTest, PaintsExactlyThePixelsOfTheExposedPart) {
    ImageView View;
    const QImage Picture = Numbered(40, 30);
    View.SetPicture(Picture);
    View.SetZoom(4);
    // Every view pixel shows the picture pixel under it, anywhere in the view.
    const QRect Area(37, 50, 60, 45);
    const QImage Part = View.RenderArea(Area);
    ASSERT_EQ(Part.size(), Area.size());
    for (int Y = 0; Y < Area.height(); ++Y)
        for (int X = 0; X < Area.width(); ++X) {
            const QPoint P = View.MapToPicture(Area.topLeft() + QPoint(X, Y));
            ASSERT_EQ(P, QPoint((Area.x() + X) / 4, (Area.y() + Y) / 4));
            ASSERT_EQ(Part.pixel(X, Y), Picture.pixel(P)) << X << "," << Y;
        }
    // Half size takes every second pixel; outside the view stays white.
    View.SetZoom(0.5);
    const QImage Half = View.RenderArea(QRect(0, 0, 22, 16));
    EXPECT_EQ(Half.pixel(3, 5), Picture.pixel(6, 10));
    EXPECT_EQ(Half.pixel(20, 2), qRgb(255, 255, 255));
    EXPECT_EQ(Half.pixel(5, 15), qRgb(255, 255, 255));

    // Scrolled far down a long page, the widget paints what lies there.
    View.SetPicture(Numbered(16, 120000));
    View.SetZoom(1);
    QScrollArea Box;
    Box.setWidget(&View);
    Box.resize(200, 150);
    Box.show();
    Box.verticalScrollBar()->setValue(119000);
    const QImage Shot = Box.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int Top = Box.verticalScrollBar()->value();
    for (int Y = 0; Y < 40; ++Y)
        for (int X = 0; X < 16; ++X) ASSERT_EQ(Shot.pixel(X, Y), View.Picture.pixel(X, Top + Y));
    Box.takeWidget();
}

TEST(ImageViewTest, ARefusedZoomStepBeeps) {
    ImageView View;
    View.SetPicture(Numbered(3, 2));
    const int Beeps = BeepCount;
    EXPECT_TRUE(ScaleZoom(&View, 0.5));
    EXPECT_EQ(View.ViewSize(), QSize(1, 1));
    EXPECT_FALSE(ScaleZoom(&View, 0.5));
    EXPECT_EQ(BeepCount, Beeps + 1);
    EXPECT_TRUE(ScaleZoom(&View, 2));
    EXPECT_EQ(View.ViewSize(), QSize(3, 2));
}
