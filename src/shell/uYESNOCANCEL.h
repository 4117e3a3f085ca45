#pragma once
#include <QDialog>

class QLabel;

// The save-changes question: Yes, No or Cancel.
class TfrmYESNOCANCEL : public QDialog {
    Q_OBJECT
public:
    explicit TfrmYESNOCANCEL(QWidget* Parent = nullptr);
    QLabel* lblQuestion = nullptr;
};

extern TfrmYESNOCANCEL* frmYESNOCANCEL;
