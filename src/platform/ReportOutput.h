#pragma once
// Outputs of a report job: printer, preview, and PDF, HTML and RTF files.
#include "ReportLayer.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QPrinter;
class QWidget;

enum class TReportDestination { Printer, Preview, File };
enum class TReportFileFormat { PDF, HTML, RTF };

// What the output-options dialog returns.
struct TReportOutputChoice {
    TReportDestination Destination = TReportDestination::Preview;
    TReportFileFormat Format = TReportFileFormat::PDF;
    QString FileName;
};

constexpr int ReportFileFormatCount = 3;
// "Adobe Acrobat (PDF)", "Web Page (HTML)", "Rich Text Format (RTF)".
QString ReportFormatName(TReportFileFormat Format);
// Extensions without the dot, the first being the one appended.
QStringList ReportFormatExtensions(TReportFileFormat Format);
// Filter for a file dialog, e.g. "Web Page (HTML)|*.html;*.htm".
QString ReportFormatFilter(TReportFileFormat Format);
// Name with the format's extension appended unless it already ends with one of them.
QString ReportFileNameWithExt(const QString& Name, TReportFileFormat Format);

// Name of print jobs and the creator of the documents.
QString ReportJobName();
QString ReportCreator();

// The documents in memory. PDF documents name "TEVRA-Morvanel" as their author,
// creator and producer.
QByteArray ReportToPdf(const TReportJob& Job);
// A PDF as Qt writes it with its information dictionary replaced: Title, and
// ReportCreator() as author, creator and producer; the cross-reference table is
// moved to match. Anything it cannot follow comes back unchanged.
QByteArray WithPdfDocumentInfo(const QByteArray& Pdf, const QString& Title);
// One self-contained file: pictures embedded as PNG data URIs, texts escaped.
QByteArray ReportToHtml(const TReportJob& Job);
// Letter paper, elements in page-positioned frames, pictures as PNG, a page
// break between pages.
QByteArray ReportToRtf(const TReportJob& Job);
// Writes the document to Path at once (nothing half-written stays); throws EInOutError.
void WriteReportFile(const TReportJob& Job, TReportFileFormat Format, const QString& Path);

// Prints the job on a printer already set up (page range and, where the printer does
// not make them itself or for a file, copies and collation honoured); the painter's
// origin is the paper's corner. Throws EMorvanelError when the printer cannot start.
void PrintReportJob(const TReportJob& Job, QPrinter& Printer);
// Shows the preview window "frmReportPreview" (which can print as well).
void PreviewReportJob(const TReportJob& Job, QWidget* Parent);
// The application prepares the preview window each time before it is shown (its
// language); nullptr leaves it as it is made.
using TReportPreviewSetup = std::function<void(QDialog& Preview)>;
void SetReportPreviewSetup(TReportPreviewSetup Setup);
// Sends the job where Choice says: the printer dialog first for the printer (false
// when it is cancelled), the preview, or the file. Throws on failures.
bool RunReportOutput(const TReportJob& Job, const TReportOutputChoice& Choice, QWidget* Parent);
