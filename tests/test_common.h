#pragma once
// Helpers every test folder shares: reproducible bytes, and reports printed to a PDF
// file whose pages are counted.
#include "FileIO.h"
#include "ReportOptionsDialog.h"

#include <QFile>
#include <QRandomGenerator>

// N bytes from a generator seeded with Seed.
inline QByteArray RandomBytes(int N, quint32 Seed) {
    QByteArray B(N, 0);
    QRandomGenerator Gen(Seed);
    for (char& C : B) C = char(Gen.bounded(256));
    return B;
}

// Sends the next reports to the file Pdf as PDF.
inline void PrintReportsTo(const QString& Pdf) {
    SetReportOutputHook([Pdf](TReportOutputChoice& C) {
        C.Destination = TReportDestination::File;
        C.Format = TReportFileFormat::PDF;
        C.FileName = Pdf;
        return true;
    });
}

// The pages of the PDF file Path; -1 when there is no PDF.
inline int PdfPageCount(const QString& Path) {
    const QByteArray Data = QFile::exists(Path) ? ReadWholeFile(Path) : QByteArray();
    return Data.startsWith("%PDF") ? int(Data.count("/Type /Page\n") + Data.count("/Type /Page ")) : -1;
}
