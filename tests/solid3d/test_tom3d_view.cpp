// Projection, clipping, drawing and rotation of the model, checked to the pixel.
#include "Solid3DTestUtil.h"

#include <QMap>
#include <QSet>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {
class Tom3DView : public ::testing::Test {
protected:
    void SetUp() override { M->Image = &Target; }
    void Load(const std::vector<std::array<double, 3>>& Points,
              const std::vector<std::array<int, 2>>& Lines) {
        M->LoadFromData(SolidFile(Points, Lines));
        ASSERT_EQ(M->PointCount, int(Points.size()));
    }
    QStringList Drawn() const { return DrawnPixels(Target.Picture, M->BackgroundColor); }
    QRgb At(int X, int Y) const { return Target.Picture.pixel(X, Y) | 0xFF000000u; }
    static QStringList Row(int Y, int From, int To) {
        QStringList Out;
        for (int X = From; X <= To; ++X) Out << QStringLiteral("%1,%2").arg(X).arg(Y);
        return Out;
    }
    TPlainImageTarget Target;
    std::unique_ptr<Tom3D> M = std::make_unique<Tom3D>();
};
} // namespace

TEST_F(Tom3DView, DefaultViewPutsTheOriginAtTheScreenCentre) {
    Load({{0, 0, 0}}, {});
    M->DrawPoints = 1;
    M->Redraw();
    EXPECT_NEAR(M->ScreenX[1], 160.0, 1e-9);
    EXPECT_NEAR(M->ScreenY[1], 96.0, 1e-9);
    // A 3 x 3 mark whose centre keeps the background.
    QStringList Mark = Row(95, 159, 161) + QStringList{"159,96", "161,96"} + Row(97, 159, 161);
    EXPECT_EQ(Drawn(), Mark);
    EXPECT_EQ(At(159, 95), Rgb(M->PointColor));
    M->MarkedPoint = 1;
    M->Redraw();
    EXPECT_EQ(At(161, 97), Rgb(M->MarkedPointColor));
}

TEST_F(Tom3DView, ThePictureSizeIsTheScreenUpTo320PixelsWide) {
    for (const int W : {320, 321}) {
        Target.Width = 160, Target.Height = 96;
        M->Redraw();
        Target.Width = W, Target.Height = 150;
        M->Redraw();
        EXPECT_EQ(QSize(M->MaxX, M->MaxY), W == 320 ? QSize(320, 150) : QSize(160, 96)) << W;
        EXPECT_EQ(Target.Picture.size(), QSize(M->MaxX, M->MaxY));
    }
}

TEST_F(Tom3DView, KnownPointsProjectToExactPixels) {
    // Looking along +y from 10 units away: 1 unit sideways at the view point is
    // 1/10 on the image plane, 45 pixels at zoom 1.
    Load({{1, 0, 0}, {0, 0, 1}, {-1, 0, -1}}, {{1, 2}});
    M->Observer = {0, -10, 0};
    M->DrawPoints = 1;
    M->Redraw();
    const double Expected[3][2] = {{205, 96}, {160, 141}, {115, 51}};
    for (int I = 1; I <= 3; ++I) {
        EXPECT_NEAR(M->ScreenX[I], Expected[I - 1][0], 1e-9) << I;
        EXPECT_NEAR(M->ScreenY[I], Expected[I - 1][1], 1e-9) << I;
    }
    EXPECT_EQ(At(204, 95), Rgb(M->PointColor));      // corner of the mark about (205, 96)
    EXPECT_EQ(At(160, 51), Rgb(M->BackgroundColor)); // centre of the mark about (160, 51)
    M->Zoom = 2.0;
    M->Redraw();
    EXPECT_NEAR(M->ScreenX[1], 250.0, 1e-9);
    EXPECT_NEAR(M->ScreenY[3], 6.0, 1e-9);
}

