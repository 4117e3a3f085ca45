#pragma once
#include <QDialog>

class QLabel;

// The about box, shown modally from the Help menu.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* Parent = nullptr);
    QLabel* lblVersion = nullptr;
};

extern TfrmAbout* frmAbout;
