#include "uInfo.h"

#include "DialogBody.h"
#include "VekButton.h"
#include "uGetWinVersion.h"
#include "uGlobal.h"
#include "uSplash.h"

#include <QDesktopServices>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <QTimer>
#include <QUrl>

void TClickImage::mouseReleaseEvent(QMouseEvent* E) {
    QLabel::mouseReleaseEvent(E);
    if (rect().contains(E->position().toPoint())) emit Clicked();
}

TfrmAbout* frmAbout = nullptr;

const QString TfrmAbout::EMailAddress = QStringLiteral("morvanel@example.org");
const QString TfrmAbout::WebAddress = QStringLiteral("https://www.example.org/tevra/");
const QString TfrmAbout::Image3Address = QStringLiteral("https://club.example.org/");

namespace {
constexpr quint32 clAqua = 0xFFFF00;
constexpr quint32 clSkyBlue = 0xF0CAA6;
constexpr quint32 clYellow = 0x00FFFF;

template <class T> T* Make(QWidget* Parent, const char* Name, const QRect& Geometry) {
    auto* W = new T(Parent);
    W->setObjectName(QLatin1String(Name));
    W->setGeometry(Geometry);
    return W;
}

void Style(QLabel* L, int PixelSize, quint32 Colour, Qt::Alignment Align = Qt::AlignHCenter | Qt::AlignTop) {
    L->setFont(ATASCIIFace(PixelSize));
    QPalette Pal = L->palette();
    Pal.setColor(QPalette::WindowText, WinColorToQColor(Colour));
    L->setPalette(Pal);
    L->setAlignment(Align);
}

// The picture link: a small framed badge.
QPixmap ClubBadge(int Width, int Height) {
    QImage Badge(Width, Height, QImage::Format_RGB32);
    Badge.fill(QColor(0x20, 0x20, 0x20));
    QPainter P(&Badge);
    P.setPen(WinColorToQColor(clSkyBlue));
    P.drawRect(0, 0, Width - 1, Height - 1);
    P.setFont(ATASCIIFace(16));
    P.drawText(Badge.rect(), Qt::AlignCenter, QStringLiteral("CLUB"));
    P.end();
    return QPixmap::fromImage(Badge);
}

// Opens an address with the desktop's handler; a failure is reported as the
// browser error.
void OpenAddress(const QString& Address) {
    bool Opened = false;
    try {
        Opened = QDesktopServices::openUrl(QUrl(Address));
    } catch (const std::exception&) {
        Opened = false;
    }
    if (!Opened) ShowWarningMsg(GetMsg(QStringLiteral("mErrBrowser")));
}
} // namespace

