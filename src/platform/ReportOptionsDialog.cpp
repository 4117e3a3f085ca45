#include "ReportOptionsDialog.h"

#include "DialogBody.h"
#include "FileDialogs.h"
#include "FileIO.h"
#include "Guarded.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
TReportOutputHook OutputHook;
TReportOptionsSetup OptionsSetup;
TReportReplaceQuestion ReplaceQuestion;

bool AskReplace(QWidget* Parent, const QString& FileName) {
    return ReplaceQuestion ? ReplaceQuestion(Parent, FileName) : AskReplaceFile(Parent, FileName);
}

template <class T> T* Named(T* W, const char* Name) {
    W->setObjectName(QLatin1String(Name));
    return W;
}
} // namespace

TfrmReportOptions::TfrmReportOptions(QWidget* Parent) : QDialog(Parent) {
    setObjectName(QStringLiteral("frmReportOptions"));
    setWindowTitle(QStringLiteral("Output Options"));
    auto* Layout = new QVBoxLayout(this);

    grpDestination = Named(new QGroupBox(QStringLiteral("Report Destination"), this), "grpDestination");
    auto* Dest = new QVBoxLayout(grpDestination);
    rbPrinter = Named(new QRadioButton(QStringLiteral("Printer"), grpDestination), "rbPrinter");
    rbPreview = Named(new QRadioButton(QStringLiteral("Preview"), grpDestination), "rbPreview");
    rbFile = Named(new QRadioButton(QStringLiteral("File"), grpDestination), "rbFile");
    Dest->addWidget(rbPrinter);
    Dest->addWidget(rbPreview);
    Dest->addWidget(rbFile);
    Layout->addWidget(grpDestination);

    auto* Grid = new QGridLayout;
    lblFormat = Named(new QLabel(QStringLiteral("Format"), this), "lblFormat");
    cbFormat = Named(new QComboBox(this), "cbFormat");
    cbFormat->setProperty("Tag", -1);
    for (int I = 0; I < ReportFileFormatCount; ++I) cbFormat->addItem(ReportFormatName(TReportFileFormat(I)));
    lblFileName = Named(new QLabel(QStringLiteral("File name"), this), "lblFileName");
    edFileName = Named(new QLineEdit(this), "edFileName");
    edFileName->setProperty("Tag", -1);
    edFileName->setMinimumWidth(280);
    btnBrowse = Named(new QPushButton(QStringLiteral("..."), this), "btnBrowse");
    btnBrowse->setToolTip(QStringLiteral("Choose file"));
    Grid->addWidget(lblFormat, 0, 0);
    Grid->addWidget(cbFormat, 0, 1, 1, 2);
    Grid->addWidget(lblFileName, 1, 0);
    Grid->addWidget(edFileName, 1, 1);
    Grid->addWidget(btnBrowse, 1, 2);
    Layout->addLayout(Grid);

    auto* Buttons = new QHBoxLayout;
    Buttons->addStretch();
    btnOK = Named(new QPushButton(QStringLiteral("OK"), this), "btnOK");
    btnCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "btnCancel");
    btnOK->setDefault(true);
    Buttons->addWidget(btnOK);
    Buttons->addWidget(btnCancel);
    Layout->addLayout(Buttons);

    for (QRadioButton* Rb : {rbPrinter, rbPreview, rbFile})
        connect(Rb, &QRadioButton::toggled, this, [this] { DestinationClick(); });
    connect(cbFormat, &QComboBox::currentIndexChanged, this, [this] { cbFormatChange(); });
    connect(btnBrowse, &QPushButton::clicked, this, [this] { Guarded([this] { btnBrowseClick(); }); });
    connect(btnOK, &QPushButton::clicked, this, [this] { Guarded([this] { btnOKClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    SetChoice(TReportOutputChoice());
}

void TfrmReportOptions::SetChoice(const TReportOutputChoice& Choice) {
    switch (Choice.Destination) {
    case TReportDestination::Printer:
        rbPrinter->setChecked(true);
        break;
    case TReportDestination::Preview:
        rbPreview->setChecked(true);
        break;
    case TReportDestination::File:
        rbFile->setChecked(true);
        break;
    }
    cbFormat->setCurrentIndex(int(Choice.Format));
    edFileName->setText(Choice.FileName);
    DestinationClick();
}

void TfrmReportOptions::showEvent(QShowEvent* E) {
    QDialog::showEvent(E);
    if (E->spontaneous()) return;
    QRadioButton* Checked = rbPrinter->isChecked() ? rbPrinter : rbFile->isChecked() ? rbFile : rbPreview;
    Checked->setFocus(Qt::OtherFocusReason);
    // The style marks a focused control only once the keyboard moved the focus; the
    // dialog starts on its checked destination for the keyboard, so the mark shows now.
    setAttribute(Qt::WA_KeyboardFocusChange);
    btnOK->setDefault(true);
    // On the parent's window, wherever the window that was active stands.
    CentreOnParent(this);
}

TReportFileFormat TfrmReportOptions::CurrentFormat() const {
    return TReportFileFormat(std::clamp(cbFormat->currentIndex(), 0, ReportFileFormatCount - 1));
}

TReportOutputChoice TfrmReportOptions::Choice() const {
    TReportOutputChoice C;
    C.Destination = rbPrinter->isChecked() ? TReportDestination::Printer
                    : rbFile->isChecked()  ? TReportDestination::File
                                           : TReportDestination::Preview;
    C.Format = CurrentFormat();
    C.FileName = ReportFileNameWithExt(edFileName->text().trimmed(), C.Format);
    return C;
}

void TfrmReportOptions::DestinationClick() {
    const bool ToFile = rbFile->isChecked();
    for (QWidget* W :
         std::initializer_list<QWidget*>{lblFormat, cbFormat, lblFileName, edFileName, btnBrowse})
        W->setEnabled(ToFile);
}

// A name that carries another format's extension gets the new one.
void TfrmReportOptions::cbFormatChange() {
    const QString Name = edFileName->text().trimmed();
    if (Name.isEmpty()) return;
    const QString Suffix = QFileInfo(Name).suffix();
    for (int I = 0; I < ReportFileFormatCount; ++I)
        for (const QString& E : ReportFormatExtensions(TReportFileFormat(I)))
            if (Suffix.compare(E, Qt::CaseInsensitive) == 0) {
                edFileName->setText(
                    ReportFileNameWithExt(Name.left(Name.size() - Suffix.size() - 1), CurrentFormat()));
                return;
            }
}

void TfrmReportOptions::btnBrowseClick() {
    TFileDialogRequest Request;
    Request.Save = true;
    Request.Filter = ReportFormatFilter(CurrentFormat());
    Request.FileName = edFileName->text().trimmed();
    Request.InitialDir = BrowseFolder;
    QStringList Files;
    if (!ExecuteFileDialog(this, Request, Files) || Files.isEmpty()) return;
    FBrowsedName = Files.first();
    edFileName->setText(ReportFileNameWithExt(Files.first(), CurrentFormat()));
}

bool TfrmReportOptions::FileTargetAgreed() {
    const QString Name = Choice().FileName;
    try {
        CheckSaveTarget(Name);
    } catch (const EInOutError& E) {
        HandleException(E);
        return false;
    }
    // The file dialog asked about the very name it chose; an extension added to it,
    // or a name typed or kept from an earlier report, has not been asked about.
    if (!QFileInfo::exists(Name) || Name == FBrowsedName) return true;
    return AskReplace(this, Name);
}

void TfrmReportOptions::btnOKClick() {
    if (rbFile->isChecked()) {
        if (edFileName->text().trimmed().isEmpty()) {
            btnBrowseClick();
            if (edFileName->text().trimmed().isEmpty()) return;
        }
        // Refused or not to be replaced: the dialog stays open.
        if (!FileTargetAgreed()) return;
    }
    accept();
}

void SetReportOutputHook(TReportOutputHook Hook) {
    OutputHook = std::move(Hook);
}

void SetReportOptionsSetup(TReportOptionsSetup Setup) {
    OptionsSetup = std::move(Setup);
}

void SetReportReplaceQuestion(TReportReplaceQuestion Question) {
    ReplaceQuestion = std::move(Question);
}

bool AskReportOutput(TReportOutputChoice& Choice, QWidget* Parent) {
    if (OutputHook) return OutputHook(Choice);
    TfrmReportOptions Dlg(Parent);
    if (OptionsSetup) OptionsSetup(Dlg);
    Dlg.SetChoice(Choice);
    if (Dlg.exec() != QDialog::Accepted) return false;
    Choice = Dlg.Choice();
    return true;
}
