#include "uInfo.h"

#include "uGlobal.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmAbout* frmAbout = nullptr;

TfrmAbout::TfrmAbout(QWidget* Parent) : QDialog(Parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Info"));
    auto* Layout = new QVBoxLayout(this);
    auto* Title = new QLabel(QStringLiteral("Morvanel"), this);
    Title->setObjectName(QStringLiteral("lblTitle"));
    QFont F = Title->font();
    F.setPointSize(F.pointSize() + 6);
    F.setBold(true);
    Title->setFont(F);
    Layout->addWidget(Title);
    lblVersion = new QLabel(VersionText, this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setProperty("Tag", -1);
    Layout->addWidget(lblVersion);
    auto* Ok = new QPushButton(QStringLiteral("OK"), this);
    Ok->setObjectName(QStringLiteral("btnOK"));
    connect(Ok, &QPushButton::clicked, this, &QDialog::accept);
    Layout->addWidget(Ok);
}
