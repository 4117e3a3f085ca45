#pragma once
// The about box: version, the system's name, the maker's addresses and a credits
// scroller; shown modally from the Help menu.
#include <QDialog>
#include <QLabel>

class QTimer;
class TVekButton;

// A picture label that reacts to clicks (the logos, the addresses).
class TClickImage : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* E) override;
};

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* Parent = nullptr);

    // The text the scroller runs through, one character per tick: the credits of
    // the current language, read each time the box comes up.
    QString CreditsText() const { return FCredits; }
    // Characters the scroller shows at once.
    static constexpr int ScrollerWidth = 60;
    static const QString EMailAddress;
    static const QString WebAddress;
    // The page the picture link opens.
    static const QString Image3Address;

    void FormActivate();
    void Timer1Timer();
    void lblEMailClick();
    void lblWebsiteClick();
    void Image3Click();
    void OKButtonClick();

    // 1-based index of the credits character the scroller shows first.
    int ScrollerPosition() const { return FScrollPos; }

    QLabel *Image1 = nullptr, *Image7 = nullptr, *lblTitle = nullptr, *lblDesc = nullptr,
           *ImgSplash = nullptr, *lblVersion = nullptr, *lblCopyright = nullptr, *lblOSVersion = nullptr,
           *lblScroller = nullptr;
    TClickImage *lblEMail = nullptr, *lblWebsite = nullptr, *Image3 = nullptr;
    TVekButton* btnOK = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void changeEvent(QEvent* Event) override;
    void showEvent(QShowEvent* Event) override;

private:
    void FormCreate();
    int FScrollPos = 1;
    QString FCredits;
};

extern TfrmAbout* frmAbout;