TfrmAbout::TfrmAbout(QWidget* Parent) : QDialog(Parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Morvanel Info"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(349, 436);
    setAutoFillBackground(true);
    QPalette Pal = palette();
    Pal.setColor(QPalette::Window, WinColorToQColor(TopPanelColor));
    setPalette(Pal);
    const int W = width();

    Image1 = Make<QLabel>(this, "Image1", QRect(0, 0, W, 3));
    Image1->setPixmap(DecorationStrip(W));
    Image7 = Make<QLabel>(this, "Image7", QRect(0, height() - 3, W, 3));
    Image7->setPixmap(DecorationStrip(W));
    lblTitle = Make<QLabel>(this, "lblTitle", QRect(0, 9, W, 33));
    lblTitle->setText(QStringLiteral("Morvanel"));
    Style(lblTitle, 32, clWhite, Qt::AlignCenter);
    lblDesc = Make<QLabel>(this, "lblDesc", QRect(0, 42, W, 16));
    lblDesc->setText(QStringLiteral("ATARI File Viewer"));
    Style(lblDesc, 16, clAqua);
    ImgSplash = Make<QLabel>(this, "ImgSplash", QRect(54, 59, 240, 180));
    ImgSplash->setAlignment(Qt::AlignCenter);
    lblVersion = Make<QLabel>(this, "lblVersion", QRect(0, 245, W, 13));
    lblVersion->setProperty("Tag", -1);
    Style(lblVersion, 8, clWhite);
    lblCopyright = Make<QLabel>(this, "lblCopyright", QRect(0, 258, W, 13));
    lblCopyright->setText(MorvanelCopyright);
    Style(lblCopyright, 8, clWhite);
    lblOSVersion = Make<QLabel>(this, "lblOSVersion", QRect(4, 277, W - 8, 34));
    lblOSVersion->setProperty("Tag", -1);
    lblOSVersion->setWordWrap(true);
    Style(lblOSVersion, 8, clSilver);
    lblEMail = Make<TClickImage>(this, "lblEMail", QRect(0, 320, W, 10));
    lblEMail->setText(EMailAddress);
    lblWebsite = Make<TClickImage>(this, "lblWebsite", QRect(0, 330, W, 10));
    lblWebsite->setText(WebAddress);
    for (QLabel* L : {static_cast<QLabel*>(lblEMail), static_cast<QLabel*>(lblWebsite)}) {
        Style(L, 8, clSkyBlue);
        L->setCursor(Qt::PointingHandCursor);
        // Only the address itself reacts, not the whole row.
        const int TextWidth = L->fontMetrics().horizontalAdvance(L->text()) + 2;
        L->setGeometry((W - TextWidth) / 2, L->y(), TextWidth, L->height());
    }
    Image3 = Make<TClickImage>(this, "Image3", QRect(135, 346, 80, 23));
    Image3->setPixmap(ClubBadge(80, 23));
    Image3->setCursor(Qt::PointingHandCursor);
    lblScroller = Make<QLabel>(this, "lblScroller", QRect(5, 376, 340, 10));
    lblScroller->setProperty("Tag", -1);
    Style(lblScroller, 8, clYellow, Qt::AlignLeft | Qt::AlignTop);

    btnOK = Make<TVekButton>(this, "btnOK", QRect((W - 75) / 2, 398, 75, 25));
    btnOK->SetCaption(QStringLiteral("&OK"));
    btnOK->LookStyle()->SetBorderColor(clInactiveCaptionText);
    btnOK->LookStyle()->SetButtonColor(TopPanelColor);
    btnOK->SetFontColor(clWhite);
    btnOK->SetDefault(true);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(125);

    connect(lblEMail, &TClickImage::Clicked, this, [this] { Guarded([this] { lblEMailClick(); }); });
    connect(lblWebsite, &TClickImage::Clicked, this, [this] { Guarded([this] { lblWebsiteClick(); }); });
    connect(Image3, &TClickImage::Clicked, this, [this] { Guarded([this] { Image3Click(); }); });
    connect(btnOK, &QPushButton::clicked, this, [this] { Guarded([this] { OKButtonClick(); }); });
    connect(Timer1, &QTimer::timeout, this, [this] { Guarded([this] { Timer1Timer(); }); });
    FormCreate();
    Timer1->start();
    PlaceOnEachShowing(this);
    FocusOnEachShowing(this, btnOK);
}

void TfrmAbout::FormCreate() {
    lblVersion->setText(VersionText);
    lblOSVersion->setText(GetWindowsVersionName());
    ImgSplash->setPixmap(SplashPicture(ImgSplash->width(), ImgSplash->height()));
}

void TfrmAbout::changeEvent(QEvent* Event) {
    QDialog::changeEvent(Event);
    if (Event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

// Also when no window manager hands the box the focus.
void TfrmAbout::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    if (!Event->spontaneous()) FCredits = GetMsg(QStringLiteral("mCredits"));
}

void TfrmAbout::FormActivate() {
    FScrollPos = 1;
    FCredits = GetMsg(QStringLiteral("mCredits"));
}

void TfrmAbout::Timer1Timer() {
    // Starts over before the last character would lead.
    if (FScrollPos >= FCredits.size()) {
        lblScroller->clear();
        FScrollPos = 1;
    }
    lblScroller->setText(FCredits.mid(FScrollPos - 1, ScrollerWidth));
    ++FScrollPos;
}

void TfrmAbout::lblEMailClick() {
    OpenAddress(QStringLiteral("mailto:") + lblEMail->text());
}

void TfrmAbout::lblWebsiteClick() {
    OpenAddress(lblWebsite->text());
}

void TfrmAbout::Image3Click() {
    OpenAddress(Image3Address);
}

void TfrmAbout::OKButtonClick() {
    accept();
}
