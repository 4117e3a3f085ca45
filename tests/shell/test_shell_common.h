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
#include <algorithm>
#include <cmath>

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

// Luminance contrast of two colours: 1 none, 21 black on white.
inline double LuminanceContrast(const QColor& A, const QColor& B) {
    const auto L = [](const QColor& C) {
        const auto Lin = [](double V) {
            return V <= 0.03928 ? V / 12.92 : std::pow((V + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * Lin(C.redF()) + 0.7152 * Lin(C.greenF()) + 0.0722 * Lin(C.blueF()) + 0.05;
    };
    return std::max(L(A), L(B)) / std::min(L(A), L(B));
}

// The rows of a window's info panel: captions keep their width, values start 8
// pixels after them and take the rest of the window less 12, and nothing (panel,
// window or main window) cuts any label. The values are bold and set off from the
// panel's grey.
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
        Values[I]->ensurePolished();
        const QColor Text = Values[I]->palette().color(QPalette::WindowText);
        EXPECT_GE(LuminanceContrast(Text, Values[I]->parentWidget()->palette().color(QPalette::Window)), 1.4)
            << Values[I]->objectName().toStdString();
        EXPECT_TRUE(Values[I]->font().bold());
    }
}