// Looking straight down or up: from above x runs right and y up the screen, from
// below x is mirrored. The view point (2, 3, 0) is 10 units away, so a unit beside it
// is 45 pixels; a point 5 units nearer shows twice as far out. (-1: behind.)
TEST_F(Tom3DView, ObserverStraightAboveOrBelowTheViewPoint) {
    Load({{3, 3, 0}, {1, 3, 0}, {2, 4, 0}, {2, 2, 0}, {3, 4, 5}, {2, 3, 20}}, {});
    M->ViewPoint = {2, 3, 0};
    const struct {
        double Z, Want[6][2];
    } Cases[] = {
        {10, {{205, 96}, {115, 96}, {160, 141}, {160, 51}, {250, 186}, {-1, -1}}},
        {-10, {{115, 96}, {205, 96}, {160, 141}, {160, 51}, {130, 126}, {160, 96}}},
    };
    for (const auto& C : Cases) {
        M->Observer = {2, 3, C.Z};
        M->Redraw();
        for (int I = 1; I <= 6; ++I) {
            const bool Shown = C.Want[I - 1][0] >= 0;
            EXPECT_EQ(M->Visible[I], Shown) << C.Z << " " << I;
            if (!Shown) continue;
            EXPECT_NEAR(M->ScreenX[I], C.Want[I - 1][0], 1e-9) << C.Z << " " << I;
            EXPECT_NEAR(M->ScreenY[I], C.Want[I - 1][1], 1e-9) << C.Z << " " << I;
        }
    }
}

TEST_F(Tom3DView, LinesLeaveOutTheirLastPixelAndSkipWhatTheyCannotReach) {
    // Line 4 runs on row 96 from (115, 96) to (205, 96); line 1 lies behind the
    // observer, lines 2 and 3 name points the model does not hold.
    Load({{0, -20, 0}, {1, -30, 0}, {-1, 0, 0}, {1, 0, 0}}, {{1, 2}, {3, 9}, {-1, 4}, {3, 4}});
    M->Observer = {0, -10, 0};
    M->Redraw();
    EXPECT_EQ(M->Visible[1] + M->Visible[2], 0);
    EXPECT_EQ(Drawn(), Row(96, 115, 204));
    EXPECT_EQ(At(115, 96), Rgb(M->LineColor));
    M->MarkedLine = 4;
    M->Redraw();
    EXPECT_EQ(At(150, 96), Rgb(M->MarkedLineColor));
    M->DrawLines = 0;
    M->Redraw();
    EXPECT_TRUE(Drawn().isEmpty());
    // Line numbers only when asked, their label right of and below the middle.
    M->DrawLineNumbers = 1;
    M->Redraw();
    const QStringList Label = Drawn();
    ASSERT_FALSE(Label.isEmpty());
    for (const QString& P : Label) {
        EXPECT_GE(P.section(',', 0, 0).toInt(), (115 + 205) / 2 + 3);
        EXPECT_GE(P.section(',', 1, 1).toInt(), 96 + 3);
    }
}

TEST_F(Tom3DView, AHiddenEndIsCutNearTheObserversPlane) {
    // From the view point to a point behind the observer: after the bisection the
    // hidden end lies far to the right, so the line runs to the window's edge.
    Load({{0, 0, 0}, {10, -20, 0}}, {{1, 2}});
    M->Observer = {0, -10, 0};
    M->Redraw();
    EXPECT_EQ(M->Visible[2], 0);
    EXPECT_EQ(M->ScreenX[2], 0.0); // not projected: its position lives for the line only
    EXPECT_EQ(Drawn(), Row(96, 160, 319));
    // The last visible midpoint lies 1/2 - 1/2^15 of the way along.
    double SX = 0, SY = 0;
    const double S = 0.5 - 1.0 / 32768.0;
    M->ScreenPosition({10 * S, -20 * S, 0}, SX, SY);
    EXPECT_GT(SX, 1e6);
    EXPECT_NEAR(SY, 96.0, 1e-6);
    // The hidden end first: drawn from the cut end, so the view point's pixel is the
    // last one, left out.
    Load({{10, -20, 0}, {0, 0, 0}}, {{1, 2}});
    M->Redraw();
    EXPECT_EQ(Drawn(), Row(96, 161, 319));
    // Observer on the view point: nothing is visible.
    M->Observer = {0, 0, 0};
    M->DrawPoints = 1;
    M->Redraw();
    EXPECT_EQ(M->Visible[0], 0);
    EXPECT_TRUE(Drawn().isEmpty());
}

