#pragma once
// Shared set-up of the main-window tests: defaults, recorded message boxes, and no
// main window left behind; a main window on screen with a folder for its files; the
// error a call raises.
#include "FileDialogs.h"
#include "test_common.h"
#include "uGlobal.h"
#include "uMain.h"

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

class MainWindowFixture : public ::testing::Test {
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
        frmMain = nullptr;
    }
    QStringList Boxes;
};

// A main window on screen at the size of a first start, and a folder for the files
// the test opens in it.
class OpenedMainWindow : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        LoadSettings();
        frmMain = Main = new TfrmMain;
        Main->resize(625, 475);
        Main->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        delete Main;
        MainWindowFixture::TearDown();
    }
    QString Write(const QString& Name, const QByteArray& Data) {
        WriteWholeFile(Dir.filePath(Name), Data);
        return Dir.filePath(Name);
    }
    // Opens Name holding Data as a drop does; the document window in front afterwards.
    QWidget* Open(const QString& Name, const QByteArray& Data) {
        Main->OpenFiles({Write(Name, Data)});
        QApplication::processEvents();
        return Main->ActiveDocument();
    }
    // Answers the next file dialogs with Files and filter Index.
    static void Answer(const QStringList& Files, int Index = 1) {
        SetFileDialogHook([Files, Index](TFileDialogRequest& R, QStringList& Out) {
            R.FilterIndex = Index;
            Out = Files;
            return true;
        });
    }
    QTemporaryDir Dir;
    TfrmMain* Main = nullptr;
};
