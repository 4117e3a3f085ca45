// The settings dialog by keyboard alone: Tab and the arrows reach the controls, Space
// presses, Enter is OK unless a button has the focus, Escape cancels.
#include "VekButton.h"
#include "test_drive_events.h"
#include "test_shell_common.h"
#include "uParam.h"

#include <QListWidget>
#include <QRadioButton>

using drive::Type;

namespace {
class DialogKeysTest : public SettingsFixture {
protected:
    void TearDown() override {
        SetColorDialogHook(nullptr);
        SettingsFixture::TearDown();
    }
};
} // namespace

TEST_F(DialogKeysTest, SettingsByKeyboardAlone) {
    TfrmParameter Dlg;
    int ColourDialogs = 0;
    SetColorDialogHook([&](quint32& Colour) {
        ++ColourDialogs;
        Colour = 0x123456;
        return true;
    });
    Dlg.show();
    QApplication::setActiveWindow(&Dlg);
    // Tab from the first colour button to the photo format, the arrow to the new one.
    ASSERT_EQ(QApplication::focusWidget(), Dlg.btnCol0);
    for (int I = 0; I < 4; ++I) Type(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Dlg.rbPHO1);
    Type(Qt::Key_Down);
    EXPECT_TRUE(Dlg.rbPHO2->isChecked());
    // Escape is Abbrechen: hidden, nothing stored.
    Type(Qt::Key_Escape);
    EXPECT_FALSE(Dlg.isVisible());
    EXPECT_EQ(phoformat, 0);

    // Enter or Space on a focused colour button opens its colour dialog; the dialog stays.
    Dlg.show();
    QApplication::setActiveWindow(&Dlg);
    Dlg.btnGR8ForeCol->setFocus(Qt::TabFocusReason);
    Type(Qt::Key_Return);
    Type(Qt::Key_Space);
    EXPECT_EQ(ColourDialogs, 2);
    EXPECT_TRUE(Dlg.isVisible());
    // Enter elsewhere is OK: the edits kept from before are stored.
    Dlg.FileTypeListBox->setFocus(Qt::TabFocusReason);
    Type(Qt::Key_Return);
    EXPECT_FALSE(Dlg.isVisible());
    EXPECT_EQ(std::make_pair(phoformat, gr8forecolor), std::make_pair(quint8(1), 0x123456u));
}
