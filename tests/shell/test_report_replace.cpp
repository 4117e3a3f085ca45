// A report sent to a file through the output options never replaces a file without a
// question, and never writes where no save may; the options show over the main window.
#include "platform/test_readonly.h"
#include "solid3d/Solid3DTestUtil.h"
#include "test_drive_events.h"
#include "test_shell_common.h"
#include "uChildWinSolidStates.h"
#include "uFrmSolidStatesController.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <sys/stat.h>

namespace {
class ReportReplaceTest : public OpenedMainWindow {
protected:
    void SetUp() override {
        OpenedMainWindow::SetUp();
        RecordQuestions();
    }
    void TearDown() override {
        delete frmSolidStatesController;
        OpenedMainWindow::TearDown();
    }
    // Prints the active window; in the output options Act runs, then OK is pressed.
    // Whether the options were still open after OK (they are then cancelled).
    bool PrintWithOk(const std::function<void(TfrmReportOptions&)>& Act) {
        bool StillOpen = false;
        drive::WhileModal([&] { Main->btnReportClick(); },
                          [&](QWidget* W) {
                              auto* Dlg = qobject_cast<TfrmReportOptions*>(W);
                              ASSERT_NE(Dlg, nullptr);
                              Act(*Dlg);
                              Dlg->btnOK->click();
                              StillOpen = Dlg->isVisible();
                              if (StillOpen) Dlg->btnCancel->click();
                          });
        return StillOpen;
    }
    bool PrintToFile(const QString& Name) {
        return PrintWithOk([&](TfrmReportOptions& Dlg) {
            Dlg.rbFile->setChecked(true);
            Dlg.edFileName->setText(Name);
        });
    }
};
} // namespace

