// A report sent to a file through the output options never replaces a file without a
// question, and never writes where no save may.
#include "test_drive_events.h"
#include "test_shell_common.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <sys/stat.h>

namespace {
class ReportReplaceTest : public OpenedMainWindow {
protected:
    void SetUp() override {
        OpenedMainWindow::SetUp();
        RecordQuestions();
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
}
