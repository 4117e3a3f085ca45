#pragma once
// Shared set-up of the main-window tests: no main window left behind, or one on
// screen to open files in.
#include "ImageView.h"
#include "test_common.h"
#include "uFGlobal.h"
#include "uMain.h"

#include <QApplication>
#include <QLabel>
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

// The rows of a window's info panel: captions keep their width, values start 8
// pixels after them and take the rest of the window less 12, and nothing (panel,
// window or main window) cuts any label.
inline void ExpectInfoPanelRows(const QList<QLabel*>& Captions, const QList<QLabel*>& Values,
                                int CaptionWidth, int WindowWidth) {
    for (int I = 0; I < Captions.size(); ++I) {
        const QRect Caption = Captions[I]->geometry();
        EXPECT_EQ(Caption, QRect(2, Caption.top(), CaptionWidth, Caption.height()));
        EXPECT_EQ(Values[I]->geometry(),
                  QRect(CaptionWidth + 10, Caption.top(), std::max(0, WindowWidth - CaptionWidth - 12),
                        Caption.height()));
        for (QLabel* L : {Captions[I], Values[I]})
            EXPECT_EQ(L->visibleRegion(), QRegion(L->rect())) << L->objectName().toStdString();
    }
}