TEST_F(ReportReplaceTest, AnExistingFileIsReplacedOnlyAfterYesAndAFifoIsRefused) {
    ASSERT_NE(Open("MAP.GR8", RandomBytes(7680, 1)), nullptr);
    const QString Map = Dir.filePath("map.pdf");
    EXPECT_FALSE(PrintToFile(Map));
    EXPECT_TRUE(Questions.isEmpty()); // a new file: nothing to ask
    const QByteArray First = ReadWholeFile(Map);
    ASSERT_TRUE(First.startsWith("%PDF"));

    // Another picture: the options keep the file; OK asks, No keeps it and the options open.
    ASSERT_NE(Open("PIC.GR8", RandomBytes(7680, 2)), nullptr);
    EXPECT_TRUE(PrintWithOk([&](TfrmReportOptions& Dlg) {
        EXPECT_TRUE(Dlg.rbFile->isChecked());
        EXPECT_EQ(Dlg.edFileName->text(), Map);
    }));
    ASSERT_EQ(Questions.size(), 1);
    EXPECT_TRUE(Questions[0].contains("map.pdf")) << Questions[0].toStdString();
    EXPECT_EQ(ReadWholeFile(Map), First);

    // Yes replaces it.
    Agree = true;
    EXPECT_FALSE(PrintWithOk([](TfrmReportOptions&) {}));
    EXPECT_EQ(Questions.size(), 2);
    EXPECT_NE(ReadWholeFile(Map), First);

    // A name chosen with "..." was asked about by the file dialog: OK asks no more.
    SetFileDialogHook([&](TFileDialogRequest&, QStringList& Files) {
        Files << Map;
        return true;
    });
    EXPECT_FALSE(PrintWithOk([](TfrmReportOptions& Dlg) { Dlg.btnBrowse->click(); }));
    EXPECT_EQ(Questions.size(), 2);
    EXPECT_EQ(Boxes, QStringList());

    // A FIFO or a missing folder is refused, nothing asked; the options stay open.
    const QString Fifo = Dir.filePath("pipe.pdf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(Fifo).constData(), 0600), 0);
    const QString Missing = Dir.filePath("gone/out.pdf");
    for (const QString& Name : {Fifo, Missing}) EXPECT_TRUE(PrintToFile(Name));
    EXPECT_EQ(Boxes, QStringList({"Fehler|Keine gewöhnliche Datei, sondern eine FIFO (" + Fifo + ")",
                                  "Fehler|Ordner nicht gefunden (" + Missing + ")"}));
    EXPECT_EQ(Questions.size(), 2);
    EXPECT_FALSE(QFileInfo::exists(Dir.filePath("gone")));

    // So is a read-only file or a new file in a folder without write permission.
    Boxes.clear();
    ASSERT_TRUE(QDir(Dir.path()).mkdir("locked"));
    const QString ReadOnly = Write("ro.pdf", "old"), Locked = Dir.filePath("locked/out.pdf");
    SetMode(ReadOnly, 0444);
    SetMode(Dir.filePath("locked"), 0555);
    SetMode(Dir.path(), 0755);
    {
        const TActAsUnprivileged Unprivileged;
        for (const QString& Name : {ReadOnly, Locked}) EXPECT_TRUE(PrintToFile(Name));
    }
    SetMode(Dir.filePath("locked"), 0755);
    EXPECT_EQ(Boxes, QStringList({"Fehler|Zugriff verweigert (" + ReadOnly + ")",
                                  "Fehler|Zugriff verweigert (" + Locked + ")"}));
    EXPECT_EQ(Questions.size(), 2);
    EXPECT_EQ(ReadWholeFile(ReadOnly), "old");
    EXPECT_FALSE(QFileInfo::exists(Locked));

    // A name typed in the file dialog without its extension was not asked about there:
    // while the name with the extension exists, OK asks once, and No keeps the file.
    Boxes.clear();
    Agree = false;
    const QByteArray Last = ReadWholeFile(Map);
    SetFileDialogHook([&](TFileDialogRequest&, QStringList& Files) {
        Files << Dir.filePath("map");
        return true;
    });
    EXPECT_TRUE(PrintWithOk([](TfrmReportOptions& Dlg) { Dlg.btnBrowse->click(); }));
    ASSERT_EQ(Questions.size(), 3);
    EXPECT_TRUE(Questions[2].contains("map.pdf")) << Questions[2].toStdString();
    EXPECT_EQ(ReadWholeFile(Map), Last);
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

// Printed while the 3D controller at the screen's edge is active, and at each showing, the
// options are centred on the main window and start at the checked destination, OK default.
TEST_F(ReportReplaceTest, TheOptionsShowOverTheMainWindowFromTheirDefaultControl) {
    Main->OpenFiles({Write("cube.3d", SolidFile({{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}}, {{1, 2}}))});
    auto* Win = qobject_cast<TChildWinSolidStates*>(Main->ActiveDocument());
    ASSERT_NE(Win, nullptr);
    Win->btnControllerClick();
    TfrmSolidStatesController* C = frmSolidStatesController;
    ASSERT_NE(C, nullptr);
    const QRect Screen = C->screen()->availableGeometry();
    C->move(Screen.bottomRight() - QPoint(C->frameGeometry().width(), C->frameGeometry().height()));
    drive::Activated(C);
    ASSERT_EQ(QApplication::activeWindow(), C);
    const auto ExpectOverMain = [&](TfrmReportOptions& Dlg) {
        EXPECT_TRUE(CentredOn(&Dlg, Main));
        EXPECT_EQ(Dlg.focusWidget(), Dlg.rbPreview);
        EXPECT_TRUE(Dlg.btnOK->isDefault());
    };
    EXPECT_EQ(drive::WhileModal([&] { Win->PrintReport(); },
                                [&](QWidget* W) {
                                    auto* Dlg = qobject_cast<TfrmReportOptions*>(W);
                                    ASSERT_NE(Dlg, nullptr);
                                    ExpectOverMain(*Dlg);
                                    Dlg->btnCancel->click();
                                }),
              1);
    // After a print to the printer they start on "Drucker", its focus mark drawn at once.
    drive::WhileModal([&] { Win->PrintReport(); },
                      [&](QWidget* W) {
                          auto* Dlg = qobject_cast<TfrmReportOptions*>(W);
                          if (!Dlg) return W->close(), void(); // the printer's own dialog
                          Dlg->rbPrinter->setChecked(true);
                          Dlg->btnOK->click();
                      },
                      true);
    drive::WhileModal([&] { Win->PrintReport(); },
                      [&](QWidget* W) {
                          auto* Dlg = qobject_cast<TfrmReportOptions*>(W);
                          ASSERT_NE(Dlg, nullptr);
                          EXPECT_TRUE(Dlg->rbPrinter->isChecked());
                          EXPECT_EQ(drive::Activated(Dlg), Dlg->rbPrinter);
                          const QImage Marked = Dlg->rbPrinter->grab().toImage(); // differs from unmarked
                          Dlg->setAttribute(Qt::WA_KeyboardFocusChange, false);
                          EXPECT_TRUE(Dlg->rbPrinter->grab().toImage() != Marked);
                          Dlg->btnCancel->click();
                      });
    // Shown again after it was moved and left on Cancel, it starts over.
    TfrmReportOptions Dlg(Main);
    Dlg.show();
    Dlg.btnCancel->setFocus();
    Dlg.move(Screen.topLeft());
    Dlg.hide();
    Dlg.show();
    ExpectOverMain(Dlg);
}
