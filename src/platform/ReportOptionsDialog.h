#pragma once
// The output-options dialog of the report layer: printer, preview or file, and the
// file format.
#include "ReportOutput.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TfrmReportOptions : public QDialog {
    Q_OBJECT
public:
    explicit TfrmReportOptions(QWidget* Parent = nullptr);
    void SetChoice(const TReportOutputChoice& Choice);
    TReportOutputChoice Choice() const;
    // Where the file dialog of btnBrowse starts.
    QString BrowseFolder;

    QGroupBox* grpDestination;
    QRadioButton* rbPrinter;
    QRadioButton* rbPreview;
    QRadioButton* rbFile;
    QLabel* lblFormat;
    QComboBox* cbFormat;
    QLabel* lblFileName;
    QLineEdit* edFileName;
    QPushButton* btnBrowse;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void DestinationClick();
    void cbFormatChange();
    void btnBrowseClick();
    void btnOKClick();

protected:
    // Each showing is centred on the parent window and starts at the checked
    // destination, with OK the default button.
    void showEvent(QShowEvent* E) override;

private:
    TReportFileFormat CurrentFormat() const;
    // Whether the report may be written to the chosen file: a name no save can take
    // is refused with the save dialogs' message, an existing file is replaced only
    // when the user agrees.
    bool FileTargetAgreed();
    // The name the file dialog last chose; it asked before replacing that file.
    QString FBrowsedName;
};

// Tests answer the output question instead of the dialog; nullptr restores the dialog.
// The hook fills Choice and returns false to cancel.
using TReportOutputHook = std::function<bool(TReportOutputChoice& Choice)>;
void SetReportOutputHook(TReportOutputHook Hook);
// The application prepares the dialog each time before it is shown (its language,
// the folder to browse from).
using TReportOptionsSetup = std::function<void(TfrmReportOptions& Dialog)>;
void SetReportOptionsSetup(TReportOptionsSetup Setup);
// Asks whether the existing file FileName may be replaced by a report; true for Yes.
// The application installs its own question (its language, its tests' answers);
// without one a message box asks with the file dialog's texts.
using TReportReplaceQuestion = std::function<bool(QWidget* Parent, const QString& FileName)>;
void SetReportReplaceQuestion(TReportReplaceQuestion Question);
// Asks where a report goes, starting from Choice; false when cancelled. The dialog
// is centred on Parent's window.
bool AskReportOutput(TReportOutputChoice& Choice, QWidget* Parent);
