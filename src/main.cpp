// The program block: start-up, the message loop, shutdown.
#include "uGlobal.h"
#include "uMain.h"
#include "uSplash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

namespace {
// Exceptions never cross the event loop: whatever a handler lets through is shown here.
class TMorvanelApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* Receiver, QEvent* Event) override {
        try {
            return QApplication::notify(Receiver, Event);
        } catch (const std::exception& E) {
            HandleException(E);
        } catch (...) {
            HandleUnknownException();
        }
        return false;
    }
};
} // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer SplashStart; // monotonic: midnight does not prolong the wait
    SplashStart.start();
    TMorvanelApplication App(argc, argv);
    SetApplicationIdentity();
    InitFolders();
    SetSettingsDefaults();

    QStringList Files;
    for (const QString& Arg : App.arguments().mid(1)) Files << AbsoluteFilePath(Arg);

    LoadATASCIIFont();
    auto* Splash = new TSplashScreen;
    Splash->show();
    while (SplashStart.elapsed() <= 2592) {
        App.processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }

    CreateApplicationWindows();
    Splash->hide();
    delete Splash;

    HintHidePause = 7000;
    LoadSettings();
    frmMain->CommandLineFiles = Files;
    frmMain->show();
    const int Result = App.exec();

    try {
        SaveSettings();
    } catch (const std::exception& E) {
        HandleException(E);
    }
    UnloadATASCIIFont();
    DestroyApplicationWindows();
    return Result;
}
