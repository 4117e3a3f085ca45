#include "uFGlobal.h"

#include "ReportOptionsDialog.h"
#include "uGlobal.h"
#include "uMainLink.h"

#include <QApplication>
#include <QFileInfo>

TfGlobal* fGlobal = nullptr;

TfGlobal::TfGlobal(QObject* Parent) : QObject(Parent) {
    setObjectName(QStringLiteral("fGlobal"));
    // A report about to replace a file asks as the save dialogs do, through the
    // program's one question.
    SetReportReplaceQuestion([](QWidget*, const QString& FileName) {
        return AskYesNo(
            QCoreApplication::translate("QFileDialog", "Save As"),
            QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
                .arg(QFileInfo(FileName).fileName()));
    });
}

bool TfGlobal::SelectReport(const QString& Name) {
    return FProject.SelectReport(Name);
}

QWidget* TfGlobal::DialogParent() const {
    return QApplication::activeWindow();
}

bool TfGlobal::AskOutput() {
    TReportOutputChoice Choice = FLastOutput;
    // The options belong to the program, not to the tool window that may be active:
    // they show over the main window.
    QWidget* Parent = MainWindow() && MainWindow()->Form() ? MainWindow()->Form() : DialogParent();
    if (!AskReportOutput(Choice, Parent)) return false;
    FLastOutput = Choice;
    return true;
}

namespace {
// Pictures in memory belong to one print.
struct TReleaseImages {
    TReportProject& Project;
    ~TReleaseImages() { Project.ReleaseImages(); }
};
} // namespace

bool TfGlobal::Execute() {
    TReleaseImages Release{FProject};
    // The page is laid out before asking, so a missing report or picture is
    // reported without a dialog first.
    TReportJob Job;
    Job.AddPage(FProject.Layout());
    if (!AskOutput()) return false;
    return RunReportOutput(Job, FLastOutput, DialogParent());
}

bool TfGlobal::ExecuteReport(const QString& Name) {
    SelectReport(Name);
    return Execute();
}

bool TfGlobal::ExecuteJob(const std::function<void(TReportJob& Job)>& Fill) {
    TReleaseImages Release{FProject};
    if (!AskOutput()) return false;
    TReportJob Job;
    if (Fill) Fill(Job);
    return RunReportOutput(Job, FLastOutput, DialogParent());
}

bool TfGlobal::ExecuteJob(const TReportJob& Job) {
    TReleaseImages Release{FProject};
    if (!AskOutput()) return false;
    return RunReportOutput(Job, FLastOutput, DialogParent());
}

// ------------------------------------------------------------------ temporary pictures

TReportTempImage::TReportTempImage(const QImage& Image, const QString& Stem)
    : FFile(std::make_unique<QTemporaryFile>(TempFolder() + Stem + QStringLiteral("-XXXXXX.bmp"))) {
    FFile->setAutoRemove(true);
    if (!FFile->open()) RaiseInOutError(ioAccessDenied, FFile->fileTemplate());
    if (!Image.save(FFile.get(), "BMP") || !FFile->flush()) {
        const QString Name = FFile->fileName();
        FFile.reset(); // removes the partial file
        RaiseInOutError(ioDiskFull, Name);
    }
    FFile->close();
}

QString TReportTempImage::Path() const {
    return FFile->fileName();
}
