#include "FileDialogs.h"

#include "FileIO.h"
#include "Guarded.h"
#include "WinColor.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>

namespace {
TFileDialogHook FileHook;
TColorDialogHook ColorHook;

// A save dialog that refuses a name it cannot save under (a FIFO, socket or device,
// a missing folder) before Qt asks whether to replace it; the dialog stays open.
class TCheckedFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void accept() override {
        const QStringList Files = selectedFiles();
        // A folder's name opens the folder.
        if (acceptMode() == AcceptSave && !Files.isEmpty() && !QFileInfo(Files.first()).isDir()) {
            try {
                CheckSaveTarget(Files.first());
            } catch (const EInOutError& E) {
                HandleException(E);
                return;
            }
        }
        QFileDialog::accept();
    }
};
} // namespace

void SetFileDialogHook(TFileDialogHook Hook) {
    FileHook = std::move(Hook);
}
void SetColorDialogHook(TColorDialogHook Hook) {
    ColorHook = std::move(Hook);
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
    if (FileHook) return FileHook(Request, Files);
    TCheckedFileDialog Dialog(Parent);
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
    if (Dialog.exec() != QDialog::Accepted) return false;
    Files = Dialog.selectedFiles();
    const int Chosen = int(Filters.indexOf(Dialog.selectedNameFilter()));
    if (Chosen >= 0) Request.FilterIndex = Chosen + 1;
    return !Files.isEmpty();
}

bool ExecuteColorDialog(QWidget* Parent, quint32& Color) {
    if (ColorHook) return ColorHook(Color);
    const QColor C = QColorDialog::getColor(WinColorToQColor(Color), Parent);
    if (!C.isValid()) return false;
    Color = RgbToWinColor(C.rgb());
    return true;
}
