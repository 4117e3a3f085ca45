// The save-changes question: its answers and its translation on every showing.
#include "VekButton.h"
#include "uGlobal.h"
#include "uYESNOCANCEL.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {
// Runs the dialog modally; Act runs once it is visible. A dialog the action does
// not close fails the test (-1) instead of hanging it.
int RunModal(TfrmYESNOCANCEL& D, const std::function<void()>& Act) {
    QTimer T, Fallback;
    QObject::connect(&T, &QTimer::timeout, [&] {
        if (!D.isVisible()) return;
        T.stop();
        Act();
    });
    QObject::connect(&Fallback, &QTimer::timeout, [&] { D.done(-1); });
    T.start(5);
    Fallback.start(5000);
    return D.exec();
}

void SendKey(QWidget* W, int Key) {
    QKeyEvent E(QEvent::KeyPress, Key, Qt::NoModifier);
    QApplication::sendEvent(W, &E);
}
} // namespace

TEST(YesNoCancelTest, EachWayOfAnsweringGivesItsResult) {
    TfrmYESNOCANCEL D;
    EXPECT_EQ(RunModal(D, [&] { D.btnYES->Click(); }), 6);
    EXPECT_EQ(RunModal(D, [&] { D.btnNo->Click(); }), 7);
    EXPECT_EQ(RunModal(D, [&] { D.btnCancel->Click(); }), 2);
    EXPECT_EQ(RunModal(D, [&] { D.close(); }), 2); // the caption bar's close button
    EXPECT_EQ(RunModal(D, [&] { SendKey(&D, Qt::Key_Escape); }), 2);
    EXPECT_EQ(RunModal(D,
                       [&] {
                           QWidget* Focus = QApplication::focusWidget();
                           SendKey(Focus ? Focus : &D, Qt::Key_Return); // the default button answers
                       }),
              6);
}

TEST(YesNoCancelTest, TranslatesItselfOnEveryShowing) {
    InitFolders();
    const QString SavedFolder = LanguageFolder, SavedFile = LngFile;
    QTemporaryDir Dir;
    LanguageFolder = Dir.path() + "/";
    WriteWholeFile(Dir.filePath("Deutsch.lng"), "[frmYESNOCANCEL]\n"
                                                "frmYESNOCANCEL.Caption = Änderungen speichern?\n"
                                                "lblMsg.Caption = Änderungen speichern?\n"
                                                "btnYES.Caption = Ja\n");
    WriteWholeFile(Dir.filePath("English.lng"), "[frmYESNOCANCEL]\n"
                                                "lblMsg.Caption = Keep your edits?\n"
                                                "btnYES.Caption = Yes\n"
                                                "btnCancel.Caption = Back\n");
    TfrmYESNOCANCEL D;
    auto Texts = [&] { return D.lblMsg->text() + "|" + D.btnYES->Caption() + "|" + D.btnCancel->Caption(); };
    QString Seen;
    LngFile = "Deutsch.lng";
    RunModal(D, [&] {
        Seen = Texts();
        D.btnCancel->Click();
    });
    EXPECT_EQ(Seen, "Änderungen speichern?|Ja|Cancel"); // a missing key keeps the built-in text
    EXPECT_EQ(D.windowTitle(), "Änderungen speichern?");
    LngFile = "english.LNG"; // found without regard to case
    RunModal(D, [&] {
        Seen = Texts();
        D.btnNo->Click();
    });
    EXPECT_EQ(Seen, "Keep your edits?|Yes|Back");
    LanguageFolder = SavedFolder;
    LngFile = SavedFile;
}
