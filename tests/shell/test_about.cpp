#include "VekButton.h"
#include "test_common.h"
#include "test_drive_events.h"
#include "uGetWinVersion.h"
#include "uGlobal.h"
#include "uInfo.h"
#include "uParam.h"
#include "uSplash.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSysInfo>
#include <QUrl>
#include <cstring>

namespace {
TOSVersionInfoEx Record(quint32 Platform, quint32 Major, quint32 Minor, const char* ServicePack = "",
                        quint8 ProductType = 0, quint16 Suite = 0, quint32 Size = OSVersionInfoExSize) {
    TOSVersionInfoEx R;
    std::memset(&R, 0, sizeof R);
    R.dwOSVersionInfoSize = Size;
    R.dwPlatformId = Platform;
    R.dwMajorVersion = Major;
    R.dwMinorVersion = Minor;
    std::strncpy(R.szCSDVersion, ServicePack, sizeof R.szCSDVersion - 1);
    R.wProductType = ProductType;
    R.wSuiteMask = Suite;
    return R;
}

// Receives the addresses the about box opens instead of the desktop.
class TUrlRecorder : public QObject {
    Q_OBJECT
public:
    QStringList Opened;
public slots:
    void Open(const QUrl& Url) { Opened << Url.toString(); }
};

class AboutTest : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        LanguageFolder = Dir.path() + "/";
        Write("german.lng", "[GeneralMsg]\nmErrBrowser=Kein Browser\nmMorvanelDesc=Betrachter\n");
        for (const char* Scheme : {"mailto", "https", "http"})
            QDesktopServices::setUrlHandler(Scheme, &Urls, "Open");
    }
    void TearDown() override {
        for (const char* Scheme : {"mailto", "https", "http"}) QDesktopServices::unsetUrlHandler(Scheme);
        FileTest::TearDown();
    }
    TUrlRecorder Urls;
};
} // namespace

