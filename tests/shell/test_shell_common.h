#pragma once
// Shared set-up of the main-window tests: defaults, recorded message boxes, and no
// main window left behind.
#include "uGlobal.h"
#include "uMain.h"

#include <QStringList>
#include <gtest/gtest.h>

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        InitFolders();
        SetSettingsDefaults();
        SetMessageBoxHook([this](TMsgKind, const QString& C, const QString& T) { Boxes << C + "|" + T; });
    }
    void TearDown() override {
        SetMessageBoxHook(nullptr);
        frmMain = nullptr;
    }
    QStringList Boxes;
};
