#include "uSplash.h"

#include "JPEGImage.h"
#include "uGlobal.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <memory>

TSplashScreen::TSplashScreen(QWidget* Parent)
    : QWidget(Parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SplashScreen"));
    setFixedSize(400, 220);
    if (QScreen* S = QGuiApplication::primaryScreen()) move(S->geometry().center() - rect().center());
    try {
        std::unique_ptr<TJPEGImage> Jpeg(LoadJPEGResource("RESSPLASHIMG"));
        if (Jpeg) FPicture = Jpeg->Image();
    } catch (const std::exception&) {
        // no picture: the plain background serves
    }
    FDescription = GetMsg(QStringLiteral("mMorvanelDesc"));
}

void TSplashScreen::paintEvent(QPaintEvent*) {
    QPainter P(this);
    if (!FPicture.isNull())
        P.drawImage(rect(), FPicture);
    else
        P.fillRect(rect(), QColor(0x01, 0x4E, 0x9D));
    P.setPen(QColor(255, 210, 0));
    QFont F(QStringLiteral("ATASCII"));
    F.setPixelSize(32);
    P.setFont(F);
    P.drawText(QRect(0, 40, width(), 60), Qt::AlignCenter, QStringLiteral("MORVANEL"));
    P.setPen(Qt::white);
    QFont Small(QStringLiteral("DejaVu Sans"));
    Small.setPixelSize(12);
    P.setFont(Small);
    P.drawText(QRect(0, 126, width(), 20), Qt::AlignCenter, FDescription);
    P.drawText(QRect(0, 190, width(), 20), Qt::AlignCenter, VersionText);
}