TEST_F(Tom3DView, ClipLineCutsAtTheEdgesEdgesIncluded) {
    struct {
        double In[4];
        bool Kept;
        double Out[4];
    } Cases[] = {
        {{-10, 96, 330, 96}, true, {0, 96, 320, 96}},
        {{-10, -6, 330, 198}, true, {0, 0, 320, 192}}, // through both corners
        {{320, 192, 0, 0}, true, {320, 192, 0, 0}},    // on the bounds
        {{-0.5, 50, 100, 50}, true, {0, 50, 100, 50}}, // just past each edge
        {{320.5, 50, 100, 50}, true, {320, 50, 100, 50}},
        {{100, -0.5, 100, 50}, true, {100, 0, 100, 50}},
        {{100, 192.5, 100, 50}, true, {100, 192, 100, 50}},
        {{100, -5, 100, 500}, true, {100, 0, 100, 192}},
        {{-10, -20, 20, 10}, true, {10, 0, 20, 10}},        // left edge outside, then the top
        {{340, 210, 300, 180}, true, {316, 192, 300, 180}}, // right edge outside, then the bottom
        {{-10, 10, -5, 100}, false, {}},                    // all left of the window
        {{330, 10, 340, 100}, false, {}},                   // right
        {{10, -5, 100, -1}, false, {}},                     // above
        {{10, 200, 100, 300}, false, {}},                   // below
        {{-10, 190, 100, 300}, false, {}},                  // passes below the corner
        {{NAN, 10, 20, 20}, false, {}},
        {{-INFINITY, 10, INFINITY, 20}, false, {}},
    };
    for (const auto& C : Cases) {
        double P[4] = {C.In[0], C.In[1], C.In[2], C.In[3]};
        ASSERT_EQ(M->ClipLine(P[0], P[1], P[2], P[3]), C.Kept) << C.In[0] << "," << C.In[1];
        for (int I = 0; C.Kept && I < 4; ++I) EXPECT_EQ(P[I], C.Out[I]) << C.In[0] << "," << C.In[1];
    }
}

TEST_F(Tom3DView, EdgesRoundHalfToEvenAndOnePixelLinesShowThatPixel) {
    M->Redraw();
    M->DrawEdge(10.2, 20.4, 9.8, 19.6, 1);
    M->DrawEdge(2.5, 3.5, 2.5, 3.5, 2); // (2, 4)
    M->DrawEdge(30, 40, 33.5, 43.5, 3); // (30, 40) to (34, 44), last left out
    M->DrawEdge(320, 192, 320, 192, 4); // on the bounds, off the bitmap
    EXPECT_EQ(DrawnPixels(M->Bitmap, M->BackgroundColor),
              QStringList({"2,4", "10,20", "30,40", "31,41", "32,42", "33,43"}));
}

TEST_F(Tom3DView, ExtremeCoordinatesDrawWithoutHarm) {
    Load({{1e300, 1e300, 1e300}, {-1e300, 5, 5}, {1e-300, 0, 0}, {0, 1e308, -1e308}},
         {{1, 2}, {2, 3}, {3, 4}, {4, 1}});
    M->DrawPoints = 1;
    M->Redraw();
    M->ViewPoint = {1e308, 1e308, 1e308};
    M->Redraw();
    M->Observer = {-1e308, 0, 1e308};
    M->Redraw();
    EXPECT_EQ(Target.Picture.size(), QSize(320, 192));
}

TEST(Tom3DRotation, StepsCircleTheVerticalAxisFromWhereTheObserverIs) {
    Tom3D M;
    M.Observer = {-50, -50, 50};
    M.RotateStep();
    const double Step = 1.0 / 360.0 * 6.28;
    EXPECT_DOUBLE_EQ(M.RotationStep, Step);
    EXPECT_NEAR(M.Radius, 70.710678, 1e-6);
    const double Start = std::atan2(-50.0, -50.0);
    EXPECT_DOUBLE_EQ(M.Observer.X, std::cos(Start + Step) * M.Radius);
    EXPECT_DOUBLE_EQ(M.Observer.Y, std::sin(Start + Step) * M.Radius);
    // An observer set later is put back on the fixed circle until a reset.
    M.Observer = {5, 0, 7};
    M.RotateStep();
    EXPECT_NEAR(std::hypot(M.Observer.X, M.Observer.Y), 70.710678, 1e-6);
    EXPECT_EQ(M.Observer.Z, 7.0);
    M.ResetRotation();
    M.Observer = {3, 4, 0};
    M.RotateStep();
    EXPECT_DOUBLE_EQ(M.Radius, 5.0);
    EXPECT_DOUBLE_EQ(M.CurrentAngle, std::atan2(4.0, 3.0) + Step);
}

