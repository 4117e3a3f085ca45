// Fuzz target: the INI reader on any bytes as a settings or language file: every
// section and key read back, a save that parses to the same values, edits, and the
// file applied as a language file to a window of every kind of component and to the
// save-changes dialog.
#include "FuzzSupport.h"
#include "IniFile.h"
#include "VekButton.h"
#include "uParam.h"
#include "uYESNOCANCEL.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
// A window named like a document window, with one component of every kind the
// translation reaches.
QWidget* MakeWindow() {
    auto* W = new QWidget;
    W->setObjectName("ChildWinText_1");
    auto* Lay = new QVBoxLayout(W);
    auto Named = [&](QWidget* C, const char* Name) {
        C->setObjectName(QString::fromLatin1(Name));
        Lay->addWidget(C);
    };
    Named(new QLabel("label", W), "lblInfo");
    Named(new QCheckBox("check", W), "cbAuto");
    Named(new QLineEdit("40", W), "edCPL");
    auto* Combo = new QComboBox(W);
    Combo->addItems({"eins", "zwei"});
    Named(Combo, "cbTxtStyles");
    Named(new QGroupBox("group", W), "gbMode");
    auto* Tabs = new QTabWidget(W);
    auto* Page = new QWidget;
    Page->setObjectName("tsText");
    Tabs->addTab(Page, "tab");
    Named(Tabs, "pcMain");
    Named(new TVekButton(W), "btnSave");
    auto* Menu = new QMenu("menu", W);
    Menu->setObjectName("mnuFile");
    auto* Act = Menu->addAction("open");
    Act->setObjectName("mnuOpen");
    return W;
}

bool SameValues(const TIniFile& A, const TIniFile& B) {
    if (A.ReadSections() != B.ReadSections()) return false;
    for (const QString& S : A.ReadSections()) {
        if (A.ReadSection(S) != B.ReadSection(S)) return false;
        for (const QString& K : A.ReadSection(S))
            if (A.ReadString(S, K, "\x01") != B.ReadString(S, K, "\x01")) return false;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    EnsureGuiApplication();
    static QWidget* const Window = MakeWindow();
    static TfrmYESNOCANCEL* const Dialog = new TfrmYESNOCANCEL;
    TIniFile Ini = TIniFile::FromData(QByteArray(reinterpret_cast<const char*>(Data), qsizetype(Size)));
    for (const QString& S : Ini.ReadSections())
        for (const QString& K : Ini.ReadSection(S)) {
            (void)Ini.ReadInteger(S, K, 0);
            if (!Ini.ValueExists(S, K)) FuzzFail("listed key not found");
        }
    // What a save writes reads back to the same values.
    const TIniFile Saved = TIniFile::FromData(Ini.Text());
    if (!SameValues(Ini, Saved)) FuzzFail("save changed the values");
    // A written value reads back as written; erasing a section removes that one.
    const QStringList Sections = Ini.ReadSections();
    const QString Target = Sections.isEmpty() ? QStringLiteral("Setup") : Sections.first().trimmed();
    if (!Target.isEmpty() && !Target.contains(']') && !Target.contains('\n') && !Target.contains('\r')) {
        Ini.WriteInteger(Target, "width", 625);
        if (Ini.ReadInteger(Target, "width", 0) != 625) FuzzFail("written value not read back");
        if (!SameValues(Ini, TIniFile::FromData(Ini.Text()))) FuzzFail("edited save changed the values");
        // Of duplicate sections the first is the one read, and the one erased.
        const qsizetype Before = Ini.ReadSections().size();
        Ini.EraseSection(Target);
        if (Ini.ReadSections().size() != Before - 1) FuzzFail("erase removed other than one section");
    }
    TranslateForm(Window, Saved);
    TranslateForm(Dialog, Saved);
    return 0;
}

void MakeSeeds(const QString& Dir) {
    WriteSeed(Dir, "Morvanel.INI",
              "[Setup]\nLngFile=german.lng\nleft=10\ntop=10\nwidth=625\nheight=475\n\n[default]\n"
              "phoformat=0\ncol0=0\ncol1=6272975\ncol1=$1F\ntextprintforecolor=0x20\n"
              "openpath=\"/home/user/atari/\"\n");
    WriteSeed(
        Dir, "english.lng",
        "\xEF\xBB\xBF[ChildWinText]\r\nChildWinText_1.Caption = Text window\r\n"
        "lblInfo.Caption        = Info\r\ncbAuto.Caption = Auto\r\ncbAuto.Hint = Converts while typing\r\n"
        "edCPL.Text = 80\r\ncbTxtStyles.Text = zwei\r\ngbMode.Caption = Mode\r\ntsText.Caption = Text\r\n"
        "btnSave.Caption = &Save\r\nbtnSave.Hint = Save the text\r\nmnuFile.Caption = &File\r\n"
        "mnuOpen.Caption = &Open...\r\nmnuOpen.Hint = Opens a file\r\n\r\n"
        "[frmYESNOCANCEL]\r\nfrmYESNOCANCEL.Caption = Save changes?\r\nbtnYES.Caption = Yes\r\n"
        "[GeneralMsg]\r\nmREADY = Ready\r\n");
    WriteSeed(Dir, "german-cp1252.lng",
              "[ChildWinText]\nlblInfo.Caption=L\xE4nge in Bytes\n; comment=ignored\n[ChildWinText]\nx=1\n");
}
