#include "uYESNOCANCEL.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmYESNOCANCEL* frmYESNOCANCEL = nullptr;

TfrmYESNOCANCEL::TfrmYESNOCANCEL(QWidget* Parent) : QDialog(Parent) {
    setObjectName(QStringLiteral("frmYESNOCANCEL"));
    setWindowTitle(QStringLiteral("Änderungen speichern?"));
    auto* Layout = new QVBoxLayout(this);
    lblQuestion = new QLabel(QStringLiteral("Änderungen speichern?"), this);
    lblQuestion->setObjectName(QStringLiteral("lblQuestion"));
    Layout->addWidget(lblQuestion);
    auto* Row = new QHBoxLayout;
    Layout->addLayout(Row);
    const struct {
        const char* Name;
        const char* Caption;
        int Result;
    } Buttons[] = {{"btnYes", "&Ja", 6}, {"btnNo", "&Nein", 7}, {"btnCancel", "Abbrechen", 2}};
    for (const auto& B : Buttons) {
        auto* Btn = new QPushButton(QString::fromUtf8(B.Caption), this);
        Btn->setObjectName(QLatin1String(B.Name));
        const int Result = B.Result;
        connect(Btn, &QPushButton::clicked, this, [this, Result] { done(Result); });
        Row->addWidget(Btn);
    }
}
