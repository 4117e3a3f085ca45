#pragma once
#include <QDialog>

#include <functional>

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

// Whether a window with unsaved edits may close: asks the question (on a dialog of
// Parent's own when the shared one is gone), and on Yes runs Save, which tells
// whether everything got saved; a cancelled or failed save keeps the window.
bool MayCloseUnsaved(QWidget* Parent, const std::function<bool()>& Save);
