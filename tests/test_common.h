#pragma once
// What every test folder shares: the error a call raises; a test with the default
// settings, recorded message boxes and a folder for its files; filled pictures and
// reproducible bytes; reports printed to a PDF file whose pages are counted; a
// window centred on another.
#include "FileDialogs.h"
#include "FileIO.h"
#include "ReportOptionsDialog.h"
#include "uGlobal.h"

#include <QDebug>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>

// Qt strings in failure messages as text, also inside lists.
inline void PrintTo(const QString& S, std::ostream* Os) {
    *Os << '"' << S.toStdString() << '"';
}

// What Fn raises: "code: message" for an input/output error, the message for
// another error of ours, "no error" when it returns.
template <class F> QString ErrorOf(F&& Fn) {
    try {
        Fn();
    } catch (const EInOutError& E) {
        return QString::number(E.ErrorCode) + ": " + E.Message();
    } catch (const EMorvanelError& E) {
        return E.Message();
    }
    return QStringLiteral("no error");
}

// The default settings, message boxes recorded as "caption|text" instead of shown,
// and a folder for the test's files; no hook, folder or setting is left changed.
class FileTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitFolders();
        SetSettingsDefaults();
        SetMessageBoxHook([this](TMsgKind, const QString& C, const QString& T) { Boxes << C + "|" + T; });
    }
    void TearDown() override {
        SetMessageBoxHook(nullptr);
        SetFileDialogHook(nullptr);
        SetReportOutputHook(nullptr);
        SetQuestionHook(nullptr);
        InitFolders();
        SetSettingsDefaults();
    }
    QString Write(const QString& Name, const QByteArray& Data) {
        WriteWholeFile(Dir.filePath(Name), Data);
        return Dir.filePath(Name);
    }
    // Answers the next file dialogs with Files and filter Index, keeping the request; or
    // with Name in the folder.
    void Answer(const QStringList& Files, int Index = 1) {
        SetFileDialogHook([this, Files, Index](TFileDialogRequest& R, QStringList& Out) {
            Request = R;
            R.FilterIndex = Index;
            Out = Files;
            return true;
        });
    }
    void AnswerSave(const QString& Name, int Index = 1) { Answer({Dir.filePath(Name)}, Index); }
    // Questions from now on recorded as "caption|text" and answered with Agree.
    void RecordQuestions() {
        SetQuestionHook([this](const QString& Caption, const QString& Text) {
            Questions << Caption + "|" + Text;
            return Agree;
        });
    }
    QTemporaryDir Dir;
    QStringList Boxes, Questions;
    bool Agree = false;
    TFileDialogRequest Request;
};

// Whether Inner's frame is centred on Outer's, to within Slack pixels each way.
inline ::testing::AssertionResult CentredOn(const QWidget* Inner, const QWidget* Outer, int Slack = 2) {
    const QPoint Off = Inner->frameGeometry().center() - Outer->frameGeometry().center();
    if (std::abs(Off.x()) <= Slack && std::abs(Off.y()) <= Slack) return ::testing::AssertionSuccess();
    QString Text;
    QDebug(&Text) << Inner->frameGeometry() << "is not centred on" << Outer->frameGeometry();
    return ::testing::AssertionFailure() << Text.toStdString();
}

// A W x H picture all in Colour.
inline QImage Filled(int W, int H, QRgb Colour) {
    QImage Img(W, H, QImage::Format_RGB32);
    Img.fill(Colour);
    return Img;
}

// N bytes from a generator seeded with Seed.
inline QByteArray RandomBytes(int N, quint32 Seed) {
    QByteArray B(N, 0);
    QRandomGenerator Gen(Seed);
    for (char& C : B) C = char(Gen.bounded(256));
    return B;
}

// Sends the next reports to the file Path, as PDF unless Format says otherwise.
inline void PrintReportsTo(const QString& Path, TReportFileFormat Format = TReportFileFormat::PDF) {
    SetReportOutputHook([Path, Format](TReportOutputChoice& C) {
        C.Destination = TReportDestination::File;
        C.Format = Format;
        C.FileName = Path;
        return true;
    });
}

// The pages of the PDF file Path; -1 when there is no PDF.
inline int PdfPageCount(const QString& Path) {
    const QByteArray Data = QFile::exists(Path) ? ReadWholeFile(Path) : QByteArray();
    return Data.startsWith("%PDF") ? int(Data.count("/Type /Page\n") + Data.count("/Type /Page ")) : -1;
}
