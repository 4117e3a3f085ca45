// The save dialog itself, driven from inside its own loop: the name the user typed
// and the question before a name with an added extension is replaced.
#include "test_common.h"
#include "test_drive_events.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>

namespace {
class SaveDialogTest : public FileTest {
protected:
    // Runs the save dialog of Request; Act works in it once it is up. The chosen files.
    QStringList Run(const std::function<void(QFileDialog*)>& Act) {
        QStringList Files;
        Request.Save = true;
        Request.InitialDir = Dir.path();
        drive::WhileModal([&] { ExecuteFileDialog(nullptr, Request, Files); },
                          [&](QWidget* D) {
                              auto* Dialog = qobject_cast<QFileDialog*>(D);
                              ASSERT_NE(Dialog, nullptr);
                              Act(Dialog);
                          });
        return Files;
    }
    // Types Name and picks filter Index (from 1) with the keyboard, as the user does.
    static void TypeAndPick(QFileDialog* D, const QString& Name, int Index) {
        D->findChild<QLineEdit*>("fileNameEdit")->setText(Name);
        auto* Combo = D->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(Combo, nullptr);
        while (Combo->currentIndex() != Index - 1)
            drive::Key(Combo, Combo->currentIndex() < Index - 1 ? Qt::Key_Down : Qt::Key_Up);
    }
    static void Accept(QFileDialog* D) { QMetaObject::invokeMethod(D, "accept"); }
};
} // namespace

TEST_F(SaveDialogTest, KeepsTheTypedNameWhenTheChosenFilterFitsIt) {
    Request.Filter = "Text (ATASCII)|*.TXT|Text (ASCII)|*.TXT|BMP|*.BMP";
    // Typed, the filter picked, the name written; a name the new filter does not fit takes its extension.
    for (const auto& [Typed, Filter, Written] : {std::tuple{"NEW.TXT", 2, "NEW.TXT"},
                                                 {"new.txt", 2, "new.txt"},
                                                 {"Mixed.Txt", 2, "Mixed.Txt"},
                                                 {"NEW.TXT", 1, "NEW.TXT"},
                                                 {"pic.bmp", 3, "pic.bmp"},
                                                 {"NEW.TXT", 3, "NEW.bmp"}}) {
        SCOPED_TRACE(Typed);
        Request.FilterIndex = Filter == 1 ? 2 : 1; // the filter is changed
        const QStringList Files = Run([&](QFileDialog* D) {
            TypeAndPick(D, Typed, Filter);
            EXPECT_EQ(D->findChild<QLineEdit*>("fileNameEdit")->text(), Written);
            Accept(D);
        });
        EXPECT_EQ(Files, QStringList(Dir.filePath(Written)));
        EXPECT_EQ(Request.FilterIndex, Filter);
    }
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join('\n').toStdString();
}

TEST_F(SaveDialogTest, NoToReplacingTheNameWithTheAddedExtensionReturnsToTheDialog) {
    Request.Filter = "FNT|*.FNT|BMP|*.BMP";
    Request.Extensions = {".FNT", ".BMP"};
    const QString Old = Write("old.BMP", "old");
    QStringList Asked;
    Request.ConfirmReplace = [&](const QString& Name) {
        Asked << Name;
        return Agree;
    };
    // Accepts First with filter Index, which keeps the dialog open, then Then as BMP.
    const auto Twice = [&](const char* First, int Index, const char* Then) {
        bool StayedOpen = false;
        const QStringList Files = Run([&](QFileDialog* D) {
            TypeAndPick(D, First, Index);
            Accept(D);
            StayedOpen = D->isVisible();
            TypeAndPick(D, Then, 2);
            Accept(D);
        });
        EXPECT_TRUE(StayedOpen) << First;
        return Files;
    };
    EXPECT_EQ(Twice("old", 2, "other"), QStringList(Dir.filePath("other.BMP")));
    EXPECT_EQ(Asked, QStringList(Old));
    // "Yes" takes the name; a name no save can take is refused before the question.
    Agree = true;
    ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.FNT"));
    EXPECT_EQ(Twice("folder", 1, "old"), QStringList(Old));
    EXPECT_EQ(Boxes, QStringList("Fehler|Keine gewöhnliche Datei, sondern ein Ordner (" +
                                 Dir.filePath("folder.FNT") + ")"));
    EXPECT_EQ(Asked, QStringList({Old, Old}));
    EXPECT_EQ(ReadWholeFile(Old), "old"); // the dialog writes nothing
}
