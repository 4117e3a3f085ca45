#pragma once
// Shared set-up of the main-window tests: no main window left behind, or one on
// screen to open files in.
#include "ImageView.h"
#include "test_common.h"
#include "uFGlobal.h"
#include "uMain.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

// No main window is left behind either.
class MainWindowFixture : public FileTest {
protected:
    void TearDown() override {
        FileTest::TearDown();
        frmMain = nullptr;
    }
};

// The settings file in the test's folder, the program in a folder of its own.
class SettingsFixture : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        SettingsFolder = Dir.path() + "/";
        ProgramFolder = "/opt/morvanel/";
        SetSettingsDefaults();
    }
};

// A main window on screen at the size of a first start, its report project, and a
// folder for the files the test opens in it.
class OpenedMainWindow : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        LoadSettings();
        fGlobal = new TfGlobal;
        frmMain = Main = new TfrmMain;
        Main->resize(625, 475);
        Main->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        delete Main;
        delete fGlobal;
        fGlobal = nullptr;
        MainWindowFixture::TearDown();
    }
    // Opens Name holding Data as a drop does; the document window in front afterwards.
    QWidget* Open(const QString& Name, const QByteArray& Data) {
        Main->OpenFiles({Write(Name, Data)});
        QApplication::processEvents();
        return Main->ActiveDocument();
    }
    TfrmMain* Main = nullptr;
};
