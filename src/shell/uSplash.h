#pragma once
// The start-up splash screen, and the pictures it shares with the about box and
// the settings dialog.
#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QLabel;
class QPropertyAnimation;

// Shown while the program starts: fades in when shown and out when hidden.
class TSplashScreen : public QWidget {
    Q_OBJECT
public:
    explicit TSplashScreen(QWidget* Parent = nullptr);

    // Length of each fade, in milliseconds.
    static constexpr int FadeTime = 700;

    // Showing centres the splash on the screen and fades it in; hiding fades it
    // out first. Both wait for their fade in a local event loop.
    void setVisible(bool Visible) override;
    // Ends a running fade at once, at its end value, as if its time had passed;
    // whether one was running.
    bool FinishFade();

    QWidget* Panel1 = nullptr;
    QLabel *Image12 = nullptr, *lblTitel = nullptr, *lblDesc = nullptr, *imgSplash = nullptr,
           *lblVersion = nullptr, *lblCopyright = nullptr, *imgTEVRA = nullptr, *Image1 = nullptr;

private:
    void FormCreate();
    void FormShow();
    void FormHide();
    void Fade(qreal From, qreal To);
    QPointer<QPropertyAnimation> FFade;
};

// The "ATASCII" face at a pixel size, drawn without smoothing.
QFont ATASCIIFace(int PixelSize);
// A colour strip of the Atari's rainbow, Height pixels tall.
QPixmap DecorationStrip(int Width, int Height = 3);
// The maker's logo.
QPixmap MakerLogoPicture(int Width, int Height);
// The splash picture scaled into Width x Height, its proportions kept; a null
// pixmap when the program has no splash picture.
QPixmap SplashPicture(int Width, int Height);

// Copyright line of the splash and the about box.
extern const QString MorvanelCopyright;
