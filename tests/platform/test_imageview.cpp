// The picture view: one factor for both sides, refused steps, and exact painting of
// the exposed part.
#include "ImageView.h"

#include <gtest/gtest.h>

TEST(ImageViewTest, ZoomIsUniformRefusedAtTheLimitsAndPaintedExactly) {
    ImageView View;
    QImage Picture(40, 30, QImage::Format_RGB32);
    for (int Y = 0; Y < 30; ++Y)
        for (int X = 0; X < 40; ++X) Picture.setPixel(X, Y, qRgb(X * 6, Y * 8, (X ^ Y) * 4));
    View.SetPicture(Picture);
    EXPECT_TRUE(View.SetZoom(4));
    EXPECT_EQ(View.size(), QSize(160, 120));
    const QRect Area(37, 50, 60, 45);
    const QImage Part = View.RenderArea(Area);
    for (int Y = 0; Y < Area.height(); ++Y)
        for (int X = 0; X < Area.width(); ++X)
            ASSERT_EQ(Part.pixel(X, Y), Picture.pixel((Area.x() + X) / 4, (Area.y() + Y) / 4))
                << X << "," << Y;
    // A half-size view takes every second pixel; outside the view stays white.
    EXPECT_TRUE(View.SetZoom(0.5));
    const QImage Half = View.RenderArea(QRect(0, 0, 22, 16));
    EXPECT_EQ(Half.pixel(3, 5), Picture.pixel(6, 10));
    EXPECT_EQ(Half.pixel(20, 2), qRgb(255, 255, 255));

    // No side below one pixel; nothing changes on a refused step.
    EXPECT_TRUE(View.SetZoom(1.0 / 30));
    EXPECT_FALSE(View.SetZoom(1.0 / 60) || View.SetZoom(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(View.ViewSize(), QSize(1, 1));

    // A base too big for the inherited factor: the factor shrinks for both sides alike.
    View.SetZoom(32);
    View.SetBaseSize(QSize(656, 192028));
    EXPECT_EQ(View.Zoom(), double(ImageView::MaxViewSide) / 192028);
    EXPECT_NEAR(View.ViewSize().width(), 656.0 * View.Zoom(), 1.0);
    EXPECT_LE(View.ViewSize().height(), ImageView::MaxViewSide);
    EXPECT_FALSE(View.SetZoom(View.Zoom() * 2));
}

TEST(ImageViewTest, FocusMarkLiesOverTheViewPixelsOfItsCellNotInThePicture) {
    ImageView View;
    View.NewPicture(40, 30, 0x0000FF);
    const QImage Drawn = View.Picture;
    ASSERT_TRUE(View.SetZoom(2));
    View.SetFocusMark(QRect(3, 4, 5, 6));
    EXPECT_EQ(View.MapFromPicture(View.FocusMark()), QRect(6, 8, 10, 12));
    const QImage Shot = View.grab().toImage();
    // Dots alternate dark and light from the top-left corner to the far edges; inside
    // and outside, the picture.
    const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255), Red = qRgb(255, 0, 0);
    EXPECT_EQ(QList<QRgb>({Shot.pixel(6, 8), Shot.pixel(7, 8), Shot.pixel(15, 9), Shot.pixel(6, 19),
                           Shot.pixel(7, 9), Shot.pixel(5, 8)}),
              QList<QRgb>({Black, White, Black, White, Red, Red}));
    EXPECT_EQ(View.Picture, Drawn);
    View.SetFocusMark(QRect());
    EXPECT_EQ(View.grab().toImage().pixel(6, 8), Red);
}
