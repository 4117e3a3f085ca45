// Faces of the look-style button as painted, read back from grab().
#include "VekButton.h"
#include "VekUtils.h"

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {
quint32 Px(const QImage& Image, int X, int Y) {
    return RgbToWinColor(Image.pixel(X, Y));
}

void Hover(QWidget* W) {
    QEnterEvent E(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(W, &E);
}

constexpr quint32 Face = 0x9D4E01;
constexpr quint32 Border = 0x404040;
} // namespace

class UltraFlat : public ::testing::Test {
protected:
    void SetUp() override {
        Btn = new TVekButton(&Win);
        Btn->setGeometry(10, 10, 75, 25);
        Btn->LookStyle()->SetButtonColor(Face);
        Btn->LookStyle()->SetBorderColor(Border);
        Other = new QLineEdit(&Win);
        Other->setGeometry(10, 50, 60, 20);
        Win.resize(120, 90);
    }
    QImage Face_() { return Btn->grab().toImage(); }
    QWidget Win;
    TVekButton* Btn = nullptr;
    QLineEdit* Other = nullptr;
};

TEST_F(UltraFlat, AtRestHoveredAndPressed) {
    // Border, face at the edge and in the middle: at rest, hovered, after leaving, pressed.
    const auto Pixels = [this] {
        const QImage I = Face_();
        return std::vector<quint32>{Px(I, 0, 0), Px(I, 74, 24), Px(I, 1, 1), Px(I, 37, 12)};
    };
    EXPECT_EQ(Pixels(), (std::vector<quint32>{Border, Border, Face, Face}));
    Hover(Btn);
    ASSERT_TRUE(Btn->MouseInControl());
    EXPECT_EQ(Pixels(), (std::vector<quint32>{Border, Border, 0xDB6D01u, 0xDB6D01u}));
    QEvent Leave(QEvent::Leave);
    QApplication::sendEvent(Btn, &Leave);
    EXPECT_EQ(Pixels()[2], Face);
    Btn->setDown(true);
    const quint32 Light = LightenColor(Border, 100);
    EXPECT_EQ(Pixels(), (std::vector<quint32>{Light, Light, 0x5F2F01u, 0x5F2F01u}));
}

TEST_F(UltraFlat, FocusedShowsTwoPixelEdgeAndFocusRect) {
    Win.show();
    QApplication::setActiveWindow(&Win);
    Btn->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(Btn->hasFocus());
    ASSERT_TRUE(Btn->IsActive());
    const QImage I = Face_();
    EXPECT_EQ(Px(I, 0, 0), Border);
    EXPECT_EQ(Px(I, 1, 1), Border);
    EXPECT_EQ(Px(I, 2, 2), 0xDB6D01u);
    // Focus rectangle 3 pixels inside: dots of face XOR face (black) between
    // untouched pixels (XOR the black caption colour).
    EXPECT_EQ(Px(I, 4, 3), 0u);
    EXPECT_EQ(Px(I, 3, 3), 0xDB6D01u);
    EXPECT_EQ(Px(I, 71, 20), 0u);
    // Focus elsewhere: the button is no longer active.
    Other->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(Btn->IsActive());
    EXPECT_EQ(Px(Face_(), 1, 1), Face);
    // A Default button is active while a non-button has the focus.
    Btn->SetDefault(true);
    EXPECT_TRUE(Btn->IsActive());
    EXPECT_EQ(Px(Face_(), 2, 2), 0xDB6D01u);
}

TEST_F(UltraFlat, ColourChangesGradientAndDisabledFace) {
    // The highlight follows a later ButtonColor.
    Hover(Btn);
    Btn->LookStyle()->SetButtonColor(0xC08000);
    EXPECT_EQ(Px(Face_(), 1, 1), 0xFFB27Fu);
    QEvent Leave(QEvent::Leave);
    QApplication::sendEvent(Btn, &Leave);
    Btn->LookStyle()->SetButtonColor(Face);
    Btn->LookStyle()->SetGradient(true);
    const quint32 Start = LightenColor(LightenColor(Face, 100), 100);
    QImage I = Face_();
    EXPECT_EQ(Px(I, 0, 0), Border);
    EXPECT_EQ(Px(I, 10, 1), Start);
    EXPECT_EQ(Px(I, 10, 23), Face);
    Btn->setEnabled(false); // disabled: plain face
    EXPECT_EQ(Px(Face_(), 10, 1), Face);
}

TEST(VekButtonPaint, ThreeDReliefUsesSystemShadesOnlyForSystemFace) {
    TVekButton Btn;
    Btn.resize(40, 20);
    Btn.LookStyle()->SetStyle(vls3D);
    QImage I = Btn.grab().toImage();
    EXPECT_EQ(QList<quint32>({Px(I, 0, 0), Px(I, 39, 0), Px(I, 38, 1), Px(I, 20, 10)}),
              QList<quint32>({ColorToRGB(clBtnHighlight), DarkenColor(clBtnShadow, 100),
                              ColorToRGB(clBtnShadow), ColorToRGB(clBtnFace)}));
    // The same RGB value as a plain colour takes the derived shades.
    Btn.LookStyle()->SetButtonColor(ColorToRGB(clBtnFace));
    I = Btn.grab().toImage();
    EXPECT_EQ(Px(I, 38, 1), DarkenColor(clBtnFace, 100));
    EXPECT_NE(DarkenColor(clBtnFace, 100), ColorToRGB(clBtnShadow));
}

TEST(VekButtonPaint, DropDownArrowRows) {
    TVekButton Btn;
    Btn.resize(60, 22);
    Btn.SetKind(bkDropDown);
    const QImage I = Btn.grab().toImage();
    const int W = 60;
    const int Runs[4] = {7, 5, 3, 1};
    for (int Y = 1; Y < 21; ++Y) {
        int Count = 0, First = -1;
        for (int X = W - 14; X < W - 1; ++X)
            if (Px(I, X, Y) == 0u) {
                if (First < 0) First = X;
                ++Count;
            }
        if (Y >= 9 && Y <= 12) {
            EXPECT_EQ(Count, Runs[Y - 9]) << "row " << Y;
            EXPECT_EQ(First, W - 11 + (Y - 9)) << "row " << Y;
        } else
            EXPECT_EQ(Count, 0) << "row " << Y;
    }
    // Disabled: the arrow in the dark shade.
    Btn.setEnabled(false);
    EXPECT_EQ(Px(Btn.grab().toImage(), W - 11, 9), DarkenColor(clBtnFace, 100));
}

TEST(VekButtonPaint, GlyphPlacedByMarginAndShownOpaqueOrTransparent) {
    QImage Glyph(8, 8, QImage::Format_RGB32);
    Glyph.fill(QColor(128, 128, 0));
    Glyph.setPixel(2, 3, qRgb(255, 0, 0));
    TVekButton Btn;
    Btn.resize(60, 25);
    Btn.SetGlyph(Glyph);
    Btn.SetMargin(4);
    QImage I = Btn.grab().toImage();
    // Content rectangle (1, 1) - (59, 24); glyph at x 1 + 4, y 1 + (23 - 8 + 1) / 2.
    EXPECT_EQ(Px(I, 5 + 2, 9 + 3), 0x0000FFu);
    EXPECT_EQ(Px(I, 5, 9), ColorToRGB(clBtnFace));
    Btn.SetLayout(blGlyphRight);
    I = Btn.grab().toImage();
    EXPECT_EQ(Px(I, 59 - 4 - 8 + 2, 9 + 3), 0x0000FFu);
    // Pressed: one pixel right and down, see-through on the pressed face.
    Btn.setDown(true);
    I = Btn.grab().toImage();
    EXPECT_EQ(Px(I, 59 - 4 - 8 + 3, 9 + 4), 0x0000FFu);
    EXPECT_EQ(Px(I, 59 - 4 - 8 + 1, 9 + 1), DarkenColor(clBtnFace, 100));
    // Disabled: the embossed image, where the red pixel is see-through.
    Btn.setDown(false);
    Btn.setEnabled(false);
    EXPECT_EQ(Px(Btn.grab().toImage(), 59 - 4 - 8 + 2, 9 + 3), ColorToRGB(clBtnFace));
}
