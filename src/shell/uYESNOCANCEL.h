#pragma once
#include <QDialog>

class QLabel;
class TVekButton;

// The modal "Save changes?" question a window asks before it closes with unsaved
// edits. exec() returns 6 (Yes), 7 (No) or 2 (Cancel; also for the caption bar's
// close button and Escape).
class TfrmYESNOCANCEL : public QDialog {
    Q_OBJECT
public:
    explicit TfrmYESNOCANCEL(QWidget* Parent = nullptr);

    // Translated from the current language file on every showing.
    void FormShow();

    QLabel* lblMsg = nullptr;
    TVekButton* btnYES = nullptr;
    TVekButton* btnNo = nullptr;
    TVekButton* btnCancel = nullptr;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* E) override;
};

extern TfrmYESNOCANCEL* frmYESNOCANCEL;