namespace {
// Colours of a picture's pixels inside a rectangle, with their counts.
QMap<QRgb, int> Colours(const QImage& Image, const QRect& Area) {
    QMap<QRgb, int> Out;
    const QRect R = Area & Image.rect();
    for (int Y = R.top(); Y <= R.bottom(); ++Y)
        for (int X = R.left(); X <= R.right(); ++X) ++Out[Image.pixel(X, Y) | 0xFF000000u];
    return Out;
}

// The ink pixels of a label as offsets from its top-left corner.
QSet<QPoint> InkAt(const QImage& Image, QPoint Corner, QRgb Ink) {
    QSet<QPoint> Out;
    for (int Y = Corner.y(); Y < std::min(Image.height(), Corner.y() + 30); ++Y)
        for (int X = Corner.x(); X < std::min(Image.width(), Corner.x() + 60); ++X)
            if ((Image.pixel(X, Y) | 0xFF000000u) == Ink) Out.insert(QPoint(X, Y) - Corner);
    return Out;
}
} // namespace

TEST_F(Tom3DView, NumberLabelsCarryExactlyTheirColours) {
    // Two points on the screen's middle row, one line between them: point 1 at
    // (115, 96), point 11 at (205, 96), the line's label at (163, 99). Points 2 to
    // 10 lie behind the observer.
    std::vector<std::array<double, 3>> Points(11, {0, -20, 0});
    Points[0] = {-1, 0, 0};
    Points[10] = {1, 0, 0};
    Load(Points, {{1, 11}});
    M->Observer = {0, -10, 0};
    M->BackgroundColor = 0x102030;
    M->LineNumberColor = 0x0000FF;
    M->PointNumberColor = 0x00FF00;
    M->DrawLines = 0;
    M->DrawLineNumbers = 1;
    M->DrawPointNumbers = 1;
    M->Redraw();
    const QImage& Pic = Target.Picture;
    const QRgb Back = Rgb(M->BackgroundColor), LineInk = Rgb(M->LineNumberColor),
               PointInk = Rgb(M->PointNumberColor);
    // Nothing but background and the two label colours: no blended edge pixels.
    const QMap<QRgb, int> All = Colours(Pic, Pic.rect());
    EXPECT_EQ(All.keys(), (QList<QRgb>{PointInk, Back, LineInk})); // in value order
    // Each label lies right of and below its anchor, the point labels above the line's.
    const QSet<QPoint> Line1 = InkAt(Pic, {163, 99}, LineInk);
    const QSet<QPoint> Point1 = InkAt(Pic, {118, 93}, PointInk);
    const QSet<QPoint> Point11 = InkAt(Pic, {208, 93}, PointInk);
    ASSERT_FALSE(Line1.isEmpty());
    EXPECT_EQ(Line1, Point1); // the same number looks the same in every colour
    EXPECT_EQ(Colours(Pic, QRect(0, 0, 163, 192)).value(LineInk), 0);
    EXPECT_EQ(Colours(Pic, QRect(0, 0, 118, 192)).value(PointInk), 0);
    EXPECT_GT(Point11.size(), Point1.size()); // "11" has more ink than "1"
    // Labels stand on the background: a line under a label is covered by it.
    M->DrawLines = 1;
    M->DrawPointNumbers = 0;
    M->Redraw();
    EXPECT_EQ(InkAt(Pic, {163, 99}, LineInk), Line1);
    EXPECT_EQ(Colours(Pic, Pic.rect()).keys(), (QList<QRgb>{Back, LineInk, Rgb(M->LineColor)}));
    // A label at the window's edge is cut, not wrapped to the other side.
    M->ViewPoint = {-2.3, 0, 0}; // point 11 at x 308
    M->DrawLines = 0;
    M->DrawLineNumbers = 0;
    M->DrawPointNumbers = 1;
    M->Redraw();
    const QSet<QPoint> Cut = InkAt(Pic, {311, 93}, PointInk);
    EXPECT_FALSE(Cut.isEmpty());
    EXPECT_LT(Cut.size(), Point11.size());
    EXPECT_EQ(Colours(Pic, QRect(0, 0, 200, 192)).value(PointInk), 0);
}
