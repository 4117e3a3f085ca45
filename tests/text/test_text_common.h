#pragma once
// Shared set-up of the text window tests: a temporary folder, recorded message
// boxes, answered save dialogs, report output to PDF and the expected text page.
#include "FileDialogs.h"
#include "FileIO.h"
#include "ReportOptionsDialog.h"
#include "uFGlobal.h"
#include "uGlobal.h"
#include "uTAtariFont.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace texttest {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitFolders();
        SetSettingsDefaults();
        SetMessageBoxHook([this](TMsgKind, const QString& C, const QString& T) { Boxes << C + "|" + T; });
        fGlobal = new TfGlobal;
    }
    void TearDown() override {
        SetMessageBoxHook(nullptr);
        SetFileDialogHook(nullptr);
        SetReportOutputHook(nullptr);
        delete fGlobal;
        fGlobal = nullptr;
    }
    QString Write(const QString& Name, const QByteArray& Data) {
        const QString Path = Dir.filePath(Name);
        WriteWholeFile(Path, Data);
        return Path;
    }
    // Answers the next file dialogs with Name in the folder and filter Index; keeps the request.
    void AnswerSave(const QString& Name, int Index = 1) {
        SetFileDialogHook([this, Name, Index](TFileDialogRequest& R, QStringList& Files) {
            Request = R;
            R.FilterIndex = Index;
            Files = {Dir.filePath(Name)};
            return true;
        });
    }
    // Sends the next reports to Name in the folder as PDF.
    void PrintTo(const QString& Name) {
        SetReportOutputHook([Pdf = Dir.filePath(Name)](TReportOutputChoice& C) {
            C.Destination = TReportDestination::File;
            C.Format = TReportFileFormat::PDF;
            C.FileName = Pdf;
            return true;
        });
    }
    int PdfPages(const QString& Name) {
        const QByteArray Data = ReadWholeFile(Dir.filePath(Name));
        EXPECT_TRUE(Data.startsWith("%PDF")) << Name.toStdString();
        return int(Data.count("/Type /Page\n") + Data.count("/Type /Page "));
    }
    // The page a fresh font draws for Bytes in the text colours.
    static QImage TextPage(const QByteArray& Bytes, int Cpl, int Lm, int Selector = 1) {
        QImage Image;
        TAtariFont().RenderText(Image, Selector, reinterpret_cast<const quint8*>(Bytes.constData()),
                                int(Bytes.size()), 0, 155, 0, 1, Cpl, Lm, 0, 0, textforecolor, textbackcolor);
        return Image;
    }
    QTemporaryDir Dir;
    QStringList Boxes;
    TFileDialogRequest Request;
};

} // namespace texttest
