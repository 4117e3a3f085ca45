// Dialog and message captions read exactly as the program sets them: the window
// system is given no display name to append.
#include "VekButton.h"
#include "uChildWinFont.h"
#include "uGlobal.h"
#include "uInfo.h"
#include "uParam.h"
#include "uYESNOCANCEL.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {
// The caption of the message box that Show opens; the box is closed at once.
QString MessageCaption(const std::function<void()>& Show) {
    QString Caption = QStringLiteral("<no box>");
    QTimer T;
    QObject::connect(&T, &QTimer::timeout, [&] {
        if (auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            Caption = Box->windowTitle();
            Box->accept();
        }
    });
    T.start(5);
    QTimer::singleShot(5000, [] {
        if (QWidget* W = QApplication::activeModalWidget()) W->close();
    });
    Show();
    return Caption;
}
} // namespace

TEST(Captions, NoDisplayNameIsAppendedToDialogsAndMessages) {
    const QString SavedName = QCoreApplication::applicationName();
    SetApplicationIdentity();
    EXPECT_EQ(QCoreApplication::applicationName(), "Morvanel");
    // Without a display name of its own the application shows its plain name, so
    // the window system leaves every caption as it is.
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "probe");
    SetApplicationIdentity();

    SetMessageBoxHook(nullptr);
    EXPECT_EQ(MessageCaption([] { ShowInfoMsg(QStringLiteral("i")); }), "Informationen");
    EXPECT_EQ(MessageCaption([] { ShowWarningMsg(QStringLiteral("w")); }), "Warnung");
    EXPECT_EQ(MessageCaption([] { ShowErrorMsg(QStringLiteral("e")); }), "Fehler");
    TfrmParameter Settings;
    EXPECT_EQ(Settings.windowTitle(), "Einstellungen");
    TfrmAbout About;
    EXPECT_EQ(About.windowTitle(), "Morvanel Info");
    QCoreApplication::setApplicationName(SavedName);
}

// Every look-style button the windows place draws its focus border in the
// inactive-caption text colour.
TEST(Captions, LookStyleButtonsOfEveryLayoutShareTheirBorderColour) {
    TfrmParameter Settings;
    TfrmYESNOCANCEL YesNo;
    TfrmAbout About;
    TChildWinFont Font;
    for (QWidget* W : std::initializer_list<QWidget*>{&Settings, &YesNo, &About, &Font}) {
        const auto Buttons = W->findChildren<TVekButton*>();
        EXPECT_FALSE(Buttons.isEmpty()) << W->metaObject()->className();
        for (TVekButton* B : Buttons)
            EXPECT_EQ(B->LookStyle()->BorderColor(), clInactiveCaptionText)
                << W->metaObject()->className() << " " << B->objectName().toStdString();
    }
}
