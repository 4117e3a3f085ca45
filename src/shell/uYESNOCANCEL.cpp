#include "uYESNOCANCEL.h"

#include "DialogBody.h"
#include "VekButton.h"
#include "uGlobal.h"
#include "uParam.h"

#include <QLabel>
#include <QShowEvent>

#include <memory>

TfrmYESNOCANCEL* frmYESNOCANCEL = nullptr;

namespace {
constexpr quint32 FaceColor = 0x9D4E01;
constexpr quint32 CancelFaceColor = 0xC08000;

TVekButton* DialogButton(QWidget* Parent, const char* Name, const QString& Caption, int Result, int X,
                         quint32 Face) {
    auto* B = new TVekButton(Parent);
    B->setObjectName(QLatin1String(Name));
    B->SetCaption(Caption);
    B->SetModalResult(Result);
    B->LookStyle()->SetBorderColor(clInactiveCaptionText);
    B->LookStyle()->SetButtonColor(Face);
    B->SetFontColor(clWhite);
    // 8 pixels: one glyph pixel per screen pixel, so "Abbrechen" fits the button.
    QFont F(QStringLiteral("ATASCII"));
    F.setPixelSize(8);
    B->setFont(F);
    B->setGeometry(X, 72, 80, 25);
    return B;
}
} // namespace

TfrmYESNOCANCEL::TfrmYESNOCANCEL(QWidget* Parent) : QDialog(Parent) {
    setObjectName(QStringLiteral("frmYESNOCANCEL"));
    setWindowTitle(QStringLiteral("Save changes?"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(300, 113);
    QPalette Pal = palette();
    Pal.setColor(QPalette::Window, WinColorToQColor(FaceColor));
    setPalette(Pal);
    setAutoFillBackground(true);

    lblMsg = new QLabel(QStringLiteral("Save changes?"), this);
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    lblMsg->setAlignment(Qt::AlignCenter);
    lblMsg->setWordWrap(true);
    lblMsg->setFont(QFont(QStringLiteral("ATASCII"), 10));
    QPalette LabelPal = lblMsg->palette();
    LabelPal.setColor(QPalette::WindowText, Qt::white);
    lblMsg->setPalette(LabelPal);
    lblMsg->setGeometry(10, 12, 280, 48);

    btnYES = DialogButton(this, "btnYES", QStringLiteral("Yes"), 6, 15, FaceColor);
    btnYES->SetDefault(true);
    btnNo = DialogButton(this, "btnNo", QStringLiteral("No"), 7, 110, FaceColor);
    btnCancel = DialogButton(this, "btnCancel", QStringLiteral("Cancel"), 2, 205, CancelFaceColor);
    // Every question starts on Yes and centred on the main window, whatever the
    // last one was answered with and wherever the main window has moved.
    PlaceOnEachShowing(this);
    FocusOnEachShowing(this, btnYES);
}

void TfrmYESNOCANCEL::FormShow() {
    TranslateForm(this, CurrentLanguageFile());
}

void TfrmYESNOCANCEL::showEvent(QShowEvent* E) {
    QDialog::showEvent(E);
    if (E->spontaneous()) return;
    Guarded([this] { FormShow(); });
}

void TfrmYESNOCANCEL::reject() {
    // Escape and the caption bar's close button answer Cancel.
    done(2);
}

bool MayCloseUnsaved(QWidget* Parent, const std::function<bool()>& Save) {
    TfrmYESNOCANCEL* Dialog = frmYESNOCANCEL;
    std::unique_ptr<TfrmYESNOCANCEL> Own;
    if (!Dialog) {
        Own = std::make_unique<TfrmYESNOCANCEL>(Parent);
        Dialog = Own.get();
    }
    switch (Dialog->exec()) {
    case mrYes:
        return Save();
    case mrNo:
        return true;
    default:
        return false;
    }
}
