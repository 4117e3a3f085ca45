// The modal dialogs: the save-changes question's answers, its translation, first
// control and place on every showing, and captions that read exactly as the program
// sets them (the window system is given no display name to append).
#include "VekButton.h"
#include "test_common.h"
#include "test_drive_events.h"
#include "uChildWinFont.h"
#include "uGlobal.h"
#include "uInfo.h"
#include "uParam.h"
#include "uYESNOCANCEL.h"

#include <QApplication>
#include <functional>
#include <gtest/gtest-spi.h>

namespace {
using YesNoCancelLanguage = FileTest;
using DialogShowing = FileTest;

int RunModal(TfrmYESNOCANCEL& D, const std::function<void()>& Act) {
    int Result = -2;
    EXPECT_TRUE(drive::WhileModal([&] { Result = D.exec(); }, [&](QWidget*) { Act(); }));
    return Result;
}

// The caption of the message box that Show opens; the box is closed at once.
QString MessageCaption(const std::function<void()>& Show) {
    QString Caption = QStringLiteral("<no box>");
    drive::WhileModal(Show, [&](QWidget* D) {
        Caption = D->windowTitle();
        D->close();
    });
    return Caption;
}
} // namespace

TEST(YesNoCancelTest, EachWayOfAnsweringGivesItsResult) {
    TfrmYESNOCANCEL D;
    EXPECT_EQ(RunModal(D, [&] { D.btnYES->Click(); }), 6);
    EXPECT_EQ(RunModal(D, [&] { D.btnNo->Click(); }), 7);
    EXPECT_EQ(RunModal(D, [&] { D.btnCancel->Click(); }), 2);
    EXPECT_EQ(RunModal(D, [&] { D.close(); }), 2); // the caption bar's close button
    EXPECT_EQ(RunModal(D, [&] { drive::Key(&D, Qt::Key_Escape); }), 2);
    // With no button focused the default button answers Return.
    EXPECT_EQ(RunModal(D,
                       [&] {
                           if (QWidget* Focus = D.focusWidget()) Focus->clearFocus();
                           drive::Key(&D, Qt::Key_Return);
                       }),
              6);
}

// The long-lived question opens on Yes each time, whatever the last one was left
// on, centred on the main window wherever that has moved; so does the about box.
TEST_F(DialogShowing, EachShowingStartsOnYesCentredOnTheMainWindow) {
    QWidget Main;
    Main.resize(625, 475);
    Main.show();
    TfrmYESNOCANCEL D(&Main);
    TfrmAbout About(&Main);
    for (const bool First : {true, false}) {
        Main.move(First ? QPoint(60, 80) : QPoint(170, 230));
        // Left on No and cancelled the first time, answered by Enter the second.
        EXPECT_EQ(RunModal(D,
                           [&] {
                               EXPECT_EQ(drive::Activated(&D), D.btnYES);
                               EXPECT_TRUE(CentredOn(&D, &Main));
                               if (First) drive::Type(Qt::Key_Tab);
                               EXPECT_EQ(QApplication::focusWidget(), First ? D.btnNo : D.btnYES);
                               drive::Type(First ? Qt::Key_Escape : Qt::Key_Return);
                           }),
                  First ? 2 : 6);
        EXPECT_EQ(drive::WhileModal([&] { About.exec(); },
                                    [&](QWidget*) {
                                        EXPECT_EQ(drive::Activated(&About), About.btnOK);
                                        EXPECT_TRUE(CentredOn(&About, &Main));
                                        drive::Type(Qt::Key_Return);
                                    }),
                  1);
        EXPECT_FALSE(About.isVisible());
    }
}

// A question that no test expects fails the running test at once and is answered No.
TEST_F(DialogShowing, UnexpectedQuestionsFailTheTestAtOnceAndAreAnsweredNo) {
    SetQuestionHook(nullptr);
    bool Yes = true;
    EXPECT_NONFATAL_FAILURE(Yes = AskYesNo("Frage", "Nobody expects this?"), "Nobody expects this?");
    EXPECT_FALSE(Yes);
    TfrmYESNOCANCEL D;
    int Result = 0;
    EXPECT_NONFATAL_FAILURE(Result = D.exec(), "TfrmYESNOCANCEL");
    EXPECT_EQ(Result, 2);
}

TEST_F(YesNoCancelLanguage, TranslatesItselfOnEveryShowing) {
    LanguageFolder = Dir.path() + "/";
    Write("Deutsch.lng", "[frmYESNOCANCEL]\n"
                         "frmYESNOCANCEL.Caption = Änderungen speichern?\n"
                         "lblMsg.Caption = Änderungen speichern?\n"
                         "btnYES.Caption = Ja\n");
    Write("English.lng", "[frmYESNOCANCEL]\n"
                         "lblMsg.Caption = Keep your edits?\n"
                         "btnYES.Caption = Yes\n"
                         "btnCancel.Caption = Back\n");
    TfrmYESNOCANCEL D;
    QString Seen;
    const auto Answer = [&](TVekButton* B) {
        return [&D, &Seen, B] {
            Seen = D.lblMsg->text() + "|" + D.btnYES->Caption() + "|" + D.btnCancel->Caption();
            B->Click();
        };
    };
    LngFile = "Deutsch.lng";
    RunModal(D, Answer(D.btnCancel));
    EXPECT_EQ(Seen, "Änderungen speichern?|Ja|Cancel"); // a missing key keeps the built-in text
    EXPECT_EQ(D.windowTitle(), "Änderungen speichern?");
    LngFile = "english.LNG"; // found without regard to case
    RunModal(D, Answer(D.btnNo));
    EXPECT_EQ(Seen, "Keep your edits?|Yes|Back");
}

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

    // Every look-style button the windows place draws its focus border in the
    // inactive-caption text colour.
    TfrmYESNOCANCEL YesNo;
    TChildWinFont Font;
    for (QWidget* W : std::initializer_list<QWidget*>{&Settings, &YesNo, &About, &Font}) {
        const auto Buttons = W->findChildren<TVekButton*>();
        EXPECT_FALSE(Buttons.isEmpty()) << W->metaObject()->className();
        for (TVekButton* B : Buttons)
            EXPECT_EQ(B->LookStyle()->BorderColor(), clInactiveCaptionText)
                << W->metaObject()->className() << " " << B->objectName().toStdString();
    }
}
