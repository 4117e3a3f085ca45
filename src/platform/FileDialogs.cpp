#include "FileDialogs.h"

#include "FileIO.h"
#include "Guarded.h"
#include "WinColor.h"

#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>

namespace {
TFileDialogHook FileHook;
TColorDialogHook ColorHook;

// The name a save writes: Name, or Name with the extension of the chosen filter when
// it has none of its own.
QString WithFilterExtension(const QString& Name, const TFileDialogRequest& Request) {
    if (QFileInfo(Name).fileName().contains(QLatin1Char('.'))) return Name;
    const int Count = int(Request.Extensions.size());
    const int Index = Request.FilterIndex >= 1 && Request.FilterIndex <= Count ? Request.FilterIndex
                                                                               : Request.DefaultExtension;
    return Index >= 1 && Index <= Count ? Name + Request.Extensions[Index - 1] : Name;
}

bool AgreeToReplace(QWidget* Parent, const TFileDialogRequest& Request, const QString& Name) {
    return Request.ConfirmReplace ? Request.ConfirmReplace(Name) : AskReplaceFile(Parent, Name);
}

// Whether the file name of Path fits one of the patterns of a Qt name filter
// "Description (*.txt *.TXT)", in any case.
bool FitsFilter(const QString& Path, const QString& Filter) {
    const qsizetype Open = Filter.lastIndexOf(QLatin1Char('(')), Close = Filter.lastIndexOf(QLatin1Char(')'));
    if (Open < 0 || Close < Open) return false;
    const QString Name = QFileInfo(Path).fileName();
    for (const QString& P :
         Filter.mid(Open + 1, Close - Open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(P),
                               QRegularExpression::CaseInsensitiveOption)
                .match(Name)
                .hasMatch())
            return true;
    return false;
}

// A save dialog that refuses a name it cannot save under (a FIFO, socket or device,
// a missing folder) before Qt asks whether to replace it; the dialog stays open. It
// also adds the chosen filter's extension (Request.Extensions) and asks about the
// name it then writes, staying open on "No".
class TCheckedFileDialog : public QFileDialog {
public:
    TCheckedFileDialog(QWidget* Parent, const TFileDialogRequest& Request)
        : QFileDialog(Parent), FRequest(Request) {}

    // Qt gives the name the extension of the new filter's first pattern (*.txt for
    // "*.txt *.TXT"): a name that fits the new filter keeps what the user typed.
    void KeepTypedNameOnFilterChange() {
        auto* Combo = findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* Edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!Combo || !Edit) return;
        // The index changes before Qt changes the name, the filter is reported after.
        connect(Combo, &QComboBox::currentIndexChanged, this, [this, Edit] { FTypedName = Edit->text(); });
        connect(this, &QFileDialog::filterSelected, this, [this, Edit](const QString& Filter) {
            if (Edit->text() != FTypedName && !FTypedName.isEmpty() && FitsFilter(FTypedName, Filter))
                Edit->setText(FTypedName);
        });
    }

    // The name to write when the dialog named it itself; else empty.
    QString Chosen() const { return FChosen; }

protected:
    void accept() override {
        const QStringList Files = selectedFiles();
        // A folder's name opens the folder.
        if (acceptMode() != AcceptSave || Files.isEmpty() || QFileInfo(Files.first()).isDir())
            return QFileDialog::accept();
        TFileDialogRequest Request = FRequest;
        Request.FilterIndex = int(nameFilters().indexOf(selectedNameFilter())) + 1;
        const QString Name = WithFilterExtension(Files.first(), Request);
        try {
            CheckSaveTarget(Name);
        } catch (const EInOutError& E) {
            HandleException(E);
            return;
        }
        // Qt asks itself about the name as typed.
        if (Name == Files.first()) return QFileDialog::accept();
        if (QFileInfo::exists(Name) && !AgreeToReplace(this, Request, Name)) return;
        FChosen = Name;
        QDialog::accept();
    }

private:
    const TFileDialogRequest& FRequest;
    QString FTypedName, FChosen;
};
} // namespace

