#include "uSplash.h"

#include "uGlobal.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

TSplashScreen::TSplashScreen(QWidget* Parent)
    : QWidget(Parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SplashScreen"));
    setFixedSize(400, 220);
    if (QScreen* S = QGuiApplication::primaryScreen()) move(S->geometry().center() - rect().center());
}

void TSplashScreen::paintEvent(QPaintEvent*) {
    QPainter P(this);
    QLinearGradient G(0, 0, 0, height());
    G.setColorAt(0, QColor(0x01, 0x4E, 0x9D));
    G.setColorAt(1, QColor(0x1F, 0x4F, 0x90));
    P.fillRect(rect(), G);
    P.setPen(QColor(255, 210, 0));
    QFont F(QStringLiteral("ATASCII"));
    F.setPixelSize(32);
    P.setFont(F);
    P.drawText(QRect(0, 40, width(), 60), Qt::AlignCenter, QStringLiteral("MORVANEL"));
    P.setPen(Qt::white);
    QFont Small(QStringLiteral("DejaVu Sans"));
    Small.setPixelSize(12);
    P.setFont(Small);
    P.drawText(QRect(0, 130, width(), 20), Qt::AlignCenter, VersionText);
}
