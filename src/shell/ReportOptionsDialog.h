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

private:
    TReportFileFormat CurrentFormat() const;
};

// Tests answer the output question instead of the dialog; nullptr restores the dialog.
// The hook fills Choice and returns false to cancel.
using TReportOutputHook = std::function<bool(TReportOutputChoice& Choice)>;
void SetReportOutputHook(TReportOutputHook Hook);
// Asks where a report goes, starting from Choice; false when cancelled. The dialog
// is translated from the current language file each time it is shown.
bool AskReportOutput(TReportOutputChoice& Choice, QWidget* Parent);
