#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Open and save dialogs with filters in the classic form
// "Description|*.BMP;*.PIC|Description 2|*.*". On Linux every pattern is offered in
// both cases (*.bmp *.BMP) and "*.*" becomes "*". FilterIndex counts from 1 and
// comes back as the filter the user chose.
struct TFileDialogRequest {
    bool Save = false;
    bool MultiSelect = false;
    QString Filter;
    int FilterIndex = 1;
    QString InitialDir;
    QString FileName; // proposed name (save)
    // Save: a chosen name without extension gets Extensions[FilterIndex - 1], or
    // Extensions[DefaultExtension - 1] when the chosen filter has none. That name is
    // checked (CheckSaveTarget) and, when it exists, ConfirmReplace is asked (a
    // question box without it); "No" returns to the dialog for another name.
    QStringList Extensions;
    int DefaultExtension = 0;
    std::function<bool(const QString& FileName)> ConfirmReplace;
};

// Returns false when the user cancels; Files holds the chosen absolute paths. A save
// dialog keeps the name as typed when the user changes to a filter it fits already.
bool ExecuteFileDialog(QWidget* Parent, TFileDialogRequest& Request, QStringList& Files);

// Tests answer the dialogs themselves; nullptr restores the real dialogs. With a hook
// an appended extension's name is checked by throwing EInOutError, and "No" to the
// replace question cancels (there is no dialog to return to).
using TFileDialogHook = std::function<bool(TFileDialogRequest& Request, QStringList& Files)>;
void SetFileDialogHook(TFileDialogHook Hook);

// The Qt name filters of a classic filter text.
QStringList QtNameFilters(const QString& Filter);

// Qt's own question whether to replace the existing file Name, No the default.
bool AskReplaceFile(QWidget* Parent, const QString& Name);

// Colour choice (the settings dialog); tests replace it like the file dialogs.
using TColorDialogHook = std::function<bool(quint32& Color)>;
void SetColorDialogHook(TColorDialogHook Hook);
bool ExecuteColorDialog(QWidget* Parent, quint32& Color);