void SetFileDialogHook(TFileDialogHook Hook) {
    FileHook = std::move(Hook);
}
void SetColorDialogHook(TColorDialogHook Hook) {
    ColorHook = std::move(Hook);
}

bool AskReplaceFile(QWidget* Parent, const QString& Name) {
    QMessageBox Box(
        QMessageBox::Question, QCoreApplication::translate("QFileDialog", "Save As"),
        QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
            .arg(QFileInfo(Name).fileName()),
        QMessageBox::Yes | QMessageBox::No, Parent);
    Box.setDefaultButton(QMessageBox::No);
    return Box.exec() == QMessageBox::Yes;
}

QStringList QtNameFilters(const QString& Filter) {
    QStringList Result;
    const QStringList Parts = Filter.split(QLatin1Char('|'));
    for (int I = 0; I + 1 < Parts.size(); I += 2) {
        QStringList Patterns;
        for (QString P : Parts[I + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            P = P.trimmed();
            if (P.isEmpty()) continue;
            if (P == QLatin1String("*.*")) {
                Patterns << QStringLiteral("*");
                continue;
            }
            for (const QString& V : {P.toLower(), P.toUpper()})
                if (!Patterns.contains(V)) Patterns << V;
        }
        // Parentheses inside the description would confuse Qt's pattern parsing.
        QString Desc = Parts[I].trimmed();
        Desc.replace(QLatin1Char('('), QLatin1Char('[')).replace(QLatin1Char(')'), QLatin1Char(']'));
        Result << QStringLiteral("%1 (%2)").arg(Desc, Patterns.join(QLatin1Char(' ')));
    }
    return Result;
}

bool ExecuteFileDialog(QWidget* Parent, TFileDialogRequest& Request, QStringList& Files) {
    Files.clear();
    if (FileHook) {
        if (!FileHook(Request, Files)) return false;
        if (!Request.Save || Files.isEmpty()) return true;
        const QString Name = WithFilterExtension(Files.first(), Request);
        if (Name != Files.first()) {
            CheckSaveTarget(Name);
            if (QFileInfo::exists(Name) && !AgreeToReplace(Parent, Request, Name)) {
                Files.clear();
                return false;
            }
            Files.first() = Name;
        }
        return true;
    }
    TCheckedFileDialog Dialog(Parent, Request);
    Dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    Dialog.setAcceptMode(Request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    Dialog.setFileMode(Request.Save
                           ? QFileDialog::AnyFile
                           : (Request.MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile));
    const QStringList Filters = QtNameFilters(Request.Filter);
    Dialog.setNameFilters(Filters);
    if (Request.FilterIndex >= 1 && Request.FilterIndex <= Filters.size())
        Dialog.selectNameFilter(Filters[Request.FilterIndex - 1]);
    if (!Request.InitialDir.isEmpty()) Dialog.setDirectory(Request.InitialDir);
    if (!Request.FileName.isEmpty()) Dialog.selectFile(Request.FileName);
    if (Request.Save) Dialog.KeepTypedNameOnFilterChange();
    if (Dialog.exec() != QDialog::Accepted) return false;
    Files = Dialog.Chosen().isEmpty() ? Dialog.selectedFiles() : QStringList(Dialog.Chosen());
    const int Index = int(Filters.indexOf(Dialog.selectedNameFilter()));
    if (Index >= 0) Request.FilterIndex = Index + 1;
    return !Files.isEmpty();
}

bool ExecuteColorDialog(QWidget* Parent, quint32& Color) {
    if (ColorHook) return ColorHook(Color);
    const QColor C = QColorDialog::getColor(WinColorToQColor(Color), Parent);
    if (!C.isValid()) return false;
    Color = RgbToWinColor(C.rgb());
    return true;
}