TEST(WindowsVersionName, NamesTheVersionRecords) {
    struct Case {
        TOSVersionInfoEx R;
        bool Hotfix;
        const char* Name;
    } Cases[] = {
        {Record(2, 5, 1, "Service Pack 2", 1, 0x0200), false,
         "Microsoft Windows XP\nHome Edition\nService Pack 2"},
        {Record(2, 6, 0, "", 3, 0x0002), false, "Microsoft Windows Vista\nServer 6.0, Enterprise Edition\n"},
        {Record(2, 5, 2, "", 3, 0x0400), false, "Microsoft Windows Server 2003\nWeb Edition\n"},
        {Record(2, 4, 0, "Service Pack 6", 1), true,
         "Microsoft Windows NT\nWorkstation 4.0\nService Pack 6a"},
        // Without the extended part only the name and the service pack remain.
        {Record(2, 5, 1, "Service Pack 1", 1, 0, OSVersionInfoSize), false,
         "Microsoft Windows XP\nService Pack 1"},
        {Record(1, 4, 0, " C"), false, "Microsoft Windows 95 OSR2"},
        {Record(1, 4, 10, " A"), false, "Microsoft Windows 98 SE"},
        {Record(7, 5, 1, ""), false, ""},
        {Record(2, 5, 1, "Service Pack 3", 1, 0, 0), false, ""},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(GetWindowsVersionName(C.R, C.Hotfix).toStdString(), std::string(C.Name));

    // A service-pack text without its terminator ends at the record's array.
    TOSVersionInfoEx Full = Record(2, 5, 1, "", 1);
    std::memset(Full.szCSDVersion, 'x', sizeof Full.szCSDVersion);
    EXPECT_EQ(GetWindowsVersionName(Full), "Microsoft Windows XP\nProfessional\n" + QString(128, 'x'));
}

TEST(WindowsVersionName, QueryFallsBackToThePlainRecord) {
    QList<quint32> Asked;
    TOSVersionInfoEx R;
    EXPECT_TRUE(GetOSVersionInfo(R, [&](TOSVersionInfoEx& I) {
        Asked << I.dwOSVersionInfoSize;
        return I.dwOSVersionInfoSize == OSVersionInfoSize;
    }));
    EXPECT_EQ(Asked, (QList<quint32>{156, 148}));
    EXPECT_EQ(R.dwOSVersionInfoSize, 148u);
    // Both queries failing: an empty record, whatever the query left in it.
    EXPECT_FALSE(GetOSVersionInfo(R, [](TOSVersionInfoEx& I) {
        I.dwMajorVersion = 9;
        return false;
    }));
    EXPECT_EQ(R.dwOSVersionInfoSize, 0u);
    EXPECT_EQ(GetWindowsVersionName(R), "");
}

// (The run-time texts stay out of the translation export: the language files hold no key for them.)
TEST_F(AboutTest, RunTimeTextsAndOkCloses) {
    TfrmAbout About;
    EXPECT_EQ(About.lblVersion->text(), VersionText);
    EXPECT_EQ(About.lblOSVersion->text(), QSysInfo::prettyProductName());
    About.show();
    About.btnOK->Click();
    EXPECT_FALSE(About.isVisible());
    EXPECT_EQ(About.result(), QDialog::Accepted);
}

TEST_F(AboutTest, ScrollerRunsThroughTheCreditsAndStartsOver) {
    TfrmAbout About;
    // The box's own timer moves it, every 125 ms; activation starts at the first
    // character of the credits in the current language.
    EXPECT_EQ(About.Timer1->interval(), 125);
    Write("german.lng", "[GeneralMsg]\nmCredits=+++ Programm und Grafik: TEVRA +++ Dank an alle Tester des "
                        "Clubs +++ Viel Spass! +++\n");
    Write("English.lng", "[GeneralMsg]\nmCredits=+++ Program and graphics: TEVRA +++\n");
    LngFile = "English.lng";
    About.FormActivate();
    EXPECT_EQ(About.CreditsText(), "+++ Program and graphics: TEVRA +++");
    LngFile = "german.lng";
    About.FormActivate();
    const QString T = About.CreditsText();
    const int N = int(T.size());
    ASSERT_GT(N, TfrmAbout::ScrollerWidth);
    EXPECT_EQ(T, "+++ Programm und Grafik: TEVRA +++ Dank an alle Tester des Clubs +++ Viel Spass! +++");
    TfrmAbout Shown; // showing reads them as well
    Shown.show();
    EXPECT_EQ(Shown.CreditsText(), T);
    for (int Tick = 0; Tick < 3; ++Tick) ASSERT_TRUE(drive::Tick(About.Timer1));
    EXPECT_EQ(About.lblScroller->text(), T.mid(2, 60));
    About.FormActivate();
    About.Timer1Timer();
    EXPECT_EQ(About.lblScroller->text(), T.left(60));
    for (int Tick = 2; Tick < N; ++Tick) About.Timer1Timer();
    // Tick n-1 leads with the last but one character.
    EXPECT_EQ(About.lblScroller->text(), T.mid(N - 2));
    // The n-th tick shows the start again: the last character never leads.
    About.Timer1Timer();
    EXPECT_EQ(About.lblScroller->text(), T.left(60));
}

TEST_F(AboutTest, LinksOpenTheirAddressesOrWarn) {
    TfrmAbout About;
    emit About.lblEMail->Clicked();
    emit About.lblWebsite->Clicked();
    emit About.Image3->Clicked();
    EXPECT_EQ(Urls.Opened, (QStringList{"mailto:" + TfrmAbout::EMailAddress, TfrmAbout::WebAddress,
                                        TfrmAbout::Image3Address}));
    EXPECT_TRUE(Boxes.isEmpty());
    // A handler that cannot be called makes the desktop report failure.
    QDesktopServices::setUrlHandler("https", &Urls, "NoSuchSlot");
    About.lblWebsiteClick();
    About.Image3Click();
    EXPECT_EQ(Boxes, (QStringList{"Warnung|Kein Browser", "Warnung|Kein Browser"}));
}

TEST_F(AboutTest, SplashShowsItsTextsCentredAndKeepsItsOpacity) {
    TSplashScreen Splash;
    EXPECT_EQ(Splash.lblVersion->text(), VersionText);
    EXPECT_EQ(Splash.lblDesc->text(), "Betrachter");
    EXPECT_FALSE(Splash.imgSplash->pixmap().isNull());
    // Each fade runs in its own event loop and is ended from inside it, not waited for;
    // showing lets events run before the fade starts.
    std::function<void(int)> FadeEnds = [&](int Rounds) {
        drive::Soon(&Splash, [&, Rounds] {
            if (!Splash.FinishFade() && Rounds > 0) FadeEnds(Rounds - 1);
        });
    };
    FadeEnds(16);
    Splash.show();
    EXPECT_DOUBLE_EQ(Splash.windowOpacity(), 1.0);
    const QRect Screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(Splash.pos(), QPoint(Screen.left() + (Screen.width() - Splash.width()) / 2,
                                   Screen.top() + (Screen.height() - Splash.height()) / 2));
    FadeEnds(16);
    Splash.hide();
    EXPECT_FALSE(Splash.isVisible());
    EXPECT_DOUBLE_EQ(Splash.windowOpacity(), 1.0);
    EXPECT_TRUE(Boxes.isEmpty());
}

// The description wraps to two lines in the narrow splash: both show whole.
TEST_F(AboutTest, SplashShowsItsWholeDescription) {
    Write("german.lng", "[GeneralMsg]\nmMorvanelDesc=Betrachter und Konverter f\xC3\xBCr Dateien der ATARI "
                        "8-Bit-Computer\n");
    TSplashScreen Splash;
    QLabel* Desc = Splash.lblDesc;
    ASSERT_GT(Desc->heightForWidth(Desc->width()), QFontMetrics(Desc->font()).height());
    EXPECT_EQ(Desc->y(), 50);
    EXPECT_GE(Desc->height(), Desc->heightForWidth(Desc->width()));
    Splash.QWidget::setVisible(true); // without its fade
    EXPECT_EQ(Desc->visibleRegion(), QRegion(Desc->rect()));
    Splash.QWidget::setVisible(false);
}

#include "test_about.moc"
