#include "uSplash.h"

#include "JPEGImage.h"
#include "uGlobal.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScreen>
#include <memory>

const QString MorvanelCopyright = QStringLiteral("(c) 2026 TEVRA - Freeware");

QFont ATASCIIFace(int PixelSize) {
    QFont F(QStringLiteral("ATASCII"));
    F.setPixelSize(PixelSize);
    F.setStyleStrategy(QFont::NoAntialias);
    return F;
}

QPixmap DecorationStrip(int Width, int Height) {
    QImage Strip(qMax(1, Width), qMax(1, Height), QImage::Format_RGB32);
    for (int X = 0; X < Strip.width(); ++X) {
        const QRgb C = QColor::fromHsv(X * 359 / Strip.width(), 255, 255).rgb();
        for (int Y = 0; Y < Strip.height(); ++Y) Strip.setPixel(X, Y, C);
    }
    return QPixmap::fromImage(Strip);
}

QPixmap MakerLogoPicture(int Width, int Height) {
    QImage Logo(qMax(1, Width), qMax(1, Height), QImage::Format_RGB32);
    Logo.fill(WinColorToQColor(TopPanelColor));
    QPainter P(&Logo);
    P.setPen(QColor(255, 210, 0));
    P.setFont(ATASCIIFace(qMax(8, (Height - 2) / 8 * 8)));
    P.drawText(Logo.rect(), Qt::AlignCenter, QStringLiteral("TEVRA"));
    P.end();
    return QPixmap::fromImage(Logo);
}

QPixmap SplashPicture(int Width, int Height) {
    try {
        std::unique_ptr<TJPEGImage> Jpeg(LoadJPEGResource("RESSPLASHIMG"));
        if (!Jpeg || Jpeg->Empty()) return QPixmap();
        return QPixmap::fromImage(
            Jpeg->Image().scaled(Width, Height, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    } catch (const std::exception&) {
        // A damaged picture leaves the place empty; start-up goes on.
        return QPixmap();
    }
}

namespace {
QLabel* MakeLabel(QWidget* Parent, const char* Name, const QRect& Geometry) {
    auto* L = new QLabel(Parent);
    L->setObjectName(QLatin1String(Name));
    L->setGeometry(Geometry);
    return L;
}

void SetTextColor(QWidget* W, const QColor& Colour) {
    QPalette Pal = W->palette();
    Pal.setColor(QPalette::WindowText, Colour);
    W->setPalette(Pal);
}
} // namespace

TSplashScreen::TSplashScreen(QWidget* Parent)
    : QWidget(Parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SplashScreen"));
    setFixedSize(306, 339);
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(rect());
    Panel1->setAutoFillBackground(true);
    QPalette Pal = Panel1->palette();
    Pal.setColor(QPalette::Window, WinColorToQColor(TopPanelColor));
    Panel1->setPalette(Pal);

    const int W = width();
    Image12 = MakeLabel(Panel1, "Image12", QRect(0, 0, W, 3));
    Image12->setPixmap(DecorationStrip(W));
    lblTitel = MakeLabel(Panel1, "lblTitel", QRect(0, 16, W, 33));
    lblTitel->setText(QStringLiteral("Morvanel"));
    lblTitel->setFont(ATASCIIFace(32));
    lblTitel->setAlignment(Qt::AlignCenter);
    SetTextColor(lblTitel, Qt::white);
    lblDesc = MakeLabel(Panel1, "lblDesc", QRect(4, 50, W - 8, 16));
    lblDesc->setFont(ATASCIIFace(8));
    lblDesc->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblDesc->setWordWrap(true);
    SetTextColor(lblDesc, QColor(0, 255, 255));
    imgSplash = MakeLabel(Panel1, "imgSplash", QRect(33, 67, 240, 180));
    imgSplash->setAlignment(Qt::AlignCenter);
    lblVersion = MakeLabel(Panel1, "lblVersion", QRect(0, 253, W, 13));
    lblVersion->setFont(ATASCIIFace(8));
    lblVersion->setAlignment(Qt::AlignCenter);
    SetTextColor(lblVersion, Qt::white);
    lblCopyright = MakeLabel(Panel1, "lblCopyright", QRect(0, 267, W, 13));
    lblCopyright->setFont(ATASCIIFace(8));
    lblCopyright->setAlignment(Qt::AlignCenter);
    SetTextColor(lblCopyright, Qt::white);
    lblCopyright->setText(MorvanelCopyright);
    imgTEVRA = MakeLabel(Panel1, "imgTEVRA", QRect(30, 289, 246, 34));
    Image1 = MakeLabel(Panel1, "Image1", QRect(0, height() - 3, W, 3));
    Image1->setPixmap(DecorationStrip(W));
    FormCreate();
}

void TSplashScreen::FormCreate() {
    lblVersion->setText(VersionText);
    imgSplash->setPixmap(SplashPicture(imgSplash->width(), imgSplash->height()));
    imgTEVRA->setPixmap(MakerLogoPicture(imgTEVRA->width(), imgTEVRA->height()));
    // Asked before the settings are loaded: always the German text.
    lblDesc->setText(GetMsg(QStringLiteral("mMorvanelDesc")));
    // As tall as its lines need, from its top down, so that no line is cut; above
    // the picture where it reaches it.
    lblDesc->resize(lblDesc->width(), qMax(lblDesc->height(), lblDesc->heightForWidth(lblDesc->width())));
    lblDesc->raise();
}

void TSplashScreen::setVisible(bool Visible) {
    // A fade still running gives way; the newer request decides alone.
    if (FFade) {
        FFade->stop();
        QWidget::setVisible(Visible);
        setWindowOpacity(1.0);
        return;
    }
    if (Visible == isVisible()) {
        QWidget::setVisible(Visible);
        return;
    }
    if (Visible)
        FormShow();
    else
        FormHide();
}

void TSplashScreen::FormShow() {
    if (QScreen* S = QGuiApplication::primaryScreen()) {
        const QRect Screen = S->geometry();
        move(Screen.left() + (Screen.width() - width()) / 2, Screen.top() + (Screen.height() - height()) / 2);
    }
    setWindowOpacity(0.0);
    QWidget::setVisible(true);
    QPointer<TSplashScreen> Self(this);
    Fade(0.0, 1.0);
    if (!Self || !isVisible()) return;
    setWindowOpacity(1.0);
    activateWindow();
}

void TSplashScreen::FormHide() {
    QPointer<TSplashScreen> Self(this);
    Fade(1.0, 0.0);
    // A newer show or hide during the fade has already decided.
    if (!Self || !isVisible() || windowOpacity() > 0.0) return;
    QWidget::setVisible(false);
    setWindowOpacity(1.0);
}

bool TSplashScreen::FinishFade() {
    if (!FFade) return false;
    FFade->setCurrentTime(FFade->totalDuration());
    return true;
}

void TSplashScreen::Fade(qreal From, qreal To) {
    // No parent: the animation lives on this stack frame only.
    QPropertyAnimation Animation(this, "windowOpacity");
    Animation.setDuration(FadeTime);
    Animation.setStartValue(From);
    Animation.setEndValue(To);
    QEventLoop Loop;
    connect(&Animation, &QAbstractAnimation::stateChanged, &Loop,
            [&Loop](QAbstractAnimation::State New, QAbstractAnimation::State) {
                if (New == QAbstractAnimation::Stopped) Loop.quit();
            });
    FFade = &Animation;
    Animation.start();
    if (Animation.state() == QAbstractAnimation::Running) Loop.exec();
}
