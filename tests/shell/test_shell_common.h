#pragma once
// Shared set-up of the main-window tests: defaults, recorded message boxes, and no
// main window left behind; the error a call raises.
#include "uGlobal.h"
#include "uMain.h"

#include <QStringList>
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
        frmMain = nullptr;
    }
    QStringList Boxes;
};
