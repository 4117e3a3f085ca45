// Look-style button linked to an action: it follows the action and takes its icon.
#include "VekButton.h"

#include <QAction>
#include <QIcon>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {
// A 12x10 icon: a red frame, a transparent inside, one blue pixel at (5, 4).
QIcon TestIcon() {
    QImage Img(12, 10, QImage::Format_ARGB32);
    Img.fill(Qt::transparent);
    for (int Y = 0; Y < 10; ++Y)
        for (int X = 0; X < 12; ++X)
            if (X == 0 || X == 11 || Y == 0 || Y == 9) Img.setPixel(X, Y, qRgb(255, 0, 0));
    Img.setPixel(5, 4, qRgb(0, 0, 255));
    return QIcon(QPixmap::fromImage(Img));
}
} // namespace

TEST(VekAction, ButtonFollowsItsActionAndTakesItsIcon) {
    QWidget Form;
    auto* B = new TVekButton(&Form);
    QAction A(QStringLiteral("&Speichern"));
    A.setStatusTip(QStringLiteral("Datei speichern"));
    A.setIcon(TestIcon());
    int Triggered = 0;
    QObject::connect(&A, &QAction::triggered, [&] { ++Triggered; });
    B->SetAction(&A);
    EXPECT_EQ(B->Action(), &A);
    EXPECT_EQ(QStringList({B->Caption(), B->Hint(), B->statusTip()}),
              QStringList({"&Speichern", "Datei speichern", "Datei speichern"}));

    // The glyph: the icon's size, fuchsia where the icon is see-through, the icon at (0, 0).
    const QImage G = B->Glyph().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(G.size(), QSize(12, 10));
    EXPECT_EQ(QList<QRgb>({G.pixel(0, 0), G.pixel(11, 9), G.pixel(5, 4), G.pixel(3, 3)}),
              QList<QRgb>({qRgb(255, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 0, 255)}));
    EXPECT_EQ(B->NumGlyphs(), 1);

    // Later changes of the action reach the button; a click triggers it.
    A.setText(QStringLiteral("Sichern"));
    A.setStatusTip(QStringLiteral("Neu"));
    EXPECT_EQ(B->Caption() + "|" + B->Hint(), "Sichern|Neu");
    Form.show();
    for (bool On : {false, true}) {
        A.setVisible(On);
        A.setEnabled(On);
        EXPECT_EQ(B->isVisible() + B->isEnabled(), 2 * On);
        B->Click(); // only the enabled button triggers
    }
    EXPECT_EQ(Triggered, 1);

    // A glyph that is already there stays when the icon changes.
    QPixmap Green(8, 8);
    Green.fill(Qt::green);
    A.setIcon(QIcon(Green));
    EXPECT_EQ(B->Glyph().size(), QSize(12, 10));

    // Unlinked, the button no longer follows nor triggers.
    B->SetAction(nullptr);
    A.setText(QStringLiteral("Anders"));
    EXPECT_EQ(B->Caption(), "Sichern");
    B->Click();
    EXPECT_EQ(Triggered, 1);
}

TEST(VekAction, OwnGlyphStaysAndAGoneActionUnlinks) {
    TVekButton B;
    QImage Own(16, 16, QImage::Format_RGB32);
    Own.fill(qRgb(1, 2, 3));
    B.SetGlyph(Own);
    auto* A = new QAction(QStringLiteral("Los"));
    A->setIcon(TestIcon());
    B.SetAction(A);
    EXPECT_EQ(B.Glyph(), Own);
    EXPECT_EQ(B.Caption(), "Los");
    delete A;
    EXPECT_EQ(B.Action(), nullptr);
    B.Click(); // nothing left to trigger
    // An action without an icon leaves an empty glyph empty.
    TVekButton Plain;
    QAction NoIcon(QStringLiteral("Text"));
    Plain.SetAction(&NoIcon);
    EXPECT_TRUE(Plain.Glyph().isNull());
}
