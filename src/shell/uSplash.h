#pragma once
#include <QImage>
#include <QWidget>

// The start-up picture, shown while the program gets ready.
class TSplashScreen : public QWidget {
    Q_OBJECT
public:
    explicit TSplashScreen(QWidget* Parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage FPicture;
    QString FDescription;
};
