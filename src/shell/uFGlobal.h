#pragma once
// The report data module: holds, for the whole run, the report project every
// document window prints through (see ReportLayer.h for the designs).
//
// Printing one page:
//     fGlobal->SelectReport("GraphicReport");
//     fGlobal->SetParam("Titel", PicInfo.FileName);
//     fGlobal->SetImage("ImagePathGraphic", ImgGraphic->Picture()); // or SetParam(name, path)
//     fGlobal->Execute(); // output dialog, then printer, preview or file
//
// Printing several pages in one job (text and listing windows):
//     fGlobal->ExecuteJob([&](TReportJob& Job) {
//         for (int I = 0; I < Pages; ++I) {
//             fGlobal->SelectReport("TextGraphicReport");
//             fGlobal->SetParam("PageNumText", QString("%1 / %2").arg(I + 1).arg(Pages));
//             fGlobal->SetImage("ImagepathText", Strip(I));
//             fGlobal->AddPage(Job);
//         }
//         // or flowing rich text: Job.AddFlowingText(*TextField->document(), 1.0, 7.0, 2);
//     });
//
// Names of reports and parameters compare without regard to case. Parameter values
// stay for the rest of the run, across reports; pictures given in memory stand in
// for temporary files and are released when the print ends. A picture given by
// path should live in TempFolder(); TReportTempImage writes one and removes it when
// it goes out of scope, also when the print fails. Failures (a picture that cannot
// be read, a file that cannot be written) are thrown to the caller. Tests answer the
// output question through SetReportOutputHook (ReportOptionsDialog.h).
#include "ReportLayer.h"
#include "ReportOutput.h"

#include <QObject>
#include <QTemporaryFile>
#include <functional>
#include <memory>

class TfGlobal : public QObject {
    Q_OBJECT
public:
    explicit TfGlobal(QObject* Parent = nullptr);

    bool SelectReport(const QString& Name);
    QString SelectedReport() const { return FProject.SelectedReport(); }
    void SetParam(const QString& Name, const QString& Value) { FProject.SetParam(Name, Value); }
    QString GetParam(const QString& Name) const { return FProject.GetParam(Name); }
    void SetImage(const QString& Name, const QImage& Image) { FProject.SetImage(Name, Image); }

    // The selected report laid out with the parameters as they are now.
    TReportPage LayoutSelected() const { return FProject.Layout(); }
    void AddPage(TReportJob& Job) const { Job.AddPage(FProject.Layout()); }

    // Asks for the output, then prints, previews or writes the selected report.
    // False when the user cancelled.
    bool Execute();
    bool ExecuteReport(const QString& Name);
    // Asks for the output first; when not cancelled, Fill collects the pages, which
    // then go out as one job.
    bool ExecuteJob(const std::function<void(TReportJob& Job)>& Fill);
    bool ExecuteJob(const TReportJob& Job);

    // The output chosen last; the dialog starts from it.
    TReportOutputChoice LastOutput() const { return FLastOutput; }

private:
    bool AskOutput();
    QWidget* DialogParent() const;

    TReportProject FProject;
    TReportOutputChoice FLastOutput;
};

extern TfGlobal* fGlobal;

// A picture saved as a BMP file under a unique name in TempFolder() for as long as
// the object lives.
class TReportTempImage {
public:
    // Stem names the file ("temppic" gives temppic-XXXXXX.bmp). Throws EInOutError
    // when the file cannot be written (no file stays then).
    TReportTempImage(const QImage& Image, const QString& Stem);
    QString Path() const;

private:
    std::unique_ptr<QTemporaryFile> FFile;
};
